// The program icon: a 16-colour globe with the Americas in view, in two sizes as PNG files and
// together in one Windows icon file.
#include <QImage>
#include <QImageReader>
#include <QString>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QString pngPath(int size)
{
    return QString(ORVINE_IMAGES_DIR "/globe-%1.png").arg(size);
}

// Forward orthographic projection of the globe facing 15 N, 75 W onto a size x size picture
// whose disc fills it.
QPoint project(double lat, double lon, int size)
{
    const double d = 3.14159265358979323846 / 180;
    const double lat0 = 15 * d, dlon = (lon + 75) * d;
    const double x = std::cos(lat * d) * std::sin(dlon);
    const double y = std::cos(lat0) * std::sin(lat * d) - std::sin(lat0) * std::cos(lat * d) * std::cos(dlon);
    const double r = size / 2.0;
    return QPoint(int(std::floor(r + r * x)), int(std::floor(r - r * y)));
}

} // namespace

TEST(GlobeIcon, RoundSixteenColourGlobeShowingTheAmericas)
{
    for (const int size : {32, 16}) {
        SCOPED_TRACE(size);
        const QImage image(pngPath(size));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(image.format(), QImage::Format_Indexed8);
        EXPECT_LE(image.colorCount(), 16);

        const int last = size - 1, mid = size / 2;
        for (const QPoint &corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
            EXPECT_EQ(qAlpha(image.pixel(corner)), 0) << corner.x() << ", " << corner.y();
        for (const QPoint &p : {QPoint(mid, 1), QPoint(1, mid), QPoint(mid, last - 1), QPoint(last - 1, mid)})
            EXPECT_EQ(qAlpha(image.pixel(p)), 255) << p.x() << ", " << p.y();

        // Land pure green and sea pure blue, both opaque.
        const struct {
            const char *name;
            double lat, lon;
            bool land;
        } places[] = {{"Brazil", -10, -50, true}, {"the Great Plains", 40, -100, true},
                      {"the eastern Pacific", 0, -110, false}, {"the North Atlantic", 30, -50, false}};
        for (const auto &p : places) {
            const QRgb c = image.pixel(project(p.lat, p.lon, size));
            EXPECT_TRUE(qAlpha(c) == 255 && qRed(c) == 0 && (qGreen(c) > 0) == p.land
                        && (qBlue(c) > 0) == !p.land && (qGreen(c) == 0 || qBlue(c) == 0))
                << p.name;
        }
    }
}

TEST(GlobeIcon, IconFileHoldsBothSizesWithThePngPixels)
{
    QImageReader reader(QString(ORVINE_IMAGES_DIR "/globe.ico"), "ico");
    ASSERT_TRUE(reader.canRead()) << "Qt's icon plugin reads the file";
    EXPECT_EQ(reader.imageCount(), 2);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage ico = reader.read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(ico.isNull());
        const QImage png = QImage(pngPath(ico.width())).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(ico.size(), png.size());
        for (int y = 0; y < png.height(); ++y)
            for (int x = 0; x < png.width(); ++x) {
                const QRgb a = ico.pixel(x, y), b = png.pixel(x, y);
                // Fully transparent pixels may carry any colour.
                if (qAlpha(a) != 0 || qAlpha(b) != 0) {
                    ASSERT_EQ(a, b) << ico.width() << " px at " << x << ", " << y;
                }
            }
    }
}
