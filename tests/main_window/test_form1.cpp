// The main window on real files in a temporary program directory.
#include "controls/dms_bars.h"
#include "files/settings_file.h"
#include "main_window/compass_canvas.h"
#include "main_window/form1.h"
#include "place_list/version_box.h"
#include "platform/fake_dialogs.h"
#include "resources/window_builder.h"
#include "shared_state/module1.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

using namespace orvine;
using namespace Qt::StringLiterals;

namespace {

const QString TOKYO_SETTINGS = u"\"places.txt\",\"東京\",35,41,22,139,41,30\r\n"_s;
const QString PLACES =
    u"\"東京\",35,41,22,139,41,30\r\n\"大阪\",34,41,38,135,30,4\r\n\"ニューヨーク\",40,42,51,-74,0,21\r\n"_s;
const Point TOKYO{35, 41, 22, 139, 41, 30};
const Point OSAKA{34, 41, 38, 135, 30, 4};
const Point NEW_YORK{40, 42, 51, -74, 0, 21};
const Point SYDNEY{-33, 52, 4, 151, 12, 26};
const Point ONE_TO_SIX{1, 2, 3, 4, 5, 6};
const QString TO_NEW_YORK = u" 25.1014 度    北北東（丑）"_s;
const QString NEW_YORK_KM = u" 10842.64 Ｋｍ"_s;
const QString UNKNOWN = u"不明"_s;
const QColor FILL(128, 128, 255);
const QPoint IN_NNE_PIE(-60, 0);  // from the compass centre, filled when the open sector is 北北東

QByteArray read_bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void write_bytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size());
}

QByteArray cp932(const QString& text) { return QStringEncoder("windows-31j").encode(text); }

QStringList numbers(const Point& p)
{
    QStringList n;
    for (int v : {p.ido_do, p.ido_hun, p.ido_byo, p.kei_do, p.kei_hun, p.kei_byo})
        n << QString::number(v);
    return n;
}

QWidget* shown_window(const char* name)
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String(name) && top->isVisible())
            return top;
    return nullptr;
}

// Opens a result label's menu and chooses コピー when it can: "none", "disabled" or "copied".
QString copy_by_menu(QLabel* result)
{
    auto outcome = std::make_shared<QString>("none");
    QTimer::singleShot(0, [outcome] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        *outcome = menu->actions().first()->isEnabled() ? "copied" : "disabled";
        if (*outcome == "copied")
            menu->actions().first()->trigger();
        menu->close();
    });
    emit result->customContextMenuRequested(QPoint(2, 2));
    return *outcome;
}

// One run of the program: a program directory with the two files (a null text leaves the
// file out), Module1, recording dialogs and the main window.
struct Run {
    QTemporaryDir dir;
    Module1 m;
    FakeDialogs dialogs;
    SilentSound sound;
    int ended = 0;
    std::unique_ptr<Form1> w;

    explicit Run(const QString& settings = TOKYO_SETTINGS, const QString& places = PLACES)
    {
        if (!settings.isNull())
            write_bytes(dir.filePath("vantorff.ini"), cp932(settings));
        if (!places.isNull())
            write_bytes(dir.filePath("places.txt"), cp932(places));
        m.program_dir = dir.path();
        w = std::make_unique<Form1>(m, dialogs, sound, [this] { ++ended; });
    }
    void start()
    {
        w->Form_Load();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }

