#include "controls/upward_scroll_bar.h"

#include "controls/focus_ring.h"

#include <QPainter>
#include <QWheelEvent>

namespace orvine {

UpwardScrollBar::UpwardScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent)
{
    setInvertedAppearance(true);
    setInvertedControls(true);
    connect(this, &QAbstractSlider::actionTriggered, this, &UpwardScrollBar::mirror_action);
}

// Qt moves the thumb for an action before it changes the value and lets a slot of
// actionTriggered correct the position; the arrows and trough keep their Qt meaning
// ("Sub" = top end), so each step is turned around here.
void UpwardScrollBar::mirror_action(int action)
{
    const int v = value();
    switch (action) {
    case SliderSingleStepSub: setSliderPosition(v + singleStep()); break;
    case SliderSingleStepAdd: setSliderPosition(v - singleStep()); break;
    case SliderPageStepSub: setSliderPosition(v + pageStep()); break;
    case SliderPageStepAdd: setSliderPosition(v - pageStep()); break;
    case SliderToMinimum: setSliderPosition(maximum()); break;
    case SliderToMaximum: setSliderPosition(minimum()); break;
    default: break;
    }
}

void UpwardScrollBar::wheelEvent(QWheelEvent* event)
{
    QWheelEvent turned(event->position(), event->globalPosition(), -event->pixelDelta(), -event->angleDelta(),
                       event->buttons(), event->modifiers(), event->phase(), event->inverted(), event->source());
    QScrollBar::wheelEvent(&turned);
    event->setAccepted(turned.isAccepted());
}

void UpwardScrollBar::paintEvent(QPaintEvent* event)
{
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter p(this);
    QPen ring(palette().color(QPalette::Highlight), FOCUS_RING_WIDTH);
    ring.setJoinStyle(Qt::MiterJoin);
    p.setPen(ring);
    const qreal inset = FOCUS_RING_WIDTH / 2.0;
    p.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

} // namespace orvine
