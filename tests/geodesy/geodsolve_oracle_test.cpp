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
#include "geodesy/globe.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <unistd.h>
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
    const std::string input = ::testing::TempDir() + "geodsolve_oracle." + std::to_string(getpid()) + ".txt";
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
    std::remove(input.c_str());
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

} // namespace

// Random points in whole seconds, which the window's calculation gives to the last bit (see
// globe_test.cpp), and points the bars cannot hold (less than one degree west or south) both
// ways: London, Tokyo, Quito, Accra, and fractions of a second. The final bearing is the
// calculator's.
TEST(GeodSolveOracle, BearingFinalBearingAndDistance)
{
    const double london[] = {51 + 30 / 60.0 + 26 / 3600.0, -(7 / 60.0 + 39 / 3600.0)},
                 tokyo[] = {35 + 41 / 60.0 + 22 / 3600.0, 139 + 41 / 60.0 + 30 / 3600.0},
                 quito[] = {-(13 / 60.0 + 47 / 3600.0), -(78 + 31 / 60.0 + 29 / 3600.0)},
                 accra[] = {5 + 33 / 60.0 + 22 / 3600.0, -(11 / 60.0 + 49 / 3600.0)};
    std::vector<Line> lines = {{london[0], london[1], tokyo[0], tokyo[1]}, {tokyo[0], tokyo[1], london[0], london[1]},
                               {quito[0], quito[1], accra[0], accra[1]}, {accra[0], accra[1], quito[0], quito[1]},
                               {-0.123456789, -0.5, 0.25, -0.987654321}};
    std::mt19937 gen(20240607); // raw mt19937 output is the same on every standard library
    auto seconds = [&gen](int max) { return static_cast<int>(gen() % unsigned(2 * max + 1)) - max; };
    for (int i = 0; i < 4000; ++i)
        lines.push_back({seconds(323999) / 3600.0, seconds(647999) / 3600.0, seconds(323999) / 3600.0, seconds(647999) / 3600.0});
    const std::vector<Oracle> oracle = run_geodsolve(lines);
    ASSERT_EQ(oracle.size(), lines.size()) << "GeodSolve did not answer every pair";
    GlobeCalculation r;
    std::size_t compared = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE("pair " + std::to_string(i));
        const Line& l = lines[i];
        calculate_globe({angle_from_degrees(l[0]), angle_from_degrees(l[1])},
                        {angle_from_degrees(l[2]), angle_from_degrees(l[3])}, true, r);
        const double c = oracle[i].s12_m / 6367447.5, bound = bearing_bound(l[0], oracle[i].azi1, c),
                     final_bound = bearing_bound(l[2], oracle[i].azi2, c);
        if (i >= 5 && (r.refusal != Refusal::None || bound < 0 || final_bound < 0))
            continue;
        ++compared;
        ASSERT_EQ(r.refusal, Refusal::None);
        EXPECT_NEAR(r.d, oracle[i].s12_m / 1000, 1e-5);
        EXPECT_LE(off(r.b, oracle[i].azi1), bound) << "B " << r.b << " oracle " << oracle[i].azi1;
        EXPECT_LE(off(r.final_b, oracle[i].azi2), final_bound);
        EXPECT_TRUE(r.final_b >= 0 && r.final_b < 360) << r.final_b;
    }
    EXPECT_GT(compared, 3600u); // most pairs survive the exclusions, or the test proves little
}
