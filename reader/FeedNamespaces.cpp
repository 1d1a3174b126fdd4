#include "reader/FeedNamespaces.h"

#include "framework/core/AsciiText.h"
#include "reader/FeedTags.h"

using namespace feedtags;

namespace {

constexpr std::string_view kAtomNamespaces[] = {"http://www.w3.org/2005/Atom", "http://purl.org/atom/ns#"};
constexpr std::string_view kRssNamespaces[] = {"http://purl.org/rss/1.0/",
                                               "http://my.netscape.com/rdf/simple/0.9/"};

template <std::size_t N> bool oneOf(std::string_view uri, const std::string_view (&names)[N]) {
    for (std::string_view n : names)
        if (SameText(uri, n))
            return true;
    return false;
}

// The position of the document element's start tag: the first "<" that opens neither the XML
// declaration, a processing instruction, a comment nor the document type (whose internal subset
// in "[...]" may hold "<!ENTITY ...>" declarations). npos when there is none.
std::size_t documentElement(std::string_view body) {
    std::size_t from = 0;
    for (;;) {
        const std::size_t p = body.find('<', from);
        if (p == npos || p + 1 >= body.size())
            return npos;
        const char c = body[p + 1];
        if (c == '?') {
            const std::size_t e = FindText(body, "?>", p + 2);
            from = e == npos ? npos : e + 2;
        } else if (body.compare(p, 4, "<!--") == 0) {
            const std::size_t e = FindText(body, "-->", p + 4);
            from = e == npos ? npos : e + 3;
        } else if (c == '!') {
            const std::size_t gt = body.find('>', p);
            const std::size_t subset = body.substr(0, gt).find('[', p);
            if (subset != npos) {
                const std::size_t e = body.find(']', subset);
                const std::size_t close = e == npos ? npos : body.find('>', e);
                from = close == npos ? npos : close + 1;
            } else {
                from = gt == npos ? npos : gt + 1;
            }
        } else if (c == '/') {
            from = p + 2;
        } else {
            return p;
        }
        if (from == npos)
            return npos;
    }
}

} // namespace

TFeedPrefixes ReadFeedPrefixes(std::string_view body) {
    TFeedPrefixes prefixes;
    const std::size_t root = documentElement(body);
    if (root == npos)
        return prefixes;
    std::size_t nameEnd = root + 1;
    while (nameEnd < body.size() && !Blank(body[nameEnd]) && body[nameEnd] != '>' && body[nameEnd] != '/')
        ++nameEnd;
    std::size_t after = 0;
    const std::string_view tag = StartTag(body, root, nameEnd - root, after, npos);
    std::string_view name, value;
    for (std::size_t i = 0; NextAttribute(tag, i, name, value);) {
        if (!name.starts_with("xmlns:") || name.size() == 6)
            continue;
        const std::string_view prefix = name.substr(6);
        if (prefixes.atom.empty() && oneOf(value, kAtomNamespaces))
            prefixes.atom = prefix;
        else if (prefixes.rss.empty() && oneOf(value, kRssNamespaces))
            prefixes.rss = prefix;
    }
    return prefixes;
}

std::string OpenTag(std::string_view prefix, std::string_view name) {
    std::string tag = "<";
    if (!prefix.empty())
        tag.append(prefix).append(":");
    return tag.append(name);
}

std::string CloseTag(std::string_view prefix, std::string_view name) {
    std::string tag = "</";
    if (!prefix.empty())
        tag.append(prefix).append(":");
    return tag.append(name).append(">");
}
