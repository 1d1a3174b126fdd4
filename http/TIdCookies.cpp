#include "http/TIdCookies.h"

#include "framework/core/AsciiText.h"

int TIdCookies::IndexOfDomain(std::string_view domain) const {
    for (std::size_t i = 0; i < domains_.size(); ++i)
        if (SameText(domains_[i].name, domain))
            return static_cast<int>(i);
    return -1;
}

TIdCookieList& TIdCookies::CookieListByDomain(std::string_view domain) {
    int i = IndexOfDomain(domain);
    if (i >= 0)
        return domains_[static_cast<std::size_t>(i)].cookies;
    domains_.push_back(Domain{std::string(domain), {}});
    return domains_.back().cookies;
}

int TIdCookies::Count() const {
    int n = 0;
    for (const Domain& d : domains_)
        n += d.cookies.Count();
    return n;
}

TIdNetscapeCookie* TIdCookies::Find(std::string_view domain, std::string_view name) const {
    int d = IndexOfDomain(domain);
    if (d < 0)
        return nullptr;
    const TIdCookieList& list = domains_[static_cast<std::size_t>(d)].cookies;
    int i = list.IndexOfName(name);
    return i < 0 ? nullptr : list.Cookies(i);
}
