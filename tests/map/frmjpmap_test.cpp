// The map window through real mouse events, keys and clicks: read-out, marking, hand-over.
#include "map/frmjpmap.h"
#include "map/map_canvas.h"
#include "platform/fake_dialogs.h"
#include "shared_state/module1.h"

#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QtMath>

using namespace orvine;

namespace {

constexpr std::int16_t kJapan = 0;
constexpr std::int16_t kWorld = 1;
const Point kTokyo{35, 40, 10, 139, 45, 20};
constexpr QRgb kFlip = MapCanvas::cross_rgb & 0xffffffu;

// The read-out labels of a pixel, "北緯 49 0 6 東経 121 23 54", or another form of them.
QString reading(std::int16_t kind, QPoint at, const char* form = "%1 %2 %3 %4 %5 %6 %7 %8")
{
    const ReadOut r = read_out(map_kind_from(kind), at.x(), at.y());
    return QString::fromUtf8(form).arg(QString::fromUtf8(r.ido_label())).arg(r.ido_do)
        .arg(r.ido_hun).arg(r.ido_byo).arg(QString::fromUtf8(r.kei_label())).arg(r.kei_do).arg(r.kei_hun)
        .arg(r.kei_byo);
}

// A main window stand-in that notes Module1 as it is shown, and a map window opened from it.
struct Session : QObject {
    Session()
    {
        m.pt = kTokyo;
        m.pt_place = QStringLiteral("東京");
        m.start_mode = 1;
        main.installEventFilter(this);
        map = new frmjpmap(m, dialogs, main);
    }
    ~Session() override { delete map.data(); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show)
            at_show << m;
        return false;
    }

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
    MapCanvas* shown() const { return picture(m.map_kind); }
    QString text(const char* name) const { return map->findChild<QLabel*>(QString::fromLatin1(name))->text(); }
    QPushButton* button(const char* name) const { return map->findChild<QPushButton*>(QString::fromLatin1(name)); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    bool marked() const { return button("btndecide")->isEnabled() && button("btncancel")->isEnabled(); }
    QString read_out() const
    {
        return QStringList{text("Label8"), text("lblido"), text("lblihun"), text("lblibyou"), text("Label1"),
                           text("lblkdo"), text("lblkhun"), text("lblkbyou")}.join(QLatin1Char(' '));
    }

    // Arrows as "LURD", small with Shift; whether their cross outlasts a flash; then `mark`.
    bool keys(const QString& arrows, Qt::Key mark)
    {
        for (QChar key : arrows)
            QTest::keyClick(shown(), Qt::Key(Qt::Key_Left + QStringLiteral("LURD").indexOf(key.toUpper())),
                            key.isLower() ? Qt::ShiftModifier : Qt::NoModifier);
        QTest::qWait(MapCanvas::flash_ms + 30);
        const bool held = shown()->flash_shown();
        QTest::keyClick(shown(), mark);
        return held;
    }
    // Sent directly rather than through QTest, which takes (0, 0) for "the centre".
    void send(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent e(type, at, shown()->mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(shown(), &e);
    }
    void move(QPointF at, Qt::MouseButtons held = Qt::NoButton) { send(QEvent::MouseMove, at, Qt::NoButton, held); }
    void press(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        send(QEvent::MouseButtonPress, at, button, button);
        send(QEvent::MouseButtonRelease, at, button, Qt::NoButton);
    }

    Module1 m;
    FakeDialogs dialogs;
    QMainWindow main;
    QList<Module1> at_show;
    QPointer<frmjpmap> map;
};

} // namespace

// Marked at `at`, the window is left by a button, a key or "" (the close box); `question`:
// the lines of the question about south or west under one degree, answered `answer`.
struct Exit {
    QPoint at;
    const char* leave_by;
    int start_mode, taken_before;
    bool answer;
    QString question;
    Point pt;  // kTokyo: the backup is put back
    int pt_taken, dest_taken;
};
Q_DECLARE_METATYPE(Exit)

class FrmjpmapTest : public QObject {
    Q_OBJECT

private slots:
    void set_up_and_read_out_per_map_kind();
    void marking_story();
    void cross_and_screen_pixels();
    void hand_over_data();
    void hand_over();
};

// One window shows either map, centred and close around it. Outside the map (a button held)
// the nearest edge is read, from a fractional position the pixel whose square holds it.
void FrmjpmapTest::set_up_and_read_out_per_map_kind()
{
    Session s;
    const struct {
        std::int16_t kind;
        const char* caption;
        std::vector<std::pair<QPointF, QPoint>> read;
    } steps[] = {
        {kWorld, "世界地図", {{{200, 100}, {200, 100}}, {{900, -3}, {793, 0}}, {{793, 399}, {793, 399}},
                            {{-40, 450}, {0, 399}}}},
        {kJapan, "日本地図", {{{0, 0}, {0, 0}}, {{600, -1}, {499, 0}}, {{10.7, 20.6}, {10, 20}}, {{499, 499}, {499, 499}}}},
        {kWorld, "世界地図", {{{397, 199.5}, {397, 199}}}},
    };
    for (const auto& step : steps) {
        s.open(step.kind);
        QVERIFY(QTest::qWaitForWindowExposed(s.map.data()));
        QCOMPARE(s.map->windowTitle(), QString::fromUtf8(step.caption));
        QVERIFY(s.picture(step.kind)->isVisible() && !s.picture(step.kind == kJapan ? kWorld : kJapan)->isVisible());
        const QRect client = s.map->centralWidget()->rect(), picture = s.picture(step.kind)->geometry();
        QVERIFY2(client.contains(picture) && client.contains(s.button("btnClose")->geometry())
                     && client.right() - picture.right() <= 8 && client.bottom() - picture.bottom() <= 8,
                 "the window does not hug its map");
        // Before the first showing the frame is unknown: the placement may be off by half of it.
        const QRect frame = s.map->frameGeometry();
        const QPoint off_centre = frame.center() - s.map->screen()->geometry().center();
        const int slack = (frame.width() - s.map->width() + frame.height() - s.map->height()) / 2 + 2;
        QVERIFY2(off_centre.manhattanLength() <= slack, "window not centred on the screen");
        for (const auto& [at, read] : step.read) {
            s.move(at, Qt::RightButton);
            QCOMPARE(s.read_out(), reading(step.kind, read));
        }
        s.click("btnClose");
    }
    // The program ending closes the hidden window: that must not bring the main window back.
    s.main.hide();
    s.map->close();
    QCOMPARE(s.at_show.size(), 3);
    QVERIFY(!s.main.isVisible());
}

void FrmjpmapTest::marking_story()
{
    Session s;
    s.open(kJapan);
    MapCanvas* japan = s.shown();
    QSignalSpy pressed(japan, &MapCanvas::mouse_pressed);
    const QImage plain = japan->image().copy();
    QCOMPARE(plain, QImage(QStringLiteral(":/images/japan_map.png")).convertToFormat(QImage::Format_RGB32));

    // The arrows move a cross from the middle that stays; Space marks there.
    QVERIFY(QTest::qWaitForWindowActive(s.map.data()) && s.map->focusWidget() == japan);
    QVERIFY(s.keys("RdlU", Qt::Key_Space) && s.marked());
    QCOMPARE(s.read_out(), reading(kJapan, {241, 259}));
    QCOMPARE(japan->accessibleDescription(), reading(kJapan, {241, 259}, "%1%2度%3分%4秒　%5%6度%7分%8秒"));
    QCOMPARE(japan->image().pixel(241, 0), plain.pixel(241, 0) ^ kFlip);
    s.click("btncancel");

    // The pointer's cross flashes and goes, leaving every pixel as it was.
    s.move(QPoint(300, 150));
    QVERIFY(japan->flash_shown());
    QCOMPARE(japan->image().pixel(300, 10), plain.pixel(300, 10) ^ kFlip);
    for (int i = 0; i < 50; ++i)
        s.move(QPoint(300 + i, 150 + i % 7));
    QTRY_VERIFY(!japan->flash_shown());
    QCOMPARE(japan->image(), plain);

    // The right button with nothing marked does nothing, nor does another; a press where the
    // flash stands marks there.
    s.press(QPoint(100, 100), Qt::RightButton);
    s.press(QPoint(100, 100), Qt::BackButton);
    QVERIFY(!s.marked());
    s.move(QPoint(250, 250));
    s.press(QPoint(250, 250));
    QVERIFY(s.marked());
    const QImage marked = japan->image().copy();
    QCOMPARE(marked.pixel(250, 3), plain.pixel(250, 3) ^ kFlip);

    // Moves and further presses change neither the read-out nor the map.
    s.move(QPoint(10, 20));
    s.press(QPoint(400, 400));
    s.press(QPoint(400, 400), Qt::MiddleButton);
    QTest::qWait(MapCanvas::flash_ms + 30);
    QCOMPARE(s.read_out(), reading(kJapan, {250, 250}));
    QCOMPARE(japan->image(), marked);

    // The right button and 取消 clear the mark; the middle button marks as the left one does.
    s.press(QPoint(300, 300), Qt::RightButton);
    QVERIFY(!s.marked());
    QCOMPARE(japan->image(), plain);
    s.press(QPoint(0, 0), Qt::MiddleButton);
    QVERIFY(s.marked());
    QCOMPARE(s.read_out(), reading(kJapan, {0, 0}));
    s.click("btncancel");
    QVERIFY(!s.marked());
    QCOMPARE(japan->image(), plain);
    QList<int> codes;
    for (const QList<QVariant>& p : pressed)
        codes << p.at(0).toInt();
    QCOMPARE(codes, (QList<int>{1, 2, 1, 1, 4, 2, 4}));

    // Closed while marked, and then with a flash showing: each opening starts plain and
    // empty, takes a new backup, and its own flashes leave nothing behind.
    s.press(QPoint(100, 100));
    for (const QPoint& at : {QPoint(0, 0), QPoint(480, 20)}) {
        s.click("btnClose");
        s.m.pt = Point{-12, 30, 0, -45, 15, 5};
        s.m.pt_place = QStringLiteral("どこか");
        s.open(kJapan);
        QCOMPARE(s.m.bk, (Point{-12, 30, 0, -45, 15, 5}));
        QCOMPARE(s.read_out(), QStringLiteral("北緯    東経   "));
        QVERIFY(!s.marked());
        QCOMPARE(japan->image(), plain);
        s.move(at);
        QCOMPARE(s.read_out(), reading(kJapan, at));
    }
    QTRY_VERIFY(!japan->flash_shown());
    QCOMPARE(japan->image(), plain);
}

// Keys held at the map's edge mark its last pixel (Return marks as Space does): the whole row
// and column flip (the lines run past the image) but not where they meet. CTest runs this at
// 1.5× and 2× too: every screen pixel shows one of the image pixels it covers, unblended,
// marked and after the mark is gone.
void FrmjpmapTest::cross_and_screen_pixels()
{
    Session s;
    s.open(kWorld);
    MapCanvas* map = s.shown();
    const QImage plain = map->image().copy();
    QVERIFY(QTest::qWaitForWindowActive(s.map.data()));
    s.move(QPoint(788, 398));
    QVERIFY(s.keys("DrD", Qt::Key_Return) && s.marked());
    QCOMPARE(s.read_out(), reading(kWorld, {793, 399}));
    QCOMPARE(map->accessibleDescription(), reading(kWorld, {793, 399}, "%1%2度%3分%4秒　%5%6度%7分%8秒"));
    int wrong = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 794; ++x)
            wrong += map->image().pixel(x, y) != (plain.pixel(x, y) ^ (((x == 793) != (y == 399)) ? kFlip : 0));
    QCOMPARE(wrong, 0);
    for (int pass = 0; pass < 2; ++pass) {
        const QImage shown = map->image().copy();
        const QImage screen = map->grab().toImage();
        const qreal dpr = screen.devicePixelRatio();
        QCOMPARE(screen.size(), shown.size() * dpr);
        auto covered = [dpr](int from) { return std::pair{qFloor(from / dpr), qCeil((from + 1) / dpr) - 1}; };
        for (int y = 0; y < screen.height(); ++y) {
            for (int x = 0; x < screen.width(); ++x) {
                const auto [left, right] = covered(x);
                const auto [top, bottom] = covered(y);
                const QRgb px = screen.pixel(x, y);
                if (px != shown.pixel(left, top) && px != shown.pixel(right, top)
                    && px != shown.pixel(left, bottom) && px != shown.pixel(right, bottom))
                    QFAIL(qPrintable(QStringLiteral("screen pixel %1,%2").arg(x).arg(y)));
            }
        }
        s.click("btncancel");
        QCOMPARE(map->image(), plain);
    }
}

