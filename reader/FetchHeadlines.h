#pragma once
// The window-independent part of the feed command: reset the headline store, fetch the body
// and cut its headlines. The window clears its list before calling and, on success, fills it
// with HeadlineListLines(); on failure it shows the one connection-failure message box.
#include <functional>
#include <string>
#include <string_view>

class THeadlineStore;

// A fetched feed: its body and the response's Content-Type (its charset decides the text).
struct TFeedBody {
    std::string body;
    std::string contentType;
};

// The feed at a URL; throws on any failure (a resolve or connect error, a status that is not
// 2xx, a redirect, a broken connection).
using TFeedGet = std::function<TFeedBody(const std::string& url)>;

// False when anything failed, fetch or extraction. After a failed fetch the store's count is
// 0, as it is after a feed whose headlines pass their bound (EFeedTooLarge); after any other
// failure during extraction the items appended so far remain. Links are resolved against the
// URL and put after the redirect prefix ("" for a feed whose links open directly).
bool FetchHeadlines(THeadlineStore& store, const TFeedGet& get, const std::string& url,
                    std::string_view redirectPrefix);
