#include "reader/FeedCutter.h"

#include "reader/EFeedTooLarge.h"
#include "reader/FeedCharset.h"
#include "reader/LinkAddress.h"
#include "reader/TFeedTextDecoder.h"
#include "reader/THeadlineStore.h"

namespace {

constexpr std::size_t npos = std::string_view::npos;

// The next occurrence of one tag at or after the consumed offset. It is searched again only
// once the offset has moved past the remembered position, and never again once absent, so the
// searches for one tag together scan the body at most once.
class TagCursor {
public:
    TagCursor(std::string_view body, std::string_view tag) : body_(body), tag_(tag) {}

    std::size_t At(std::size_t offset) {
        if (at_ == npos && searched_)
            return npos;
        if (!searched_ || at_ < offset) {
            at_ = body_.find(tag_, offset);
            searched_ = true;
        }
        return at_;
    }

private:
    std::string_view body_;
    std::string_view tag_;
    std::size_t at_ = npos;
    bool searched_ = false;
};

// Copy(S, index, count) of the remaining text, all positions absolute: nothing for a count of
// zero or less, cut at the end of the body.
std::string_view copy(std::string_view body, std::size_t start, long long count) {
    if (count <= 0 || start >= body.size())
        return {};
    return body.substr(start, static_cast<std::size_t>(count));
}

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The first start tag "<name" (followed by ">", "/" or a blank) at or after from, before limit.
std::size_t findTag(std::string_view body, std::string_view open, std::size_t from,
                    std::size_t limit = npos) {
    for (;;) {
        const std::size_t p = body.find(open, from);
        if (p == npos || p >= limit)
            return npos;
        const std::size_t after = p + open.size();
        if (after < body.size() && (body[after] == '>' || body[after] == '/' || blank(body[after])))
            return p;
        from = p + 1;
    }
}

// The value of one attribute within a start tag's text (between its name and ">"), or "".
std::string_view attribute(std::string_view tag, std::string_view name) {
    std::size_t i = 0;
    while (i < tag.size()) {
        while (i < tag.size() && (blank(tag[i]) || tag[i] == '/'))
            ++i;
        const std::size_t nameStart = i;
        while (i < tag.size() && tag[i] != '=' && !blank(tag[i]) && tag[i] != '/')
            ++i;
        const std::string_view attr = tag.substr(nameStart, i - nameStart);
        while (i < tag.size() && blank(tag[i]))
            ++i;
        if (i >= tag.size() || tag[i] != '=') {
            if (i == nameStart)
                ++i;
            continue;
        }
        ++i;
        while (i < tag.size() && blank(tag[i]))
            ++i;
        std::string_view value;
        if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
            const std::size_t close = tag.find(tag[i], i + 1);
            const std::size_t end = close == npos ? tag.size() : close;
            value = tag.substr(i + 1, end - i - 1);
            i = end + 1;
        } else {
            const std::size_t start = i;
            while (i < tag.size() && !blank(tag[i]))
                ++i;
            value = tag.substr(start, i - start);
        }
        if (attr == name)
            return value;
    }
    return {};
}

TTitleMarkup atomMarkup(std::string_view tag) {
    const std::string_view type = attribute(tag, "type");
    if (type == "html" || type == "text/html" || attribute(tag, "mode") == "escaped")
        return TTitleMarkup::Html;
    if (type == "xhtml" || type == "application/xhtml+xml")
        return TTitleMarkup::Xhtml;
    return TTitleMarkup::Text;
}

bool webPageType(std::string_view type) {
    return type.empty() || type == "text/html" || type == "application/xhtml+xml";
}

// One start tag at p: its attribute text and the position after its ">".
std::string_view startTag(std::string_view body, std::size_t p, std::size_t nameLength, std::size_t& after) {
    const std::size_t close = body.find('>', p);
    const std::size_t end = close == npos ? body.size() : close;
    after = close == npos ? body.size() : close + 1;
    std::string_view tag = body.substr(p + nameLength, end - p - nameLength);
    return tag;
}

TRawFeedItem atomEntry(std::string_view body, std::size_t from, std::size_t end) {
    TRawFeedItem raw;
    raw.markup = TTitleMarkup::Text;
    if (std::size_t t = findTag(body, "<title", from, end); t != npos) {
        std::size_t after = 0;
        const std::string_view tag = startTag(body, t, 6, after);
        raw.markup = atomMarkup(tag);
        if (tag.empty() || tag.back() != '/') {
            const std::size_t close = body.find("</title>", after);
            raw.title = body.substr(after, (close == npos || close > end ? end : close) - after);
        }
    }
    for (std::size_t l = findTag(body, "<link", from, end); l != npos;
         l = findTag(body, "<link", l + 1, end)) {
        std::size_t after = 0;
        const std::string_view tag = startTag(body, l, 5, after);
        const std::string_view rel = attribute(tag, "rel");
        const std::string_view href = attribute(tag, "href");
        // The last such link wins, as in mature feed readers.
        if (!href.empty() && (rel.empty() || rel == "alternate") && webPageType(attribute(tag, "type"))) {
            raw.link = href;
            raw.bases[2] = attribute(tag, "xml:base");
        }
    }
    if (!raw.link.empty())
        return raw;
    if (std::size_t i = findTag(body, "<id", from, end); i != npos) {
        std::size_t after = 0;
        startTag(body, i, 3, after);
        const std::size_t close = body.find("</id>", after);
        const std::string_view id = body.substr(after, (close == npos || close > end ? end : close) - after);
        if (id.find("http://") != npos || id.find("https://") != npos)
            raw.link = id;
    }
    return raw;
}

