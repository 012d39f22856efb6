// What the windows look like with the font the machine really has, read from their pixels.
// CTest runs this once at 1× and once with QT_SCALE_FACTOR=2.
#include "controls/dms_bars.h"
#include "platform/platform.h"
#include "resources/window_builder.h"

#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QtMath>

#include <memory>

using namespace orvine;

namespace {

const WindowSpec& table(const QString& window)
{
    return window == "Form1" ? form1_spec() : window == "Form2" ? form2_spec() : frmjpmap_spec();
}

// A window as the program shows it: built from its table, with the bars of its frame.
std::unique_ptr<QMainWindow> shown(const QString& window)
{
    auto w = std::make_unique<QMainWindow>();
    build_window(*w, table(window));
    if (window != "frmjpmap")
        new DmsBars(w.get(), DmsBars::Echo::AtDragEnd);
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        qWarning("%s not exposed", qPrintable(window));
    return w;
}

bool ink(QRgb pixel, QRgb background)
{
    return qAbs(qGray(pixel) - qGray(background)) > 48;
}

// Whether any pixel of the ring `width` device pixels wide, `inset` inside the image's edge,
// differs from the background.
bool ink_on_ring(const QImage& image, int inset, int width, QRgb background)
{
    const QRect outer = image.rect().adjusted(inset, inset, -inset, -inset);
    const QRect inner = outer.adjusted(width, width, -width, -width);
    for (int y = outer.top(); y <= outer.bottom(); ++y)
        for (int x = outer.left(); x <= outer.right(); ++x)
            if (!inner.contains(x, y) && ink(image.pixel(x, y), background))
                return true;
    return false;
}

QString caption_of(QWidget* w)
{
    if (auto* button = qobject_cast<QPushButton*>(w))
        return button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(w))
        return frame->title();
    return static_cast<QLabel*>(w)->text();
}

} // namespace

class TestWindowRendering : public QObject {
    Q_OBJECT
private slots:
    void captions_show_whole_data();
    void captions_show_whole();
    void units_stand_under_their_bars_data();
    void units_stand_under_their_bars();
    void disabled_frame_fades_as_a_whole_data();
    void disabled_frame_fades_as_a_whole();
};

void TestWindowRendering::captions_show_whole_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    for (const char* window : {"Form1", "Form2", "frmjpmap"}) {
        for (const ControlSpec& c : table(QString::fromLatin1(window)).controls) {
            const bool unit_caption = qstrcmp(c.name, "Label3") == 0 || qstrcmp(c.name, "Label4") == 0;
            if (c.caption && *c.caption && !unit_caption)
                QTest::addRow("%s %s", window, c.name) << QString::fromLatin1(window) << QString::fromLatin1(c.name);
        }
    }
}

