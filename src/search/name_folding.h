// Search keys of place names: the forms a user may type for one name fold to one key.
#pragma once

#include <string>
#include <string_view>

namespace orvine {

enum class FoldProblem { none, invalid_utf8, control_character };

// Writes into `key` the search key of the UTF-8 text `text`:
// - full-width ASCII and half-width katakana become their usual forms (Ｐａｒｉｓ, ﾊﾟﾘ);
// - katakana become hiragana, and the small ヵ/ヶ the plain か/け (茅ヶ崎 = 茅ケ崎 = 茅け崎);
//   a separate voiced-sound mark (ﾞ, ゛, U+3099) joins the kana before it;
// - Latin letters lose case and accents (Fuchū → fuchu, Ærø → aero, Straße → strasse);
// - separators are dropped: blanks (also U+3000), - ‐ – — ' ’ ʻ ʼ . , = ・, so that
//   "New York", "new-york" and "NewYork" meet;
// - everything else (kanji, other scripts) is kept as it is.
// Invalid UTF-8 (overlong forms and surrogates included) and control characters (C0, DEL,
// C1) are refused; `key` then holds an unspecified prefix.
FoldProblem fold_for_search(std::string_view text, std::string& key);

} // namespace orvine
