// The two maps, checked through the map window's pixel grid: a place's
// latitude and longitude, put through that grid, must land on land or sea as
// the world has it. Place coordinates are rounded from any atlas.
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

// The grid of the map window's read-out: pixel (X, Y) shows
// lon = lonLeft + lonStep X and lat = latTop - latStep Y.
struct Grid {
    double lonLeft, lonStep, latTop, latStep;
    double x(double lon) const { return (lon - lonLeft) / lonStep; }
    double y(double lat) const { return (latTop - lat) / latStep; }
};

const Grid kJapan{121.39834, 0.0514679, 49.00194, 0.0514679};
const Grid kWorld{-179.188, 0.45138, 89.9756, 0.44988};

constexpr int kJapanSea = 236, kJapanCoast = 96, kJapanBorder = 176;
constexpr int kWorldSea = 236, kWorldCoast = 136;

QImage load(const char *name)
{
    const QImage image(QString(ORVINE_IMAGES_DIR "/") + name);
    EXPECT_FALSE(image.isNull()) << name;
    return image;
}

const QImage &japan()
{
    static const QImage image = load("japan_map.png");
    return image;
}

const QImage &world()
{
    static const QImage image = load("world_map.png");
    return image;
}

// Grey of the pixel that shows the grid point nearest to (lat, lon).
int greyAt(const QImage &image, const Grid &grid, double lat, double lon, int dx = 0, int dy = 0)
{
    const int x = int(std::lround(grid.x(lon))) + dx;
    const int y = int(std::lround(grid.y(lat))) + dy;
    EXPECT_TRUE(image.valid(x, y)) << lat << ", " << lon;
    return image.valid(x, y) ? image.pixelIndex(x, y) : -1;
}

struct Place {
    const char *name;
    double lat, lon;
    // 0: the place's own pixel must be right. 1: on a narrow island or a
    // ragged coast, where a coastline may sit a pixel off; some pixel of the
    // 3 x 3 block must be land, and for sea every pixel must be sea.
    int reach;
};

bool anyLand(const QImage &image, const Grid &grid, const Place &p, int sea)
{
    for (int dy = -p.reach; dy <= p.reach; ++dy)
        for (int dx = -p.reach; dx <= p.reach; ++dx)
            if (greyAt(image, grid, p.lat, p.lon, dx, dy) != sea)
                return true;
    return false;
}

bool allSea(const QImage &image, const Grid &grid, const Place &p, int sea)
{
    for (int dy = -p.reach; dy <= p.reach; ++dy)
        for (int dx = -p.reach; dx <= p.reach; ++dx)
            if (greyAt(image, grid, p.lat, p.lon, dx, dy) != sea)
                return false;
    return true;
}

void expectGreyPalette(const QImage &image)
{
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
    ASSERT_EQ(image.colorCount(), 256);
    for (int k = 0; k < 256; ++k)
        EXPECT_EQ(image.color(k), qRgb(k, k, k)) << "palette entry " << k;
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

TEST(JapanMap, IsA500By500GreyPaletteImage)
{
    EXPECT_EQ(japan().size(), QSize(500, 500));
    expectGreyPalette(japan());
}

TEST(JapanMap, UsesSeaLandCoastAndBorderGreysOnly)
{
    EXPECT_EQ(greysUsed(japan()), (std::set<int>{kJapanCoast, kJapanBorder, kJapanSea, 255}));
    EXPECT_LT(kJapanCoast, kJapanBorder) << "coasts are darker than prefecture borders";
}

TEST(JapanMap, PlacesOnLand)
{
    const Place places[] = {
        {"Tokyo, Shinjuku", 35.690, 139.700, 0},
        {"Sapporo", 43.062, 141.354, 0},
        {"Asahikawa", 43.771, 142.365, 0},
        {"Nagano", 36.651, 138.181, 0},
        {"Osaka", 34.694, 135.502, 1},
        {"Fukuoka", 33.590, 130.402, 1},
        {"Kagoshima", 31.597, 130.557, 1},
        {"Naha", 26.212, 127.681, 1},
        {"Ishigaki", 24.340, 124.156, 1},
        {"Seoul", 37.566, 126.978, 0},
        {"Pyongyang", 39.039, 125.763, 0},
        {"Vladivostok hinterland", 44.000, 133.000, 0},
        {"Sakhalin, Yuzhno-Sakhalinsk", 46.959, 142.738, 0},
    };
    for (const Place &p : places)
        EXPECT_TRUE(anyLand(japan(), kJapan, p, kJapanSea)) << p.name;
}

TEST(JapanMap, PlacesAtSea)
{
    const Place places[] = {
        {"Sea of Japan", 40.000, 135.000, 1},
        {"Pacific east of Honshu", 37.000, 144.000, 1},
        {"Pacific south of Shikoku", 31.000, 134.000, 1},
        {"East China Sea", 30.000, 126.000, 1},
        {"Sea of Okhotsk", 47.000, 146.000, 1},
        {"Tokyo Bay", 35.450, 139.850, 0},
        {"Tsugaru Strait", 41.500, 140.500, 0},
    };
    for (const Place &p : places)
        EXPECT_TRUE(allSea(japan(), kJapan, p, kJapanSea)) << p.name;
}

// Walks from one town to another in steps far below a pixel, so that every
// pixel the straight line passes is seen; a border drawn as a connected line
// cannot be stepped over.
int bordersCrossed(double lat1, double lon1, double lat2, double lon2, std::set<int> *seen = nullptr)
{
    const int steps = 2000;
    int borders = 0;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const int grey = greyAt(japan(), kJapan, lat1 + t * (lat2 - lat1), lon1 + t * (lon2 - lon1));
        if (grey == kJapanBorder)
            ++borders;
        if (seen)
            seen->insert(grey);
    }
    return borders;
}

