#include "files/file_location.h"
#include "files/place_list_file.h"
#include "files/settings_file.h"

#include "file_test_support.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

using namespace orvine;
using namespace orvine::test;

namespace {

using Files = std::map<QString, QByteArray>;

const QByteArray DEFAULT_INI("default settings");
const QByteArray DEFAULT_LIST("default places");
const QByteArray USERS_INI("user's own settings");

// A temporary installation (bin/ and share/orvine/ as `cmake --install` lays them out) and
// a temporary home whose data folder stands in for ~/.local/share.
class Installation {
public:
    Installation()
    {
        EXPECT_TRUE(QDir(root_.path()).mkpath("bin") && QDir(root_.path()).mkpath("share/orvine"));
        write_bytes(root_.file("share/orvine/vantorff.ini"), DEFAULT_INI);
        write_bytes(root_.file("share/orvine/places.txt"), DEFAULT_LIST);
        qputenv("XDG_DATA_HOME", root_.file("home/.local/share").toLocal8Bit());
    }
    ~Installation()
    {
        QFile::setPermissions(bin(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qunsetenv("XDG_DATA_HOME");
    }
    QString bin() const { return root_.file("bin"); }
    QString user_folder() const { return root_.file("home/.local/share/orvine"); }

private:
    ProgramDir root_;
};

Files files_in(const QString& folder)
{
    Files files;
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        files[name] = read_bytes(QDir(folder).filePath(name));
    return files;
}

struct Row {
    const char* name;
    Files beside_program; // files in the executable's folder
    bool read_only;       // the executable's folder grants no write access
    Files user_before;    // files already in the per-user folder
    bool portable;        // the run uses the executable's folder
    Files user_after;     // what the per-user folder holds afterwards (absent when empty)
};

class FileLocation : public testing::TestWithParam<Row> {};

} // namespace

TEST_P(FileLocation, ChoosesTheFolderAndSeedsOnlyWhatIsAbsent)
{
    const Row& row = GetParam();
    Installation inst;
    for (const auto& [name, bytes] : row.beside_program)
        write_bytes(QDir(inst.bin()).filePath(name), bytes);
    if (row.read_only) {
        ASSERT_TRUE(QFile::setPermissions(inst.bin(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }
    if (!row.user_before.empty()) {
        ASSERT_TRUE(QDir().mkpath(inst.user_folder()));
    }
    for (const auto& [name, bytes] : row.user_before)
        write_bytes(QDir(inst.user_folder()).filePath(name), bytes);

    const QString folder = files_folder_for_run(inst.bin());

    EXPECT_EQ(folder, row.portable ? inst.bin() : inst.user_folder());
    EXPECT_EQ(files_in(inst.bin()), row.beside_program);
    EXPECT_EQ(QFileInfo::exists(inst.user_folder()), !row.user_after.empty());
    EXPECT_EQ(files_in(inst.user_folder()), row.user_after);
    for (const auto& [name, bytes] : row.user_after)
        EXPECT_TRUE(QFileInfo(QDir(inst.user_folder()).filePath(name)).isWritable()) << name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FileLocation,
    testing::Values(
        Row{"PortableWritableFolderWithSettings", {{"vantorff.ini", USERS_INI}}, false, {}, true, {}},
        Row{"ReadOnlyFolderWithSettings", {{"vantorff.ini", USERS_INI}}, true, {}, false,
            {{"vantorff.ini", DEFAULT_INI}, {"places.txt", DEFAULT_LIST}}},
        Row{"FolderWithoutSettings", {{"places.txt", "beside"}}, false, {}, false,
            {{"vantorff.ini", DEFAULT_INI}, {"places.txt", DEFAULT_LIST}}},
        Row{"SeedsOnlyWhatIsAbsent", {}, false, {{"vantorff.ini", USERS_INI}}, false,
            {{"vantorff.ini", USERS_INI}, {"places.txt", DEFAULT_LIST}}},
        Row{"NeverReplacesTheUsersFiles", {}, false, {{"vantorff.ini", USERS_INI}, {"places.txt", "mine"}}, false,
            {{"vantorff.ini", USERS_INI}, {"places.txt", "mine"}}}),
    [](const testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

TEST(FileLocation, ListFileIsRelativeToTheSettingsFolder)
{
    ProgramDir folder;
    ProgramDir elsewhere;
    ASSERT_TRUE(QDir(folder.path()).mkpath("lists"));
    write_bytes(folder.file("vantorff.ini"), "\"lists/mine.txt\",\"" + SJIS_TOKYO + "\",35,41,22,139,41,30\r\n");
    write_bytes(folder.file("lists/mine.txt"), "\"" + SJIS_OSAKA + "\",34,41,0,135,30,0\r\n");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));

    const SettingsLoad settings = load_settings(folder.path());
    PlaceTable table;
    const PlaceListLoad list = load_place_list(folder.path(), settings.settings.list_file, table);
    QDir::setCurrent(before);

    ASSERT_TRUE(settings.ok() && list.ok());
    EXPECT_EQ(list.records, 1);
    EXPECT_EQ(table.rows[0].name, OSAKA);
}
