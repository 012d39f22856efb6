// orvine-calc: the direction and distance between two points, without the window; and the
// point reached from one by a bearing and a distance.
#include "app/cli/calc_batch.h"

#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace {

using namespace orvine;
using namespace orvine::calc;

const char* const HELP =
    "使い方: orvine-calc [オプション] LAT1 LON1 LAT2 LON2\n"
    "        orvine-calc [オプション] 地名|LAT LON 地名|LAT LON\n"
    "        orvine-calc --direct [オプション] LAT LON|地名 AZIMUTH DISTANCE\n"
    "        orvine-calc [--direct] [オプション] [ファイル...]\n"
    "        orvine-calc --search 地名 [--format tsv|csv|json]\n"
    "\n"
    "出発地点 (LAT1 LON1) から目的地点 (LAT2 LON2) を見た方位 (大圏の初期方位) と大圏距離を、\n"
    "窓と同じ球面の式 (半径 6367.4475 km) で計算します。--direct では、出発地点 (LAT LON) から\n"
    "方位角 AZIMUTH (度, 北から時計回り) の向きに距離 DISTANCE だけ進んだ到着地点と、到着時の\n"
    "進行方位を同じ球面上で求めます (GeographicLib)。\n"
    "\n"
    "座標の書き方 (どれも同じ地点; 南緯・西経は負の符号か S/W):\n"
    "  35:41:22   度:分:秒        -74:0:21       南・西は度に負の符号\n"
    "  35:41      度:分           35.6894        度 (小数)\n"
    "  35:41:22.5 秒の小数        35:41:22N      半球の文字 N S E W (74:0:21W, N35.6894)\n"
    "  35°41′22″  記号            35°41'22\"      35d41m22s       35度41分22秒 北緯35度41分22秒\n"
    "緯度は -90 度と 90 度の間 (極は除く)、経度は -180～180 度、分と秒は 60 未満。\n"
    "窓で入力できる地点 (秒が整数で、南緯・西経なら 1 度以上) は窓と同じ結果になります。\n"
    "AZIMUTH は同じ書き方で N S E W なし、-360～360 度。DISTANCE は --unit の単位の数 (0～1000000)。\n"
    "\n"
    "LAT LON の組の代わりに地名が書けます (東京 ニューヨーク、札幌 35:41:22 139:41:30)。座標でも\n"
    "既存のファイルでもない値は地名です (同じ名前のファイルがあればファイル)。地点は地名データ\n"
    "(GeoNames, CC BY 4.0) の 10 進の度の座標です。名前全体が一致する地名 (日本語名か英語名;\n"
    "かな・全角半角・大文字小文字・アクセントは区別せず、末尾の 市 区 町 村 都 府 県 は省略可) が\n"
    "優先し、ないときは名前の一部が一致する地名を使います。同じ座標の地名 (大阪市と大阪府) は\n"
    "1 つと数えます。複数あればエラーで候補を示します。候補の （） 内を付けて書けば\n"
    "(ロンドン（英国）) 絞り込めます。\n"
    "  --place 地名         座標やファイル名に見える値も地名とする (--place 2024)\n"
    "  --first              複数の候補があれば人口の最も多い地点を使う\n"
    "  --search 地名        名前にその語を含む地名を 1 行に 1 つ、人口の多い順に一覧する。列は\n"
    "                       name where lat lon population (where は州・県と国、lat lon は度)\n"
    "ファイルの行でも地名が使えます。空白を含む地名は \"New York\" のように二重引用符で囲みます。\n"
    "\n"
    "出力はタブ区切りの 1 行: 方位 (度, 北から時計回り, 0 以上 360 未満, 有効数字 17 桁)、方角名、\n"
    "距離 (km)、方位の表示文、距離の表示文 (窓と同じ)。オプション:\n"
    "  --final              到着時の進行方位 (終端方位, 0 以上 360 未満) の列を加える\n"
    "  --ellipsoid          GRS80 楕円体上の距離・方位・終端方位 (GeographicLib) の列を加える\n"
    "                       (--direct では GRS80 上の到着地点と到着時の方位)\n"
    "  --direct             到着地点を求める (順問題)。列は lat2 lon2 final_bearing (度; 経度は\n"
    "                       -180 以上 180 未満)、--ellipsoid で ellipsoid_lat2 ellipsoid_lon2\n"
    "                       ellipsoid_final_bearing を加える\n"
    "  --unit km|nmi|mi     距離の単位 (表示文は Ｋｍ のまま)\n"
    "  --format tsv|csv|json  csv は見出し行付き、json は 1 行に 1 レコード (JSON Lines)\n"
    "  --version            版を表示   -h, --help  この説明\n"
    "列は次の順で、CSV の見出しと JSON のキーも同じ名前です (距離の名前は単位で _nmi, _mi):\n"
    "  bearing direction distance_km bearing_text distance_text [final_bearing]\n"
    "  [ellipsoid_distance_km ellipsoid_bearing ellipsoid_final_bearing]\n"
    "例: orvine-calc --final --unit nmi 35:41:22N 139:41:30E 40:42:51N 74:0:21W\n"
    "    orvine-calc --format json --ellipsoid pairs.txt - < more.txt\n"
    "    orvine-calc --direct 35:41:22 139:41:30 30 500    (東京から北東寄り 30°、500 km 先)\n"
    "    orvine-calc 東京 ニューヨーク\n"
    "    orvine-calc --first 札幌 London\n"
    "    orvine-calc --search 府中 --format csv\n"
    "\n"
    "座標 4 つの代わりにファイルを与えると (- は標準入力、-- の後はオプションとみなしません)、\n"
    "各行の 4 つの値を計算して 1 行ずつ出力します (引数なしは標準入力)。空行と # で始まる行は\n"
    "そのまま出力します (制御文字は \\xHH と表示; csv では 1 つの欄、json では {} と\n"
    "{\"comment\":\"…\"})。計算できない行は ERROR で始まる行になり、終了コードは 1。\n"
    "数字で始まるファイル名 (2024.txt など) は ./ を付けてください。/ ./ ../ で始まる値は常にファイルです。\n"
    "\n"
    "球面の列の精度: 窓と同じ余弦定理の式は、近い 2 地点と対蹠点の近くで桁を失います。同じ球面の\n"
    "GeodSolve (-e 6367447.5 0) との差の最大 (出発地点の緯度 89 度以内で測定):\n"
    "  2 地点の距離                        方位       距離\n"
    "  1 m 未満                            数十度     13 cm; 14 cm 未満は拒否もある\n"
    "  1～10 m                             6°         1.2 cm\n"
    "  10～100 m                           1°         4 mm\n"
    "  100 m～1 km                         0.3°       4 mm\n"
    "  1～10 km                            0.09°      4 mm\n"
    "  10～1000 km                         0.03°      4 mm\n"
    "  1000 km～対蹠点の 1000 km 手前      0.003°     4 mm\n"
    "  対蹠点の 1～1000 km 手前            0.08°      4 mm\n"
    "  対蹠点の 1 km 以内                  7° 以上    1.3 cm; 14 cm 以内は拒否もある\n"
    "--ellipsoid と --direct の値は、どの距離でも GeographicLib の精度 (15 nm 程度) です。\n"
    "\n"
    "終了コード: 0 成功、1 計算できない行があった (--search では該当なし)、2 引数の誤り (見つからない・\n"
    "複数ある地名も)、3 同一地点または対蹠点 (引数で与えた地点のとき; ファイルの行ではその行が\n"
    "ERROR になり 1)、4 読み込みか書き込みの失敗 (地名データが読めないときも; 地名を使わない行は\n"
    "計算します)。\n"
    "メッセージは標準エラーに \"orvine-calc: \" で始まる 1 行で出ます。\n"
    "\n"
    "Usage: orvine-calc [OPTIONS] LAT1 LON1 LAT2 LON2\n"
    "       orvine-calc [OPTIONS] NAME|LAT LON NAME|LAT LON\n"
    "       orvine-calc --direct [OPTIONS] LAT LON|NAME AZIMUTH DISTANCE\n"
    "       orvine-calc [--direct] [OPTIONS] [FILE...]\n"
    "       orvine-calc --search NAME [--format tsv|csv|json]\n"
    "\n"
    "Computes the initial great-circle bearing from the departure point (LAT1 LON1) towards the\n"
    "destination (LAT2 LON2) and the great-circle distance, by the window's spherical formulas\n"
    "(radius 6367.4475 km). With --direct, computes the point reached from the departure point\n"
    "(LAT LON) by setting off at the azimuth AZIMUTH (degrees clockwise from north) and travelling\n"
    "DISTANCE, and the bearing of travel on arrival, on the same sphere (GeographicLib).\n"
    "\n"
    "Coordinates (all of these are the same point; south and west take a minus sign or S/W):\n"
    "  35:41:22    D:M:S               -74:0:21      sign on the degrees\n"
    "  35:41       D:M                 35.6894       decimal degrees\n"
    "  35:41:22.5  fractional seconds  35:41:22N     hemisphere letter (74:0:21W, N35.6894)\n"
    "  35°41′22″   marks               35°41'22\"     35d41m22s      35度41分22秒\n"
    "Latitudes lie strictly between -90 and 90 degrees (no poles), longitudes within -180..180;\n"
    "minutes and seconds are below 60. Points that the window can hold (whole seconds, and at\n"
    "least one degree if south or west) give exactly the window's figures and texts.\n"
    "AZIMUTH takes the same forms without N S E W, within -360..360 degrees; DISTANCE is a number\n"
    "in the --unit unit (0..1000000).\n"
    "\n"
    "A place name may stand wherever a LAT LON pair may (東京 ニューヨーク, 札幌 35:41:22 139:41:30):\n"
    "an operand that is neither a coordinate nor an existing file is a name (an existing file of\n"
    "that name wins). A name stands for the point of the gazetteer (GeoNames, CC BY 4.0), in its\n"
    "decimal degrees. Places whose whole Japanese or English name matches (kana, width, case and\n"
    "accents folded; a final 市 区 町 村 都 府 県 may be left out) come first; only where there\n"
    "is none, places whose name holds it. Places at one point (大阪市 and 大阪府) count as one.\n"
    "Several places are an error that lists them; a qualifier as listed narrows them\n"
    "(ロンドン（英国）, \"Springfield (イリノイ州)\").\n"
    "  --place NAME         a place name, even one that looks like a coordinate or a file\n"
    "  --first              where a name fits several places, take the most populous\n"
    "  --search NAME        list the places whose name holds NAME, one per line, the most populous\n"
    "                       first: columns name where lat lon population (where: state or\n"
    "                       prefecture, and country; lat and lon in degrees)\n"
    "Lines of a file take names too; a name with blanks is written in double quotes (\"New York\").\n"
    "\n"
    "Output: one tab-separated line: bearing (degrees clockwise from north, 0 to below 360, 17\n"
    "significant digits), direction name, distance (km), and the bearing and distance captions as\n"
    "the window shows them. Options:\n"
    "  --final              add the final bearing (direction of travel on arrival, 0 to below 360)\n"
    "  --ellipsoid          add distance, bearing and final bearing on the GRS80 ellipsoid\n"
    "                       (with --direct: the point reached and the final bearing on GRS80)\n"
    "  --direct             find the point reached (the direct problem): columns lat2 lon2\n"
    "                       final_bearing (degrees; longitudes -180 to below 180), with\n"
    "                       --ellipsoid also ellipsoid_lat2 ellipsoid_lon2 ellipsoid_final_bearing\n"
    "  --unit km|nmi|mi     unit of the distances (the caption stays in km)\n"
    "  --format tsv|csv|json  csv starts with a header line; json gives one object per line\n"
    "  --version            print the version   -h, --help  print this help\n"
    "Columns in this order, also the CSV header's and the JSON keys' names (the distances end in\n"
    "_nmi or _mi with those units):\n"
    "  bearing direction distance_km bearing_text distance_text [final_bearing]\n"
    "  [ellipsoid_distance_km ellipsoid_bearing ellipsoid_final_bearing]\n"
    "Examples: orvine-calc --final --unit nmi 35:41:22N 139:41:30E 40:42:51N 74:0:21W\n"
    "          orvine-calc --format json --ellipsoid pairs.txt - < more.txt\n"
    "          orvine-calc --direct 35:41:22 139:41:30 30 500   (30° east of north, 500 km away)\n"
    "          orvine-calc 東京 ニューヨーク\n"
    "          orvine-calc --first 札幌 London\n"
    "          orvine-calc --search 府中 --format csv\n"
    "\n"
    "Given files instead of four values (- is standard input, -- ends the options), every line of\n"
    "four values gives one output line (no operands: standard input). Blank lines and lines\n"
    "starting with # are passed through (control characters shown as \\xHH; in csv as one field, in\n"
    "json as {} and {\"comment\":\"...\"}). A line that cannot be computed gives a line starting with\n"
    "ERROR, and the exit status is then 1.\n"
    "A file name that starts like a number (2024.txt, -1.txt) is given as ./NAME; an operand that\n"
    "starts with /, ./ or ../ is always a file.\n"
    "\n"
    "Accuracy of the sphere's columns: the window's law of cosines loses digits for close points\n"
    "and near the antipode. Largest differences from GeodSolve on the same sphere\n"
    "(-e 6367447.5 0), measured with departures within 89 degrees of latitude:\n"
    "  distance between the points         bearing    distance\n"
    "  below 1 m                           tens of °  13 cm; below 14 cm some are refused\n"
    "  1-10 m                              6°         1.2 cm\n"
    "  10-100 m                            1°         4 mm\n"
    "  100 m-1 km                          0.3°       4 mm\n"
    "  1-10 km                             0.09°      4 mm\n"
    "  10-1000 km                          0.03°      4 mm\n"
    "  1000 km to 1000 km short of the antipode  0.003°  4 mm\n"
    "  1-1000 km short of the antipode     0.08°      4 mm\n"
    "  within 1 km of the antipode         7° or more 1.3 cm; within 14 cm some are refused\n"
    "The --ellipsoid and --direct figures are accurate to GeographicLib's limits (about 15 nm) at\n"
    "every distance.\n"
    "\n"
    "Exit status: 0 success, 1 some lines not computed (--search: no place found), 2 malformed\n"
    "arguments (also a name of no place or of several), 3 the same point or the antipode (places\n"
    "given as arguments; in a file such a line gives an ERROR line and status 1), 4 a failed read\n"
    "or write (also an unreadable gazetteer; lines without names are still computed). Messages go\n"
    "to standard error as one line starting with \"orvine-calc: \".\n";

