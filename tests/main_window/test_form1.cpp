// The main window on real files in a temporary program directory: start-up and its
// failures, the six activation cases after a hand-over, departure and destination entry,
// the result texts and figure, refusals, the return trip, going back and the reset.
#include "geodesy/coordinates.h"
#include "main_window/compass_canvas.h"
#include "main_window/form1.h"
#include "places/settings_file.h"
#include "places/version_box.h"
#include "platform/fake_dialogs.h"
#include "resources/window_builder.h"
#include "shared_state/module1.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace orvine;

namespace {

const QString TOKYO_SETTINGS = QStringLiteral("\"places.txt\",\"東京\",35,41,22,139,41,30\r\n");
const QString PLACES = QStringLiteral("\"東京\",35,41,22,139,41,30\r\n"
                                      "\"大阪\",34,41,38,135,30,4\r\n"
                                      "\"ニューヨーク\",40,42,51,-74,0,21\r\n");
const Point TOKYO{35, 41, 22, 139, 41, 30};
const Point NEW_YORK{40, 42, 51, -74, 0, 21};

void write_cp932(const QString& path, const QString& text)
{
    QStringEncoder sjis("windows-31j");
    const QByteArray bytes = sjis.encode(text);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray read_bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// One run of the program: a program directory with the two files, Module1, recording
// dialogs and the main window.
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
    QScrollBar* bar(int i) { return c<QScrollBar>(DmsBars_names[i]); }
    Point bars()
    {
        auto v = [this](int i) { return static_cast<std::int16_t>(bar(i)->value()); };
        return Point{v(0), v(1), v(2), v(3), v(4), v(5)};
    }
    QStringList echoes()
    {
        QStringList t;
        for (const char* n : {"lbido_do", "lbido_hun", "lbido_byo", "lbkei_do", "lbkei_hun", "lbkei_byo"})
            t << text(n);
        return t;
    }
    // As the user leaves the bars: each one set to its value.
    void set_bars(const Point& p)
    {
        const std::int16_t v[] = {p.ido_do, p.ido_hun, p.ido_byo, p.kei_do, p.kei_hun, p.kei_byo};
        for (int i = 0; i < 6; ++i)
            bar(i)->setValue(v[i]);
    }
    void click(const char* button) { QTest::mouseClick(c<QPushButton>(button), Qt::LeftButton); }
    bool enabled(const char* name) { return w->findChild<QWidget*>(name) ? c<QWidget>(name)->isEnabled()
                                                                         : c<QAction>(name)->isEnabled(); }
    const std::optional<CompassFigure>& figure() { return c<CompassCanvas>("compass")->figure(); }
    // Another window hands control back: Form1 was hidden, Module1 is written, Form1 shown.
    template <class Write>
    void hand_over(Write write)
    {
        w->hide();
        write(m);
        w->show();
    }
    static constexpr const char* DmsBars_names[6] = {"ido_do", "ido_hun", "ido_byo", "kei_do", "kei_hun", "kei_byo"};
};

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    void controls_sit_where_the_layout_puts_them_data();
    void controls_sit_where_the_layout_puts_them();
    void start_up_shows_the_settings_point();
    void start_up_failure_gives_message_and_defaults_data();
    void start_up_failure_gives_message_and_defaults();
    void installed_defaults_match_the_shipped_settings();
    void next_fixes_departure_and_switches_phase();
    void next_name_check_data();
    void next_name_check();
    void damaged_place_list_is_reported_once();
    void result_texts_and_figure();
    void arrow_points_along_the_bearing_data();
    void arrow_points_along_the_bearing();
    void refusal_after_a_result_keeps_it_data();
    void refusal_after_a_result_keeps_it();
    void same_point_after_southern_western_result();
    void destination_name_check();
    void return_trip_twice_restores_the_pair();
    void return_trip_takes_moved_bars();
    void back_restores_departure_entry();
    void reset_to_start_up_point();
    void activation_departure_cases();
    void activation_destination_hand_over_and_result();
    void activation_cancel_in_destination_entry();
    void leaving_steps_before_other_windows();
    void round_trip_through_place_list_cancel();
    void end_by_button_menu_and_close_box();
    void version_box_from_the_menu();
    void end_to_end_from_installed_files();
};

void TestForm1::controls_sit_where_the_layout_puts_them_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    // Twips of the layout / 15, rounded; inside Frame1 relative to the frame.
    QTest::newRow("Frame1") << "Frame1" << QRect(8, 12, 229, 337);
    QTest::newRow("ido_do in frame") << "ido_do" << QRect(20, 28, 17, 213);
    QTest::newRow("kei_byo in frame") << "kei_byo" << QRect(192, 28, 17, 213);
    QTest::newRow("Label1 in frame") << "Label1" << QRect(28, 300, 65, 21);
    QTest::newRow("btn_next") << "btn_next" << QRect(248, 20, 45, 29);
    QTest::newRow("btn_kiro") << "btn_kiro" << QRect(248, 144, 41, 25);
    QTest::newRow("Image1") << "Image1" << QRect(288, 150, 162, 164);
    QTest::newRow("lb_cal") << "lb_cal" << QRect(292, 332, 169, 17);
    QTest::newRow("lb_dis") << "lb_dis" << QRect(292, 356, 169, 17);
    QTest::newRow("lbido1") << "lbido1" << QRect(360, 60, 130, 13);
    QTest::newRow("mplace") << "mplace" << QRect(248, 120, 105, 13);
}

