#include "files/settings_file.h"

#include "file_faults.h"
#include "file_test_support.h"

#include <gtest/gtest.h>

using namespace orvine;
using namespace orvine::test;
using Kind = FileProblem::Kind;

namespace {

const QByteArray INSTALLED = "\"places.txt\",\"" + SJIS_TOKYO + "\",35,41,22,139,41,30\r\n";

struct SettingsFile : ::testing::Test {
    ProgramDir dir;
    QString path() const { return dir.file("vantorff.ini"); }
};

} // namespace

TEST_F(SettingsFile, LoadsTheFirstRecordAndSavesOneRecord)
{
    write_bytes(path(), INSTALLED + "anything after the first record is never read\r\n");
    SettingsLoad before = load_settings(dir.path());
    ASSERT_TRUE(before.ok()) << problem_message(*before.problem).toStdString();
    EXPECT_EQ(before.settings.list_file, "places.txt");
    EXPECT_EQ(before.settings.place, TOKYO);
    EXPECT_EQ(before.settings.point, (Point{35, 41, 22, 139, 41, 30}));

    // The file's permission bits survive the rewrite; so does a link, whose target is
    // rewritten.
    ASSERT_TRUE(QFile::rename(path(), dir.file("real.ini")) && QFile::link("real.ini", path()));
    ASSERT_TRUE(QFile::setPermissions(dir.file("real.ini"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    ASSERT_FALSE(save_settings(dir.path(), "places.txt", "Buenos Aires", Point{-34, 36, 13, -58, 22, 54}, before.stamp));
    EXPECT_EQ(read_bytes(path()), QByteArray("\"places.txt\",\"Buenos Aires\",-34,36,13,-58,22,54\r\n"));
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(QFile::permissions(dir.file("real.ini")), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                                            | QFile::ReadUser | QFile::WriteUser);
    ASSERT_FALSE(save_settings(dir.path(), "places.txt", TOKYO, Point{35, 41, 22, 139, 41, 30}, before.stamp));
    EXPECT_EQ(read_bytes(path()), INSTALLED);
    EXPECT_FALSE(QFileInfo::exists(path() + ".lock"));
}

TEST_F(SettingsFile, DamagedFilesEndInAProblemAndKeepAReadableListName)
{
    struct Row {
        const char* name;
        QByteArray bytes;
        Kind kind;
        int record, field;
        const char* list; // field 1 as kept for use, or nothing
    };
    const std::vector<Row> rows = {
        {"empty file", "", Kind::CutShort, 1, 1, ""},
        {"cut record", "\"mylist.txt\",\"x\",35,41\r\n", Kind::CutShort, 1, 5, "mylist.txt"},
        {"letters", "\"places.txt\",\"x\",35,4l,22,139,41,30\r\n", Kind::NotANumber, 1, 4, "places.txt"},
        {"fraction", "\"places.txt\",\"x\",35,41,22.5,139,41,30\r\n", Kind::NotANumber, 1, 5, "places.txt"},
        {"latitude 90", "\"places.txt\",\"x\",90,0,0,139,41,30\r\n", Kind::OutOfRange, 1, 3, "places.txt"},
        {"seconds 60", "\"mylist.txt\",\"" + SJIS_TOKYO + "\",35,41,22,139,41,60\r\n", Kind::OutOfRange, 1, 8,
         "mylist.txt"},
        {"negative seconds", "\"places.txt\",\"x\",35,0,-1,139,41,30\r\n", Kind::OutOfRange, 1, 5, "places.txt"},
        {"no list file", "\"\",\"x\",35,0,0,139,41,30\r\n", Kind::EmptyName, 1, 1, ""},
        {"list file not Shift-JIS", "\"\x82\x0d\",\"x\",35,0,0,139,41,30\r\n", Kind::BadText, 1, 1, ""},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF\"mylist.txt\",\"x\",35,0,0,139,41,30\r\n", Kind::SavedAsUtf8,
         0, 0, "mylist.txt"},
        {"UTF-8 text", "\"" + TOKYO.toUtf8() + ".txt\",\"x\",35,0,0,139,41,30\r\n", Kind::SavedAsUtf8, 0, 0,
         "東京.txt"},
        {"missing", {}, Kind::Missing, 0, 0, ""},
        {"a directory", {}, Kind::NotRegularFile, 0, 0, ""},
        {"a named pipe", {}, Kind::NotRegularFile, 0, 0, ""},
        {"3 GiB", {}, Kind::TooLarge, 0, 0, ""},
    };
    for (const Row& row : rows) {
        QFile::remove(path());
        QDir(dir.path()).rmdir("vantorff.ini");
        if (row.name == std::string("a directory"))
            ASSERT_TRUE(QDir(dir.path()).mkdir("vantorff.ini"));
        else if (row.name == std::string("a named pipe"))
            ASSERT_TRUE(make_fifo(path()));
        else if (row.name == std::string("3 GiB"))
            ASSERT_TRUE(make_sparse_file(path(), 3LL << 30));
        else if (row.kind != Kind::Missing)
            write_bytes(path(), row.bytes);
        const SettingsLoad load = load_settings(dir.path());
        ASSERT_FALSE(load.ok()) << row.name;
        EXPECT_EQ(load.problem->kind, row.kind) << row.name;
        EXPECT_EQ(load.problem->file, FileKind::Settings) << row.name;
        EXPECT_EQ(load.problem->path, path()) << row.name;
        EXPECT_EQ(load.problem->record, row.record) << row.name;
        EXPECT_EQ(load.problem->field, row.field) << row.name;
        EXPECT_EQ(load.list_file_read, *row.list != 0) << row.name;
        EXPECT_EQ(load.damaged(), row.kind != Kind::Missing) << row.name;
        if (load.list_file_read) {
            EXPECT_EQ(load.settings.list_file, QString::fromUtf8(row.list)) << row.name;
        }
        if (!row.bytes.isNull()) {
            EXPECT_EQ(read_bytes(path()), row.bytes) << row.name;
        }
    }
    EXPECT_EQ(QFileInfo(path()).size(), 3LL << 30);
}

TEST_F(SettingsFile, RefusedOrFailedSavesKeepTheOldFile)
{
    write_bytes(path(), INSTALLED);
    FileStamp stamp = load_settings(dir.path()).stamp;
    struct Row {
        const char* name;
        QString list_file, place;
        Point point;
        Kind kind;
        int field;
    };
    const std::vector<Row> rows = {
        {"quote in name", "places.txt", "a\"b", Point{}, Kind::TextNotStorable, 2},
        {"line break in name", "places.txt", "a\r\nb", Point{}, Kind::TextNotStorable, 2},
        {"not Shift-JIS", "places.txt", QString::fromUtf8("〜"), Point{}, Kind::TextNotStorable, 2},
        {"list file with quote", "pla\"ces.txt", "x", Point{}, Kind::TextNotStorable, 1},
        {"empty list file", "", "x", Point{}, Kind::EmptyName, 1},
        {"latitude out of range", "places.txt", "x", Point{90, 0, 0, 0, 0, 0}, Kind::OutOfRange, 3},
        {"seconds out of range", "places.txt", "x", Point{0, 0, 0, 0, 0, 60}, Kind::OutOfRange, 8},
    };
    for (const Row& row : rows) {
        auto problem = save_settings(dir.path(), row.list_file, row.place, row.point, stamp);
        ASSERT_TRUE(problem) << row.name;
        EXPECT_EQ(problem->kind, row.kind) << row.name;
        EXPECT_EQ(problem->record, 1) << row.name;
        EXPECT_EQ(problem->field, row.field) << row.name;
        EXPECT_EQ(read_bytes(path()), INSTALLED) << row.name;
    }
    {
        // The write fails half-way, as on a full disk (the lock file is smaller).
        FileSizeLimit limit(300);
        auto problem = save_settings(dir.path(), "places.txt", QString(400, QLatin1Char('x')), Point{}, stamp);
        ASSERT_TRUE(problem);
        EXPECT_EQ(problem->kind, Kind::WriteFailed);
        EXPECT_EQ(problem_message(*problem),
                  QString::fromUtf8("設定ファイル「%1」に書き込めませんでした。ファイルは元のままです。\r\n"
                                    "（書き込みに失敗しました：ファイルの大きさの上限を超えます）")
                      .arg(path()));
    }
    EXPECT_EQ(read_bytes(path()), INSTALLED);

    // Changed by someone else since it was read: not overwritten.
    write_bytes(path(), INSTALLED + "\r\n");
    auto problem = save_settings(dir.path(), "places.txt", "x", Point{}, stamp);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->kind, Kind::ChangedElsewhere);
    EXPECT_EQ(read_bytes(path()), INSTALLED + "\r\n");

    // A file that was not there cannot be created: the message does not claim it was kept.
    FileStamp absent;
    problem = save_settings(path(), "places.txt", "x", Point{}, absent);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->kind, Kind::CreateFailed);
    EXPECT_EQ(problem->path, path() + "/vantorff.ini");
    EXPECT_EQ(problem_message(*problem), QString::fromUtf8("設定ファイル「%1/vantorff.ini」を作成できませんでした。\r\n"
                                                           "（ロックファイル「%1/vantorff.ini.lock」を作れません："
                                                           "パスの途中にフォルダーでないものがあります）")
                                             .arg(path()));
}

