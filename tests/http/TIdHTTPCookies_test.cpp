// Cookies over the wire: set by one response, sent back (or not) on later requests. Hosts other
// than 127.0.0.1 are reached through the scripted server acting as the proxy, so the request line
// names the site while the bytes stay on loopback.
#include "http/EIdException.h"
#include "tests/http/HostileCookies.h"
#include "tests/http/HttpFixture.h"

using namespace zeltest;

namespace {

class Cookies : public HttpTest {
protected:
    void ViaProxy() {
        http.ProxyParams().SetProxyServer("127.0.0.1");
        http.ProxyParams().SetProxyPort(server->Port());
    }
};

// The Cookie line of a request head ("" when there is none), continuation lines joined.
std::string cookieLine(const std::string& head) {
    std::size_t at = head.find("\r\nCookie: ");
    if (at == std::string::npos)
        return "";
    std::string value;
    std::size_t pos = at + 10;
    while (true) {
        std::size_t end = head.find("\r\n", pos);
        value += head.substr(pos, end - pos);
        if (head.compare(end, 3, "\r\n ") != 0)
            return value;
        pos = end + 2;
    }
}

std::vector<Action> keepOpen() {
    return {Action::WaitForPeerClose()};
}

} // namespace

TEST_P(Cookies, SetReplacedAndDeletedOverSeveralRequests) {
    Serve({Join({Reply(Ok("1", {"Set-Cookie: sid=abc; path=/", "Set-Cookie: pref=en"})),
                 Reply(Ok("2", {"Set-Cookie: SID=def"})), Reply(Ok("3", {"Set-Cookie: sid=; Max-Age=0"})),
                 Reply(Ok("4")), keepOpen()})});
    ViaProxy();
    for (const char* path : {"/rss/a.xml", "/rss/b.xml", "/rss/c.xml", "/rss/d.xml"})
        http.Get(std::string("http://news.example.com") + path);
    auto r = server->Requests();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(cookieLine(r[0]), "");
    EXPECT_EQ(cookieLine(r[1]), "sid=abc; pref=en");
    EXPECT_EQ(cookieLine(r[2]), "SID=def; pref=en");
    EXPECT_EQ(cookieLine(r[3]), "pref=en");
    // The Cookie line is the last one of the head.
    EXPECT_NE(r[3].find("\r\nCookie: pref=en\r\n\r\n"), std::string::npos);
}

TEST_P(Cookies, NeverSentToAnotherSite) {
    Serve({Join({Reply(Ok("1", {"Set-Cookie: host=1", "Set-Cookie: parent=1; domain=example.com",
                                "Set-Cookie: evil=1; domain=evil.com", "Set-Cookie: tld=1; domain=com"})),
                 Reply(Ok("2")), Reply(Ok("3")), Reply(Ok("4")), Reply(Ok("5")), keepOpen()})});
    ViaProxy();
    http.Get("http://news.example.com/");
    http.Get("http://www.example.com/");
    http.Get("http://notexample.com/");
    http.Get("http://evil.com/");
    http.Get("http://news.example.com.evil.com/");
    auto r = server->Requests();
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(cookieLine(r[1]), "parent=1");
    EXPECT_EQ(cookieLine(r[2]), "");
    EXPECT_EQ(cookieLine(r[3]), "");
    EXPECT_EQ(cookieLine(r[4]), "");
}

TEST_P(Cookies, TheSiteIsTheUrlsHostNeverTheProxy) {
    // Same address and port both times, so the connection carries on.
    Serve({Join({Reply(Ok("1", {"Set-Cookie: a=1"})), Reply(Ok("2")), keepOpen()})});
    ViaProxy();
    http.Get("http://news.example.com/");
    http.ProxyParams().SetProxyServer("");
    http.Get(Url("/")); // straight to 127.0.0.1, the proxy's own address
    auto r = server->Requests();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(cookieLine(r[1]), "");
    EXPECT_NE(http.CookieManager()->CookieCollection().Find("news.example.com", "a"), nullptr);
}

