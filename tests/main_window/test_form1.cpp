// The main window on real files in a temporary program directory.
#include "geodesy/coordinates.h"
#include "main_window/compass_canvas.h"
#include "controls/dms_bars.h"
#include "main_window/form1.h"
#include "files/settings_file.h"
#include "place_list/version_box.h"
#include "platform/fake_dialogs.h"
#include "resources/window_builder.h"
#include "shared_state/module1.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace orvine;
using namespace Qt::StringLiterals;

namespace {

const QString TOKYO_SETTINGS = u"\"places.txt\",\"東京\",35,41,22,139,41,30\r\n"_s;
const QString PLACES = u"\"東京\",35,41,22,139,41,30\r\n"
                       u"\"大阪\",34,41,38,135,30,4\r\n"
                       u"\"ニューヨーク\",40,42,51,-74,0,21\r\n"_s;
const Point TOKYO{35, 41, 22, 139, 41, 30};
const Point OSAKA{34, 41, 38, 135, 30, 4};
const Point NEW_YORK{40, 42, 51, -74, 0, 21};
const Point SYDNEY{-33, 52, 4, 151, 12, 26};
const Point ONE_TO_SIX{1, 2, 3, 4, 5, 6};
const QString TO_NEW_YORK = u" 25.1014 度    北北東（丑）"_s;
const QString FROM_NEW_YORK = u" 332.962 度    北北西（亥）"_s;
const QString NEW_YORK_KM = u" 10842.64 Ｋｍ"_s;
const QString UNKNOWN = u"不明"_s;
const QColor FILL(128, 128, 255);
// The buttons and the menu item whose states switch with the entry phase.
const QStringList PHASE_CONTROLS{"btn_next", "btn_return", "btn_cal", "btn_kiro", "mnusyoki"};
// lbido2, lbkei2, mplace, lb_cal, lb_dis with no destination shown.
const QStringList NO_DESTINATION{u"緯度："_s, u"経度："_s, "", "", ""};

void write_cp932(const QString& path, const QString& text)
{
    const QByteArray bytes = QStringEncoder("windows-31j").encode(text);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray read_bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// The echo labels of a point: its six numbers as typed.
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

// One run of the program: a program directory with the two files (a null text leaves
// the file out), Module1, recording dialogs and the main window.
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
            write_cp932(dir.filePath("vantorff.ini"), settings);
        if (!places.isNull())
            write_cp932(dir.filePath("places.txt"), places);
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
    QStringList echoes() { return texts({"lbido_do", "lbido_hun", "lbido_byo", "lbkei_do", "lbkei_hun", "lbkei_byo"}); }
    QStringList destination_and_result() { return texts({"lbido2", "lbkei2", "mplace", "lb_cal", "lb_dis"}); }
    QString frame_title() { return c<QGroupBox>("Frame1")->title(); }
    QScrollBar* bar(int i) { return c<QScrollBar>(DmsBars::NAMES[static_cast<std::size_t>(i)]); }
    Point bars()
    {
        auto v = [this](int i) { return static_cast<std::int16_t>(bar(i)->value()); };
        return Point{v(0), v(1), v(2), v(3), v(4), v(5)};
    }
    // As the user leaves the bars: each one set to its value.
    void set_bars(const Point& p)
    {
        const std::int16_t v[] = {p.ido_do, p.ido_hun, p.ido_byo, p.kei_do, p.kei_hun, p.kei_byo};
        for (int i = 0; i < 6; ++i)
            bar(i)->setValue(v[i]);
    }
    // start_mode, pt_taken, dest_taken, result_shown.
    QList<int> flags() { return {m.start_mode, m.pt_taken, m.dest_taken, m.result_shown}; }
    void click(const char* button) { QTest::mouseClick(c<QPushButton>(button), Qt::LeftButton); }
    void trigger(const char* item) { c<QAction>(item)->trigger(); }
    bool enabled(const char* name)
    {
        QWidget* widget = w->findChild<QWidget*>(name);
        return widget ? widget->isEnabled() : c<QAction>(name)->isEnabled();
    }
    QStringList enabled_among(const QStringList& names)
    {
        QStringList on;
        for (const QString& n : names)
            if (enabled(qPrintable(n)))
                on << n;
        return on;
    }
    const std::optional<CompassFigure>& figure() { return c<CompassCanvas>("compass")->figure(); }
    bool globe_shown() { return c<QLabel>("Image1")->isVisible(); }
    // Departure entered, 次へ, destination entered, 方位表示.
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
    void start_up_shows_the_settings_point();
    void start_up_failure_gives_message_and_defaults_data();
    void start_up_failure_gives_message_and_defaults();
    void next_fixes_departure_and_checks_its_name_data();
    void next_fixes_departure_and_checks_its_name();
    void damaged_place_list_is_reported_once();
    void result_texts_and_figure();
    void result_by_keyboard_copied_and_described();
    void arrow_points_along_the_bearing_data();
    void arrow_points_along_the_bearing();
    void refusal_after_a_result_keeps_it_data();
    void refusal_after_a_result_keeps_it();
    void return_trip_takes_moved_bars();
    void back_restores_departure_entry();
    void reset_to_start_up_point();
    void activation_departure_cases();
    void activation_destination_cases();
    void activation_cancel_in_destination_entry();
    void leaving_for_the_other_windows_and_back();
    void ending_data();
    void ending();
    void end_to_end_from_installed_files();
};

void TestForm1::start_up_shows_the_settings_point()
{
    Run run(u"\"places.txt\",\"大阪\",34,41,38,-135,30,4\r\n"_s);
    run.start();
    const Point osaka_west{34, 41, 38, -135, 30, 4};
    QVERIFY(run.dialogs.calls.empty());
    QCOMPARE((QList<Point>{run.bars(), run.m.init, run.m.bk}), QList<Point>(3, osaka_west));
    QCOMPARE(run.echoes(), numbers(osaka_west));
    QCOMPARE(run.texts({"lbido1", "lbkei1", "splace"}),
             QStringList({u"緯度：  34度41分38秒"_s, u"経度：  -135度30分4秒"_s, u"大阪"_s}));
    QCOMPARE(run.destination_and_result(), NO_DESTINATION);
    QCOMPARE(run.frame_title(), u"出発地点"_s);
    QCOMPARE(run.w->focusWidget(), run.bar(0));
    QVERIFY(run.globe_shown());
    QVERIFY(!run.figure());
    QCOMPARE(run.m.list_file, QString("places.txt"));
    QCOMPARE(QStringList({run.m.init_place, run.m.dep_place, run.m.bk_place, run.m.pt_place}),
             QStringList(4, u"大阪"_s));
    QCOMPARE(run.flags(), (QList<int>{1, 0, 0, 0}));
    // Centred before the first show; the platform's frame may then shift it by its border.
    const QPoint off = run.w->geometry().center() - run.w->screen()->geometry().center();
    QVERIFY2(qAbs(off.x()) <= 4 && qAbs(off.y()) <= 30, qPrintable(QString("%1,%2").arg(off.x()).arg(off.y())));
}

void TestForm1::start_up_failure_gives_message_and_defaults_data()
{
    QTest::addColumn<QString>("settings");  // null: no file; U+FEFF first: saved as UTF-8
    QTest::addColumn<QString>("says");
    QTest::addColumn<QString>("list");      // the place list in use afterwards
    QTest::newRow("missing") << QString() << u"が見つかりません"_s << "places.txt";
    QTest::newRow("letters in a number") << u"\"mylist.txt\",\"東京\",3x,41,22,139,41,30\r\n"_s << u"第3項目"_s
                                         << "mylist.txt";
    QTest::newRow("seconds 60 out of range") << u"\"mylist.txt\",\"東京\",35,41,22,139,41,60\r\n"_s << u"範囲"_s
                                             << "mylist.txt";
    QTest::newRow("cut short") << u"\"mylist.txt\",\"東京\",35,41\r\n"_s << u"途中で切れて"_s << "mylist.txt";
    QTest::newRow("UTF-8 with a byte-order mark") << u"\uFEFF\"mylist.txt\",\"東京\",35,41,22,139,41,30\r\n"_s
                                                  << u"UTF-8 で保存されています"_s << "mylist.txt";
    QTest::newRow("no list name") << u"\"\",\"東京\",35,41,22,139,41,30\r\n"_s << u"第1項目"_s << "places.txt";
}

// The user's own list stays in use; registering a start-up point keeps it, and asks
// before it replaces a file that could not be read.
void TestForm1::start_up_failure_gives_message_and_defaults()
{
    QFETCH(QString, settings);
    QFETCH(QString, says);
    QFETCH(QString, list);
    Run run(settings.startsWith(QChar(0xFEFF)) ? QString() : settings);
    const QString ini = run.dir.filePath("vantorff.ini");
    if (settings.startsWith(QChar(0xFEFF))) {
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(settings.toUtf8()) > 0);
    }
    write_cp932(run.dir.filePath("mylist.txt"), u"\"京都\",35,0,41,135,46,5\r\n"_s);
    const QByteArray before = read_bytes(ini);
    run.start();
    QCOMPARE(run.dialogs.calls.size(), std::size_t(1));
    const QString message = run.dialogs.calls[0].text;
    const QString starts = list == "mylist.txt"
        ? u"地点一覧ファイルは設定ファイルにある「mylist.txt」を使います。"
          u"初期設定の地名と地点はインストール時の初期設定（東京）で起動します。"_s
        : u"インストール時の初期設定で起動します。"_s;
    QVERIFY2(message.contains("vantorff.ini") && message.contains(says) && message.endsWith(starts),
             qPrintable(message));
    QCOMPARE(run.bars(), TOKYO);
    QCOMPARE(run.m.init, TOKYO);
    QCOMPARE(run.text("splace"), u"東京"_s);
    QCOMPARE(run.m.list_file, list);
    // The damaged file stays as it was, and the program works from the defaults.
    QCOMPARE(read_bytes(ini), before);
    run.calculate(TOKYO, NEW_YORK);
    QCOMPARE(run.text("lb_cal"), TO_NEW_YORK);

