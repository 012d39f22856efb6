#pragma once
// The direction and distance between any two points of the globe, for the command-line
// calculator: the window's formulas (azimuth.h) and constants on coordinates that the bars cannot
// hold as well, that is less than one degree south or west, or fractions of a second.
//
// Coordinates here are signed angles in degrees, south and west negative. A coordinate that is a
// whole number of seconds of arc is also held as that exact count and converted to radians by the
// window's own steps (degrees, minutes and seconds, then the sign): for two points that the bars
// can hold the results, texts included, equal calculate() in calculation.h to the last bit.
#include "geodesy/calculation.h"
#include "geodesy/direction.h"

#include <cstdint>
#include <string>

namespace orvine {

struct GlobeAngle {
    double degrees = 0;         // signed
    bool whole_seconds = false; // degrees is a whole number of seconds of arc, held in `seconds`
    std::int32_t seconds = 0;   // signed seconds of arc, when whole_seconds
};

// The angle of `degrees`; whole_seconds when it lies within 1e-8 seconds of arc of a whole second
// (closer than the rounding of any decimal or D:M:S text to a double), which it then becomes.
GlobeAngle angle_from_degrees(double degrees);
GlobeAngle angle_from_seconds(std::int32_t seconds);

// The angle in radians, as dms_to_radians converts: whole seconds split into degrees, minutes and
// seconds and converted by the same steps with the sign applied last; any other angle as
// (degrees * PI10) / 180.
double globe_radians(const GlobeAngle& a);

struct GlobePoint {
    GlobeAngle lat; // -90 < lat < 90: the poles have no bearing
    GlobeAngle lon; // -180 <= lon <= 180; -180 and 180 are one meridian
};

struct GlobeCalculation {
    Refusal refusal = Refusal::None;
    // The rest is set only when refusal is Refusal::None; meanings as in Calculation.
    double b = 0;       // initial bearing, degrees, 0 <= B <= 360
    double c = 0;       // central angle, radians
    double d = 0;       // C * EARTH_RADIUS_KM
    double final_b = 0; // bearing of travel on arrival, degrees, 0 <= final_b < 360 (when asked)
    const Sector* sector = nullptr;
    std::string bearing_caption;
    std::string distance_caption;
};

// Computes dep to dst into `out`, reusing its text buffers. Refuses Refusal::SamePoint for equal
// points, and Refusal::Antipode for exact antipodes: counted in whole seconds when all four
// coordinates are whole seconds, as the window does, else in degrees. Points that the double
// arithmetic cannot tell from the same point or the antipode (cos C squared rounds to 1) are
// refused the same way, as their bearing would be meaningless.
// with_final: also compute final_b, the initial bearing from dst back to dep turned by 180 degrees.
void calculate_globe(const GlobePoint& dep, const GlobePoint& dst, bool with_final,
                     GlobeCalculation& out);

} // namespace orvine
