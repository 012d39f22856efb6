#include "files/record_format.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <utility>

namespace orvine {

namespace {

constexpr char CODEC[] = "windows-31j";

bool is_lead_byte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool is_trail_byte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// The codec drops a lead byte left without its trail byte at the end of its input instead
// of reporting it, so the byte structure is checked here before decoding.
bool has_shift_jis_structure(QByteArrayView raw)
{
    for (int i = 0; i < raw.size(); ++i) {
        if (!is_lead_byte(static_cast<unsigned char>(raw[i])))
            continue;
        if (i + 1 >= raw.size() || !is_trail_byte(static_cast<unsigned char>(raw[i + 1])))
            return false;
        ++i;
    }
    return true;
}

std::optional<QString> decode_utf8(QByteArrayView raw)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(raw);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<QString> decode(QByteArrayView raw)
{
    if (!has_shift_jis_structure(raw))
        return std::nullopt;
    QStringDecoder decoder(CODEC, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(raw);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<QByteArray> encode(const QString& text)
{
    QStringEncoder encoder(CODEC, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

// Longer numbers are reported as SATURATED: far outside every range, within std::int64_t.
constexpr int MAX_DIGITS = 18;
constexpr std::int64_t SATURATED = 999999999999999999;

const QByteArray UTF8_BOM("\xEF\xBB\xBF");

// Kana, kanji and full-width forms all lie in the basic plane.
bool is_japanese(char16_t c)
{
    return (c >= 0x3000 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

} // namespace

TextEncoding detect_encoding(const QByteArray& bytes)
{
    if (bytes.startsWith(UTF8_BOM))
        return TextEncoding::Utf8;
    // Shift-JIS text fails this check at its first double-byte character, long before a
    // decoder would have gone through the whole file.
    if (!QByteArrayView(bytes).isValidUtf8())
        return TextEncoding::ShiftJis;
    const std::optional<QString> text = decode_utf8(bytes);
    if (!text)
        return TextEncoding::ShiftJis;
    for (QChar c : *text)
        if (is_japanese(c.unicode()))
            return TextEncoding::Utf8;
    return TextEncoding::ShiftJis;
}

TextFault text_fault(const QString& text)
{
    if (text.size() > MAX_TEXT_LENGTH)
        return TextFault::TooLong;
    if (text.contains(QLatin1Char('"')))
        return TextFault::DoubleQuote;
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
        return TextFault::LineBreak;
    // Some characters are written through a best-fit mapping and read back as another
    // character; only an exact round trip keeps the stored name unchanged.
    const std::optional<QByteArray> bytes = encode(text);
    if (!bytes)
        return TextFault::NotShiftJis;
    const std::optional<QString> back = decode(*bytes);
    if (!back || *back != text)
        return TextFault::NotShiftJis;
    return TextFault::None;
}

std::optional<FileProblem> append_record(QByteArray& out, const Record& record)
{
    QByteArray line;
    for (std::size_t i = 0; i < record.size(); ++i) {
        if (i > 0)
            line += ',';
        if (const auto* text = std::get_if<QString>(&record[i])) {
            const TextFault fault = text_fault(*text);
            if (fault != TextFault::None) {
                FileProblem p;
                p.kind = FileProblem::Kind::TextNotStorable;
                p.field = static_cast<int>(i) + 1;
                p.text_fault = fault;
                p.detail = *text;
                return p;
            }
            line += '"';
            line += *encode(*text);
            line += '"';
        } else {
            line += QByteArray::number(static_cast<qlonglong>(std::get<std::int64_t>(record[i])));
        }
    }
    line += "\r\n";
    out += line;
    return std::nullopt;
}

ValueRange point_value_range(int value_index)
{
    static constexpr ValueRange RANGES[6] = {{-89, 89}, {0, 59}, {0, 59}, {-179, 179}, {0, 59}, {0, 59}};
    return RANGES[value_index];
}

namespace {

std::array<std::int16_t*, 6> point_values(Point& p)
{
    return {&p.latitude.degrees,  &p.latitude.minutes,  &p.latitude.seconds,
            &p.longitude.degrees, &p.longitude.minutes, &p.longitude.seconds};
}

std::optional<FileProblem> range_problem(std::int64_t value, int value_index, int field)
{
    const ValueRange range = point_value_range(value_index);
    if (value >= range.min && value <= range.max)
        return std::nullopt;
    FileProblem p;
    p.kind = FileProblem::Kind::OutOfRange;
    p.field = field;
    p.value = value;
    p.min = range.min;
    p.max = range.max;
    return p;
}

} // namespace

void append_point(Record& record, const Point& point)
{
    Point copy = point;
    for (std::int16_t* v : point_values(copy))
        record.emplace_back(static_cast<std::int64_t>(*v));
}

std::optional<FileProblem> point_from_record(const Record& record, int first_field, Point& out)
{
    const auto values = point_values(out);
    for (int i = 0; i < 6; ++i) {
        const std::int64_t v = std::get<std::int64_t>(record.at(static_cast<std::size_t>(first_field - 1 + i)));
        if (auto p = range_problem(v, i, first_field + i))
            return p;
        *values[i] = static_cast<std::int16_t>(v);
    }
    return std::nullopt;
}

std::optional<FileProblem> check_point_range(const Point& point, int first_field)
{
    Point copy = point;
    const auto values = point_values(copy);
    for (int i = 0; i < 6; ++i)
        if (auto p = range_problem(*values[i], i, first_field + i))
            return p;
    return std::nullopt;
}

RecordReader::RecordReader(QByteArray bytes, TextEncoding encoding)
    : bytes_(std::move(bytes)), encoding_(encoding)
{
    if (bytes_.endsWith('\x1A'))
        bytes_.chop(1);
    if (encoding_ == TextEncoding::Utf8 && bytes_.startsWith(UTF8_BOM))
        pos_ = UTF8_BOM.size();
}

void RecordReader::skip_blanks()
{
    while (pos_ < bytes_.size() && bytes_[pos_] == ' ')
        ++pos_;
}

bool RecordReader::at_line_end() const
{
    return pos_ < bytes_.size() && (bytes_[pos_] == '\r' || bytes_[pos_] == '\n');
}

void RecordReader::skip_line_end()
{
    if (bytes_[pos_] == '\r' && pos_ + 1 < bytes_.size() && bytes_[pos_ + 1] == '\n')
        pos_ += 2;
    else
        ++pos_;
}

bool RecordReader::at_end()
{
    for (;;) {
        skip_blanks();
        if (!at_line_end())
            break;
        skip_line_end();
    }
    return pos_ >= bytes_.size();
}

FileProblem RecordReader::problem(FileProblem::Kind kind, int field) const
{
    FileProblem p;
    p.kind = kind;
    p.record = record_;
    p.field = field;
    return p;
}

std::optional<FileProblem> RecordReader::read(const std::vector<FieldKind>& kinds, Record& out)
{
    at_end();
    ++record_;
    out.clear();
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const int field = static_cast<int>(i) + 1;
        skip_blanks();
        if (pos_ >= bytes_.size())
            return problem(FileProblem::Kind::CutShort, field);
        if (kinds[i] == FieldKind::Text) {
            QString text;
            if (auto p = read_text(field, text))
                return p;
            out.emplace_back(std::move(text));
        } else {
            std::int64_t value = 0;
            if (auto p = read_integer(field, value))
                return p;
            out.emplace_back(value);
        }
    }
    return std::nullopt;
}

std::optional<FileProblem> RecordReader::read_text(int field, QString& out)
{
    const bool quoted = bytes_[pos_] == '"';
    QByteArrayView raw;
    if (quoted) {
        const qsizetype close = bytes_.indexOf('"', pos_ + 1);
        if (close < 0)
            return problem(FileProblem::Kind::CutShort, field);
        raw = QByteArrayView(bytes_).sliced(pos_ + 1, close - pos_ - 1);
        pos_ = close + 1;
        if (raw.contains('\r') || raw.contains('\n')) {
            FileProblem p = problem(FileProblem::Kind::BadText, field);
            p.text_fault = TextFault::LineBreak;
            return p;
        }
    } else {
        const qsizetype start = pos_;
        while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !at_line_end())
            ++pos_;
        raw = QByteArrayView(bytes_).sliced(start, pos_ - start);
        if (raw.contains('"')) {
            FileProblem p = problem(FileProblem::Kind::BadText, field);
            p.text_fault = TextFault::DoubleQuote;
            return p;
        }
    }
    // A character takes at most two bytes in Shift-JIS (four in UTF-8), so a longer raw
    // text is refused before it is decoded.
    if (raw.size() > (encoding_ == TextEncoding::Utf8 ? 4 : 2) * MAX_TEXT_LENGTH) {
        FileProblem p = problem(FileProblem::Kind::BadText, field);
        p.text_fault = TextFault::TooLong;
        return p;
    }
    std::optional<QString> text = encoding_ == TextEncoding::Utf8 ? decode_utf8(raw) : decode(raw);
    if (!text) {
        FileProblem p = problem(FileProblem::Kind::BadText, field);
        p.text_fault = TextFault::NotShiftJis;
        return p;
    }
    if (text->size() > MAX_TEXT_LENGTH) {
        FileProblem p = problem(FileProblem::Kind::BadText, field);
        p.text_fault = TextFault::TooLong;
        return p;
    }
    out = std::move(*text);
    return end_field(field, quoted);
}

std::optional<FileProblem> RecordReader::read_integer(int field, std::int64_t& out)
{
    const qsizetype start = pos_;
    while (pos_ < bytes_.size() && bytes_[pos_] != ' ' && bytes_[pos_] != ',' && !at_line_end())
        ++pos_;
    const QByteArray token = bytes_.mid(start, pos_ - start);
    const bool negative = token.startsWith('-');
    const int first_digit = negative || token.startsWith('+') ? 1 : 0;
    if (token.size() == first_digit)
        return problem(FileProblem::Kind::NotANumber, field);
    std::int64_t value = 0;
    int digits = 0;
    for (qsizetype i = first_digit; i < token.size(); ++i) {
        const char c = token[i];
        if (c < '0' || c > '9')
            return problem(FileProblem::Kind::NotANumber, field);
        if (digits == 0 && c == '0')
            continue;
        value = digits < MAX_DIGITS ? value * 10 + (c - '0') : SATURATED;
        digits = digits < MAX_DIGITS ? digits + 1 : digits;
    }
    out = negative ? -value : value;
    return end_field(field, false);
}

std::optional<FileProblem> RecordReader::end_field(int field, bool after_quote)
{
    skip_blanks();
    if (pos_ >= bytes_.size())
        return std::nullopt;
    if (bytes_[pos_] == ',') {
        ++pos_;
        return std::nullopt;
    }
    if (at_line_end()) {
        skip_line_end();
        return std::nullopt;
    }
    if (!after_quote)
        return problem(FileProblem::Kind::NotANumber, field);
    FileProblem p = problem(FileProblem::Kind::BadText, field);
    p.text_fault = TextFault::TextAfterQuote;
    return p;
}

} // namespace orvine
