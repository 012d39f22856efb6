// The bearing and distance of random pairs against GeographicLib's GeodSolve on the same sphere
// (radius 6367447.5 m, flattening 0), run once as a subprocess for all pairs.
//
// Tolerances. The program's pi, PI10, exceeds pi by 4.1e-10, so (eps = (PI10 - pi) / pi):
//  - every latitude in radians is scaled by 1 + eps: off by at most (pi/2) eps = 2.05e-10 rad;
//  - the longitude difference likewise, by at most 2 pi eps = 8.2e-10 rad;
//  - the arccosine PI10/2 - atan(...) makes C larger by (PI10 - pi)/2 = 2.05e-10 rad.
// Together C is off by at most delta = 2.05 + 2.05 + 2.05 + 8.2 < 15e-10 rad, so
//   |D - D_oracle| <= 15e-10 rad * 6367.4475 km = 9.6e-6 km; we allow 1e-5 km.
// The bearing is A = acos(x) with x = (sin phi2 - sin phi1 cos C) / (sin C cos phi1); a change dC
// moves x by (tan phi1 - x cot C) dC, and the point shifts move the bearing by at most
// (|tan phi1| + 1/sin C) times their size. Through the arccosine a change dx moves A by
// dx / sin A, so per pair
//   |B - B_oracle| <= delta (|tan phi1| + |cot C| + 1/sin C) / |sin A|  (radians)
// plus double rounding amplified the same way, which we bound by 1e-14 / (sin C cos phi1 sin A).
// The final bearing is the initial bearing from the destination turned by 180 degrees: the same
// bound with phi2 and the azimuth at the destination.
// Near due north or south (sin A small) the offset dominates: for a pair one degree apart on a
// meridian it is 0.0088 degrees. Such pairs (|sin A| < 0.01), pairs closer than 0.01 rad or
// nearer than that to the antipode, and refused pairs are left out.
#include "geodesy/calculation.h"
#include "geodesy/coordinates.h"
#include "geodesy/globe.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using namespace orvine;

namespace {

constexpr double PI = 3.14159265358979323846;

struct Pair {
    Point dep, dst;
};

double degrees_of(std::int16_t d, std::int16_t m, std::int16_t s)
{
    return dms_sign(d) * (std::abs(d) + std::abs(m) / 60.0 + std::abs(s) / 3600.0);
}

std::vector<Pair> random_pairs(std::size_t n)
{
    // Raw mt19937 output is the same on every standard library; the distributions are not.
    std::mt19937 gen(20240607);
    auto pick = [&gen](int lo, int hi) {
        return static_cast<std::int16_t>(lo + static_cast<int>(gen() % static_cast<unsigned>(hi - lo + 1)));
    };
    auto point = [&] {
        return Point{pick(-89, 89), pick(0, 59), pick(0, 59), pick(-179, 179), pick(0, 59),
                     pick(0, 59)};
    };
    std::vector<Pair> pairs(n);
    for (Pair& p : pairs) {
        p.dep = point();
        p.dst = point();
    }
    return pairs;
}

struct OracleResult {
    double azi1, azi2, s12_m;
};

// Each line: latitude and longitude of the departure, then of the destination, in degrees.
std::vector<OracleResult> run_geodsolve(const std::vector<std::array<double, 4>>& lines)
{
    const std::string input = ::testing::TempDir() + "geodsolve_oracle_input.txt";
    {
        std::ofstream in(input);
        in.precision(17);
        for (const auto& l : lines)
            in << l[0] << ' ' << l[1] << ' ' << l[2] << ' ' << l[3] << '\n';
    }
    const std::string command = std::string(GEODSOLVE_EXECUTABLE)
        + " -i -e 6367447.5 0 -p 9 --input-file " + input;
    std::vector<OracleResult> results;
    FILE* out = popen(command.c_str(), "r");
    if (!out)
        return results;
    OracleResult r;
    while (std::fscanf(out, "%lf %lf %lf", &r.azi1, &r.azi2, &r.s12_m) == 3)
        results.push_back(r);
    pclose(out);
    std::remove(input.c_str());
    return results;
}

std::array<double, 4> degrees_of(const Pair& p)
{
    return {degrees_of(p.dep.ido_do, p.dep.ido_hun, p.dep.ido_byo),
            degrees_of(p.dep.kei_do, p.dep.kei_hun, p.dep.kei_byo),
            degrees_of(p.dst.ido_do, p.dst.ido_hun, p.dst.ido_byo),
            degrees_of(p.dst.kei_do, p.dst.kei_hun, p.dst.kei_byo)};
}

// The bound derived above, in degrees, for a bearing at latitude phi (degrees) whose true value
// is azimuth (degrees) on a path of true central angle c (radians); negative when the pair is left
// out (near due north or south, too close, or too near the antipode).
double bearing_bound(double phi, double azimuth, double c)
{
    const double sin_a = std::abs(std::sin(azimuth * PI / 180));
    if (sin_a < 0.01 || c < 0.01 || c > PI - 0.01)
        return -1;
    const double delta = 15e-10;
    const double cos_phi = std::cos(phi * PI / 180);
    const double bound_rad =
        delta * (std::abs(std::tan(phi * PI / 180)) + std::abs(1 / std::tan(c)) + 1 / std::sin(c))
            / sin_a
        + 1e-14 / (std::sin(c) * cos_phi * sin_a);
    return bound_rad * 180 / PI;
}

// The difference of two bearings in degrees, between -180 and 180.
double bearing_difference(double b, double azimuth)
{
    return std::remainder(b - azimuth, 360.0);
}

} // namespace

