#pragma once
// The feed command's cutting of RSS written out as its steps read, on a string that really is
// shortened as it goes: 1-based positions, Pos / Copy / Delete. Slow on purpose; the tests
// hold the real cutter to it.
#include "reader/THeadlineItem.h"

#include <algorithm>
#include <string>
#include <string_view>
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

// The first "<item" that is a start tag: followed by ">" or a blank (RSS 1.0 puts attributes
// there), or by "/".
inline long long ItemPos(const std::string& s) {
    for (std::size_t from = 0;;) {
        std::size_t p = s.find("<item", from);
        if (p == std::string::npos)
            return 0;
        if (p + 5 < s.size() && std::string_view(" \t\r\n>/").find(s[p + 5]) != std::string_view::npos)
            return static_cast<long long>(p) + 1;
        from = p + 1;
    }
}

// The raw title and link bytes of each item, as cut.
inline std::vector<THeadlineItem> Cut(std::string s) {
    std::vector<THeadlineItem> items;
    long long p = ItemPos(s);
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
            items.push_back({title, link});
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
