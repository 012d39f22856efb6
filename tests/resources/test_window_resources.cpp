// What the window builder gives every window, beyond what its table lists.
#include "resources/window_builder.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QWheelEvent>

using namespace orvine;

class TestWindowResources : public QObject {
    Q_OBJECT
private slots:
    void windows_are_fixed_with_a_close_box_and_icon();
    void bars_count_upwards();
    void tab_order_menus_and_fonts();
};

void TestWindowResources::windows_are_fixed_with_a_close_box_and_icon()
{
    for (const WindowSpec* table : {&form1_spec(), &form2_spec(), &frmjpmap_spec()}) {
        QMainWindow w;
        build_window(w, *table);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.centralWidget()->height() + (w.menuBar()->actions().isEmpty() ? 0 : w.menuBar()->height()),
                 w.height());
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(!(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);
#ifdef ORVINE_HAVE_IMAGES
        QVERIFY(!w.windowIcon().isNull());
#endif
    }
}

// A bar holds its larger number at the top: arrows, keys and the wheel move the way it shows.
void TestWindowResources::bars_count_upwards()
{
    QMainWindow w;
    build_window(w, form1_spec());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* b = control<QScrollBar>(&w, "kei_do");
    b->setFocus();
    const std::tuple<Qt::Key, int, int> keys[] = {
        {Qt::Key_Up, 0, 1},        {Qt::Key_Down, 0, -1},  {Qt::Key_PageUp, 0, 10}, {Qt::Key_PageDown, 0, -10},
        {Qt::Key_Home, 0, 179},    {Qt::Key_End, 0, -179}, {Qt::Key_Up, 179, 179},  {Qt::Key_PageDown, -175, -179}};
    for (const auto& [key, from, to] : keys) {
        b->setValue(from);
        QTest::keyClick(b, key);
        QCOMPARE(b->value(), to);
    }
    for (const auto& [y, to] : {std::pair(3, 1), std::pair(b->height() - 3, -1)}) {
        b->setValue(0);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(b->width() / 2, y));
        QCOMPARE(b->value(), to);
    }
    b->setValue(0);
    QWheelEvent up(QPointF(5, 50), b->mapToGlobal(QPointF(5, 50)), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(b, &up);
    QVERIFY(b->value() > 0);
}

void TestWindowResources::tab_order_menus_and_fonts()
{
    QMainWindow form2;
    build_window(form2, form2_spec());
    QStringList cycle;
    QWidget* first = control<QWidget>(&form2, "kei_byo");
    QWidget* c = first;
    do {
        if ((c->focusPolicy() & Qt::TabFocus) && !c->objectName().isEmpty())
            cycle << c->objectName();
        c = c->nextInFocusChain();
    } while (c != first);
    QCOMPARE(cycle, QStringList({"kei_byo", "kei_hun", "kei_do", "ido_byo", "ido_hun", "ido_do", "btntuika", "Text1",
                                 "btncan", "Command4", "btnsakujyo", "btnteisei", "btnreturn", "List1"}));

    // The map items sit in a submenu between separators; no item has a shortcut.
    QMainWindow form1;
    build_window(form1, form1_spec());
    QList<QAction*> items = control<QMenu>(&form1, "mnusel")->actions();
    QCOMPARE(items.size(), 3);
    QVERIFY(items[1]->isSeparator());
    QCOMPARE(items[2]->menu(), control<QMenu>(&form1, "mnumap"));
    QCOMPARE(items[2]->menu()->actions(),
             (QList<QAction*>{control<QAction>(&form1, "mnujap"), control<QAction>(&form1, "mnuwor")}));
    for (QAction* a : form1.findChildren<QAction*>())
        QVERIFY(a->shortcut().isEmpty());

    // A bold frame title does not make the labels inside it bold.
    QVERIFY(control<QGroupBox>(&form1, "Frame1")->font().bold());
    QVERIFY(!control<QLabel>(&form1, "Label3")->font().bold());
}

QTEST_MAIN(TestWindowResources)
#include "test_window_resources.moc"
