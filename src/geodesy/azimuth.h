#pragma once
// Great-circle central angle and initial bearing on a sphere, by the law of cosines.
//
// Notation: phi = latitude, lambda = longitude, both in radians (from dms_to_radians, north and
// east positive); C = central angle in radians; x = cosine of the bearing at the departure
// point; A = arccosine of x in degrees; B = initial bearing in degrees, clockwise from north.
// Subscript 1 is the departure point, 2 the destination.
//
// Every arccosine is taken as PI10/2 - atan(v / sqrt(1 - v*v)) with the program's PI10, and all
// arithmetic is double precision in the order written in azimuth.cpp: the shown texts depend on
// the last bits. One consequence is a systematic offset: C comes out about (PI10 - pi)/2, i.e.
// 2.05e-10 rad, above the true angle, so a destination due north gives x about 1.2e-8 below 1
// and a bearing of a few thousandths of a degree, not 0.
#include "shared_state/point.h"

namespace orvine {

// Replaces cos C when (cos C)^2 is exactly 1, so that sin C is not 0.
inline constexpr double COS_NEAR_ONE = 0.99999999;
// Kilometres per radian of central angle.
inline constexpr double EARTH_RADIUS_KM = 6367.4475;

struct CentralAngle {
    double c;     // radians, 0 <= C <= pi (about)
    double cos_c; // its cosine as used further on (COS_NEAR_ONE after the guard)
};

// cos C between (phi1, lambda1) and (phi2, lambda2), all in radians, before any guard: the value
// whose square central_angle compares with 1.
double central_cosine(double phi1, double lambda1, double phi2, double lambda2);

// Central angle between (phi1, lambda1) and (phi2, lambda2), all in radians. When the computed
// cos C squared is exactly 1 (coincident or antipodal points), cos C becomes COS_NEAR_ONE, also
// for -1: the result is then meaningless, and the caller refuses those cases separately.
CentralAngle central_angle(double phi1, double lambda1, double phi2, double lambda2);

// Cosine x of the bearing at the departure point (latitudes in radians, C and cos C from
// central_angle). Values beyond 1 or -1 by rounding are reflected back (x > 1 gives 2 - x,
// x < -1 gives -2 - x); exactly 1 or -1 are kept.
double bearing_cosine(double phi1, double phi2, double c, double cos_c);

// Initial bearing B in degrees, 0 <= B <= 360, from x and the longitudes in radians. The
// destination lies to the west when sin(lambda2 - lambda1) < 0, and B is then 360 - A.
// x exactly 1 gives A = 0 and x exactly -1 gives A = 180 (the limits of the arccosine).
double initial_bearing(double x, double lambda1, double lambda2);

// Both points in signed form (to_signed_form): all six values equal.
bool is_same_point(const Point& dep, const Point& dst);

// Both points in either form: the latitudes, counted in whole seconds of arc with their
// hemisphere's sign, sum to 0 and the longitudes differ by exactly 180 degrees.
bool is_antipode(const Point& dep, const Point& dst);

} // namespace orvine
