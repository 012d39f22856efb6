#include "app/cli/calc_input.h"

#include <GeographicLib/DMS.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>

namespace orvine::calc {

namespace {

const char* const ARG_NAMES[4] = {"LAT1", "LON1", "LAT2", "LON2"};
const char* const DIRECT_ARG_NAMES[4] = {"LAT", "LON", "AZIMUTH", "DISTANCE"};

// What an angle stands for: it sets the range and the hemisphere letters it may take.
enum class Quantity { Latitude, Longitude, Azimuth };

Quantity quantity_of(Axis axis)
{
    return axis == Axis::Latitude ? Quantity::Latitude : Quantity::Longitude;
}

const char* const NOT_A_COORDINATE =
    "座標として読めません (not a coordinate; forms: 35:41:22, 35:41, 35.6894, 35:41:22.5, "
    "35:41:22N, 35°41′22″, 35d41m22s, 35度41分22秒: ";
const char* const SIGN_ON_DEGREES_ONLY =
    "符号は度にだけ付けます (only the degrees carry a sign, e.g. -74:0:21)";
const char* const SIGN_AND_LETTER =
    "符号と N/S/E/W は一緒に使えません (give either a sign or a hemisphere letter, not both)";
const char* const LATITUDE_RANGE =
    "緯度は -90 度と 90 度の間です。極は除きます (latitude must lie strictly between -90 and 90 "
    "degrees)";
const char* const LONGITUDE_RANGE =
    "経度は -180～180 度です (longitude must lie within -180..180 degrees)";
const char* const AZIMUTH_RANGE =
    "方位角は -360～360 度です (azimuth must lie within -360..360 degrees)";

// The signs that DMS::Decode takes: ASCII, and in UTF-8 U+2010, U+2011, U+2013, U+2014, U+2212,
// U+2795, U+2796 and U+2064.
const char* const SIGNS[] = {"+", "-", "\u2010", "\u2011", "\u2013", "\u2014",
                             "\u2212", "\u2795", "\u2796", "\u2064"};

// What DMS::Decode replaces before it reads a text, in its order: the degree, minute and second
// marks and the signs of its documented list become d ' " + -, its blanks go; then the bare
// Latin-1 marks, * and `; finally '' becomes ". Like the library, each pass searches on from
// the place of its last replacement, so that the text here is the one the library reads.
const std::pair<const char*, const char*> LIBRARY_SUBSTITUTIONS[] = {
    {"\xc2\xb0", "d"},      {"\xc2\xba", "d"},      {"\xe2\x81\xb0", "d"}, {"\xcb\x9a", "d"},
    {"\xe2\x88\x98", "d"},  {"\xe2\x80\xb2", "'"},  {"\xe2\x80\xb5", "'"}, {"\xc2\xb4", "'"},
    {"\xe2\x80\x98", "'"},  {"\xe2\x80\x99", "'"},  {"\xe2\x80\x9b", "'"}, {"\xca\xb9", "'"},
    {"\xcb\x8a", "'"},      {"\xcb\x8b", "'"},      {"\xe2\x80\xb3", "\""}, {"\xe2\x80\xb6", "\""},
    {"\xcb\x9d", "\""},     {"\xe2\x80\x9c", "\""}, {"\xe2\x80\x9d", "\""}, {"\xe2\x80\x9f", "\""},
    {"\xca\xba", "\""},     {"\xe2\x9e\x95", "+"},  {"\xe2\x81\xa4", "+"}, {"\xe2\x80\x90", "-"},
    {"\xe2\x80\x91", "-"},  {"\xe2\x80\x93", "-"},  {"\xe2\x80\x94", "-"}, {"\xe2\x88\x92", "-"},
    {"\xe2\x9e\x96", "-"},  {"\xc2\xa0", ""},       {"\xe2\x80\x87", ""},  {"\xe2\x80\x89", ""},
    {"\xe2\x80\x8a", ""},   {"\xe2\x80\x8b", ""},   {"\xe2\x80\xaf", ""},  {"\xe2\x81\xa3", ""},
    {"\xb0", "d"},          {"\xba", "d"},          {"*", "d"},            {"`", "'"},
    {"\xb4", "'"},          {"\xa0", ""},           {"''", "\""},
};

// The length of the sign at `at`, or 0.
std::size_t sign_at(std::string_view text, std::size_t at)
{
    for (const char* sign : SIGNS) {
        const std::size_t n = std::strlen(sign);
        if (text.compare(at, n, sign) == 0)
            return n;
    }
    return 0;
}

bool is_hemisphere_letter(char ch)
{
    return ch != '\0' && std::strchr("NSEWnsew", ch) != nullptr;
}

bool is_digit(char ch)
{
    return ch >= '0' && ch <= '9';
}

void set_error(std::string& error, const char* arg_name, std::string_view token,
               std::string_view what)
{
    std::string text(arg_name);
    text += " \"";
    text += token;
    text += "\": ";
    text += what;
    error = text;
}

bool in_range(double degrees, Quantity quantity)
{
    switch (quantity) {
    case Quantity::Latitude:
        return std::abs(degrees) < 90;
    case Quantity::Longitude:
        return std::abs(degrees) <= 180;
    case Quantity::Azimuth:
        break;
    }
    return std::abs(degrees) <= 360;
}

const char* range_message(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Latitude:
        return LATITUDE_RANGE;
    case Quantity::Longitude:
        return LONGITUDE_RANGE;
    case Quantity::Azimuth:
        break;
    }
    return AZIMUTH_RANGE;
}

// Reads up to five digits; more is out of every range and is left to the general reader.
bool read_number(std::string_view& rest, int& value)
{
    std::size_t i = 0;
    value = 0;
    while (i < rest.size() && is_digit(rest[i])) {
        if (i == 5)
            return false;
        value = value * 10 + (rest[i] - '0');
        ++i;
    }
    if (i == 0)
        return false;
    rest.remove_prefix(i);
    return true;
}

enum class Read { NotThisForm, Done, Failed };

// Whole-number D:M:S, the form of the window: read into whole seconds, with its own messages
// for parts out of range.
Read read_whole_dms(std::string_view token, Quantity quantity, const char* arg_name,
                    bool negative, int d, int m, int s, GlobeAngle& angle, std::string& error)
{
    const char* fault = nullptr;
    const int limit = quantity == Quantity::Longitude ? 180 : 360;
    if (quantity == Quantity::Latitude ? d > 89 : d > limit || (d == limit && m + s > 0))
        fault = range_message(quantity);
    else if (m > 59)
        fault = "分は 0～59 です (minutes must be 0..59)";
    else if (s > 59)
        fault = "秒は 0～59 です (seconds must be 0..59)";
    if (fault) {
        set_error(error, arg_name, token, fault);
        return Read::Failed;
    }
    const std::int32_t seconds = 3600 * d + 60 * m + s;
    angle = angle_from_seconds(negative ? -seconds : seconds);
    return Read::Done;
}

// The plain forms, read without DMS::Decode: [+-] then decimal degrees (35.6894), or D:M or
// D:M:S whose last part may have decimals (35:41.5, -74:0:21.25), or whole-number D:M:S (see
// read_whole_dms). They give the library's double to the last bit: it reads a part with a
// decimal point by the standard conversion (correctly rounded, as std::from_chars is), a whole
// part digit by digit (exact here, where every part is below 2^53), and combines the parts as
// below. Any other text, and one out of range or with minutes or seconds of 60 or more (but
// whole-number D:M:S), is left to the general reader, which has the messages.
Read read_plain(std::string_view token, Quantity quantity, const char* arg_name,
                GlobeAngle& angle, std::string& error)
{
    std::string_view rest = token;
    double sign = 1;
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
        sign = rest.front() == '-' ? -1 : 1;
        rest.remove_prefix(1);
    }
    int whole[2] = {0, 0}; // degrees and minutes before the last part
    int parts = 1;
    while (parts <= 2) {
        std::string_view digits = rest;
        if (!read_number(digits, whole[parts - 1]) || digits.empty() || digits.front() != ':')
            break;
        rest = digits.substr(1);
        ++parts;
    }
    std::size_t digit_count = 0;
    bool point = false;
    for (const char ch : rest) {
        if (is_digit(ch))
            ++digit_count;
        else if (ch == '.' && !point)
            point = true;
        else
            return Read::NotThisForm;
    }
    double last = 0;
    if (!point && digit_count >= 1 && digit_count <= 5) {
        int value = 0;
        read_number(rest, value);
        if (parts == 3)
            return read_whole_dms(token, quantity, arg_name, sign < 0, whole[0], whole[1], value,
                                  angle, error);
        last = value;
    } else if (digit_count == 0
               || std::from_chars(rest.data(), rest.data() + rest.size(), last).ptr
                      != rest.data() + rest.size()) {
        return Read::NotThisForm;
    }

