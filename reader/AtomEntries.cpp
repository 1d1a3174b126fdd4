#include "reader/AtomEntries.h"

#include "reader/FeedNamespaces.h"
#include "reader/FeedTags.h"
#include "reader/ItemScope.h"
#include "reader/ItemTitle.h"
#include "reader/OpaqueSpans.h"

#include <algorithm>

using namespace feedtags;

namespace {

TTitleMarkup atomMarkup(std::string_view tag) {
    const std::string_view type = Attribute(tag, "type");
    if (type == "html" || type == "text/html" || Attribute(tag, "mode") == "escaped")
        return TTitleMarkup::Html;
    if (type == "xhtml" || type == "application/xhtml+xml")
        return TTitleMarkup::Xhtml;
    return TTitleMarkup::Text;
}

bool webPageType(std::string_view type) {
    return type.empty() || type == "text/html" || type == "application/xhtml+xml";
}

// The names of the Atom elements, with the feed's prefix.
struct AtomNames {
    explicit AtomNames(std::string_view prefix)
        : feed(OpenTag(prefix, "feed")), entry(OpenTag(prefix, "entry")), entryEnd(CloseTag(prefix, "entry")),
          link(OpenTag(prefix, "link")), id(OpenTag(prefix, "id")), idEnd(CloseTag(prefix, "id")),
          source(OpenTag(prefix, "source")), sourceEnd(CloseTag(prefix, "source")), titles(prefix) {}

    std::string feed, entry, entryEnd, link, id, idEnd, source, sourceEnd;
    TTitleNames titles;
};

// The title, links and id of a "<source>" are the feed's it was copied from.
void excludeSource(TItemScope& entry, const AtomNames& names) {
    const std::size_t s = entry.Find(names.source);
    if (s == npos)
        return;
    std::size_t after = 0;
    const std::string_view tag = StartTag(entry.Body(), s, names.source.size(), after, entry.End());
    const std::size_t close = SelfClosing(tag) ? after : entry.FindText(names.sourceEnd, after);
    entry.Exclude(s, close == npos ? entry.End() : close);
}

TRawFeedItem atomEntry(const TItemScope& entry, const AtomNames& names) {
    TRawFeedItem raw;
    const TItemTitle title = ChooseItemTitle(entry, names.titles);
    raw.title = title.text;
    raw.markup = atomMarkup(title.tag);
    std::size_t after = 0;
    for (std::size_t l = entry.Find(names.link); l != npos; l = entry.Find(names.link, after)) {
        const std::string_view tag = StartTag(entry.Body(), l, names.link.size(), after, entry.End());
        const std::string_view rel = Attribute(tag, "rel");
        const std::string_view href = Attribute(tag, "href");
        // The last such link wins, as in mature feed readers.
        if (!href.empty() && (rel.empty() || rel == "alternate") && webPageType(Attribute(tag, "type"))) {
            raw.link = href;
            raw.bases[2] = Attribute(tag, "xml:base");
        }
    }
    if (!raw.link.empty())
        return raw;
    if (const std::size_t i = entry.Find(names.id); i != npos) {
        const std::string_view id = entry.Text(i, names.id.size(), names.idEnd);
        if (id.find("http://") != npos || id.find("https://") != npos)
            raw.link = id;
    }
    return raw;
}

} // namespace

void CutAtomEntries(std::string_view body, std::size_t entry, std::string_view prefix,
                    const TRawFeedItemSink& onItem) {
    const AtomNames names(prefix);
    std::string_view feedBase;
    if (std::size_t feed = FindStartTag(body, names.feed, 0, entry); feed != npos) {
        std::size_t after = 0;
        feedBase = Attribute(StartTag(body, feed, names.feed.size(), after, entry), "xml:base");
    }
    // An entry ends at its "</entry>", or where the next one starts when it is never closed (so
    // "<entry/>" keeps the entry after it).
    const std::string_view bounds[] = {names.entryEnd, names.entry}, starts[] = {names.entry};
    TOpaqueSpans spans;
    int which = 0;
    while (entry != npos) {
        spans.Clear();
        const std::size_t boundary = NextTag(body, entry + names.entry.size(), bounds, which, &spans);
        const std::size_t end = std::min(boundary, body.size());
        const bool closing = boundary != npos && which == 0;
        std::size_t after = 0;
        const std::string_view entryTag = StartTag(body, entry, names.entry.size(), after, end);
        TRawFeedItem raw;
        raw.markup = TTitleMarkup::Text;
        if (!SelfClosing(entryTag)) {
            TItemScope scope(body, after, end, spans);
            excludeSource(scope, names);
            raw = atomEntry(scope, names);
        }
        raw.bases[0] = feedBase;
        raw.bases[1] = Attribute(entryTag, "xml:base");
        if (!onItem(raw))
            return;
        entry = closing ? NextTag(body, boundary + names.entryEnd.size(), starts, which) : boundary;
    }
}
