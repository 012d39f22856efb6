#include "support/command_run.h"

using orvine::test::read_file;
using MapRun = orvine::test::CommandRun;

namespace {

const std::string DIR = orvine::test::own_folder("orvine_map_command_test");

// The X11 platform asked for and no display: the command must pick the offscreen one itself.
MapRun run(const std::string& args, const std::string& env = "", const std::string& program = ORVINE)
{
    return orvine::test::run_in(DIR, "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb " + env + " '" + program
                                         + "' " + args);
}

} // namespace

TEST(OrvineMap, FilesStatusesMessagesAndHelp)
{
    // file: written, starting with `start` (nullptr: nothing may be written); err: contained in standard error.
    const std::tuple<const char*, const char*, const char*, int, const char*> rows[] = {
        {"--map a.svg 35:41:22 139:41:30 34:41:38 135:30:4", "a.svg", "<?xml", 0, ""},
        {"--map=b.PNG --radius 1000 -- -33.8688 151.2093", "b.PNG", "\x89PNG", 0, ""},
        {"--radius=200 --map c.pdf 北緯35度41分22秒 東経139度41分30秒", "c.pdf", "%PDF", 0, ""},
        {"--map d.txt 35 139", nullptr, "", 2, "must end in .svg, .png or .pdf"},
        {"--map e.svg 35", nullptr, "", 2, "got 1 coordinates"}, {"--map e.svg 95 139", nullptr, "", 2, "LAT \"95\""},
        {"--map e.svg --radius 0 35 139", nullptr, "", 2, "--radius: '0'"},
        {"--map e.svg --sca=2 35 139", nullptr, "", 2, "unknown option '--sca=2'"},
        {"--radius 500 35 139", nullptr, "", 2, "--map FILE is missing"},
        {"--map e.svg 35 139 -35 -41", nullptr, "", 2, "ちょうど地球の正反対"},
        {"--map none/e.svg 35 139", nullptr, "", 1, "に保存できませんでした"},
    };
    for (const auto& [args, file, start, status, err] : rows) {
        SCOPED_TRACE(args);
        const MapRun r = run(args);
        EXPECT_EQ(r.status, status);
        EXPECT_NE(r.err.find(err), std::string::npos) << r.err;
        EXPECT_TRUE(!file || read_file(DIR + file).rfind(start, 0) == 0);
    }
    EXPECT_EQ(read_file(DIR + "e.svg"), "");
    const std::string svg = read_file(DIR + "a.svg");
    for (const char* shown : {"255.005 度    西（酉）", "396.3075 Ｋｍ", "Natural Earth", "<title>方位地図</title>",
                              "<svg width=\"282.222mm\" height=\"310.444mm\""}) // the page, 800 by 880 at 72 dpi
        EXPECT_NE(svg.find(shown), std::string::npos) << shown;

    const MapRun help = orvine::test::run_in(DIR, "'" ORVINE "' --help");
    ASSERT_EQ(help.status, 0);
    for (const char* shown : {"--map FILE", "--radius KM", "LAT LON [LAT2 LON2]", "--map ファイル"})
        EXPECT_NE(help.out.find(shown), std::string::npos) << shown;
}

TEST(OrvineMap, DrawsWithoutLandWhenTheOutlineFileIsMissing)
{
    ASSERT_EQ(orvine::test::run_in(DIR, "mkdir -p bare/bin && cp '" ORVINE "' bare/bin").status, 0);
    const MapRun r = run("--map bare.svg 35 139", "XDG_DATA_DIRS=" + DIR + "bare", DIR + "bare/bin/orvine");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("がありません"), std::string::npos) << r.err;
    const std::string without = read_file(DIR + "bare.svg");
    EXPECT_NE(without.find("南南西（未）"), std::string::npos);
    EXPECT_LT(without.size() * 3, read_file(DIR + "a.svg").size());
}