// A label's text, drawn as the label draws it but uncut, stays inside the label, and a
// bordered label's glyphs stay a pixel off the border, also in the label's own pixels. A
// button's or frame's caption fits the room its style gives it.
void TestWindowRendering::captions_show_whole()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    auto w = shown(window);
    QWidget* c = orvine::control<QWidget>(w.get(), qPrintable(control));
    const QFontMetrics fm(c->font());
    const QString text = caption_of(c);
    if (auto* button = qobject_cast<QPushButton*>(c)) {
        QStyleOptionButton opt;
        opt.initFrom(button);
        const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, button);
        QVERIFY2(fm.horizontalAdvance(text) <= room.width(), qPrintable(QString::number(room.width())));
        QVERIFY(fm.height() <= room.height());
    } else if (qobject_cast<QGroupBox*>(c)) {
        QVERIFY(fm.horizontalAdvance(text) + fm.height() <= c->width());
    } else {
        // The text drawn as the label draws it, but on a larger sheet that cuts nothing off:
        // ink outside the label would be missing in the window.
        auto* label = static_cast<QLabel*>(c);
        const int margin = 8;
        const qreal dpr = label->devicePixelRatioF();
        const QRgb background = label->palette().color(QPalette::Window).rgb();
        QImage sheet((label->size() + QSize(2 * margin, 2 * margin)) * dpr, QImage::Format_RGB32);
        sheet.setDevicePixelRatio(dpr);
        sheet.fill(background);
        QPainter p(&sheet);
        p.translate(margin, margin);
        p.setFont(label->font());
        label->style()->drawItemText(&p, label->contentsRect(), int(label->alignment()) | Qt::TextDontClip,
                                     label->palette(), true, text,
                                     label->foregroundRole());
        p.end();
        // A bordered label's glyphs keep a pixel off the border.
        const int gap = label->frameWidth();
        const QRect allowed = label->contentsRect().translated(margin, margin).adjusted(gap, gap, -gap, -gap);
        int outside = 0;
        int inside = 0;
        for (int y = 0; y < sheet.height(); ++y)
            for (int x = 0; x < sheet.width(); ++x)
                if (ink(sheet.pixel(x, y), background))
                    ++(allowed.contains(QPoint(qFloor(x / dpr), qFloor(y / dpr))) ? inside : outside);
        QVERIFY(inside > 0);
        QVERIFY2(outside == 0, qPrintable(QStringLiteral("%1 pixels of ink outside the box").arg(outside)));
        if (gap > 0) {
            const QImage shown = label->grab().toImage();
            const int px = qRound(dpr);
            QVERIFY2(!ink_on_ring(shown, gap * px, px, background), "glyphs on the border");
        }
    }
}

void TestWindowRendering::units_stand_under_their_bars_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("first_bar");
    for (const char* window : {"Form1", "Form2"}) {
        QTest::addRow("%s latitude", window) << QString::fromLatin1(window) << "Label3" << 0;
        QTest::addRow("%s longitude", window) << QString::fromLatin1(window) << "Label4" << 3;
    }
}

// The middle of each run of inked columns, against the middle of the bar above it.
void TestWindowRendering::units_stand_under_their_bars()
{
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(int, first_bar);
    auto w = shown(window);
    auto* units = control<QLabel>(w.get(), qPrintable(caption));
    const QImage image = units->grab().toImage();
    const qreal px = image.devicePixelRatio();
    const QRgb background = units->palette().color(QPalette::Window).rgb();
    QList<qreal> centres;
    int run_start = -1;
    int last_inked = -100;
    for (int x = 0; x <= image.width(); ++x) {
        bool inked = false;
        for (int y = 0; x < image.width() && y < image.height() && !inked; ++y)
            inked = ink(image.pixel(x, y), background);
        if (inked && x - last_inked > 4 * px) {
            if (run_start >= 0)
                centres << (run_start + last_inked + 1) / (2 * px);
            run_start = x;
        }
        if (inked)
            last_inked = x;
    }
    if (run_start >= 0)
        centres << (run_start + last_inked + 1) / (2 * px);
    QCOMPARE(centres.size(), 3);
    for (int k = 0; k < 3; ++k) {
        auto* bar = control<QScrollBar>(w.get(), DmsBars::NAMES[static_cast<std::size_t>(first_bar + k)]);
        const qreal under_bar = units->mapFrom(units->parentWidget(), QRectF(bar->geometry()).center()).x();
        QVERIFY2(qAbs(centres[k] - under_bar) <= 2,
                 qPrintable(QStringLiteral("unit %1 at %2, bar at %3").arg(k).arg(centres[k]).arg(under_bar)));
    }
}

void TestWindowRendering::disabled_frame_fades_as_a_whole_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("Form1") << "Form1";
    QTest::newRow("Form2") << "Form2";
}

// Every pixel of the disabled frame stands nearer the window's colour than before, the
// controls with colours of their own included.
void TestWindowRendering::disabled_frame_fades_as_a_whole()
{
    QFETCH(QString, window);
    auto w = shown(window);
    auto* frame = control<QGroupBox>(w.get(), "Frame1");
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

QTEST_MAIN(TestWindowRendering)
#include "test_window_rendering.moc"
