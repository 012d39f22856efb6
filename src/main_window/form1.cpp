#include "main_window/form1.h"

#include "geodesy/calculation.h"
#include "geodesy/coordinates.h"
#include "main_window/compass_canvas.h"
#include "controls/dms_bars.h"
#include "map/frmjpmap.h"
#include "place_list/form2.h"
#include "files/place_list_file.h"
#include "files/settings_file.h"
#include "place_list/version_box.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "resources/window_builder.h"
#include "shared_state/module1.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QShowEvent>

namespace orvine {

namespace {

const QString kLatitudeCaption = QStringLiteral("緯度：");
const QString kLongitudeCaption = QStringLiteral("経度：");
const QString kDepartureFrame = QStringLiteral("出発地点");
const QString kDestinationFrame = QStringLiteral("目的地点");
const QString kNoResult = QStringLiteral("計算結果はありません");

QString latitude_text(const Point& p)
{
    return QString::fromStdString(coordinate_text(Axis::Latitude, p.ido_do, p.ido_hun, p.ido_byo));
}

QString longitude_text(const Point& p)
{
    return QString::fromStdString(coordinate_text(Axis::Longitude, p.kei_do, p.kei_hun, p.kei_byo));
}

} // namespace

Form1::Form1(Module1& module1, Dialogs& dialogs, NotificationSound& sound, std::function<void()> end_program)
    : m_(module1), dialogs_(dialogs), sound_(sound), end_program_(std::move(end_program))
{
    if (!end_program_)
        end_program_ = [] { QCoreApplication::quit(); };
    build_window(*this, form1_spec());

    Frame1 = control<QGroupBox>(this, "Frame1");
    ido_do = control<QScrollBar>(this, "ido_do");
    lbido1 = control<QLabel>(this, "lbido1");
    lbkei1 = control<QLabel>(this, "lbkei1");
    lbido2 = control<QLabel>(this, "lbido2");
    lbkei2 = control<QLabel>(this, "lbkei2");
    splace = control<QLabel>(this, "splace");
    mplace = control<QLabel>(this, "mplace");
    lb_cal = control<QLabel>(this, "lb_cal");
    lb_dis = control<QLabel>(this, "lb_dis");
    Label18 = control<QLabel>(this, "Label18");
    Label5 = control<QLabel>(this, "Label5");
    Image1 = control<QLabel>(this, "Image1");
    btn_next = control<QPushButton>(this, "btn_next");
    btn_return = control<QPushButton>(this, "btn_return");
    btn_cal = control<QPushButton>(this, "btn_cal");
    btn_kiro = control<QPushButton>(this, "btn_kiro");
    btn_end = control<QPushButton>(this, "btn_end");
    mnusyoki = control<QAction>(this, "mnusyoki");
    mnuend = control<QAction>(this, "mnuend");
    mnulist = control<QAction>(this, "mnulist");
    mnujap = control<QAction>(this, "mnujap");
    mnuwor = control<QAction>(this, "mnuwor");
    mnuver = control<QAction>(this, "mnuver");

    bars_ = new DmsBars(this, DmsBars::Echo::WhileDragging);

    // The figure is drawn on the window itself, under every control.
    QWidget* client = centralWidget();
    compass_ = new CompassCanvas(client, to_qcolor(form1_spec().fill), to_qcolor(form1_spec().text));
    compass_->setObjectName(QStringLiteral("compass"));
    compass_->setGeometry(client->rect());
    compass_->lower();
    compass_->setAccessibleName(QStringLiteral("方位図"));
    compass_->setAccessibleDescription(kNoResult);

    // The captions label the results for screen readers (the "labelled by" relation).
    Label18->setBuddy(lb_cal);
    Label5->setBuddy(lb_dis);
    for (QLabel* result : {lb_cal, lb_dis}) {
        result->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(result, &QWidget::customContextMenuRequested, this,
                [this, result](const QPoint& at) { show_result_menu(result, at); });
    }
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, &Form1::copy_result);

