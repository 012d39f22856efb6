#include "map/direction_map_data.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace orvine {

namespace {

constexpr std::string_view MAGIC = "OrvDMap1";
constexpr std::int64_t MAX_LON_UNITS = 1800000;
constexpr std::int64_t MAX_LAT_UNITS = 900000;

struct Fault {
    MapDataFault kind;
    std::size_t offset;
};

// Reads from the bytes of one file; every read checks the bytes left and throws Fault.
class Cursor {
public:
    Cursor(std::string_view bytes, std::size_t base) : bytes_(bytes), base_(base) {}

    std::size_t offset() const { return base_ + pos_; }
    std::size_t left() const { return bytes_.size() - pos_; }

    [[noreturn]] void fail(MapDataFault kind) const { throw Fault{kind, offset()}; }

    std::uint32_t u32()
    {
        if (left() < 4)
            fail(MapDataFault::CutShort);
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
        pos_ += 4;
        return v;
    }

    std::uint32_t varint()
    {
        std::uint64_t v = 0;
        for (int i = 0; i < 5; ++i) {
            if (left() == 0)
                fail(MapDataFault::CutShort);
            const auto byte = static_cast<unsigned char>(bytes_[pos_++]);
            v |= static_cast<std::uint64_t>(byte & 0x7f) << (7 * i);
            if ((byte & 0x80) == 0) {
                if (v > 0xffffffffu)
                    fail(MapDataFault::Damaged);
                return static_cast<std::uint32_t>(v);
            }
        }
        fail(MapDataFault::Damaged);
    }

    std::int64_t zigzag()
    {
        const std::uint32_t v = varint();
        return (v & 1) ? -static_cast<std::int64_t>(v >> 1) - 1 : static_cast<std::int64_t>(v >> 1);
    }

    // A count of items that each take at least `min_bytes`: more than the bytes left could
    // hold is damage, whatever the file's length.
    std::uint32_t count(std::size_t min_bytes)
    {
        const std::uint32_t n = varint();
        if (n > left() / min_bytes)
            fail(MapDataFault::Damaged);
        return n;
    }

    std::string_view take(std::size_t n)
    {
        if (left() < n)
            fail(MapDataFault::CutShort);
        const std::string_view part = bytes_.substr(pos_, n);
        pos_ += n;
        return part;
    }

private:
    std::string_view bytes_;
    std::size_t base_;
    std::size_t pos_ = 0;
};

PointRun read_run(Cursor& in, MapLevel& level, std::uint32_t min_points)
{
    const std::uint32_t n = in.count(2);
    if (n < min_points)
        in.fail(MapDataFault::Damaged);
    PointRun run{static_cast<std::uint32_t>(level.points.size()), n};
    std::int64_t lon = 0, lat = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        lon += in.zigzag();
        lat += in.zigzag();
        if (std::abs(lon) > MAX_LON_UNITS || std::abs(lat) > MAX_LAT_UNITS)
            in.fail(MapDataFault::Damaged);
        level.points.push_back({lat * MAP_DATA_UNIT_DEGREES, lon * MAP_DATA_UNIT_DEGREES});
    }
    return run;
}

MapLevel read_level(Cursor& in)
{
    MapLevel level;
    level.scale_millions = static_cast<int>(in.varint());
    if (level.scale_millions == 0 || level.scale_millions > 1000)
        in.fail(MapDataFault::Damaged);
    // The smallest polygon: one ring of 3 points of 2 bytes, with its two counts.
    const std::uint32_t polygons = in.count(8);
    for (std::uint32_t p = 0; p < polygons; ++p) {
        const std::uint32_t rings = in.count(7);
        if (rings == 0)
            in.fail(MapDataFault::Damaged);
        level.polygons.push_back({static_cast<std::uint32_t>(level.rings.size()), rings});
        for (std::uint32_t r = 0; r < rings; ++r)
            level.rings.push_back(read_run(in, level, 3));
    }
    const std::uint32_t lines = in.count(5);
    for (std::uint32_t l = 0; l < lines; ++l)
        level.borders.push_back(read_run(in, level, 2));
    if (in.left() != 0)
        in.fail(MapDataFault::Damaged);
    return level;
}

void put_u32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xff);
}

void put_varint(std::string& out, std::uint32_t v)
{
    while (v >= 0x80) {
        out += static_cast<char>((v & 0x7f) | 0x80);
        v >>= 7;
    }
    out += static_cast<char>(v);
}