void TestForm1::controls_sit_where_the_layout_puts_them()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    Run run;
    QCOMPARE(run.w->findChild<QWidget*>(name)->geometry(), pixels);
}

void TestForm1::start_up_shows_the_settings_point()
{
    Run run(QStringLiteral("\"places.txt\",\"大阪\",34,41,38,-135,30,4\r\n"));
    run.start();
    QVERIFY(run.dialogs.calls.empty());
    QCOMPARE(run.bars(), (Point{34, 41, 38, -135, 30, 4}));
    QCOMPARE(run.echoes(), QStringList({"34", "41", "38", "-135", "30", "4"}));
    QCOMPARE(run.text("lbido1"), QString::fromUtf8("緯度：  34度41分38秒"));
    QCOMPARE(run.text("lbkei1"), QString::fromUtf8("経度：  -135度30分4秒"));
    QCOMPARE(run.text("splace"), QString::fromUtf8("大阪"));
    QCOMPARE(run.text("mplace"), QString());
    QCOMPARE(run.text("lb_cal"), QString());
    QCOMPARE(run.text("lb_dis"), QString());
    QCOMPARE(run.text("lbido2"), QString::fromUtf8("緯度："));
    QCOMPARE(run.text("lbkei2"), QString::fromUtf8("経度："));
    QCOMPARE(run.c<QGroupBox>("Frame1")->title(), QString::fromUtf8("出発地点"));
    QCOMPARE(run.w->focusWidget(), run.bar(0));
    QVERIFY(run.c<QLabel>("Image1")->isVisible());
    QVERIFY(!run.figure());

    QCOMPARE(run.m.list_file, QString("places.txt"));
    QCOMPARE(run.m.init, (Point{34, 41, 38, -135, 30, 4}));
    QCOMPARE(run.m.bk, run.m.init);
    for (const QString& name : {run.m.init_place, run.m.dep_place, run.m.bk_place, run.m.pt_place})
        QCOMPARE(name, QString::fromUtf8("大阪"));
    QCOMPARE(run.m.start_mode, 1);
    QCOMPARE(run.m.pt_taken + run.m.dest_taken + run.m.result_shown, 0);

    const QRect screen = run.w->screen()->geometry();
    // Centred before the first show; the platform's frame may then shift it by its border.
    QVERIFY(qAbs(run.w->geometry().center().x() - screen.center().x()) <= 4);
    QVERIFY(qAbs(run.w->geometry().center().y() - screen.center().y()) <= 30);
}

void TestForm1::start_up_failure_gives_message_and_defaults_data()
{
    QTest::addColumn<QString>("settings");  // null: no file
    QTest::addColumn<QString>("says");
    QTest::newRow("missing") << QString() << QString::fromUtf8("が見つかりません");
    QTest::newRow("letters in a number") << QString::fromUtf8("\"places.txt\",\"東京\",3x,41,22,139,41,30\r\n")
                                         << QString::fromUtf8("第3項目");
    QTest::newRow("latitude 90 out of range") << QString::fromUtf8("\"places.txt\",\"東京\",90,0,0,139,41,30\r\n")
                                              << QString::fromUtf8("範囲");
    QTest::newRow("cut short") << QString::fromUtf8("\"places.txt\",\"東京\",35,41\r\n")
                               << QString::fromUtf8("途中で切れて");
}

void TestForm1::start_up_failure_gives_message_and_defaults()
{
    QFETCH(QString, settings);
    QFETCH(QString, says);
    Run run(settings);
    const QByteArray before = read_bytes(run.dir.filePath("vantorff.ini"));
    run.start();
    QCOMPARE(run.dialogs.calls.size(), std::size_t(1));
    const QString message = run.dialogs.calls[0].text;
    QVERIFY2(message.contains("vantorff.ini") && message.contains(says), qPrintable(message));
    QVERIFY(message.contains(QString::fromUtf8("インストール時の初期設定で起動します。")));
    QCOMPARE(run.bars(), TOKYO);
    QCOMPARE(run.text("splace"), QString::fromUtf8("東京"));
    QCOMPARE(run.m.list_file, QString("places.txt"));
    QCOMPARE(run.m.init, TOKYO);
    // The damaged file stays as it was, and the program works from the defaults.
    QCOMPARE(read_bytes(run.dir.filePath("vantorff.ini")), before);
    run.click("btn_next");
    run.set_bars(NEW_YORK);
    run.click("btn_cal");
    QCOMPARE(run.text("lb_cal"), QString::fromUtf8(" 25.1014 度    北北東（丑）"));
}

