#include "app/cli/calc_input.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

using namespace orvine;
using namespace orvine::calc;

TEST(ParseCoordinate, EntryFormWithTheSignOnTheDegrees)
{
    struct Row {
        const char* token;
        Axis axis;
        std::int16_t d, m, s;
    } const rows[] = {
        {"-74:0:21", Axis::Longitude, -74, 0, 21},
        {"+05:09:01", Axis::Latitude, 5, 9, 1},
        {"-89:59:59", Axis::Latitude, -89, 59, 59},
        {"179:59:59", Axis::Longitude, 179, 59, 59},
        {"0:30:0", Axis::Latitude, 0, 30, 0},
    };
    for (const Row& r : rows) {
        std::int16_t d = 99, m = 99, s = 99;
        std::string error;
        ASSERT_TRUE(parse_coordinate(r.token, r.axis, "LAT2", d, m, s, error)) << r.token << error;
        EXPECT_EQ(d, r.d) << r.token;
        EXPECT_EQ(m, r.m) << r.token;
        EXPECT_EQ(s, r.s) << r.token;
    }
}

TEST(ParseCoordinate, RefusalsNameTheArgumentAndTheFault)
{
    struct Case {
        const char* token;
        Axis axis;
        const char* says;
    } const cases[] = {
        {"90:0:0", Axis::Latitude, "latitude degrees must be -89..89"},
        {"-90:0:0", Axis::Latitude, "latitude degrees must be -89..89"},
        {"180:0:0", Axis::Longitude, "longitude degrees must be -179..179"},
        {"35:60:0", Axis::Latitude, "minutes must be 0..59"},
        {"35:0:60", Axis::Latitude, "seconds must be 0..59"},
        {"-0:30:0", Axis::Latitude, "less than one degree south"},
        {"-0:0:1", Axis::Longitude, "less than one degree west"},
        {"35:-1:0", Axis::Latitude, "only the degrees carry a sign"},
        {"35:41", Axis::Latitude, "expected D:M:S"},
        {"35:41:22:1", Axis::Latitude, "expected D:M:S"},
        {"35.5:0:0", Axis::Latitude, "expected D:M:S"},
        {"35:4a:0", Axis::Latitude, "expected D:M:S"},
        {"", Axis::Latitude, "expected D:M:S"},
        {"999999:0:0", Axis::Latitude, "expected D:M:S"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.token);
        std::int16_t d, m, s;
        std::string error;
        EXPECT_FALSE(parse_coordinate(c.token, c.axis, "LAT2", d, m, s, error));
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        EXPECT_EQ(error.rfind(std::string("LAT2 \"") + c.token + "\"", 0), 0u) << error;
    }
}

TEST(ParseLine, FourBlankSeparatedCoordinates)
{
    Point dep, dst;
    std::string error;
    ASSERT_TRUE(parse_line("  35:41:22\t139:41:30   40:42:51 -74:0:21 ", dep, dst, error)) << error;
    EXPECT_EQ(dep, (Point{35, 41, 22, 139, 41, 30}));
    EXPECT_EQ(dst, (Point{40, 42, 51, -74, 0, 21}));

    const std::pair<const char*, const char*> miscounted[] = {
        {"35:41:22 139:41:30 40:42:51", "found 3"}, {"", "found 0"},
        {"1:0:0 2:0:0 3:0:0 4:0:0 5:0:0", "found 5"}};
    for (const auto& [line, says] : miscounted) {
        EXPECT_FALSE(parse_line(line, dep, dst, error)) << line;
        EXPECT_NE(error.find(says), std::string::npos) << error;
    }
    EXPECT_FALSE(parse_line("1:0:0 2:0:0 3:0:0 180:0:0", dep, dst, error));
    EXPECT_EQ(error.rfind("LON2 \"180:0:0\"", 0), 0u) << error;
}
