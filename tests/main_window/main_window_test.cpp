// The main window on real files in a temporary program directory.
#include "controls/dms_bars.h"
#include "main_window/compass_canvas.h"
#include "main_window/main_window.h"
#include "support/fake_dialogs.h"
#include "support/test_files.h"
#include "resources/window_builder.h"
#include "shared_state/shared_state.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

using namespace orvine;
using orvine::test::read_bytes;
using namespace Qt::StringLiterals;

namespace {

const QString PLACES =
    u"\"東京\",35,41,22,139,41,30\r\n\"大阪\",34,41,38,135,30,4\r\n\"ニューヨーク\",40,42,51,-74,0,21\r\n"_s;
const Point TOKYO{35, 41, 22, 139, 41, 30};
const Point NEW_YORK{40, 42, 51, -74, 0, 21};
const QColor FILL(128, 128, 255);

QByteArray cp932(const QString& text) { return QStringEncoder("windows-31j").encode(text); }

void write_cp932(const QString& path, const QString& text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(cp932(text)) > 0);
}

QWidget* shown_window(const char* name)
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String(name) && top->isVisible())
            return top;
    qFatal("no window %s is shown", name);
}

// Opens a result label's menu and chooses コピー.
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

// One run of the program, started: a program directory with the given files, SharedState,
// recording dialogs and the main window.
struct Run {
    QTemporaryDir dir;
    SharedState m;
    FakeDialogs dialogs;
    SilentSound sound;
    int ended = 0;
    std::unique_ptr<MainWindow> w;

    explicit Run(std::initializer_list<std::pair<const char*, QString>> files = {
                     {"vantorff.ini", u"\"places.txt\",\"東京\",35,41,22,139,41,30\r\n"_s}, {"places.txt", PLACES}})
    {
        for (const auto& [name, text] : files)
            write_cp932(dir.filePath(name), text);
        m.files_folder = dir.path();
        w = std::make_unique<MainWindow>(m, dialogs, sound, [this] { ++ended; });
        w->start();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }

    template <class T>
    T* c(const char* name) { return control<T>(w.get(), name); }
    QString text(const QString& label) { return c<QLabel>(qPrintable(label))->text(); }
    QScrollBar* bar(int i) { return c<QScrollBar>(DmsBars::NAMES[static_cast<std::size_t>(i)]); }
    void set_bars(const Point& p)
    {
        const std::int16_t v[] = {p.latitude.degrees, p.latitude.minutes, p.latitude.seconds, p.longitude.degrees, p.longitude.minutes, p.longitude.seconds};
        for (int i = 0; i < 6; ++i)
            bar(i)->setValue(v[i]);
    }
    void click(const char* button) { QTest::mouseClick(c<QPushButton>(button), Qt::LeftButton); }
    void trigger(const char* item) { c<QAction>(item)->trigger(); }
    // What the user sees: the bars (value/echo where the echo differs), departure,
    // destination, result, frame title, enabled controls, focus, figure or globe; then
    // start_mode, pt_taken, dest_taken, result_shown.
    QString screen()
    {
        QStringList values, on;
        for (int i = 0; i < 6; ++i) {
            const QString value = QString::number(bar(i)->value());
            const QString echo = text(u"lb"_s + DmsBars::NAMES[static_cast<std::size_t>(i)]);
            values << (echo == value ? value : value + '/' + echo);
        }
        for (const char* n : {"btn_next", "btn_return", "btn_cal", "btn_kiro", "mnusyoki", "Frame1"})
            if (w->findChild<QObject*>(n)->property("enabled").toBool())
                on << n;
        return QStringList{values.join(','), text("splace") + ' ' + text("lbido1") + ' ' + text("lbkei1"),
                           text("mplace") + ' ' + text("lbido2") + ' ' + text("lbkei2"),
                           text("lb_cal") + ' ' + text("lb_dis"), c<QGroupBox>("Frame1")->title(), on.join(','),
                           w->focusWidget() ? w->focusWidget()->objectName() : "-",
                           (c<CompassCanvas>("compass")->figure() ? "figure" : "") + QString(c<QLabel>("Image1")->isVisible() ? "globe" : ""),
                           QString("%1%2%3%4").arg(m.entering_departure).arg(m.point_handed_over).arg(m.destination_handed_over).arg(m.result_shown)}
            .join(" | ");
    }
    QColor pixel(QPoint from_centre) { return w->centralWidget()->grab().toImage().pixelColor(QPoint(363, 230) + from_centre); }
    // Another window hands control back: MainWindow was hidden, the other window writes the point
    // and name it leaves (to pt when taken, else to its saved copy bk) and the flags, MainWindow is shown.
    void hand_over(const Point& p, const QString& place, int pt_taken, int dest_taken = 0)
    {
        w->hide();
        (pt_taken ? m.transfer_point : m.saved_point) = p;
        (pt_taken ? m.transfer_name : m.saved_name) = place;
        m.point_handed_over = pt_taken;
        m.destination_handed_over = dest_taken;
        w->show();
    }
};

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    void main_story();
    void start_up_failure_data();
    void start_up_failure();
    void hand_overs();
};

