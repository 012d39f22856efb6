#include "map/map_projection.h"

#include <gtest/gtest.h>

#include <string>

using orvine::MapKind;
using orvine::read_out;
using orvine::ReadOut;

namespace {

ReadOut north_east(int ido_do, int ido_hun, int ido_byo, int kei_do, int kei_hun, int kei_byo)
{
    return {false, false, ido_do, ido_hun, ido_byo, kei_do, kei_hun, kei_byo};
}

ReadOut with(bool south, bool west, ReadOut r)
{
    r.south = south;
    r.west = west;
    return r;
}

std::string text(const ReadOut& r)
{
    return std::string(r.ido_label()) + " " + std::to_string(r.ido_do) + " " + std::to_string(r.ido_hun)
        + " " + std::to_string(r.ido_byo) + " / " + r.kei_label() + " " + std::to_string(r.kei_do) + " "
        + std::to_string(r.kei_hun) + " " + std::to_string(r.kei_byo);
}

} // namespace

// The worked read-out table: hemisphere, degrees, minutes, seconds for given pixels.
TEST(ReadOut, JapanTable)
{
    EXPECT_EQ(text(read_out(MapKind::japan, 0, 0)), "北緯 49 0 6 / 東経 121 23 54");
    EXPECT_EQ(text(read_out(MapKind::japan, 250, 250)), "北緯 36 8 5 / 東経 134 15 55");
    EXPECT_EQ(text(read_out(MapKind::japan, 499, 499)), "北緯 23 19 10 / 東経 147 4 50");
}

TEST(ReadOut, WorldTable)
{
    EXPECT_EQ(text(read_out(MapKind::world, 0, 0)), "北緯 89 58 32 / 西経 179 11 16");
    EXPECT_EQ(text(read_out(MapKind::world, 200, 100)), "北緯 44 59 15 / 西経 88 54 43");
    EXPECT_EQ(text(read_out(MapKind::world, 397, 200)), "南緯 0 0 1 / 東経 0 0 35");
    EXPECT_EQ(text(read_out(MapKind::world, 600, 300)), "南緯 44 59 18 / 東経 91 38 23");
    EXPECT_EQ(text(read_out(MapKind::world, 793, 399)), "南緯 89 31 35 / 東経 178 45 22");
}

// Row 200 maps to −0.0004 degrees (single precision): just south, never 0 0 0 north.
TEST(ReadOut, EquatorRowIsJustSouth)
{
    for (int x = 390; x <= 405; ++x) {
        const ReadOut r = read_out(MapKind::world, x, 200);
        EXPECT_TRUE(r.south) << x;
        EXPECT_EQ(r.ido_do, 0) << x;
        EXPECT_EQ(r.ido_hun, 0) << x;
        EXPECT_EQ(r.ido_byo, 1) << x;
    }
    EXPECT_FALSE(read_out(MapKind::world, 397, 199).south);
}

// The prime meridian lies between X 396 (−0.43 degrees) and X 397 (+0.0098 degrees).
TEST(ReadOut, WorldLongitudeSwitchesAtPrimeMeridian)
{
    const ReadOut west = read_out(MapKind::world, 396, 50);
    EXPECT_TRUE(west.west);
    EXPECT_STREQ(west.kei_label(), "西経");
    // 0.44152 degrees = 0° 26′ 29.47″
    EXPECT_EQ(west.kei_do, 0);
    EXPECT_EQ(west.kei_hun, 26);
    EXPECT_EQ(west.kei_byo, 29);
    EXPECT_FALSE(read_out(MapKind::world, 397, 50).west);
    EXPECT_STREQ(read_out(MapKind::world, 397, 50).kei_label(), "東経");
}

// Only a strictly negative value switches the hemisphere; exact zeros stay north and east.
TEST(ReadOut, ExactZeroStaysNorthAndEast)
{
    const orvine::MapProjection grid{-100.0, 1.0, 50.0f, 0.5f, 200, 200, 200, 200, true};
    EXPECT_EQ(read_out(grid, 100, 100), north_east(0, 0, 0, 0, 0, 0));
    EXPECT_EQ(read_out(grid, 99, 101), with(true, true, north_east(0, 30, 0, 1, 0, 0)));
}

// A map without both hemispheres never tests the sign: the Japan labels are always
// north and east, whatever an earlier world read-out showed.
TEST(ReadOut, JapanLabelsAreAlwaysNorthEast)
{
    const ReadOut south_west = read_out(MapKind::world, 0, 399);
    ASSERT_TRUE(south_west.south && south_west.west);
    const ReadOut japan = read_out(MapKind::japan, 10, 10);
    EXPECT_STREQ(japan.ido_label(), "北緯");
    EXPECT_STREQ(japan.kei_label(), "東経");
    const orvine::MapProjection japan_like{-10.0, 1.0, 5.0f, 1.0f, 20, 20, 20, 20, false};
    EXPECT_FALSE(read_out(japan_like, 0, 19).south);
    EXPECT_FALSE(read_out(japan_like, 0, 19).west);
}

// Positions reported outside the picture during a drag read as the nearest edge pixel.
TEST(ReadOut, OutsidePositionsAreClampedToTheImage)
{
    EXPECT_EQ(read_out(MapKind::world, -50, 100), read_out(MapKind::world, 0, 100));
    EXPECT_EQ(read_out(MapKind::world, 900, 100), read_out(MapKind::world, 793, 100));
    EXPECT_EQ(read_out(MapKind::world, 300, -7), read_out(MapKind::world, 300, 0));
    EXPECT_EQ(read_out(MapKind::world, 300, 4000), read_out(MapKind::world, 300, 399));
    EXPECT_EQ(read_out(MapKind::japan, 600, -1), read_out(MapKind::japan, 499, 0));
    EXPECT_EQ(read_out(MapKind::japan, -1, 501), read_out(MapKind::japan, 0, 499));

    // Unclamped, X 900 would be 227.0 degrees east and X −50 201.8 degrees west.
    for (int x : {-100000, -50, 900, 100000}) {
        for (int y : {-100000, -1, 400, 100000}) {
            const ReadOut r = read_out(MapKind::world, x, y);
            EXPECT_LE(r.kei_do, 179) << x << "," << y;
            EXPECT_LE(r.ido_do, 89) << x << "," << y;
        }
    }
}

// Every pixel of both maps stays within the ranges the scroll bars accept.
TEST(ReadOut, WholeImagesStayInScrollBarRanges)
{
    for (MapKind kind : {MapKind::japan, MapKind::world}) {
        const auto& map = orvine::map_projection(kind);
        for (int y = 0; y < map.height; ++y) {
            for (int x = 0; x < map.width; ++x) {
                const ReadOut r = read_out(kind, x, y);
                ASSERT_TRUE(r.ido_do >= 0 && r.ido_do <= 89 && r.kei_do >= 0 && r.kei_do <= 179
                            && r.ido_hun >= 0 && r.ido_hun <= 59 && r.ido_byo >= 0 && r.ido_byo <= 59
                            && r.kei_hun >= 0 && r.kei_hun <= 59 && r.kei_byo >= 0 && r.kei_byo <= 59)
                    << x << "," << y << ": " << text(r);
            }
        }
    }
}
