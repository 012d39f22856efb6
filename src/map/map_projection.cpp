#include "map/map_projection.h"

#include <algorithm>
#include <cmath>

namespace orvine {

namespace {

const MapProjection japan_map{121.39834, 0.0514679, 49.00194f, 0.0514679f, 500, 500, 500, 500, false};
// The horizontal line ends one pixel beyond the image (795, not 794): it still crosses
// the whole image, and the extra pixel is clipped away.
const MapProjection world_map{-179.188, 0.45138, 89.9756f, 0.44988f, 794, 400, 795, 400, true};

// One step of the latitude split: the remainder after whole units, scaled by 60. The
// product is exact in double and rounded once to single, as a store to a float would.
float next_unit(float value, float whole)
{
    return static_cast<float>((static_cast<double>(value) - static_cast<double>(whole)) * 60.0);
}

} // namespace

const MapProjection& map_projection(MapKind kind)
{
    return kind == MapKind::Japan ? japan_map : world_map;
}

const char* ReadOut::latitude_label() const
{
    return south ? "南緯" : "北緯";
}

const char* ReadOut::longitude_label() const
{
    return west ? "西経" : "東経";
}

ReadOut read_out(const MapProjection& map, int x, int y)
{
    x = std::clamp(x, 0, map.width - 1);
    y = std::clamp(y, 0, map.height - 1);
    ReadOut r;

    double lon = static_cast<double>(x) * map.kei_px + map.kei_left;
    if (map.both_hemispheres && lon < 0) {
        lon = -lon;
        r.west = true;
    }

    // The float operands are widened, so product and difference are formed in double
    // (the product exactly); only the result is rounded to single.
    float lat = static_cast<float>(static_cast<double>(map.ido_top)
                                   - static_cast<double>(map.ido_px) * static_cast<double>(y));
    if (map.both_hemispheres && lat < 0) {
        lat = -lat;
        r.south = true;
    }

    double d = std::floor(lon);
    lon = (lon - d) * 60.0;
    double m = std::floor(lon);
    lon = (lon - m) * 60.0;
    double s = std::floor(lon);
    r.longitude.degrees = static_cast<std::int16_t>(d);
    r.longitude.minutes = static_cast<std::int16_t>(m);
    r.longitude.seconds = static_cast<std::int16_t>(s);

    float ld = std::floor(lat);
    lat = next_unit(lat, ld);
    float lm = std::floor(lat);
    lat = next_unit(lat, lm);
    float ls = std::floor(lat);
    r.latitude.degrees = static_cast<std::int16_t>(ld);
    r.latitude.minutes = static_cast<std::int16_t>(lm);
    r.latitude.seconds = static_cast<std::int16_t>(ls);
    return r;
}

ReadOut read_out(MapKind kind, int x, int y)
{
    return read_out(map_projection(kind), x, y);
}

} // namespace orvine
