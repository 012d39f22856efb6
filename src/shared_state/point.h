#pragma once
// A point on the Earth as the program holds it: a latitude then a longitude, each as whole
// degrees, minutes and seconds of arc.
//
// Entry form: minutes and seconds are 0..59 and the hemisphere is carried by the sign of
// the degrees alone (south and west negative); degrees 0 is always north or east.
// Signed form: minutes and seconds carry the sign of their degrees (used only while a
// calculation compares two stored points).
//
// The files hold each of the six numbers as a 16-bit integer.
#include <cstdint>

namespace orvine {

struct Angle {
    std::int16_t degrees = 0;
    std::int16_t minutes = 0;
    std::int16_t seconds = 0;

    friend bool operator==(const Angle& a, const Angle& b)
    {
        return a.degrees == b.degrees && a.minutes == b.minutes && a.seconds == b.seconds;
    }
    friend bool operator!=(const Angle& a, const Angle& b) { return !(a == b); }
};

struct Point {
    Angle latitude;
    Angle longitude;

    friend bool operator==(const Point& a, const Point& b)
    {
        return a.latitude == b.latitude && a.longitude == b.longitude;
    }
    friend bool operator!=(const Point& a, const Point& b) { return !(a == b); }
};

} // namespace orvine
