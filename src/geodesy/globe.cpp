// Notation as in azimuth.h. The conversion to radians repeats dms_to_radians step by step: the
// texts show the last bits, so do not regroup.
#include "geodesy/globe.h"

#include "geodesy/azimuth.h"
#include "geodesy/coordinates.h"

#include <cmath>
#include <cstdlib>

namespace orvine {

namespace {

bool all_whole(const GlobePoint& a, const GlobePoint& b)
{
    return a.lat.whole_seconds && a.lon.whole_seconds && b.lat.whole_seconds
        && b.lon.whole_seconds;
}

Refusal exact_refusal(const GlobePoint& dep, const GlobePoint& dst)
{
    if (all_whole(dep, dst)) {
        const std::int32_t lon_diff = std::abs(dep.lon.seconds - dst.lon.seconds);
        if (dep.lat.seconds == dst.lat.seconds && (lon_diff == 0 || lon_diff == SECONDS_PER_TURN))
            return Refusal::SamePoint;
        if (dep.lat.seconds + dst.lat.seconds == 0 && lon_diff == SECONDS_PER_TURN / 2)
            return Refusal::Antipode;
        return Refusal::None;
    }
    const double lon_diff = std::abs(dep.lon.degrees - dst.lon.degrees);
    if (dep.lat.degrees == dst.lat.degrees && (lon_diff == 0 || lon_diff == 360))
        return Refusal::SamePoint;
    if (dep.lat.degrees == -dst.lat.degrees && lon_diff == 180)
        return Refusal::Antipode;
    return Refusal::None;
}

} // namespace

GlobeAngle angle_from_degrees(double degrees)
{
    const double seconds = degrees * 3600;
    const double whole = std::nearbyint(seconds);
    if (std::abs(seconds - whole) <= 1e-8 && std::abs(whole) <= SECONDS_PER_TURN)
        return angle_from_seconds(static_cast<std::int32_t>(whole));
    GlobeAngle a;
    a.degrees = degrees;
    return a;
}

GlobeAngle angle_from_seconds(std::int32_t seconds)
{
    GlobeAngle a;
    a.degrees = seconds / 3600.0;
    a.whole_seconds = true;
    a.seconds = seconds;
    return a;
}

double globe_radians(const GlobeAngle& angle)
{
    if (!angle.whole_seconds)
        return (angle.degrees * PI10) / 180.0;
    const int n = std::abs(static_cast<int>(angle.seconds));
    const double s = angle.seconds < 0 ? -1 : 1;
    const double a = n / 3600 + (n / 60 % 60) / 60.0;
    const double b = a + (n % 60) / 3600.0;
    return ((s * b) * PI10) / 180.0;
}

void calculate_globe(const GlobePoint& dep, const GlobePoint& dst, bool with_final,
                     GlobeCalculation& out)
{
    out.refusal = exact_refusal(dep, dst);
    out.b = out.c = out.d = out.final_b = 0;
    out.sector = nullptr;
    out.bearing_caption.clear();
    out.distance_caption.clear();
    if (out.refusal != Refusal::None)
        return;

    const double lambda1 = globe_radians(dep.lon);
    const double phi1 = globe_radians(dep.lat);
    const double lambda2 = globe_radians(dst.lon);
    const double phi2 = globe_radians(dst.lat);

    const double raw_cos_c = central_cosine(phi1, lambda1, phi2, lambda2);
    if (raw_cos_c * raw_cos_c == 1) {
        out.refusal = raw_cos_c > 0 ? Refusal::SamePoint : Refusal::Antipode;
        return;
    }
    const CentralAngle angle = central_angle(phi1, lambda1, phi2, lambda2);
    out.b = initial_bearing(bearing_cosine(phi1, phi2, angle.c, angle.cos_c), lambda1, lambda2);
    out.c = angle.c;
    out.d = angle.c * EARTH_RADIUS_KM;
    out.sector = &direction_sector(out.b);
    bearing_text_into(out.bearing_caption, out.b, out.sector->name);
    distance_text_into(out.distance_caption, out.c);
    if (with_final) {
        const double back =
            initial_bearing(bearing_cosine(phi2, phi1, angle.c, angle.cos_c), lambda2, lambda1);
        out.final_b = back < 180 ? back + 180 : back - 180;
    }
}

} // namespace orvine
