// The feed command's logic over the reader's own HTTP client and a loopback server.
#include "framework/core/CodePage.h"
#include "http/TIdHTTP.h"
#include "http/TIdHTTPResponse.h"
#include "reader/FetchHeadlines.h"
#include "reader/HeadlineLines.h"
#include "reader/THeadlineStore.h"
#include "tests/support/RefusedPort.h"
#include "tests/support/ScriptedServer.h"

#include <gtest/gtest.h>

using namespace zeltest;

namespace {

const std::string kPrefix = "http://go.test/go/?url=";
const std::string kFeed =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><rss version=\"2.0\"><channel><title>频道</title>"
    "<item><title>国际时事一</title><link>http://a.test/1.html</link></item>"
    "<item><title><![CDATA[Two]]></title><link>http://a.test/2.html</link></item>"
    "</channel></rss>";

bool fetch(TIdHTTP& http, THeadlineStore& store, const std::string& url) {
    return FetchHeadlines(
        store,
        [&](const std::string& u) {
            TFeedBody feed{http.Get(u), ""};
            feed.contentType = http.Response().ContentType();
            return feed;
        },
        url, kPrefix);
}

std::string url(const ScriptedServer& server) {
    return "http://127.0.0.1:" + std::to_string(server.Port()) + "/rss/world.xml";
}

} // namespace

TEST(FetchOverHttp, FeedArrivingByteByByteGivesItsHeadlines) {
    ScriptedServer server({{Action::ReadHead(),
                            Action::Send(HttpResponse("HTTP/1.1 200 OK",
                                                      {"Content-Type: application/rss+xml",
                                                       "Content-Length: " + std::to_string(kFeed.size())},
                                                      kFeed)),
                            Action::WaitForPeerClose()}},
                          Delivery::OneBytePerSend);
    TIdHTTP http;
    THeadlineStore store;
    ASSERT_TRUE(fetch(http, store, url(server)));
    http.Disconnect();
    ASSERT_EQ(store.Count(), 2);
    EXPECT_EQ(store.Item(0).title, Utf8ToAnsi("国际时事一"));
    EXPECT_EQ(store.Item(1).title, "Two");
    EXPECT_EQ(store.Item(1).link, kPrefix + "http://a.test/2.html");
    EXPECT_EQ(HeadlineListLines(store).size(), 4u);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].rfind("GET /rss/world.xml HTTP/1.1\r\n", 0), 0u);
}

TEST(FetchOverHttp, TheResponsesCharsetWinsOverTheDeclarationAndRelativeLinksResolveAgainstTheUrl) {
    // GBK bytes under a declaration that says UTF-8: read as UTF-8 they would be U+FFFD.
    const std::string feed = "<?xml version=\"1.0\" encoding=\"utf-8\"?><rss><channel><item><title>" +
                             Utf8ToAnsi("国际时事") +
                             "</title><link>../news/1.html</link></item></channel></rss>";
    ScriptedServer server({{Action::ReadHead(),
                            Action::Send(HttpResponse("HTTP/1.1 200 OK",
                                                      {"Content-Type: application/rss+xml; charset=GBK",
                                                       "Content-Length: " + std::to_string(feed.size())},
                                                      feed)),
                            Action::WaitForPeerClose()}});
    TIdHTTP http;
    THeadlineStore store;
    ASSERT_TRUE(fetch(http, store, url(server)));
    http.Disconnect();
    ASSERT_EQ(store.Count(), 1);
    EXPECT_EQ(store.Item(0).title, Utf8ToAnsi("国际时事"));
    EXPECT_EQ(store.Item(0).link,
              kPrefix + "http://127.0.0.1:" + std::to_string(server.Port()) + "/news/1.html");
}

TEST(FetchOverHttp, RedirectsErrorsAndRefusedConnectionsFailWithAnEmptyStore) {
    for (const char* status : {"HTTP/1.1 302 Found", "HTTP/1.1 301 Moved Permanently",
                               "HTTP/1.1 404 Not Found", "HTTP/1.1 500 Internal Server Error"}) {
        SCOPED_TRACE(status);
        // The Location leads back to this server, which would serve the feed there: a client that
        // followed it would come back with headlines and a second request.
        const std::string feed =
            HttpResponse("HTTP/1.1 200 OK", {"Content-Length: " + std::to_string(kFeed.size())}, kFeed);
        ScriptedServer server(
            {{Action::ReadHead(),
              Action::Send(HttpResponse(status, {"Location: /rss/moved.xml", "Content-Length: 5"}, "<item")),
              Action::Close()},
             {Action::ReadHead(), Action::Send(feed), Action::Close()}});
        TIdHTTP http;
        THeadlineStore store;
        store.Append({"old", "old"});
        EXPECT_FALSE(fetch(http, store, url(server)));
        EXPECT_EQ(store.Count(), 0);
        EXPECT_EQ(server.Requests().size(), 1u); // the redirect was not followed
    }
    RefusedPort refused;
    TIdHTTP http;
    THeadlineStore store;
    EXPECT_FALSE(fetch(http, store, "http://127.0.0.1:" + std::to_string(refused.Port()) + "/rss/world.xml"));
    EXPECT_EQ(store.Count(), 0);
}
