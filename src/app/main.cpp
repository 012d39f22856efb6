// The program Orvine: the main window. The settings file and the place list live beside a
// portable copy of the program, or else in the user's own data folder (files/file_location.h).
#include "files/file_location.h"
#include "main_window/main_window.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "platform/qt_japanese.h"
#include "platform/sound.h"
#include "shared_state/shared_state.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

namespace {

void describe_options(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Great-circle bearing and distance between two points, in a window (Japanese)."));
    parser.addHelpOption();
    parser.addVersionOption();
}

// --help and --version are answered before the window system is started, so that they
// work without a display. Qt's own options (-platform, -style, ...) pass through to it.
void answer_help_and_version(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    describe_options(parser);
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp();
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Orvine"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVINE_VERSION));
    answer_help_and_version(argc, argv);

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("orvine"));
    {
        QCommandLineParser parser;
        describe_options(parser);
        parser.process(app);
        if (!parser.positionalArguments().isEmpty()) {
            std::fprintf(stderr, "orvine: takes no arguments; see orvine --help\n");
            return 2;
        }
    }
    orvine::platform::install_qt_japanese(app);
    QApplication::setFont(orvine::platform::window_default_font());
    // The run ends only through the main window (終了, the menu or its close box), never
    // because the main window is hidden while another window is open.
    QApplication::setQuitOnLastWindowClosed(false);

    orvine::SharedState state;
    state.files_folder = orvine::files_folder_for_run(orvine::platform::program_dir());
    orvine::MessageBoxDialogs dialogs;
    orvine::CanberraSound sound;

    orvine::MainWindow main_window(state, dialogs, sound);
    dialogs.set_parent(&main_window);
    main_window.start();
    main_window.show();
    return app.exec();
}
