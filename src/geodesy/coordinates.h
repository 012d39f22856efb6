#pragma once
// Coordinates as the program holds them, their conversion to radians and their label texts.
//
// A coordinate is whole degrees (do), minutes (hun) and seconds (byo) of arc; a Point holds a
// latitude (ido) then a longitude (kei). The hemisphere is the sign of the degrees alone:
// degrees 0 is always north or east, so less than one degree south or west cannot be held.
//   entry form:  minutes and seconds 0..59, never negative (bars, files, windows);
//   signed form: minutes and seconds carry the sign of their degrees (stored points during a
//                calculation; only the same-point comparison sees the difference).
// Every function here accepts any value of the 16-bit fields, in either form.
#include "shared_state/point.h"

#include <cstdint>
#include <string>

namespace orvine {

// The program's one value of pi. Every degree/radian conversion and every pi, pi/2 and pi/12
// uses it; it is about 4.1e-10 above pi, which shows in the last digits of the results.
inline constexpr double PI10 = 3.141592654;

enum class Axis { Latitude, Longitude };

// Seconds of arc in a whole turn.
constexpr std::int32_t SECONDS_PER_TURN = 360 * 3600;

// -1 for negative degrees, +1 otherwise (also for 0: there is no negative zero).
std::int16_t dms_sign(std::int16_t degrees);

// The angle in radians, signed by the degrees' hemisphere; minutes and seconds enter by their
// magnitude, so the entry and signed forms give the same result. 0°30'0" is +0.5°.
double dms_to_radians(std::int16_t degrees, std::int16_t minutes, std::int16_t seconds);

// An integer as plain decimal text: "-" for negatives, no blank, padding or grouping.
std::string number_text(int n);

// The label text of one coordinate, e.g. "緯度：  35度41分22秒" or "経度：  -74度0分21秒";
// minutes and seconds are shown without sign.
std::string coordinate_text(Axis axis, std::int16_t degrees, std::int16_t minutes,
                            std::int16_t seconds);

// Minutes and seconds take the sign of their degrees (magnitude kept); idempotent.
Point to_signed_form(const Point& p);

// Minutes and seconds as magnitudes, as they go back on the bars or into another stored point.
Point to_entry_form(const Point& p);

} // namespace orvine
