// What the windows built from their tables look like with the font the machine really has,
// read from their pixels, and what the builder gives every window beyond its table.
// CTest runs this once at 1× and once with QT_SCALE_FACTOR=2.
#include "controls/dms_bars.h"
#include "resources/window_builder.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QWheelEvent>
#include <QtMath>

using namespace orvine;

Q_DECLARE_METATYPE(const orvine::WindowSpec*)

namespace {

bool ink(QRgb pixel, QRgb background)
{
    return qAbs(qGray(pixel) - qGray(background)) > 48;
}

// The pixels of a label's text drawn as the label draws it, but on a sheet `margin` wider
// on every side that cuts nothing off, in the label's own coordinates.
QList<QPoint> ink_of(QLabel* label, int margin)
{
    const qreal dpr = label->devicePixelRatioF();
    const QRgb background = label->palette().color(QPalette::Window).rgb();
    QImage sheet((label->size() + QSize(2 * margin, 2 * margin)) * dpr, QImage::Format_RGB32);
    sheet.setDevicePixelRatio(dpr);
    sheet.fill(background);
    QPainter p(&sheet);
    p.translate(margin, margin);
    p.setFont(label->font());
    label->style()->drawItemText(&p, label->contentsRect(), int(label->alignment()) | Qt::TextDontClip,
                                 label->palette(), true, label->text(), label->foregroundRole());
    p.end();
    QList<QPoint> inked;
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            if (ink(sheet.pixel(x, y), background))
                inked << QPoint(qFloor(x / dpr) - margin, qFloor(y / dpr) - margin);
    return inked;
}

// The middles of the runs of inked columns of a widget as shown, in its own pixels.
QList<qreal> column_runs(QWidget* w)
{
    const QImage image = w->grab().toImage();
    const qreal px = image.devicePixelRatio();
    const QRgb background = w->palette().color(QPalette::Window).rgb();
    QList<qreal> centres;
    int run_start = -1;
    int last_inked = -100;
    for (int x = 0; x <= image.width(); ++x) {
        bool inked = false;
        for (int y = 0; x < image.width() && y < image.height() && !inked; ++y)
            inked = ink(image.pixel(x, y), background);
        if ((inked && x - last_inked > 4 * px) || x == image.width()) {
            if (run_start >= 0)
                centres << (run_start + last_inked + 1) / (2 * px);
            run_start = x;
        }
        if (inked)
            last_inked = x;
    }
    return centres;
}

} // namespace

class TestWindowRendering : public QObject {
    Q_OBJECT
private slots:
    void windows_look_whole_data();
    void windows_look_whole();
    void bars_count_upwards();
};

void TestWindowRendering::windows_look_whole_data()
{
    QTest::addColumn<const WindowSpec*>("table");
    QTest::newRow("Form1") << &form1_spec();
    QTest::newRow("Form2") << &form2_spec();
    QTest::newRow("frmjpmap") << &frmjpmap_spec();
}

