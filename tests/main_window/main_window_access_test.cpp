// The main window as keyboard, screen-reader and careful mouse users meet it.
#include "controls/dms_bars.h"
#include "main_window/main_window.h"
#include "support/fake_dialogs.h"
#include "resources/window_builder.h"
#include "shared_state/shared_state.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

using namespace orvine;
using namespace Qt::StringLiterals;

namespace {

const Point TOKYO{35, 41, 22, 139, 41, 30};
const Point NEW_YORK{40, 42, 51, -74, 0, 21};

QString said(QWidget* w)
{
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description);
}

struct Run {
    QTemporaryDir dir;
    SharedState m;
    FakeDialogs dialogs;
    SilentSound sound;
    int ended = 0;
    std::unique_ptr<MainWindow> w;

    Run()
    {
        const QString tokyo = u"\"東京\",35,41,22,139,41,30\r\n"_s;
        for (const auto& [name, text] : {std::pair("vantorff.ini", "\"places.txt\"," + tokyo),
                                         std::pair("places.txt", tokyo + u"\"大阪\",34,41,38,135,30,4\r\n"_s)}) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(QStringEncoder("windows-31j").encode(text)) > 0);
        }
        m.files_folder = dir.path();
        w = std::make_unique<MainWindow>(m, dialogs, sound, [this] { ++ended; });
        w->start();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    template <class T>
    T* c(const char* name)
    {
        return control<T>(w.get(), name);
    }
    QScrollBar* bar(int i) { return c<QScrollBar>(DmsBars::NAMES[static_cast<std::size_t>(i)]); }
    QString focus() { return QApplication::focusWidget()->objectName(); }
    void click(const char* button) { QTest::mouseClick(c<QPushButton>(button), Qt::LeftButton); }
    void set_bars(const Point& p) // and the focus on 方位表示
    {
        const int v[] = {p.latitude.degrees,  p.latitude.minutes,  p.latitude.seconds,
                         p.longitude.degrees, p.longitude.minutes, p.longitude.seconds};
        for (int i = 0; i < 6; ++i)
            bar(i)->setValue(v[i]);
        c<QPushButton>("btn_cal")->setFocus();
    }
    // Another window hands a point over, or (not `taken`) is left without one.
    void hand_over(const Point& p, const QString& place, bool taken)
    {
        w->hide();
        (taken ? m.transfer_point : m.saved_point) = p;
        (taken ? m.transfer_name : m.saved_name) = place;
        m.point_handed_over = taken;
        m.destination_handed_over = taken && !m.entering_departure;
        w->show();
    }
};

} // namespace

class MainWindowAccessTest : public QObject {
    Q_OBJECT
private slots:
    void keys_never_end_the_program();
    void focused_bar_is_framed();
    void result_is_spoken_and_pointed_at();
    void stale_results_data();
    void stale_results();
    void hidden_window_takes_no_focus();
};

// Return and Space press whatever has the focus, and only 終了 ends the run. Key_F35 stands
// for New York put on the bars with the focus on 方位表示.
void MainWindowAccessTest::keys_never_end_the_program()
{
    const std::tuple<bool, QList<Qt::Key>> rows[] = {
        {false, {Qt::Key_Return, Qt::Key_Return}},
        {true, {Qt::Key_Return}}, // a click on 次へ first
        {false, {Qt::Key_Space, Qt::Key_F35, Qt::Key_Return, Qt::Key_Return, Qt::Key_Return, Qt::Key_Space}},
    };
    for (const auto& [click, keys] : rows) {
        Run run;
        run.c<QPushButton>("btn_next")->setFocus();
        if (click)
            run.click("btn_next");
        for (Qt::Key key : keys)
            key == Qt::Key_F35 ? run.set_bars(NEW_YORK) : QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(run.focus() + QString::number(run.ended), u"ido_do0"_s);
    }
}

