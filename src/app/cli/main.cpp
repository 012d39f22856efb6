// orvine-calc: the direction and distance between two points, without the window.
#include "app/cli/calc_input.h"
#include "app/cli/calc_output.h"
#include "geodesy/calculation.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using namespace orvine;

constexpr int EXIT_REFUSED = 3;
constexpr int EXIT_MALFORMED = 2;

const char* const HELP =
    "使い方: orvine-calc LAT1 LON1 LAT2 LON2\n"
    "        orvine-calc < 座標の行\n"
    "\n"
    "出発地点 (LAT1 LON1) から目的地点 (LAT2 LON2) を見た方位と、大圏距離を計算します。\n"
    "座標は 度:分:秒 で、南緯と西経は度に負の符号を付けます (例 -74:0:21)。\n"
    "緯度の度は -89～89、経度の度は -179～179、分と秒は 0～59。0 度は常に北緯・東経なので、\n"
    "南緯・西経 1 度未満 (-0:30:0 など) は表せません。\n"
    "\n"
    "出力はタブ区切りの 1 行: 方位 (度, 北から時計回り, 有効数字 17 桁)、方角名、\n"
    "距離 (km, 有効数字 17 桁)、方位の表示文、距離の表示文。\n"
    "同一地点と対蹠点は計算できず、理由を標準エラーに出して終了コード 3。\n"
    "引数の誤りは終了コード 2。\n"
    "引数なしでは標準入力の各行 (空白区切りの座標 4 つ) を計算し、1 行に 1 行を出力します。\n"
    "計算できない行は ERROR で始まる行になり、そのときの終了コードは 1。\n"
    "\n"
    "Usage: orvine-calc LAT1 LON1 LAT2 LON2\n"
    "       orvine-calc < lines-of-coordinates\n"
    "\n"
    "Computes the initial bearing from the departure point (LAT1 LON1) towards the\n"
    "destination (LAT2 LON2) and the great-circle distance between them.\n"
    "Each coordinate is D:M:S in whole numbers; south latitudes and west longitudes carry a\n"
    "minus sign on the degrees (e.g. -74:0:21). Latitude degrees -89..89, longitude degrees\n"
    "-179..179, minutes and seconds 0..59. Degrees 0 always mean north or east, so less than\n"
    "one degree south or west (such as -0:30:0) cannot be represented.\n"
    "\n"
    "Output: one tab-separated line: bearing (degrees clockwise from north, 17 significant\n"
    "digits), direction name, distance (km, 17 significant digits), the bearing caption and\n"
    "the distance caption as the window shows them.\n"
    "The same point and the exact antipode cannot be computed: the reason goes to standard\n"
    "error and the exit status is 3. Malformed arguments give exit status 2.\n"
    "Without arguments, every line of standard input (four coordinates separated by blanks)\n"
    "gives one output line; a line that cannot be computed gives a line starting with ERROR,\n"
    "and the exit status is then 1 (0 when every line was computed).\n";

// Computes one line into `out`; false (with an ERROR line) when it was refused or malformed.
bool compute_line(std::string_view line, Calculation& result, std::string& error, std::string& out)
{
    Point dep, dst;
    if (calc::parse_line(line, dep, dst, error)) {
        calculate(dep, dst, result);
        if (result.refusal == Refusal::None) {
            calc::append_result_line(out, result);
            return true;
        }
        error = calc::message_one_line(refusal_message(result.refusal));
    }
    out += "ERROR: ";
    out += error;
    out += '\n';
    return false;
}

// Reads standard input and writes standard output in large blocks: a run may have millions of
// lines. A line longer than the whole input block cannot be four coordinates; it gives one ERROR
// line and the rest of it is skipped.
int run_batch()
{
    constexpr std::size_t BLOCK = 1 << 16;
    static char in[BLOCK];
    std::size_t held = 0;
    bool all_computed = true;
    bool skipping_long_line = false;

    // Both streams are buffered here, in blocks; stdio's own buffers would only copy them again.
    std::setvbuf(stdin, nullptr, _IONBF, 0);
    std::setvbuf(stdout, nullptr, _IONBF, 0);

    Calculation result;
    std::string error;
    std::string out;
    out.reserve(BLOCK + 1024);

    for (;;) {
        const std::size_t got = std::fread(in + held, 1, BLOCK - held, stdin);
        held += got;
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
                all_computed &= compute_line(line, result, error, out);
            }
            pos += nl ? len + 1 : len;
            if (out.size() >= BLOCK) {
                std::fwrite(out.data(), 1, out.size(), stdout);
                out.clear();
            }
        }
        std::memmove(in, in + pos, held - pos);
        held -= pos;
        if (held == BLOCK) {
            if (!skipping_long_line) {
                out += "ERROR: 行が長すぎます (line too long)\n";
                all_computed = false;
                skipping_long_line = true;
            }
            held = 0;
        }
        if (at_end)
            break;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 && all_computed ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(HELP, stdout);
        return 0;
    }
    if (argc == 1)
        return run_batch();
    if (argc != 5) {
        std::fputs("orvine-calc: 座標は 4 つ必要です (expected 4 coordinates LAT1 LON1 LAT2 LON2;"
                   " see --help)\n",
                   stderr);
        return EXIT_MALFORMED;
    }

    const std::string_view tokens[4] = {argv[1], argv[2], argv[3], argv[4]};
    Point dep, dst;
    std::string error;
    if (!calc::parse_points(tokens, dep, dst, error)) {
        std::fprintf(stderr, "orvine-calc: %s\n", error.c_str());
        return EXIT_MALFORMED;
    }
    const Calculation result = calculate(dep, dst);
    if (result.refusal != Refusal::None) {
        std::fprintf(stderr, "%s\n", calc::message_lines(refusal_message(result.refusal)).c_str());
        return EXIT_REFUSED;
    }
    std::string line;
    calc::append_result_line(line, result);
    std::fputs(line.c_str(), stdout);
    return 0;
}