    run.click("btn_return");
    run.trigger("mnulist");
    QWidget* form2 = shown_window("Form2");
    QVERIFY(form2);
    QCOMPARE(control<QListWidget>(form2, "List1")->item(0)->text(), list == "mylist.txt" ? u"京都"_s : u"東京"_s);
    const bool damaged = !settings.isNull();
    run.dialogs.clear();
    run.dialogs.answers = {false};
    QTest::mouseClick(control<QPushButton>(form2, "Command4"), Qt::LeftButton);
    QCOMPARE(read_bytes(ini), before);
    run.dialogs.answers = {true, true};
    QTest::mouseClick(control<QPushButton>(form2, "Command4"), Qt::LeftButton);
    QCOMPARE(run.dialogs.calls.size(), std::size_t(damaged ? 3 : 2));
    if (damaged) {
        QVERIFY2(run.dialogs.calls[0].text.contains(u"」は読み込めなかったため、初期設定登録をすると新しい内容で置き換えます。"_s)
                     && run.dialogs.calls[0].text.contains(u"地点一覧ファイル名「"_s + list + u"」は新しい設定ファイルに引き継ぎます。"_s),
                 qPrintable(run.dialogs.calls[0].text));
    }
    QCOMPARE(read_bytes(ini), QStringEncoder("windows-31j").encode(u"\""_s + list + u"\",\"東京\",35,41,22,139,41,30\r\n"_s));
}

