#include "files/settings_file.h"

#include "file_test_support.h"

using namespace orvine;
using namespace orvine::test;

namespace {

const QByteArray INSTALLED = "\"places.txt\",\"" + SJIS_TOKYO + "\",35,41,22,139,41,30\r\n";

struct SettingsFile : ::testing::Test {
    QTemporaryDir dir;
    QString path() const { return dir.filePath("vantorff.ini"); }
    QString message(const char* text) const { return QString::fromUtf8(text).arg(path()); }
};

} // namespace

TEST_F(SettingsFile, LoadsTheFirstRecordAndSavesOneRecordThroughALink)
{
    write_bytes(dir.filePath("real.ini"), INSTALLED + "anything after the first record is never read\r\n");
    ASSERT_TRUE(QFile::link("real.ini", path()));
    ASSERT_TRUE(
        QFile::setPermissions(dir.filePath("real.ini"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    SettingsLoad load = load_settings(dir.path());
    ASSERT_TRUE(load.ok()) << problem_message(*load.problem).toStdString();
    EXPECT_EQ(std::tie(load.settings.list_file, load.settings.place, load.settings.point),
              tuple(QString("places.txt"), TOKYO, Point{35, 41, 22, 139, 41, 30}));

    ASSERT_FALSE(save_settings(dir.path(), "places.txt", "Buenos Aires", Point{-34, 36, 13, -58, 22, 54}, load.stamp));
    EXPECT_EQ(read_bytes(path()), QByteArray("\"places.txt\",\"Buenos Aires\",-34,36,13,-58,22,54\r\n"));
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(QFile::permissions(dir.filePath("real.ini")),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadUser | QFile::WriteUser);
    ASSERT_FALSE(save_settings(dir.path(), "places.txt", TOKYO, Point{35, 41, 22, 139, 41, 30}, load.stamp));
    EXPECT_EQ(read_bytes(path()), INSTALLED);
    EXPECT_FALSE(QFileInfo::exists(path() + ".lock"));
}

// Each damaged file ends in its message; the list name is kept for use when field 1 was read.
TEST_F(SettingsFile, DamagedFilesEndInAProblemAndKeepAReadableListName)
{
    const struct Row {
        const char* name;
        QByteArray bytes; // null: a special file of that name, or none
        tuple<Kind, int, int> problem;
        const char* list;
        const char* message; // %1: the path
    } rows[] = {
        {"empty file", "", {Kind::CutShort, 1, 1}, "",
         "設定ファイル「%1」の第1レコードが途中で切れています（第1項目「地点一覧ファイル名」から先がありません）。"},
        {"cut record", "\"mylist.txt\",\"x\",35,41\r\n", {Kind::CutShort, 1, 5}, "mylist.txt",
         "設定ファイル「%1」の第1レコードが途中で切れています（第5項目「緯度（秒）」から先がありません）。"},
        {"letters", "\"a.txt\",\"x\",35,4l,22,139,41,30\r\n", {Kind::NotANumber, 1, 4}, "a.txt",
         "設定ファイル「%1」の第1レコード、第4項目「緯度（分）」が整数ではありません。"},
        {"seconds 60", "\"a.txt\",\"" + SJIS_TOKYO + "\",35,41,22,139,41,60\r\n", {Kind::OutOfRange, 1, 8}, "a.txt",
         "設定ファイル「%1」の第1レコード、第8項目「経度（秒）」の値 60 が範囲（0～59）を外れています。"},
        {"no list file", "\"\",\"x\",35,0,0,139,41,30\r\n", {Kind::EmptyName, 1, 1}, "",
         "設定ファイル「%1」の第1レコード、第1項目「地点一覧ファイル名」が空です。"},
        {"list file not Shift-JIS", "\"\x82\x20\",\"x\",35,0,0,139,41,30\r\n", {Kind::BadText, 1, 1}, "",
         "設定ファイル「%1」の第1レコード、第1項目「地点一覧ファイル名」を読み取れません（Shift-JIS の文字として読めないバイトがあります）。"},
        {"UTF-8 text", "\"" + TOKYO.toUtf8() + ".txt\",\"x\",35,0,0,139,41,30\r\n", {Kind::SavedAsUtf8, 0, 0}, "東京.txt",
         "設定ファイル「%1」は UTF-8 で保存されています。Shift-JIS で保存し直してください。"},
        {"missing", {}, {Kind::Missing, 0, 0}, "", "設定ファイル「%1」が見つかりません。"},
        {"folder", {}, {Kind::NotRegularFile, 0, 0}, "", "設定ファイル「%1」は読み込めません（通常のファイルではなく、フォルダーです）。"},
        {"dangling link", {}, {Kind::Unreadable, 0, 0}, "", "設定ファイル「%1」を読み込めません。\r\n（リンク先のファイルがありません）"},
    };
    for (const Row& row : rows) {
        QFile::remove(path());
        QDir(dir.path()).rmdir("vantorff.ini");
        if (!row.bytes.isNull())
            write_bytes(path(), row.bytes);
        else if (std::get<0>(row.problem) != Kind::Missing)
            make_special(path(), row.name);
        const SettingsLoad load = load_settings(dir.path());
        ASSERT_EQ(where(load.problem), row.problem) << row.name;
        EXPECT_EQ(problem_message(*load.problem), message(row.message)) << row.name;
        EXPECT_EQ(load.damaged(), std::get<0>(row.problem) != Kind::Missing) << row.name;
        EXPECT_EQ(load.list_file_read ? load.settings.list_file : QString(), QString::fromUtf8(row.list)) << row.name;
        EXPECT_TRUE(row.bytes.isNull() || read_bytes(path()) == row.bytes) << row.name;
    }
}

TEST_F(SettingsFile, RefusedOrFailedSavesKeepTheOldFile)
{
    write_bytes(path(), INSTALLED);
    FileStamp stamp = load_settings(dir.path()).stamp;
    const tuple<QString, QString, Point, Kind, int> rows[] = {
        {"places.txt", "a\"b", Point{}, Kind::TextNotStorable, 2},
        {"pla\"ces.txt", "x", Point{}, Kind::TextNotStorable, 1},
        {"", "x", Point{}, Kind::EmptyName, 1},
        {"places.txt", "x", Point{90, 0, 0, 0, 0, 0}, Kind::OutOfRange, 3},
        {"places.txt", "x", Point{0, 0, 0, 0, 0, 60}, Kind::OutOfRange, 8},
    };
    for (const auto& [list_file, place, point, kind, field] : rows)
        EXPECT_EQ(where(save_settings(dir.path(), list_file, place, point, stamp)), tuple(kind, 1, field));
    EXPECT_EQ(read_bytes(path()), INSTALLED);
    // A file that was not there cannot be created: the message does not claim it was kept.
    FileStamp absent;
    const auto problem = save_settings(path(), "places.txt", "x", Point{}, absent);
    EXPECT_EQ(problem_message(problem.value_or(FileProblem{})),
              message("設定ファイル「%1/vantorff.ini」を作成できませんでした。\r\n（フォルダー"
                      "「%1」を開けません：パスの途中にフォルダーでないものがあります）"));
}
