#include "reader/OpaqueSpans.h"

#include <algorithm>

using feedtags::npos;

std::size_t TOpaqueSpans::skipSlow(std::size_t p) const {
    // The last span starting at or before p is the only one that may hold it.
    auto it = std::upper_bound(spans_.begin(), spans_.end(), p,
                               [](std::size_t q, const Span& s) { return q < s.from; });
    if (it == spans_.begin())
        return p;
    --it;
    return p < it->to ? it->to : p;
}

std::size_t SkipOpaque(std::string_view body, std::size_t p, TOpaqueSpans* spans) {
    std::size_t close;
    if (TextAt(body, p, "<!--"))
        close = feedtags::FindText(body, "-->", p + 4);
    else if (TextAt(body, p, "<![CDATA["))
        close = feedtags::FindText(body, "]]>", p + 9);
    else
        return p + 1;
    if (spans)
        spans->Add(p, close == npos ? body.size() : close + 3);
    return close == npos ? npos : close + 3;
}
