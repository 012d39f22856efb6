#include "places/place_list_file.h"

#include "file_test_support.h"

#include <gtest/gtest.h>

using namespace orvine;
using namespace orvine::test;
using Kind = FileProblem::Kind;

namespace {

const QString LIST = "places.txt";
const Point TOKYO_PT{35, 41, 22, 139, 41, 30};
const Point OSAKA_PT{34, 41, 38, 135, 30, 8};
const QByteArray TOKYO_REC = "\"" + SJIS_TOKYO + "\",35,41,22,139,41,30\r\n";
const QByteArray OSAKA_REC = "\"" + SJIS_OSAKA + "\",34,41,38,135,30,8\r\n";
const QByteArray SYDNEY_REC = "\"Sydney, NSW\",-33,52,4,151,12,26\r\n";

// Record n of a long list: a distinct name and point for each n.
QByteArray numbered_record(int n)
{
    return "\"P" + QByteArray::number(n) + "\"," + QByteArray::number(n % 90) + ",1,2,-"
        + QByteArray::number(n % 180 + 1) + ",3,4\r\n";
}

QByteArray numbered_records(int count)
{
    QByteArray bytes;
    for (int n = 1; n <= count; ++n)
        bytes += numbered_record(n);
    return bytes;
}

struct PlaceListFile : ::testing::Test {
    ProgramDir dir;
    PlaceTable table;
    QString path() const { return dir.file(LIST); }

    PlaceListLoad load()
    {
        PlaceListLoad result = load_place_list(dir.path(), LIST, table);
        table.place_last = static_cast<std::int16_t>(result.records - 1);
        return result;
    }
    // A table holding stale rows, as left by an earlier, longer list.
    void fill_stale_rows()
    {
        for (Place& row : table.rows)
            row = Place{"stale", Point{1, 1, 1, 1, 1, 1}};
    }
};

} // namespace

TEST_F(PlaceListFile, LoadsInFileOrderAndEmptiesEveryRowBehind)
{
    write_bytes(path(), TOKYO_REC + SYDNEY_REC + OSAKA_REC);
    fill_stale_rows();
    const PlaceListLoad result = load();
    ASSERT_TRUE(result.ok());
    EXPECT_FALSE(result.notice);
    EXPECT_EQ(result.records, 3);
    EXPECT_TRUE(table.loaded_whole());
    EXPECT_EQ(table.rows[0].name, TOKYO);
    EXPECT_EQ(table.rows[0].point, TOKYO_PT);
    EXPECT_EQ(table.rows[1].name, "Sydney, NSW");
    EXPECT_EQ(table.rows[1].point, (Point{-33, 52, 4, 151, 12, 26}));
    EXPECT_EQ(table.rows[2].name, OSAKA);
    for (int i = 3; i < PlaceTable::SIZE; ++i) {
        EXPECT_TRUE(table.rows[i].name.isEmpty()) << i;
        EXPECT_EQ(table.rows[i].point, Point{}) << i;
    }
}

TEST_F(PlaceListFile, EmptyOrMissingFileIsAnEmptyListThatCanGrow)
{
    fill_stale_rows();
    PlaceListLoad result = load();
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.records, 0);
    EXPECT_TRUE(table.loaded_whole());
    EXPECT_TRUE(table.rows[0].name.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path()));

    table.rows[0] = Place{TOKYO, TOKYO_PT};
    table.place_last = 0;
    ASSERT_FALSE(save_place_list(dir.path(), LIST, table));
    EXPECT_EQ(read_bytes(path()), TOKYO_REC);

    write_bytes(path(), "");
    result = load();
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.records, 0);
    EXPECT_TRUE(table.loaded_whole());
}

TEST_F(PlaceListFile, AnEmptyNameEndsTheListAndLaterRecordsAreReported)
{
    write_bytes(path(), TOKYO_REC + "\"\",0,0,0,0,0,0\r\n" + OSAKA_REC);
    PlaceListLoad result = load();
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.records, 1);
    EXPECT_TRUE(table.loaded_whole());
    EXPECT_TRUE(table.rows[1].name.isEmpty());
    ASSERT_TRUE(result.notice);
    EXPECT_EQ(result.notice->kind, Kind::RecordsAfterEmptyName);
    EXPECT_EQ(result.notice->record, 2);
    EXPECT_EQ(result.notice->path, path());

    // An empty name at the very end hides nothing; its values are not loaded, so they may
    // be anything numeric.
    write_bytes(path(), TOKYO_REC + "\"\",999,0,0,0,0,0\r\n\r\n");
    result = load();
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.records, 1);
    EXPECT_FALSE(result.notice);
}

