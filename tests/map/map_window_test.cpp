#include "map/map_window.h"
#include "map/map_canvas.h"
#include "support/fake_dialogs.h"
#include "support/repainted_region.h"
#include "support/window_view.h"
#include "resources/resource_paths.h"
#include "shared_state/shared_state.h"

#include <QtTest>
#include <QtWidgets>

using namespace orvine;
using orvine::test::View;
using namespace Qt::StringLiterals;

namespace {

constexpr MapKind JAPAN = MapKind::Japan;
constexpr MapKind WORLD = MapKind::World;
const Point TOKYO{35, 40, 10, 139, 45, 20};
const Point MEANWHILE{1, 2, 3, 4, 5, 6};

// The map with a cross at `at`: its whole row and column flipped, but not where they meet.
QImage with_cross(QImage image, QPoint at)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((x == at.x()) != (y == at.y()))
                image.setPixel(x, y, image.pixel(x, y) ^ (MapCanvas::cross_rgb & 0xffffffu));
    return image;
}

struct MainWindowStandIn : QMainWindow {
    const SharedState* state = nullptr;
    QList<SharedState> at_show;
    void showEvent(QShowEvent*) override { at_show << *state; }
};

} // namespace

// Left by a button, "Escape" or "" (the close box); `question`: about south or west under 1°.
struct Exit {
    QPoint at;
    const char* leave_by;
    bool entering_departure;
    bool answer;
    QString question;
    Point handed; // TOKYO: the saved copy is put back; MEANWHILE: nothing is written
    QString handed_name;
    bool point_handed_over, destination_handed_over;
};

class MapWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        state = SharedState();
        state.map_kind = WORLD;
        std::tie(state.transfer_point, state.transfer_name) = std::pair(TOKYO, u"東京"_s);
        dialogs.clear();
        main.hide();
        main.state = &state;
        main.at_show.clear();
        map = new MapWindow(state, dialogs, main);
    }
    void cleanup() { delete map.data(); }
    void marking_story()
    {
        using T = MapWindowTest;
        for (void (T::*checkpoint)() :
             {&T::the_arrows_move_a_cross_that_stays, &T::each_screen_pixel_shows_an_image_pixel,
              &T::the_mouse_and_space_mark_and_clear, &T::reopened_maps_start_plain})
            if ((this->*checkpoint)(); QTest::currentTestFailed())
                return;
    }
    // An arrow and the mark each make a new pointed place that takes the focus, named by position.
    void keys_are_announced()
    {
        for (const auto& [kind, right] : {std::pair(JAPAN, u"北緯36度8分5秒　東経134度19分0秒"_s),
                                          std::pair(WORLD, u"南緯0度0分1秒　東経0度27分40秒"_s)}) {
            main.hide(); // a window of its own for each map, opened from a hidden main window
            delete map.data();
            map = new MapWindow(state, dialogs, main);
            for (int round = 0; round < 2; ++round) {
                opened(kind);
                QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(picture());
                QTRY_VERIFY(picture()->hasFocus());
                QVERIFY(iface->state().focused && iface->childCount() == 0 && ring()
                        && !button("btndecide")->isEnabled());
                QTest::keyClick(picture(), Qt::Key_Right);
                QAccessibleInterface* place = iface->focusChild();
                QVERIFY(picture()->accessibleDescription() == right && place && place->state().focused
                        && !iface->state().focused);
                QCOMPARE(place->text(QAccessible::Name), right);
                QTest::keyClick(picture(), Qt::Key_Space);
                QVERIFY(iface->focusChild() != place && button("btndecide")->isEnabled());
                QCOMPARE(iface->focusChild()->text(QAccessible::Name), u"印を付けた地点　"_s + right);
                button("btnClose")->setFocus();
                QVERIFY(!ring() && !iface->focusChild());
                button("btnClose")->click();
            }
        }
    }
    void hand_over_data()
    {
        QTest::addColumn<Exit>("exit");
        const QString south = u"南緯0度0分1秒　→　北緯0度0分0秒"_s;
        const QString west = u"西経0度26分29秒　→　東経0度0分0秒"_s;
        const QString both = south + u"\r\n西経0度53分34秒　→　西経1度0分0秒"_s;
        const QString tokyo = u"東京"_s, unknown = u"不明"_s;
        QTest::newRow("決定 of a destination")
            << Exit{{200, 100}, "btndecide", false, true, {}, {44, 59, 15, -88, 54, 43}, unknown, true, true};
        QTest::newRow("the close box puts the saved copy back")
            << Exit{{200, 100}, "", true, true, {}, TOKYO, tokyo, false, false};
        QTest::newRow("so does Escape") << Exit{{200, 100}, "Escape", true, true, {}, TOKYO, tokyo, false, false};
        QTest::newRow("south by a second")
            << Exit{{397, 200}, "btndecide", true, true, south, {0, 0, 0, 0, 0, 35}, unknown, true, false};
        QTest::newRow("both; west to 1°")
            << Exit{{395, 200}, "btndecide", true, true, both, {0, 0, 0, -1}, unknown, true, false};
        QTest::newRow("west by 26', cancelled")
            << Exit{{396, 100}, "btndecide", true, false, west, MEANWHILE, u"途中"_s, false, false};
    }
    // Only the copy saved at the opening may come back, not what the transfer point holds meanwhile.
    void hand_over()
    {
        QFETCH(Exit, exit);
        state.entering_departure = exit.entering_departure;
        map->show();
        QVERIFY(QTest::qWaitForWindowActive(map.data()));
        press(exit.at);
        move(QPoint(10, 20)); // on the way to the button: the mark is what counts
        std::tie(state.transfer_point, state.transfer_name) = std::pair(MEANWHILE, u"途中"_s);
        dialogs.answers.assign(exit.answer ? 0 : 1, false); // with none queued, OK
        if (!*exit.leave_by)
            QVERIFY(map->close());
        else if (QByteArray(exit.leave_by) == "Escape")
            QTest::keyClick(picture(), Qt::Key_Escape);
        else
            click(exit.leave_by);

        const QString question = exit.question.isEmpty() ? u""_s : MapWindow::sub_degree_message(exit.question);
        QCOMPARE(dialogs.texts().join(""), question);
        QCOMPARE(main.at_show.size(), exit.answer ? 1 : 0);
        const SharedState handed = exit.answer ? main.at_show[0] : state;
        QCOMPARE(std::pair(handed.transfer_point, handed.transfer_name), std::pair(exit.handed, exit.handed_name));
        QCOMPARE(std::pair(handed.point_handed_over, handed.destination_handed_over),
                 std::pair(exit.point_handed_over, exit.destination_handed_over));
        QCOMPARE(!map || !map->isVisible(), exit.answer);
        if (!exit.answer) // back to the marked map
            QCOMPARE(shown(exit.at), wanted("cross", true, exit.at));
    }

