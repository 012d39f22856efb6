#include "main_window/compass.h"

#include "geodesy/coordinates.h"

#include <cmath>

namespace orvine {

namespace {

// The default rounding mode rounds halves to the even neighbour.
std::int16_t round_even(double v)
{
    return static_cast<std::int16_t>(std::nearbyint(v));
}

TwipsPoint along(double degrees, int radius)
{
    const double theta = degrees * PI10 / 180;
    const auto c = CompassFigure::CENTRE;
    return TwipsPoint{static_cast<std::int16_t>(c.x + round_even(std::sin(theta) * radius)),
                      static_cast<std::int16_t>(c.y - round_even(std::cos(theta) * radius))};
}

} // namespace

CompassFigure compass_figure(double b, const Sector& sector)
{
    CompassFigure f;
    f.arc_start = sector.arc_start;
    f.arc_end = sector.arc_end;
    f.tip = along(b, CompassFigure::TIP_RADIUS);
    f.base1 = along(b - CompassFigure::BASE_OFFSET_DEGREES, CompassFigure::BASE_RADIUS);
    f.base2 = along(b + CompassFigure::BASE_OFFSET_DEGREES, CompassFigure::BASE_RADIUS);
    return f;
}

double ccw_span(double from, double to)
{
    const double turn = 2 * PI10;
    double span = std::fmod(to - from, turn);
    if (span <= 0)
        span += turn;
    return span;
}

int sixteenths_of_degree(double radians)
{
    return static_cast<int>(std::lround(radians * 180 / PI10 * 16));
}

} // namespace orvine
