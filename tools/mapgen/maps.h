// The two map images of the map window, as Indexed8 images whose colour table
// is the 256 greys (entry k is (k, k, k)).
#pragma once

#include "geodata.h"

#include <QImage>

namespace mapgen {

// Greys of the Japan map: coast darker than prefecture borders.
namespace japan {
constexpr int kSea = 236, kLand = 255, kCoast = 96, kBorder = 176;
constexpr int kWidth = 500, kHeight = 500;
}

// Greys of the world map; the equator uses the coast grey.
namespace world {
constexpr int kSea = 236, kLand = 251, kCoast = 136;
constexpr int kWidth = 794, kHeight = 400, kEquatorRow = 200;
}

// Japan from the Yaeyama islands to Hokkaido, with the neighbouring coasts,
// on the grid lon 121.39834 + 0.0514679 X, lat 49.00194 - 0.0514679 Y.
QImage drawJapanMap(const QList<Polygon> &land, const QList<Region> &prefectures);

// The whole world on the grid lon -179.188 + 0.45138 X, lat 89.9756 - 0.44988 Y.
QImage drawWorldMap(const QList<Polygon> &land);

} // namespace mapgen
