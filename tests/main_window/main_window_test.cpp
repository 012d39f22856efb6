// The main window's stories on real files in a temporary program directory.
#include "controls/dms_bars.h"
#include "main_window/compass_canvas.h"
#include "main_window/main_window.h"
#include "map/direction_map_window.h"
#include "support/fake_dialogs.h"
#include "support/test_files.h"
#include "support/window_view.h"
#include "resources/window_builder.h"
#include "shared_state/shared_state.h"

#include <QtTest>
#include <QtWidgets>

using namespace orvine;
using orvine::test::read_bytes;
using orvine::test::View;
using namespace Qt::StringLiterals;

namespace {

const QString PLACES = u"\"東京\",35,41,22,139,41,30\r\n\"大阪\",34,41,38,135,30,4\r\n"
                       u"\"ニューヨーク\",40,42,51,-74,0,21\r\n"_s;
const Point TOKYO{35, 41, 22, 139, 41, 30};
const Point NEW_YORK{40, 42, 51, -74, 0, 21};
const QString TOKYO_BARS = u"35,41,22,139,41,30"_s, NEW_YORK_BARS = u"40,42,51,-74,0,21"_s;
const QString AT_TOKYO = u"緯度：  35度41分22秒 経度：  139度41分30秒"_s;
const QString AT_NEW_YORK = u"緯度：  40度42分51秒 経度：  -74度0分21秒"_s;
const QString NO_POINT = u" 緯度： 経度："_s; // an empty summary: no name, no figures
const QString NO_RESULT = u" "_s;             // no bearing, no distance
const QString NNE_RESULT = u" 25.1014 度    北北東（丑）  10842.64 Ｋｍ"_s;
const QColor FILL(128, 128, 255);
const QPoint CENTRE(363, 230); // the compass figure's centre on the client area, where Run::pixel counts from

QByteArray cp932(const QString& text) { return QStringEncoder("windows-31j").encode(text); }

QWidget* shown_window(const char* name)
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String(name) && top->isVisible())
            return top;
    qFatal("no window %s is shown", name);
}

QString said(QWidget* w)
{
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description);
}

void copy_by_menu(QLabel* result)
{
    QTimer::singleShot(0, [] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            menu->actions().first()->trigger();
            menu->close();
        }
    });
    emit result->customContextMenuRequested(QPoint(2, 2));
}

View entering_departure(const QString& bars, const QString& departure)
{
    return View{{"bars", bars}, {"departure", departure}, {"destination", NO_POINT}, {"result", NO_RESULT},
                {"frame", u"出発地点"_s}, {"enabled", "btn_next mnusyoki Frame1"}, {"focus", "ido_do"},
                {"picture", "globe"}, {"flags", "entering_departure"}};
}

// One started run of the program; `want` is what the window should show by now.
struct Run {
    QTemporaryDir dir;
    SharedState state;
    FakeDialogs dialogs;
    SilentSound sound;
    int ended = 0;
    std::unique_ptr<MainWindow> window;
    View want;

