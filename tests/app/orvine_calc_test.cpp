// Runs the built orvine-calc as a user or a script would.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct CalcRun {
    int status;
    std::string out;
    std::string err;
};

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs the calculator with `args` (shell words) and `input` on standard input.
CalcRun run(const std::string& args, const std::string& input = "")
{
    const std::string dir = ::testing::TempDir();
    const std::string in = dir + "orvine_calc_in.txt";
    const std::string out = dir + "orvine_calc_out.txt";
    const std::string err = dir + "orvine_calc_err.txt";
    std::ofstream(in, std::ios::binary) << input;
    const std::string command =
        std::string("'") + ORVINE_CALC + "' " + args + " <" + in + " >" + out + " 2>" + err;
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read_file(out), read_file(err)};
}

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> f;
    std::istringstream s(line);
    for (std::string part; std::getline(s, part, '\t');)
        f.push_back(part);
    return f;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> l;
    std::istringstream s(text);
    for (std::string part; std::getline(s, part);)
        l.push_back(part);
    return l;
}

} // namespace

TEST(OrvineCalc, OnePairGivesOneLine)
{
    const CalcRun r = run("35:41:22 139:41:30 40:42:51 -74:0:21");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(lines(r.out).size(), 1u);
    const std::vector<std::string> f = fields(lines(r.out)[0]);
    ASSERT_EQ(f.size(), 5u) << r.out;
    EXPECT_EQ(f[0].substr(0, 10), "25.1014014");
    EXPECT_EQ(f[1], "北北東（丑）");
    EXPECT_EQ(f[2].substr(0, 9), "10842.636");
    EXPECT_EQ(f[3], " 25.1014 度    北北東（丑）");
    EXPECT_EQ(f[4], " 10842.64 Ｋｍ");
}

TEST(OrvineCalc, RefusalsGoToStandardErrorWithStatus3)
{
    const CalcRun same = run("35:0:0 135:0:0 35:0:0 135:0:0");
    EXPECT_EQ(same.status, 3);
    EXPECT_EQ(same.out, "");
    EXPECT_EQ(same.err, "同一地点です。方位の計算はできません。\n");

    const CalcRun antipode = run("35:0:0 135:0:0 -35:0:0 -45:0:0");
    EXPECT_EQ(antipode.status, 3);
    EXPECT_EQ(antipode.err, "ちょうど地球の正反対となります。\n\n               計算不能です。\n");
}

TEST(OrvineCalc, MalformedArgumentsGiveStatus2)
{
    const CalcRun minus_zero = run("35:0:0 -0:30:0 36:0:0 135:0:0");
    EXPECT_EQ(minus_zero.status, 2);
    EXPECT_NE(minus_zero.err.find("LON1 \"-0:30:0\""), std::string::npos) << minus_zero.err;
    EXPECT_NE(minus_zero.err.find("less than one degree west cannot be represented"),
              std::string::npos);
    EXPECT_EQ(minus_zero.out, "");

    const CalcRun range = run("35:0:0 135:0:0 36:0:0 180:0:0");
    EXPECT_EQ(range.status, 2);
    EXPECT_NE(range.err.find("LON2 \"180:0:0\""), std::string::npos) << range.err;

    EXPECT_EQ(run("35:0:0 135:0:0 36:0:0").status, 2);
    EXPECT_EQ(run("35:0:0 135:0:0 36:0:0 135:0:0 1:0:0").status, 2);
}

TEST(OrvineCalc, HelpInJapaneseAndEnglish)
{
    const CalcRun r = run("--help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("使い方"), std::string::npos);
    EXPECT_NE(r.out.find("Usage: orvine-calc LAT1 LON1 LAT2 LON2"), std::string::npos);
}

TEST(OrvineCalc, BatchKeepsOneOutputLinePerInputLine)
{
    const CalcRun r = run("", "35:41:22 139:41:30 40:42:51 -74:0:21\n"
                         "35:0:0 135:0:0 35:0:0 135:0:0\n"
                         "\n"
                         "0:0:0 3:0:0 0:0:0 -177:0:0\r\n"
                         "1:0:0 2:0:0 3:0:0 4:60:0\n"
                         "40:42:51 -74:0:21 35:41:22 139:41:30");
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> l = lines(r.out);
    ASSERT_EQ(l.size(), 6u) << r.out;
    EXPECT_EQ(fields(l[0]).at(4), " 10842.64 Ｋｍ");
    EXPECT_EQ(l[1], "ERROR: 同一地点です。方位の計算はできません。");
    EXPECT_EQ(l[2].rfind("ERROR: ", 0), 0u);
    EXPECT_EQ(l[3], "ERROR: ちょうど地球の正反対となります。 計算不能です。");
    EXPECT_EQ(l[4].rfind("ERROR: LON2 \"4:60:0\"", 0), 0u) << l[4];
    EXPECT_EQ(fields(l[5]).at(3), " 332.962 度    北北西（亥）");
}

TEST(OrvineCalc, BatchStatusZeroWhenEveryLineComputes)
{
    std::string input;
    for (int i = 0; i < 3000; ++i)
        input += "0:0:0 0:0:0 0:0:0 90:0:0\n";
    const CalcRun r = run("", input);
    EXPECT_EQ(r.status, 0);
    const std::vector<std::string> l = lines(r.out);
    ASSERT_EQ(l.size(), 3000u);
    EXPECT_EQ(l.front(), l.back());
    EXPECT_EQ(fields(l.back()).at(3), " 90 度    東（卯）");

    EXPECT_EQ(run("", "").status, 0);
}

TEST(OrvineCalc, BatchReportsAnOverlongLineOnce)
{
    const std::string input = std::string(200000, '1') + "\n0:0:0 0:0:0 0:0:0 90:0:0\n";
    const CalcRun r = run("", input);
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> l = lines(r.out);
    ASSERT_EQ(l.size(), 2u) << r.out.substr(0, 200);
    EXPECT_EQ(l[0].rfind("ERROR: ", 0), 0u);
    EXPECT_EQ(fields(l[1]).at(0), "90");
}
