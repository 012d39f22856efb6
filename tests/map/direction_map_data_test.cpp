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
using namespace std::string_view_literals;

namespace {

// A polygon with a hole and a border; a ring around the south pole across the 180th meridian.
// A level: scale, points, rings (first point, count), polygons (first ring, count), borders.
MapData sample()
{
    MapLevel coarse{110, {}, {{0, 4}, {4, 3}}, {{0, 2}}, {{7, 2}}};
    coarse.points = {{10, 10}, {10, 20}, {0, 20}, {0, 10}, {4, 14}, {6, 14}, {6, 16}, {2, 10}, {-1.2345, 20.5}};
    const MapLevel fine{50, {{-70, 179.9999}, {-71, -120}, {-70.5, 0}, {-72, 120}}, {{0, 4}}, {{0, 1}}, {}};
    return MapData{{coarse, fine}};
}

std::string le32(std::size_t v)
{
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((v >> (8 * i)) & 0xff);
    return bytes;
}

} // namespace

TEST(MapData, RoundTripKeepsEveryPointToTheUnit)
{
    const MapData data = sample();
    const MapDataResult read = parse_map_data(encode_map_data(data));
    // Levels, scales, polygons, rings and lines as they were: written again, the same bytes.
    ASSERT_EQ(encode_map_data(read.data), encode_map_data(data));
    for (std::size_t l = 0; l < 2; ++l)
        for (std::size_t i = 0; i < data.levels[l].points.size(); ++i) {
            const GeoPoint &a = data.levels[l].points[i], &b = read.data.levels[l].points[i];
            EXPECT_NEAR(b.lat, a.lat, MAP_DATA_UNIT_DEGREES / 2) << l << " " << i;
            EXPECT_NEAR(b.lon, a.lon, MAP_DATA_UNIT_DEGREES / 2) << l << " " << i;
        }
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
    const auto with_crc = [](const std::string& bytes) { return bytes + le32(map_data_crc32(bytes)); };
    // `b`: a ""sv literal, so that its zero bytes count.
    const auto one_level = [&](std::string_view b) {
        return with_crc("OrvDMap1" + le32(1) + le32(b.size()) + std::string(b));
    };
    using F = MapDataFault;
    const std::tuple<const char*, std::string, MapDataFault> rows[] = {
        {"wrong magic", with_crc("OrvDMap2" + le32(0)), F::NotMapData},
        {"no levels", with_crc("OrvDMap1" + le32(0)), F::Damaged},
        {"empty level", one_level("\x6e\x00\x00"sv), F::None},
        {"scale 0", one_level("\x00\x00\x00"sv), F::Damaged},
        {"ring of two points", one_level("\x6e\x01\x01\x02\x80\x00\x80\x00\x80\x00\x80\x00\x00"sv), F::Damaged},
        {"line of one point", one_level("\x6e\x00\x01\x01\x80\x00\x80\x00"sv), F::Damaged},
        // 1,800,001 units east: zigzag 3,600,002.
        {"longitude beyond 180", one_level("\x6e\x00\x01\x02\x82\xdd\xdb\x01\x00\x00\x00"sv), F::Damaged},
        {"bytes left in a level", one_level("\x6e\x00\x00\x00"sv), F::Damaged},
    };
    for (const auto& [name, bytes, fault] : rows)
        EXPECT_EQ(parse_map_data(bytes).fault, fault) << name;
}

TEST(MapData, FilesThatAreNotReadable)
{
    const std::string base = ::testing::TempDir() + "direction_map_data_test." + std::to_string(getpid());
    const std::string missing = base + ".missing", fifo = base + ".fifo", large = base + ".large";
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
