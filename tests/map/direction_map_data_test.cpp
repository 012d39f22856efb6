#include "map/direction_map_data.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <tuple>

using namespace orvine;

namespace {

// A polygon with a hole and a border; a ring around the south pole across the 180th meridian.
MapData sample()
{
    MapData data;
    MapLevel coarse;
    coarse.scale_millions = 110;
    coarse.points = {{10, 10}, {10, 20}, {0, 20}, {0, 10}, {4, 14}, {6, 14}, {6, 16}, {2, 10}, {-1.2345, 20.5}};
    coarse.rings = {{0, 4}, {4, 3}};
    coarse.polygons = {{0, 2}};
    coarse.borders = {{7, 2}};
    MapLevel fine;
    fine.scale_millions = 50;
    fine.points = {{-70, 179.9999}, {-71, -120}, {-70.5, 0}, {-72, 120}};
    fine.rings = {{0, 4}};
    fine.polygons = {{0, 1}};
    data.levels = {coarse, fine};
    return data;
}

std::string with_crc(std::string bytes)
{
    const std::uint32_t crc = map_data_crc32(bytes);
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((crc >> (8 * i)) & 0xff);
    return bytes;
}

std::string one_level(const std::string& body)
{
    std::string bytes = "OrvDMap1";
    bytes += std::string("\x01\x00\x00\x00", 4);
    const auto n = static_cast<std::uint32_t>(body.size());
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((n >> (8 * i)) & 0xff);
    return with_crc(bytes + body);
}

std::string temp_path(const char* name)
{
    return ::testing::TempDir() + "direction_map_data_test." + std::to_string(getpid()) + "." + name;
}

} // namespace

TEST(MapData, RoundTripKeepsEveryPointToTheUnit)
{
    const MapData data = sample();
    const MapDataResult read = parse_map_data(encode_map_data(data));
    ASSERT_EQ(read.fault, MapDataFault::None);
    ASSERT_EQ(read.data.levels.size(), 2u);
    for (std::size_t l = 0; l < 2; ++l) {
        const MapLevel& a = data.levels[l];
        const MapLevel& b = read.data.levels[l];
        EXPECT_EQ(b.scale_millions, a.scale_millions);
        ASSERT_EQ(b.points.size(), a.points.size());
        for (std::size_t i = 0; i < a.points.size(); ++i) {
            EXPECT_NEAR(b.points[i].lat, a.points[i].lat, MAP_DATA_UNIT_DEGREES / 2) << l << " " << i;
            EXPECT_NEAR(b.points[i].lon, a.points[i].lon, MAP_DATA_UNIT_DEGREES / 2) << l << " " << i;
        }
        ASSERT_EQ(std::tuple(b.rings.size(), b.polygons.size(), b.borders.size()),
                  std::tuple(a.rings.size(), a.polygons.size(), a.borders.size()));
        for (std::size_t r = 0; r < a.rings.size(); ++r)
            EXPECT_EQ(b.rings[r].count, a.rings[r].count);
    }
    EXPECT_EQ(read.data.levels[0].polygons[0].ring_count, 2u);
}

TEST(MapData, EveryCutAndEveryChangedByteIsRefused)
{
    const std::string bytes = encode_map_data(sample());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        EXPECT_EQ(parse_map_data(bytes.substr(0, i)).fault, MapDataFault::CutShort) << i;
        for (const unsigned char flip : {0x01, 0x80, 0xff}) {
            std::string damaged = bytes;
            damaged[i] = static_cast<char>(damaged[i] ^ flip);
            EXPECT_NE(parse_map_data(damaged).fault, MapDataFault::None) << i << " ^ " << int(flip);
        }
    }
}

TEST(MapData, StructuralFaultsBehindAGoodChecksum)
{
    // Level bodies: scale, polygons (rings, points...), lines (points...). Non-shortest varints
    // (80 00 is 0) pad the rows so that each would read whole but for its own fault.
    struct Row {
        const char* name;
        std::string bytes;
        MapDataFault fault;
    } const rows[] = {
        {"wrong magic", with_crc("OrvDMap2" + std::string(4, '\0')), MapDataFault::NotMapData},
        {"no levels", with_crc("OrvDMap1" + std::string(4, '\0')), MapDataFault::Damaged},
        {"empty level", one_level(std::string("\x6e\x00\x00", 3)), MapDataFault::None},
        {"scale 0", one_level(std::string("\x00\x00\x00", 3)), MapDataFault::Damaged},
        {"ring of two points", one_level(std::string("\x6e\x01\x01\x02\x80\x00\x80\x00\x80\x00\x80\x00\x00", 13)),
         MapDataFault::Damaged},
        {"line of one point", one_level(std::string("\x6e\x00\x01\x01\x80\x00\x80\x00", 8)), MapDataFault::Damaged},
        // 1,800,001 units east: zigzag 3,600,002.
        {"longitude beyond 180", one_level(std::string("\x6e\x00\x01\x02\x82\xdd\xdb\x01\x00\x00\x00", 11)),
         MapDataFault::Damaged},
        {"bytes left in a level", one_level(std::string("\x6e\x00\x00\x00", 4)), MapDataFault::Damaged},
    };
    for (const Row& row : rows)
        EXPECT_EQ(parse_map_data(row.bytes).fault, row.fault) << row.name;
}

TEST(MapData, FilesThatAreNotReadable)
{
    const std::string missing = temp_path("missing"), fifo = temp_path("fifo"), large = temp_path("large");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream(large).put('O');
    std::filesystem::resize_file(large, MAX_MAP_FILE_BYTES + 1);
    // A FIFO with no writer would block a reader for ever: it is refused before opening.
    EXPECT_EQ(load_map_data(missing).fault, MapDataFault::Missing);
    EXPECT_EQ(load_map_data(fifo).fault, MapDataFault::NotRegular);
    EXPECT_EQ(load_map_data(large).fault, MapDataFault::TooLarge);
    std::remove(fifo.c_str());
    std::remove(large.c_str());
}

TEST(MapData, TheShippedFileHoldsBothLevels)
{
    const MapDataResult read = load_map_data(ORVINE_MAP_DATA);
    ASSERT_EQ(read.fault, MapDataFault::None);
    ASSERT_EQ(read.data.levels.size(), 2u);
    EXPECT_EQ(std::pair(read.data.levels[0].scale_millions, read.data.levels[1].scale_millions), std::pair(110, 50));
    for (const MapLevel& level : read.data.levels)
        EXPECT_TRUE(level.polygons.size() > 100 && level.borders.size() > 300);
}
