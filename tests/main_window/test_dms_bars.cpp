// The six bars and their echo labels in both windows: echo on every change, during a
// drag only in the main window, values in Point order.
#include "main_window/dms_bars.h"
#include "resources/window_builder.h"

#include <QLabel>
#include <QMainWindow>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace orvine;

namespace {

QStringList echoes(const DmsBars& bars)
{
    QStringList texts;
    for (int i = 0; i < DmsBars::COUNT; ++i)
        texts << bars.label(i)->text();
    return texts;
}

} // namespace

class TestDmsBars : public QObject {
    Q_OBJECT
private slots:
    void put_point_is_echoed_in_order();
    void labels_alone_leave_the_bars();
    void clicks_echo_in_both_windows_data();
    void clicks_echo_in_both_windows();
    void drag_echo_depends_on_the_window();
};

void TestDmsBars::put_point_is_echoed_in_order()
{
    QMainWindow w;
    build_window(w, form1_spec());
    DmsBars bars(&w, DmsBars::Echo::WhileDragging);
    QCOMPARE(bars.value(), (Point{35, 30, 30, 135, 30, 30}));
    QCOMPARE(echoes(bars), QStringList({"", "", "", "", "", ""}));

    QSignalSpy changed(&bars, &DmsBars::changed);
    // 33°51′35″ S 151°12′40″ E with a degree at zero and a negative degree.
    bars.set(Point{-33, 0, 35, 151, 12, 40});
    QCOMPARE(bars.value(), (Point{-33, 0, 35, 151, 12, 40}));
    QCOMPARE(echoes(bars), QStringList({"-33", "0", "35", "151", "12", "40"}));
    QCOMPARE(changed.count(), 6);
    QCOMPARE(changed.at(0), (QVariantList{0, -33}));

    // A bar that already holds the value raises no change event.
    changed.clear();
    bars.label(3)->clear();
    bars.set(Point{-33, 0, 35, 151, 12, 41});
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0), (QVariantList{5, 41}));
    QCOMPARE(bars.label(3)->text(), QString());

    bars.set(Point{-89, 59, 0, -179, 0, 59});
    QCOMPARE(echoes(bars), QStringList({"-89", "59", "0", "-179", "0", "59"}));
    bars.set(Point{89, 0, 59, 179, 59, 0});
    QCOMPARE(bars.value(), (Point{89, 0, 59, 179, 59, 0}));
}

void TestDmsBars::labels_alone_leave_the_bars()
{
    QMainWindow w;
    build_window(w, form2_spec());
    DmsBars bars(&w, DmsBars::Echo::AtDragEnd);
    QSignalSpy changed(&bars, &DmsBars::changed);
    bars.set_labels(Point{0, 1, 2, -3, 4, 5});
    QCOMPARE(echoes(bars), QStringList({"0", "1", "2", "-3", "4", "5"}));
    QCOMPARE(bars.value(), (Point{35, 30, 30, 135, 30, 30}));
    QCOMPARE(changed.count(), 0);
}

void TestDmsBars::clicks_echo_in_both_windows_data()
{
    QTest::addColumn<bool>("main_window");
    QTest::newRow("Form1") << true;
    QTest::newRow("Form2") << false;
}

void TestDmsBars::clicks_echo_in_both_windows()
{
    QFETCH(bool, main_window);
    QMainWindow w;
    build_window(w, main_window ? form1_spec() : form2_spec());
    DmsBars bars(&w, main_window ? DmsBars::Echo::WhileDragging : DmsBars::Echo::AtDragEnd);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    bars.set(Point{0, 0, 0, 0, 0, 0});

    // The top arrow of ido_do from 0 goes north.
    QTest::mouseClick(bars.bar(0), Qt::LeftButton, {}, QPoint(bars.bar(0)->width() / 2, 3));
    QCOMPARE(bars.label(0)->text(), "1");
    bars.bar(3)->setFocus();
    QTest::keyClick(bars.bar(3), Qt::Key_Down);
    QCOMPARE(bars.label(3)->text(), "-1");
    QTest::keyClick(bars.bar(3), Qt::Key_PageDown);
    QCOMPARE(bars.label(3)->text(), "-11");
    QCOMPARE(bars.value(), (Point{1, 0, 0, -11, 0, 0}));
}

void TestDmsBars::drag_echo_depends_on_the_window()
{
    for (bool main_window : {true, false}) {
        QMainWindow w;
        build_window(w, main_window ? form1_spec() : form2_spec());
        DmsBars bars(&w, main_window ? DmsBars::Echo::WhileDragging : DmsBars::Echo::AtDragEnd);
        bars.set(Point{10, 0, 0, 100, 0, 0});
        QScrollBar* kei_do = bars.bar(3);

        kei_do->setSliderDown(true);
        kei_do->setSliderPosition(120);
        kei_do->setSliderPosition(-7);
        QCOMPARE(bars.label(3)->text(), main_window ? QString("-7") : QString("100"));
        QCOMPARE(kei_do->value(), 100);
        kei_do->setSliderDown(false);
        QCOMPARE(kei_do->value(), -7);
        QCOMPARE(bars.label(3)->text(), "-7");
    }
}

QTEST_MAIN(TestDmsBars)
#include "test_dms_bars.moc"