TEST_F(PlaceListFile, HundredAndOneRecordsLoadWholeHundredAndTwoDoNot)
{
    const QByteArray full = numbered_records(101);
    write_bytes(path(), full);
    PlaceListLoad result = load();
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.records, 101);
    EXPECT_EQ(table.rows[100].name, "P101");
    EXPECT_EQ(table.rows[100].point, (Point{11, 1, 2, -102, 3, 4}));
    ASSERT_FALSE(save_place_list(dir.path(), LIST, table));
    EXPECT_EQ(read_bytes(path()), full);

    const QByteArray too_long = numbered_records(102);
    write_bytes(path(), too_long);
    result = load();
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.problem->kind, Kind::TooManyRecords);
    EXPECT_EQ(result.problem->record, 102);
    EXPECT_EQ(result.records, 101);
    EXPECT_FALSE(table.loaded_whole());
    auto refused = save_place_list(dir.path(), LIST, table);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->kind, Kind::NotLoadedWhole);
    EXPECT_EQ(read_bytes(path()), too_long);
}

TEST_F(PlaceListFile, DamagedListIsShownInPartButNeverRewritten)
{
    struct Row {
        const char* name;
        QByteArray bytes;
        Kind kind;
        int record;
        int field;
    };
    const std::vector<Row> rows = {
        {"cut record", TOKYO_REC + "\"x\",1,2,3,4\r\n", Kind::CutShort, 2, 6},
        {"letters", TOKYO_REC + "\"x\",1,2,3,four,5,6\r\n" + OSAKA_REC, Kind::NotANumber, 2, 5},
        {"fraction", TOKYO_REC + "\"x\",1,2,3,4,5,6.0\r\n", Kind::NotANumber, 2, 7},
        {"latitude out of range", TOKYO_REC + "\"x\",-90,2,3,4,5,6\r\n", Kind::OutOfRange, 2, 2},
        {"seconds out of range", TOKYO_REC + "\"x\",1,2,3,4,5,60\r\n", Kind::OutOfRange, 2, 7},
        {"longitude out of range", TOKYO_REC + "\"x\",1,2,3,180,5,6\r\n", Kind::OutOfRange, 2, 5},
        {"quote inside a name", TOKYO_REC + "\"a\"b\",1,2,3,4,5,6\r\n", Kind::BadText, 2, 1},
    };
    for (const Row& row : rows) {
        write_bytes(path(), row.bytes);
        fill_stale_rows();
        const PlaceListLoad result = load();
        ASSERT_FALSE(result.ok()) << row.name;
        EXPECT_EQ(result.problem->kind, row.kind) << row.name;
        EXPECT_EQ(result.problem->file, FileKind::PlaceList) << row.name;
        EXPECT_EQ(result.problem->path, path()) << row.name;
        EXPECT_EQ(result.problem->record, row.record) << row.name;
        EXPECT_EQ(result.problem->field, row.field) << row.name;
        EXPECT_EQ(result.records, 1) << row.name;
        EXPECT_EQ(table.rows[0].name, TOKYO) << row.name;
        EXPECT_TRUE(table.rows[1].name.isEmpty()) << row.name;
        EXPECT_FALSE(table.loaded_whole()) << row.name;

        for (auto problem : {save_place_list(dir.path(), LIST, table),
                             save_place_list_skipping(dir.path(), LIST, table, 0),
                             save_place_list_replacing(dir.path(), LIST, table, 0, Place{OSAKA, OSAKA_PT})}) {
            ASSERT_TRUE(problem) << row.name;
            EXPECT_EQ(problem->kind, Kind::NotLoadedWhole) << row.name;
        }
        EXPECT_EQ(read_bytes(path()), row.bytes) << row.name;
    }
}

TEST_F(PlaceListFile, UnreadableFile)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(LIST));
    fill_stale_rows();
    const PlaceListLoad result = load();
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.problem->kind, Kind::Unreadable);
    EXPECT_EQ(result.records, 0);
    EXPECT_TRUE(table.rows[0].name.isEmpty());
    EXPECT_FALSE(table.loaded_whole());
}

