// orvine-direction-map ATLAS-DIR OUT-FILE
// Packs Natural Earth's land and country borders from world-atlas (ATLAS-DIR holds its
// countries-110m.json and countries-50m.json) into the direction map's outline file
// (format in src/map/direction_map_data.h): the 1:110m level for the whole globe, the 1:50m
// level for zoomed views. Land is the file's "land" object, the union of the countries;
// borders are the arcs that two different countries share. The output depends on nothing
// but the data.
#include "map/direction_map_data.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Line = std::vector<orvine::GeoPoint>;

QJsonObject load_topology(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    const QJsonObject topology = QJsonDocument::fromJson(file.readAll()).object();
    if (topology.value("type").toString() != "Topology")
        throw std::runtime_error(path.toStdString() + " is not TopoJSON");
    return topology;
}

// Arcs are quantised steps from the previous point, turned into degrees by the transform.
std::vector<Line> decode_arcs(const QJsonObject& topology)
{
    const QJsonObject transform = topology.value("transform").toObject();
    const QJsonArray scale = transform.value("scale").toArray();
    const QJsonArray translate = transform.value("translate").toArray();
    if (scale.size() != 2 || translate.size() != 2)
        throw std::runtime_error("TopoJSON without a quantisation transform");
    std::vector<Line> arcs;
    for (const QJsonValue& arc_value : topology.value("arcs").toArray()) {
        Line arc;
        qint64 x = 0, y = 0;
        for (const QJsonValue& step : arc_value.toArray()) {
            x += step.toArray()[0].toInteger();
            y += step.toArray()[1].toInteger();
            arc.push_back({y * scale[1].toDouble() + translate[1].toDouble(),
                           x * scale[0].toDouble() + translate[0].toDouble()});
        }
        arcs.push_back(arc);
    }
    return arcs;
}

std::size_t arc_index(int i, std::size_t arc_count)
{
    const auto index = static_cast<std::size_t>(i < 0 ? ~i : i);
    if (index >= arc_count)
        throw std::runtime_error("TopoJSON arc index out of range");
    return index;
}

bool same_unit(const orvine::GeoPoint& a, const orvine::GeoPoint& b)
{
    const double u = orvine::MAP_DATA_UNIT_DEGREES;
    return std::llround(a.lat / u) == std::llround(b.lat / u) && std::llround(a.lon / u) == std::llround(b.lon / u);
}

// A ring is a list of arcs (~i is arc i backwards) sharing their joining points. Points that
// the file's unit cannot tell apart are kept once.
Line join_ring(const QJsonArray& indices, const std::vector<Line>& arcs)
{
    Line ring;
    for (const QJsonValue& value : indices) {
        const int i = value.toInt();
        Line arc = arcs[arc_index(i, arcs.size())];
        if (i < 0)
            std::reverse(arc.begin(), arc.end());
        for (const orvine::GeoPoint& p : arc) {
            if (ring.empty() || !same_unit(ring.back(), p))
                ring.push_back(p);
        }
    }
    while (ring.size() > 1 && same_unit(ring.front(), ring.back()))
        ring.pop_back();
    return ring;
}

orvine::PointRun append(orvine::MapLevel& level, const Line& line)
{
    orvine::PointRun run{static_cast<std::uint32_t>(level.points.size()), static_cast<std::uint32_t>(line.size())};
    level.points.insert(level.points.end(), line.begin(), line.end());
    return run;
}

void add_land(orvine::MapLevel& level, const QJsonObject& land, const std::vector<Line>& arcs)
{
    for (const QJsonValue& geometry_value : land.value("geometries").toArray()) {
        const QJsonObject geometry = geometry_value.toObject();
        QJsonArray polygons;
        if (geometry.value("type").toString() == "Polygon")
            polygons.append(geometry.value("arcs"));
        else if (geometry.value("type").toString() == "MultiPolygon")
            polygons = geometry.value("arcs").toArray();
        for (const QJsonValue& rings : polygons) {
            orvine::LandPolygon polygon{static_cast<std::uint32_t>(level.rings.size()), 0};
            for (const QJsonValue& ring_value : rings.toArray()) {
                const Line ring = join_ring(ring_value.toArray(), arcs);
                // Rings that the unit folds to fewer than three points enclose nothing.
                if (ring.size() >= 3) {
                    level.rings.push_back(append(level, ring));
                    ++polygon.ring_count;
                } else if (polygon.ring_count == 0) {
                    break;
                }
            }
            if (polygon.ring_count > 0)
                level.polygons.push_back(polygon);
        }
    }
}

// Every arc that belongs to two different countries, once, in the file's order.
void add_borders(orvine::MapLevel& level, const QJsonObject& countries, const std::vector<Line>& arcs)
{
    std::vector<std::set<int>> users(arcs.size());
    int country = 0;
    std::function<void(const QJsonValue&)> walk = [&](const QJsonValue& value) {
        if (value.isArray()) {
            for (const QJsonValue& v : value.toArray())
                walk(v);
        } else {
            users[arc_index(value.toInt(), arcs.size())].insert(country);
        }
    };
    for (const QJsonValue& geometry : countries.value("geometries").toArray()) {
        walk(geometry.toObject().value("arcs"));
        ++country;
    }
    for (std::size_t i = 0; i < arcs.size(); ++i) {
        if (users[i].size() < 2)
            continue;
        Line line;
        for (const orvine::GeoPoint& p : arcs[i]) {
            if (line.empty() || !same_unit(line.back(), p))
                line.push_back(p);
        }
        if (line.size() >= 2)
            level.borders.push_back(append(level, line));
    }
}

orvine::MapLevel read_level(const QString& path, int scale_millions)
{
    const QJsonObject topology = load_topology(path);
    const std::vector<Line> arcs = decode_arcs(topology);
    const QJsonObject objects = topology.value("objects").toObject();
    orvine::MapLevel level;
    level.scale_millions = scale_millions;
    add_land(level, objects.value("land").toObject(), arcs);
    add_borders(level, objects.value("countries").toObject(), arcs);
    if (level.polygons.empty() || level.borders.empty())
        throw std::runtime_error(path.toStdString() + " holds no land or no borders");
    return level;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: orvine-direction-map ATLAS-DIR OUT-FILE\n");
        return 2;
    }
    const QString atlas = QString::fromLocal8Bit(argv[1]);
    try {
        orvine::MapData data;
        data.levels.push_back(read_level(atlas + "/countries-110m.json", 110));
        data.levels.push_back(read_level(atlas + "/countries-50m.json", 50));
        const std::string bytes = orvine::encode_map_data(data);
        QSaveFile out(QString::fromLocal8Bit(argv[2]));
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes.data(), static_cast<qint64>(bytes.size()))
                                                   != static_cast<qint64>(bytes.size())
            || !out.commit())
            throw std::runtime_error("cannot write " + std::string(argv[2]));
        for (const orvine::MapLevel& level : data.levels)
            std::printf("1:%dm: %zu polygons, %zu rings, %zu borders, %zu points\n", level.scale_millions,
                        level.polygons.size(), level.rings.size(), level.borders.size(), level.points.size());
        std::printf("%s: %zu bytes\n", argv[2], bytes.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvine-direction-map: %s\n", e.what());
        return 1;
    }
    return 0;
}
