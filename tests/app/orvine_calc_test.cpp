// Runs the built orvine-calc as a user or a script would.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

// A folder of this run's own: other runs of the suite may share the temporary folder.
std::string own_dir()
{
    const std::string dir = ::testing::TempDir() + "orvine_calc_test." + std::to_string(getpid()) + "/";
    mkdir(dir.c_str(), 0700);
    return dir;
}

const std::string DIR = own_dir(), IN = DIR + "in.txt", OUT = DIR + "out.txt";
const struct RemoveDirAtExit {
    ~RemoveDirAtExit() { std::system(("rm -rf '" + DIR + "'").c_str()); }
} remove_dir_at_exit;

// Runs the calculator with `args` (shell words) and `input` in the file IN, which is also its
// standard input, and standard output as `redirect` says.
CalcRun run(const std::string& args, const std::string& input = "", const std::string& redirect = " >" + OUT)
{
    const std::string err = DIR + "err.txt";
    std::remove(OUT.c_str());
    std::ofstream(IN, std::ios::binary) << input;
    const int raw = std::system(("'" ORVINE_CALC "' " + args + " <" + IN + redirect + " 2>" + err).c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read_file(OUT), read_file(err)};
}

std::vector<std::string> split(const std::string& text, char at)
{
    std::vector<std::string> parts;
    std::istringstream s(text);
    for (std::string part; std::getline(s, part, at);)
        parts.push_back(part);
    return parts;
}

const char* const TOKYO_NEW_YORK =
    "25.101401472610981\t北北東（丑）\t10842.636616176174\t 25.1014 度    北北東（丑）\t 10842.64 Ｋｍ\n";

} // namespace

