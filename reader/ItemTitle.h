#pragma once
// The title of one item or entry, chosen as mature feed readers choose it: its title elements
// ("<title>", "<dc:title>", "<media:title>") in document order, each standing in for the one
// before, until a plain or Dublin Core title that is not blank settles it. A media title never
// settles it (it names the media, and stands only while nothing better follows), so
// "<media:title>M</media:title><title>T</title>" is T and "<title></title><dc:title>D</dc:title>"
// is D. A feed whose own elements carry a prefix ("<a:title>") has its plain title by that name.
#include "reader/ItemScope.h"

#include <string>
#include <string_view>

namespace feedtags {

struct TItemTitle {
    std::string_view text; // raw text between the tags
    std::string_view tag;  // the start tag's attribute text (its type)
};

// Whether raw title text reads as nothing: only blanks, or an empty CDATA section.
bool BlankTitleText(std::string_view text);

// The names and ends of the title elements; a media title never settles the title.
struct TTitleKind {
    std::string_view open, close;
    bool settles;
};

// The title elements of one feed: its plain title named with the prefix of the feed's own
// elements ("" for none), then the Dublin Core and media titles.
class TTitleNames {
public:
    explicit TTitleNames(std::string_view prefix = {});
    TTitleNames(const TTitleNames&) = delete; // the kinds point into this object's names
    TTitleNames& operator=(const TTitleNames&) = delete;

    static constexpr int kCount = 3;
    const TTitleKind& Kind(int k) const { return kinds_[k]; }

private:
    std::string open_, close_;
    TTitleKind kinds_[kCount];
};

// The next title element of the item's own at or after from; its kind goes to kind. One pass
// over the "<"s.
std::size_t NextTitleElement(const TItemScope& item, const TTitleNames& names, std::size_t from, int& kind);

// The item's title.
TItemTitle ChooseItemTitle(const TItemScope& item, const TTitleNames& names);

} // namespace feedtags
