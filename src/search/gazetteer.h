// The gazetteer: the cities of the world with at least 15,000 people and the Japanese
// prefectures (GeoNames, CC BY 4.0), and the search over their names. Plain C++17, no Qt:
// the place-list window and the calculator both use it.
//
// Coordinates are decimal degrees, north and east positive: latitude -90..90, longitude
// -180..180. Texts are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvine {

// The installed file's name, in the folder of the installed data (see
// gazetteer_candidates).
inline constexpr const char* GAZETTEER_FILE_NAME = "gazetteer.tsv";

enum class GazetteerProblem {
    NotFound,        // no installed gazetteer (load_installed_gazetteer only)
    CannotOpen,      // missing or unreadable
    NotARegularFile, // a folder, FIFO, device ...
    TooLarge,        // larger than MAX_GAZETTEER_BYTES
    NotAGazetteer,   // the first line is not a gazetteer's
    UnsupportedVersion,
    CutShort,         // the closing line is missing: the file was cut
    ChecksumMismatch, // some byte was changed
    Damaged,          // a line that does not follow the format (`line` tells which)
};

struct GazetteerError {
    GazetteerProblem problem;
    std::string path;
    std::size_t line = 0; // 1-based line of a damaged file; 0 where no line applies
};

// One sentence in Japanese that names the file and says what is wrong with it.
std::string describe(const GazetteerError& error);

// A place of the user's own list, searched before the gazetteer.
struct RegisteredPlace {
    std::string name;
    double latitude = 0;
    double longitude = 0;
};

struct PlaceMatch {
    // What a list shows: the name and, for a gazetteer entry, where it lies. A Japanese
    // city shows its prefecture (札幌市（北海道）, 府中町（広島県）), a prefecture nothing
    // more (大阪府); a place abroad its country (ロンドン（英国） beside ロンドン（カナダ）),
    // and its state too where the country holds a namesake
    // (スプリングフィールド（イリノイ州, アメリカ）). A registered place shows its name alone.
    std::string display_text;
    // The name without the disambiguation: the Japanese one, else the English one.
    std::string name;
    std::string region;  // prefecture or state, in Japanese where the data has it; may be empty
    std::string country; // in Japanese; empty for a registered place
    double latitude = 0;
    double longitude = 0;
    std::uint32_t population = 0; // 0 where the data gives none (prefectures, registered places)
    bool registered = false;
    bool exact = false; // the query is the whole Japanese or English name, not only a part

    // "region, country", or the country alone; empty for a registered place.
    std::string where() const;
};

enum class QueryProblem { None, InvalidUtf8, ControlCharacter, TooLong };

// One sentence in Japanese; empty for QueryProblem::None.
std::string describe(QueryProblem problem);

struct SearchOutcome {
    std::vector<PlaceMatch> matches;
    QueryProblem problem = QueryProblem::None;
};

class Gazetteer {
public:
    static constexpr std::size_t MAX_GAZETTEER_BYTES = 32 * 1024 * 1024;
    static constexpr std::size_t MAX_QUERY_CHARACTERS = 200;

    // An empty gazetteer: a search finds registered places only.
    Gazetteer() = default;

    std::size_t size() const { return entries_.size(); }
    std::size_t japanese_named() const;

    // The places whose Japanese or English name holds the query, compared by their search
    // keys (see fold_for_search): first the registered places that match, in their order,
    // then the gazetteer's, the most populous first (a prefecture right after the city that
    // holds its office); at most `max_matches` in all. A query that folds to nothing (empty,
    // blanks) matches nothing. A query with invalid UTF-8, a control character or more than
    // MAX_QUERY_CHARACTERS characters matches nothing and says why.
    SearchOutcome search(std::string_view query, const std::vector<RegisteredPlace>& registered,
                         std::size_t max_matches) const;

    // The places whose Japanese or English name is the whole query, compared by their search
    // keys (london, ＬＯＮＤＯＮ and London find both Londons), or is the query followed by one
    // of the suffixes of Japanese municipalities and prefectures, 市 区 町 村 都 府 県 (東京
    // finds 東京都, 札幌 札幌市), in rank order, every one marked exact. A hash look-up, for
    // callers that resolve many names (a batch of the calculator's lines). The same query
    // problems as search.
    SearchOutcome find_whole_name(std::string_view query) const;

private:
    friend struct GazetteerParser;

    struct Country {
        std::string code, japanese;
    };
    struct Region {
        std::uint32_t country;
        std::string japanese, english;
    };
    struct Entry {
        std::string japanese, english;
        std::int32_t region; // -1: none
        std::uint32_t country;
        std::int32_t latitude_micro, longitude_micro; // millionths of a degree
        std::uint32_t population;
        bool shows_region, shows_country;
    };

    PlaceMatch match_of(const Entry& entry, bool exact) const;
    void decide_disambiguation();
    void index_whole_names();
    // Entry i's Japanese (which 0) or English (1) search key.
    std::string_view key_of(std::size_t entry, int which) const;

    std::vector<Country> countries_;
    std::vector<Region> regions_;
    std::vector<Entry> entries_;
    // The search keys of every entry's Japanese and English names, "ja\nen\n" one entry after
    // the other; entry i's keys begin at key_starts_[i].
    std::string keys_;
    std::vector<std::uint32_t> key_starts_;
    // Every non-empty search key by its hash, and a key that ends in a suffix of
    // find_whole_name also without it: open addressing with linear probing in a table of a
    // power of two with eight slots for each entry, which has at most four keys, so that it is
    // at most half full. The upper 32 bits of a slot are the upper bits of
    // the key's hash, the lower 1 + 4 * entry + 2 * (suffix left off) + which; 0 is an empty
    // slot.
    std::vector<std::uint64_t> name_slots_;
};

struct GazetteerLoad {
    Gazetteer gazetteer;
    std::optional<GazetteerError> error; // set: the gazetteer is empty

    bool ok() const { return !error.has_value(); }
};

// Reads a gazetteer file (format: tools/gazetteer/README.md). Only a regular file of at
// most MAX_GAZETTEER_BYTES is read; any damage ends in an error, never in a partial
// gazetteer.
GazetteerLoad load_gazetteer(const std::string& path);

// The same from the file's bytes; `path` only names the file in an error.
GazetteerLoad parse_gazetteer(std::string_view bytes, const std::string& path);

// The CRC-32 (ISO-HDLC, as zlib's crc32) that a gazetteer's closing line holds.
std::uint32_t gazetteer_checksum(std::string_view bytes);

// Where an installed gazetteer may be, in order: the installed data folder relative to the
// running program (so that a build tree or a moved installation finds its own), then that
// folder under each absolute entry of XDG_DATA_DIRS (default /usr/local/share:/usr/share).
// `executable` may be empty; `xdg_data_dirs` may be null.
std::vector<std::string> gazetteer_candidates(const std::string& executable,
                                              const char* xdg_data_dirs);

// The first candidate for the running program (/proc/self/exe, $XDG_DATA_DIRS) that is a
// regular file; empty if none is.
std::string find_installed_gazetteer();

// find_installed_gazetteer, then load_gazetteer; GazetteerProblem::NotFound where there
// is no file.
GazetteerLoad load_installed_gazetteer();

} // namespace orvine
