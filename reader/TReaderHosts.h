#pragma once
// The four hosts the reader talks to, and the URLs built from them. The built-in names lie
// under the reserved ".example" domain, since no public service stands behind them; the
// "hosts" section of config.ini overrides each one:
//
//   [hosts]
//   feed=127.0.0.1:8480        (RSS feeds, "/rss/<category>.xml")
//   site=127.0.0.1:8480        (the maker's site: "/weather/", "/date/", "/map/", "/zelnews", root)
//   iplookup=127.0.0.1:8480    (the IP-location page, "/")
//   redirect=127.0.0.1:8480    (the click-through redirector, "/go/?url=<article link>")
//
// (The notes in brackets are not part of the file: a comment in it is a line of its own.)
//
// Each value is a host name or IPv4 address, optionally with ":port" (a bracketed IPv6 address
// works too). The program only reads this section, never writes it.
//
// The "feeds" section, read only as well, points a category at any feed instead, one key per
// category named after its feed file on the feed host:
//
//   [feeds]
//   world=http://127.0.0.1:8480/feeds/atom.xml
//   native=https://news.example.org/rss
//
// Keys: world, native, mil, fortune, it, legal, sports, ent, science, edu, fashion, english.
// A value must be an absolute http:// or https:// URL; a missing or invalid one keeps the
// built-in feed. The redirector belongs to the portal: headlines of such a feed open their own
// links directly.
#include <string>
#include <string_view>
#include <vector>

class TIniFile;
struct TNewsCategory;
struct TFixedPage;

inline constexpr const char* kDefaultFeedHost = "rss.zelmora-news.example";
inline constexpr const char* kDefaultSiteHost = "www.zelmora-news.example";
inline constexpr const char* kDefaultIpLookupHost = "ip.zelmora-news.example";
inline constexpr const char* kDefaultRedirectHost = "go.zelmora-news.example";

class TReaderHosts {
public:
    TReaderHosts();
    // The built-in hosts, each overridden by a valid value in section "hosts" of the file.
    explicit TReaderHosts(const TIniFile& config);

    const std::string& Feed() const { return feed_; }
    const std::string& Site() const { return site_; }
    const std::string& IpLookup() const { return ipLookup_; }
    const std::string& Redirect() const { return redirect_; }

    // "http://<feed>/rss/world.xml", or the category's URL in section "feeds".
    std::string FeedUrl(const TNewsCategory& category) const;
    // The redirect prefix for the headlines of a feed URL: RedirectPrefix() for the portal's own
    // feeds (a category's built-in URL), "" for any other feed, whose links open directly.
    std::string RedirectPrefixFor(std::string_view feedUrl) const;
    // The key of a category in section "feeds": its feed file's name, "world" for N27.
    static std::string FeedKey(const TNewsCategory& category);
    // An absolute http:// or https:// URL with a host and nothing a request line cannot carry.
    static bool ValidFeedUrl(std::string_view url);
    // "http://<site>/weather/", "http://<site>" for the root, "http://<iplookup>/".
    std::string PageUrl(const TFixedPage& page) const;
    std::string SiteUrl(std::string_view path) const;
    // "http://<redirect>/go/?url=": an item's link is appended to it as it stands.
    std::string RedirectPrefix() const;

    // Accepts "host" or "host:port" (surrounding blanks, a leading "http://" and a trailing "/"
    // are forgiven); false for anything that could change the URL's path, such as "/", "?",
    // "@" or blanks inside, or for a port outside 1..65535.
    static bool NormalizeHost(std::string_view value, std::string& host);

private:
    std::string feed_;
    std::string site_;
    std::string ipLookup_;
    std::string redirect_;
    std::vector<std::string> feeds_; // by category, in menu order; "" for the built-in feed
};

// The hosts the program runs with: read once from config.ini beside the executable by the
// window (SetReaderHosts), built-in until then.
const TReaderHosts& ReaderHosts();
void SetReaderHosts(const TReaderHosts& hosts);
