#include "raster.h"

#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

namespace mapgen {

namespace {

struct UnwrappedRing {
    QPolygonF points;  // in degrees, longitudes continuous (may pass 180)
    bool aroundPole = false;
};

// Makes the longitudes continuous, so that a ring crossing the 180th meridian
// is one shape; a ring whose longitudes gain a whole turn encircles a pole.
UnwrappedRing unwrap(const Ring &ring)
{
    UnwrappedRing out;
    double previous = 0;
    for (const QPointF &p : ring) {
        double lon = p.x();
        if (!out.points.isEmpty()) {
            while (lon - previous > 180)
                lon -= 360;
            while (lon - previous < -180)
                lon += 360;
        }
        out.points.append(QPointF(lon, p.y()));
        previous = lon;
    }
    if (!out.points.isEmpty())
        out.aroundPole = std::abs(out.points.first().x() - out.points.last().x()) > 180;
    return out;
}

QPolygonF project(const QPolygonF &points, const Grid &grid, double lonShift)
{
    QPolygonF out;
    out.reserve(points.size());
    for (const QPointF &p : points)
        out.append(grid.toPixel(QPointF(p.x() + lonShift, p.y())));
    return out;
}

// The unwrapped rings span at most one turn beyond [-180, 180], so drawing
// each shape one turn east and west as well covers every frame.
constexpr double SHIFTS[] = {-360.0, 0.0, 360.0};

} // namespace

void fillPolygons(QPainter &painter, const QList<Polygon> &polygons, const Grid &grid)
{
    for (const Polygon &polygon : polygons) {
        QList<UnwrappedRing> rings;
        for (const Ring &ring : polygon)
            rings.append(unwrap(ring));
        for (double shift : SHIFTS) {
            QPainterPath path;
            path.setFillRule(Qt::OddEvenFill);
            for (const UnwrappedRing &ring : rings) {
                QPolygonF points = ring.points;
                if (ring.aroundPole) {
                    const double pole = points.first().y() < 0 ? -90.0 : 90.0;
                    points.append(QPointF(points.last().x(), pole));
                    points.append(QPointF(points.first().x(), pole));
                }
                path.addPolygon(project(points, grid, shift));
                path.closeSubpath();
            }
            painter.fillPath(path, painter.brush());
        }
    }
}

void strokeRings(QPainter &painter, const QList<Polygon> &polygons, const Grid &grid)
{
    for (const Polygon &polygon : polygons) {
        for (const Ring &ring : polygon) {
            UnwrappedRing unwrapped = unwrap(ring);
            if (!unwrapped.aroundPole && !unwrapped.points.isEmpty())
                unwrapped.points.append(unwrapped.points.first());
            for (double shift : SHIFTS)
                painter.drawPolyline(project(unwrapped.points, grid, shift));
        }
    }
}

} // namespace mapgen
