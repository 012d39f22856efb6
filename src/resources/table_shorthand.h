#pragma once
// Short names used by the three window tables, so that each row reads like a line of the
// window's layout. Only the table files include this.
#include "resources/window_spec.h"

namespace orvine::table_shorthand {

using K = ControlKind;
using Role = Colour::Role;
constexpr const char* kWindow = nullptr;   // placed on the window's client area
constexpr const char* kFrame1 = "Frame1";  // placed inside the frame of the bars
constexpr Colour kGrey = rgb(128, 128, 128);
constexpr Colour kWhite = rgb(255, 255, 255);
constexpr Colour kBlack = rgb(0, 0, 0);
constexpr Colour kHintText = rgb(64, 64, 64);
constexpr Colour kReadOut = rgb(224, 224, 224);
constexpr Colour kWindowText = system_colour(Role::WindowText);
constexpr Colour kHighlightText = system_colour(Role::HighlightText);

} // namespace orvine::table_shorthand
