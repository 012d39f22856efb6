// The points of the names are the shipped gazetteer's lines (data/gazetteer.tsv).
#include "support/command_run.h"

using CalcRun = orvine::test::CommandRun;
using testing::HasSubstr;

namespace {

const std::string DIR = orvine::test::own_folder("orvine_calc_names_test");

CalcRun run(const std::string& args, const std::string& input = "", const std::string& program = "'" ORVINE_CALC "'")
{
    return orvine::test::run_in(DIR, program + " " + args, input);
}

const std::string TOKYO = "35.6895 139.69171", NEW_YORK = "40.71427 -74.00597", LONDON = "51.50853 -0.12574";
const std::string AMBIGUOUS_LONDON =
    "PLACE1 \"London\": この名前の地点が 2 か所あります。どれかを書くか --first で人口の最も多い所に (ambiguous: 2 "
    "places of this name; write one of these, or --first for the most populous): ロンドン（英国）, ロンドン（カナダ）";
const std::string NOT_FOUND =
    "地名が見つかりません (no place of this name; --search NAME lists the places whose name holds NAME)";

} // namespace

TEST(OrvineCalcNames, NamesGiveTheFiguresOfTheirPoints)
{
    const std::pair<std::string, std::string> rows[] = { // the names, and the numbers of the same figures
        {"東京 ニューヨーク", TOKYO + " " + NEW_YORK}, {"--direct 東京 30 500", "--direct " + TOKYO + " 30 500"},
        {"札幌 35:41:22 139:41:30", "43.06667 141.35 35:41:22 139:41:30"}, // 札幌市
        {"--ellipsoid TOKYO --place ｎｅｗ-ｙｏｒｋ", "--ellipsoid " + TOKYO + " " + NEW_YORK},
        {"大阪 京都", "34.69374 135.50218 35.02107 135.75385"}, // each with its prefecture at one point
        {"ロンドン（英国） 東京", LONDON + " " + TOKYO}, {"--first London 東京", LONDON + " " + TOKYO},
        {"'Springfield (イリノイ州)' ホノルル", "39.80172 -89.64371 21.30694 -157.85833"},
        {"--first --final ンドン ニューヨ", "--final " + LONDON + " " + NEW_YORK}, // parts of names
    };
    for (const auto& [names, numbers] : rows) {
        const CalcRun by_name = run(names), by_number = run(numbers);
        EXPECT_EQ(std::tie(by_name.status, by_name.out), std::tuple(0, by_number.out)) << names << by_name.err;
        EXPECT_THAT(by_number.out, testing::MatchesRegex("[^\n]+\n")) << numbers;
    }
}

TEST(OrvineCalcNames, NamesThatFitNoPlaceOrSeveralAreRefused)
{
    const std::tuple<std::string, int, std::string> rows[] = { // the message is in standard error, one line
        {"London 東京", 2, AMBIGUOUS_LONDON}, {"東京 Xyzzyville", 2, "PLACE2 \"Xyzzyville\": " + NOT_FOUND},
        {"東京 \"$(printf '\\001')\"", 2,
         "PLACE2 \"\\x01\": 検索語に制御文字があります。 (not a place name: it holds a control character)"},
        {"東京 \"$(printf 'x%.0s' $(seq 10000))\"", 2, "文字まで）。 (not a place name: longer than 200 characters)"},
        {"東京 35", 2, "地点が 2 つ必要です (expected two places, each a name or LAT LON), found 2 operands"},
        {"--direct 東京 30", 2, "expected a place, as a name or LAT LON, then AZIMUTH and DISTANCE), found 2 operands"},
        {"東京 ./ニューヨーク", 2, "(give either files or the places, not both): ./ニューヨーク"},
        {"東京 東京", 3, "同一地点です。"}, {"./nowhere", 4, "./nowhere: 開けません (cannot open)"},
    };
    for (const auto& [args, status, message] : rows) {
        SCOPED_TRACE(args);
        const CalcRun r = run(args);
        EXPECT_EQ(std::tie(r.status, r.out), std::tuple(status, ""));
        EXPECT_THAT(r.err, testing::AllOf(HasSubstr(message), testing::MatchesRegex("orvine-calc: [^\n]*\n")));
    }
    // An existing file of the name wins; --place makes it the name again.
    std::ofstream(DIR + "東京") << "1 2 3 4\n";
    EXPECT_EQ(run("東京").out, run("1 2 3 4").out);
    EXPECT_EQ(run("--place 東京 ニューヨーク").out, run(TOKYO + " " + NEW_YORK).out);
    std::remove((DIR + "東京").c_str());
}

