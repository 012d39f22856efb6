#include "search/name_folding.h"

#include <gtest/gtest.h>

using namespace orvine;

TEST(FoldForSearch, SpellingsOfOneNameMeetInOneKey)
{
    const std::pair<const char*, const char*> rows[] = {
        {"ファーゴ", "ふぁーご"},                       // katakana as hiragana
        {"ﾊﾟﾘ", "ぱり"},                                // half-width, with its sound mark
        {"ｳﾞｨｯﾃﾝﾍﾞﾙｸﾞ", "ゔぃってんべるぐ"},             // ウ and the voiced marks after は, く
        {"\u30AB\u3099\u30DB\u309A", "がぽ"},          // combining sound marks
        {"茅ヶ崎三ヵ所", "茅け崎三か所"},               // kanji as they are; small ヶ as ケ, small ヵ as カ
        {"ニ゛マ゛ﾝﾞ", "にまん"},                        // kana without a voiced form
        {"イースト・ロンドン", "いーすとろんどん"},     // the long-vowel mark stays, ・ goes
        {"ＰＡＲＩＳ　１５！", "paris15!"},            // full-width letters, digits and space
        {"Fuchū Fuchu\u0304\u0300", "fuchufuchu"},     // a precomposed letter; combining marks
        {"Hà Nội", "hanoi"},                            // Vietnamese: Latin Extended Additional
        {"Àstraße Ærø Łódź Œ", "astrasseaerolodzoe"}, // letters without a decomposition
        {"St. John’s New\u00A0York", "stjohnsnewyork"}, // separators, a no-break space among them
        {"𠮷野家\uE000\U00010000\U0010FFFF", "𠮷野家\uE000\U00010000\U0010FFFF"}, // four bytes; edge code points
        {"Москва ɐ", "Москваɐ"},                       // other scripts unchanged
    };
    for (const auto& [text, folded] : rows) {
        std::string key;
        EXPECT_EQ(fold_for_search(text, key), FoldProblem::none) << text;
        EXPECT_EQ(key, folded) << text;
    }
}

TEST(FoldForSearch, RefusesInvalidUtf8AndControlCharacters)
{
    const std::tuple<const char*, std::string, FoldProblem> rows[] = {
        {"stray continuation byte", "a\x80", FoldProblem::invalid_utf8},
        {"cut sequence", "\xE3\x81", FoldProblem::invalid_utf8},
        {"no continuation byte", "\xC3(", FoldProblem::invalid_utf8},
        {"overlong slash", "\xE0\x80\xAF", FoldProblem::invalid_utf8},
        {"surrogate", "\xED\xA0\x80", FoldProblem::invalid_utf8},
        {"past U+10FFFF", "\xF4\x90\x80\x80", FoldProblem::invalid_utf8},
        {"NUL", std::string("a\0b", 3), FoldProblem::control_character},
        {"DEL", "a\x7F", FoldProblem::control_character},
        {"C1 next line", "a\xC2\x85", FoldProblem::control_character},
    };
    for (const auto& [what, text, problem] : rows) {
        std::string key;
        EXPECT_EQ(fold_for_search(text, key), problem) << what;
    }
}
