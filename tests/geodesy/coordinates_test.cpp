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
