#pragma once
// The calculator's output records, one line each, in the chosen format and distance unit.
//
// Fields of the inverse problem (LAT1 LON1 LAT2 LON2), in this order (the CSV header and the
// JSON keys use these names):
//   bearing        B, degrees clockwise from north, 0 <= value < 360, 17 significant digits
//   direction      the sector name, e.g. 北北東（丑）
//   distance_km    D in the chosen unit (the name ends in _km, _nmi or _mi)
//   bearing_text   the window's bearing caption, e.g. " 25.1014 度    北北東（丑）"
//   distance_text  the window's distance caption, always in Ｋｍ, e.g. " 10842.64 Ｋｍ"
// with --final:
//   final_bearing  the bearing of travel on arrival, degrees, 0 <= value < 360
// with --ellipsoid (GRS80, GeographicLib's Geodesic):
//   ellipsoid_distance_km, ellipsoid_bearing, ellipsoid_final_bearing (azimuths 0 <= value < 360)
//
// Fields of the direct problem (LAT LON AZIMUTH DISTANCE, --direct), on the sphere:
//   lat2, lon2 (-180 <= value < 180), final_bearing (0 <= value < 360)
// with --ellipsoid also on GRS80:
//   ellipsoid_lat2, ellipsoid_lon2, ellipsoid_final_bearing
#include "app/cli/calc_figures.h"
#include "geodesy/globe.h"
#include "search/gazetteer.h"

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
    bool direct = false;
};

// Kilometres per unit: 1, 1.852 or 1.609344.
double km_per_unit(Unit unit);

// The CSV header line; nothing for the other formats.
void append_header(std::string& out, const Columns& columns);

// One record for a computed pair; `ellipsoid` is used when columns.ellipsoid is set.
void append_record(std::string& out, const Columns& columns, const GlobeCalculation& result,
                   const EllipsoidFigures& ellipsoid);

// One record of the direct problem; `ellipsoid` is used when columns.ellipsoid is set.
void append_direct_record(std::string& out, const Columns& columns, const Destination& sphere,
                          const Destination& ellipsoid);

// The places that --search lists, one record each with the fields name (without the
// disambiguation), where (prefecture or state, and country, as PlaceMatch::where gives them),
// lat and lon (the gazetteer's decimal degrees, as few digits as give the same number) and
// population (0 where the data has none). The CSV header "name,where,lat,lon,population";
// nothing for the other formats.
void append_place_header(std::string& out, Format format);
void append_place_record(std::string& out, Format format, const PlaceMatch& place);

// A line that could not be computed: "ERROR: message" (TSV), ERROR,"message" (CSV),
// {"error":"message"} (JSON), the message escaped by escape_controls first.
void append_error(std::string& out, const Columns& columns, std::string_view message);

// A blank or comment line of the input, so that the output keeps one line per input line. A
// comment becomes one field: escaped by escape_controls in TSV, and in CSV also quoted as CSV
// requires; in JSON {"comment":"line"}, its text carried exactly (escaped once, by JSON's rules,
// bytes that are not UTF-8 as the text \xHH). A blank line stays as it is in TSV, is empty in
// CSV and {} in JSON.
void append_kept_line(std::string& out, const Columns& columns, std::string_view line);

// The text with every byte that a terminal could act on made visible: control characters
// (U+0000..U+001F, U+007F, U+0080..U+009F) and bytes that are not UTF-8 become \xHH (\t for a
// tab), and a backslash becomes \\, so that the escapes cannot be confused with the text.
std::string escape_controls(std::string_view text);

} // namespace orvine::calc
