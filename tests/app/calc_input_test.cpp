#include "app/cli/calc_input.h"

#include <gtest/gtest.h>

#include "app/cli/calc_output.h"

#include <cmath>
#include <cstring>
#include <random>

using namespace orvine;
using namespace orvine::calc;
using namespace std::literals;

namespace {

std::uint64_t bits(double v)
{
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

} // namespace

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
    const std::tuple<std::string_view, Axis, const char*> rows[] = {
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
        {"1e2", Axis::Latitude, "Illegal character e"},
        {"35度41度", Axis::Latitude, "a character that no form of coordinate uses"},
        // Shapes that crashed GeographicLib's DMS::Decode: a seconds mark glued to the next
        // coordinate, and more than three parts.
        {"1'2\"0:2:1", Axis::Latitude, "more than three components"},
        {"35°41′22″139:41:30", Axis::Latitude, "more than three components"},
        {"1\"2:3:4", Axis::Latitude, "more than three components"},
        {"1′′2:3:4", Axis::Latitude, "more than three components"},
        {"1d2m'3:4", Axis::Latitude, "more than three components"}, // the m's ' and the ' are "''"
        {"1:2:3:4:5:6", Axis::Longitude, "more than three components"},
        {"139\0"sv, Axis::Longitude, "a NUL byte"}, // the library read it as W
        {"1\0:2:3:4"sv, Axis::Latitude, "a NUL byte"},
    };
    for (const auto& [token, axis, says] : rows) {
        GlobeAngle a;
        std::string error;
        EXPECT_FALSE(parse_coordinate(token, axis, "LAT2", a, error)) << token;
        EXPECT_NE(error.find(says), std::string::npos) << error;
        EXPECT_EQ(error.rfind("LAT2 \"" + std::string(token) + "\": ", 0), 0u) << error;
    }
}

// The fast readers must give the general reader's degrees to the last bit, and its refusals;
// then random decimal and D:M:S texts up to 20 fraction digits.
TEST(ParseCoordinate, PlainTextsReadAsTheLibraryReadsThem)
{
    std::vector<std::string> rows = {
        "35.6894", "+35.6894", "-74.0059", "-0.0", "0", "-0", "180", "-180", "180.0000000000000001",
        ".5", "5.", "000000000000035.25", "35.689444444444444444444444444", "89.99999999999999",
        "35:41", "35:41.5", "-74:0:21.25", "35:41:22.123456789", "0:0:0.0000001", "35:41:22.", "35:0.",
        "00035:041:022.5", "179:59:59.99999999999", "35:41:60.0", "35:60.0", "35:41:60.5", "35:59.99999999999999999",
        "1e2", "35e", "35.5e", "1.5:", ":5", "35..5", "35:41.5:2", "-", "+-5", "90", "180.5",
    };
    std::mt19937 gen(20250101);
    for (int i = 0; i < 40000; ++i) {
        std::string text = gen() % 2 ? "-" : gen() % 4 ? "" : "+";
        text += std::to_string(gen() % 181);
        const int form = gen() % 4;
        for (int part = 1; part < form; ++part)
            text += ":" + std::to_string(gen() % 60);
        if (form != 1)
            text += '.';
        for (unsigned n = form != 1 ? gen() % 20 : 0; n > 0; --n)
            text += char('0' + gen() % 10);
        rows.push_back(text);
    }
    for (const std::string& text : rows) {
        for (const Axis axis : {Axis::Latitude, Axis::Longitude}) {
            GlobeAngle fast, general;
            std::string fast_error, general_error;
            const bool read = parse_coordinate(text, axis, "LAT1", fast, fast_error);
            ASSERT_EQ(parse_coordinate(text, axis, "LAT1", general, general_error, Readers::GeneralOnly), read) << text;
            EXPECT_EQ(bits(fast.degrees), bits(general.degrees)) << text;
            EXPECT_EQ(fast.whole_seconds, general.whole_seconds) << text;
            EXPECT_EQ(fast.seconds, general.seconds) << text;
            EXPECT_EQ(fast_error, general_error);
        }
    }
}

TEST(Operands, CoordinatesAreToldFromFilesAndOptions)
{
    for (const char* coordinate : {"-74:0:21", ".5", "w74", "\u221274", "北緯35度"})
        EXPECT_TRUE(looks_like_coordinate(coordinate)) << coordinate;
    for (const char* other : {"-", "--final", "pairs.txt", "./35", "North", ""})
        EXPECT_FALSE(looks_like_coordinate(other)) << other;
}

TEST(EscapeControls, TerminalBytesBecomeVisible)
{
    EXPECT_EQ(escape_controls("東京 🌏 a\tb\x1b[31m\x7f\\"), "東京 🌏 a\\tb\\x1B[31m\\x7F\\\\");
    EXPECT_EQ(escape_controls("c1 \xc2\x9b \xc2\xa0"), "c1 \\xC2\\x9B \xc2\xa0");
    EXPECT_EQ(escape_controls("\xff\xe6\x9d \xc0\xaf \xed\xa0\x80"), "\\xFF\\xE6\\x9D \\xC0\\xAF \\xED\\xA0\\x80");
    EXPECT_EQ(escape_controls(std::string("a\0b", 3)), "a\\x00b");
}
