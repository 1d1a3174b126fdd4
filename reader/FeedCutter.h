#pragma once
// Cuts headlines out of an RSS feed body by plain text search; this is not an XML parse.
//
// The text is consumed from the left:
//   1. Skip to the first "<item>", dropping everything before it and its "<" (the channel's
//      own title and link are not taken); nothing is dropped when there is none.
//   2. While a "<title>" remains: the title is what lies between the first "<title>" and the
//      first "</title>", the link what lies between the first "<link>" and the first "</link>",
//      every search running over the whole remaining text, not bounded by the item; then
//      everything through the first "</item>" is dropped, or 6 bytes when none remains. A pass
//      that finds the same "<title>" as the pass before it (possible only after such a 6-byte
//      step) gives no item.
// A count that comes out zero or negative gives an empty text. Without any "<link>" the link
// is taken from the sixth byte on, as the remaining-text arithmetic gives. Tags are matched
// exactly and case-sensitively; entities, CDATA markers and nested markup stay as they are.
//
// It runs in time linear in the body: the remaining text is an offset into the body, never a
// copy, and each tag's next occurrence is remembered until the offset passes it.
#include "reader/THeadlineItem.h"

#include <functional>
#include <string>
#include <string_view>

// One raw item: the title and link bytes exactly as cut, before any conversion.
struct TRawFeedItem {
    std::string_view title;
    std::string_view link;
};

// Calls onItem for each item in feed order. Stops early when onItem returns false.
void CutFeedItems(std::string_view body, const std::function<bool(const TRawFeedItem&)>& onItem);

// The complete headline for a raw item: converted title (FeedTitle.h), redirect prefix + link
// with any CR, LF and TAB removed.
THeadlineItem MakeHeadline(const TRawFeedItem& raw, std::string_view redirectPrefix);

// The most bytes (titles and links as cut, prefix included) the headlines of one body may
// take: 4 x the body plus 1 MiB. An ordinary feed stays far below it.
std::size_t HeadlineBytesBound(std::size_t bodySize);

class THeadlineStore;
// Appends every item of the body to the store (the caller resets it first). Returns the number
// of items appended. Throws EFeedTooLarge once the headlines would pass HeadlineBytesBound();
// the items appended before stay in the store.
std::size_t CutHeadlines(std::string_view body, std::string_view redirectPrefix, THeadlineStore& store);
