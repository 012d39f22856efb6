// The program Orvine: the main window. The settings file and the place list live beside a
// portable copy of the program, or else in the user's own data folder (files/file_location.h).
#include "app/map_command.h"
#include "files/file_io.h"
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
#include <optional>

namespace {

const char* const HELP =
    "使い方: orvine [オプション]\n"
    "       orvine --map ファイル [--radius KM] 緯度 経度 [緯度2 経度2]\n"
    "\n"
    "地球上の二地点について、出発地点から見た目的地点の方位 (大圏の初期方位、十二支の付いた\n"
    "十二方位) と大圏距離を計算するウィンドウを開きます。地点は度・分・秒のスクロールバー、\n"
    "日本地図・世界地図、または最大 101 件の地名一覧から選びます。\n"
    "地名一覧の地名欄に入力すると、世界の都市と都道府県の候補を地名データ (GeoNames、\n"
    "CC BY 4.0) から示します。\n"
    "オプション:\n"
    "  -h, --help      この説明\n"
    "  -v, --version   版を表示\n"
    "  --map ファイル  ウィンドウを開かずに、緯度 経度を中心とする方位地図 (正距方位図法、\n"
    "                  十二方位と、緯度2 経度2 があればその目的地点) をファイル (.svg、.png、\n"
    "                  .pdf) に描いて終わります。座標は orvine-calc が読める形で書きます。\n"
    "  --radius KM     --map で、中心から地図の縁までの距離 (既定: 全球、約 20004 km)\n"
    "Qt の標準オプション (-platform、-style など) も使えます。\n"
    "設定ファイル vantorff.ini と地名一覧 (places.txt) は ~/.local/share/orvine/\n"
    "($XDG_DATA_HOME/orvine/) に置かれます。ウィンドウなしで計算するには orvine-calc\n"
    "(orvine-calc --help) を使います。\n"
    "終了コード: 0 正常終了、1 出力の失敗、2 引数の誤り。\n"
    "\n"
    "Usage: orvine [OPTIONS]\n"
    "       orvine --map FILE [--radius KM] LAT LON [LAT2 LON2]\n"
    "\n"
    "Opens a window (in Japanese) that computes, for two points on the Earth, the direction in\n"
    "which the destination lies as seen from the departure point (the initial great-circle\n"
    "bearing, also named with one of twelve compass directions) and the great-circle distance.\n"
    "Points come from degree, minute and second scroll bars, from maps of Japan and of the\n"
    "world, or from a list of up to 101 named places.\n"
    "Typing in the place list's name box offers matching cities of the world and Japanese\n"
    "prefectures from the installed gazetteer (GeoNames, CC BY 4.0).\n"
    "Options:\n"
    "  -h, --help      print this help\n"
    "  -v, --version   print the version\n"
    "  --map FILE      draw the direction map (azimuthal equidistant, centred on LAT LON, with\n"
    "                  the twelve directions and the destination LAT2 LON2 if given) into FILE\n"
    "                  (.svg, .png or .pdf) without a window, and exit; coordinates in any\n"
    "                  form orvine-calc reads\n"
    "  --radius KM     with --map: the distance from the centre to the map's edge (default:\n"
    "                  the whole globe, about 20004 km)\n"
    "Qt's standard options (-platform, -style, ...) are accepted as well.\n"
    "The settings file vantorff.ini and the place list (places.txt) live in\n"
    "~/.local/share/orvine/ ($XDG_DATA_HOME/orvine/). For the calculation without the window,\n"
    "see orvine-calc (orvine-calc --help).\n"
    "Exit status: 0 success, 1 the output could not be written, 2 malformed arguments.\n";

// Qt's own options, which QApplication takes out of the arguments when it starts the window
// system. They are known here so that every other option is refused before that start, which
// without a display would end the program.
const char* const QT_OPTIONS_WITH_VALUE[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
    "qwindowtitle", "title", "qwindowicon", "icon", "session", "style", "stylesheet",
    "qmljsdebugger", "display", "name", "visual"};
const char* const QT_FLAGS[] = {"reverse", "widgetcount", "testability", "sync", "nograb", "dograb"};

int print(const char* text)
{
    if (std::fputs(text, stdout) < 0 || std::fflush(stdout) != 0) {
        std::fputs("orvine: 標準出力に書き込めません (cannot write to standard output)\n", stderr);
        return 1;
    }
    return 0;
}

int usage_error(const QString& what)
{
    std::fprintf(stderr, "orvine: %s\n", what.toLocal8Bit().constData());
    return 2;
}

// The argument as typed ("--bogus=1" gives "--bogus") for an option name the parser refused.
QString as_typed(const QStringList& arguments, const QString& name)
{
    for (const QString& argument : arguments.mid(1)) {
        const QString option = argument.section(QLatin1Char('='), 0, 0);
        QString bare = option;
        while (bare.startsWith(QLatin1Char('-')))
            bare.remove(0, 1);
        if (bare == name && option != bare)
            return option;
    }
    return name;
}

// Answers --help, --version and malformed arguments before the window system starts, so
// that they work without a display. Returns the exit status, or nothing to open the window.
std::optional<int> answer_arguments(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions({help, version});
    for (const char* name : QT_OPTIONS_WITH_VALUE)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")));
    for (const char* name : QT_FLAGS)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));

    const QStringList arguments = QCoreApplication::arguments();
    if (!parser.parse(arguments)) {
        if (parser.unknownOptionNames().isEmpty())
            return usage_error(parser.errorText() + QStringLiteral(" (see --help)"));
        return usage_error(QStringLiteral("不明なオプションです (unknown option; see --help): ")
                           + as_typed(arguments, parser.unknownOptionNames().constFirst()));
    }
    if (parser.isSet(help))
        return print(HELP);
    if (parser.isSet(version))
        return print("Orvine " ORVINE_VERSION "\n");
    if (!parser.positionalArguments().isEmpty())
        return usage_error(QStringLiteral("引数はとりません (takes no arguments; see --help): ")
                           + parser.positionalArguments().constFirst());
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[])
{
    orvine::ignore_file_size_signal();
    QCoreApplication::setApplicationName(QStringLiteral("Orvine"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVINE_VERSION));
    if (orvine::is_map_command(argc, argv))
        return orvine::run_map_command(argc, argv);
    if (const std::optional<int> status = answer_arguments(argc, argv))
        return *status;

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("orvine"));
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
