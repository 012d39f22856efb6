#include "main_window/main_window.h"

#include "geodesy/calculation.h"
#include "geodesy/coordinates.h"
#include "main_window/activation.h"
#include "main_window/compass_canvas.h"
#include "main_window/plain_result.h"
#include "controls/dms_bars.h"
#include "controls/hidden_contents.h"
#include "controls/name_label.h"
#include "controls/version_box.h"
#include "map/direction_map_window.h"
#include "map/map_window.h"
#include "place_list/place_list_window.h"
#include "files/place_list_file.h"
#include "files/settings_file.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "resources/window_builder.h"
#include "shared_state/shared_state.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHideEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QShowEvent>

namespace orvine {

namespace {

const QString LATITUDE_CAPTION = QStringLiteral("緯度：");
const QString LONGITUDE_CAPTION = QStringLiteral("経度：");
const QString DEPARTURE_FRAME = QStringLiteral("出発地点");
const QString DESTINATION_FRAME = QStringLiteral("目的地点");
const QString NO_RESULT = QStringLiteral("計算結果はありません");

QString latitude_text(const Point& p)
{
    return QString::fromStdString(
        coordinate_text(Axis::Latitude, p.latitude.degrees, p.latitude.minutes, p.latitude.seconds));
}

QString longitude_text(const Point& p)
{
    return QString::fromStdString(
        coordinate_text(Axis::Longitude, p.longitude.degrees, p.longitude.minutes, p.longitude.seconds));
}

} // namespace

MainWindow::MainWindow(SharedState& state, Dialogs& dialogs, NotificationSound& sound,
                       std::function<void()> end_program)
    : m_(state), dialogs_(dialogs), sound_(sound), end_program_(std::move(end_program))
{
    if (!end_program_)
        end_program_ = [] { QCoreApplication::quit(); };
    build_window(*this, main_window_table());

    point_frame = control<QGroupBox>(this, "Frame1");
    latitude_degrees_bar = control<QScrollBar>(this, "ido_do");
    departure_latitude = control<QLabel>(this, "lbido1");
    departure_longitude = control<QLabel>(this, "lbkei1");
    destination_latitude = control<QLabel>(this, "lbido2");
    destination_longitude = control<QLabel>(this, "lbkei2");
    departure_name_label = control<QLabel>(this, "splace");
    destination_name_label = control<QLabel>(this, "mplace");
    bearing_label = control<QLabel>(this, "lb_cal");
    distance_label = control<QLabel>(this, "lb_dis");
    bearing_caption = control<QLabel>(this, "Label18");
    distance_caption = control<QLabel>(this, "Label5");
    compass_picture = control<QLabel>(this, "Image1");
    next_button = control<QPushButton>(this, "btn_next");
    back_button = control<QPushButton>(this, "btn_return");
    compute_button = control<QPushButton>(this, "btn_cal");
    return_trip_button = control<QPushButton>(this, "btn_kiro");
    end_button = control<QPushButton>(this, "btn_end");
    reset_action = control<QAction>(this, "mnusyoki");
    end_action = control<QAction>(this, "mnuend");
    place_list_action = control<QAction>(this, "mnulist");
    japan_map_action = control<QAction>(this, "mnujap");
    world_map_action = control<QAction>(this, "mnuwor");
    version_action = control<QAction>(this, "mnuver");
    direction_map_action = control<QAction>(this, "mnuazi");

    bars_ = new DmsBars(this, DmsBars::Echo::WhileDragging);

    // The figure is drawn on the window's surface, where no control stands; last among the
    // window's children, so that asking what lies at a point finds every control first.
    compass_ = new CompassCanvas(centralWidget(), to_qcolor(main_window_table().fill),
                                 to_qcolor(main_window_table().text));
    compass_->setObjectName(QStringLiteral("compass"));
    compass_->setAccessibleName(QStringLiteral("方位図"));
    compass_->setAccessibleDescription(NO_RESULT);

    for (QLabel* name : {departure_name_label, destination_name_label})
        elide_long_names(*name);
    // The captions label the results for screen readers (the "labelled by" relation).
    bearing_caption->setBuddy(bearing_label);
    distance_caption->setBuddy(distance_label);
    for (QLabel* result : {bearing_label, distance_label}) {
        result->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(result, &QWidget::customContextMenuRequested, this,
                [this, result](const QPoint& at) { show_result_menu(result, at); });
    }
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, &MainWindow::copy_result);

