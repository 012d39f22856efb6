#pragma once
// The result as a line of plain text that can be pasted anywhere and still says what it is:
//   東京 (35°41′22″N 139°41′30″E) → ニューヨーク (40°42′51″N 74°0′21″W): 25.1014° 北北東（丑）, 10842.64 km
// The figures are those the window shows: the bearing and the distance keep the digits of
// their captions (the bearing cut to seven characters, the distance to nine), so that the
// line never disagrees with the window.
#include "shared_state/point.h"

#include <QString>

namespace orvine {

// A point in entry form (minutes and seconds 0..59, the sign in the degrees) as
// "35°41′22″N 139°41′30″E"; degrees 0 count as north and east, as they do on the bars.
QString plain_point_text(const Point& p);

// The line for a result whose window captions are `bearing_caption`
// (" 25.1014 度    北北東（丑）") and `distance_caption` (" 10842.64 Ｋｍ"). Points are in
// entry form; a point without a name is given by its coordinates alone.
QString plain_result_line(const QString& departure_name, const Point& departure, const QString& destination_name,
                          const Point& destination, const QString& bearing_caption, const QString& distance_caption);

} // namespace orvine