// Start-up, 次へ by the keyboard, the result and its figure, copy, a return trip from moved
// bars, refusals, back, the start-up point restored, the departure's name checked, the end.
void TestForm1::main_story()
{
    Run run;
    QVERIFY(QTest::qWaitForWindowActive(run.w.get()));
    QCOMPARE(run.screen(), u"35,41,22,139,41,30 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 |  緯度： 経度： |   | 出発地点 | btn_next,mnusyoki,Frame1 | ido_do | globe | 1000"_s);

    // No result: nothing to copy, and Escape leaves nothing.
    auto* compass = run.c<QWidget>("compass");
    QVERIFY(compass->accessibleDescription() == u"計算結果はありません"_s && QAccessible::queryAccessibleInterface(compass)->role() == QAccessible::Graphic);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("kept");
    QTest::keyClick(run.w.get(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(run.w.get(), Qt::Key_Escape);
    QVERIFY(clipboard->text() == "kept" && run.w->isVisible() && run.ended == 0);

    run.c<QPushButton>("btn_next")->setFocus();
    QTest::keyClick(run.w->focusWidget(), Qt::Key_Return);
    QCOMPARE(run.screen(), u"35,41,22,139,41,30 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 |  緯度： 経度： |   | 目的地点 | btn_return,btn_cal,Frame1 | btn_end | globe | 0000"_s);
    run.set_bars(NEW_YORK);
    run.click("btn_cal");
    QCOMPARE(run.screen(), u"40,42,51,-74,0,21 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 | 不明 緯度：  40度42分51秒 経度：  -74度0分21秒 |  25.1014 度    北北東（丑）  10842.64 Ｋｍ | 目的地点 | btn_return,btn_cal,btn_kiro,Frame1 | btn_return | figure | 0001"_s);
    // The open sector and the arrow (its head 0.85° either side) point NNE, mirrored neither way.
    QVERIFY(run.pixel({19, -46}) != FILL && run.pixel({-19, -46}) == FILL && run.pixel({19, 46}) == FILL && run.pixel({39, -84}).lightness() < 64);
    const CompassFigure arrow = *run.c<CompassCanvas>("compass")->figure();
    QVERIFY(arrow.tip == (TwipsPoint{6044, 2182}) && arrow.base1 == (TwipsPoint{5976, 2283}) && arrow.base2 == (TwipsPoint{6010, 2299}));

    // The result is copied as one line, by Ctrl+C or the results' menu; screen readers hear
    // it from the figure.
    const QString line = u"方位　 25.1014 度    北北東（丑）\t距離　 10842.64 Ｋｍ"_s;
    QTest::keyClick(run.w.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), line);
    clipboard->clear();
    copy_by_menu(run.c<QLabel>("lb_dis"));
    QCOMPARE(clipboard->text(), line);
    QCOMPARE(compass->accessibleDescription(), QString(line).replace('\t', u"、"_s));

    // A return trip departs from the bars as they are now (a second east of the destination),
    // and swaps the names; back in departure entry the western departure is in entry form.
    run.bar(5)->setValue(22);
    run.click("btn_kiro");
    QCOMPARE(run.screen(), u"35,41,22,139,41,30 | 不明 緯度：  40度42分51秒 経度：  -74度0分22秒 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 |  332.962 度    北北西（亥）  10842.63 Ｋｍ | 目的地点 | btn_return,btn_cal,btn_kiro,Frame1 | btn_return | figure | 0001"_s);

    // Refused destinations (the western departure itself, then its antipode) keep the result.
    for (const Point& refused : {Point{40, 42, 51, -74, 0, 22}, Point{-40, 42, 51, 105, 59, 38}}) {
        run.set_bars(refused);
        run.click("btn_cal");
        QCOMPARE(run.screen().section(" | ", 1), u"不明 緯度：  40度42分51秒 経度：  -74度0分22秒 |  緯度： 経度： |  332.962 度    北北西（亥）  10842.63 Ｋｍ | 目的地点 | btn_return,btn_cal,btn_kiro,Frame1 | btn_return | figure | 0001"_s);
    }
    QCOMPARE(run.dialogs.texts(), QStringList({u"同一地点です。方位の計算はできません。"_s, u"ちょうど地球の正反対となります。\r\r               計算不能です。"_s}));
    run.click("btn_return");
    QCOMPARE(run.screen(), u"40,42,51,-74,0,22 | 不明 緯度：  40度42分51秒 経度：  -74度0分22秒 |  緯度： 経度： |   | 出発地点 | btn_next,mnusyoki,Frame1 | btn_next | globe | 1000"_s);
    QCOMPARE(compass->accessibleDescription(), u"計算結果はありません"_s);

    // 初期設定 restores the start-up point.
    run.trigger("mnusyoki");
    QCOMPARE(run.screen(), u"35,41,22,139,41,30 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 |  緯度： 経度： |   | 出発地点 | btn_next,mnusyoki,Frame1 | btn_next | globe | 1000"_s);

    // 次へ checks the name against the place list as it is now: a damaged list skips the
    // check and is reported once; a readable one takes the name from a moved departure.
    write_cp932(run.dir.filePath("places.txt"), u"\"東京\",35,x1,22,139,41,30\r\n"_s);
    run.set_bars(Point{});
    for (int round = 0; round < 2; ++round) {
        run.click("btn_next");
        run.click("btn_return");
    }
    QCOMPARE(run.dialogs.calls.size(), std::size_t(3));
    QVERIFY(run.dialogs.calls[2].text.endsWith(u"地名の確認を省略します。"_s) && run.text("splace") == u"東京"_s);
    write_cp932(run.dir.filePath("places.txt"), PLACES);
    run.click("btn_next");
    QCOMPARE(QStringList({run.text("splace"), run.m.departure_name, run.m.saved_name}), QStringList(3, u"不明"_s));
    run.trigger("mnuend");
    QVERIFY(run.ended == 1 && !run.w->isVisible());
}

void TestForm1::start_up_failure_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("list");      // the place list in use afterwards
    QTest::newRow("letters in a number") << u"\"mylist.txt\",\"東京\",3x,41,22,139,41,30\r\n"_s << "mylist.txt";
    QTest::newRow("no list name") << u"\"\",\"東京\",35,41,22,139,41,30\r\n"_s << "places.txt";
}

