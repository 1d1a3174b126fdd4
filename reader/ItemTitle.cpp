#include "reader/ItemTitle.h"

#include "reader/FeedNamespaces.h"

#include <algorithm>
#include <cstring>

namespace feedtags {

bool BlankTitleText(std::string_view text) {
    auto trim = [](std::string_view s) {
        while (!s.empty() && Blank(s.front()))
            s.remove_prefix(1);
        while (!s.empty() && Blank(s.back()))
            s.remove_suffix(1);
        return s;
    };
    text = trim(text);
    if (text.starts_with("<![CDATA[") && text.ends_with("]]>"))
        text = trim(text.substr(9, text.size() - 12));
    return text.empty();
}

TTitleNames::TTitleNames(std::string_view prefix)
    : open_(OpenTag(prefix, "title")), close_(CloseTag(prefix, "title")) {
    kinds_[0] = {open_, close_, true};
    kinds_[1] = {"<dc:title", "</dc:title>", true};
    kinds_[2] = {"<media:title", "</media:title>", false};
}

std::size_t NextTitleElement(const TItemScope& item, const TTitleNames& names, std::size_t from, int& kind) {
    const std::string_view body = item.Body();
    const std::size_t end = std::min(item.End(), body.size());
    const char* base = body.data();
    while (from < end) {
        const void* lt = std::memchr(base + from, '<', end - from);
        if (!lt)
            return npos;
        const auto p = static_cast<std::size_t>(static_cast<const char*>(lt) - base);
        if (const std::size_t own = item.Own(p); own != p) {
            from = own;
            continue;
        }
        from = p + 1;
        const char c = p + 1 < end ? body[p + 1] : '\0';
        for (int k = 0; k < TTitleNames::kCount; ++k) {
            const std::string_view open = names.Kind(k).open;
            if (open[1] == c && end - p > open.size() && body.compare(p, open.size(), open) == 0 &&
                StartTagAt(body, p, open)) {
                kind = k;
                return p;
            }
        }
    }
    return npos;
}

TItemTitle ChooseItemTitle(const TItemScope& item, const TTitleNames& names) {
    TItemTitle chosen;
    int kind = 0;
    std::size_t from = item.From();
    for (std::size_t at; (at = NextTitleElement(item, names, from, kind)) != npos;) {
        std::string_view tag;
        const TTitleKind& k = names.Kind(kind);
        chosen.text = item.Text(at, k.open.size(), k.close, &tag);
        chosen.tag = tag;
        if (k.settles && !BlankTitleText(chosen.text))
            break;
        from = chosen.text.empty() ? at + 1
                                   : static_cast<std::size_t>(chosen.text.data() - item.Body().data()) +
                                         chosen.text.size() + k.close.size();
    }
    return chosen;
}

} // namespace feedtags
