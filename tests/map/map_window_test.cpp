// The map window through real mouse events, keys and clicks: read-out, marking, hand-over.
#include "map/map_window.h"
#include "map/map_canvas.h"
#include "support/fake_dialogs.h"
#include "resources/resource_paths.h"
#include "shared_state/shared_state.h"

#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QtMath>

#include <optional>

using namespace orvine;
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

// A main window stand-in that notes SharedState as it is shown.
struct MainWindow : QMainWindow {
    const SharedState* m = nullptr;
    QList<SharedState> at_show;
    void showEvent(QShowEvent*) override { at_show << *m; }
};

} // namespace

// Marked at `at`, the window is left by a button, "Escape" or "" (the close box); `question`:
// the lines of the question about south or west under one degree, answered `answer`.
struct Exit {
    QPoint at;
    const char* leave_by;
    bool entering_departure;
    bool answer;
    QString question;
    Point handed;  // TOKYO: the backup is put back; MEANWHILE: nothing is written
    bool point_handed_over, destination_handed_over;
};
Q_DECLARE_METATYPE(Exit)

// Each test opens a map window from a main window stand-in.
class FrmjpmapTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m = SharedState();
        m.map_kind = WORLD;
        m.transfer_point = TOKYO;
        m.transfer_name = u"東京"_s;
        dialogs.clear();
        main.hide();
        main.m = &m;
        main.at_show.clear();
        map = new MapWindow(m, dialogs, main);
    }
    void cleanup() { delete map.data(); }
    void marking_story();
    void hand_over_data();
    void hand_over();

