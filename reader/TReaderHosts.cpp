#include "reader/TReaderHosts.h"

#include "framework/core/AsciiText.h"
#include "framework/core/TIniFile.h"
#include "reader/NewsCategories.h"

#include <algorithm>

namespace {

bool hostChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

bool validPort(std::string_view port) {
    if (port.empty() || port.size() > 5)
        return false;
    unsigned v = 0;
    for (char c : port) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    return v >= 1 && v <= 65535;
}

TReaderHosts* current() {
    static TReaderHosts hosts;
    return &hosts;
}

} // namespace

bool TReaderHosts::NormalizeHost(std::string_view value, std::string& host) {
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
        value.remove_suffix(1);
    static constexpr std::string_view kScheme = "http://";
    if (value.size() > kScheme.size() &&
        std::equal(kScheme.begin(), kScheme.end(), value.begin(), [](char a, char b) {
            return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
        }))
        value.remove_prefix(kScheme.size());
    if (!value.empty() && value.back() == '/')
        value.remove_suffix(1);
    if (value.empty())
        return false;

    std::string_view name = value, port;
    if (value.front() == '[') {
        std::size_t close = value.find(']');
        if (close == std::string_view::npos || close == 1)
            return false;
        for (char c : value.substr(1, close - 1))
            if (!(hostChar(c) || c == ':'))
                return false;
        name = value.substr(0, close + 1);
        std::string_view rest = value.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':')
                return false;
            port = rest.substr(1);
            if (!validPort(port))
                return false;
        }
    } else {
        std::size_t colon = value.find(':');
        if (colon != std::string_view::npos) {
            name = value.substr(0, colon);
            port = value.substr(colon + 1);
            if (!validPort(port))
                return false;
        }
        if (name.empty())
            return false;
        for (char c : name)
            if (!hostChar(c))
                return false;
    }
    host = std::string(value);
    return true;
}

TReaderHosts::TReaderHosts()
    : feed_(kDefaultFeedHost), site_(kDefaultSiteHost), ipLookup_(kDefaultIpLookupHost),
      redirect_(kDefaultRedirectHost) {}

TReaderHosts::TReaderHosts(const TIniFile& config) : TReaderHosts() {
    auto take = [&](const char* key, std::string& into) {
        std::string host;
        if (NormalizeHost(config.ReadString("hosts", key, ""), host))
            into = host;
    };
    take("feed", feed_);
    take("site", site_);
    take("iplookup", ipLookup_);
    take("redirect", redirect_);
    const auto categories = NewsCategories();
    feeds_.assign(categories.size(), std::string());
    for (std::size_t i = 0; i < categories.size(); ++i) {
        std::string url(TrimControls(config.ReadString("feeds", FeedKey(categories[i]), "")));
        if (ValidFeedUrl(url))
            feeds_[i] = std::move(url);
    }
}

std::string TReaderHosts::FeedKey(const TNewsCategory& category) {
    std::string_view path = category.feedPath; // "/rss/world.xml"
    path.remove_prefix(path.rfind('/') + 1);
    return std::string(path.substr(0, path.find('.')));
}

bool TReaderHosts::ValidFeedUrl(std::string_view url) {
    std::string_view rest;
    if (url.size() > 7 && SameText(url.substr(0, 7), "http://"))
        rest = url.substr(7);
    else if (url.size() > 8 && SameText(url.substr(0, 8), "https://"))
        rest = url.substr(8);
    else
        return false;
    for (unsigned char c : url)
        if (c <= ' ' || c >= 0x7F)
            return false; // a request line carries neither blanks, controls nor raw 8-bit bytes
    const std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
    std::string host;
    return authority.find('@') == std::string_view::npos && NormalizeHost(authority, host);
}

std::string TReaderHosts::RedirectPrefixFor(std::string_view feedUrl) const {
    for (const TNewsCategory& category : NewsCategories())
        if (feedUrl == "http://" + feed_ + category.feedPath)
            return RedirectPrefix();
    return {};
}

std::string TReaderHosts::FeedUrl(const TNewsCategory& category) const {
    const auto categories = NewsCategories();
    for (std::size_t i = 0; i < feeds_.size() && i < categories.size(); ++i)
        if (&categories[i] == &category || categories[i].itemName == std::string_view(category.itemName))
            if (!feeds_[i].empty())
                return feeds_[i];
    return "http://" + feed_ + category.feedPath;
}

std::string TReaderHosts::SiteUrl(std::string_view path) const {
    return "http://" + site_ + std::string(path);
}

std::string TReaderHosts::PageUrl(const TFixedPage& page) const {
    const std::string& host = page.host == TPageHost::IpLookup ? ipLookup_ : site_;
    return "http://" + host + page.path;
}

std::string TReaderHosts::RedirectPrefix() const {
    return "http://" + redirect_ + "/go/?url=";
}

const TReaderHosts& ReaderHosts() {
    return *current();
}

void SetReaderHosts(const TReaderHosts& hosts) {
    *current() = hosts;
}
