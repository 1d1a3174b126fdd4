#include "reader/FeedCutter.h"

#include "reader/AtomEntries.h"
#include "reader/EFeedTooLarge.h"
#include "reader/FeedCharset.h"
#include "reader/FeedNamespaces.h"
#include "reader/FeedTags.h"
#include "reader/LinkAddress.h"
#include "reader/OpaqueSpans.h"
#include "reader/RssItems.h"
#include "reader/TFeedTextDecoder.h"
#include "reader/THeadlineStore.h"

namespace {

// An RSS link escaped twice ("?a=1&amp;amp;b=2") reads as meant, as mature feed readers have it.
void undoDoubleEscape(std::string& link, std::size_t from) {
    for (std::size_t at = link.find("&amp;", from); at != std::string::npos; at = link.find("&amp;", at + 1))
        link.erase(at + 1, 4);
}

} // namespace

void CutFeedItems(std::string_view body, const TRawFeedItemSink& onItem) {
    const TFeedPrefixes prefixes = ReadFeedPrefixes(body);
    const std::string rssItem = OpenTag(prefixes.rss, "item"), atomEntry = OpenTag(prefixes.atom, "entry");
    // The first item or entry, each by its plain name or the feed's prefix, in one pass; the first
    // decides the names of the rest.
    const std::string_view starts[] = {"<item", rssItem, "<entry", atomEntry};
    int which = 0;
    const std::size_t first = NextTag(body, 0, starts, which);
    if (first != feedtags::npos && which >= 2)
        CutAtomEntries(body, first, which == 3 ? prefixes.atom : "", onItem);
    else
        CutRssItems(body, first, first != feedtags::npos && which == 1 ? prefixes.rss : "", prefixes.atom,
                    onItem);
}

THeadlineItem MakeHeadline(const TRawFeedItem& raw, const TFeedTextDecoder& decoder,
                           const TFeedOrigin& origin) {
    THeadlineItem item;
    item.title = FeedTitleText(raw.title, decoder, raw.markup);
    // The link is decoded straight after the prefix: one string, built in one go.
    item.link.reserve(origin.redirectPrefix.size() + raw.link.size() + 8);
    item.link.append(origin.redirectPrefix);
    AppendFeedLinkText(item.link, raw.link, decoder);
    if (raw.linkElement)
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
