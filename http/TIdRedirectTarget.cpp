#include "http/TIdRedirectTarget.h"

#include "framework/core/AsciiText.h"
#include "http/TIdURI.h"

#include <string_view>

namespace {

bool isAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

struct Parts {
    std::string scheme; // lower case
    std::string authority;
    std::string path;
    std::string query; // with its "?"
};

// The scheme of a reference that has one: a letter, then letters, digits, "+", "-" or ".", up to
// a ":" that comes before any "/", "?" or "#".
bool schemeOf(std::string_view ref, std::string& scheme) {
    if (ref.empty() || !isAlpha(ref[0]))
        return false;
    for (std::size_t i = 1; i < ref.size(); ++i) {
        const char c = ref[i];
        if (c == ':') {
            scheme.clear();
            for (char s : ref.substr(0, i))
                scheme += AsciiLower(s);
            return true;
        }
        if (!isAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return false;
    }
    return false;
}

// path and query of "path?query".
void splitQuery(std::string_view rest, Parts& p) {
    const std::size_t q = rest.find('?');
    p.path = std::string(rest.substr(0, q));
    p.query = q == std::string_view::npos ? std::string() : std::string(rest.substr(q));
}

// "//authority/path?query" (after the scheme's ":").
void splitHierarchy(std::string_view rest, Parts& p) {
    if (rest.substr(0, 2) != "//") {
        splitQuery(rest, p);
        return;
    }
    rest.remove_prefix(2);
    const std::size_t end = rest.find_first_of("/?");
    p.authority = std::string(rest.substr(0, end));
    splitQuery(end == std::string_view::npos ? std::string_view() : rest.substr(end), p);
}

// Removes "." and ".." segments as a browser does; ".." never climbs above the root.
std::string removeDotSegments(std::string_view in) {
    std::string out;
    while (!in.empty()) {
        if (in.substr(0, 3) == "../")
            in.remove_prefix(3);
        else if (in.substr(0, 2) == "./")
            in.remove_prefix(2);
        else if (in.substr(0, 3) == "/./")
            in.remove_prefix(2);
        else if (in == "/.")
            in = "/";
        else if (in.substr(0, 4) == "/../" || in == "/..") {
            in = in.size() == 3 ? std::string_view("/") : in.substr(3);
            const std::size_t cut = out.rfind('/');
            out.erase(cut == std::string::npos ? 0 : cut);
        } else if (in == "." || in == "..") {
            in = {};
        } else {
            const std::size_t next = in.find('/', 1);
            out.append(in.substr(0, next));
            in = next == std::string_view::npos ? std::string_view() : in.substr(next);
        }
    }
    return out;
}

Parts resolve(const Parts& base, std::string_view ref) {
    Parts t;
    std::string scheme;
    if (schemeOf(ref, scheme)) {
        splitHierarchy(ref.substr(scheme.size() + 1), t);
        t.scheme = scheme;
        t.path = removeDotSegments(t.path);
        return t;
    }
    t.scheme = base.scheme;
    if (ref.substr(0, 2) == "//") {
        splitHierarchy(ref, t);
        t.path = removeDotSegments(t.path);
        return t;
    }
    t.authority = base.authority;
    splitQuery(ref, t);
    if (t.path.empty()) {
        t.path = base.path;
        if (ref.empty())
            t.query = base.query;
    } else if (t.path[0] == '/') {
        t.path = removeDotSegments(t.path);
    } else {
        const std::size_t slash = base.path.rfind('/');
        std::string merged =
            slash == std::string::npos ? "/" + t.path : base.path.substr(0, slash + 1) + t.path;
        t.path = removeDotSegments(merged);
    }
    return t;
}

} // namespace

TIdRedirectTarget IdRedirectTarget(const std::string& base, const std::string& location) {
    // Compatibility: blanks around the value are dropped, as browsers do.
    std::string_view ref = location;
    while (!ref.empty() && (ref.front() == ' ' || ref.front() == '\t'))
        ref.remove_prefix(1);
    while (!ref.empty() && (ref.back() == ' ' || ref.back() == '\t'))
        ref.remove_suffix(1);
    if (ref.empty())
        return {"", "the redirect has no Location"};
    // The fragment is the browser's; it never goes to a server.
    ref = ref.substr(0, ref.find('#'));
    Parts b;
    if (!schemeOf(base, b.scheme))
        return {"", "the redirect has no absolute URL to start from"};
    splitHierarchy(std::string_view(base).substr(b.scheme.size() + 1), b);
    const Parts t = resolve(b, ref);
    if (t.scheme != "http" && t.scheme != "https")
        return {"", "redirect to an unsupported scheme refused: " + t.scheme};
    std::string url = t.scheme + "://" + t.authority + (t.path.empty() ? "/" : t.path) + t.query;
    // The host as the client will split it from the URL.
    if (TIdURI(url).Host().empty())
        return {"", "redirect to a URL without a host refused"};
    if (b.scheme == "https" && t.scheme == "http")
        return {"", "redirect from https to http refused: " + url};
    return {url, ""};
}
