// Not a test: opens the map window on each map, marks a point and saves the window as PNG
// for a look, printing the read-out. map_window_shots <dir> [kind x y]...  (kind 0 Japan,
// 1 world); without points it marks Tokyo and Naha on the Japan map, London and Sydney on
// the world map.
#include "map/map_window.h"
#include "support/fake_dialogs.h"
#include "shared_state/shared_state.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

#include <cstdio>
#include <vector>

using namespace orvine;

namespace {

struct Mark {
    int kind;
    int x;
    int y;
    const char* name;
};

QString label(const QWidget& w, const char* name)
{
    return w.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    std::vector<Mark> marks;
    for (int i = 2; i + 2 < argc; i += 3)
        marks.push_back({std::atoi(argv[i]), std::atoi(argv[i + 1]), std::atoi(argv[i + 2]), "point"});
    if (marks.empty())
        marks = {{0, 355, 259, "tokyo"}, {0, 122, 443, "naha"}, {1, 397, 86, "london"}, {1, 732, 275, "sydney"}};

    SharedState m;
    FakeDialogs dialogs;
    QWidget main_window;
    auto* map = new MapWindow(m, dialogs, main_window);
    for (const Mark& mk : marks) {
        m.map_kind = mk.kind == 0 ? MapKind::Japan : MapKind::World;
        map->show();
        QWidget* picture = map->findChild<QWidget*>(mk.kind == 0 ? QStringLiteral("Picture1") : QStringLiteral("Picture2"));
        const QPointF at(mk.x, mk.y);
        QMouseEvent down(QEvent::MouseButtonPress, at, picture->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(picture, &down);
        QApplication::processEvents();
        std::printf("%s %d,%d: %s %s %s %s  %s %s %s %s\n", mk.name, mk.x, mk.y, qPrintable(label(*map, "Label8")),
                    qPrintable(label(*map, "lblido")), qPrintable(label(*map, "lblihun")),
                    qPrintable(label(*map, "lblibyou")), qPrintable(label(*map, "Label1")),
                    qPrintable(label(*map, "lblkdo")), qPrintable(label(*map, "lblkhun")),
                    qPrintable(label(*map, "lblkbyou")));
        const QString file = dir + QStringLiteral("/map_%1.png").arg(QString::fromLatin1(mk.name));
        if (!map->grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        map->hide();
    }
    delete map;
    return 0;
}