TEST(JapanMap, PrefectureBordersBetweenNeighbouringCapitals)
{
    struct Pair {
        const char *name;
        double lat1, lon1, lat2, lon2;
    };
    const Pair pairs[] = {
        {"Nagano - Maebashi", 36.651, 138.181, 36.391, 139.061},
        {"Nagoya - Gifu", 35.181, 136.906, 35.423, 136.761},
        {"Sendai - Yamagata", 38.268, 140.872, 38.240, 140.363},
        {"Fukushima - Utsunomiya", 37.750, 140.468, 36.566, 139.883},
        {"Okayama - Tottori", 34.662, 133.935, 35.501, 134.235},
        {"Kofu - Shizuoka", 35.664, 138.568, 34.977, 138.383},
    };
    for (const Pair &p : pairs) {
        std::set<int> seen;
        EXPECT_GT(bordersCrossed(p.lat1, p.lon1, p.lat2, p.lon2, &seen), 0) << p.name;
        EXPECT_EQ(seen.count(kJapanSea), 0u) << p.name << " runs over land only";
    }
}

TEST(JapanMap, NoBorderWithinOnePrefecture)
{
    EXPECT_EQ(bordersCrossed(36.651, 138.181, 36.238, 137.972), 0) << "Nagano - Matsumoto";
    EXPECT_EQ(bordersCrossed(43.062, 141.354, 43.771, 142.365), 0) << "Sapporo - Asahikawa";
}

TEST(JapanMap, NoPrefectureBordersOutsideJapan)
{
    // The Korean peninsula and the Russian coast are land without subdivisions.
    for (int y = int(kJapan.y(43.0)); y < int(kJapan.y(35.0)); ++y)
        for (int x = 0; x < int(kJapan.x(128.5)); ++x)
            ASSERT_NE(japan().pixelIndex(x, y), kJapanBorder) << "at " << x << ", " << y;
}

TEST(WorldMap, IsA794By400GreyPaletteImage)
{
    EXPECT_EQ(world().size(), QSize(794, 400));
    expectGreyPalette(world());
    EXPECT_EQ(greysUsed(world()), (std::set<int>{kWorldCoast, kWorldSea, 251}));
}

TEST(WorldMap, EquatorIsTheWholeOfRow200)
{
    for (int x = 0; x < 794; ++x)
        ASSERT_EQ(world().pixelIndex(x, 200), kWorldCoast) << "at x = " << x;
    // A line, not a band: over the open sea the rows beside it are sea.
    const int pacific = int(kWorld.x(-150.0));
    EXPECT_EQ(world().pixelIndex(pacific, 199), kWorldSea);
    EXPECT_EQ(world().pixelIndex(pacific, 201), kWorldSea);
}

TEST(WorldMap, PlacesOnLand)
{
    const Place places[] = {
        {"London", 51.507, -0.128, 0},
        {"Cairo", 30.044, 31.236, 0},
        {"Brasilia", -15.794, -47.882, 0},
        {"Sydney", -33.869, 151.209, 1},
        {"Moscow", 55.756, 37.617, 0},
        {"Denver", 39.739, -104.990, 0},
        {"Kinshasa", -4.322, 15.307, 0},
        {"Beijing", 39.904, 116.407, 0},
        {"Tokyo", 35.690, 139.700, 1},
        {"Chukotka, east of the 180th meridian", 65.500, -175.000, 0},
        {"Antarctica, south pole plateau", -85.000, 0.000, 0},
    };
    for (const Place &p : places)
        EXPECT_TRUE(anyLand(world(), kWorld, p, kWorldSea)) << p.name;
}

TEST(WorldMap, PlacesAtSea)
{
    const Place places[] = {
        {"mid-Pacific", 10.000, -150.000, 1},
        {"South Pacific", -30.000, -120.000, 1},
        {"mid-Atlantic", 30.000, -40.000, 1},
        {"South Atlantic", -30.000, -15.000, 1},
        {"Indian Ocean", -20.000, 80.000, 1},
        {"Mediterranean", 34.000, 18.000, 1},
        {"Arctic Ocean near the pole", 88.000, 0.000, 1},
    };
    for (const Place &p : places)
        EXPECT_TRUE(allSea(world(), kWorld, p, kWorldSea)) << p.name;
}

TEST(WorldMap, WestEdgeStartsJustEastOf180)
{
    // Column 0 shows 179.188 W, open Pacific north and south of the equator;
    // a map drawn from 180 W or wrapped the wrong way would differ here only slightly,
    // but one with Asia or America misplaced would not be sea.
    EXPECT_EQ(world().pixelIndex(0, int(std::lround(kWorld.y(20.0)))), kWorldSea);
    EXPECT_EQ(world().pixelIndex(0, int(std::lround(kWorld.y(-20.0)))), kWorldSea);
}