void TestForm1::installed_defaults_match_the_shipped_settings()
{
    QTemporaryDir dir;
    QVERIFY(QFile::copy(ORVINE_DATA_DIR "/vantorff.ini", dir.filePath("vantorff.ini")));
    Module1 m;
    m.program_dir = dir.path();
    FakeDialogs dialogs;
    SilentSound sound;
    Form1 w(m, dialogs, sound, [] {});
    w.Form_Load();
    QVERIFY(dialogs.calls.empty());
    const Settings defaults = Form1::installed_settings();
    QCOMPARE(m.list_file, defaults.list_file);
    QCOMPARE(m.pt_place, defaults.place);
    QCOMPARE(m.pt, defaults.point);
}

void TestForm1::next_fixes_departure_and_switches_phase()
{
    Run run;
    run.start();
    run.click("btn_next");
    QCOMPARE(run.m.start_mode, 0);
    QCOMPARE(run.m.dep, TOKYO);
    QCOMPARE(run.m.pt, TOKYO);
    QCOMPARE(run.text("splace"), QString::fromUtf8("東京"));
    QCOMPARE(run.c<QGroupBox>("Frame1")->title(), QString::fromUtf8("目的地点"));
    QVERIFY(!run.enabled("btn_next"));
    QVERIFY(run.enabled("btn_return"));
    QVERIFY(run.enabled("btn_cal"));
    QVERIFY(!run.enabled("btn_kiro"));
    QVERIFY(!run.enabled("mnusyoki"));
    // The bars still hold the departure until they are moved.
    QCOMPARE(run.bars(), TOKYO);
    QCOMPARE(run.text("lbido2"), QString::fromUtf8("緯度："));
    QVERIFY(run.dialogs.calls.empty());
}

void TestForm1::next_name_check_data()
{
    QTest::addColumn<QString>("places");
    QTest::addColumn<Point>("departure");
    QTest::addColumn<QString>("name");
    QTest::newRow("matching coordinates keep the name") << PLACES << TOKYO << QString::fromUtf8("東京");
    QTest::newRow("one second moved") << PLACES << Point{35, 41, 23, 139, 41, 30} << QString::fromUtf8("不明");
    QTest::newRow("name not in the list") << QString::fromUtf8("\"大阪\",34,41,38,135,30,4\r\n")
                                          << Point{1, 2, 3, 4, 5, 6} << QString::fromUtf8("東京");
    QTest::newRow("second record of the name differs")
        << PLACES + QString::fromUtf8("\"東京\",35,41,22,139,41,31\r\n") << TOKYO << QString::fromUtf8("不明");
    QTest::newRow("missing place list skips the check") << QString() << Point{1, 2, 3, 4, 5, 6}
                                                        << QString::fromUtf8("東京");
}

void TestForm1::next_name_check()
{
    QFETCH(QString, places);
    QFETCH(Point, departure);
    QFETCH(QString, name);
    Run run(TOKYO_SETTINGS, places);
    run.start();
    run.set_bars(departure);
    run.click("btn_next");
    QCOMPARE(run.text("splace"), name);
    QCOMPARE(run.m.dep_place, name);
    QVERIFY(run.dialogs.calls.empty());
    QCOMPARE(run.text("lbido1"), QString::fromStdString(coordinate_text(Axis::Latitude, departure.ido_do,
                                                                        departure.ido_hun, departure.ido_byo)));
    if (name == QString::fromUtf8("不明"))
        QCOMPARE(run.m.bk_place, name);
}

void TestForm1::damaged_place_list_is_reported_once()
{
    Run run(TOKYO_SETTINGS, QString::fromUtf8("\"東京\",35,x1,22,139,41,30\r\n"));
    run.start();
    run.set_bars(Point{1, 2, 3, 4, 5, 6});
    run.click("btn_next");
    QCOMPARE(run.dialogs.calls.size(), std::size_t(1));
    QVERIFY(run.dialogs.calls[0].text.contains("places.txt"));
    QCOMPARE(run.text("splace"), QString::fromUtf8("東京"));
    run.set_bars(NEW_YORK);
    run.click("btn_cal");
    run.click("btn_return");
    run.click("btn_next");
    QCOMPARE(run.dialogs.calls.size(), std::size_t(1));
    QCOMPARE(run.text("lb_cal"), QString());  // cleared by 戻る; the result was shown before
    QCOMPARE(run.m.res_direction, QString());
}

