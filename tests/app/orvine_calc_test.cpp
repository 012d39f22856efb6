#include "support/command_run.h"

#include <array>
#include <random>

using CalcRun = orvine::test::CommandRun;
using testing::HasSubstr;

namespace {

const std::string DIR = orvine::test::own_folder("orvine_calc_test");

// `input` is both the file in.txt and standard input.
CalcRun run(const std::string& args, const std::string& input = "", const std::string& redirect = " >out.txt")
{
    return orvine::test::run_in(DIR, "'" ORVINE_CALC "' " + args, input, redirect);
}

std::vector<std::string> split(const std::string& text, char at)
{
    std::vector<std::string> parts;
    std::istringstream s(text);
    for (std::string part; std::getline(s, part, at);)
        parts.push_back(part);
    return parts;
}

const std::string TOKYO_NEW_YORK =
    "25.101401472610981\t北北東（丑）\t10842.636616176174\t 25.1014 度    北北東（丑）\t 10842.64 Ｋｍ\n";

} // namespace

// Every exit status, the output of each form and option, and standard error: one line that
// starts "orvine-calc: ", or nothing.
TEST(OrvineCalc, StatusesOutputsAndMessages)
{
    const std::string pair = "35:41:22 139:41:30 40:42:51 -74:0:21", full = " >/dev/full";
    const struct Row {
        std::string args;
        int status;
        std::string out, err, input = "", redirect = " >out.txt"; // err: contained in standard error
    } rows[] = {
        {pair, 0, TOKYO_NEW_YORK, ""},
        {"35:0:0 135:0:0 35:0:0 135:0:0", 3, "", "orvine-calc: 同一地点です。方位の計算はできません。 (the same point"},
        {"35:0:0 135:0:0 36:0:0", 2, "", "expected 4 coordinates"},
        {"--unit parsec 1 2 3 4", 2, "", "--unit takes km, nmi or mi, not \"parsec\""},
        {"1 2 3 4 --unit", 2, "", "orvine-calc: --unit の値がありません (--unit needs a value: km, nmi or mi); see --help"},
        {"--format=xml 1 2 3 4", 2, "", "--format takes tsv, csv or json"},
        {"--frobnicate", 2, "", "unknown option"}, {"--version", 0, "orvine-calc " ORVINE_VERSION_TEXT "\n", ""},
        {"--unit mi --unit=km --format json --format=tsv -- 0:0:0 0:0:0 0:0:0 90:0:0", 0,
         "90\t東（卯）\t10001.963146671318\t 90 度    東（卯）\t 10001.96 Ｋｍ\n", ""}, // the last one counts
        {"--format csv --unit nmi --final 0:0:0 0:0:0 0:0:0 90:0:0", 0,
         "bearing,direction,distance_nmi,bearing_text,distance_text,final_bearing\n"
         "90,東（卯）,5400.6280489585952, 90 度    東（卯）, 10001.96 Ｋｍ,90\n", ""},
        {"--format json --unit mi --ellipsoid --final 0:0:0 0:0:0 0:0:0 90:0:0", 0,
         "{\"bearing\":90,\"direction\":\"東（卯）\",\"distance_mi\":6214.9317651610327,\"bearing_text\":\" 90 度    東（卯）\","
         "\"distance_text\":\" 10001.96 Ｋｍ\",\"final_bearing\":90,\"ellipsoid_distance_mi\":6225.365224212238,"
         "\"ellipsoid_bearing\":90,\"ellipsoid_final_bearing\":90}\n", ""},
        // Almost over the pole: GRS80's initial azimuth is -2.1e-14 degrees, which turned into 360.
        {"--ellipsoid --final 35 139 89.99999 -40.9999999", 0,
         "359.99902894729905\t北（子）\t6112.3119210798459\t 359.999 度    北（子）\t 6112.312 Ｋｍ\t180.00198052444833\t"
         "6127.3739445810807\t0\t180.00000009999999\n", ""},
        // The direct problem across the antimeridian: 1000 nautical miles (1852 km) due east.
        {"--direct --unit nmi --ellipsoid --format csv 0 175 90 1000", 0,
         "lat2,lon2,final_bearing,ellipsoid_lat2,ellipsoid_lon2,ellipsoid_final_bearing\n"
         "0,-168.33527152627039,90,0,-168.36320093810647,90\n", ""},
        // Along the antimeridian itself: one name for it, -180.
        {"--direct 0 180 0 1000", 0, "8.998233517132622\t-180\t0\n", ""},
        {"--direct -- -10 -180 -180 10000", 0, "-80.017664828673787\t0\t0\n", ""}, // the library's -0 is named 0
        {"--direct 35 139 30 -1", 2, "", "DISTANCE \"-1\": 距離は 0 以上"},
        {"--direct 35 139 30E 500", 2, "", "AZIMUTH \"30E\": 方位角に N/S/E/W は付けられません"},
        // Failed writes, to a full device and to a closed standard output, and failed reads; an
        // input after a failed one is still computed.
        {pair, 4, "", "cannot write the output", "", full}, {"--help", 4, "", "cannot write the output", "", full},
        {pair, 4, "", "cannot write the output", "", " >&-"}, {"", 4, "", "cannot write the output", pair + "\n", full},
        {". in.txt", 4, TOKYO_NEW_YORK, "cannot read", pair + "\n"}, {"./no-such-file", 4, "", "cannot open"},
        {"- in.txt", 4, "", "cannot read", "", " <. >out.txt"}, // standard input is a directory
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args + row.redirect);
        const CalcRun r = run(row.args, row.input, row.redirect);
        EXPECT_EQ(std::tie(r.status, r.out), std::tie(row.status, row.out));
        EXPECT_THAT(r.err, testing::AllOf(HasSubstr(row.err), testing::MatchesRegex("(orvine-calc: [^\n]*\n)?")));
    }
    const std::string help = run("-h").out;
    for (const char* shown : {"使い方", "Usage: orvine-calc", "--final", "--ellipsoid", "--unit km|nmi|mi", "--direct"})
        EXPECT_THAT(help, HasSubstr(shown));
}

