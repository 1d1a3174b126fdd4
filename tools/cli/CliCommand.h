#pragma once
// zelmora-cli's subcommands register themselves here, one file each:
//   static CliCommand reg{"get", "get [--proxy HOST:PORT] ... URL...", &runGet};
#include <string>
#include <vector>

struct CliCommand {
    using Run = int (*)(const std::vector<std::string>& args);
    CliCommand(const char* name, const char* usage, Run run);

    const char* name;
    const char* usage;
    Run run;

    static std::vector<CliCommand*>& all();
};
