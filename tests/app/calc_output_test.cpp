#include "app/cli/calc_output.h"

#include <gtest/gtest.h>

using namespace orvine;
using namespace orvine::calc;

TEST(Records, EachFormatLaysOutTheSameFields)
{
    GlobeCalculation r;
    r.b = 25.5;
    r.d = 1852;
    r.final_b = 152.25;
    r.sector = &direction_sector(25.5);
    r.bearing_caption = " 25.5 度    北北東（丑）";
    r.distance_caption = " 1852 Ｋｍ";
    const EllipsoidFigures e{3704000, 0.5, 359.75};
    const struct Row {
        Columns columns;
        const char* header;
        const char* record;
    } rows[] = {
        {{}, "", "25.5\t北北東（丑）\t1852\t 25.5 度    北北東（丑）\t 1852 Ｋｍ\n"},
        {{Format::Tsv, Unit::Nmi, true, true}, "",
         "25.5\t北北東（丑）\t1000\t 25.5 度    北北東（丑）\t 1852 Ｋｍ\t152.25\t2000\t0.5\t359.75\n"},
        {{Format::Csv, Unit::Mi, true, true},
         "bearing,direction,distance_mi,bearing_text,distance_text,final_bearing,ellipsoid_distance_mi,"
         "ellipsoid_bearing,ellipsoid_final_bearing\n",
         "25.5,北北東（丑）,1150.7794480235425, 25.5 度    北北東（丑）, 1852 Ｋｍ,152.25,2301.558896047085,0.5,359.75\n"},
        {{Format::Json, Unit::Km, true, true}, "",
         "{\"bearing\":25.5,\"direction\":\"北北東（丑）\",\"distance_km\":1852,"
         "\"bearing_text\":\" 25.5 度    北北東（丑）\",\"distance_text\":\" 1852 Ｋｍ\","
         "\"final_bearing\":152.25,\"ellipsoid_distance_km\":3704,\"ellipsoid_bearing\":0.5,"
         "\"ellipsoid_final_bearing\":359.75}\n"},
    };
    for (const Row& row : rows) {
        std::string header, record;
        append_header(header, row.columns);
        append_record(record, row.columns, r, e);
        EXPECT_EQ(header, row.header);
        EXPECT_EQ(record, row.record);
    }
}

TEST(Records, ErrorsAndKeptLinesStayOneLineInEachFormat)
{
    const std::tuple<Format, const char*, const char*, const char*> rows[] = { // error, blank, comment
        {Format::Tsv, "ERROR: LAT1 \"a,b\\x1B\": 読めません\n", " \t\n", "# 東京\t\x01\n"},
        {Format::Csv, "ERROR,\"LAT1 \"\"a,b\\x1B\"\": 読めません\"\n", " \t\n", "# 東京\t\x01\n"},
        {Format::Json, "{\"error\":\"LAT1 \\\"a,b\\\\x1B\\\": 読めません\"}\n", "{}\n", "{\"comment\":\"# 東京\\\\t\\\\x01\"}\n"},
    };
    for (const auto& [format, error, blank, comment] : rows) {
        const Columns columns{format, Unit::Km, false, false};
        std::string e, b, c;
        append_error(e, columns, "LAT1 \"a,b\\x1B\": 読めません");
        append_kept_line(b, columns, " \t");
        append_kept_line(c, columns, "# 東京\t\x01");
        EXPECT_EQ(e + b + c, std::string(error) + blank + comment);
    }
}
