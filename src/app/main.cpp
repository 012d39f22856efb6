// The program Orvine: the main window. The settings file and the place list live beside a
// portable copy of the program, or else in the user's own data folder (files/file_location.h).
// It takes no arguments.
#include "files/file_location.h"
#include "main_window/form1.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "platform/sound.h"
#include "shared_state/module1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvine"));
    QApplication::setApplicationVersion(QStringLiteral(ORVINE_VERSION));
    QApplication::setFont(orvine::platform::window_default_font());
    // The run ends only through the main window (終了, the menu or its close box), never
    // because the main window is hidden while another window is open.
    QApplication::setQuitOnLastWindowClosed(false);

    orvine::Module1 module1;
    module1.program_dir = orvine::files_folder_for_run(orvine::platform::program_dir());
    orvine::MessageBoxDialogs dialogs;
    orvine::CanberraSound sound;

    orvine::Form1 form1(module1, dialogs, sound);
    dialogs.set_parent(&form1);
    form1.Form_Load();
    form1.show();
    return app.exec();
}
