#include "app/cli/calc_input.h"

namespace orvine::calc {

namespace {

const char* const ARG_NAMES[4] = {"LAT1", "LON1", "LAT2", "LON2"};

// Reads up to five digits; more is out of every range and would not fit the field.
bool read_number(std::string_view& rest, int& value)
{
    std::size_t i = 0;
    value = 0;
    while (i < rest.size() && rest[i] >= '0' && rest[i] <= '9') {
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

void set_error(std::string& error, const char* arg_name, std::string_view token, const char* what)
{
    error.assign(arg_name);
    error += " \"";
    error.append(token.data(), token.size());
    error += "\": ";
    error += what;
}

} // namespace

bool parse_coordinate(std::string_view token, Axis axis, const char* arg_name,
                      std::int16_t& degrees, std::int16_t& minutes, std::int16_t& seconds,
                      std::string& error)
{
    const bool latitude = axis == Axis::Latitude;
    std::string_view rest = token;
    bool negative = false;
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }

    int d = 0, m = 0, s = 0;
    bool digits_ok = read_number(rest, d) && !rest.empty() && rest.front() == ':';
    if (digits_ok) {
        rest.remove_prefix(1);
        if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
            set_error(error, arg_name, token,
                      "符号は度にだけ付けます (only the degrees carry a sign, e.g. -74:0:21)");
            return false;
        }
        digits_ok = read_number(rest, m) && !rest.empty() && rest.front() == ':';
    }
    if (digits_ok) {
        rest.remove_prefix(1);
        digits_ok = read_number(rest, s) && rest.empty();
    }
    if (!digits_ok) {
        set_error(error, arg_name, token,
                  "度:分:秒 の形で書いてください (expected D:M:S in whole numbers, e.g. 35:41:22 or "
                  "-74:0:21)");
        return false;
    }

    if (negative && d == 0) {
        set_error(error, arg_name, token,
                  latitude ? "南緯 1 度未満は表せません。0 度は北緯です (less than one degree south "
                             "cannot be represented: 0 degrees is north)"
                           : "西経 1 度未満は表せません。0 度は東経です (less than one degree west "
                             "cannot be represented: 0 degrees is east)");
        return false;
    }
    if (d > (latitude ? 89 : 179)) {
        set_error(error, arg_name, token,
                  latitude ? "緯度の度は -89～89 です (latitude degrees must be -89..89)"
                           : "経度の度は -179～179 です (longitude degrees must be -179..179)");
        return false;
    }
    if (m > 59) {
        set_error(error, arg_name, token, "分は 0～59 です (minutes must be 0..59)");
        return false;
    }
    if (s > 59) {
        set_error(error, arg_name, token, "秒は 0～59 です (seconds must be 0..59)");
        return false;
    }
    degrees = static_cast<std::int16_t>(negative ? -d : d);
    minutes = static_cast<std::int16_t>(m);
    seconds = static_cast<std::int16_t>(s);
    return true;
}

bool parse_points(const std::string_view (&tokens)[4], Point& dep, Point& dst, std::string& error)
{
    return parse_coordinate(tokens[0], Axis::Latitude, ARG_NAMES[0], dep.ido_do, dep.ido_hun,
                            dep.ido_byo, error)
        && parse_coordinate(tokens[1], Axis::Longitude, ARG_NAMES[1], dep.kei_do, dep.kei_hun,
                            dep.kei_byo, error)
        && parse_coordinate(tokens[2], Axis::Latitude, ARG_NAMES[2], dst.ido_do, dst.ido_hun,
                            dst.ido_byo, error)
        && parse_coordinate(tokens[3], Axis::Longitude, ARG_NAMES[3], dst.kei_do, dst.kei_hun,
                            dst.kei_byo, error);
}

bool parse_line(std::string_view line, Point& dep, Point& dst, std::string& error)
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

} // namespace orvine::calc