void cutAtom(std::string_view body, std::size_t entry,
             const std::function<bool(const TRawFeedItem&)>& onItem) {
    std::string_view feedBase;
    if (std::size_t feed = findTag(body, "<feed", 0, entry); feed != npos) {
        std::size_t after = 0;
        feedBase = attribute(startTag(body, feed, 5, after), "xml:base");
    }
    while (entry != npos) {
        std::size_t after = 0;
        const std::string_view entryTag = startTag(body, entry, 6, after);
        const std::size_t close = body.find("</entry>", after);
        const std::size_t end = close == npos ? body.size() : close;
        TRawFeedItem raw = atomEntry(body, after, end);
        raw.bases[0] = feedBase;
        raw.bases[1] = attribute(entryTag, "xml:base");
        if (!onItem(raw))
            return;
        if (close == npos)
            return;
        entry = findTag(body, "<entry", close + 8);
    }
}

void cutRss(std::string_view body, std::size_t item, const std::function<bool(const TRawFeedItem&)>& onItem) {
    std::size_t offset = item != npos ? item + 1 : 0;
    TagCursor title(body, "<title>"), titleEnd(body, "</title>");
    TagCursor link(body, "<link>"), linkEnd(body, "</link>");
    TagCursor itemEnd(body, "</item>");
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

// An RSS link escaped twice ("?a=1&amp;amp;b=2") reads as meant, as mature feed readers have it.
void undoDoubleEscape(std::string& link, std::size_t from) {
    for (std::size_t at = link.find("&amp;", from); at != std::string::npos; at = link.find("&amp;", at + 1))
        link.erase(at + 1, 4);
}

} // namespace

void CutFeedItems(std::string_view body, const std::function<bool(const TRawFeedItem&)>& onItem) {
    const std::size_t item = findTag(body, "<item", 0);
    const std::size_t entry = findTag(body, "<entry", 0, item);
    if (entry != npos)
        cutAtom(body, entry, onItem);
    else
        cutRss(body, item, onItem);
}

THeadlineItem MakeHeadline(const TRawFeedItem& raw, const TFeedTextDecoder& decoder,
                           const TFeedOrigin& origin) {
    THeadlineItem item;
    item.title = FeedTitleText(raw.title, decoder, raw.markup);
    // The link is decoded straight after the prefix: one string, built in one go.
    item.link.reserve(origin.redirectPrefix.size() + raw.link.size());
    item.link.append(origin.redirectPrefix);
    AppendFeedLinkText(item.link, raw.link, decoder);
    if (raw.markup == TTitleMarkup::Guess) // an RSS item's link element, not an Atom href
        undoDoubleEscape(item.link, origin.redirectPrefix.size());
    if (raw.bases[0].empty() && raw.bases[1].empty() && raw.bases[2].empty()) {
        FinishLinkAddress(item.link, origin.redirectPrefix.size(), origin.url);
    } else {
        std::string base(origin.url);
        for (std::string_view b : raw.bases)
            if (!b.empty())
                base = ResolveLink(base, FeedLinkText(b, decoder));
        FinishLinkAddress(item.link, origin.redirectPrefix.size(), base);
    }
    return item;
}

std::size_t HeadlineBytesBound(std::size_t bodySize) {
    return 4 * bodySize + (std::size_t{1} << 20);
}

std::size_t CutHeadlines(std::string_view body, const TFeedOrigin& origin, THeadlineStore& store) {
    const TFeedCharset charset = DetectFeedCharset(body, origin.contentType);
    std::string_view text = body.substr(charset.bomLength);
    TFeedTextDecoder decoder(charset.name);
    std::string converted;
    if (decoder.GetKind() == TFeedTextDecoder::Kind::Transcode) {
        converted = TranscodeToUtf8(text, charset.name);
        text = converted;
        decoder = TFeedTextDecoder("UTF-8");
    }
    const std::size_t bound = HeadlineBytesBound(body.size());
    std::size_t n = 0, bytes = 0;
    CutFeedItems(text, [&](const TRawFeedItem& raw) {
        // Checked before the item is made: items without an end can all share one huge link.
        bytes += raw.title.size() + origin.redirectPrefix.size() + raw.link.size();
        if (bytes > bound)
            throw EFeedTooLarge("The headlines of the feed exceed " + std::to_string(bound) + " bytes.");
        store.Append(MakeHeadline(raw, decoder, origin));
        ++n;
        return true;
    });
    return n;
}
