#include "files/place_list_file.h"

#include "file_faults.h"
#include "file_test_support.h"

#include <QLockFile>

#include <gtest/gtest.h>

using namespace orvine;
using namespace orvine::test;
using Kind = FileProblem::Kind;

namespace {

const QString LIST = "places.txt";
const Point TOKYO_PT{35, 41, 22, 139, 41, 30};
const Point OSAKA_PT{34, 41, 38, 135, 30, 8};
const Point LIMA_PT{-12, 2, 36, -77, 1, 42};
const QByteArray TOKYO_REC = "\"" + SJIS_TOKYO + "\",35,41,22,139,41,30\r\n";
const QByteArray OSAKA_REC = "\"" + SJIS_OSAKA + "\",34,41,38,135,30,8\r\n";
const QByteArray SYDNEY_REC = "\"Sydney, NSW\",-33,52,4,151,12,26\r\n";
const QByteArray LIMA_REC = "\"Lima\",-12,2,36,-77,1,42\r\n";

// Records "P1" … with a distinct name and point for each.
QByteArray numbered_records(int count)
{
    QByteArray bytes;
    for (int n = 1; n <= count; ++n)
        bytes += "\"P" + QByteArray::number(n) + "\"," + QByteArray::number(n % 90) + ",1,2,-"
            + QByteArray::number(n % 180 + 1) + ",3,4\r\n";
    return bytes;
}

struct PlaceListFile : ::testing::Test {
    ProgramDir dir;
    PlaceTable table;
    QString path() const { return dir.file(LIST); }

    // Loads into a table holding stale rows, as left by an earlier, longer list.
    PlaceListLoad load()
    {
        for (Place& row : table.rows)
            row = Place{"stale", Point{1, 1, 1, 1, 1, 1}};
        PlaceListLoad result = load_place_list(dir.path(), LIST, table);
        table.place_last = static_cast<std::int16_t>(result.records - 1);
        for (int i = result.records; i < PlaceTable::SIZE; ++i) {
            EXPECT_TRUE(table.rows[i].name.isEmpty()) << i;
            EXPECT_EQ(table.rows[i].point, Point{}) << i;
        }
        return result;
    }
    QStringList names() const
    {
        QStringList out;
        for (int i = 0; i <= table.place_last; ++i)
            out << table.rows[i].name;
        return out;
    }
};

} // namespace

TEST_F(PlaceListFile, LoadsInFileOrderUpToAnEmptyName)
{
    write_bytes(path(), TOKYO_REC + SYDNEY_REC + OSAKA_REC);
    PlaceListLoad result = load();
    ASSERT_TRUE(result.ok());
    EXPECT_FALSE(result.notice);
    EXPECT_TRUE(table.loaded_whole());
    EXPECT_EQ(names(), (QStringList{TOKYO, "Sydney, NSW", OSAKA}));
    EXPECT_EQ(table.rows[0].point, TOKYO_PT);
    EXPECT_EQ(table.rows[1].point, (Point{-33, 52, 4, 151, 12, 26}));

    // Records behind an empty name are not loaded, and the caller is told so; the table is
    // then not the whole file and cannot be written back.
    write_bytes(path(), TOKYO_REC + "\"\",0,0,0,0,0,0\r\n" + OSAKA_REC);
    result = load();
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(names(), QStringList{TOKYO});
    EXPECT_FALSE(table.loaded_whole());
    EXPECT_EQ(save_place_list(dir.path(), LIST, table)->kind, Kind::NotLoadedWhole);
    ASSERT_TRUE(result.notice);
    EXPECT_EQ(result.notice->kind, Kind::RecordsAfterEmptyName);
    EXPECT_EQ(result.notice->record, 2);
    EXPECT_EQ(result.notice->path, path());

    // What old editors leave, plus signs and an end-of-file mark, reads as written.
    const QByteArray dos = "\"Lima\",-12,+2,+36,-77,1,42\r\n\x1a";
    write_bytes(path(), dos);
    result = load();
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(table.loaded_whole());
    EXPECT_EQ(table.rows[0].point, LIMA_PT);
    EXPECT_EQ(read_bytes(path()), dos);

    // An empty name at the very end hides nothing; its values are not loaded, so they may
    // be anything numeric.
    write_bytes(path(), TOKYO_REC + "\"\",999,0,0,0,0,0\r\n\r\n");
    result = load();
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.records, 1);
    EXPECT_FALSE(result.notice);
}