void TestForm1::result_texts_and_figure()
{
    Run run;
    run.start();
    run.click("btn_next");
    run.set_bars(NEW_YORK);
    run.click("btn_cal");
    QVERIFY(run.dialogs.calls.empty());
    QCOMPARE(run.text("lb_cal"), QString::fromUtf8(" 25.1014 度    北北東（丑）"));
    QCOMPARE(run.text("lb_dis"), QString::fromUtf8(" 10842.64 Ｋｍ"));
    QCOMPARE(run.m.res_direction, run.text("lb_cal"));
    QCOMPARE(run.m.res_distance, run.text("lb_dis"));
    QCOMPARE(run.text("lbido2"), QString::fromUtf8("緯度：  40度42分51秒"));
    QCOMPARE(run.text("lbkei2"), QString::fromUtf8("経度：  -74度0分21秒"));
    QCOMPARE(run.text("mplace"), QString::fromUtf8("不明"));
    QCOMPARE(run.m.dst, (Point{40, 42, 51, -74, 0, -21}));
    QCOMPARE(run.m.result_shown, 1);
    QCOMPARE(run.m.dest_taken, 0);
    QVERIFY(run.enabled("btn_kiro"));
    QCOMPARE(run.w->focusWidget(), run.c<QWidget>("btn_return"));
    QVERIFY(!run.c<QLabel>("Image1")->isVisible());
    QVERIFY(run.figure());
    // North-north-east: the open sector runs from 3 to 5 twelfths of pi.
    QCOMPARE(run.figure()->arc_start, 3 * 3.141592654 / 12);

    // The figure is kept: hiding and showing the window, and repainting, still show it.
    const QImage before = run.w->centralWidget()->grab().toImage();
    run.hand_over([](Module1&) {});
    QVERIFY(QTest::qWaitForWindowExposed(run.w.get()));
    QCOMPARE(run.w->centralWidget()->grab().toImage().pixelColor(363 - 60, 230), QColor(128, 128, 255));
    QVERIFY(!run.c<QLabel>("Image1")->isVisible());
    QCOMPARE(before.pixelColor(363 - 60, 230), QColor(128, 128, 255));
}

void TestForm1::arrow_points_along_the_bearing_data()
{
    QTest::addColumn<Point>("departure");
    QTest::addColumn<Point>("destination");
    QTest::addColumn<QString>("bearing");
    QTest::addColumn<int>("tip_x");
    QTest::addColumn<int>("tip_y");
    QTest::addColumn<int>("open_dx");  // a pixel offset from the centre inside the open sector
    QTest::addColumn<int>("open_dy");
    QTest::newRow("B 90 east") << Point{0, 0, 0, 0, 0, 0} << Point{0, 0, 0, 90, 0, 0}
                               << QString::fromUtf8(" 90 度    東（卯）") << 6850 << 3450 << 60 << 10;
    QTest::newRow("B 270 west") << Point{0, 0, 0, 90, 0, 0} << Point{0, 0, 0, 0, 0, 0}
                                << QString::fromUtf8(" 270 度    西（酉）") << 4050 << 3450 << -60 << 10;
}

void TestForm1::arrow_points_along_the_bearing()
{
    QFETCH(Point, departure);
    QFETCH(Point, destination);
    QFETCH(QString, bearing);
    QFETCH(int, tip_x);
    QFETCH(int, tip_y);
    QFETCH(int, open_dx);
    QFETCH(int, open_dy);
    Run run;
    run.start();
    run.set_bars(departure);
    run.click("btn_next");
    run.set_bars(destination);
    run.click("btn_cal");
    QCOMPARE(run.text("lb_cal"), bearing);
    QVERIFY(run.figure());
    QCOMPARE(run.figure()->tip, (TwipsPoint{static_cast<std::int16_t>(tip_x), static_cast<std::int16_t>(tip_y)}));
    // Base points lie 0.85 degrees either side of the bearing, 1280 twips out: 19 twips off the axis.
    QCOMPARE(qAbs(run.figure()->base1.y - 3450), 19);
    QCOMPARE(run.figure()->base1.y + run.figure()->base2.y, 2 * 3450);

    const QImage image = run.w->centralWidget()->grab().toImage();
    const QPoint centre(363, 230);  // (5450, 3450) twips
    const QColor fill(128, 128, 255);
    QVERIFY(image.pixelColor(centre + QPoint(open_dx, open_dy)) != fill);
    QCOMPARE(image.pixelColor(centre - QPoint(open_dx, open_dy)), fill);
    QCOMPARE(image.pixelColor(centre + QPoint(0, 60)), fill);
    // The arrow's shaft runs through the open sector.
    QVERIFY(image.pixelColor(centre + QPoint(open_dx + (open_dx > 0 ? 30 : -30), 0)).lightness() < 64);
}

void TestForm1::refusal_after_a_result_keeps_it_data()
{
    QTest::addColumn<Point>("departure");
    QTest::addColumn<Point>("first");
    QTest::addColumn<Point>("refused");
    QTest::addColumn<QString>("message");
    QTest::newRow("same point") << TOKYO << NEW_YORK << TOKYO
                                << QString::fromUtf8("同一地点です。方位の計算はできません。");
    QTest::newRow("antipode") << Point{35, 0, 0, 135, 0, 0} << NEW_YORK << Point{-35, 0, 0, -45, 0, 0}
                              << QString::fromUtf8("ちょうど地球の正反対となります。\r\r               計算不能です。");
}

