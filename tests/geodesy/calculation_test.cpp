#include "geodesy/calculation.h"

#include <gtest/gtest.h>

#include <string>

using namespace orvine;

// Limits of the formulas; ordinary pairs are held against GeodSolve through the calculator.
TEST(Calculate, WorkedExamples)
{
    struct Example {
        Point dep, dst;
        double b, d;
        const char *bearing_caption, *distance_caption;
    } const examples[] = {
        {{35, 41, 22, 139, 41, 30}, {40, 42, 51, -74, 0, 21}, 25.1014015, 10842.6366, " 25.1014 度    北北東（丑）",
         " 10842.64 Ｋｍ"},
        // A quarter circle along a meridian makes x exactly 1 or -1: the limits, not an overflow.
        {{-89, 0, 0, 10, 0, 0}, {1, 0, 0, 10, 0, 0}, 0, 10001.963, " 0 度    北（子）", " 10001.96 Ｋｍ"},
        {{1, 0, 0, 10, 0, 0}, {-89, 0, 0, 10, 0, 0}, 180, 10001.963, " 180 度    南（午）", " 10001.96 Ｋｍ"},
        // 0°30' is half a degree north, not the equator.
        {{0, 30, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, 179.9875777, 55.5665, " 179.987 度    南（午）", " 55.56646 Ｋｍ"},
    };
    for (const Example& e : examples) {
        SCOPED_TRACE(e.bearing_caption);
        const Calculation r = calculate(e.dep, e.dst);
        ASSERT_EQ(r.refusal, Refusal::None);
        EXPECT_NEAR(r.b, e.b, 1e-6);
        EXPECT_NEAR(r.d, e.d, 5e-4);
        EXPECT_EQ(r.d, r.c * 6367.4475);
        EXPECT_EQ(std::tie(r.bearing_caption, r.distance_caption),
                  std::tuple(std::string(e.bearing_caption), std::string(e.distance_caption)));
        ASSERT_NE(r.sector, nullptr);
        EXPECT_NE(r.bearing_caption.find(r.sector->name), std::string::npos);
    }
}

TEST(Calculate, RefusalsKeepBothPointsInSignedFormAndNoFigures)
{
    // A departure left in signed form by an earlier calculation in the south-west.
    const Point signed_dep{-35, -10, -20, -120, -5, -6};
    const struct Row {
        const char* label;
        Point dep, dst, stored_dst;
        Refusal refusal;
    } rows[] = {
        {"same point, signed departure", signed_dep, {-35, 10, 20, -120, 5, 6}, signed_dep, Refusal::SamePoint},
        {"antipode on the equator",
         {0, 0, 0, 3, 0, 0},
         {0, 0, 0, -177, 0, 0},
         {0, 0, 0, -177, 0, 0},
         Refusal::Antipode},
        {"antipode with seconds",
         {-20, 30, 0, -100, 0, 59},
         {20, 30, 0, 79, 59, 1},
         {20, 30, 0, 79, 59, 1},
         Refusal::Antipode},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const Calculation c = calculate(r.dep, r.dst);
        EXPECT_EQ(std::tie(c.refusal, c.dst), std::tie(r.refusal, r.stored_dst));
        EXPECT_TRUE(c.b + c.c + c.d == 0 && !c.sector && (c.bearing_caption + c.distance_caption).empty());
    }
    const Calculation r = calculate({-33, 52, 0, 151, 12, 0}, {35, 41, 22, -74, 0, 21});
    EXPECT_EQ(r.dep, (Point{-33, -52, 0, 151, 12, 0}));
    EXPECT_EQ(r.dst, (Point{35, 41, 22, -74, 0, -21}));
}