    connect(next_button, &QPushButton::clicked, this, &MainWindow::fix_departure);
    connect(back_button, &QPushButton::clicked, this, &MainWindow::back_to_departure);
    connect(compute_button, &QPushButton::clicked, this, &MainWindow::compute);
    connect(return_trip_button, &QPushButton::clicked, this, &MainWindow::swap_for_return_trip);
    connect(end_button, &QPushButton::clicked, this, &QWidget::close);
    connect(end_action, &QAction::triggered, this, &QWidget::close);
    connect(reset_action, &QAction::triggered, this, &MainWindow::reset_to_start_point);
    connect(place_list_action, &QAction::triggered, this, &MainWindow::open_place_list);
    connect(japan_map_action, &QAction::triggered, this, &MainWindow::open_japan_map);
    connect(world_map_action, &QAction::triggered, this, &MainWindow::open_world_map);
    connect(version_action, &QAction::triggered, this, &MainWindow::show_version);
    connect(direction_map_action, &QAction::triggered, this, &MainWindow::open_direction_map);
    // While the departure point is entered, the direction map's centre moves with the bars.
    for (int i = 0; i < DmsBars::COUNT; ++i) {
        connect(bars_->bar(i), &QAbstractSlider::valueChanged, this, [this] {
            if (m_.entering_departure)
                update_direction_map();
        });
    }
}

// The other windows are top-level windows of their own; they end with the main window.
MainWindow::~MainWindow()
{
    delete place_list_window_;
    delete map_window_;
    delete direction_map_;
}

void MainWindow::start()
{
    platform::centre_on_screen(*this);
    read_settings();
    m_.saved_point = m_.start_point;
    m_.transfer_point = m_.start_point;
    reset_to_start_point();
    m_.entering_departure = true;
    m_.destination_handed_over = false;
    m_.result_shown = false;
    m_.point_handed_over = false;
}

// A settings file that cannot be used is named in a message and left as it is; the run
// starts from the settings installed with the program, except for a place-list file name
// that could be read: the user's places stay in use.
void MainWindow::read_settings()
{
    const SettingsLoad load = load_settings(m_.files_folder);
    Settings settings = load.settings;
    if (!load.ok()) {
        settings = installed_settings();
        QString start = QStringLiteral("インストール時の初期設定で起動します。");
        if (load.list_file_read) {
            settings.list_file = load.settings.list_file;
            start = QStringLiteral("地点一覧ファイルは設定ファイルにある「") + settings.list_file
                + QStringLiteral("」を使います。初期設定の地名と地点はインストール時の初期設定（") + settings.place
                + QStringLiteral("）で起動します。");
        }
        dialogs_.message(problem_message(*load.problem) + QStringLiteral("\r\n\r\n") + start);
    }
    m_.list_file = settings.list_file;
    m_.settings_stamp = load.stamp;
    m_.settings_damaged = load.damaged();
    m_.start_name = settings.place;
    m_.start_point = settings.point;
}

