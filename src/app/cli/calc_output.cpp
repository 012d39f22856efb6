#include "app/cli/calc_output.h"

#include <GeographicLib/Geodesic.hpp>

#include <charconv>

namespace orvine::calc {

namespace {

void append_double17(std::string& out, double v)
{
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17).ptr;
    out.append(buf, end);
}

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

double azimuth_0_360(double azimuth)
{
    return azimuth < 0 ? azimuth + 360 : azimuth == 0 ? 0 : azimuth;
}

void append_json_string(std::string& out, std::string_view text)
{
    static const char HEX[] = "0123456789abcdef";
    out += '"';
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (b < 0x20) {
            out += "\\u00";
            out += HEX[b >> 4];
            out += HEX[b & 15];
        } else {
            out += ch;
        }
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

EllipsoidFigures ellipsoid_figures(const GlobePoint& dep, const GlobePoint& dst)
{
    static const GeographicLib::Geodesic grs80(6378137, 1 / 298.257222101);
    EllipsoidFigures f;
    grs80.Inverse(dep.lat.degrees, dep.lon.degrees, dst.lat.degrees, dst.lon.degrees,
                  f.distance_m, f.bearing, f.final_bearing);
    f.bearing = azimuth_0_360(f.bearing);
    f.final_bearing = azimuth_0_360(f.final_bearing);
    return f;
}

void append_header(std::string& out, const Columns& columns)
{
    if (columns.format != Format::Csv)
        return;
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
    r.number("bearing", "", result.b);
    r.text("direction", result.sector->name);
    r.number("distance", suffix, result.d / km_per);
    r.text("bearing_text", result.bearing_caption);
    r.text("distance_text", result.distance_caption);
    if (columns.final_bearing)
        r.number("final_bearing", "", result.final_b);
    if (columns.ellipsoid) {
        r.number("ellipsoid_distance", suffix, ellipsoid.distance_m / 1000 / km_per);
        r.number("ellipsoid_bearing", "", ellipsoid.bearing);
        r.number("ellipsoid_final_bearing", "", ellipsoid.final_bearing);
    }
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
    if (columns.format != Format::Json) {
        out += line;
    } else if (line.find('#') == std::string_view::npos) {
        out += "{}";
    } else {
        out += "{\"comment\":";
        append_json_string(out, escape_controls(line));
        out += '}';
    }
    out += '\n';
}

std::string escape_controls(std::string_view text)
{
    static const char HEX[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    auto escape_byte = [&out](unsigned char b) {
        out += "\\x";
        out += HEX[b >> 4];
        out += HEX[b & 15];
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            if (b == '\t')
                out += "\\t";
            else if (b == '\\')
                out += "\\\\";
            else if (b < 0x20 || b == 0x7F)
                escape_byte(b);
            else
                out += static_cast<char>(b);
            ++i;
            continue;
        }
        // A UTF-8 sequence: its length and the range of its second byte (which excludes
        // overlong forms and surrogates).
        std::size_t n = 0;
        unsigned char lo = 0x80, hi = 0xBF;
        if (b >= 0xC2 && b <= 0xDF)
            n = 2;
        else if (b >= 0xE0 && b <= 0xEF)
            n = 3, lo = b == 0xE0 ? 0xA0 : 0x80, hi = b == 0xED ? 0x9F : 0xBF;
        else if (b >= 0xF0 && b <= 0xF4)
            n = 4, lo = b == 0xF0 ? 0x90 : 0x80, hi = b == 0xF4 ? 0x8F : 0xBF;
        bool valid = n > 0 && i + n <= text.size();
        for (std::size_t k = 1; valid && k < n; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            valid = k == 1 ? c >= lo && c <= hi : c >= 0x80 && c <= 0xBF;
        }
        const bool c1_control = valid && b == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        if (!valid || c1_control) {
            escape_byte(b);
            ++i;
            if (c1_control)
                escape_byte(static_cast<unsigned char>(text[i++]));
            continue;
        }
        out.append(text.substr(i, n));
        i += n;
    }
    return out;
}

std::string message_lines(std::string_view message)
{
    std::string text(message);
    for (char& ch : text) {
        if (ch == '\r')
            ch = '\n';
    }
    return text;
}

std::string message_one_line(std::string_view message)
{
    std::string text;
    std::size_t start = 0;
    while (start <= message.size()) {
        std::size_t end = message.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = message.size();
        std::string_view part = message.substr(start, end - start);
        while (!part.empty() && part.front() == ' ')
            part.remove_prefix(1);
        while (!part.empty() && part.back() == ' ')
            part.remove_suffix(1);
        if (!part.empty()) {
            if (!text.empty())
                text += ' ';
            text += part;
        }
        start = end + 1;
    }
    return text;
}

} // namespace orvine::calc
