#pragma once
// Raw theme-file bytes for tests: a header and records laid out by hand, so a test can build
// exactly the broken file it needs.
#include <cstdint>
#include <string>
#include <string_view>

namespace themebytes {

inline void putLe32(std::string& s, std::size_t at, std::uint32_t v) {
    if (s.size() < at + 4)
        s.resize(at + 4, '\0');
    for (int i = 0; i < 4; ++i)
        s[at + std::size_t(i)] = char((v >> (8 * i)) & 0xFF);
}

// 24 bytes: the magic, header length, unused, first-record offset.
inline std::string header(std::uint32_t length = 24, std::uint32_t first = 24,
                          std::string_view magic = "Quorvex_TB") {
    std::string s(24, '\0');
    s.replace(0, magic.size(), magic);
    putLe32(s, 12, length);
    putLe32(s, 20, first);
    return s;
}

// One 77-byte record written at `at` (the string grows as needed).
inline void record(std::string& s, std::size_t at, std::string_view name, std::uint8_t kind,
                   std::uint32_t dataOffset, std::uint32_t dataSize, std::uint32_t next) {
    if (s.size() < at + 77)
        s.resize(at + 77, '\0');
    s.replace(at, 64, std::string(64, '\0'));
    s.replace(at, std::min<std::size_t>(name.size(), 64), name.substr(0, 64));
    s[at + 64] = char(kind);
    putLe32(s, at + 65, dataOffset);
    putLe32(s, at + 69, dataSize);
    putLe32(s, at + 73, next);
}

inline void data(std::string& s, std::size_t at, std::string_view bytes) {
    if (s.size() < at + bytes.size())
        s.resize(at + bytes.size(), '\0');
    s.replace(at, bytes.size(), bytes);
}

} // namespace themebytes
