// zelmora-cli: command-line companions of the reader. Each subcommand lives in its own file.
#include "tools/cli/CliCommand.h"

#include <cstdio>
#include <cstring>

CliCommand::CliCommand(const char* n, const char* u, Run r) : name(n), usage(u), run(r) {
    all().push_back(this);
}

std::vector<CliCommand*>& CliCommand::all() {
    static std::vector<CliCommand*> commands;
    return commands;
}

static int usage() {
    std::fprintf(stderr, "usage:\n");
    for (const CliCommand* c : CliCommand::all())
        std::fprintf(stderr, "  zelmora-cli %s\n", c->usage);
    return 2;
}

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    for (const CliCommand* c : CliCommand::all()) {
        if (std::strcmp(c->name, argv[1]) == 0)
            return c->run(std::vector<std::string>(argv + 2, argv + argc));
    }
    return usage();
}
