#include "app/cli/calc_input.h"

#include <gtest/gtest.h>

#include <string>

using namespace orvine;
using namespace orvine::calc;

TEST(ParseCoordinate, EveryFormGivesItsDegrees)
{
    struct Row {
        const char* token;
        Axis axis;
        double degrees;
        bool whole_seconds;
    } const rows[] = {
        {"35:41:22", Axis::Latitude, 35 + 41 / 60.0 + 22 / 3600.0, true},
        {"-74:0:21", Axis::Longitude, -(74 + 21 / 3600.0), true},
        {"+05:09:01", Axis::Latitude, 5 + 9 / 60.0 + 1 / 3600.0, true},
        {"-0:30:0", Axis::Latitude, -0.5, true},
        {"-0:7:39", Axis::Longitude, -(7 / 60.0 + 39 / 3600.0), true},
        {"180:0:0", Axis::Longitude, 180, true},
        {"35:41", Axis::Latitude, 35 + 41 / 60.0, true},
        {"35.6894", Axis::Latitude, 35.6894, false},
        {"-74.0059", Axis::Longitude, -74.0059, false},
        {"\u221274.0059", Axis::Longitude, -74.0059, false},
        {"35:41:22.5", Axis::Latitude, 35 + 41 / 60.0 + 22.5 / 3600.0, false},
        {"35:41:22N", Axis::Latitude, 35 + 41 / 60.0 + 22 / 3600.0, true},
        {"35:41:22S", Axis::Latitude, -(35 + 41 / 60.0 + 22 / 3600.0), true},
        {"74:0:21W", Axis::Longitude, -(74 + 21 / 3600.0), true},
        {"N35.6894", Axis::Latitude, 35.6894, false},
        {"35°41′22″", Axis::Latitude, 35 + 41 / 60.0 + 22 / 3600.0, true},
        {"35°41'22\"", Axis::Latitude, 35 + 41 / 60.0 + 22 / 3600.0, true},
        {"35d41m22s", Axis::Latitude, 35 + 41 / 60.0 + 22 / 3600.0, true},
        {"35d41m22.5sS", Axis::Latitude, -(35 + 41 / 60.0 + 22.5 / 3600.0), false},
        {"北緯35度41分22秒", Axis::Latitude, 35 + 41 / 60.0 + 22 / 3600.0, true},
        {"西経74度0分21秒", Axis::Longitude, -(74 + 21 / 3600.0), true},
        // A decimal text of a whole second is that second.
        {"35.689444444444444", Axis::Latitude, 35 + 41 / 60.0 + 22 / 3600.0, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.token);
        GlobeAngle a;
        std::string error;
        ASSERT_TRUE(parse_coordinate(r.token, r.axis, "LAT1", a, error)) << error;
        EXPECT_NEAR(a.degrees, r.degrees, 1e-12);
        EXPECT_EQ(a.whole_seconds, r.whole_seconds);
        if (r.whole_seconds) {
            EXPECT_NEAR(a.seconds, r.degrees * 3600, 1e-6);
        }
    }
}