void TestForm1::next_fixes_departure_and_checks_its_name_data()
{
    QTest::addColumn<QString>("places");  // null: no file
    QTest::addColumn<Point>("departure");
    QTest::addColumn<QString>("name");
    QTest::newRow("matching coordinates keep the name") << PLACES << TOKYO << u"東京"_s;
    QTest::newRow("one second moved") << PLACES << Point{35, 41, 23, 139, 41, 30} << UNKNOWN;
    QTest::newRow("name not in the list") << u"\"大阪\",34,41,38,135,30,4\r\n"_s << ONE_TO_SIX << u"東京"_s;
    QTest::newRow("second record of the name differs")
        << PLACES + u"\"東京\",35,41,22,139,41,31\r\n"_s << TOKYO << UNKNOWN;
    QTest::newRow("missing place list skips the check") << QString() << ONE_TO_SIX << u"東京"_s;
}

void TestForm1::next_fixes_departure_and_checks_its_name()
{
    QFETCH(QString, places);
    QFETCH(Point, departure);
    QFETCH(QString, name);
    Run run(TOKYO_SETTINGS, places);
    run.start();
    run.set_bars(departure);
    run.click("btn_next");
    QVERIFY(run.dialogs.calls.empty());
    QCOMPARE(QStringList({run.text("splace"), run.m.dep_place}), QStringList(2, name));
    if (name == UNKNOWN)
        QCOMPARE(run.m.bk_place, name);
    QCOMPARE(run.text("lbido1"), QString::fromStdString(coordinate_text(Axis::Latitude, departure.ido_do,
                                                                        departure.ido_hun, departure.ido_byo)));
    // The bars still hold the departure until they are moved.
    QCOMPARE((QList<Point>{run.m.dep, run.m.pt, run.bars()}), QList<Point>(3, departure));
    QCOMPARE(run.flags(), (QList<int>{0, 0, 0, 0}));
    QCOMPARE(run.frame_title(), u"目的地点"_s);
    QCOMPARE(run.enabled_among(PHASE_CONTROLS), QStringList({"btn_return", "btn_cal"}));
    QCOMPARE(run.destination_and_result(), NO_DESTINATION);
}

