#include "geodesy/azimuth.h"
#include "geodesy/coordinates.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orvine;

namespace {

double rad(double degrees) { return degrees * PI10 / 180; }

} // namespace

TEST(CentralAngle, UnitCosineIsGuardedForTheSameAndTheOppositePoint)
{
    EXPECT_EQ(central_angle(rad(10), rad(20), rad(10), rad(20)).cos_c, COS_NEAR_ONE);
    EXPECT_EQ(central_angle(0, 0, 0, PI10).cos_c, COS_NEAR_ONE);
    EXPECT_EQ(central_angle(0, 0, 0, rad(90)).cos_c, central_cosine(0, 0, 0, rad(90)));
}

TEST(BearingCosine, ValuesBeyondOneAreReflected)
{
    // sin(0.5) / sin(0.4999) is just above 1, and its negative just below -1.
    const double x = bearing_cosine(0, 0.5, 0.4999, 0);
    EXPECT_NEAR(x, 2 - std::sin(0.5) / std::sin(0.4999), 1e-15);
    EXPECT_LT(x, 1);
    EXPECT_EQ(bearing_cosine(0, -0.5, 0.4999, 0), -x);
}

TEST(InitialBearing, LimitsAndTheWesternHalf)
{
    EXPECT_EQ(initial_bearing(1, 0, 0), 0);
    EXPECT_EQ(initial_bearing(-1, 0, rad(-1)), 180);
    EXPECT_EQ(initial_bearing(1, rad(90), 0), 360);
    // Same longitude: the sine is 0, not negative, so the bearing stays in the eastern half.
    EXPECT_NEAR(initial_bearing(0.5, rad(10), rad(10)), 60, 1e-6);
}

TEST(Refusals, SamePointInSignedFormAndAntipodeToTheSecond)
{
    EXPECT_TRUE(is_same_point({-35, -10, -20, 1, 2, 3}, {-35, -10, -20, 1, 2, 3}));
    EXPECT_FALSE(is_same_point({-35, -10, -20, 1, 2, 3}, {-35, 10, 20, 1, 2, 3}));
    EXPECT_TRUE(is_antipode({-12, -30, -15, -100, -1, -2}, {12, 30, 15, 79, 58, 58}));
    EXPECT_TRUE(is_antipode({0, 0, 0, -100, 0, 0}, {0, 0, 0, 80, 0, 0}));
    EXPECT_FALSE(is_antipode({35, 0, 0, 135, 0, 0}, {-35, 0, 1, -45, 0, 0}));
    EXPECT_FALSE(is_antipode({35, 0, 0, 135, 0, 0}, {-35, 0, 0, -45, 0, 1}));
    EXPECT_FALSE(is_antipode({0, 30, 0, 0, 0, 0}, {0, 30, 0, 180, 0, 0}));
}
