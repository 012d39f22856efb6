#include "app/cli/calc_places.h"

#include "app/cli/calc_batch.h"
#include "search/name_folding.h"

#include <algorithm>
#include <limits>

namespace orvine::calc {

namespace {

// Names are kept with their answers up to this length and this many; a batch of ever new
// names clears them and starts again.
constexpr std::size_t MAX_KEPT_NAME_BYTES = 256;
constexpr std::size_t MAX_KEPT_ANSWERS = 65536;
// Substring matches gathered at most, and places an ambiguity lists at most.
constexpr std::size_t MAX_PART_MATCHES = 200;
constexpr std::size_t MAX_LISTED = 10;
constexpr std::size_t MAX_SHOWN_NAME_BYTES = 60;

bool is_blank(char ch)
{
    return ch == ' ' || ch == '\t';
}

std::string english_of(GazetteerProblem problem)
{
    switch (problem) {
    case GazetteerProblem::NotFound:
        return "the gazetteer is not installed";
    case GazetteerProblem::CannotOpen:
    case GazetteerProblem::NotARegularFile:
        return "the gazetteer cannot be read";
    case GazetteerProblem::TooLarge:
    case GazetteerProblem::NotAGazetteer:
    case GazetteerProblem::UnsupportedVersion:
    case GazetteerProblem::CutShort:
    case GazetteerProblem::ChecksumMismatch:
    case GazetteerProblem::Damaged:
        break;
    }
    return "the gazetteer is damaged";
}

std::string english_of(QueryProblem problem)
{
    switch (problem) {
    case QueryProblem::InvalidUtf8:
        return "not UTF-8";
    case QueryProblem::ControlCharacter:
        return "it holds a control character";
    case QueryProblem::TooLong:
        return "longer than " + std::to_string(Gazetteer::MAX_QUERY_CHARACTERS) + " characters";
    case QueryProblem::None:
        break;
    }
    return {};
}

// The name without a trailing qualifier in brackets, and the qualifier's parts, each folded
// to a search key: "ロンドン（英国）" is ロンドン and {英国}, "Springfield (イリノイ州, アメリカ)"
// Springfield and {イリノイ州, アメリカ}.
std::string_view split_qualifier(std::string_view name, std::vector<std::string>& parts)
{
    parts.clear();
    for (const auto& [open, close] : {std::pair{"（", "）"}, std::pair{"(", ")"}}) {
        const std::string_view closing(close);
        const std::size_t at = name.rfind(open);
        if (at == std::string_view::npos || at == 0 || name.size() < closing.size()
            || name.substr(name.size() - closing.size()) != closing)
            continue;
        std::string_view inside = name.substr(at + std::string_view(open).size());
        inside.remove_suffix(closing.size());
        while (!inside.empty()) {
            std::size_t end = inside.size(), skip = 0;
            for (std::string_view comma : {",", "，", "、"}) {
                const std::size_t found = inside.find(comma);
                if (found < end)
                    end = found, skip = comma.size();
            }
            std::string key;
            if (fold_for_search(inside.substr(0, end), key) == FoldProblem::none && !key.empty())
                parts.push_back(key);
            inside.remove_prefix(std::min(end + skip, inside.size()));
        }
        return name.substr(0, at);
    }
    return name;
}

bool fits_qualifier(const PlaceMatch& place, const std::vector<std::string>& parts)
{
    std::string region, country;
    fold_for_search(place.region, region);
    fold_for_search(place.country, country);
    return std::all_of(parts.begin(), parts.end(), [&](const std::string& part) {
        return region.find(part) != std::string::npos || country.find(part) != std::string::npos;
    });
}

// Keeps the places that fit the qualifier, the most populous first, one of each point.
void narrow(std::vector<PlaceMatch>& places, const std::vector<std::string>& qualifier)
{
    if (!qualifier.empty())
        places.erase(std::remove_if(places.begin(), places.end(),
                                    [&](const PlaceMatch& p) { return !fits_qualifier(p, qualifier); }),
                     places.end());
    if (places.size() < 2)
        return;
    std::stable_sort(places.begin(), places.end(),
                     [](const PlaceMatch& a, const PlaceMatch& b) { return a.population > b.population; });
    std::vector<PlaceMatch> kept;
    for (PlaceMatch& place : places) {
        if (std::none_of(kept.begin(), kept.end(), [&](const PlaceMatch& k) {
                return k.latitude == place.latitude && k.longitude == place.longitude;
            }))
            kept.push_back(std::move(place));
    }
    places = std::move(kept);
}

std::string listed(const std::vector<PlaceMatch>& places, bool more)
{
    std::string text;
    for (std::size_t i = 0; i < places.size() && i < MAX_LISTED; ++i)
        text += (i == 0 ? "" : ", ") + places[i].display_text;
    if (more || places.size() > MAX_LISTED)
        text += ", …";
    return text;
}

// The name as a message shows it: a long one cut after MAX_SHOWN_NAME_BYTES, at a character.
std::string shortened(std::string_view name)
{
    if (name.size() <= MAX_SHOWN_NAME_BYTES)
        return std::string(name);
    std::size_t end = MAX_SHOWN_NAME_BYTES;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end;
    return std::string(name.substr(0, end)) + "…";
}

} // namespace

bool holds_names(std::string_view line)
{
    for (std::size_t i = 0; i < line.size();) {
        if (is_blank(line[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < line.size() && !is_blank(line[i]))
            ++i;
        if (!looks_like_coordinate(line.substr(start, i - start)))
            return true;
    }
    return false;
}

bool split_operands(std::string_view line, std::vector<Operand>& operands, std::string& error)
{
    operands.clear();
    for (std::size_t i = 0; i < line.size();) {
        if (is_blank(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos) {
                error = "引用符が閉じていません (a double quote is not closed): " + std::string(line.substr(i));
                return false;
            }
            if (close + 1 < line.size() && !is_blank(line[close + 1])) {
                error = "閉じた引用符の後には空白が要ります (a closing double quote must be followed by a blank): "
                    + std::string(line.substr(i));
                return false;
            }
            operands.push_back({line.substr(i + 1, close - i - 1), true});
            i = close + 1;
            continue;
        }
        const std::size_t start = i;
        while (i < line.size() && !is_blank(line[i]))
            ++i;
        operands.push_back({line.substr(start, i - start), false});
    }
    return true;
}

const Gazetteer* PlaceNames::gazetteer()
{
    std::call_once(loading_, [this] {
        load_ = std::make_unique<GazetteerLoad>(load_installed_gazetteer());
        if (!load_->ok())
            complain(describe(*load_->error) + " 地名は使えません (place names cannot be looked up: "
                     + english_of(load_->error->problem) + ")");
    });
    return load_->ok() ? &load_->gazetteer : nullptr;
}

const PlaceAnswer* AnswerTable::find(std::string_view name, std::uint64_t hash) const
{
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask; !slots_.empty() && slots_[at].answer != 0; at = (at + 1) & mask) {
        const Slot& slot = slots_[at];
        if (slot.hash == hash && std::string_view(names_).substr(slot.name_at, slot.name_size) == name)
            return &answers_[slot.answer - 1];
    }
    return nullptr;
}

void AnswerTable::add(std::string_view name, std::uint64_t hash, const PlaceAnswer& answer)
{
    if (name.size() > MAX_KEPT_NAME_BYTES)
        return;
    if (answers_.size() >= MAX_KEPT_ANSWERS) {
        slots_.clear();
        names_.clear();
        answers_.clear();
    }
    answers_.push_back(answer);
    if (2 * answers_.size() > slots_.size()) {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(std::max<std::size_t>(1024, 2 * old.size()), Slot());
        for (const Slot& slot : old) {
            if (slot.answer != 0)
                slots_[free_slot(slot.hash)] = slot;
        }
    }
    slots_[free_slot(hash)] = {hash, static_cast<std::uint32_t>(names_.size()), static_cast<std::uint32_t>(name.size()),
                               static_cast<std::uint32_t>(answers_.size())};
    names_ += name;
}

std::size_t AnswerTable::free_slot(std::uint64_t hash) const
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    while (slots_[at].answer != 0)
        at = (at + 1) & mask;
    return at;
}

PlaceLookup PlaceNames::find(std::string_view name, GlobePoint& point, std::string& error)
{
    const std::uint64_t hash = std::hash<std::string_view>()(name);
    {
        std::lock_guard<std::mutex> lock(answers_mutex_);
        if (const PlaceAnswer* known = answers_.find(name, hash)) {
            point = known->point;
            if (known->lookup != PlaceLookup::Found)
                error = known->error;
            return known->lookup;
        }
    }
    const PlaceAnswer found = look_up(name);
    point = found.point;
    error = found.error;
    std::lock_guard<std::mutex> lock(answers_mutex_);
    if (!answers_.find(name, hash))
        answers_.add(name, hash, found);
    return found.lookup;
}

PlaceAnswer PlaceNames::look_up(std::string_view name)
{
    PlaceAnswer answer;
    const Gazetteer* places = gazetteer();
    if (!places) {
        answer.lookup = PlaceLookup::NoGazetteer;
        answer.error = "地名データがないため地名は使えません (no gazetteer: place names cannot be looked up)";
        return answer;
    }
    std::vector<std::string> qualifier;
    const std::string_view base = split_qualifier(name, qualifier);
    SearchOutcome whole = places->find_whole_name(base);
    if (whole.problem != QueryProblem::None) {
        answer.error = describe(whole.problem) + " (not a place name: " + english_of(whole.problem) + ")";
        return answer;
    }
    std::vector<PlaceMatch> found = std::move(whole.matches);
    narrow(found, qualifier);
    const bool whole_names = !found.empty();
    bool more = false;
    if (!whole_names) {
        const std::size_t at_most = qualifier.empty() ? MAX_PART_MATCHES : std::numeric_limits<std::size_t>::max();
        found = places->search(base, {}, at_most).matches;
        more = found.size() == at_most;
        narrow(found, qualifier);
    }
    if (found.empty()) {
        answer.error = "地名が見つかりません (no place of this name; --search NAME lists the places whose name "
                       "holds NAME)";
        return answer;
    }
    if (found.size() > 1 && !take_first_) {
        const std::string count = more ? "多数" : std::to_string(found.size()) + " か所";
        const std::string english = more ? "many" : std::to_string(found.size());
        answer.error = whole_names
            ? "この名前の地点が " + count + "あります。どれかを書くか --first で人口の最も多い所に (ambiguous: "
                + english + " places of this name; write one of these, or --first for the most populous): "
            : "この名前を含む地点が " + count + "あります。どれかを書くか --first で人口の最も多い所に "
                "(ambiguous: " + english + " places whose name holds this; write one of these, or --first for the "
                "most populous): ";
        answer.error += listed(found, more);
        return answer;
    }
    answer.lookup = PlaceLookup::Found;
    answer.point.lat = angle_from_degrees(found.front().latitude);
    answer.point.lon = angle_from_degrees(found.front().longitude);
    return answer;
}

PlaceLookup read_places(const std::vector<Operand>& operands, bool direct, PlaceNames* names, GlobePoint& dep,
                        GlobePoint& dst, DirectQuery& query, std::string& error)
{
    static const char* const ARG_NAMES[2][3] = {{"LAT1", "LON1", "PLACE1"}, {"LAT2", "LON2", "PLACE2"}};
    static const char* const DIRECT_ARG_NAMES[3] = {"LAT", "LON", "PLACE"};
    GlobePoint* const points[2] = {direct ? &query.from : &dep, &dst};
    const std::size_t place_count = direct ? 1 : 2;
    std::size_t at = 0, read = 0;
    for (std::size_t k = 0; k < place_count && at < operands.size(); ++k, ++read) {
        const char* const* arg = direct ? DIRECT_ARG_NAMES : ARG_NAMES[k];
        const Operand& operand = operands[at];
        if (operand.is_name || !looks_like_coordinate(operand.text)) {
            std::string why = "地名は使えません (place names cannot be looked up here)";
            const PlaceLookup lookup = names ? names->find(operand.text, *points[k], why) : PlaceLookup::NoGazetteer;
            if (lookup != PlaceLookup::Found) {
                error = std::string(arg[2]) + " \"" + shortened(operand.text) + "\": " + why;
                return lookup;
            }
            ++at;
            continue;
        }
        if (at + 1 == operands.size())
            break;
        if (!parse_coordinate(operand.text, Axis::Latitude, arg[0], points[k]->lat, error)
            || !parse_coordinate(operands[at + 1].text, Axis::Longitude, arg[1], points[k]->lon, error))
            return PlaceLookup::Malformed;
        at += 2;
    }
    if (read != place_count || operands.size() != at + (direct ? 2 : 0)) {
        error = direct ? "地点 (地名か LAT LON) と AZIMUTH DISTANCE が必要です (expected a place, as a name or LAT "
                         "LON, then AZIMUTH and DISTANCE)"
                       : "地点が 2 つ必要です (expected two places, each a name or LAT LON)";
        error += ", found " + std::to_string(operands.size()) + " operands";
        return PlaceLookup::Malformed;
    }
    if (direct && !parse_azimuth_distance(operands[at].text, operands[at + 1].text, query, error))
        return PlaceLookup::Malformed;
    return PlaceLookup::Found;
}

} // namespace orvine::calc
