#include "reader/FetchHeadlines.h"

#include "reader/EFeedTooLarge.h"
#include "reader/FeedCutter.h"
#include "reader/THeadlineStore.h"

bool FetchHeadlines(THeadlineStore& store, const TFeedGet& get, const std::string& url,
                    std::string_view redirectPrefix) {
    store.Reset();
    try {
        const TFeedBody feed = get(url);
        CutHeadlines(feed.body, TFeedOrigin{url, feed.contentType, redirectPrefix}, store);
        return true;
    } catch (const EFeedTooLarge&) {
        // Refused whole, as if it had never arrived.
        store.Reset();
        return false;
    } catch (...) {
        // Every failure ends in the same message box, whatever raised it.
        return false;
    }
}
