// The map window driven through real mouse events and button clicks: read-out, marking,
// the hand-over to the main window and the way back without a point.
#include "map/frmjpmap.h"
#include "map/map_canvas.h"
#include "map/map_projection.h"
#include "platform/fake_dialogs.h"
#include "shared_state/module1.h"

#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QtMath>

using namespace orvine;

Q_DECLARE_METATYPE(orvine::Point)

namespace orvine {
// Failure messages show the six values.
char* toString(const Point& p)
{
    return QTest::toString(QStringLiteral("%1 %2 %3 / %4 %5 %6")
                               .arg(p.ido_do).arg(p.ido_hun).arg(p.ido_byo)
                               .arg(p.kei_do).arg(p.kei_hun).arg(p.kei_byo));
}
} // namespace orvine

namespace {

constexpr std::int16_t kJapan = 0;
constexpr std::int16_t kWorld = 1;
const Point kTokyo{35, 40, 10, 139, 45, 20};

// Module1 as the main window found it when it was shown.
struct SeenAtShow : QObject {
    explicit SeenAtShow(const Module1& m) : m_(m) {}
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show) {
            ++shows;
            at_show = m_;
        }
        return false;
    }
    const Module1& m_;
    int shows = 0;
    Module1 at_show;
};

// A main window stand-in and a map window opened from it as the menu does: the transfer
// point set, map_kind set, the main window hidden, the map window shown.
struct Session {
    Session()
    {
        m.pt = kTokyo;
        m.pt_place = QStringLiteral("東京");
        m.start_mode = 1;
        main.installEventFilter(&seen);
        map = new frmjpmap(m, dialogs, main);
    }
    ~Session() { delete map.data(); }

    void open(std::int16_t kind)
    {
        m.map_kind = kind;
        main.hide();
        map->show();
    }

    MapCanvas* picture(std::int16_t kind) const
    {
        return map->findChild<MapCanvas*>(kind == kJapan ? QStringLiteral("Picture1") : QStringLiteral("Picture2"));
    }
    QString text(const char* name) const { return map->findChild<QLabel*>(QString::fromLatin1(name))->text(); }
    QPushButton* button(const char* name) const { return map->findChild<QPushButton*>(QString::fromLatin1(name)); }

    // Both read-out rows as one line: "北緯 49 0 6 東経 121 23 54".
    QString read_out() const
    {
        return QStringList{text("Label8"), text("lblido"), text("lblihun"), text("lblibyou"), text("Label1"),
                           text("lblkdo"), text("lblkhun"), text("lblkbyou")}
            .join(QLatin1Char(' '));
    }

