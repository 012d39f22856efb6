// orvine-calc: the direction and distance between two points, without the window.
#include "app/cli/calc_input.h"
#include "app/cli/calc_output.h"
#include "geodesy/globe.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

using namespace orvine;
using namespace orvine::calc;

constexpr int EXIT_SOME_LINES_FAILED = 1;
constexpr int EXIT_MALFORMED = 2;
constexpr int EXIT_REFUSED = 3;
constexpr int EXIT_IO = 4;

const char* const HELP =
    "使い方: orvine-calc [オプション] LAT1 LON1 LAT2 LON2\n"
    "        orvine-calc [オプション] [ファイル...]\n"
    "\n"
    "出発地点 (LAT1 LON1) から目的地点 (LAT2 LON2) を見た方位 (大圏の初期方位) と大圏距離を、\n"
    "窓と同じ球面の式 (半径 6367.4475 km) で計算します。\n"
    "\n"
    "座標の書き方 (どれも同じ地点; 南緯・西経は負の符号か S/W):\n"
    "  35:41:22   度:分:秒        -74:0:21       南・西は度に負の符号\n"
    "  35:41      度:分           35.6894        度 (小数)\n"
    "  35:41:22.5 秒の小数        35:41:22N      半球の文字 N S E W (74:0:21W, N35.6894)\n"
    "  35°41′22″  記号            35°41'22\"      35d41m22s       35度41分22秒 北緯35度41分22秒\n"
    "緯度は -90 度と 90 度の間 (極は除く)、経度は -180～180 度、分と秒は 60 未満。\n"
    "窓で入力できる地点 (秒が整数で、南緯・西経なら 1 度以上) は窓と同じ結果になります。\n"
    "\n"
    "出力はタブ区切りの 1 行: 方位 (度, 北から時計回り, 有効数字 17 桁)、方角名、距離 (km)、\n"
    "方位の表示文、距離の表示文 (窓と同じ)。オプション:\n"
    "  --final              到着時の進行方位 (終端方位, 0～360 度) の列を加える\n"
    "  --ellipsoid          GRS80 楕円体上の距離・方位・終端方位 (GeographicLib) の列を加える\n"
    "  --unit km|nmi|mi     距離の列の単位 (表示文は Ｋｍ のまま)\n"
    "  --format tsv|csv|json  csv は見出し行付き、json は 1 行に 1 レコード (JSON Lines)\n"
    "  --version            版を表示   -h, --help  この説明\n"
    "列は次の順で、CSV の見出しと JSON のキーも同じ名前です (距離の名前は単位で _nmi, _mi):\n"
    "  bearing direction distance_km bearing_text distance_text [final_bearing]\n"
    "  [ellipsoid_distance_km ellipsoid_bearing ellipsoid_final_bearing]\n"
    "例: orvine-calc --final --unit nmi 35:41:22N 139:41:30E 40:42:51N 74:0:21W\n"
    "    orvine-calc --format json --ellipsoid pairs.txt - < more.txt\n"
    "\n"
    "座標 4 つの代わりにファイルを与えると (- は標準入力、-- の後はオプションとみなしません)、\n"
    "各行の 4 座標を計算して 1 行ずつ出力します (引数なしは標準入力)。空行と # で始まる行は\n"
    "そのまま出力します (json では {} と {\"comment\":\"…\"})。計算できない行は ERROR で\n"
    "始まる行になり (制御文字は \\xHH と表示)、終了コードは 1。\n"
    "数字で始まるファイル名 (2024.txt など) は ./ を付けてください。\n"
    "終了コード: 0 成功、1 計算できない行があった、2 引数の誤り、3 同一地点または対蹠点、\n"
    "4 読み込みか書き込みの失敗。\n"
    "\n"
    "Usage: orvine-calc [OPTIONS] LAT1 LON1 LAT2 LON2\n"
    "       orvine-calc [OPTIONS] [FILE...]\n"
    "\n"
    "Computes the initial great-circle bearing from the departure point (LAT1 LON1) towards the\n"
    "destination (LAT2 LON2) and the great-circle distance, by the window's spherical formulas\n"
    "(radius 6367.4475 km).\n"
    "\n"
    "Coordinates (all of these are the same point; south and west take a minus sign or S/W):\n"
    "  35:41:22    D:M:S               -74:0:21      sign on the degrees\n"
    "  35:41       D:M                 35.6894       decimal degrees\n"
    "  35:41:22.5  fractional seconds  35:41:22N     hemisphere letter (74:0:21W, N35.6894)\n"
    "  35°41′22″   marks               35°41'22\"     35d41m22s      35度41分22秒\n"
    "Latitudes lie strictly between -90 and 90 degrees (no poles), longitudes within -180..180;\n"
    "minutes and seconds are below 60. Points that the window can hold (whole seconds, and at\n"
    "least one degree if south or west) give exactly the window's figures and texts.\n"
    "\n"
    "Output: one tab-separated line: bearing (degrees clockwise from north, 17 significant\n"
    "digits), direction name, distance (km), and the bearing and distance captions as the window\n"
    "shows them. Options:\n"
    "  --final              add the final bearing (direction of travel on arrival, 0-360 degrees)\n"
    "  --ellipsoid          add distance, bearing and final bearing on the GRS80 ellipsoid\n"
    "  --unit km|nmi|mi     unit of the distance columns (the caption stays in km)\n"
    "  --format tsv|csv|json  csv starts with a header line; json gives one object per line\n"
    "  --version            print the version   -h, --help  print this help\n"
    "Columns in this order, also the CSV header's and the JSON keys' names (the distances end in\n"
    "_nmi or _mi with those units):\n"
    "  bearing direction distance_km bearing_text distance_text [final_bearing]\n"
    "  [ellipsoid_distance_km ellipsoid_bearing ellipsoid_final_bearing]\n"
    "Examples: orvine-calc --final --unit nmi 35:41:22N 139:41:30E 40:42:51N 74:0:21W\n"
    "          orvine-calc --format json --ellipsoid pairs.txt - < more.txt\n"
    "\n"
    "Given files instead of four coordinates (- is standard input, -- ends the options), every\n"
    "line of four coordinates gives one output line (no operands: standard input). Blank lines\n"
    "and lines starting with # are passed through (in json as {} and {\"comment\":\"...\"}).\n"
    "A line that cannot be computed gives a line starting with ERROR (control characters shown\n"
    "as \\xHH), and the exit status is then 1.\n"
    "A file name that starts like a number (2024.txt, -1.txt) is given as ./NAME.\n"
    "Exit status: 0 success, 1 some lines not computed, 2 malformed arguments, 3 the same point\n"
    "or the antipode, 4 a failed read or write.\n";