TEST(OrvineCalc, StatusesOutputsAndMessages)
{
    const struct Row {
        const char* args;
        int status;
        const char* out;
        const char* err; // contained in standard error
    } rows[] = {
        {"35:41:22 139:41:30 40:42:51 -74:0:21", 0, TOKYO_NEW_YORK, ""},
        {"35.689444444444444 E139:41:30 40°42′51″N 74d0m21sW", 0, TOKYO_NEW_YORK, ""}, // the same points
        {"40:42:51 -74:0:21 35:41:22 139:41:30", 0,
         "332.96297294192766\t北北西（亥）\t10842.636616176174\t 332.962 度    北北西（亥）\t 10842.64 Ｋｍ\n", ""},
        {"35:0:0 135:0:0 36:0:0 135:0:0", 0,
         "0.0087833574811986299\t北（子）\t111.13292514335672\t 0.00878 度    北（子）\t 111.1329 Ｋｍ\n", ""},
        {"35:0:0 135:0:0 35:0:0 135:0:0", 3, "", "同一地点です。方位の計算はできません。\n"},
        {"35:0:0 135:0:0 -35:0:0 -45:0:0", 3, "", "ちょうど地球の正反対となります。\n\n               計算不能です。\n"},
        {"0.5 10.25 -0.5 -169.75", 3, "", "ちょうど地球の正反対となります。"},
        {"35 180 35 -180", 3, "", "同一地点です。"},
        {"35:0:0 135:0:0 36:0:0 180:0:1", 2, "", "LON2 \"180:0:1\""},
        {"35:0:0 135:0:0 36:0:0", 2, "", "expected 4 coordinates"},
        {"--unit parsec 1 2 3 4", 2, "", "--unit takes km, nmi or mi"},
        {"--format=xml 1 2 3 4", 2, "", "--format takes tsv, csv or json"},
        {"--frobnicate", 2, "", "unknown option"},
        {"--unit mi --unit=km --format json --format=tsv -- 0:0:0 0:0:0 0:0:0 90:0:0", 0,
         "90\t東（卯）\t10001.963146671318\t 90 度    東（卯）\t 10001.96 Ｋｍ\n", ""}, // the last one counts
        {"--version", 0, "orvine-calc " ORVINE_VERSION_TEXT "\n", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        const CalcRun r = run(row.args);
        EXPECT_EQ(r.status, row.status);
        EXPECT_EQ(r.out, row.out);
        EXPECT_NE(r.err.find(row.err), std::string::npos) << r.err;
    }
    const std::string help = run("-h").out;
    for (const char* shown : {"使い方", "Usage: orvine-calc", "35d41m22s", "--final", "--ellipsoid", "--unit km|nmi|mi"})
        EXPECT_NE(help.find(shown), std::string::npos) << shown;
}

TEST(OrvineCalc, BatchKeepsOneOutputLinePerInputLine)
{
    const std::string input = "  35:41:22\t139:41:30   40:42:51 74:0:21W \n\n# Tokyo\t\x1b[31m\n  \n"
                              "35:0:0 135:0:0 35:0:0 135:0:0\n0:0:0 3:0:0 0:0:0 -177:0:0\r\n"
                              "1:0:0 2:0:0 3:0:0 4:0:0x\x1b[2J\n" + std::string(200000, '1') + "\n"
                              "40:42:51 -74:0:21 35:41:22 139:41:30";
    const CalcRun r = run("", input);
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> l = split(r.out, '\n');
    ASSERT_EQ(l.size(), 9u) << r.out.substr(0, 500);
    EXPECT_EQ(l[0] + "\n", TOKYO_NEW_YORK);
    EXPECT_EQ(l[1] + "|" + l[2] + "|" + l[3], "|# Tokyo\t\x1b[31m|  ");
    EXPECT_EQ(l[4], "ERROR: 同一地点です。方位の計算はできません。");
    EXPECT_EQ(l[5], "ERROR: ちょうど地球の正反対となります。 計算不能です。");
    EXPECT_EQ(l[6].rfind("ERROR: LON2 \"4:0:0x\\x1B[2J\"", 0), 0u) << l[6];
    EXPECT_EQ(l[7], "ERROR: 行が長すぎます (line too long)"); // reported once
    EXPECT_EQ(split(l[8], '\t').at(3), " 332.962 度    北北西（亥）");

    // Files and standard input in the order given, with one CSV header and JSON records only.
    const CalcRun csv = run("--format csv " + IN + " - --", "# x\n1 2 3 4\n");
    EXPECT_EQ(csv.status, 0);
    EXPECT_EQ(split(csv.out, '\n').size(), 5u) << csv.out;
    EXPECT_EQ(csv.out.rfind("bearing,direction,distance_km,", 0), 0u) << csv.out;
    const CalcRun json = run("--format json", "# x\n\n1 2 3 4\n1 2\n");
    EXPECT_EQ(json.out.substr(0, 20), "{\"comment\":\"# x\"}\n{}");
    EXPECT_EQ(split(json.out, '\n').at(3).rfind("{\"error\":", 0), 0u) << json.out;

    EXPECT_EQ(run("", "").status, 0);
}

TEST(OrvineCalc, FailedReadsAndWritesEndWithStatus4)
{
    const std::string pair = " 35:41:22 139:41:30 40:42:51 -74:0:21";
    std::string lines;
    for (int i = 0; i < 20000; ++i)
        lines += "1 2 3 4\n";
    const struct Row {
        std::string args, input, redirect, err;
    } rows[] = {
        {pair, "", " >/dev/full", "cannot write the output"},
        {"--help", "", " >/dev/full", "cannot write the output"},
        {pair, "", " >&-", "cannot write the output"},
        {"", lines, " >/dev/full", "cannot write the output"},
        {DIR, "", " >/dev/null", "cannot read"},
        {"- " + IN, "", " <" + DIR + " >/dev/null", "cannot read"}, // standard input is a directory
        {DIR + "no-such-file", "", " >/dev/null", "cannot open"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args + row.redirect);
        const CalcRun r = run(row.args, row.input, row.redirect);
        EXPECT_EQ(r.status, 4);
        EXPECT_NE(r.err.find(row.err), std::string::npos) << r.err;
    }
    // The input after a failed one is still computed, and the failed one left nothing behind.
    const CalcRun r = run(DIR + " " + IN, "1 2 3 4\n");
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(split(r.out, '\n').size(), 1u);
}

#ifdef GEODSOLVE_EXECUTABLE
TEST(OrvineCalc, EllipsoidAgreesWithGeodSolveOnGrs80)
{
    std::mt19937 gen(20240607);
    auto uniform = [&gen](double lo, double hi) { return lo + (hi - lo) * (gen() / 4294967296.0); };
    std::ostringstream lines;
    lines.precision(12);
    for (int i = 0; i < 500; ++i)
        lines << uniform(-89.9, 89.9) << ' ' << uniform(-180, 180) << ' ' << uniform(-89.9, 89.9) << ' '
              << uniform(-180, 180) << '\n';
    const std::vector<std::string> got = split(run("--ellipsoid --final", lines.str()).out, '\n');
    const std::string oracle_out = DIR + "geodsolve_out.txt";
    ASSERT_EQ(std::system((GEODSOLVE_EXECUTABLE " -i -e 6378137 1/298.257222101 -p 9 --input-file " + IN + " >" + oracle_out).c_str()), 0);
    std::istringstream oracle(read_file(oracle_out));
    ASSERT_EQ(got.size(), 500u);
    for (const std::string& line : got) {
        const std::vector<std::string> f = split(line, '\t');
        double azi1 = NAN, azi2 = NAN, s12 = NAN; // NaN fails every check if GeodSolve answered less
        oracle >> azi1 >> azi2 >> s12;
        ASSERT_EQ(f.size(), 9u) << line;
        EXPECT_NEAR(std::stod(f[6]) * 1000, s12, 1e-3) << line;
        // Azimuths from 0 to 360 against GeodSolve's -180 to 180.
        EXPECT_NEAR(std::remainder(std::stod(f[7]) - azi1, 360), 0, 1e-9) << line;
        EXPECT_NEAR(std::remainder(std::stod(f[8]) - azi2, 360), 0, 1e-9) << line;
        EXPECT_TRUE(std::stod(f[7]) >= 0 && std::stod(f[8]) < 360) << line;
    }
}
#endif
