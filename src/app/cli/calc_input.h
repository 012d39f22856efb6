#pragma once
// Reading the calculator's coordinates. One coordinate is any of
//   D:M:S (the window's entry form, sign on the degrees), D:M, decimal degrees, fractional
//   seconds (35:41:22.5), a hemisphere letter instead of a sign (35:41:22N, W74:0:21), degree,
//   minute and second marks (35°41′22″, 35°41'22", 35d41'22", 35d41m22s), and the Japanese
//   35度41分22秒 with 北緯, 南緯, 東経, 西経 in front.
// Whole-number D:M:S, decimal degrees and D:M:S or D:M with decimals in the last part are read
// here directly (batch runs are mostly those); every other form, and every text that those
// readers do not take, goes through GeographicLib's DMS::Decode, which gives the same degrees
// to the last bit and every message. Texts that the library cannot take safely are refused
// before it sees them (see calc_input.cpp).
#include "geodesy/coordinates.h"
#include "geodesy/globe.h"

#include <string>
#include <string_view>

namespace orvine::calc {

// Reads one coordinate. Latitudes must lie strictly between -90 and 90 degrees and longitudes
// within -180..180; minutes and seconds must be below 60; a sign only leads the coordinate and
// never joins a hemisphere letter; a latitude takes N or S only, a longitude E or W. On failure
// returns false and sets `error` to a message that names `arg_name` and the token as it was given
// (whoever shows the message escapes it) and says what is wrong.
// `readers` GeneralOnly sends every text through DMS::Decode, for comparing the readers.
enum class Readers { All, GeneralOnly };
bool parse_coordinate(std::string_view token, Axis axis, const char* arg_name, GlobeAngle& angle,
                      std::string& error, Readers readers = Readers::All);

// The four arguments LAT1 LON1 LAT2 LON2 as a departure and a destination; same failure rules.
bool parse_points(const std::string_view (&tokens)[4], GlobePoint& dep, GlobePoint& dst,
                  std::string& error, Readers readers = Readers::All);

// Splits a line (without its line end) at blanks and tabs into exactly four tokens and reads
// them; a line with another number of fields is an error.
bool parse_line(std::string_view line, GlobePoint& dep, GlobePoint& dst, std::string& error,
                Readers readers = Readers::All);

// The direct problem's four values LAT LON AZIMUTH DISTANCE: a departure as above, an azimuth
// in the same forms without hemisphere letters (degrees clockwise from north, -360..360), and a
// distance as a plain decimal number (0..1000000, in the unit the caller chooses).
struct DirectQuery {
    GlobePoint from;
    double azimuth = 0;
    double distance = 0;
};
bool parse_direct(const std::string_view (&tokens)[4], DirectQuery& query, std::string& error,
                  Readers readers = Readers::All);

// The AZIMUTH and DISTANCE of the direct problem alone, read as parse_direct reads them.
bool parse_azimuth_distance(std::string_view azimuth, std::string_view distance, DirectQuery& query,
                            std::string& error, Readers readers = Readers::All);

// A line of the direct problem, split as parse_line splits.
bool parse_direct_line(std::string_view line, DirectQuery& query, std::string& error,
                       Readers readers = Readers::All);

// Whether an operand reads as the start of a coordinate rather than a file name or an option: a
// digit, or a decimal point and a digit, after an optional hemisphere letter or
// 北緯/南緯/東経/西経 and an optional sign.
bool looks_like_coordinate(std::string_view operand);

} // namespace orvine::calc
