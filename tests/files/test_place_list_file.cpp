#include "files/place_list_file.h"

#include "file_test_support.h"

#include <sys/file.h>

using namespace orvine;
using namespace orvine::test;

namespace {

const QString LIST = "places.txt";
const Point TOKYO_PT{35, 41, 22, 139, 41, 30}, OSAKA_PT{34, 41, 38, 135, 30, 8};
const QByteArray TOKYO_REC = "\"" + SJIS_TOKYO + "\",35,41,22,139,41,30\r\n";
const QByteArray OSAKA_REC = "\"" + SJIS_OSAKA + "\",34,41,38,135,30,8\r\n";
const QByteArray SYDNEY_REC = "\"Sydney, NSW\",-33,52,4,151,12,26\r\n";

QByteArray numbered_records(int count) // "P1" ... with distinct points
{
    QByteArray bytes;
    for (int n = 1; n <= count; ++n)
        bytes += "\"P" + QByteArray::number(n) + "\"," + QByteArray::number(n % 90) + ",1,2,-"
            + QByteArray::number(n % 180 + 1) + ",3,4\r\n";
    return bytes;
}

struct PlaceListFile : ::testing::Test {
    QTemporaryDir dir;
    PlaceTable table;
    QString path() const { return dir.filePath(LIST); }