    void move(std::int16_t kind, QPoint at, Qt::MouseButtons held = Qt::NoButton)
    {
        QMouseEvent e(QEvent::MouseMove, at, picture(kind)->mapToGlobal(QPointF(at)), Qt::NoButton, held,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(picture(kind), &e);
    }
    // Sent directly rather than through QTest::mouseClick, which takes (0, 0) for "the centre".
    void press(std::int16_t kind, QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        const QPointF global = picture(kind)->mapToGlobal(QPointF(at));
        QMouseEvent down(QEvent::MouseButtonPress, at, global, button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(picture(kind), &down);
        QMouseEvent up(QEvent::MouseButtonRelease, at, global, button, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(picture(kind), &up);
    }

    Module1 m;
    FakeDialogs dialogs;
    QMainWindow main;
    SeenAtShow seen{m};
    QPointer<frmjpmap> map;
};

} // namespace

class FrmjpmapTest : public QObject {
    Q_OBJECT

private slots:
    void read_out_follows_the_pointer_data();
    void read_out_follows_the_pointer();
    void drag_outside_the_map_stays_in_range();
    void hemisphere_labels_switch_back_on_the_japan_map();
    void window_set_up_per_map_kind();
    void activation_clears_and_takes_the_backup();
    void flash_leaves_the_image_as_it_was();
    void press_marks_and_freezes();
    void right_press_and_cancel_clear_the_mark();
    void map_is_shown_pixel_for_pixel();
    void keys_move_and_mark_data();
    void keys_move_and_mark();
    void hand_over_data();
    void hand_over();
    void closing_a_hidden_map_window_shows_nothing();
    void sub_degree_south_or_west_is_confirmed_data();
    void sub_degree_south_or_west_is_confirmed();
    void sub_degree_cancel_keeps_the_mark();
};

void FrmjpmapTest::read_out_follows_the_pointer_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("shown");
    QTest::newRow("japan top left") << 0 << QPoint(0, 0) << QStringLiteral("北緯 49 0 6 東経 121 23 54");
    QTest::newRow("japan centre") << 0 << QPoint(250, 250) << QStringLiteral("北緯 36 8 5 東経 134 15 55");
    QTest::newRow("japan bottom right") << 0 << QPoint(499, 499) << QStringLiteral("北緯 23 19 10 東経 147 4 50");
    QTest::newRow("world north west") << 1 << QPoint(200, 100) << QStringLiteral("北緯 44 59 15 西経 88 54 43");
    QTest::newRow("world equator row") << 1 << QPoint(397, 200) << QStringLiteral("南緯 0 0 1 東経 0 0 35");
    QTest::newRow("world south east") << 1 << QPoint(600, 300) << QStringLiteral("南緯 44 59 18 東経 91 38 23");
    QTest::newRow("world bottom right") << 1 << QPoint(793, 399) << QStringLiteral("南緯 89 31 35 東経 178 45 22");
}

void FrmjpmapTest::read_out_follows_the_pointer()
{
    QFETCH(int, kind);
    QFETCH(QPoint, at);
    QFETCH(QString, shown);
    const auto k = static_cast<std::int16_t>(kind);
    Session s;
    s.open(k);
    s.move(k, at);
    QCOMPARE(s.read_out(), shown);
    // A press reads the same point out and keeps it.
    s.move(k, QPoint(5, 5));
    s.press(k, at);
    QCOMPARE(s.read_out(), shown);
}

void FrmjpmapTest::drag_outside_the_map_stays_in_range()
{
    Session s;
    s.open(kWorld);
    s.move(kWorld, QPoint(-40, 450), Qt::RightButton);
    QCOMPARE(s.read_out(), QStringLiteral("南緯 89 31 35 西経 179 11 16"));
    s.move(kWorld, QPoint(900, -3), Qt::RightButton);
    QCOMPARE(s.read_out(), QStringLiteral("北緯 89 58 32 東経 178 45 22"));
}

void FrmjpmapTest::hemisphere_labels_switch_back_on_the_japan_map()
{
    Session s;
    s.open(kWorld);
    s.move(kWorld, QPoint(100, 300));
    QCOMPARE(s.read_out(), QStringLiteral("南緯 44 59 18 西経 134 2 59"));
    QTest::mouseClick(s.button("btnClose"), Qt::LeftButton);

    s.open(kJapan);
    // Activation empties the values; the hemisphere labels keep what the world map left.
    QCOMPARE(s.read_out(), QStringLiteral("南緯    西経   "));
    s.move(kJapan, QPoint(250, 250));
    QCOMPARE(s.read_out(), QStringLiteral("北緯 36 8 5 東経 134 15 55"));
}

void FrmjpmapTest::window_set_up_per_map_kind()
{
    Session s;
    QCOMPARE(s.map->windowTitle(), QString());
    struct Expected {
        std::int16_t kind;
        const char* caption;
        QSize client;  // outer size less 120 × 390 twips of frame and title bar
        int decide_x, cancel_x, close_x;
    };
    // The same window instance shows Japan, the world, then Japan again.
    const Expected steps[] = {
        {kJapan, "日本地図", QSize(506, 578), 348, 402, 457},
        {kWorld, "世界地図", QSize(798, 477), 637, 692, 747},
        {kJapan, "日本地図", QSize(506, 578), 348, 402, 457},
    };
    for (const Expected& e : steps) {
        s.open(e.kind);
        QVERIFY(QTest::qWaitForWindowExposed(s.map.data()));
        QCOMPARE(s.map->windowTitle(), QString::fromUtf8(e.caption));
        QCOMPARE(s.map->centralWidget()->size(), e.client);
        QCOMPARE(s.button("btndecide")->pos(), QPoint(e.decide_x, 16));
        QCOMPARE(s.button("btncancel")->pos(), QPoint(e.cancel_x, 16));
        QCOMPARE(s.button("btnClose")->pos(), QPoint(e.close_x, 16));
        MapCanvas* shown = s.picture(e.kind);
        QVERIFY(shown->isVisible());
        QVERIFY(!s.picture(e.kind == kJapan ? kWorld : kJapan)->isVisible());
        QCOMPARE(shown->pos(), QPoint(3, 74));
        const QRect client(QPoint(0, 0), e.client);
        QVERIFY(client.contains(shown->geometry()));
        QVERIFY(client.contains(s.button("btnClose")->geometry()));
        // Centred by the outer frame; before the first showing the frame is not known yet, so
        // the first placement may be off by half a frame.
        const QRect frame = s.map->frameGeometry();
        const QPoint off_centre = frame.center() - s.map->screen()->geometry().center();
        const int slack = (frame.width() - s.map->width() + frame.height() - s.map->height()) / 2 + 2;
        QVERIFY2(off_centre.manhattanLength() <= slack, "window not centred on the screen");
        QTest::mouseClick(s.button("btnClose"), Qt::LeftButton);
        QVERIFY(!s.map->isVisible());
    }
}

void FrmjpmapTest::activation_clears_and_takes_the_backup()
{
    Session s;
    s.open(kJapan);
    s.press(kJapan, QPoint(100, 100));
    QTest::mouseClick(s.button("btnClose"), Qt::LeftButton);

    // The main window's menu puts new bar values into the transfer point before reopening.
    s.m.pt = Point{-12, 30, 0, -45, 15, 5};
    s.m.pt_place = QStringLiteral("どこか");
    s.open(kJapan);
    QCOMPARE(s.m.bk, (Point{-12, 30, 0, -45, 15, 5}));
    QCOMPARE(s.m.bk_place, QStringLiteral("どこか"));
    QCOMPARE(s.read_out(), QStringLiteral("北緯    東経   "));
    QVERIFY(!s.button("btndecide")->isEnabled());
    QVERIFY(!s.button("btncancel")->isEnabled());
    // The mark of the last showing is gone: the map is plain and a move reads out again.
    QCOMPARE(s.picture(kJapan)->image(),
             QImage(QStringLiteral(":/images/japan_map.png")).convertToFormat(QImage::Format_RGB32));
    s.move(kJapan, QPoint(0, 0));
    QCOMPARE(s.read_out(), QStringLiteral("北緯 49 0 6 東経 121 23 54"));
}

void FrmjpmapTest::flash_leaves_the_image_as_it_was()
{
    Session s;
    s.open(kWorld);
    MapCanvas* world = s.picture(kWorld);
    const QImage before = world->image().copy();
    s.move(kWorld, QPoint(300, 150));
    QVERIFY(world->flash_shown());
    QCOMPARE(world->image().pixel(300, 10), before.pixel(300, 10) ^ (MapCanvas::cross_rgb & 0xffffffu));
    for (int i = 0; i < 50; ++i)
        s.move(kWorld, QPoint(300 + i, 150 + i % 7));
    QTRY_VERIFY(!world->flash_shown());
    QCOMPARE(world->image(), before);
}

void FrmjpmapTest::press_marks_and_freezes()
{
    Session s;
    s.open(kJapan);
    MapCanvas* japan = s.picture(kJapan);
    const QImage before = japan->image().copy();
    s.move(kJapan, QPoint(250, 250));
    s.press(kJapan, QPoint(250, 250));
    QVERIFY(s.button("btndecide")->isEnabled());
    QVERIFY(s.button("btncancel")->isEnabled());
    QVERIFY(!japan->flash_shown());
    const QImage marked = japan->image().copy();
    QCOMPARE(marked.pixel(250, 3), before.pixel(250, 3) ^ (MapCanvas::cross_rgb & 0xffffffu));
    QCOMPARE(marked.pixel(3, 250), before.pixel(3, 250) ^ (MapCanvas::cross_rgb & 0xffffffu));
    QCOMPARE(marked.pixel(3, 3), before.pixel(3, 3));

    // Moves and a second press change neither the read-out nor the map.
    s.move(kJapan, QPoint(10, 20));
    s.press(kJapan, QPoint(400, 400));
    s.press(kJapan, QPoint(400, 400), Qt::MiddleButton);
    QTest::qWait(MapCanvas::flash_ms + 30);
    QCOMPARE(s.read_out(), QStringLiteral("北緯 36 8 5 東経 134 15 55"));
    QCOMPARE(japan->image(), marked);
}

void FrmjpmapTest::right_press_and_cancel_clear_the_mark()
{
    Session s;
    s.open(kJapan);
    MapCanvas* japan = s.picture(kJapan);
    const QImage before = japan->image().copy();
    s.press(kJapan, QPoint(100, 100), Qt::RightButton);
    QVERIFY(!s.button("btndecide")->isEnabled());
    QCOMPARE(japan->image(), before);

    // The middle button marks as the left one does; the right one clears the mark.
    s.press(kJapan, QPoint(0, 0), Qt::MiddleButton);
    QVERIFY(s.button("btndecide")->isEnabled());
    s.press(kJapan, QPoint(300, 300), Qt::RightButton);
    QVERIFY(!s.button("btndecide")->isEnabled());
    QVERIFY(!s.button("btncancel")->isEnabled());
    QCOMPARE(japan->image(), before);
    QCOMPARE(s.read_out(), QStringLiteral("北緯 49 0 6 東経 121 23 54"));

    // "取消" does the same, and afterwards the read-out follows the pointer again.
    s.press(kJapan, QPoint(499, 499));
    QTest::mouseClick(s.button("btncancel"), Qt::LeftButton);
    QVERIFY(!s.button("btndecide")->isEnabled());
    QCOMPARE(japan->image(), before);
    s.move(kJapan, QPoint(250, 250));
    QCOMPARE(s.read_out(), QStringLiteral("北緯 36 8 5 東経 134 15 55"));
}

// On a scaled screen too (CTest runs this at 1.5× and 2× as well), every screen pixel shows
// one of the map pixels it covers, unblended, and a cross that came and went leaves nothing.
void FrmjpmapTest::map_is_shown_pixel_for_pixel()
{
    Session s;
    s.open(kWorld);
    MapCanvas* map = s.picture(kWorld);
    const QImage plain = map->image().copy();
    s.press(kWorld, QPoint(301, 151));
    QTest::mouseClick(s.button("btncancel"), Qt::LeftButton);
    const QImage screen = map->grab().toImage();
    const qreal dpr = screen.devicePixelRatio();
    QCOMPARE(screen.size(), plain.size() * dpr);
    auto covered = [dpr](int from) { return std::pair{qFloor(from / dpr), qCeil((from + 1) / dpr) - 1}; };
    for (int y = 0; y < screen.height(); ++y) {
        for (int x = 0; x < screen.width(); ++x) {
            const auto [left, right] = covered(x);
            const auto [top, bottom] = covered(y);
            const QRgb shown = screen.pixel(x, y);
            if (shown != plain.pixel(left, top) && shown != plain.pixel(right, top)
                && shown != plain.pixel(left, bottom) && shown != plain.pixel(right, bottom))
                QFAIL(qPrintable(QStringLiteral("screen pixel %1,%2").arg(x).arg(y)));
        }
    }
}

void FrmjpmapTest::keys_move_and_mark_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QPoint>("pointer");  // where the pointer last stood; (-1, -1): never on the map
    QTest::addColumn<QString>("keys");    // arrow keys, "+" for Shift
    QTest::addColumn<int>("mark");
    QTest::addColumn<QPoint>("marked");
    QTest::newRow("Japan from the middle") << 0 << QPoint(-1, -1) << "Right +Down +Left Up" << int(Qt::Key_Space)
                                           << QPoint(241, 259);
    QTest::newRow("world from the pointer, held at the edge")
        << 1 << QPoint(3, 398) << "+Left Down Down Right" << int(Qt::Key_Return) << QPoint(1, 399);
}

