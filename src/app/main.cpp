// The program Orvine: the main window. The settings file and the place list live beside a
// portable copy of the program, or else in the user's own data folder (files/file_location.h).
#include "app/map_command.h"
#include "files/file_location.h"
#include "main_window/form1.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "platform/qt_japanese.h"
#include "platform/sound.h"
#include "shared_state/module1.h"

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
    orvine::describe_map_command(parser);
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
    if (orvine::is_map_command(argc, argv))
        return orvine::run_map_command(argc, argv);
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
