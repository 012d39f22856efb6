// The points of the names are the shipped gazetteer's lines (data/gazetteer.tsv).
#include "support/command_run.h"

using orvine::test::read_file;
using CalcRun = orvine::test::CommandRun;

namespace {

const std::string DIR = orvine::test::own_folder("orvine_calc_names_test"), IN = DIR + "in.txt";

CalcRun run(const std::string& args, const std::string& input = "", const std::string& program = "'" ORVINE_CALC "'")
{
    std::ofstream(IN, std::ios::binary) << input;
    return orvine::test::run_command("cd '" + DIR + "' && " + program + " " + args + " <in.txt >out.txt 2>err.txt",
                                     DIR + "out.txt", DIR + "err.txt");
}

const std::string TOKYO = "35.6895 139.69171", NEW_YORK = "40.71427 -74.00597", LONDON = "51.50853 -0.12574";
const std::string AMBIGUOUS_LONDON =
    "PLACE1 \"London\": この名前の地点が 2 か所あります。どれかを書くか --first で人口の最も多い所に (ambiguous: 2 "
    "places of this name; write one of these, or --first for the most populous): ロンドン（英国）, ロンドン（カナダ）";

} // namespace

TEST(OrvineCalcNames, NamesGiveTheFiguresOfTheirPoints)
{
    const struct Row {
        std::string names, numbers;
    } rows[] = {
        {"東京 ニューヨーク", TOKYO + " " + NEW_YORK},
        {"札幌 35:41:22 139:41:30", "43.06667 141.35 35:41:22 139:41:30"}, // 札幌市
        {"--ellipsoid TOKYO --place ｎｅｗ-ｙｏｒｋ", "--ellipsoid " + TOKYO + " " + NEW_YORK},
        {"大阪 京都", "34.69374 135.50218 35.02107 135.75385"}, // each with its prefecture at one point
        {"ロンドン（英国） 東京", LONDON + " " + TOKYO},
        {"'Springfield (イリノイ州)' ホノルル", "39.80172 -89.64371 21.30694 -157.85833"},
        {"--first London 東京", LONDON + " " + TOKYO},
        {"--first --final ンドン ニューヨ", "--final " + LONDON + " " + NEW_YORK}, // parts of names
        {"--direct 東京 30 500", "--direct " + TOKYO + " 30 500"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.names);
        const CalcRun names = run(row.names), numbers = run(row.numbers);
        EXPECT_EQ(names.status, 0) << names.err;
        EXPECT_EQ(names.out, numbers.out);
        EXPECT_EQ(numbers.out.find('\n'), numbers.out.size() - 1);
    }
}

TEST(OrvineCalcNames, NamesThatFitNoPlaceOrSeveralAreRefused)
{
    const struct Row {
        std::string args;
        int status;
        std::string err; // in standard error, which is one line
    } rows[] = {
        {"London 東京", 2, AMBIGUOUS_LONDON},
        {"東京 Xyzzyville", 2,
         "PLACE2 \"Xyzzyville\": 地名が見つかりません (no place of this name; --search NAME lists the places "
         "whose name holds NAME)"},
        {"東京 \"$(printf '\\001')\"", 2,
         "PLACE2 \"\\x01\": 検索語に制御文字があります。 (not a place name: it holds a control character)"},
        {"東京 \"$(printf 'x%.0s' $(seq 10000))\"", 2, "文字まで）。 (not a place name: longer than 200 characters)"},
        {"東京 35", 2, "地点が 2 つ必要です (expected two places, each a name or LAT LON), found 2 operands"},
        {"--direct 東京 30", 2, "expected a place, as a name or LAT LON, then AZIMUTH and DISTANCE), found 2 operands"},
        {"東京 ./ニューヨーク", 2, "(give either files or the places, not both): ./ニューヨーク"},
        {"東京 東京", 3, "同一地点です。"},
        {"./nowhere", 4, "./nowhere: 開けません (cannot open)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        const CalcRun r = run(row.args);
        EXPECT_EQ(r.status, row.status);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(row.err), std::string::npos) << r.err;
        EXPECT_EQ(r.err.rfind("orvine-calc: ", 0), 0u);
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1);
    }
    // An existing file of the name wins; --place makes it the name again.
    std::ofstream(DIR + "東京") << "1 2 3 4\n";
    EXPECT_EQ(run("東京").out, run("1 2 3 4").out);
    EXPECT_EQ(run("--place 東京 ニューヨーク").out, run(TOKYO + " " + NEW_YORK).out);
    std::remove((DIR + "東京").c_str());
}

