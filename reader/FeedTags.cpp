#include "reader/FeedTags.h"

#include "framework/core/AsciiText.h"

#include <algorithm>
#include <cstring>

namespace feedtags {

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

namespace {

inline bool nextAttribute(std::string_view tag, std::size_t& i, std::string_view& name,
                          std::string_view& value) {
    while (i < tag.size()) {
        while (i < tag.size() && (Blank(tag[i]) || tag[i] == '/'))
            ++i;
        const std::size_t nameStart = i;
        while (i < tag.size() && tag[i] != '=' && !Blank(tag[i]) && tag[i] != '/')
            ++i;
        name = tag.substr(nameStart, i - nameStart);
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
        return true;
    }
    return false;
}

} // namespace

bool NextAttribute(std::string_view tag, std::size_t& i, std::string_view& name, std::string_view& value) {
    return nextAttribute(tag, i, name, value);
}

std::string_view Attribute(std::string_view tag, std::string_view name) {
    if (tag.empty()) // most tags of a feed have none
        return {};
    std::string_view attr, value;
    for (std::size_t i = 0; nextAttribute(tag, i, attr, value);)
        if (SameText(attr, name)) // attribute names read without regard to case, as mature readers do
            return value;
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

} // namespace feedtags
