#pragma once
// The feed command's cutting of RSS written out as its steps read, on strings that really are
// copied and shortened as they go: 1-based positions, Pos / Copy / Delete. Slow on purpose; the
// tests hold the real cutter to it. Only titles and links are modelled; the other vocabularies
// (guid, atom:link, dc:title) have tests of their own.
//
// What comments and CDATA sections hold is no tag: every tag is searched in a copy of the body
// with their bytes masked out (from "<!--" or "<![CDATA[" through "-->" or "]]>", to the end when
// never closed), and titles and links are copied from the body itself. Only the body without
// items is cut from the left as it stands.
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

// A byte no tag holds, standing for what a comment or CDATA section holds.
inline constexpr char kMasked = '\0';

inline std::string Mask(const std::string& s) {
    std::string masked = s;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t close;
        if (s.compare(i, 4, "<!--") == 0)
            close = s.find("-->", i + 4);
        else if (s.compare(i, 9, "<![CDATA[") == 0)
            close = s.find("]]>", i + 9);
        else {
            ++i;
            continue;
        }
        const std::size_t to = close == std::string::npos ? s.size() : close + 3;
        std::fill(masked.begin() + static_cast<std::ptrdiff_t>(i),
                  masked.begin() + static_cast<std::ptrdiff_t>(to), kMasked);
        i = to;
    }
    return masked;
}

// A text and its masked copy, shortened together.
struct Text {
    std::string raw, masked;
};

inline Text Copy(const Text& t, long long index, long long count) {
    return {Copy(t.raw, index, count), Copy(t.masked, index, count)};
}

inline void Delete(Text& t, long long index, long long count) {
    Delete(t.raw, index, count);
    Delete(t.masked, index, count);
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

// A body without items, cut from the left: the channel's title stands for the feed.
inline std::vector<THeadlineItem> CutWithoutItems(std::string s) {
    std::vector<THeadlineItem> items;
    long long deleted = 0; // bytes deleted so far, to tell one "<title>" from another
    long long previousTitle = -1;
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

// The text of the first element "<name>" ... "</name>" within an item; with attributes, its start
// tag may also be "<name ...>", ending at its first ">". Empty when the item has none, when it is
// empty ("<name/>") or never closed.
inline std::string ElementText(const Text& item, const std::string& name, bool attributes) {
    Text rest = item;
    const std::string delimiters = attributes ? " \t\r\n>/" : ">";
    for (;;) {
        const long long p = Pos("<" + name, rest.masked);
        if (p == 0)
            return "";
        const std::size_t after = static_cast<std::size_t>(p - 1 + 1 + name.size());
        if (after < rest.raw.size() && delimiters.find(rest.raw[after]) != std::string::npos) {
            Delete(rest, 1, p - 1);
            break;
        }
        Delete(rest, 1, p);
    }
    const long long gt = Pos(">", rest.raw);
    if (gt == 0 || rest.raw[static_cast<std::size_t>(gt - 2)] == '/')
        return "";
    Delete(rest, 1, gt);
    const long long close = Pos("</" + name + ">", rest.masked);
    return close == 0 ? "" : Copy(rest.raw, 1, close - 1);
}

inline bool BlankText(std::string text) {
    auto trim = [](std::string t) {
        const std::size_t b = t.find_first_not_of(" \t\r\n");
        return b == std::string::npos ? std::string() : t.substr(b, t.find_last_not_of(" \t\r\n") - b + 1);
    };
    text = trim(text);
    if (text.size() >= 12 && text.starts_with("<![CDATA[") && text.ends_with("]]>"))
        text = trim(text.substr(9, text.size() - 12));
    return text.empty();
}

// The title: the first title element's text, or while that is blank the next one's.
inline std::string TitleText(Text item) {
    for (;;) {
        std::string text = ElementText(item, "title", true);
        const long long p = Pos("<title", item.masked);
        if (!BlankText(text) || p == 0)
            return text;
        // The next title element after this one's start (Pos finds "<titles" too; ElementText
        // skips those itself).
        Text rest = item;
        Delete(rest, 1, p);
        if (Pos("<title", rest.masked) == 0)
            return text;
        item = rest;
    }
}

// The raw title and link bytes of each item, as cut.
inline std::vector<THeadlineItem> Cut(const std::string& body) {
    Text s{body, Mask(body)};
    long long p = ItemPos(s.masked);
    if (p == 0)
        return CutWithoutItems(body);
    std::vector<THeadlineItem> items;
    while (p > 0) {
        // The item: after its start tag's name up to its "</item>" or the next item's start tag.
        Delete(s, 1, p + 4);
        const long long close = Pos("</item>", s.masked);
        const long long next = ItemPos(s.masked);
        long long length = static_cast<long long>(s.raw.size());
        if (close > 0)
            length = std::min(length, close - 1);
        if (next > 0)
            length = std::min(length, next - 1);
        Text item = Copy(s, 1, length);
        const long long gt = Pos(">", item.raw);
        const bool empty = gt == 0 || (gt >= 2 && item.raw[static_cast<std::size_t>(gt - 2)] == '/');
        Delete(item, 1, gt == 0 ? length : gt);
        if (empty)
            items.push_back({"", ""});
        else
            items.push_back({TitleText(item), ElementText(item, "link", false)});
        if (next == 0)
            break;
        Delete(s, 1, next - 1);
        p = 1;
    }
    return items;
}

} // namespace stepbystep
