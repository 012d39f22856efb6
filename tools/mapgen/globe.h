// The program icon: a globe with the Americas in view.
#pragma once

#include "geodata.h"

#include <QByteArray>
#include <QImage>

namespace mapgen {

// The 16 colours of the classic Windows palette, in its order; the icon file
// uses this palette.
QList<QRgb> classicPalette();

// The globe as an Indexed8 image of size × size pixels with 16 palette
// entries: entry 0 is fully transparent, the others are classic colours.
QImage drawGlobe(const QList<Polygon> &land, int size);

// The same globe as an SVG picture, 256 units across, for the desktop's scalable icon: the
// same view, colours, shade and black rim, with the coasts traced as smooth outlines.
QByteArray drawGlobeSvg(const QList<Polygon> &land);

} // namespace mapgen