void TestForm1::damaged_place_list_is_reported_once()
{
    Run run(TOKYO_SETTINGS, u"\"東京\",35,x1,22,139,41,30\r\n"_s);
    run.start();
    run.calculate(ONE_TO_SIX, NEW_YORK);
    QCOMPARE(run.dialogs.calls.size(), std::size_t(1));
    QVERIFY(run.dialogs.calls[0].text.contains("places.txt"));
    QCOMPARE(run.text("splace"), u"東京"_s);
    QVERIFY(!run.text("lb_cal").isEmpty());  // the calculation stays usable
    run.click("btn_return");
    run.click("btn_next");
    QCOMPARE(run.dialogs.calls.size(), std::size_t(1));
}

void TestForm1::result_texts_and_figure()
{
    Run run;
    run.start();
    run.calculate(TOKYO, NEW_YORK);
    QVERIFY(run.dialogs.calls.empty());
    QCOMPARE(run.destination_and_result(), QStringList({u"緯度：  40度42分51秒"_s, u"経度：  -74度0分21秒"_s,
                                                            UNKNOWN, TO_NEW_YORK, NEW_YORK_KM}));
    QCOMPARE(QStringList({run.m.res_direction, run.m.res_distance}), QStringList({TO_NEW_YORK, NEW_YORK_KM}));
    QCOMPARE(run.m.dst, (Point{40, 42, 51, -74, 0, -21}));
    QCOMPARE(run.flags(), (QList<int>{0, 0, 0, 1}));
    QCOMPARE(run.enabled_among(PHASE_CONTROLS), QStringList({"btn_return", "btn_cal", "btn_kiro"}));
    QCOMPARE(run.w->focusWidget(), run.c<QWidget>("btn_return"));
    QVERIFY(!run.globe_shown());
    QVERIFY(run.figure());
    // North-north-east: the open sector runs from 3 to 5 twelfths of pi.
    QCOMPARE(run.figure()->arc_start, 3 * 3.141592654 / 12);

    // The figure is kept: hiding and showing the window, and repainting, still show it.
    const QPoint in_the_pie(363 - 60, 230);
    QCOMPARE(run.w->centralWidget()->grab().toImage().pixelColor(in_the_pie), FILL);
    run.hand_over([](Module1&) {});
    QVERIFY(QTest::qWaitForWindowExposed(run.w.get()));
    QCOMPARE(run.w->centralWidget()->grab().toImage().pixelColor(in_the_pie), FILL);
    QVERIFY(!run.globe_shown());
}

// Return presses the focused button, Escape leaves nothing; Ctrl+C and the result labels'
// menu copy the result as one line once there is one; screen readers hear the captions with
// the results and the result from the figure.
void TestForm1::result_by_keyboard_copied_and_described()
{
    Run run;
    run.start();
    QVERIFY(QTest::qWaitForWindowActive(run.w.get()));
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto* compass = run.c<QWidget>("compass");
    const QString no_result = compass->accessibleDescription();
    QVERIFY(!no_result.isEmpty());
    QCOMPARE(QAccessible::queryAccessibleInterface(compass)->role(), QAccessible::Graphic);
    clipboard->setText("kept");
    QTest::keyClick(run.w.get(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(run.w.get(), Qt::Key_Escape);
    QCOMPARE(clipboard->text(), u"kept"_s);
    QVERIFY(run.w->isVisible());
    QCOMPARE(run.ended, 0);

    for (const char* button : {"btn_next", "btn_cal"}) {
        run.set_bars(button == QByteArrayView("btn_next") ? TOKYO : NEW_YORK);
        run.c<QPushButton>(button)->setFocus();
        QTest::keyClick(run.c<QPushButton>(button), Qt::Key_Return);
    }
    QCOMPARE(run.text("lb_cal"), TO_NEW_YORK);
    const QString line = u"方位　"_s + TO_NEW_YORK + u"	距離　"_s + NEW_YORK_KM;
    QTest::keyClick(run.w.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), line);
    clipboard->clear();
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QVERIFY(menu->actions().first()->isEnabled());
        menu->actions().first()->trigger();
        menu->close();
    });
    emit run.c<QLabel>("lb_dis")->customContextMenuRequested(QPoint(2, 2));
    QCOMPARE(clipboard->text(), line);

    QCOMPARE(compass->accessibleDescription(), QString(line).replace('\t', u"、"_s));
    for (auto [caption, result] : {std::pair{"Label18", "lb_cal"}, std::pair{"Label5", "lb_dis"}}) {
        const auto labels = QAccessible::queryAccessibleInterface(run.c<QLabel>(result))->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->object(), run.c<QLabel>(caption));
    }
    run.click("btn_return");
    QCOMPARE(compass->accessibleDescription(), no_result);
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QVERIFY(!menu->actions().first()->isEnabled());
        menu->close();
    });
    emit run.c<QLabel>("lb_cal")->customContextMenuRequested(QPoint(2, 2));
}