TEST_F(PlaceListFile, MissingOrEmptyFileIsAnEmptyListThatCanGrow)
{
    for (bool missing : {true, false}) {
        if (!missing)
            write_bytes(path(), "");
        const PlaceListLoad result = load();
        ASSERT_TRUE(result.ok()) << missing;
        EXPECT_EQ(result.records, 0) << missing;
        EXPECT_TRUE(table.loaded_whole()) << missing;
        EXPECT_EQ(QFileInfo::exists(path()), !missing);
    }
    table.rows[0] = Place{TOKYO, TOKYO_PT};
    table.place_last = 0;
    ASSERT_FALSE(save_place_list(dir.path(), LIST, table));
    EXPECT_EQ(read_bytes(path()), TOKYO_REC);
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

    write_bytes(path(), full + "\"P102\",1,1,2,-1,3,4\r\n");
    result = load();
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.problem->kind, Kind::TooManyRecords);
    EXPECT_EQ(result.problem->record, 102);
    EXPECT_EQ(result.records, 101);
    EXPECT_FALSE(table.loaded_whole());
    auto refused = save_place_list(dir.path(), LIST, table);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->kind, Kind::NotLoadedWhole);
    EXPECT_EQ(read_bytes(path()), full + "\"P102\",1,1,2,-1,3,4\r\n");
}

