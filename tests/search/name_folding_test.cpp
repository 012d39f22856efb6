#include "search/name_folding.h"

#include <gtest/gtest.h>

using namespace orvine;

TEST(FoldForSearch, SpellingsOfOneNameMeetInOneKey)
{
    const std::pair<const char*, const char*> rows[] = {
        {"札幌市", "札幌市"},                           // kanji as they are
        {"ファーゴ", "ふぁーご"},                       // katakana as hiragana
        {"ﾊﾟﾘ", "ぱり"},                                // half-width, with its sound mark
        {"ｳﾞｨｯﾃﾝﾍﾞﾙｸﾞ", "ゔぃってんべるぐ"},             // ウ and the voiced marks after は, く
        {"\u30AB\u3099\u30DB\u309A", "がぽ"},          // combining sound marks
        {"茅ヶ崎", "茅け崎"},                           // small ヶ as ケ
        {"三ヵ所", "三か所"},                           // small ヵ as カ
        {"ニ゛マ゛ﾝﾞ", "にまん"},                        // kana without a voiced form
        {"イースト・ロンドン", "いーすとろんどん"},     // the long-vowel mark stays, ・ goes
        {"ＰＡＲＩＳ　１５！", "paris15!"},            // full-width letters, digits and space
        {"Fuchū", "fuchu"},
        {"Fuchu\u0304\u0300", "fuchu"},                 // combining marks
        {"Hà Nội", "hanoi"},                            // Vietnamese: Latin Extended Additional
        {"Àstraße Ærø Łódź Œ", "astrasseaerolodzoe"}, // letters without a decomposition
        {"St. John’s", "stjohns"},
        {"New\u00A0York", "newyork"},                  // a no-break space
        {"𠮷野家", "𠮷野家"},                           // four bytes in UTF-8
        {"\uE000\U00010000\U0010FFFF", "\uE000\U00010000\U0010FFFF"}, // the edges of valid code points
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
        {"overlong slash", "\xC0\xAF", FoldProblem::invalid_utf8},
        {"surrogate", "\xED\xA0\x80", FoldProblem::invalid_utf8},
        {"past U+10FFFF", "\xF4\x90\x80\x80", FoldProblem::invalid_utf8},
        {"lead byte F5", "\xF5\x80\x80\x80", FoldProblem::invalid_utf8},
        {"NUL", std::string("a\0b", 3), FoldProblem::control_character},
        {"DEL", "a\x7F", FoldProblem::control_character},
        {"C1 next line", "a\xC2\x85", FoldProblem::control_character},
    };
    for (const auto& [what, text, problem] : rows) {
        std::string key;
        EXPECT_EQ(fold_for_search(text, key), problem) << what;
    }
}
