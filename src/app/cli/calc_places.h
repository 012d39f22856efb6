#pragma once
// Place names wherever the calculator takes a coordinate pair: `orvine-calc 東京 ニューヨーク`,
// `orvine-calc 札幌 35:41:22 139:41:30`, and the same in batch lines, where a name with blanks
// is written in double quotes ("New York"). A name stands for the gazetteer's point of the
// place, in its decimal degrees. The gazetteer is read at the first name a run needs, so that
// a run of numbers never pays for it.
//
// Which place a name means:
// - Whole-name matches first: places whose Japanese or English name is the name, compared as
//   the search compares (case, accents, kana and width folded), or is the name followed by one
//   of the suffixes 市 区 町 村 都 府 県 (東京 is 東京都, 札幌 is 札幌市).
// - Only where there is none, the places whose name holds the name (ニューヨ).
// - Places at one point count as one (大阪市 and 大阪府, whose point is its office's city).
// - One place is the answer; several are ambiguous, an error that lists them, unless --first
//   takes the most populous.
// - A qualifier in brackets, as the error lists the places, narrows them: each of its
//   comma-separated parts must be part of the place's prefecture or state, or country
//   (ロンドン（英国）, Springfield (イリノイ州), 府中町（広島県）).
#include "app/cli/calc_input.h"
#include "search/gazetteer.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace orvine::calc {

// An operand of the command line or of a batch line.
struct Operand {
    std::string_view text;
    bool is_name = false; // quoted in a line, or given with --place: never read as a coordinate
};

// Whether a line (without its line end) has a field that is not a coordinate: a name, quoted
// or not. Such a line is read by split_operands and read_places; any other as four values.
bool holds_names(std::string_view line);

// Splits a line at blanks and tabs. A field that starts with a double quote runs to the next
// one and is a name, blanks and all; the closing quote ends the field. False, with `error`,
// for a quote left open or followed by more than a blank.
bool split_operands(std::string_view line, std::vector<Operand>& operands, std::string& error);

enum class PlaceLookup { Found, Malformed, NoGazetteer };

// What a name gives: its point, or the reason (one line) why it gives none.
struct PlaceAnswer {
    PlaceLookup lookup = PlaceLookup::Malformed;
    GlobePoint point;
    std::string error;
};

// Answers by the names as given, up to a bound: past it, the table starts again empty.
class AnswerTable {
public:
    // The answer kept for `name`, whose hash is `hash`; nullptr if there is none.
    const PlaceAnswer* find(std::string_view name, std::uint64_t hash) const;
    // Keeps the answer for `name` (not kept already), unless the name is very long.
    void add(std::string_view name, std::uint64_t hash, const PlaceAnswer& answer);

private:
    std::size_t free_slot(std::uint64_t hash) const;

    // Open addressing with linear probing in a table of a power of two at most half full; a
    // slot holds a name's hash, its place in names_, and 1 + its answer's index (0: empty).
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t name_at = 0, name_size = 0, answer = 0;
    };
    std::vector<Slot> slots_;
    std::string names_;
    std::vector<PlaceAnswer> answers_;
};

// Looks place names up in the installed gazetteer. One object serves every thread of a run and
// keeps their answers, so that a name is looked up once.
class PlaceNames {
public:
    // `take_first`: an ambiguous name means its most populous place (--first).
    explicit PlaceNames(bool take_first) : take_first_(take_first) {}

    // The point of a name. Malformed, with a message in `error`, when the name is not a
    // usable query or names no place or several; NoGazetteer when the gazetteer cannot be
    // read (said once on standard error; `error` says it for the line).
    PlaceLookup find(std::string_view name, GlobePoint& point, std::string& error);

    // The gazetteer, read at the first call; nullptr, after one message on standard error,
    // when it cannot be read.
    const Gazetteer* gazetteer();

    // A name was looked up and the gazetteer could not be read. Asked when every thread that
    // looks names up has ended.
    bool unavailable() const { return load_ && !load_->ok(); }

private:
    PlaceAnswer look_up(std::string_view name);

    bool take_first_;
    std::once_flag loading_;
    std::unique_ptr<GazetteerLoad> load_;
    std::mutex answers_mutex_;
    AnswerTable answers_;
};

// The operands of one calculation: two places, or with `direct` one place, AZIMUTH and
// DISTANCE. A place is a name (one operand: is_name, or not looking like a coordinate) or two
// coordinates LAT LON. Messages name the operand as LAT1, LON2, PLACE1 ... (LAT, LON, PLACE,
// AZIMUTH, DISTANCE with `direct`). `names` may be null: then a name cannot be looked up.
PlaceLookup read_places(const std::vector<Operand>& operands, bool direct, PlaceNames* names, GlobePoint& dep,
                        GlobePoint& dst, DirectQuery& query, std::string& error);

} // namespace orvine::calc
