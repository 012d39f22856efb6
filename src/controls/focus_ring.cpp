#include "controls/focus_ring.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace orvine {

namespace {

class FocusRing : public QObject {
public:
    explicit FocusRing(QWidget& control) : QObject(&control), control_(control)
    {
        control.installEventFilter(this);
        control.parentWidget()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QRect ring = control_.geometry().adjusted(-FOCUS_RING_WIDTH, -FOCUS_RING_WIDTH, FOCUS_RING_WIDTH,
                                                        FOCUS_RING_WIDTH);
        if (watched == &control_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
            control_.parentWidget()->update(ring);
        else if (watched != &control_ && event->type() == QEvent::Paint && control_.hasFocus()
                 && control_.isVisible()) {
            QPainter p(control_.parentWidget());
            QPen pen(control_.palette().color(QPalette::Highlight), FOCUS_RING_WIDTH);
            pen.setJoinStyle(Qt::MiterJoin);
            p.setPen(pen);
            const qreal half = FOCUS_RING_WIDTH / 2.0;
            p.drawRect(QRectF(control_.geometry()).adjusted(-half, -half, half, half));
        }
        return false;
    }

private:
    QWidget& control_;
};

} // namespace

void ring_when_focused(QWidget& control)
{
    new FocusRing(control);
}

} // namespace orvine
