#pragma once
// Cuts headlines out of a feed body by plain text search; this is not an XML parse. A body whose
// first "<entry" comes before any "<item" is Atom (AtomEntries.h), any other RSS (RssItems.h);
// each also by the prefix the feed binds to its namespace (FeedNamespaces.h), and neither when a
// comment or CDATA section holds it.
// The search runs in time linear in the body: positions into it, never copies of the rest.
#include "reader/THeadlineItem.h"
#include "reader/TRawFeedItem.h"

#include <string>
#include <string_view>

// Calls onItem for each item in feed order. Stops early when onItem returns false. The body is
// in an ASCII-compatible character set (see CutHeadlines).
void CutFeedItems(std::string_view body, const TRawFeedItemSink& onItem);

// Where a feed came from, which decides how its text reads.
struct TFeedOrigin {
    std::string_view url;            // the feed's own address, for relative links; "" for none
    std::string_view contentType;    // the HTTP Content-Type, whose charset wins; "" for none
    std::string_view redirectPrefix; // put before every link; "" where links open directly
};

class TFeedTextDecoder;
// The complete headline for a raw item: title and link as FeedText.h reads them, the link
// resolved against the feed's address and put after the redirect prefix.
THeadlineItem MakeHeadline(const TRawFeedItem& raw, const TFeedTextDecoder& decoder,
                           const TFeedOrigin& origin);

// The most bytes (titles and links as cut, prefix included) the headlines of one body may
// take: 4 x the body plus 1 MiB. An ordinary feed stays far below it.
std::size_t HeadlineBytesBound(std::size_t bodySize);

class THeadlineStore;
// Appends every item of the body to the store (the caller resets it first), its text read in
// the body's character set (FeedCharset.h); a body in UTF-16 or another set that is not
// ASCII-compatible is converted to UTF-8 first. Returns the number of items appended. Throws
// EFeedTooLarge once the headlines would pass HeadlineBytesBound(); the items appended before
// stay in the store.
std::size_t CutHeadlines(std::string_view body, const TFeedOrigin& origin, THeadlineStore& store);