// The text of an option's value, "--unit nmi" or "--unit=nmi": Given, Missing (nothing follows,
// or "--unit="), or NotThisOption.
enum class OptionValue { NotThisOption, Given, Missing };

OptionValue option_value(int argc, char** argv, int& i, std::string_view arg,
                         std::string_view name, std::string_view& value)
{
    if (arg == name) {
        if (i + 1 >= argc)
            return OptionValue::Missing;
        value = argv[++i];
        return OptionValue::Given;
    }
    if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0
        && arg[name.size()] == '=') {
        value = arg.substr(name.size() + 1);
        return value.empty() ? OptionValue::Missing : OptionValue::Given;
    }
    return OptionValue::NotThisOption;
}

int usage_error(const std::string& what)
{
    complain(what + "; see --help");
    return EXIT_MALFORMED;
}

// The message for an option's value: missing, or not one of `choices` ("km, nmi or mi").
int bad_value(std::string_view option, OptionValue got, std::string_view value,
              std::string_view choices)
{
    const std::string name(option);
    if (got == OptionValue::Missing)
        return usage_error(name + " の値がありません (" + name + " needs a value: "
                           + std::string(choices) + ")");
    return usage_error(name + " の値が違います (" + name + " takes " + std::string(choices)
                       + ", not \"" + std::string(value) + "\")");
}

