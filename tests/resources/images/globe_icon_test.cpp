// The program icon: a 16-colour globe with the Americas in view, in two
// sizes as PNG files and together in one Windows icon file.
#include <QImage>
#include <QImageReader>
#include <QString>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QString imagePath(const char *name)
{
    return QString(ORVINE_IMAGES_DIR "/") + name;
}

// Forward orthographic projection of the globe facing 15 N, 75 W onto a
// size x size picture whose disc fills it.
QPoint project(double lat, double lon, int size)
{
    const double d = 3.14159265358979323846 / 180;
    const double lat0 = 15 * d, dlon = (lon + 75) * d;
    const double x = std::cos(lat * d) * std::sin(dlon);
    const double y = std::cos(lat0) * std::sin(lat * d) - std::sin(lat0) * std::cos(lat * d) * std::cos(dlon);
    const double r = size / 2.0;
    return QPoint(int(std::floor(r + r * x)), int(std::floor(r - r * y)));
}

bool isGreen(QRgb c)
{
    return qAlpha(c) == 255 && qGreen(c) > 0 && qRed(c) == 0 && qBlue(c) == 0;
}

bool isBlue(QRgb c)
{
    return qAlpha(c) == 255 && qBlue(c) > 0 && qRed(c) == 0 && qGreen(c) == 0;
}

class GlobeIcon : public ::testing::TestWithParam<int>
{
protected:
    QImage png() const
    {
        return QImage(imagePath(GetParam() == 32 ? "globe-32.png" : "globe-16.png"));
    }
};

} // namespace

TEST_P(GlobeIcon, IsA16ColourSquare)
{
    const QImage image = png();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(GetParam(), GetParam()));
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_LE(image.colorCount(), 16);
}

TEST_P(GlobeIcon, RoundWithTransparentCorners)
{
    const QImage image = png();
    const int last = GetParam() - 1;
    for (const QPoint &corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
        EXPECT_EQ(qAlpha(image.pixel(corner)), 0) << corner.x() << ", " << corner.y();
    const int mid = GetParam() / 2;
    for (const QPoint &p : {QPoint(mid, 1), QPoint(1, mid), QPoint(mid, last - 1), QPoint(last - 1, mid)})
        EXPECT_EQ(qAlpha(image.pixel(p)), 255) << p.x() << ", " << p.y();
}

TEST_P(GlobeIcon, ShowsTheAmericasOnABlueSea)
{
    const QImage image = png();
    const int size = GetParam();
    EXPECT_TRUE(isGreen(image.pixel(project(-10, -50, size)))) << "Brazil";
    EXPECT_TRUE(isGreen(image.pixel(project(40, -100, size)))) << "the Great Plains";
    EXPECT_TRUE(isBlue(image.pixel(project(0, -110, size)))) << "the eastern Pacific";
    EXPECT_TRUE(isBlue(image.pixel(project(30, -50, size)))) << "the North Atlantic";
}

INSTANTIATE_TEST_SUITE_P(Sizes, GlobeIcon, ::testing::Values(32, 16),
                         [](const ::testing::TestParamInfo<int> &info) {
                             return "Px" + std::to_string(info.param);
                         });

TEST(GlobeIconFile, HoldsBothSizesWithThePngPixels)
{
    QImageReader reader(imagePath("globe.ico"), "ico");
    ASSERT_TRUE(reader.canRead()) << "Qt's icon plugin reads the file";
    EXPECT_EQ(reader.imageCount(), 2);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage ico = reader.read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(ico.isNull());
        const QImage png = QImage(imagePath(ico.width() == 32 ? "globe-32.png" : "globe-16.png"))
                               .convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(ico.size(), png.size());
        for (int y = 0; y < png.height(); ++y)
            for (int x = 0; x < png.width(); ++x) {
                const QRgb a = ico.pixel(x, y), b = png.pixel(x, y);
                // Fully transparent pixels may carry any colour.
                if (qAlpha(a) == 0 && qAlpha(b) == 0)
                    continue;
                ASSERT_EQ(a, b) << ico.width() << " px at " << x << ", " << y;
            }
    }
}
