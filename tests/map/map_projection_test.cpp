#include "map/map_projection.h"

#include <gtest/gtest.h>

#include <string>

using namespace orvine;

static std::string text(const ReadOut& r)
{
    return std::string(r.ido_label()) + " " + std::to_string(r.ido_do) + " " + std::to_string(r.ido_hun)
        + " " + std::to_string(r.ido_byo) + " / " + r.kei_label() + " " + std::to_string(r.kei_do) + " "
        + std::to_string(r.kei_hun) + " " + std::to_string(r.kei_byo);
}

TEST(ReadOut, WorkedTableOfBothMaps)
{
    struct Row {
        std::int16_t map_kind;
        int x, y;
        const char* shown;
    } const rows[] = {
        {0, 0, 0, "北緯 49 0 6 / 東経 121 23 54"},
        {0, 499, 499, "北緯 23 19 10 / 東経 147 4 50"},
        {1, 0, 0, "北緯 89 58 32 / 西経 179 11 16"},
        {2, 600, 300, "南緯 44 59 18 / 東経 91 38 23"},
        {1, 793, 399, "南緯 89 31 35 / 東経 178 45 22"},
        // The prime meridian lies between X 396 (-0.44152 degrees) and X 397 (+0.0098).
        {1, 396, 50, "北緯 67 28 53 / 西経 0 26 29"},
        {1, 397, 199, "北緯 0 26 58 / 東経 0 0 35"},
        // Row 200 is -0.0004 degrees in single precision: just south, never 0 0 0 north.
        {1, 397, 200, "南緯 0 0 1 / 東経 0 0 35"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(text(read_out(map_kind_from(r.map_kind), r.x, r.y)), r.shown) << r.x << ", " << r.y;
}