TEST(OrvineCalc, BatchKeepsOneOutputLinePerInputLine)
{
    const std::string input = "  35:41:22\t139:41:30   40:42:51 74:0:21W \n\n# Tokyo\t\x1b[31m\n  \n"
                              "35:0:0 135:0:0 35:0:0 135:0:0\n0:0:0 3:0:0 0:0:0 -177:0:0\r\n"
                              "1:0:0 2:0:0 3:0:0 4:0:0x\x1b[2J\n"
                              + std::string(200000, '1') + "\n"
                              // a seconds mark glued to the longitude; then the NUL once read as W
                              "35°41′22″139:41:30 139:41:30 40:42:51 -74:0:21\n"
                              + std::string("35 74\0 35 74\n", 13) + "40:42:51 -74:0:21 35:41:22 139:41:30";
    const CalcRun r = run("", input);
    const std::vector<std::string> l = split(r.out, '\n');
    ASSERT_EQ(std::pair(r.status, l.size()), std::pair(1, std::size_t(11))) << r.out.substr(0, 500);
    EXPECT_EQ(l[0] + "\n", TOKYO_NEW_YORK);
    EXPECT_EQ(l[1] + "|" + l[2] + "|" + l[3], "|# Tokyo\\t\\x1B[31m|  ");
    EXPECT_EQ(l[4], "ERROR: 同一地点です。方位の計算はできません。 (the same point: it has no bearing)");
    EXPECT_EQ(l[5], "ERROR: ちょうど地球の正反対となります。 計算不能です。 (exact antipodes: every direction leads there)");
    EXPECT_EQ(l[6].rfind("ERROR: LON2 \"4:0:0x\\x1B[2J\"", 0), 0u) << l[6];
    EXPECT_EQ(l[7], "ERROR: 行が長すぎます (line too long)"); // reported once
    EXPECT_EQ(l[8].rfind("ERROR: LAT1 \"35°41′22″139:41:30\": 座標として読めません", 0), 0u) << l[8];
    EXPECT_EQ(l[9], "ERROR: 標準入力 (standard input):10: NUL バイトがあります (the line holds a NUL byte)");
    EXPECT_EQ(l[10], "332.96297294192766\t北北西（亥）\t10842.636616176174\t 332.962 度    北北西（亥）\t 10842.64 Ｋｍ");

    // Files and standard input in the order given, one CSV header; kept lines and errors stay one
    // line each, escaped for their format.
    const std::string odd = "# 東京\t\x01\n \t\n1 2 -35-41,\"\x1b 4\n1 2 3\n";
    const std::string sign = "符号は度にだけ付けます (only the degrees carry a sign, e.g. -74:0:21)";
    const std::string three = "座標は 4 つ必要です (expected 4 coordinates LAT1 LON1 LAT2 LON2, found 3)";
    const std::string csv =
        "# 東京\\t\\x01\n\nERROR,\"LAT2 \"\"-35-41,\"\"\\x1B\"\": " + sign + "\"\nERROR,\"" + three + "\"\n";
    EXPECT_EQ(run("--format csv in.txt - --", odd).out,
              "bearing,direction,distance_km,bearing_text,distance_text\n" + csv + csv);
    EXPECT_EQ(run("", "").status, 0);
}

