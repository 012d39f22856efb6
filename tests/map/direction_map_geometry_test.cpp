#include "map/direction_map_geometry.h"

#include "geodesy/azimuth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

using namespace orvine;

namespace {

const GlobePoint TOKYO{angle_from_seconds(35 * 3600 + 41 * 60 + 22), angle_from_seconds(139 * 3600 + 41 * 60 + 30)};
const AzimuthalProjection AT_TOKYO(degrees_of(TOKYO.lat), degrees_of(TOKYO.lon));

const MapData& shipped()
{
    static const MapData data = load_map_data(ORVINE_MAP_DATA).data;
    return data;
}

// Non-zero winding of the land rings around p: what the drawing fills.
bool on_land(const ProjectedOutlines& outlines, const PlanePoint& p)
{
    int winding = 0;
    for (const PlaneLine& ring : outlines.land)
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const PlanePoint &a = ring[i], &b = ring[(i + 1) % ring.size()];
            const double side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
            winding += (a.y <= p.y && b.y > p.y && side > 0) - (a.y > p.y && b.y <= p.y && side < 0);
        }
    return winding != 0;
}

double longest_step(const std::vector<PlaneLine>& lines)
{
    double longest = 0;
    for (const PlaneLine& line : lines)
        for (std::size_t i = 1; i < line.size(); ++i)
            longest = std::max(longest, std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y));
    return longest;
}

} // namespace

// Centres whose antipode lies on land or a coast, at the poles, on the equator and the 180th meridian.
TEST(DirectionMapOutlines, WholeGlobeHasNoStrokeAcrossTheDiscAndFillsTheLand)
{
    // A centre (name, latitude, longitude) and points of its map (latitude, longitude, on land).
    using Row = std::tuple<const char*, double, double, std::vector<std::tuple<double, double, bool>>>;
    const Row rows[] = {
        // Antipode off Brazil's coast, Brazil wrapping the rim.
        {"Tokyo", 35.689, 139.692, {{36.5, 138.5, true}, {-10, -50, true}, {-30, -20, false}, {20, 160, false}}},
        // Antipode in Mongolia, in the middle of Eurasia: the land reaches the whole rim.
        {"South Pacific", -45, -80, {{47, 100, true}, {-45, -80, false}, {0, -140, false}, {10, 20, true}}},
        {"equator, 180th meridian", 0, 180, {{0, 0.5, false}, {10, 20, true}, {0, -160, false}}},
        // Antarctica around the antipode, then around the centre.
        {"near the north pole", 89.99, 10, {{-80, 0, true}, {80, 0, false}, {45, 100, true}}},
        {"near the south pole", -89.99, 10, {{-85, 0, true}, {-60, 0, false}, {45, 100, true}}},
        {"beside the 180th meridian", 65, -179.999, {{66, 175, true}, {-10, -50, true}, {-40, 0, false}}},
    };
    for (const MapLevel& level : shipped().levels) {
        const OutlineProjector projector(level);
        // The antipode on a vertex of Brazil's coast and halfway along the coast after it.
        const auto v = std::min_element(level.points.begin(), level.points.end(), [](GeoPoint p, GeoPoint q) {
            return std::hypot(p.lat + 22.9, p.lon + 43.2) < std::hypot(q.lat + 22.9, q.lon + 43.2);
        });
        const GeoPoint a = v[0], b = v[1];
        std::vector<Row> all(std::begin(rows), std::end(rows));
        all.push_back({"antipode on a coast vertex", -a.lat, a.lon + 180, {{-10, -50, true}}});
        all.push_back({"antipode on a coast", -(a.lat + b.lat) / 2, (a.lon + b.lon) / 2 + 180, {{-10, -50, true}}});
        for (const auto& [name, lat, lon, probes] : all) {
            const AzimuthalProjection projection(lat, lon);
            const ProjectedOutlines out = projector.project(projection, WHOLE_GLOBE_KM, WHOLE_GLOBE_KM / 150);
            for (const std::vector<PlaneLine>* lines : {&out.coasts, &out.borders, &out.land})
                EXPECT_LT(longest_step(*lines), 400) << name;
            for (const auto& [probe_lat, probe_lon, land] : probes)
                EXPECT_EQ(on_land(out, projection.forward(probe_lat, probe_lon)), land)
                    << name << " at " << probe_lat << ", " << probe_lon << " (1:" << level.scale_millions << "m)";
        }
    }
}

TEST(DirectionMapOutlines, ZoomedViewCutsAroundWhatItShows)
{
    const OutlineProjector projector(shipped().levels[1]);
    const ProjectedOutlines inland = projector.project(AzimuthalProjection(46, 103), 300, 2); // in Mongolia
    EXPECT_TRUE(on_land(inland, {0, 0}) && on_land(inland, {200, -200}) && inland.coasts.empty());

    const ProjectedOutlines near = projector.project(AT_TOKYO, 1500, 5);
    for (const PlaneLine& line : near.coasts)
        for (const PlanePoint& p : line)
            EXPECT_LE(std::hypot(p.x, p.y), 1500 + 1e-6);
    EXPECT_TRUE(on_land(near, AT_TOKYO.forward(36.5, 138.5)) && !on_land(near, AT_TOKYO.forward(34, 142)));
}

// Just clockwise of each drawn ray lies the sector it begins, just anticlockwise the one before.
TEST(DirectionMapSectors, RaysLieOnTheProgramsBounds)
{
    for (int i = 0; i < 12; ++i)
        for (const double side : {0.01, -0.01}) {
            const double b = (sector_first_bearing(SECTORS[i]) + side) * M_PI / 180;
            const GeoPoint g = AT_TOKYO.reverse({3000 * std::sin(b), 3000 * std::cos(b)});
            GlobeCalculation c;
            calculate_globe(TOKYO, {angle_from_degrees(g.lat), angle_from_degrees(g.lon)}, false, c);
            EXPECT_STREQ(c.sector->name, SECTORS[side > 0 ? i : (i + 11) % 12].name) << i << " " << side;
        }
}

TEST(DirectionMapReadOut, PointsAsTheProgramReadsThem)
{
    const GlobePoint equator{angle_from_seconds(0), angle_from_seconds(0)};
    const AzimuthalProjection at_equator(0, 0);

    const std::optional<PointerReadOut> centre = read_out_at(AT_TOKYO, TOKYO, {0, 0});
    ASSERT_TRUE(centre);
    EXPECT_EQ(centre->latitude_text + centre->longitude_text + centre->bearing_caption,
              "北緯 35度41分22秒東経 139度41分30秒");

    // 1 km south and west of 0, 0 is 32.4 seconds each way: truncated, but still south and west;
    // 32 seconds both ways is 1.39703 km at 225 degrees (the last digits as the program's PI10
    // leaves them).
    const std::optional<PointerReadOut> south_west = read_out_at(at_equator, equator, {-1, -1});
    ASSERT_TRUE(south_west);
    EXPECT_EQ(south_west->latitude_text + "|" + south_west->longitude_text + "|" + south_west->bearing_caption + "|"
                  + south_west->distance_caption,
              "南緯 0度0分32秒|西経 0度0分32秒| 225.000 度    西南西（申）| 1.39703 Ｋｍ");

    EXPECT_FALSE(read_out_at(AT_TOKYO, TOKYO, {0, WHOLE_GLOBE_KM + 1}));
}
