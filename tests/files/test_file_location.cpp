#include "files/file_location.h"
#include "files/place_list_file.h"
#include "files/settings_file.h"

#include "file_test_support.h"

#include <map>

using namespace orvine;
using namespace orvine::test;

namespace {

using Files = std::map<QString, QByteArray>;

Files files_in(const QString& folder)
{
    Files files;
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        files[name] = read_bytes(QDir(folder).filePath(name));
    return files;
}

const QByteArray DEFAULT_INI("default settings"), DEFAULT_LIST("default places"), USERS_INI("user's own settings");
const QString DATA_DIR = QStringLiteral(ORVINE_DATA_DIR);

} // namespace

// A temporary installation (bin/ and share/orvine/ as `cmake --install` lays them out) and a
// temporary home whose data folder stands in for ~/.local/share.
TEST(FileLocation, ChoosesTheFolderAndSeedsOnlyWhatIsAbsent)
{
    const struct Row {
        const char* name;
        Files beside_program; // files in the executable's folder
        bool read_only;       // the executable's folder grants no write access
        Files user_before;    // files already in the per-user folder
        bool portable;        // the run uses the executable's folder
        Files user_after;     // what the per-user folder holds afterwards (absent when empty)
    } rows[] = {
        {"portable", {{"vantorff.ini", USERS_INI}}, false, {}, true, {}},
        {"read-only folder with settings", {{"vantorff.ini", USERS_INI}}, true, {}, false,
         {{"vantorff.ini", DEFAULT_INI}, {"places.txt", DEFAULT_LIST}}},
        {"folder without settings", {{"places.txt", "beside"}}, false, {}, false,
         {{"vantorff.ini", DEFAULT_INI}, {"places.txt", DEFAULT_LIST}}},
        {"seeds only what is absent", {}, false, {{"vantorff.ini", USERS_INI}}, false,
         {{"vantorff.ini", USERS_INI}, {"places.txt", DEFAULT_LIST}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir root;
        const QString bin = root.filePath("bin"), user = root.filePath("home/.local/share/orvine");
        ASSERT_TRUE(QDir(root.path()).mkpath("bin") && QDir(root.path()).mkpath("share/orvine"));
        write_bytes(root.filePath("share/orvine/vantorff.ini"), DEFAULT_INI);
        write_bytes(root.filePath("share/orvine/places.txt"), DEFAULT_LIST);
        QFile::setPermissions(root.filePath("share/orvine/places.txt"), QFileDevice::ReadOwner); // installed read-only
        qputenv("XDG_DATA_HOME", root.filePath("home/.local/share").toLocal8Bit());
        for (const auto& [name, bytes] : row.beside_program)
            write_bytes(QDir(bin).filePath(name), bytes);
        if (row.read_only)
            QFile::setPermissions(bin, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (!row.user_before.empty())
            QDir().mkpath(user);
        for (const auto& [name, bytes] : row.user_before)
            write_bytes(QDir(user).filePath(name), bytes);

        EXPECT_EQ(files_folder_for_run(bin), row.portable ? bin : user);
        EXPECT_EQ(files_in(bin), row.beside_program);
        EXPECT_EQ(QFileInfo::exists(user), !row.user_after.empty());
        EXPECT_EQ(files_in(user), row.user_after);
        for (const auto& [name, bytes] : row.user_after)
            EXPECT_TRUE(QFileInfo(QDir(user).filePath(name)).isWritable()) << name.toStdString();
        QFile::setPermissions(bin, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qunsetenv("XDG_DATA_HOME");
    }
}

// The installed defaults read whole, start in Tokyo as the built-in copy does, and are byte for
// byte what the program writes.
TEST(DefaultFiles, LoadWholeAndAreWhatTheProgramWrites)
{
    const SettingsLoad settings = load_settings(DATA_DIR);
    ASSERT_TRUE(settings.ok()) << problem_message(*settings.problem).toStdString();
    const Settings built_in = installed_settings();
    EXPECT_EQ(std::tie(built_in.list_file, built_in.place, built_in.point),
              std::tuple(QString("places.txt"), TOKYO, Point{35, 41, 22, 139, 41, 30}));
    EXPECT_EQ(std::tie(settings.settings.list_file, settings.settings.place, settings.settings.point),
              std::tie(built_in.list_file, built_in.place, built_in.point));

    PlaceTable table;
    const PlaceListLoad list = load_place_list(DATA_DIR, settings.settings.list_file, table);
    ASSERT_TRUE(list.ok() && !list.notice);
    EXPECT_GE(list.records, 40);
    QStringList names;
    for (int i = 0; i < list.records; ++i)
        names << table.rows[i].name;
    EXPECT_EQ(names.removeDuplicates(), 0);
    EXPECT_EQ(table.rows[names.indexOf(QString::fromUtf8("シドニー"))].point.latitude.degrees, -33);

    QTemporaryDir dir;
    table.place_last = static_cast<std::int16_t>(list.records - 1);
    table.written(FileStamp{}); // as if written where no file is yet
    ASSERT_FALSE(save_place_list(dir.path(), "places.txt", table));
    EXPECT_EQ(read_bytes(dir.filePath("places.txt")), read_bytes(DATA_DIR + "/places.txt"));
    FileStamp absent;
    ASSERT_FALSE(save_settings(dir.path(), built_in.list_file, built_in.place, built_in.point, absent));
    EXPECT_EQ(read_bytes(dir.filePath("vantorff.ini")), read_bytes(DATA_DIR + "/vantorff.ini"));
}
