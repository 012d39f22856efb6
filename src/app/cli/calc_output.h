#pragma once
// The calculator's output records, one line each, in the chosen format and distance unit.
//
// Fields, in this order (the CSV header and the JSON keys use these names):
//   bearing        B, degrees clockwise from north, 17 significant digits
//   direction      the sector name, e.g. 北北東（丑）
//   distance_km    D in the chosen unit (the name ends in _km, _nmi or _mi)
//   bearing_text   the window's bearing caption, e.g. " 25.1014 度    北北東（丑）"
//   distance_text  the window's distance caption, always in Ｋｍ, e.g. " 10842.64 Ｋｍ"
// with --final:
//   final_bearing  the bearing of travel on arrival, degrees, 0 <= value < 360
// with --ellipsoid (GRS80, GeographicLib's Geodesic):
//   ellipsoid_distance_km, ellipsoid_bearing, ellipsoid_final_bearing (azimuths 0 <= value < 360)
#include "geodesy/globe.h"

#include <string>
#include <string_view>

namespace orvine::calc {

enum class Format { Tsv, Csv, Json };
enum class Unit { Km, Nmi, Mi };

struct Columns {
    Format format = Format::Tsv;
    Unit unit = Unit::Km;
    bool final_bearing = false;
    bool ellipsoid = false;
};

struct EllipsoidFigures {
    double distance_m = 0;
    double bearing = 0;       // azimuth at the departure, 0 <= value < 360
    double final_bearing = 0; // azimuth at the destination, 0 <= value < 360
};

// Distance and azimuths on GRS80 (a = 6378137 m, f = 1/298.257222101).
EllipsoidFigures ellipsoid_figures(const GlobePoint& dep, const GlobePoint& dst);

// The CSV header line; nothing for the other formats.
void append_header(std::string& out, const Columns& columns);

// One record for a computed pair; `ellipsoid` is used when columns.ellipsoid is set.
void append_record(std::string& out, const Columns& columns, const GlobeCalculation& result,
                   const EllipsoidFigures& ellipsoid);

// A line that could not be computed: "ERROR: message" (TSV), ERROR,"message" (CSV),
// {"error":"message"} (JSON), the message escaped by escape_controls first.
void append_error(std::string& out, const Columns& columns, std::string_view message);

// A blank or comment line of the input: as it is in TSV and CSV; {} or {"comment":"line"} in
// JSON, where every line must be a record.
void append_kept_line(std::string& out, const Columns& columns, std::string_view line);

// The text with every byte that a terminal could act on made visible: control characters
// (U+0000..U+001F, U+007F, U+0080..U+009F) and bytes that are not UTF-8 become \xHH (\t for a
// tab), and a backslash becomes \\, so that the escapes cannot be confused with the text.
std::string escape_controls(std::string_view text);

// A message with its carriage returns as line feeds, for standard error.
std::string message_lines(std::string_view message);

// A message on one line: its lines trimmed of blanks and joined by one blank, for the batch
// mode's ERROR lines, which must stay aligned with the input lines.
std::string message_one_line(std::string_view message);

} // namespace orvine::calc
