#pragma once
// Place names as the user types them into the place-list window.
#include "shared_state/place_table.h"

#include <QString>

namespace orvine {

// `text` without leading and trailing blanks: ASCII blanks (U+0020) and ideographic
// blanks (U+3000), since a Japanese input method types the latter. Tabs and other
// characters are kept.
QString trimmed_name(const QString& text);

// True for a trimmed name that cannot name a place: empty (an empty name ends the list in
// the file) or "不明".
bool is_missing_name(const QString& name);

} // namespace orvine
