#include "globe.h"

#include "raster.h"

#include <algorithm>
#include <cmath>

namespace mapgen {

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr double DEGREE = PI / 180;

// The globe faces 15 degrees north, 75 degrees west: both Americas whole,
// with the bulge of Africa at the eastern rim.
constexpr double CENTRE_LONGITUDE = -75 * DEGREE;
constexpr double CENTRE_LATITUDE = 15 * DEGREE;

// Samples per pixel along each axis when deciding what a pixel shows.
constexpr int SAMPLES = 16;

const QRgb TRANSPARENT = qRgba(0, 0, 0, 0);
const QRgb BLACK = qRgb(0, 0, 0), MAROON = qRgb(128, 0, 0), GREEN = qRgb(0, 128, 0),
           OLIVE = qRgb(128, 128, 0), NAVY = qRgb(0, 0, 128), PURPLE = qRgb(128, 0, 128),
           TEAL = qRgb(0, 128, 128), SILVER = qRgb(192, 192, 192), GREY = qRgb(128, 128, 128),
           RED = qRgb(255, 0, 0), LIME = qRgb(0, 255, 0), YELLOW = qRgb(255, 255, 0),
           BLUE = qRgb(0, 0, 255), FUCHSIA = qRgb(255, 0, 255), AQUA = qRgb(0, 255, 255),
           WHITE = qRgb(255, 255, 255);

// Land drawn once on a fine equirectangular raster, so that each sample of
// the globe is a look-up rather than a point-in-polygon test.
class LandLookup
{
public:
    explicit LandLookup(const QList<Polygon> &land)
        : m_image(WIDTH, HEIGHT, QImage::Format_RGB32)
    {
        m_image.fill(Qt::black);
        QPainter painter(&m_image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setBrush(Qt::white);
        fillPolygons(painter, land, Grid{-180, 360.0 / WIDTH, 90, 180.0 / HEIGHT});
    }

    bool isLand(double lonDegrees, double latDegrees) const
    {
        int x = int(std::lround((lonDegrees + 180) * WIDTH / 360)) % WIDTH;
        if (x < 0)
            x += WIDTH;
        const int y = std::clamp(int(std::lround((90 - latDegrees) * HEIGHT / 180)), 0, HEIGHT - 1);
        return qRed(m_image.pixel(x, y)) != 0;
    }

private:
    static constexpr int WIDTH = 2880, HEIGHT = 1440;
    QImage m_image;
};

} // namespace

QList<QRgb> classicPalette()
{
    return {BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER,
            GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE};
}

QImage drawGlobe(const QList<Polygon> &land, int size)
{
    const LandLookup lookup(land);
    const double radius = size / 2.0;
    const double centre = size / 2.0;

    // The PNG needs a transparent entry and has room for 16; fuchsia, the
    // colour a globe never shows, gives way to it.
    QList<QRgb> palette = classicPalette();
    palette.removeOne(FUCHSIA);
    palette.prepend(TRANSPARENT);

    QImage image(size, size, QImage::Format_Indexed8);
    image.setColorTable(palette);
    image.fill(0);

    const int seaIndex = int(palette.indexOf(BLUE));
    const int landIndex = int(palette.indexOf(LIME));
    const int rimIndex = int(palette.indexOf(BLACK));
    const int shadedSeaIndex = int(palette.indexOf(NAVY));
    const int shadedLandIndex = int(palette.indexOf(GREEN));

    QList<int> inside(size * size, 0), onLand(size * size, 0);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            for (int sy = 0; sy < SAMPLES; ++sy) {
                for (int sx = 0; sx < SAMPLES; ++sx) {
                    const double x = (px + (sx + 0.5) / SAMPLES - centre) / radius;
                    const double y = (centre - py - (sy + 0.5) / SAMPLES) / radius;
                    const double rho = std::hypot(x, y);
                    if (rho > 1)
                        continue;
                    ++inside[py * size + px];
                    // Inverse orthographic projection.
                    const double c = std::asin(rho);
                    double lat = CENTRE_LATITUDE, lon = CENTRE_LONGITUDE;
                    if (rho > 0) {
                        lat = std::asin(std::cos(c) * std::sin(CENTRE_LATITUDE)
                                        + y * std::sin(c) * std::cos(CENTRE_LATITUDE) / rho);
                        lon = CENTRE_LONGITUDE
                              + std::atan2(x * std::sin(c),
                                           rho * std::cos(c) * std::cos(CENTRE_LATITUDE)
                                               - y * std::sin(c) * std::sin(CENTRE_LATITUDE));
                    }
                    if (lookup.isLand(lon / DEGREE, lat / DEGREE))
                        ++onLand[py * size + px];
                }
            }
        }
    }

    const int all = SAMPLES * SAMPLES;
    for (int py = 0; py < size; ++py) {
        uchar *line = image.scanLine(py);
        for (int px = 0; px < size; ++px) {
            const int i = py * size + px;
            if (inside[i] * 2 < all)
                continue;
            const bool isLand = onLand[i] * 2 >= inside[i];
            // Light from the upper left: a crescent at the lower right is
            // darker, which gives the ball its roundness.
            const double dx = (px + 0.5 - centre) / radius, dy = (py + 0.5 - centre) / radius;
            const bool shaded = std::hypot(dx + 0.35, dy + 0.35) > 1.12;
            if (isLand)
                line[px] = uchar(shaded ? shadedLandIndex : landIndex);
            else
                line[px] = uchar(shaded ? shadedSeaIndex : seaIndex);
        }
    }
    // A navy rim on every globe pixel next to the outside keeps the outline
    // sharp on light and dark backgrounds alike.
    const QImage body = image.copy();
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            if (body.pixelIndex(px, py) == 0)
                continue;
            const bool edge = px == 0 || py == 0 || px == size - 1 || py == size - 1
                              || body.pixelIndex(px - 1, py) == 0 || body.pixelIndex(px + 1, py) == 0
                              || body.pixelIndex(px, py - 1) == 0 || body.pixelIndex(px, py + 1) == 0;
            if (edge)
                image.setPixel(px, py, uint(rimIndex));
        }
    }
    if (size == 16) {
        // At 16 pixels the isthmus of Central America falls between pixel
        // centres and the two continents come apart; two hand-set pixels
        // join them again.
        for (const QPoint &p : {QPoint(6, 7), QPoint(7, 8)})
            image.setPixel(p, uint(landIndex));
    }
    return image;
}

} // namespace mapgen
