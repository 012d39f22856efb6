#include "geodesy/azimuth.h"
#include "geodesy/calculation.h"
#include "geodesy/coordinates.h"
#include "geodesy/direction.h"
#include "geodesy/globe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

using namespace orvine;

namespace {

GlobePoint globe(const Point& p)
{
    auto angle = [](const Angle& a) {
        const int seconds = 3600 * std::abs(a.degrees) + 60 * a.minutes + a.seconds;
        return angle_from_seconds(a.degrees < 0 ? -seconds : seconds);
    };
    return {angle(p.latitude), angle(p.longitude)};
}

GlobePoint degrees(double lat, double lon) { return {angle_from_degrees(lat), angle_from_degrees(lon)}; }

} // namespace

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
        {0.1, 20, "0.10000000000000001"}, // 17 significant digits name every double: no more are shown
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
        Point dep, dst;
        Refusal refusal;
    } rows[] = {
        {"same point, signed departure", signed_dep, {-35, 10, 20, -120, 5, 6}, Refusal::SamePoint},
        {"antipode on the equator", {0, 0, 0, 3, 0, 0}, {0, 0, 0, -177, 0, 0}, Refusal::Antipode},
        {"antipode with seconds", {-20, 30, 0, -100, 0, 59}, {20, 30, 0, 79, 59, 1}, Refusal::Antipode},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const Calculation c = calculate(r.dep, r.dst);
        EXPECT_EQ(std::tie(c.refusal, c.dep, c.dst),
                  std::tuple(r.refusal, to_signed_form(r.dep), to_signed_form(r.dst)));
        EXPECT_TRUE(c.b + c.c + c.d == 0 && !c.sector && (c.bearing_caption + c.distance_caption).empty());
    }
    const Calculation r = calculate({-33, 52, 0, 151, 12, 0}, {35, 41, 22, -74, 0, 21});
    EXPECT_EQ(r.dep, (Point{-33, -52, 0, 151, 12, 0}));
    EXPECT_EQ(r.dst, (Point{35, 41, 22, -74, 0, -21}));
}

TEST(Globe, PointsTheBarsHoldGiveTheWindowsResultsToTheLastBit)
{
    std::mt19937 gen(7);
    auto pick = [&gen](int lo, int hi) {
        return static_cast<std::int16_t>(lo + static_cast<int>(gen() % unsigned(hi - lo + 1)));
    };
    // Small degrees make the sub-degree and near-antipode cases frequent.
    auto point = [&](int lat, int lon) {
        return Point{pick(-lat, lat), pick(0, 59), pick(0, 59), pick(-lon, lon), pick(0, 59), pick(0, 59)};
    };
    std::vector<std::pair<Point, Point>> pairs = {{{35, 0, 0, 135, 0, 0}, {35, 0, 0, 135, 0, 0}},
                                                  {{-20, 30, 0, -100, 0, 59}, {20, 30, 0, 79, 59, 1}},
                                                  {{-89, 0, 0, 10, 0, 0}, {1, 0, 0, 10, 0, 0}}};
    for (int i = 0; i < 20000; ++i)
        pairs.push_back(i % 2 ? std::pair{point(89, 179), point(89, 179)} : std::pair{point(2, 2), point(2, 2)});
    GlobeCalculation g;
    for (const auto& [dep, dst] : pairs) {
        const Calculation w = calculate(dep, dst);
        calculate_globe(globe(dep), globe(dst), false, g);
        ASSERT_EQ(std::tie(g.refusal, g.b, g.d, g.bearing_caption, g.distance_caption),
                  std::tie(w.refusal, w.b, w.d, w.bearing_caption, w.distance_caption));
    }
}

TEST(Globe, RefusalsOfSameAndOppositePointsInEveryForm)
{
    struct Row {
        const char* label;
        GlobePoint dep, dst;
        Refusal refusal;
    } const rows[] = {
        {"same, fractions", degrees(1.23456789, 2.5), degrees(1.23456789, 2.5), Refusal::SamePoint},
        // Near the pole cos C falls an ulp short of 1: only the explicit test refuses these.
        {"180 and -180 are one meridian", degrees(-89.99972222222222, 180), degrees(-89.99972222222222, -180),
         Refusal::SamePoint},
        {"180 and -180, fractions", degrees(-89.9381815, 180), degrees(-89.9381815, -180), Refusal::SamePoint},
        {"closer than the doubles tell", degrees(35, 135), degrees(35, 135 + 1e-9), Refusal::SamePoint},
        {"antipode, whole seconds", degrees(-0.5, -0.25), degrees(0.5, 179.75), Refusal::Antipode},
        {"antipode, fractions", degrees(10.1234567, -20.5), degrees(-10.1234567, 159.5), Refusal::Antipode},
        {"antipode closer than the doubles tell", degrees(35, 135), degrees(-35, -45 + 1e-9), Refusal::Antipode},
        {"two seconds apart across 180", degrees(35, 179.9997222222222222), degrees(35, -179.99972222222222),
         Refusal::None},
        {"a hundredth of a second apart", degrees(35, 135), degrees(35, 135 + 0.01 / 3600), Refusal::None},
    };
    GlobeCalculation g;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        calculate_globe(degrees(1, 2), degrees(3, 4), true, g);
        calculate_globe(r.dep, r.dst, true, g);
        EXPECT_EQ(g.refusal, r.refusal);
        EXPECT_EQ(g.sector == nullptr, r.refusal != Refusal::None);
        EXPECT_TRUE(r.refusal == Refusal::None
                    || (g.b + g.c + g.d + g.final_b == 0 && (g.bearing_caption + g.distance_caption).empty()));
    }
}
