#include "app/cli/calc_batch.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace orvine::calc {

namespace {

// Input is computed in chunks of whole lines of about this many bytes; a batch longer than one
// chunk is large enough for a second thread.
constexpr std::size_t CHUNK_BYTES = 1 << 18;
// A longer line cannot be four values: it gives one ERROR line and the rest of it is skipped.
constexpr std::size_t MAX_LINE_BYTES = 1 << 16;

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

// The window's refusal text on one line, its lines trimmed and joined by one blank, and what
// it means in English.
std::string refusal_text(Refusal refusal)
{
    const std::string message = refusal_message(refusal);
    std::string_view rest = message;
    std::string text;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find_first_of("\r\n"), rest.size());
        std::string_view part = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        while (!part.empty() && part.front() == ' ')
            part.remove_prefix(1);
        while (!part.empty() && part.back() == ' ')
            part.remove_suffix(1);
        if (!part.empty())
            text += (text.empty() ? "" : " ") + std::string(part);
    }
    return text
        + (refusal == Refusal::SamePoint ? " (the same point: it has no bearing)"
                                         : " (exact antipodes: every direction leads there)");
}

// Whole lines of one input, each ending in '\n', and what they gave.
struct Chunk {
    std::string text;
    std::vector<std::size_t> cut_lines; // lines longer than MAX_LINE_BYTES, empty in text
    std::size_t first_line = 1;
    std::string out;
    bool all_computed = true;

    void clear(std::size_t first)
    {
        text.clear();
        cut_lines.clear();
        first_line = first;
        out.clear();
        all_computed = true;
    }
};

enum class Fill { More, End, Failed };

// Reads an input into chunks of whole lines. A line cut short by a read error is dropped; a last
// line without a line end is complete at the end of the input.
class InputReader {
public:
    InputReader(int fd, std::string_view name) : fd_(fd), name_(name) {}

    // Replaces the chunk's lines by the next ones, about CHUNK_BYTES of them: More when the
    // chunk is full, End at the end of the input, Failed (after a message) on a read error.
    Fill fill(Chunk& chunk)
    {
        chunk.clear(next_line_);
        while (chunk.text.size() < CHUNK_BYTES) {
            if (begin_ == end_) {
                const ssize_t got = ::read(fd_, buffer_, sizeof buffer_);
                if (got < 0 && errno == EINTR)
                    continue;
                if (got < 0) {
                    complain(std::string(name_) + ": 読めません (cannot read): "
                             + std::strerror(errno));
                    return Fill::Failed;
                }
                if (got == 0) {
                    if (!partial_.empty() && !skipping_)
                        add_line(chunk, partial_);
                    partial_.clear();
                    return Fill::End;
                }
                begin_ = 0;
                end_ = static_cast<std::size_t>(got);
            }
            const char* start = buffer_ + begin_;
            // Whole lines within the buffer are shorter than MAX_LINE_BYTES: taken at once.
            if (partial_.empty() && !skipping_) {
                if (const auto* last =
                        static_cast<const char*>(::memrchr(start, '\n', end_ - begin_))) {
                    chunk.text.append(start, last + 1);
                    next_line_ += static_cast<std::size_t>(std::count(start, last + 1, '\n'));
                    begin_ += static_cast<std::size_t>(last + 1 - start);
                    continue;
                }
            }
            const auto* nl = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
            const std::size_t len = nl ? static_cast<std::size_t>(nl - start) : end_ - begin_;
            begin_ += nl ? len + 1 : len;
            if (skipping_) {
                skipping_ = !nl;
            } else if (partial_.size() + len > MAX_LINE_BYTES) {
                chunk.cut_lines.push_back(next_line_ - chunk.first_line);
                add_line(chunk, {});
                partial_.clear();
                skipping_ = !nl;
            } else if (!nl) {
                partial_.append(start, len);
            } else if (partial_.empty()) {
                add_line(chunk, {start, len});
            } else {
                partial_.append(start, len);
                add_line(chunk, partial_);
                partial_.clear();
            }
        }
        return Fill::More;
    }

private:
    void add_line(Chunk& chunk, std::string_view line)
    {
        chunk.text += line;
        chunk.text += '\n';
        ++next_line_;
    }

    int fd_;
    std::string_view name_;
    char buffer_[MAX_LINE_BYTES];
    std::size_t begin_ = 0, end_ = 0; // the bytes of buffer_ not yet taken
    std::string partial_;             // a line whose end is not read yet
    bool skipping_ = false;           // in the rest of a line that was too long
    std::size_t next_line_ = 1;
};

void compute_chunk(Chunk& chunk, LineCalculator& calc, const Columns& columns,
                   std::string_view name)
{
    std::size_t pos = 0, index = 0;
    auto cut = chunk.cut_lines.begin();
    while (pos < chunk.text.size()) {
        const std::size_t end = chunk.text.find('\n', pos);
        std::string_view line(chunk.text.data() + pos, end - pos);
        if (cut != chunk.cut_lines.end() && *cut == index) {
            append_error(chunk.out, columns, "行が長すぎます (line too long)");
            chunk.all_computed = false;
            ++cut;
        } else {
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            chunk.all_computed &= calc.line(line, {name, chunk.first_line + index}, chunk.out);
        }
        pos = end + 1;
        ++index;
    }
}

enum class InputResult { Read, ReadFailed, WriteFailed };