void MainWindow::take_hand_over()
{
    switch (activation_case(m_)) {
    case Activation::DepartureHandedOver:
    case Activation::DepartureRestored: {
        const bool handed = activation_case(m_) == Activation::DepartureHandedOver;
        show_departure(handed ? m_.transfer_point : m_.saved_point, handed ? m_.transfer_name : m_.saved_name);
        set_destination_name(QString());
        clear_result();
        latitude_degrees_bar->setFocus();
        break;
    }
    case Activation::ResultShownAgain:
        put_on_bars(m_.transfer_point);
        show_destination_summary(m_.transfer_point);
        set_destination_name(m_.transfer_name);
        compute_button->setEnabled(false);
        point_frame->setEnabled(false);
        show_result(m_.shown_bearing, m_.shown_distance);
        // The bars are locked now; 戻る holds the result shown again (show_result).
        back_button->setFocus();
        break;
    case Activation::NewDestinationOverResult:
        put_on_bars(m_.transfer_point);
        show_destination_summary(m_.transfer_point);
        set_destination_name(m_.transfer_name);
        clear_result();
        erase_drawing();
        m_.result_shown = false;
        compass_picture->setVisible(true);
        break;
    case Activation::DestinationHandedOver:
        put_on_bars(m_.transfer_point);
        show_destination_summary(m_.transfer_point);
        set_destination_name(m_.transfer_name);
        clear_result();
        break;
    case Activation::DestinationRestored:
        // Back to the bars as they were. The departure summary is rewritten from the stored
        // departure point, so that it can only ever show the departure. The figure goes with
        // the result texts, so that it never shows a result the labels no longer give.
        put_on_bars(m_.saved_point);
        clear_destination_summary();
        set_destination_name(QString());
        clear_result();
        erase_drawing();
        compass_picture->setVisible(true);
        compute_button->setEnabled(true);
        point_frame->setEnabled(true);
        latitude_degrees_bar->setFocus();
        show_departure_summary(to_entry_form(m_.departure));
        break;
    }
    if (direction_map_hidden_with_main_window_ && direction_map_) {
        direction_map_hidden_with_main_window_ = false;
        direction_map_->show();
    }
    update_direction_map();
}

void MainWindow::fix_departure()
{
    m_.entering_departure = false;
    m_.point_handed_over = false;
    m_.departure = bars_->value();
    m_.transfer_point = bars_->value();
    if (name_no_longer_fits(m_.departure_name, m_.departure)) {
        m_.departure_name = UNKNOWN_PLACE;
        m_.saved_name = UNKNOWN_PLACE;
    }
    set_departure_name(m_.departure_name);
    show_departure_summary(m_.transfer_point);
    // The next thing to do is to set the destination. The focus moves before 次へ is
    // disabled, which would otherwise pass it on to 終了, where a second Return would end
    // the program.
    latitude_degrees_bar->setFocus();
    next_button->setEnabled(false);
    back_button->setEnabled(true);
    compute_button->setEnabled(true);
    point_frame->setTitle(DESTINATION_FRAME);
    reset_action->setEnabled(false);
    update_direction_map();
}

void MainWindow::back_to_departure()
{
    m_.entering_departure = true;
    m_.result_shown = false;
    m_.destination_handed_over = false;
    m_.point_handed_over = false;
    set_departure_name(m_.departure_name);
    m_.departure = to_entry_form(m_.departure);
    m_.destination = to_entry_form(m_.destination);
    bars_->set_labels(m_.departure);
    bars_->set(m_.departure);
    next_button->setEnabled(true);
    next_button->setFocus();
    back_button->setEnabled(false);
    compute_button->setEnabled(false);
    return_trip_button->setEnabled(false);
    point_frame->setTitle(DEPARTURE_FRAME);
    clear_destination_summary();
    set_destination_name(QString());
    clear_result();
    m_.shown_distance.clear();
    m_.shown_bearing.clear();
    erase_drawing();
    compass_picture->setVisible(true);
    point_frame->setEnabled(true);
    reset_action->setEnabled(true);
    update_direction_map();
}

void MainWindow::compute()
{
    const Point bars = bars_->value();
    if (name_no_longer_fits(destination_name_, bars))
        set_destination_name(UNKNOWN_PLACE);

    const Calculation calc = calculate(m_.departure, bars);
    m_.departure = calc.dep;
    m_.destination = calc.dst;
    if (calc.refusal == Refusal::SamePoint) {
        refuse(QString::fromStdString(refusal_message(calc.refusal)));
        return;
    }
    if (destination_name_.isEmpty())
        set_destination_name(UNKNOWN_PLACE);
    show_destination_summary(m_.destination);
    if (calc.refusal == Refusal::Antipode) {
        refuse(QString::fromStdString(refusal_message(calc.refusal)));
        return;
    }

    plain_result_ = plain_result_line(m_.departure_name, to_entry_form(m_.departure), destination_name_, bars,
                                      QString::fromStdString(calc.bearing_caption),
                                      QString::fromStdString(calc.distance_caption));
    show_result(QString::fromStdString(calc.bearing_caption), QString::fromStdString(calc.distance_caption));
    m_.shown_bearing = bearing_text_;
    m_.shown_distance = distance_text_;
    draw_direction(calc.b, *calc.sector);
    m_.result_shown = true;
    return_trip_button->setEnabled(true);
    m_.destination_handed_over = false;
    // 戻る already holds the result (show_result), so a screen reader says it with the button.
    back_button->setFocus();
    update_direction_map();
}

