#include "search/gazetteer.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace orvine;
namespace fs = std::filesystem;

namespace {

// Namesakes in one country and across countries, a Japanese entry without a prefecture, accents.
// Lines 2 to 6 are countries, 7 to 13 regions and 14 to 21 places.
const std::string BODY = "ORVINE-GAZETTEER\t1\n"
                         "C\tCA\tカナダ\tCanada\nC\tFR\tフランス共和国\tFrance\nC\tGB\t英国\tUnited Kingdom\n"
                         "C\tJP\t日本\tJapan\nC\tUS\tアメリカ\tUnited States\n"
                         "R\t3\t東京都\tTokyo\nR\t1\t\tÎle-de-France Region\nR\t2\tイングランド\tEngland\n"
                         "R\t0\tオンタリオ州\tOntario\nR\t3\t広島県\tHiroshima\nR\t4\tテキサス州\tTexas\n"
                         "R\t4\t\tKentucky\n"
                         "P\t3\t\t東京都\tTokyo\t35.6895\t139.69171\t8336599\n"
                         "P\t2\t2\tロンドン\tLondon\t51.50853\t-0.12574\t8961989\n"
                         "P\t1\t1\tパリ\tParis\t48.85341\t2.3488\t2138551\n"
                         "P\t0\t3\tロンドン\tLondon\t42.98339\t-81.23304\t346765\n"
                         "P\t3\t0\t府中市\tFuchū\t35.66922\t139.4775\t260274\n"
                         "P\t3\t4\t府中町\tFuchūchō\t34.5735\t133.23513\t50746\n"
                         "P\t4\t5\t\tParis\t33.66094\t-95.555512\t24782\n"
                         "P\t4\t6\t\tParis\t38.2098\t-84.25299\t15001\n";

std::string closed(const std::string& body, int places = 8)
{
    char checksum[9];
    std::snprintf(checksum, sizeof checksum, "%08x", gazetteer_checksum(body));
    return body + "END\t" + std::to_string(places) + "\t" + checksum + "\n";
}

std::string replaced(std::string s, const std::string& from, const std::string& to)
{
    return s.replace(s.find(from), from.size(), to);
}

std::vector<std::string> shown(const SearchOutcome& outcome)
{
    std::vector<std::string> texts;
    for (const PlaceMatch& m : outcome.matches)
        texts.push_back(m.display_text);
    return texts;
}

const Gazetteer& small_world()
{
    static const GazetteerLoad load = parse_gazetteer(closed(BODY), "small");
    EXPECT_TRUE(load.ok());
    return load.gazetteer;
}

} // namespace

TEST(GazetteerSearch, MatchesFoldedNamesAndTellsNamesakesApart)
{
    using V = std::vector<std::string>;
    const std::pair<const char*, V> rows[] = {
        {"府中", V{"府中市（東京都）", "府中町（広島県）"}},              // kanji; a prefecture always
        {"ﾛﾝﾄﾞﾝ", V{"ロンドン（英国）", "ロンドン（カナダ）"}},          // the query folded; by population
        {"paris", V{"パリ（フランス共和国）", "Paris（テキサス州, アメリカ）", "Paris（Kentucky, アメリカ）"}},
        {"東京", V{"東京都"}},                                           // no prefecture, no namesake
        {"ベルリン", V{}},
        {" ・ ", V{}},                                                   // only separators
    };
    for (const auto& [query, names] : rows)
        EXPECT_EQ(shown(small_world().search(query, {}, 20)), names) << query;
}

TEST(GazetteerSearch, RegisteredPlacesComeFirstAndTheLimitHolds)
{
    const std::vector<RegisteredPlace> registered = {{"自宅", 35.5, 139.5}, {"府中の実家", 35.7, 139.4}};
    const SearchOutcome found = small_world().search("府中", registered, 20);
    ASSERT_EQ(shown(found), (std::vector<std::string>{"府中の実家", "府中市（東京都）", "府中町（広島県）"}));
    const PlaceMatch &home = found.matches[0], &fuchu = found.matches[1];
    EXPECT_TRUE(home.registered && home.where().empty() && !fuchu.registered && !fuchu.exact);
    EXPECT_EQ(fuchu.name + "|" + fuchu.where(), "府中市|東京都, 日本");
    EXPECT_TRUE(small_world().search("Fuchū", {}, 20).matches[0].exact);
    EXPECT_TRUE(small_world().search("自宅", registered, 20).matches[0].exact);

    EXPECT_EQ(small_world().search("o", registered, 2).matches.size(), 2u);
    EXPECT_EQ(small_world().search("府中", registered, 1).matches.size(), 1u);
}

TEST(GazetteerSearch, BadQueriesMatchNothingAndSayWhy)
{
    using P = QueryProblem;
    const std::pair<std::string, P> rows[] = {
        {"paris\n", P::ControlCharacter}, {"par\xC3", P::InvalidUtf8}, {std::string(201, 'a'), P::TooLong}};
    const std::vector<RegisteredPlace> registered = {{"paris", 1, 1}};
    for (const auto& [query, problem] : rows) {
        const SearchOutcome outcome = small_world().search(query, registered, 20);
        EXPECT_EQ(outcome.problem, problem) << query.substr(0, 20);
        EXPECT_TRUE(outcome.matches.empty() && !describe(problem).empty());
    }
    EXPECT_EQ(small_world().search(std::string(200, 'a'), {}, 20).problem, QueryProblem::None);
}

