#include "reader/FeedTags.h"

#include "reader/ItemTitle.h"

#include <algorithm>
#include <cstring>

namespace feedtags {

namespace {

// Attribute names compare without regard to case, as mature feed readers read them.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

std::size_t FindStartTag(std::string_view body, std::string_view open, std::size_t from, std::size_t limit) {
    // Searched within the limit only: a tag most items lack must not send each search to the end.
    for (;;) {
        const std::size_t p = FindText(body, open, from, limit);
        if (p == npos)
            return npos;
        if (StartTagAt(body, p, open))
            return p;
        from = p + 1;
    }
}

std::string_view Attribute(std::string_view tag, std::string_view name) {
    std::size_t i = 0;
    while (i < tag.size()) {
        while (i < tag.size() && (Blank(tag[i]) || tag[i] == '/'))
            ++i;
        const std::size_t nameStart = i;
        while (i < tag.size() && tag[i] != '=' && !Blank(tag[i]) && tag[i] != '/')
            ++i;
        const std::string_view attr = tag.substr(nameStart, i - nameStart);
        while (i < tag.size() && Blank(tag[i]))
            ++i;
        if (i >= tag.size() || tag[i] != '=') {
            if (i == nameStart)
                ++i;
            continue;
        }
        ++i;
        while (i < tag.size() && Blank(tag[i]))
            ++i;
        std::string_view value;
        if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
            const std::size_t close = tag.find(tag[i], i + 1);
            const std::size_t end = close == npos ? tag.size() : close;
            value = tag.substr(i + 1, end - i - 1);
            i = end + 1;
        } else {
            const std::size_t start = i;
            while (i < tag.size() && !Blank(tag[i]))
                ++i;
            value = tag.substr(start, i - start);
        }
        if (sameName(attr, name))
            return value;
    }
    return {};
}

std::string_view StartTag(std::string_view body, std::size_t p, std::size_t nameLength, std::size_t& after,
                          std::size_t limit) {
    limit = std::min(limit, body.size());
    if (p + nameLength > limit) {
        after = limit;
        return {};
    }
    const std::size_t close = body.substr(0, limit).find('>', p);
    const std::size_t end = close == npos ? limit : close;
    after = close == npos ? limit : close + 1;
    return body.substr(p + nameLength, end - p - nameLength);
}

std::string_view ElementText(std::string_view body, std::size_t p, std::size_t nameLength,
                             std::string_view close, std::size_t limit, std::string_view* tag) {
    std::size_t after = 0;
    const std::string_view attrs = StartTag(body, p, nameLength, after, limit);
    if (tag)
        *tag = attrs;
    if (SelfClosing(attrs))
        return {};
    const std::size_t e = FindText(body, close, after, limit);
    return e == npos ? std::string_view() : body.substr(after, e - after);
}

} // namespace feedtags

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

} // namespace feedtags

namespace feedtags {

std::size_t NextTitleElement(std::string_view body, std::size_t from, std::size_t end, std::size_t skipFrom,
                             std::size_t skipTo, int& kind) {
    end = std::min(end, body.size());
    const char* base = body.data();
    while (from < end) {
        const void* lt = std::memchr(base + from, '<', end - from);
        if (!lt)
            return npos;
        const auto p = static_cast<std::size_t>(static_cast<const char*>(lt) - base);
        if (p >= skipFrom && p < skipTo) {
            from = skipTo;
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

TItemTitle ChooseItemTitle(std::string_view body, std::size_t from, std::size_t end, std::size_t skipFrom,
                           std::size_t skipTo) {
    TItemTitle chosen;
    int kind = 0;
    for (std::size_t at; (at = NextTitleElement(body, from, end, skipFrom, skipTo, kind)) != npos;) {
        std::string_view tag;
        const TTitleKind& k = kTitleKinds[kind];
        chosen.text = ElementText(body, at, k.open.size(), k.close, end, &tag);
        chosen.tag = tag;
        if (k.settles && !BlankTitleText(chosen.text))
            break;
        from = chosen.text.empty() ? at + 1
                                   : static_cast<std::size_t>(chosen.text.data() - body.data()) +
                                         chosen.text.size() + k.close.size();
    }
    return chosen;
}

} // namespace feedtags
