#include "map/map_window.h"

#include "map/map_canvas.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "resources/resource_paths.h"
#include "resources/window_builder.h"
#include "resources/window_table.h"
#include "shared_state/shared_state.h"

#include <QCloseEvent>
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
    std::int16_t degrees = 0;  // signed degrees of the replacement; minutes and seconds are 0
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

QString replacement_line(const QString& shown, const QString& north_or_east, const QString& south_or_west,
                         int minutes, int seconds, std::int16_t replacement)
{
    const QString to = replacement == 0 ? dms(north_or_east, 0, 0, 0) : dms(south_or_west, 1, 0, 0);
    return dms(shown, 0, minutes, seconds) + QStringLiteral("　→　") + to;
}

} // namespace

MapWindow::MapWindow(SharedState& module1, Dialogs& dialogs, QWidget& main_window)
    : m_(module1), dialogs_(dialogs), main_window_(main_window)
{
    build_window(*this, map_window_table(), make_picture);
    setAttribute(Qt::WA_DeleteOnClose);

    Picture1 = control<MapCanvas>(this, "Picture1");
    Picture2 = control<MapCanvas>(this, "Picture2");
    btndecide = control<QPushButton>(this, "btndecide");
    btncancel = control<QPushButton>(this, "btncancel");
    btnClose = control<QPushButton>(this, "btnClose");
    Label8 = control<QLabel>(this, "Label8");
    Label1 = control<QLabel>(this, "Label1");
    lblido = control<QLabel>(this, "lblido");
    lblihun = control<QLabel>(this, "lblihun");
    lblibyou = control<QLabel>(this, "lblibyou");
    lblkdo = control<QLabel>(this, "lblkdo");
    lblkhun = control<QLabel>(this, "lblkhun");
    lblkbyou = control<QLabel>(this, "lblkbyou");

    connect(btndecide, &QPushButton::clicked, this, &MapWindow::btndecide_Click);
    connect(btncancel, &QPushButton::clicked, this, &MapWindow::btncancel_Click);
    connect(btnClose, &QPushButton::clicked, this, &MapWindow::btnClose_Click);
    connect(Picture1, &MapCanvas::mouse_moved, this, &MapWindow::Picture1_MouseMove);
    connect(Picture2, &MapCanvas::mouse_moved, this, &MapWindow::Picture2_MouseMove);
    connect(Picture1, &MapCanvas::mouse_pressed, this, &MapWindow::Picture1_MouseDown);
    connect(Picture2, &MapCanvas::mouse_pressed, this, &MapWindow::Picture2_MouseDown);
    connect(Picture1, &MapCanvas::key_moved, this, &MapWindow::Picture1_KeyMove);
    connect(Picture2, &MapCanvas::key_moved, this, &MapWindow::Picture2_KeyMove);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &MapWindow::btnClose_Click);

    Form_Load();
}

void MapWindow::Form_Load()
{
    for (MapCanvas* picture : {Picture1, Picture2}) {
        move_to_twips(*picture, {40, 1104});
        picture->hide();
    }
}

void MapWindow::setVisible(bool visible)
{
    if (visible && !isVisible())
        Form_Activate();
    QMainWindow::setVisible(visible);
}

void MapWindow::Form_Activate()
{
    clear_read_out();
    marked = 0;
    m_.saved_point = m_.transfer_point;
    m_.saved_name = m_.transfer_name;
    set_marked_buttons(false);

    kind_ = m_.map_kind;
    const KindLayout& layout = layout_for(kind_);
    Picture1->setVisible(kind_ == MapKind::Japan);
    Picture2->setVisible(kind_ == MapKind::World);
    // The keys move the cross from the start, and Return cannot end the window unasked.
    (kind_ == MapKind::Japan ? Picture1 : Picture2)->setFocus();
    centralWidget()->setFixedSize(twips_to_px(layout.outer_width - frame_width_twips),
                                  twips_to_px(layout.outer_height - frame_height_twips));
    move_to_twips(*btndecide, layout.decide);
    move_to_twips(*btncancel, layout.cancel);
    move_to_twips(*btnClose, layout.close);
    setWindowTitle(QString::fromUtf8(layout.caption));
    platform::centre_on_screen(*this);

    // Crosses live in the pictures' working images; a new showing starts from the plain map.
    Picture1->clear();
    Picture2->clear();
}