    // Loads into a table holding stale rows, as left by an earlier, longer list.
    PlaceListLoad load(const QString& list_file = LIST)
    {
        for (Place& row : table.rows)
            row = Place{"stale", Point{1, 1, 1, 1, 1, 1}};
        PlaceListLoad result = load_place_list(dir.path(), list_file, table);
        table.place_last = static_cast<std::int16_t>(result.records - 1);
        for (int i = result.records; i < PlaceTable::SIZE; ++i)
            EXPECT_TRUE(table.rows[i].name.isEmpty() && table.rows[i].point == Point{}) << i;
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
    EXPECT_TRUE(load().ok() && table.loaded_whole()); // a missing file is an empty list
    write_bytes(path(), TOKYO_REC + SYDNEY_REC);
    ASSERT_TRUE(load().ok());
    EXPECT_EQ(names(), (QStringList{TOKYO, "Sydney, NSW"}));
    EXPECT_EQ(table.rows[1].point, (Point{-33, 52, 4, 151, 12, 26}));
    // Records behind an empty name: the table is not the whole file, so it must not be written back.
    write_bytes(path(), TOKYO_REC + "\"\",0,0,0,0,0,0\r\n" + OSAKA_REC);
    PlaceListLoad result = load();
    EXPECT_TRUE(result.ok() && !table.loaded_whole());
    EXPECT_EQ(names(), QStringList{TOKYO});
    EXPECT_EQ(where(result.notice), tuple(Kind::RecordsAfterEmptyName, 2, 0));
    EXPECT_EQ(where(save_place_list(dir.path(), LIST, table)), tuple(Kind::NotLoadedWhole, 0, 0));
    // An empty name at the very end hides nothing; its values need not be within range.
    write_bytes(path(), TOKYO_REC + "\"\",999,0,0,0,0,0\r\n\r\n");
    result = load();
    EXPECT_TRUE(result.ok() && !result.notice && table.loaded_whole() && result.records == 1);
}

TEST_F(PlaceListFile, HundredAndOneRecordsLoadWholeHundredAndTwoDoNot)
{
    const QByteArray full = numbered_records(101);
    write_bytes(path(), full);
    ASSERT_EQ(load().records, 101);
    EXPECT_EQ(table.rows[100].point, (Point{11, 1, 2, -102, 3, 4}));
    write_bytes(path(), full + "\"P102\",1,1,2,-1,3,4\r\n");
    const PlaceListLoad result = load();
    EXPECT_EQ(where(result.problem), tuple(Kind::TooManyRecords, 102, 0));
    EXPECT_TRUE(result.records == 101 && !table.loaded_whole());
}

TEST_F(PlaceListFile, DamagedOrHostileListIsShownInPartButNeverRewritten)
{
    const struct Row {
        const char* name;
        QByteArray bytes; // null: a special file of that name
        tuple<Kind, int, int> problem;
        const char* says; // in the message
        int shown = 0;
        QString list_file = LIST;
    } rows[] = {
        {"letters", TOKYO_REC + "\"x\",1,2,3,four,5,6\r\n" + OSAKA_REC, {Kind::NotANumber, 2, 5},
         "の第2レコード、第5項目「経度（度）」が整数ではありません", 1},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + TOKYO_REC, {Kind::SavedAsUtf8, 0, 0}, "UTF-8 で保存されています"},
        {"absolute list name", TOKYO_REC, {Kind::BadFileName, 0, 0}, "相対パス", 0, "/etc/passwd"},
        {"list name of a folder", TOKYO_REC, {Kind::BadFileName, 0, 0}, "相対パス", 0, LIST + "/"},
        {"list name with NUL", TOKYO_REC, {Kind::BadFileName, 0, 0}, "相対パス", 0, LIST + QChar(0)},
        {"folder", {}, {Kind::NotRegularFile, 0, 0}, "フォルダーです"},
        {"fifo", {}, {Kind::NotRegularFile, 0, 0}, "名前付きパイプ（FIFO）です"},
        {"device", {}, {Kind::NotRegularFile, 0, 0}, "デバイスです"},
        // Behind it the file may be out of reach for now (a disk not mounted): not an empty list.
        {"dangling link", {}, {Kind::Unreadable, 0, 0}, "を読み込めません。\r\n（リンク先のファイルがありません）"},
        {"3 GiB", {}, {Kind::TooLarge, 0, 0}, "大きすぎるため読み込みません（3221225472 バイト。8388608 バイトまでです）"},
    };
    for (const Row& row : rows) {
        QFile::remove(path());
        QDir(dir.path()).rmdir(LIST);
        if (row.bytes.isNull())
            make_special(path(), row.name);
        else
            write_bytes(path(), row.bytes);
        const PlaceListLoad result = load(row.list_file);
        ASSERT_EQ(where(result.problem), row.problem) << row.name;
        EXPECT_TRUE(problem_message(*result.problem).contains(QString::fromUtf8(row.says))) << row.name;
        EXPECT_EQ(names(), QStringList(row.shown, TOKYO)) << row.name;
        EXPECT_FALSE(table.loaded_whole()) << row.name;
        for (const auto& problem :
             {save_place_list(dir.path(), row.list_file, table),
              save_place_list_skipping(dir.path(), row.list_file, table, 0),
              save_place_list_replacing(dir.path(), row.list_file, table, 0, Place{OSAKA, OSAKA_PT})})
            EXPECT_EQ(where(problem), tuple(Kind::NotLoadedWhole, 0, 0)) << row.name;
        // The main window's name check refuses the same files, without blocking either.
        EXPECT_EQ(where(read_places_for_name_check(dir.path(), row.list_file).problem), row.problem) << row.name;
        EXPECT_TRUE(row.bytes.isNull() || read_bytes(path()) == row.bytes) << row.name;
    }
    EXPECT_EQ(QFileInfo(path()).size(), 3LL << 30);
}

TEST_F(PlaceListFile, RefusedOrFailedWritesKeepTheOldFile)
{
    const QByteArray original = TOKYO_REC + OSAKA_REC;
    write_bytes(path(), original);
    ASSERT_TRUE(load().ok());
    const tuple<Place, Kind, int> rows[] = {{Place{QString::fromUtf8("München"), TOKYO_PT}, Kind::TextNotStorable, 1},
                                            {Place{"", TOKYO_PT}, Kind::EmptyName, 1},
                                            {Place{"x", Point{0, 0, 0, 180, 0, 0}}, Kind::OutOfRange, 5}};
    for (const auto& [place, kind, field] : rows) {
        EXPECT_EQ(where(save_place_list_replacing(dir.path(), LIST, table, 1, place)), tuple(kind, 2, field));
        PlaceTable added = table;
        added.rows[2] = place;
        added.place_last = 2;
        EXPECT_EQ(where(save_place_list(dir.path(), LIST, added)), tuple(kind, 3, field));
    }
    for (int index : {-2, -1, 2}) {
        EXPECT_EQ(std::get<0>(where(save_place_list_skipping(dir.path(), LIST, table, index))), Kind::NoSuchEntry);
        EXPECT_EQ(std::get<0>(where(save_place_list_replacing(dir.path(), LIST, table, index, Place{"x", {}}))),
                  Kind::NoSuchEntry);
    }
    const auto quoted = save_place_list_replacing(dir.path(), LIST, table, 1, Place{"a\"b", TOKYO_PT});
    EXPECT_EQ(problem_message(quoted.value_or(FileProblem{})),
              QString("「a\"b」は地点一覧ファイル「%1」に記録できません。\r\n地名に「\"」（二重引用符）は使えません。").arg(path()));
    PlaceTable fresh; // a table that was never loaded is never written
    fresh.rows[0] = Place{TOKYO, TOKYO_PT};
    fresh.place_last = 0;
    EXPECT_EQ(std::get<0>(where(save_place_list(dir.path(), LIST, fresh))), Kind::NotLoadedWhole);

    table.rows[2] = Place{"x", TOKYO_PT}; // an addition while another instance rewrites the file
    table.place_last = 2;
    const int other = open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(flock(other, LOCK_EX), 0);
    const auto locked = save_place_list(dir.path(), LIST, table);
    close(other);
    EXPECT_TRUE(problem_message(locked.value_or(FileProblem{})).contains("別の Orvine が書き込み中です"));
    EXPECT_EQ(read_bytes(path()), original);
}

// The check only reads: the table the place-list window keeps stays as it was loaded.
TEST_F(PlaceListFile, NameCheckReadsEveryRecordPastAnEmptyName)
{
    write_bytes(path(), TOKYO_REC + OSAKA_REC + SYDNEY_REC);
    ASSERT_TRUE(load().ok());
    for (const QByteArray& bytes : {SYDNEY_REC + "\"x\",1,2", numbered_records(102)}) {
        write_bytes(path(), bytes);
        EXPECT_EQ(read_places_for_name_check(dir.path(), LIST).problem->path, path());
    }
    write_bytes(path(), OSAKA_REC + "\"\",1,2,3,4,5,6\r\n" + TOKYO_REC);
    const NameCheckRead read = read_places_for_name_check(dir.path(), LIST);
    ASSERT_TRUE(read.ok() && read.places.size() == 3);
    EXPECT_EQ(names(), (QStringList{TOKYO, OSAKA, "Sydney, NSW"}));
    EXPECT_TRUE(table.loaded_whole());
    EXPECT_EQ(read.places[1].point, (Point{1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(name_conflicts(read.places, TOKYO, Point{35, 41, 23, 139, 41, 30}));
    EXPECT_FALSE(name_conflicts(read.places, TOKYO, TOKYO_PT));
    EXPECT_FALSE(name_conflicts({read.places[0]}, TOKYO, Point{}));
}