// What an operand of the command line is.
enum class OperandKind { Coordinate, Name, File };

// "-" and existing files are files, and so is a path that starts with /, ./ or ../ even where
// nothing is there (its message then says so); a coordinate is read as one; anything else is a
// place name.
OperandKind kind_of(const std::string& operand)
{
    struct stat status;
    if (operand == "-" || operand.rfind("/", 0) == 0 || operand.rfind("./", 0) == 0 || operand.rfind("../", 0) == 0)
        return OperandKind::File;
    if (looks_like_coordinate(operand))
        return OperandKind::Coordinate;
    return ::stat(operand.c_str(), &status) == 0 ? OperandKind::File : OperandKind::Name;
}

// --search NAME: the places whose name holds NAME, one record each.
int list_places(std::string_view query, Format format)
{
    PlaceNames names(false);
    const Gazetteer* gazetteer = names.gazetteer();
    if (!gazetteer)
        return EXIT_IO;
    const SearchOutcome found = gazetteer->search(query, {}, gazetteer->size());
    if (found.problem != QueryProblem::None)
        return usage_error("--search: " + describe(found.problem) + " (not a place name)");
    std::string out;
    append_place_header(out, format);
    for (const PlaceMatch& place : found.matches)
        append_place_record(out, format, place);
    if (!write_output(out))
        return EXIT_IO;
    if (!found.matches.empty())
        return 0;
    complain("\"" + std::string(query) + "\" を含む地名はありません (no place name holds this)");
    return EXIT_SOME_LINES_FAILED;
}

} // namespace