TEST_P(Cookies, RefusedResponsesAndInterimHeadsStillSetCookies) {
    Serve({Join(
        {Reply(HttpResponse("HTTP/1.1 100 Continue", {"Set-Cookie: early=1"}, "") +
               HttpResponse("HTTP/1.1 404 Not Found", {"Set-Cookie: late=1", "Content-Length: 4"}, "gone")),
         Reply(Ok("ok", {"Set-Cookie2: two=2; Version=1"})), Reply(Ok("again")), keepOpen()})});
    http.ProxyParams().SetProxyServer("");
    EXPECT_THROW(http.Get(Url("/rss/missing.xml")), EIdHTTPProtocolException);
    http.Get(Url("/rss/a.xml"));
    http.Get(Url("/rss/b.xml"));
    auto r = server->Requests();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(cookieLine(r[1]), "early=1; late=1");
    EXPECT_EQ(cookieLine(r[2]), "early=1; late=1; two=2");
}

TEST_P(Cookies, PathAndSecureDecideWhatIsSent) {
    Serve({Join({Reply(Ok("1", {"Set-Cookie: rss=1; path=/rss", "Set-Cookie: other=1; path=/other/",
                                "Set-Cookie: safe=1; secure"})),
                 Reply(Ok("2")), Reply(Ok("3")), keepOpen()})});
    http.Get(Url("/"));
    http.Get(Url("/rss/world.xml"));
    http.Get(Url("/news/"));
    auto r = server->Requests();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(cookieLine(r[1]), "rss=1");
    EXPECT_EQ(cookieLine(r[2]), "");
}

TEST_P(Cookies, WithoutAllowCookiesNothingIsKept) {
    Serve({Join({Reply(Ok("1", {"Set-Cookie: a=1"})), Reply(Ok("2")), keepOpen()})});
    http.SetAllowCookies(false);
    http.Get(Url("/"));
    http.Get(Url("/"));
    EXPECT_EQ(cookieLine(server->Requests().at(1)), "");
    EXPECT_EQ(http.CookieManager(), nullptr);
}

TEST_P(Cookies, HostileSetCookieLines) {
    // A LF inside the value cannot travel as one header line: on the wire it is two headers, a
    // clean cookie and another line, so those cases are the store's own tests only.
    std::vector<HostileCookie> cases;
    for (const HostileCookie& h : kHostileCookies)
        if (h.setCookie.find('\n') == std::string_view::npos)
            cases.push_back(h);
    std::vector<Script> scripts;
    for (const HostileCookie& h : cases) {
        std::string setCookie(h.setCookie);
        scripts.push_back(Join(
            {Reply(HttpResponse("HTTP/1.1 200 OK", {"Set-Cookie: " + setCookie, "Content-Length: 1"}, "x")),
             Reply(Ok("y")), keepOpen()}));
    }
    Serve(std::move(scripts));
    std::size_t i = 0;
    for (const HostileCookie& h : cases) {
        TIdHTTP client;
        ConfigureLikeTheReader(client);
        client.ProxyParams().SetProxyServer("127.0.0.1");
        client.ProxyParams().SetProxyPort(server->Port());
        try {
            client.Get(std::string("http://") + h.setHost + "/");
        } catch (const EIdException& e) {
            ADD_FAILURE() << h.why << ": " << e.Message(); // a bad cookie never fails the fetch
        }
        client.Get(std::string("http://") + h.laterHost + h.laterPath);
        client.Disconnect();
        auto r = server->Requests();
        ASSERT_EQ(r.size(), 2 * (i + 1)) << h.why;
        EXPECT_EQ(cookieLine(r[2 * i + 1]), h.expected) << h.why;
        ++i;
    }
}

ZEL_HTTP_CUTS(Cookies);
