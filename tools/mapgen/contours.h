// Outlines of a sampled field as closed paths, for the icon's vector form.
#pragma once

#include <QList>
#include <QPolygonF>

#include <functional>

namespace mapgen {

// The closed outlines of the region where value(x, y) > 0, traced by marching squares on
// the nodes x, y = 0, 1, ..., nodes - 1 (in node units) with linear interpolation along the
// cell edges. Every outline keeps the region on the same side, so nested outlines (lakes)
// fill correctly with the odd-even rule. The value must be negative on the border nodes.
// Each outline is simplified to within `tolerance` node units; outlines enclosing less than
// `minArea` square units are left out.
QList<QPolygonF> contours(int nodes, const std::function<double(int x, int y)> &value,
                          double tolerance, double minArea);

} // namespace mapgen