    template <class T>
    T* c(const char* name) { return control<T>(w.get(), name); }
    QString text(const char* label) { return c<QLabel>(label)->text(); }
    QStringList texts(std::initializer_list<const char*> labels)
    {
        QStringList t;
        for (const char* l : labels)
            t << text(l);
        return t;
    }
    QScrollBar* bar(int i) { return c<QScrollBar>(DmsBars::NAMES[static_cast<std::size_t>(i)]); }
    Point bars()
    {
        auto v = [this](int i) { return static_cast<std::int16_t>(bar(i)->value()); };
        return Point{v(0), v(1), v(2), v(3), v(4), v(5)};
    }
    void set_bars(const Point& p)
    {
        const std::int16_t v[] = {p.ido_do, p.ido_hun, p.ido_byo, p.kei_do, p.kei_hun, p.kei_byo};
        for (int i = 0; i < 6; ++i)
            bar(i)->setValue(v[i]);
    }
    void click(const char* button) { QTest::mouseClick(c<QPushButton>(button), Qt::LeftButton); }
    void press_return(const char* button)
    {
        c<QPushButton>(button)->setFocus();
        QTest::keyClick(c<QPushButton>(button), Qt::Key_Return);
    }
    void trigger(const char* item) { c<QAction>(item)->trigger(); }
    bool enabled(const QString& name)
    {
        QWidget* widget = w->findChild<QWidget*>(name);
        return widget ? widget->isEnabled() : c<QAction>(qPrintable(name))->isEnabled();
    }
    // What the user sees: the bars (and their echoes where they differ), departure,
    // destination, result, frame title, enabled controls, focus, figure or globe; then
    // start_mode, pt_taken, dest_taken, result_shown.
    QString screen()
    {
        QStringList s{numbers(bars()).join(',')};
        const QStringList echoes = texts({"lbido_do", "lbido_hun", "lbido_byo", "lbkei_do", "lbkei_hun", "lbkei_byo"});
        if (echoes != numbers(bars()))
            s << "echo " + echoes.join(',');
        s << texts({"splace", "lbido1", "lbkei1"}).join(' ') << texts({"mplace", "lbido2", "lbkei2"}).join(' ')
          << texts({"lb_cal", "lb_dis"}).join(' ') << control<QGroupBox>(w.get(), "Frame1")->title();
        QStringList on;
        for (const char* n : {"btn_next", "btn_return", "btn_cal", "btn_kiro", "mnusyoki", "Frame1"})
            if (enabled(n))
                on << n;
        s << on.join(',') << (w->focusWidget() ? w->focusWidget()->objectName() : "-")
          << (figure() ? "figure" : "") + QString(c<QLabel>("Image1")->isVisible() ? "globe" : "")
          << QString("%1%2%3%4").arg(m.start_mode).arg(m.pt_taken).arg(m.dest_taken).arg(m.result_shown);
        return s.join(" | ");
    }
    const std::optional<CompassFigure>& figure() { return c<CompassCanvas>("compass")->figure(); }
    QColor pixel(QPoint from_centre) { return w->centralWidget()->grab().toImage().pixelColor(QPoint(363, 230) + from_centre); }
    void calculate(const Point& departure, const Point& destination)
    {
        set_bars(departure);
        click("btn_next");
        set_bars(destination);
        click("btn_cal");
    }
    // Another window hands control back: Form1 was hidden, Module1 is written, Form1 shown.
    template <class Write>
    void hand_over(Write write)
    {
        w->hide();
        write(m);
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
    void departure_name_data();
    void departure_name();
    void arrow_points_east();
    void return_trip_takes_moved_bars();
    void hand_overs();
    void ending();
};

// From the installed files: start-up, departure, destination and result by the keyboard,
// copy, three return trips, back, and the start-up point restored.
void TestForm1::main_story()
{
    Run run{QString(), QString()};
    QVERIFY(QFile::copy(ORVINE_DATA_DIR "/vantorff.ini", run.dir.filePath("vantorff.ini")));
    QVERIFY(QFile::copy(ORVINE_DATA_DIR "/places.txt", run.dir.filePath("places.txt")));
    run.start();
    QVERIFY(QTest::qWaitForWindowActive(run.w.get()));
    QCOMPARE(run.screen(), u"35,41,22,139,41,30 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 |  緯度： 経度： |   | 出発地点 | btn_next,mnusyoki,Frame1 | ido_do | globe | 1000"_s);
    QCOMPARE((QList<Point>{run.m.init, run.m.bk}), QList<Point>(2, TOKYO));
    QCOMPARE(QStringList({run.m.init_place, run.m.dep_place, run.m.bk_place, run.m.pt_place}), QStringList(4, u"東京"_s));
    QCOMPARE(run.m.list_file, installed_settings().list_file);
    // Centred before the first show; the platform's frame may then shift it by its border.
    const QPoint off = run.w->geometry().center() - run.w->screen()->geometry().center();
    QVERIFY2(qAbs(off.x()) <= 4 && qAbs(off.y()) <= 30, qPrintable(QString("%1,%2").arg(off.x()).arg(off.y())));
    run.trigger("mnuver");
    QCOMPARE(run.dialogs.texts(), QStringList({version_text(VersionBoxFrom::MainWindow)}));
    QCOMPARE(run.sound.plays, 1);
    run.dialogs.clear();

    // No result: nothing to copy, and Escape leaves nothing.
    auto* compass = run.c<QWidget>("compass");
    const QString no_result = compass->accessibleDescription();
    QVERIFY(!no_result.isEmpty());
    QCOMPARE(QAccessible::queryAccessibleInterface(compass)->role(), QAccessible::Graphic);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("kept");
    QTest::keyClick(run.w.get(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(run.w.get(), Qt::Key_Escape);
    QCOMPARE(clipboard->text(), u"kept"_s);
    QVERIFY(run.w->isVisible() && run.ended == 0);

    run.press_return("btn_next");
    QCOMPARE(run.screen(), u"35,41,22,139,41,30 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 |  緯度： 経度： |   | 目的地点 | btn_return,btn_cal,Frame1 | btn_end | globe | 0000"_s);
    run.set_bars(NEW_YORK);
    run.press_return("btn_cal");
    QCOMPARE(run.screen(), u"40,42,51,-74,0,21 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 | 不明 緯度：  40度42分51秒 経度：  -74度0分21秒 |  25.1014 度    北北東（丑）  10842.64 Ｋｍ | 目的地点 | btn_return,btn_cal,btn_kiro,Frame1 | btn_return | figure | 0001"_s);
    QCOMPARE(QStringList({run.m.res_direction, run.m.res_distance}), QStringList({TO_NEW_YORK, NEW_YORK_KM}));
    QCOMPARE(run.m.dst, (Point{40, 42, 51, -74, 0, -21}));
    QCOMPARE(run.figure()->arc_start, 3 * 3.141592654 / 12);
    QCOMPARE(run.pixel(IN_NNE_PIE), FILL);

    // The result is copied as one line; screen readers hear it from the figure and hear
    // each result with its caption.
    const QString line = u"方位　"_s + TO_NEW_YORK + u"\t距離　"_s + NEW_YORK_KM;
    QTest::keyClick(run.w.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), line);
    clipboard->clear();
    QCOMPARE(copy_by_menu(run.c<QLabel>("lb_dis")), u"copied"_s);
    QCOMPARE(clipboard->text(), line);
    QCOMPARE(compass->accessibleDescription(), QString(line).replace('\t', u"、"_s));
    for (auto [caption, result] : {std::pair{"Label18", "lb_cal"}, std::pair{"Label5", "lb_dis"}}) {
        const auto labels = QAccessible::queryAccessibleInterface(run.c<QLabel>(result))->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->object(), run.c<QLabel>(caption));
    }

    // Return trips swap the pair; back in departure entry the western departure is in entry form.
    run.click("btn_kiro");
    QCOMPARE(run.screen(), u"35,41,22,139,41,30 | 不明 緯度：  40度42分51秒 経度：  -74度0分21秒 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 |  332.962 度    北北西（亥）  10842.64 Ｋｍ | 目的地点 | btn_return,btn_cal,btn_kiro,Frame1 | btn_return | figure | 0001"_s);
    run.click("btn_kiro");
    QCOMPARE(run.screen(), u"40,42,51,-74,0,21 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 | 不明 緯度：  40度42分51秒 経度：  -74度0分21秒 |  25.1014 度    北北東（丑）  10842.64 Ｋｍ | 目的地点 | btn_return,btn_cal,btn_kiro,Frame1 | btn_return | figure | 0001"_s);
    run.click("btn_kiro");

    // Refused destinations (the western departure itself, then its antipode) keep the result.
    run.set_bars(NEW_YORK);
    run.click("btn_cal");
    QCOMPARE(run.screen(), u"40,42,51,-74,0,21 | 不明 緯度：  40度42分51秒 経度：  -74度0分21秒 |  緯度： 経度： |  332.962 度    北北西（亥）  10842.64 Ｋｍ | 目的地点 | btn_return,btn_cal,btn_kiro,Frame1 | btn_return | figure | 0001"_s);
    run.set_bars(Point{-40, 42, 51, 105, 59, 39});
    run.click("btn_cal");
    QCOMPARE(run.screen(), u"-40,42,51,105,59,39 | 不明 緯度：  40度42分51秒 経度：  -74度0分21秒 |  緯度： 経度： |  332.962 度    北北西（亥）  10842.64 Ｋｍ | 目的地点 | btn_return,btn_cal,btn_kiro,Frame1 | btn_return | figure | 0001"_s);
    QCOMPARE(run.dialogs.texts(), QStringList({u"同一地点です。方位の計算はできません。"_s,
                                               u"ちょうど地球の正反対となります。\r\r               計算不能です。"_s}));
    QCOMPARE(run.m.res_direction, run.text("lb_cal"));
    run.dialogs.clear();
    run.click("btn_return");
    QCOMPARE(run.screen(), u"40,42,51,-74,0,21 | 不明 緯度：  40度42分51秒 経度：  -74度0分21秒 |  緯度： 経度： |   | 出発地点 | btn_next,mnusyoki,Frame1 | btn_next | globe | 1000"_s);
    QCOMPARE((QList<Point>{run.m.dep, run.m.dst}), (QList<Point>{NEW_YORK, Point{-40, 42, 51, 105, 59, 39}}));
    QCOMPARE(run.m.res_direction, QString());
    QCOMPARE(compass->accessibleDescription(), no_result);
    QCOMPARE(copy_by_menu(run.c<QLabel>("lb_cal")), u"disabled"_s);

    run.trigger("mnusyoki");
    QCOMPARE(run.screen(), u"35,41,22,139,41,30 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 |  緯度： 経度： |   | 出発地点 | btn_next,mnusyoki,Frame1 | btn_next | globe | 1000"_s);
    // A start-up point registered since then is the one restored.
    run.m.init = OSAKA;
    run.m.init_place = u"大阪"_s;
    run.trigger("mnusyoki");
    QCOMPARE(QStringList({run.m.dep_place, run.m.pt_place, run.m.bk_place}), QStringList(3, u"大阪"_s));
    run.click("btn_next");
    QCOMPARE(run.screen(), u"34,41,38,135,30,4 | 大阪 緯度：  34度41分38秒 経度：  135度30分4秒 |  緯度： 経度： |   | 目的地点 | btn_return,btn_cal,Frame1 | btn_end | globe | 0000"_s);
    QVERIFY(run.dialogs.calls.empty());
}

void TestForm1::start_up_failure_data()
{
    QTest::addColumn<QString>("settings");  // null: no file
    QTest::addColumn<QString>("says");
    QTest::addColumn<QString>("list");      // the place list in use afterwards
    QTest::newRow("missing") << QString() << u"が見つかりません"_s << "places.txt";
    QTest::newRow("letters in a number") << u"\"mylist.txt\",\"東京\",3x,41,22,139,41,30\r\n"_s << u"第3項目"_s
                                         << "mylist.txt";
    QTest::newRow("no list name") << u"\"\",\"東京\",35,41,22,139,41,30\r\n"_s << u"第1項目"_s << "places.txt";
}

// A message, the installed start-up point, the user's list kept when its name could be read,
// and the damaged file untouched until a start-up registration the user confirms.
void TestForm1::start_up_failure()
{
    QFETCH(QString, settings);
    QFETCH(QString, says);
    QFETCH(QString, list);
    Run run(settings);
    const QString ini = run.dir.filePath("vantorff.ini");
    write_bytes(run.dir.filePath("mylist.txt"), cp932(u"\"京都\",35,0,41,135,46,5\r\n"_s));
    const QByteArray before = read_bytes(ini);
    run.start();
    QCOMPARE(run.dialogs.calls.size(), std::size_t(1));
    const QString message = run.dialogs.calls[0].text;
    const QString starts = list == "mylist.txt"
        ? u"地点一覧ファイルは設定ファイルにある「mylist.txt」を使います。"
          u"初期設定の地名と地点はインストール時の初期設定（東京）で起動します。"_s
        : u"インストール時の初期設定で起動します。"_s;
    QVERIFY2(message.contains("vantorff.ini") && message.contains(says) && message.endsWith(starts), qPrintable(message));
    QCOMPARE((QList<Point>{run.bars(), run.m.init}), QList<Point>(2, TOKYO));
    QCOMPARE(run.text("splace"), u"東京"_s);
    QCOMPARE(run.m.list_file, list);
    run.calculate(TOKYO, NEW_YORK);
    QCOMPARE(run.text("lb_cal"), TO_NEW_YORK);
    QCOMPARE(read_bytes(ini), before);

    run.click("btn_return");
    run.trigger("mnulist");
    QWidget* form2 = shown_window("Form2");
    QVERIFY(form2);
    QCOMPARE(control<QListWidget>(form2, "List1")->item(0)->text(), list == "mylist.txt" ? u"京都"_s : u"東京"_s);
    run.dialogs.clear();
    run.dialogs.answers = {false};
    QTest::mouseClick(control<QPushButton>(form2, "Command4"), Qt::LeftButton);
    QCOMPARE(read_bytes(ini), before);
    run.dialogs.answers = {true, true};
    QTest::mouseClick(control<QPushButton>(form2, "Command4"), Qt::LeftButton);
    const bool damaged = !settings.isNull();
    QCOMPARE(run.dialogs.calls.size(), std::size_t(damaged ? 3 : 2));
    if (damaged) {
        QVERIFY2(run.dialogs.calls[0].text.contains(u"」は読み込めなかったため、初期設定登録をすると新しい内容で置き換えます。"_s)
                     && run.dialogs.calls[0].text.contains(u"地点一覧ファイル名「"_s + list + u"」は新しい設定ファイルに引き継ぎます。"_s),
                 qPrintable(run.dialogs.calls[0].text));
    }
    QCOMPARE(read_bytes(ini), cp932(u"\""_s + list + u"\",\"東京\",35,41,22,139,41,30\r\n"_s));
}

void TestForm1::departure_name_data()
{
    QTest::addColumn<QString>("places");  // null: no file
    QTest::addColumn<Point>("departure");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("messages");
    QTest::newRow("matching coordinates keep the name") << PLACES << TOKYO << u"東京"_s << 0;
    QTest::newRow("one second moved") << PLACES << Point{35, 41, 23, 139, 41, 30} << UNKNOWN << 0;
    QTest::newRow("name not in the list") << u"\"大阪\",34,41,38,135,30,4\r\n"_s << ONE_TO_SIX << u"東京"_s << 0;
    QTest::newRow("second record of the name differs")
        << PLACES + u"\"東京\",35,41,22,139,41,31\r\n"_s << TOKYO << UNKNOWN << 0;
    QTest::newRow("missing place list skips the check") << QString() << ONE_TO_SIX << u"東京"_s << 0;
    QTest::newRow("damaged list is reported once") << u"\"東京\",35,x1,22,139,41,30\r\n"_s << ONE_TO_SIX << u"東京"_s << 1;
}

// 次へ fixes the departure and keeps its name only while the place list agrees with it.
void TestForm1::departure_name()
{
    QFETCH(QString, places);
    QFETCH(Point, departure);
    QFETCH(QString, name);
    QFETCH(int, messages);
    Run run(TOKYO_SETTINGS, places);
    run.start();
    run.set_bars(departure);
    run.click("btn_next");
    QCOMPARE(int(run.dialogs.calls.size()), messages);
    QVERIFY(!messages || run.dialogs.calls[0].text.contains("places.txt"));
    QCOMPARE(QStringList({run.text("splace"), run.m.dep_place, run.m.bk_place}),
             QStringList({name, name, name == UNKNOWN ? UNKNOWN : u"東京"_s}));
    QCOMPARE(run.text("lbido1"), u"緯度：  %1度%2分%3秒"_s.arg(departure.ido_do).arg(departure.ido_hun).arg(departure.ido_byo));
    QCOMPARE((QList<Point>{run.m.dep, run.m.pt}), QList<Point>(2, departure));
    run.set_bars(NEW_YORK);
    run.click("btn_cal");
    QVERIFY(!run.text("lb_cal").isEmpty());
    run.click("btn_return");
    run.click("btn_next");
    QCOMPARE(int(run.dialogs.calls.size()), messages);
}

void TestForm1::arrow_points_east()
{
    Run run;
    run.start();
    run.calculate(Point{0, 0, 0, 0, 0, 0}, Point{0, 0, 0, 90, 0, 0});
    QCOMPARE(run.text("lb_cal"), u" 90 度    東（卯）"_s);
    QCOMPARE(QPoint(run.figure()->tip.x, run.figure()->tip.y), QPoint(6850, 3450));
    // Base points lie 0.85 degrees either side of the bearing, 1280 twips out: 19 twips off the axis.
    QCOMPARE(run.figure()->base1.y, 3450 - 19);
    QCOMPARE(run.figure()->base2.y, 3450 + 19);
    QVERIFY(run.pixel({60, 10}) != FILL);
    QCOMPARE(run.pixel({-60, -10}), FILL);
    QCOMPARE(run.pixel({0, 60}), FILL);
    QVERIFY(run.pixel({90, 0}).lightness() < 64);  // the shaft
}

void TestForm1::return_trip_takes_moved_bars()
{
    Run run;
    run.start();
    run.calculate(SYDNEY, TOKYO);
    run.set_bars(OSAKA);
    run.click("btn_kiro");
    QCOMPARE(run.m.dep, OSAKA);
    QCOMPARE(run.screen(), u"-33,52,4,151,12,26 | 不明 緯度：  34度41分38秒 経度：  135度30分4秒 | 不明 緯度：  -33度52分4秒 経度：  151度12分26秒 |  166.171 度    南（午）  7792.923 Ｋｍ | 目的地点 | btn_return,btn_cal,btn_kiro,Frame1 | btn_return | figure | 0001"_s);
}

// Every way another window hands control back, in an order a user might meet them.
void TestForm1::hand_overs()
{
    Run run;
    run.start();
    run.hand_over([](Module1& m) {  // a point taken during departure entry
        m.pt = Point{26, 12, 47, 127, 40, 43};
        m.pt_place = UNKNOWN;
        m.pt_taken = 1;
    });
    QCOMPARE(run.screen(), u"26,12,47,127,40,43 | 不明 緯度：  26度12分47秒 経度：  127度40分43秒 |  緯度： 経度： |   | 出発地点 | btn_next,mnusyoki,Frame1 | ido_do | globe | 1100"_s);
    QCOMPARE(run.m.dep_place, UNKNOWN);
    run.set_bars(OSAKA);
    run.hand_over([](Module1& m) {  // nothing taken: the saved copy comes back
        m.pt_taken = 0;
        m.bk = ONE_TO_SIX;
        m.bk_place = u"東京"_s;
    });
    QCOMPARE(run.screen(), u"1,2,3,4,5,6 | 東京 緯度：  1度2分3秒 経度：  4度5分6秒 |  緯度： 経度： |   | 出発地点 | btn_next,mnusyoki,Frame1 | ido_do | globe | 1000"_s);
    QCOMPARE(run.m.dep_place, u"東京"_s);

    run.trigger("mnulist");
    QWidget* form2 = shown_window("Form2");
    QVERIFY(form2 && !run.w->isVisible());
    QCOMPARE(run.m.pt, ONE_TO_SIX);
    QCOMPARE(run.m.pt_place, u"東京"_s);
    QTest::mouseClick(control<QPushButton>(form2, "btncan"), Qt::LeftButton);
    QVERIFY(run.w->isVisible() && !form2->isVisible());
    QCOMPARE(run.screen(), u"1,2,3,4,5,6 | 東京 緯度：  1度2分3秒 経度：  4度5分6秒 |  緯度： 経度： |   | 出発地点 | btn_next,mnusyoki,Frame1 | ido_do | globe | 1000"_s);

    // Nothing taken in destination entry after a result: the figure stays, the departure
    // summary shows the stored departure.
    run.calculate(TOKYO, NEW_YORK);
    run.hand_over([](Module1& m) {
        m.pt = m.bk = Point{10, 20, 30, 40, 50, 0};
        m.pt_place = m.bk_place = UNKNOWN;
    });
    QCOMPARE(run.screen(), u"10,20,30,40,50,0 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 |  緯度： 経度： |   | 目的地点 | btn_return,btn_cal,btn_kiro,Frame1 | ido_do | figure | 0001"_s);
    QVERIFY(QTest::qWaitForWindowExposed(run.w.get()));
    QCOMPARE(run.pixel(IN_NNE_PIE), FILL);
    run.hand_over([](Module1& m) {  // a new destination replaces the result
        m.pt = OSAKA;
        m.pt_place = u"大阪"_s;
        m.pt_taken = m.dest_taken = 1;
    });
    QCOMPARE(run.screen(), u"34,41,38,135,30,4 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 | 大阪 緯度：  34度41分38秒 経度：  135度30分4秒 |   | 目的地点 | btn_return,btn_cal,btn_kiro,Frame1 | ido_do | globe | 0110"_s);
    run.hand_over([](Module1& m) {  // a destination and its registered name, no result shown
        m.pt = NEW_YORK;
        m.pt_place = u"ニューヨーク"_s;
    });
    QCOMPARE(run.screen(), u"40,42,51,-74,0,21 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 | ニューヨーク 緯度：  40度42分51秒 経度：  -74度0分21秒 |   | 目的地点 | btn_return,btn_cal,btn_kiro,Frame1 | ido_do | globe | 0110"_s);
    run.click("btn_cal");
    QCOMPARE(run.text("mplace"), u"ニューヨーク"_s);
    run.bar(5)->setValue(22);
    run.click("btn_cal");
    QCOMPARE(run.screen(), u"40,42,51,-74,0,22 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 | 不明 緯度：  40度42分51秒 経度：  -74度0分22秒 |  25.1015 度    北北東（丑）  10842.63 Ｋｍ | 目的地点 | btn_return,btn_cal,btn_kiro,Frame1 | btn_return | figure | 0101"_s);

    // An excursion cancelled after the result: the result is shown again, the bars and
    // 方位表示 locked until the user leaves for another window.
    run.hand_over([](Module1& m) { m.pt = m.bk = NEW_YORK; });
    QCOMPARE(run.screen(), u"40,42,51,-74,0,21 | 東京 緯度：  35度41分22秒 経度：  139度41分30秒 | ニューヨーク 緯度：  40度42分51秒 経度：  -74度0分21秒 |  25.1015 度    北北東（丑）  10842.63 Ｋｍ | 目的地点 | btn_return,btn_kiro | - | figure | 0101"_s);
    run.trigger("mnujap");
    QCOMPARE(run.m.map_kind, 0);
    QCOMPARE(run.m.pt, NEW_YORK);
    QCOMPARE(run.m.pt_place, u"ニューヨーク"_s);
    QVERIFY(run.enabled("btn_cal") && run.enabled("Frame1"));
    QVERIFY(shown_window("frmjpmap") && !run.w->isVisible());
    run.trigger("mnuwor");
    QCOMPARE(run.m.map_kind, 1);
    shown_window("frmjpmap")->hide();
    QVERIFY(run.dialogs.calls.empty());
}

void TestForm1::ending()
{
    for (const char* way : {"btn_end", "mnuend", "close box"}) {
        Run run;
        run.start();
        if (way[0] == 'b')
            run.click(way);
        else if (way[0] == 'm')
            run.trigger(way);
        else
            run.w->close();
        QVERIFY2(run.ended == 1 && !run.w->isVisible() && run.dialogs.calls.empty(), way);
    }
}

QTEST_MAIN(TestForm1)
#include "test_form1.moc"
