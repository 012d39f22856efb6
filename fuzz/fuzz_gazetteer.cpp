// Feeds arbitrary bytes to the gazetteer reader twice: as they are, and with a closing line
// that counts their places and holds their checksum, so that the reading goes past the
// checksum into the lines. Whatever loads is searched, and the bytes are also a query
// against a small gazetteer. Besides crashes and sanitizer reports it checks that a refused
// file leaves nothing behind and that every match is a place on the globe.
#include "search/gazetteer.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace orvine;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

std::string closed(std::string body)
{
    if (!body.empty() && body.back() != '\n')
        body += '\n';
    std::size_t places = body.compare(0, 2, "P\t") == 0 ? 1 : 0;
    for (std::size_t at = body.find('\n'); at != std::string::npos; at = body.find('\n', at + 1))
        places += body.compare(at + 1, 2, "P\t") == 0 ? 1 : 0;
    char checksum[9];
    std::snprintf(checksum, sizeof checksum, "%08x", gazetteer_checksum(body));
    return body + "END\t" + std::to_string(places) + "\t" + checksum + "\n";
}

void check_matches(const SearchOutcome& outcome, std::size_t most)
{
    require(outcome.matches.size() <= most);
    require(outcome.problem == QueryProblem::None || outcome.matches.empty());
    for (const PlaceMatch& m : outcome.matches) {
        require(m.latitude >= -90 && m.latitude <= 90 && m.longitude >= -180 && m.longitude <= 180);
        require(m.display_text.compare(0, m.name.size(), m.name) == 0);
    }
}

void check(const GazetteerLoad& load, std::string_view query)
{
    if (!load.ok()) {
        require(load.gazetteer.size() == 0 && !describe(*load.error).empty());
        return;
    }
    const std::vector<RegisteredPlace> registered = {{"府中の実家", 35.7, 139.4}};
    for (std::string_view q : {std::string_view("a"), std::string_view("ぱり"), query}) {
        check_matches(load.gazetteer.search(q, registered, 5), 5);
        check_matches(load.gazetteer.find_whole_name(q), load.gazetteer.size());
    }
}

const Gazetteer& small_gazetteer()
{
    static const GazetteerLoad load = [] {
        std::ifstream in(FUZZ_SEED_GAZETTEER, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return parse_gazetteer(bytes.str(), FUZZ_SEED_GAZETTEER);
    }();
    require(load.ok());
    return load.gazetteer;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string_view query = bytes.substr(0, 300);
    check(parse_gazetteer(bytes, "fuzz"), query);
    check(parse_gazetteer(closed(std::string(bytes)), "fuzz"), query);
    check_matches(small_gazetteer().search(query, {}, 20), 20);
    check_matches(small_gazetteer().find_whole_name(query), small_gazetteer().size());
    return 0;
}