void TestForm1::refusal_after_a_result_keeps_it()
{
    QFETCH(Point, departure);
    QFETCH(Point, first);
    QFETCH(Point, refused);
    QFETCH(QString, message);
    Run run;
    run.start();
    run.set_bars(departure);
    run.click("btn_next");
    run.set_bars(first);
    run.click("btn_cal");
    const QString bearing = run.text("lb_cal");
    const QString distance = run.text("lb_dis");
    const CompassFigure figure = *run.figure();
    QVERIFY(!bearing.isEmpty());

    run.set_bars(refused);
    run.c<QWidget>("ido_do")->setFocus();
    run.click("btn_cal");
    QCOMPARE(run.dialogs.texts(), QStringList({message}));
    QCOMPARE(run.dialogs.calls[0].title, QString("Orvine"));
    QCOMPARE(run.text("lbido2"), QString::fromUtf8("緯度："));
    QCOMPARE(run.text("lbkei2"), QString::fromUtf8("経度："));
    QCOMPARE(run.text("mplace"), QString());
    QCOMPARE(run.text("lb_cal"), bearing);
    QCOMPARE(run.text("lb_dis"), distance);
    QCOMPARE(run.m.res_direction, bearing);
    QVERIFY(run.figure());
    QCOMPARE(run.figure()->tip, figure.tip);
    QVERIFY(run.enabled("btn_kiro"));
    QCOMPARE(run.w->focusWidget(), run.c<QWidget>("btn_return"));
}

void TestForm1::same_point_after_southern_western_result()
{
    Run run;
    run.start();
    const Point sydney{-33, 52, 4, 151, 12, 26};
    run.set_bars(sydney);
    run.click("btn_next");
    run.set_bars(TOKYO);
    run.click("btn_cal");
    QCOMPARE(run.text("lb_cal").left(4), QString(" 350"));
    QCOMPARE(run.m.dep, (Point{-33, -52, -4, 151, 12, 26}));
    run.set_bars(sydney);
    run.click("btn_cal");
    QCOMPARE(run.dialogs.texts(), QStringList({QString::fromUtf8("同一地点です。方位の計算はできません。")}));
}

void TestForm1::destination_name_check()
{
    Run run;
    run.start();
    run.click("btn_next");
    // A destination handed over with its registered name keeps it while the bars hold it.
    run.hand_over([](Module1& m) {
        m.pt = NEW_YORK;
        m.pt_place = QString::fromUtf8("ニューヨーク");
        m.pt_taken = 1;
        m.dest_taken = 1;
    });
    run.click("btn_cal");
    QCOMPARE(run.text("mplace"), QString::fromUtf8("ニューヨーク"));
    // Moved by one second, the name no longer fits.
    run.bar(5)->setValue(22);
    run.click("btn_cal");
    QCOMPARE(run.text("mplace"), QString::fromUtf8("不明"));
    QVERIFY(run.dialogs.calls.empty());
}

void TestForm1::return_trip_twice_restores_the_pair()
{
    Run run;
    run.start();
    run.click("btn_next");
    run.set_bars(NEW_YORK);
    run.click("btn_cal");
    run.click("btn_kiro");
    QVERIFY(run.dialogs.calls.empty());
    QCOMPARE(run.text("lb_cal"), QString::fromUtf8(" 332.962 度    北北西（亥）"));
    QCOMPARE(run.text("lb_dis"), QString::fromUtf8(" 10842.64 Ｋｍ"));
    QCOMPARE(run.text("splace"), QString::fromUtf8("不明"));
    QCOMPARE(run.text("mplace"), QString::fromUtf8("東京"));
    QCOMPARE(run.bars(), TOKYO);
    QCOMPARE(run.echoes(), QStringList({"35", "41", "22", "139", "41", "30"}));
    QCOMPARE(run.text("lbido1"), QString::fromUtf8("緯度：  40度42分51秒"));
    QCOMPARE(run.text("lbkei1"), QString::fromUtf8("経度：  -74度0分21秒"));
    QCOMPARE(run.text("lbido2"), QString::fromUtf8("緯度：  35度41分22秒"));
    QVERIFY(run.enabled("btn_kiro"));

    run.click("btn_kiro");
    QCOMPARE(run.text("lb_cal"), QString::fromUtf8(" 25.1014 度    北北東（丑）"));
    QCOMPARE(run.text("splace"), QString::fromUtf8("東京"));
    QCOMPARE(run.text("mplace"), QString::fromUtf8("不明"));
    QCOMPARE(run.bars(), NEW_YORK);
}

