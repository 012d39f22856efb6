#pragma once
// The calculator's work on lines: one line of input gives one line of output, and the lines of
// every input come out in their order, with messages on standard error.
#include "app/cli/calc_input.h"
#include "app/cli/calc_output.h"
#include "app/cli/calc_places.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvine::calc {

// The exit statuses.
constexpr int EXIT_SOME_LINES_FAILED = 1; // a batch line gave an ERROR line
constexpr int EXIT_MALFORMED = 2;         // the arguments (options or the four operands)
constexpr int EXIT_REFUSED = 3;           // four operands naming the same point or antipodes
constexpr int EXIT_IO = 4;                // an input could not be read or the output written

// "orvine-calc: text" as one line on standard error, the text escaped by escape_controls.
void complain(std::string_view text);

// Writes all of `text` to standard output; false (and a message) when that failed.
bool write_output(std::string_view text);

// Where a line comes from, for a message about the line as a whole.
struct LinePlace {
    std::string_view input_name;
    std::size_t number = 0; // from 1
};

// NoGazetteer: a place name was given and the gazetteer could not be read.
enum class Outcome { Computed, Malformed, Refused, NoGazetteer };

// Computes records one at a time, keeping its buffers between them: one per thread.
class LineCalculator {
public:
    // `names` looks up the place names of lines; without it a name gives an ERROR line.
    explicit LineCalculator(const Columns& columns, PlaceNames* names = nullptr) : columns_(columns), names_(names) {}

    // The record of the four operands of a run; on Malformed or Refused the reason, on one
    // line, is in error().
    Outcome compute(const std::string_view (&tokens)[4], std::string& out);

    // The same for operands with place names (see read_places).
    Outcome compute(const std::vector<Operand>& operands, std::string& out);

    // One input line (without its line end) into one output line: a record, a kept line (blank
    // or comment) or an ERROR line. False for an ERROR line. A line with a field that is not a
    // coordinate is read as places (see calc_places.h), any other as four values.
    bool line(std::string_view text, const LinePlace& place, std::string& out);

    const std::string& error() const { return error_; }

private:
    Outcome compute_read(std::string& out);

    Columns columns_;
    PlaceNames* names_;
    std::vector<Operand> operands_;
    GlobePoint dep_, dst_;
    DirectQuery query_;
    GlobeCalculation result_;
    std::string error_;
};

// Computes every line of the inputs in turn ("-" is standard input) onto standard output, after
// the CSV header. A large input is computed in blocks of lines on two threads, written in order.
// Returns the exit status: EXIT_IO if an input could not be opened or read (the others are still
// computed), the gazetteer that a line's place name needed could not be read (its lines are
// ERROR lines), or the output failed (the run stops); else EXIT_SOME_LINES_FAILED if a line gave
// an ERROR line, else 0.
int run_batch(const std::vector<std::string>& inputs, const Columns& columns, PlaceNames& names);

} // namespace orvine::calc