TEST(ParseCoordinate, RefusalsNameTheArgumentAndTheFault)
{
    struct Case {
        const char* token;
        Axis axis;
        const char* says;
    } const cases[] = {
        {"90:0:0", Axis::Latitude, "strictly between -90 and 90"},
        {"-90", Axis::Latitude, "strictly between -90 and 90"},
        {"nan", Axis::Latitude, "strictly between -90 and 90"},
        {"180:0:1", Axis::Longitude, "within -180..180"},
        {"-180.5", Axis::Longitude, "within -180..180"},
        {"999999:0:0", Axis::Latitude, "strictly between -90 and 90"},
        {"35:60:0", Axis::Latitude, "minutes must be 0..59"},
        {"35:0:60", Axis::Latitude, "seconds must be 0..59"},
        {"35:-1:0", Axis::Latitude, "only the degrees carry a sign"},
        {"35-41-22", Axis::Latitude, "only the degrees carry a sign"},
        {"7.0E+1", Axis::Longitude, "only the degrees carry a sign"},
        {"N-20", Axis::Latitude, "not both"},
        {"-20S", Axis::Latitude, "not both"},
        {"139E", Axis::Latitude, "a latitude takes N or S"},
        {"35N", Axis::Longitude, "a longitude takes E or W"},
        {"35:41:22:1", Axis::Latitude, "not a coordinate"},
        {"35.5:0:0", Axis::Latitude, "not a coordinate"},
        {"1.8e2", Axis::Latitude, "not a coordinate"},
        {"", Axis::Latitude, "not a coordinate"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.token);
        GlobeAngle a;
        std::string error;
        EXPECT_FALSE(parse_coordinate(c.token, c.axis, "LAT2", a, error));
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        EXPECT_EQ(error.rfind(std::string("LAT2 \"") + c.token + "\"", 0), 0u) << error;
    }
    GlobeAngle a;
    std::string error;
    EXPECT_FALSE(parse_coordinate("4\x1b[2J", Axis::Latitude, "LAT1", a, error));
    EXPECT_EQ(error.find('\x1b'), std::string::npos) << error;
    EXPECT_EQ(error.rfind("LAT1 \"4\\x1B[2J\"", 0), 0u) << error;
}

TEST(ParseLine, FourBlankSeparatedCoordinates)
{
    GlobePoint dep, dst;
    std::string error;
    ASSERT_TRUE(parse_line("  35:41:22\t139:41:30   40.714 74:0:21W ", dep, dst, error)) << error;
    EXPECT_EQ(dep.lon.seconds, 139 * 3600 + 41 * 60 + 30);
    EXPECT_EQ(dst.lat.degrees, 40.714);
    EXPECT_EQ(dst.lon.seconds, -(74 * 3600 + 21));

    for (const auto& [line, says] : {std::pair{"35:41:22 139:41:30 40:42:51", "found 3"},
                                     std::pair{"1 2 3 4 5", "found 5"}}) {
        EXPECT_FALSE(parse_line(line, dep, dst, error)) << line;
        EXPECT_NE(error.find(says), std::string::npos) << error;
    }
    EXPECT_FALSE(parse_line("1:0:0 2:0:0 3:0:0 181:0:0", dep, dst, error));
    EXPECT_EQ(error.rfind("LON2 \"181:0:0\"", 0), 0u) << error;
}

TEST(Operands, CoordinatesAreToldFromFilesAndOptions)
{
    for (const char* coordinate : {"35", "-74:0:21", ".5", "N35", "w74", "\u221274", "+5", "北緯35度"})
        EXPECT_TRUE(looks_like_coordinate(coordinate)) << coordinate;
    for (const char* other : {"-", "--", "--final", "-h", "pairs.txt", "./35", "North", ""})
        EXPECT_FALSE(looks_like_coordinate(other)) << other;
}

TEST(EscapeControls, TerminalBytesBecomeVisible)
{
    const std::pair<std::string, std::string> rows[] = {
        {"plain 東京 text", "plain 東京 text"},
        {"a\tb", "a\\tb"},
        {"\x1b[31m", "\\x1B[31m"},
        {"del\x7f", "del\\x7F"},
        {"back\\slash", "back\\\\slash"},
        {"c1 \xc2\x9b", "c1 \\xC2\\x9B"},
        {"not utf-8 \xff\xe6\x9d", "not utf-8 \\xFF\\xE6\\x9D"},
        {"overlong \xc0\xaf", "overlong \\xC0\\xAF"},
        {"nul", "nul"},
    };
    for (const auto& [text, shown] : rows)
        EXPECT_EQ(escape_controls(text), shown);
    EXPECT_EQ(escape_controls(std::string("a\0b", 3)), "a\\x00b");
}