private:
    MapCanvas* picture() const { return map->findChild<MapCanvas*>(state.map_kind == JAPAN ? "Picture1" : "Picture2"); }
    QPushButton* button(const char* name) const { return map->findChild<QPushButton*>(QString::fromLatin1(name)); }
    QString text(const char* name) const { return map->findChild<QLabel*>(QString::fromLatin1(name))->text(); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    bool ring() const // the highlight ring just left of the map
    {
        const QImage client = map->centralWidget()->grab().toImage();
        return client.pixelColor((picture()->geometry().topLeft() + QPoint(-1, 9)) * client.devicePixelRatio())
            == picture()->palette().color(QPalette::Highlight);
    }
    void press(QPoint at, Qt::MouseButton button = Qt::LeftButton) { QTest::mouseClick(picture(), button, {}, at); }
    // Sent directly: QTest can neither point between pixels nor move with a button held.
    void move(QPointF at, Qt::MouseButtons held = Qt::NoButton)
    {
        QMouseEvent e(QEvent::MouseMove, at, picture()->mapToGlobal(at), Qt::NoButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(picture(), &e);
    }
    View shown(QPoint cross_at) const
    {
        const QImage plain =
            QImage(state.map_kind == JAPAN ? JAPAN_MAP : WORLD_MAP).convertToFormat(QImage::Format_RGB32);
        QString map_image = picture()->image() == plain ? u"plain"_s : u"changed"_s;
        if (picture()->image() == with_cross(plain, cross_at))
            map_image = u"cross"_s;
        const bool marked = button("btndecide")->isEnabled() && button("btncancel")->isEnabled();
        const QString labels = u"%1%2度%3分%4秒　%5%6度%7分%8秒"_s.arg(text("Label8"), text("lblido"), text("lblihun"),
            text("lblibyou"), text("Label1"), text("lblkdo"), text("lblkhun"), text("lblkbyou"));
        return View{{"map", map_image}, {"marked", marked ? "yes" : "no"},
                    {"read-out", labels.contains(QRegularExpression(u"\\d"_s)) ? labels : u""_s},
                    {"description", picture()->accessibleDescription()}};
    }
    // The cross at `at` and the read-out of that pixel.
    View wanted(const char* image, bool marked, QPoint at) const
    {
        const ReadOut r = read_out(state.map_kind, at.x(), at.y());
        const QString position = QString::asprintf("%s%d度%d分%d秒　%s%d度%d分%d秒", r.latitude_label(),
            r.latitude.degrees, r.latitude.minutes, r.latitude.seconds, r.longitude_label(), r.longitude.degrees,
            r.longitude.minutes, r.longitude.seconds);
        return View{{"map", image}, {"marked", marked ? "yes" : "no"}, {"read-out", position},
                    {"description", position}};
    }

    void opened(MapKind kind)
    {
        state.map_kind = kind;
        map->show();
        QVERIFY(QTest::qWaitForWindowActive(map.data()));
        for (const MapCanvas* each : map->findChildren<MapCanvas*>())
            QCOMPARE(each->isVisible() && map->focusWidget() == each, each == picture());
        const QRect client = map->centralWidget()->rect(), map_rect = picture()->geometry();
        QVERIFY2(client.contains(map_rect) && client.contains(button("btnClose")->geometry())
                     && client.right() - map_rect.right() <= 8 && client.bottom() - map_rect.bottom() <= 8,
                 "the window is not close around its map");
        const QPoint middle(picture()->image().width() / 2, picture()->image().height() / 2);
        QCOMPARE(shown(middle), wanted("cross", false, middle));
    }
    // The cross goes when the map loses the focus, for without it the keys do not move it.
    void the_arrows_move_a_cross_that_stays()
    {
        opened(WORLD);
        move(QPoint(788, 398));
        const QRect row(0, 399, picture()->width(), 1), column(793, 0, 1, picture()->height());
        test::RepaintedRegion repainted(picture());
        QTest::keySequence(picture(), QKeySequence(u"Down, Shift+Right, Down"_s));
        QTest::qWait(MapCanvas::flash_ms + 30);
        QCOMPARE(shown({793, 399}), wanted("cross", false, {793, 399}));
        QVERIFY(repainted.covers(row) && repainted.covers(column));
        repainted.region = {};
        QTest::keyClick(picture(), Qt::Key_Tab);
        QVERIFY(!picture()->hasFocus());
        QCOMPARE(shown({793, 399}), wanted("plain", false, {793, 399}));
        QTRY_VERIFY(repainted.covers(row) && repainted.covers(column));
        picture()->setFocus();
        QTest::keyClick(picture(), Qt::Key_Return);
        QCOMPARE(shown({793, 399}), wanted("cross", true, {793, 399}));
    }
    // CTest runs this at 1.5× and 2× too: each screen pixel shows one of the image pixels it covers.
    void each_screen_pixel_shows_an_image_pixel()
    {
        const QImage image = picture()->image(), screen = picture()->grab().toImage();
        const qreal dpr = screen.devicePixelRatio();
        QCOMPARE(screen.size(), image.size() * dpr);
        for (int y = 0; y < screen.height(); ++y)
            for (int x = 0; x < screen.width(); ++x) {
                const int left = qFloor(x / dpr), right = qFloor((x + .99) / dpr);
                const int top = qFloor(y / dpr), bottom = qFloor((y + .99) / dpr);
                const QList covered{image.pixel(left, top), image.pixel(right, top), image.pixel(left, bottom),
                                    image.pixel(right, bottom)};
                if (!covered.contains(screen.pixel(x, y)))
                    QFAIL(qPrintable(u"screen pixel %1,%2 is blended"_s.arg(x).arg(y)));
            }
    }
    // The middle button marks where the flash stands, the right one clears, Space marks where the pointer was.
    void the_mouse_and_space_mark_and_clear()
    {
        click("btncancel");
        move(QPointF(397, 199.5));
        QCOMPARE(shown({397, 199}), wanted("cross", false, {397, 199}));
        move(QPoint(250, 250));
        press(QPoint(250, 250), Qt::MiddleButton);
        QCOMPARE(shown({250, 250}), wanted("cross", true, {250, 250}));
        press(QPoint(300, 300), Qt::RightButton);
        QCOMPARE(shown({250, 250}), wanted("plain", false, {250, 250}));
        QTest::keyClick(picture(), Qt::Key_Space);
        QCOMPARE(shown({300, 300}), wanted("cross", true, {300, 300}));
    }
    void reopened_maps_start_plain()
    {
        for (MapKind kind : {JAPAN, WORLD, JAPAN}) {
            click("btnClose");
            opened(kind);
            move(QPointF(-40, 600), Qt::RightButton);
            const QPoint edge(0, kind == JAPAN ? 499 : 399);
            QCOMPARE(shown(edge), wanted("cross", false, edge));
        }
    }

    SharedState state;
    FakeDialogs dialogs;
    MainWindowStandIn main;
    QPointer<MapWindow> map;
};

QTEST_MAIN(MapWindowTest)
#include "map_window_test.moc"
