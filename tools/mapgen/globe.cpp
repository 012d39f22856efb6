#include "globe.h"

#include "contours.h"
#include "raster.h"

#include <algorithm>
#include <cmath>
#include <functional>

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

// Longitude and latitude in degrees of the globe's point at (x, y), in units of the globe's
// radius from its centre with y up (the inverse orthographic projection); false outside.
bool globePoint(double x, double y, double &lonDegrees, double &latDegrees)
{
    const double rho = std::hypot(x, y);
    if (rho > 1)
        return false;
    const double c = std::asin(rho);
    double lat = kCentreLat, lon = kCentreLon;
    if (rho > 0) {
        lat = std::asin(std::cos(c) * std::sin(kCentreLat) + y * std::sin(c) * std::cos(kCentreLat) / rho);
        lon = kCentreLon
              + std::atan2(x * std::sin(c),
                           rho * std::cos(c) * std::cos(kCentreLat) - y * std::sin(c) * std::sin(kCentreLat));
    }
    lonDegrees = lon / kDegree;
    latDegrees = lat / kDegree;
    return true;
}

// Light from the upper left: beyond this circle (centre and radius in units of the globe's
// radius, from its centre, y down) the globe lies in shade, a crescent at the lower right
// that gives the ball its roundness.
constexpr double kLightOffset = -0.35, kLightRadius = 1.12;

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
                    double lon, lat;
                    if (!globePoint(x, y, lon, lat))
                        continue;
                    ++inside[py * size + px];
                    if (lookup.isLand(lon, lat))
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
            const double dx = (px + 0.5 - centre) / radius, dy = (py + 0.5 - centre) / radius;
            const bool shaded = std::hypot(dx - kLightOffset, dy - kLightOffset) > kLightRadius;
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
    // At 16, 22 and 24 pixels the isthmus of Central America falls between
    // pixel centres and the two continents come apart; hand-set pixels join
    // them again.
    const QList<QPoint> isthmus = size == 16 ? QList<QPoint>{QPoint(6, 7), QPoint(7, 8)}
                                  : size == 22 ? QList<QPoint>{QPoint(9, 11)}
                                  : size == 24 ? QList<QPoint>{QPoint(10, 12)}
                                               : QList<QPoint>{};
    for (const QPoint &p : isthmus)
        image.setPixel(p, uint(landIndex));
    return image;
}

namespace {

QString svgNumber(double value)
{
    QString text = QString::number(value, 'f', 1);
    if (text.endsWith(QLatin1String(".0")))
        text.chop(2);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

// An SVG path of the rings, shifted by -offset in both axes.
QString svgPath(const QList<QPolygonF> &rings, double offset)
{
    QStringList parts;
    for (const QPolygonF &ring : rings) {
        QStringList points;
        for (const QPointF &p : ring)
            points << svgNumber(p.x() - offset) + QLatin1Char(',') + svgNumber(p.y() - offset);
        parts << QStringLiteral("M") + points.join(QLatin1Char(' ')) + QStringLiteral("Z");
    }
    return parts.join(QString());
}

} // namespace

QByteArray drawGlobeSvg(const QList<Polygon> &land)
{
    // 256 units across, like the largest raster icon, sampled at every unit (a margin of two
    // units keeps every outline within the grid); land is the share of 4 x 4 samples around a
    // node, so that coasts fall between the nodes as smoothly as the data allows.
    constexpr int kSize = 256, kMargin = 2, kNodes = kSize + 2 * kMargin + 1, kLandSamples = 4;
    constexpr double kRimWidth = 4;
    const double half = kSize / 2.0, disk = half - kRimWidth / 2, lightCentre = half + kLightOffset * half;
    const LandLookup lookup(land);

    const auto unitsFrom = [](int node) { return double(node - kMargin); };
    const auto inDisk = [&](int x, int y) { return disk - std::hypot(unitsFrom(x) - half, unitsFrom(y) - half); };
    const auto inLight = [&](int x, int y) {
        return kLightRadius * half - std::hypot(unitsFrom(x) - lightCentre, unitsFrom(y) - lightCentre);
    };
    std::vector<double> landShare(size_t(kNodes) * kNodes);
    for (int y = 0; y < kNodes; ++y) {
        for (int x = 0; x < kNodes; ++x) {
            int onLand = 0;
            for (int sy = 0; sy < kLandSamples; ++sy) {
                for (int sx = 0; sx < kLandSamples; ++sx) {
                    const double u = unitsFrom(x) + (sx + 0.5) / kLandSamples - 0.5;
                    const double v = unitsFrom(y) + (sy + 0.5) / kLandSamples - 0.5;
                    double lon, lat;
                    if (globePoint((u - half) / half, (half - v) / half, lon, lat) && lookup.isLand(lon, lat))
                        ++onLand;
                }
            }
            landShare[size_t(y) * kNodes + x] = double(onLand) / (kLandSamples * kLandSamples) - 0.5;
        }
    }
    const auto onLand = [&](int x, int y) { return landShare[size_t(y) * kNodes + x]; };

    constexpr double kTolerance = 0.25, kMinArea = 1;
    const QList<QPolygonF> shade = contours(
        kNodes, [&](int x, int y) { return std::min(inDisk(x, y), -inLight(x, y)); }, kTolerance, kMinArea);
    const QList<QPolygonF> litLand = contours(
        kNodes, [&](int x, int y) { return std::min({onLand(x, y), inDisk(x, y), inLight(x, y)}); }, kTolerance,
        kMinArea);
    const QList<QPolygonF> shadedLand = contours(
        kNodes, [&](int x, int y) { return std::min({onLand(x, y), inDisk(x, y), -inLight(x, y)}); }, kTolerance,
        kMinArea);

    const QString circle = QStringLiteral("cx=\"%1\" cy=\"%1\" r=\"%2\"").arg(svgNumber(half), svgNumber(disk));
    QString svg;
    svg += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    svg += QStringLiteral("<!-- The Orvine icon, drawn by tools/mapgen from Natural Earth land (world-atlas 2.0.2). -->\n");
    svg += QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" viewBox=\"0 0 %1 %1\">\n")
               .arg(kSize);
    svg += QStringLiteral("<circle %1 fill=\"#0000ff\"/>\n").arg(circle);
    svg += QStringLiteral("<path fill=\"#000080\" d=\"%1\"/>\n").arg(svgPath(shade, kMargin));
    svg += QStringLiteral("<path fill=\"#00ff00\" fill-rule=\"evenodd\" d=\"%1\"/>\n").arg(svgPath(litLand, kMargin));
    svg += QStringLiteral("<path fill=\"#008000\" fill-rule=\"evenodd\" d=\"%1\"/>\n").arg(svgPath(shadedLand, kMargin));
    svg += QStringLiteral("<circle %1 fill=\"none\" stroke=\"#000000\" stroke-width=\"%2\"/>\n")
               .arg(circle, svgNumber(kRimWidth));
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

} // namespace mapgen