TEST_F(PlaceListFile, DamagedOrHostileListIsShownInPartButNeverRewritten)
{
    struct Row {
        const char* name;
        QByteArray bytes; // null: made by the test (see below)
        Kind kind;
        int record, field;
        const char* says; // in the message
        int shown = 0;
        QString list_file = LIST;
    };
    const QByteArray long_name = "\"" + QByteArray(MAX_TEXT_LENGTH + 1, 'a') + "\",1,2,3,4,5,6\r\n";
    const std::vector<Row> rows = {
        {"cut record", TOKYO_REC + "\"x\",1,2,3,4\r\n", Kind::CutShort, 2, 6, "途中で切れて", 1},
        {"letters", TOKYO_REC + "\"x\",1,2,3,four,5,6\r\n" + OSAKA_REC, Kind::NotANumber, 2, 5, "整数ではありません", 1},
        {"fraction", TOKYO_REC + "\"x\",1,2,3,4,5,6.0\r\n", Kind::NotANumber, 2, 7, "整数ではありません", 1},
        {"latitude out of range", TOKYO_REC + "\"x\",-90,2,3,4,5,6\r\n", Kind::OutOfRange, 2, 2, "範囲", 1},
        {"longitude out of range", TOKYO_REC + "\"x\",1,2,3,180,5,6\r\n", Kind::OutOfRange, 2, 5, "範囲", 1},
        {"quote inside a name", TOKYO_REC + "\"a\"b\",1,2,3,4,5,6\r\n", Kind::BadText, 2, 1, "余分な文字", 1},
        {"name longer than the text box", TOKYO_REC + long_name, Kind::BadText, 2, 1, "32767文字を超えています", 1},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + TOKYO_REC, Kind::SavedAsUtf8, 0, 0, "UTF-8 で保存されています"},
        {"UTF-8 text", "\"" + TOKYO.toUtf8() + "\",35,41,22,139,41,30\r\n", Kind::SavedAsUtf8, 0, 0,
         "Shift-JIS で保存し直してください"},
        {"a directory", {}, Kind::NotRegularFile, 0, 0, "フォルダーです"},
        {"a named pipe", {}, Kind::NotRegularFile, 0, 0, "名前付きパイプ（FIFO）です"},
        {"a link to /dev/zero", {}, Kind::NotRegularFile, 0, 0, "デバイスです"},
        {"3 GiB", {}, Kind::TooLarge, 0, 0, "3221225472 バイト"},
        {"absolute list name", TOKYO_REC, Kind::BadFileName, 0, 0, "相対パス", 0, "/etc/passwd"},
        {"list name of a folder", TOKYO_REC, Kind::BadFileName, 0, 0, "相対パス", 0, LIST + "/"},
        {"list name with NUL", TOKYO_REC, Kind::BadFileName, 0, 0, "相対パス", 0, LIST + QChar(0)},
    };
    for (const Row& row : rows) {
        QFile::remove(path());
        QDir(dir.path()).rmdir(LIST);
        if (row.name == std::string("a directory"))
            ASSERT_TRUE(QDir(dir.path()).mkdir(LIST));
        else if (row.name == std::string("a named pipe"))
            ASSERT_TRUE(make_fifo(path()));
        else if (row.name == std::string("a link to /dev/zero"))
            ASSERT_TRUE(QFile::link("/dev/zero", path()));
        else if (row.name == std::string("3 GiB"))
            ASSERT_TRUE(make_sparse_file(path(), 3LL << 30));
        else
            write_bytes(path(), row.bytes);
        for (Place& r : table.rows)
            r = Place{"stale", Point{1, 1, 1, 1, 1, 1}};
        const PlaceListLoad result = load_place_list(dir.path(), row.list_file, table);
        table.place_last = static_cast<std::int16_t>(result.records - 1);
        ASSERT_FALSE(result.ok()) << row.name;
        EXPECT_EQ(result.problem->kind, row.kind) << row.name;
        EXPECT_EQ(result.problem->file, FileKind::PlaceList) << row.name;
        EXPECT_EQ(result.problem->record, row.record) << row.name;
        EXPECT_EQ(result.problem->field, row.field) << row.name;
        const QString message = problem_message(*result.problem);
        EXPECT_TRUE(message.contains(QString::fromUtf8(row.says))) << row.name << message.toStdString();
        EXPECT_EQ(names(), QStringList(row.shown, TOKYO)) << row.name;
        EXPECT_TRUE(table.rows[row.shown].name.isEmpty()) << row.name;
        EXPECT_FALSE(table.loaded_whole()) << row.name;

        for (auto problem : {save_place_list(dir.path(), row.list_file, table),
                             save_place_list_skipping(dir.path(), row.list_file, table, 0),
                             save_place_list_replacing(dir.path(), row.list_file, table, 0, Place{OSAKA, OSAKA_PT})}) {
            ASSERT_TRUE(problem) << row.name;
            EXPECT_EQ(problem->kind, Kind::NotLoadedWhole) << row.name;
        }
        // The main window's name check refuses the same files, without blocking either.
        PlaceTable check;
        const NameCheckRead read = read_places_for_name_check(dir.path(), row.list_file, check);
        ASSERT_FALSE(read.ok()) << row.name;
        EXPECT_EQ(read.problem->kind, row.kind) << row.name;
        if (!row.bytes.isNull()) {
            EXPECT_EQ(read_bytes(path()), row.bytes) << row.name;
        } else if (row.kind == Kind::TooLarge) {
            EXPECT_EQ(QFileInfo(path()).size(), 3LL << 30);
        }
    }
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
    ASSERT_FALSE(save_place_list_replacing(dir.path(), LIST, table, 1, Place{"Lima", LIMA_PT}));
    EXPECT_EQ(read_bytes(path()), TOKYO_REC + LIMA_REC + OSAKA_REC);
    EXPECT_EQ(table.rows[1].name, "Sydney, NSW");
    table.rows[1] = Place{"Lima", LIMA_PT};

    // Deletion: the records behind move up; deleting the only place leaves zero bytes.
    ASSERT_FALSE(save_place_list_skipping(dir.path(), LIST, table, 0));
    EXPECT_EQ(read_bytes(path()), LIMA_REC + OSAKA_REC);
    ASSERT_TRUE(load().ok());
    EXPECT_EQ(names(), (QStringList{"Lima", OSAKA}));
    ASSERT_FALSE(save_place_list_skipping(dir.path(), LIST, table, 1));
    ASSERT_TRUE(load().ok());
    ASSERT_FALSE(save_place_list_skipping(dir.path(), LIST, table, 0));
    EXPECT_TRUE(QFileInfo::exists(path()));
    EXPECT_EQ(read_bytes(path()), QByteArray());
}

