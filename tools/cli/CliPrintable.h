#pragma once
// Text from a server or a file made safe for a terminal: every control byte is written as \xNN
// (CR and LF as \r and \n), so nothing a server sends can retitle or clear the terminal, move the
// cursor or start a line of its own, and a NUL does not cut the text short.
#include <cstdio>
#include <string>
#include <string_view>

inline std::string CliPrintable(std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\r') {
            out += "\\r";
        } else if (b == '\n') {
            out += "\\n";
        } else if (b < 0x20 || b == 0x7F) {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 15];
        } else {
            out += c;
        }
    }
    return out;
}

// Writes the line and a line end, NUL bytes and all; untrusted parts go through CliPrintable first.
inline void CliPrintLine(std::FILE* to, std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), to);
    std::fputc('\n', to);
}