// The arrows move a cross that stays, and the read-out and the map's description follow
// it; Space or Return marks the point as a press of the left button there does.
void FrmjpmapTest::keys_move_and_mark()
{
    QFETCH(int, kind);
    QFETCH(QPoint, pointer);
    QFETCH(QString, keys);
    QFETCH(int, mark);
    QFETCH(QPoint, marked);
    const auto k = static_cast<std::int16_t>(kind);
    Session s;
    s.open(k);
    MapCanvas* map = s.picture(k);
    const QImage plain = map->image().copy();
    QVERIFY(QTest::qWaitForWindowActive(s.map.data()));
    QCOMPARE(s.map->focusWidget(), map);
    if (pointer.x() >= 0)
        s.move(k, pointer);
    const QHash<QString, int> arrows{{"Left", Qt::Key_Left}, {"Right", Qt::Key_Right}, {"Up", Qt::Key_Up},
                                     {"Down", Qt::Key_Down}};
    for (QString key : keys.split(' ')) {
        const bool shift = key.startsWith('+');
        QTest::keyClick(map, Qt::Key(arrows.value(key.remove('+'))), shift ? Qt::ShiftModifier : Qt::NoModifier);
    }
    const ReadOut r = read_out(map_kind_from(k), marked.x(), marked.y());
    const QString expected = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
                                 .arg(QString::fromUtf8(r.ido_label())).arg(r.ido_do).arg(r.ido_hun).arg(r.ido_byo)
                                 .arg(QString::fromUtf8(r.kei_label())).arg(r.kei_do).arg(r.kei_hun).arg(r.kei_byo);
    QCOMPARE(s.read_out(), expected);
    QCOMPARE(map->accessibleDescription(), QStringLiteral("%1%2度%3分%4秒　%5%6度%7分%8秒")
                                               .arg(s.text("Label8"), s.text("lblido"), s.text("lblihun"),
                                                    s.text("lblibyou"), s.text("Label1"), s.text("lblkdo"),
                                                    s.text("lblkhun"), s.text("lblkbyou")));
    const QRgb flipped = plain.pixel(marked.x(), 0) ^ (MapCanvas::cross_rgb & 0xffffffu);
    QTest::qWait(MapCanvas::flash_ms + 30);
    QCOMPARE(map->image().pixel(marked.x(), 0), flipped);

    QTest::keyClick(map, Qt::Key(mark));
    QVERIFY(s.button("btndecide")->isEnabled());
    QCOMPARE(map->image().pixel(marked.x(), 0), flipped);
    QTest::keyClick(map, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(s.read_out(), expected);
    QTest::mouseClick(s.button("btncancel"), Qt::LeftButton);
    QCOMPARE(map->image(), plain);
}

void FrmjpmapTest::hand_over_data()
{
    QTest::addColumn<int>("start_mode");
    QTest::addColumn<int>("taken_before");
    QTest::addColumn<QString>("leave_by");  // a button's name, a key, or empty for the close box
    QTest::addColumn<Point>("pt");
    QTest::addColumn<QString>("place");
    QTest::addColumn<int>("pt_taken");
    QTest::addColumn<int>("dest_taken");
    const Point picked{44, 59, 15, -88, 54, 43};
    const QString unknown = QStringLiteral("不明"), tokyo = QStringLiteral("東京");
    QTest::newRow("決定 in departure entry") << 1 << 0 << "btndecide" << picked << unknown << 1 << 0;
    QTest::newRow("決定 in destination entry") << 0 << 0 << "btndecide" << picked << unknown << 1 << 1;
    QTest::newRow("中止 restores the backup") << 1 << 1 << "btnClose" << kTokyo << tokyo << 1 << 0;
    QTest::newRow("close box restores the backup") << 1 << 0 << "" << kTokyo << tokyo << 0 << 0;
    QTest::newRow("Escape does what 中止 does") << 1 << 0 << "Escape" << kTokyo << tokyo << 0 << 0;
    QTest::newRow("Return on the focused 決定") << 0 << 0 << "Return" << picked << unknown << 1 << 1;
}

// Everything is written before the main window is shown, and the map window goes.
void FrmjpmapTest::hand_over()
{
    QFETCH(int, start_mode);
    QFETCH(int, taken_before);
    QFETCH(QString, leave_by);
    QFETCH(Point, pt);
    QFETCH(QString, place);
    QFETCH(int, pt_taken);
    QFETCH(int, dest_taken);
    Session s;
    s.m.start_mode = static_cast<std::int16_t>(start_mode);
    s.m.pt_taken = static_cast<std::int16_t>(taken_before);
    s.open(kWorld);
    s.press(kWorld, QPoint(200, 100));
    // Only the backup taken at activation may come back, not what the transfer point holds now.
    s.m.pt = Point{1, 2, 3, 4, 5, 6};
    s.m.pt_place = QStringLiteral("途中");
    if (leave_by.isEmpty()) {
        QVERIFY(s.map->close());
    } else if (leave_by == "Escape") {
        QVERIFY(QTest::qWaitForWindowActive(s.map.data()));
        QTest::keyClick(s.picture(kWorld), Qt::Key_Escape);
    } else if (leave_by == "Return") {
        s.button("btndecide")->setFocus();
        QTest::keyClick(s.button("btndecide"), Qt::Key_Return);
    } else {
        QTest::mouseClick(s.button(qPrintable(leave_by)), Qt::LeftButton);
    }

    QCOMPARE(s.m.pt, pt);
    QCOMPARE(s.m.pt_place, place);
    QCOMPARE(s.m.pt_taken, std::int16_t(pt_taken));
    QCOMPARE(s.m.dest_taken, std::int16_t(dest_taken));
    QVERIFY(s.dialogs.calls.empty());
    QCOMPARE(s.seen.shows, 1);
    QCOMPARE(s.seen.at_show.pt, pt);
    QCOMPARE(s.seen.at_show.pt_place, place);
    QCOMPARE(s.seen.at_show.pt_taken, std::int16_t(pt_taken));
    QCOMPARE(s.seen.at_show.dest_taken, std::int16_t(dest_taken));
    QVERIFY(s.main.isVisible());
    if (leave_by.isEmpty())
        QTRY_VERIFY(s.map.isNull());
    else
        QVERIFY(!s.map->isVisible());
}

// The program ending closes a hidden map window: that must not bring the main window back.
void FrmjpmapTest::closing_a_hidden_map_window_shows_nothing()
{
    Session s;
    s.open(kJapan);
    QTest::mouseClick(s.button("btnClose"), Qt::LeftButton);
    s.main.hide();
    s.map->close();
    QCOMPARE(s.seen.shows, 1);
    QVERIFY(!s.main.isVisible());
}

void FrmjpmapTest::sub_degree_south_or_west_is_confirmed_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("lines");
    QTest::addColumn<Point>("handed_over");
    QTest::newRow("equator row, south by a second")
        << QPoint(397, 200) << QStringLiteral("南緯0度0分1秒　→　北緯0度0分0秒") << Point{0, 0, 0, 0, 0, 35};
    QTest::newRow("west by 26 minutes, nearer to the meridian")
        << QPoint(396, 100) << QStringLiteral("西経0度26分29秒　→　東経0度0分0秒") << Point{44, 59, 15, 0, 0, 0};
    QTest::newRow("west by 53 minutes, nearer to one degree")
        << QPoint(395, 100) << QStringLiteral("西経0度53分34秒　→　西経1度0分0秒") << Point{44, 59, 15, -1, 0, 0};
    QTest::newRow("both at once")
        << QPoint(396, 200) << QStringLiteral("南緯0度0分1秒　→　北緯0度0分0秒\r\n西経0度26分29秒　→　東経0度0分0秒")
        << Point{0, 0, 0, 0, 0, 0};
}

