#include "files/record_format.h"

#include "file_test_support.h"

using namespace orvine;
using namespace orvine::test;

namespace {

const std::vector<FieldKind> PLACE = {FieldKind::Text,    FieldKind::Integer, FieldKind::Integer, FieldKind::Integer,
                                      FieldKind::Integer, FieldKind::Integer, FieldKind::Integer};

Record rec(const QString& name, std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d, std::int64_t e,
           std::int64_t f)
{
    return Record{name, a, b, c, d, e, f};
}

std::vector<Record> read_all(const QByteArray& bytes, std::optional<FileProblem>& problem)
{
    RecordReader reader(bytes);
    std::vector<Record> records;
    Record r;
    while (!reader.at_end() && !(problem = reader.read(PLACE, r)))
        records.push_back(r);
    return records;
}

} // namespace

TEST(RecordWriting, QuotedShiftJisTextPlainIntegersCrLfAndReadBack)
{
    const Record tokyo = rec(TOKYO, 35, 41, 22, 139, 41, 30), dc = rec("Washington, D.C.", -38, 53, 42, -77, 2, 12),
                 odd = rec(QString::fromUtf8(" ａ,ｂ　①～髙ｱ "), 0, 0, 0, -1, 0, 0);
    QByteArray out;
    for (const Record& r : {tokyo, dc, odd})
        ASSERT_FALSE(append_record(out, r));
    EXPECT_EQ(out.left(out.indexOf("\r\n\" ") + 2), "\"" + SJIS_TOKYO + "\",35,41,22,139,41,30\r\n"
                                                    "\"Washington, D.C.\",-38,53,42,-77,2,12\r\n");
    std::optional<FileProblem> problem;
    EXPECT_EQ(read_all(out, problem), (std::vector<Record>{tokyo, dc, odd}));
    EXPECT_FALSE(problem);
}

TEST(RecordWriting, TextsTheFileCannotHoldAreRefusedBeforeWriting)
{
    const std::pair<QString, TextFault> rows[] = {
        {"say \"hi\"", TextFault::DoubleQuote},
        {"two\r\nlines", TextFault::LineBreak},
        {"line\nfeed", TextFault::LineBreak},
        {QString::fromUtf8("wave〜dash"), TextFault::NotShiftJis}, // U+301C has no exact CP932 code
        {QString::fromUtf8("yen¥"), TextFault::NotShiftJis},       // 0x5C is a backslash in CP932
        {QString::fromUtf8("smile😀"), TextFault::NotShiftJis},
        {QString(MAX_TEXT_LENGTH + 1, QLatin1Char('a')), TextFault::TooLong},
    };
    EXPECT_TRUE(is_storable_text(QString(MAX_TEXT_LENGTH, QLatin1Char('a'))));
    for (const auto& [text, fault] : rows) {
        EXPECT_EQ(text_fault(text), fault) << text.left(20).toStdString();
        QByteArray out("kept");
        const FileProblem problem = append_record(out, Record{std::int64_t{1}, text}).value_or(FileProblem{});
        EXPECT_EQ(tuple(problem.kind, problem.field, problem.text_fault, problem.detail),
                  tuple(Kind::TextNotStorable, 2, fault, text));
        EXPECT_EQ(out, QByteArray("kept"));
    }
}

TEST(RecordReading, AcceptsWhatTheReadingRulesAllow)
{
    const Record ab = rec("a,b", -33, 0, 5, -70, 40, 0), lima = rec("Lima ", -12, 2, 36, -77, 1, 42);
    const QByteArray a = "\"a,b\"";
    const std::vector<std::tuple<const char*, QByteArray, std::vector<Record>>> rows = {
        {"blanks around fields", "  " + a + "  ,  -33 ,0,5,   -70,40,0  \r\n", {ab}},
        {"fields across lines, two records on one", a + ",-33\r\n0,5\n-70\r40,0,Lima ,-12,2,36,-77,1,42", {ab, lima}},
        {"blank lines between and after", "\r\n" + a + ",-33,0,5,-70,40,0\r\n\r\n  \r\nLima ,-12,2,36,-77,1,42\r\n\r\n",
         {ab, lima}},
        {"leading zeros and plus signs", a + ",-033,+00,05,-70,+040,0\r\n", {ab}},
        {"end-of-file mark", a + ",-33,0,5,-70,40,0\x1a", {ab}},
        // Long numbers saturate far outside every range instead of wrapping into it.
        {"long numbers", "\"b\",-32769,99999999999999999999999,3,4,5,6\r\n",
         {rec("b", -32769, 999999999999999999, 3, 4, 5, 6)}},
        {"longest name", "\"" + SJIS_TOKYO.repeated(MAX_TEXT_LENGTH / 2) + "\",1,2,3,4,5,6",
         {rec(TOKYO.repeated(MAX_TEXT_LENGTH / 2), 1, 2, 3, 4, 5, 6)}},
    };
    for (const auto& [name, bytes, expected] : rows) {
        std::optional<FileProblem> problem;
        EXPECT_EQ(read_all(bytes, problem), expected) << name;
        EXPECT_FALSE(problem) << name;
    }
}

