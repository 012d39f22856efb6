#include "app/cli/calc_output.h"

#include <charconv>

namespace orvine::calc {

namespace {

const char HEX[] = "0123456789ABCDEF";

void append_double17(std::string& out, double v)
{
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17).ptr;
    out.append(buf, end);
}

const char* unit_suffix(Unit unit)
{
    switch (unit) {
    case Unit::Nmi:
        return "_nmi";
    case Unit::Mi:
        return "_mi";
    case Unit::Km:
        break;
    }
    return "_km";
}

void append_hex_byte(std::string& out, const char* prefix, unsigned char b)
{
    out += prefix;
    out += HEX[b >> 4];
    out += HEX[b & 15];
}

// The length of the UTF-8 sequence that starts `text`, or 0 when its first byte starts none:
// overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
std::size_t utf8_length(std::string_view text)
{
    const auto b = static_cast<unsigned char>(text[0]);
    if (b < 0x80)
        return 1;
    std::size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF; // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF)
        n = 2;
    else if (b >= 0xE0 && b <= 0xEF)
        n = 3, lo = b == 0xE0 ? 0xA0 : 0x80, hi = b == 0xED ? 0x9F : 0xBF;
    else if (b >= 0xF0 && b <= 0xF4)
        n = 4, lo = b == 0xF0 ? 0x90 : 0x80, hi = b == 0xF4 ? 0x8F : 0xBF;
    if (n == 0 || n > text.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(text[k]);
        if (k == 1 ? c < lo || c > hi : c < 0x80 || c > 0xBF)
            return 0;
    }
    return n;
}

// The code point of a C0 or C1 control character or DEL at the start of a UTF-8 sequence of
// length n, or -1.
int control_at(std::string_view text, std::size_t n)
{
    const auto b = static_cast<unsigned char>(text[0]);
    if (n == 1)
        return b < 0x20 || b == 0x7F ? b : -1;
    const auto c = static_cast<unsigned char>(text[1]);
    return n == 2 && b == 0xC2 && c < 0xA0 ? c : -1;
}

// A JSON string of the text: " and \ escaped, control characters as \t, \n, \r or \u00XX, and each
// byte that is not UTF-8 as the text \xHH (written \\xHH), as escape_controls shows it.
void append_json_string(std::string& out, std::string_view text)
{
    out += '"';
    while (!text.empty()) {
        const std::size_t n = utf8_length(text);
        if (n == 0) {
            append_hex_byte(out, "\\\\x", static_cast<unsigned char>(text[0]));
            text.remove_prefix(1);
            continue;
        }
        const int control = control_at(text, n);
        if (control == '\t' || control == '\n' || control == '\r')
            out += control == '\t' ? "\\t" : control == '\n' ? "\\n" : "\\r";
        else if (control >= 0)
            append_hex_byte(out, "\\u00", static_cast<unsigned char>(control));
        else if (text[0] == '"' || text[0] == '\\')
            out += '\\', out += text[0];
        else
            out.append(text.substr(0, n));
        text.remove_prefix(n);
    }
    out += '"';
}

void append_csv_field(std::string& out, std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char ch : text) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    out += '"';
}

// Lays out one record field by field: the separator, and the name for JSON.
class Record {
public:
    Record(std::string& out, Format format) : out_(out), format_(format)
    {
        if (format_ == Format::Json)
            out_ += '{';
    }
    void number(const char* name, const char* suffix, double value)
    {
        start(name, suffix);
        append_double17(out_, value);
    }
    // As few digits as read back as the same double.
    void shortest(const char* name, double value)
    {
        start(name, "");
        char buf[32];
        out_.append(buf, std::to_chars(buf, buf + sizeof buf, value).ptr);
    }
    void integer(const char* name, std::uint32_t value)
    {
        start(name, "");
        out_ += std::to_string(value);
    }
    void text(const char* name, std::string_view value)
    {
        start(name, "");
        if (format_ == Format::Json)
            append_json_string(out_, value);
        else if (format_ == Format::Csv)
            append_csv_field(out_, value);
        else
            out_ += value;
    }
    void end() { out_ += format_ == Format::Json ? "}\n" : "\n"; }

private:
    void start(const char* name, const char* suffix)
    {
        if (!first_)
            out_ += format_ == Format::Tsv ? '\t' : ',';
        first_ = false;
        if (format_ == Format::Json) {
            out_ += '"';
            out_ += name;
            out_ += suffix;
            out_ += "\":";
        }
    }
    std::string& out_;
    Format format_;
    bool first_ = true;
};

} // namespace

double km_per_unit(Unit unit)
{
    switch (unit) {
    case Unit::Nmi:
        return 1.852;
    case Unit::Mi:
        return 1.609344;
    case Unit::Km:
        break;
    }
    return 1;
}

