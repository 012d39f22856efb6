#include "contours.h"

#include <QLineF>

#include <cmath>
#include <map>
#include <vector>

namespace mapgen {

namespace {

// Douglas-Peucker on points[first..last] (both kept); marks the points to keep.
void simplify(const QPolygonF &points, int first, int last, double tolerance, std::vector<bool> &keep)
{
    const QPointF a = points[first], b = points[last];
    const QPointF ab = b - a;
    const double length = std::hypot(ab.x(), ab.y());
    int farthest = -1;
    double farthestDistance = tolerance;
    for (int i = first + 1; i < last; ++i) {
        const QPointF ap = points[i] - a;
        const double distance = length > 0 ? std::abs(ab.x() * ap.y() - ab.y() * ap.x()) / length
                                           : std::hypot(ap.x(), ap.y());
        if (distance > farthestDistance) {
            farthestDistance = distance;
            farthest = i;
        }
    }
    if (farthest < 0)
        return;
    keep[size_t(farthest)] = true;
    simplify(points, first, farthest, tolerance, keep);
    simplify(points, farthest, last, tolerance, keep);
}

double area(const QPolygonF &ring)
{
    double twice = 0;
    for (int i = 0; i < ring.size(); ++i) {
        const QPointF &p = ring[i], &q = ring[(i + 1) % ring.size()];
        twice += p.x() * q.y() - q.x() * p.y();
    }
    return std::abs(twice) / 2;
}

} // namespace

QList<QPolygonF> contours(int nodes, const std::function<double(int x, int y)> &value,
                          double tolerance, double minArea)
{
    std::vector<double> v(size_t(nodes) * size_t(nodes));
    for (int y = 0; y < nodes; ++y)
        for (int x = 0; x < nodes; ++x)
            v[size_t(y) * size_t(nodes) + size_t(x)] = value(x, y);
    const auto at = [&](int x, int y) { return v[size_t(y) * size_t(nodes) + size_t(x)]; };

    // An edge is named by its first node and its direction: 2 * node (towards +x) or
    // 2 * node + 1 (towards +y). Each edge the outline crosses is left by the region in one
    // of its two cells and entered in the other, walking each cell's corners clockwise on
    // the screen (top left, top right, bottom right, bottom left); so "the edge where the
    // walk leaves the region" -> "the edge where it enters it" links the pieces into rings.
    std::map<long, long> next;
    std::map<long, QPointF> crossing;
    for (int y = 0; y + 1 < nodes; ++y) {
        for (int x = 0; x + 1 < nodes; ++x) {
            const int cx[4] = {x, x + 1, x + 1, x}, cy[4] = {y, y, y + 1, y + 1};
            const long node = long(y) * nodes + x;
            const long edge[4] = {2 * node, 2 * (node + 1) + 1, 2 * (node + nodes), 2 * node + 1};
            double c[4];
            bool in[4];
            for (int k = 0; k < 4; ++k) {
                c[k] = at(cx[k], cy[k]);
                in[k] = c[k] > 0;
            }
            int exits[2], entries[2], nExits = 0, nEntries = 0;
            for (int k = 0; k < 4; ++k) {
                const int j = (k + 1) % 4;
                if (in[k] == in[j])
                    continue;
                const double t = c[k] / (c[k] - c[j]);
                crossing[edge[k]] = QPointF(cx[k] + t * (cx[j] - cx[k]), cy[k] + t * (cy[j] - cy[k]));
                if (in[k])
                    exits[nExits++] = k;
                else
                    entries[nEntries++] = k;
            }
            if (nExits == 1) {
                next[edge[exits[0]]] = edge[entries[0]];
            } else if (nExits == 2) {
                // A saddle: the centre's value decides whether the two inside corners join.
                const bool joined = c[0] + c[1] + c[2] + c[3] > 0;
                for (int k : exits)
                    next[edge[k]] = edge[joined ? (k + 1) % 4 : (k + 3) % 4];
            }
        }
    }

    QList<QPolygonF> rings;
    while (!next.empty()) {
        QPolygonF ring;
        const long start = next.begin()->first;
        for (long e = start;;) {
            ring << crossing.at(e);
            const long following = next.at(e);
            next.erase(e);
            e = following;
            if (e == start)
                break;
        }
        if (ring.size() < 3 || area(ring) < minArea)
            continue;
        // Simplified as an open line from the first point back to itself.
        QPolygonF closed = ring;
        closed << ring.first();
        std::vector<bool> keep(size_t(closed.size()), false);
        keep.front() = keep.back() = true;
        int farthest = 0;
        for (int i = 1; i < ring.size(); ++i)
            if (QLineF(ring.first(), ring[i]).length() > QLineF(ring.first(), ring[farthest]).length())
                farthest = i;
        keep[size_t(farthest)] = true;
        simplify(closed, 0, farthest, tolerance, keep);
        simplify(closed, farthest, int(closed.size()) - 1, tolerance, keep);
        QPolygonF simplified;
        for (int i = 0; i + 1 < closed.size(); ++i)
            if (keep[size_t(i)])
                simplified << closed[i];
        if (simplified.size() >= 3)
            rings << simplified;
    }
    return rings;
}

} // namespace mapgen
