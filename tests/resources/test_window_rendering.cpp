// Read from pixels with the font the machine really has (CTest runs this at 1× and at 2×).
#include "controls/dms_bars.h"
#include "resources/window_builder.h"
#include "support/ink.h"

#include <QtTest>
#include <QtWidgets>

using namespace orvine;
using orvine::test::ink;

Q_DECLARE_METATYPE(const orvine::WindowTable*)

namespace {

// A label's text drawn as the label draws it, on a sheet `margin` wider all round that cuts nothing off.
QList<QPoint> text_ink(QLabel* label, int margin)
{
    const qreal dpr = label->devicePixelRatioF();
    QImage sheet((label->size() + QSize(2 * margin, 2 * margin)) * dpr, QImage::Format_RGB32);
    sheet.setDevicePixelRatio(dpr);
    sheet.fill(label->palette().color(QPalette::Window));
    QPainter p(&sheet);
    p.translate(margin, margin);
    p.setFont(label->font());
    label->style()->drawItemText(&p, label->contentsRect(), int(label->alignment()) | Qt::TextDontClip,
                                 label->palette(), true, label->text(), label->foregroundRole());
    p.end();
    return ink(sheet, label->palette().color(QPalette::Window), margin);
}

} // namespace

class TestWindowRendering : public QObject {
    Q_OBJECT
private slots:
    void windows_look_whole_data()
    {
        QTest::addColumn<const WindowTable*>("table");
        for (const WindowTable* table : {&main_window_table(), &place_list_window_table(), &map_window_table()})
            QTest::newRow(table->name) << table;
    }
    void windows_look_whole();
};

void TestWindowRendering::windows_look_whole()
{
    QFETCH(const WindowTable*, table);
    QMainWindow w;
    build_window(w, *table);
    DmsBars* bars = table == &map_window_table() ? nullptr : new DmsBars(&w, DmsBars::Echo::AtDragEnd);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QStringList units{"Label3", "Label4"};  // drawn unit by unit under the bars, checked below
    for (const ControlRow& row : table->controls) {
        QWidget* c = control<QWidget>(&w, row.name);
        if (auto* label = qobject_cast<QLabel*>(c); label && *row.caption && !units.contains(row.name)) {
            const QRect allowed = label->contentsRect().marginsRemoved(QMargins() + label->frameWidth());
            const QList<QPoint> inked = text_ink(label, 8);
            const auto outside = std::count_if(inked.begin(), inked.end(),
                                               [&](QPoint at) { return !allowed.contains(at); });
            QVERIFY2(
                !inked.isEmpty() && outside == 0,
                qPrintable(QString("%1: %2 of %3 inked pixels outside").arg(row.name).arg(outside).arg(inked.size())));
        }
    }
    for (QWidget* c : w.findChildren<QWidget*>())
        QVERIFY2(c->focusPolicy() == Qt::NoFocus || !c->isVisibleTo(&w)
                     || !QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name).trimmed().isEmpty(),
                 qPrintable(c->objectName()));
    if (!bars)
        return;

    // Each unit glyph is centred on its bar, within half the 32 pixels between bars, and they hang from the
    // caption's top edge as a label's text set at the top would.
    int top[2] = {INT_MAX, INT_MAX};
    for (int k = 0; k < 6; ++k) {
        auto* caption = control<QLabel>(&w, qPrintable(units[k / 3]));
        const qreal under_bar =
            caption->mapFrom(caption->parentWidget(), QRectF(bars->bar(k)->geometry()).center()).x();
        QRect glyph;
        for (const QPoint& at : ink(caption->grab().toImage(), caption->palette().color(QPalette::Window)))
            if (qAbs(at.x() - under_bar) < 16)
                glyph |= QRect(at, QSize(1, 1));
        QVERIFY2(glyph.isValid() && qAbs(glyph.left() + glyph.width() / 2.0 - under_bar) <= 2,
                 DmsBars::NAMES[static_cast<std::size_t>(k)]);
        top[k / 3] = std::min(top[k / 3], glyph.top());
    }
    for (int axis = 0; axis < 2; ++axis) {
        auto* caption = control<QLabel>(&w, qPrintable(units[axis]));
        caption->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
        int line_top = INT_MAX;
        for (const QPoint& at : text_ink(caption, 8))
            line_top = std::min(line_top, at.y());
        QCOMPARE(top[axis], line_top);
    }
    // The bar is drawn, and the larger number is at the top: keys and the wheel move the way the bar shows.
    auto* b = control<QScrollBar>(&w, "kei_do");
    QVERIFY(!b->hasFocus() && !ink(b->grab().toImage(), b->palette().color(QPalette::Window)).isEmpty());
    for (const auto& [key, to] :
         {std::pair(Qt::Key_Home, 179), std::pair(Qt::Key_PageDown, 169), std::pair(Qt::Key_End, -179)}) {
        QTest::keyClick(b, key);
        QCOMPARE(b->value(), to);
    }
    QWheelEvent up(QPointF(5, 50), QPointF(5, 50), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(b, &up);
    QVERIFY(b->value() > -179);

    // Disabled, the frame fades towards the window's colour everywhere, and comes back unchanged
    // (without a focused bar: disabling passes the focus on, and it does not come back).
    auto* frame = control<QGroupBox>(&w, "Frame1");
    w.centralWidget()->setFocus();
    const QImage enabled = frame->grab().toImage();
    frame->setEnabled(false);
    const QImage disabled = frame->grab().toImage();
    const QColor window = frame->palette().color(QPalette::Window);
    QVERIFY(ink(enabled, window).size() > 100);
    for (int y = 0; y < enabled.height(); ++y)
        for (int x = 0; x < enabled.width(); ++x)
            QVERIFY2(qAbs(qGray(disabled.pixel(x, y)) - qGray(window.rgb()))
                         <= qAbs(qGray(enabled.pixel(x, y)) - qGray(window.rgb())) * 0.6 + 2,
                     qPrintable(QString("pixel %1,%2").arg(x).arg(y)));
    frame->setEnabled(true);
    QCOMPARE(frame->grab().toImage(), enabled);
}

QTEST_MAIN(TestWindowRendering)
#include "test_window_rendering.moc"
