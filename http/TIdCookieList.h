#pragma once
// The cookies of one domain, in the order they were first stored, names compared without regard
// to ASCII case. Owns its cookies.
#include "http/TIdCookie.h"

#include <memory>
#include <string_view>
#include <vector>

class TIdCookieList {
public:
    int Count() const { return static_cast<int>(cookies_.size()); }
    TIdNetscapeCookie* Cookies(int i) const { return cookies_[static_cast<std::size_t>(i)].get(); }
    // Index of the cookie with that name, or -1.
    int IndexOfName(std::string_view name) const;
    void Add(std::unique_ptr<TIdNetscapeCookie> cookie) { cookies_.push_back(std::move(cookie)); }
    // Puts a cookie in the place of the one at i, which is freed.
    void Replace(int i, std::unique_ptr<TIdNetscapeCookie> cookie);
    void Delete(int i);
    void Clear() { cookies_.clear(); }

private:
    std::vector<std::unique_ptr<TIdNetscapeCookie>> cookies_;
};
