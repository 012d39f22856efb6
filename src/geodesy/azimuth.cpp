// Notation (as in azimuth.h): phi latitude, lambda longitude, radians; C central angle;
// x cosine of the bearing; A its arccosine in degrees; B the bearing; 1 departure, 2 destination.
// Each expression is written in the order its rounding is meant to happen: do not regroup.
#include "geodesy/azimuth.h"

#include "geodesy/coordinates.h"

#include <cmath>
#include <cstdlib>

namespace orvine {

namespace {

// The arccosine through the one-argument arctangent, with PI10 for pi/2.
double acos_pi10(double v)
{
    return PI10 / 2 - std::atan(v / std::sqrt(1 - v * v));
}

int arc_seconds(std::int16_t degrees, std::int16_t minutes, std::int16_t seconds)
{
    return dms_sign(degrees)
        * (3600 * std::abs(static_cast<int>(degrees)) + 60 * std::abs(static_cast<int>(minutes))
           + std::abs(static_cast<int>(seconds)));
}

} // namespace

double central_cosine(double phi1, double lambda1, double phi2, double lambda2)
{
    return std::sin(phi1) * std::sin(phi2)
        + (std::cos(phi2) * std::cos(phi1)) * std::cos(lambda2 - lambda1);
}

CentralAngle central_angle(double phi1, double lambda1, double phi2, double lambda2)
{
    double cos_c = central_cosine(phi1, lambda1, phi2, lambda2);
    if (cos_c * cos_c == 1)
        cos_c = COS_NEAR_ONE;
    return {acos_pi10(cos_c), cos_c};
}

double bearing_cosine(double phi1, double phi2, double c, double cos_c)
{
    double x = (std::sin(phi2) - std::sin(phi1) * cos_c) / (std::sin(c) * std::cos(phi1));
    if (x > 1)
        x = 2 - x;
    else if (x < -1)
        x = -2 - x;
    return x;
}

double initial_bearing(double x, double lambda1, double lambda2)
{
    double a;
    if (x == 1)
        a = 0;
    else if (x == -1)
        a = 180;
    else
        a = acos_pi10(x) * 180 / PI10;
    return std::sin(lambda2 - lambda1) < 0 ? 360 - a : a;
}

bool is_same_point(const Point& dep, const Point& dst)
{
    return dep == dst;
}

bool is_antipode(const Point& dep, const Point& dst)
{
    const int lat_sum = arc_seconds(dep.latitude.degrees, dep.latitude.minutes, dep.latitude.seconds)
        + arc_seconds(dst.latitude.degrees, dst.latitude.minutes, dst.latitude.seconds);
    const int lon_diff = arc_seconds(dep.longitude.degrees, dep.longitude.minutes, dep.longitude.seconds)
        - arc_seconds(dst.longitude.degrees, dst.longitude.minutes, dst.longitude.seconds);
    return lat_sum == 0 && std::abs(lon_diff) == SECONDS_PER_TURN / 2;
}

} // namespace orvine
