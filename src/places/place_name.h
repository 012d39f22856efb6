#pragma once
// Place names as the user types them into the place-list window.
#include <QString>

namespace orvine {

// The name that stands for a point without a known name.
inline const QString UNKNOWN_PLACE = QStringLiteral("不明");

// `text` without leading and trailing blanks: ASCII blanks (U+0020) and ideographic
// blanks (U+3000), since a Japanese input method types the latter. Tabs and other
// characters are kept.
QString trimmed_name(const QString& text);

// True for a trimmed name that cannot name a place: empty (an empty name ends the list in
// the file) or "不明".
bool is_missing_name(const QString& name);

} // namespace orvine
