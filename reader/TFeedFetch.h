#pragma once
// One feed fetch of the window's category commands, run on a thread of its own so the window
// keeps painting: the GET with a client that belongs to this fetch alone, then the cutting of
// its headlines. The result goes to a callback on the worker thread, which hands it on to the
// GUI thread (the window posts it there).
//
// Cancel() never waits: it marks the fetch cancelled, so the callback is never called after it
// returns, and shuts the connection down, so a worker blocked in a read wakes at once and ends.
// A worker still resolving a name or connecting ends on its own once that returns. The worker
// owns what it uses (client, connection, cookie store) through the fetch's shared state, so an
// abandoned worker outlives the window safely.
#include "reader/THeadlineItem.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class TIdCustomHTTP;
class TFeedConnection;

struct TFeedFetchResult {
    // False when the fetch or the cutting failed: the window then shows its one failure box.
    bool ok = false;
    // The headlines cut, in feed order; after a failure during the cutting, those cut before it.
    std::vector<THeadlineItem> items;
};

class TFeedFetch {
public:
    using Done = std::function<void(TFeedFetchResult&&)>;

    // Starts the worker. The client is configured by the caller and used by the worker alone;
    // keepAlive (a cookie store the client refers to, say) lives as long as the client.
    static std::shared_ptr<TFeedFetch> Start(std::unique_ptr<TIdCustomHTTP> http, std::string url,
                                             std::string redirectPrefix, Done done,
                                             std::shared_ptr<void> keepAlive = nullptr);
    ~TFeedFetch();

    // From any thread. After it returns, done is not called any more.
    void Cancel();
    bool Cancelled() const;

    TFeedFetch(const TFeedFetch&) = delete;
    TFeedFetch& operator=(const TFeedFetch&) = delete;

private:
    TFeedFetch() = default;
    void run();

    mutable std::mutex mutex_;
    bool cancelled_ = false;
    Done done_;
    std::string url_;
    std::string redirectPrefix_;
    std::shared_ptr<void> keepAlive_;
    // The connection outlives the client that uses it.
    std::unique_ptr<TFeedConnection> connection_;
    std::unique_ptr<TIdCustomHTTP> http_;
};
