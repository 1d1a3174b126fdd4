#include "http/TIdCookieList.h"

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

int TIdCookieList::IndexOfName(std::string_view name) const {
    for (std::size_t i = 0; i < cookies_.size(); ++i)
        if (sameText(cookies_[i]->CookieName(), name))
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
