#include "app/cli/calc_figures.h"

#include <GeographicLib/Geodesic.hpp>

namespace orvine::calc {

namespace {

const GeographicLib::Geodesic& geodesic(Figure figure)
{
    static const GeographicLib::Geodesic sphere(6367447.5, 0);
    static const GeographicLib::Geodesic grs80(6378137, 1 / 298.257222101);
    return figure == Figure::Sphere ? sphere : grs80;
}

} // namespace

double azimuth_0_360(double azimuth)
{
    const double turned = azimuth < 0 ? azimuth + 360 : azimuth;
    return turned >= 360 || turned == 0 ? 0 : turned;
}

EllipsoidFigures ellipsoid_figures(const GlobePoint& dep, const GlobePoint& dst)
{
    EllipsoidFigures f;
    geodesic(Figure::Grs80).Inverse(dep.lat.degrees, dep.lon.degrees, dst.lat.degrees,
                                    dst.lon.degrees, f.distance_m, f.bearing, f.final_bearing);
    f.bearing = azimuth_0_360(f.bearing);
    f.final_bearing = azimuth_0_360(f.final_bearing);
    return f;
}

Destination destination(Figure figure, double lat, double lon, double azimuth, double distance_m)
{
    Destination d;
    geodesic(figure).Direct(lat, lon, azimuth, distance_m, d.lat, d.lon, d.final_bearing);
    // The library gives -180 <= lon <= 180: one meridian, named once here.
    if (d.lon >= 180)
        d.lon -= 360;
    d.lat += 0.0; // no -0 in the output
    d.lon += 0.0;
    d.final_bearing = azimuth_0_360(d.final_bearing);
    return d;
}

} // namespace orvine::calc
