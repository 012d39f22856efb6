#pragma once
// For tests that run a built program through the shell, as a user or a script would.
#include <gmock/gmock.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace orvine::test {

struct CommandRun {
    int status; // the exit status, or -1 when the program did not exit
    std::string out, err;
};

inline std::string read_file(const std::string& path)
{
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

// Runs `command` with `sh -c` in the folder `dir`: standard input from in.txt there, which holds
// `input`, standard error into err.txt, standard output into out.txt unless `redirect` says otherwise.
inline CommandRun run_in(const std::string& dir, const std::string& command, const std::string& input = "",
                         const std::string& redirect = " >out.txt")
{
    std::remove((dir + "out.txt").c_str());
    std::ofstream(dir + "in.txt", std::ios::binary) << input;
    const int raw = std::system(("cd '" + dir + "' && " + command + " <in.txt" + redirect + " 2>err.txt").c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read_file(dir + "out.txt"), read_file(dir + "err.txt")};
}

// A folder of the test program's own, removed at its exit: other runs of the suite may share the
// temporary folder. Call it once per program.
inline std::string own_folder(const std::string& test)
{
    static const std::string path = ::testing::TempDir() + test + "." + std::to_string(getpid()) + "/";
    mkdir(path.c_str(), 0700);
    std::atexit([] { std::system(("rm -rf '" + path + "'").c_str()); });
    return path;
}

} // namespace orvine::test