// A batch larger than a block of input is computed on two threads; its files of 2000 lines each
// are computed one block at a time.
TEST(OrvineCalc, LargeBatchesComeOutInOrder)
{
    std::mt19937 gen(20250607);
    std::vector<std::string> lines;
    std::string whole;
    for (int i = 0; i < 40000; ++i)
        lines.push_back(std::to_string(int(gen() % 179) - 89) + ":" + std::to_string(gen() % 60) + " " +
                        std::to_string(int(gen() % 359) - 179) + "." + std::to_string(gen()) + " 35.5 " +
                        std::to_string(int(gen() % 359) - 179) + ":0:" + std::to_string(gen() % 60));
    lines[23456] = std::string(70000, '2'); // across a block boundary
    lines[34567] = std::string("1 2\0 3 4", 8);
    for (const std::string& line : lines)
        whole += line + "\n";
    const CalcRun big = run("--ellipsoid", whole);
    ASSERT_EQ(std::system(("cd '" + DIR + "' && split -d -l 2000 in.txt part").c_str()), 0);
    const CalcRun parts = run("--ellipsoid part*");
    const std::vector<std::string> b = split(big.out, '\n'), p = split(parts.out, '\n');
    ASSERT_EQ(std::tuple(big.status, parts.status, b.size(), p.size()), std::tuple(1, 1, lines.size(), lines.size()));
    EXPECT_EQ(b[34567], "ERROR: 標準入力 (standard input):34568: NUL バイトがあります (the line holds a NUL byte)");
    EXPECT_EQ(p[34567], "ERROR: part17:568: NUL バイトがあります (the line holds a NUL byte)");
    for (std::size_t i = 0; i < lines.size(); ++i)
        ASSERT_TRUE(i == 34567 || b[i] == p[i]) << "line " << i + 1 << ": " << b[i] << " | " << p[i];
    EXPECT_EQ(b[23456], "ERROR: 行が長すぎます (line too long)");
}