void TestForm1::return_trip_takes_moved_bars()
{
    Run run;
    run.start();
    const Point sydney{-33, 52, 4, 151, 12, 26};
    run.set_bars(sydney);
    run.click("btn_next");
    run.set_bars(TOKYO);
    run.click("btn_cal");
    const Point osaka{34, 41, 38, 135, 30, 4};
    run.set_bars(osaka);
    run.click("btn_kiro");
    QCOMPARE(run.m.dep, osaka);
    // The southern departure comes back on the bars in entry form.
    QCOMPARE(run.bars(), sydney);
    QCOMPARE(run.echoes(), QStringList({"-33", "52", "4", "151", "12", "26"}));
    QCOMPARE(run.text("lbido1"), QString::fromUtf8("緯度：  34度41分38秒"));
    QVERIFY(run.text("lb_cal").endsWith(QString::fromUtf8("    南（午）")));
}

void TestForm1::back_restores_departure_entry()
{
    Run run;
    run.start();
    const Point sao_paulo{-23, 33, 1, -46, 38, 2};
    run.set_bars(sao_paulo);
    run.click("btn_next");
    run.set_bars(TOKYO);
    run.click("btn_cal");
    QVERIFY(run.figure());
    run.click("btn_return");
    QCOMPARE(run.m.start_mode, 1);
    QCOMPARE(run.m.result_shown, 0);
    QCOMPARE(run.bars(), sao_paulo);
    QCOMPARE(run.echoes(), QStringList({"-23", "33", "1", "-46", "38", "2"}));
    QCOMPARE(run.m.dep, sao_paulo);
    QCOMPARE(run.m.dst, TOKYO);
    QVERIFY(run.enabled("btn_next"));
    QVERIFY(!run.enabled("btn_return"));
    QVERIFY(!run.enabled("btn_cal"));
    QVERIFY(!run.enabled("btn_kiro"));
    QVERIFY(run.enabled("mnusyoki"));
    QCOMPARE(run.w->focusWidget(), run.c<QWidget>("btn_next"));
    QCOMPARE(run.c<QGroupBox>("Frame1")->title(), QString::fromUtf8("出発地点"));
    QCOMPARE(run.text("lbido2"), QString::fromUtf8("緯度："));
    QCOMPARE(run.text("mplace"), QString());
    QCOMPARE(run.text("lb_cal"), QString());
    QCOMPARE(run.text("lb_dis"), QString());
    QCOMPARE(run.m.res_direction, QString());
    QVERIFY(!run.figure());
    QVERIFY(run.c<QLabel>("Image1")->isVisible());
}

void TestForm1::reset_to_start_up_point()
{
    Run run;
    run.start();
    run.set_bars(Point{1, 2, 3, 4, 5, 6});
    run.c<QAction>("mnusyoki")->trigger();
    QCOMPARE(run.bars(), TOKYO);
    QCOMPARE(run.echoes(), QStringList({"35", "41", "22", "139", "41", "30"}));
    QCOMPARE(run.text("lbido1"), QString::fromUtf8("緯度：  35度41分22秒"));
    QCOMPARE(run.text("splace"), QString::fromUtf8("東京"));

    // A start-up point registered since then is the one restored.
    run.m.init = Point{34, 41, 38, 135, 30, 4};
    run.m.init_place = QString::fromUtf8("大阪");
    run.set_bars(Point{1, 2, 3, 4, 5, 6});
    run.c<QAction>("mnusyoki")->trigger();
    QCOMPARE(run.bars(), run.m.init);
    QCOMPARE(run.text("splace"), QString::fromUtf8("大阪"));
    QCOMPARE(run.m.dep_place, QString::fromUtf8("大阪"));
    QCOMPARE(run.m.pt_place, QString::fromUtf8("大阪"));
    QCOMPARE(run.m.bk_place, QString::fromUtf8("大阪"));
    run.click("btn_next");
    QCOMPARE(run.text("splace"), QString::fromUtf8("大阪"));
    QVERIFY(!run.enabled("mnusyoki"));
}

void TestForm1::activation_departure_cases()
{
    Run run;
    run.start();
    // Case 1: a point handed over during departure entry.
    run.hand_over([](Module1& m) {
        m.pt = Point{26, 12, 47, 127, 40, 43};
        m.pt_place = QString::fromUtf8("不明");
        m.pt_taken = 1;
    });
    QCOMPARE(run.bars(), (Point{26, 12, 47, 127, 40, 43}));
    QCOMPARE(run.echoes(), QStringList({"26", "12", "47", "127", "40", "43"}));
    QCOMPARE(run.text("lbido1"), QString::fromUtf8("緯度：  26度12分47秒"));
    QCOMPARE(run.text("splace"), QString::fromUtf8("不明"));
    QCOMPARE(run.m.dep_place, QString::fromUtf8("不明"));
    QCOMPARE(run.w->focusWidget(), run.bar(0));
    QCOMPARE(run.m.pt_taken, 1);

    // Case 2: nothing handed over in this phase; the saved copy comes back.
    run.set_bars(Point{1, 2, 3, 4, 5, 6});
    run.hand_over([](Module1& m) {
        m.pt_taken = 0;
        m.bk = Point{1, 2, 3, 4, 5, 6};
        m.bk_place = QString::fromUtf8("東京");
        m.pt = m.bk;
    });
    QCOMPARE(run.bars(), (Point{1, 2, 3, 4, 5, 6}));
    QCOMPARE(run.text("lbkei1"), QString::fromUtf8("経度：  4度5分6秒"));
    QCOMPARE(run.text("splace"), QString::fromUtf8("東京"));
    QCOMPARE(run.m.dep_place, QString::fromUtf8("東京"));
    QCOMPARE(run.m.start_mode, 1);
}