    const double d = whole[0], m = whole[1];
    double value = last;
    if (parts == 2) {
        if (!(last < 60))
            return Read::NotThisForm;
        value = last != 0 ? (60 * d + last) / 60 : d;
    } else if (parts == 3) {
        if (m >= 60 || !(last < 60))
            return Read::NotThisForm;
        value = last != 0 ? (60 * (60 * d + m) + last) / 3600 : m != 0 ? (60 * d + m) / 60 : d;
    }
    const double degrees = -0.0 + sign * value;
    if (!in_range(degrees, quantity))
        return Read::NotThisForm;
    angle = angle_from_degrees(degrees == 0 ? 0 : degrees);
    return Read::Done;
}

// Replaces every `from` by `to` as DMS::Decode does: each search goes on from the place of the
// last replacement.
void replace_all(std::string& text, std::string_view from, std::string_view to)
{
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos;)
        text.replace(at, from.size(), to);
}

// The text that DMS::Decode will read, in ASCII: the Japanese forms and the library's own
// substitutions applied.
std::string to_dms_marks(std::string_view token)
{
    static const std::pair<const char*, const char*> JAPANESE[] = {
        {"北緯", "N"}, {"南緯", "S"}, {"東経", "E"}, {"西経", "W"},
        {"度", "d"},   {"分", "'"},   {"秒", "\""}};
    std::string text(token);
    for (const auto& [from, to] : JAPANESE) {
        const std::size_t at = text.find(from);
        if (at != std::string::npos)
            text.replace(at, std::strlen(from), to);
    }
    for (const auto& [from, to] : LIBRARY_SUBSTITUTIONS)
        replace_all(text, from, to);
    // 35d41m22s: DMS::Decode knows no m, and would read a final s as south.
    const std::size_t m = text.find('m');
    if (m != std::string::npos && text.find('d') < m && is_digit(text[m - 1])) {
        text[m] = '\'';
        const std::size_t s = text.find('s', m);
        if (s != std::string::npos && (is_digit(text[s - 1]) || text[s - 1] == '.'))
            text[s] = '"';
        replace_all(text, "''", "\""); // as the library will, for a ' made of the m
    }
    return text;
}

