#include "http/TIdRequestHeaderInfo.h"

#include "http/TIdCookieDate.h"

TIdRequestHeaderInfo::TIdRequestHeaderInfo() {
    // Servers answer 400 to a request with continuation lines (obsolete line folding), so a
    // request header goes out on one line however long it is.
    rawHeaders_.SetFoldLines(false);
    customHeaders_.SetFoldLines(false);
    TIdRequestHeaderInfo::Clear();
}

void TIdRequestHeaderInfo::Clear() {
    TIdEntityHeaderInfo::Clear();
    accept_ = kDefaultAccept;
    acceptCharSet_.clear();
    userAgent_ = kDefaultUserAgent;
    basicAuthentication_ = false;
    range_.clear();
}

void TIdRequestHeaderInfo::SetHeaders() {
    TIdHeaderList& h = rawHeaders_;
    h.Clear();
    auto set = [&h](const char* name, const std::string& value) {
        if (!value.empty())
            h.SetValues(name, value);
    };
    set("Connection", connection_);
    set("Content-Version", contentVersion_);
    set("Content-Encoding", contentEncoding_);
    set("Content-Language", contentLanguage_);
    set("Content-Type", contentType_);
    if (contentLength_ >= 0)
        h.SetValues("Content-Length", std::to_string(contentLength_));
    if (contentRangeEnd_ != 0 || contentRangeInstanceLength_ != 0) {
        std::string range = "bytes ";
        range += contentRangeEnd_ != 0
                     ? std::to_string(contentRangeStart_) + "-" + std::to_string(contentRangeEnd_)
                     : std::string("*");
        range += "/";
        range +=
            contentRangeInstanceLength_ != 0 ? std::to_string(contentRangeInstanceLength_) : std::string("*");
        h.SetValues("Content-Range", range);
    }
    set("Cache-control", cacheControl_);
    if (date_ > 0)
        h.SetValues("Date", IdInternetDate(date_));
    if (expires_ > 0)
        h.SetValues("Expires", IdInternetDate(expires_));
    set("Pragma", pragma_);
    for (const std::string& line : customHeaders_.Lines())
        h.Add(line);
    set("Proxy-Connection", proxyConnection_);
    set("Host", host_);
    set("Accept", accept_);
    set("Accept-Charset", acceptCharSet_);
    set("Accept-Encoding", acceptEncoding_);
    set("Accept-Language", acceptLanguage_);
    set("From", from_);
    set("Referer", referer_);
    set("User-Agent", userAgent_);
    if (!range_.empty())
        h.SetValues("Range", "bytes=" + range_);
    if (lastModified_ > 0)
        h.SetValues("If-Modified-Since", IdInternetDate(lastModified_));
    IdAddAuthorizationHeader(h, "Authorization", authentication_, basicAuthentication_, username_, password_);
}
