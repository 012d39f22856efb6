// Feeds arbitrary bytes to the direction map's outline reader, as they are and with their last
// four bytes made the right checksum (so that the fuzzer reaches files that read whole).
// Besides crashes and sanitizer reports it checks the promise of the format: a file that reads
// whole holds runs inside its points and coordinates on the globe, and writes back to the
// same values.
#include "map/direction_map_data.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace orvine;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void check_whole(const MapDataResult& read)
{
    if (read.fault != MapDataFault::None)
        return;
    for (const MapLevel& level : read.data.levels) {
        for (const PointRun& run : level.rings)
            require(run.count >= 3 && run.first + run.count <= level.points.size());
        for (const PointRun& run : level.borders)
            require(run.count >= 2 && run.first + run.count <= level.points.size());
        for (const LandPolygon& polygon : level.polygons)
            require(polygon.ring_count >= 1 && polygon.first_ring + polygon.ring_count <= level.rings.size());
        for (const GeoPoint& p : level.points)
            require(std::abs(p.lat) <= 90 && std::abs(p.lon) <= 180);
    }
    const MapDataResult again = parse_map_data(encode_map_data(read.data));
    require(again.fault == MapDataFault::None && again.data.levels.size() == read.data.levels.size());
    for (std::size_t l = 0; l < read.data.levels.size(); ++l) {
        const MapLevel& a = read.data.levels[l];
        const MapLevel& b = again.data.levels[l];
        require(a.points.size() == b.points.size() && a.rings.size() == b.rings.size()
                && a.borders.size() == b.borders.size() && a.scale_millions == b.scale_millions);
        for (std::size_t i = 0; i < a.points.size(); ++i)
            require(a.points[i].lat == b.points[i].lat && a.points[i].lon == b.points[i].lon);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    check_whole(parse_map_data(bytes));
    if (bytes.size() >= 4) {
        const std::uint32_t crc = map_data_crc32(std::string_view(bytes).substr(0, bytes.size() - 4));
        for (int i = 0; i < 4; ++i)
            bytes[bytes.size() - 4 + i] = static_cast<char>((crc >> (8 * i)) & 0xff);
        check_whole(parse_map_data(bytes));
    }
    return 0;
}
