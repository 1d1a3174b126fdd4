#pragma once
// The entries of an Atom feed, by plain text search: one headline per "<entry ...>...</entry>"
// (one never closed ends where the next starts), from the entry's title (ItemTitle.h; its type
// telling plain text, HTML or XHTML) and the href of its last "<link>" whose rel is "alternate"
// or absent and whose type, if any, is a web page's (the one mature readers take); without one,
// an id that is a web address. What an entry's "<source>" (the feed it was copied from), its
// comments and its CDATA sections hold is not the entry's own; a "</entry>" in them ends nothing.
// A feed whose Atom elements carry a prefix ("<a:entry>", FeedNamespaces.h) is cut by those names.
#include "reader/TRawFeedItem.h"

#include <cstddef>
#include <string_view>

// firstEntry: the position of the first entry's start tag; prefix: that of the feed's Atom
// elements, "" for none.
void CutAtomEntries(std::string_view body, std::size_t firstEntry, std::string_view prefix,
                    const TRawFeedItemSink& onItem);
