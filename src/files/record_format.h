#pragma once
// The record text format shared by the settings file and the place-list file.
//
// Bytes: Shift-JIS (code page 932, "windows-31j"); every record ends with CR LF.
// Writing: fields separated by one comma; a text field is the text between two double
// quotes, unchanged (nothing escaped, so a text may not hold a double quote or a line
// break); an integer is plain decimal with "-" for negatives, no "+", no leading zeros.
//
// Reading (what a hand-edited file may hold):
//  - blanks (U+0020 only; a tab is an ordinary character) before a field are skipped;
//  - a field that begins with a double quote runs to the next double quote; commas inside
//    belong to the text. Blanks between the closing quote and the following comma or line
//    end are skipped; anything else there is refused (TextAfterQuote), as is a line break
//    inside the quotes (usually a missing closing quote that would swallow later records);
//  - any other field runs to the next comma or line end; a text keeps its trailing
//    blanks; a number ends at the first blank and only blanks may follow it;
//  - a comma and a line end (CR LF, or a lone CR or LF) both end a field, so a record's
//    fields may stand on several lines;
//  - blanks and line ends before a record are skipped, so blank lines between records and
//    at the end of the file are harmless;
//  - an integer is an optional "-" or "+" and one or more decimal digits (leading zeros
//    allowed); anything else (a fraction, letters, an empty field) is refused, never rounded;
//  - a text must not hold a double quote or a line break, must be valid Shift-JIS and may
//    hold at most MAX_TEXT_LENGTH characters;
//  - one end-of-file mark 0x1A as the very last byte, as old editors leave it, is ignored.
// So whatever reads without a problem can be written back with the same values.
#include "files/file_problem.h"
#include "shared_state/point.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace orvine {

enum class FieldKind { Text, Integer };

// Text, or an integer. The reader gives integers as read (any number of digits saturates
// far outside every range the files allow), so that the loaders can name the value and
// the allowed range of a field that is out of range.
using FieldValue = std::variant<QString, std::int64_t>;
using Record = std::vector<FieldValue>;

// Why `text` cannot be written as a text field so that it reads back unchanged; the first
// fault found, or TextFault::None. Characters without an exact code page 932 mapping
// (e.g. U+301C WAVE DASH, U+00A5 YEN SIGN, emoji) are NotShiftJis.
TextFault text_fault(const QString& text);
inline bool is_storable_text(const QString& text) { return text_fault(text) == TextFault::None; }

// Appends one record with its CR LF to `out`. A text field that cannot be stored gives
// TextNotStorable (field set, record 0, detail = the text) and leaves `out` unchanged.
std::optional<FileProblem> append_record(QByteArray& out, const Record& record);

// The six values of a point, as the files hold them (entry form, in the order latitude
// degrees, minutes, seconds, longitude degrees, minutes, seconds), are bounded by the bars:
// latitude degrees -89..89, longitude degrees -179..179, minutes and seconds 0..59.
struct ValueRange {
    int min;
    int max;
};
ValueRange point_value_range(int value_index); // 0..5, in the order above

// Appends the six values of `point` to `record` as integer fields.
void append_point(Record& record, const Point& point);

// The 1-based field number where each file's point begins: a place-list record is the name
// and the point; a settings record the list file's name, the start-up name and the point.
constexpr int PLACE_LIST_POINT_FIELD = 2;
constexpr int SETTINGS_POINT_FIELD = 3;

// Takes the six integer fields from 1-based field `first_field` on as a point. A value outside
// its range gives OutOfRange with field = its 1-based position in the record, value, min, max.
std::optional<FileProblem> point_from_record(const Record& record, int first_field, Point& out);

// Checks a point before it is written: OutOfRange as above, field counted from
// `first_field` (the 1-based field number of latitude degrees).
std::optional<FileProblem> check_point_range(const Point& point, int first_field);

enum class TextEncoding { ShiftJis, Utf8 };

// Utf8 when the bytes start with a UTF-8 byte-order mark, or when they are valid UTF-8
// and, read so, hold at least one kana, kanji or full-width character. A Shift-JIS file
// passes the second test only by a rare coincidence (a kanji whose lead byte is 0xE0..0xEF
// followed by two bytes 0x80..0xBF, and nothing anywhere that breaks UTF-8), while every
// Japanese name saved as UTF-8 passes it.
TextEncoding detect_encoding(const QByteArray& bytes);

// Reads records one after another from the bytes of a whole file. Problems carry the
// record and field numbers (1-based); the caller fills in the file and path.
class RecordReader {
public:
    // Utf8 reads the texts of a file that was saved in the wrong encoding, to rescue what
    // it names; a byte-order mark at the start is then skipped.
    explicit RecordReader(QByteArray bytes, TextEncoding encoding = TextEncoding::ShiftJis);

    // True when only blanks and line ends remain.
    bool at_end();

    // Reads the next record, one field per entry of `kinds`, into `out`; on a problem
    // `out` holds the fields read before the faulty one, and the reader should not be used
    // further.
    std::optional<FileProblem> read(const std::vector<FieldKind>& kinds, Record& out);

    // Number of records begun so far (the current record's number after read()).
    int record_number() const { return record_; }

private:
    void skip_blanks();
    bool at_line_end() const;
    void skip_line_end();
    std::optional<FileProblem> read_text(int field, QString& out);
    std::optional<FileProblem> read_integer(int field, std::int64_t& out);
    std::optional<FileProblem> end_field(int field, bool after_quote);
    FileProblem problem(FileProblem::Kind kind, int field) const;

    QByteArray bytes_;
    TextEncoding encoding_;
    qsizetype pos_ = 0;
    int record_ = 0;
};

} // namespace orvine
