#include "geodesy/coordinates.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orvine;

TEST(DmsToRadians, FollowsTheSignOfTheDegreesInEitherForm)
{
    const double tokyo_lat = ((1 * ((35 + 41 / 60.0) + 22 / 3600.0)) * 3.141592654) / 180;
    EXPECT_EQ(dms_to_radians(35, 41, 22), tokyo_lat);

    const double west = dms_to_radians(-74, 0, 21);
    EXPECT_LT(west, 0);
    EXPECT_EQ(dms_to_radians(-74, 0, -21), west);
    EXPECT_EQ(west, -((74 + 21 / 3600.0) * 3.141592654) / 180);
}

TEST(DmsToRadians, ZeroDegreesIsNorthOrEast)
{
    EXPECT_EQ(dms_to_radians(0, 30, 0), 0.5 * 3.141592654 / 180);
    EXPECT_EQ(dms_to_radians(0, -30, 0), 0.5 * 3.141592654 / 180);
    EXPECT_EQ(dms_to_radians(0, 0, 0), 0.0);
}

TEST(DmsToRadians, UsesPi10NotPi)
{
    const double right_angle = dms_to_radians(90, 0, 0);
    EXPECT_NEAR(std::cos(right_angle), -2.05e-10, 0.01e-10);
    EXPECT_GT(std::cos(dms_to_radians(89, 59, 59)), 0);
}

TEST(DmsSign, ZeroCountsAsPositive)
{
    EXPECT_EQ(dms_sign(-1), -1);
    EXPECT_EQ(dms_sign(-179), -1);
    EXPECT_EQ(dms_sign(0), 1);
    EXPECT_EQ(dms_sign(89), 1);
}

TEST(NumberText, PlainDecimalWithoutBlank)
{
    EXPECT_EQ(number_text(35), "35");
    EXPECT_EQ(number_text(-135), "-135");
    EXPECT_EQ(number_text(0), "0");
}

TEST(CoordinateText, ShowsSignedDegreesAndUnsignedMinutesAndSeconds)
{
    EXPECT_EQ(coordinate_text(Axis::Latitude, 35, 41, 22), "緯度：  35度41分22秒");
    EXPECT_EQ(coordinate_text(Axis::Longitude, -74, 0, 21), "経度：  -74度0分21秒");
    EXPECT_EQ(coordinate_text(Axis::Longitude, -74, 0, -21), "経度：  -74度0分21秒");
    EXPECT_EQ(coordinate_text(Axis::Latitude, 0, 30, 0), "緯度：  0度30分0秒");
    EXPECT_EQ(coordinate_text(Axis::Longitude, 0, 0, 0), "経度：  0度0分0秒");
}

TEST(PointForms, SignedFormFollowsTheDegreesAndEntryFormUndoesIt)
{
    const Point entry{-35, 10, 20, 139, 41, 30};
    const Point expected_signed{-35, -10, -20, 139, 41, 30};
    EXPECT_EQ(to_signed_form(entry), expected_signed);
    EXPECT_EQ(to_signed_form(expected_signed), expected_signed);
    EXPECT_EQ(to_entry_form(expected_signed), entry);

    const Point zero_degrees{0, 30, 0, 0, -5, -6};
    EXPECT_EQ(to_signed_form(zero_degrees), (Point{0, 30, 0, 0, 5, 6}));
}
