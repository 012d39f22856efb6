// The program icon: a globe with the Americas in view.
#pragma once

#include "geodata.h"

#include <QImage>

namespace mapgen {

// The 16 colours of the classic Windows palette, in its order; the icon file
// uses this palette.
QList<QRgb> classicPalette();

// The globe as an Indexed8 image of size × size pixels with 16 palette
// entries: entry 0 is fully transparent, the others are classic colours.
QImage drawGlobe(const QList<Polygon> &land, int size);

} // namespace mapgen