TEST_F(PlaceListFile, RefusedOrFailedWritesKeepTheOldFile)
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
    }
    for (int index : {-2, 2, 100}) {
        auto skip = save_place_list_skipping(dir.path(), LIST, table, index);
        auto replace = save_place_list_replacing(dir.path(), LIST, table, index, Place{"x", Point{}});
        ASSERT_TRUE(skip && replace) << index;
        EXPECT_EQ(skip->kind, Kind::NoSuchEntry) << index;
        EXPECT_EQ(replace->kind, Kind::NoSuchEntry) << index;
    }
    EXPECT_TRUE(save_place_list_skipping(dir.path(), LIST, table, -1));

    // A table that was never loaded is never written.
    PlaceTable fresh;
    fresh.rows[0] = Place{TOKYO, TOKYO_PT};
    fresh.place_last = 0;
    auto problem = save_place_list(dir.path(), LIST, fresh);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->kind, Kind::NotLoadedWhole);
    EXPECT_EQ(read_bytes(path()), original);

    // A write that fails half-way, as on a full disk, leaves every byte.
    table.rows[2] = Place{QString(400, QLatin1Char('x')), TOKYO_PT};
    table.place_last = 2;
    {
        FileSizeLimit limit(300);
        problem = save_place_list(dir.path(), LIST, table);
    }
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->kind, Kind::WriteFailed);
    EXPECT_EQ(problem->path, path());
    EXPECT_EQ(read_bytes(path()), original);

    // Another instance is rewriting the file: no write until it is done.
    {
        QLockFile other(path() + ".lock");
        ASSERT_TRUE(other.tryLock(0));
        problem = save_place_list(dir.path(), LIST, table);
    }
    ASSERT_TRUE(problem);
    EXPECT_TRUE(problem_message(*problem).contains(QString::fromUtf8("別の Orvine が書き込み中です")));
    EXPECT_EQ(read_bytes(path()), original);

    // Changed since it was read, here by a text editor: not overwritten.
    write_bytes(path(), OSAKA_REC);
    problem = save_place_list(dir.path(), LIST, table);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->kind, Kind::ChangedElsewhere);
    EXPECT_EQ(read_bytes(path()), OSAKA_REC);
}

TEST_F(PlaceListFile, NameCheckReadsEveryRecordPastAnEmptyName)
{
    write_bytes(path(), TOKYO_REC + OSAKA_REC + SYDNEY_REC);
    ASSERT_TRUE(load().ok());
    const PlaceTable before = table;

    // A read that cannot complete leaves the table alone.
    for (const QByteArray& bytes :
         {SYDNEY_REC + "\"x\",1,2", numbered_records(102), SYDNEY_REC + "\"x\",1,2,3,4,5,99\r\n"}) {
        write_bytes(path(), bytes);
        const NameCheckRead read = read_places_for_name_check(dir.path(), LIST, table);
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(read.problem->path, path());
        EXPECT_EQ(names(), (QStringList{TOKYO, OSAKA, "Sydney, NSW"}));
        EXPECT_EQ(table.rows[3].name, before.rows[3].name);
        EXPECT_TRUE(table.loaded_whole());
    }

    const QByteArray changed = OSAKA_REC + "\"\",1,2,3,4,5,6\r\n" + TOKYO_REC;
    write_bytes(path(), changed);
    const NameCheckRead read = read_places_for_name_check(dir.path(), LIST, table);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.records, 3);
    EXPECT_EQ(names(), (QStringList{OSAKA, "", TOKYO}));
    EXPECT_EQ(table.rows[1].point, (Point{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(read_bytes(path()), changed);
    // The rows no longer mirror the list, so they cannot be written back.
    EXPECT_FALSE(table.loaded_whole());

    EXPECT_TRUE(name_conflicts(table, read.records, TOKYO, Point{35, 41, 23, 139, 41, 30}));
    EXPECT_FALSE(name_conflicts(table, read.records, TOKYO, TOKYO_PT));
    EXPECT_FALSE(name_conflicts(table, read.records, "Nowhere", Point{}));
    EXPECT_FALSE(name_conflicts(table, 2, TOKYO, Point{}));

    ASSERT_TRUE(QFile::remove(path()));
    const NameCheckRead none = read_places_for_name_check(dir.path(), LIST, table);
    EXPECT_TRUE(none.ok());
    EXPECT_EQ(none.records, 0);
}
