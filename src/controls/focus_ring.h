#pragma once
// A ring in the highlight colour around a control, drawn on the window behind it while the
// control has the keyboard focus: for controls whose look shows no focus in the desktop's
// usual style (the place list) or that fill their box to the edges (the map pictures).
class QWidget;

namespace orvine {

// Width of the ring in pixels before scaling; it lies just outside the control.
constexpr int FOCUS_RING_WIDTH = 2;

// From now on `control` shows its focus by the ring, on its parent.
void ring_when_focused(QWidget& control);

} // namespace orvine
