#include "http/TIdCookies.h"

namespace {

bool sameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

int TIdCookies::IndexOfDomain(std::string_view domain) const {
    for (std::size_t i = 0; i < domains_.size(); ++i)
        if (sameText(domains_[i].name, domain))
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