// Why DMS::Decode must not see the text, or nullptr. GeographicLib 2.1.2 reads the degrees,
// minutes and seconds of a text into arrays of three. Each component mark stores its component
// there: d or D the degrees, ' the minutes, " the seconds, and : the component after the one
// stored last. So a : that follows the seconds (1"2:3, 1'2"0:2:1, 1:2:3:4:5) stores a fourth
// component past the arrays, and each further : one more: two of them crash the program. No
// coordinate has a fourth component, so a : after a seconds mark, or after the third component,
// is refused here. A NUL byte matches the end of every character table the library searches (it
// reads as a : mark, as the digit 10 and as W), and a byte that is still not ASCII can only be
// refused by the library: both are refused here too.
const char* refused_before_decoding(std::string_view text)
{
    if (text.find('\0') != std::string_view::npos)
        return "a NUL byte";
    int last_component = -1;
    for (const char ch : text) {
        if (static_cast<unsigned char>(ch) >= 0x80)
            return "a character that no form of coordinate uses";
        int component = 0;
        switch (ch) {
        case 'd':
        case 'D':
            component = 0;
            break;
        case '\'':
            component = 1;
            break;
        case '"':
            component = 2;
            break;
        case ':':
            component = last_component + 1;
            break;
        default:
            continue;
        }
        if (component > 2)
            return "more than three components (degrees, minutes, seconds)";
        last_component = std::max(last_component, component);
    }
    return nullptr;
}

