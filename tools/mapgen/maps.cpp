#include "maps.h"

#include "raster.h"

#include <stdexcept>

namespace mapgen {

namespace {

QImage greyCanvas(int width, int height, int sea)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(sea, sea, sea));
    return image;
}

void setupAliased(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
}

QPen hairline(int grey)
{
    QPen pen(QColor(grey, grey, grey), 0);
    pen.setCosmetic(true);
    return pen;
}

// Drawing happens in RGB because QPainter cannot paint on a paletted image;
// with antialiasing off every pixel is one of the greys used, which become
// the palette indices.
QImage toGreyPalette(const QImage &rgb)
{
    QList<QRgb> greys;
    for (int k = 0; k < 256; ++k)
        greys.append(qRgb(k, k, k));
    QImage out(rgb.size(), QImage::Format_Indexed8);
    out.setColorTable(greys);
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        uchar *line = out.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            if (qRed(in[x]) != qGreen(in[x]) || qRed(in[x]) != qBlue(in[x]))
                throw std::runtime_error("a map pixel is not grey");
            line[x] = uchar(qRed(in[x]));
        }
    }
    return out;
}

} // namespace

QImage drawJapanMap(const QList<Polygon> &land, const QList<Region> &prefectures)
{
    using namespace japan;
    const Grid grid{121.39834, 0.0514679, 49.00194, 0.0514679};

    QImage image = greyCanvas(WIDTH, HEIGHT, SEA);
    {
        QPainter painter(&image);
        setupAliased(painter);
        painter.setBrush(QColor(LAND, LAND, LAND));
        fillPolygons(painter, land, grid);
    }

    // Prefecture borders come from a raster of prefecture numbers: a pixel on
    // land whose right or lower neighbour lies in another prefecture is a
    // border pixel. Stroking the prefecture outlines instead would also trace
    // every coast a second time, slightly off the land's own coastline.
    QImage owner(WIDTH, HEIGHT, QImage::Format_RGB32);
    owner.fill(0);
    {
        QPainter painter(&owner);
        setupAliased(painter);
        for (int i = 0; i < prefectures.size(); ++i) {
            painter.setBrush(QColor::fromRgb(qRgb(i + 1, 0, 0)));
            fillPolygons(painter, prefectures[i].polygons, grid);
        }
    }
    const QRgb border = qRgb(BORDER, BORDER, BORDER);
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
            const int here = qRed(owner.pixel(x, y));
            if (here == 0)
                continue;
            const int right = x + 1 < WIDTH ? qRed(owner.pixel(x + 1, y)) : 0;
            const int below = y + 1 < HEIGHT ? qRed(owner.pixel(x, y + 1)) : 0;
            if ((right != 0 && right != here) || (below != 0 && below != here))
                image.setPixel(x, y, border);
        }
    }

    {
        QPainter painter(&image);
        setupAliased(painter);
        painter.setPen(hairline(COAST));
        strokeRings(painter, land, grid);
    }
    return toGreyPalette(image);
}

QImage drawWorldMap(const QList<Polygon> &land)
{
    using namespace world;
    const Grid grid{-179.188, 0.45138, 89.9756, 0.44988};

    QImage image = greyCanvas(WIDTH, HEIGHT, SEA);
    {
        QPainter painter(&image);
        setupAliased(painter);
        painter.setBrush(QColor(LAND, LAND, LAND));
        fillPolygons(painter, land, grid);
        painter.setPen(hairline(COAST));
        strokeRings(painter, land, grid);
    }
    // The equator is a whole pixel row, as the read-out expects it on row 200,
    // not where latitude 0 would fall between two rows.
    for (int x = 0; x < WIDTH; ++x)
        image.setPixel(x, EQUATOR_ROW, qRgb(COAST, COAST, COAST));
    return toGreyPalette(image);
}

} // namespace mapgen
