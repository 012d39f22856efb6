#pragma once
// A window of the program that another one replaces stays hidden until it is needed again.
// The desktop may still hand it the activation for a moment after it was hidden (a closing
// menu gives the activation back to the window it was opened from, after the menu's command
// hid that window), and Qt then gives the focus to one of its controls, which a screen reader
// announces. So the windows hide their contents with themselves and show them again as they
// are shown: a control that is not shown takes no focus. Each control keeps its state, and
// the window remembers which control had the focus.
class QMainWindow;

namespace orvine {

// Call from the window's hide path, after it has been hidden by the program.
void hide_contents(QMainWindow& window);

// Call before the window's own showing does anything else (sizes are then right again).
void show_contents(QMainWindow& window);

} // namespace orvine