void append_header(std::string& out, const Columns& columns)
{
    if (columns.format != Format::Csv)
        return;
    if (columns.direct) {
        out += "lat2,lon2,final_bearing";
        if (columns.ellipsoid)
            out += ",ellipsoid_lat2,ellipsoid_lon2,ellipsoid_final_bearing";
        out += '\n';
        return;
    }
    const char* suffix = unit_suffix(columns.unit);
    out += "bearing,direction,distance";
    out += suffix;
    out += ",bearing_text,distance_text";
    if (columns.final_bearing)
        out += ",final_bearing";
    if (columns.ellipsoid) {
        out += ",ellipsoid_distance";
        out += suffix;
        out += ",ellipsoid_bearing,ellipsoid_final_bearing";
    }
    out += '\n';
}

void append_record(std::string& out, const Columns& columns, const GlobeCalculation& result,
                   const EllipsoidFigures& ellipsoid)
{
    const char* suffix = unit_suffix(columns.unit);
    const double km_per = km_per_unit(columns.unit);
    Record r(out, columns.format);
    // The window's B may be 360 (due north, reached from the west side); the column says 0.
    r.number("bearing", "", azimuth_0_360(result.b));
    r.text("direction", result.sector->name);
    r.number("distance", suffix, result.d / km_per);
    r.text("bearing_text", result.bearing_caption);
    r.text("distance_text", result.distance_caption);
    if (columns.final_bearing)
        r.number("final_bearing", "", azimuth_0_360(result.final_b));
    if (columns.ellipsoid) {
        r.number("ellipsoid_distance", suffix, ellipsoid.distance_m / 1000 / km_per);
        r.number("ellipsoid_bearing", "", ellipsoid.bearing);
        r.number("ellipsoid_final_bearing", "", ellipsoid.final_bearing);
    }
    r.end();
}

void append_direct_record(std::string& out, const Columns& columns, const Destination& sphere,
                          const Destination& ellipsoid)
{
    Record r(out, columns.format);
    r.number("lat2", "", sphere.lat);
    r.number("lon2", "", sphere.lon);
    r.number("final_bearing", "", sphere.final_bearing);
    if (columns.ellipsoid) {
        r.number("ellipsoid_lat2", "", ellipsoid.lat);
        r.number("ellipsoid_lon2", "", ellipsoid.lon);
        r.number("ellipsoid_final_bearing", "", ellipsoid.final_bearing);
    }
    r.end();
}

void append_place_header(std::string& out, Format format)
{
    if (format == Format::Csv)
        out += "name,where,lat,lon,population\n";
}

void append_place_record(std::string& out, Format format, const PlaceMatch& place)
{
    Record r(out, format);
    r.text("name", place.name);
    r.text("where", place.where());
    r.shortest("lat", place.latitude);
    r.shortest("lon", place.longitude);
    r.integer("population", place.population);
    r.end();
}

void append_error(std::string& out, const Columns& columns, std::string_view message)
{
    const std::string text = escape_controls(message);
    switch (columns.format) {
    case Format::Tsv:
        out += "ERROR: ";
        out += text;
        out += '\n';
        return;
    case Format::Csv:
        out += "ERROR,";
        append_csv_field(out, text);
        out += '\n';
        return;
    case Format::Json:
        out += "{\"error\":";
        append_json_string(out, text);
        out += "}\n";
        return;
    }
}

void append_kept_line(std::string& out, const Columns& columns, std::string_view line)
{
    const bool comment = line.find('#') != std::string_view::npos;
    switch (columns.format) {
    case Format::Tsv:
        out += comment ? escape_controls(line) : std::string(line);
        break;
    case Format::Csv:
        if (comment)
            append_csv_field(out, escape_controls(line));
        break;
    case Format::Json:
        if (comment) {
            out += "{\"comment\":";
            append_json_string(out, line);
            out += '}';
        } else {
            out += "{}";
        }
        break;
    }
    out += '\n';
}

std::string escape_controls(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t n = utf8_length(text);
        if (n == 0) {
            append_hex_byte(out, "\\x", static_cast<unsigned char>(text[0]));
            text.remove_prefix(1);
            continue;
        }
        if (text[0] == '\t') {
            out += "\\t";
        } else if (text[0] == '\\') {
            out += "\\\\";
        } else if (control_at(text, n) >= 0) {
            for (std::size_t k = 0; k < n; ++k)
                append_hex_byte(out, "\\x", static_cast<unsigned char>(text[k]));
        } else {
            out.append(text.substr(0, n));
        }
        text.remove_prefix(n);
    }
    return out;
}

} // namespace orvine::calc
