#include "main_window/plain_result.h"

#include <QStringList>

#include <cstdlib>

namespace orvine {

namespace {

QString angle_text(const Angle& a, QChar positive, QChar negative)
{
    return QStringLiteral("%1°%2′%3″%4")
        .arg(std::abs(a.degrees))
        .arg(a.minutes)
        .arg(a.seconds)
        .arg(a.degrees < 0 ? negative : positive);
}

QString place_text(const QString& name, const Point& p)
{
    const QString point = plain_point_text(p);
    return name.isEmpty() ? point : name + QStringLiteral(" (") + point + QLatin1Char(')');
}

} // namespace

QString plain_point_text(const Point& p)
{
    return angle_text(p.latitude, QLatin1Char('N'), QLatin1Char('S')) + QLatin1Char(' ')
        + angle_text(p.longitude, QLatin1Char('E'), QLatin1Char('W'));
}

QString plain_result_line(const QString& departure_name, const Point& departure, const QString& destination_name,
                          const Point& destination, const QString& bearing_caption, const QString& distance_caption)
{
    // The captions are " digits 度    direction" and " digits Ｋｍ".
    const QStringList bearing = bearing_caption.simplified().split(QLatin1Char(' '));
    const QString distance = distance_caption.simplified().section(QLatin1Char(' '), 0, 0);
    return place_text(departure_name, departure) + QStringLiteral(" → ") + place_text(destination_name, destination)
        + QStringLiteral(": ") + bearing.value(0) + QStringLiteral("° ") + bearing.value(2) + QStringLiteral(", ")
        + distance + QStringLiteral(" km");
}

} // namespace orvine