void TestForm1::arrow_points_along_the_bearing_data()
{
    QTest::addColumn<Point>("departure");
    QTest::addColumn<Point>("destination");
    QTest::addColumn<QString>("bearing");
    QTest::addColumn<QPoint>("tip");
    QTest::addColumn<QPoint>("open");  // a pixel offset from the centre inside the open sector
    QTest::newRow("B 90 east") << Point{0, 0, 0, 0, 0, 0} << Point{0, 0, 0, 90, 0, 0}
                               << u" 90 度    東（卯）"_s << QPoint(6850, 3450) << QPoint(60, 10);
    QTest::newRow("B 270 west") << Point{0, 0, 0, 90, 0, 0} << Point{0, 0, 0, 0, 0, 0}
                                << u" 270 度    西（酉）"_s << QPoint(4050, 3450) << QPoint(-60, 10);
}

void TestForm1::arrow_points_along_the_bearing()
{
    QFETCH(Point, departure);
    QFETCH(Point, destination);
    QFETCH(QString, bearing);
    QFETCH(QPoint, tip);
    QFETCH(QPoint, open);
    Run run;
    run.start();
    run.calculate(departure, destination);
    QCOMPARE(run.text("lb_cal"), bearing);
    QVERIFY(run.figure());
    QCOMPARE(QPoint(run.figure()->tip.x, run.figure()->tip.y), tip);
    // Base points lie 0.85 degrees either side of the bearing, 1280 twips out: 19 twips off the axis.
    QCOMPARE(qAbs(run.figure()->base1.y - 3450), 19);
    QCOMPARE(run.figure()->base1.y + run.figure()->base2.y, 2 * 3450);

    const QImage image = run.w->centralWidget()->grab().toImage();
    const QPoint centre(363, 230);  // (5450, 3450) twips
    QVERIFY(image.pixelColor(centre + open) != FILL);
    QCOMPARE(image.pixelColor(centre - open), FILL);
    QCOMPARE(image.pixelColor(centre + QPoint(0, 60)), FILL);
    // The arrow's shaft runs through the open sector.
    QVERIFY(image.pixelColor(centre + QPoint(open.x() + (open.x() > 0 ? 30 : -30), 0)).lightness() < 64);
}

void TestForm1::refusal_after_a_result_keeps_it_data()
{
    QTest::addColumn<Point>("departure");
    QTest::addColumn<Point>("first");
    QTest::addColumn<Point>("refused");
    QTest::addColumn<QString>("message");
    const QString same = u"同一地点です。方位の計算はできません。"_s;
    QTest::newRow("same point") << TOKYO << NEW_YORK << TOKYO << same;
    QTest::newRow("same southern point") << SYDNEY << TOKYO << SYDNEY << same;
    QTest::newRow("antipode") << Point{35, 0, 0, 135, 0, 0} << NEW_YORK << Point{-35, 0, 0, -45, 0, 0}
                              << u"ちょうど地球の正反対となります。\r\r               計算不能です。"_s;
}

void TestForm1::refusal_after_a_result_keeps_it()
{
    QFETCH(Point, departure);
    QFETCH(Point, first);
    QFETCH(Point, refused);
    QFETCH(QString, message);
    Run run;
    run.start();
    run.calculate(departure, first);
    const QStringList result = run.texts({"lb_cal", "lb_dis"});
    const TwipsPoint tip = run.figure()->tip;
    QVERIFY(!result[0].isEmpty());

    run.set_bars(refused);
    run.c<QWidget>("ido_do")->setFocus();
    run.click("btn_cal");
    QCOMPARE(run.dialogs.texts(), QStringList({message}));
    QCOMPARE(run.dialogs.calls[0].title, QString("Orvine"));
    QCOMPARE(run.destination_and_result(), NO_DESTINATION.mid(0, 3) + result);
    QCOMPARE(run.m.res_direction, result[0]);
    QVERIFY(run.figure() && run.figure()->tip == tip);
    QVERIFY(run.enabled("btn_kiro"));
    QCOMPARE(run.w->focusWidget(), run.c<QWidget>("btn_return"));
}