void FrmjpmapTest::hand_over_data()
{
    QTest::addColumn<Exit>("exit");
    const QPoint at(200, 100);
    const Point picked{44, 59, 15, -88, 54, 43};
    const QString south = QStringLiteral("南緯0度0分1秒　→　北緯0度0分0秒");
    const QString west = QStringLiteral("西経0度26分29秒　→　東経0度0分0秒");
    QTest::newRow("決定 in destination entry") << Exit{at, "btndecide", 0, 0, true, {}, picked, 1, 1};
    QTest::newRow("中止 restores the backup") << Exit{at, "btnClose", 1, 1, true, {}, kTokyo, 1, 0};
    QTest::newRow("close box restores the backup") << Exit{at, "", 1, 0, true, {}, kTokyo, 0, 0};
    QTest::newRow("Escape does what 中止 does") << Exit{at, "Escape", 1, 0, true, {}, kTokyo, 0, 0};
    QTest::newRow("Return on 決定, north by 26 minutes: no question")
        << Exit{{397, 199}, "Return", 0, 0, true, {}, {0, 26, 58, 0, 0, 35}, 1, 1};
    QTest::newRow("south by a second") << Exit{{397, 200}, "btndecide", 1, 0, true, south, {0, 0, 0, 0, 0, 35}, 1, 0};
    QTest::newRow("west by 26 minutes, nearer to the meridian")
        << Exit{{396, 100}, "btndecide", 1, 0, true, west, {44, 59, 15, 0, 0, 0}, 1, 0};
    QTest::newRow("west by 53 minutes, nearer to one degree")
        << Exit{{395, 100}, "btndecide", 1, 0, true, QStringLiteral("西経0度53分34秒　→　西経1度0分0秒"),
                {44, 59, 15, -1, 0, 0}, 1, 0};
    QTest::newRow("both at once")
        << Exit{{396, 200}, "btndecide", 1, 0, true, south + "\r\n" + west, {0, 0, 0, 0, 0, 0}, 1, 0};
    QTest::newRow("question cancelled: back to the marked map")
        << Exit{{397, 200}, "btndecide", 1, 0, false, south, kTokyo, 0, 0};
}