// A fixed frame with a close box and the icon; the table's colours. A button's or frame's
// caption fits the room its style gives it. A label's text, drawn uncut, stays inside the
// label, and a bordered label's glyphs stay a pixel off the border. The unit glyphs stand
// under their bars, and a disabled frame fades as a whole, coloured controls included. Every
// control the keyboard reaches has an accessible name.
void TestWindowRendering::windows_look_whole()
{
    QFETCH(const WindowSpec*, table);
    QMainWindow w;
    build_window(w, *table);
    const bool has_bars = table != &frmjpmap_spec();
    if (has_bars)
        new DmsBars(&w, DmsBars::Echo::AtDragEnd);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.centralWidget()->height() + (w.menuBar()->actions().isEmpty() ? 0 : w.menuBar()->height()), w.height());
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QVERIFY(!table->back.is_set() || w.centralWidget()->palette().color(QPalette::Window) == to_qcolor(table->back));
    QVERIFY(!(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);
#ifdef ORVINE_HAVE_IMAGES
    QVERIFY(!w.windowIcon().isNull());
#endif
    for (const ControlSpec& row : table->controls) {
        QWidget* c = control<QWidget>(&w, row.name);
        const QPalette pal = c->palette();
        QVERIFY2((!row.text.is_set() || pal.color(QPalette::WindowText) == to_qcolor(row.text, pal))
                     && (!row.back.is_set() || pal.color(QPalette::Window) == to_qcolor(row.back, pal)),
                 row.name);
        const bool units = qstrcmp(row.name, "Label3") == 0 || qstrcmp(row.name, "Label4") == 0;
        if (!row.caption || !*row.caption || units)
            continue;
        const QFontMetrics fm(c->font());
        const QString text = QString::fromUtf8(row.caption);
        if (auto* button = qobject_cast<QPushButton*>(c)) {
            QStyleOptionButton opt;
            opt.initFrom(button);
            const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, button);
            QVERIFY2(fm.horizontalAdvance(text) <= room.width() && fm.height() <= room.height(), row.name);
        } else if (qobject_cast<QGroupBox*>(c)) {
            QVERIFY2(fm.horizontalAdvance(text) + fm.height() <= c->width(), row.name);
        } else {
            auto* label = static_cast<QLabel*>(c);
            const int gap = label->frameWidth();
            const QRect allowed = label->contentsRect().adjusted(gap, gap, -gap, -gap);
            const QList<QPoint> inked = ink_of(label, 8);
            QVERIFY2(!inked.isEmpty(), row.name);
            for (const QPoint& at : inked)
                QVERIFY2(allowed.contains(at), qPrintable(QStringLiteral("%1: ink outside the box").arg(row.name)));
        }
    }
    // A screen reader has a name to say for everything the keyboard can reach.
    for (QWidget* c : w.findChildren<QWidget*>()) {
        if (c->focusPolicy() == Qt::NoFocus || !c->isVisibleTo(&w))
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
        QVERIFY2(a && !a->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(c->objectName()));
    }
    if (!has_bars)
        return;

    for (const auto& [caption, first_bar] : {std::pair("Label3", 0), std::pair("Label4", 3)}) {
        auto* units = control<QLabel>(&w, caption);
        const QList<qreal> centres = column_runs(units);
        QCOMPARE(centres.size(), 3);
        for (int k = 0; k < 3; ++k) {
            auto* bar = control<QWidget>(&w, DmsBars::NAMES[static_cast<std::size_t>(first_bar + k)]);
            const qreal under_bar = units->mapFrom(units->parentWidget(), QRectF(bar->geometry()).center()).x();
            QVERIFY2(qAbs(centres[k] - under_bar) <= 2,
                     qPrintable(QStringLiteral("unit %1 at %2, bar at %3").arg(k).arg(centres[k]).arg(under_bar)));
        }
    }

    // A bold frame title does not make the labels inside it bold.
    auto* frame = control<QGroupBox>(&w, "Frame1");
    QVERIFY(frame->font().bold() && !control<QLabel>(&w, "Label3")->font().bold());
    const QImage enabled = frame->grab().toImage();
    frame->setEnabled(false);
    const QImage disabled = frame->grab().toImage();
    const int window_grey = qGray(frame->palette().color(QPalette::Window).rgb());
    int faded = 0;
    for (int y = 0; y < enabled.height(); ++y) {
        for (int x = 0; x < enabled.width(); ++x) {
            const int before = qAbs(qGray(enabled.pixel(x, y)) - window_grey);
            const int after = qAbs(qGray(disabled.pixel(x, y)) - window_grey);
            QVERIFY2(after <= before * 0.6 + 2, qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            faded += before > 60;
        }
    }
    QVERIFY(faded > 100);
    frame->setEnabled(true);
    QCOMPARE(frame->grab().toImage(), enabled);
}

// A bar holds its larger number at the top: keys and the wheel move the way it shows.
void TestWindowRendering::bars_count_upwards()
{
    QMainWindow w;
    build_window(w, form1_spec());
    auto* b = control<QScrollBar>(&w, "kei_do");
    for (const auto& [key, from, to] : {std::tuple(Qt::Key_PageUp, 0, 10), std::tuple(Qt::Key_Home, 0, 179),
                                        std::tuple(Qt::Key_End, 0, -179), std::tuple(Qt::Key_Up, 179, 179)}) {
        b->setValue(from);
        QTest::keyClick(b, key);
        QCOMPARE(b->value(), to);
    }
    QWheelEvent up(QPointF(5, 50), QPointF(5, 50), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    b->setValue(0);
    QCoreApplication::sendEvent(b, &up);
    QVERIFY(b->value() > 0);
}

QTEST_MAIN(TestWindowRendering)
#include "test_window_rendering.moc"