TEST(GeodSolveOracle, BearingAndDistanceOfRandomPairs)
{
    const std::vector<Pair> pairs = random_pairs(4000);
    std::vector<std::array<double, 4>> lines;
    for (const Pair& p : pairs)
        lines.push_back(degrees_of(p));
    const std::vector<OracleResult> oracle = run_geodsolve(lines);
    ASSERT_EQ(oracle.size(), pairs.size()) << "GeodSolve did not answer every pair";

    int compared = 0;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const Calculation r = calculate(pairs[i].dep, pairs[i].dst);
        if (r.refusal != Refusal::None)
            continue;
        const double c_true = oracle[i].s12_m / 6367447.5;
        const double bound = bearing_bound(lines[i][0], oracle[i].azi1, c_true);
        if (bound < 0)
            continue;
        ++compared;
        SCOPED_TRACE("pair " + std::to_string(i));
        EXPECT_NEAR(r.d, oracle[i].s12_m / 1000, 1e-5);
        EXPECT_LE(std::abs(bearing_difference(r.b, oracle[i].azi1)), bound)
            << "B " << r.b << " oracle " << oracle[i].azi1;
    }
    // Most pairs must survive the exclusions, or the test would prove little.
    EXPECT_GT(compared, 3600);
}

// Points the bars cannot hold (less than one degree west or south), in both directions, with the
// final bearing of the calculator.
TEST(GeodSolveOracle, SubDegreePointsAndFinalBearings)
{
    struct Place {
        double lat, lon;
    };
    const Place london{51 + 30 / 60.0 + 26 / 3600.0, -(7 / 60.0 + 39 / 3600.0)},
        tokyo{35 + 41 / 60.0 + 22 / 3600.0, 139 + 41 / 60.0 + 30 / 3600.0},
        quito{-(13 / 60.0 + 47 / 3600.0), -(78 + 31 / 60.0 + 29 / 3600.0)},
        accra{5 + 33 / 60.0 + 22 / 3600.0, -(11 / 60.0 + 49 / 3600.0)};
    const std::array<double, 4> lines[] = {
        {london.lat, london.lon, tokyo.lat, tokyo.lon}, {tokyo.lat, tokyo.lon, london.lat, london.lon},
        {quito.lat, quito.lon, accra.lat, accra.lon}, {accra.lat, accra.lon, quito.lat, quito.lon},
        {-0.123456789, -0.5, 0.25, -0.987654321},
    };
    const std::vector<OracleResult> oracle =
        run_geodsolve(std::vector<std::array<double, 4>>(std::begin(lines), std::end(lines)));
    ASSERT_EQ(oracle.size(), std::size(lines));
    GlobeCalculation r;
    for (std::size_t i = 0; i < oracle.size(); ++i) {
        SCOPED_TRACE("pair " + std::to_string(i));
        const auto& l = lines[i];
        calculate_globe({angle_from_degrees(l[0]), angle_from_degrees(l[1])},
                        {angle_from_degrees(l[2]), angle_from_degrees(l[3])}, true, r);
        ASSERT_EQ(r.refusal, Refusal::None);
        const double c_true = oracle[i].s12_m / 6367447.5;
        EXPECT_NEAR(r.d, oracle[i].s12_m / 1000, 1e-5);
        EXPECT_LE(std::abs(bearing_difference(r.b, oracle[i].azi1)),
                  bearing_bound(l[0], oracle[i].azi1, c_true));
        EXPECT_LE(std::abs(bearing_difference(r.final_b, oracle[i].azi2)),
                  bearing_bound(l[2], oracle[i].azi2, c_true));
        EXPECT_GE(r.final_b, 0);
        EXPECT_LT(r.final_b, 360);
    }
}
