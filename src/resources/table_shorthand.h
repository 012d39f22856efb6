#pragma once
// Short names used by the three window tables, so that each row reads like a line of the
// window's layout. Only the table files include this.
#include "resources/window_table.h"

namespace orvine::table_shorthand {

using K = ControlKind;
using Role = Colour::Role;
constexpr const char* WINDOW = nullptr;   // placed on the window's client area
constexpr const char* FRAME1 = "Frame1";  // placed inside the frame of the bars
constexpr Colour GREY = rgb(128, 128, 128);
constexpr Colour WHITE = rgb(255, 255, 255);
constexpr Colour BLACK = rgb(0, 0, 0);
constexpr Colour HINT_TEXT = rgb(64, 64, 64);
constexpr Colour READ_OUT = rgb(224, 224, 224);
constexpr Colour WINDOW_TEXT = system_colour(Role::WindowText);
constexpr Colour HIGHLIGHT_TEXT = system_colour(Role::HighlightText);

} // namespace orvine::table_shorthand
