#include "map/map_window.h"

#include "controls/focus_ring.h"
#include "controls/hidden_contents.h"
#include "map/map_canvas.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "resources/resource_paths.h"
#include "resources/window_builder.h"
#include "resources/window_table.h"
#include "shared_state/shared_state.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStringList>

#include <cstring>

namespace orvine {

namespace {

using platform::twips_to_px;

// Places in twips that depend on the map kind; the client size is derived from the outer one.
struct KindLayout {
    int outer_width;
    int outer_height;
    QPoint decide;
    QPoint cancel;
    QPoint close;
    const char* caption;
};

const KindLayout& layout_for(MapKind kind)
{
    static const KindLayout japan{7710, 9060, {5220, 240}, {6025, 240}, {6850, 240}, "日本地図"};
    static const KindLayout world{12090, 7550, {9560, 240}, {10385, 240}, {11210, 240}, "世界地図"};
    return kind == MapKind::Japan ? japan : world;
}

void move_to_twips(QWidget& w, QPoint twips)
{
    w.move(twips_to_px(twips.x()), twips_to_px(twips.y()));
}

// The map image of a picture; without the shipped images (a build before they were drawn)
// a plain sea of the right size keeps the window usable.
QImage map_image(MapKind kind)
{
    QImage image(QString::fromLatin1(kind == MapKind::Japan ? JAPAN_MAP : WORLD_MAP));
    if (image.isNull()) {
        const MapProjection& p = map_projection(kind);
        image = QImage(p.width, p.height, QImage::Format_RGB32);
        image.fill(qRgb(236, 236, 236));
    }
    return image;
}

MapCanvas* make_picture(const ControlRow& c, QWidget* parent)
{
    MapKind kind;
    if (std::strcmp(c.name, "Picture1") == 0)
        kind = MapKind::Japan;
    else if (std::strcmp(c.name, "Picture2") == 0)
        kind = MapKind::World;
    else
        return nullptr;
    auto* canvas = new MapCanvas(parent);
    canvas->set_image(map_image(kind));
    const MapProjection& p = map_projection(kind);
    canvas->set_cross_ends(p.line_end_x, p.line_end_y);
    return canvas;
}

// A point carries its hemisphere in the sign of its degrees, so a south latitude or west
// longitude of less than one degree (degrees 0, some minutes or seconds) has no form of its
// own. The nearest value that has one is 0°0′0″ or 1°0′0″ south or west, whichever lies
// closer; at exactly half a degree the boundary line is taken.
struct SubDegree {
    bool affected = false;
    std::int16_t degrees = 0; // signed degrees of the replacement; minutes and seconds are 0
};

SubDegree sub_degree(bool negative, int degrees, int minutes, int seconds)
{
    if (!negative || degrees != 0 || (minutes == 0 && seconds == 0))
        return {};
    return {true, static_cast<std::int16_t>(minutes * 60 + seconds <= 1800 ? 0 : -1)};
}

QString dms(const QString& hemisphere, int d, int m, int s)
{
    return QStringLiteral("%1%2度%3分%4秒").arg(hemisphere).arg(d).arg(m).arg(s);
}

QString dms(const QString& hemisphere, const Angle& a)
{
    return dms(hemisphere, a.degrees, a.minutes, a.seconds);
}

QString replacement_line(const QString& shown, const QString& north_or_east, const QString& south_or_west, int minutes,
                         int seconds, std::int16_t replacement)
{
    const QString to = replacement == 0 ? dms(north_or_east, 0, 0, 0) : dms(south_or_west, 1, 0, 0);
    return dms(shown, 0, minutes, seconds) + QStringLiteral("　→　") + to;
}

} // namespace

MapWindow::MapWindow(SharedState& state, Dialogs& dialogs, QWidget& main_window)
    : m_(state), dialogs_(dialogs), main_window_(main_window)
{
    build_window(*this, map_window_table(), make_picture);
    setAttribute(Qt::WA_DeleteOnClose);

    japan_picture = control<MapCanvas>(this, "Picture1");
    world_picture = control<MapCanvas>(this, "Picture2");
    decide_button = control<QPushButton>(this, "btndecide");
    clear_button = control<QPushButton>(this, "btncancel");
    close_button = control<QPushButton>(this, "btnClose");
    latitude_hemisphere = control<QLabel>(this, "Label8");
    longitude_hemisphere = control<QLabel>(this, "Label1");
    latitude_degrees = control<QLabel>(this, "lblido");
    latitude_minutes = control<QLabel>(this, "lblihun");
    latitude_seconds = control<QLabel>(this, "lblibyou");
    longitude_degrees = control<QLabel>(this, "lblkdo");
    longitude_minutes = control<QLabel>(this, "lblkhun");
    longitude_seconds = control<QLabel>(this, "lblkbyou");

    connect(decide_button, &QPushButton::clicked, this, &MapWindow::decide);
    connect(clear_button, &QPushButton::clicked, this, &MapWindow::clear_mark);
    connect(close_button, &QPushButton::clicked, this, &MapWindow::leave_without_choice);
    for (MapCanvas* picture : {japan_picture, world_picture}) {
        ring_when_focused(*picture);
        connect(picture, &MapCanvas::mouse_moved, this,
                [this, picture](int x, int y) { pointer_moved(*picture, x, y, Cross::Flash); });
        connect(picture, &MapCanvas::key_moved, this,
                [this, picture](int x, int y) { pointer_moved(*picture, x, y, Cross::Hold); });
        connect(picture, &MapCanvas::mouse_pressed, this,
                [this, picture](Qt::MouseButton button, int x, int y) { button_down(*picture, button, x, y); });
    }
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &MapWindow::leave_without_choice);

