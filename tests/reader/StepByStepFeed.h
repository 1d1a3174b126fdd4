#pragma once
// The feed command's extraction written out as its steps read, on a string that really is
// shortened as it goes: 1-based positions, Pos / Copy / Delete. Slow on purpose; the tests
// hold the real cutter to it.
#include "framework/core/CodePage.h"
#include "reader/THeadlineItem.h"

#include <algorithm>
#include <string>
#include <vector>

namespace stepbystep {

inline long long Pos(const std::string& sub, const std::string& s) {
    std::size_t p = s.find(sub);
    return p == std::string::npos ? 0 : static_cast<long long>(p) + 1;
}

inline std::string Copy(const std::string& s, long long index, long long count) {
    if (index < 1)
        index = 1;
    if (count <= 0 || index > static_cast<long long>(s.size()))
        return "";
    return s.substr(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
}

inline void Delete(std::string& s, long long index, long long count) {
    if (index < 1 || index > static_cast<long long>(s.size()) || count <= 0)
        return;
    s.erase(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
}

// The decoding rule, one byte at a time with an explicit count of bytes still owed.
inline bool Decode(const std::string& bytes, std::u16string& out) {
    out.clear();
    unsigned value = 0;
    int owed = 0;
    for (unsigned char b : bytes) {
        if (owed > 0) {
            if (b < 0x80 || b > 0xBF)
                return false;
            value = value * 64 + (b - 0x80);
            if (--owed == 0)
                out.push_back(static_cast<char16_t>(value % 65536));
        } else if (b < 0x80) {
            out.push_back(b);
        } else {
            value = b % 64;
            owed = (b / 32) % 2 == 1 ? 2 : 1;
        }
    }
    return owed == 0;
}

inline std::string Trim(std::string s) {
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32)
        s.pop_back();
    std::size_t b = 0;
    while (b < s.size() && static_cast<unsigned char>(s[b]) <= 32)
        ++b;
    return s.substr(b);
}

inline std::string Title(const std::string& bytes) {
    std::u16string wide;
    if (!Decode(bytes, wide))
        return "";
    std::string ansi = Utf16ToAnsi(wide);
    for (char& c : ansi)
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    return Trim(ansi);
}

inline std::string Link(const std::string& bytes) {
    std::string out;
    for (char c : bytes)
        if (c != '\r' && c != '\n' && c != '\t')
            out += c;
    return out;
}

inline std::vector<THeadlineItem> Cut(std::string s, const std::string& prefix) {
    std::vector<THeadlineItem> items;
    long long p = Pos("<item>", s);
    long long deleted = 0; // bytes deleted so far, to tell one "<title>" from another
    long long previousTitle = -1;
    if (p > 0) {
        Delete(s, 1, p);
        deleted += p;
    }
    for (;;) {
        long long t = Pos("<title>", s);
        long long te = Pos("</title>", s);
        long long l = Pos("<link>", s);
        long long le = Pos("</link>", s);
        if (t == 0)
            break;
        if (deleted + t != previousTitle) {
            std::string title = Copy(s, t + 7, te - t - 7);
            std::string link = Copy(s, l + 6, le - l - 6);
            items.push_back({Title(title), prefix + Link(link)});
        }
        previousTitle = deleted + t;
        long long e = Pos("</item>", s);
        long long n = e > 0 ? e + 6 : 6;
        n = std::min<long long>(n, static_cast<long long>(s.size()));
        Delete(s, 1, n);
        deleted += n;
    }
    return items;
}

} // namespace stepbystep
