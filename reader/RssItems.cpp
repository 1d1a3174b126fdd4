#include "reader/RssItems.h"

#include "reader/FeedNamespaces.h"
#include "reader/FeedTags.h"
#include "reader/ItemScope.h"
#include "reader/ItemTitle.h"
#include "reader/OpaqueSpans.h"

#include <algorithm>

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

// The names of the RSS elements, with the feed's prefix for RSS 1.0 and its Atom prefix for
// Atom's links ("atom" when it binds none).
struct RssNames {
    RssNames(std::string_view prefix, std::string_view atomPrefix)
        : item(OpenTag(prefix, "item")), itemEnd(CloseTag(prefix, "item")), linkOpen(OpenTag(prefix, "link")),
          link(linkOpen + ">"), linkEnd(CloseTag(prefix, "link")),
          atomLink(OpenTag(atomPrefix.empty() ? "atom" : atomPrefix, "link")), titles(prefix) {}

    std::string item, itemEnd, linkOpen, link, linkEnd, atomLink;
    TTitleNames titles;
};

// The searches of the items, each remembering its tag's next occurrence.
struct ItemSearch {
    ItemSearch(std::string_view b, const RssNames& n)
        : body(b), names(n), link(b, n.link), linkEnd(b, n.linkEnd) {}

    std::string_view body;
    const RssNames& names;
    TTagCursor link, linkEnd;
};

// The cursor's next occurrence of the item's own at or after from.
std::size_t ownWithin(TTagCursor& cursor, const TItemScope& item, std::size_t from) {
    for (;;) {
        const std::size_t p = cursor.Within(from, item.End());
        if (p == npos)
            return npos;
        const std::size_t own = item.Own(p);
        if (own == p)
            return p;
        from = own;
    }
}

void takeTitle(const ItemSearch& s, const TItemScope& item, TRawFeedItem& raw) {
    const TItemTitle title = ChooseItemTitle(item, s.names.titles);
    raw.title = title.text;
    raw.markup = titleMarkup(title.tag);
}

bool webPageType(std::string_view type) {
    return type.empty() || type == "text/html" || type == "application/xhtml+xml";
}

void takeLink(ItemSearch& s, const TItemScope& item, TRawFeedItem& raw) {
    const RssNames& n = s.names;
    if (const std::size_t l = ownWithin(s.link, item, item.From()); l != npos) {
        raw.linkElement = true;
        const std::size_t from = l + n.link.size();
        if (const std::size_t le = ownWithin(s.linkEnd, item, from); le != npos)
            raw.link = s.body.substr(from, le - from);
        return;
    }
    std::size_t after = 0;
    // A link element with attributes: an Atom-style "<link href=.../>" that some generators write
    // into RSS, or "<link rel=...>text</link>".
    if (const std::size_t l = item.Find(n.linkOpen); l != npos) {
        const std::string_view tag = StartTag(s.body, l, n.linkOpen.size(), after, item.End());
        const std::string_view href = Attribute(tag, "href");
        if (!href.empty()) {
            const std::string_view rel = Attribute(tag, "rel");
            if ((rel.empty() || rel == "alternate") && webPageType(Attribute(tag, "type"))) {
                raw.link = href;
                return;
            }
        } else if (!SelfClosing(tag)) {
            raw.linkElement = true;
            raw.link = item.Text(l, n.linkOpen.size(), n.linkEnd);
            return;
        }
    }
    for (std::size_t l = item.Find(n.atomLink); l != npos; l = item.Find(n.atomLink, after)) {
        const std::string_view tag = StartTag(s.body, l, n.atomLink.size(), after, item.End());
        const std::string_view rel = Attribute(tag, "rel");
        const std::string_view href = Attribute(tag, "href");
        if (!href.empty() && (rel.empty() || rel == "alternate") && webPageType(Attribute(tag, "type")))
            raw.link = href;
    }
    if (!raw.link.empty())
        return;
    if (const std::size_t g = item.Find("<guid"); g != npos) {
        std::string_view tag;
        const std::string_view id = item.Text(g, 5, "</guid>", &tag);
        const std::string_view permalink = Attribute(tag, "isPermaLink");
        if ((permalink.empty() || permalink == "true") && webAddress(id))
            raw.link = id;
    }
}

} // namespace

void CutRssItems(std::string_view body, std::size_t firstItem, std::string_view prefix,
                 std::string_view atomPrefix, const TRawFeedItemSink& onItem) {
    if (firstItem == npos) {
        cutWithoutItems(body, onItem);
        return;
    }
    const RssNames names(prefix, atomPrefix);
    ItemSearch s(body, names);
    // An item ends at its "</item>", or where the next one starts when it is never closed.
    const std::string_view bounds[] = {names.itemEnd, names.item}, starts[] = {names.item};
    TOpaqueSpans spans;
    int which = 0;
    for (std::size_t start = firstItem; start != npos;) {
        spans.Clear();
        const std::size_t boundary = NextTag(body, start + names.item.size(), bounds, which, &spans);
        const std::size_t end = std::min(boundary, body.size());
        const bool closing = boundary != npos && which == 0;
        const std::size_t next =
            closing ? NextTag(body, boundary + names.itemEnd.size(), starts, which) : boundary;
        std::size_t after = 0;
        const std::string_view tag = StartTag(body, start, names.item.size(), after, end);
        TRawFeedItem raw;
        if (!SelfClosing(tag)) {
            const TItemScope item(body, after, end, spans);
            takeTitle(s, item, raw);
            takeLink(s, item, raw);
        }
        if (!onItem(raw))
            return;
        start = next;
    }
}
