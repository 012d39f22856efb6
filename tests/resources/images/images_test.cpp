// The projection must put places where the shipped images show them (coordinates from any atlas).
#include "map/map_projection.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using orvine::MapKind;

namespace {

const int SEA = 236;

QImage map_image(MapKind kind)
{
    return QImage(kind == MapKind::Japan ? ORVINE_IMAGES_DIR "/japan_map.png" : ORVINE_IMAGES_DIR "/world_map.png");
}

} // namespace

// Reach 1 is for a narrow island or a ragged coast: some pixel of the 3 × 3 around it is land.
TEST(Maps, GreyImagesShowPlacesWhereTheProjectionPutsThem)
{
    const std::tuple<MapKind, const char *, double, double, bool, int> places[] = {
        {MapKind::Japan, "Tokyo, Shinjuku", 35.690, 139.700, true, 0},
        {MapKind::Japan, "Seoul", 37.566, 126.978, true, 0},
        {MapKind::Japan, "Sea of Japan", 40.000, 135.000, false, 1},
        {MapKind::Japan, "Tokyo Bay", 35.450, 139.850, false, 0},
        {MapKind::World, "London", 51.507, -0.128, true, 0},
        {MapKind::World, "Sydney", -33.869, 151.209, true, 1},
        {MapKind::World, "Chukotka, east of the 180th meridian", 65.500, -175.000, true, 0},
        {MapKind::World, "Antarctica, south pole plateau", -85.000, 0.000, true, 0},
        // Column 0 shows 179.188 W: open Pacific unless the map is shifted or wrapped.
        {MapKind::World, "west edge, 20 S", -20.000, -179.188, false, 0},
    };
    for (const auto &[kind, name, lat, lon, land, reach] : places) {
        const QImage image = map_image(kind);
        const orvine::MapProjection &grid = orvine::map_projection(kind);
        ASSERT_EQ(image.size(), QSize(grid.width, grid.height)) << name;
        EXPECT_TRUE(image.isGrayscale()) << name;
        const int x = int(std::lround((lon - grid.kei_left) / grid.kei_px));
        const int y = int(std::lround((grid.ido_top - lat) / grid.ido_px));
        ASSERT_TRUE(image.valid(x - reach, y - reach) && image.valid(x + reach, y + reach)) << name;
        int sea = 0;
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx)
                sea += qGray(image.pixel(x + dx, y + dy)) == SEA;
        EXPECT_EQ(sea == (2 * reach + 1) * (2 * reach + 1), !land) << name;
    }
}
