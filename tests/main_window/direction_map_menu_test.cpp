// 方位地図 from the main window's menu: a window beside it that follows the departure point
// and the result, and hides and comes back with the main window.
#include "controls/dms_bars.h"
#include "main_window/main_window.h"
#include "map/direction_map_window.h"
#include "resources/window_builder.h"
#include "shared_state/shared_state.h"
#include "support/fake_dialogs.h"

#include <QtTest>
#include <QtWidgets>

using namespace orvine;
using namespace Qt::StringLiterals;

class DirectionMapMenuTest : public QObject {
    Q_OBJECT
private slots:
    void follows_the_main_window();
};

void DirectionMapMenuTest::follows_the_main_window()
{
    QTemporaryDir dir;
    const auto write = [&](const char* name, const QString& text) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QStringEncoder("windows-31j").encode(text));
    };
    write("vantorff.ini", u"\"places.txt\",\"東京\",35,41,22,139,41,30\r\n"_s);
    write("places.txt", u"\"東京\",35,41,22,139,41,30\r\n\"ニューヨーク\",40,42,51,-74,0,21\r\n"_s);
    SharedState m;
    m.files_folder = dir.path();
    FakeDialogs dialogs;
    SilentSound sound;
    MainWindow w(m, dialogs, sound, [] {});
    w.start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    control<QAction>(&w, "mnuazi")->trigger();
    DirectionMapWindow* map = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<DirectionMapWindow*>(top))
            map = found;
    QVERIFY(map && map->isVisible() && w.isVisible());
    QVERIFY(map->windowTitle().contains(u"東京"_s));

    // The bars move the centre while the departure is entered.
    control<QScrollBar>(&w, "ido_do")->setValue(34);
    QVERIFY(map->windowTitle().contains(u"34"_s));
    control<QScrollBar>(&w, "ido_do")->setValue(35);

    // A result brings the destination and its ray, with the main window's texts.
    QTest::mouseClick(control<QPushButton>(&w, "btn_next"), Qt::LeftButton);
    const std::int16_t v[] = {40, 42, 51, -74, 0, 21};
    for (int i = 0; i < DmsBars::COUNT; ++i)
        control<QScrollBar>(&w, DmsBars::NAMES[static_cast<std::size_t>(i)])->setValue(v[i]);
    QTest::mouseClick(control<QPushButton>(&w, "btn_cal"), Qt::LeftButton);
    QVERIFY(map->drawing().destination_result() != nullptr);
    QCOMPARE(QString::fromStdString(map->drawing().destination_result()->bearing_caption),
             control<QLabel>(&w, "lb_cal")->text());

    // The place list takes the main window's place: the direction map goes and comes back with it.
    control<QAction>(&w, "mnulist")->trigger();
    QVERIFY(!w.isVisible() && !map->isVisible());
    QPushButton* cancel = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && !cancel)
            cancel = top->findChild<QPushButton*>(u"btncan"_s);
    QVERIFY(cancel);
    QTest::mouseClick(cancel, Qt::LeftButton);
    QVERIFY(w.isVisible() && map->isVisible());
    // 戻る clears the destination; the centre is the departure on the bars again.
    QTest::mouseClick(control<QPushButton>(&w, "btn_return"), Qt::LeftButton);
    QVERIFY(map->drawing().destination_result() == nullptr);
}

QTEST_MAIN(DirectionMapMenuTest)
#include "direction_map_menu_test.moc"