    connect(btn_next, &QPushButton::clicked, this, &Form1::btn_next_Click);
    connect(btn_return, &QPushButton::clicked, this, &Form1::btn_return_Click);
    connect(btn_cal, &QPushButton::clicked, this, &Form1::btn_cal_Click);
    connect(btn_kiro, &QPushButton::clicked, this, &Form1::btn_kiro_Click);
    connect(btn_end, &QPushButton::clicked, this, &Form1::btn_end_Click);
    connect(mnuend, &QAction::triggered, this, &Form1::mnuend_Click);
    connect(mnusyoki, &QAction::triggered, this, &Form1::mnusyoki_Click);
    connect(mnulist, &QAction::triggered, this, &Form1::mnulist_Click);
    connect(mnujap, &QAction::triggered, this, &Form1::mnujap_Click);
    connect(mnuwor, &QAction::triggered, this, &Form1::mnuwor_Click);
    connect(mnuver, &QAction::triggered, this, &Form1::mnuver_Click);
}

// The other windows are top-level windows of their own; they end with the main window.
Form1::~Form1()
{
    delete form2_;
    delete map_;
}

void Form1::Form_Load()
{
    platform::centre_on_screen(*this);
    read_settings();
    m_.init = m_.pt;
    m_.bk = m_.pt;
    m_.init_place = m_.pt_place;
    m_.dep_place = m_.pt_place;
    m_.bk_place = m_.pt_place;
    bars_->set_labels(m_.pt);
    bars_->set(m_.pt);
    show_departure_summary(m_.pt);
    splace->setText(m_.pt_place);
    m_.start_mode = 1;
    m_.dest_taken = 0;
    m_.result_shown = 0;
    m_.pt_taken = 0;
}

// A settings file that cannot be used is named in a message and left as it is; the run
// starts from the settings installed with the program, except for a place-list file name
// that could be read: the user's places stay in use.
void Form1::read_settings()
{
    const SettingsLoad load = load_settings(m_.program_dir);
    Settings settings = load.settings;
    if (!load.ok()) {
        settings = installed_settings();
        QString start = QStringLiteral("インストール時の初期設定で起動します。");
        if (load.list_file_read) {
            settings.list_file = load.settings.list_file;
            start = QStringLiteral("地点一覧ファイルは設定ファイルにある「") + settings.list_file
                + QStringLiteral("」を使います。初期設定の地名と地点はインストール時の初期設定（")
                + settings.place + QStringLiteral("）で起動します。");
        }
        dialogs_.message(problem_message(*load.problem) + QStringLiteral("\r\n\r\n") + start);
    }
    m_.list_file = settings.list_file;
    m_.settings_stamp = load.stamp;
    m_.settings_damaged = load.damaged();
    m_.pt_place = settings.place;
    m_.pt = settings.point;
}

void Form1::Form_Activate()
{
    if (m_.start_mode == 1 && m_.pt_taken == 1) {
        // A point was handed over during departure entry.
        put_on_bars(m_.pt);
        show_departure_summary(m_.pt);
        splace->setText(m_.pt_place);
        mplace->clear();
        m_.dep_place = m_.pt_place;
        lb_cal->clear();
        lb_dis->clear();
        ido_do->setFocus();
    } else if (m_.start_mode == 1) {
        // Start-up, or nothing handed over in this phase: the saved copy comes back.
        put_on_bars(m_.bk);
        show_departure_summary(m_.bk);
        splace->setText(m_.bk_place);
        mplace->clear();
        m_.dep_place = m_.bk_place;
        lb_cal->clear();
        lb_dis->clear();
        ido_do->setFocus();
    } else if (m_.start_mode == 0 && m_.pt_taken == 1 && m_.result_shown == 1 && m_.dest_taken == 0) {
        // The result computed for the handed-over destination is shown again.
        put_on_bars(m_.pt);
        show_destination_summary(m_.pt);
        mplace->setText(m_.pt_place);
        ido_do->setFocus();
        btn_cal->setEnabled(false);
        Frame1->setEnabled(false);
        lb_cal->setText(m_.res_direction);
        lb_dis->setText(m_.res_distance);
    } else if (m_.start_mode == 0 && m_.pt_taken == 1 && m_.result_shown == 1 && m_.dest_taken == 1) {
        // A new destination replaces the result on display.
        put_on_bars(m_.pt);
        show_destination_summary(m_.pt);
        mplace->setText(m_.pt_place);
        lb_cal->clear();
        lb_dis->clear();
        erase_drawing();
        m_.result_shown = 0;
        Image1->setVisible(true);
    } else if (m_.start_mode == 0 && m_.pt_taken == 1 && m_.result_shown != 1) {
        // A destination was handed over and no result is on display.
        put_on_bars(m_.pt);
        show_destination_summary(m_.pt);
        mplace->setText(m_.pt_place);
        lb_cal->clear();
        lb_dis->clear();
    } else {
        // Destination entry with nothing handed over: back to the bars as they were. The
        // departure summary is rewritten from the stored departure point, so that it can
        // only ever show the departure.
        put_on_bars(m_.bk);
        lbido2->setText(kLatitudeCaption);
        lbkei2->setText(kLongitudeCaption);
        mplace->clear();
        lb_cal->clear();
        lb_dis->clear();
        btn_cal->setEnabled(true);
        Frame1->setEnabled(true);
        ido_do->setFocus();
        show_departure_summary(to_entry_form(m_.dep));
    }
}

