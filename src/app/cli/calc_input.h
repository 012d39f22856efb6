#pragma once
// Reading the calculator's coordinates: "D:M:S" in entry form, the sign on the degrees only.
#include "geodesy/coordinates.h"
#include "shared_state/point.h"

#include <string>
#include <string_view>

namespace orvine::calc {

// Reads one coordinate into degrees, minutes, seconds. Accepts the bars' ranges only: latitude
// degrees -89..89, longitude -179..179, minutes and seconds 0..59; "-0:M:S" is refused because
// less than one degree south or west cannot be held. On failure returns false and sets `error`
// to a message that names `arg_name` and the token and says what is wrong.
bool parse_coordinate(std::string_view token, Axis axis, const char* arg_name,
                      std::int16_t& degrees, std::int16_t& minutes, std::int16_t& seconds,
                      std::string& error);

// The four arguments LAT1 LON1 LAT2 LON2 as a departure and a destination; same failure rules.
bool parse_points(const std::string_view (&tokens)[4], Point& dep, Point& dst, std::string& error);

// Splits a line (without its line end) at blanks and tabs into exactly four tokens and reads
// them; a line with another number of fields is an error.
bool parse_line(std::string_view line, Point& dep, Point& dst, std::string& error);

} // namespace orvine::calc