// A message, the installed start-up point, the user's list kept when its name could be read,
// and the damaged file untouched until a start-up registration the user confirms.
void TestForm1::start_up_failure()
{
    QFETCH(QString, settings);
    QFETCH(QString, list);
    Run run({{"vantorff.ini", settings}, {"places.txt", PLACES}, {"mylist.txt", u"\"京都\",35,0,41,135,46,5\r\n"_s}});
    const QString ini = run.dir.filePath("vantorff.ini");
    const QByteArray before = cp932(settings);
    QCOMPARE(run.dialogs.calls.size(), std::size_t(1));
    const QString message = run.dialogs.calls[0].text;
    const QString starts = list == "mylist.txt" ? u"地点一覧ファイルは設定ファイルにある「mylist.txt」を使います。初期設定の地名と地点はインストール時の初期設定（東京）で起動します。"_s
                                                : u"インストール時の初期設定で起動します。"_s;
    QVERIFY2(message.contains("vantorff.ini") && message.endsWith(starts), qPrintable(message));
    QVERIFY(run.m.start_point == TOKYO && run.screen().startsWith(u"35,41,22,139,41,30 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 |"_s));
    QCOMPARE(read_bytes(ini), before);

    // 初期設定登録 in the place-list window: Cancel leaves the file alone, OK rewrites it
    // (after a warning when it was damaged) with the list name that was in use.
    run.trigger("mnulist");
    auto* command4 = control<QPushButton>(shown_window("PlaceListWindow"), "Command4");
    run.dialogs.answers = {false};
    QTest::mouseClick(command4, Qt::LeftButton);
    QCOMPARE(read_bytes(ini), before);
    run.dialogs.answers = {true, true};
    QTest::mouseClick(command4, Qt::LeftButton);
    QCOMPARE(run.dialogs.calls.size(), std::size_t(4));
    QVERIFY(run.dialogs.calls[1].text.contains(u"地点一覧ファイル名「"_s + list + u"」は新しい設定ファイルに引き継ぎます。"_s));
    QCOMPARE(read_bytes(ini), cp932(u"\""_s + list + u"\",\"東京\",35,41,22,139,41,30\r\n"_s));
}

