// Notation: c is the centre of the view as a unit vector, theta the arc from it, and the clip
// circle the points at arc theta_clip from c; k = cos(theta_clip). A point p is inside the view
// when p . c >= k. Arcs between data points are great-circle arcs. Bearings are degrees
// clockwise from north; in the plane they are atan2(x, y), increasing clockwise.
#include "map/direction_map_geometry.h"

#include "geodesy/azimuth.h"

#include <GeographicLib/Geodesic.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace orvine {

const double WHOLE_GLOBE_KM = M_PI * EARTH_RADIUS_KM;

namespace {

using Vec3 = OutlineProjector::Vec3;
using Cap = OutlineProjector::Cap;

constexpr double DEG = M_PI / 180;
constexpr double TWO_PI = 2 * M_PI;
// Deep enough to follow the strongest bend next to the antipode gap.
constexpr int MAX_SPLIT_DEPTH = 14;

Vec3 unit_vector(double lat, double lon)
{
    const double phi = lat * DEG, lambda = lon * DEG;
    return {std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda), std::sin(phi)};
}

double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 plus(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 scaled(const Vec3& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double length(const Vec3& a) { return std::sqrt(dot(a, a)); }
Vec3 normalised(const Vec3& a) { return scaled(a, 1 / length(a)); }
Vec3 cross(const Vec3& a, const Vec3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double arc(const Vec3& a, const Vec3& b) { return std::atan2(length(cross(a, b)), dot(a, b)); }

double wrapped(double angle, double turn)
{
    const double r = std::fmod(angle, turn);
    return r < 0 ? r + turn : r;
}

double plane_distance(const PlanePoint& a, const PlanePoint& b) { return std::hypot(a.x - b.x, a.y - b.y); }

Cap cap_of(const std::vector<Vec3>& unit, const PointRun* runs, std::size_t run_count)
{
    Vec3 sum{0, 0, 0};
    for (std::size_t r = 0; r < run_count; ++r) {
        for (std::uint32_t i = 0; i < runs[r].count; ++i)
            sum = plus(sum, unit[runs[r].first + i]);
    }
    if (length(sum) < 1e-9)
        return {{0, 0, 1}, M_PI};
    const Vec3 centre = normalised(sum);
    double radius = 0;
    for (std::size_t r = 0; r < run_count; ++r) {
        for (std::uint32_t i = 0; i < runs[r].count; ++i)
            radius = std::max(radius, arc(centre, unit[runs[r].first + i]));
    }
    // Arcs between points of a cap smaller than a hemisphere stay inside it; beyond that the
    // cap bounds nothing.
    return {centre, radius < M_PI / 2 - 1e-6 ? radius + 1e-9 : M_PI};
}

// A piece of a ring or line inside the view: open pieces begin and end on the clip circle
// (polygons) or at a cut of the source (coasts); a closed piece is a whole ring inside.
struct Piece {
    std::vector<Vec3> points;
    bool closed = false;
};

// Cuts rings and lines at the clip circle and projects the pieces.
class Clipper {
public:
    Clipper(const AzimuthalProjection& projection, double clip_km, double step_km)
        : projection_(projection),
          c_(unit_vector(projection.centre_lat(), projection.centre_lon())),
          clip_km_(std::min(clip_km, WHOLE_GLOBE_KM - ANTIPODE_GAP_DEGREES * DEG * EARTH_RADIUS_KM)),
          theta_clip_(clip_km_ / EARTH_RADIUS_KM),
          k_(std::cos(theta_clip_)),
          step_km_(step_km)
    {
    }

    const Vec3& centre() const { return c_; }
    double theta_clip() const { return theta_clip_; }
    double clip_km() const { return clip_km_; }

    bool inside(const Vec3& p) const { return dot(p, c_) >= k_; }

    // Where the arc a -> b meets the clip circle, in order from a. The number of crossings
    // always agrees with the sides of a and b, even where rounding puts a point on the circle.
    void crossings(const Vec3& a, const Vec3& b, std::vector<Vec3>& out) const
    {
        out.clear();
        const bool in_a = inside(a), in_b = inside(b);
        const double omega = arc(a, b);
        double s[2];
        int n = 0;
        const Vec3 towards = plus(b, scaled(a, -dot(a, b)));
        if (omega > 1e-15 && length(towards) > 0) {
            const Vec3 u = normalised(towards);
            const double big_a = dot(a, c_), big_b = dot(u, c_);
            const double r = std::hypot(big_a, big_b);
            if (r > std::abs(k_)) {
                const double phase = std::atan2(big_b, big_a);
                const double half = std::acos(k_ / r);
                for (const double candidate : {phase - half, phase + half}) {
                    const double t = wrapped(candidate, TWO_PI);
                    if (t <= omega)
                        s[n++] = t;
                }
                if (n == 2 && s[0] > s[1])
                    std::swap(s[0], s[1]);
                for (int i = 0; i < n; ++i)
                    out.push_back(plus(scaled(a, std::cos(s[i])), scaled(u, std::sin(s[i]))));
            }
        }
        if (static_cast<int>(out.size() % 2) != static_cast<int>(in_a != in_b)) {
            if (out.empty())
                out.push_back(in_a ? b : a);
            else
                out.pop_back();
        }
    }

    // Pieces of the run inside the view. `ring`: the run closes on itself. `is_cut(i)`: the
    // segment from point i to the next is no part of the shape's outline (coasts only).
    template <typename IsCut>
    void clip(const Vec3* v, std::size_t n, bool ring, IsCut is_cut, std::vector<Piece>& out) const
    {
        const bool start_inside = inside(v[0]);
        bool in = start_inside;
        bool broken = false;
        // The piece that begins at the run's first point, which a ring's last piece runs into.
        bool current_from_start = start_inside;
        std::size_t start_piece = SIZE_MAX;
        Piece current;
        const auto finish = [&] {
            if (current.points.size() >= 2) {
                if (current_from_start)
                    start_piece = out.size();
                out.push_back(std::move(current));
            }
            current = {};
            current_from_start = false;
        };
        if (in)
            current.points.push_back(v[0]);
        const std::size_t edges = ring ? n : n - 1;
        std::vector<Vec3> xs;
        for (std::size_t i = 0; i < edges; ++i) {
            const Vec3& a = v[i];
            const Vec3& b = v[(i + 1) % n];
            if (is_cut(i)) {
                broken = true;
                finish();
                in = inside(b);
                if (in)
                    current.points.push_back(b);
                continue;
            }
            crossings(a, b, xs);
            for (const Vec3& x : xs) {
                broken = true;
                if (in) {
                    current.points.push_back(x);
                    finish();
                } else {
                    current.points.push_back(x);
                }
                in = !in;
            }
            if (in)
                current.points.push_back(b);
        }
        if (ring && !broken) {
            if (start_inside) {
                current.points.pop_back(); // the start again
                current.closed = true;
                out.push_back(std::move(current));
            }
            return;
        }
        if (ring && start_piece != SIZE_MAX && !current.points.empty()) {
            std::vector<Vec3>& first = out[start_piece].points;
            current.points.insert(current.points.end(), first.begin() + 1, first.end());
            first = std::move(current.points);
            return;
        }
        finish();
    }

    PlanePoint project(const Vec3& p) const
    {
        return projection_.forward(std::atan2(p.z, std::hypot(p.x, p.y)) / DEG, std::atan2(p.y, p.x) / DEG);
    }

    // Appends the projection of the arc a -> b (without a) to `line`, dividing the arc where the
    // projected step would be longer than step_km.
    void append_arc(const Vec3& a, const PlanePoint& pa, const Vec3& b, const PlanePoint& pb, int depth,
                    PlaneLine& line) const
    {
        if (depth < MAX_SPLIT_DEPTH && plane_distance(pa, pb) > step_km_) {
            const Vec3 sum = plus(a, b);
            if (length(sum) > 1e-12) {
                const Vec3 m = normalised(sum);
                const PlanePoint pm = project(m);
                append_arc(a, pa, m, pm, depth + 1, line);
                append_arc(m, pm, b, pb, depth + 1, line);
                return;
            }
        }
        line.push_back(pb);
    }

    PlaneLine project_piece(const Piece& piece) const
    {
        PlaneLine line;
        PlanePoint previous = project(piece.points[0]);
        line.push_back(previous);
        const std::size_t n = piece.points.size();
        for (std::size_t i = 1; i < n + (piece.closed ? 1 : 0); ++i) {
            const Vec3& b = piece.points[i % n];
            const PlanePoint pb = project(b);
            append_arc(piece.points[i - 1], previous, b, pb, 0, line);
            previous = pb;
        }
        return line;
    }

    PlanePoint rim_point(double bearing) const { return {clip_km_ * std::sin(bearing), clip_km_ * std::cos(bearing)}; }

    // The clip circle clockwise from bearing `from` to `to` (radians), ends excluded.
    void append_rim(double from, double to, PlaneLine& line) const
    {
        const double sweep = wrapped(to - from, TWO_PI);
        const int steps = static_cast<int>(std::ceil(sweep * clip_km_ / step_km_));
        for (int i = 1; i < steps; ++i)
            line.push_back(rim_point(from + sweep * i / steps));
    }

private:
    const AzimuthalProjection& projection_;
    Vec3 c_;
    double clip_km_;
    double theta_clip_;
    double k_;
    double step_km_;
};

double bearing_of(const PlanePoint& p) { return wrapped(std::atan2(p.x, p.y), TWO_PI); }

// Joins the open pieces of one polygon, each from an entry on the clip circle to an exit, into
// closed rings: from each exit the land's edge follows the circle clockwise (the land lies on
// the right of its outline) to the next entry.
void join_at_rim(const Clipper& clipper, std::vector<PlaneLine> pieces, std::vector<PlaneLine>& rings)
{
    const std::size_t n = pieces.size();
    std::vector<double> entry(n), exit(n);
    for (std::size_t i = 0; i < n; ++i) {
        entry[i] = bearing_of(pieces[i].front());
        exit[i] = bearing_of(pieces[i].back());
    }
    std::vector<bool> used(n, false);
    for (std::size_t start = 0; start < n; ++start) {
        if (used[start])
            continue;
        PlaneLine ring;
        std::size_t i = start;
        for (std::size_t guard = 0; guard <= n; ++guard) {
            used[i] = true;
            ring.insert(ring.end(), pieces[i].begin(), pieces[i].end());
            std::size_t next = start;
            double best = TWO_PI + 1;
            for (std::size_t j = 0; j < n; ++j) {
                const double sweep = wrapped(entry[j] - exit[i], TWO_PI);
                if ((!used[j] || j == start) && sweep < best) {
                    best = sweep;
                    next = j;
                }
            }
            clipper.append_rim(exit[i], entry[next], ring);
            if (next == start)
                break;
            i = next;
        }
        rings.push_back(std::move(ring));
    }
}

// Whether the point (lat, lon) lies in the polygon, on the sphere. The meridian from the point
// down to the south pole crosses the outline an odd number of times when the point and the pole
// lie on different sides; the pole lies in the polygon when every ring has it on its right:
// a ring running eastwards around the south pole (Antarctica's outline), or a ring around
// neither pole that runs anticlockwise on the longitude-latitude plane (a hole).
bool polygon_contains(const MapLevel& level, const LandPolygon& polygon, double lat, double lon)
{
    bool pole_inside = true;
    bool odd = false;
    for (std::uint32_t r = 0; r < polygon.ring_count; ++r) {
        const PointRun& ring = level.rings[polygon.first_ring + r];
        double turn = 0, area = 0, unwrapped = level.points[ring.first].lon;
        for (std::uint32_t i = 0; i < ring.count; ++i) {
            const GeoPoint& a = level.points[ring.first + i];
            const GeoPoint& b = level.points[ring.first + (i + 1) % ring.count];
            const double step = wrapped(b.lon - a.lon + 180, 360) - 180;
            const double next = unwrapped + step;
            area += unwrapped * b.lat - next * a.lat;
            unwrapped = next;
            turn += step;
            const double offset = wrapped(lon - a.lon + 180, 360) - 180;
            const bool spans = step > 0 ? offset >= 0 && offset < step : step < 0 && offset >= step && offset < 0;
            if (spans && a.lat + (b.lat - a.lat) * (offset / step) < lat)
                odd = !odd;
        }
        const bool around_south = turn > 180, around_north = turn < -180;
        pole_inside = pole_inside && (around_south || (!around_north && area > 0));
    }
    return pole_inside != odd;
}

// The full clip circle, clockwise: the land of a polygon that holds the whole edge of the view.
PlaneLine rim_ring(const Clipper& clipper)
{
    PlaneLine ring{clipper.rim_point(0)};
    clipper.append_rim(0, M_PI, ring);
    ring.push_back(clipper.rim_point(M_PI));
    clipper.append_rim(M_PI, 0, ring);
    return ring;
}

bool is_on_cut_meridian(const GeoPoint& a, const GeoPoint& b)
{
    return std::abs(a.lon) >= 180 - 1e-9 && std::abs(b.lon) >= 180 - 1e-9;
}

// |degrees| truncated to whole seconds, as the map window's read-out splits them. A millionth of
// a second (3 cm) is added first: a point that projects back a rounding error short of a whole
// second (the centre itself) keeps its second.
GlobeAngle truncated_angle(double degrees)
{
    const auto seconds = static_cast<std::int32_t>(std::floor(std::abs(degrees) * 3600 + 1e-6));
    return angle_from_seconds(degrees < 0 ? -seconds : seconds);
}

std::string dms_text(Axis axis, bool negative, std::int32_t seconds)
{
    std::string text = axis == Axis::Latitude ? (negative ? "南緯 " : "北緯 ") : (negative ? "西経 " : "東経 ");
    return text + number_text(seconds / 3600) + "度" + number_text(seconds / 60 % 60) + "分" + number_text(seconds % 60)
         + "秒";
}

} // namespace

AzimuthalProjection::AzimuthalProjection(double centre_lat, double centre_lon)
    : lat0_(centre_lat), lon0_(centre_lon), projection_(GeographicLib::Geodesic(EARTH_RADIUS_KM * 1000, 0))
{
}

PlanePoint AzimuthalProjection::forward(double lat, double lon) const
{
    double x, y;
    projection_.Forward(lat0_, lon0_, lat, lon, x, y);
    return {x / 1000, y / 1000};
}

GeoPoint AzimuthalProjection::reverse(const PlanePoint& p) const
{
    GeoPoint g;
    projection_.Reverse(lat0_, lon0_, p.x * 1000, p.y * 1000, g.lat, g.lon);
    return g;
}

double degrees_of(const GlobeAngle& angle)
{
    return angle.whole_seconds ? angle.seconds / 3600.0 : angle.degrees;
}

double sector_first_bearing(const Sector& sector) { return wrapped(90 - 15.0 * sector.k_end, 360); }
double sector_last_bearing(const Sector& sector) { return wrapped(90 - 15.0 * sector.k_start, 360); }
double sector_middle_bearing(const Sector& sector)
{
    const double first = sector_first_bearing(sector);
    return wrapped(first + wrapped(sector_last_bearing(sector) - first, 360) / 2, 360);
}

OutlineProjector::OutlineProjector(const MapLevel& level) : level_(level)
{
    unit_.reserve(level.points.size());
    for (const GeoPoint& p : level.points)
        unit_.push_back(unit_vector(p.lat, p.lon));
    for (const LandPolygon& polygon : level.polygons)
        polygon_caps_.push_back(cap_of(unit_, &level.rings[polygon.first_ring], polygon.ring_count));
    for (const PointRun& line : level.borders)
        border_caps_.push_back(cap_of(unit_, &line, 1));
}

ProjectedOutlines OutlineProjector::project(const AzimuthalProjection& projection, double clip_km,
                                            double step_km) const
{
    const Clipper clipper(projection, clip_km, step_km);
    ProjectedOutlines out;
    const auto no_cut = [](std::size_t) { return false; };
    const auto side = [&](const Cap& cap, bool& wholly_inside) {
        const double d = arc(clipper.centre(), cap.centre);
        wholly_inside = d + cap.radius < clipper.theta_clip();
        return d - cap.radius <= clipper.theta_clip();
    };
    // A point of the clip circle, for polygons that no ring crosses.
    const GeoPoint edge = projection.reverse({0, clipper.clip_km()});

    std::vector<Piece> pieces;
    for (std::size_t p = 0; p < level_.polygons.size(); ++p) {
        bool wholly_inside = false;
        if (!side(polygon_caps_[p], wholly_inside))
            continue;
        const LandPolygon& polygon = level_.polygons[p];
        pieces.clear();
        for (std::uint32_t r = 0; r < polygon.ring_count; ++r) {
            const PointRun& ring = level_.rings[polygon.first_ring + r];
            const Vec3* v = &unit_[ring.first];
            clipper.clip(v, ring.count, true, no_cut, pieces);
            std::vector<Piece> coast;
            const GeoPoint* g = &level_.points[ring.first];
            clipper.clip(v, ring.count, true,
                         [&](std::size_t i) { return is_on_cut_meridian(g[i], g[(i + 1) % ring.count]); }, coast);
            for (const Piece& piece : coast) {
                out.coasts.push_back(clipper.project_piece(piece));
            }
        }
        std::vector<PlaneLine> open;
        for (const Piece& piece : pieces) {
            if (piece.closed)
                out.land.push_back(clipper.project_piece(piece));
            else
                open.push_back(clipper.project_piece(piece));
        }
        if (!open.empty())
            join_at_rim(clipper, std::move(open), out.land);
        else if (!wholly_inside && polygon_contains(level_, polygon, edge.lat, edge.lon))
            out.land.push_back(rim_ring(clipper));
    }
    for (std::size_t l = 0; l < level_.borders.size(); ++l) {
        bool wholly_inside = false;
        if (!side(border_caps_[l], wholly_inside))
            continue;
        pieces.clear();
        const PointRun& line = level_.borders[l];
        clipper.clip(&unit_[line.first], line.count, false, no_cut, pieces);
        for (const Piece& piece : pieces)
            out.borders.push_back(clipper.project_piece(piece));
    }
    return out;
}

std::string hemisphere_text(Axis axis, const GlobeAngle& angle)
{
    const std::int32_t seconds = angle.whole_seconds ? angle.seconds : truncated_angle(angle.degrees).seconds;
    return dms_text(axis, angle.whole_seconds ? angle.seconds < 0 : angle.degrees < 0, std::abs(seconds));
}

std::optional<PointerReadOut> read_out_at(const AzimuthalProjection& projection, const GlobePoint& centre,
                                          const PlanePoint& p)
{
    if (std::hypot(p.x, p.y) > WHOLE_GLOBE_KM)
        return std::nullopt;
    const GeoPoint g = projection.reverse(p);
    PointerReadOut r;
    r.point.lat = truncated_angle(g.lat);
    r.point.lon = truncated_angle(g.lon);
    // The hemisphere comes from the point itself: just south of the equator reads 南緯 0度0分0秒,
    // as on the map window.
    r.latitude_text = dms_text(Axis::Latitude, g.lat < 0, std::abs(r.point.lat.seconds));
    r.longitude_text = dms_text(Axis::Longitude, g.lon < 0, std::abs(r.point.lon.seconds));
    GlobeCalculation calculation;
    calculate_globe(centre, r.point, false, calculation);
    if (calculation.refusal == Refusal::None) {
        r.bearing_caption = calculation.bearing_caption;
        r.distance_caption = calculation.distance_caption;
    }
    return r;
}

} // namespace orvine
