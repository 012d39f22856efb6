#include "app/cli/calc_input.h"

#include <GeographicLib/DMS.hpp>

#include <cmath>
#include <cstring>

namespace orvine::calc {

namespace {

const char* const ARG_NAMES[4] = {"LAT1", "LON1", "LAT2", "LON2"};

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

// The signs that DMS::Decode takes: ASCII, and in UTF-8 U+2010, U+2011, U+2013, U+2014, U+2212,
// U+2795, U+2796 and U+2064.
const char* const SIGNS[] = {"+", "-", "\u2010", "\u2011", "\u2013", "\u2014",
                             "\u2212", "\u2795", "\u2796", "\u2064"};

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

// Whole-number D:M:S with an optional sign, the form of the window and of most batch lines.
Read read_whole_dms(std::string_view token, Axis axis, const char* arg_name, GlobeAngle& angle,
                    std::string& error)
{
    std::string_view rest = token;
    bool negative = false;
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    int d = 0, m = 0, s = 0;
    if (!(read_number(rest, d) && !rest.empty() && rest.front() == ':'))
        return Read::NotThisForm;
    rest.remove_prefix(1);
    if (!(read_number(rest, m) && !rest.empty() && rest.front() == ':'))
        return Read::NotThisForm;
    rest.remove_prefix(1);
    if (!(read_number(rest, s) && rest.empty()))
        return Read::NotThisForm;

    const char* fault = nullptr;
    if (axis == Axis::Latitude ? d > 89 : d > 180 || (d == 180 && m + s > 0))
        fault = axis == Axis::Latitude ? LATITUDE_RANGE : LONGITUDE_RANGE;
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

// The Japanese and the letter forms in the marks that DMS::Decode reads.
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
    // 35d41m22s: DMS::Decode knows no m, and would read a final s as south.
    const std::size_t m = text.find('m');
    if (m != std::string::npos && text.find('d') < m && is_digit(text[m - 1])) {
        text[m] = '\'';
        const std::size_t s = text.find('s', m);
        if (s != std::string::npos && (is_digit(text[s - 1]) || text[s - 1] == '.'))
            text[s] = '"';
    }
    return text;
}

} // namespace

bool parse_coordinate(std::string_view token, Axis axis, const char* arg_name, GlobeAngle& angle,
                      std::string& error)
{
    const Read whole = read_whole_dms(token, axis, arg_name, angle, error);
    if (whole != Read::NotThisForm)
        return whole == Read::Done;

    const std::string text = to_dms_marks(token);
    // DMS::Decode adds up the pieces of a text with signs inside (35-41-22 is -28); here a sign
    // only leads the coordinate, after a hemisphere letter at most.
    const std::size_t lead = !text.empty() && is_hemisphere_letter(text[0]) ? 1 : 0;
    bool has_sign = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (const std::size_t n = sign_at(text, i)) {
            if (i != lead) {
                set_error(error, arg_name, token, SIGN_ON_DEGREES_ONLY);
                return false;
            }
            has_sign = true;
            i += n - 1;
        }
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
    else if (axis == Axis::Latitude && letter == GeographicLib::DMS::LONGITUDE)
        fault = "緯度に E/W は付けられません (a latitude takes N or S, not E or W)";
    else if (axis == Axis::Longitude && letter == GeographicLib::DMS::LATITUDE)
        fault = "経度に N/S は付けられません (a longitude takes E or W, not N or S)";
    else if (axis == Axis::Latitude && !(std::abs(degrees) < 90))
        fault = LATITUDE_RANGE;
    else if (axis == Axis::Longitude && !(std::abs(degrees) <= 180))
        fault = LONGITUDE_RANGE;
    if (fault) {
        set_error(error, arg_name, token, fault);
        return false;
    }
    angle = angle_from_degrees(degrees == 0 ? 0 : degrees);
    return true;
}

bool parse_points(const std::string_view (&tokens)[4], GlobePoint& dep, GlobePoint& dst,
                  std::string& error)
{
    return parse_coordinate(tokens[0], Axis::Latitude, ARG_NAMES[0], dep.lat, error)
        && parse_coordinate(tokens[1], Axis::Longitude, ARG_NAMES[1], dep.lon, error)
        && parse_coordinate(tokens[2], Axis::Latitude, ARG_NAMES[2], dst.lat, error)
        && parse_coordinate(tokens[3], Axis::Longitude, ARG_NAMES[3], dst.lon, error);
}

bool parse_line(std::string_view line, GlobePoint& dep, GlobePoint& dst, std::string& error)
{
    std::string_view tokens[4];
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
    if (count != 4) {
        error = "座標は 4 つ必要です (expected 4 coordinates LAT1 LON1 LAT2 LON2, found "
            + std::to_string(count) + ")";
        return false;
    }
    return parse_points(tokens, dep, dst, error);
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