// Every way another window hands control back, in an order a user might meet them.
void TestForm1::hand_overs()
{
    Run run({{"vantorff.ini", u"\"places.txt\",\"大阪\",34,41,38,135,30,4\r\n"_s}, {"places.txt", PLACES}});
    // Nothing chosen in the place list: the bars it was given come back, not the start-up point.
    run.set_bars(NEW_YORK);
    run.trigger("mnulist");
    QWidget* form2 = shown_window("PlaceListWindow");
    QVERIFY(!run.w->isVisible() && run.m.transfer_point == NEW_YORK && run.m.transfer_name == u"大阪"_s);
    QTest::mouseClick(control<QPushButton>(form2, "btncan"), Qt::LeftButton);
    QCOMPARE(run.screen(), u"40,42,51,-74,0,21 | 大阪 緯度：  40度42分51秒 経度：  -74度0分21秒 |  緯度： 経度： |   | 出発地点 | btn_next,mnusyoki,Frame1 | ido_do | globe | 1000"_s);
    run.hand_over(TOKYO, u"東京"_s, 1);  // a point taken during departure entry
    QCOMPARE(run.screen(), u"35,41,22,139,41,30 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 |  緯度： 経度： |   | 出発地点 | btn_next,mnusyoki,Frame1 | ido_do | globe | 1100"_s);

    // A registered destination handed over keeps its name through the calculation.
    run.click("btn_next");
    run.hand_over(NEW_YORK, u"ニューヨーク"_s, 1, 1);
    QCOMPARE(run.screen(), u"40,42,51,-74,0,21 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 | ニューヨーク 緯度：  40度42分51秒 経度：  -74度0分21秒 |   | 目的地点 | btn_return,btn_cal,Frame1 | btn_end | globe | 0110"_s);
    run.click("btn_cal");
    QCOMPARE(run.screen(), u"40,42,51,-74,0,21 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 | ニューヨーク 緯度：  40度42分51秒 経度：  -74度0分21秒 |  25.1014 度    北北東（丑）  10842.64 Ｋｍ | 目的地点 | btn_return,btn_cal,btn_kiro,Frame1 | btn_return | figure | 0101"_s);

    // Nothing taken in destination entry after a result, here on the world map: the figure
    // stays, the departure summary shows the stored departure.
    run.trigger("mnuwor");
    QVERIFY(shown_window("MapWindow") && !run.w->isVisible() && run.m.map_kind == MapKind::World);
    run.hand_over(Point{10, 20, 30, 40, 50, 0}, u"不明"_s, 0);
    QCOMPARE(run.screen(), u"10,20,30,40,50,0 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 |  緯度： 経度： |   | 目的地点 | btn_return,btn_cal,btn_kiro,Frame1 | ido_do | figure | 0001"_s);
    run.hand_over(NEW_YORK, u"ニューヨーク"_s, 1, 1);  // a new destination replaces the result
    QCOMPARE(run.screen(), u"40,42,51,-74,0,21 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 | ニューヨーク 緯度：  40度42分51秒 経度：  -74度0分21秒 |   | 目的地点 | btn_return,btn_cal,btn_kiro,Frame1 | ido_do | globe | 0110"_s);
    run.bar(5)->setValue(22);  // off the registered point: the name goes
    run.click("btn_cal");
    QCOMPARE(run.screen(), u"40,42,51,-74,0,22 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 | 不明 緯度：  40度42分51秒 経度：  -74度0分22秒 |  25.1015 度    北北東（丑）  10842.63 Ｋｍ | 目的地点 | btn_return,btn_cal,btn_kiro,Frame1 | btn_return | figure | 0101"_s);

    // An excursion cancelled after the result: the result is shown again, the bars and
    // 方位表示 locked.
    run.hand_over(NEW_YORK, u"ニューヨーク"_s, 1);
    QCOMPARE(run.screen(), u"40,42,51,-74,0,21 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 | ニューヨーク 緯度：  40度42分51秒 経度：  -74度0分21秒 |  25.1015 度    北北東（丑）  10842.63 Ｋｍ | 目的地点 | btn_return,btn_kiro | - | figure | 0101"_s);
}

QTEST_MAIN(TestForm1)
#include "main_window_test.moc"