TEST_F(PlaceListFile, AddCorrectAndDeleteRewriteTheWholeFile)
{
    write_bytes(path(), TOKYO_REC + SYDNEY_REC);
    ASSERT_TRUE(load().ok());

    // Addition: the table first, then the file.
    table.rows[2] = Place{OSAKA, OSAKA_PT};
    table.place_last = 2;
    ASSERT_FALSE(save_place_list(dir.path(), LIST, table));
    EXPECT_EQ(read_bytes(path()), TOKYO_REC + SYDNEY_REC + OSAKA_REC);

    // Correction: the file first, the table untouched by the save.
    ASSERT_FALSE(save_place_list_replacing(dir.path(), LIST, table, 1, Place{"Lima", Point{-12, 2, 36, -77, 1, 42}}));
    EXPECT_EQ(read_bytes(path()), TOKYO_REC + "\"Lima\",-12,2,36,-77,1,42\r\n" + OSAKA_REC);
    EXPECT_EQ(table.rows[1].name, "Sydney, NSW");
    table.rows[1] = Place{"Lima", Point{-12, 2, 36, -77, 1, 42}};

    // Deletion: the records behind move up; then the table is read back.
    ASSERT_FALSE(save_place_list_skipping(dir.path(), LIST, table, 0));
    EXPECT_EQ(read_bytes(path()), "\"Lima\",-12,2,36,-77,1,42\r\n" + OSAKA_REC);
    PlaceListLoad result = load();
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.records, 2);
    EXPECT_EQ(table.rows[0].name, "Lima");
    EXPECT_EQ(table.rows[1].name, OSAKA);
    EXPECT_TRUE(table.rows[2].name.isEmpty());

    ASSERT_FALSE(save_place_list_skipping(dir.path(), LIST, table, 1));
    ASSERT_TRUE(load().ok());
    // Deleting the only place leaves a file of zero bytes.
    ASSERT_FALSE(save_place_list_skipping(dir.path(), LIST, table, 0));
    EXPECT_TRUE(QFileInfo::exists(path()));
    EXPECT_EQ(QFileInfo(path()).size(), 0);
    result = load();
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.records, 0);
}

TEST_F(PlaceListFile, RowsTheFileCannotHoldAreRefusedWithNothingWritten)
{
    const QByteArray original = TOKYO_REC + OSAKA_REC;
    write_bytes(path(), original);
    ASSERT_TRUE(load().ok());

    struct Row {
        const char* name;
        Place place;
        Kind kind;
        int field;
        TextFault fault;
    };
    const std::vector<Row> rows = {
        {"double quote", Place{"a\"b", TOKYO_PT}, Kind::TextNotStorable, 1, TextFault::DoubleQuote},
        {"line feed", Place{"a\nb", TOKYO_PT}, Kind::TextNotStorable, 1, TextFault::LineBreak},
        {"not in code page 932", Place{QString::fromUtf8("München"), TOKYO_PT}, Kind::TextNotStorable, 1,
         TextFault::NotShiftJis},
        {"empty name", Place{"", TOKYO_PT}, Kind::EmptyName, 1, TextFault::None},
        {"minutes 60", Place{"x", Point{0, 60, 0, 0, 0, 0}}, Kind::OutOfRange, 3, TextFault::None},
        {"longitude 180", Place{"x", Point{0, 0, 0, 180, 0, 0}}, Kind::OutOfRange, 5, TextFault::None},
    };
    for (const Row& row : rows) {
        auto problem = save_place_list_replacing(dir.path(), LIST, table, 1, row.place);
        ASSERT_TRUE(problem) << row.name;
        EXPECT_EQ(problem->kind, row.kind) << row.name;
        EXPECT_EQ(problem->record, 2) << row.name;
        EXPECT_EQ(problem->field, row.field) << row.name;
        EXPECT_EQ(problem->text_fault, row.fault) << row.name;

        PlaceTable added = table;
        added.rows[2] = row.place;
        added.place_last = 2;
        problem = save_place_list(dir.path(), LIST, added);
        ASSERT_TRUE(problem) << row.name;
        EXPECT_EQ(problem->kind, row.kind) << row.name;
        EXPECT_EQ(problem->record, 3) << row.name;
        EXPECT_EQ(read_bytes(path()), original) << row.name;
    }

    for (int index : {-2, 2, 100}) {
        auto problem = save_place_list_skipping(dir.path(), LIST, table, index);
        ASSERT_TRUE(problem) << index;
        EXPECT_EQ(problem->kind, Kind::NoSuchEntry) << index;
        problem = save_place_list_replacing(dir.path(), LIST, table, index, Place{"x", Point{}});
        ASSERT_TRUE(problem) << index;
        EXPECT_EQ(problem->kind, Kind::NoSuchEntry) << index;
    }
    EXPECT_TRUE(save_place_list_skipping(dir.path(), LIST, table, -1));
    EXPECT_EQ(read_bytes(path()), original);

    // A table that was never loaded is never written.
    PlaceTable fresh;
    fresh.rows[0] = Place{TOKYO, TOKYO_PT};
    fresh.place_last = 0;
    auto problem = save_place_list(dir.path(), LIST, fresh);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->kind, Kind::NotLoadedWhole);
    EXPECT_EQ(read_bytes(path()), original);
}

