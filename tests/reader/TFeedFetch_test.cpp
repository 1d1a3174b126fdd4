// A feed fetch on its own thread: the result arrives once through the callback, a cancelled
// fetch never calls it and has its connection shut down at once, and cancelling at any moment
// (before the connect, during the read, after the result) is safe.
#include "reader/TFeedFetch.h"

#include "http/TIdHTTP.h"
#include "reader/ReaderHttp.h"
#include "tests/support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

using namespace zeltest;

namespace {

const std::string kPrefix = "http://go.test/go/?url=";

std::string feedUrl(const ScriptedServer& s) {
    return "http://127.0.0.1:" + std::to_string(s.Port()) + "/rss/world.xml";
}

std::unique_ptr<TIdCustomHTTP> client() {
    auto http = std::make_unique<TIdHTTP>();
    ConfigureReaderHttp(*http);
    return http;
}

Script serve(const std::string& body) {
    return {Action::ReadHead(),
            Action::Send(
                HttpResponse("HTTP/1.1 200 OK", {"Content-Length: " + std::to_string(body.size())}, body)),
            Action::WaitForPeerClose()};
}

// Collects the callbacks of one fetch.
struct Outcome {
    std::mutex mutex;
    std::condition_variable arrived;
    int calls = 0;
    TFeedFetchResult result;

    TFeedFetch::Done done() {
        return [this](TFeedFetchResult&& r) {
            std::lock_guard lock(mutex);
            ++calls;
            result = std::move(r);
            arrived.notify_all();
        };
    }
    bool wait(std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        std::unique_lock lock(mutex);
        return arrived.wait_for(lock, timeout, [this] { return calls > 0; });
    }
};

} // namespace

TEST(TFeedFetch, DeliversTheCutHeadlinesOnceAndHangsUp) {
    ScriptedServer server({serve("<item><title>One</title><link>http://a.test/1</link></item>")});
    Outcome outcome;
    auto fetch = TFeedFetch::Start(client(), feedUrl(server), kPrefix, outcome.done());
    ASSERT_TRUE(outcome.wait());
    EXPECT_TRUE(outcome.result.ok);
    ASSERT_EQ(outcome.result.items.size(), 1u);
    EXPECT_EQ(outcome.result.items[0], (THeadlineItem{"One", kPrefix + "http://a.test/1"}));
    EXPECT_TRUE(server.WaitScriptsDone(1)); // the worker closed its connection when done
    fetch->Cancel();                        // after the result: harmless
    EXPECT_EQ(outcome.calls, 1);
}

TEST(TFeedFetch, AFailedFetchReportsFailureWithNoItems) {
    ScriptedServer server(
        {{Action::ReadHead(), Action::Send(HttpResponse("HTTP/1.1 404 Not Found", {"Content-Length: 0"}, "")),
          Action::WaitForPeerClose()}});
    Outcome outcome;
    auto fetch = TFeedFetch::Start(client(), feedUrl(server), kPrefix, outcome.done());
    ASSERT_TRUE(outcome.wait());
    EXPECT_FALSE(outcome.result.ok);
    EXPECT_TRUE(outcome.result.items.empty());
}

TEST(TFeedFetch, CancelDuringTheReadHangsUpAtOnceAndNeverCallsBack) {
    ScriptedServer server({{Action::ReadHead(), Action::WaitForPeerClose()}});
    Outcome outcome;
    auto fetch = TFeedFetch::Start(client(), feedUrl(server), kPrefix, outcome.done());
    // Once the server holds the request, the worker is blocked reading the answer.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (server.Requests().empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_EQ(server.Requests().size(), 1u);
    fetch->Cancel();
    EXPECT_TRUE(fetch->Cancelled());
    EXPECT_TRUE(server.WaitScriptsDone(1, std::chrono::milliseconds(1000)));
    EXPECT_FALSE(outcome.wait(std::chrono::milliseconds(200)));
    fetch.reset(); // the worker keeps what it still needs
}

TEST(TFeedFetch, CancellingAtAnyMomentIsSafe) {
    // Fetches cancelled right away, after a little while, or never, against one server that
    // answers each at once: every fetch either delivers once or never, and never after Cancel.
    constexpr int kFetches = 40;
    std::vector<Script> scripts;
    for (int i = 0; i < kFetches; ++i)
        scripts.push_back(serve("<item><title>T</title><link>l</link></item>"));
    ScriptedServer server(std::move(scripts));
    std::vector<std::unique_ptr<Outcome>> outcomes;
    std::atomic<int> lateCalls{0};
    for (int i = 0; i < kFetches; ++i) {
        outcomes.push_back(std::make_unique<Outcome>());
        auto cancelled = std::make_shared<std::atomic<bool>>(false);
        auto inner = outcomes.back()->done();
        auto fetch = TFeedFetch::Start(client(), feedUrl(server), kPrefix,
                                       [cancelled, inner, &lateCalls](TFeedFetchResult&& r) {
                                           if (*cancelled)
                                               ++lateCalls;
                                           inner(std::move(r));
                                       });
        if (i % 3 == 1)
            std::this_thread::sleep_for(std::chrono::microseconds(200 * (i % 7)));
        if (i % 3 != 2) {
            fetch->Cancel();
            *cancelled = true;
        }
    }
    for (int i = 0; i < kFetches; ++i)
        if (i % 3 == 2) {
            ASSERT_TRUE(outcomes[i]->wait()) << i;
            EXPECT_TRUE(outcomes[i]->result.ok) << i;
        }
    for (const auto& o : outcomes)
        EXPECT_LE(o->calls, 1);
    EXPECT_EQ(lateCalls.load(), 0);
}