void TestForm1::return_trip_takes_moved_bars()
{
    Run run;
    run.start();
    run.calculate(SYDNEY, TOKYO);
    QCOMPARE(run.text("lb_cal").left(4), QString(" 350"));
    QCOMPARE(run.m.dep, (Point{-33, -52, -4, 151, 12, 26}));
    run.set_bars(OSAKA);
    run.click("btn_kiro");
    QCOMPARE(run.m.dep, OSAKA);
    // The southern departure comes back on the bars in entry form.
    QCOMPARE(run.bars(), SYDNEY);
    QCOMPARE(run.echoes(), numbers(SYDNEY));
    QCOMPARE(run.text("lbido1"), u"緯度：  34度41分38秒"_s);
    QVERIFY(run.text("lb_cal").endsWith(u"    南（午）"_s));
}

void TestForm1::back_restores_departure_entry()
{
    Run run;
    run.start();
    const Point sao_paulo{-23, 33, 1, -46, 38, 2};
    run.calculate(sao_paulo, TOKYO);
    QVERIFY(run.figure());
    run.click("btn_return");
    QCOMPARE(run.flags(), (QList<int>{1, 0, 0, 0}));
    QCOMPARE((QList<Point>{run.bars(), run.m.dep, run.m.dst}), (QList<Point>{sao_paulo, sao_paulo, TOKYO}));
    QCOMPARE(run.echoes(), numbers(sao_paulo));
    QCOMPARE(run.enabled_among(PHASE_CONTROLS), QStringList({"btn_next", "mnusyoki"}));
    QCOMPARE(run.w->focusWidget(), run.c<QWidget>("btn_next"));
    QCOMPARE(run.frame_title(), u"出発地点"_s);
    QCOMPARE(run.destination_and_result(), NO_DESTINATION);
    QCOMPARE(run.m.res_direction, QString());
    QVERIFY(!run.figure());
    QVERIFY(run.globe_shown());
}

void TestForm1::reset_to_start_up_point()
{
    Run run;
    run.start();
    run.set_bars(ONE_TO_SIX);
    run.trigger("mnusyoki");
    QCOMPARE(run.bars(), TOKYO);
    QCOMPARE(run.echoes(), numbers(TOKYO));
    QCOMPARE(run.texts({"lbido1", "splace"}), QStringList({u"緯度：  35度41分22秒"_s, u"東京"_s}));

    // A start-up point registered since then is the one restored.
    run.m.init = OSAKA;
    run.m.init_place = u"大阪"_s;
    run.set_bars(ONE_TO_SIX);
    run.trigger("mnusyoki");
    QCOMPARE(run.bars(), OSAKA);
    QCOMPARE(QStringList({run.text("splace"), run.m.dep_place, run.m.pt_place, run.m.bk_place}),
             QStringList(4, u"大阪"_s));
    run.click("btn_next");
    QCOMPARE(run.text("splace"), u"大阪"_s);
    QVERIFY(!run.enabled("mnusyoki"));
}

void TestForm1::activation_departure_cases()
{
    Run run;
    run.start();
    // Case 1: a point handed over during departure entry.
    const Point naha{26, 12, 47, 127, 40, 43};
    run.hand_over([&](Module1& m) {
        m.pt = naha;
        m.pt_place = UNKNOWN;
        m.pt_taken = 1;
    });
    QCOMPARE(run.bars(), naha);
    QCOMPARE(run.echoes(), numbers(naha));
    QCOMPARE(run.texts({"lbido1", "splace"}), QStringList({u"緯度：  26度12分47秒"_s, UNKNOWN}));
    QCOMPARE(run.m.dep_place, UNKNOWN);
    QCOMPARE(run.w->focusWidget(), run.bar(0));
    QCOMPARE(run.flags(), (QList<int>{1, 1, 0, 0}));

    // Case 2: nothing handed over in this phase; the saved copy comes back.
    run.set_bars(ONE_TO_SIX);
    run.hand_over([](Module1& m) {
        m.pt_taken = 0;
        m.pt = m.bk = ONE_TO_SIX;
        m.bk_place = u"東京"_s;
    });
    QCOMPARE(run.bars(), ONE_TO_SIX);
    QCOMPARE(run.texts({"lbkei1", "splace"}), QStringList({u"経度：  4度5分6秒"_s, u"東京"_s}));
    QCOMPARE(run.m.dep_place, u"東京"_s);
    QCOMPARE(run.flags(), (QList<int>{1, 0, 0, 0}));
}

