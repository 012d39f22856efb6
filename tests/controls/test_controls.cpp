// The window's small controls on their own: the bars, the fading frame, the focus ring, long names.
#include "controls/dms_bars.h"
#include "controls/fading_frame.h"
#include "controls/focus_ring.h"
#include "controls/name_label.h"
#include "resources/window_builder.h"
#include "support/ink.h"
#include "support/repainted_region.h"

#include <QtTest>
#include <QtWidgets>

using namespace orvine;
using orvine::test::ink;
using namespace Qt::StringLiterals;

class TestControls : public QObject {
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
    // Disabled, a frame's contents show through a veil that the pointer and screen readers look past.
    void a_disabled_frame_fades()
    {
        QWidget window;
        auto* frame = new FadingFrame(u"枠"_s, &window);
        auto* inside = new QWidget(frame); // filled in a colour of its own, as the tables give
        inside->setStyleSheet(u"background: black"_s);
        inside->setAttribute(Qt::WA_StyledBackground);
        frame->setGeometry(0, 0, 200, 100);
        inside->setGeometry(20, 30, 100, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        frame->setEnabled(false);
        const QList<QPoint> seen = ink(frame->grab().toImage(), window.palette().color(QPalette::Window));
        QVERIFY(frame->childAt(50, 50) == inside && !seen.isEmpty());
    }
    // The ring around a focused control is drawn on its parent, and goes with the focus.
    void the_focus_ring_follows_the_focus()
    {
        QWidget window;
        auto* list = new QListWidget(&window);
        auto* other = new QPushButton(u"他"_s, &window);
        list->setGeometry(20, 20, 100, 100);
        other->setGeometry(150, 20, 60, 30);
        ring_when_focused(*list);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        test::RepaintedRegion repainted(&window);
        const QRect ring = list->geometry().adjusted(-FOCUS_RING_WIDTH, -FOCUS_RING_WIDTH, FOCUS_RING_WIDTH,
                                                     FOCUS_RING_WIDTH);
        const QColor highlight = window.palette().color(QPalette::Highlight);
        for (QWidget* focused : QWidgetList{other, list, other}) {
            repainted.region = {};
            focused->setFocus();
            QTRY_VERIFY(repainted.covers(ring.adjusted(0, 0, 0, -ring.height() + 1)));
            const QImage shown = window.grab().toImage();
            QCOMPARE(shown.pixelColor(ring.topLeft() * shown.devicePixelRatio()) == highlight, focused == list);
        }
    }
    // A name that fits is drawn as it is; a longer one is cut with an ellipsis and whole in its tool tip.
    void long_names_are_cut()
    {
        QWidget window;
        auto *fits = new QLabel(&window), *cut = new QLabel(&window);
        for (QLabel* label : {fits, cut}) {
            label->resize(80, 20);
            elide_long_names(*label);
        }
        show_place_name(*fits, u"東京"_s);
        show_place_name(*cut, u"東京都千代田区千代田一丁目一番"_s);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!ink(fits->grab().toImage(), fits->palette().window().color()).isEmpty() && fits->toolTip() == "");
        QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), cut->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(cut, &tip);
        QTRY_COMPARE(QToolTip::text(), cut->text());
    }
};

QTEST_MAIN(TestControls)
#include "test_controls.moc"
