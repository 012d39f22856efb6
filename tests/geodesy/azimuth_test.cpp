#include "geodesy/azimuth.h"
#include "geodesy/coordinates.h"

#include <gtest/gtest.h>

using namespace orvine;

namespace {

double rad(double degrees)
{
    return degrees * PI10 / 180;
}

} // namespace

TEST(CentralAngle, QuarterOfTheEquatorAndTheUnitCosineGuard)
{
    EXPECT_NEAR(central_angle(0, 0, 0, rad(90)).c * EARTH_RADIUS_KM, 10001.963, 0.0005);
    EXPECT_EQ(central_angle(rad(10), rad(20), rad(10), rad(20)).cos_c, COS_NEAR_ONE);
    // The opposite point gives cos C = -1 exactly; the guard takes the positive value too.
    EXPECT_EQ(central_angle(0, 0, 0, PI10).cos_c, COS_NEAR_ONE);
}

TEST(BearingCosine, DueNorthOffsetByPi10AndReflectionBeyondOne)
{
    const CentralAngle a = central_angle(rad(35), rad(135), rad(36), rad(135));
    EXPECT_NEAR(1 - bearing_cosine(rad(35), rad(36), a.c, a.cos_c), 1.2e-8, 0.1e-8);
    // sin(0.5) / sin(0.4999) is just above 1: reflected to just below 1, and likewise below -1.
    const double x = bearing_cosine(0, 0.5, 0.4999, 0);
    EXPECT_LT(x, 1);
    EXPECT_GT(x, 0.9998);
    EXPECT_EQ(bearing_cosine(0, -0.5, 0.4999, 0), -x);
}

TEST(InitialBearing, LimitsAndHalves)
{
    EXPECT_EQ(initial_bearing(1, 0, 0), 0);
    EXPECT_EQ(initial_bearing(-1, 0, 0), 180);
    EXPECT_EQ(initial_bearing(0, 0, rad(90)), 90);
    EXPECT_EQ(initial_bearing(0, rad(90), 0), 270);
    // Same longitude: the sine is 0, not negative, so the bearing stays in the eastern half.
    EXPECT_NEAR(initial_bearing(0.5, rad(10), rad(10)), 60, 1e-6);
}

TEST(Refusals, SamePointInSignedFormAndAntipodeToTheSecond)
{
    const Point dep = to_signed_form({-35, 10, 20, -120, 5, 6});
    EXPECT_TRUE(is_same_point(dep, to_signed_form({-35, 10, 20, -120, 5, 6})));
    EXPECT_FALSE(is_same_point(dep, to_signed_form({-35, 10, 21, -120, 5, 6})));

    EXPECT_TRUE(is_antipode({35, 0, 0, 135, 0, 0}, {-35, 0, 0, -45, 0, 0}));
    EXPECT_TRUE(is_antipode({-12, -30, -15, -100, -1, -2}, {12, 30, 15, 79, 58, 58}));
    EXPECT_FALSE(is_antipode({35, 0, 0, 135, 0, 0}, {-35, 0, 1, -45, 0, 0}));
    EXPECT_FALSE(is_antipode({35, 0, 0, 135, 0, 0}, {-35, 0, 0, -45, 0, 1}));
    EXPECT_FALSE(is_antipode({0, 30, 0, 0, 0, 0}, {0, 30, 0, 180, 0, 0}));
}
