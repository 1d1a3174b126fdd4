#pragma once
// Cuts headlines out of a feed body by plain text search; this is not an XML parse.
//
// RSS (2.0, and 1.0/RDF whose items carry attributes) is consumed from the left:
//   1. Skip to the first "<item>" or "<item ...>", dropping everything before it and its "<"
//      (the channel's own title and link are not taken); nothing is dropped when there is none.
//   2. While a "<title>" remains: the title is what lies between the first "<title>" and the
//      first "</title>", the link what lies between the first "<link>" and the first "</link>",
//      every search running over the whole remaining text, not bounded by the item; then
//      everything through the first "</item>" is dropped, or 6 bytes when none remains. A pass
//      that finds the same "<title>" as the pass before it (possible only after such a 6-byte
//      step) gives no item.
// A count that comes out zero or negative gives an empty text. Without any "<link>" the link
// is taken from the sixth byte on, as the remaining-text arithmetic gives. Tags are matched
// exactly and case-sensitively.
//
// Atom, a body whose first "<entry" comes before any "<item", gives one headline per
// "<entry ...>...</entry>": the entry's first "<title ...>" (its type telling plain text, HTML or
// XHTML) and the href of its last "<link>" whose rel is "alternate" or absent and whose type,
// if any, is a web page's (the one mature readers take); without one, an id that is a web
// address.
//
// It runs in time linear in the body: the remaining text is an offset into the body, never a
// copy, and each tag's next occurrence is remembered until the offset passes it.
#include "reader/FeedText.h"
#include "reader/THeadlineItem.h"

#include <functional>
#include <string>
#include <string_view>

// One raw item: the title and link bytes exactly as cut, before any decoding.
struct TRawFeedItem {
    std::string_view title;
    std::string_view link;
    TTitleMarkup markup = TTitleMarkup::Guess;
    // Atom's xml:base on the feed, the entry and the link, outermost first, each resolved against
    // the one before it and the first against the feed's address; the link resolves against the
    // last. Empty where there is none.
    std::string_view bases[3];
};

// Calls onItem for each item in feed order. Stops early when onItem returns false. The body is
// in an ASCII-compatible character set (see CutHeadlines).
void CutFeedItems(std::string_view body, const std::function<bool(const TRawFeedItem&)>& onItem);

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
