#include "app/map_command.h"

#include "app/cli/calc_input.h"
#include "app/cli/calc_output.h"
#include "map/direction_map_drawing.h"
#include "map/direction_map_export.h"
#include "platform/platform.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>
#include <optional>
#include <vector>

namespace orvine {

namespace {

constexpr std::string_view MAP = "--map";
constexpr std::string_view RADIUS = "--radius";

struct MapRequest {
    std::string file;
    double radius_km = WHOLE_GLOBE_KM;
    GlobePoint centre;
    std::optional<GlobePoint> destination;
};

// A message on standard error, on one line.
void say(const QString& message)
{
    std::fprintf(stderr, "orvine: %s\n",
                 qPrintable(QString(message).replace(QStringLiteral("\r\n"), QStringLiteral(" "))));
}

bool starts_with(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

bool is_option(std::string_view arg, std::string_view name)
{
    return arg == name || (starts_with(arg, name) && arg.size() > name.size() && arg[name.size()] == '=');
}

// The value of `--name VALUE` or `--name=VALUE`; advances i past it.
bool option_value(int argc, char* argv[], int& i, std::string_view name, std::string& value, std::string& error)
{
    const std::string_view arg = argv[i];
    if (arg.size() > name.size()) {
        value = std::string(arg.substr(name.size() + 1));
        return true;
    }
    if (i + 1 >= argc) {
        error = std::string(name) + " needs a value";
        return false;
    }
    value = argv[++i];
    return true;
}

bool read_radius(const std::string& text, double& radius_km, std::string& error)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(value > 0) || !std::isfinite(value)) {
        error = "--radius: '" + calc::escape_controls(text) + "' is not a distance in km above 0";
        return false;
    }
    radius_km = std::min(value, WHOLE_GLOBE_KM);
    return true;
}

bool read_request(int argc, char* argv[], MapRequest& request, std::string& error)
{
    std::vector<std::string_view> operands;
    bool options_end = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (options_end || calc::looks_like_coordinate(arg) || !starts_with(arg, "-")) {
            operands.push_back(arg);
        } else if (arg == "--") {
            options_end = true;
        } else if (is_option(arg, MAP)) {
            if (!option_value(argc, argv, i, MAP, request.file, error))
                return false;
        } else if (is_option(arg, RADIUS)) {
            std::string value;
            if (!option_value(argc, argv, i, RADIUS, value, error) || !read_radius(value, request.radius_km, error))
                return false;
        } else {
            error = "unknown option '" + calc::escape_controls(arg) + "'";
            return false;
        }
    }
    if (request.file.empty()) {
        error = "--map FILE is missing";
        return false;
    }
    if (!map_file_format(QFile::decodeName(request.file.c_str()))) {
        error = "'" + calc::escape_controls(request.file) + "': the file name must end in .svg, .png or .pdf";
        return false;
    }
    if (operands.size() != 2 && operands.size() != 4) {
        error = "expected LAT LON or LAT LON LAT2 LON2, got " + std::to_string(operands.size()) + " coordinates";
        return false;
    }
    if (!calc::parse_coordinate(operands[0], Axis::Latitude, "LAT", request.centre.lat, error)
        || !calc::parse_coordinate(operands[1], Axis::Longitude, "LON", request.centre.lon, error))
        return false;
    if (operands.size() == 4) {
        GlobePoint destination;
        if (!calc::parse_coordinate(operands[2], Axis::Latitude, "LAT2", destination.lat, error)
            || !calc::parse_coordinate(operands[3], Axis::Longitude, "LON2", destination.lon, error))
            return false;
        request.destination = destination;
    }
    return true;
}

} // namespace

bool is_map_command(int argc, char* argv[])
{
    bool asked = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "--help" || arg == "-h" || arg == "-?" || arg == "--help-all" || arg == "--version" || arg == "-v")
            return false;
        asked = asked || is_option(arg, MAP) || is_option(arg, RADIUS);
    }
    return asked;
}

int run_map_command(int argc, char* argv[])
{
    MapRequest request;
    std::string error;
    if (!read_request(argc, argv, request, error)) {
        std::fprintf(stderr, "orvine: %s\nusage: orvine --map FILE.svg|.png|.pdf [--radius KM] LAT LON [LAT2 LON2]\n",
                     error.c_str());
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    DirectionMapDrawing drawing;
    drawing.set_font_family(platform::window_default_font());
    const QString data_path = installed_map_data_path();
    MapDataResult data = load_map_data(data_path.toStdString());
    if (data.fault != MapDataFault::None)
        say(map_data_problem_message(data.fault, data_path));
    else
        drawing.set_data(std::make_shared<const MapData>(std::move(data.data)));
    DirectionMapContent content;
    content.centre = request.centre;
    content.destination = request.destination;
    drawing.set_content(content);
    if (request.destination && !drawing.destination_result()) {
        GlobeCalculation refused;
        calculate_globe(request.centre, *request.destination, false, refused);
        say(QString::fromStdString(refusal_message(refused.refusal)).simplified());
        return 2;
    }
    drawing.set_radius_km(request.radius_km);

    const QString path = QFile::decodeName(request.file.c_str());
    const QString problem = save_map_file(path, render_map_file(drawing, *map_file_format(path), today_text()));
    if (!problem.isEmpty()) {
        say(problem);
        return 1;
    }
    return 0;
}

} // namespace orvine
