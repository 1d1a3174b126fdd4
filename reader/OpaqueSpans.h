#pragma once
// What a CDATA section or a comment holds is text, never a tag: a "</item>" in a description's
// CDATA ends no item, and a "<title>" there is not the item's own. The scan that finds an item's
// end walks its "<"s anyway; it notes these spans, and the searches inside the item skip them.
#include "reader/FeedTags.h"

#include <cstddef>
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

// At p, a "<" followed by "!": the position after the comment or CDATA section that starts
// there (noted in spans when given), npos when it is never closed, and p + 1 when it is neither
// (a document type, say).
std::size_t SkipOpaque(std::string_view body, std::size_t p, TOpaqueSpans* spans);

// Whether text stands at p, whose first byte is known to match. Tags are short: a byte loop
// beats a call to memcmp.
inline bool TextAt(std::string_view body, std::size_t p, std::string_view text) {
    if (body.size() - p < text.size())
        return false;
    for (std::size_t i = 1; i < text.size(); ++i)
        if (body[p + i] != text[i])
            return false;
    return true;
}

// The first of tags at or after from that no comment or CDATA section holds, its index in tags
// going to which: a tag ending in ">" ("</item>") is matched as it stands, any other ("<item") as
// a start tag. npos when none follows, or when a comment or CDATA section is never closed (the
// rest of the body is then its text). The comments and CDATA sections passed go to spans when
// given. One pass over the "<"s; inline, as it runs for every tag of every item.
template <std::size_t N>
std::size_t NextTag(std::string_view body, std::size_t from, const std::string_view (&tags)[N], int& which,
                    TOpaqueSpans* spans = nullptr) {
    const char* base = body.data();
    while (from < body.size()) {
        const void* lt = std::memchr(base + from, '<', body.size() - from);
        if (!lt)
            return feedtags::npos;
        const auto p = static_cast<std::size_t>(static_cast<const char*>(lt) - base);
        from = p + 1;
        if (from >= body.size())
            return feedtags::npos;
        const char c = body[from];
        if (c == '!') {
            from = SkipOpaque(body, p, spans);
            continue;
        }
        for (std::size_t i = 0; i < N; ++i) {
            const std::string_view t = tags[i];
            if (t[1] == c && TextAt(body, p, t) && (t.back() == '>' || feedtags::StartTagAt(body, p, t))) {
                which = static_cast<int>(i);
                return p;
            }
        }
    }
    return feedtags::npos;
}
