// Cookie parsing and the store. Input lines (LF separated): the request host, the request path,
// then Set-Cookie values; a value starting with "2:" is a Set-Cookie2 value.
#include "FuzzCheck.h"
#include "http/TIdCookie.h"
#include "http/TIdCookieDate.h"
#include "http/TIdCookieManager.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int64_t kNow = 1700000000;

bool hasLineBreakOrNul(std::string_view s) {
    for (char c : s)
        if (c == '\r' || c == '\n' || c == '\0')
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos <= text.size() && lines.size() < 64) {
        std::size_t nl = text.find('\n', pos);
        lines.push_back(text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos));
        if (nl == std::string_view::npos)
            break;
        pos = nl + 1;
    }
    if (lines.size() < 2)
        return 0;
    std::string host(lines[0]);
    std::string path(lines[1]);

    int64_t now = kNow; // outlives the store, whose destructor still reads the clock
    TIdCookieManager jar;
    jar.SetClock([&now] { return now; });
    for (std::size_t i = 2; i < lines.size(); ++i) {
        std::string_view v = lines[i];
        bool two = v.substr(0, 2) == "2:";
        if (two)
            jar.AddServerCookie2(v.substr(2), host);
        else
            jar.AddServerCookie(v, host);

        // The cookie kinds on their own: parsing twice, writing back, reading the written form.
        TIdCookieRFC2965 c;
        c.SetCookieText(v, now);
        std::string server = c.ServerCookie();
        TIdCookieRFC2965 again;
        again.SetCookieText(server, now);
        (void)c.IsExpired(now);
        if (auto t = IdParseCookieDate(v)) {
            FUZZ_CHECK(*t >= kIdCookieTimeMin && *t <= kIdCookieTimeMax);
            FUZZ_CHECK(IdParseCookieDate(IdInternetDate(*t)) == *t);
        }
    }

    // Every stored domain is one the host may set; every cookie kept is clean.
    TIdCookies& all = jar.CookieCollection();
    for (int d = 0; d < all.DomainCount(); ++d) {
        FUZZ_CHECK(TIdCookieManager::IsValidCookieDomain(all.DomainName(d), host));
        const TIdCookieList& list = all.CookieList(d);
        for (int i = 0; i < list.Count(); ++i) {
            FUZZ_CHECK(!hasLineBreakOrNul(list.Cookies(i)->CookieName()));
            FUZZ_CHECK(!hasLineBreakOrNul(list.Cookies(i)->Value()));
        }
    }
    FUZZ_CHECK(all.Count() <= TIdCookieManager::kMaxCookies);

    std::string header = jar.GenerateCookieList(host, path);
    FUZZ_CHECK(!hasLineBreakOrNul(header));
    // The host reads back what it set; a host that matches no stored domain gets nothing.
    for (int d = 0; d < all.DomainCount(); ++d)
        FUZZ_CHECK(all.CookieList(d).Count() == 0 ||
                   TIdCookieManager::DomainMatches(host, all.DomainName(d)));
    const std::string other = "unrelated.example.invalid";
    bool anyMatch = false;
    for (int d = 0; d < all.DomainCount(); ++d)
        anyMatch = anyMatch || TIdCookieManager::DomainMatches(other, all.DomainName(d));
    if (!anyMatch)
        FUZZ_CHECK(jar.GenerateCookieList(other, path).empty());

    // At the end of time only the cookies without an expiry are left.
    now = kIdCookieTimeMax;
    jar.RemoveExpiredCookies();
    for (int d = 0; d < all.DomainCount(); ++d)
        for (int i = 0; i < all.CookieList(d).Count(); ++i)
            FUZZ_CHECK(!all.CookieList(d).Cookies(i)->ExpiresAt().has_value());
    return 0;
}
