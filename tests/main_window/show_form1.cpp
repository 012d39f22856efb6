// Not a test: runs the main use on the installed files and saves the main window at
// start-up and after the result, <dir>/form1-start.png and <dir>/form1-result.png.
#include "main_window/form1.h"
#include "platform/fake_dialogs.h"
#include "platform/platform.h"
#include "resources/window_builder.h"
#include "shared_state/module1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool save(QWidget& w, const QString& file)
{
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
    QApplication::setFont(orvine::platform::window_default_font());
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    QTemporaryDir dir;
    QFile::copy(ORVINE_DATA_DIR "/vantorff.ini", dir.filePath("vantorff.ini"));
    QFile::copy(ORVINE_DATA_DIR "/places.txt", dir.filePath("places.txt"));

    orvine::Module1 m;
    m.program_dir = dir.path();
    orvine::FakeDialogs dialogs;
    orvine::SilentSound sound;
    orvine::Form1 w(m, dialogs, sound, [] {});
    w.Form_Load();
    w.show();
    if (!save(w, out + "/form1-start.png"))
        return 1;

    orvine::control<QPushButton>(&w, "btn_next")->click();
    const int new_york[] = {40, 42, 51, -74, 0, 21};
    const char* bars[] = {"ido_do", "ido_hun", "ido_byo", "kei_do", "kei_hun", "kei_byo"};
    for (int i = 0; i < 6; ++i)
        orvine::control<QScrollBar>(&w, bars[i])->setValue(new_york[i]);
    orvine::control<QPushButton>(&w, "btn_cal")->click();
    return save(w, out + "/form1-result.png") ? 0 : 1;
}
