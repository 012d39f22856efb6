#include "geodesy/calculation.h"

#include <gtest/gtest.h>

#include <string>

using namespace orvine;

namespace {

struct Example {
    const char* label;
    Point dep, dst;
    double b, b_tolerance, d, d_tolerance;
    const char* bearing_caption;  // nullptr: no worked text for this pair
    const char* distance_caption;
};

const Example EXAMPLES[] = {
    {"Tokyo to New York", {35, 41, 22, 139, 41, 30}, {40, 42, 51, -74, 0, 21}, 25.1014015, 1e-7,
     10842.6366, 1e-4, " 25.1014 度    北北東（丑）", " 10842.64 Ｋｍ"},
    {"New York to Tokyo", {40, 42, 51, -74, 0, 21}, {35, 41, 22, 139, 41, 30}, 332.962973, 1e-6,
     10842.6366, 1e-4, " 332.962 度    北北西（亥）", " 10842.64 Ｋｍ"},
    {"quarter of the equator", {0, 0, 0, 0, 0, 0}, {0, 0, 0, 90, 0, 0}, 90, 0, 10001.963, 5e-4,
     " 90 度    東（卯）", " 10001.96 Ｋｍ"},
    {"quarter of the equator westwards", {0, 0, 0, 90, 0, 0}, {0, 0, 0, 0, 0, 0}, 270, 0,
     10001.963, 5e-4, " 270 度    西（酉）", " 10001.96 Ｋｍ"},
    {"one degree due north", {35, 0, 0, 135, 0, 0}, {36, 0, 0, 135, 0, 0}, 0.0088, 5e-5, 111.1329,
     5e-5, " 0.00878 度    北（子）", " 111.1329 Ｋｍ"},
    {"one degree due south", {36, 0, 0, 135, 0, 0}, {35, 0, 0, 135, 0, 0}, 179.9912, 5e-5,
     111.1329, 5e-5, " 179.991 度    南（午）", " 111.1329 Ｋｍ"},
    {"Sydney to Tokyo", {-33, 52, 0, 151, 12, 0}, {35, 41, 22, 139, 41, 30}, 350.0944, 5e-5,
     7821.864, 5e-4, " 350.094 度    北（子）", " 7821.864 Ｋｍ"},
    // A quarter circle along a meridian makes x exactly 1 or -1: the limits, not an overflow.
    {"quarter circle due north", {-89, 0, 0, 10, 0, 0}, {1, 0, 0, 10, 0, 0}, 0, 0, 10001.963,
     5e-4, " 0 度    北（子）", nullptr},
    {"quarter circle due south", {1, 0, 0, 10, 0, 0}, {-89, 0, 0, 10, 0, 0}, 180, 0, 10001.963,
     5e-4, " 180 度    南（午）", nullptr},
    {"one second due north", {35, 0, 0, 135, 0, 0}, {35, 0, 1, 135, 0, 0}, 0.51, 5e-3, 0.0309,
     5e-5, nullptr, nullptr},
    // 0°30' is half a degree north, not the equator.
    {"half a degree north", {0, 30, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, 180, 0.02, 55.5662, 5e-4,
     nullptr, nullptr},
    {"one second off the antipode", {35, 0, 0, 135, 0, 0}, {-35, 0, 0, -45, 0, 1}, 0, 360,
     20003.9, 0.1, nullptr, nullptr},
    {"one second apart near the pole", {89, 59, 59, 179, 59, 59}, {89, 59, 59, 179, 59, 58}, 0,
     360, 0, 1e-3, nullptr, nullptr},
};

} // namespace

TEST(Calculate, WorkedExamples)
{
    for (const Example& e : EXAMPLES) {
        SCOPED_TRACE(e.label);
        const Calculation r = calculate(e.dep, e.dst);
        ASSERT_EQ(r.refusal, Refusal::None);
        EXPECT_NEAR(r.b, e.b, e.b_tolerance);
        EXPECT_NEAR(r.d, e.d, e.d_tolerance);
        EXPECT_DOUBLE_EQ(r.d, r.c * 6367.4475);
        ASSERT_NE(r.sector, nullptr);
        if (e.bearing_caption) {
            EXPECT_EQ(r.bearing_caption, e.bearing_caption);
        }
        if (e.distance_caption) {
            EXPECT_EQ(r.distance_caption, e.distance_caption);
        }
        EXPECT_NE(r.bearing_caption.find(r.sector->name), std::string::npos);
    }
}

TEST(Calculate, RefusalsKeepBothPointsInSignedForm)
{
    // A departure left in signed form by an earlier calculation in the south-west.
    const Point signed_dep{-35, -10, -20, -120, -5, -6};
    struct Row {
        const char* label;
        Point dep, dst, stored_dst;
        Refusal refusal;
    } const rows[] = {
        {"same point", {35, 0, 0, 135, 0, 0}, {35, 0, 0, 135, 0, 0}, {35, 0, 0, 135, 0, 0},
         Refusal::SamePoint},
        {"same point, signed departure", signed_dep, {-35, 10, 20, -120, 5, 6}, signed_dep,
         Refusal::SamePoint},
        {"antipode", {35, 0, 0, 135, 0, 0}, {-35, 0, 0, -45, 0, 0}, {-35, 0, 0, -45, 0, 0},
         Refusal::Antipode},
        {"antipode on the equator", {0, 0, 0, 3, 0, 0}, {0, 0, 0, -177, 0, 0},
         {0, 0, 0, -177, 0, 0}, Refusal::Antipode},
        {"antipode with seconds", {-20, 30, 0, -100, 0, 59}, {20, 30, 0, 79, 59, 1},
         {20, 30, 0, 79, 59, 1}, Refusal::Antipode},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const Calculation c = calculate(r.dep, r.dst);
        EXPECT_EQ(c.refusal, r.refusal);
        EXPECT_EQ(c.dst, r.stored_dst);
        EXPECT_TRUE(c.bearing_caption.empty());
        EXPECT_EQ(c.sector, nullptr);
    }
    const Calculation r = calculate({-33, 52, 0, 151, 12, 0}, {35, 41, 22, -74, 0, 21});
    EXPECT_EQ(r.dep, (Point{-33, -52, 0, 151, 12, 0}));
    EXPECT_EQ(r.dst, (Point{35, 41, 22, -74, 0, -21}));
}

TEST(Calculate, ReusedResultIsOverwrittenWhole)
{
    Calculation r;
    calculate({35, 41, 22, 139, 41, 30}, {40, 42, 51, -74, 0, 21}, r);
    calculate({35, 0, 0, 135, 0, 0}, {35, 0, 0, 135, 0, 0}, r);
    EXPECT_EQ(r.refusal, Refusal::SamePoint);
    EXPECT_TRUE(r.bearing_caption.empty());
    EXPECT_TRUE(r.distance_caption.empty());
    calculate({0, 0, 0, 0, 0, 0}, {0, 0, 0, 90, 0, 0}, r);
    EXPECT_EQ(r.bearing_caption, " 90 度    東（卯）");
}

TEST(RefusalMessages, Texts)
{
    EXPECT_EQ(refusal_message(Refusal::SamePoint), "同一地点です。方位の計算はできません。");
    EXPECT_EQ(refusal_message(Refusal::Antipode),
              std::string("ちょうど地球の正反対となります。") + "\r" + "\r"
                  + "               計算不能です。");
    EXPECT_EQ(refusal_message(Refusal::None), "");
}
