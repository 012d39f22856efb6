// Not a test: the place-list window with the place search's drop-down open, saved as PNG.
// place_search_shots <dir> [query]: types the query (default 大阪) into the name box of a window
// on the shipped place list and gazetteer, moves down to the second match and saves
// place-search.png: the window and the drop-down as they lie on the screen, without the frame
// that a window manager would add.
#include "place_list/place_list_window.h"
#include "resources/window_builder.h"
#include "shared_state/shared_state.h"
#include "support/fake_dialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>

using namespace orvine;

namespace {

void send_key(QWidget* to, int key, const QString& text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(to, &press);
    QApplication::processEvents();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString out = (argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath())
        + QStringLiteral("/place-search.png");
    const QString query = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("大阪");

    QTemporaryDir dir;
    QFile::copy(ORVINE_DATA_DIR "/places.txt", dir.filePath("places.txt"));
    SharedState m;
    m.files_folder = dir.path();
    m.list_file = QStringLiteral("places.txt");
    m.transfer_name = QStringLiteral("東京");
    m.transfer_point = Point{{35, 41, 22}, {139, 41, 30}};
    FakeDialogs dialogs;
    SilentSound sound;
    QMainWindow main_window;
    GazetteerOnDemand gazetteer([] { return load_gazetteer(ORVINE_DATA_DIR "/gazetteer.tsv"); });
    auto* window = new PlaceListWindow(m, dialogs, sound, main_window, gazetteer);
    window->show();
    window->activateWindow();
    // On a real screen the popup closes at once unless the window has the focus.
    for (QElapsedTimer waited; !window->isActiveWindow() && waited.elapsed() < 3000;)
        QApplication::processEvents(QEventLoop::AllEvents, 50);

    auto* name_box = control<QLineEdit>(window, "Text1");
    name_box->setFocus();
    name_box->clear();
    for (const QChar c : query)
        send_key(QApplication::activePopupWidget() ? QApplication::activePopupWidget() : name_box, Qt::Key_unknown,
                 QString(c));
    QAbstractItemView* drop_down = window->findChild<PlaceSearchBox*>()->drop_down();
    if (!drop_down->isVisible()) {
        std::fprintf(stderr, "no match for %s\n", qPrintable(query));
        return 1;
    }
    send_key(drop_down, Qt::Key_Down);
    send_key(drop_down, Qt::Key_Down);

    const QRect window_area(window->mapToGlobal(QPoint(0, 0)), window->size());
    const QRect list_area(drop_down->mapToGlobal(QPoint(0, 0)), drop_down->size());
    const QRect whole = window_area.united(list_area);
    QPixmap shot(whole.size() * window->devicePixelRatio());
    shot.setDevicePixelRatio(window->devicePixelRatio());
    shot.fill(Qt::black);
    QPainter painter(&shot);
    painter.drawPixmap(window_area.topLeft() - whole.topLeft(), window->grab());
    painter.drawPixmap(list_area.topLeft() - whole.topLeft(), drop_down->grab());
    painter.end();
    if (!shot.save(out)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    delete window;
    return 0;
}
