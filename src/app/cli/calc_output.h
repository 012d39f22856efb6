#pragma once
// The calculator's output lines.
#include "geodesy/calculation.h"

#include <string>
#include <string_view>

namespace orvine::calc {

// Appends one tab-separated line for a computed pair: B (degrees, 17 significant digits), the
// sector name, D (km, double, 17 significant digits), the lb_cal caption, the lb_dis caption,
// and a line feed.
void append_result_line(std::string& out, const Calculation& result);

// A message with its carriage returns as line feeds, for standard error.
std::string message_lines(std::string_view message);

// A message on one line: its lines trimmed of blanks and joined by one blank, for the batch
// mode's ERROR lines, which must stay aligned with the input lines.
std::string message_one_line(std::string_view message);

} // namespace orvine::calc
