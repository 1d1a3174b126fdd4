#pragma once
// The items of an RSS feed (2.0, and 1.0/RDF whose items carry attributes), by plain text search.
//
// Each item runs from its "<item>" or "<item ...>" to its "</item>" (or to the next item when
// that comes first, or to the end of the body), and everything of it is searched within it:
//   - title: chosen among its "<title>", "<dc:title>" and "<media:title>" (ItemTitle.h), a type
//     attribute of "html" or "xhtml" marking it so; without any, empty, the item still being a
//     headline;
//   - link: the text of its first "<link>" up to the "</link>" after it; without one, that of a
//     "<link ...>" with attributes, or its href when it has one ("<link href=.../>", to a web
//     page); else the href of an "<atom:link>" (by the prefix the feed binds to Atom, "a10:" say)
//     to a web page; else a "<guid>" that is a permalink (isPermaLink absent or "true") and a web
//     address; else empty.
// What lies between items and after the last (a channel's image or text input) is no headline.
//
// A body with no item at all keeps the old cutting from the left: while a "<title>" remains, the
// title lies between the first "<title>" and the first "</title>", the link between the first
// "<link>" and the first "</link>" (from the remaining text's sixth byte when there is no
// "<link>"), and everything through the first "</item>" is dropped, or 6 bytes when none
// remains; a pass that finds the same "<title>" again gives no item. So a feed without items
// lists its channel's title once.
//
// What an item's comments and CDATA sections hold is not its own: a "</item>" there ends nothing,
// a "<title>" or "<link>" there is not its title or link. A feed whose RSS 1.0 elements carry a
// prefix ("<rss:item>", FeedNamespaces.h) is cut by those names.
//
// Tags are matched case-sensitively; the time is linear in the body.
#include "reader/TRawFeedItem.h"

#include <cstddef>
#include <string_view>

// firstItem: the position of the first item's start tag, npos for a body with none; prefix: that
// of the feed's RSS elements, "" for none; atomPrefix: the one the feed binds to Atom, "" for none.
void CutRssItems(std::string_view body, std::size_t firstItem, std::string_view prefix,
                 std::string_view atomPrefix, const TRawFeedItemSink& onItem);
