#include "files/file_location.h"
#include "files/place_list_file.h"
#include "files/settings_file.h"

#include "file_test_support.h"

#include <gmock/gmock.h>

#include <map>

#include <sys/stat.h>

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

// bin/ and share/orvine/installed/ as `cmake --install` lays them out, and a temporary home.
struct Installation {
    QTemporaryDir root;
    QString bin = root.filePath("bin"), home = root.filePath("home"),
            user = root.filePath("home/.local/share/orvine");
    Installation()
    {
        EXPECT_TRUE(QDir(root.path()).mkpath("bin") && QDir(root.path()).mkpath("share/orvine/installed")
                    && QDir(root.path()).mkpath("home"));
        write_bytes(root.filePath("share/orvine/installed/vantorff.ini"), DEFAULT_INI);
        write_bytes(root.filePath("share/orvine/installed/places.txt"), DEFAULT_LIST);
        write_bytes(root.filePath("share/orvine/installed/other-data.bin"), "read in place");
        QFile::setPermissions(root.filePath("share/orvine/installed/places.txt"), QFileDevice::ReadOwner);
        qputenv("HOME", home.toLocal8Bit());
        qunsetenv("XDG_DATA_HOME");
    }
    ~Installation()
    {
        QFile::setPermissions(bin, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("HOME", saved_home);
        qunsetenv("XDG_DATA_HOME");
    }
    QByteArray saved_home = qgetenv("HOME");
};

TEST(FileLocation, ChoosesTheFolderAndSeedsOnlyWhatIsAbsent)
{
    const struct Row {
        const char* name;
        const char* data_home; // XDG_DATA_HOME: absolute within the temporary home, or as given
        Files beside_program;  // files in the executable's folder
        bool read_only;        // the executable's folder grants no write access
        Files user_before;     // files already in the per-user folder
        bool portable;         // the run uses the executable's folder
        Files user_after;      // what the per-user folder holds afterwards (absent when empty)
    } rows[] = {
        {"portable", "", {{"vantorff.ini", USERS_INI}}, false, {}, true, {}},
        {"read-only folder with settings", "", {{"vantorff.ini", USERS_INI}}, true, {}, false,
         {{"vantorff.ini", DEFAULT_INI}, {"places.txt", DEFAULT_LIST}}},
        {"folder without settings", "", {{"places.txt", "beside"}}, false, {}, false,
         {{"vantorff.ini", DEFAULT_INI}, {"places.txt", DEFAULT_LIST}}},
        {"seeds only what is absent", "", {}, false, {{"vantorff.ini", USERS_INI}}, false,
         {{"vantorff.ini", USERS_INI}, {"places.txt", DEFAULT_LIST}}},
        {"an older user folder is used as it is", "", {}, false,
         {{"vantorff.ini", USERS_INI}, {"places.txt", "user's list"}}, false,
         {{"vantorff.ini", USERS_INI}, {"places.txt", "user's list"}}},
        {"a relative XDG_DATA_HOME is ignored", "relative/share", {}, false, {}, false,
         {{"vantorff.ini", DEFAULT_INI}, {"places.txt", DEFAULT_LIST}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Installation in;
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(in.root.path());
        qputenv("XDG_DATA_HOME",
                *row.data_home ? QByteArray(row.data_home) : (in.home + "/.local/share").toLocal8Bit());
        for (const auto& [name, bytes] : row.beside_program)
            write_bytes(QDir(in.bin).filePath(name), bytes);
        if (row.read_only)
            QFile::setPermissions(in.bin, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (!row.user_before.empty())
            QDir().mkpath(in.user);
        for (const auto& [name, bytes] : row.user_before)
            write_bytes(QDir(in.user).filePath(name), bytes);

        EXPECT_EQ(files_folder_for_run(in.bin), row.portable ? in.bin : in.user);
        QDir::setCurrent(cwd);
        EXPECT_EQ(files_in(in.bin), row.beside_program);
        EXPECT_EQ(QFileInfo::exists(in.user), !row.user_after.empty());
        EXPECT_EQ(files_in(in.user), row.user_after);
        for (const auto& [name, bytes] : row.user_after)
            EXPECT_TRUE(QFileInfo(QDir(in.user).filePath(name)).isWritable()) << name.toStdString();
        EXPECT_FALSE(QFileInfo::exists(in.root.filePath("relative")));
    }
}

TEST(FileLocation, CreatedFoldersArePrivateAndCopiesFollowTheUmask)
{
    using P = QFileDevice::Permission;
    const QFileDevice::Permissions private_folder = P::ReadOwner | P::WriteOwner | P::ExeOwner | P::ReadUser
                                                    | P::WriteUser | P::ExeUser;
    const QFileDevice::Permissions owner_rw = P::ReadOwner | P::WriteOwner | P::ReadUser | P::WriteUser;
    const struct Row {
        mode_t umask;
        QFileDevice::Permissions copies;
    } rows[] = {{077, owner_rw}, {022, owner_rw | P::ReadGroup | P::ReadOther}};
    for (const Row& row : rows) {
        SCOPED_TRACE("umask " + QString::number(row.umask, 8).toStdString());
        Installation in;
        const QFileDevice::Permissions home_mode = QFileInfo(in.home).permissions();
        const mode_t saved = ::umask(row.umask);
        EXPECT_EQ(files_folder_for_run(in.bin), in.user);
        ::umask(saved);
        EXPECT_EQ(QFileInfo(in.home).permissions(), home_mode);
        for (const char* folder : {"/.local", "/.local/share", "/.local/share/orvine"})
            EXPECT_EQ(QFileInfo(in.home + folder).permissions(), private_folder) << folder;
        for (const char* file : {"/vantorff.ini", "/places.txt"})
            EXPECT_EQ(QFileInfo(in.user + file).permissions(), row.copies) << file;
    }
}

// Nothing may be created at the root of the file system. `data_home`: "-" for no HOME.
TEST(FileLocation, AFolderThatCannotBeSetUpSaysWhy)
{
    const struct Row {
        const char* name;
        const char* data_home;
        rlim_t size_limit;
        const char* why; // %1: the user folder
    } rows[] = {
        {"no HOME", "-", RLIM_INFINITY, "環境変数 HOME が設定されていないため、データフォルダーを作りませんでした。"},
        {"a file in its place", ".", RLIM_INFINITY, "データフォルダー「%1」を作れません：パスの途中にフォルダーでないものがあります。"},
        {"file-size limit", "home/.local/share", 10, "地点一覧ファイル「%1/places.txt」を作成できませんでした。\r\n"
                                                     "（書き込みに失敗しました：ファイルの大きさの上限を超えます）"},
    };
    const bool root_held_local = QFileInfo::exists("/.local");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Installation in;
        write_bytes(in.root.filePath("orvine"), "a file");
        if (row.data_home == QByteArray("-"))
            qunsetenv("HOME");
        else
            qputenv("XDG_DATA_HOME", QFile::encodeName(in.root.filePath(row.data_home)));
        const QString folder = [&] {
            FileSizeLimit limit(row.size_limit);
            return files_folder_for_run(in.bin);
        }();
        const SettingsLoad load = load_settings(folder);
        ASSERT_TRUE(load.problem);
        EXPECT_EQ(problem_message(*load.problem), QString("設定ファイル「%1/vantorff.ini」が見つかりません。\r\n").arg(folder)
                                                      + QString::fromUtf8(row.why).replace("%1", folder));
        EXPECT_TRUE(!QFileInfo::exists(folder) || QDir(folder).isEmpty());
        EXPECT_EQ(QFileInfo::exists("/.local"), root_held_local);
    }
}

TEST(FileLocation, RootSeedsAUsersFolderAsTheirs)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root, to give a folder to another user";
    constexpr uid_t USER = 65534;
    Installation in;
    ASSERT_EQ(chown(QFile::encodeName(in.home).constData(), USER, USER), 0);
    EXPECT_EQ(files_folder_for_run(in.bin), in.user);
    for (const char* path : {"/.local", "/.local/share", "/.local/share/orvine", "/.local/share/orvine/vantorff.ini",
                             "/.local/share/orvine/places.txt"})
        EXPECT_EQ(QFileInfo(in.home + path).ownerId(), USER) << path;

    QDir(in.home + "/.local").removeRecursively();
    ASSERT_TRUE(QDir(in.root.path()).mkdir("root's") && QFile::link(in.root.filePath("root's"), in.home + "/.local"));
    EXPECT_EQ(files_folder_for_run(in.bin), in.user);
    EXPECT_THAT(files_folder_problem(in.user).toStdString(), testing::HasSubstr("を通してフォルダーを作ることはしません"));
    EXPECT_TRUE(QDir(in.root.filePath("root's")).isEmpty());
}

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
