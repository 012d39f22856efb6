#include "globe.h"

#include "contours.h"
#include "raster.h"

#include <algorithm>
#include <cmath>
#include <functional>

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

// Longitude and latitude in degrees of the globe's point at (x, y), in units of the globe's
// radius from its centre with y up (the inverse orthographic projection); false outside.
bool globePoint(double x, double y, double &lonDegrees, double &latDegrees)
{
    const double rho = std::hypot(x, y);
    if (rho > 1)
        return false;
    const double c = std::asin(rho);
    double lat = CENTRE_LATITUDE, lon = CENTRE_LONGITUDE;
    if (rho > 0) {
        lat = std::asin(std::cos(c) * std::sin(CENTRE_LATITUDE) + y * std::sin(c) * std::cos(CENTRE_LATITUDE) / rho);
        lon = CENTRE_LONGITUDE
              + std::atan2(x * std::sin(c),
                           rho * std::cos(c) * std::cos(CENTRE_LATITUDE) - y * std::sin(c) * std::sin(CENTRE_LATITUDE));
    }
    lonDegrees = lon / DEGREE;
    latDegrees = lat / DEGREE;
    return true;
}

// Light from the upper left: beyond this circle (centre and radius in units of the globe's
// radius, from its centre, y down) the globe lies in shade, a crescent at the lower right
// that gives the ball its roundness.
constexpr double LIGHT_OFFSET = -0.35, LIGHT_RADIUS = 1.12;

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

    const int all = SAMPLES * SAMPLES;
    for (int py = 0; py < size; ++py) {
        uchar *line = image.scanLine(py);
        for (int px = 0; px < size; ++px) {
            const int i = py * size + px;
            if (inside[i] * 2 < all)
                continue;
            const bool isLand = onLand[i] * 2 >= inside[i];
            const double dx = (px + 0.5 - centre) / radius, dy = (py + 0.5 - centre) / radius;
            const bool shaded = std::hypot(dx - LIGHT_OFFSET, dy - LIGHT_OFFSET) > LIGHT_RADIUS;
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
    constexpr int SIZE = 256, MARGIN = 2, NODES = SIZE + 2 * MARGIN + 1, LAND_SAMPLES = 4;
    constexpr double RIM_WIDTH = 4;
    const double half = SIZE / 2.0, disk = half - RIM_WIDTH / 2, lightCentre = half + LIGHT_OFFSET * half;
    const LandLookup lookup(land);

    const auto unitsFrom = [](int node) { return double(node - MARGIN); };
    const auto inDisk = [&](int x, int y) { return disk - std::hypot(unitsFrom(x) - half, unitsFrom(y) - half); };
    const auto inLight = [&](int x, int y) {
        return LIGHT_RADIUS * half - std::hypot(unitsFrom(x) - lightCentre, unitsFrom(y) - lightCentre);
    };
    std::vector<double> landShare(size_t(NODES) * NODES);
    for (int y = 0; y < NODES; ++y) {
        for (int x = 0; x < NODES; ++x) {
            int onLand = 0;
            for (int sy = 0; sy < LAND_SAMPLES; ++sy) {
                for (int sx = 0; sx < LAND_SAMPLES; ++sx) {
                    const double u = unitsFrom(x) + (sx + 0.5) / LAND_SAMPLES - 0.5;
                    const double v = unitsFrom(y) + (sy + 0.5) / LAND_SAMPLES - 0.5;
                    double lon, lat;
                    if (globePoint((u - half) / half, (half - v) / half, lon, lat) && lookup.isLand(lon, lat))
                        ++onLand;
                }
            }
            landShare[size_t(y) * NODES + x] = double(onLand) / (LAND_SAMPLES * LAND_SAMPLES) - 0.5;
        }
    }
    const auto onLand = [&](int x, int y) { return landShare[size_t(y) * NODES + x]; };

    constexpr double TOLERANCE = 0.25, MIN_AREA = 1;
    const QList<QPolygonF> shade = contours(
        NODES, [&](int x, int y) { return std::min(inDisk(x, y), -inLight(x, y)); }, TOLERANCE, MIN_AREA);
    const QList<QPolygonF> litLand = contours(
        NODES, [&](int x, int y) { return std::min({onLand(x, y), inDisk(x, y), inLight(x, y)}); }, TOLERANCE,
        MIN_AREA);
    const QList<QPolygonF> shadedLand = contours(
        NODES, [&](int x, int y) { return std::min({onLand(x, y), inDisk(x, y), -inLight(x, y)}); }, TOLERANCE,
        MIN_AREA);

    const QString circle = QStringLiteral("cx=\"%1\" cy=\"%1\" r=\"%2\"").arg(svgNumber(half), svgNumber(disk));
    QString svg;
    svg += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    svg += QStringLiteral("<!-- The Orvine icon, drawn by tools/mapgen from Natural Earth land (world-atlas 2.0.2). -->\n");
    svg += QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" viewBox=\"0 0 %1 %1\">\n")
               .arg(SIZE);
    svg += QStringLiteral("<circle %1 fill=\"#0000ff\"/>\n").arg(circle);
    svg += QStringLiteral("<path fill=\"#000080\" d=\"%1\"/>\n").arg(svgPath(shade, MARGIN));
    svg += QStringLiteral("<path fill=\"#00ff00\" fill-rule=\"evenodd\" d=\"%1\"/>\n").arg(svgPath(litLand, MARGIN));
    svg += QStringLiteral("<path fill=\"#008000\" fill-rule=\"evenodd\" d=\"%1\"/>\n").arg(svgPath(shadedLand, MARGIN));
    svg += QStringLiteral("<circle %1 fill=\"none\" stroke=\"#000000\" stroke-width=\"%2\"/>\n")
               .arg(circle, svgNumber(RIM_WIDTH));
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

} // namespace mapgen
