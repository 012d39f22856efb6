#include "search/gazetteer.h"

#include "search/name_folding.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <unordered_map>

namespace orvine {

namespace {

constexpr std::string_view MAGIC = "ORVINE-GAZETTEER\t";
constexpr std::string_view VERSION = "1";
constexpr std::string_view CLOSING = "END\t";
constexpr std::size_t MAX_NAME_BYTES = 200;
constexpr std::size_t MAX_FIELDS = 8;

// Splits a line at its tabs; false if it has more than MAX_FIELDS fields.
bool split_fields(std::string_view line, std::array<std::string_view, MAX_FIELDS>& fields, std::size_t& count)
{
    count = 0;
    for (;;) {
        if (count == MAX_FIELDS)
            return false;
        const std::size_t tab = line.find('\t');
        fields[count++] = line.substr(0, tab);
        if (tab == std::string_view::npos)
            return true;
        line.remove_prefix(tab + 1);
    }
}

// Decimal digits only (no sign, no blank) of a value that fits.
bool parse_unsigned(std::string_view s, std::uint32_t& value)
{
    if (s.empty() || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size();
}

// "-12.345678": an optional minus, one to three digits, and up to six decimals after a
// point; read as millionths of a degree without any rounding or locale.
bool parse_degrees(std::string_view s, std::int32_t limit_degrees, std::int32_t& micro)
{
    const bool negative = !s.empty() && s.front() == '-';
    if (negative)
        s.remove_prefix(1);
    const std::size_t point = s.find('.');
    const std::string_view whole = s.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : s.substr(point + 1);
    const auto digits = [](std::string_view d) {
        return std::all_of(d.begin(), d.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || whole.size() > 3 || !digits(whole) || fraction.size() > 6 || !digits(fraction)
        || (point != std::string_view::npos && fraction.empty()))
        return false;
    std::int32_t value = 0;
    for (char c : whole)
        value = value * 10 + (c - '0');
    for (std::size_t i = 0; i < 6; ++i)
        value = value * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    if (value > limit_degrees * 1'000'000)
        return false;
    micro = negative ? -value : value;
    return true;
}

// A name of the file: UTF-8 without control characters, at most MAX_NAME_BYTES long;
// `key` receives its search key.
bool read_name(std::string_view s, bool may_be_empty, std::string& key)
{
    return (may_be_empty || !s.empty()) && s.size() <= MAX_NAME_BYTES && fold_for_search(s, key) == FoldProblem::none;
}

} // namespace

// Reads the lines of a gazetteer in order; the first fault ends the reading.
struct GazetteerParser {
    GazetteerLoad load;
    std::string path;
    std::string key;

    GazetteerLoad fail(GazetteerProblem problem, std::size_t line)
    {
        GazetteerLoad failed;
        failed.error = GazetteerError{problem, path, line};
        return failed;
    }

    bool read_country(const std::array<std::string_view, MAX_FIELDS>& f, std::size_t n)
    {
        const std::string_view code = f[1];
        if (n != 4 || code.size() != 2
            || !std::all_of(code.begin(), code.end(), [](char c) { return c >= 'A' && c <= 'Z'; })
            || !read_name(f[2], false, key) || !read_name(f[3], false, key))
            return false;
        load.gazetteer.countries_.push_back({std::string(code), std::string(f[2])});
        return true;
    }

    bool read_region(const std::array<std::string_view, MAX_FIELDS>& f, std::size_t n)
    {
        std::uint32_t country;
        if (n != 4 || !parse_unsigned(f[1], country) || country >= load.gazetteer.countries_.size()
            || !read_name(f[2], true, key) || !read_name(f[3], false, key))
            return false;
        load.gazetteer.regions_.push_back({country, std::string(f[2]), std::string(f[3])});
        return true;
    }

    bool read_place(const std::array<std::string_view, MAX_FIELDS>& f, std::size_t n)
    {
        Gazetteer& g = load.gazetteer;
        Gazetteer::Entry e{};
        std::uint32_t region = 0;
        if (n != 8 || !parse_unsigned(f[1], e.country) || e.country >= g.countries_.size())
            return false;
        if (f[2].empty()) {
            e.region = -1;
        } else if (!parse_unsigned(f[2], region) || region >= g.regions_.size()
                   || g.regions_[region].country != e.country) {
            return false;
        } else {
            e.region = static_cast<std::int32_t>(region);
        }
        if (!parse_degrees(f[5], 90, e.latitude_micro) || !parse_degrees(f[6], 180, e.longitude_micro)
            || !parse_unsigned(f[7], e.population))
            return false;
        g.key_starts_.push_back(static_cast<std::uint32_t>(g.keys_.size()));
        for (std::size_t field : {3, 4}) {
            if (!read_name(f[field], field == 3, key))
                return false;
            g.keys_ += key;
            g.keys_ += '\n';
        }
        e.japanese = f[3];
        e.english = f[4];
        g.entries_.push_back(std::move(e));
        return true;
    }

    GazetteerLoad parse(std::string_view bytes)
    {
        const std::size_t header_end = bytes.find('\n');
        if (bytes.substr(0, MAGIC.size()) != MAGIC || header_end == std::string_view::npos)
            return fail(GazetteerProblem::NotAGazetteer, 1);
        if (bytes.substr(MAGIC.size(), header_end - MAGIC.size()) != VERSION)
            return fail(GazetteerProblem::UnsupportedVersion, 1);
        if (bytes.back() != '\n')
            return fail(GazetteerProblem::CutShort, 0);
        const std::size_t closing_start = bytes.rfind('\n', bytes.size() - 2) + 1;
        const std::string_view body = bytes.substr(0, closing_start);
        const std::size_t closing_line = static_cast<std::size_t>(std::count(body.begin(), body.end(), '\n')) + 1;
        const std::string_view closing = bytes.substr(closing_start, bytes.size() - 1 - closing_start);
        if (closing.substr(0, CLOSING.size()) != CLOSING)
            return fail(GazetteerProblem::CutShort, 0);

        std::array<std::string_view, MAX_FIELDS> f;
        std::size_t n;
        std::uint32_t places = 0;
        std::uint32_t checksum = 0;
        if (!split_fields(closing, f, n) || n != 3 || !parse_unsigned(f[1], places) || f[2].size() != 8
            || std::from_chars(f[2].data(), f[2].data() + 8, checksum, 16).ptr != f[2].data() + 8)
            return fail(GazetteerProblem::Damaged, closing_line);
        if (checksum != gazetteer_checksum(body))
            return fail(GazetteerProblem::ChecksumMismatch, 0);

        // The closing line's count bounds the reservation only as far as the bytes could hold it.
        load.gazetteer.entries_.reserve(std::min<std::size_t>(places, body.size() / 16));
        load.gazetteer.key_starts_.reserve(load.gazetteer.entries_.capacity() + 1);
        load.gazetteer.keys_.reserve(body.size() / 4);
        int section = 0; // countries, then regions, then places
        std::size_t line = 1;
        for (std::size_t at = header_end + 1; at < body.size();) {
            ++line;
            const std::size_t end = body.find('\n', at);
            const std::string_view text = body.substr(at, end - at);
            at = end + 1;
            const std::string_view tag = text.substr(0, 2);
            const int kind = tag == "C\t" ? 0 : tag == "R\t" ? 1 : tag == "P\t" ? 2 : -1;
            if (kind < section || !split_fields(text, f, n))
                return fail(GazetteerProblem::Damaged, line);
            section = kind;
            const bool read = kind == 0 ? read_country(f, n) : kind == 1 ? read_region(f, n) : read_place(f, n);
            if (!read)
                return fail(GazetteerProblem::Damaged, line);
        }
        if (places != load.gazetteer.entries_.size())
            return fail(GazetteerProblem::Damaged, closing_line);

        Gazetteer& g = load.gazetteer;
        g.key_starts_.push_back(static_cast<std::uint32_t>(g.keys_.size()));
        g.decide_disambiguation();
        g.index_whole_names();
        return std::move(load);
    }
};

std::uint32_t gazetteer_checksum(std::string_view bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes)
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

GazetteerLoad parse_gazetteer(std::string_view bytes, const std::string& path)
{
    GazetteerParser parser;
    parser.path = path;
    return parser.parse(bytes);
}

GazetteerLoad load_gazetteer(const std::string& path)
{
    GazetteerParser parser;
    parser.path = path;
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status))
        return parser.fail(GazetteerProblem::CannotOpen, 0);
    if (!std::filesystem::is_regular_file(status))
        return parser.fail(GazetteerProblem::NotARegularFile, 0);
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > Gazetteer::MAX_GAZETTEER_BYTES)
        return parser.fail(GazetteerProblem::TooLarge, 0);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return parser.fail(GazetteerProblem::CannotOpen, 0);
    // Read in pieces up to one past the limit, so that a file that grew meanwhile is refused
    // too, without ever holding more than the limit.
    std::string bytes;
    bytes.reserve(ec ? 0 : static_cast<std::size_t>(size));
    std::array<char, 65536> piece;
    while (in && bytes.size() <= Gazetteer::MAX_GAZETTEER_BYTES) {
        in.read(piece.data(), piece.size());
        bytes.append(piece.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad())
        return parser.fail(GazetteerProblem::CannotOpen, 0);
    if (bytes.size() > Gazetteer::MAX_GAZETTEER_BYTES)
        return parser.fail(GazetteerProblem::TooLarge, 0);
    return parser.parse(bytes);
}

// Namesakes are entries whose Japanese or English search keys are equal, taken together
// through any chain of such equalities. A Japanese entry shows its prefecture (a prefecture
// has none, and its name is its own); any other shows its country, and its state too where a
// namesake lies in the same country.
void Gazetteer::decide_disambiguation()
{
    std::vector<std::uint32_t> parent(entries_.size());
    std::iota(parent.begin(), parent.end(), 0u);
    const auto root = [&](std::uint32_t i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    std::unordered_map<std::string_view, std::uint32_t> first_with_key;
    first_with_key.reserve(entries_.size() * 2);
    const std::string_view keys(keys_);
    for (std::uint32_t i = 0; i < entries_.size(); ++i) {
        const std::string_view both = keys.substr(key_starts_[i], key_starts_[i + 1] - key_starts_[i] - 1);
        const std::size_t split = both.find('\n');
        for (std::string_view key : {both.substr(0, split), both.substr(split + 1)}) {
            if (key.empty())
                continue;
            const auto [it, inserted] = first_with_key.emplace(key, i);
            if (!inserted)
                parent[root(i)] = root(it->second);
        }
    }
    // How many members of each group lie in each country; singletons need no count.
    std::vector<std::uint32_t> group_size(entries_.size());
    for (std::uint32_t i = 0; i < entries_.size(); ++i)
        ++group_size[root(i)];
    const auto group_and_country = [&](std::uint32_t i) {
        return (std::uint64_t{root(i)} << 32) | entries_[i].country;
    };
    std::unordered_map<std::uint64_t, std::uint32_t> in_country;
    for (std::uint32_t i = 0; i < entries_.size(); ++i) {
        if (group_size[root(i)] > 1)
            ++in_country[group_and_country(i)];
    }
    for (std::uint32_t i = 0; i < entries_.size(); ++i) {
        Entry& e = entries_[i];
        const auto namesakes = in_country.find(group_and_country(i));
        e.shows_country = countries_[e.country].code != "JP";
        e.shows_region = e.region >= 0
            && (!e.shows_country || (namesakes != in_country.end() && namesakes->second > 1));
    }
}

std::size_t Gazetteer::japanese_named() const
{
    return static_cast<std::size_t>(
        std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return !e.japanese.empty(); }));
}