#ifdef PYTHON3_EXECUTABLE
// CSV and JSON Lines as Python's readers take them, record by record (fields joined by |).
TEST(OrvineCalc, CommentsAreRecordsThatCsvAndJsonReadersTake)
{
    const std::string comments = "# C:\\data\\pairs\ttab\n#,\"unbalanced quote\n# \xff byte \x1b[31m\n"
                                 "0:0:0 0:0:0 0:0:0 90:0:0\n";
    std::ofstream(DIR + "read.py")
        << "import csv, json, sys\n"
           "f = open(sys.argv[2], encoding='utf-8', newline='')\n"
           "for r in csv.reader(f) if sys.argv[1] == 'csv' else map(json.loads, f):\n"
           "    print('|'.join(r if isinstance(r, list) else (f'{k}={v}' for k, v in r.items())), end='\\n#\\n')\n";
    const std::pair<std::string, std::string> rows[] = { // the format, and the records read
        {"csv",
         "bearing|direction|distance_km|bearing_text|distance_text\n#\n# C:\\\\data\\\\pairs\\ttab\n#\n"
         "#,\"unbalanced quote\n#\n# \\xFF byte \\x1B[31m\n#\n90|東（卯）|10001.963146671318| 90 度    東（卯）| "
         "10001.96 Ｋｍ\n#\n"},
        {"json",
         "comment=# C:\\data\\pairs\ttab\n#\ncomment=#,\"unbalanced quote\n#\ncomment=# \\xFF byte \x1b[31m\n#\n"
         "bearing=90|direction=東（卯）|distance_km=10001.963146671318|bearing_text= 90 度    東（卯）|distance_text= "
         "10001.96 Ｋｍ\n#\n"},
    };
    for (const auto& [format, records] : rows) {
        ASSERT_EQ(run("--format " + format, comments, " >calc.txt").status, 0) << format;
        EXPECT_EQ(orvine::test::run_in(DIR, PYTHON3_EXECUTABLE " read.py " + format + " calc.txt").out, records);
    }
}
#endif

#ifdef GEODSOLVE_EXECUTABLE
// Against GeodSolve on the sphere (radius 6367447.5 m, flattening 0) and GRS80. PI10 exceeds pi by
// 4.1e-10, so C is off by at most delta = 15e-10 rad and D by 9.6e-6 km (we allow 1e-5); through
// A = acos((sin phi2 - sin phi1 cos C) / (sin C cos phi1)) the bearing is off by at most
// delta (|tan phi1| + |cot C| + 1/sin C) / |sin A| plus 1e-14 / (sin C cos phi1 sin A).
namespace {

constexpr double PI = 3.14159265358979323846;

// -i: both azimuths and the distance in metres; direct: lat2, lon2 and the final azimuth.
std::vector<std::array<double, 3>> geodsolve(const std::string& input, const std::string& ellipsoid,
                                             const char* mode = "-i")
{
    const CalcRun solved = orvine::test::run_in(DIR, GEODSOLVE_EXECUTABLE " -p 9 -e " + ellipsoid + " " + mode, input);
    EXPECT_EQ(solved.status, 0) << solved.err;
    std::istringstream s(solved.out);
    std::vector<std::array<double, 3>> rows;
    for (std::array<double, 3> r{}; s >> r[0] >> r[1] >> r[2];)
        rows.push_back(r);
    return rows;
}

// The bound above in degrees; negative for a pair left out (|sin A| or C or its antipode < 0.01).
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

// Points the bars cannot hold (under one degree west or south, fractions of a second) both ways.
TEST(OrvineCalc, AgreesWithGeodSolveOnTheSphereAndOnGrs80)
{
    std::ostringstream lines;
    lines << "51.507222222222222 -0.1275 35.689444444444444 139.69166666666667\n"
             "35.689444444444444 139.69166666666667 51.507222222222222 -0.1275\n"
             "-0.22972222222222222 -78.524722222222222 5.5561111111111111 -0.19694444444444444\n"
             "5.5561111111111111 -0.19694444444444444 -0.22972222222222222 -78.524722222222222\n"
             "-0.123456789 -0.5 0.25 -0.987654321\n";
    std::mt19937 gen(20240607); // raw mt19937 output is the same on every standard library
    auto seconds = [&gen](int max) { return (static_cast<int>(gen() % unsigned(2 * max + 1)) - max) / 3600.0; };
    lines.precision(17);
    for (int i = 0; i < 4000; ++i)
        lines << seconds(323999) << ' ' << seconds(647999) << ' ' << seconds(323999) << ' ' << seconds(647999) << '\n';
    const std::string pairs = lines.str();
    const std::vector<std::string> got = split(run("--ellipsoid --final", pairs).out, '\n');
    const auto sphere = geodsolve(pairs, "6367447.5 0"), grs80 = geodsolve(pairs, "6378137 1/298.257222101");
    ASSERT_EQ(std::tuple(got.size(), sphere.size(), grs80.size()), std::tuple(4005u, 4005u, 4005u));
    std::istringstream input(pairs);
    std::size_t compared = 0;
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(got[i]);
        double lat1 = 0, lon1 = 0, lat2 = 0, lon2 = 0;
        input >> lat1 >> lon1 >> lat2 >> lon2;
        const std::vector<std::string> f = split(got[i], '\t');
        if (i >= 5 && f.size() == 1) // the same point or the antipode, by chance
            continue;
        ASSERT_EQ(f.size(), 9u);
        EXPECT_NEAR(std::stod(f[6]) * 1000, grs80[i][2], 1e-3);
        // Azimuths from 0 to 360 against GeodSolve's -180 to 180.
        EXPECT_NEAR(off(std::stod(f[7]), grs80[i][0]), 0, 1e-9);
        EXPECT_NEAR(off(std::stod(f[8]), grs80[i][1]), 0, 1e-9);
        const double b = std::stod(f[0]), final_b = std::stod(f[5]), c = sphere[i][2] / 6367447.5;
        EXPECT_TRUE(final_b >= 0 && final_b < 360 && std::stod(f[7]) >= 0 && std::stod(f[8]) < 360);
        const double bound = bearing_bound(lat1, sphere[i][0], c), final_bound = bearing_bound(lat2, sphere[i][1], c);
        if (i >= 5 && (bound < 0 || final_bound < 0))
            continue;
        ++compared;
        EXPECT_NEAR(std::stod(f[2]), sphere[i][2] / 1000, 1e-5);
        EXPECT_LE(off(b, sphere[i][0]), bound) << "B " << b << " oracle " << sphere[i][0];
        EXPECT_LE(off(final_b, sphere[i][1]), final_bound);
    }
    EXPECT_GT(compared, 3600u); // most pairs survive the exclusions, or the test proves little
}

