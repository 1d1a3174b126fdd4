// Redirects followed for feeds: where they lead, which ones are refused, how many, and which
// credentials go along.
#include "http/EIdException.h"
#include "tests/http/AnsweringMemory.h"
#include "tests/http/HttpFixture.h"
#include "tests/support/TlsSite.h"

#include <gtest/gtest.h>

using namespace zeltest;

namespace {

std::string moved(int code, const std::string& location) {
    return HttpResponse("HTTP/1.1 " + std::to_string(code) + " Moved",
                        {"Location: " + location, "Content-Length: 3"}, "old");
}

class Redirects : public testing::Test {
protected:
    void SetUp() override {
        ConfigureLikeTheReader(http);
        http.SetHandleRedirects(true);
        http.SetRedirectMaximum(6); // five followed, the sixth fails
    }
    void Use(std::deque<std::string> answers) {
        // The client lets go of the old handler before it is freed.
        auto next = std::make_unique<AnsweringMemory>(std::move(answers));
        http.SetIOHandler(next.get());
        io = std::move(next);
    }
    void TearDown() override { http.SetIOHandler(nullptr); }
    // The request lines sent, in order.
    std::vector<std::string> requestLines() const {
        std::vector<std::string> lines;
        const std::string& out = io->Output();
        for (std::size_t at = 0; at < out.size();) {
            lines.push_back(out.substr(at, out.find("\r\n", at) - at));
            at = out.find("\r\n\r\n", at) + 4;
        }
        return lines;
    }

