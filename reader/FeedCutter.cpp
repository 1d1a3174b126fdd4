#include "reader/FeedCutter.h"

#include "reader/EFeedTooLarge.h"
#include "reader/FeedTitle.h"
#include "reader/THeadlineStore.h"

namespace {

constexpr std::size_t npos = std::string_view::npos;

// The next occurrence of one tag at or after the consumed offset. It is searched again only
// once the offset has moved past the remembered position, and never again once absent, so the
// searches for one tag together scan the body at most once.
class TagCursor {
public:
    TagCursor(std::string_view body, std::string_view tag) : body_(body), tag_(tag) {}

    std::size_t At(std::size_t offset) {
        if (at_ == npos && searched_)
            return npos;
        if (!searched_ || at_ < offset) {
            at_ = body_.find(tag_, offset);
            searched_ = true;
        }
        return at_;
    }

private:
    std::string_view body_;
    std::string_view tag_;
    std::size_t at_ = npos;
    bool searched_ = false;
};

// Copy(S, index, count) of the remaining text, all positions absolute: nothing for a count of
// zero or less, cut at the end of the body.
std::string_view copy(std::string_view body, std::size_t start, long long count) {
    if (count <= 0 || start >= body.size())
        return {};
    return body.substr(start, static_cast<std::size_t>(count));
}

} // namespace

void CutFeedItems(std::string_view body, const std::function<bool(const TRawFeedItem&)>& onItem) {
    std::size_t offset = 0;
    if (std::size_t item = body.find("<item>"); item != npos)
        offset = item + 1;

    TagCursor title(body, "<title>"), titleEnd(body, "</title>");
    TagCursor link(body, "<link>"), linkEnd(body, "</link>");
    TagCursor itemEnd(body, "</item>");
    std::size_t previousTitle = npos;

    while (offset < body.size()) {
        std::size_t t = title.At(offset);
        if (t == npos)
            break;
        // Without an "</item>" a pass consumes only 6 bytes, so the next pass may find the very
        // same "<title>" again: that is no new headline.
        const bool repeated = t == previousTitle;
        previousTitle = t;
        if (repeated) {
            std::size_t e = itemEnd.At(offset);
            offset = e != npos ? e + 7 : offset + 6;
            continue;
        }
        std::size_t te = titleEnd.At(offset);
        std::size_t l = link.At(offset);
        std::size_t le = linkEnd.At(offset);

        TRawFeedItem raw;
        if (te != npos)
            raw.title = copy(body, t + 7, static_cast<long long>(te) - static_cast<long long>(t) - 7);
        if (le != npos) {
            if (l != npos) {
                raw.link = copy(body, l + 6, static_cast<long long>(le) - static_cast<long long>(l) - 6);
            } else {
                // No "<link>" left: position 0 of the remaining text stands in for it, so the
                // link runs from the sixth byte up to the "</link>".
                raw.link =
                    copy(body, offset + 5, static_cast<long long>(le) - static_cast<long long>(offset) - 5);
            }
        }
        if (!onItem(raw))
            return;

        std::size_t e = itemEnd.At(offset);
        offset = e != npos ? e + 7 : offset + 6;
    }
}

THeadlineItem MakeHeadline(const TRawFeedItem& raw, std::string_view redirectPrefix) {
    THeadlineItem item;
    item.title = FeedTitleToAnsi(raw.title);
    item.link.reserve(redirectPrefix.size() + raw.link.size());
    item.link.append(redirectPrefix);
    // A link is one line of a list file; browsers drop these from URLs as well.
    for (char c : raw.link)
        if (c != '\r' && c != '\n' && c != '\t')
            item.link.push_back(c);
    return item;
}

std::size_t HeadlineBytesBound(std::size_t bodySize) {
    return 4 * bodySize + (std::size_t{1} << 20);
}

std::size_t CutHeadlines(std::string_view body, std::string_view redirectPrefix, THeadlineStore& store) {
    const std::size_t bound = HeadlineBytesBound(body.size());
    std::size_t n = 0, bytes = 0;
    CutFeedItems(body, [&](const TRawFeedItem& raw) {
        // Checked before the item is made: items without an end can all share one huge link.
        bytes += raw.title.size() + redirectPrefix.size() + raw.link.size();
        if (bytes > bound)
            throw EFeedTooLarge("The headlines of the feed exceed " + std::to_string(bound) + " bytes.");
        store.Append(MakeHeadline(raw, redirectPrefix));
        ++n;
        return true;
    });
    return n;
}
