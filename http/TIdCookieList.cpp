#include "http/TIdCookieList.h"

#include "framework/core/AsciiText.h"

int TIdCookieList::IndexOfName(std::string_view name) const {
    for (std::size_t i = 0; i < cookies_.size(); ++i)
        if (SameText(cookies_[i]->CookieName(), name))
            return static_cast<int>(i);
    return -1;
}

void TIdCookieList::Replace(int i, std::unique_ptr<TIdNetscapeCookie> cookie) {
    cookies_[static_cast<std::size_t>(i)] = std::move(cookie);
}

void TIdCookieList::Delete(int i) {
    if (i >= 0 && i < Count())
        cookies_.erase(cookies_.begin() + i);
}