TEST(GazetteerFile, DamageIsFoundAndNamed)
{
    const std::string good = closed(BODY);
    const std::tuple<const char*, std::string, GazetteerProblem, std::size_t> rows[] = {
        {"empty", "", GazetteerProblem::NotAGazetteer, 1},
        {"later version", replaced(good, "GAZETTEER\t1", "GAZETTEER\t2"), GazetteerProblem::UnsupportedVersion, 1},
        {"cut", good.substr(0, good.size() / 2), GazetteerProblem::CutShort, 0},
        {"a digit changed", replaced(good, "35.6895", "36.6895"), GazetteerProblem::ChecksumMismatch, 0},
        {"closing line without checksum", BODY + "END\t8\n", GazetteerProblem::Damaged, 22},
        {"one place too many counted", closed(BODY, 9), GazetteerProblem::Damaged, 22},
        {"latitude past the pole", closed(replaced(BODY, "35.6895", "90.000001")), GazetteerProblem::Damaged, 14},
        {"region of another country", closed(replaced(BODY, "P\t4\t6", "P\t4\t4")), GazetteerProblem::Damaged, 21},
        {"invalid UTF-8", closed(replaced(BODY, "パリ", "\xE3\x83")), GazetteerProblem::Damaged, 16},
        {"a field too many", closed(replaced(BODY, "8336599\n", "8336599\t1\n")), GazetteerProblem::Damaged, 14},
    };
    for (const auto& [what, bytes, problem, line] : rows) {
        const GazetteerLoad load = parse_gazetteer(bytes, "/x/gazetteer.tsv");
        ASSERT_FALSE(load.ok()) << what;
        EXPECT_EQ(std::tuple(load.error->problem, load.error->line), std::tuple(problem, line)) << what;
        EXPECT_NE(describe(*load.error).find("/x/gazetteer.tsv"), std::string::npos) << what;
        EXPECT_EQ(load.gazetteer.size(), 0u) << what;
    }
}

TEST(GazetteerFile, OnlyRegularFilesOfSaneSizeAreReadAndTheInstalledOneIsFound)
{
    EXPECT_EQ(gazetteer_candidates("/opt/o/bin/orvine", "/a:relative::/b/"),
              (std::vector<std::string>{"/opt/o/share/orvine/installed/gazetteer.tsv",
                                        "/a/orvine/installed/gazetteer.tsv", "/b/orvine/installed/gazetteer.tsv"}));
    EXPECT_EQ(gazetteer_candidates("", nullptr),
              (std::vector<std::string>{"/usr/local/share/orvine/installed/gazetteer.tsv",
                                        "/usr/share/orvine/installed/gazetteer.tsv"}));

    const fs::path dir = fs::temp_directory_path() / ("gazetteer_test_" + std::to_string(::getpid()));
    const fs::path fifo = dir / "fifo", big = dir / "big", good = dir / "orvine/installed/gazetteer.tsv";
    fs::create_directories(good.parent_path());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream(big).put('O');
    fs::resize_file(big, Gazetteer::MAX_GAZETTEER_BYTES + 1);
    const std::pair<fs::path, GazetteerProblem> rows[] = {
        {dir / "missing", GazetteerProblem::CannotOpen},
        {dir, GazetteerProblem::NotARegularFile},
        {fifo, GazetteerProblem::NotARegularFile},
        {big, GazetteerProblem::TooLarge},
    };
    for (const auto& [path, problem] : rows) // error.value() throws, and fails the test, where none is
        EXPECT_EQ(load_gazetteer(path.string()).error.value().problem, problem) << path;

    const char* saved = std::getenv("XDG_DATA_DIRS");
    const std::string kept = saved ? saved : "";
    ::setenv("XDG_DATA_DIRS", dir.c_str(), 1);
    EXPECT_EQ(load_installed_gazetteer().error->problem, GazetteerProblem::NotFound);
    std::ofstream(good, std::ios::binary) << closed(BODY);
    EXPECT_EQ(load_gazetteer(good.string()).gazetteer.size(), 8u);
    EXPECT_EQ(load_installed_gazetteer().gazetteer.size(), 8u);
    saved ? ::setenv("XDG_DATA_DIRS", kept.c_str(), 1) : ::unsetenv("XDG_DATA_DIRS");
    fs::remove_all(dir);
}

TEST(ShippedGazetteer, LoadsBesideTheBuiltProgramAndFindsKnownPlaces)
{
    const std::string path = gazetteer_candidates(ORVINE_BUILD_PROGRAM, nullptr).front();
    std::ifstream built(path, std::ios::binary), source(ORVINE_SHIPPED_GAZETTEER, std::ios::binary);
    ASSERT_TRUE(std::equal(std::istreambuf_iterator<char>(built), {}, std::istreambuf_iterator<char>(source), {}));
    const GazetteerLoad load = load_gazetteer(path);
    ASSERT_TRUE(load.ok()) << describe(*load.error);
    EXPECT_GT(load.gazetteer.size(), 24000u);
    EXPECT_GT(load.gazetteer.japanese_named(), 6000u);

    const std::tuple<const char*, const char*, double, double> rows[] = {
        {"札幌", "札幌市（北海道）", 43.06667, 141.35},
        {"ロンドン", "ロンドン（英国）", 51.50853, -0.12574},
        {"東京", "東京都", 35.6895, 139.69171},
        {"沖縄県", "沖縄県", 26.21667, 127.68333}, // at the point of Naha, which holds its office
    };
    for (const auto& [query, first, latitude, longitude] : rows) {
        const SearchOutcome found = load.gazetteer.search(query, {}, 20);
        ASSERT_FALSE(found.matches.empty()) << query;
        const PlaceMatch& m = found.matches[0];
        EXPECT_EQ(std::tuple(m.display_text, m.latitude, m.longitude), std::tuple(first, latitude, longitude)) << query;
    }
}