void TestForm1::activation_destination_hand_over_and_result()
{
    Run run;
    run.start();
    run.click("btn_next");
    // Case 5: a destination handed over, no result yet.
    run.hand_over([](Module1& m) {
        m.pt = NEW_YORK;
        m.pt_place = QString::fromUtf8("不明");
        m.pt_taken = 1;
        m.dest_taken = 1;
    });
    QCOMPARE(run.bars(), NEW_YORK);
    QCOMPARE(run.text("lbido2"), QString::fromUtf8("緯度：  40度42分51秒"));
    QCOMPARE(run.text("mplace"), QString::fromUtf8("不明"));
    QCOMPARE(run.text("lbido1"), QString::fromUtf8("緯度：  35度41分22秒"));
    QCOMPARE(run.text("splace"), QString::fromUtf8("東京"));
    run.click("btn_cal");
    QCOMPARE(run.m.dest_taken, 0);
    const QString result = run.text("lb_cal");

    // Case 3: an excursion cancelled after the result: the result is shown again, the bars
    // and 方位表示 stay locked.
    run.hand_over([](Module1& m) { m.pt = m.bk = NEW_YORK; });
    QCOMPARE(run.text("lb_cal"), result);
    QCOMPARE(run.text("lb_dis"), QString::fromUtf8(" 10842.64 Ｋｍ"));
    QVERIFY(!run.enabled("btn_cal"));
    QVERIFY(!run.enabled("Frame1"));
    QVERIFY(run.figure());
    QCOMPARE(run.m.result_shown, 1);

    // Case 4: a new destination replaces the result.
    run.hand_over([](Module1& m) {
        m.pt = Point{34, 41, 38, 135, 30, 4};
        m.pt_place = QString::fromUtf8("大阪");
        m.dest_taken = 1;
    });
    QCOMPARE(run.bars(), (Point{34, 41, 38, 135, 30, 4}));
    QCOMPARE(run.text("mplace"), QString::fromUtf8("大阪"));
    QCOMPARE(run.text("lb_cal"), QString());
    QCOMPARE(run.text("lb_dis"), QString());
    QCOMPARE(run.m.result_shown, 0);
    QVERIFY(!run.figure());
    QVERIFY(run.c<QLabel>("Image1")->isVisible());
    QCOMPARE(run.m.dest_taken, 1);
    QCOMPARE(run.m.pt_taken, 1);
}

void TestForm1::activation_cancel_in_destination_entry()
{
    Run run;
    run.start();
    run.click("btn_next");
    run.set_bars(NEW_YORK);
    run.click("btn_cal");
    // Case 6: cancelled with nothing handed over in this phase.
    run.hand_over([](Module1& m) {
        m.pt = m.bk = Point{10, 20, 30, 40, 50, 0};
        m.pt_place = m.bk_place = QString::fromUtf8("不明");
    });
    QCOMPARE(run.bars(), (Point{10, 20, 30, 40, 50, 0}));
    QCOMPARE(run.text("lbido2"), QString::fromUtf8("緯度："));
    QCOMPARE(run.text("lbkei2"), QString::fromUtf8("経度："));
    QCOMPARE(run.text("mplace"), QString());
    QCOMPARE(run.text("lb_cal"), QString());
    QVERIFY(run.enabled("btn_cal"));
    QVERIFY(run.enabled("Frame1"));
    QCOMPARE(run.w->focusWidget(), run.bar(0));
    // The drawn figure stays and the flag keeps its value; the departure summary shows the
    // stored departure point.
    QVERIFY(run.figure());
    QCOMPARE(run.m.result_shown, 1);
    QCOMPARE(run.text("lbido1"), QString::fromUtf8("緯度：  35度41分22秒"));
    QCOMPARE(run.text("lbkei1"), QString::fromUtf8("経度：  139度41分30秒"));
    QCOMPARE(run.text("splace"), QString::fromUtf8("東京"));
}

