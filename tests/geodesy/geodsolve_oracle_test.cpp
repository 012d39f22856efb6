// The bearing and distance against GeographicLib's GeodSolve on the same sphere (radius
// 6367447.5 m, flattening 0), run once as a subprocess per test.
//
// Tolerances. PI10 exceeds pi by 4.1e-10, so latitudes in radians are off by at most 2.05e-10,
// the longitude difference by 8.2e-10, and the arccosine PI10/2 - atan(...) adds 2.05e-10 to C:
// C is off by at most delta = 15e-10 rad, D by 9.6e-6 km (we allow 1e-5 km). Through
// x = (sin phi2 - sin phi1 cos C) / (sin C cos phi1) and A = acos x, the bearing is off by at most
// delta (|tan phi1| + |cot C| + 1/sin C) / |sin A|, plus double rounding amplified the same way,
// bounded by 1e-14 / (sin C cos phi1 sin A). Pairs near due north or south (|sin A| < 0.01, where
// the offset dominates), closer than 0.01 rad or nearer than that to the antipode are left out.
#include "geodesy/calculation.h"
#include "geodesy/coordinates.h"
#include "geodesy/globe.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using namespace orvine;

namespace {

constexpr double PI = 3.14159265358979323846;
using Line = std::array<double, 4>; // departure latitude, longitude, destination's, in degrees

struct Oracle {
    double azi1, azi2, s12_m;
};

std::vector<Oracle> run_geodsolve(const std::vector<Line>& lines)
{
    const std::string input = ::testing::TempDir() + "geodsolve_oracle_input.txt";
    {
        std::ofstream in(input);
        in.precision(17);
        for (const Line& l : lines)
            in << l[0] << ' ' << l[1] << ' ' << l[2] << ' ' << l[3] << '\n';
    }
    std::vector<Oracle> results;
    FILE* out = popen((std::string(GEODSOLVE_EXECUTABLE) + " -i -e 6367447.5 0 -p 9 --input-file " + input).c_str(), "r");
    Oracle r;
    while (out && std::fscanf(out, "%lf %lf %lf", &r.azi1, &r.azi2, &r.s12_m) == 3)
        results.push_back(r);
    if (out)
        pclose(out);
    return results;
}

// The bound above in degrees at latitude phi (degrees), true azimuth and central angle c
// (radians); negative for a pair left out.
double bearing_bound(double phi, double azimuth, double c)
{
    const double sin_a = std::abs(std::sin(azimuth * PI / 180));
    if (sin_a < 0.01 || c < 0.01 || c > PI - 0.01)
        return -1;
    const double p = phi * PI / 180;
    return (15e-10 * (std::abs(std::tan(p)) + std::abs(1 / std::tan(c)) + 1 / std::sin(c)) / sin_a
            + 1e-14 / (std::sin(c) * std::cos(p) * sin_a)) * 180 / PI;
}

double off(double b, double azimuth) { return std::abs(std::remainder(b - azimuth, 360.0)); }

double degrees_of(std::int16_t d, std::int16_t m, std::int16_t s)
{
    return dms_sign(d) * (std::abs(d) + m / 60.0 + s / 3600.0);
}

} // namespace

TEST(GeodSolveOracle, BearingAndDistanceOfRandomPairs)
{
    std::mt19937 gen(20240607); // raw mt19937 output is the same on every standard library
    auto pick = [&gen](int lo, int hi) { return static_cast<std::int16_t>(lo + static_cast<int>(gen() % unsigned(hi - lo + 1))); };
    std::vector<std::pair<Point, Point>> pairs(4000);
    std::vector<Line> lines;
    for (auto& [dep, dst] : pairs) {
        dep = {pick(-89, 89), pick(0, 59), pick(0, 59), pick(-179, 179), pick(0, 59), pick(0, 59)};
        dst = {pick(-89, 89), pick(0, 59), pick(0, 59), pick(-179, 179), pick(0, 59), pick(0, 59)};
        lines.push_back({degrees_of(dep.ido_do, dep.ido_hun, dep.ido_byo), degrees_of(dep.kei_do, dep.kei_hun, dep.kei_byo),
                         degrees_of(dst.ido_do, dst.ido_hun, dst.ido_byo), degrees_of(dst.kei_do, dst.kei_hun, dst.kei_byo)});
    }
    const std::vector<Oracle> oracle = run_geodsolve(lines);
    ASSERT_EQ(oracle.size(), pairs.size()) << "GeodSolve did not answer every pair";
    int compared = 0;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const Calculation r = calculate(pairs[i].first, pairs[i].second);
        const double bound = bearing_bound(lines[i][0], oracle[i].azi1, oracle[i].s12_m / 6367447.5);
        if (r.refusal != Refusal::None || bound < 0)
            continue;
        ++compared;
        SCOPED_TRACE("pair " + std::to_string(i));
        EXPECT_NEAR(r.d, oracle[i].s12_m / 1000, 1e-5);
        EXPECT_LE(off(r.b, oracle[i].azi1), bound) << "B " << r.b << " oracle " << oracle[i].azi1;
    }
    EXPECT_GT(compared, 3600); // most pairs survive the exclusions, or the test proves little
}

// Points the bars cannot hold (less than one degree west or south), both ways, with the final
// bearing of the calculator: London, Tokyo, Quito, Accra.
TEST(GeodSolveOracle, SubDegreePointsAndFinalBearings)
{
    const double london[] = {51 + 30 / 60.0 + 26 / 3600.0, -(7 / 60.0 + 39 / 3600.0)},
                 tokyo[] = {35 + 41 / 60.0 + 22 / 3600.0, 139 + 41 / 60.0 + 30 / 3600.0},
                 quito[] = {-(13 / 60.0 + 47 / 3600.0), -(78 + 31 / 60.0 + 29 / 3600.0)},
                 accra[] = {5 + 33 / 60.0 + 22 / 3600.0, -(11 / 60.0 + 49 / 3600.0)};
    const std::vector<Line> lines = {{london[0], london[1], tokyo[0], tokyo[1]}, {tokyo[0], tokyo[1], london[0], london[1]},
                                     {quito[0], quito[1], accra[0], accra[1]}, {accra[0], accra[1], quito[0], quito[1]},
                                     {-0.123456789, -0.5, 0.25, -0.987654321}};
    const std::vector<Oracle> oracle = run_geodsolve(lines);
    ASSERT_EQ(oracle.size(), lines.size());
    GlobeCalculation r;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE("pair " + std::to_string(i));
        const Line& l = lines[i];
        calculate_globe({angle_from_degrees(l[0]), angle_from_degrees(l[1])},
                        {angle_from_degrees(l[2]), angle_from_degrees(l[3])}, true, r);
        ASSERT_EQ(r.refusal, Refusal::None);
        const double c = oracle[i].s12_m / 6367447.5;
        EXPECT_NEAR(r.d, oracle[i].s12_m / 1000, 1e-5);
        EXPECT_LE(off(r.b, oracle[i].azi1), bearing_bound(l[0], oracle[i].azi1, c));
        EXPECT_LE(off(r.final_b, oracle[i].azi2), bearing_bound(l[2], oracle[i].azi2, c));
        EXPECT_GE(r.final_b, 0);
        EXPECT_LT(r.final_b, 360);
    }
}
