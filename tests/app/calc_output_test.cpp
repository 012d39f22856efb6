#include "app/cli/calc_output.h"

#include <gtest/gtest.h>

#include <string>

using namespace orvine;
using namespace orvine::calc;

TEST(ResultLine, FiveTabSeparatedFieldsWithSeventeenDigits)
{
    std::string line;
    append_result_line(line, calculate({0, 0, 0, 0, 0, 0}, {0, 0, 0, 90, 0, 0}));
    EXPECT_EQ(line.rfind("90\t東（卯）\t10001.96", 0), 0u) << line;
    const std::string captions = "\t 90 度    東（卯）\t 10001.96 Ｋｍ\n";
    EXPECT_EQ(line.substr(line.size() - captions.size()), captions);

    line.clear();
    append_result_line(line, calculate({40, 42, 51, -74, 0, 21}, {35, 41, 22, 139, 41, 30}));
    EXPECT_EQ(line.rfind("332.96297294192766\t", 0), 0u) << line;
}

TEST(Messages, CarriageReturnsBecomeLinesOrOneLine)
{
    const std::string antipode = refusal_message(Refusal::Antipode);
    EXPECT_EQ(message_lines(antipode),
              "ちょうど地球の正反対となります。\n\n               計算不能です。");
    EXPECT_EQ(message_one_line(antipode), "ちょうど地球の正反対となります。 計算不能です。");
    EXPECT_EQ(message_one_line(SAME_POINT_MESSAGE), SAME_POINT_MESSAGE);
}