void TestForm1::leaving_steps_before_other_windows()
{
    Run run;
    run.start();
    run.set_bars(Point{1, 2, 3, 4, 5, 6});
    run.c<QAction>("mnuwor")->trigger();
    QVERIFY(!run.w->isVisible());
    QCOMPARE(run.m.map_kind, 1);
    QCOMPARE(run.m.pt, (Point{1, 2, 3, 4, 5, 6}));
    QCOMPARE(run.m.pt_place, QString::fromUtf8("東京"));
    bool map_shown = false;
    for (QWidget* top : QApplication::topLevelWidgets())
        map_shown |= top->objectName() == "frmjpmap" && top->isVisible();
    QVERIFY(map_shown);
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top != run.w.get())
            top->hide();

    // In destination entry the destination name goes out and 方位表示 and the bars are freed.
    run.w->show();
    run.click("btn_next");
    run.set_bars(NEW_YORK);
    run.click("btn_cal");
    run.hand_over([](Module1& m) {  // case 3 locks the bars and 方位表示
        m.pt = NEW_YORK;
        m.pt_place = QString::fromUtf8("ニューヨーク");
        m.pt_taken = 1;
    });
    QVERIFY(!run.enabled("Frame1"));
    run.c<QAction>("mnujap")->trigger();
    QCOMPARE(run.m.map_kind, 0);
    QCOMPARE(run.m.pt_place, QString::fromUtf8("ニューヨーク"));
    QCOMPARE(run.m.pt, NEW_YORK);
    QVERIFY(run.enabled("btn_cal"));
    QVERIFY(run.enabled("Frame1"));
}

void TestForm1::round_trip_through_place_list_cancel()
{
    Run run;
    run.start();
    run.set_bars(Point{1, 2, 3, 4, 5, 6});
    run.c<QAction>("mnulist")->trigger();
    QVERIFY(!run.w->isVisible());
    QWidget* form2 = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == "Form2" && top->isVisible())
            form2 = top;
    QVERIFY(form2);
    QTest::mouseClick(control<QPushButton>(form2, "btncan"), Qt::LeftButton);
    QVERIFY(run.w->isVisible());
    QVERIFY(!form2->isVisible());
    QCOMPARE(run.bars(), (Point{1, 2, 3, 4, 5, 6}));
    QCOMPARE(run.text("splace"), QString::fromUtf8("東京"));
    QCOMPARE(run.text("lbkei1"), QString::fromUtf8("経度：  4度5分6秒"));
}

void TestForm1::end_by_button_menu_and_close_box()
{
    for (int way = 0; way < 3; ++way) {
        Run run;
        run.start();
        if (way == 0)
            run.click("btn_end");
        else if (way == 1)
            run.c<QAction>("mnuend")->trigger();
        else
            run.w->close();
        QCOMPARE(run.ended, 1);
        QVERIFY(!run.w->isVisible());
        QVERIFY(run.dialogs.calls.empty());
    }
}

void TestForm1::version_box_from_the_menu()
{
    Run run;
    run.start();
    run.c<QAction>("mnuver")->trigger();
    QCOMPARE(run.dialogs.texts(), QStringList({version_text(VersionBoxFrom::MainWindow)}));
    QCOMPARE(run.sound.plays, 1);
    QVERIFY(run.w->isVisible());
}

// The whole main use from the files installed with the program, by clicking real widgets.
void TestForm1::end_to_end_from_installed_files()
{
    Run run{QString(), QString()};
    QVERIFY(QFile::copy(ORVINE_DATA_DIR "/vantorff.ini", run.dir.filePath("vantorff.ini")));
    QVERIFY(QFile::copy(ORVINE_DATA_DIR "/places.txt", run.dir.filePath("places.txt")));
    run.start();
    QCOMPARE(run.bars(), TOKYO);
    QCOMPARE(run.text("splace"), QString::fromUtf8("東京"));

    QTest::mouseClick(run.c<QPushButton>("btn_next"), Qt::LeftButton);
    QCOMPARE(run.c<QGroupBox>("Frame1")->title(), QString::fromUtf8("目的地点"));
    run.set_bars(NEW_YORK);
    QCOMPARE(run.echoes(), QStringList({"40", "42", "51", "-74", "0", "21"}));
    QTest::mouseClick(run.c<QPushButton>("btn_cal"), Qt::LeftButton);
    QCOMPARE(run.text("lb_cal"), QString::fromUtf8(" 25.1014 度    北北東（丑）"));
    QCOMPARE(run.text("lb_dis"), QString::fromUtf8(" 10842.64 Ｋｍ"));
    QVERIFY(run.figure());

    QTest::mouseClick(run.c<QPushButton>("btn_kiro"), Qt::LeftButton);
    QCOMPARE(run.text("lb_cal"), QString::fromUtf8(" 332.962 度    北北西（亥）"));
    QCOMPARE(run.text("lb_dis"), QString::fromUtf8(" 10842.64 Ｋｍ"));

    QTest::mouseClick(run.c<QPushButton>("btn_return"), Qt::LeftButton);
    QCOMPARE(run.bars(), NEW_YORK);
    QCOMPARE(run.text("lb_cal"), QString());
    QVERIFY(!run.figure());
    QVERIFY(run.enabled("mnusyoki"));

    run.c<QAction>("mnusyoki")->trigger();
    QCOMPARE(run.bars(), TOKYO);
    QCOMPARE(run.text("splace"), QString::fromUtf8("東京"));
    QVERIFY(run.dialogs.calls.empty());
}

QTEST_MAIN(TestForm1)
#include "test_form1.moc"
