#include "geodesy/azimuth.h"
#include "geodesy/coordinates.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orvine;

TEST(DmsToRadians, SignOfTheDegreesAndPi10)
{
    const double pi10 = 3.141592654;
    const double tokyo = ((35 + 41 / 60.0) + 22 / 3600.0) * pi10 / 180;
    EXPECT_EQ(dms_to_radians(35, 41, 22), tokyo);
    EXPECT_EQ(dms_to_radians(-35, 41, 22), -tokyo);
    EXPECT_EQ(dms_to_radians(-35, -41, -22), -tokyo);
    EXPECT_EQ(dms_to_radians(0, -30, 0), 0.5 * pi10 / 180); // 0 degrees is north or east
    EXPECT_NEAR(std::cos(dms_to_radians(90, 0, 0)), -2.05e-10, 0.01e-10);
}

TEST(PointForms, SignedFormFollowsTheDegreesAndEntryFormUndoesIt)
{
    const Point entry{-35, 10, 20, 139, 41, 30}, signed_form{-35, -10, -20, 139, 41, 30};
    EXPECT_EQ(to_signed_form(entry), signed_form);
    EXPECT_EQ(to_signed_form(signed_form), signed_form);
    EXPECT_EQ(to_entry_form(signed_form), entry);
    EXPECT_EQ(to_entry_form(Point{1, 2, 3, -4, -5, -6}), (Point{1, 2, 3, -4, 5, 6}));
    EXPECT_EQ(to_signed_form(Point{0, 30, 0, 0, -5, -6}), (Point{0, 30, 0, 0, 5, 6}));
}

TEST(Azimuth, UnitCosineIsGuardedAndValuesBeyondOneAreReflected)
{
    EXPECT_EQ(central_angle(0.2, 0.3, 0.2, 0.3).cos_c, COS_NEAR_ONE);
    EXPECT_EQ(central_angle(0, 0, 0, PI10).cos_c, COS_NEAR_ONE);
    // sin(0.5) / sin(0.4999) is just above 1, and its negative just below -1.
    const double x = bearing_cosine(0, 0.5, 0.4999, 0);
    EXPECT_NEAR(x, 2 - std::sin(0.5) / std::sin(0.4999), 1e-15);
    EXPECT_EQ(bearing_cosine(0, -0.5, 0.4999, 0), -x);
}

// Antipodes are counted in seconds of the signed form; one second off either way is not one.
TEST(Azimuth, AntipodeInSignedForm)
{
    EXPECT_TRUE(is_antipode({-12, -30, -15, -100, -1, -2}, {12, 30, 15, 79, 58, 58}));
    EXPECT_FALSE(is_antipode({35, 0, 0, 135, 0, 0}, {-35, 0, 1, -45, 0, 0}));
    EXPECT_FALSE(is_antipode({35, 0, 0, 135, 0, 0}, {-35, 0, 0, -45, 0, 1}));
    EXPECT_FALSE(is_antipode({0, 30, 0, 0, 0, 0}, {0, 30, 0, 180, 0, 0}));
}
