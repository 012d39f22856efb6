#include "files/settings_file.h"

#include "file_test_support.h"

using namespace orvine;
using namespace orvine::test;
using Kind = FileProblem::Kind;

namespace {

const QByteArray INSTALLED = "\"places.txt\",\"" + SJIS_TOKYO + "\",35,41,22,139,41,30\r\n";

struct SettingsFile : ::testing::Test {
    QTemporaryDir dir;
    QString path() const { return dir.filePath("vantorff.ini"); }
};

} // namespace

TEST_F(SettingsFile, LoadsTheFirstRecordAndSavesOneRecordThroughALink)
{
    write_bytes(dir.filePath("real.ini"), INSTALLED + "anything after the first record is never read\r\n");
    ASSERT_TRUE(QFile::link("real.ini", path()));
    ASSERT_TRUE(QFile::setPermissions(dir.filePath("real.ini"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    SettingsLoad load = load_settings(dir.path());
    ASSERT_TRUE(load.ok()) << problem_message(*load.problem).toStdString();
    EXPECT_EQ(load.settings.list_file, "places.txt");
    EXPECT_EQ(load.settings.place, TOKYO);
    EXPECT_EQ(load.settings.point, (Point{35, 41, 22, 139, 41, 30}));

    ASSERT_FALSE(save_settings(dir.path(), "places.txt", "Buenos Aires", Point{-34, 36, 13, -58, 22, 54}, load.stamp));
    EXPECT_EQ(read_bytes(path()), QByteArray("\"places.txt\",\"Buenos Aires\",-34,36,13,-58,22,54\r\n"));
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(QFile::permissions(dir.filePath("real.ini")),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadUser | QFile::WriteUser);
    ASSERT_FALSE(save_settings(dir.path(), "places.txt", TOKYO, Point{35, 41, 22, 139, 41, 30}, load.stamp));
    EXPECT_EQ(read_bytes(path()), INSTALLED);
    EXPECT_FALSE(QFileInfo::exists(path() + ".lock"));
}

TEST_F(SettingsFile, DamagedFilesEndInAProblemAndKeepAReadableListName)
{
    struct Row {
        const char* name;
        QByteArray bytes; // null: a special file of that name, or none
        Kind kind;
        int record, field;
        const char* list; // field 1 as kept for use, or nothing
    };
    const std::vector<Row> rows = {
        {"empty file", "", Kind::CutShort, 1, 1, ""},
        {"cut record", "\"mylist.txt\",\"x\",35,41\r\n", Kind::CutShort, 1, 5, "mylist.txt"},
        {"letters", "\"a.txt\",\"x\",35,4l,22,139,41,30\r\n", Kind::NotANumber, 1, 4, "a.txt"},
        {"seconds 60", "\"a.txt\",\"" + SJIS_TOKYO + "\",35,41,22,139,41,60\r\n", Kind::OutOfRange, 1, 8, "a.txt"},
        {"no list file", "\"\",\"x\",35,0,0,139,41,30\r\n", Kind::EmptyName, 1, 1, ""},
        {"list file not Shift-JIS", "\"\x82\x0d\",\"x\",35,0,0,139,41,30\r\n", Kind::BadText, 1, 1, ""},
        {"UTF-8 text", "\"" + TOKYO.toUtf8() + ".txt\",\"x\",35,0,0,139,41,30\r\n", Kind::SavedAsUtf8, 0, 0, "東京.txt"},
        {"missing", {}, Kind::Missing, 0, 0, ""},
        {"folder", {}, Kind::NotRegularFile, 0, 0, ""},
        {"fifo", {}, Kind::NotRegularFile, 0, 0, ""},
        {"3 GiB", {}, Kind::TooLarge, 0, 0, ""},
    };
    for (const Row& row : rows) {
        QFile::remove(path());
        QDir(dir.path()).rmdir("vantorff.ini");
        if (!row.bytes.isNull())
            write_bytes(path(), row.bytes);
        else if (row.kind != Kind::Missing)
            make_special(path(), row.name);
        const SettingsLoad load = load_settings(dir.path());
        ASSERT_FALSE(load.ok()) << row.name;
        EXPECT_EQ(load.problem->kind, row.kind) << row.name;
        EXPECT_EQ(load.problem->file, FileKind::Settings) << row.name;
        EXPECT_EQ(load.problem->path, path()) << row.name;
        EXPECT_EQ(load.problem->record, row.record) << row.name;
        EXPECT_EQ(load.problem->field, row.field) << row.name;
        EXPECT_EQ(load.damaged(), row.kind != Kind::Missing) << row.name;
        EXPECT_EQ(load.list_file_read ? load.settings.list_file : QString(), QString::fromUtf8(row.list)) << row.name;
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
        QString list_file, place;
        Point point;
        Kind kind;
        int field;
    } const rows[] = {
        {"places.txt", "a\"b", Point{}, Kind::TextNotStorable, 2},
        {"pla\"ces.txt", "x", Point{}, Kind::TextNotStorable, 1},
        {"", "x", Point{}, Kind::EmptyName, 1},
        {"places.txt", "x", Point{90, 0, 0, 0, 0, 0}, Kind::OutOfRange, 3},
        {"places.txt", "x", Point{0, 0, 0, 0, 0, 60}, Kind::OutOfRange, 8},
    };
    for (const Row& row : rows) {
        const auto problem = save_settings(dir.path(), row.list_file, row.place, row.point, stamp);
        ASSERT_TRUE(problem) << row.field;
        EXPECT_EQ(problem->kind, row.kind) << row.field;
        EXPECT_EQ(problem->record, 1) << row.field;
        EXPECT_EQ(problem->field, row.field) << row.field;
    }
    {
        FileSizeLimit limit(300); // the lock file is smaller
        const auto problem = save_settings(dir.path(), "places.txt", QString(400, QLatin1Char('x')), Point{}, stamp);
        ASSERT_TRUE(problem);
        EXPECT_EQ(problem_message(*problem),
                  QString::fromUtf8("設定ファイル「%1」に書き込めませんでした。ファイルは元のままです。\r\n"
                                    "（書き込みに失敗しました：ファイルの大きさの上限を超えます）").arg(path()));
    }
    EXPECT_EQ(read_bytes(path()), INSTALLED);

    // A file that was not there cannot be created: the message does not claim it was kept.
    FileStamp absent;
    const auto problem = save_settings(path(), "places.txt", "x", Point{}, absent);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem_message(*problem), QString::fromUtf8("設定ファイル「%1/vantorff.ini」を作成できませんでした。\r\n"
                                                           "（ロックファイル「%1/vantorff.ini.lock」を作れません："
                                                           "パスの途中にフォルダーでないものがあります）").arg(path()));
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
        {problem(Kind::CutShort, FileKind::Settings, 1, 2),
         "設定ファイル「/opt/orvine/vantorff.ini」の第1レコードが途中で切れています（第2項目「初期設定の地名」から先がありません）。"},
        {problem(Kind::NotANumber, FileKind::PlaceList, 7, 7),
         "地点一覧ファイル「/opt/orvine/places.txt」の第7レコード、第7項目「経度（秒）」が整数ではありません。"},
        {quote, "「a\"b」は地点一覧ファイル「/opt/orvine/places.txt」に記録できません。\r\n地名に「\"」（二重引用符）は使えません。"},
    };
    for (const auto& [p, expected] : rows)
        EXPECT_EQ(problem_message(p), QString::fromUtf8(expected)) << expected;
}
