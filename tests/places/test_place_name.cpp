// Trimming and the checks of typed place names.
#include "places/place_name.h"

#include <gtest/gtest.h>

using namespace orvine;

namespace {
const QString IDEO = QString(QChar(0x3000));
const QString SAPPORO = QString::fromUtf8("札幌");
} // namespace

TEST(TrimmedName, RemovesAsciiAndIdeographicBlanksAtBothEnds)
{
    EXPECT_EQ(trimmed_name("  " + SAPPORO + " "), SAPPORO);
    EXPECT_EQ(trimmed_name(IDEO + " " + IDEO + SAPPORO + IDEO + " "), SAPPORO);
    EXPECT_EQ(trimmed_name(" " + IDEO + " "), QString());
    EXPECT_EQ(trimmed_name(QString()), QString());
}

TEST(TrimmedName, KeepsInnerBlanksAndOtherWhiteSpace)
{
    EXPECT_EQ(trimmed_name(" New" + IDEO + " York "), "New" + IDEO + " York");
    EXPECT_EQ(trimmed_name("\tKobe\t"), QStringLiteral("\tKobe\t"));
    EXPECT_EQ(trimmed_name(QString(QChar(0x00A0)) + "Kobe"), QString(QChar(0x00A0)) + "Kobe");
}

TEST(MissingName, EmptyAndUnknownOnly)
{
    EXPECT_TRUE(is_missing_name(QString()));
    EXPECT_TRUE(is_missing_name(QString::fromUtf8("不明")));
    EXPECT_FALSE(is_missing_name(QString::fromUtf8("不明な場所")));
    EXPECT_FALSE(is_missing_name(SAPPORO));
}