    std::unique_ptr<AnsweringMemory> io;
    TIdHTTP http;
};

TEST_F(Redirects, EveryKindOfLocationIsResolvedAgainstTheUrlThatAnswered) {
    Use({moved(301, "../b/x.xml?q=1#top"), moved(302, "//feeds.example:8080/c"), moved(303, "/d"),
         moved(307, "?page=2"), moved(308, "https://feeds.example/e"), Ok("there")});
    EXPECT_EQ(http.Get("http://feeds.example/rss/a/feed.xml"), "there");
    EXPECT_EQ(requestLines(),
              (std::vector<std::string>{"GET /rss/a/feed.xml HTTP/1.1", "GET /rss/b/x.xml?q=1 HTTP/1.1",
                                        "GET /c HTTP/1.1", "GET /d HTTP/1.1", "GET /d?page=2 HTTP/1.1",
                                        "GET /e HTTP/1.1"}));
    ASSERT_EQ(io->TLSStarts().size(), 1u); // the last hop went over TLS
    EXPECT_EQ(http.CurrentURL(), "https://feeds.example/e");
}

TEST_F(Redirects, TheSixthInARowFailsWithItsStatusLine) {
    Use({moved(302, "/1"), moved(302, "/2"), moved(302, "/3"), moved(302, "/4"), moved(302, "/5"),
         moved(302, "/6")});
    try {
        http.Get("http://feeds.example/0");
        FAIL();
    } catch (const EIdHTTPProtocolException& e) {
        EXPECT_EQ(e.Message(), "HTTP/1.1 302 Moved");
    }
    EXPECT_EQ(requestLines().size(), 6u);
}

TEST_F(Redirects, EveryOtherRedirectIsFollowedUnlessTheHandlerDeclines) {
    // The client follows any 3xx but 304; which of them deserve it is the caller's choice.
    for (int code : {300, 305, 306}) {
        SCOPED_TRACE(code);
        Use({moved(code, "/elsewhere"), Ok("there")});
        EXPECT_EQ(http.Get("http://feeds.example/a"), "there");
        EXPECT_EQ(requestLines().size(), 2u);
        http.Disconnect();
    }
    http.OnRedirect = [](TIdCustomHTTP*, std::string&, int&, bool& handled, TIdHTTPMethod&) {
        handled = false;
    };
    Use({moved(301, "/elsewhere"), Ok("there")});
    EXPECT_THROW(http.Get("http://feeds.example/a"), EIdHTTPProtocolException);
    EXPECT_EQ(requestLines().size(), 1u);
}

TEST_F(Redirects, A302Or303AsksAgainWithGetA307Or308WithTheSameMethod) {
    // A caller turning the request into a POST on its way: 307 and 308 keep it, 302 and 303 do not.
    int hops = 0;
    http.OnRedirect = [&](TIdCustomHTTP*, std::string&, int&, bool&, TIdHTTPMethod& method) {
        if (hops++ == 0)
            method = TIdHTTPMethod::hmPost;
    };
    Use({moved(307, "/b"), moved(308, "/c"), moved(303, "/d"), moved(307, "/e"), Ok("there")});
    EXPECT_EQ(http.Get("http://feeds.example/a"), "there");
    const std::vector<std::string> lines = requestLines();
    EXPECT_EQ(lines, (std::vector<std::string>{"GET /a HTTP/1.1", "POST /b HTTP/1.1", "POST /c HTTP/1.1",
                                               "GET /d HTTP/1.1", "GET /e HTTP/1.1"}));
}

TEST_F(Redirects, RefusedWithTheReasonAndNothingSentThere) {
    struct Case {
        std::string from, location, why;
    };
    const std::vector<Case> cases = {
        {"https://feeds.example/a", "http://feeds.example/b",
         "redirect from https to http refused: http://feeds.example/b"},
        {"https://feeds.example/a", "//plain.example/b", ""}, // stays https: followed
        {"http://feeds.example/a", "ftp://feeds.example/b", "redirect to an unsupported scheme refused: ftp"},
        {"http://feeds.example/a", "", "the redirect has no Location"},
        {"http://feeds.example/a", "http://:8080/b", "redirect to a URL without a host refused"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.location);
        Use({moved(301, c.location), Ok("moved")});
        if (c.why.empty()) {
            EXPECT_EQ(http.Get(c.from), "moved");
            continue;
        }
        try {
            http.Get(c.from);
            ADD_FAILURE() << "followed";
        } catch (const EIdHTTPRedirectRefused& e) {
            EXPECT_EQ(e.Message(), c.why);
            EXPECT_EQ(e.ErrorCode(), 301);
        }
        EXPECT_EQ(requestLines().size(), 1u);
        http.Disconnect();
    }
}

TEST_F(Redirects, CredentialsOfAUrlGoOnlyToItsSchemeHostAndPort) {
    const std::string challenge = HttpResponse(
        "HTTP/1.1 401 Unauthorized", {"WWW-Authenticate: Basic realm=\"r\"", "Content-Length: 0"}, "");
    for (const std::string to :
         {"http://feeds.example:8080/b", "https://feeds.example/b", "http://other.example/b"}) {
        SCOPED_TRACE(to);
        Use({challenge, moved(302, to), challenge});
        try {
            http.Get("http://u:p@feeds.example/a");
            ADD_FAILURE() << "the second site took no credentials";
        } catch (const EIdHTTPProtocolException& e) {
            EXPECT_EQ(e.ErrorCode(), 401);
        }
        // The first site got them, answering its challenge; the other port or scheme did not.
        const std::string& out = io->Output();
        const std::size_t sent = out.find("Authorization: Basic dTpw");
        ASSERT_NE(sent, std::string::npos);
        EXPECT_EQ(sent, out.rfind("Authorization: Basic dTpw"));
        EXPECT_LT(sent, out.find("GET /b HTTP/1.1"));
        EXPECT_EQ(requestLines().size(), 3u);
        http.Disconnect();
    }
}

// Over loopback: a plain feed host that moved its feed to an https one.
TEST(RedirectsOverLoopback, HttpToHttpsIsFollowedAcrossHosts) {
    TestPki pki;
    TlsSite site(pki, {Join({Reply(Ok("secure feed")), {Action::WaitForPeerClose()}})});
    ScriptedServer old({Join({Reply(moved(301, site.Url("/rss/world.xml"))), {Action::WaitForPeerClose()}})});
    TIdHTTP http;
    ConfigureLikeTheReader(http);
    http.SetCAFile(pki.CAFile());
    http.SetHandleRedirects(true);
    http.SetRedirectMaximum(6);
    EXPECT_EQ(http.Get("http://127.0.0.1:" + std::to_string(old.Port()) + "/rss/world.xml"), "secure feed");
    EXPECT_EQ(site.Backend().Requests().at(0), DirectHead("/rss/world.xml", site.HostPort()));
}

} // namespace
