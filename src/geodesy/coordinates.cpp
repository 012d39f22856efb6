#include "geodesy/coordinates.h"

#include <cstdlib>

namespace orvine {

namespace {

// The magnitude as a 16-bit value; -32768 has none and stays as it is.
std::int16_t magnitude(std::int16_t v)
{
    return static_cast<std::int16_t>(std::abs(static_cast<int>(v)));
}

std::int16_t with_sign_of(std::int16_t degrees, std::int16_t v)
{
    return static_cast<std::int16_t>(dms_sign(degrees) * std::abs(static_cast<int>(v)));
}

} // namespace

std::int16_t dms_sign(std::int16_t degrees)
{
    return degrees < 0 ? -1 : 1;
}

double dms_to_radians(std::int16_t degrees, std::int16_t minutes, std::int16_t seconds)
{
    // The order of operations is part of the result: the texts show the last digits.
    const double s = dms_sign(degrees);
    const double a = std::abs(static_cast<int>(degrees)) + std::abs(static_cast<int>(minutes)) / 60.0;
    const double b = a + std::abs(static_cast<int>(seconds)) / 3600.0;
    return ((s * b) * PI10) / 180.0;
}

std::string number_text(int n)
{
    return std::to_string(n);
}

std::string coordinate_text(Axis axis, std::int16_t degrees, std::int16_t minutes,
                            std::int16_t seconds)
{
    std::string text = axis == Axis::Latitude ? "緯度：" : "経度：";
    text += "  ";
    text += number_text(degrees);
    text += "度";
    text += number_text(std::abs(static_cast<int>(minutes)));
    text += "分";
    text += number_text(std::abs(static_cast<int>(seconds)));
    text += "秒";
    return text;
}

Point to_signed_form(const Point& p)
{
    Point s = p;
    s.latitude.minutes = with_sign_of(p.latitude.degrees, p.latitude.minutes);
    s.latitude.seconds = with_sign_of(p.latitude.degrees, p.latitude.seconds);
    s.longitude.minutes = with_sign_of(p.longitude.degrees, p.longitude.minutes);
    s.longitude.seconds = with_sign_of(p.longitude.degrees, p.longitude.seconds);
    return s;
}

Point to_entry_form(const Point& p)
{
    Point e = p;
    e.latitude.minutes = magnitude(p.latitude.minutes);
    e.latitude.seconds = magnitude(p.latitude.seconds);
    e.longitude.minutes = magnitude(p.longitude.minutes);
    e.longitude.seconds = magnitude(p.longitude.seconds);
    return e;
}

} // namespace orvine
