// Feeds arbitrary bytes to the calculator's line reader, line by line, as the lines of a batch of
// either problem in every format. Besides crashes and sanitizer reports it checks the promises
// of the output: exactly one output line for each input line, valid UTF-8 with no byte a
// terminal acts on (tabs only between TSV fields), and the readers that bypass DMS::Decode take
// the texts the library path takes, to the same degrees. (Their refusals may word the fault
// differently: whole-number D:M:S has its own messages for parts out of range.)
#include "app/cli/calc_batch.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace orvine;
using namespace orvine::calc;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// Valid UTF-8 without control characters other than the tabs `tabs` allows, and one line end,
// at the end.
bool clean_line(std::string_view out, bool tabs)
{
    if (out.empty() || out.back() != '\n')
        return false;
    out.remove_suffix(1);
    for (std::size_t i = 0; i < out.size();) {
        const auto b = static_cast<unsigned char>(out[i]);
        if (b < 0x80) {
            if ((b < 0x20 && !(b == '\t' && tabs)) || b == 0x7F)
                return false;
            ++i;
            continue;
        }
        const std::size_t n = b > 0xF4 ? 0 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
        if (n == 0 || i + n > out.size())
            return false;
        if (b == 0xC2 && static_cast<unsigned char>(out[i + 1]) < 0xA0)
            return false; // a C1 control character
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(out[i + k]) & 0xC0) != 0x80)
                return false;
        i += n;
    }
    return true;
}

void same_angle(std::string_view token, Axis axis)
{
    GlobeAngle fast, general;
    std::string fast_error, general_error;
    const bool read = parse_coordinate(token, axis, "LAT1", fast, fast_error);
    require(parse_coordinate(token, axis, "LAT1", general, general_error, Readers::GeneralOnly)
            == read);
    require(std::memcmp(&fast.degrees, &general.degrees, sizeof fast.degrees) == 0
            && fast.whole_seconds == general.whole_seconds && fast.seconds == general.seconds);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Columns columns[] = {
        {Format::Tsv, Unit::Km, true, true, false},
        {Format::Csv, Unit::Nmi, false, true, false},
        {Format::Json, Unit::Mi, true, false, false},
        {Format::Tsv, Unit::Km, false, true, true},
        {Format::Json, Unit::Nmi, false, true, true},
    };
    static LineCalculator calcs[] = {LineCalculator(columns[0]), LineCalculator(columns[1]),
                                     LineCalculator(columns[2]), LineCalculator(columns[3]),
                                     LineCalculator(columns[4])};
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t number = 1;
    std::string out;
    while (!input.empty()) {
        const std::size_t end = std::min(input.find('\n'), input.size());
        const std::string_view line = input.substr(0, end);
        input.remove_prefix(std::min(end + 1, input.size()));
        for (std::size_t k = 0; k < std::size(calcs); ++k) {
            out.clear();
            calcs[k].line(line, {"fuzz", number}, out);
            require(std::memchr(out.data(), '\n', out.size()) == out.data() + out.size() - 1);
            require(clean_line(out, columns[k].format == Format::Tsv));
        }
        for (std::size_t start = 0; start < line.size();) {
            const std::size_t stop = std::min(line.find_first_of(" \t", start), line.size());
            same_angle(line.substr(start, stop - start), Axis::Latitude);
            same_angle(line.substr(start, stop - start), Axis::Longitude);
            start = stop + 1;
        }
        ++number;
    }
    return 0;
}