TEST(OrvineCalcNames, BatchLinesTakeNamesQuotedWhereTheyHoldBlanks)
{
    const std::string expected = run(TOKYO + " " + NEW_YORK).out + run(TOKYO + " 40:42:51 -74:0:21").out + "ERROR: "
        + AMBIGUOUS_LONDON + "\nERROR: 引用符が閉じていません (a double quote is not closed): \"New York 東京\n"
        "ERROR: 閉じた引用符の後には空白が要ります (a closing double quote must be followed by a blank): \"New\"York\n"
        "ERROR: PLACE1 \"35\": " + NOT_FOUND + "\n" // quoted: a name
        "ERROR: PLACE2 \"\\xE6\\x9D\": 検索語が UTF-8 の文字列ではありません。 (not a place name: not UTF-8)\n"
        + run("1 2 3 4").out + "# 東京\n";
    const CalcRun r = run("", "東京 \"New York\"\n\"Tokyo\"\t40:42:51 -74:0:21\nLondon 東京\n\"New York 東京\n"
                              "東京 \"New\"York\n\"35\" 139 東京\n東京 \xe6\x9d\n1 2 3 4\n# 東京\n");
    EXPECT_EQ(std::tie(r.status, r.out), std::tuple(1, expected));
}

TEST(OrvineCalcNames, SearchListsTheMatchesInEachFormat)
{
    const std::tuple<std::string, int, std::string> rows[] = {
        {"--search 大阪", 0, "大阪市\t大阪府, 日本\t34.69374\t135.50218\t2592413\n大阪府\t日本\t34.69374\t135.50218\t0\n"},
        {"--format csv --search=london", 0,
         "name,where,lat,lon,population\nロンドン,\"イングランド, 英国\",51.50853,-0.12574,8961989\n"
         "イースト・ロンドン,\"東ケープ州, 南アフリカ\",-33.01529,27.91162,478676\n"
         "ロンドン,\"オンタリオ州, カナダ\",42.98339,-81.23304,346765\n"
         "ロンドンデリー,\"Northern Ireland, 英国\",54.9981,-7.30934,83652\n"
         "ニューロンドン,\"コネチカット州, アメリカ\",41.35565,-72.09952,27179\n"},
        {"--search ホノルル --format json", 0,
         "{\"name\":\"ホノルル\",\"where\":\"ハワイ州, アメリカ\",\"lat\":21.30694,\"lon\":-157.85833,"
         "\"population\":371657}\n"},
        {"--format csv --search xyzzyville", 1, "name,where,lat,lon,population\n"},
        {"--search 東京 1 2 3 4", 2, ""},
    };
    for (const auto& [args, status, out] : rows) {
        const CalcRun r = run(args);
        EXPECT_EQ(std::tie(r.status, r.out), std::tie(status, out)) << args;
    }
    EXPECT_THAT(run("--search xyzzyville").err, HasSubstr("no place name holds this"));
}

// A copied program finds its gazetteer in ../share/orvine/installed/, as an installed one does.
TEST(OrvineCalcNames, WithoutAGazetteerNumbersStillWork)
{
    const std::string copy = "mkdir -p prefix/share/orvine/installed prefix/bin && cp '" ORVINE_CALC "' prefix/bin";
    ASSERT_EQ(orvine::test::run_in(DIR, copy).status, 0);
    const std::string installed = DIR + "prefix/share/orvine/installed/";
    const std::string program = "XDG_DATA_DIRS=nowhere prefix/bin/orvine-calc";
    const std::string shipped = orvine::test::read_file(ORVINE_SHIPPED_GAZETTEER);
    std::string changed = shipped;
    changed[changed.size() / 2] ^= 1;
    const std::pair<std::string, std::string> rows[] = { // the gazetteer's bytes (none when empty), the message
        {"", "orvine-calc: 地名データ（gazetteer.tsv）がインストールされていません。 地名は使えません (place names "
             "cannot be looked up: the gazetteer is not installed)\n"},
        {changed, "orvine-calc: 地名データ " + installed
                      + "gazetteer.tsv は壊れています（検査値が合いません）。 地名は使えません (place names cannot "
                        "be looked up: the gazetteer is damaged)\n"},
        {shipped.substr(0, shipped.size() - 20), "は途中で切れています。"},
    };
    for (const auto& [file, message] : rows) {
        SCOPED_TRACE(message);
        std::remove((installed + "gazetteer.tsv").c_str());
        if (!file.empty())
            std::ofstream(installed + "gazetteer.tsv", std::ios::binary) << file;
        const CalcRun numbers = run("1 2 3 4", "", program), pair = run("東京 ニューヨーク", "", program),
                      search = run("--search 東京", "", program),
                      batch = run("", "1 2 3 4\n東京 ニューヨーク\nLondon 東京\n1 2 3 4\n", program);
        EXPECT_EQ(std::tie(numbers.status, numbers.err, pair.out), std::tuple(0, "", ""));
        for (const CalcRun* r : {&pair, &search, &batch}) {
            EXPECT_EQ(r->status, 4);
            EXPECT_THAT(r->err, testing::AllOf(HasSubstr(message), testing::MatchesRegex("[^\n]*\n"))); // said once
        }
        const std::string no = "\": 地名データがないため地名は使えません (no gazetteer: place names cannot be looked up)\n";
        EXPECT_EQ(batch.out, numbers.out + "ERROR: PLACE1 \"東京" + no + "ERROR: PLACE1 \"London" + no + numbers.out);
    }
}