void TestForm1::activation_destination_cases()
{
    Run run;
    run.start();
    run.click("btn_next");
    // Case 5: a destination handed over with its registered name, no result yet.
    run.hand_over([](Module1& m) {
        m.pt = NEW_YORK;
        m.pt_place = u"ニューヨーク"_s;
        m.pt_taken = m.dest_taken = 1;
    });
    QCOMPARE(run.bars(), NEW_YORK);
    QCOMPARE(run.texts({"lbido2", "mplace", "lb_cal", "lbido1", "splace"}),
             QStringList({u"緯度：  40度42分51秒"_s, u"ニューヨーク"_s, "", u"緯度：  35度41分22秒"_s, u"東京"_s}));
    run.click("btn_cal");
    QCOMPARE(run.text("mplace"), u"ニューヨーク"_s);  // the bars still hold the named point
    QCOMPARE(run.flags(), (QList<int>{0, 1, 0, 1}));
    // Moved by one second, the name no longer fits.
    run.bar(5)->setValue(22);
    run.click("btn_cal");
    QCOMPARE(run.text("mplace"), UNKNOWN);
    const QStringList result = run.texts({"lb_cal", "lb_dis"});

    // Case 3: an excursion cancelled after the result: the result is shown again, the bars
    // and 方位表示 stay locked.
    run.hand_over([](Module1& m) { m.pt = m.bk = NEW_YORK; });
    QCOMPARE(run.texts({"lb_cal", "lb_dis"}), result);
    QCOMPARE(run.enabled_among({"btn_cal", "Frame1"}), QStringList());
    QVERIFY(run.figure());
    QCOMPARE(run.flags(), (QList<int>{0, 1, 0, 1}));

    // Case 4: a new destination replaces the result.
    run.hand_over([](Module1& m) {
        m.pt = OSAKA;
        m.pt_place = u"大阪"_s;
        m.dest_taken = 1;
    });
    QCOMPARE(run.bars(), OSAKA);
    QCOMPARE(run.texts({"mplace", "lb_cal", "lb_dis"}), QStringList({u"大阪"_s, "", ""}));
    QCOMPARE(run.flags(), (QList<int>{0, 1, 1, 0}));
    QVERIFY(!run.figure());
    QVERIFY(run.globe_shown());
    QVERIFY(run.dialogs.calls.empty());
}

void TestForm1::activation_cancel_in_destination_entry()
{
    Run run;
    run.start();
    run.calculate(TOKYO, NEW_YORK);
    // Case 6: cancelled with nothing handed over in this phase.
    const Point elsewhere{10, 20, 30, 40, 50, 0};
    run.hand_over([&](Module1& m) {
        m.pt = m.bk = elsewhere;
        m.pt_place = m.bk_place = UNKNOWN;
    });
    QCOMPARE(run.bars(), elsewhere);
    QCOMPARE(run.destination_and_result(), NO_DESTINATION);
    QCOMPARE(run.enabled_among({"btn_cal", "Frame1"}), QStringList({"btn_cal", "Frame1"}));
    QCOMPARE(run.w->focusWidget(), run.bar(0));
    // The drawn figure stays and the flag keeps its value; the departure summary shows the
    // stored departure point.
    QVERIFY(run.figure());
    QCOMPARE(run.flags(), (QList<int>{0, 0, 0, 1}));
    QCOMPARE(run.texts({"lbido1", "lbkei1", "splace"}),
             QStringList({u"緯度：  35度41分22秒"_s, u"経度：  139度41分30秒"_s, u"東京"_s}));
}

