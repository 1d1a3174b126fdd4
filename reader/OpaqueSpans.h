#pragma once
// What a CDATA section or a comment holds is text, never a tag: a "</item>" in a description's
// CDATA ends no item, and a "<title>" there is not the item's own. The scan that finds an item's
// end walks its "<"s anyway; it notes these spans, and the searches inside the item skip them.
#include "reader/FeedTags.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

class TOpaqueSpans {
public:
    void Clear() { spans_.clear(); }
    // Spans are added in document order and never overlap.
    void Add(std::size_t from, std::size_t to) { spans_.push_back({from, to}); }
    bool Empty() const { return spans_.empty(); }

    // p when no span holds it, else the end of the span that does.
    std::size_t Skip(std::size_t p) const { return spans_.empty() ? p : skipSlow(p); }

private:
    struct Span {
        std::size_t from, to;
    };
    std::size_t skipSlow(std::size_t p) const;
    std::vector<Span> spans_;
};

// At p, "<!": the position after the comment or CDATA section that starts
// there (noted in spans when given), npos when it is never closed, and p + 1 when it is neither
// (a document type, say).
std::size_t SkipOpaque(std::string_view body, std::size_t p, TOpaqueSpans* spans);

// Whether text stands at p, whose first `known` bytes are known to match. Tags are short: a
// byte loop beats a call to memcmp.
inline bool TextAt(std::string_view body, std::size_t p, std::string_view text, std::size_t known = 1) {
    if (body.size() - p < text.size())
        return false;
    for (std::size_t i = known; i < text.size(); ++i)
        if (body[p + i] != text[i])
            return false;
    return true;
}

// The first four bytes at s, as one word: four bytes compare at once.
inline std::uint32_t Word4(const char* s) {
    std::uint32_t w;
    std::memcpy(&w, s, 4);
    return w;
}

// The first of tags at or after from that no comment or CDATA section holds, its index in tags
// going to which: a tag ending in ">" ("</item>") is matched as it stands, any other ("<item") as
// a start tag; every tag is four bytes or more. npos when none follows, or when a comment or
// CDATA section is never closed (the rest of the body is then its text). The comments and CDATA
// sections passed go to spans when given. One pass over the "<"s, each told from the tags by its
// first four bytes at once; inline, as it runs for every tag of every item.
template <std::size_t N>
std::size_t NextTag(std::string_view body, std::size_t from, const std::string_view (&tags)[N], int& which,
                    TOpaqueSpans* spans = nullptr) {
    std::uint32_t words[N];
    for (std::size_t i = 0; i < N; ++i)
        words[i] = Word4(tags[i].data());
    const std::uint32_t comment = Word4("<!--"), cdata = Word4("<![C");
    const char* base = body.data();
    while (from < body.size()) {
        const void* lt = std::memchr(base + from, '<', body.size() - from);
        if (!lt)
            return feedtags::npos;
        const auto p = static_cast<std::size_t>(static_cast<const char*>(lt) - base);
        if (body.size() - p < 4) // too short for any tag, comment or CDATA section
            return feedtags::npos;
        const std::uint32_t w = Word4(base + p);
        if (w == comment || w == cdata) {
            from = SkipOpaque(body, p, spans);
            continue;
        }
        from = p + 1;
        for (std::size_t i = 0; i < N; ++i) {
            const std::string_view t = tags[i];
            if (w == words[i] && TextAt(body, p, t, 4) &&
                (t.back() == '>' || feedtags::StartTagAt(body, p, t))) {
                which = static_cast<int>(i);
                return p;
            }
        }
    }
    return feedtags::npos;
}
