#include "http/TIdEntityHeaderInfo.h"

#include "framework/core/AsciiText.h"

#include "http/TIdCookieDate.h"

#include <limits>

namespace {

// A date header; a plain number of seconds counts from now (the Expires habit).
std::int64_t parseDate(const std::string& text, bool secondsFromNow) {
    std::string_view t = TrimControls(text);
    if (t.empty())
        return 0;
    std::int64_t n = 0;
    if (secondsFromNow && TIdEntityHeaderInfo::ParseInt32(t, n))
        return IdCookieAddSeconds(IdUnixNow(), n);
    std::optional<std::int64_t> d = IdParseCookieDate(t);
    return d ? *d : 0;
}

} // namespace

TIdEntityHeaderInfo::TIdEntityHeaderInfo() {
    TIdEntityHeaderInfo::Clear();
}

bool TIdEntityHeaderInfo::ParseInt32(std::string_view text, std::int64_t& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return false;
    std::int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        v = v * 10 + (text[i] - '0');
        if (v > std::int64_t{std::numeric_limits<std::int32_t>::max()} + (negative ? 1 : 0))
            return false;
    }
    value = negative ? -v : v;
    return true;
}

void TIdEntityHeaderInfo::Clear() {
    cacheControl_.clear();
    connection_.clear();
    contentVersion_.clear();
    contentEncoding_.clear();
    contentLanguage_.clear();
    contentType_.clear();
    contentLength_ = -1;
    hasContentLength_ = false;
    contentRangeStart_ = 0;
    contentRangeEnd_ = 0;
    contentRangeInstanceLength_ = 0;
    date_ = 0;
    expires_ = 0;
    lastModified_ = 0;
    pragma_.clear();
    rawHeaders_.Clear();
    customHeaders_.Clear();
}

void TIdEntityHeaderInfo::ProcessHeaders() {
    const TIdHeaderList& h = rawHeaders_;
    cacheControl_ = h.Values("Cache-control");
    connection_ = h.Values("Connection");
    contentVersion_ = h.Values("Content-Version");
    contentEncoding_ = h.Values("Content-Encoding");
    contentLanguage_ = h.Values("Content-Language");
    contentType_ = h.Values("Content-Type");
    // A length that is not a plain 32-bit number counts as no length at all.
    std::int64_t length = -1;
    if (!ParseInt32(TrimControls(h.Values("Content-Length")), length))
        length = -1;
    contentLength_ = length;
    hasContentLength_ = length >= 0;

    // "bytes " start "-" end "/" instance length; what is missing or not a number reads 0.
    contentRangeStart_ = contentRangeEnd_ = contentRangeInstanceLength_ = 0;
    std::string range = h.Values("Content-Range");
    if (range.rfind("bytes ", 0) == 0) {
        std::string_view r(range);
        r.remove_prefix(6);
        std::size_t dash = r.find('-');
        std::size_t slash = r.find('/');
        auto number = [](std::string_view s) {
            std::int64_t v = 0;
            return ParseInt32(TrimControls(s), v) && v >= 0 ? v : 0;
        };
        contentRangeStart_ = number(r.substr(0, std::min(dash, slash)));
        if (dash != std::string_view::npos)
            contentRangeEnd_ =
                number(r.substr(dash + 1, slash == std::string_view::npos ? r.npos : slash - dash - 1));
        if (slash != std::string_view::npos)
            contentRangeInstanceLength_ = number(r.substr(slash + 1));
    }
    date_ = parseDate(h.Values("Date"), false);
    lastModified_ = parseDate(h.Values("Last-Modified"), false);
    expires_ = parseDate(h.Values("Expires"), true);
    pragma_ = h.Values("Pragma");
}