// Everything is written before the main window is shown, and the map window goes.
void FrmjpmapTest::hand_over()
{
    QFETCH(Exit, exit);
    Session s;
    s.m.start_mode = static_cast<std::int16_t>(exit.start_mode);
    s.m.pt_taken = static_cast<std::int16_t>(exit.taken_before);
    s.open(kWorld);
    s.press(exit.at);
    // Only the backup taken at activation may come back, not what the transfer point holds now.
    const Point meanwhile{1, 2, 3, 4, 5, 6};
    s.m.pt = meanwhile;
    s.m.pt_place = QStringLiteral("途中");
    s.dialogs.answers.assign(exit.answer ? 0 : 1, false);  // with none queued, OK
    const QString leave_by = QString::fromLatin1(exit.leave_by);
    if (leave_by.isEmpty()) {
        QVERIFY(s.map->close());
    } else if (leave_by == "Escape") {
        QVERIFY(QTest::qWaitForWindowActive(s.map.data()));
        QTest::keyClick(s.shown(), Qt::Key_Escape);
    } else if (leave_by == "Return") {
        s.button("btndecide")->setFocus();
        QTest::keyClick(s.button("btndecide"), Qt::Key_Return);
    } else {
        s.click(exit.leave_by);
    }

    QCOMPARE(s.dialogs.texts(), exit.question.isEmpty() ? QStringList()
                                                         : QStringList{frmjpmap::sub_degree_message(exit.question)});
    QVERIFY(exit.question.isEmpty() || s.dialogs.calls[0].kind == DialogCall::Kind::Confirm);
    if (!exit.answer) {
        QCOMPARE(s.m.pt, meanwhile);
        QVERIFY(s.at_show.isEmpty());
        QVERIFY(s.map->isVisible() && s.marked());
        QCOMPARE(s.read_out(), reading(kWorld, exit.at));
        return;
    }
    const bool decided = exit.pt != kTokyo;
    QCOMPARE(s.at_show.size(), 1);
    for (const Module1* m : {&s.m, &s.at_show[0]}) {
        QCOMPARE(m->pt, exit.pt);
        QCOMPARE(m->pt_place, decided ? QStringLiteral("不明") : QStringLiteral("東京"));
        QCOMPARE(m->pt_taken, std::int16_t(exit.pt_taken));
        QCOMPARE(m->dest_taken, std::int16_t(exit.dest_taken));
    }
    QVERIFY(s.main.isVisible());
    if (leave_by.isEmpty())
        QTRY_VERIFY(s.map.isNull());
    else
        QVERIFY(!s.map->isVisible());
}

QTEST_MAIN(FrmjpmapTest)
#include "frmjpmap_test.moc"
