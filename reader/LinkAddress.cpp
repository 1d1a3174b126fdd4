#include "reader/LinkAddress.h"

#include "framework/core/AsciiText.h"

#include <algorithm>
#include <iterator>

namespace {

// The schemes a feed link may use: the web's, mail and news, and the common application ones.
constexpr std::string_view kSchemes[] = {
    "aim",   "callto", "cvs",   "facetime", "feed",  "file",    "ftp",    "git",  "gopher", "gtalk",  "h323",
    "hdl",   "http",   "https", "imap",     "irc",   "irc6",    "ircs",   "itms", "magnet", "mailto", "mms",
    "msnim", "news",   "nntp",  "prospero", "rsync", "rtsp",    "rtspu",  "sftp", "shttp",  "sip",    "sips",
    "skype", "smb",    "snews", "ssh",      "svn",   "svn+ssh", "telnet", "wais", "ymsg",
};

// The length of ref's scheme (before its ":"), or 0 when it has none.
std::size_t schemeLength(std::string_view ref) {
    if (ref.empty() || !((ref[0] >= 'a' && ref[0] <= 'z') || (ref[0] >= 'A' && ref[0] <= 'Z')))
        return 0;
    for (std::size_t i = 1; i < ref.size(); ++i) {
        const char c = ref[i];
        if (c == ':')
            return i;
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
              c == '-' || c == '.'))
            return 0;
    }
    return 0;
}

// RFC 3986, 5.2.4.
std::string removeDotSegments(std::string_view path) {
    std::string out;
    while (!path.empty()) {
        if (path.starts_with("../"))
            path.remove_prefix(3);
        else if (path.starts_with("./"))
            path.remove_prefix(2);
        else if (path.starts_with("/./"))
            path.remove_prefix(2);
        else if (path == "/.")
            path = "/";
        else if (path.starts_with("/../") || path == "/..") {
            path = path.size() == 3 ? std::string_view("/") : path.substr(3);
            const std::size_t slash = out.rfind('/');
            out.resize(slash == std::string::npos ? 0 : slash);
        } else if (path == "." || path == "..")
            path = {};
        else {
            std::size_t next = path.find('/', 1);
            if (next == std::string_view::npos)
                next = path.size();
            out.append(path.substr(0, next));
            path.remove_prefix(next);
        }
    }
    return out;
}

} // namespace

std::string ResolveLink(std::string_view base, std::string_view ref) {
    if (base.empty() || schemeLength(ref) > 0)
        return std::string(ref);
    const std::size_t schemeEnd = schemeLength(base);
    if (schemeEnd == 0)
        return std::string(ref);
    base = base.substr(0, base.find('#'));
    const std::string_view scheme = base.substr(0, schemeEnd + 1); // with ":"
    std::string_view rest = base.substr(schemeEnd + 1);
    std::string_view authority;
    if (rest.starts_with("//")) {
        const std::size_t end = rest.find_first_of("/?", 2);
        authority = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
    }
    const std::size_t q = rest.find('?');
    const std::string_view basePath = rest.substr(0, q);
    const std::string_view baseQuery = q == std::string_view::npos ? std::string_view() : rest.substr(q);

    if (ref.starts_with("//"))
        return std::string(scheme) + std::string(ref);
    if (ref.empty())
        return std::string(base);
    std::string head = std::string(scheme) + std::string(authority);
    if (ref.front() == '#')
        return head + std::string(basePath) + std::string(baseQuery) + std::string(ref);
    if (ref.front() == '?')
        return head + std::string(basePath) + std::string(ref);
    const std::size_t pathEnd = std::min(ref.find('?'), ref.find('#'));
    const std::string_view refPath = ref.substr(0, pathEnd);
    const std::string_view refTail =
        pathEnd == std::string_view::npos ? std::string_view() : ref.substr(pathEnd);
    std::string merged;
    if (refPath.starts_with("/")) {
        merged = std::string(refPath);
    } else if (!authority.empty() && basePath.empty()) {
        merged = "/" + std::string(refPath);
    } else {
        const std::size_t slash = basePath.rfind('/');
        merged = std::string(slash == std::string_view::npos ? std::string_view()
                                                             : basePath.substr(0, slash + 1)) +
                 std::string(refPath);
    }
    return head + removeDotSegments(merged) + std::string(refTail);
}

void FinishLinkAddress(std::string& text, std::size_t from, std::string_view base) {
    const std::string_view ref = std::string_view(text).substr(from);
    if (ref.empty())
        return; // no link is no link, not the feed itself
    if (schemeLength(ref) == 0 && !base.empty()) {
        std::string resolved = ResolveLink(base, ref);
        text.replace(from, std::string::npos, resolved);
    }
    const std::string_view link = std::string_view(text).substr(from);
    const std::size_t n = schemeLength(link);
    if (n == 0)
        return;
    const auto known = [&](std::string_view scheme) { return SameText(scheme, link.substr(0, n)); };
    if (std::find_if(std::begin(kSchemes), std::end(kSchemes), known) == std::end(kSchemes))
        text.resize(from);
}

std::string LinkAddress(std::string_view base, std::string_view ref) {
    std::string link(ref);
    FinishLinkAddress(link, 0, base);
    return link;
}