void MapWindow::set_marked_buttons(bool on)
{
    btndecide->setEnabled(on);
    btncancel->setEnabled(on);
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

void MapWindow::btndecide_Click()
{
    const int kei_sign = Label1->text() == QStringLiteral("西経") ? -1 : 1;
    const int ido_sign = Label8->text() == QStringLiteral("南緯") ? -1 : 1;
    Point p;
    p.latitude.degrees = static_cast<std::int16_t>(ido_sign * lblido->text().toShort());
    p.latitude.minutes = lblihun->text().toShort();
    p.latitude.seconds = lblibyou->text().toShort();
    p.longitude.degrees = static_cast<std::int16_t>(kei_sign * lblkdo->text().toShort());
    p.longitude.minutes = lblkhun->text().toShort();
    p.longitude.seconds = lblkbyou->text().toShort();

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

void MapWindow::btncancel_Click()
{
    Picture1->clear();
    Picture2->clear();
    marked = 0;
    set_marked_buttons(false);
}

void MapWindow::btnClose_Click()
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
    const ReadOut r = read_out(kind_, x, y);
    Label1->setText(QString::fromUtf8(r.longitude_label()));
    Label8->setText(QString::fromUtf8(r.latitude_label()));
    lblkdo->setText(QString::number(r.longitude.degrees));
    lblkhun->setText(QString::number(r.longitude.minutes));
    lblkbyou->setText(QString::number(r.longitude.seconds));
    lblido->setText(QString::number(r.latitude.degrees));
    lblihun->setText(QString::number(r.latitude.minutes));
    lblibyou->setText(QString::number(r.latitude.seconds));
    // A screen reader reads the position from the map itself, where the keys move it.
    const QString position = dms(Label8->text(), r.latitude.degrees, r.latitude.minutes, r.latitude.seconds) + QStringLiteral("　")
        + dms(Label1->text(), r.longitude.degrees, r.longitude.minutes, r.longitude.seconds);
    Picture1->setAccessibleDescription(position);
    Picture2->setAccessibleDescription(position);
}

void MapWindow::clear_read_out()
{
    for (QLabel* value : {lblido, lblihun, lblibyou, lblkdo, lblkhun, lblkbyou})
        value->clear();
    Picture1->setAccessibleDescription(QString());
    Picture2->setAccessibleDescription(QString());
}

void MapWindow::pointer_moved(MapCanvas& picture, int x, int y, Cross cross)
{
    if (marked == 1)
        return;
    show_read_out(x, y);
    if (cross == Cross::Hold)
        picture.hold_cross(x, y);
    else
        picture.flash_cross(x, y);
}

void MapWindow::button_down(MapCanvas& picture, int button, int x, int y)
{
    if (button == 2) {
        if (marked == 1)
            btncancel_Click();
        return;
    }
    if (marked == 1)
        return;
    show_read_out(x, y);
    // The flash may still stand on this very spot; left there it would cancel the mark out.
    picture.erase_flash();
    picture.draw_cross(x, y);
    marked = 1;
    set_marked_buttons(true);
}

void MapWindow::Picture1_MouseMove(int x, int y) { pointer_moved(*Picture1, x, y, Cross::Flash); }
void MapWindow::Picture2_MouseMove(int x, int y) { pointer_moved(*Picture2, x, y, Cross::Flash); }
void MapWindow::Picture1_KeyMove(int x, int y) { pointer_moved(*Picture1, x, y, Cross::Hold); }
void MapWindow::Picture2_KeyMove(int x, int y) { pointer_moved(*Picture2, x, y, Cross::Hold); }
void MapWindow::Picture1_MouseDown(int button, int x, int y) { button_down(*Picture1, button, x, y); }
void MapWindow::Picture2_MouseDown(int button, int x, int y) { button_down(*Picture2, button, x, y); }

} // namespace orvine