// Tab through the six bars: the focused one alone is framed in the highlight colour.
void MainWindowAccessTest::focused_bar_is_framed()
{
    Run run;
    for (int i = 0; i < 6; ++i) {
        for (int k = 0; k < 6; ++k) {
            const QImage now = run.bar(k)->grab().toImage();
            QCOMPARE(now.pixelColor(0, now.height() / 2) == run.bar(k)->palette().color(QPalette::Highlight), k == i);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

// After 方位表示 and 帰路 the focus is on 戻る, which says the result; the figure's box is the
// figure's own, and every control is found at its own place.
void MainWindowAccessTest::result_is_spoken_and_pointed_at()
{
    Run run;
    run.click("btn_next");
    run.set_bars(NEW_YORK);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(run.focus() + said(QApplication::focusWidget()),
             u"btn_return方位　 25.1014 度    北北東（丑）、距離　 10842.64 Ｋｍ"_s);
    run.click("btn_kiro");
    QCOMPARE(run.focus() + said(QApplication::focusWidget()),
             u"btn_return方位　 332.962 度    北北西（亥）、距離　 10842.64 Ｋｍ"_s);

    QWidget* client = run.w->centralWidget();
    const QRect figure = QAccessible::queryAccessibleInterface(run.c<QWidget>("compass"))->rect();
    const QRect circle(client->mapToGlobal(QPoint(283, 150)), QSize(161, 161)); // radius 80 around 363, 230
    QVERIFY(figure.contains(circle) && figure.width() <= 2 * 94 + 4 && figure.height() <= 2 * 94 + 4);
    for (QWidget* control : client->findChildren<QWidget*>()) {
        if (!control->isVisible() || control->objectName().isEmpty() || control->objectName() == "compass")
            continue;
        const QPoint at = control->mapToGlobal(control->rect().center());
        QAccessibleInterface* found = QAccessible::queryAccessibleInterface(run.w.get());
        while (QAccessibleInterface* deeper = found->childAt(at.x(), at.y()))
            found = deeper;
        QCOMPARE(found->object(), control);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // 戻る: its tool tip again
    QCOMPARE(said(run.c<QWidget>("btn_return")), u"出発地点入力モードに戻る"_s);
}

void MainWindowAccessTest::stale_results_data()
{
    QTest::addColumn<QString>("story");
    QTest::addColumn<QString>("departure"); // splace afterwards
    QTest::addColumn<QString>("pair");      // the copied second line up to its colon
    const QString ny = u"東京 (35°41′22″N 139°41′30″E) → ニューヨーク (40°42′51″N 74°0′21″W)"_s;
    QTest::newRow("a result") << "" << u"東京"_s << ny;
    QTest::newRow("a refusal keeps the result and its pair") << "refuse" << u"東京"_s << ny;
    QTest::newRow("a cancelled excursion clears the figure too") << "cancel" << u"東京"_s << u"(nothing)"_s;
    QTest::newRow("the way back from a registered place")
        << "osaka" << u"大阪"_s << u"大阪 (34°41′38″N 135°30′4″E) → 東京 (35°41′22″N 139°41′30″E)"_s;
    QTest::newRow("the way back after moving off it")
        << "osaka moved" << u"不明"_s << u"不明 (34°41′38″N 135°30′5″E) → 東京 (35°41′22″N 139°41′30″E)"_s;
}

// What a result shows and copies after the ways it may go stale: the figure, its description
// and 戻る's agree with the result labels, and the copied second line has the labels' figures.
void MainWindowAccessTest::stale_results()
{
    QFETCH(QString, story);
    Run run;
    run.click("btn_next");
    const bool osaka = story.startsWith("osaka");
    run.hand_over(osaka ? Point{34, 41, 38, 135, 30, 4} : NEW_YORK, osaka ? u"大阪"_s : u"ニューヨーク"_s, true);
    run.click("btn_cal");
    if (story == "osaka moved")
        run.bar(5)->setValue(5);
    if (osaka)
        run.click("btn_kiro");
    if (story == "refuse") {
        run.set_bars(TOKYO);
        run.click("btn_cal");
        QCOMPARE(run.dialogs.texts(), QStringList{u"同一地点です。方位の計算はできません。"_s});
    } else if (story == "cancel") {
        run.hand_over(TOKYO, u"東京"_s, false);
    }
    QGuiApplication::clipboard()->setText(u"(nothing)"_s);
    QTest::keyClick(run.w.get(), Qt::Key_C, Qt::ControlModifier);
    const QStringList copied = QGuiApplication::clipboard()->text().split('\n');
    QTEST(run.c<QLabel>("splace")->text(), "departure");
    QTEST(copied.last().section(u": "_s, 0, 0), "pair");
    if (story.isEmpty())
        QCOMPARE(
            copied.last(),
            u"東京 (35°41′22″N 139°41′30″E) → ニューヨーク (40°42′51″N 74°0′21″W): 25.1014° 北北東（丑）, 10842.64 km"_s);

    const QString bearing = run.c<QLabel>("lb_cal")->text(), distance = run.c<QLabel>("lb_dis")->text();
    const bool shown = !bearing.isEmpty();
    QVERIFY(run.c<QWidget>("compass")->isVisible() == shown && run.c<QWidget>("Image1")->isVisible() != shown);
    const QString result = shown ? u"方位　"_s + bearing + u"、距離　"_s + distance : u"計算結果はありません"_s;
    QCOMPARE(said(run.c<QWidget>("compass")), result);
    QCOMPARE(said(run.c<QWidget>("btn_return")), shown ? result : u"出発地点入力モードに戻る"_s);
    // The copied line has the labels' own figures.
    if (shown)
        QCOMPARE(copied.last().section(u": "_s, 1).remove(QRegularExpression(u"[°,a-z ]"_s)),
                 bearing.simplified().remove(u"度"_s).remove(' ') + distance.simplified().section(' ', 0, 0));
}

// Opening the place list from the menu by the keyboard: no control of the hidden main window
// takes the focus on the way. A name too long for its label shows whole in the tool tip.
void MainWindowAccessTest::hidden_window_takes_no_focus()
{
    Run run;
    QStringList hidden_focus;
    const auto watch = connect(qApp, &QApplication::focusChanged, [&](QWidget*, QWidget* now) {
        if (now && !now->window()->isVisible())
            hidden_focus << now->objectName();
    });
    QTest::keyClick(run.w.get(), Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QTest::qWait(50); // the menu takes the activation, as it has by the time a user presses a key
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
    QTRY_VERIFY(QApplication::activeWindow() && QApplication::activeWindow() != run.w.get());
    QTest::qWait(50);
    disconnect(watch);
    QCOMPARE(hidden_focus, QStringList());

    const QString long_name = u"ランフェア・プルグウィンギル駅前"_s;
    auto* splace = run.c<QLabel>("splace");
    for (const QString& name : {long_name, u"東京"_s}) {
        run.hand_over(TOKYO, name, true);
        QVERIFY(splace->text() == name && splace->toolTip() == (name == long_name ? name : QString()));
    }
}

QTEST_MAIN(MainWindowAccessTest)
#include "main_window_access_test.moc"