void Form1::btn_next_Click()
{
    m_.start_mode = 0;
    m_.pt_taken = 0;
    splace->setText(m_.dep_place);
    m_.dep = bars_->value();
    m_.pt = bars_->value();
    if (name_no_longer_fits(m_.dep_place, m_.dep)) {
        splace->setText(UNKNOWN_PLACE);
        m_.dep_place = UNKNOWN_PLACE;
        m_.bk_place = UNKNOWN_PLACE;
    }
    show_departure_summary(m_.pt);
    btn_next->setEnabled(false);
    btn_return->setEnabled(true);
    btn_cal->setEnabled(true);
    Frame1->setTitle(kDestinationFrame);
    mnusyoki->setEnabled(false);
}

void Form1::btn_return_Click()
{
    m_.start_mode = 1;
    m_.result_shown = 0;
    m_.dest_taken = 0;
    m_.pt_taken = 0;
    splace->setText(m_.dep_place);
    m_.dep = to_entry_form(m_.dep);
    m_.dst = to_entry_form(m_.dst);
    bars_->set_labels(m_.dep);
    bars_->set(m_.dep);
    btn_next->setEnabled(true);
    btn_next->setFocus();
    btn_return->setEnabled(false);
    btn_cal->setEnabled(false);
    btn_kiro->setEnabled(false);
    Frame1->setTitle(kDepartureFrame);
    lbido2->setText(kLatitudeCaption);
    lbkei2->setText(kLongitudeCaption);
    mplace->clear();
    lb_cal->clear();
    lb_dis->clear();
    m_.res_distance.clear();
    m_.res_direction.clear();
    erase_drawing();
    Image1->setVisible(true);
    Frame1->setEnabled(true);
    mnusyoki->setEnabled(true);
}

void Form1::btn_cal_Click()
{
    const Point bars = bars_->value();
    if (name_no_longer_fits(mplace->text(), bars))
        mplace->setText(UNKNOWN_PLACE);

    const Calculation calc = calculate(m_.dep, bars);
    m_.dep = calc.dep;
    m_.dst = calc.dst;
    if (calc.refusal == Refusal::SamePoint) {
        refuse(QString::fromStdString(refusal_message(calc.refusal)));
        return;
    }
    if (mplace->text().isEmpty())
        mplace->setText(UNKNOWN_PLACE);
    show_destination_summary(m_.dst);
    if (calc.refusal == Refusal::Antipode) {
        refuse(QString::fromStdString(refusal_message(calc.refusal)));
        return;
    }

    lb_cal->setText(QString::fromStdString(calc.bearing_caption));
    m_.res_direction = lb_cal->text();
    lb_dis->setText(QString::fromStdString(calc.distance_caption));
    m_.res_distance = lb_dis->text();
    draw_direction(calc.b, *calc.sector);
    m_.result_shown = 1;
    btn_kiro->setEnabled(true);
    m_.dest_taken = 0;
    btn_return->setFocus();
}

void Form1::btn_kiro_Click()
{
    m_.dep = to_entry_form(m_.dep);
    m_.dst = m_.dep;
    const QString old_destination = mplace->text();
    mplace->setText(m_.dep_place);
    m_.pt_place = m_.dep_place;
    splace->setText(old_destination);
    m_.dep_place = old_destination;
    m_.dep = bars_->value();
    m_.pt = bars_->value();
    show_departure_summary(m_.pt);
    bars_->set_labels(m_.dst);
    bars_->set(m_.dst);
    btn_cal_Click();
}

