#pragma once
// A point on the Earth as the program holds it: latitude (ido) then longitude (kei),
// each as whole degrees (do), minutes (hun) and seconds (byo) of arc.
//
// Entry form: minutes and seconds are 0..59 and the hemisphere is carried by the sign of
// the degrees alone (south and west negative); degrees 0 is always north or east.
// Signed form: minutes and seconds carry the sign of their degrees (used only while a
// calculation compares two stored points).
#include <cstdint>

namespace orvine {

struct Point {
    std::int16_t ido_do = 0;
    std::int16_t ido_hun = 0;
    std::int16_t ido_byo = 0;
    std::int16_t kei_do = 0;
    std::int16_t kei_hun = 0;
    std::int16_t kei_byo = 0;

    friend bool operator==(const Point& a, const Point& b)
    {
        return a.ido_do == b.ido_do && a.ido_hun == b.ido_hun && a.ido_byo == b.ido_byo
            && a.kei_do == b.kei_do && a.kei_hun == b.kei_hun && a.kei_byo == b.kei_byo;
    }
    friend bool operator!=(const Point& a, const Point& b) { return !(a == b); }
};

} // namespace orvine