int main(int argc, char** argv)
{
    Columns columns;
    std::vector<std::string> operands;
    std::vector<bool> forced_names; // given with --place
    std::string_view search_query;
    bool search = false, take_first = false;
    bool options_ended = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        // "-74:0:21" is a coordinate and "-" standard input, not options.
        if (options_ended || arg.size() < 2 || arg[0] != '-' || looks_like_coordinate(arg)) {
            operands.emplace_back(arg);
            forced_names.push_back(false);
            continue;
        }
        std::string_view value;
        OptionValue got = OptionValue::NotThisOption;
        if (arg == "--") {
            options_ended = true;
        } else if (arg == "--help" || arg == "-h") {
            return write_output(HELP) ? 0 : EXIT_IO;
        } else if (arg == "--version") {
            return write_output("orvine-calc " ORVINE_VERSION "\n") ? 0 : EXIT_IO;
        } else if (arg == "--final") {
            columns.final_bearing = true;
        } else if (arg == "--ellipsoid") {
            columns.ellipsoid = true;
        } else if (arg == "--direct") {
            columns.direct = true;
        } else if (arg == "--first") {
            take_first = true;
        } else if ((got = option_value(argc, argv, i, arg, "--place", value)) != OptionValue::NotThisOption) {
            if (got == OptionValue::Missing)
                return bad_value("--place", got, value, "a place name");
            operands.emplace_back(value);
            forced_names.push_back(true);
        } else if ((got = option_value(argc, argv, i, arg, "--search", value)) != OptionValue::NotThisOption) {
            if (got == OptionValue::Missing)
                return bad_value("--search", got, value, "a place name or a part of one");
            search = true;
            search_query = value;
        } else if ((got = option_value(argc, argv, i, arg, "--unit", value))
                   != OptionValue::NotThisOption) {
            if (got == OptionValue::Given && value == "km")
                columns.unit = Unit::Km;
            else if (got == OptionValue::Given && value == "nmi")
                columns.unit = Unit::Nmi;
            else if (got == OptionValue::Given && value == "mi")
                columns.unit = Unit::Mi;
            else
                return bad_value("--unit", got, value, "km, nmi or mi");
        } else if ((got = option_value(argc, argv, i, arg, "--format", value))
                   != OptionValue::NotThisOption) {
            if (got == OptionValue::Given && value == "tsv")
                columns.format = Format::Tsv;
            else if (got == OptionValue::Given && value == "csv")
                columns.format = Format::Csv;
            else if (got == OptionValue::Given && value == "json")
                columns.format = Format::Json;
            else
                return bad_value("--format", got, value, "tsv, csv or json");
        } else {
            return usage_error("不明なオプションです (unknown option): " + std::string(arg));
        }
    }

    if (search) {
        if (!operands.empty())
            return usage_error("--search は他の地点と一緒に使えません (--search takes no other operands): "
                               + operands.front());
        return list_places(search_query, columns.format);
    }
    PlaceNames names(take_first);
    if (operands.empty()) {
        operands.emplace_back("-");
        forced_names.push_back(false);
    }
    std::vector<Operand> places;
    std::string file;
    bool any_name = false;
    for (std::size_t i = 0; i < operands.size(); ++i) {
        const OperandKind kind = forced_names[i] ? OperandKind::Name : kind_of(operands[i]);
        if (kind == OperandKind::File && file.empty())
            file = operands[i];
        if (kind != OperandKind::File)
            places.push_back({operands[i], kind == OperandKind::Name});
        any_name |= kind == OperandKind::Name;
    }
    if (places.empty())
        return run_batch(operands, columns, names);
    if (!file.empty())
        return usage_error("ファイルと地点は一緒に使えません (give either files or the places, not both): " + file);

    LineCalculator calc(columns, &names);
    std::string out;
    append_header(out, columns);
    Outcome outcome;
    if (any_name) {
        outcome = calc.compute(places, out);
    } else {
        if (operands.size() != 4)
            return usage_error(columns.direct
                                   ? "値は 4 つ必要です (expected 4 values LAT LON AZIMUTH DISTANCE)"
                                   : "座標は 4 つ必要です (expected 4 coordinates LAT1 LON1 LAT2 LON2)");
        const std::string_view tokens[4] = {operands[0], operands[1], operands[2], operands[3]};
        outcome = calc.compute(tokens, out);
    }
    switch (outcome) {
    case Outcome::Computed:
        return write_output(out) ? 0 : EXIT_IO;
    case Outcome::Malformed:
        complain(calc.error());
        return EXIT_MALFORMED;
    case Outcome::NoGazetteer:
        return EXIT_IO;
    case Outcome::Refused:
        break;
    }
    complain(calc.error());
    return EXIT_REFUSED;
}
