#include "app/cli/calc_input.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orvine;
using namespace orvine::calc;

TEST(ParseCoordinate, EveryFormGivesItsDegrees)
{
    const double tokyo = 35 + 41 / 60.0 + 22 / 3600.0, new_york = -(74 + 21 / 3600.0);
    const struct Row {
        const char* token;
        Axis axis;
        double degrees;
        bool whole_seconds;
    } rows[] = {
        {"35:41:22", Axis::Latitude, tokyo, true},           {"-74:0:21", Axis::Longitude, new_york, true},
        {"+05:09:01", Axis::Latitude, 5 + 9 / 60.0 + 1 / 3600.0, true},
        {"-0:7:39", Axis::Longitude, -(7 / 60.0 + 39 / 3600.0), true},
        {"180:0:0", Axis::Longitude, 180, true},             {"35:41", Axis::Latitude, 35 + 41 / 60.0, true},
        {"35.6894", Axis::Latitude, 35.6894, false},         {"\u221274.0059", Axis::Longitude, -74.0059, false},
        {"35:41:22.5", Axis::Latitude, tokyo + 0.5 / 3600, false},
        {"35:41:22S", Axis::Latitude, -tokyo, true},         {"N35.6894", Axis::Latitude, 35.6894, false},
        {"35°41′22″", Axis::Latitude, tokyo, true},          {"35°41'22\"", Axis::Latitude, tokyo, true},
        {"35d41m22.5sS", Axis::Latitude, -tokyo - 0.5 / 3600, false},
        {"北緯35度41分22秒", Axis::Latitude, tokyo, true},   {"西経74度0分21秒", Axis::Longitude, new_york, true},
        {"35.689444444444444", Axis::Latitude, tokyo, true}, // a decimal text of a whole second is that second
    };
    for (const Row& r : rows) {
        GlobeAngle a;
        std::string error;
        ASSERT_TRUE(parse_coordinate(r.token, r.axis, "LAT1", a, error)) << r.token << error;
        EXPECT_NEAR(a.degrees, r.degrees, 1e-12) << r.token;
        EXPECT_EQ(a.whole_seconds, r.whole_seconds) << r.token;
        EXPECT_EQ(a.seconds, r.whole_seconds ? std::lround(r.degrees * 3600) : 0) << r.token;
    }
}

TEST(ParseCoordinate, RefusalsNameTheArgumentAndTheFault)
{
    const std::tuple<const char*, Axis, const char*> rows[] = {
        {"90:0:0", Axis::Latitude, "strictly between -90 and 90"},
        {"nan", Axis::Latitude, "strictly between -90 and 90"},
        {"180:0:1", Axis::Longitude, "within -180..180"},
        {"-180.5", Axis::Longitude, "within -180..180"},
        {"35:60:0", Axis::Latitude, "minutes must be 0..59"},
        {"35:0:60", Axis::Latitude, "seconds must be 0..59"},
        {"35-41-22", Axis::Latitude, "only the degrees carry a sign"},
        {"N-20", Axis::Latitude, "not both"},
        {"139E", Axis::Latitude, "a latitude takes N or S"},
        {"35N", Axis::Longitude, "a longitude takes E or W"},
        {"35.5:0:0", Axis::Latitude, "not a coordinate"},
        {"", Axis::Latitude, "not a coordinate"},
        {"4\x1b[2J", Axis::Latitude, "not a coordinate"},
    };
    for (const auto& [token, axis, says] : rows) {
        GlobeAngle a;
        std::string error;
        EXPECT_FALSE(parse_coordinate(token, axis, "LAT2", a, error)) << token;
        EXPECT_NE(error.find(says), std::string::npos) << error;
        EXPECT_EQ(error.rfind("LAT2 \"" + std::string(token) + "\": ", 0), 0u) << error;
    }
}

TEST(Operands, CoordinatesAreToldFromFilesAndOptions)
{
    for (const char* coordinate : {"-74:0:21", ".5", "w74", "\u221274", "北緯35度"})
        EXPECT_TRUE(looks_like_coordinate(coordinate)) << coordinate;
    for (const char* other : {"-", "--final", "pairs.txt", "./35", "North", ""})
        EXPECT_FALSE(looks_like_coordinate(other)) << other;
}