// Reads one angle of any quantity; the rules of parse_coordinate, with an azimuth taking no
// hemisphere letter.
bool read_angle(std::string_view token, Quantity quantity, const char* arg_name, GlobeAngle& angle,
                std::string& error, Readers readers)
{
    if (readers == Readers::All) {
        const Read plain = read_plain(token, quantity, arg_name, angle, error);
        if (plain != Read::NotThisForm)
            return plain == Read::Done;
    }

    const std::string text = to_dms_marks(token);
    // DMS::Decode adds up the pieces of a text with signs inside (35-41-22 is -28); here a sign
    // only leads the coordinate, after a hemisphere letter at most.
    const std::size_t lead = !text.empty() && is_hemisphere_letter(text[0]) ? 1 : 0;
    bool has_sign = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+' || text[i] == '-') {
            if (i != lead) {
                set_error(error, arg_name, token, SIGN_ON_DEGREES_ONLY);
                return false;
            }
            has_sign = true;
        }
    }
    if (const char* refusal = refused_before_decoding(text)) {
        set_error(error, arg_name, token, std::string(NOT_A_COORDINATE) + refusal + ")");
        return false;
    }

    GeographicLib::DMS::flag letter = GeographicLib::DMS::NONE;
    double degrees = 0;
    try {
        degrees = GeographicLib::DMS::Decode(text, letter);
    } catch (const std::exception& e) {
        set_error(error, arg_name, token, std::string(NOT_A_COORDINATE) + e.what() + ")");
        return false;
    }
    const char* fault = nullptr;
    if (has_sign && letter != GeographicLib::DMS::NONE)
        fault = SIGN_AND_LETTER;
    else if (quantity == Quantity::Latitude && letter == GeographicLib::DMS::LONGITUDE)
        fault = "緯度に E/W は付けられません (a latitude takes N or S, not E or W)";
    else if (quantity == Quantity::Longitude && letter == GeographicLib::DMS::LATITUDE)
        fault = "経度に N/S は付けられません (a longitude takes E or W, not N or S)";
    else if (quantity == Quantity::Azimuth && letter != GeographicLib::DMS::NONE)
        fault = "方位角に N/S/E/W は付けられません (an azimuth takes no hemisphere letter)";
    else if (!in_range(degrees, quantity))
        fault = range_message(quantity);
    if (fault) {
        set_error(error, arg_name, token, fault);
        return false;
    }
    angle = angle_from_degrees(degrees == 0 ? 0 : degrees);
    return true;
}

// A distance: a plain decimal number ([+-]digits[.digits]), 0 <= value <= 1000000.
bool read_distance(std::string_view token, const char* arg_name, double& distance,
                   std::string& error)
{
    std::string_view number = token;
    if (!number.empty() && (number.front() == '+' || number.front() == '-'))
        number.remove_prefix(1);
    const bool plain = number.find_first_not_of("0123456789.") == std::string_view::npos
        && number.find_first_of("0123456789") != std::string_view::npos
        && number.find('.') == number.rfind('.');
    double value = 0;
    if (!plain) {
        set_error(error, arg_name, token,
                  "距離として読めません (not a distance: give a number such as 500 or 12.5)");
        return false;
    }
    std::from_chars(number.data(), number.data() + number.size(), value);
    if (token.front() == '-')
        value = -value;
    if (!(value >= 0 && value <= 1000000)) {
        set_error(error, arg_name, token,
                  "距離は 0 以上 1000000 以下です (distance must lie within 0..1000000)");
        return false;
    }
    distance = value;
    return true;
}

