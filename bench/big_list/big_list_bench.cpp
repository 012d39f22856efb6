// The largest list the place-list file can hold: 101 records whose names fill the text box
// (32,767 characters) with double-byte characters, 6.6 MB. Prints the milliseconds of
//   - opening the place-list window on it, up to its first paint, and the longest time the
//     event loop went without turning meanwhile (the window is frozen that long);
//   - reading it as the place-list window does, and as the main window's name check does.
// Each figure is the median of RUNS runs (default 5); the stall is the longest of them all.
#include "files/place_list_file.h"
#include "place_list/place_list_window.h"
#include "platform/dialogs.h"
#include "platform/sound.h"
#include "shared_state/shared_state.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QMainWindow>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace orvine;

namespace {

QByteArray largest_list()
{
    QStringEncoder sjis("windows-31j");
    QByteArray bytes;
    for (int i = 0; i < PlaceTable::SIZE; ++i) {
        const QString number = QString::number(i).rightJustified(3, u'0');
        const QString name = number + QString(MAX_TEXT_LENGTH - number.size(), QChar(u'漢'));
        bytes += "\"" + sjis.encode(name) + "\",35,41,22,139,41," + QByteArray::number(i % 60) + "\r\n";
    }
    return bytes;
}

double median_ms(int runs, const std::function<double()>& run)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i)
        ms.push_back(run());
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

double elapsed_ms(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

// A message box would wait for a click: the list reads whole, so none may come.
struct NoDialogs : Dialogs {
    void message(const QString& text, const QString&) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
    bool confirm(const QString&, const QString&) override { return false; }
};
struct NoSound : NotificationSound {
    void play() override {}
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int runs = qEnvironmentVariableIntValue("RUNS") > 0 ? qEnvironmentVariableIntValue("RUNS") : 5;
    QTemporaryDir dir;
    const QByteArray bytes = largest_list();
    QFile file(dir.filePath("places.txt"));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return 1;
    file.close();
    std::printf("list: %d records, %lld bytes\n", PlaceTable::SIZE, static_cast<long long>(bytes.size()));

    // The window first: a fresh process pays for its first large allocations there, as the
    // program does when it first opens the window.
    SharedState state;
    state.files_folder = dir.path();
    state.list_file = "places.txt";
    NoDialogs dialogs;
    NoSound sound;
    // The program's main window is up when the list is opened: fonts and the window system
    // are ready by then.
    QMainWindow main_window;
    main_window.show();
    QCoreApplication::processEvents();
    double longest_stall = 0;
    const double open = median_ms(runs, [&] {
        auto* window = new PlaceListWindow(state, dialogs, sound, main_window);
        bool painted = false;
        // The first paint of the list is the end of the opening.
        struct PaintWatch : QObject {
            bool* painted;
            bool eventFilter(QObject*, QEvent* e) override
            {
                if (e->type() == QEvent::Paint)
                    *painted = true;
                return false;
            }
        } watch;
        watch.painted = &painted;
        QElapsedTimer t, tick;
        QTimer heartbeat;
        double stall = 0;
        heartbeat.setInterval(1);
        QObject::connect(&heartbeat, &QTimer::timeout, [&] {
            stall = std::max(stall, elapsed_ms(tick));
            tick.restart();
        });
        heartbeat.start();
        t.start();
        tick.start();
        QTimer::singleShot(0, window, [&] {
            window->findChild<QListWidget*>("List1")->viewport()->installEventFilter(&watch);
            window->show();
        });
        while (!painted)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double ms = elapsed_ms(t);
        stall = std::max(stall, elapsed_ms(tick));
        longest_stall = std::max(longest_stall, stall);
        delete window;
        return ms;
    });
    const double load = median_ms(runs, [&] {
        PlaceTable table;
        QElapsedTimer t;
        t.start();
        const PlaceListLoad result = load_place_list(dir.path(), "places.txt", table);
        const double ms = elapsed_ms(t);
        if (result.records != PlaceTable::SIZE)
            std::fprintf(stderr, "the list did not load whole\n");
        return ms;
    });
    const double name_check = median_ms(runs, [&] {
        QElapsedTimer t;
        t.start();
        const NameCheckRead read = read_places_for_name_check(dir.path(), "places.txt");
        const double ms = elapsed_ms(t);
        if (read.places.size() != PlaceTable::SIZE)
            std::fprintf(stderr, "the name check did not read every record\n");
        return ms;
    });

    std::printf("window opened and painted: %.1f ms, longest event-loop stall: %.1f ms (target <= 500)\n", open,
                longest_stall);
    std::printf("load_place_list: %.1f ms\nname check read: %.1f ms\n", load, name_check);
    std::puts(open <= 500 && longest_stall <= 500 ? "big list: within target" : "big list: OUTSIDE target");
    return 0;
}
