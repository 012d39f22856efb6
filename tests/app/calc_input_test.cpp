#include "app/cli/calc_input.h"

#include <gtest/gtest.h>

#include <string>

using namespace orvine;
using namespace orvine::calc;

namespace {

struct Parsed {
    bool ok;
    std::int16_t d, m, s;
    std::string error;
};

Parsed parse(const char* token, Axis axis = Axis::Latitude)
{
    Parsed p{};
    p.ok = parse_coordinate(token, axis, "LAT2", p.d, p.m, p.s, p.error);
    return p;
}

} // namespace

TEST(ParseCoordinate, EntryFormWithTheSignOnTheDegrees)
{
    const Parsed west = parse("-74:0:21", Axis::Longitude);
    ASSERT_TRUE(west.ok) << west.error;
    EXPECT_EQ(west.d, -74);
    EXPECT_EQ(west.m, 0);
    EXPECT_EQ(west.s, 21);

    const Parsed north = parse("+05:09:01");
    ASSERT_TRUE(north.ok) << north.error;
    EXPECT_EQ(north.d, 5);
    EXPECT_EQ(north.m, 9);
    EXPECT_EQ(north.s, 1);

    EXPECT_TRUE(parse("-89:59:59").ok);
    EXPECT_TRUE(parse("179:59:59", Axis::Longitude).ok);
    EXPECT_TRUE(parse("0:30:0").ok);
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
        const Parsed p = parse(c.token, c.axis);
        EXPECT_FALSE(p.ok);
        EXPECT_NE(p.error.find(c.says), std::string::npos) << p.error;
        EXPECT_EQ(p.error.rfind(std::string("LAT2 \"") + c.token + "\"", 0), 0u) << p.error;
    }
}

TEST(ParseLine, FourBlankSeparatedCoordinates)
{
    Point dep, dst;
    std::string error;
    ASSERT_TRUE(parse_line("  35:41:22\t139:41:30   40:42:51 -74:0:21 ", dep, dst, error)) << error;
    EXPECT_EQ(dep, (Point{35, 41, 22, 139, 41, 30}));
    EXPECT_EQ(dst, (Point{40, 42, 51, -74, 0, 21}));

    EXPECT_FALSE(parse_line("35:41:22 139:41:30 40:42:51", dep, dst, error));
    EXPECT_NE(error.find("found 3"), std::string::npos) << error;
    EXPECT_FALSE(parse_line("", dep, dst, error));
    EXPECT_NE(error.find("found 0"), std::string::npos) << error;
    EXPECT_FALSE(parse_line("1:0:0 2:0:0 3:0:0 4:0:0 5:0:0", dep, dst, error));
    EXPECT_NE(error.find("found 5"), std::string::npos) << error;

    EXPECT_FALSE(parse_line("1:0:0 2:0:0 3:0:0 180:0:0", dep, dst, error));
    EXPECT_EQ(error.rfind("LON2 \"180:0:0\"", 0), 0u) << error;
}
