#include "map/map_canvas.h"

#include <QSignalSpy>
#include <QTest>

#include <cstring>
#include <initializer_list>

using orvine::MapCanvas;

namespace {

// A paletted grey image like the shipped maps: grey 236 everywhere ("sea"), unless plain,
// with a few other greys so that a shifted or missed pixel shows.
QImage grey_map(int w, int h, bool plain = false)
{
    QImage img(w, h, QImage::Format_Indexed8);
    QList<QRgb> palette;
    for (int k = 0; k < 256; ++k)
        palette.append(qRgb(k, k, k));
    img.setColorTable(palette);
    img.fill(236);
    for (int y = 0; y < h && !plain; y += 7)
        for (int x = (y * 3) % 11; x < w; x += 11)
            img.setPixel(x, y, static_cast<uint>((x + y) % 256));
    return img;
}

// The 500 × 500 test map with crosses marked at `at`, as a second canvas draws them.
QImage marked(std::initializer_list<QPoint> at)
{
    MapCanvas canvas;
    canvas.set_image(grey_map(500, 500));
    for (const QPoint& p : at)
        canvas.draw_cross(p.x(), p.y());
    return canvas.image();
}

// Byte for byte, not only as colours: the alpha byte of a 32-bit pixel must come back too.
bool same_bytes(const QImage& a, const QImage& b)
{
    return a.format() == b.format() && a.size() == b.size() && a.sizeInBytes() == b.sizeInBytes()
        && std::memcmp(a.constBits(), b.constBits(), static_cast<size_t>(a.sizeInBytes())) == 0;
}

constexpr QRgb sea = 0xffececec;
constexpr QRgb sea_xor_cross = 0xffec27f0;  // (236, 236, 236) ^ (0, 203, 28)

} // namespace

class MapCanvasTest : public QObject {
    Q_OBJECT

private slots:
    void takes_the_image_size_and_pixels();
    void cross_flips_a_row_and_a_column_data();
    void cross_flips_a_row_and_a_column();
    void cross_drawn_twice_restores_the_image();
    void flashes_go_away_and_leave_only_the_marks();
    void clear_removes_every_cross();
    void screen_shows_the_crosses();
    void mouse_signals_data();
    void mouse_signals();
};

void MapCanvasTest::takes_the_image_size_and_pixels()
{
    MapCanvas canvas;
    const QImage map = grey_map(794, 400);
    canvas.set_image(map);
    QCOMPARE(canvas.size(), QSize(794, 400));
    QCOMPARE(canvas.minimumSize(), canvas.maximumSize());
    QVERIFY(canvas.hasMouseTracking());
    QCOMPARE(canvas.image(), map.convertToFormat(QImage::Format_RGB32));
}

void MapCanvasTest::cross_flips_a_row_and_a_column_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("line_ends");  // (0, 0): the image's own edges
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QPoint>("centre");
    QTest::newRow("japan") << QSize(500, 500) << QPoint() << QPoint(120, 300) << QPoint(120, 300);
    QTest::newRow("world lines past the last pixel")
        << QSize(794, 400) << QPoint(795, 400) << QPoint(793, 399) << QPoint(793, 399);
    QTest::newRow("outside the image, clamped")
        << QSize(794, 400) << QPoint() << QPoint(-50, 900) << QPoint(0, 399);
}

void MapCanvasTest::cross_flips_a_row_and_a_column()
{
    QFETCH(QSize, size);
    QFETCH(QPoint, line_ends);
    QFETCH(QPoint, at);
    QFETCH(QPoint, centre);
    MapCanvas canvas;
    canvas.set_image(grey_map(size.width(), size.height(), true));
    if (!line_ends.isNull())
        canvas.set_cross_ends(line_ends.x(), line_ends.y());
    canvas.draw_cross(at.x(), at.y());

    // Every pixel of the row and the column is flipped once, the centre twice.
    int changed = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const bool on_line = (x == centre.x()) != (y == centre.y());
            QCOMPARE(canvas.image().pixel(x, y), on_line ? sea_xor_cross : sea);
            changed += on_line;
        }
    QCOMPARE(changed, size.width() + size.height() - 2);
}

