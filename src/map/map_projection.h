#pragma once
// Pixel-to-degree mapping of the two maps and the read-out under the pointer.
//
// Notation: ido = latitude, kei = longitude; do / hun / byo = degrees / minutes / seconds.
// Pixels: X grows to the right from 0 at the image's left edge, Y grows downwards from 0
// at its top edge. Both maps are linear grids: each pixel step is a fixed number of
// degrees (kei_px to the east, ido_px to the south).
//
// Precision is part of the behaviour: longitude is worked in double, latitude in single
// precision (float), and every split into minutes and seconds truncates. The read-out of a
// pixel is therefore reproducible to the second, e.g. the world map's equator row (Y 200)
// reads 0 0 1 south, not 0 0 0 north.
#include "shared_state/map_kind.h"
#include "shared_state/point.h"

#include <cstdint>

namespace orvine {

struct MapProjection {
    double kei_left;  // longitude (degrees, east positive) at the left edge, X = 0
    double kei_px;    // degrees of longitude per pixel to the right
    float ido_top;    // latitude (degrees, north positive) at the top edge, Y = 0
    float ido_px;     // degrees of latitude per pixel downwards
    int width;        // image size in pixels
    int height;
    int line_end_x;   // a cross's horizontal line runs from (0, Y) to (line_end_x, Y)
    int line_end_y;   // and its vertical line from (X, 0) to (X, line_end_y)
    bool both_hemispheres;  // false: always north and east, with no sign test (Japan)
};

// The fixed parameters of each map:
//   Japan 500 × 500 px: longitudes 121.39834 .. 147.13, latitudes 49.00194 .. 23.27;
//   world 794 × 400 px: longitudes −179.188 .. 179.2, latitudes 89.9756 .. −89.98.
const MapProjection& map_projection(MapKind kind);

// What the read-out labels show for one pixel: hemisphere flags and six whole numbers,
// all non-negative (the sign lives in the flags only).
struct ReadOut {
    bool south = false;  // "南緯" instead of "北緯"
    bool west = false;   // "西経" instead of "東経"
    Angle latitude;      // degrees 0..89 on both maps; minutes and seconds 0..59
    Angle longitude;     // degrees 0..179 on both maps; minutes and seconds 0..59

    // The hemisphere label texts, UTF-8: "北緯" / "南緯" and "東経" / "西経".
    const char* latitude_label() const;
    const char* longitude_label() const;

    friend bool operator==(const ReadOut& a, const ReadOut& b)
    {
        return a.south == b.south && a.west == b.west && a.latitude == b.latitude && a.longitude == b.longitude;
    }
};

// Read-out of pixel (x, y) on a map.
//
// The position is first clamped into the image (x to 0..width−1, y to 0..height−1): while
// a button pressed over the map is held, the window system keeps reporting positions
// outside it, and those must not show a longitude beyond 180 degrees or a latitude beyond
// the map. Inside the image nothing changes.
//
// An exact 0 stays north or east; only a strictly negative value switches to south or
// west, and only on a map with both_hemispheres.
ReadOut read_out(const MapProjection& map, int x, int y);
ReadOut read_out(MapKind kind, int x, int y);

} // namespace orvine
