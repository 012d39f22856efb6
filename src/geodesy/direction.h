#pragma once
// The twelve compass directions with their zodiac branches, and the result texts.
#include <string>

namespace orvine {

// One 30-degree sector of bearing. The arc angles place the sector on the compass figure: radians
// counter-clockwise from east, arc_start = k_start * PI10 / 12 and arc_end = k_end * PI10 / 12
// computed in double, arc_end then held in single precision as the figure uses it.
struct Sector {
    const char* name; // e.g. "北北東（丑）", UTF-8
    int k_start;
    int k_end;
    double arc_start;
    float arc_end;
};

// The sectors clockwise from north: north (B < 15 or B >= 345), north-north-east
// (15 <= B < 45), ..., north-north-west (315 <= B < 345).
extern const Sector SECTORS[12];

// The sector of bearing B (degrees). A bearing exactly on a bound 15, 45, ..., 345 belongs to the
// sector clockwise of it; anything from 345 on, 360 included, is north.
const Sector& direction_sector(double b);

// The ordinary text of a number with at most `digits` significant digits (15 for a double,
// 7 for a value held in single precision): no leading blank, "-" for negatives, "0" before the
// point below 1, trailing zeros and a trailing point dropped (90 -> "90",
// 25.10140147261098 -> "25.101401472611"). Never in exponent form: 1.5e-5 -> "0.000015".
std::string real_text(double value, int digits);

// Writes the bearing caption into `out`, replacing its text and keeping its storage (the batch
// calculator fills the same strings line after line): " " + the first 7 characters of
// real_text(B, 15) (cut, not rounded) + " 度" + four blanks + the sector name,
// e.g. " 25.1014 度    北北東（丑）".
void bearing_text_into(std::string& out, double b, const char* name);

// Writes the distance caption for central angle C (radians) into `out`, as bearing_text_into:
// D = C * EARTH_RADIUS_KM in double, then rounded to single precision; " " + the first
// 9 characters of real_text(D, 7) + " Ｋｍ", e.g. " 10842.64 Ｋｍ".
void distance_text_into(std::string& out, double c);

} // namespace orvine
