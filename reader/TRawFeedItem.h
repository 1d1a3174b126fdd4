#pragma once
// One item as cut out of a feed: its title and link bytes exactly as they stand, before any
// decoding, and what tells how they read.
#include "reader/FeedText.h"

#include <functional>
#include <string_view>

struct TRawFeedItem {
    std::string_view title;
    std::string_view link;
    TTitleMarkup markup = TTitleMarkup::Guess;
    // The link is the text of an RSS link element (not an href or a guid): such links are often
    // escaped twice ("?a=1&amp;amp;b=2") and read as meant.
    bool linkElement = false;
    // Atom's xml:base on the feed, the entry and the link, outermost first, each resolved against
    // the one before it and the first against the feed's address; the link resolves against the
    // last. Empty where there is none.
    std::string_view bases[3];
};

// Called for each item in feed order; returning false stops the cutting.
using TRawFeedItemSink = std::function<bool(const TRawFeedItem&)>;
