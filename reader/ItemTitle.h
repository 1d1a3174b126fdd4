#pragma once
// The title of one item or entry, chosen as mature feed readers choose it: its title elements
// ("<title>", "<dc:title>", "<media:title>") in document order, each standing in for the one
// before, until a plain or Dublin Core title that is not blank settles it. A media title never
// settles it (it names the media, and stands only while nothing better follows), so
// "<media:title>M</media:title><title>T</title>" is T and "<title></title><dc:title>D</dc:title>"
// is D.
#include "reader/FeedTags.h"

#include <algorithm>
#include <string_view>

namespace feedtags {

struct TItemTitle {
    std::string_view text; // raw text between the tags
    std::string_view tag;  // the start tag's attribute text (its type)
};

// Whether raw title text reads as nothing: only blanks, or an empty CDATA section.
bool BlankTitleText(std::string_view text);

// find(open, from) gives the item's next start tag "<name" at or after from, or npos; it keeps
// the search within the item (and out of what is not the item's own).
template <class Find>
TItemTitle ChooseItemTitle(std::string_view body, std::size_t from, std::size_t end, const Find& find) {
    struct Kind {
        std::string_view open, close;
        bool settles;
    };
    static constexpr Kind kKinds[] = {{"<title", "</title>", true},
                                      {"<dc:title", "</dc:title>", true},
                                      {"<media:title", "</media:title>", false}};
    TItemTitle chosen;
    std::size_t next[3] = {npos, npos, npos};
    bool searched[3] = {false, false, false};
    for (;;) {
        // The nearest of the three; an alias is searched only up to the nearest found so far.
        std::size_t at = npos;
        int kind = -1;
        for (int k = 0; k < 3; ++k) {
            if (!searched[k] || (next[k] != npos && next[k] < from)) {
                next[k] = find(kKinds[k].open, from);
                searched[k] = true;
            }
            if (next[k] < at) {
                at = next[k];
                kind = k;
            }
        }
        if (kind < 0)
            return chosen;
        std::string_view tag;
        chosen.text = ElementText(body, at, kKinds[kind].open.size(), kKinds[kind].close, end, &tag);
        chosen.tag = tag;
        if (kKinds[kind].settles && !BlankTitleText(chosen.text))
            return chosen;
        from = chosen.text.empty() ? at + 1
                                   : static_cast<std::size_t>(chosen.text.data() - body.data()) +
                                         chosen.text.size() + kKinds[kind].close.size();
        from = std::min(from, end);
    }
}

} // namespace feedtags