    explicit Run(std::initializer_list<std::pair<const char*, QString>> files = {
                     {"vantorff.ini", u"\"places.txt\",\"東京\",35,41,22,139,41,30\r\n"_s}, {"places.txt", PLACES}})
    {
        for (const auto& [name, text] : files)
            write(name, text);
        state.files_folder = dir.path();
        window = std::make_unique<MainWindow>(state, dialogs, sound, [this] { ++ended; });
        window->start();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void write(const char* name, const QString& text) { QVERIFY(test::write_file(dir.filePath(name), cp932(text))); }
    template <class T>
    T* find(const char* name) { return control<T>(window.get(), name); }
    QString text(const QString& label) { return find<QLabel>(qPrintable(label))->text(); }
    DmsBars& bars() { return *window->findChild<DmsBars*>(); }
    QScrollBar* bar(int i) { return bars().bar(i); }
    void set_bars(const Point& p) { bars().set(p); }
    void aim(const Point& p) { set_bars(p); find<QPushButton>("btn_cal")->setFocus(); }
    void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    void trigger(const char* item) { find<QAction>(item)->trigger(); }
    View shown()
    {
        QStringList on_bars, enabled, flags;
        for (int i = 0; i < DmsBars::COUNT; ++i) {
            const QString value = QString::number(bar(i)->value()), echo = bars().label(i)->text();
            on_bars << (echo == value ? value : value + '/' + echo); // the echo only where it differs
        }
        for (const char* name : {"btn_next", "btn_return", "btn_cal", "btn_kiro", "mnusyoki", "Frame1"})
            if (window->findChild<QObject*>(name)->property("enabled").toBool())
                enabled << name;
        for (const auto& [name, set] : {std::pair("entering_departure", state.entering_departure),
                                        {"point_handed_over", state.point_handed_over},
                                        {"destination_handed_over", state.destination_handed_over},
                                        {"result_shown", state.result_shown}})
            if (set)
                flags << name;
        const bool figure = find<CompassCanvas>("compass")->figure().has_value();
        return View{{"bars", on_bars.join(',')},
                    {"departure", text("splace") + ' ' + text("lbido1") + ' ' + text("lbkei1")},
                    {"destination", text("mplace") + ' ' + text("lbido2") + ' ' + text("lbkei2")},
                    {"result", text("lb_cal") + ' ' + text("lb_dis")},
                    {"frame", find<QGroupBox>("Frame1")->title()},
                    {"enabled", enabled.join(' ')},
                    {"focus", window->focusWidget() ? window->focusWidget()->objectName() : u"-"_s},
                    {"picture", QString(figure ? "figure" : "") + (find<QLabel>("Image1")->isVisible() ? "globe" : "")},
                    {"flags", flags.join(' ')}};
    }
    QColor pixel(QPoint at) { return window->centralWidget()->grab().toImage().pixelColor(CENTRE + at); }
    // Another window hands back: the point goes to the transfer point if handed over, else the saved copy.
    void hand_over(const Point& p, const QString& name, bool point_handed_over, bool destination_handed_over = false)
    {
        window->hide();
        (point_handed_over ? state.transfer_point : state.saved_point) = p;
        (point_handed_over ? state.transfer_name : state.saved_name) = name;
        state.point_handed_over = point_handed_over;
        state.destination_handed_over = destination_handed_over;
        window->show();
    }
};

void run_story(Run& run, std::initializer_list<void (*)(Run&)> checkpoints)
{
    for (const auto checkpoint : checkpoints)
        if (checkpoint(run); QTest::currentTestFailed())
            return;
}

// Without a result there is nothing to copy, and Escape ends nothing.
void starts_on_the_start_point(Run& run)
{
    QCOMPARE(run.shown(), run.want = entering_departure(TOKYO_BARS, u"東京 "_s + AT_TOKYO));
    auto* compass = run.find<QWidget>("compass");
    QCOMPARE(compass->accessibleDescription(), u"計算結果はありません"_s);
    QCOMPARE(QAccessible::queryAccessibleInterface(compass)->role(), QAccessible::Graphic);
    QGuiApplication::clipboard()->setText("kept");
    QTest::keyClick(run.window.get(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(run.window.get(), Qt::Key_Escape);
    QVERIFY(QGuiApplication::clipboard()->text() == "kept" && run.window->isVisible() && run.ended == 0);
}

// 次へ, here by the keyboard, then 方位表示: the result and its figure.
void next_then_compute(Run& run)
{
    run.find<QPushButton>("btn_next")->setFocus();
    QTest::keyClick(run.window->focusWidget(), Qt::Key_Return);
    QCOMPARE(run.shown(), run.want.set({{"frame", u"目的地点"_s}, {"enabled", "btn_return btn_cal Frame1"},
                                        {"focus", "ido_do"}, {"flags", ""}}));
    run.set_bars(NEW_YORK);
    run.click("btn_cal");
    QCOMPARE(run.shown(), run.want.set({{"bars", NEW_YORK_BARS}, {"destination", u"不明 "_s + AT_NEW_YORK},
                                        {"result", NNE_RESULT}, {"enabled", "btn_return btn_cal btn_kiro Frame1"},
                                        {"focus", "btn_return"}, {"picture", "figure"}, {"flags", "result_shown"}}));
    // The open sector and the arrow (its head 0.85° either side) point NNE, mirrored neither way.
    QVERIFY(run.pixel({19, -46}) != FILL && run.pixel({-19, -46}) == FILL && run.pixel({19, 46}) == FILL);
    // The arrow's tip; the circle's edge, one pixel wide and smoothed: dark at (45, -66), half inked beside it.
    QVERIFY(run.pixel({39, -84}).lightness() < 64 && run.pixel({45, -66}).lightness() < 64);
    QVERIFY(qAbs(run.pixel({46, -66}).lightness() - 128) < 64);
    const CompassFigure arrow = *run.find<CompassCanvas>("compass")->figure();
    QVERIFY(arrow.tip == (TwipsPoint{6044, 2182}) && arrow.base1 == (TwipsPoint{5976, 2283})
            && arrow.base2 == (TwipsPoint{6010, 2299}));
}

// By Ctrl+C or the results' menu: the window's line first, then the same result in plain text.
void the_result_is_copied_as_one_line(Run& run)
{
    const QString copy = u"方位　 25.1014 度    北北東（丑）\t距離　 10842.64 Ｋｍ\n"
                         u"東京 (35°41′22″N 139°41′30″E) → 不明 (40°42′51″N 74°0′21″W): 25.1014° 北北東（丑）, 10842.64 km"_s;
    QTest::keyClick(run.window.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), copy);
    QGuiApplication::clipboard()->clear();
    copy_by_menu(run.find<QLabel>("lb_dis"));
    QCOMPARE(QGuiApplication::clipboard()->text(), copy);
}

// A return trip departs from the bars as they are now; refused destinations keep the result.
void return_trip_then_refusals(Run& run)
{
    run.bar(5)->setValue(22);
    run.click("btn_kiro");
    const QString west = u"不明 緯度：  40度42分51秒 経度：  -74度0分22秒"_s;
    QCOMPARE(run.shown(), run.want.set({{"bars", TOKYO_BARS}, {"departure", west}, {"destination", u"東京 "_s + AT_TOKYO},
                                        {"result", u" 332.962 度    北北西（亥）  10842.63 Ｋｍ"_s}}));
    for (const auto& [point, bars] : {std::pair(Point{40, 42, 51, -74, 0, 22}, u"40,42,51,-74,0,22"_s),
                                      std::pair(Point{-40, 42, 51, 105, 59, 38}, u"-40,42,51,105,59,38"_s)}) {
        run.set_bars(point);
        run.click("btn_cal");
        QCOMPARE(run.shown(), run.want.set({{"bars", bars}, {"destination", NO_POINT}}));
    }
    QCOMPARE(run.dialogs.texts(), QStringList({u"同一地点です。方位の計算はできません。"_s,
                                               u"ちょうど地球の正反対となります。\r\r               計算不能です。"_s}));
}

void back_then_reset(Run& run)
{
    run.click("btn_return");
    run.want = entering_departure(u"40,42,51,-74,0,22"_s, u"不明 緯度：  40度42分51秒 経度：  -74度0分22秒"_s);
    QCOMPARE(run.shown(), run.want.set({{"focus", "btn_next"}}));
    QCOMPARE(run.find<QWidget>("compass")->accessibleDescription(), u"計算結果はありません"_s);
    run.trigger("mnusyoki");
    QCOMPARE(run.shown(), run.want.set({{"bars", TOKYO_BARS}, {"departure", u"東京 "_s + AT_TOKYO}}));
}

// The name check reads the list as it is now: a damaged one skips the check, reported once.
void name_check_then_end(Run& run)
{
    run.write("places.txt", u"\"東京\",35,x1,22,139,41,30\r\n"_s);
    run.set_bars(Point{});
    for (int round = 0; round < 2; ++round) {
        run.click("btn_next");
        run.click("btn_return");
    }
    QCOMPARE(run.dialogs.calls.size(), std::size_t(3));
    QVERIFY(run.dialogs.calls[2].text.endsWith(u"地名の確認を省略します。"_s) && run.text("splace") == u"東京"_s);
    run.write("places.txt", PLACES);
    run.click("btn_next");
    QCOMPARE(QStringList({run.text("splace"), run.state.departure_name, run.state.saved_name}),
             QStringList(3, u"不明"_s));
    run.trigger("mnuend");
    QVERIFY(run.ended == 1 && !run.window->isVisible());
}

// Nothing chosen in the place list: the bars it was given come back, not the start-up point.
void departure_hand_overs(Run& run)
{
    run.set_bars(NEW_YORK);
    run.trigger("mnulist");
    QVERIFY(!run.window->isVisible() && run.state.transfer_point == NEW_YORK && run.state.transfer_name == u"大阪"_s);
    QTest::mouseClick(control<QPushButton>(shown_window("PlaceListWindow"), "btncan"), Qt::LeftButton);
    QCOMPARE(run.shown(), run.want = entering_departure(NEW_YORK_BARS, u"大阪 "_s + AT_NEW_YORK));
    run.hand_over(TOKYO, u"東京"_s, true);
    QCOMPARE(run.shown(), run.want.set({{"bars", TOKYO_BARS}, {"departure", u"東京 "_s + AT_TOKYO},
                                        {"flags", "entering_departure point_handed_over"}}));
}

// Nothing taken after a result keeps the figure; a cancelled excursion shows the result again, locked.
void destination_hand_overs(Run& run)
{
    const QString new_york = u"ニューヨーク "_s + AT_NEW_YORK;
    run.click("btn_next");
    run.hand_over(NEW_YORK, u"ニューヨーク"_s, true, true);
    QCOMPARE(run.shown(), run.want.set({{"bars", NEW_YORK_BARS}, {"destination", new_york}, {"frame", u"目的地点"_s},
                                        {"enabled", "btn_return btn_cal Frame1"}, {"focus", "ido_do"},
                                        {"flags", "point_handed_over destination_handed_over"}}));
    run.click("btn_cal");
    QCOMPARE(run.shown(), run.want.set({{"result", NNE_RESULT}, {"enabled", "btn_return btn_cal btn_kiro Frame1"},
                                        {"focus", "btn_return"}, {"picture", "figure"},
                                        {"flags", "point_handed_over result_shown"}}));

    run.trigger("mnuwor");
    QVERIFY(shown_window("MapWindow") && !run.window->isVisible() && run.state.map_kind == MapKind::World);
    run.hand_over(Point{10, 20, 30, 40, 50, 0}, u"不明"_s, false);
    QCOMPARE(run.shown(), run.want.set({{"bars", "10,20,30,40,50,0"}, {"destination", NO_POINT}, {"result", NO_RESULT},
                                        {"focus", "ido_do"}, {"picture", "globe"}, {"flags", "result_shown"}}));
    run.hand_over(NEW_YORK, u"ニューヨーク"_s, true, true);
    QCOMPARE(run.shown(), run.want.set({{"bars", NEW_YORK_BARS}, {"destination", new_york}, {"picture", "globe"},
                                        {"flags", "point_handed_over destination_handed_over"}}));
    run.bar(5)->setValue(22);
    run.click("btn_cal");
    QCOMPARE(run.shown(), run.want.set({{"bars", "40,42,51,-74,0,22"},
                                        {"destination", u"不明 緯度：  40度42分51秒 経度：  -74度0分22秒"_s},
                                        {"result", u" 25.1015 度    北北東（丑）  10842.63 Ｋｍ"_s}, {"focus", "btn_return"},
                                        {"picture", "figure"}, {"flags", "point_handed_over result_shown"}}));

    run.hand_over(NEW_YORK, u"ニューヨーク"_s, true);
    QCOMPARE(run.shown(), run.want.set({{"bars", NEW_YORK_BARS}, {"destination", new_york},
                                        {"enabled", "btn_return btn_kiro"}, {"focus", "btn_return"}}));
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void main_story()
    {
        Run run;
        run_story(run, {starts_on_the_start_point, next_then_compute, the_result_is_copied_as_one_line,
                        return_trip_then_refusals, back_then_reset, name_check_then_end});
    }
    // A damaged file stays untouched until a start-up registration the user confirms.
    void start_up_failure()
    {
        const std::tuple<QString, QString, QString> rows[] = { // settings; the place list in use; the message's end
            {u"\"mylist.txt\",\"東京\",3x,41,22,139,41,30\r\n"_s, u"mylist.txt"_s, // letters in a number
             u"地点一覧ファイルは設定ファイルにある「mylist.txt」を使います。"
             u"初期設定の地名と地点はインストール時の初期設定（東京）で起動します。"_s},
            {u"\"\",\"東京\",35,41,22,139,41,30\r\n"_s, u"places.txt"_s, u"インストール時の初期設定で起動します。"_s},
        };
        for (const auto& [settings, list, starting] : rows) {
            const QString kyoto = u"\"京都\",35,0,41,135,46,5\r\n"_s;
            Run run({{"vantorff.ini", settings}, {"places.txt", PLACES}, {"mylist.txt", kyoto}});
            const QString ini = run.dir.filePath("vantorff.ini");
            const QByteArray before = cp932(settings);
            QCOMPARE(run.dialogs.calls.size(), std::size_t(1));
            const QString message = run.dialogs.calls[0].text;
            QVERIFY2(message.contains("vantorff.ini") && message.endsWith(starting), qPrintable(message));
            QCOMPARE(run.shown(), entering_departure(TOKYO_BARS, u"東京 "_s + AT_TOKYO));
            QCOMPARE(read_bytes(ini), before);

            // OK rewrites the file with the list name that was in use; Cancel leaves it alone.
            run.trigger("mnulist");
            auto* register_start_point = control<QPushButton>(shown_window("PlaceListWindow"), "Command4");
            run.dialogs.answers = {false};
            QTest::mouseClick(register_start_point, Qt::LeftButton);
            QCOMPARE(read_bytes(ini), before);
            run.dialogs.answers = {true, true};
            QTest::mouseClick(register_start_point, Qt::LeftButton);
            QCOMPARE(run.dialogs.calls.size(), std::size_t(4));
            QVERIFY(run.dialogs.calls[1].text.contains(u"地点一覧ファイル名「"_s + list
                                                       + u"」は新しい設定ファイルに引き継ぎます。"_s));
            QCOMPARE(read_bytes(ini), cp932(u"\""_s + list + u"\",\"東京\",35,41,22,139,41,30\r\n"_s));
        }
    }
    void hand_overs()
    {
        Run run({{"vantorff.ini", u"\"places.txt\",\"大阪\",34,41,38,135,30,4\r\n"_s}, {"places.txt", PLACES}});
        run_story(run, {departure_hand_overs, destination_hand_overs});
    }
    void direction_map_follows_the_main_window()
    {
        Run run;
        run.trigger("mnuazi");
        DirectionMapWindow* map = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            map = map ? map : qobject_cast<DirectionMapWindow*>(top);
        QVERIFY(map && map->isVisible() && run.window->isVisible() && map->windowTitle().contains(u"東京"_s));
        run.bar(0)->setValue(34); // the bars move the centre while the departure is entered
        QVERIFY(map->windowTitle().contains(u"34"_s));

        run.click("btn_next");
        run.set_bars(NEW_YORK);
        run.click("btn_cal");
        QVERIFY(map->drawing().destination_result());
        QCOMPARE(QString::fromStdString(map->drawing().destination_result()->bearing_caption), run.text("lb_cal"));

        run.trigger("mnulist");
        QVERIFY(!run.window->isVisible() && !map->isVisible());
        QTest::mouseClick(control<QPushButton>(shown_window("PlaceListWindow"), "btncan"), Qt::LeftButton);
        QVERIFY(run.window->isVisible() && map->isVisible());
        run.click("btn_return");
        QVERIFY(!map->drawing().destination_result());
    }
    // Key_F35 stands for New York put on the bars with the focus on 方位表示.
    void keys_never_end_the_program()
    {
        const std::tuple<bool, QList<Qt::Key>> rows[] = {
            {true, {Qt::Key_Return}}, // a click on 次へ first
            {false, {Qt::Key_Space, Qt::Key_F35, Qt::Key_Return, Qt::Key_Return, Qt::Key_Return, Qt::Key_Space}},
        };
        for (const auto& [click, keys] : rows) {
            Run run;
            run.find<QPushButton>("btn_next")->setFocus();
            if (click)
                run.click("btn_next");
            for (Qt::Key key : keys)
                key == Qt::Key_F35 ? run.aim(NEW_YORK) : QTest::keyClick(QApplication::focusWidget(), key);
            QCOMPARE(std::pair(QApplication::focusWidget()->objectName(), run.ended), std::pair(u"ido_do"_s, 0));
        }
    }
    void focused_bar_is_framed()
    {
        Run run;
        for (int i = 0; i < DmsBars::COUNT; ++i) {
            for (int k = 0; k < DmsBars::COUNT; ++k) {
                const QImage now = run.bar(k)->grab().toImage();
                const QColor highlight = run.bar(k)->palette().color(QPalette::Highlight);
                QCOMPARE(now.pixelColor(0, now.height() / 2) == highlight, k == i);
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    }
    void result_is_spoken_and_pointed_at()
    {
        Run run;
        run.click("btn_next");
        run.aim(NEW_YORK);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName() + said(QApplication::focusWidget()),
                 u"btn_return方位　 25.1014 度    北北東（丑）、距離　 10842.64 Ｋｍ"_s);

        QWidget* client = run.window->centralWidget();
        const QRect figure = QAccessible::queryAccessibleInterface(run.find<QWidget>("compass"))->rect();
        const QRect circle(client->mapToGlobal(CENTRE - QPoint(80, 80)), QSize(161, 161)); // radius 80
        QVERIFY(figure.contains(circle) && figure.width() <= 2 * 94 + 4 && figure.height() <= 2 * 94 + 4);
        for (QWidget* control : client->findChildren<QWidget*>()) {
            if (!control->isVisible() || control->objectName().isEmpty() || control->objectName() == "compass")
                continue;
            const QPoint at = control->mapToGlobal(control->rect().center());
            QAccessibleInterface* found = QAccessible::queryAccessibleInterface(run.window.get());
            while (QAccessibleInterface* deeper = found->childAt(at.x(), at.y()))
                found = deeper;
            QCOMPARE(found->object(), control);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // 戻る: its tool tip again
        QCOMPARE(said(run.find<QWidget>("btn_return")), u"出発地点入力モードに戻る"_s);
    }
    void stale_results_data()
    {
        QTest::addColumn<QString>("story");
        QTest::addColumn<QString>("departure"); // splace afterwards
        QTest::addColumn<QString>("pair");      // the copied second line up to its colon
        const QString ny = u"東京 (35°41′22″N 139°41′30″E) → ニューヨーク (40°42′51″N 74°0′21″W)"_s;
        QTest::newRow("a refusal keeps the result and its pair") << "refuse" << u"東京"_s << ny;
        QTest::newRow("the way back from a registered place")
            << "osaka" << u"大阪"_s << u"大阪 (34°41′38″N 135°30′4″E) → 東京 (35°41′22″N 139°41′30″E)"_s;
        QTest::newRow("the way back after moving off it")
            << "osaka moved" << u"不明"_s << u"不明 (34°41′38″N 135°30′5″E) → 東京 (35°41′22″N 139°41′30″E)"_s;
    }
    // After each way a result may go stale, figure, descriptions and copy agree with the labels.
    void stale_results()
    {
        QFETCH(QString, story);
        Run run;
        run.click("btn_next");
        const bool osaka = story.startsWith("osaka");
        run.hand_over(osaka ? Point{34, 41, 38, 135, 30, 4} : NEW_YORK, osaka ? u"大阪"_s : u"ニューヨーク"_s, true,
                      true);
        run.click("btn_cal");
        if (story == "osaka moved")
            run.bar(5)->setValue(5);
        if (osaka)
            run.click("btn_kiro");
        if (story == "refuse") {
            run.set_bars(TOKYO);
            run.click("btn_cal");
            QCOMPARE(run.dialogs.texts(), QStringList{u"同一地点です。方位の計算はできません。"_s});
        }
        QGuiApplication::clipboard()->setText(u"(nothing)"_s);
        QTest::keyClick(run.window.get(), Qt::Key_C, Qt::ControlModifier);
        const QStringList copied = QGuiApplication::clipboard()->text().split('\n');
        QTEST(run.text("splace"), "departure");
        QTEST(copied.last().section(u": "_s, 0, 0), "pair");

        const QString bearing = run.text("lb_cal"), distance = run.text("lb_dis");
        QVERIFY(!bearing.isEmpty() && run.find<QWidget>("compass")->isVisible()
                && !run.find<QWidget>("Image1")->isVisible());
        const QString result = u"方位　"_s + bearing + u"、距離　"_s + distance;
        QCOMPARE(said(run.find<QWidget>("compass")), result);
        QCOMPARE(said(run.find<QWidget>("btn_return")), result);
        // The copied line has the labels' own figures.
        QCOMPARE(copied.last().section(u": "_s, 1).remove(QRegularExpression(u"[°,a-z ]"_s)),
                 bearing.simplified().remove(u"度"_s).remove(' ') + distance.simplified().section(' ', 0, 0));
    }
    // No control of the hidden main window takes the focus on the way to the place list.
    void hidden_window_takes_no_focus()
    {
        Run run;
        QStringList hidden_focus;
        const auto watch = connect(qApp, &QApplication::focusChanged, [&](QWidget*, QWidget* now) {
            if (now && !now->window()->isVisible())
                hidden_focus << now->objectName();
        });
        QTest::keyClick(run.window.get(), Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QTest::qWait(50); // the menu takes the activation, as it has by the time a user presses a key
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
        QTRY_VERIFY(QApplication::activeWindow() && QApplication::activeWindow() != run.window.get());
        QTest::qWait(50);
        disconnect(watch);
        QCOMPARE(hidden_focus, QStringList());

        const QString long_name = u"ランフェア・プルグウィンギル駅前"_s;
        for (const QString& name : {long_name, u"東京"_s}) {
            run.hand_over(TOKYO, name, true);
            QVERIFY(run.text("splace") == name
                    && run.find<QLabel>("splace")->toolTip() == (name == long_name ? name : QString()));
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
