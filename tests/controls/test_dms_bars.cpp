// The six bars and their echo labels in both windows.
#include "controls/dms_bars.h"
#include "resources/window_builder.h"

#include <QtTest>
#include <QtWidgets>

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
    void user_moves_echo_data();
    void user_moves_echo();
};

void TestDmsBars::put_point_is_echoed_in_order()
{
    QMainWindow w;
    build_window(w, form1_spec());
    DmsBars bars(&w, DmsBars::Echo::WhileDragging);
    const Point designed = bars.value();

    // The labels alone leave the bars as they are.
    QSignalSpy changed(&bars, &DmsBars::changed);
    bars.set_labels(Point{0, 1, 2, -3, 4, 5});
    QCOMPARE(echoes(bars), QStringList({"0", "1", "2", "-3", "4", "5"}));
    QCOMPARE(bars.value(), designed);
    QCOMPARE(changed.count(), 0);

    // 33°0′35″ S 151°12′40″ E: a minute at zero and a negative degree.
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

    // Both ends of every range.
    bars.set(Point{-89, 59, 0, -179, 0, 59});
    QCOMPARE(bars.value(), (Point{-89, 59, 0, -179, 0, 59}));
    bars.set(Point{89, 0, 59, 179, 59, 0});
    QCOMPARE(echoes(bars), QStringList({"89", "0", "59", "179", "59", "0"}));
}

void TestDmsBars::user_moves_echo_data()
{
    QTest::addColumn<bool>("main_window");
    QTest::newRow("Form1 echoes while dragging") << true;
    QTest::newRow("Form2 echoes at the drag's end") << false;
}

void TestDmsBars::user_moves_echo()
{
    QFETCH(bool, main_window);
    QMainWindow w;
    build_window(w, main_window ? form1_spec() : form2_spec());
    DmsBars bars(&w, main_window ? DmsBars::Echo::WhileDragging : DmsBars::Echo::AtDragEnd);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    bars.set(Point{0, 0, 0, 0, 0, 0});

    // Clicks and keys echo at once in both windows; the top arrow of ido_do from 0 goes north.
    QTest::mouseClick(bars.bar(0), Qt::LeftButton, {}, QPoint(bars.bar(0)->width() / 2, 3));
    QCOMPARE(bars.label(0)->text(), "1");
    QScrollBar* kei_do = bars.bar(3);
    kei_do->setFocus();
    QTest::keyClick(kei_do, Qt::Key_Down);
    QCOMPARE(bars.label(3)->text(), "-1");
    QTest::keyClick(kei_do, Qt::Key_PageDown);
    QCOMPARE(bars.label(3)->text(), "-11");
    QCOMPARE(bars.value(), (Point{1, 0, 0, -11, 0, 0}));

    // A drag moves the value only when the thumb is let go.
    kei_do->setSliderDown(true);
    kei_do->setSliderPosition(120);
    kei_do->setSliderPosition(-7);
    QCOMPARE(bars.label(3)->text(), main_window ? QString("-7") : QString("-11"));
    QCOMPARE(kei_do->value(), -11);
    kei_do->setSliderDown(false);
    QCOMPARE(kei_do->value(), -7);
    QCOMPARE(bars.label(3)->text(), "-7");
}

QTEST_MAIN(TestDmsBars)
#include "test_dms_bars.moc"
