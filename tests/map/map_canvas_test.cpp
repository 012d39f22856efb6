#include "map/map_canvas.h"

#include <QSignalSpy>
#include <QTest>

#include <cstring>

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

// Byte for byte, not only as colours: the alpha byte of a 32-bit pixel must come back too.
bool same_bytes(const QImage& a, const QImage& b)
{
    return a.format() == b.format() && a.size() == b.size() && a.sizeInBytes() == b.sizeInBytes()
        && std::memcmp(a.constBits(), b.constBits(), static_cast<size_t>(a.sizeInBytes())) == 0;
}

QRgb xored(int grey)
{
    return qRgb(grey ^ 0, grey ^ 203, grey ^ 28);
}

} // namespace

class MapCanvasTest : public QObject {
    Q_OBJECT

private slots:
    void takes_the_image_size_and_pixels();
    void cross_flips_a_row_and_a_column();
    void cross_drawn_twice_restores_the_image();
    void screen_shows_the_crosses();
    void world_lines_cross_the_whole_image();
    void clear_removes_every_cross();
    void flash_goes_away_by_itself();
    void new_flash_erases_the_previous_one();
    void flash_and_mark_together();
    void cross_outside_the_image_is_clamped();
    void mouse_signals_data();
    void mouse_signals();
    void moves_are_reported_with_buttons();
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

void MapCanvasTest::cross_flips_a_row_and_a_column()
{
    MapCanvas canvas;
    canvas.set_image(grey_map(500, 500, true));
    canvas.draw_cross(120, 300);

    const QImage& img = canvas.image();
    const QRgb sea = qRgb(236, 236, 236);
    QCOMPARE(xored(236), qRgb(236, 39, 240));
    for (int y = 0; y < 500; ++y)
        QCOMPARE(img.pixel(120, y), y == 300 ? sea : xored(236));
    for (int x = 0; x < 500; ++x)
        QCOMPARE(img.pixel(x, 300), x == 120 ? sea : xored(236));
    int changed = 0;
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 500; ++x)
            changed += img.pixel(x, y) != sea;
    QCOMPARE(changed, 998);
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

void MapCanvasTest::world_lines_cross_the_whole_image()
{
    MapCanvas canvas;
    canvas.set_image(grey_map(794, 400));
    canvas.set_cross_ends(795, 400);
    const QImage before = canvas.image().copy();
    canvas.draw_cross(793, 399);
    for (int x = 0; x < 793; ++x)
        QCOMPARE(canvas.image().pixel(x, 399), before.pixel(x, 399) ^ 0x0000cb1cu);
    for (int y = 0; y < 399; ++y)
        QCOMPARE(canvas.image().pixel(793, y), before.pixel(793, y) ^ 0x0000cb1cu);
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

void MapCanvasTest::flash_goes_away_by_itself()
{
    MapCanvas canvas;
    canvas.set_image(grey_map(500, 500));
    const QImage before = canvas.image().copy();
    canvas.flash_cross(200, 100);
    QVERIFY(canvas.flash_shown());
    QCOMPARE(canvas.image().pixel(200, 50), before.pixel(200, 50) ^ 0x0000cb1cu);
    QTRY_VERIFY_WITH_TIMEOUT(!canvas.flash_shown(), 1000);
    QVERIFY(same_bytes(canvas.image(), before));

    canvas.flash_cross(3, 4);
    canvas.erase_flash();
    QVERIFY(same_bytes(canvas.image(), before));
    canvas.erase_flash();
    QCOMPARE(canvas.image(), before);
}

void MapCanvasTest::new_flash_erases_the_previous_one()
{
    MapCanvas canvas;
    canvas.set_image(grey_map(500, 500));
    const QImage before = canvas.image().copy();
    canvas.flash_cross(100, 100);
    canvas.flash_cross(101, 100);
    canvas.flash_cross(300, 400);

    MapCanvas expected;
    expected.set_image(grey_map(500, 500));
    expected.draw_cross(300, 400);
    QCOMPARE(canvas.image(), expected.image());
    canvas.erase_flash();
    QCOMPARE(canvas.image(), before);
}

// A press right after a move marks the point while its flash still shows: the flash goes,
// the mark stays.
void MapCanvasTest::flash_and_mark_together()
{
    MapCanvas canvas;
    canvas.set_image(grey_map(500, 500));
    canvas.flash_cross(250, 250);
    canvas.draw_cross(250, 250);

    MapCanvas expected;
    expected.set_image(grey_map(500, 500));
    expected.draw_cross(250, 250);
    QTRY_VERIFY_WITH_TIMEOUT(!canvas.flash_shown(), 1000);
    QCOMPARE(canvas.image(), expected.image());
}

void MapCanvasTest::cross_outside_the_image_is_clamped()
{
    MapCanvas canvas;
    canvas.set_image(grey_map(794, 400));
    canvas.draw_cross(-50, 900);
    MapCanvas expected;
    expected.set_image(grey_map(794, 400));
    expected.draw_cross(0, 399);
    QCOMPARE(canvas.image(), expected.image());
}

void MapCanvasTest::mouse_signals_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("code");
    QTest::newRow("left") << Qt::LeftButton << 1;
    QTest::newRow("right") << Qt::RightButton << 2;
    QTest::newRow("middle") << Qt::MiddleButton << 4;
}

void MapCanvasTest::mouse_signals()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, code);
    MapCanvas canvas;
    canvas.set_image(grey_map(500, 500));
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    QSignalSpy pressed(&canvas, &MapCanvas::mouse_pressed);
    QTest::mousePress(&canvas, button, Qt::NoModifier, QPoint(123, 45));
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.at(0).at(0).toInt(), code);
    QCOMPARE(pressed.at(0).at(1).toInt(), 123);
    QCOMPARE(pressed.at(0).at(2).toInt(), 45);
    QTest::mouseRelease(&canvas, button, Qt::NoModifier, QPoint(123, 45));
}

void MapCanvasTest::moves_are_reported_with_buttons()
{
    MapCanvas canvas;
    canvas.set_image(grey_map(500, 500));
    QSignalSpy moved(&canvas, &MapCanvas::mouse_moved);
    QMouseEvent hover(QEvent::MouseMove, QPointF(10.7, 20.2), QPointF(10.7, 20.2), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&canvas, &hover);
    QMouseEvent drag(QEvent::MouseMove, QPointF(-30, 520), QPointF(-30, 520), Qt::NoButton,
                     Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&canvas, &drag);
    QCOMPARE(moved.count(), 2);
    QCOMPARE(moved.at(0).at(0).toInt(), 10);
    QCOMPARE(moved.at(0).at(1).toInt(), 20);
    QCOMPARE(moved.at(0).at(2).value<Qt::MouseButtons>(), Qt::MouseButtons(Qt::NoButton));
    QCOMPARE(moved.at(1).at(0).toInt(), -30);
    QCOMPARE(moved.at(1).at(1).toInt(), 520);
    QCOMPARE(moved.at(1).at(2).value<Qt::MouseButtons>(), Qt::MouseButtons(Qt::RightButton));
}

QTEST_MAIN(MapCanvasTest)
#include "map_canvas_test.moc"
