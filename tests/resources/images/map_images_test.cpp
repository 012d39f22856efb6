// The two maps, checked through the map window's pixel grid: a place's latitude and longitude,
// put through that grid, must land on land or sea as the world has it. Place coordinates are
// rounded from any atlas.
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

// Pixel (X, Y) shows lon = lonLeft + lonStep X and lat = latTop - latStep Y.
struct Map {
    const char *file;
    double lonLeft, lonStep, latTop, latStep;
    int sea;
    double x(double lon) const { return (lon - lonLeft) / lonStep; }
    double y(double lat) const { return (latTop - lat) / latStep; }
    const QImage &image() const;
};

const Map kJapan{"japan_map.png", 121.39834, 0.0514679, 49.00194, 0.0514679, 236};
const Map kWorld{"world_map.png", -179.188, 0.45138, 89.9756, 0.44988, 236};
const QImage &Map::image() const
{
    static const QImage japan(QString(ORVINE_IMAGES_DIR "/") + kJapan.file);
    static const QImage world(QString(ORVINE_IMAGES_DIR "/") + kWorld.file);
    return this == &kJapan ? japan : world;
}

constexpr int kJapanCoast = 96, kJapanBorder = 176, kWorldCoast = 136;

// Grey of the pixel that shows the grid point nearest to (lat, lon), shifted by (dx, dy).
int greyAt(const Map &map, double lat, double lon, int dx = 0, int dy = 0)
{
    const int x = int(std::lround(map.x(lon))) + dx, y = int(std::lround(map.y(lat))) + dy;
    EXPECT_TRUE(map.image().valid(x, y)) << lat << ", " << lon;
    return map.image().valid(x, y) ? map.image().pixelIndex(x, y) : -1;
}

std::set<int> greysUsed(const QImage &image)
{
    std::set<int> used;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            used.insert(image.pixelIndex(x, y));
    return used;
}

} // namespace

TEST(Maps, SizeGreyPaletteAndGreysUsed)
{
    struct Row {
        const Map &map;
        QSize size;
        std::set<int> greys;
    } const rows[] = {
        {kJapan, QSize(500, 500), {kJapanCoast, kJapanBorder, 236, 255}},
        {kWorld, QSize(794, 400), {kWorldCoast, 236, 251}},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.map.file);
        const QImage &image = r.map.image();
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), r.size);
        EXPECT_EQ(image.format(), QImage::Format_Indexed8);
        ASSERT_EQ(image.colorCount(), 256);
        for (int k = 0; k < 256; ++k)
            EXPECT_EQ(image.color(k), qRgb(k, k, k)) << "palette entry " << k;
        EXPECT_EQ(greysUsed(image), r.greys);
    }
    EXPECT_LT(kJapanCoast, kJapanBorder) << "coasts are darker than prefecture borders";
}

