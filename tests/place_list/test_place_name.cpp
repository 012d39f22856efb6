#include "place_list/place_name.h"

#include <gtest/gtest.h>

using namespace orvine;

TEST(PlaceName, TrimsAsciiAndIdeographicBlanksOnlyAndKnowsAMissingName)
{
    const QString ideo(QChar(0x3000)), nbsp(QChar(0x00A0));
    const QString sapporo = QString::fromUtf8("札幌");
    const std::pair<QString, QString> rows[] = {
        {"  " + sapporo + " ", sapporo},
        {ideo + " " + ideo + sapporo + ideo + " ", sapporo},
        {" " + ideo + " ", QString()},
        {QString(), QString()},
        {" New" + ideo + " York ", "New" + ideo + " York"}, // inner blanks stay
        {"\tKobe\t", "\tKobe\t"},                           // other white space stays
        {nbsp + "Kobe", nbsp + "Kobe"},
    };
    for (const auto& [typed, trimmed] : rows)
        EXPECT_EQ(trimmed_name(typed), trimmed) << typed.toStdString();

    EXPECT_TRUE(is_missing_name(QString()) && is_missing_name(QString::fromUtf8("不明")));
    EXPECT_FALSE(is_missing_name(QString::fromUtf8("不明な場所")) || is_missing_name(sapporo));
}
