#pragma once
// The outlines the direction map (方位地図) draws: land polygons and country borders at a few
// resolutions, in the compact file written by tools/direction-map and installed with the program.
//
// File format (all fixed-size integers little-endian):
//
//   magic        8 bytes  "OrvDMap1"
//   level_count  u32      1 .. MAX_LEVELS, coarse to fine
//   level × level_count:
//     body_size  u32      bytes of the body that follows
//     body:
//       scale_millions    varint  the source's scale denominator in millions (110 for 1:110m)
//       polygon_count     varint
//       polygon × polygon_count:
//         ring_count      varint  >= 1; the first ring is the outline, the others holes
//         ring × ring_count: point_count varint (>= 3), then the points
//       line_count        varint  (country borders)
//       line × line_count: point_count varint (>= 2), then the points
//   crc32        u32      CRC-32 (IEEE 802.3, as zlib's crc32) of every byte before it
//
//   varint: unsigned LEB128, at most 5 bytes, value below 2^32.
//   points: longitude then latitude in units of 1e-4 degree; the first point of a ring or line
//   as zigzag varints (0, -1, 1, -2 ... -> 0, 1, 2, 3 ...), every further point as the zigzag
//   varint difference from the point before it. Longitudes lie within -180..180 degrees and
//   latitudes within -90..90.
//
// Rings are closed (the last point is not repeated) and keep the source's orientation: an
// outline runs clockwise seen from above (the land on its right), a hole anticlockwise. A ring
// may run around a pole (Antarctica). Segments along the 180th meridian are cuts of the source,
// not coastlines. Every count is checked against the bytes that remain, so a cut or damaged file
// is refused with the offset of the fault and never read beyond its end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvine {

inline constexpr int MAX_LEVELS = 4;
// Far above the shipped file (about 0.5 MB), far below what would stall the window.
inline constexpr std::size_t MAX_MAP_FILE_BYTES = 32u * 1024 * 1024;
inline constexpr double MAP_DATA_UNIT_DEGREES = 1e-4;

struct GeoPoint {
    double lat = 0; // degrees, north positive
    double lon = 0; // degrees, east positive
};

// A run of consecutive points of MapLevel::points.
struct PointRun {
    std::uint32_t first = 0;
    std::uint32_t count = 0;
};

struct LandPolygon {
    std::uint32_t first_ring = 0; // index into MapLevel::rings; the outline, then the holes
    std::uint32_t ring_count = 0;
};

struct MapLevel {
    int scale_millions = 0;
    std::vector<GeoPoint> points;
    std::vector<PointRun> rings;
    std::vector<LandPolygon> polygons;
    std::vector<PointRun> borders;
};

struct MapData {
    std::vector<MapLevel> levels; // coarse to fine
};

enum class MapDataFault {
    None,
    Missing,      // no such file
    NotRegular,   // a folder, pipe or device: never opened
    TooLarge,     // larger than MAX_MAP_FILE_BYTES: never read
    Unreadable,   // could not be opened or read
    NotMapData,   // the magic is wrong
    CutShort,     // the file ends before what its counts announce
    Damaged,      // a count, coordinate or size that cannot be, bytes left over, or a wrong CRC
};

struct MapDataResult {
    MapDataFault fault = MapDataFault::None;
    std::size_t offset = 0; // where the fault was found (CutShort, Damaged, NotMapData)
    MapData data;           // empty unless fault is None
};

// Reads the bytes of a whole file.
MapDataResult parse_map_data(std::string_view bytes);

// Reads the file at `path` (UTF-8): only a regular file of at most MAX_MAP_FILE_BYTES.
MapDataResult load_map_data(const std::string& path);

// The bytes of the file holding `data`; coordinates are rounded to the file's unit. Levels,
// rings and lines are written as given (the caller keeps rings of at least 3 points and lines of
// at least 2).
std::string encode_map_data(const MapData& data);

// CRC-32 as the file uses it.
std::uint32_t map_data_crc32(std::string_view bytes);

} // namespace orvine
