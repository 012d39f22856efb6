// The two map images of the map window, as Indexed8 images whose colour table
// is the 256 greys (entry k is (k, k, k)).
#pragma once

#include "geodata.h"

#include <QImage>

namespace mapgen {

// Greys of the Japan map: coast darker than prefecture borders.
namespace japan {
constexpr int SEA = 236, LAND = 255, COAST = 96, BORDER = 176;
constexpr int WIDTH = 500, HEIGHT = 500;
}

// Greys of the world map; the equator uses the coast grey.
namespace world {
constexpr int SEA = 236, LAND = 251, COAST = 136;
constexpr int WIDTH = 794, HEIGHT = 400, EQUATOR_ROW = 200;
}

// Japan from the Yaeyama islands to Hokkaido, with the neighbouring coasts,
// on the grid lon 121.39834 + 0.0514679 X, lat 49.00194 - 0.0514679 Y.
QImage drawJapanMap(const QList<Polygon> &land, const QList<Region> &prefectures);

// The whole world on the grid lon -179.188 + 0.45138 X, lat 89.9756 - 0.44988 Y.
QImage drawWorldMap(const QList<Polygon> &land);

} // namespace mapgen
