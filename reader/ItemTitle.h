#pragma once
// The title of one item or entry, chosen as mature feed readers choose it: its title elements
// ("<title>", "<dc:title>", "<media:title>") in document order, each standing in for the one
// before, until a plain or Dublin Core title that is not blank settles it. A media title never
// settles it (it names the media, and stands only while nothing better follows), so
// "<media:title>M</media:title><title>T</title>" is T and "<title></title><dc:title>D</dc:title>"
// is D.
#include "reader/ItemScope.h"

#include <string_view>

namespace feedtags {

struct TItemTitle {
    std::string_view text; // raw text between the tags
    std::string_view tag;  // the start tag's attribute text (its type)
};

// Whether raw title text reads as nothing: only blanks, or an empty CDATA section.
bool BlankTitleText(std::string_view text);

// The names and ends of the title elements; kind 2 (a media title) never settles the title.
struct TTitleKind {
    std::string_view open, close;
    bool settles;
};
inline constexpr TTitleKind kTitleKinds[] = {{"<title", "</title>", true},
                                             {"<dc:title", "</dc:title>", true},
                                             {"<media:title", "</media:title>", false}};

// The next title element of the item's own at or after from; its kind goes to kind. One pass
// over the "<"s.
std::size_t NextTitleElement(const TItemScope& item, std::size_t from, int& kind);

// The item's title.
TItemTitle ChooseItemTitle(const TItemScope& item);

} // namespace feedtags
