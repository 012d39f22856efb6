#pragma once
// The direction map's geometry, without Qt: the azimuthal equidistant projection centred on
// one point of the program's sphere, the outlines cut and projected for one view, the sector
// bounds and the read-out under the pointer.
//
// On this projection every great circle through the centre is a straight line: the angle of a
// point seen from the centre is its initial bearing, and its distance from the centre is its
// great-circle distance. The whole globe is a disc of radius pi * EARTH_RADIUS_KM; its rim is
// the antipode.
//
// Plane coordinates are kilometres from the centre, x to the east and y to the north (as on
// paper, y upwards); a point at bearing B and distance D lies at (D sin B, D cos B).
#include "geodesy/coordinates.h"
#include "geodesy/direction.h"
#include "geodesy/globe.h"
#include "map/direction_map_data.h"

#include <GeographicLib/AzimuthalEquidistant.hpp>

#include <optional>
#include <string>
#include <vector>

namespace orvine {

// The distance from the centre to its antipode (the radius of the whole globe), about 20,004 km.
extern const double WHOLE_GLOBE_KM;

// Outlines are cut at this arc from the antipode, a few pixels inside the rim of the whole
// globe: near the antipode the projection stretches sideways without bound, and a coastline
// running through it would otherwise be drawn as a stroke across the disc.
inline constexpr double ANTIPODE_GAP_DEGREES = 0.5;

struct PlanePoint {
    double x = 0; // km east of the centre
    double y = 0; // km north of the centre
};

using PlaneLine = std::vector<PlanePoint>;

// The projection on the program's sphere (radius EARTH_RADIUS_KM) by GeographicLib's
// AzimuthalEquidistant on Geodesic(6367447.5, 0).
class AzimuthalProjection {
public:
    // The centre in degrees: -90 < lat < 90, any longitude.
    AzimuthalProjection(double centre_lat, double centre_lon);

    double centre_lat() const { return lat0_; }
    double centre_lon() const { return lon0_; }

    // Any point but the antipode itself.
    PlanePoint forward(double lat, double lon) const;
    // Any plane point within WHOLE_GLOBE_KM of the centre.
    GeoPoint reverse(const PlanePoint& p) const;

private:
    double lat0_, lon0_;
    GeographicLib::AzimuthalEquidistant projection_;
};

// The signed angle of a whole-second or decimal coordinate, in degrees.
double degrees_of(const GlobeAngle& angle);

// Where each sector of the program's sector table begins and ends, as a bearing in degrees
// clockwise from north (0 <= bearing < 360): the sector's arc on the compass figure, read
// clockwise. North begins at 345 and ends at 15.
double sector_first_bearing(const Sector& sector);
double sector_last_bearing(const Sector& sector);
// Halfway between, where the sector's name goes (north: 0).
double sector_middle_bearing(const Sector& sector);

// The outlines of one view, in plane coordinates.
struct ProjectedOutlines {
    // Closed rings of the land, outlines clockwise and holes anticlockwise seen with north up;
    // filled by the non-zero winding rule they give the land. Where land reaches the edge of the
    // view, the ring follows the edge circle.
    std::vector<PlaneLine> land;
    std::vector<PlaneLine> coasts;  // open or closed lines (a closed one repeats its first point)
    std::vector<PlaneLine> borders; // open lines
};

// One level of the outline data made ready for projection: each point as a unit vector, and a
// bounding cap for each polygon and border, so that a zoomed view skips what it cannot show.
// Holds a reference to `level`, which must outlive it.
class OutlineProjector {
public:
    explicit OutlineProjector(const MapLevel& level);

    // The outlines within `clip_km` of the centre (at most WHOLE_GLOBE_KM less the antipode
    // gap), cut exactly at that circle, with no plane step longer than `step_km` (great-circle
    // arcs are divided where the projection bends them).
    ProjectedOutlines project(const AzimuthalProjection& projection, double clip_km, double step_km) const;

    struct Vec3 {
        double x, y, z;
    };
    struct Cap {
        Vec3 centre;
        double radius; // radians; pi when no smaller cap holds the shape
    };

private:
    const MapLevel& level_;
    std::vector<Vec3> unit_;
    std::vector<Cap> polygon_caps_;
    std::vector<Cap> border_caps_;
};

// The point under the pointer, as the program reads points: hemisphere and whole degrees,
// minutes and seconds, each split truncated (as the map window's read-out), and the bearing
// and distance from the centre to that point as the main window's result texts show them.
struct PointerReadOut {
    GlobePoint point;              // the truncated coordinates, signed whole seconds
    std::string latitude_text;     // e.g. "北緯 35度41分22秒", "南緯 0度30分0秒"
    std::string longitude_text;    // e.g. "東経 139度41分30秒"
    std::string bearing_caption;   // e.g. " 25.1014 度    北北東（丑）"; empty for the centre
    std::string distance_caption;  // e.g. " 10842.64 Ｋｍ"; empty for the centre
};

// The read-out of plane point `p`; nothing beyond the rim of the whole globe.
std::optional<PointerReadOut> read_out_at(const AzimuthalProjection& projection, const GlobePoint& centre,
                                          const PlanePoint& p);

// "北緯 35度41分22秒" / "東経 139度41分30秒": the hemisphere by the sign (0 is north or east),
// then the magnitude in whole degrees, minutes and seconds, truncated.
std::string hemisphere_text(Axis axis, const GlobeAngle& angle);

} // namespace orvine
