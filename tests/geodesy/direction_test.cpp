#include "geodesy/direction.h"

#include "geodesy/azimuth.h"

#include <gtest/gtest.h>

using namespace orvine;

TEST(DirectionSector, BoundsBelongToTheSectorClockwiseOfThem)
{
    const char* const names[] = {"北北東（丑）", "東北東（寅）", "東（卯）", "東南東（辰）",
                                 "南南東（巳）", "南（午）", "南南西（未）", "西南西（申）",
                                 "西（酉）", "西北西（戌）", "北北西（亥）", "北（子）"};
    for (int i = 0; i < 12; ++i) {
        const double bound = 15 + 30 * i;
        SCOPED_TRACE(bound);
        EXPECT_STREQ(direction_sector(bound).name, names[i]);
        EXPECT_STREQ(direction_sector(bound - 1e-9).name, names[(i + 11) % 12]);
    }
    EXPECT_STREQ(direction_sector(0.00878).name, "北（子）");
    EXPECT_STREQ(direction_sector(360).name, "北（子）");
}

TEST(DirectionSector, ArcAnglesInTwelfthsOfPi10)
{
    const Sector& north = direction_sector(0.5);
    EXPECT_EQ(north.arc_start, 5 * 3.141592654 / 12);
    EXPECT_EQ(north.arc_end, static_cast<float>(7 * 3.141592654 / 12));
    const Sector& east = direction_sector(90);
    EXPECT_EQ(east.arc_start, 23 * 3.141592654 / 12);
    EXPECT_EQ(east.arc_end, static_cast<float>(3.141592654 / 12));
    EXPECT_EQ(direction_sector(300).k_start, 9);
    EXPECT_EQ(direction_sector(300).k_end, 11);
}

TEST(RealText, OrdinaryTextNeverInExponentForm)
{
    struct Row {
        double value;
        int digits;
        const char* text;
    } const rows[] = {
        {90, 15, "90"},
        {25.10140147261098, 15, "25.101401472611"},
        {0.00878335748119863, 15, "0.00878335748119863"},
        {-2.25, 15, "-2.25"},
        {10842.6366, 7, "10842.64"},
        {static_cast<float>(10842.6366), 7, "10842.64"},
        {1.5e-5, 15, "0.000015"},
        {-1.25e-7, 7, "-0.000000125"},
        {123456789012345678.0, 15, "123456789012346000"},
        {1e15, 15, "1000000000000000"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(real_text(r.value, r.digits), r.text) << r.value;
}

TEST(ResultTexts, CutToSevenOrNineCharactersWithoutRounding)
{
    EXPECT_EQ(bearing_text(25.10140147261098, "北北東（丑）"), " 25.1014 度    北北東（丑）");
    EXPECT_EQ(bearing_text(332.96297294192766, "北北西（亥）"), " 332.962 度    北北西（亥）");
    EXPECT_EQ(bearing_text(0.00878335748119863, "北（子）"), " 0.00878 度    北（子）");
    EXPECT_EQ(bearing_text(1.23e-5, "北（子）"), " 0.00001 度    北（子）");
    EXPECT_EQ(distance_text(10842.6366 / EARTH_RADIUS_KM), " 10842.64 Ｋｍ");
    EXPECT_EQ(distance_text(0.0308714832 / EARTH_RADIUS_KM), " 0.0308714 Ｋｍ");
    EXPECT_EQ(distance_text(2.5e-5 / EARTH_RADIUS_KM), " 0.000025 Ｋｍ");
}
