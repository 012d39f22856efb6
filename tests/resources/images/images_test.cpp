// The shipped maps, checked from outside: through their own pixel grid against an atlas
// (place coordinates rounded from any atlas).
#include "map/map_projection.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

// Pixel (X, Y) shows lon = lonLeft + lonStep X and lat = latTop - latStep Y.
struct Map {
    orvine::MapKind kind;
    double lonLeft, lonStep, latTop, latStep;
    QImage image;
    double x(double lon) const { return (lon - lonLeft) / lonStep; }
    double y(double lat) const { return (latTop - lat) / latStep; }
};

const int kSea = 236;
const Map kJapan{orvine::MapKind::japan, 121.39834, 0.0514679, 49.00194, 0.0514679,
                 QImage(ORVINE_IMAGES_DIR "/japan_map.png")};
const Map kWorld{orvine::MapKind::world, -179.188, 0.45138, 89.9756, 0.44988,
                 QImage(ORVINE_IMAGES_DIR "/world_map.png")};

int greyAt(const Map &map, double lat, double lon, int dx = 0, int dy = 0)
{
    const int x = int(std::lround(map.x(lon))) + dx, y = int(std::lround(map.y(lat))) + dy;
    EXPECT_TRUE(map.image.valid(x, y)) << lat << ", " << lon;
    return map.image.valid(x, y) ? map.image.pixelIndex(x, y) : -1;
}

} // namespace

TEST(Maps, SizeGreyPaletteAndGreysUsed)
{
    const std::pair<const Map &, std::set<int>> rows[] = {{kJapan, {96, 176, kSea, 255}},
                                                          {kWorld, {136, kSea, 251}}};
    for (const auto &[map, greys] : rows) {
        SCOPED_TRACE(int(map.kind));
        const orvine::MapProjection &grid = orvine::map_projection(map.kind);
        EXPECT_EQ(map.image.size(), QSize(grid.width, grid.height));
        EXPECT_EQ(map.image.format(), QImage::Format_Indexed8);
        ASSERT_EQ(map.image.colorCount(), 256);
        for (int k = 0; k < 256; ++k)
            EXPECT_EQ(map.image.color(k), qRgb(k, k, k)) << "palette entry " << k;
        std::set<int> used;
        for (int y = 0; y < map.image.height(); ++y)
            for (int x = 0; x < map.image.width(); ++x)
                used.insert(map.image.pixelIndex(x, y));
        EXPECT_EQ(used, greys);
    }
}

// Each place lies on land or at sea, and the read-out at its pixel gives it back to a pixel.
TEST(Maps, PlacesOnLandAndAtSeaReadOutWhereTheyAre)
{
    struct Place {
        const Map &map;
        const char *name;
        double lat, lon;
        bool land;
        int reach;  // 1: a narrow island or ragged coast: some pixel of 3 × 3 land, or all sea
    } const places[] = {
        {kJapan, "Tokyo, Shinjuku", 35.690, 139.700, true, 0},
        {kJapan, "Sapporo", 43.062, 141.354, true, 0},
        {kJapan, "Nagano", 36.651, 138.181, true, 0},
        {kJapan, "Seoul", 37.566, 126.978, true, 0},
        {kJapan, "Sea of Japan", 40.000, 135.000, false, 1},
        {kJapan, "Tokyo Bay", 35.450, 139.850, false, 0},
        {kJapan, "Tsugaru Strait", 41.500, 140.500, false, 0},
        {kWorld, "London", 51.507, -0.128, true, 0},
        {kWorld, "Brasilia", -15.794, -47.882, true, 0},
        {kWorld, "Sydney", -33.869, 151.209, true, 1},
        {kWorld, "Chukotka, east of the 180th meridian", 65.500, -175.000, true, 0},
        {kWorld, "Antarctica, south pole plateau", -85.000, 0.000, true, 0},
        {kWorld, "mid-Pacific", 10.000, -150.000, false, 1},
        // Column 0 shows 179.188 W: open Pacific unless the map is shifted or wrapped.
        {kWorld, "west edge, 20 S", -20.000, -179.188, false, 0},
    };
    for (const Place &p : places) {
        int seaPixels = 0;
        for (int dy = -p.reach; dy <= p.reach; ++dy)
            for (int dx = -p.reach; dx <= p.reach; ++dx)
                seaPixels += greyAt(p.map, p.lat, p.lon, dx, dy) == kSea;
        const int block = (2 * p.reach + 1) * (2 * p.reach + 1);
        EXPECT_TRUE(p.land ? seaPixels < block : seaPixels == block) << p.name;

        const auto r = orvine::read_out(p.map.kind, int(std::lround(p.map.x(p.lon))), int(std::lround(p.map.y(p.lat))));
        const double lat = (r.south ? -1 : 1) * (r.ido_do + r.ido_hun / 60.0 + r.ido_byo / 3600.0);
        const double lon = (r.west ? -1 : 1) * (r.kei_do + r.kei_hun / 60.0 + r.kei_byo / 3600.0);
        EXPECT_NEAR(lat, p.lat, p.map.latStep * 0.51 + 1 / 3600.0) << p.name;
        EXPECT_NEAR(lon, p.lon, p.map.lonStep * 0.51 + 1 / 3600.0) << p.name;
    }
}