    place_pictures();
}

void MapWindow::place_pictures()
{
    for (MapCanvas* picture : {japan_picture, world_picture}) {
        move_to_twips(*picture, {40, 1104});
        picture->hide();
    }
}

void MapWindow::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        show_contents(*this);
        take_hand_over();
    }
    QMainWindow::setVisible(visible);
}

void MapWindow::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    if (!event->spontaneous())
        hide_contents(*this);
}

void MapWindow::take_hand_over()
{
    clear_read_out();
    marked_ = false;
    m_.saved_point = m_.transfer_point;
    m_.saved_name = m_.transfer_name;
    set_marked_buttons(false);

    kind_ = m_.map_kind;
    const KindLayout& layout = layout_for(kind_);
    MapCanvas* picture = kind_ == MapKind::Japan ? japan_picture : world_picture;
    japan_picture->setVisible(kind_ == MapKind::Japan);
    world_picture->setVisible(kind_ == MapKind::World);
    // The keys move the cross from the start, and Return cannot end the window unasked.
    picture->setFocus();
    centralWidget()->setFixedSize(twips_to_px(layout.outer_width - frame_width_twips),
                                  twips_to_px(layout.outer_height - frame_height_twips));
    move_to_twips(*decide_button, layout.decide);
    move_to_twips(*clear_button, layout.cancel);
    move_to_twips(*close_button, layout.close);
    setWindowTitle(QString::fromUtf8(layout.caption));
    platform::centre_on_screen(*this);

    // Crosses live in the pictures' working images; a new showing starts from the plain map,
    // with the keyboard's cross where the keys start. The map's description gives its place;
    // the map itself has the focus until the first key moves the cross.
    japan_picture->clear();
    world_picture->clear();
    japan_picture->announce(QString());
    world_picture->announce(QString());
    const QPoint start = picture->start_keyboard_pointer();
    show_read_out(start.x(), start.y());
    picture->hold_cross(start.x(), start.y());
}

void MapWindow::set_marked_buttons(bool on)
{
    decide_button->setEnabled(on);
    clear_button->setEnabled(on);
}

void MapWindow::restore_transfer_point()
{
    m_.transfer_name = m_.saved_name;
    m_.transfer_point = m_.saved_point;
}

QString MapWindow::sub_degree_message(const QString& lines)
{
    return QStringLiteral("南緯・西経で1度に満たない値は、南北・東西を度の符号で表すため、"
                          "このままでは受け渡せません。\r\n\r\n")
        + lines
        + QStringLiteral("\r\n\r\n最も近い受け渡せる値で決定しますか？\r\n"
                         "（キャンセルすると地図に戻り、選び直せます）");
}

