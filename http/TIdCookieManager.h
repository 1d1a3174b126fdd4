#pragma once
// The HTTP client's cookie store: keeps what responses set, gives the Cookie value for a request.
// In memory only, for the life of the manager.
//
//   TIdCookieManager jar;
//   jar.AddServerCookie("a=1; path=/rss", "news.example.org");   // a Set-Cookie value
//   jar.GenerateCookieList("news.example.org", "/rss/");          // "a=1"
//
// Cookies never cross sites: a cookie's domain must be the request host or a parent domain of it
// on a dot boundary that is not a public suffix (never "org", never "com.cn"); a host given as an
// IPv4 address only ever sets and gets cookies for itself; a cookie goes only to hosts that equal
// its domain or end in "." + domain, and one set without a Domain attribute only to its own host.
// A cookie's path covers the request paths below it on "/" boundaries ("/a" not "/ab"). Domains are kept in
// lower case without a leading dot. The store is bounded: at most kMaxCookiesPerDomain per domain and
// kMaxCookies in all, the oldest giving way.
//
// Safe to use from several threads: adding and removing take the collection's lock for writing,
// building a Cookie value takes it for reading.
#include "http/TIdCookie.h"
#include "http/TIdCookieDate.h"
#include "http/TIdCookies.h"
#include "http/TIdHeaderList.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class TIdCookieManager {
public:
    static constexpr int kMaxCookiesPerDomain = 180;
    static constexpr int kMaxCookies = 3000;

    TIdCookieManager();
    // Removes the expired cookies, then calls OnDestroy.
    ~TIdCookieManager();
    TIdCookieManager(const TIdCookieManager&) = delete;
    TIdCookieManager& operator=(const TIdCookieManager&) = delete;

    // A Set-Cookie value from a response to a request for host (the URL's host, never the proxy).
    void AddServerCookie(std::string_view cookie, std::string_view host);
    // A Set-Cookie2 value.
    void AddServerCookie2(std::string_view cookie, std::string_view host);
    // Every Set-Cookie and Set-Cookie2 value of a response head, in that order.
    void AddServerCookies(const TIdHeaderList& headers, std::string_view host);

    // The Cookie header value for a request to host and path (the document part after the last
    // "/" is ignored); secure only over an encrypted connection. Removes expired cookies first.
    // Empty when no cookie qualifies.
    std::string GenerateCookieList(std::string_view host, std::string_view path, bool secure = false);
    void RemoveExpiredCookies();

    TIdCookies& CookieCollection() { return cookies_; }

    // Whether a cookie with that domain may be set by a response from host.
    static bool IsValidCookieDomain(std::string_view domain, std::string_view host);
    // Whether a cookie stored under domain goes to host (a host-only cookie needs host ==
    // domain besides).
    static bool DomainMatches(std::string_view host, std::string_view domain);
    // Whether a cookie's path covers a request path: equal, or a prefix ending on a "/" boundary.
    static bool PathMatches(std::string_view requestPath, std::string_view cookiePath);
    static bool IsIPv4Address(std::string_view host);

    // The clock expiry is judged by (seconds since 1970 UTC); the system clock unless set.
    void SetClock(std::function<int64_t()> clock) { clock_ = std::move(clock); }
    int64_t Now() const { return clock_ ? clock_() : IdUnixNow(); }

    // Called for every cookie about to be stored; clearing VAccept drops it.
    std::function<void(TIdCookieManager* ASender, TIdNetscapeCookie* ACookie, bool& VAccept)> OnNewCookie;
    std::function<void(TIdCookieManager* ASender, TIdCookies* ACookieCollection)> OnCreate;
    std::function<void(TIdCookieManager* ASender, TIdCookies* ACookieCollection)> OnDestroy;
    // Calls OnCreate; the owner calls it once the manager's events are assigned.
    void DoOnCreate();

private:
    void addCookie(std::unique_ptr<TIdNetscapeCookie> cookie, std::string_view cookieText,
                   std::string_view host);
    void removeExpiredLocked(int64_t now);
    void evictOldestLocked();

    TIdCookies cookies_;
    std::function<int64_t()> clock_;
    uint64_t nextCreationIndex_ = 1;
};
