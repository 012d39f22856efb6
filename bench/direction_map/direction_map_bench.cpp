// The direction map's costs, each the median of several runs, in milliseconds:
//   first opening of the window (outline file read, first outlines cut, first paint);
//   one frame of the whole globe, and of zoomed views, at the window's map size, painted as the
//   window paints it (the outlines already cut for that view);
//   a new centre (the outlines cut again) with its frame;
// and the memory the open window adds (resident set, before and after, in MB).
// Targets: first opening <= 200 ms, a frame <= 16 ms (zoomed no slower), memory < 40 MB.
// Times are the processor time of the drawing thread, so that other work on a shared machine
// does not count; the wall-clock time of the first opening is shown beside it.
#include "map/direction_map_window.h"
#include "platform/dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <vector>

using namespace orvine;

namespace {

double resident_mb()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4096.0 / (1024 * 1024);
}

double cpu_ms()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

template <typename F> double median_ms(int runs, F&& f)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const double start = cpu_ms();
        f(i);
        ms.push_back(cpu_ms() - start);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

const Point TOKYO{35, 41, 22, 139, 41, 30};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    MessageBoxDialogs dialogs;
    const QString data = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    const double before_mb = resident_mb();
    QElapsedTimer open;
    open.start();
    const double open_cpu_start = cpu_ms();
    auto* window = new DirectionMapWindow(dialogs, data);
    window->set_centre(TOKYO, QStringLiteral("東京"));
    window->set_destination(Point{34, 41, 38, 135, 30, 4}, QStringLiteral("大阪"));
    window->show();
    QWidget* canvas = window->findChild<QWidget*>(QStringLiteral("direction_map"));
    canvas->repaint();
    const double open_ms = cpu_ms() - open_cpu_start;
    const double open_wall_ms = open.nsecsElapsed() / 1e6;
    if (!window->drawing().has_land()) {
        std::fprintf(stderr, "direction map bench: the outline file was not read\n");
        return 1;
    }

    QImage frame(canvas->size(), QImage::Format_ARGB32_Premultiplied);
    DirectionMapDrawing& drawing = const_cast<DirectionMapDrawing&>(window->drawing());
    const auto paint = [&] {
        QPainter painter(&frame);
        drawing.paint(painter, QRectF(frame.rect()));
    };
    std::printf("direction map at %dx%d px, first opening (file, outlines, paint): %.1f ms (wall clock %.1f ms)\n",
                frame.width(), frame.height(), open_ms, open_wall_ms);
    double widest = 0;
    for (const double radius : MAP_RADIUS_CHOICES_KM) {
        window->set_radius_km(radius);
        paint();
        const double ms = median_ms(15, [&](int) { paint(); });
        widest = std::max(widest, ms);
        std::printf("  frame, radius %-9s %6.2f ms\n", qPrintable(radius_choice_text(radius)), ms);
    }
    window->set_radius_km(WHOLE_GLOBE_KM);
    const double recentre = median_ms(9, [&](int i) {
        const auto lat = static_cast<std::int16_t>(-60 + 15 * i), lon = static_cast<std::int16_t>(-170 + 40 * i);
        window->set_centre(Point{lat, 0, 0, lon, 0, 0}, {});
        paint();
    });
    std::printf("  new centre and its frame, whole globe: %.1f ms\n", recentre);
    window->set_radius_km(1000);
    paint();
    canvas->repaint();
    const double after_mb = resident_mb();
    std::printf("  memory added by the open window: %.1f MB (resident %.1f -> %.1f MB)\n", after_mb - before_mb,
                before_mb, after_mb);
    std::printf("  slowest frame %.2f ms (target 16), first opening %.1f ms (target 200), memory %.1f MB (target 40)\n",
                widest, open_ms, after_mb - before_mb);
    delete window;
    return 0;
}
