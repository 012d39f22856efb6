#include "files/record_format.h"

#include "file_test_support.h"

#include <gtest/gtest.h>

using namespace orvine;
using namespace orvine::test;
using Kind = FileProblem::Kind;

namespace {

const std::vector<FieldKind> PLACE = {FieldKind::Text,    FieldKind::Integer, FieldKind::Integer, FieldKind::Integer,
                                      FieldKind::Integer, FieldKind::Integer, FieldKind::Integer};

Record rec(const QString& name, std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d, std::int64_t e,
           std::int64_t f)
{
    return Record{name, a, b, c, d, e, f};
}

// Every record of `bytes` read as a place record, and the first problem if any.
std::vector<Record> read_all(const QByteArray& bytes, std::optional<FileProblem>* problem = nullptr)
{
    RecordReader reader(bytes);
    std::vector<Record> records;
    while (!reader.at_end()) {
        Record r;
        if (auto p = reader.read(PLACE, r)) {
            if (problem)
                *problem = p;
            else
                ADD_FAILURE() << "record " << p->record << " field " << p->field;
            break;
        }
        records.push_back(r);
    }
    return records;
}

} // namespace

TEST(RecordWriting, QuotedShiftJisTextPlainIntegersCrLfAndReadBack)
{
    struct Row {
        Record record;
        QByteArray bytes;
    };
    const std::vector<Row> rows = {
        {rec(TOKYO, 35, 41, 22, 139, 41, 30), "\"" + SJIS_TOKYO + "\",35,41,22,139,41,30\r\n"},
        {rec("Sydney", -33, 52, 4, 151, 12, 26), "\"Sydney\",-33,52,4,151,12,26\r\n"},
        {rec("", 0, 0, 0, -1, 0, 0), "\"\",0,0,0,-1,0,0\r\n"},
        // A comma stays inside the quotes, unescaped.
        {rec("Washington, D.C.", 38, 53, 42, -77, 2, 12), "\"Washington, D.C.\",38,53,42,-77,2,12\r\n"},
    };
    for (const Row& row : rows) {
        QByteArray out;
        ASSERT_FALSE(append_record(out, row.record));
        EXPECT_EQ(out, row.bytes);
        EXPECT_EQ(read_all(out), std::vector<Record>{row.record});
    }
    const std::vector<Record> extremes = {rec(QString::fromUtf8("ａ,ｂ　①～髙ｱ"), -89, 59, 59, -179, 59, 59),
                                          rec(QString::fromUtf8(" 前後に空白 "), 89, 0, 0, 179, 0, 0)};
    QByteArray bytes;
    for (const Record& r : extremes)
        ASSERT_FALSE(append_record(bytes, r));
    EXPECT_EQ(read_all(bytes), extremes);
}

TEST(RecordWriting, TextsTheFileCannotHoldAreRefusedBeforeWriting)
{
    const std::pair<const char*, TextFault> rows[] = {
        {"東京", TextFault::None},
        {"～①髙ｱ,", TextFault::None}, // U+FF5E and the NEC/IBM extensions exist in CP932
        {"say \"hi\"", TextFault::DoubleQuote},
        {"two\r\nlines", TextFault::LineBreak},
        {"line\nfeed", TextFault::LineBreak},
        {"wave〜dash", TextFault::NotShiftJis}, // U+301C has no exact CP932 code
        {"yen¥", TextFault::NotShiftJis},       // U+00A5: 0x5C is a backslash in CP932
        {"", TextFault::TooLong},               // see below: more than the text box holds
        {"café", TextFault::NotShiftJis},
        {"smile😀", TextFault::NotShiftJis},
        {"한국", TextFault::NotShiftJis},
    };
    for (const auto& [utf8, fault] : rows) {
        const QString text = fault == TextFault::TooLong ? QString(MAX_TEXT_LENGTH + 1, QLatin1Char('a'))
                                                         : QString::fromUtf8(utf8);
        EXPECT_EQ(text_fault(text), fault) << utf8;
        EXPECT_EQ(is_storable_text(text), fault == TextFault::None) << utf8;
        if (fault == TextFault::None)
            continue;
        QByteArray out("kept");
        auto problem = append_record(out, rec(text, 1, 2, 3, 4, 5, 6));
        ASSERT_TRUE(problem) << utf8;
        EXPECT_EQ(problem->kind, Kind::TextNotStorable);
        EXPECT_EQ(problem->field, 1);
        EXPECT_EQ(problem->text_fault, fault);
        EXPECT_EQ(problem->detail, text);
        EXPECT_EQ(out, QByteArray("kept"));
    }
}

