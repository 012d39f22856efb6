#include "controls/dms_bars.h"
#include "resources/window_builder.h"

#include <QtTest>
#include <QtWidgets>

using namespace orvine;

class TestDmsBars : public QObject {
    Q_OBJECT
private slots:
    void echoes_data()
    {
        QTest::addColumn<bool>("main_window");
        QTest::newRow("MainWindow echoes while dragging") << true;
        QTest::newRow("PlaceListWindow echoes at the drag's end") << false;
    }
    // A point put on the bars shows in their echo labels. A click echoes at once; a drag
    // moves the value only when the thumb is let go.
    void echoes()
    {
        QFETCH(bool, main_window);
        QMainWindow w;
        build_window(w, main_window ? main_window_table() : place_list_window_table());
        DmsBars bars(&w, main_window ? DmsBars::Echo::WhileDragging : DmsBars::Echo::AtDragEnd);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // 33°0′35″ S 151°12′40″ E: a minute at zero and a negative degree.
        bars.set(Point{-33, 0, 35, 151, 12, 40});
        for (int i = 0; i < DmsBars::COUNT; ++i)
            QCOMPARE(bars.label(i)->text(), QString::number(bars.bar(i)->value()));

        // The top arrow of ido_do goes north.
        QTest::mouseClick(bars.bar(0), Qt::LeftButton, {}, QPoint(bars.bar(0)->width() / 2, 3));
        QCOMPARE(bars.label(0)->text(), u"-32");
        QScrollBar* kei_do = bars.bar(3);
        kei_do->setSliderDown(true);
        kei_do->setSliderPosition(-7);
        QCOMPARE(bars.label(3)->text(), main_window ? u"-7" : u"151");
        QCOMPARE(bars.value(), (Point{-32, 0, 35, 151, 12, 40}));
        kei_do->setSliderDown(false);
        QVERIFY(bars.value() == (Point{-32, 0, 35, -7, 12, 40}) && bars.label(3)->text() == u"-7");
    }
};

QTEST_MAIN(TestDmsBars)
#include "test_dms_bars.moc"
