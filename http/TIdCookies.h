#pragma once
// The cookie store's collection: every cookie, indexed by domain (an ordered list of domain
// names, compared without regard to ASCII case, each with its TIdCookieList).
//
// The index is guarded by a many-readers/one-writer lock that the caller takes:
//   std::shared_lock read(cookies.Lock());   // looking
//   std::unique_lock write(cookies.Lock());  // adding or removing
// Nothing here takes the lock itself, so code that already holds it for writing may call
// anything (the lock is not re-entrant).
#include "http/TIdCookieList.h"

#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

class TIdCookies {
public:
    std::shared_mutex& Lock() const { return lock_; }

    int DomainCount() const { return static_cast<int>(domains_.size()); }
    const std::string& DomainName(int i) const { return domains_[static_cast<std::size_t>(i)].name; }
    TIdCookieList& CookieList(int i) { return domains_[static_cast<std::size_t>(i)].cookies; }
    const TIdCookieList& CookieList(int i) const { return domains_[static_cast<std::size_t>(i)].cookies; }
    // Index of the domain, or -1.
    int IndexOfDomain(std::string_view domain) const;
    // The domain's list, appended (empty) when the domain is new.
    TIdCookieList& CookieListByDomain(std::string_view domain);

    // Cookies over all domains.
    int Count() const;
    // The cookie with that name under that domain, or nullptr.
    TIdNetscapeCookie* Find(std::string_view domain, std::string_view name) const;
    void Clear() { domains_.clear(); }

private:
    struct Domain {
        std::string name;
        TIdCookieList cookies;
    };
    std::vector<Domain> domains_;
    mutable std::shared_mutex lock_;
};
