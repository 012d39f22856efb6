#pragma once
// For tests that run a built program through the shell, as a user or a script would.
#include <gtest/gtest.h>

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

// Runs `command` with `sh -c`; `out` and `err` name the files its redirections write.
inline CommandRun run_command(const std::string& command, const std::string& out, const std::string& err)
{
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, out.empty() ? "" : read_file(out), read_file(err)};
}

// A folder of the test program's own, removed at its exit: other runs of the suite may share the
// temporary folder. Call it once per program.
inline std::string own_folder(const std::string& test)
{
    static const struct Folder {
        std::string path;
        Folder(const std::string& p) : path(p) { mkdir(path.c_str(), 0700); }
        ~Folder() { std::system(("rm -rf '" + path + "'").c_str()); }
    } folder(::testing::TempDir() + test + "." + std::to_string(getpid()) + "/");
    return folder.path;
}

} // namespace orvine::test
