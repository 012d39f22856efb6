// A short, repeatable run of a fuzz target without libFuzzer, for the test suite: every seed
// file as it is, then mutations of them from a fixed random seed (bytes replaced, inserted or
// removed, dictionary pieces inserted, two inputs spliced). A finding ends the run as libFuzzer
// would (a crash or a sanitizer report) and leaves its input in the file LAST_INPUT.
// Usage: short_run SEED_DIR DICTIONARY RUNS LAST_INPUT
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::string read_file(const std::filesystem::path& path)
{
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

// The quoted entries of a libFuzzer dictionary, with their \xHH, \\ and \" escapes.
std::vector<std::string> read_dictionary(const std::string& path)
{
    std::vector<std::string> pieces;
    std::istringstream lines(read_file(path));
    for (std::string line; std::getline(lines, line);) {
        const std::size_t open = line.find('"'), close = line.rfind('"');
        if (line.empty() || line[0] == '#' || open == std::string::npos || close <= open)
            continue;
        std::string piece;
        for (std::size_t i = open + 1; i < close; ++i) {
            if (line[i] == '\\' && line[i + 1] == 'x') {
                piece += static_cast<char>(std::stoi(line.substr(i + 2, 2), nullptr, 16));
                i += 3;
            } else {
                piece += line[i] == '\\' ? line[++i] : line[i];
            }
        }
        pieces.push_back(piece);
    }
    return pieces;
}

// Each input is written to the file `last_input` (open as fd) before it runs, so that a crash
// leaves it there.
void run(const std::string& input, int last_input)
{
    if (::pwrite(last_input, input.data(), input.size(), 0) != static_cast<ssize_t>(input.size())
        || ::ftruncate(last_input, static_cast<off_t>(input.size())) != 0) {
        std::perror("short_run");
        std::exit(2);
    }
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: short_run SEED_DIR DICTIONARY RUNS LAST_INPUT\n");
        return 2;
    }
    std::vector<std::string> corpus;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1]))
        corpus.push_back(read_file(entry.path()));
    const std::vector<std::string> dictionary = read_dictionary(argv[2]);
    const long runs = std::atol(argv[3]);
    if (corpus.empty() || dictionary.empty() || runs <= 0) {
        std::fprintf(stderr, "short_run: no seeds, no dictionary or no runs\n");
        return 2;
    }
    const int last_input = ::open(argv[4], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (last_input < 0) {
        std::perror(argv[4]);
        return 2;
    }
    std::mt19937 gen(20250607);
    auto pick = [&gen](std::size_t n) { return n == 0 ? 0 : gen() % n; };
    for (const std::string& seed : corpus)
        run(seed, last_input);
    for (long i = 0; i < runs; ++i) {
        std::string input = corpus[pick(corpus.size())];
        for (int edits = 1 + pick(8); edits > 0; --edits) {
            const std::size_t at = pick(input.size() + 1);
            switch (pick(5)) {
            case 0:
                if (at < input.size())
                    input[at] = static_cast<char>(gen());
                break;
            case 1:
                input.insert(at, 1, static_cast<char>(gen()));
                break;
            case 2:
                input.erase(at, 1 + pick(4));
                break;
            case 3:
                input.insert(at, dictionary[pick(dictionary.size())]);
                break;
            default:
                const std::string& other = corpus[pick(corpus.size())];
                input.insert(at, other.substr(pick(other.size())));
                break;
            }
        }
        run(input, last_input);
    }
    ::close(last_input);
    std::remove(argv[4]);
    std::printf("short_run: %zu seeds and %ld mutations, no findings\n", corpus.size(), runs);
    return 0;
}
