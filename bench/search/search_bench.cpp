// Cost of the place search: loading the gazetteer (the first load in this process, then
// the median and worst of ten more), the resident memory the loaded gazetteer adds, and the
// time of one search as typing makes them: 1,000 random queries, most of them a part of a
// real name (Japanese or English, from its start or from within, one to eight characters),
// the rest random letters and kana that mostly match nothing; each against the gazetteer and
// 101 registered places (a full place list), at most 20 matches as the drop-down shows.
#include "search/gazetteer.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace orvine;
using Clock = std::chrono::steady_clock;

namespace {

// Elapsed time and this thread's processor time: on a machine shared with other work the
// second is the search's own cost where the first also counts waiting for a processor.
struct Stopwatch {
    Clock::time_point wall_start = Clock::now();
    double processor_start = processor_ms();

    static double processor_ms()
    {
        timespec t;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
    }
    double wall() const { return std::chrono::duration<double, std::milli>(Clock::now() - wall_start).count(); }
    double processor() const { return processor_ms() - processor_start; }
};

long status_kb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    }
    return -1;
}

// The code points of a UTF-8 name, each as its own string.
std::vector<std::string> characters(const std::string& name)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if ((static_cast<unsigned char>(name[i]) & 0xC0) != 0x80)
            out.emplace_back();
        out.back() += name[i];
    }
    return out;
}

// The Japanese and English names of the file's places, read directly from its lines.
std::vector<std::string> names_in(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> names;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("P\t", 0) != 0)
            continue;
        std::istringstream fields(line);
        std::string field;
        for (int i = 0; std::getline(fields, field, '\t') && i <= 4; ++i) {
            if (i >= 3 && !field.empty())
                names.push_back(field);
        }
    }
    return names;
}

struct Figures {
    double median, p99, worst;
};

Figures figures(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back()};
}

const char* verdict(bool within)
{
    return within ? "ok" : "OVER TARGET";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: search_bench GAZETTEER\n");
        return 2;
    }
    const std::string path = argv[1];

    const long rss_before = status_kb("VmRSS:");
    const long peak_before = status_kb("VmHWM:");
    const Stopwatch first;
    const GazetteerLoad load = load_gazetteer(path);
    const double first_load = first.wall(), first_load_processor = first.processor();
    if (!load.ok()) {
        std::fprintf(stderr, "search_bench: %s\n", describe(*load.error).c_str());
        return 1;
    }
    const double added_mb = (status_kb("VmRSS:") - rss_before) / 1024.0;
    const double peak_mb = (status_kb("VmHWM:") - peak_before) / 1024.0;
    const Gazetteer& gazetteer = load.gazetteer;

    std::vector<double> loads, load_processor;
    for (int i = 0; i < 10; ++i) {
        const Stopwatch watch;
        const GazetteerLoad again = load_gazetteer(path);
        loads.push_back(watch.wall());
        load_processor.push_back(watch.processor());
    }
    const Figures load_ms = figures(loads), load_processor_ms = figures(load_processor);

    std::vector<RegisteredPlace> registered;
    for (const PlaceMatch& m : gazetteer.search("市", {}, 101).matches)
        registered.push_back({m.name, m.latitude, m.longitude});

    const std::vector<std::string> names = names_in(path);
    const std::vector<std::string> random_pool = characters("abcdefghijklmnopqrstuvwxyzあいうえおかきさしたなはまやらわんアイカサタナハマヤラン山川田中島東西南北");
    std::mt19937 random(22);
    const auto below = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    std::vector<std::string> queries;
    while (queries.size() < 1000) {
        std::string query;
        if (below(5) != 0) {
            const std::vector<std::string> name = characters(names[below(names.size())]);
            const std::size_t length = 1 + below(std::min<std::size_t>(8, name.size()));
            const std::size_t from = below(3) == 0 ? below(name.size() - length + 1) : 0;
            for (std::size_t i = from; i < from + length; ++i)
                query += name[i];
        } else {
            for (std::size_t n = 1 + below(6); n > 0; --n)
                query += random_pool[below(random_pool.size())];
        }
        queries.push_back(query);
    }
    std::vector<double> searches, search_processor;
    std::size_t matched = 0;
    for (const std::string& query : queries) {
        const Stopwatch watch;
        const SearchOutcome outcome = gazetteer.search(query, registered, 20);
        searches.push_back(watch.wall());
        search_processor.push_back(watch.processor());
        matched += outcome.matches.empty() ? 0 : 1;
    }
    const Figures search_ms = figures(searches), search_processor_ms = figures(search_processor);

    std::printf("gazetteer %s: %zu entries, %zu with a Japanese name\n", path.c_str(), gazetteer.size(),
                gazetteer.japanese_named());
    std::printf("load: first %.1f ms; ten more: median %.1f ms, worst %.1f ms (target <= 100 ms: %s)\n"
                "  processor time: first %.1f ms; median %.1f ms, worst %.1f ms\n",
                first_load, load_ms.median, load_ms.worst, verdict(std::max(first_load, load_ms.worst) <= 100),
                first_load_processor, load_processor_ms.median, load_processor_ms.worst);
    std::printf("memory added by the loaded gazetteer: %.1f MB resident, peak while loading +%.1f MB "
                "(target <= 25 MB: %s)\n",
                added_mb, peak_mb, verdict(std::max(added_mb, peak_mb) <= 25));
    std::printf("search, 1000 random queries (%zu with matches), %zu registered places, at most 20 matches:\n"
                "  median %.3f ms (target <= 5 ms: %s), 99th percentile %.3f ms, worst %.3f ms "
                "(target <= 20 ms: %s)\n"
                "  processor time: median %.3f ms, 99th percentile %.3f ms, worst %.3f ms\n",
                matched, registered.size(), search_ms.median, verdict(search_ms.median <= 5), search_ms.p99,
                search_ms.worst, verdict(search_ms.worst <= 20), search_processor_ms.median, search_processor_ms.p99,
                search_processor_ms.worst);

    std::string long_query;
    for (int i = 0; i < 200; ++i)
        long_query += "ゑ";
    struct Edge {
        const char* what;
        std::string query;
    } const edges[] = {
        {"one common letter", "a"},
        {"one common kana", "ん"},
        {"six letters, no match", "qxqxqx"},
        {"200 kana, no match", long_query},
        {"10,000 letters (refused)", std::string(10000, 'a')},
    };
    for (const Edge& e : edges) {
        std::vector<double> runs;
        for (int i = 0; i < 20; ++i) {
            const Stopwatch watch;
            gazetteer.search(e.query, registered, 20);
            runs.push_back(watch.wall());
        }
        const Figures edge_ms = figures(runs);
        std::printf("  %-26s median %.3f ms, worst %.3f ms\n", e.what, edge_ms.median, edge_ms.worst);
    }
    return 0;
}
