#include "geodesy/globe.h"

#include "geodesy/coordinates.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

using namespace orvine;

namespace {

GlobeAngle angle(std::int16_t d, std::int16_t m, std::int16_t s)
{
    const int seconds = 3600 * std::abs(d) + 60 * m + s;
    return angle_from_seconds(d < 0 ? -seconds : seconds);
}

GlobePoint degrees(double lat, double lon) { return {angle_from_degrees(lat), angle_from_degrees(lon)}; }

} // namespace

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
        calculate_globe({angle(dep.latitude.degrees, dep.latitude.minutes, dep.latitude.seconds),
                         angle(dep.longitude.degrees, dep.longitude.minutes, dep.longitude.seconds)},
                        {angle(dst.latitude.degrees, dst.latitude.minutes, dst.latitude.seconds),
                         angle(dst.longitude.degrees, dst.longitude.minutes, dst.longitude.seconds)},
                        false, g);
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