// Computes every line of one input. While chunks come full, two are in work at a time: the
// other thread computes one while this one reads and computes the next; both are then written
// in order, so that at most two chunks and their output are held.
InputResult run_input(int fd, std::string_view name, const Columns& columns, PlaceNames& names,
                      bool& all_computed)
{
    InputReader reader(fd, name);
    Chunk chunks[2];
    LineCalculator calcs[2] = {LineCalculator(columns, &names), LineCalculator(columns, &names)};
    for (;;) {
        Fill fill = reader.fill(chunks[0]);
        int used = 1;
        if (fill == Fill::More) {
            std::thread other;
            try {
                other = std::thread([&] { compute_chunk(chunks[0], calcs[0], columns, name); });
            } catch (const std::system_error&) { // no thread to be had: this one does it
                compute_chunk(chunks[0], calcs[0], columns, name);
            }
            fill = reader.fill(chunks[1]);
            compute_chunk(chunks[1], calcs[1], columns, name);
            if (other.joinable())
                other.join();
            used = 2;
        } else {
            compute_chunk(chunks[0], calcs[0], columns, name);
        }
        for (int i = 0; i < used; ++i) {
            all_computed &= chunks[i].all_computed;
            if (!write_output(chunks[i].out))
                return InputResult::WriteFailed;
        }
        if (fill != Fill::More)
            return fill == Fill::End ? InputResult::Read : InputResult::ReadFailed;
    }
}

} // namespace

void complain(std::string_view text)
{
    const std::string line = "orvine-calc: " + escape_controls(text) + "\n";
    write_all(STDERR_FILENO, line.data(), line.size());
}

bool write_output(std::string_view text)
{
    if (write_all(STDOUT_FILENO, text.data(), text.size()))
        return true;
    complain(std::string("出力を書けません (cannot write the output): ") + std::strerror(errno));
    return false;
}

Outcome LineCalculator::compute(const std::string_view (&tokens)[4], std::string& out)
{
    const bool read = columns_.direct ? parse_direct(tokens, query_, error_)
                                      : parse_points(tokens, dep_, dst_, error_);
    return read ? compute_read(out) : Outcome::Malformed;
}

Outcome LineCalculator::compute(const std::vector<Operand>& operands, std::string& out)
{
    switch (read_places(operands, columns_.direct, names_, dep_, dst_, query_, error_)) {
    case PlaceLookup::Found:
        break;
    case PlaceLookup::Malformed:
        return Outcome::Malformed;
    case PlaceLookup::NoGazetteer:
        return Outcome::NoGazetteer;
    }
    return compute_read(out);
}

bool LineCalculator::line(std::string_view text, const LinePlace& place, std::string& out)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos || text[first] == '#') {
        append_kept_line(out, columns_, text);
        return true;
    }
    if (text.find('\0') != std::string_view::npos) {
        error_ = std::string(place.input_name) + ":" + std::to_string(place.number)
            + ": NUL バイトがあります (the line holds a NUL byte)";
    } else if (holds_names(text)) {
        if (split_operands(text, operands_, error_) && compute(operands_, out) == Outcome::Computed)
            return true;
    } else {
        const bool read = columns_.direct ? parse_direct_line(text, query_, error_)
                                          : parse_line(text, dep_, dst_, error_);
        if (read && compute_read(out) == Outcome::Computed)
            return true;
    }
    append_error(out, columns_, error_);
    return false;
}

Outcome LineCalculator::compute_read(std::string& out)
{
    if (columns_.direct) {
        const double metres = query_.distance * km_per_unit(columns_.unit) * 1000;
        const double lat = query_.from.lat.degrees, lon = query_.from.lon.degrees;
        append_direct_record(
            out, columns_, destination(Figure::Sphere, lat, lon, query_.azimuth, metres),
            columns_.ellipsoid ? destination(Figure::Grs80, lat, lon, query_.azimuth, metres)
                               : Destination{});
        return Outcome::Computed;
    }
    calculate_globe(dep_, dst_, columns_.final_bearing, result_);
    if (result_.refusal != Refusal::None) {
        error_ = refusal_text(result_.refusal);
        return Outcome::Refused;
    }
    append_record(out, columns_, result_,
                  columns_.ellipsoid ? ellipsoid_figures(dep_, dst_) : EllipsoidFigures{});
    return Outcome::Computed;
}

int run_batch(const std::vector<std::string>& inputs, const Columns& columns, PlaceNames& names)
{
    std::string header;
    append_header(header, columns);
    if (!write_output(header))
        return EXIT_IO;
    bool all_computed = true;
    bool all_read = true;
    for (const std::string& input : inputs) {
        const bool standard_input = input == "-";
        const int fd = standard_input ? STDIN_FILENO : ::open(input.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            complain(input + ": 開けません (cannot open): " + std::strerror(errno));
            all_read = false;
            continue;
        }
        const InputResult r = run_input(fd, standard_input ? "標準入力 (standard input)" : input,
                                        columns, names, all_computed);
        if (!standard_input)
            ::close(fd);
        if (r == InputResult::WriteFailed)
            return EXIT_IO;
        all_read &= r == InputResult::Read;
    }
    return !all_read || names.unavailable() ? EXIT_IO : all_computed ? 0 : EXIT_SOME_LINES_FAILED;
}

} // namespace orvine::calc