void MapWindow::decide()
{
    const int ido_sign = read_out_.south ? -1 : 1;
    const int kei_sign = read_out_.west ? -1 : 1;
    Point p{read_out_.latitude, read_out_.longitude};
    p.latitude.degrees = static_cast<std::int16_t>(ido_sign * p.latitude.degrees);
    p.longitude.degrees = static_cast<std::int16_t>(kei_sign * p.longitude.degrees);

    // Handing over 0 degrees would silently move the point to the other hemisphere; the
    // user is told and may take the nearest value that can be carried, or pick again.
    const SubDegree ido = sub_degree(ido_sign < 0, p.latitude.degrees, p.latitude.minutes, p.latitude.seconds);
    const SubDegree kei = sub_degree(kei_sign < 0, p.longitude.degrees, p.longitude.minutes, p.longitude.seconds);
    if (ido.affected || kei.affected) {
        QStringList lines;
        if (ido.affected)
            lines << replacement_line(QStringLiteral("南緯"), QStringLiteral("北緯"), QStringLiteral("南緯"),
                                      p.latitude.minutes, p.latitude.seconds, ido.degrees);
        if (kei.affected)
            lines << replacement_line(QStringLiteral("西経"), QStringLiteral("東経"), QStringLiteral("西経"),
                                      p.longitude.minutes, p.longitude.seconds, kei.degrees);
        if (!dialogs_.confirm(sub_degree_message(lines.join(QStringLiteral("\r\n")))))
            return;
        if (ido.affected) {
            p.latitude.degrees = ido.degrees;
            p.latitude.minutes = 0;
            p.latitude.seconds = 0;
        }
        if (kei.affected) {
            p.longitude.degrees = kei.degrees;
            p.longitude.minutes = 0;
            p.longitude.seconds = 0;
        }
    }

    m_.transfer_point = p;
    m_.transfer_name = UNKNOWN_PLACE;
    if (!m_.entering_departure)
        m_.destination_handed_over = true;
    m_.point_handed_over = true;
    main_window_.show();
    hide();
}

void MapWindow::clear_mark()
{
    japan_picture->clear();
    world_picture->clear();
    marked_ = false;
    set_marked_buttons(false);
}

void MapWindow::leave_without_choice()
{
    restore_transfer_point();
    main_window_.show();
    hide();
}

void MapWindow::closeEvent(QCloseEvent* event)
{
    // Only the close box of the shown window leads back; a hidden window closed while the
    // program ends leaves the main window alone.
    if (isVisible()) {
        restore_transfer_point();
        main_window_.show();
    }
    event->accept();
}

void MapWindow::show_read_out(int x, int y)
{
    read_out_ = read_out(kind_, x, y);
    const ReadOut& r = read_out_;
    longitude_hemisphere->setText(QString::fromUtf8(r.longitude_label()));
    latitude_hemisphere->setText(QString::fromUtf8(r.latitude_label()));
    longitude_degrees->setText(QString::number(r.longitude.degrees));
    longitude_minutes->setText(QString::number(r.longitude.minutes));
    longitude_seconds->setText(QString::number(r.longitude.seconds));
    latitude_degrees->setText(QString::number(r.latitude.degrees));
    latitude_minutes->setText(QString::number(r.latitude.minutes));
    latitude_seconds->setText(QString::number(r.latitude.seconds));
    // A screen reader reads the position from the map itself, where the keys move it.
    japan_picture->setAccessibleDescription(position_text());
    world_picture->setAccessibleDescription(position_text());
}

QString MapWindow::position_text() const
{
    return dms(latitude_hemisphere->text(), read_out_.latitude) + QStringLiteral("　")
        + dms(longitude_hemisphere->text(), read_out_.longitude);
}

void MapWindow::clear_read_out()
{
    for (QLabel* value : {latitude_degrees, latitude_minutes, latitude_seconds, longitude_degrees, longitude_minutes,
                          longitude_seconds})
        value->clear();
    japan_picture->setAccessibleDescription(QString());
    world_picture->setAccessibleDescription(QString());
}

void MapWindow::pointer_moved(MapCanvas& picture, int x, int y, Cross cross)
{
    if (marked_)
        return;
    show_read_out(x, y);
    if (cross == Cross::Flash) {
        picture.flash_cross(x, y);
        return;
    }
    picture.hold_cross(x, y);
    picture.announce(position_text());
}

void MapWindow::button_down(MapCanvas& picture, Qt::MouseButton button, int x, int y)
{
    if (button == Qt::RightButton) {
        if (marked_)
            clear_mark();
        return;
    }
    if (marked_)
        return;
    show_read_out(x, y);
    // The flash may still stand on this very spot; left there it would cancel the mark out.
    picture.erase_flash();
    picture.draw_cross(x, y);
    marked_ = true;
    set_marked_buttons(true);
    picture.announce(QStringLiteral("印を付けた地点　") + position_text());
}

} // namespace orvine