private:
    MapCanvas* shown() const { return map->findChild<MapCanvas*>(m.map_kind == JAPAN ? "Picture1" : "Picture2"); }
    QPushButton* button(const char* name) const { return map->findChild<QPushButton*>(QString::fromLatin1(name)); }
    QString text(const char* name) const { return map->findChild<QLabel*>(QString::fromLatin1(name))->text(); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    void press(QPoint at, Qt::MouseButton button = Qt::LeftButton) { QTest::mouseClick(shown(), button, {}, at); }
    // Sent directly: QTest can neither point between pixels nor move with a button held.
    void move(QPointF at, Qt::MouseButtons held = Qt::NoButton)
    {
        QMouseEvent e(QEvent::MouseMove, at, shown()->mapToGlobal(at), Qt::NoButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(shown(), &e);
    }
    // Empty if the window shows its map "plain" or with a "cross" at `read` (" marked" if 決定 and
    // 取消 are on), and if its read-out labels and the map's description for a screen reader
    // both give `read` (none: no figures); else the checkpoint and what the window shows.
    QString check(const char* checkpoint, const char* state, std::optional<QPoint> read) const
    {
        const QString labels = u"%1%2度%3分%4秒　%5%6度%7分%8秒"_s.arg(text("Label8"), text("lblido"), text("lblihun"),
            text("lblibyou"), text("Label1"), text("lblkdo"), text("lblkhun"), text("lblkbyou"));
        const QString reads = labels.contains(QRegularExpression(u"\\d"_s)) ? labels : u""_s;
        const QString description = shown()->accessibleDescription();
        const QPoint at = read.value_or(QPoint());
        const ReadOut r = read_out(m.map_kind, at.x(), at.y());
        const QString wanted = !read ? u""_s : QString::asprintf("%s%d度%d分%d秒　%s%d度%d分%d秒", r.latitude_label(),
            r.latitude.degrees, r.latitude.minutes, r.latitude.seconds, r.longitude_label(), r.longitude.degrees, r.longitude.minutes, r.longitude.seconds);
        const QImage plain = QImage(m.map_kind == JAPAN ? JAPAN_MAP : WORLD_MAP).convertToFormat(QImage::Format_RGB32);
        const QImage& now = shown()->image();
        const bool marked = button("btndecide")->isEnabled() && button("btncancel")->isEnabled();
        const bool crossed = read && now == with_cross(plain, at);
        const QString found = QString(now == plain ? "plain" : crossed ? "cross" : "changed") + (marked ? " marked" : "");
        return found == QLatin1String(state) && reads == wanted && description == wanted ? QString()
            : u"%1: %2, reads \"%3\" / \"%4\""_s.arg(QString::fromUtf8(checkpoint), found, reads, description);
    }

    SharedState m;
    FakeDialogs dialogs;
    MainWindow main;
    QPointer<MapWindow> map;
};

// Opened three times, on either map: each time the map alone and focused, in a window close
// around it, plain, with an empty read-out. On the way the keys, the pointer, the middle and
// right buttons and 取消 mark and clear.
void FrmjpmapTest::marking_story()
{
    const auto opened = [this](MapKind kind) {
        m.map_kind = kind;
        map->show();
        QVERIFY(QTest::qWaitForWindowActive(map.data()));
        for (const MapCanvas* picture : map->findChildren<MapCanvas*>())
            QCOMPARE(picture->isVisible() && map->focusWidget() == picture, picture == shown());
        const QRect client = map->centralWidget()->rect(), picture = shown()->geometry();
        QVERIFY2(client.contains(picture) && client.contains(button("btnClose")->geometry())
                     && client.right() - picture.right() <= 8 && client.bottom() - picture.bottom() <= 8,
                 "the window is not close around its map");
        QCOMPARE(check("opened", "plain", {}), QString());
    };
    opened(WORLD);
    // The arrows move a cross that stays, ten pixels with Shift, and stop at the map's edge.
    move(QPoint(788, 398));
    QTest::keySequence(shown(), QKeySequence(u"Down, Shift+Right, Down"_s));
    QTest::qWait(MapCanvas::flash_ms + 30);
    QCOMPARE(check("the arrows move a cross that stays", "cross", QPoint(793, 399)), QString());
    QTest::keyClick(shown(), Qt::Key_Return);
    QCOMPARE(check("Return marks there", "cross marked", QPoint(793, 399)), QString());
    // CTest runs this at 1.5× and 2× too: each screen pixel shows one of the image pixels it covers.
    const QImage image = shown()->image(), screen = shown()->grab().toImage();
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

    // Once 取消 has cleared the mark, the pointer's cross flashes on the pixel whose square
    // holds the pointer.
    click("btncancel");
    move(QPointF(397, 199.5));
    QCOMPARE(check("the pointer's cross flashes", "cross", QPoint(397, 199)), QString());
    move(QPoint(250, 250));
    press(QPoint(250, 250), Qt::MiddleButton);
    QCOMPARE(check("the middle button marks where the flash stands", "cross marked", QPoint(250, 250)), QString());
    press(QPoint(300, 300), Qt::RightButton);
    QCOMPARE(check("the right button clears the mark", "plain", QPoint(250, 250)), QString());
    QTest::keyClick(shown(), Qt::Key_Space);
    QCOMPARE(check("Space marks where the pointer was last", "cross marked", QPoint(300, 300)), QString());

    // Closed while marked, then with a flash showing; outside, with a button held, the edge is read.
    for (MapKind kind : {JAPAN, WORLD, JAPAN}) {
        click("btnClose");
        opened(kind);
        move(QPointF(-40, 600), Qt::RightButton);
        QCOMPARE(check("outside the map", "cross", QPoint(0, kind == JAPAN ? 499 : 399)), QString());
    }
}

void FrmjpmapTest::hand_over_data()
{
    QTest::addColumn<Exit>("exit");
    const QString south = u"南緯0度0分1秒　→　北緯0度0分0秒"_s;
    const QString west = u"西経0度26分29秒　→　東経0度0分0秒"_s;
    const QString both = south + u"\r\n西経0度53分34秒　→　西経1度0分0秒"_s;
    QTest::newRow("決定 of a destination") << Exit{{200, 100}, "btndecide", false, true, {}, {44, 59, 15, -88, 54, 43}, true, true};
    QTest::newRow("the close box puts the backup back") << Exit{{200, 100}, "", true, true, {}, TOKYO, false, false};
    QTest::newRow("so does Escape") << Exit{{200, 100}, "Escape", true, true, {}, TOKYO, false, false};
    QTest::newRow("south by a second") << Exit{{397, 200}, "btndecide", true, true, south, {0, 0, 0, 0, 0, 35}, true, false};
    QTest::newRow("both; west to 1°") << Exit{{395, 200}, "btndecide", true, true, both, {0, 0, 0, -1}, true, false};
    QTest::newRow("west by 26', cancelled") << Exit{{396, 100}, "btndecide", true, false, west, MEANWHILE, false, false};
}

// Everything is written before the main window is shown, and the map window goes. Only the
// backup taken at the opening may come back, not what the transfer point holds meanwhile.
void FrmjpmapTest::hand_over()
{
    QFETCH(Exit, exit);
    m.entering_departure = exit.entering_departure;
    map->show();
    QVERIFY(QTest::qWaitForWindowActive(map.data()));
    press(exit.at);
    move(QPoint(10, 20));  // on the way to the button: the mark is what counts
    m.transfer_point = MEANWHILE;
    m.transfer_name = u"途中"_s;
    dialogs.answers.assign(exit.answer ? 0 : 1, false);  // with none queued, OK
    if (!*exit.leave_by)
        QVERIFY(map->close());
    else if (QByteArray(exit.leave_by) == "Escape")
        QTest::keyClick(shown(), Qt::Key_Escape);
    else
        click(exit.leave_by);

    QCOMPARE(dialogs.texts().join(""), exit.question.isEmpty() ? u""_s : MapWindow::sub_degree_message(exit.question));
    QCOMPARE(main.at_show.size(), exit.answer ? 1 : 0);
    const SharedState handed = exit.answer ? main.at_show[0] : m;
    QCOMPARE(handed.transfer_point, exit.handed);
    const char* name = exit.handed == TOKYO ? "東京" : exit.handed == MEANWHILE ? "途中" : "不明";
    QCOMPARE(handed.transfer_name, QString::fromUtf8(name));
    QCOMPARE(handed.point_handed_over, exit.point_handed_over);
    QCOMPARE(handed.destination_handed_over, exit.destination_handed_over);
    QCOMPARE(!map || !map->isVisible(), exit.answer);
    if (!exit.answer)
        QCOMPARE(check("back to the marked map", "cross marked", exit.at), QString());
}

QTEST_MAIN(FrmjpmapTest)
#include "map_window_test.moc"
