// Cost of the map's pointer handling: the read-out alone, and a whole move event (mouse
// event delivered to the canvas, read-out, erase of the previous flash, new flash), with
// and without the repaint that follows it; then the same through the map window itself,
// where the read-out goes into its eight labels. Prints microseconds per event.
#include "map/map_window.h"
#include "map/map_canvas.h"
#include "map/map_projection.h"
#include "platform/dialogs.h"
#include "shared_state/shared_state.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <cstdio>

using namespace orvine;

namespace {

QImage grey_map(int w, int h)
{
    QImage img(w, h, QImage::Format_Indexed8);
    QList<QRgb> palette;
    for (int k = 0; k < 256; ++k)
        palette.append(qRgb(k, k, k));
    img.setColorTable(palette);
    img.fill(236);
    return img;
}

// A pointer path that wanders over the whole image, one pixel or a few per event.
QPoint path(int i, int w, int h)
{
    return {(i * 3) % w, (i / 7) % h};
}

double read_out_only(MapKind kind, int n)
{
    const MapProjection& map = map_projection(kind);
    volatile int sink = 0;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < n; ++i) {
        const QPoint p = path(i, map.width, map.height);
        const ReadOut r = read_out(map, p.x(), p.y());
        sink = sink + r.latitude.seconds + r.longitude.seconds;
    }
    return static_cast<double>(t.nsecsElapsed()) / 1000.0 / n;
}

double move_events(MapKind kind, int n, bool repaint)
{
    const MapProjection& map = map_projection(kind);
    MapCanvas canvas;
    canvas.set_image(grey_map(map.width, map.height));
    canvas.set_cross_ends(map.line_end_x, map.line_end_y);
    // Hidden, the canvas does no repaint, so the first figure is the handling alone.
    if (repaint) {
        canvas.show();
        QCoreApplication::processEvents();
    }
    volatile int sink = 0;
    QObject::connect(&canvas, &MapCanvas::mouse_moved, &canvas, [&](int x, int y, Qt::MouseButtons) {
        const ReadOut r = read_out(map, x, y);
        sink = sink + r.latitude.seconds;
        canvas.flash_cross(x, y);
    });
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < n; ++i) {
        const QPointF p = path(i, map.width, map.height);
        QMouseEvent ev(QEvent::MouseMove, p, canvas.mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                       Qt::NoModifier);
        QCoreApplication::sendEvent(&canvas, &ev);
        if (repaint)
            QCoreApplication::processEvents();
    }
    const double us = static_cast<double>(t.nsecsElapsed()) / 1000.0 / n;
    canvas.erase_flash();
    return us;
}

class NoDialogs : public Dialogs {
public:
    void message(const QString&, const QString&) override {}
    bool confirm(const QString&, const QString&) override { return false; }
};

double window_move_events(MapKind kind, int n, bool repaint)
{
    const MapProjection& map = map_projection(kind);
    SharedState m;
    m.map_kind = kind;
    NoDialogs dialogs;
    QWidget main_window;
    MapWindow window(m, dialogs, main_window);
    window.show();
    QCoreApplication::processEvents();
    QWidget* picture = window.findChild<QWidget*>(kind == MapKind::Japan ? QStringLiteral("Picture1")
                                                                         : QStringLiteral("Picture2"));
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < n; ++i) {
        const QPointF p = path(i, map.width, map.height);
        QMouseEvent ev(QEvent::MouseMove, p, picture->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                       Qt::NoModifier);
        QCoreApplication::sendEvent(picture, &ev);
        if (repaint)
            QCoreApplication::processEvents();
    }
    const double us = static_cast<double>(t.nsecsElapsed()) / 1000.0 / n;
    window.hide();
    return us;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int n = 100000;
    for (MapKind kind : {MapKind::Japan, MapKind::World}) {
        const MapProjection& map = map_projection(kind);
        const char* name = kind == MapKind::Japan ? "japan" : "world";
        std::printf("%s %dx%d  read-out only:               %8.3f us/event (%d events)\n", name,
                    map.width, map.height, read_out_only(kind, n), n);
        std::printf("%s %dx%d  move event, no repaint:      %8.3f us/event (%d events)\n", name,
                    map.width, map.height, move_events(kind, n, false), n);
        std::printf("%s %dx%d  move event + repaint:        %8.3f us/event (%d events)\n", name,
                    map.width, map.height, move_events(kind, n / 10, true), n / 10);
        std::printf("%s %dx%d  window move, no repaint:     %8.3f us/event (%d events)\n", name,
                    map.width, map.height, window_move_events(kind, n, false), n);
        std::printf("%s %dx%d  window move + repaint:       %8.3f us/event (%d events)\n", name,
                    map.width, map.height, window_move_events(kind, n / 10, true), n / 10);
    }
    return 0;
}