// Splits a line at blanks and tabs; returns the number of fields, of which the first four are
// set in `tokens`.
int split_fields(std::string_view line, std::string_view (&tokens)[4])
{
    int count = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i == line.size())
            break;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (count < 4)
            tokens[count] = line.substr(start, i - start);
        ++count;
    }
    return count;
}

} // namespace

bool parse_coordinate(std::string_view token, Axis axis, const char* arg_name, GlobeAngle& angle,
                      std::string& error, Readers readers)
{
    return read_angle(token, quantity_of(axis), arg_name, angle, error, readers);
}

bool parse_points(const std::string_view (&tokens)[4], GlobePoint& dep, GlobePoint& dst,
                  std::string& error, Readers readers)
{
    return parse_coordinate(tokens[0], Axis::Latitude, ARG_NAMES[0], dep.lat, error, readers)
        && parse_coordinate(tokens[1], Axis::Longitude, ARG_NAMES[1], dep.lon, error, readers)
        && parse_coordinate(tokens[2], Axis::Latitude, ARG_NAMES[2], dst.lat, error, readers)
        && parse_coordinate(tokens[3], Axis::Longitude, ARG_NAMES[3], dst.lon, error, readers);
}

bool parse_line(std::string_view line, GlobePoint& dep, GlobePoint& dst, std::string& error,
                Readers readers)
{
    std::string_view tokens[4];
    const int count = split_fields(line, tokens);
    if (count != 4) {
        error = "座標は 4 つ必要です (expected 4 coordinates LAT1 LON1 LAT2 LON2, found "
            + std::to_string(count) + ")";
        return false;
    }
    return parse_points(tokens, dep, dst, error, readers);
}

bool parse_direct(const std::string_view (&tokens)[4], DirectQuery& query, std::string& error,
                  Readers readers)
{
    const char* const* names = DIRECT_ARG_NAMES;
    return read_angle(tokens[0], Quantity::Latitude, names[0], query.from.lat, error, readers)
        && read_angle(tokens[1], Quantity::Longitude, names[1], query.from.lon, error, readers)
        && parse_azimuth_distance(tokens[2], tokens[3], query, error, readers);
}

bool parse_azimuth_distance(std::string_view azimuth, std::string_view distance, DirectQuery& query,
                            std::string& error, Readers readers)
{
    GlobeAngle angle;
    if (!(read_angle(azimuth, Quantity::Azimuth, DIRECT_ARG_NAMES[2], angle, error, readers)
          && read_distance(distance, DIRECT_ARG_NAMES[3], query.distance, error)))
        return false;
    query.azimuth = angle.degrees;
    return true;
}

bool parse_direct_line(std::string_view line, DirectQuery& query, std::string& error,
                       Readers readers)
{
    std::string_view tokens[4];
    const int count = split_fields(line, tokens);
    if (count != 4) {
        error = "値は 4 つ必要です (expected 4 values LAT LON AZIMUTH DISTANCE, found "
            + std::to_string(count) + ")";
        return false;
    }
    return parse_direct(tokens, query, error, readers);
}

bool looks_like_coordinate(std::string_view operand)
{
    std::size_t at = 0;
    for (const char* prefix : {"北緯", "南緯", "東経", "西経"}) {
        if (operand.compare(0, std::strlen(prefix), prefix) == 0)
            at = std::strlen(prefix);
    }
    if (at == 0 && !operand.empty() && is_hemisphere_letter(operand[0]))
        at = 1;
    at += sign_at(operand, at);
    if (at < operand.size() && operand[at] == '.')
        ++at;
    return at < operand.size() && is_digit(operand[at]);
}

} // namespace orvine::calc