TEST(RecordReading, AcceptsWhatTheReadingRulesAllow)
{
    const Record tokyo = rec(TOKYO, 35, 41, 22, 139, 41, 30);
    const Record ab = rec("a,b", -33, 0, 5, -70, 40, 0);
    const QByteArray tk = "\"" + SJIS_TOKYO + "\"";
    const std::vector<std::tuple<const char*, QByteArray, std::vector<Record>>> rows = {
        {"blanks before fields", "  " + tk + ",  35,41, 22,   139,41,30\r\n", {tokyo}},
        {"blanks after fields", tk + "  ,35  ,41 ,22,139,41,30  \r\n", {tokyo}},
        {"fields across lines", tk + ",35\r\n41,22\r\n139\r\n41,30\r\n", {tokyo}},
        {"two records on one line", "\"a,b\",-33,0,5,-70,40,0," + tk + ",35,41,22,139,41,30", {ab, tokyo}},
        {"lone LF and CR line ends", "\"a,b\",-33,0,5,-70,40,0\n" + tk + ",35,41,22,139,41,30\r", {ab, tokyo}},
        {"blank lines between and after", "\r\n\"a,b\",-33,0,5,-70,40,0\r\n\r\n  \r\n", {ab}},
        {"unquoted text", "Lima ,-12,2,36,-77,1,42\r\n", {rec("Lima ", -12, 2, 36, -77, 1, 42)}},
        {"leading zeros", "\"a,b\",-033,00,05,-70,040,0\r\n", {ab}},
        {"plus signs", "\"a,b\",-33,+0,+5,-70,+40,0\r\n", {ab}},
        {"end-of-file mark", "\"a,b\",-33,0,5,-70,40,0\r\n\x1a", {ab}},
        {"end-of-file mark after the last value", "\"a,b\",-33,0,5,-70,40,0\x1a", {ab}},
        {"longest name", "\"" + QByteArray(MAX_TEXT_LENGTH, 'a') + "\",-33,0,5,-70,40,0",
         {rec(QString(MAX_TEXT_LENGTH, QLatin1Char('a')), -33, 0, 5, -70, 40, 0)}},
        // Long numbers saturate far outside every range instead of wrapping into it.
        {"long numbers", "\"b\",-32769,99999999999999999999999,3,4,5,6\r\n",
         {rec("b", -32769, 999999999999999999, 3, 4, 5, 6)}},
        {"empty file", "", {}},
    };
    for (const auto& [name, bytes, expected] : rows)
        EXPECT_EQ(read_all(bytes), expected) << name;
}

TEST(RecordReading, RefusesWhatWouldChangeOrLoseAValue)
{
    struct Row {
        const char* name;
        QByteArray bytes;
        Kind kind;
        int record, field;
        TextFault fault = TextFault::None;
    };
    const QByteArray good = "\"a\",1,2,3,4,5,6\r\n";
    const std::vector<Row> rows = {
        {"letters", good + "\"b\",1,2x,3,4,5,6\r\n", Kind::NotANumber, 2, 3},
        {"fraction", "\"b\",35.5,2,3,4,5,6\r\n", Kind::NotANumber, 1, 2},
        {"two signs", "\"b\",+-35,2,3,4,5,6\r\n", Kind::NotANumber, 1, 2},
        {"lone plus", "\"b\",+,2,3,4,5,6\r\n", Kind::NotANumber, 1, 2},
        {"end-of-file mark before the end", good + "\x1a\r\n" + good, Kind::NotANumber, 2, 2},
        {"name too long", "\"" + QByteArray(MAX_TEXT_LENGTH + 1, 'a') + "\",1,2,3,4,5,6", Kind::BadText, 1, 1,
         TextFault::TooLong},
        {"name too long in double-byte characters", "\"" + SJIS_TOKYO.repeated(MAX_TEXT_LENGTH / 2 + 1) + "\",1,2",
         Kind::BadText, 1, 1, TextFault::TooLong},
        {"lone minus", "\"b\",-,2,3,4,5,6\r\n", Kind::NotANumber, 1, 2},
        {"empty number", "\"b\",1,,3,4,5,6\r\n", Kind::NotANumber, 1, 3},
        {"two numbers in a field", "\"b\",1,2,3 4,5,6,7\r\n", Kind::NotANumber, 1, 4},
        {"tab before a number", "\"b\",1,2,3,\t4,5,6\r\n", Kind::NotANumber, 1, 5},
        {"comma then line end", "\"b\",1,2,3,4,5,\r\n6\r\n", Kind::NotANumber, 1, 7},
        {"cut inside a record", good + "\"b\",1,2,3\r\n", Kind::CutShort, 2, 5},
        {"cut after the name", "\"b\"", Kind::CutShort, 1, 2},
        {"unclosed quote at the end", good + "\"b,1,2,3,4,5,6", Kind::CutShort, 2, 1},
        {"line break inside quotes", "\"b,1,2,3,4,5,6\r\n\"c\",1,2,3,4,5,6\r\n", Kind::BadText, 1, 1,
         TextFault::LineBreak},
        {"quote inside unquoted text", "b\"c\",1,2,3,4,5,6\r\n", Kind::BadText, 1, 1, TextFault::DoubleQuote},
        {"text after closing quote", "\"b\"c,1,2,3,4,5,6\r\n", Kind::BadText, 1, 1, TextFault::TextAfterQuote},
        {"tab after closing quote", "\"b\"\t,1,2,3,4,5,6\r\n", Kind::BadText, 1, 1, TextFault::TextAfterQuote},
        {"invalid trail byte", "\"\x82\x20\",1,2,3,4,5,6\r\n", Kind::BadText, 1, 1, TextFault::NotShiftJis},
        {"lead byte without trail", "\"ab\x93\",1,2,3,4,5,6\r\n", Kind::BadText, 1, 1, TextFault::NotShiftJis},
        {"byte outside Shift-JIS", "\"\xff\",1,2,3,4,5,6\r\n", Kind::BadText, 1, 1, TextFault::NotShiftJis},
    };
    for (const Row& row : rows) {
        std::optional<FileProblem> problem;
        read_all(row.bytes, &problem);
        ASSERT_TRUE(problem) << row.name;
        EXPECT_EQ(problem->kind, row.kind) << row.name;
        EXPECT_EQ(problem->record, row.record) << row.name;
        EXPECT_EQ(problem->field, row.field) << row.name;
        EXPECT_EQ(problem->text_fault, row.fault) << row.name;
    }
}

