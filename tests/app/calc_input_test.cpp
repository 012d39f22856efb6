#include "app/cli/calc_input.h"

#include <gtest/gtest.h>

#include "app/cli/calc_output.h"

#include <cmath>
#include <random>

using namespace orvine;
using namespace orvine::calc;
using namespace std::literals;

namespace {

constexpr Axis LAT = Axis::Latitude, LON = Axis::Longitude;

struct Reading {
    bool read;
    GlobeAngle angle;
    std::string error;
};

Reading parse(std::string_view token, Axis axis, const char* arg_name, Readers readers = Readers::All)
{
    Reading r{};
    r.read = parse_coordinate(token, axis, arg_name, r.angle, r.error, readers);
    return r;
}

} // namespace

TEST(ParseCoordinate, EveryFormGivesItsDegrees)
{
    const double tokyo = 35 + 41 / 60.0 + 22 / 3600.0, new_york = -(74 + 21 / 3600.0);
    const std::tuple<const char*, Axis, double, bool> rows[] = { // bool: whole seconds
        {"35:41:22", LAT, tokyo, true},           {"-74:0:21", LON, new_york, true},
        {"+05:09:01", LAT, 5 + 9 / 60.0 + 1 / 3600.0, true}, {"-0:7:39", LON, -(7 / 60.0 + 39 / 3600.0), true},
        {"180:0:0", LON, 180, true},              {"35:41", LAT, 35 + 41 / 60.0, true},
        {"35.6894", LAT, 35.6894, false},         {"\u221274.0059", LON, -74.0059, false},
        {"35:41:22.5", LAT, tokyo + 0.5 / 3600, false}, {"35d41m22.5sS", LAT, -tokyo - 0.5 / 3600, false},
        {"35:41:22S", LAT, -tokyo, true},         {"N35.6894", LAT, 35.6894, false},
        {"35°41′22″", LAT, tokyo, true},          {"35°41'22\"", LAT, tokyo, true},
        {"北緯35度41分22秒", LAT, tokyo, true},   {"西経74度0分21秒", LON, new_york, true},
        {"35.689444444444444", LAT, tokyo, true}, // a decimal text of a whole second is that second
    };
    for (const auto& [token, axis, degrees, whole_seconds] : rows) {
        const Reading r = parse(token, axis, "LAT1");
        ASSERT_TRUE(r.read) << token << r.error;
        EXPECT_NEAR(r.angle.degrees, degrees, 1e-12) << token;
        EXPECT_EQ(r.angle.whole_seconds, whole_seconds) << token;
        EXPECT_EQ(r.angle.seconds, whole_seconds ? std::lround(degrees * 3600) : 0) << token;
    }
}

TEST(ParseCoordinate, RefusalsNameTheArgumentAndTheFault)
{
    const std::tuple<std::string_view, Axis, const char*> rows[] = {
        {"90:0:0", LAT, "strictly between -90 and 90"}, {"nan", LAT, "strictly between -90 and 90"},
        {"180:0:1", LON, "within -180..180"},           {"-180.5", LON, "within -180..180"},
        {"35:60:0", LAT, "minutes must be 0..59"},      {"35:0:60", LAT, "seconds must be 0..59"},
        {"35-41-22", LAT, "only the degrees carry a sign"}, {"N-20", LAT, "not both"},
        {"139E", LAT, "a latitude takes N or S"},       {"35N", LON, "a longitude takes E or W"},
        {"", LAT, "not a coordinate"},                  {"1e2", LAT, "Illegal character e"},
        {"35度41度", LAT, "a character that no form of coordinate uses"},
        // Shapes that crashed GeographicLib's DMS::Decode: a seconds mark glued to the next
        // coordinate, and more than three parts.
        {"35°41′22″139:41:30", LAT, "more than three components"}, {"1′′2:3:4", LAT, "more than three components"},
        {"1d2m'3:4", LAT, "more than three components"}, // the m's ' and the ' are "''"
        {"1:2:3:4:5:6", LON, "more than three components"},
        {"139\0"sv, LON, "a NUL byte"}, // the library read it as W
        {"1\0:2:3:4"sv, LAT, "a NUL byte"},
    };
    for (const auto& [token, axis, says] : rows) {
        const Reading r = parse(token, axis, "LAT2");
        EXPECT_FALSE(r.read) << token;
        EXPECT_NE(r.error.find(says), std::string::npos) << r.error;
        EXPECT_EQ(r.error.rfind("LAT2 \"" + std::string(token) + "\": ", 0), 0u) << r.error;
    }
}

// The fast readers must give the general reader's degrees to the last bit, and its refusals;
// then random decimal and D:M:S texts up to 20 fraction digits.
TEST(ParseCoordinate, PlainTextsReadAsTheLibraryReadsThem)
{
    std::vector<std::string> rows = {
        "35.6894", "+35.6894", "-74.0059", "-0.0", "0", "-0", "180", "-180", "180.0000000000000001", ".5", "5.",
        "000000000000035.25", "35.689444444444444444444444444", "89.99999999999999", "35:41", "35:41.5", "-74:0:21.25",
        "35:41:22.123456789", "0:0:0.0000001", "35:41:22.", "35:0.", "00035:041:022.5", "179:59:59.99999999999",
        "35:41:60.0", "35:60.0", "35:41:60.5", "35:59.99999999999999999", "1e2", "1.5:", ":5", "35..5", "-", "90",
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
            const Reading fast = parse(text, axis, "LAT1"), general = parse(text, axis, "LAT1", Readers::GeneralOnly);
            const GlobeAngle &f = fast.angle, &g = general.angle; // == and the sign: the same bits
            ASSERT_EQ(
                std::tuple(fast.read, f.degrees, std::signbit(f.degrees), f.whole_seconds, f.seconds, fast.error),
                std::tuple(general.read, g.degrees, std::signbit(g.degrees), g.whole_seconds, g.seconds, general.error))
                << text;
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
    EXPECT_EQ(escape_controls("東京 🌏\U0010FFFD a\tb\x1b[31m\x7f\\"), "東京 🌏\U0010FFFD a\\tb\\x1B[31m\\x7F\\\\");
    EXPECT_EQ(escape_controls("c1 \xc2\x9b \xc2\xa0"), "c1 \\xC2\\x9B \xc2\xa0");
    EXPECT_EQ(escape_controls("\xff\xe6\x9d \xc0\xaf \xed\xa0\x80"), "\\xFF\\xE6\\x9D \\xC0\\xAF \\xED\\xA0\\x80");
    EXPECT_EQ(escape_controls(std::string("a\0b", 3)), "a\\x00b");
}
