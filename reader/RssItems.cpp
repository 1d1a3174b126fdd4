#include "reader/RssItems.h"

#include "reader/FeedTags.h"
#include "reader/ItemTitle.h"

#include <algorithm>
#include <cstring>

using namespace feedtags;

namespace {

// Copy(S, index, count) of the remaining text, all positions absolute: nothing for a count of
// zero or less, cut at the end of the body.
std::string_view copy(std::string_view body, std::size_t start, long long count) {
    if (count <= 0 || start >= body.size())
        return {};
    return body.substr(start, static_cast<std::size_t>(count));
}

// A body without items: the channel's title stands for the feed, cut from the left.
void cutWithoutItems(std::string_view body, const TRawFeedItemSink& onItem) {
    std::size_t offset = 0;
    TTagCursor title(body, "<title>"), titleEnd(body, "</title>");
    TTagCursor link(body, "<link>"), linkEnd(body, "</link>");
    TTagCursor itemEnd(body, "</item>");
    std::size_t previousTitle = npos;

    while (offset < body.size()) {
        std::size_t t = title.At(offset);
        if (t == npos)
            break;
        // Without an "</item>" a pass consumes only 6 bytes, so the next pass may find the very
        // same "<title>" again: that is no new headline.
        const bool repeated = t == previousTitle;
        previousTitle = t;
        if (!repeated) {
            std::size_t te = titleEnd.At(offset);
            std::size_t l = link.At(offset);
            std::size_t le = linkEnd.At(offset);
            TRawFeedItem raw;
            raw.linkElement = true;
            if (te != npos)
                raw.title = copy(body, t + 7, static_cast<long long>(te) - static_cast<long long>(t) - 7);
            if (le != npos) {
                // No "<link>" left: position 0 of the remaining text stands in for it, so the
                // link runs from the sixth byte up to the "</link>".
                const std::size_t from = l != npos ? l + 6 : offset + 5;
                raw.link = copy(body, from, static_cast<long long>(le) - static_cast<long long>(from));
            }
            if (!onItem(raw))
                return;
        }
        std::size_t e = itemEnd.At(offset);
        offset = e != npos ? e + 7 : offset + 6;
    }
}

TTitleMarkup titleMarkup(std::string_view tag) {
    const std::string_view type = Attribute(tag, "type");
    if (type == "html" || type == "text/html")
        return TTitleMarkup::Html;
    if (type == "xhtml" || type == "application/xhtml+xml")
        return TTitleMarkup::Xhtml;
    return TTitleMarkup::Guess;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = s[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

// Whether an id's raw text is a web address (blanks and a CDATA marker before it allowed).
bool webAddress(std::string_view id) {
    while (!id.empty() && Blank(id.front()))
        id.remove_prefix(1);
    if (id.starts_with("<![CDATA["))
        id.remove_prefix(9);
    return startsWithNoCase(id, "http://") || startsWithNoCase(id, "https://");
}

// The searches of the items, each remembering its tag's next occurrence.
struct ItemSearch {
    explicit ItemSearch(std::string_view b) : body(b), link(b, "<link>"), linkEnd(b, "</link>") {}

    std::string_view body;
    TTagCursor link, linkEnd;
};

bool textAt(std::string_view body, std::size_t p, std::string_view text) {
    if (body.size() - p < text.size())
        return false;
    for (std::size_t i = 1; i < text.size(); ++i)
        if (body[p + i] != text[i])
            return false;
    return true;
}

// The first "</item>" or "<item" start tag at or after from, in one pass over the "<"s; closing
// tells which. npos when there is neither. What a comment holds is no item (a feed's author
// comments items out).
std::size_t nextItemBoundary(std::string_view body, std::size_t from, bool& closing) {
    const char* base = body.data();
    while (from < body.size()) {
        const void* lt = std::memchr(base + from, '<', body.size() - from);
        if (!lt)
            return npos;
        const auto p = static_cast<std::size_t>(static_cast<const char*>(lt) - base);
        from = p + 1;
        if (textAt(body, p, "<!--")) {
            const std::size_t close = FindText(body, "-->", p + 4);
            if (close == npos)
                return npos;
            from = close + 3;
            continue;
        }
        if (textAt(body, p, "</item>")) {
            closing = true;
            return p;
        }
        if (textAt(body, p, "<item") && StartTagAt(body, p, "<item")) {
            closing = false;
            return p;
        }
    }
    return npos;
}

} // namespace

std::size_t FirstRssItem(std::string_view body, std::size_t from) {
    bool closing = true;
    std::size_t p = from;
    while (closing && (p = nextItemBoundary(body, from, closing)) != npos)
        from = p + 7;
    return p;
}

namespace {

void takeTitle(ItemSearch& s, std::size_t from, std::size_t end, TRawFeedItem& raw) {
    const TItemTitle title = ChooseItemTitle(s.body, from, end, npos, npos);
    raw.title = title.text;
    raw.markup = titleMarkup(title.tag);
}

bool webPageType(std::string_view type) {
    return type.empty() || type == "text/html" || type == "application/xhtml+xml";
}

void takeLink(ItemSearch& s, std::size_t from, std::size_t end, TRawFeedItem& raw) {
    if (const std::size_t l = s.link.Within(from, end); l != npos) {
        raw.linkElement = true;
        if (const std::size_t le = s.linkEnd.Within(l + 6, end); le != npos)
            raw.link = s.body.substr(l + 6, le - l - 6);
        return;
    }
    std::size_t after = 0;
    // A link element with attributes: an Atom-style "<link href=.../>" that some generators write
    // into RSS, or "<link rel=...>text</link>".
    if (const std::size_t l = FindStartTag(s.body, "<link", from, end); l != npos) {
        const std::string_view tag = StartTag(s.body, l, 5, after, end);
        const std::string_view href = Attribute(tag, "href");
        if (!href.empty()) {
            const std::string_view rel = Attribute(tag, "rel");
            if ((rel.empty() || rel == "alternate") && webPageType(Attribute(tag, "type"))) {
                raw.link = href;
                return;
            }
        } else if (!SelfClosing(tag)) {
            raw.linkElement = true;
            raw.link = ElementText(s.body, l, 5, "</link>", end);
            return;
        }
    }
    for (std::size_t l = FindStartTag(s.body, "<atom:link", from, end); l != npos;
         l = FindStartTag(s.body, "<atom:link", after, end)) {
        const std::string_view tag = StartTag(s.body, l, 10, after, end);
        const std::string_view rel = Attribute(tag, "rel");
        const std::string_view href = Attribute(tag, "href");
        if (!href.empty() && (rel.empty() || rel == "alternate") && webPageType(Attribute(tag, "type")))
            raw.link = href;
    }
    if (!raw.link.empty())
        return;
    if (const std::size_t g = FindStartTag(s.body, "<guid", from, end); g != npos) {
        std::string_view tag;
        const std::string_view id = ElementText(s.body, g, 5, "</guid>", end, &tag);
        const std::string_view permalink = Attribute(tag, "isPermaLink");
        if ((permalink.empty() || permalink == "true") && webAddress(id))
            raw.link = id;
    }
}

} // namespace

void CutRssItems(std::string_view body, std::size_t firstItem, const TRawFeedItemSink& onItem) {
    if (firstItem == npos) {
        cutWithoutItems(body, onItem);
        return;
    }
    ItemSearch s(body);
    for (std::size_t start = firstItem; start != npos;) {
        // An item that is never closed ends where the next one starts.
        bool closing = false;
        const std::size_t boundary = nextItemBoundary(body, start + 5, closing);
        const std::size_t end = std::min(boundary, body.size());
        const std::size_t next = closing ? FirstRssItem(body, boundary + 7) : boundary;
        std::size_t after = 0;
        const std::string_view tag = StartTag(body, start, 5, after, end);
        TRawFeedItem raw;
        if (!SelfClosing(tag)) {
            takeTitle(s, after, end, raw);
            takeLink(s, after, end, raw);
        }
        if (!onItem(raw))
            return;
        start = next;
    }
}