void FrmjpmapTest::sub_degree_south_or_west_is_confirmed()
{
    QFETCH(QPoint, at);
    QFETCH(QString, lines);
    QFETCH(Point, handed_over);
    Session s;
    s.open(kWorld);
    s.press(kWorld, at);
    QTest::mouseClick(s.button("btndecide"), Qt::LeftButton);
    QCOMPARE(s.dialogs.calls.size(), size_t(1));
    QCOMPARE(s.dialogs.calls[0].kind, DialogCall::Kind::Confirm);
    QCOMPARE(s.dialogs.calls[0].text, frmjpmap::sub_degree_message(lines));
    QVERIFY(s.dialogs.calls[0].text.contains(QStringLiteral("1度に満たない")));
    QCOMPARE(s.m.pt, handed_over);
    QCOMPARE(s.m.pt_taken, std::int16_t(1));
    QVERIFY(s.main.isVisible());
}

void FrmjpmapTest::sub_degree_cancel_keeps_the_mark()
{
    Session s;
    s.open(kWorld);
    s.press(kWorld, QPoint(397, 200));
    s.dialogs.answers.push_back(false);
    QTest::mouseClick(s.button("btndecide"), Qt::LeftButton);
    QCOMPARE(s.dialogs.calls.size(), size_t(1));
    QCOMPARE(s.m.pt, kTokyo);
    QCOMPARE(s.m.pt_taken, std::int16_t(0));
    QCOMPARE(s.seen.shows, 0);
    QVERIFY(s.map->isVisible());
    QVERIFY(s.button("btndecide")->isEnabled());
    QCOMPARE(s.read_out(), QStringLiteral("南緯 0 0 1 東経 0 0 35"));

    // Picking again just north of the equator hands over without a question.
    QTest::mouseClick(s.button("btncancel"), Qt::LeftButton);
    s.press(kWorld, QPoint(397, 199));
    QTest::mouseClick(s.button("btndecide"), Qt::LeftButton);
    QCOMPARE(s.dialogs.calls.size(), size_t(1));
    QCOMPARE(s.m.pt, (Point{0, 26, 58, 0, 0, 35}));
    QCOMPARE(s.m.pt_taken, std::int16_t(1));
}

QTEST_MAIN(FrmjpmapTest)
#include "frmjpmap_test.moc"