TEST(RecordReading, TellsAFileSavedAsUtf8)
{
    const std::pair<QByteArray, TextEncoding> rows[] = {
        {"\xEF\xBB\xBF\"places.txt\"", TextEncoding::Utf8},
        {QString::fromUtf8("\"東京\",35").toUtf8(), TextEncoding::Utf8},
        {QString::fromUtf8("\"ｱｲ\",35").toUtf8(), TextEncoding::Utf8}, // half-width kana
        {"\"" + SJIS_TOKYO + "\",35", TextEncoding::ShiftJis},
        {"\"Lima\",-12", TextEncoding::ShiftJis},
        // Without Japanese, a coincidence with Shift-JIS is too likely to call it UTF-8;
        // the name then reads as half-width kana, which can be corrected in the window.
        {QString::fromUtf8("\"Café\",1").toUtf8(), TextEncoding::ShiftJis},
    };
    for (const auto& [bytes, encoding] : rows)
        EXPECT_EQ(detect_encoding(bytes), encoding) << bytes.toStdString();
    RecordReader reader("\xEF\xBB\xBF\"" + TOKYO.toUtf8() + "\",1,2,3,4,5,6", TextEncoding::Utf8);
    Record record;
    ASSERT_FALSE(reader.read(PLACE, record));
    EXPECT_EQ(record, rec(TOKYO, 1, 2, 3, 4, 5, 6));
}

TEST(PointFields, RangesAreTheBarsRanges)
{
    Point p;
    ASSERT_FALSE(point_from_record(rec("x", -89, 59, 0, 179, 0, 59), 1, p));
    EXPECT_EQ(p, (Point{-89, 59, 0, 179, 0, 59}));

    struct Row {
        Record record;
        int field;
        long long value;
        int min, max;
    };
    const Row rows[] = {
        {rec("x", 90, 0, 0, 0, 0, 0), 2, 90, -89, 89},       {rec("x", -90, 0, 0, 0, 0, 0), 2, -90, -89, 89},
        {rec("x", 0, 60, 0, 0, 0, 0), 3, 60, 0, 59},         {rec("x", 0, 0, -1, 0, 0, 0), 4, -1, 0, 59},
        {rec("x", 0, 0, 0, -180, 0, 0), 5, -180, -179, 179}, {rec("x", 0, 0, 0, 180, 0, 0), 5, 180, -179, 179},
        {rec("x", 0, 0, 0, 0, 0, 70000), 7, 70000, 0, 59},
    };
    for (const Row& row : rows) {
        auto problem = point_from_record(row.record, 1, p);
        ASSERT_TRUE(problem) << row.field;
        EXPECT_EQ(problem->kind, Kind::OutOfRange);
        EXPECT_EQ(problem->field, row.field);
        EXPECT_EQ(problem->value, row.value);
        EXPECT_EQ(problem->min, row.min);
        EXPECT_EQ(problem->max, row.max);
    }
    auto problem = check_point_range(Point{0, 0, 0, 0, 60, 0}, 3);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->field, 7);
}
