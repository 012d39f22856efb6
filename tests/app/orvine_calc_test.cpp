// Runs the built orvine-calc as a user or a script would.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <fstream>
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

// Runs the calculator with `args` (shell words) and `input` on standard input.
CalcRun run(const std::string& args, const std::string& input = "")
{
    const std::string dir = ::testing::TempDir();
    const std::string in = dir + "orvine_calc_in.txt", out = dir + "orvine_calc_out.txt",
                      err = dir + "orvine_calc_err.txt";
    std::ofstream(in, std::ios::binary) << input;
    const std::string command =
        std::string("'") + ORVINE_CALC + "' " + args + " <" + in + " >" + out + " 2>" + err;
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

TEST(OrvineCalc, OnePairGivesOneLine)
{
    const CalcRun r = run("35:41:22 139:41:30 40:42:51 -74:0:21");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(split(r.out, '\n').size(), 1u);
    const std::vector<std::string> f = split(split(r.out, '\n')[0], '\t');
    ASSERT_EQ(f.size(), 5u) << r.out;
    EXPECT_EQ(f[0].substr(0, 10), "25.1014014");
    EXPECT_EQ(f[1], "北北東（丑）");
    EXPECT_EQ(f[2].substr(0, 9), "10842.636");
    EXPECT_EQ(f[3], " 25.1014 度    北北東（丑）");
    EXPECT_EQ(f[4], " 10842.64 Ｋｍ");
}

TEST(OrvineCalc, RefusalsStatus3MalformedStatus2HelpStatus0)
{
    struct Row {
        const char* args;
        int status;
        const char* out;  // nullptr: any text
        const char* err;  // contained in standard error
    } const rows[] = {
        {"35:0:0 135:0:0 35:0:0 135:0:0", 3, "", "同一地点です。方位の計算はできません。\n"},
        {"35:0:0 135:0:0 -35:0:0 -45:0:0", 3, "",
         "ちょうど地球の正反対となります。\n\n               計算不能です。\n"},
        {"35:0:0 -0:30:0 36:0:0 135:0:0", 2, "", "LON1 \"-0:30:0\": 西経 1 度未満は表せません"},
        {"35:0:0 135:0:0 36:0:0 180:0:0", 2, "", "LON2 \"180:0:0\""},
        {"35:0:0 135:0:0 36:0:0", 2, "", ""},
        {"35:0:0 135:0:0 36:0:0 135:0:0 1:0:0", 2, "", ""},
        {"--help", 0, nullptr, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        const CalcRun r = run(row.args);
        EXPECT_EQ(r.status, row.status);
        if (row.out) {
            EXPECT_EQ(r.out, row.out);
        }
        if (row.status == 3) {
            EXPECT_EQ(r.err, row.err);
        } else {
            EXPECT_NE(r.err.find(row.err), std::string::npos) << r.err;
        }
    }
    const std::string help = run("--help").out;
    EXPECT_NE(help.find("使い方"), std::string::npos);
    EXPECT_NE(help.find("Usage: orvine-calc LAT1 LON1 LAT2 LON2"), std::string::npos);
}

TEST(OrvineCalc, BatchKeepsOneOutputLinePerInputLine)
{
    const CalcRun r = run("", "35:41:22 139:41:30 40:42:51 -74:0:21\n"
                              "35:0:0 135:0:0 35:0:0 135:0:0\n"
                              "\n"
                              "0:0:0 3:0:0 0:0:0 -177:0:0\r\n"
                              "1:0:0 2:0:0 3:0:0 4:60:0\n"
                              + std::string(200000, '1') + "\n"
                              "40:42:51 -74:0:21 35:41:22 139:41:30");
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> l = split(r.out, '\n');
    ASSERT_EQ(l.size(), 7u) << r.out.substr(0, 500);
    EXPECT_EQ(split(l[0], '\t').at(4), " 10842.64 Ｋｍ");
    EXPECT_EQ(l[1], "ERROR: 同一地点です。方位の計算はできません。");
    EXPECT_EQ(l[2].rfind("ERROR: ", 0), 0u);
    EXPECT_EQ(l[3], "ERROR: ちょうど地球の正反対となります。 計算不能です。");
    EXPECT_EQ(l[4].rfind("ERROR: LON2 \"4:60:0\"", 0), 0u) << l[4];
    EXPECT_EQ(l[5].rfind("ERROR: ", 0), 0u) << "an overlong line is reported once";
    EXPECT_EQ(split(l[6], '\t').at(3), " 332.962 度    北北西（亥）");
}

TEST(OrvineCalc, BatchStatusZeroWhenEveryLineComputes)
{
    std::string input;
    for (int i = 0; i < 3000; ++i)
        input += "0:0:0 0:0:0 0:0:0 90:0:0\n";
    const CalcRun r = run("", input);
    EXPECT_EQ(r.status, 0);
    const std::vector<std::string> l = split(r.out, '\n');
    ASSERT_EQ(l.size(), 3000u);
    EXPECT_EQ(l.front(), l.back());
    EXPECT_EQ(split(l.back(), '\t').at(3), " 90 度    東（卯）");
    EXPECT_EQ(run("", "").status, 0);
}
