#include "geodata.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <stdexcept>

namespace mapgen {

namespace {

QJsonDocument loadJson(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    QJsonParseError error{};
    QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (doc.isNull())
        throw std::runtime_error(path.toStdString() + ": " + error.errorString().toStdString());
    return doc;
}

// TopoJSON stores each arc as quantised steps from the previous point;
// a transform turns the summed integers into degrees.
QList<Ring> decodeArcs(const QJsonObject &topology)
{
    const QJsonObject transform = topology.value("transform").toObject();
    const QJsonArray scale = transform.value("scale").toArray();
    const QJsonArray translate = transform.value("translate").toArray();
    if (scale.size() != 2 || translate.size() != 2)
        throw std::runtime_error("TopoJSON without a quantisation transform");
    const double sx = scale[0].toDouble(), sy = scale[1].toDouble();
    const double tx = translate[0].toDouble(), ty = translate[1].toDouble();

    QList<Ring> arcs;
    for (const QJsonValue &arcValue : topology.value("arcs").toArray()) {
        Ring arc;
        qint64 x = 0, y = 0;
        for (const QJsonValue &step : arcValue.toArray()) {
            const QJsonArray d = step.toArray();
            x += d[0].toInteger();
            y += d[1].toInteger();
            arc.append(QPointF(x * sx + tx, y * sy + ty));
        }
        arcs.append(arc);
    }
    return arcs;
}

// A ring is a list of arc indices; ~i (that is -i-1) means arc i backwards.
// Consecutive arcs share their joining point, which is kept once.
Ring joinArcs(const QJsonArray &indices, const QList<Ring> &arcs)
{
    Ring ring;
    for (const QJsonValue &value : indices) {
        const int index = value.toInt();
        const bool reversed = index < 0;
        const int arcIndex = reversed ? ~index : index;
        if (arcIndex >= arcs.size())
            throw std::runtime_error("TopoJSON arc index out of range");
        Ring arc = arcs[arcIndex];
        if (reversed)
            std::reverse(arc.begin(), arc.end());
        if (!ring.isEmpty())
            arc.removeFirst();
        ring.append(arc);
    }
    if (ring.size() > 1 && ring.first() == ring.last())
        ring.removeLast();
    return ring;
}

Ring ringFromCoordinates(const QJsonArray &coordinates)
{
    Ring ring;
    for (const QJsonValue &value : coordinates) {
        const QJsonArray point = value.toArray();
        ring.append(QPointF(point[0].toDouble(), point[1].toDouble()));
    }
    if (ring.size() > 1 && ring.first() == ring.last())
        ring.removeLast();
    return ring;
}

Polygon polygonFromCoordinates(const QJsonArray &rings)
{
    Polygon polygon;
    for (const QJsonValue &ring : rings)
        polygon.append(ringFromCoordinates(ring.toArray()));
    return polygon;
}

} // namespace

QList<Polygon> readTopoJson(const QString &path, const QString &objectName)
{
    const QJsonObject topology = loadJson(path).object();
    if (topology.value("type").toString() != "Topology")
        throw std::runtime_error(path.toStdString() + " is not TopoJSON");
    const QList<Ring> arcs = decodeArcs(topology);

    const QJsonObject object = topology.value("objects").toObject().value(objectName).toObject();
    QJsonArray geometries;
    if (object.value("type").toString() == "GeometryCollection")
        geometries = object.value("geometries").toArray();
    else
        geometries.append(object);

    QList<Polygon> polygons;
    for (const QJsonValue &geometryValue : geometries) {
        const QJsonObject geometry = geometryValue.toObject();
        const QString type = geometry.value("type").toString();
        QJsonArray polygonArcs;
        if (type == "Polygon")
            polygonArcs.append(geometry.value("arcs"));
        else if (type == "MultiPolygon")
            polygonArcs = geometry.value("arcs").toArray();
        for (const QJsonValue &rings : polygonArcs) {
            Polygon polygon;
            for (const QJsonValue &ring : rings.toArray())
                polygon.append(joinArcs(ring.toArray(), arcs));
            polygons.append(polygon);
        }
    }
    if (polygons.isEmpty())
        throw std::runtime_error(path.toStdString() + " has no polygons in " + objectName.toStdString());
    return polygons;
}

QList<Region> readAdmin1(const QString &path, const QString &isoA2)
{
    QList<Region> regions;
    for (const QJsonValue &featureValue : loadJson(path).object().value("features").toArray()) {
        const QJsonObject feature = featureValue.toObject();
        const QJsonObject properties = feature.value("properties").toObject();
        if (properties.value("iso_a2").toString() != isoA2)
            continue;
        Region region;
        region.code = properties.value("iso_3166_2").toString();
        const QJsonObject geometry = feature.value("geometry").toObject();
        const QJsonArray coordinates = geometry.value("coordinates").toArray();
        if (geometry.value("type").toString() == "Polygon") {
            region.polygons.append(polygonFromCoordinates(coordinates));
        } else {
            for (const QJsonValue &polygon : coordinates)
                region.polygons.append(polygonFromCoordinates(polygon.toArray()));
        }
        regions.append(region);
    }
    std::sort(regions.begin(), regions.end(),
              [](const Region &a, const Region &b) { return a.code < b.code; });
    return regions;
}

} // namespace mapgen