TEST(RecordReading, RefusesWhatWouldChangeOrLoseAValue)
{
    const QByteArray good = "\"a\",1,2,3,4,5,6\r\n", tokyo_too_long = SJIS_TOKYO.repeated(MAX_TEXT_LENGTH / 2 + 1);
    const struct Row {
        const char* name;
        QByteArray bytes;
        tuple<Kind, int, int> problem;
        TextFault fault = TextFault::None;
    } rows[] = {
        {"letters", good + "\"b\",1,2x,3,4,5,6\r\n", {Kind::NotANumber, 2, 3}},
        {"fraction", "\"b\",35.5,2,3,4,5,6\r\n", {Kind::NotANumber, 1, 2}},
        {"lone minus", "\"b\",-,2,3,4,5,6\r\n", {Kind::NotANumber, 1, 2}},
        {"empty number", "\"b\",1,,3,4,5,6\r\n", {Kind::NotANumber, 1, 3}},
        {"two numbers in a field", "\"b\",1,2,3 4,5,6,7\r\n", {Kind::NotANumber, 1, 4}},
        {"end-of-file mark before the end", good + "\x1a\r\n" + good, {Kind::NotANumber, 2, 2}},
        {"cut inside a record", good + "\"b\",1,2,3\r\n", {Kind::CutShort, 2, 5}},
        {"unclosed quote at the end", good + "\"b,1,2,3,4,5,6", {Kind::CutShort, 2, 1}},
        {"line break inside quotes", "\"b,1,2,3,4,5,6\r\n\"c\",1,2,3,4,5,6\r\n", {Kind::BadText, 1, 1},
         TextFault::LineBreak},
        {"quote inside unquoted text", "b\"c\",1,2,3,4,5,6\r\n", {Kind::BadText, 1, 1}, TextFault::DoubleQuote},
        {"tab after closing quote", "\"b\"\t,1,2,3,4,5,6\r\n", {Kind::BadText, 1, 1}, TextFault::TextAfterQuote},
        {"name too long", "\"" + QByteArray(MAX_TEXT_LENGTH + 1, 'a') + "\",1", {Kind::BadText, 1, 1},
         TextFault::TooLong},
        {"name too long in double-byte characters", "\"" + tokyo_too_long + "\",1", {Kind::BadText, 1, 1},
         TextFault::TooLong},
        {"invalid trail byte", "\"\x82\x20\",1,2,3,4,5,6\r\n", {Kind::BadText, 1, 1}, TextFault::NotShiftJis},
        {"lead byte without trail", "\"ab\x93\",1,2,3,4,5,6\r\n", {Kind::BadText, 1, 1}, TextFault::NotShiftJis},
        {"byte outside Shift-JIS", "\"\xff\",1,2,3,4,5,6\r\n", {Kind::BadText, 1, 1}, TextFault::NotShiftJis},
    };
    for (const Row& row : rows) {
        std::optional<FileProblem> problem;
        read_all(row.bytes, problem);
        EXPECT_EQ(where(problem), row.problem) << row.name;
        EXPECT_EQ(problem ? problem->text_fault : TextFault::None, row.fault) << row.name;
    }
}

// A byte-order mark, or kanji and kana as UTF-8, are told by the file tests; these are the edges.
TEST(RecordReading, TellsAFileSavedAsUtf8)
{
    EXPECT_EQ(detect_encoding(QString::fromUtf8("\"ｱ\",35").toUtf8()), TextEncoding::Utf8); // half-width kana
    // Without Japanese a coincidence with Shift-JIS is too likely to call it UTF-8.
    EXPECT_EQ(detect_encoding(QString::fromUtf8("\"Café\",1").toUtf8()), TextEncoding::ShiftJis);
}

TEST(PointFields, RangesAreTheBarsRanges)
{
    Point p;
    ASSERT_FALSE(point_from_record(rec("x", -89, 59, 0, 179, 0, 59), PLACE_LIST_POINT_FIELD, p));
    EXPECT_EQ(p, (Point{-89, 59, 0, 179, 0, 59}));
    const std::pair<Record, std::array<long long, 4>> rows[] = { // field, value, min, max
        {rec("x", 90, 0, 0, 0, 0, 0), {2, 90, -89, 89}},     {rec("x", 0, 60, 0, 0, 0, 0), {3, 60, 0, 59}},
        {rec("x", 0, 0, -1, 0, 0, 0), {4, -1, 0, 59}},       {rec("x", 0, 0, 0, -180, 0, 0), {5, -180, -179, 179}},
        {rec("x", 0, 0, 0, 180, 0, 0), {5, 180, -179, 179}}, {rec("x", 0, 0, 0, 0, 0, 70000), {7, 70000, 0, 59}},
    };
    for (const auto& [record, expected] : rows) {
        const FileProblem problem = point_from_record(record, PLACE_LIST_POINT_FIELD, p).value_or(FileProblem{});
        EXPECT_EQ(problem.kind, Kind::OutOfRange);
        EXPECT_EQ((std::array<long long, 4>{problem.field, problem.value, problem.min, problem.max}), expected);
    }
}