void TestForm1::leaving_for_the_other_windows_and_back()
{
    Run run;
    run.start();
    // To the place list and cancelled there: the same point comes back.
    run.set_bars(ONE_TO_SIX);
    run.trigger("mnulist");
    QVERIFY(!run.w->isVisible());
    QWidget* form2 = shown_window("Form2");
    QVERIFY(form2);
    QCOMPARE(run.m.pt, ONE_TO_SIX);
    QCOMPARE(run.m.pt_place, u"東京"_s);
    QTest::mouseClick(control<QPushButton>(form2, "btncan"), Qt::LeftButton);
    QVERIFY(run.w->isVisible());
    QVERIFY(!form2->isVisible());
    QCOMPARE(run.bars(), ONE_TO_SIX);
    QCOMPARE(run.texts({"splace", "lbkei1"}), QStringList({u"東京"_s, u"経度：  4度5分6秒"_s}));

    run.trigger("mnuwor");
    QCOMPARE(run.m.map_kind, 1);
    QWidget* map = shown_window("frmjpmap");
    QVERIFY(map);
    map->hide();

    // In destination entry the destination name goes out and 方位表示 and the bars are freed.
    run.w->show();
    run.calculate(TOKYO, NEW_YORK);
    run.hand_over([](Module1& m) {  // case 3 locks the bars and 方位表示
        m.pt = NEW_YORK;
        m.pt_place = u"ニューヨーク"_s;
        m.pt_taken = 1;
    });
    QVERIFY(!run.enabled("Frame1"));
    run.trigger("mnujap");
    QCOMPARE(run.m.map_kind, 0);
    QCOMPARE(run.m.pt_place, u"ニューヨーク"_s);
    QCOMPARE(run.m.pt, NEW_YORK);
    QCOMPARE(run.enabled_among({"btn_cal", "Frame1"}), QStringList({"btn_cal", "Frame1"}));
    if ((map = shown_window("frmjpmap")))
        map->hide();
}

void TestForm1::ending_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("end button") << "btn_end";
    QTest::newRow("menu item") << "mnuend";
    QTest::newRow("close box") << "";
}

void TestForm1::ending()
{
    QFETCH(QString, way);
    Run run;
    run.start();
    if (way.isEmpty())
        run.w->close();
    else if (way.startsWith("btn"))
        run.click(qPrintable(way));
    else
        run.trigger(qPrintable(way));
    QCOMPARE(run.ended, 1);
    QVERIFY(!run.w->isVisible());
    QVERIFY(run.dialogs.calls.empty());
}

// The whole main use from the files installed with the program, by clicking real widgets.
void TestForm1::end_to_end_from_installed_files()
{
    Run run{QString(), QString()};
    QVERIFY(QFile::copy(ORVINE_DATA_DIR "/vantorff.ini", run.dir.filePath("vantorff.ini")));
    QVERIFY(QFile::copy(ORVINE_DATA_DIR "/places.txt", run.dir.filePath("places.txt")));
    run.start();
    QCOMPARE(run.bars(), TOKYO);
    QCOMPARE(run.text("splace"), u"東京"_s);
    QCOMPARE(run.m.list_file, installed_settings().list_file);
    run.trigger("mnuver");
    QCOMPARE(run.dialogs.texts(), QStringList({version_text(VersionBoxFrom::MainWindow)}));
    QCOMPARE(run.sound.plays, 1);
    run.dialogs.clear();

    run.click("btn_next");
    QCOMPARE(run.frame_title(), u"目的地点"_s);
    run.set_bars(NEW_YORK);
    QCOMPARE(run.echoes(), numbers(NEW_YORK));
    run.click("btn_cal");
    QCOMPARE(run.texts({"lb_cal", "lb_dis"}), QStringList({TO_NEW_YORK, NEW_YORK_KM}));
    QVERIFY(run.figure());

    // The return trip swaps the pair; a second one swaps it back.
    run.click("btn_kiro");
    QCOMPARE(run.texts({"lb_cal", "lb_dis", "splace", "mplace", "lbido1", "lbkei1", "lbido2"}),
             QStringList({FROM_NEW_YORK, NEW_YORK_KM, UNKNOWN, u"東京"_s, u"緯度：  40度42分51秒"_s,
                          u"経度：  -74度0分21秒"_s, u"緯度：  35度41分22秒"_s}));
    QCOMPARE(run.bars(), TOKYO);
    QCOMPARE(run.echoes(), numbers(TOKYO));
    run.click("btn_kiro");
    QCOMPARE(run.texts({"lb_cal", "splace", "mplace"}), QStringList({TO_NEW_YORK, u"東京"_s, UNKNOWN}));
    QCOMPARE(run.bars(), NEW_YORK);
    run.click("btn_kiro");
    QCOMPARE(run.text("lb_cal"), FROM_NEW_YORK);

    run.click("btn_return");
    QCOMPARE(run.bars(), NEW_YORK);
    QCOMPARE(run.text("lb_cal"), QString());
    QVERIFY(!run.figure());
    QVERIFY(run.enabled("mnusyoki"));

    run.trigger("mnusyoki");
    QCOMPARE(run.bars(), TOKYO);
    QCOMPARE(run.text("splace"), u"東京"_s);
    QVERIFY(run.dialogs.calls.empty());
}

QTEST_MAIN(TestForm1)
#include "test_form1.moc"
