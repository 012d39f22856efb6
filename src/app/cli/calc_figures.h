#pragma once
// The figures the calculator takes from GeographicLib's Geodesic: the inverse problem on GRS80
// (a = 6378137 m, f = 1/298.257222101) beside the window's spherical figures, and the direct
// problem on the program's sphere (radius 6367447.5 m) and on GRS80. Angles are in degrees,
// azimuths clockwise from north, distances in metres.
#include "geodesy/globe.h"

namespace orvine::calc {

// An azimuth of any sign turned into 0 <= value < 360; a value that rounds to 360 (a tiny
// negative one) is 0, and so is -0.
double azimuth_0_360(double azimuth);

struct EllipsoidFigures {
    double distance_m = 0;
    double bearing = 0;       // azimuth at the departure, 0 <= value < 360
    double final_bearing = 0; // azimuth at the destination, 0 <= value < 360
};

// The inverse problem dep to dst on GRS80.
EllipsoidFigures ellipsoid_figures(const GlobePoint& dep, const GlobePoint& dst);

struct Destination {
    double lat = 0;           // -90 <= value <= 90
    double lon = 0;           // -180 <= value < 180
    double final_bearing = 0; // azimuth of travel on arrival, 0 <= value < 360
};

enum class Figure { Sphere, Grs80 };

// The direct problem: the point reached from (lat, lon) (-90 < lat < 90) by setting off at
// `azimuth` and travelling `distance_m` (>= 0) along the geodesic; a route over a pole or past
// the antipode goes on along the same great circle (geodesic).
Destination destination(Figure figure, double lat, double lon, double azimuth, double distance_m);

} // namespace orvine::calc