void Form1::btn_end_Click()
{
    close();
}

void Form1::mnuend_Click()
{
    close();
}

void Form1::mnusyoki_Click()
{
    m_.bk_place = m_.init_place;
    m_.dep_place = m_.init_place;
    m_.pt_place = m_.init_place;
    bars_->set_labels(m_.init);
    bars_->set(m_.init);
    show_departure_summary(m_.init);
    splace->setText(m_.init_place);
}

void Form1::mnulist_Click()
{
    leave_main_window();
    if (!form2_)
        form2_ = new Form2(m_, dialogs_, sound_, *this);
    hide();
    form2_->show();
}

void Form1::mnujap_Click()
{
    open_map(0);
}

void Form1::mnuwor_Click()
{
    open_map(1);
}

void Form1::mnuver_Click()
{
    show_version_box(dialogs_, sound_, VersionBoxFrom::MainWindow);
}

// The map window reads map_kind while it is being shown, so it is set first.
void Form1::open_map(std::int16_t kind)
{
    leave_main_window();
    m_.map_kind = kind;
    if (!map_)
        map_ = new frmjpmap(m_, dialogs_, *this);
    hide();
    map_->show();
}

void Form1::leave_main_window()
{
    m_.pt = bars_->value();
    if (m_.start_mode != 0) {
        m_.pt_place = splace->text();
    } else {
        m_.pt_place = mplace->text();
        btn_cal->setEnabled(true);
    }
    Frame1->setEnabled(true);
}

// Only a show by the program counts: another window handing control back, or the first
// show. Switching between applications does not run it.
void Form1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        Form_Activate();
}

// The close box ends the run like "終　了".
void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    end_program_();
}

void Form1::show_departure_summary(const Point& p)
{
    lbido1->setText(latitude_text(p));
    lbkei1->setText(longitude_text(p));
}

void Form1::show_destination_summary(const Point& p)
{
    lbido2->setText(latitude_text(p));
    lbkei2->setText(longitude_text(p));
}

void Form1::put_on_bars(const Point& p)
{
    bars_->set(p);
    bars_->set_labels(p);
}

bool Form1::name_no_longer_fits(const QString& name, const Point& point)
{
    const NameCheckRead read = read_places_for_name_check(m_.program_dir, m_.list_file, m_.places);
    if (!read.ok()) {
        if (!place_list_problem_reported_) {
            place_list_problem_reported_ = true;
            dialogs_.message(problem_message(*read.problem)
                             + QStringLiteral("\r\n\r\n地名の確認を省略します。"));
        }
        return false;
    }
    return name_conflicts(m_.places, read.records, name, point);
}

void Form1::refuse(const QString& message)
{
    dialogs_.message(message);
    lbido2->setText(kLatitudeCaption);
    lbkei2->setText(kLongitudeCaption);
    mplace->clear();
    btn_return->setFocus();
}

QString Form1::result_line(const QString& between) const
{
    if (lb_cal->text().isEmpty())
        return QString();
    return Label18->text() + lb_cal->text() + between + Label5->text() + lb_dis->text();
}

void Form1::copy_result()
{
    const QString line = result_line(QStringLiteral("\t"));
    if (!line.isEmpty())
        QGuiApplication::clipboard()->setText(line);
}

void Form1::show_result_menu(QLabel* result, const QPoint& at)
{
    QMenu menu(this);
    QAction* copy = menu.addAction(QStringLiteral("コピー(&C)"), this, &Form1::copy_result);
    copy->setEnabled(!result_line(QString()).isEmpty());
    menu.exec(result->mapToGlobal(at));
}

// The figure's description is the result it was drawn for, so that a screen reader
// says what the figure shows.
void Form1::draw_direction(double b, const Sector& sector)
{
    Image1->setVisible(false);
    compass_->draw(compass_figure(b, sector));
    compass_->setAccessibleDescription(result_line(QStringLiteral("、")));
}

void Form1::erase_drawing()
{
    compass_->clear();
    compass_->setAccessibleDescription(kNoResult);
}

} // namespace orvine
