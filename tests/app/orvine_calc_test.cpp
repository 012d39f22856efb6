// Runs the built orvine-calc as a user or a script would.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct CalcRun {
    int status;
    std::string out, err;
};

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

const std::string DIR = ::testing::TempDir();
const std::string IN = DIR + "orvine_calc_in.txt";

// Runs the calculator with `args` (shell words) and `input` in the file IN, which is also its
// standard input unless `redirect` says otherwise.
CalcRun run(const std::string& args, const std::string& input = "",
            const std::string& redirect = " >" + DIR + "orvine_calc_out.txt")
{
    const std::string out = DIR + "orvine_calc_out.txt", err = DIR + "orvine_calc_err.txt";
    std::remove(out.c_str());
    std::ofstream(IN, std::ios::binary) << input;
    const std::string command =
        std::string("'") + ORVINE_CALC + "' " + args + " <" + IN + redirect + " 2>" + err;
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read_file(out), read_file(err)};
}

std::vector<std::string> split(const std::string& text, char at)
{
    std::vector<std::string> parts;
    std::istringstream s(text);
    for (std::string part; std::getline(s, part, at);)
        parts.push_back(part);
    return parts;
}

} // namespace

TEST(OrvineCalc, WindowPointsGiveTheirLinesByteForByte)
{
    struct Row {
        const char* args;
        const char* out;
    } const rows[] = {
        {"35:41:22 139:41:30 40:42:51 -74:0:21",
         "25.101401472610981\t北北東（丑）\t10842.636616176174\t 25.1014 度    北北東（丑）\t 10842.64 Ｋｍ\n"},
        {"40:42:51 -74:0:21 35:41:22 139:41:30",
         "332.96297294192766\t北北西（亥）\t10842.636616176174\t 332.962 度    北北西（亥）\t 10842.64 Ｋｍ\n"},
        {"0:0:0 0:0:0 0:0:0 90:0:0",
         "90\t東（卯）\t10001.963146671318\t 90 度    東（卯）\t 10001.96 Ｋｍ\n"},
        {"35:0:0 135:0:0 36:0:0 135:0:0",
         "0.0087833574811986299\t北（子）\t111.13292514335672\t 0.00878 度    北（子）\t 111.1329 Ｋｍ\n"},
        {"-33:52:0 151:12:0 35:41:22 139:41:30",
         "350.0944014110043\t北（子）\t7821.8641228759216\t 350.094 度    北（子）\t 7821.864 Ｋｍ\n"},
        // The same points in other forms are the same points.
        {"35.689444444444444 E139:41:30 40°42′51″N 74d0m21sW",
         "25.101401472610981\t北北東（丑）\t10842.636616176174\t 25.1014 度    北北東（丑）\t 10842.64 Ｋｍ\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        const CalcRun r = run(row.args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, row.out);
        EXPECT_EQ(r.err, "");
    }
}

TEST(OrvineCalc, StatusesOfRefusalsMistakesAndOptions)
{
    struct Row {
        const char* args;
        int status;
        const char* out; // nullptr: any text
        const char* err; // contained in standard error
    } const rows[] = {
        {"35:0:0 135:0:0 35:0:0 135:0:0", 3, "", "同一地点です。方位の計算はできません。\n"},
        {"35:0:0 135:0:0 -35:0:0 -45:0:0", 3, "",
         "ちょうど地球の正反対となります。\n\n               計算不能です。\n"},
        {"0.5 10.25 -0.5 -169.75", 3, "", "ちょうど地球の正反対となります。"},
        {"35 180 35 -180", 3, "", "同一地点です。"},
        {"35:0:0 135:0:0 36:0:0 180:0:1", 2, "", "LON2 \"180:0:1\""},
        {"35:0:0 135:0:0 36:0:0", 2, "", "expected 4 coordinates"},
        {"--unit parsec 1 2 3 4", 2, "", "--unit takes km, nmi or mi"},
        {"--format xml 1 2 3 4", 2, "", "--format takes tsv, csv or json"},
        {"--frobnicate", 2, "", "unknown option"},
        {"--version", 0, "orvine-calc " ORVINE_VERSION_TEXT "\n", ""},
        {"--help", 0, nullptr, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        const CalcRun r = run(row.args);
        EXPECT_EQ(r.status, row.status);
        if (row.out) {
            EXPECT_EQ(r.out, row.out);
        }
        EXPECT_NE(r.err.find(row.err), std::string::npos) << r.err;
    }
    const std::string help = run("-h").out;
    for (const char* shown : {"使い方", "Usage: orvine-calc", "35:41:22N", "35d41m22s", "--final",
                              "--ellipsoid", "--unit km|nmi|mi", "--format tsv|csv|json"})
        EXPECT_NE(help.find(shown), std::string::npos) << shown;
}

TEST(OrvineCalc, BatchKeepsOneOutputLinePerInputLine)
{
    const std::string input = "35:41:22 139:41:30 40:42:51 -74:0:21\n"
                              "\n"
                              "# Tokyo\t\x1b[31m\n"
                              "  \n"
                              "35:0:0 135:0:0 35:0:0 135:0:0\n"
                              "0:0:0 3:0:0 0:0:0 -177:0:0\r\n"
                              "1:0:0 2:0:0 3:0:0 4:0:0x\x1b[2J\n"
                              + std::string(200000, '1') + "\n"
                              "40:42:51 -74:0:21 35:41:22 139:41:30";
    const CalcRun r = run("", input);
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> l = split(r.out, '\n');
    ASSERT_EQ(l.size(), 9u) << r.out.substr(0, 500);
    EXPECT_EQ(split(l[0], '\t').at(4), " 10842.64 Ｋｍ");
    EXPECT_EQ(l[1], "");
    EXPECT_EQ(l[2], "# Tokyo\t\x1b[31m");
    EXPECT_EQ(l[3], "  ");
    EXPECT_EQ(l[4], "ERROR: 同一地点です。方位の計算はできません。");
    EXPECT_EQ(l[5], "ERROR: ちょうど地球の正反対となります。 計算不能です。");
    EXPECT_EQ(l[6].rfind("ERROR: LON2 \"4:0:0x\\x1B[2J\"", 0), 0u) << l[6];
    EXPECT_EQ(l[7].rfind("ERROR: ", 0), 0u) << "an overlong line is reported once";
    EXPECT_EQ(split(l[8], '\t').at(3), " 332.962 度    北北西（亥）");

    // Files and standard input in the order given, with one CSV header and JSON records only.
    const CalcRun csv = run("--format csv " + IN + " - --", "# x\n1 2 3 4\n");
    EXPECT_EQ(csv.status, 0);
    EXPECT_EQ(split(csv.out, '\n').size(), 5u) << csv.out;
    EXPECT_EQ(csv.out.rfind("bearing,direction,distance_km,", 0), 0u) << csv.out;
    const CalcRun json = run("--format json", "# x\n\n1 2 3 4\n1 2\n");
    EXPECT_EQ(json.out.substr(0, 20), "{\"comment\":\"# x\"}\n{}");
    EXPECT_EQ(split(json.out, '\n').at(3).rfind("{\"error\":", 0), 0u) << json.out;

    std::string many;
    for (int i = 0; i < 3000; ++i)
        many += "0:0:0 0:0:0 0:0:0 90:0:0\n";
    const CalcRun r2 = run("", many);
    EXPECT_EQ(r2.status, 0);
    EXPECT_EQ(split(r2.out, '\n').size(), 3000u);
    EXPECT_EQ(run("", "").status, 0);
}

TEST(OrvineCalc, FailedReadsAndWritesEndWithStatus4)
{
    const std::string pair = " 35:41:22 139:41:30 40:42:51 -74:0:21";
    struct Row {
        std::string args, redirect, err;
    } const rows[] = {
        {pair, " >/dev/full", "cannot write the output"},
        {"--help", " >/dev/full", "cannot write the output"},
        {pair, " >&-", "cannot write the output"},
        {"", " >/dev/full", "cannot write the output"},
        {DIR, " >/dev/null", "cannot read"},
        {"- " + IN, " >/dev/null", "cannot read"},
        {DIR + "no-such-file", " >/dev/null", "cannot open"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args + row.redirect);
        std::string input = "1 2 3 4\n";
        for (int i = 0; i < 20000 && row.args.empty(); ++i)
            input += "1 2 3 4\n";
        // Standard input is a directory in the row that reads "-" first.
        const std::string redirect =
            row.args.rfind("- ", 0) == 0 ? " <" + DIR + row.redirect : row.redirect;
        const CalcRun r = run(row.args, input, redirect);
        EXPECT_EQ(r.status, 4);
        EXPECT_NE(r.err.find(row.err), std::string::npos) << r.err;
    }
    // The line after a failed input is still computed, and the failed one left nothing behind.
    const CalcRun r = run(DIR + " " + IN, "1 2 3 4\n");
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(split(r.out, '\n').size(), 1u);
}

#ifdef GEODSOLVE_EXECUTABLE
TEST(OrvineCalc, EllipsoidAgreesWithGeodSolveOnGrs80)
{
    std::mt19937 gen(20240607);
    auto uniform = [&gen](double lo, double hi) {
        return lo + (hi - lo) * (gen() / 4294967296.0);
    };
    std::ostringstream lines;
    lines.precision(12);
    for (int i = 0; i < 500; ++i)
        lines << uniform(-89.9, 89.9) << ' ' << uniform(-180, 180) << ' ' << uniform(-89.9, 89.9)
              << ' ' << uniform(-180, 180) << '\n';
    const CalcRun ours = run("--ellipsoid --final", lines.str());
    const std::string oracle_out = DIR + "geodsolve_out.txt";
    const std::string command = std::string(GEODSOLVE_EXECUTABLE)
        + " -i -e 6378137 1/298.257222101 -p 9 --input-file " + IN + " >" + oracle_out;
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::vector<std::string> oracle = split(read_file(oracle_out), '\n');
    const std::vector<std::string> got = split(ours.out, '\n');
    ASSERT_EQ(got.size(), 500u);
    ASSERT_EQ(oracle.size(), 500u);
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(got[i]);
        const std::vector<std::string> f = split(got[i], '\t');
        ASSERT_EQ(f.size(), 9u);
        double azi1, azi2, s12;
        ASSERT_EQ(std::sscanf(oracle[i].c_str(), "%lf %lf %lf", &azi1, &azi2, &s12), 3);
        EXPECT_NEAR(std::stod(f[6]) * 1000, s12, 1e-3);
        // Azimuths from 0 to 360 against GeodSolve's -180 to 180.
        EXPECT_NEAR(std::remainder(std::stod(f[7]) - azi1, 360), 0, 1e-9);
        EXPECT_NEAR(std::remainder(std::stod(f[8]) - azi2, 360), 0, 1e-9);
        EXPECT_GE(std::stod(f[7]), 0);
        EXPECT_LT(std::stod(f[8]), 360);
    }
}
#endif
