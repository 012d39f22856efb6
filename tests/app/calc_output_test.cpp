#include "app/cli/calc_output.h"

#include <gtest/gtest.h>

using namespace orvine::calc;

TEST(EscapeControls, TerminalBytesBecomeVisible)
{
    EXPECT_EQ(escape_controls("東京 a\tb\x1b[31m\x7f\\"), "東京 a\\tb\\x1B[31m\\x7F\\\\");
    EXPECT_EQ(escape_controls("c1 \xc2\x9b \xc2\xa0"), "c1 \\xC2\\x9B \xc2\xa0");
    EXPECT_EQ(escape_controls("\xff\xe6\x9d \xc0\xaf \xed\xa0\x80"), "\\xFF\\xE6\\x9D \\xC0\\xAF \\xED\\xA0\\x80");
    EXPECT_EQ(escape_controls(std::string("a\0b", 3)), "a\\x00b");
}