// The destination becomes the departure and the departure the destination, and the way
// back is computed.
void MainWindow::swap_for_return_trip()
{
    m_.departure = to_entry_form(m_.departure);
    m_.destination = m_.departure;
    const QString old_destination = destination_name_;
    set_destination_name(m_.departure_name);
    m_.transfer_name = m_.departure_name;
    m_.departure = bars_->value();
    m_.transfer_point = bars_->value();
    // The bars may have been moved off the destination since its result: its name goes with
    // the new departure only where the check of 次へ would keep it.
    m_.departure_name = name_no_longer_fits(old_destination, m_.departure) ? UNKNOWN_PLACE : old_destination;
    set_departure_name(m_.departure_name);
    show_departure_summary(m_.transfer_point);
    bars_->set_labels(m_.destination);
    bars_->set(m_.destination);
    compute();
}

void MainWindow::reset_to_start_point()
{
    m_.saved_name = m_.start_name;
    m_.transfer_name = m_.start_name;
    show_departure(m_.start_point, m_.start_name);
    update_direction_map();
}

void MainWindow::open_place_list()
{
    leave_main_window();
    hide_direction_map_with_main_window();
    if (!place_list_window_)
        place_list_window_ = new PlaceListWindow(m_, dialogs_, sound_, *this);
    hide();
    place_list_window_->show();
}

void MainWindow::open_japan_map()
{
    open_map(MapKind::Japan);
}

void MainWindow::open_world_map()
{
    open_map(MapKind::World);
}

void MainWindow::show_version()
{
    show_version_box(dialogs_, sound_, VersionBoxFrom::MainWindow);
}

// The map window reads map_kind while it is being shown, so it is set first.
void MainWindow::open_map(MapKind kind)
{
    leave_main_window();
    hide_direction_map_with_main_window();
    m_.map_kind = kind;
    if (!map_window_)
        map_window_ = new MapWindow(m_, dialogs_, *this);
    hide();
    map_window_->show();
}

void MainWindow::open_direction_map()
{
    if (!direction_map_)
        direction_map_ = new DirectionMapWindow(dialogs_);
    std::vector<NamedPoint> places;
    const NameCheckRead read = read_places_for_name_check(m_.files_folder, m_.list_file);
    for (const Place& place : read.places) {
        if (!place.name.isEmpty())
            places.push_back(NamedPoint{place.name, place.point});
    }
    direction_map_->set_places(places);
    direction_map_->show();
    update_direction_map();
    direction_map_->raise();
    direction_map_->activateWindow();
}

void MainWindow::update_direction_map()
{
    if (!direction_map_ || !direction_map_->isVisible())
        return;
    if (m_.entering_departure) {
        direction_map_->set_centre(bars_->value(), m_.departure_name);
        direction_map_->clear_destination();
        return;
    }
    direction_map_->set_centre(to_entry_form(m_.departure), m_.departure_name);
    if (bearing_text_.isEmpty())
        direction_map_->clear_destination();
    else
        direction_map_->set_destination(to_entry_form(m_.destination), destination_name_);
}

void MainWindow::hide_direction_map_with_main_window()
{
    if (direction_map_ && direction_map_->isVisible()) {
        direction_map_hidden_with_main_window_ = true;
        direction_map_->hide();
    }
}

// The point on the bars and its name go into the transfer point for the other window.
void MainWindow::leave_main_window()
{
    m_.transfer_point = bars_->value();
    if (m_.entering_departure) {
        m_.transfer_name = m_.departure_name;
    } else {
        m_.transfer_name = destination_name_;
        compute_button->setEnabled(true);
    }
    point_frame->setEnabled(true);
}

