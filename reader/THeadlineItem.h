#pragma once
// One headline: its title as shown in the list and the address opened for it, both ANSI bytes.
#include <string>

struct THeadlineItem {
    std::string title;
    // For a feed item, the redirect prefix followed by the item's own link; for an item loaded
    // from a list file, the line as read.
    std::string link;

    friend bool operator==(const THeadlineItem&, const THeadlineItem&) = default;
};
