#include "place_list/place_name.h"

namespace orvine {

namespace {

bool is_blank(QChar c)
{
    return c == QChar(0x0020) || c == QChar(0x3000);
}

} // namespace

QString trimmed_name(const QString& text)
{
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && is_blank(text[first]))
        ++first;
    while (end > first && is_blank(text[end - 1]))
        --end;
    return text.mid(first, end - first);
}

bool is_missing_name(const QString& name)
{
    return name.isEmpty() || name == UNKNOWN_PLACE;
}

} // namespace orvine
