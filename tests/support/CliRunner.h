#pragma once
// Runs the zelmora-cli that the build names in ZEL_CLI_PATH with the given arguments (each quoted
// for the shell, no standard input) and collects its exit status, standard output and errors.
#include "tests/support/TempDir.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace zeltest {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// The build gives the tool's path and builds the tool before the test that uses it.
inline std::filesystem::path CliPath() {
    return ZEL_CLI_PATH;
}

inline CliRun RunCli(const std::vector<std::string>& args) {
    const TempDir dir;
    std::string cmd = ShellQuote(CliPath().string());
    for (const std::string& a : args)
        cmd += " " + ShellQuote(a);
    cmd += " >" + ShellQuote(dir.File("out")) + " 2>" + ShellQuote(dir.File("err")) + " </dev/null";
    CliRun r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadFile(dir.File("out"));
    r.err = ReadFile(dir.File("err"));
    return r;
}

} // namespace zeltest
