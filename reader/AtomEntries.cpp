#include "reader/AtomEntries.h"

#include "reader/FeedTags.h"
#include "reader/ItemTitle.h"

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

// One entry's text, without its "<source>": the title, links and id there are the feed's it was
// copied from.
class Entry {
public:
    Entry(std::string_view body, std::size_t from, std::size_t end) : body_(body), from_(from), end_(end) {
        if (const std::size_t s = FindStartTag(body, "<source", from, end); s != npos) {
            std::size_t after = 0;
            const std::string_view tag = StartTag(body, s, 7, after, end);
            const std::size_t close = SelfClosing(tag) ? after : FindText(body, "</source>", after, end);
            skipFrom_ = s;
            skipTo_ = close == npos ? end : close;
        }
    }

    // The first start tag "<name" of the entry's own at or after from.
    std::size_t Find(std::string_view open, std::size_t from) const {
        std::size_t p = FindStartTag(body_, open, from, end_);
        if (p != npos && p >= skipFrom_ && p < skipTo_)
            p = FindStartTag(body_, open, skipTo_, end_);
        return p;
    }
    std::size_t Find(std::string_view open) const { return Find(open, from_); }

    // The text of the element at p up to close; empty when it is empty or not closed in the entry.
    std::string_view Text(std::size_t p, std::size_t nameLength, std::string_view close,
                          std::string_view* tag = nullptr) const {
        return ElementText(body_, p, nameLength, close, end_, tag);
    }

    std::string_view Body() const { return body_; }
    std::size_t From() const { return from_; }
    std::size_t SkipFrom() const { return skipFrom_; }
    std::size_t SkipTo() const { return skipTo_; }
    std::size_t End() const { return end_; }

private:
    std::string_view body_;
    std::size_t from_, end_;
    std::size_t skipFrom_ = npos, skipTo_ = npos;
};

TRawFeedItem atomEntry(const Entry& entry) {
    TRawFeedItem raw;
    raw.markup = TTitleMarkup::Text;
    const TItemTitle title =
        ChooseItemTitle(entry.Body(), entry.From(), entry.End(), entry.SkipFrom(), entry.SkipTo());
    raw.title = title.text;
    raw.markup = atomMarkup(title.tag);
    std::size_t after = 0;
    for (std::size_t l = entry.Find("<link"); l != npos; l = entry.Find("<link", after)) {
        const std::string_view tag = StartTag(entry.Body(), l, 5, after, entry.End());
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
    if (const std::size_t i = entry.Find("<id"); i != npos) {
        const std::string_view id = entry.Text(i, 3, "</id>");
        if (id.find("http://") != npos || id.find("https://") != npos)
            raw.link = id;
    }
    return raw;
}

} // namespace

void CutAtomEntries(std::string_view body, std::size_t entry, const TRawFeedItemSink& onItem) {
    std::string_view feedBase;
    if (std::size_t feed = FindStartTag(body, "<feed", 0, entry); feed != npos) {
        std::size_t after = 0;
        feedBase = Attribute(StartTag(body, feed, 5, after, entry), "xml:base");
    }
    while (entry != npos) {
        const std::size_t close = FindText(body, "</entry>", entry + 6);
        const std::size_t end = close == npos ? body.size() : close;
        std::size_t after = 0;
        const std::string_view entryTag = StartTag(body, entry, 6, after, end);
        TRawFeedItem raw;
        raw.markup = TTitleMarkup::Text;
        if (!SelfClosing(entryTag))
            raw = atomEntry(Entry(body, after, end));
        raw.bases[0] = feedBase;
        raw.bases[1] = Attribute(entryTag, "xml:base");
        if (!onItem(raw))
            return;
        if (close == npos)
            return;
        entry = FindStartTag(body, "<entry", close + 8);
    }
}
