#include "reader/ItemTitle.h"

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

std::size_t NextTitleElement(const TItemScope& item, std::size_t from, int& kind) {
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
        const int k = c == 't' ? 0 : c == 'd' ? 1 : c == 'm' ? 2 : -1;
        if (k < 0)
            continue;
        const std::string_view open = kTitleKinds[k].open;
        if (end - p > open.size() && body.compare(p, open.size(), open) == 0 && StartTagAt(body, p, open)) {
            kind = k;
            return p;
        }
    }
    return npos;
}

TItemTitle ChooseItemTitle(const TItemScope& item) {
    TItemTitle chosen;
    int kind = 0;
    std::size_t from = item.From();
    for (std::size_t at; (at = NextTitleElement(item, from, kind)) != npos;) {
        std::string_view tag;
        const TTitleKind& k = kTitleKinds[kind];
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
