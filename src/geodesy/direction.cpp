#include "geodesy/direction.h"

#include "geodesy/azimuth.h"
#include "geodesy/coordinates.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace orvine {

namespace {

constexpr Sector sector(const char* name, int k_start, int k_end)
{
    return {name, k_start, k_end, k_start * PI10 / 12, static_cast<float>(k_end * PI10 / 12)};
}

} // namespace

const Sector SECTORS[12] = {
    sector("北（子）", 5, 7),        sector("北北東（丑）", 3, 5), sector("東北東（寅）", 1, 3),
    sector("東（卯）", 23, 1),       sector("東南東（辰）", 21, 23), sector("南南東（巳）", 19, 21),
    sector("南（午）", 17, 19),      sector("南南西（未）", 15, 17), sector("西南西（申）", 13, 15),
    sector("西（酉）", 11, 13),      sector("西北西（戌）", 9, 11), sector("北北西（亥）", 7, 9),
};

const Sector& direction_sector(double b)
{
    for (int i = 0; i < 12; ++i) {
        if (b < 15 + 30 * i)
            return SECTORS[i];
    }
    return SECTORS[0];
}

namespace {

// Lays out the text of real_text in buf (at least REAL_TEXT_MAX bytes) and returns its length.
constexpr std::size_t REAL_TEXT_MAX = 48;

std::size_t format_real(char* buf, double value, int digits)
{
    if (!std::isfinite(value))
        return static_cast<std::size_t>(std::snprintf(buf, REAL_TEXT_MAX, "%g", value));
    if (value == 0) {
        buf[0] = '0';
        return 1;
    }

    // The scientific form gives the correctly rounded significant digits and the exponent, from
    // which the plain decimal text is laid out.
    char sci[32];
    const int precision = digits < 1 ? 0 : digits > 17 ? 16 : digits - 1;
    *std::to_chars(sci, sci + sizeof sci - 1, value, std::chars_format::scientific, precision)
         .ptr = '\0';
    const char* p = sci;
    std::size_t len = 0;
    if (*p == '-') {
        buf[len++] = '-';
        ++p;
    }
    char mantissa[20];
    int n = 0;
    for (; *p != 'e'; ++p) {
        if (*p != '.')
            mantissa[n++] = *p;
    }
    const int exponent = std::atoi(p + 1);
    while (n > 1 && mantissa[n - 1] == '0')
        --n;

    // Magnitudes below 1e-24 or from 1e30 on do not fit the buffer and come out wrong; no value
    // the program shows comes near (bearings below 360, distances below 20100 km), and the
    // captions keep 9 characters at most.
    const int leading_zeros = exponent < 0 ? std::min(-exponent - 1, 24) : 0;
    if (exponent < 0) {
        buf[len++] = '0';
        buf[len++] = '.';
        for (int i = 0; i < leading_zeros; ++i)
            buf[len++] = '0';
        for (int i = 0; i < n; ++i)
            buf[len++] = mantissa[i];
    } else if (exponent + 1 >= n) {
        for (int i = 0; i < n; ++i)
            buf[len++] = mantissa[i];
        for (int i = n; i < exponent + 1 && len < REAL_TEXT_MAX; ++i)
            buf[len++] = '0';
    } else {
        for (int i = 0; i < n; ++i) {
            if (i == exponent + 1)
                buf[len++] = '.';
            buf[len++] = mantissa[i];
        }
    }
    return len;
}

void append_cut(std::string& out, double value, int digits, std::size_t cut)
{
    char buf[REAL_TEXT_MAX];
    const std::size_t len = format_real(buf, value, digits);
    out.append(buf, std::min(len, cut));
}

} // namespace

std::string real_text(double value, int digits)
{
    char buf[REAL_TEXT_MAX];
    return std::string(buf, format_real(buf, value, digits));
}

void bearing_text_into(std::string& out, double b, const char* name)
{
    out.clear();
    out += ' ';
    append_cut(out, b, 15, 7);
    out += " 度";
    out += "    ";
    out += name;
}

void distance_text_into(std::string& out, double c)
{
    const double d = c * EARTH_RADIUS_KM;
    const float d_single = static_cast<float>(d);
    out.clear();
    out += ' ';
    append_cut(out, d_single, 7, 9);
    out += " Ｋｍ";
}

} // namespace orvine