TEST(Maps, PlacesOnLandAndAtSea)
{
    struct Place {
        const Map &map;
        const char *name;
        double lat, lon;
        bool land;
        // 0: the place's own pixel must be right. 1: on a narrow island or a ragged coast,
        // where a coastline may sit a pixel off: some pixel of the 3 x 3 block must be land,
        // or every pixel of it sea.
        int reach;
    } const places[] = {
        {kJapan, "Tokyo, Shinjuku", 35.690, 139.700, true, 0},
        {kJapan, "Sapporo", 43.062, 141.354, true, 0},
        {kJapan, "Nagano", 36.651, 138.181, true, 0},
        {kJapan, "Osaka", 34.694, 135.502, true, 1},
        {kJapan, "Kagoshima", 31.597, 130.557, true, 1},
        {kJapan, "Naha", 26.212, 127.681, true, 1},
        {kJapan, "Ishigaki", 24.340, 124.156, true, 1},
        {kJapan, "Seoul", 37.566, 126.978, true, 0},
        {kJapan, "Vladivostok hinterland", 44.000, 133.000, true, 0},
        {kJapan, "Sakhalin, Yuzhno-Sakhalinsk", 46.959, 142.738, true, 0},
        {kJapan, "Sea of Japan", 40.000, 135.000, false, 1},
        {kJapan, "Pacific east of Honshu", 37.000, 144.000, false, 1},
        {kJapan, "East China Sea", 30.000, 126.000, false, 1},
        {kJapan, "Sea of Okhotsk", 47.000, 146.000, false, 1},
        {kJapan, "Tokyo Bay", 35.450, 139.850, false, 0},
        {kJapan, "Tsugaru Strait", 41.500, 140.500, false, 0},
        {kWorld, "London", 51.507, -0.128, true, 0},
        {kWorld, "Cairo", 30.044, 31.236, true, 0},
        {kWorld, "Brasilia", -15.794, -47.882, true, 0},
        {kWorld, "Sydney", -33.869, 151.209, true, 1},
        {kWorld, "Denver", 39.739, -104.990, true, 0},
        {kWorld, "Tokyo", 35.690, 139.700, true, 1},
        {kWorld, "Chukotka, east of the 180th meridian", 65.500, -175.000, true, 0},
        {kWorld, "Antarctica, south pole plateau", -85.000, 0.000, true, 0},
        {kWorld, "mid-Pacific", 10.000, -150.000, false, 1},
        {kWorld, "mid-Atlantic", 30.000, -40.000, false, 1},
        {kWorld, "South Atlantic", -30.000, -15.000, false, 1},
        {kWorld, "Indian Ocean", -20.000, 80.000, false, 1},
        {kWorld, "Mediterranean", 34.000, 18.000, false, 1},
        {kWorld, "Arctic Ocean near the pole", 88.000, 0.000, false, 1},
        // Column 0 shows 179.188 W: open Pacific unless the map is shifted or wrapped.
        {kWorld, "west edge, 20 N", 20.000, -179.188, false, 0},
        {kWorld, "west edge, 20 S", -20.000, -179.188, false, 0},
    };
    for (const Place &p : places) {
        int seaPixels = 0;
        for (int dy = -p.reach; dy <= p.reach; ++dy)
            for (int dx = -p.reach; dx <= p.reach; ++dx)
                seaPixels += greyAt(p.map, p.lat, p.lon, dx, dy) == p.map.sea;
        const int block = (2 * p.reach + 1) * (2 * p.reach + 1);
        EXPECT_TRUE(p.land ? seaPixels < block : seaPixels == block) << p.name;
    }
}

// Walks from one town to another in steps far below a pixel, so that a border drawn as a
// connected line cannot be stepped over.
int bordersCrossed(double lat1, double lon1, double lat2, double lon2, bool *overSea)
{
    int borders = 0;
    for (int i = 0; i <= 2000; ++i) {
        const double t = i / 2000.0;
        const int grey = greyAt(kJapan, lat1 + t * (lat2 - lat1), lon1 + t * (lon2 - lon1));
        borders += grey == kJapanBorder;
        *overSea |= grey == kJapan.sea;
    }
    return borders;
}

TEST(JapanMap, PrefectureBordersBetweenNeighbouringCapitalsOnly)
{
    struct Walk {
        const char *name;
        double lat1, lon1, lat2, lon2;
        bool border;
    } const walks[] = {
        {"Nagano - Maebashi", 36.651, 138.181, 36.391, 139.061, true},
        {"Nagoya - Gifu", 35.181, 136.906, 35.423, 136.761, true},
        {"Sendai - Yamagata", 38.268, 140.872, 38.240, 140.363, true},
        {"Okayama - Tottori", 34.662, 133.935, 35.501, 134.235, true},
        {"Kofu - Shizuoka", 35.664, 138.568, 34.977, 138.383, true},
        {"Nagano - Matsumoto", 36.651, 138.181, 36.238, 137.972, false},
        {"Sapporo - Asahikawa", 43.062, 141.354, 43.771, 142.365, false},
    };
    for (const Walk &w : walks) {
        bool overSea = false;
        EXPECT_EQ(bordersCrossed(w.lat1, w.lon1, w.lat2, w.lon2, &overSea) > 0, w.border) << w.name;
        EXPECT_FALSE(overSea) << w.name << " runs over land only";
    }
    // The Korean peninsula and the Russian coast are land without subdivisions.
    for (int y = int(kJapan.y(43.0)); y < int(kJapan.y(35.0)); ++y)
        for (int x = 0; x < int(kJapan.x(128.5)); ++x)
            ASSERT_NE(kJapan.image().pixelIndex(x, y), kJapanBorder) << "at " << x << ", " << y;
}

TEST(WorldMap, EquatorIsTheWholeOfRow200)
{
    for (int x = 0; x < 794; ++x)
        ASSERT_EQ(kWorld.image().pixelIndex(x, 200), kWorldCoast) << "at x = " << x;
    // A line, not a band: over the open sea the rows beside it are sea.
    const int pacific = int(kWorld.x(-150.0));
    EXPECT_EQ(kWorld.image().pixelIndex(pacific, 199), kWorld.sea);
    EXPECT_EQ(kWorld.image().pixelIndex(pacific, 201), kWorld.sea);
}
