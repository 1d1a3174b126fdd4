#pragma once
// --connect-timeout MS, --timeout MS and --max-time MS of the subcommands that fetch: milliseconds
// as decimal digits, 0 meaning no limit.
#include <string>

inline bool ParseMilliseconds(const std::string& text, int& ms) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    ms = std::stoi(text);
    return true;
}
