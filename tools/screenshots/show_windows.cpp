// Not a test: saves the windows as PNG files in <dir> for a look. MainWindow.png, PlaceListWindow.png and
// MapWindow.png are the bare tables with the widest echoes; main-window-start.png and
// main-window-result.png are the main window on the installed files at start-up and after a
// result, main-window-handed-back.png after the place list handed that result back (its frame
// disabled).
#include "main_window/main_window.h"
#include "support/fake_dialogs.h"
#include "platform/platform.h"
#include "resources/window_builder.h"
#include "shared_state/shared_state.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <cstdio>

using namespace orvine;

namespace {

bool save(QWidget& w, const QString& file)
{
    w.show();
    QApplication::processEvents();
    if (w.grab().save(file))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setFont(platform::window_default_font());
    const QString out = (argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath()) + QLatin1Char('/');
    const char* bars[] = {"ido_do", "ido_hun", "ido_byo", "kei_do", "kei_hun", "kei_byo"};

    for (const WindowTable* table : {&main_window_table(), &place_list_window_table(), &map_window_table()}) {
        QMainWindow w;
        build_window(w, *table);
        const char* widest[] = {"-89", "59", "59", "-179", "59", "59"};
        for (int i = 0; i < 6; ++i)
            if (auto* label = w.findChild<QLabel*>(QLatin1String("lb") + QLatin1String(bars[i])))
                label->setText(QString::fromLatin1(widest[i]));
        if (!save(w, out + QString::fromLatin1(table->name) + ".png"))
            return 1;
    }

    QTemporaryDir dir;
    QFile::copy(ORVINE_DATA_DIR "/vantorff.ini", dir.filePath("vantorff.ini"));
    QFile::copy(ORVINE_DATA_DIR "/places.txt", dir.filePath("places.txt"));
    SharedState m;
    m.files_folder = dir.path();
    FakeDialogs dialogs;
    SilentSound sound;
    MainWindow w(m, dialogs, sound, [] {});
    w.start();
    if (!save(w, out + "main-window-start.png"))
        return 1;
    control<QPushButton>(&w, "btn_next")->click();
    const int new_york[] = {40, 42, 51, -74, 0, 21};
    for (int i = 0; i < 6; ++i)
        control<QScrollBar>(&w, bars[i])->setValue(new_york[i]);
    control<QPushButton>(&w, "btn_cal")->click();
    if (!save(w, out + "main-window-result.png"))
        return 1;
    w.hide();
    m.transfer_point = Point{40, 42, 51, -74, 0, 21};
    m.transfer_name = QStringLiteral("不明");
    m.point_handed_over = true;
    return save(w, out + "main-window-handed-back.png") ? 0 : 1;
}
