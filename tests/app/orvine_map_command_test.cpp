#include "support/command_run.h"

using orvine::test::read_file;
using MapRun = orvine::test::CommandRun;

namespace {

const std::string DIR = orvine::test::own_folder("orvine_map_command_test");

// The X11 platform asked for and no display: the command must pick the offscreen one itself.
MapRun run(const std::string& program, const std::string& args, const std::string& env = "")
{
    const std::string err = DIR + "err.txt";
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb " + env + " '" + program
                                + "' " + args + " >/dev/null 2>" + err;
    return orvine::test::run_command(command, "", err);
}

} // namespace

TEST(OrvineMap, FilesStatusesAndMessages)
{
    // args: D stands for the test's folder; file: written, starting with `start` (nullptr: nothing
    // may be written); err: contained in standard error.
    const struct Row {
        const char *args, *file, *start;
        int status;
        const char* err;
    } rows[] = {
        {"--map D/a.svg 35:41:22 139:41:30 34:41:38 135:30:4", "a.svg", "<?xml", 0, ""},
        {"--map=D/b.PNG --radius 1000 -- -33.8688 151.2093", "b.PNG", "\x89PNG", 0, ""},
        {"--radius=200 --map D/c.pdf 北緯35度41分22秒 東経139度41分30秒", "c.pdf", "%PDF", 0, ""},
        {"--map D/d.txt 35 139", nullptr, "", 2, "must end in .svg, .png or .pdf"},
        {"--map D/e.svg 35", nullptr, "", 2, "got 1 coordinates"},
        {"--map D/e.svg 95 139", nullptr, "", 2, "LAT \"95\""},
        {"--map D/e.svg --radius 0 35 139", nullptr, "", 2, "--radius: '0'"},
        {"--map D/e.svg --scale 2 35 139", nullptr, "", 2, "unknown option '--scale'"},
        {"--radius 500 35 139", nullptr, "", 2, "--map FILE is missing"},
        {"--map D/e.svg 35 139 -35 -41", nullptr, "", 2, "ちょうど地球の正反対"},
        {"--map D/none/e.svg 35 139", nullptr, "", 1, "に保存できませんでした"},
    };
    for (const Row& row : rows) {
        std::string args = row.args;
        for (std::size_t at; (at = args.find("D/")) != std::string::npos;)
            args.replace(at, 2, DIR);
        SCOPED_TRACE(args);
        const MapRun r = run(ORVINE, args);
        EXPECT_EQ(r.status, row.status);
        EXPECT_NE(r.err.find(row.err), std::string::npos) << r.err;
        EXPECT_TRUE(!row.file || read_file(DIR + row.file).rfind(row.start, 0) == 0);
    }
    EXPECT_EQ(read_file(DIR + "e.svg"), "");
    const std::string svg = read_file(DIR + "a.svg");
    for (const char* shown : {"255.005 度    西（酉）", "396.3075 Ｋｍ", "Natural Earth"})
        EXPECT_NE(svg.find(shown), std::string::npos) << shown;
}

TEST(OrvineMap, DrawsWithoutLandWhenTheOutlineFileIsMissing)
{
    const std::string bin = DIR + "bare/bin/";
    std::system(("mkdir -p '" + bin + "' && cp '" ORVINE "' '" + bin + "'").c_str());
    const MapRun r = run(bin + "orvine", "--map " + DIR + "bare.svg 35 139", "XDG_DATA_DIRS=" + DIR + "bare");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("がありません"), std::string::npos) << r.err;
    const std::string without = read_file(DIR + "bare.svg");
    EXPECT_NE(without.find("南南西（未）"), std::string::npos);
    EXPECT_LT(without.size() * 3, read_file(DIR + "a.svg").size());
}

TEST(OrvineMap, HelpNamesTheOptions)
{
    const std::string out = DIR + "help.txt";
    ASSERT_EQ(std::system(("'" ORVINE "' --help >" + out).c_str()), 0);
    const std::string help = read_file(out);
    for (const char* shown : {"--map FILE", "--radius KM", "LAT LON [LAT2 LON2]", "--map ファイル"})
        EXPECT_NE(help.find(shown), std::string::npos) << shown;
}