TEST(OrvineCalc, DirectProblemAgreesWithGeodSolve)
{
    std::ostringstream km, metres;
    km.precision(17);
    metres.precision(17);
    std::vector<std::array<double, 4>> routes = {
        {35.689444444444444, 170, 60, 2500}, {80, 10, 5, 2000}, {-75, -60, 180, 3000},
        {10, 20, 0, 20003.931458023958}, {35.5, 139.5, 30, 20000}, {0, -179.5, 270, 100}};
    std::mt19937 gen(20250607);
    for (int i = 0; i < 500; ++i)
        routes.push_back({(int(gen() % 178000) - 89000) / 1000.0, (int(gen() % 360000) - 180000) / 1000.0,
                          (gen() % 3600000) / 10000.0, (gen() % 2000000) / 100.0});
    for (const auto& [lat, lon, azimuth, distance] : routes) {
        km << lat << ' ' << lon << ' ' << azimuth << ' ' << distance << '\n';
        metres << lat << ' ' << lon << ' ' << azimuth << ' ' << distance * 1000 << '\n';
    }
    const std::vector<std::string> got = split(run("--direct --ellipsoid", km.str()).out, '\n');
    const auto sphere = geodsolve(metres.str(), "6367447.5 0", ""),
               grs80 = geodsolve(metres.str(), "6378137 1/298.257222101", "");
    ASSERT_EQ(std::tuple(got.size(), sphere.size(), grs80.size()), std::tuple(506u, 506u, 506u));
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(got[i]);
        const std::vector<std::string> f = split(got[i], '\t');
        ASSERT_EQ(f.size(), 6u);
        for (const auto& [at, oracle] : {std::pair{0, &sphere[i]}, std::pair{3, &grs80[i]}}) {
            const double lat2 = std::stod(f[at]), lon2 = std::stod(f[at + 1]), final_b = std::stod(f[at + 2]);
            EXPECT_NEAR(lat2, (*oracle)[0], 1e-9);
            EXPECT_NEAR(off(lon2, (*oracle)[1]), 0, 1e-9);
            EXPECT_NEAR(off(final_b, (*oracle)[2]), 0, 1e-9);
            EXPECT_TRUE(lon2 >= -180 && lon2 < 180 && final_b >= 0 && final_b < 360);
        }
    }
}
#endif
