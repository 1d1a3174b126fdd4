#include "reader/TFeedFetch.h"

#include "http/TIdCustomHTTP.h"
#include "http/TIdHTTPResponse.h"
#include "reader/FetchHeadlines.h"
#include "reader/TFeedConnection.h"
#include "reader/THeadlineStore.h"

#include <thread>

std::shared_ptr<TFeedFetch> TFeedFetch::Start(std::unique_ptr<TIdCustomHTTP> http, std::string url,
                                              std::string redirectPrefix, Done done,
                                              std::shared_ptr<void> keepAlive) {
    std::shared_ptr<TFeedFetch> fetch(new TFeedFetch);
    fetch->done_ = std::move(done);
    fetch->url_ = std::move(url);
    fetch->redirectPrefix_ = std::move(redirectPrefix);
    fetch->keepAlive_ = std::move(keepAlive);
    fetch->connection_ = std::make_unique<TFeedConnection>();
    fetch->http_ = std::move(http);
    fetch->http_->SetIOHandler(fetch->connection_.get());
    // Detached: nobody ever waits for the network. The thread holds the fetch alive.
    std::thread([fetch] { fetch->run(); }).detach();
    return fetch;
}

TFeedFetch::~TFeedFetch() {
    // The client lets go of the connection before the connection goes.
    http_.reset();
}

void TFeedFetch::run() {
    TFeedFetchResult result;
    THeadlineStore store;
    result.ok = FetchHeadlines(
        store,
        [this](const std::string& url) {
            TFeedBody feed;
            feed.body = http_->Get(url);
            feed.contentType = http_->Response().ContentType();
            return feed;
        },
        url_, redirectPrefix_);
    result.items.reserve(static_cast<std::size_t>(store.Count()));
    for (std::int32_t i = 0; i < store.Count(); ++i)
        result.items.push_back(store.Item(i));
    // Done before the worker lets go, with its connection closed.
    try {
        http_->Disconnect();
    } catch (...) {
    }
    std::lock_guard lock(mutex_);
    if (!cancelled_ && done_)
        done_(std::move(result));
    done_ = nullptr;
}

void TFeedFetch::Cancel() {
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    connection_->Abort();
}

bool TFeedFetch::Cancelled() const {
    std::lock_guard lock(mutex_);
    return cancelled_;
}
