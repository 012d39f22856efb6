#include "geodesy/coordinates.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orvine;

TEST(DmsToRadians, SignOfTheDegreesAndPi10)
{
    const double pi10 = 3.141592654;
    struct Row {
        std::int16_t d, m, s;
        double radians;
    } const rows[] = {
        {35, 41, 22, ((1 * ((35 + 41 / 60.0) + 22 / 3600.0)) * pi10) / 180},
        {-74, 0, 21, -((74 + 21 / 3600.0) * pi10) / 180},
        {-74, 0, -21, -((74 + 21 / 3600.0) * pi10) / 180},
        {0, 30, 0, 0.5 * pi10 / 180},  // 0 degrees is north or east
        {0, -30, 0, 0.5 * pi10 / 180},
        {0, 0, 0, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.d << ":" << r.m << ":" << r.s);
        EXPECT_EQ(dms_to_radians(r.d, r.m, r.s), r.radians);
    }
    EXPECT_NEAR(std::cos(dms_to_radians(90, 0, 0)), -2.05e-10, 0.01e-10);
    EXPECT_EQ(dms_sign(-1), -1);
    EXPECT_EQ(dms_sign(0), 1);
}

TEST(CoordinateText, SignedDegreesUnsignedMinutesAndSeconds)
{
    EXPECT_EQ(number_text(-135), "-135");
    EXPECT_EQ(coordinate_text(Axis::Latitude, 35, 41, 22), "緯度：  35度41分22秒");
    EXPECT_EQ(coordinate_text(Axis::Longitude, -74, 0, 21), "経度：  -74度0分21秒");
    EXPECT_EQ(coordinate_text(Axis::Longitude, -74, 0, -21), "経度：  -74度0分21秒");
    EXPECT_EQ(coordinate_text(Axis::Latitude, 0, 30, 0), "緯度：  0度30分0秒");
}

TEST(PointForms, SignedFormFollowsTheDegreesAndEntryFormUndoesIt)
{
    const Point entry{-35, 10, 20, 139, 41, 30};
    const Point expected_signed{-35, -10, -20, 139, 41, 30};
    EXPECT_EQ(to_signed_form(entry), expected_signed);
    EXPECT_EQ(to_signed_form(expected_signed), expected_signed);
    EXPECT_EQ(to_entry_form(expected_signed), entry);
    EXPECT_EQ(to_signed_form(Point{0, 30, 0, 0, -5, -6}), (Point{0, 30, 0, 0, 5, 6}));
}