TEST(ProblemMessages, NameFileRecordAndField)
{
    auto problem = [](Kind kind, FileKind file, int record, int field) {
        FileProblem p;
        p.kind = kind;
        p.file = file;
        p.path = file == FileKind::Settings ? "/opt/orvine/vantorff.ini" : "/opt/orvine/places.txt";
        p.record = record;
        p.field = field;
        return p;
    };
    FileProblem range = problem(Kind::OutOfRange, FileKind::Settings, 1, 3);
    range.value = 90;
    range.min = -89;
    range.max = 89;
    FileProblem quote = problem(Kind::TextNotStorable, FileKind::PlaceList, 0, 1);
    quote.text_fault = TextFault::DoubleQuote;
    quote.detail = "a\"b";
    const std::pair<FileProblem, const char*> rows[] = {
        {range, "設定ファイル「/opt/orvine/vantorff.ini」の第1レコード、第3項目「緯度（度）」の値 90 "
                "が範囲（-89～89）を外れています。"},
        {problem(Kind::Missing, FileKind::Settings, 0, 0), "設定ファイル「/opt/orvine/vantorff.ini」が見つかりません。"},
        {problem(Kind::CutShort, FileKind::Settings, 1, 1),
         "設定ファイル「/opt/orvine/vantorff.ini」の第1レコードが途中で切れています（第1項目「地点一覧ファイル名」から先がありません）。"},
        {problem(Kind::NotANumber, FileKind::PlaceList, 7, 5),
         "地点一覧ファイル「/opt/orvine/places.txt」の第7レコード、第5項目「経度（度）」が整数ではありません。"},
        {quote, "「a\"b」は地点一覧ファイル「/opt/orvine/places.txt」に記録できません。\r\n地名に「\"」（二重引用符）は使えません。"},
    };
    for (const auto& [p, expected] : rows)
        EXPECT_EQ(problem_message(p), QString::fromUtf8(expected)) << expected;
}
