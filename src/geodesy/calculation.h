#pragma once
// The whole direction-and-distance calculation for two stored points, shared by the main
// window and the command-line calculator.
#include "geodesy/direction.h"
#include "shared_state/point.h"

#include <string>

namespace orvine {

// The two cases the formulas cannot serve; the window shows the matching message and keeps its
// previous result.
enum class Refusal { None, SamePoint, Antipode };

// Message texts of the refusals, UTF-8; the antipode text holds two carriage returns.
extern const char* const SAME_POINT_MESSAGE;
extern const char* const ANTIPODE_MESSAGE;

// The message of a refusal; empty for Refusal::None.
std::string refusal_message(Refusal refusal);

struct Calculation {
    Refusal refusal = Refusal::None;
    // The departure and destination in signed form: the window stores both even on a refusal.
    Point dep;
    Point dst;
    // The rest is set only when refusal is Refusal::None.
    double b = 0;                       // initial bearing, degrees clockwise from north, 0 <= B <= 360
    double c = 0;                       // central angle, radians, 0 < C < pi
    double d = 0;                       // distance C * EARTH_RADIUS_KM, km, double precision
    const Sector* sector = nullptr;     // the direction of B
    std::string bearing_caption;        // lb_cal, e.g. " 25.1014 度    北北東（丑）"
    std::string distance_caption;       // lb_dis, e.g. " 10842.64 Ｋｍ"
};

// Computes the bearing and distance from dep to the destination.
// dep: entry or signed form (a departure left in signed form by an earlier calculation is fine).
// dst_bars: the destination in entry form, as the six bars hold it.
// Refuses Refusal::SamePoint when both points are equal in signed form, and Refusal::Antipode when
// the destination is the exact antipode to the second of arc.
Calculation calculate(const Point& dep, const Point& dst_bars);

} // namespace orvine