// Only a show by the program counts: another window handing control back, or the first
// show. Switching between applications does not run it.
void MainWindow::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        show_contents(*this);
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        take_hand_over();
}

void MainWindow::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    if (!event->spontaneous())
        hide_contents(*this);
}

// The close box ends the run like "終　了".
void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    end_program_();
}

void MainWindow::show_departure(const Point& p, const QString& name)
{
    put_on_bars(p);
    show_departure_summary(p);
    m_.departure_name = name;
    set_departure_name(name);
}

void MainWindow::show_departure_summary(const Point& p)
{
    departure_latitude->setText(latitude_text(p));
    departure_longitude->setText(longitude_text(p));
}

void MainWindow::show_destination_summary(const Point& p)
{
    destination_latitude->setText(latitude_text(p));
    destination_longitude->setText(longitude_text(p));
}

void MainWindow::clear_destination_summary()
{
    destination_latitude->setText(LATITUDE_CAPTION);
    destination_longitude->setText(LONGITUDE_CAPTION);
}

void MainWindow::set_departure_name(const QString& name)
{
    show_place_name(*departure_name_label, name);
}

void MainWindow::set_destination_name(const QString& name)
{
    destination_name_ = name;
    show_place_name(*destination_name_label, name);
}

// While a result is shown, 戻る carries it as its description: the focus goes there after
// a result, and a screen reader says the button together with its description, so the user
// hears the result without moving. Without a result the description is the tool tip again.
void MainWindow::show_result(const QString& bearing, const QString& distance)
{
    bearing_text_ = bearing;
    distance_text_ = distance;
    bearing_label->setText(bearing);
    distance_label->setText(distance);
    back_button->setAccessibleDescription(result_line(QStringLiteral("、")));
}

void MainWindow::clear_result()
{
    plain_result_.clear();
    show_result(QString(), QString());
}

void MainWindow::put_on_bars(const Point& p)
{
    bars_->set(p);
    bars_->set_labels(p);
}

bool MainWindow::name_no_longer_fits(const QString& name, const Point& point)
{
    const NameCheckRead read = read_places_for_name_check(m_.files_folder, m_.list_file);
    if (!read.ok()) {
        if (!place_list_problem_reported_) {
            place_list_problem_reported_ = true;
            dialogs_.message(problem_message(*read.problem) + QStringLiteral("\r\n\r\n地名の確認を省略します。"));
        }
        return false;
    }
    return name_conflicts(read.places, name, point);
}

void MainWindow::refuse(const QString& message)
{
    dialogs_.message(message);
    clear_destination_summary();
    set_destination_name(QString());
    back_button->setFocus();
}

QString MainWindow::result_line(const QString& between) const
{
    if (bearing_text_.isEmpty())
        return QString();
    return bearing_caption->text() + bearing_text_ + between + distance_caption->text() + distance_text_;
}

void MainWindow::copy_result()
{
    const QString line = result_line(QStringLiteral("\t"));
    if (!line.isEmpty())
        QGuiApplication::clipboard()->setText(line + QLatin1Char('\n') + plain_result_);
}

void MainWindow::show_result_menu(QLabel* result, const QPoint& at)
{
    QMenu menu(this);
    QAction* copy = menu.addAction(QStringLiteral("コピー(&C)"), this, &MainWindow::copy_result);
    copy->setEnabled(!result_line(QString()).isEmpty());
    menu.exec(result->mapToGlobal(at));
}

// The figure's description is the result it was drawn for, so that a screen reader
// says what the figure shows.
void MainWindow::draw_direction(double bearing, const Sector& sector)
{
    compass_picture->setVisible(false);
    compass_->draw(compass_figure(bearing, sector));
    compass_->setAccessibleDescription(result_line(QStringLiteral("、")));
}

void MainWindow::erase_drawing()
{
    compass_->clear();
    compass_->setAccessibleDescription(NO_RESULT);
}

} // namespace orvine
