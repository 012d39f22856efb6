// Drawing outlines given in degrees onto an image whose pixels are a linear
// longitude/latitude grid, as the map window reads them back.
#pragma once

#include "geodata.h"

#include <QPainter>
#include <QPointF>

namespace mapgen {

// Pixel (X, Y) shows longitude lonLeft + lonStep * X and latitude
// latTop - latStep * Y, exactly as the map window's pointer read-out.
struct Grid {
    double lonLeft;
    double lonStep;
    double latTop;
    double latStep;

    // Painter coordinates of a point in degrees. Qt's aliased raster fills a
    // pixel when its centre (X + 0.5, Y + 0.5) lies inside, and aliased lines
    // land on the pixel containing the point, so the half-pixel shift makes
    // pixel (X, Y) stand for exactly the grid point of the read-out.
    QPointF toPixel(QPointF lonLat) const
    {
        return {(lonLat.x() - lonLeft) / lonStep + 0.5, (latTop - lonLat.y()) / latStep + 0.5};
    }
};

// Fills the polygons with the painter's brush (aliased, odd-even, so lakes stay
// open). Rings crossing the 180th meridian, and rings around a pole, are drawn
// whole on every side of the frame where they show.
void fillPolygons(QPainter &painter, const QList<Polygon> &polygons, const Grid &grid);

// Draws every ring's outline with the painter's pen, leaving out the closing
// edge of a ring around a pole, which is no coast.
void strokeRings(QPainter &painter, const QList<Polygon> &polygons, const Grid &grid);

} // namespace mapgen
