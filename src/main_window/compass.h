#pragma once
// Geometry of the compass figure that shows a result on the main window: a disc of radius
// 1200 twips around (5450, 3450) whose 30-degree sector of the bearing's direction is left
// open, and an arrow pointing along the bearing.
//
// Lengths are twips in the window's client area (origin top left, y down). Angles of the
// arc are radians counter-clockwise from east, as the sector table gives them.
#include "geodesy/direction.h"

#include <cstdint>

namespace orvine {

struct TwipsPoint {
    std::int16_t x = 0;
    std::int16_t y = 0;

    friend bool operator==(TwipsPoint a, TwipsPoint b) { return a.x == b.x && a.y == b.y; }
};

struct CompassFigure {
    static constexpr TwipsPoint CENTRE{5450, 3450};
    static constexpr int RADIUS = 1200;
    static constexpr int TIP_RADIUS = RADIUS + 200;
    static constexpr int BASE_RADIUS = RADIUS + 80;
    static constexpr double BASE_OFFSET_DEGREES = 0.85;

    // The open sector: the arc runs counter-clockwise from arc_start to arc_end, and the
    // filled pie counter-clockwise from arc_end back to arc_start.
    double arc_start = 0;
    float arc_end = 0;
    // Arrow: tip, and the two base points 0.85 degrees either side of the bearing.
    TwipsPoint tip;
    TwipsPoint base1;
    TwipsPoint base2;
};

// The figure for bearing B (degrees clockwise from north) in `sector` (its direction).
// Each point is centre + (sin, -cos) of the angle times the radius, rounded to the nearest
// twip with halves to the even neighbour.
CompassFigure compass_figure(double b, const Sector& sector);

// The counter-clockwise turn from angle `from` to angle `to`, radians in (0, 2 pi]
// (the program's pi).
double ccw_span(double from, double to);

// Radians as the sixteenths of a degree that painters take for arcs, to the nearest one.
int sixteenths_of_degree(double radians);

} // namespace orvine
