#include "map/map_projection.h"

#include <gtest/gtest.h>

#include <string>

using namespace orvine;

static std::string text(const ReadOut& r)
{
    return std::string(r.latitude_label()) + " " + std::to_string(r.latitude.degrees) + " "
        + std::to_string(r.latitude.minutes) + " " + std::to_string(r.latitude.seconds) + " / " + r.longitude_label()
        + " " + std::to_string(r.longitude.degrees) + " " + std::to_string(r.longitude.minutes) + " "
        + std::to_string(r.longitude.seconds);
}

TEST(ReadOut, WorkedTableOfBothMaps)
{
    // The map, a pixel and its read-out.
    const std::tuple<MapKind, int, int, const char*> rows[] = {
        {MapKind::Japan, 0, 0, "北緯 49 0 6 / 東経 121 23 54"},
        {MapKind::Japan, 499, 499, "北緯 23 19 10 / 東経 147 4 50"},
        {MapKind::World, 0, 0, "北緯 89 58 32 / 西経 179 11 16"},
        {MapKind::World, 600, 300, "南緯 44 59 18 / 東経 91 38 23"},
        {MapKind::World, 793, 399, "南緯 89 31 35 / 東経 178 45 22"},
        // The prime meridian lies between X 396 (-0.44152 degrees) and X 397 (+0.0098).
        {MapKind::World, 396, 50, "北緯 67 28 53 / 西経 0 26 29"},
        {MapKind::World, 397, 199, "北緯 0 26 58 / 東経 0 0 35"},
        // Row 200 is -0.0004 degrees in single precision: just south, never 0 0 0 north.
        {MapKind::World, 397, 200, "南緯 0 0 1 / 東経 0 0 35"},
    };
    for (const auto& [map_kind, x, y, shown] : rows)
        EXPECT_EQ(text(read_out(map_kind, x, y)), shown) << x << ", " << y;
}
