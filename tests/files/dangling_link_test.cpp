// Behind a dangling link the user's file may only be out of reach for now (a disk not mounted),
// so it must be reported as unreadable, never taken for a missing file and rewritten.
#include "files/place_list_file.h"
#include "files/settings_file.h"

#include "file_test_support.h"

using namespace orvine;
using namespace orvine::test;
using Kind = FileProblem::Kind;

TEST(DanglingLink, IsAnUnreadableFileNotAMissingOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::link("gone.txt", dir.filePath("places.txt")));
    ASSERT_TRUE(QFile::link("gone.ini", dir.filePath("vantorff.ini")));
    const auto unreadable = std::tuple(Kind::Unreadable, 0, 0);

    PlaceTable table;
    const PlaceListLoad list = load_place_list(dir.path(), "places.txt", table);
    ASSERT_EQ(where(list.problem), unreadable);
    EXPECT_EQ(list.problem->detail, QString::fromUtf8("リンク先のファイルがありません"));
    EXPECT_EQ(where(save_place_list(dir.path(), "places.txt", table)), std::tuple(Kind::NotLoadedWhole, 0, 0));
    EXPECT_EQ(where(read_places_for_name_check(dir.path(), "places.txt").problem), unreadable);

    const SettingsLoad settings = load_settings(dir.path());
    EXPECT_TRUE(where(settings.problem) == unreadable && settings.damaged());

    EXPECT_EQ(QFileInfo(dir.filePath("places.txt")).symLinkTarget(), dir.filePath("gone.txt"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot),
              QStringList({"places.txt", "vantorff.ini"}));
}