TEST(OrvineCalcNames, BatchLinesTakeNamesQuotedWhereTheyHoldBlanks)
{
    const std::string input = "東京 \"New York\"\n\"Tokyo\"\t40:42:51 -74:0:21\nLondon 東京\n\"New York 東京\n"
                              "東京 \"New\"York\n\"35\" 139 東京\n"
                              + std::string("東京 \xe6\x9d") + "\n1 2 3 4\n# 東京\n";
    const CalcRun r = run("", input), first = run("--first --format json", "London 東京\n");
    EXPECT_EQ(r.status, 1);
    std::istringstream lines(r.out);
    std::string l[9];
    for (std::string& line : l)
        std::getline(lines, line);
    EXPECT_EQ(l[0] + "\n", run(TOKYO + " " + NEW_YORK).out);
    EXPECT_EQ(l[1] + "\n", run(TOKYO + " 40:42:51 -74:0:21").out);
    EXPECT_EQ(l[2], "ERROR: " + AMBIGUOUS_LONDON);
    EXPECT_EQ(l[3], "ERROR: 引用符が閉じていません (a double quote is not closed): \"New York 東京");
    EXPECT_EQ(l[4], "ERROR: 閉じた引用符の後には空白が要ります (a closing double quote must be followed by a "
                    "blank): \"New\"York");
    EXPECT_EQ(l[5].rfind("ERROR: PLACE1 \"35\": 地名が見つかりません", 0), 0u) << l[5]; // quoted: a name
    EXPECT_EQ(l[6], "ERROR: PLACE2 \"\\xE6\\x9D\": 検索語が UTF-8 の文字列ではありません。 (not a place name: not UTF-8)");
    EXPECT_EQ(l[7] + "\n", run("1 2 3 4").out);
    EXPECT_EQ(l[8], "# 東京");
    EXPECT_EQ(first.out, run("--format json " + LONDON + " " + TOKYO).out);
}

TEST(OrvineCalcNames, SearchListsTheMatchesInEachFormat)
{
    const struct Row {
        std::string args, out;
    } rows[] = {
        {"--search 大阪", "大阪市\t大阪府, 日本\t34.69374\t135.50218\t2592413\n大阪府\t日本\t34.69374\t135.50218\t0\n"},
        {"--format csv --search=london",
         "name,where,lat,lon,population\nロンドン,\"イングランド, 英国\",51.50853,-0.12574,8961989\n"
         "イースト・ロンドン,\"東ケープ州, 南アフリカ\",-33.01529,27.91162,478676\n"
         "ロンドン,\"オンタリオ州, カナダ\",42.98339,-81.23304,346765\n"
         "ロンドンデリー,\"Northern Ireland, 英国\",54.9981,-7.30934,83652\n"
         "ニューロンドン,\"コネチカット州, アメリカ\",41.35565,-72.09952,27179\n"},
        {"--search ホノルル --format json",
         "{\"name\":\"ホノルル\",\"where\":\"ハワイ州, アメリカ\",\"lat\":21.30694,\"lon\":-157.85833,"
         "\"population\":371657}\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        const CalcRun r = run(row.args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, row.out);
    }
    const CalcRun none = run("--format csv --search xyzzyville"), with_operands = run("--search 東京 1 2 3 4");
    EXPECT_EQ(std::pair(none.status, none.out), std::pair(1, std::string("name,where,lat,lon,population\n")));
    EXPECT_NE(none.err.find("no place name holds this"), std::string::npos);
    EXPECT_EQ(with_operands.status, 2);
}

// A copied program finds its gazetteer in ../share/orvine/installed/, as an installed one does.
TEST(OrvineCalcNames, WithoutAGazetteerNumbersStillWork)
{
    const std::string installed = DIR + "prefix/share/orvine/installed/", copy = DIR + "prefix/bin/orvine-calc";
    ASSERT_EQ(
        std::system(
            ("mkdir -p '" + installed + "' '" + DIR + "prefix/bin' && cp '" ORVINE_CALC "' '" + copy + "'").c_str()),
        0);
    const std::string program = "XDG_DATA_DIRS='" + DIR + "nowhere' '" + copy + "'";
    const std::string shipped = read_file(ORVINE_SHIPPED_GAZETTEER);
    std::string changed = shipped;
    changed[changed.size() / 2] ^= 1;
    const struct Row {
        std::string file; // the gazetteer's bytes; none when empty
        std::string message;
    } rows[] = {
        {"", "orvine-calc: 地名データ（gazetteer.tsv）がインストールされていません。 地名は使えません (place names "
             "cannot be looked up: the gazetteer is not installed)\n"},
        {changed, "orvine-calc: 地名データ " + installed
                      + "gazetteer.tsv は壊れています（検査値が合いません）。 地名は使えません (place names cannot "
                        "be looked up: the gazetteer is damaged)\n"},
        {shipped.substr(0, shipped.size() - 20), "は途中で切れています。"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        std::remove((installed + "gazetteer.tsv").c_str());
        if (!row.file.empty())
            std::ofstream(installed + "gazetteer.tsv", std::ios::binary) << row.file;
        const CalcRun numbers = run("1 2 3 4", "", program), pair = run("東京 ニューヨーク", "", program),
                      search = run("--search 東京", "", program),
                      batch = run("", "1 2 3 4\n東京 ニューヨーク\nLondon 東京\n1 2 3 4\n", program);
        EXPECT_EQ(std::pair(numbers.status, numbers.err), std::pair(0, std::string()));
        EXPECT_EQ(std::pair(pair.status, pair.out), std::pair(4, std::string()));
        EXPECT_EQ(search.status, 4);
        EXPECT_EQ(batch.status, 4);
        for (const CalcRun* r : {&pair, &search, &batch}) {
            EXPECT_NE(r->err.find(row.message), std::string::npos) << r->err;
            EXPECT_EQ(r->err.find('\n'), r->err.size() - 1) << r->err; // said once
        }
        const auto error = [](const std::string& name) {
            return "ERROR: PLACE1 \"" + name
                + "\": 地名データがないため地名は使えません (no gazetteer: place names cannot be looked up)\n";
        };
        EXPECT_EQ(batch.out, numbers.out + error("東京") + error("London") + numbers.out);
    }
}