void MapCanvasTest::cross_drawn_twice_restores_the_image()
{
    MapCanvas canvas;
    canvas.set_image(grey_map(500, 500));
    const QImage before = canvas.image().copy();
    canvas.draw_cross(0, 0);
    canvas.draw_cross(499, 499);
    canvas.draw_cross(250, 17);
    QVERIFY(canvas.image() != before);
    canvas.draw_cross(250, 17);
    canvas.draw_cross(0, 0);
    canvas.draw_cross(499, 499);
    QVERIFY(same_bytes(canvas.image(), before));
}

void MapCanvasTest::flashes_go_away_and_leave_only_the_marks()
{
    MapCanvas canvas;
    canvas.set_image(grey_map(500, 500));
    const QImage before = canvas.image().copy();
    canvas.flash_cross(200, 100);
    QVERIFY(canvas.flash_shown());
    QCOMPARE(canvas.image(), marked({{200, 100}}));
    QTRY_VERIFY_WITH_TIMEOUT(!canvas.flash_shown(), 1000);
    QVERIFY(same_bytes(canvas.image(), before));

    // Each flash erases the one before; erasing twice does nothing more.
    canvas.flash_cross(100, 100);
    canvas.flash_cross(101, 100);
    canvas.flash_cross(300, 400);
    QCOMPARE(canvas.image(), marked({{300, 400}}));
    canvas.erase_flash();
    canvas.erase_flash();
    QVERIFY(same_bytes(canvas.image(), before));

    // A press right after a move marks the point while its flash still shows: the mark stays.
    canvas.flash_cross(250, 250);
    canvas.draw_cross(250, 250);
    QTRY_VERIFY_WITH_TIMEOUT(!canvas.flash_shown(), 1000);
    QCOMPARE(canvas.image(), marked({{250, 250}}));
}

void MapCanvasTest::clear_removes_every_cross()
{
    MapCanvas canvas;
    canvas.set_image(grey_map(794, 400));
    const QImage before = canvas.image().copy();
    canvas.draw_cross(10, 20);
    canvas.draw_cross(400, 200);
    canvas.flash_cross(600, 300);
    canvas.clear();
    QVERIFY(!canvas.flash_shown());
    QCOMPARE(canvas.image(), before);
    // A pending flash timer must not draw on the cleared image.
    QTest::qWait(MapCanvas::flash_ms + 50);
    QCOMPARE(canvas.image(), before);
}

void MapCanvasTest::screen_shows_the_crosses()
{
    MapCanvas canvas;
    canvas.set_image(grey_map(794, 400));
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    canvas.draw_cross(100, 150);
    canvas.flash_cross(700, 20);
    QCOMPARE(canvas.grab().toImage().convertToFormat(QImage::Format_RGB32), canvas.image());
}

void MapCanvasTest::mouse_signals_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("code");
    QTest::newRow("left") << Qt::LeftButton << 1;
    QTest::newRow("right") << Qt::RightButton << 2;
    QTest::newRow("middle") << Qt::MiddleButton << 4;
}

// Presses report the button code and the pixel; moves report the pixel, also outside the
// picture, and the buttons held.
void MapCanvasTest::mouse_signals()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, code);
    MapCanvas canvas;
    canvas.set_image(grey_map(500, 500));
    QSignalSpy pressed(&canvas, &MapCanvas::mouse_pressed);
    QSignalSpy moved(&canvas, &MapCanvas::mouse_moved);
    QMouseEvent hover(QEvent::MouseMove, QPointF(10.7, 20.2), QPointF(10.7, 20.2), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&canvas, &hover);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(123, 45), QPointF(123, 45), button, button,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&canvas, &press);
    QMouseEvent drag(QEvent::MouseMove, QPointF(-30, 520), QPointF(-30, 520), Qt::NoButton, button,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&canvas, &drag);

    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.at(0), (QList<QVariant>{code, 123, 45}));
    QCOMPARE(moved.count(), 2);
    QCOMPARE(moved.at(0).at(0).toInt(), 10);
    QCOMPARE(moved.at(0).at(1).toInt(), 20);
    QCOMPARE(moved.at(0).at(2).value<Qt::MouseButtons>(), Qt::MouseButtons(Qt::NoButton));
    QCOMPARE(moved.at(1).at(0).toInt(), -30);
    QCOMPARE(moved.at(1).at(1).toInt(), 520);
    QCOMPARE(moved.at(1).at(2).value<Qt::MouseButtons>(), Qt::MouseButtons(button));
}

QTEST_MAIN(MapCanvasTest)
#include "map_canvas_test.moc"
