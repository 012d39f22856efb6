#include "geodesy/calculation.h"

#include "geodesy/azimuth.h"
#include "geodesy/coordinates.h"

#include <cmath>

namespace orvine {

const char* const SAME_POINT_MESSAGE = "同一地点です。方位の計算はできません。";
const char* const ANTIPODE_MESSAGE = "ちょうど地球の正反対となります。\r\r               計算不能です。";

std::string refusal_message(Refusal refusal)
{
    switch (refusal) {
    case Refusal::SamePoint:
        return SAME_POINT_MESSAGE;
    case Refusal::Antipode:
        return ANTIPODE_MESSAGE;
    case Refusal::None:
        break;
    }
    return {};
}

Calculation calculate(const Point& dep, const Point& dst_bars)
{
    Calculation out;
    out.dep = to_signed_form(dep);
    out.dst = to_signed_form(dst_bars);
    if (is_same_point(out.dep, out.dst)) {
        out.refusal = Refusal::SamePoint;
        return out;
    }

    const double lambda1 = dms_to_radians(out.dep.longitude.degrees, out.dep.longitude.minutes,
                                          out.dep.longitude.seconds);
    const double phi1 = dms_to_radians(out.dep.latitude.degrees, out.dep.latitude.minutes, out.dep.latitude.seconds);
    const double lambda2 = dms_to_radians(out.dst.longitude.degrees, out.dst.longitude.minutes,
                                          out.dst.longitude.seconds);
    const double phi2 = dms_to_radians(out.dst.latitude.degrees, out.dst.latitude.minutes, out.dst.latitude.seconds);

    // The guard inside central_angle runs before the antipode test, so that no step divides by 0.
    const CentralAngle angle = central_angle(phi1, lambda1, phi2, lambda2);
    const double x = bearing_cosine(phi1, phi2, angle.c, angle.cos_c);
    if (is_antipode(out.dep, out.dst)) {
        out.refusal = Refusal::Antipode;
        return out;
    }

    out.b = initial_bearing(x, lambda1, lambda2);
    out.c = angle.c;
    out.d = angle.c * EARTH_RADIUS_KM;
    out.sector = &direction_sector(out.b);
    bearing_text_into(out.bearing_caption, out.b, out.sector->name);
    distance_text_into(out.distance_caption, out.c);
    return out;
}

} // namespace orvine