PlaceMatch Gazetteer::match_of(const Entry& e, bool exact) const
{
    PlaceMatch m;
    m.name = e.japanese.empty() ? e.english : e.japanese;
    if (e.region >= 0) {
        const Region& r = regions_[static_cast<std::size_t>(e.region)];
        m.region = r.japanese.empty() ? r.english : r.japanese;
    }
    m.country = countries_[e.country].japanese;
    m.latitude = e.latitude_micro / 1e6;
    m.longitude = e.longitude_micro / 1e6;
    m.population = e.population;
    m.exact = exact;
    std::string shown;
    if (e.shows_region)
        shown = m.region;
    if (e.shows_country)
        shown += (shown.empty() ? "" : ", ") + m.country;
    m.display_text = shown.empty() ? m.name : m.name + "（" + shown + "）";
    return m;
}

std::string PlaceMatch::where() const
{
    if (region.empty())
        return country;
    return country.empty() ? region : region + ", " + country;
}

namespace {

// The search key of a query, or why the query cannot be searched.
QueryProblem fold_query(std::string_view query, std::string& key)
{
    const std::size_t characters = static_cast<std::size_t>(std::count_if(
        query.begin(), query.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    if (characters > Gazetteer::MAX_QUERY_CHARACTERS)
        return QueryProblem::TooLong;
    switch (fold_for_search(query, key)) {
    case FoldProblem::invalid_utf8:
        return QueryProblem::InvalidUtf8;
    case FoldProblem::control_character:
        return QueryProblem::ControlCharacter;
    case FoldProblem::none:
        break;
    }
    return QueryProblem::None;
}

std::uint64_t hash_of(std::string_view key)
{
    return std::hash<std::string_view>()(key);
}

// A search key without a final 市 区 町 村 都 府 県 (each three bytes in UTF-8), where
// something is left; else the key itself.
std::string_view without_suffix(std::string_view key)
{
    constexpr std::string_view SUFFIXES[] = {"市", "区", "町", "村", "都", "府", "県"};
    for (std::string_view suffix : SUFFIXES) {
        if (key.size() > suffix.size() && key.substr(key.size() - suffix.size()) == suffix)
            return key.substr(0, key.size() - suffix.size());
    }
    return key;
}

} // namespace

SearchOutcome Gazetteer::search(std::string_view query, const std::vector<RegisteredPlace>& registered,
                                std::size_t max_matches) const
{
    SearchOutcome outcome;
    std::string key;
    outcome.problem = fold_query(query, key);
    if (outcome.problem != QueryProblem::None)
        return outcome;
    if (key.empty())
        return outcome;

    std::string name_key;
    for (const RegisteredPlace& place : registered) {
        if (outcome.matches.size() >= max_matches)
            return outcome;
        if (fold_for_search(place.name, name_key) != FoldProblem::none || name_key.find(key) == std::string::npos)
            continue;
        PlaceMatch m;
        m.display_text = m.name = place.name;
        m.latitude = place.latitude;
        m.longitude = place.longitude;
        m.registered = true;
        m.exact = name_key == key;
        outcome.matches.push_back(std::move(m));
    }

    const std::string_view keys(keys_);
    for (std::size_t at = keys.find(key); at != std::string_view::npos && outcome.matches.size() < max_matches;) {
        const auto next = std::upper_bound(key_starts_.begin(), key_starts_.end(), static_cast<std::uint32_t>(at));
        const std::size_t entry = static_cast<std::size_t>(next - key_starts_.begin()) - 1;
        const std::string_view both = keys.substr(key_starts_[entry], *next - key_starts_[entry] - 1);
        const std::size_t split = both.find('\n');
        const bool exact = both.substr(0, split) == key || both.substr(split + 1) == key;
        outcome.matches.push_back(match_of(entries_[entry], exact));
        at = keys.find(key, *next);
    }
    return outcome;
}

std::string_view Gazetteer::key_of(std::size_t entry, int which) const
{
    const std::string_view both(keys_.data() + key_starts_[entry], key_starts_[entry + 1] - key_starts_[entry] - 1);
    const std::size_t split = both.find('\n');
    return which == 0 ? both.substr(0, split) : both.substr(split + 1);
}

void Gazetteer::index_whole_names()
{
    std::size_t size = 2;
    while (size < 8 * entries_.size())
        size *= 2;
    name_slots_.assign(size, 0);
    const auto add = [&](std::string_view key, std::uint64_t record) {
        const std::uint64_t hash = hash_of(key);
        std::size_t slot = hash & (size - 1);
        while (name_slots_[slot] != 0)
            slot = (slot + 1) & (size - 1);
        name_slots_[slot] = (hash & 0xFFFFFFFF00000000u) | (1 + record);
    };
    for (std::uint32_t i = 0; i < entries_.size(); ++i) {
        for (int which = 0; which < 2; ++which) {
            const std::string_view key = key_of(i, which);
            if (key.empty())
                continue;
            add(key, 4 * std::uint64_t{i} + which);
            const std::string_view base = without_suffix(key);
            if (base.size() < key.size())
                add(base, 4 * std::uint64_t{i} + 2 + which);
        }
    }
}

SearchOutcome Gazetteer::find_whole_name(std::string_view query) const
{
    SearchOutcome outcome;
    std::string key;
    outcome.problem = fold_query(query, key);
    if (outcome.problem != QueryProblem::None || key.empty() || name_slots_.empty())
        return outcome;
    const std::uint64_t hash = hash_of(key);
    const std::size_t mask = name_slots_.size() - 1;
    std::vector<std::uint32_t> found;
    for (std::size_t slot = hash & mask; name_slots_[slot] != 0; slot = (slot + 1) & mask) {
        const std::uint64_t record = (name_slots_[slot] & 0xFFFFFFFFu) - 1;
        if ((name_slots_[slot] ^ hash) >> 32 != 0)
            continue;
        const std::string_view name = key_of(record / 4, record % 2);
        if ((record & 2 ? without_suffix(name) : name) == key)
            found.push_back(static_cast<std::uint32_t>(record / 4));
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    for (std::uint32_t entry : found)
        outcome.matches.push_back(match_of(entries_[entry], true));
    return outcome;
}

std::string describe(const GazetteerError& error)
{
    const std::string file = "地名データ " + error.path + " ";
    switch (error.problem) {
    case GazetteerProblem::NotFound:
        return "地名データ（" + std::string(GAZETTEER_FILE_NAME) + "）がインストールされていません。";
    case GazetteerProblem::CannotOpen:
        return file + "を読めません。";
    case GazetteerProblem::NotARegularFile:
        return file + "は通常のファイルではありません。";
    case GazetteerProblem::TooLarge:
        return file + "は大きすぎます。";
    case GazetteerProblem::NotAGazetteer:
        return error.path + " は地名データではありません。";
    case GazetteerProblem::UnsupportedVersion:
        return file + "はこのプログラムが読めない版です。";
    case GazetteerProblem::CutShort:
        return file + "は途中で切れています。";
    case GazetteerProblem::ChecksumMismatch:
        return file + "は壊れています（検査値が合いません）。";
    case GazetteerProblem::Damaged:
        return file + "の " + std::to_string(error.line) + " 行目が壊れています。";
    }
    return {};
}

std::string describe(QueryProblem problem)
{
    switch (problem) {
    case QueryProblem::None:
        return {};
    case QueryProblem::InvalidUtf8:
        return "検索語が UTF-8 の文字列ではありません。";
    case QueryProblem::ControlCharacter:
        return "検索語に制御文字があります。";
    case QueryProblem::TooLong:
        return "検索語が長すぎます（" + std::to_string(Gazetteer::MAX_QUERY_CHARACTERS) + " 文字まで）。";
    }
    return {};
}

std::vector<std::string> gazetteer_candidates(const std::string& executable, const char* xdg_data_dirs)
{
    namespace fs = std::filesystem;
    std::vector<std::string> candidates;
    if (!executable.empty()) {
        const fs::path beside = fs::path(executable).parent_path() / ORVINE_INSTALLED_FROM_BIN / GAZETTEER_FILE_NAME;
        candidates.push_back(beside.lexically_normal().string());
    }
    const std::string_view dirs = xdg_data_dirs && *xdg_data_dirs ? xdg_data_dirs : "/usr/local/share:/usr/share";
    for (std::size_t at = 0; at <= dirs.size();) {
        const std::size_t colon = std::min(dirs.find(':', at), dirs.size());
        const fs::path dir(std::string(dirs.substr(at, colon - at)));
        at = colon + 1;
        if (dir.is_absolute())
            candidates.push_back(
                (dir / ORVINE_INSTALLED_FROM_DATADIR / GAZETTEER_FILE_NAME).lexically_normal().string());
    }
    return candidates;
}

std::string find_installed_gazetteer()
{
    std::error_code ec;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    for (const std::string& candidate :
         gazetteer_candidates(ec ? std::string() : executable.string(), std::getenv("XDG_DATA_DIRS"))) {
        if (std::filesystem::is_regular_file(candidate, ec))
            return candidate;
    }
    return {};
}

GazetteerLoad load_installed_gazetteer()
{
    const std::string path = find_installed_gazetteer();
    if (path.empty()) {
        GazetteerLoad missing;
        missing.error = GazetteerError{GazetteerProblem::NotFound, GAZETTEER_FILE_NAME, 0};
        return missing;
    }
    return load_gazetteer(path);
}

} // namespace orvine
