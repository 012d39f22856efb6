#include "geodesy/direction.h"

#include "geodesy/azimuth.h"
#include "geodesy/coordinates.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orvine;

// The sector of bearings [lo, hi) is the figure's arc from 90 - hi to 90 - lo, in units of 15°.
TEST(DirectionSector, EachSectorsNameBoundsAndArcOnTheFigure)
{
    const char* const names[] = {"北（子）",     "北北東（丑）", "東北東（寅）", "東（卯）",
                                 "東南東（辰）", "南南東（巳）", "南（午）",     "南南西（未）",
                                 "西南西（申）", "西（酉）",     "西北西（戌）", "北北西（亥）"};
    auto unit = [](double degrees) { return static_cast<int>(std::fmod(degrees + 360, 360) / 15); };
    for (int i = 0; i < 12; ++i) {
        const double lo = 30 * i - 15, hi = 30 * i + 15;
        SCOPED_TRACE(names[i]);
        const Sector& s = direction_sector(i == 0 ? 0 : lo);
        EXPECT_STREQ(s.name, names[i]);
        EXPECT_STREQ(direction_sector(std::nextafter(hi, 0.0)).name, names[i]);
        EXPECT_STREQ(direction_sector(hi).name, names[(i + 1) % 12]);
        EXPECT_EQ(s.k_start, unit(90 - hi));
        EXPECT_EQ(s.k_end, unit(90 - lo));
        EXPECT_EQ(s.arc_start, unit(90 - hi) * PI10 / 12);
        EXPECT_EQ(s.arc_end, static_cast<float>(unit(90 - lo) * PI10 / 12));
    }
    EXPECT_STREQ(direction_sector(360).name, "北（子）");
}

TEST(RealText, OrdinaryTextNeverInExponentForm)
{
    // More places before the point than digits, as many, fewer; then ordinary texts.
    const std::tuple<double, int, const char*> rows[] = {
        {90, 15, "90"},
        {25, 15, "25"},
        {2.5, 15, "2.5"},
        {100000, 1, "100000"},
        {25.10140147261098, 15, "25.101401472611"},
        {10842.6366, 7, "10842.64"},
        {1.5e-5, 15, "0.000015"},
        {-1.25e-7, 7, "-0.000000125"},
        {123456789012345678.0, 15, "123456789012346000"},
        {0, 15, "0"},
    };
    for (const auto& [value, digits, text] : rows)
        EXPECT_EQ(real_text(value, digits), text) << value;
}

TEST(ResultTexts, CutToSevenOrNineCharactersWithoutRounding)
{
    std::string text = "left over";
    EXPECT_EQ((bearing_text_into(text, 332.96297294192766, "北北西（亥）"), text), " 332.962 度    北北西（亥）");
    EXPECT_EQ((bearing_text_into(text, 1.23e-5, "北（子）"), text), " 0.00001 度    北（子）");
    EXPECT_EQ((distance_text_into(text, 0.0308714832 / EARTH_RADIUS_KM), text), " 0.0308714 Ｋｍ");
    EXPECT_EQ((distance_text_into(text, 2.5e-5 / EARTH_RADIUS_KM), text), " 0.000025 Ｋｍ");
}