TEST_F(PlaceListFile, FailedWriteKeepsTheOldFile)
{
    ASSERT_TRUE(load().ok());
    table.rows[0] = Place{TOKYO, TOKYO_PT};
    table.place_last = 0;

    // Root ignores permissions, so the file system itself must refuse: a directory where
    // the file should be, or a program directory that is a plain file.
    ASSERT_TRUE(QDir(dir.path()).mkpath(LIST + "/inner"));
    auto problem = save_place_list(dir.path(), LIST, table);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->kind, Kind::WriteFailed);
    EXPECT_EQ(problem->path, path());
    EXPECT_TRUE(QFileInfo(path()).isDir());

    write_bytes(dir.file("plain"), "x");
    problem = save_place_list(dir.file("plain"), LIST, table);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->kind, Kind::WriteFailed);
    EXPECT_EQ(read_bytes(dir.file("plain")), QByteArray("x"));
}

TEST_F(PlaceListFile, NameCheckReadsEveryRecordPastAnEmptyName)
{
    write_bytes(path(), TOKYO_REC + OSAKA_REC + SYDNEY_REC);
    ASSERT_TRUE(load().ok());
    ASSERT_EQ(table.place_last, 2);

    const QByteArray changed = OSAKA_REC + "\"\",1,2,3,4,5,6\r\n" + TOKYO_REC;
    write_bytes(path(), changed);
    const NameCheckRead read = read_places_for_name_check(dir.path(), LIST, table);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.records, 3);
    EXPECT_EQ(table.rows[0].name, OSAKA);
    EXPECT_TRUE(table.rows[1].name.isEmpty());
    EXPECT_EQ(table.rows[1].point, (Point{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(table.rows[2].name, TOKYO);
    EXPECT_EQ(table.place_last, 2);
    EXPECT_EQ(read_bytes(path()), changed);
    // The rows no longer mirror the list, so they cannot be written back.
    EXPECT_FALSE(table.loaded_whole());

    EXPECT_TRUE(name_conflicts(table, read.records, TOKYO, Point{35, 41, 23, 139, 41, 30}));
    EXPECT_FALSE(name_conflicts(table, read.records, TOKYO, TOKYO_PT));
    EXPECT_FALSE(name_conflicts(table, read.records, "Nowhere", Point{}));
    EXPECT_FALSE(name_conflicts(table, 2, TOKYO, Point{}));
}

TEST_F(PlaceListFile, NameCheckThatCannotCompleteLeavesTheTableAlone)
{
    write_bytes(path(), TOKYO_REC + OSAKA_REC);
    ASSERT_TRUE(load().ok());
    const PlaceTable before = table;

    for (const QByteArray& bytes : {SYDNEY_REC + "\"x\",1,2", numbered_records(102), SYDNEY_REC + "\"x\",1,2,3,4,5,99\r\n"}) {
        write_bytes(path(), bytes);
        const NameCheckRead read = read_places_for_name_check(dir.path(), LIST, table);
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(read.problem->path, path());
        for (int i = 0; i < PlaceTable::SIZE; ++i)
            EXPECT_EQ(table.rows[i].name, before.rows[i].name) << i;
        EXPECT_TRUE(table.loaded_whole());
    }

    ASSERT_TRUE(QFile::remove(path()));
    const NameCheckRead read = read_places_for_name_check(dir.path(), LIST, table);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.records, 0);
}

TEST(PlaceListMessages, NameFileRecordAndField)
{
    FileProblem p;
    p.kind = Kind::NotANumber;
    p.file = FileKind::PlaceList;
    p.path = "/opt/orvine/places.txt";
    p.record = 7;
    p.field = 5;
    EXPECT_EQ(problem_message(p), QString::fromUtf8("地点一覧ファイル「/opt/orvine/places.txt」の第7レコード、第5項目「経度（度）」が整数ではありません。"));
    p.kind = Kind::TextNotStorable;
    p.field = 1;
    p.text_fault = TextFault::DoubleQuote;
    p.detail = "a\"b";
    EXPECT_EQ(problem_message(p), QString::fromUtf8("「a\"b」は地点一覧ファイル「/opt/orvine/places.txt」に記録できません。\r\n"
                                                    "地名に「\"」（二重引用符）は使えません。"));
}