bool write_all(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// One line on standard error; the text is escaped here, as it may hold a file name or a token.
void complain(const std::string& text)
{
    const std::string line = "orvine-calc: " + escape_controls(text) + "\n";
    write_all(STDERR_FILENO, line.data(), line.size());
}

// Standard output in large blocks. After a failed write nothing more is written and the run
// ends with EXIT_IO: what reached the output before stays, and nothing claims success.
class Output {
public:
    static constexpr std::size_t BLOCK = 1 << 16;
    Output() { text.reserve(BLOCK + 1024); }
    std::string text;

    bool flush_if_full() { return text.size() < BLOCK || flush(); }
    bool flush()
    {
        if (!write_all(STDOUT_FILENO, text.data(), text.size())) {
            complain(std::string("出力を書けません (cannot write the output): ")
                     + std::strerror(errno));
            return false;
        }
        text.clear();
        return true;
    }
};

struct LineCalculator {
    Columns columns;
    GlobePoint dep, dst;
    GlobeCalculation result;
    std::string error;

    // Appends the record of one pair; false (and the reason in `error`) when it is refused.
    bool compute(std::string& out)
    {
        calculate_globe(dep, dst, columns.final_bearing, result);
        if (result.refusal != Refusal::None) {
            error = refusal_message(result.refusal);
            return false;
        }
        append_record(out, columns, result,
                      columns.ellipsoid ? ellipsoid_figures(dep, dst) : EllipsoidFigures{});
        return true;
    }

    // One input line into one output line; false when it gave an ERROR line.
    bool line(std::string_view text, std::string& out)
    {
        const std::size_t first = text.find_first_not_of(" \t");
        if (first == std::string_view::npos || text[first] == '#') {
            append_kept_line(out, columns, text);
            return true;
        }
        if (parse_line(text, dep, dst, error) && compute(out))
            return true;
        append_error(out, columns, message_one_line(error));
        return false;
    }
};

enum class ReadResult { Read, Failed, WriteFailed };

// Computes every line of one input. A line cut short by a read error is dropped, not computed;
// a last line without a line end is complete at the end of the input. A line longer than the
// whole input block cannot be four coordinates: it gives one ERROR line and the rest of it is
// skipped.
ReadResult run_input(int fd, const std::string& name, LineCalculator& calc, Output& output,
                     bool& all_computed)
{
    static char in[Output::BLOCK];
    std::size_t held = 0;
    bool skipping_long_line = false;
    for (;;) {
        const ssize_t got = ::read(fd, in + held, Output::BLOCK - held);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            complain(name + ": 読めません (cannot read): " + std::strerror(errno));
            return output.flush() ? ReadResult::Failed : ReadResult::WriteFailed;
        }
        held += static_cast<std::size_t>(got);
        const bool at_end = got == 0;
        std::size_t pos = 0;
        while (pos < held) {
            const char* nl = static_cast<const char*>(std::memchr(in + pos, '\n', held - pos));
            if (!nl && !at_end)
                break;
            const std::size_t len = nl ? static_cast<std::size_t>(nl - (in + pos)) : held - pos;
            if (skipping_long_line) {
                skipping_long_line = false;
            } else {
                std::string_view line(in + pos, len);
                if (!line.empty() && line.back() == '\r')
                    line.remove_suffix(1);
                all_computed &= calc.line(line, output.text);
            }
            pos += nl ? len + 1 : len;
            if (!output.flush_if_full())
                return ReadResult::WriteFailed;
        }
        std::memmove(in, in + pos, held - pos);
        held -= pos;
        if (held == Output::BLOCK) {
            if (!skipping_long_line) {
                append_error(output.text, calc.columns, "行が長すぎます (line too long)");
                all_computed = false;
                skipping_long_line = true;
            }
            held = 0;
        }
        if (at_end)
            return ReadResult::Read;
    }
}

