#include "globe.h"

#include "raster.h"

#include <algorithm>
#include <cmath>

namespace mapgen {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180;

// The globe faces 15 degrees north, 75 degrees west: both Americas whole,
// with the bulge of Africa at the eastern rim.
constexpr double kCentreLon = -75 * kDegree;
constexpr double kCentreLat = 15 * kDegree;

// Samples per pixel along each axis when deciding what a pixel shows.
constexpr int kSamples = 16;

const QRgb kTransparent = qRgba(0, 0, 0, 0);
const QRgb kBlack = qRgb(0, 0, 0), kMaroon = qRgb(128, 0, 0), kGreen = qRgb(0, 128, 0),
           kOlive = qRgb(128, 128, 0), kNavy = qRgb(0, 0, 128), kPurple = qRgb(128, 0, 128),
           kTeal = qRgb(0, 128, 128), kSilver = qRgb(192, 192, 192), kGrey = qRgb(128, 128, 128),
           kRed = qRgb(255, 0, 0), kLime = qRgb(0, 255, 0), kYellow = qRgb(255, 255, 0),
           kBlue = qRgb(0, 0, 255), kFuchsia = qRgb(255, 0, 255), kAqua = qRgb(0, 255, 255),
           kWhite = qRgb(255, 255, 255);

// Land drawn once on a fine equirectangular raster, so that each sample of
// the globe is a look-up rather than a point-in-polygon test.
class LandLookup
{
public:
    explicit LandLookup(const QList<Polygon> &land)
        : m_image(kWidth, kHeight, QImage::Format_RGB32)
    {
        m_image.fill(Qt::black);
        QPainter painter(&m_image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setBrush(Qt::white);
        fillPolygons(painter, land, Grid{-180, 360.0 / kWidth, 90, 180.0 / kHeight});
    }

    bool isLand(double lonDegrees, double latDegrees) const
    {
        int x = int(std::lround((lonDegrees + 180) * kWidth / 360)) % kWidth;
        if (x < 0)
            x += kWidth;
        const int y = std::clamp(int(std::lround((90 - latDegrees) * kHeight / 180)), 0, kHeight - 1);
        return qRed(m_image.pixel(x, y)) != 0;
    }

private:
    static constexpr int kWidth = 2880, kHeight = 1440;
    QImage m_image;
};

} // namespace

QList<QRgb> classicPalette()
{
    return {kBlack, kMaroon, kGreen, kOlive, kNavy, kPurple, kTeal, kSilver,
            kGrey, kRed, kLime, kYellow, kBlue, kFuchsia, kAqua, kWhite};
}

QImage drawGlobe(const QList<Polygon> &land, int size)
{
    const LandLookup lookup(land);
    const double radius = size / 2.0;
    const double centre = size / 2.0;

    // The PNG needs a transparent entry and has room for 16; fuchsia, the
    // colour a globe never shows, gives way to it.
    QList<QRgb> palette = classicPalette();
    palette.removeOne(kFuchsia);
    palette.prepend(kTransparent);

    QImage image(size, size, QImage::Format_Indexed8);
    image.setColorTable(palette);
    image.fill(0);

    const int seaIndex = int(palette.indexOf(kBlue));
    const int landIndex = int(palette.indexOf(kLime));
    const int rimIndex = int(palette.indexOf(kBlack));
    const int shadedSeaIndex = int(palette.indexOf(kNavy));
    const int shadedLandIndex = int(palette.indexOf(kGreen));

    QList<int> inside(size * size, 0), onLand(size * size, 0);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double x = (px + (sx + 0.5) / kSamples - centre) / radius;
                    const double y = (centre - py - (sy + 0.5) / kSamples) / radius;
                    const double rho = std::hypot(x, y);
                    if (rho > 1)
                        continue;
                    ++inside[py * size + px];
                    // Inverse orthographic projection.
                    const double c = std::asin(rho);
                    double lat = kCentreLat, lon = kCentreLon;
                    if (rho > 0) {
                        lat = std::asin(std::cos(c) * std::sin(kCentreLat)
                                        + y * std::sin(c) * std::cos(kCentreLat) / rho);
                        lon = kCentreLon
                              + std::atan2(x * std::sin(c),
                                           rho * std::cos(c) * std::cos(kCentreLat)
                                               - y * std::sin(c) * std::sin(kCentreLat));
                    }
                    if (lookup.isLand(lon / kDegree, lat / kDegree))
                        ++onLand[py * size + px];
                }
            }
        }
    }

    const int all = kSamples * kSamples;
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