void put_zigzag(std::string& out, std::int64_t v)
{
    put_varint(out, static_cast<std::uint32_t>(v < 0 ? ((-v - 1) << 1) | 1 : v << 1));
}

void put_run(std::string& out, const MapLevel& level, const PointRun& run)
{
    put_varint(out, run.count);
    std::int64_t lon = 0, lat = 0;
    for (std::uint32_t i = 0; i < run.count; ++i) {
        const GeoPoint& p = level.points[run.first + i];
        const auto x = static_cast<std::int64_t>(std::llround(p.lon / MAP_DATA_UNIT_DEGREES));
        const auto y = static_cast<std::int64_t>(std::llround(p.lat / MAP_DATA_UNIT_DEGREES));
        put_zigzag(out, x - lon);
        put_zigzag(out, y - lat);
        lon = x;
        lat = y;
    }
}

} // namespace

std::uint32_t map_data_crc32(std::string_view bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xffffffffu;
    for (const char ch : bytes)
        crc = table[(crc ^ static_cast<unsigned char>(ch)) & 0xff] ^ (crc >> 8);
    return crc ^ 0xffffffffu;
}

MapDataResult parse_map_data(std::string_view bytes)
{
    MapDataResult result;
    try {
        Cursor in(bytes, 0);
        if (in.left() < MAGIC.size() || bytes.substr(0, MAGIC.size()) != MAGIC)
            in.fail(in.left() < MAGIC.size() && MAGIC.substr(0, in.left()) == bytes ? MapDataFault::CutShort
                                                                                      : MapDataFault::NotMapData);
        in.take(MAGIC.size());
        const std::uint32_t levels = in.u32();
        if (levels == 0 || levels > MAX_LEVELS)
            in.fail(MapDataFault::Damaged);
        for (std::uint32_t i = 0; i < levels; ++i) {
            const std::uint32_t size = in.u32();
            const std::size_t at = in.offset();
            Cursor body(in.take(size), at);
            result.data.levels.push_back(read_level(body));
        }
        const std::size_t crc_at = in.offset();
        if (in.u32() != map_data_crc32(bytes.substr(0, crc_at)))
            throw Fault{MapDataFault::Damaged, crc_at};
        if (in.left() != 0)
            in.fail(MapDataFault::Damaged);
    } catch (const Fault& fault) {
        result.fault = fault.kind;
        result.offset = fault.offset;
        result.data = {};
    }
    return result;
}

MapDataResult load_map_data(const std::string& path)
{
    namespace fs = std::filesystem;
    MapDataResult result;
    std::error_code error;
    const fs::path file = fs::u8path(path);
    const fs::file_status status = fs::status(file, error);
    if (!fs::exists(status)) {
        result.fault = error && error != std::errc::no_such_file_or_directory ? MapDataFault::Unreadable
                                                                              : MapDataFault::Missing;
        return result;
    }
    if (!fs::is_regular_file(status)) {
        result.fault = MapDataFault::NotRegular;
        return result;
    }
    const std::uintmax_t size = fs::file_size(file, error);
    if (error) {
        result.fault = MapDataFault::Unreadable;
        return result;
    }
    if (size > MAX_MAP_FILE_BYTES) {
        result.fault = MapDataFault::TooLarge;
        return result;
    }
    std::ifstream in(file, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    // One byte more than announced tells a file that grew meanwhile from one read whole.
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(size))
        || in.peek() != std::char_traits<char>::eof()) {
        result.fault = MapDataFault::Unreadable;
        return result;
    }
    return parse_map_data(bytes);
}

std::string encode_map_data(const MapData& data)
{
    std::string out(MAGIC);
    put_u32(out, static_cast<std::uint32_t>(data.levels.size()));
    for (const MapLevel& level : data.levels) {
        std::string body;
        put_varint(body, static_cast<std::uint32_t>(level.scale_millions));
        put_varint(body, static_cast<std::uint32_t>(level.polygons.size()));
        for (const LandPolygon& polygon : level.polygons) {
            put_varint(body, polygon.ring_count);
            for (std::uint32_t r = 0; r < polygon.ring_count; ++r)
                put_run(body, level, level.rings[polygon.first_ring + r]);
        }
        put_varint(body, static_cast<std::uint32_t>(level.borders.size()));
        for (const PointRun& line : level.borders)
            put_run(body, level, line);
        put_u32(out, static_cast<std::uint32_t>(body.size()));
        out += body;
    }
    put_u32(out, map_data_crc32(out));
    return out;
}

} // namespace orvine