int run_files(const std::vector<std::string>& files, LineCalculator& calc, Output& output)
{
    bool all_computed = true;
    bool all_read = true;
    for (const std::string& file : files) {
        const bool standard_input = file == "-";
        const int fd = standard_input ? STDIN_FILENO : ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            complain(file + ": 開けません (cannot open): " + std::strerror(errno));
            all_read = false;
            continue;
        }
        const ReadResult r =
            run_input(fd, standard_input ? "標準入力 (standard input)" : file, calc, output,
                      all_computed);
        if (!standard_input)
            ::close(fd);
        if (r == ReadResult::WriteFailed)
            return EXIT_IO;
        all_read &= r == ReadResult::Read;
    }
    if (!output.flush())
        return EXIT_IO;
    return !all_read ? EXIT_IO : all_computed ? 0 : EXIT_SOME_LINES_FAILED;
}

// The text of an option's value: "--unit nmi" or "--unit=nmi".
bool option_value(int argc, char** argv, int& i, std::string_view arg, std::string_view name,
                  std::string_view& value)
{
    if (arg == name) {
        value = i + 1 < argc ? argv[++i] : "";
        return true;
    }
    if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0
        && arg[name.size()] == '=') {
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

int usage_error(const std::string& what)
{
    complain(what);
    return EXIT_MALFORMED;
}

int print(const char* text)
{
    Output output;
    output.text = text;
    return output.flush() ? 0 : EXIT_IO;
}

} // namespace

int main(int argc, char** argv)
{
    LineCalculator calc;
    std::vector<std::string> operands;
    bool options_ended = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        // "-74:0:21" is a coordinate and "-" standard input, not options.
        if (options_ended || arg.size() < 2 || arg[0] != '-' || looks_like_coordinate(arg)) {
            operands.emplace_back(arg);
            continue;
        }
        std::string_view value;
        if (arg == "--") {
            options_ended = true;
        } else if (arg == "--help" || arg == "-h") {
            return print(HELP);
        } else if (arg == "--version") {
            return print("orvine-calc " ORVINE_VERSION "\n");
        } else if (arg == "--final") {
            calc.columns.final_bearing = true;
        } else if (arg == "--ellipsoid") {
            calc.columns.ellipsoid = true;
        } else if (option_value(argc, argv, i, arg, "--unit", value)) {
            if (value == "km")
                calc.columns.unit = Unit::Km;
            else if (value == "nmi")
                calc.columns.unit = Unit::Nmi;
            else if (value == "mi")
                calc.columns.unit = Unit::Mi;
            else
                return usage_error("--unit は km, nmi, mi のどれかです (--unit takes km, nmi or mi; see --help)");
        } else if (option_value(argc, argv, i, arg, "--format", value)) {
            if (value == "tsv")
                calc.columns.format = Format::Tsv;
            else if (value == "csv")
                calc.columns.format = Format::Csv;
            else if (value == "json")
                calc.columns.format = Format::Json;
            else
                return usage_error(
                    "--format は tsv, csv, json のどれかです (--format takes tsv, csv or json; see --help)");
        } else {
            return usage_error("不明なオプションです (unknown option; see --help): " + std::string(arg));
        }
    }

    Output output;
    append_header(output.text, calc.columns);
    if (operands.empty())
        operands.emplace_back("-");
    if (!looks_like_coordinate(operands.front()))
        return run_files(operands, calc, output);

    if (operands.size() != 4)
        return usage_error("座標は 4 つ必要です (expected 4 coordinates LAT1 LON1 LAT2 LON2; see --help)");
    const std::string_view tokens[4] = {operands[0], operands[1], operands[2], operands[3]};
    if (!parse_points(tokens, calc.dep, calc.dst, calc.error)) {
        complain(calc.error);
        return EXIT_MALFORMED;
    }
    if (!calc.compute(output.text)) {
        const std::string text = message_lines(calc.error) + "\n";
        write_all(STDERR_FILENO, text.data(), text.size());
        return EXIT_REFUSED;
    }
    return output.flush() ? 0 : EXIT_IO;
}
