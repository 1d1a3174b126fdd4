// The GET exchange against scripted servers: the exact request bytes, the body framings, the
// judging of responses, connection reuse, and cookies over several requests.
#include "http/EIdException.h"
#include "http/TIdIOHandlerMemory.h"
#include "http/TIdMemoryStream.h"
#include "tests/http/HttpFixture.h"
#include "tests/support/RefusedPort.h"

#include <cstdio>

using namespace zeltest;

namespace {

class Get : public HttpTest {};

template <typename F> EIdHTTPProtocolException expectRefused(F&& f) {
    try {
        f();
    } catch (const EIdHTTPProtocolException& e) {
        return e;
    }
    ADD_FAILURE() << "no EIdHTTPProtocolException";
    return EIdHTTPProtocolException("", 0, "");
}

} // namespace

TEST_P(Get, WritesTheDocumentedHeadAndReturnsTheBody) {
    Serve({Join({Reply(Ok("hello")), {Action::WaitForPeerClose()}})});
    EXPECT_EQ(http.Get(Url("/rss/world.xml")), "hello");
    ASSERT_EQ(server->Requests().size(), 1u);
    EXPECT_EQ(server->Requests()[0], DirectHead("/rss/world.xml", HostPort()));
    EXPECT_EQ(http.ResponseCode(), 200);
    EXPECT_EQ(http.ResponseText(), "HTTP/1.1 200 OK");
}

TEST_P(Get, KeepsTheConnectionAndSendsOneAcceptEncodingEachTime) {
    Serve({Join({Reply(Ok("one")), Reply(Ok("two")), {Action::WaitForPeerClose()}})});
    EXPECT_EQ(http.Get(Url("/a.xml")), "one");
    EXPECT_EQ(http.Get(Url("/b.xml")), "two");
    EXPECT_EQ(server->Accepted(), 1);
    ASSERT_EQ(server->Requests().size(), 2u);
    EXPECT_EQ(server->Requests()[1], DirectHead("/b.xml", HostPort()));
    EXPECT_EQ(http.Request().AcceptEncoding(), "identity");
}

TEST_P(Get, ConnectionCloseMeansANewConnection) {
    Serve({Join({Reply(Ok("one", {"Connection: close"})), {Action::WaitForPeerClose()}}),
           Join({Reply(Ok("two")), {Action::WaitForPeerClose()}})});
    EXPECT_EQ(http.Get(Url("/a")), "one");
    EXPECT_FALSE(http.Connected());
    EXPECT_EQ(http.Get(Url("/b")), "two");
    EXPECT_EQ(server->Accepted(), 2);
}

TEST_P(Get, AnIdleConnectionTheServerClosedIsNotUsed) {
    Serve({Join({Reply(Ok("one")), {Action::Close()}}),
           Join({Reply(Ok("two")), {Action::WaitForPeerClose()}})});
    EXPECT_EQ(http.Get(Url("/a")), "one");
    ASSERT_TRUE(server->WaitScriptsDone(1));
    EXPECT_EQ(http.Get(Url("/b")), "two");
    auto received = server->Received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], DirectHead("/a", HostPort())); // nothing was sent on the closed one
}

TEST_P(Get, AnotherPortClosesTheConnectionFirst) {
    Serve({Join({Reply(Ok("one")), {Action::WaitForPeerClose()}})});
    ScriptedServer other({Join({Reply(Ok("two")), {Action::WaitForPeerClose()}})}, GetParam());
    EXPECT_EQ(http.Get(Url("/a")), "one");
    EXPECT_EQ(http.Get("http://127.0.0.1:" + std::to_string(other.Port()) + "/b"), "two");
    EXPECT_TRUE(server->WaitScriptsDone(1)); // the first connection was closed by us
}

TEST_P(Get, BodyFramings) {
    Serve({Join({Reply(HttpResponse("HTTP/1.1 200 OK", {"Content-Length: 0"}, "")),
                 Reply(HttpResponse("HTTP/1.1 204 No Content", {}, "")),
                 Reply(HttpResponse("HTTP/1.1 200 OK", {"Transfer-Encoding: chunked"},
                                    "5\r\nhello\r\n6 ext=1\r\n world\r\n0\r\n\r\n")),
                 Reply(HttpResponse("HTTP/1.1 200 OK", {"content-length: 3"}, "abc")),
                 Reply(HttpResponse("HTTP/1.1 200 OK", {}, "until the close")),
                 {Action::Close()}})});
    EXPECT_EQ(http.Get(Url("/zero")), "");
    EXPECT_EQ(http.Get(Url("/nocontent")), "");
    EXPECT_EQ(http.Get(Url("/chunked")), "hello world");
    EXPECT_EQ(http.Get(Url("/lower")), "abc");
    EXPECT_EQ(http.Get(Url("/close")), "until the close");
    EXPECT_EQ(server->Accepted(), 1);
    EXPECT_FALSE(http.Connected()); // a body read up to the close ends the connection
}

TEST_P(Get, LongChunksAreReadWholeAndNoFurther) {
    // Chunk data longer than one receive is taken straight from the socket: up to the chunk's
    // end only, so the size lines and the next response stay where they are.
    std::string chunked, whole;
    for (char c : {'a', 'b', 'c'}) {
        const std::string data(40000 + (c - 'a'), c);
        char size[16];
        std::snprintf(size, sizeof size, "%zx\r\n", data.size());
        chunked += size + data + "\r\n";
        whole += data;
    }
    chunked += "0\r\n\r\n";
    Serve({Join({Reply(HttpResponse("HTTP/1.1 200 OK", {"Transfer-Encoding: chunked"}, chunked)),
                 Reply(Ok("next")),
                 {Action::WaitForPeerClose()}})});
    EXPECT_TRUE(http.Get(Url("/a")) == whole);
    EXPECT_EQ(http.Get(Url("/b")), "next");
    EXPECT_EQ(server->Accepted(), 1);
}

TEST_P(Get, ChunkExtensionsAfterASemicolonAreSkipped) {
    Serve({Join({Reply(HttpResponse("HTTP/1.1 200 OK", {"Transfer-Encoding: chunked"},
                                    "5;name=v\r\nhello\r\n0\r\n\r\n")),
                 Reply(Ok("next")),
                 {Action::WaitForPeerClose()}})});
    EXPECT_EQ(http.Get(Url("/a")), "hello");
    EXPECT_EQ(http.Get(Url("/b")), "next");
    EXPECT_EQ(server->Accepted(), 1);
}

TEST_P(Get, ChunkedInAnyCaseIsChunked) {
    Serve({Join(
        {Reply(HttpResponse("HTTP/1.1 200 OK", {"Transfer-Encoding: Chunked"}, "5\r\nhello\r\n0\r\n\r\n")),
         Reply(HttpResponse("HTTP/1.1 200 OK", {"Transfer-Encoding: CHUNKED"}, "3\r\nabc\r\n0\r\n\r\n")),
         {Action::Close()}})});
    EXPECT_EQ(http.Get(Url("/a")), "hello");
    EXPECT_EQ(http.Get(Url("/b")), "abc");
}

TEST_P(Get, ChunkTrailersAreSkipped) {
    Serve({Join({Reply(HttpResponse("HTTP/1.1 200 OK", {"Transfer-Encoding: chunked"},
                                    "3\r\nabc\r\n0\r\nX-Sum: 1\r\nX-More: 2\r\n\r\n")),
                 Reply(Ok("again")),
                 {Action::WaitForPeerClose()}})});
    EXPECT_EQ(http.Get(Url("/a")), "abc");
    EXPECT_EQ(http.Get(Url("/b")), "again");
    EXPECT_EQ(server->Accepted(), 1);
}

TEST_P(Get, RedirectsAndNotModifiedFailWithTheirStatusLineALocationElsewhereIsNoRedirect) {
    Serve({Join(
        {Reply(HttpResponse("HTTP/1.1 301 Moved Permanently", {"Location: /x", "Content-Length: 4"}, "gone")),
         Reply(HttpResponse("HTTP/1.1 302 Found", {"Location: /y", "Content-Length: 0"}, "")),
         Reply(HttpResponse("HTTP/1.1 200 OK", {"Location: /z", "Content-Length: 2"}, "ok")),
         Reply(HttpResponse("HTTP/1.1 304 Not Modified", {"Content-Length: 0"}, "")),
         Reply(Ok("still usable")),
         {Action::WaitForPeerClose()}})});
    auto e = expectRefused([&] { http.Get(Url("/a")); });
    EXPECT_EQ(e.Message(), "HTTP/1.1 301 Moved Permanently");
    EXPECT_EQ(e.ErrorCode(), 301);
    EXPECT_EQ(e.ErrorMessage(), "gone");
    EXPECT_EQ(expectRefused([&] { http.Get(Url("/b")); }).Message(), "HTTP/1.1 302 Found");
    EXPECT_EQ(http.Get(Url("/c")), "ok");
    EXPECT_EQ(expectRefused([&] { http.Get(Url("/d")); }).ErrorCode(), 304);
    EXPECT_EQ(http.Get(Url("/e")), "still usable");
    EXPECT_EQ(server->Accepted(), 1);
    EXPECT_EQ(http.RedirectCount(), 0);
}

TEST_P(Get, NotFoundCarriesItsBodyAndKeepsTheConnection) {
    Serve({Join({Reply(HttpResponse("HTTP/1.1 404 Not Found", {"Content-Length: 9"}, "not here.")),
                 Reply(Ok("next")),
                 {Action::WaitForPeerClose()}})});
    auto e = expectRefused([&] { http.Get(Url("/missing")); });
    EXPECT_EQ(e.Message(), "HTTP/1.1 404 Not Found");
    EXPECT_EQ(e.ErrorCode(), 404);
    EXPECT_EQ(e.ErrorMessage(), "not here.");
    EXPECT_STREQ(e.ClassName(), "EIdHTTPProtocolException");
    EXPECT_EQ(http.Get(Url("/next")), "next");
    EXPECT_EQ(server->Accepted(), 1);
}

TEST_P(Get, ToleratedCodesReturnNothingInsteadOfRaising) {
    Serve({Join({Reply(HttpResponse("HTTP/1.1 404 Not Found", {"Content-Length: 4"}, "body")),
                 {Action::WaitForPeerClose()}})});
    EXPECT_EQ(http.Get(Url("/missing"), {404}), "");
}

TEST_P(Get, InterimHeadsAreSkipped) {
    Serve({Join({Reply("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 100 Continue\r\nX: y\r\n\r\n" + Ok("done")),
                 {Action::WaitForPeerClose()}})});
    EXPECT_EQ(http.Get(Url("/a")), "done");
    EXPECT_EQ(http.ResponseCode(), 200);
}

TEST_P(Get, HeaderNamesIgnoreCaseAndContinuationLinesJoin) {
    Serve({Join({Reply("HTTP/1.1 200 OK\r\nCONTENT-LENGTH: 2\r\nX-Long: first\r\n \t second\r\n\r\nok"),
                 {Action::WaitForPeerClose()}})});
    EXPECT_EQ(http.Get(Url("/a")), "ok");
    EXPECT_EQ(http.Response().RawHeaders().Values("x-long"), "first second");
    EXPECT_EQ(http.Response().ContentLength(), 2);
}

TEST_P(Get, HostCarriesThePortUnlessItIs80) {
    Serve({Join({Reply(Ok("a")), {Action::WaitForPeerClose()}})});
    http.Get(Url("/x"));
    EXPECT_EQ(http.Request().Host(), HostPort());
    EXPECT_NE(server->Requests().at(0).find("\r\nHost: " + HostPort() + "\r\n"), std::string::npos);
}

TEST_P(Get, RelativeUrlsContinueFromTheLastOne) {
    Serve({Join({Reply(Ok("1")), Reply(Ok("2")), Reply(Ok("3")), {Action::WaitForPeerClose()}})});
    http.Get(Url("/rss/world.xml"));
    http.Get("b/x.xml?q=1");
    http.Get("../y.xml");
    auto r = server->Requests();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[1].substr(0, r[1].find("\r\n")), "GET /rss/b/x.xml?q=1 HTTP/1.1");
    EXPECT_EQ(r[2].substr(0, r[2].find("\r\n")), "GET /rss/y.xml HTTP/1.1");
}

TEST_P(Get, CookiesComeBackOnLaterRequests) {
    Serve({Join({Reply(Ok("1", {"Set-Cookie: a=1; path=/rss", "Set-Cookie: other=x; path=/elsewhere"})),
                 Reply(Ok("2", {"Set-Cookie: a=2; path=/rss", "Set-Cookie: b=; path=/"})),
                 Reply(Ok("3")),
                 {Action::WaitForPeerClose()}})});
    http.Get(Url("/rss/one.xml"));
    http.Get(Url("/rss/two.xml"));
    http.Get(Url("/rss/three.xml"));
    auto r = server->Requests();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].find("Cookie:"), std::string::npos);
    EXPECT_EQ(r[1], DirectHead("/rss/two.xml", HostPort(), {"Cookie: a=1"}));
    EXPECT_EQ(r[2],
              DirectHead("/rss/three.xml", HostPort(), {"Cookie: a=2"})); // newer value; empty b not sent
}

TEST_P(Get, ALongCookieLineStaysOnOneLine) {
    std::string big(600, 'v');
    Serve({Join({Reply(Ok("1", {"Set-Cookie: a=" + big, "Set-Cookie: b=" + big})),
                 Reply(Ok("2")),
                 {Action::WaitForPeerClose()}})});
    http.Get(Url("/x"));
    http.Get(Url("/y"));
    std::string head = server->Requests().at(1);
    std::size_t at = head.find("\r\nCookie: ");
    ASSERT_NE(at, std::string::npos);
    std::size_t end = head.find("\r\n", at + 2);
    EXPECT_EQ(head.substr(at + 2, end - at - 2), "Cookie: a=" + big + "; b=" + big);
    EXPECT_EQ(head.find("\r\n "), std::string::npos); // no continuation line anywhere
    EXPECT_EQ(http.Request().RawHeaders().Values("Cookie"), "a=" + big + "; b=" + big);
}

TEST_P(Get, ThroughTheProxyTheRequestLineIsAbsolute) {
    Serve({Join({Reply(Ok("a")), Reply(Ok("b")), {Action::WaitForPeerClose()}})});
    http.ProxyParams().SetProxyServer("127.0.0.1");
    http.ProxyParams().SetProxyPort(server->Port());
    http.ProxyParams().SetProxyUsername("user");
    http.ProxyParams().SetProxyPassword("secret");
    EXPECT_EQ(http.Get("http://feeds.example/rss/world.xml"), "a");
    EXPECT_EQ(http.Get("http://feeds.example:8080/rss/x.xml?y=1#frag"), "b");
    auto r = server->Requests();
    ASSERT_EQ(r.size(), 2u);
    std::string first = DirectHead("/rss/world.xml", "feeds.example");
    first.replace(4, 14, "http://feeds.example/rss/world.xml");
    EXPECT_EQ(r[0], first); // no Proxy-Authorization without Basic authentication
    EXPECT_EQ(r[1].substr(0, r[1].find("\r\n")), "GET http://feeds.example:8080/rss/x.xml?y=1 HTTP/1.1");
    EXPECT_NE(r[1].find("\r\nHost: feeds.example:8080\r\n"), std::string::npos);
    EXPECT_EQ(server->Accepted(), 1);
}

TEST_P(Get, ProxyBasicAuthenticationFromTheFirstRequest) {
    Serve({Join({Reply(Ok("a")), {Action::WaitForPeerClose()}})});
    http.ProxyParams().SetProxyServer("127.0.0.1");
    http.ProxyParams().SetProxyPort(server->Port());
    http.ProxyParams().SetProxyUsername("u");
    http.ProxyParams().SetProxyPassword("p");
    http.ProxyParams().SetBasicAuthentication(true);
    http.Get("http://feeds.example/a.xml");
    std::string head = server->Requests().at(0);
    EXPECT_NE(
        head.find("\r\nUser-Agent: Mozilla/3.0 (compatible; Zelmora Library)\r\nProxy-Authorization: Basic "
                  "dTpw\r\n\r\n"),
        std::string::npos);
}

TEST_P(Get, ServerAuthenticationChallengeFailsAtOnceWithoutAPassword) {
    Serve({Join(
        {Reply(HttpResponse("HTTP/1.1 401 Unauthorized",
                            {"WWW-Authenticate: Basic realm=\"feeds\"", "Content-Length: 6"}, "denied")),
         {Action::WaitForPeerClose()}})});
    auto e = expectRefused([&] { http.Get(Url("/a")); });
    EXPECT_EQ(e.Message(), "HTTP/1.1 401 Unauthorized");
    EXPECT_EQ(e.ErrorMessage(), "denied");
    EXPECT_EQ(server->Requests().size(), 1u);
}

TEST_P(Get, ServerAuthenticationWithCredentialsInTheUrl) {
    Serve({Join({Reply(HttpResponse("HTTP/1.1 401 Unauthorized",
                                    {"WWW-Authenticate: Basic realm=\"r\"", "Content-Length: 0"}, "")),
                 Reply(Ok("in")),
                 {Action::WaitForPeerClose()}})});
    http.SetHTTPOptions(hoInProcessAuth);
    EXPECT_EQ(http.Get("http://u:p@" + HostPort() + "/a"), "in");
    auto r = server->Requests();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].find("Authorization"), std::string::npos);
    EXPECT_NE(r[1].find("\r\nAuthorization: Basic dTpw\r\n"), std::string::npos);
}

TEST_P(Get, WithoutInProcessAuthenticationAChallengeIsRefusedAndTheNextGetAnswersIt) {
    http.SetHTTPOptions(hoForceEncodeParams); // the reader answers in process; this client does not
    std::string challenge = HttpResponse(
        "HTTP/1.1 401 Unauthorized", {"WWW-Authenticate: Basic realm=\"r\"", "Content-Length: 6"}, "denied");
    Serve({Join({Reply(challenge), Reply(Ok("in")), {Action::WaitForPeerClose()}})});
    auto e = expectRefused([&] { http.Get("http://u:p@" + HostPort() + "/a"); });
    EXPECT_EQ(e.ErrorCode(), 401);
    EXPECT_EQ(e.ErrorMessage(), "denied");
    EXPECT_EQ(http.Get(Url("/a")), "in");
    EXPECT_NE(server->Requests().at(1).find("\r\nAuthorization: Basic dTpw\r\n"), std::string::npos);
}

TEST_P(Get, ProxyChallengeOfAKnownSchemeGetsTheSettingsCredentialsNextTime) {
    Serve({Join({Reply(HttpResponse("HTTP/1.1 407 Proxy Authentication Required",
                                    {"Proxy-Authenticate: Negotiate", "Content-Length: 0"}, "")),
                 Reply(HttpResponse("HTTP/1.1 407 Proxy Authentication Required",
                                    {"Proxy-Authenticate: Negotiate", "Proxy-Authenticate: Basic realm=\"p\"",
                                     "Content-Length: 0"},
                                    "")),
                 Reply(Ok("x")),
                 {Action::WaitForPeerClose()}})});
    http.SetHTTPOptions(hoForceEncodeParams); // the reader answers in process; this client does not
    http.ProxyParams().SetProxyServer("127.0.0.1");
    http.ProxyParams().SetProxyPort(server->Port());
    http.ProxyParams().SetProxyUsername("u");
    http.ProxyParams().SetProxyPassword("p");
    EXPECT_EQ(expectRefused([&] { http.Get("http://feeds.example/a"); }).ErrorCode(), 407);
    EXPECT_EQ(http.ProxyParams().ProxyPassword(), "p");
    // Without in-process authentication the challenge fails this Get; the password stays.
    EXPECT_EQ(expectRefused([&] { http.Get("http://feeds.example/a"); }).ErrorCode(), 407);
    EXPECT_EQ(http.ProxyParams().ProxyPassword(), "p");
    // From now on the proxy gets the Basic credentials of the settings ("u:p").
    http.Get("http://feeds.example/b");
    EXPECT_NE(server->Requests().at(2).find("\r\nProxy-Authorization: Basic dTpw\r\n"), std::string::npos);
}

TEST_P(Get, FollowsRedirectsOnlyWhenAskedAndNotPastTheMaximum) {
    Serve({Join({Reply(HttpResponse("HTTP/1.1 302 Found", {"Location: /moved", "Content-Length: 3"}, "old")),
                 Reply(Ok("new")),
                 Reply(HttpResponse("HTTP/1.1 302 Found", {"Location: /again", "Content-Length: 0"}, "")),
                 Reply(HttpResponse("HTTP/1.1 302 Found", {"Location: /again", "Content-Length: 0"}, "")),
                 {Action::WaitForPeerClose()}})});
    http.SetHandleRedirects(true);
    EXPECT_EQ(http.Get(Url("/start")), "new");
    EXPECT_EQ(server->Requests().at(1).substr(0, 20), "GET /moved HTTP/1.1\r");
    http.SetRedirectMaximum(2);
    EXPECT_EQ(expectRefused([&] { http.Get(Url("/loop")); }).ErrorCode(), 302);
    EXPECT_EQ(http.Response().Location(), "/again");
}

TEST_P(Get, HeadersAvailableMayStopBeforeTheBody) {
    Serve({Join({Reply(Ok("unread body")), {Action::WaitForPeerClose()}}),
           Join({Reply(Ok("second")), {Action::WaitForPeerClose()}})});
    bool stop = true;
    http.OnHeadersAvailable = [&](TIdCustomHTTP*, const TIdHeaderList& h, bool& goOn) {
        EXPECT_EQ(h.Values("Content-Length"), stop ? "11" : "6");
        goOn = !stop;
    };
    EXPECT_EQ(http.Get(Url("/a")), "");
    EXPECT_FALSE(http.Connected()); // the unread body went with the connection
    stop = false;
    EXPECT_EQ(http.Get(Url("/b")), "second");
}

TEST_P(Get, StatusNotesAChunkedBody) {
    Serve(
        {Join({Reply(HttpResponse("HTTP/1.1 200 OK", {"Transfer-Encoding: chunked"}, "1\r\nx\r\n0\r\n\r\n")),
               {Action::WaitForPeerClose()}})});
    std::vector<std::string> notes;
    http.OnStatus = [&](TIdComponent*, TIdStatus s, const std::string& text) {
        if (s == hsStatusText)
            notes.push_back(text);
    };
    EXPECT_EQ(http.Get(Url("/a")), "x");
    EXPECT_EQ(notes, std::vector<std::string>{"Chunk Started"});
}

TEST_P(Get, Http10ClientAsksForKeepAlive) {
    Serve({Join({Reply(HttpResponse("HTTP/1.0 200 OK", {"Connection: Keep-Alive", "Content-Length: 1"}, "a")),
                 Reply(HttpResponse("HTTP/1.0 200 OK", {"Content-Length: 1"}, "b")),
                 {Action::WaitForPeerClose()}})});
    http.SetProtocolVersion(pv1_0);
    EXPECT_EQ(http.Get(Url("/a")), "a");
    EXPECT_TRUE(http.Connected());
    EXPECT_EQ(http.Get(Url("/b")), "b");
    EXPECT_FALSE(http.Connected()); // no keep-alive in the answer: closed
    std::string head = server->Requests().at(0);
    EXPECT_EQ(head.substr(0, head.find("\r\n")), "GET /a HTTP/1.0");
    EXPECT_NE(head.find("GET /a HTTP/1.0\r\nConnection: keep-alive\r\nContent-Type: text/html\r\n"),
              std::string::npos);
    EXPECT_EQ(http.Response().ResponseVersion(), pv1_0);
}

TEST_P(Get, StreamFormWritesAtThePosition) {
    Serve({Join({Reply(Ok("body")), {Action::WaitForPeerClose()}})});
    TIdMemoryStream s;
    s.Write("prefix:", 7);
    http.Get(Url("/a"), s);
    EXPECT_EQ(s.ToString(), "prefix:body");
}

TEST_P(Get, ABodyExactlyAtTheBoundIsAccepted) {
    Serve(
        {Join({Reply(Ok("12345")), Reply(HttpResponse("HTTP/1.1 200 OK", {}, "abcde")), {Action::Close()}})});
    http.SetMaxBodySize(5);
    EXPECT_EQ(http.Get(Url("/length")), "12345");
    EXPECT_EQ(http.Get(Url("/close")), "abcde");
}

ZEL_HTTP_CUTS(Get);

// Failures before anything reaches a server.
TEST(GetRefusals, ControlCharactersInTheUrlAreRefusedBeforeSending) {
    ScriptedServer server({{Action::WaitForPeerClose()}});
    TIdHTTP http;
    std::string base = "http://127.0.0.1:" + std::to_string(server.Port());
    for (std::string bad : {base + "/a\r\nX-Injected: 1", base + "/a\nb", base + std::string("/a\0b", 4)}) {
        EXPECT_THROW(http.Get(bad), EIdInvalidURL);
    }
    http.ProxyParams().SetProxyServer("127.0.0.1");
    http.ProxyParams().SetProxyPort(server.Port());
    EXPECT_THROW(http.Get("http://feeds.example/x HTTP/1.1\r\nHost: evil\r\n\r\nGET /"), EIdInvalidURL);
    EXPECT_EQ(server.Accepted(), 0);
}

TEST(GetRefusals, UnknownProtocolHttpsAndAnEmptyProxiedHost) {
    TIdHTTP http;
    try {
        http.Get("relative/only.xml");
        FAIL();
    } catch (const EIdUnknownProtocol& e) {
        EXPECT_EQ(e.Message(), "");
    }
    // An attached handler that cannot speak TLS cannot serve https.
    TIdIOHandlerMemory plain;
    http.SetIOHandler(&plain);
    try {
        http.Get("https://secure.example/x");
        FAIL();
    } catch (const EIdIOHandlerPropInvalid& e) {
        EXPECT_EQ(e.Message(), "IOHandler value is not valid");
    }
    http.SetIOHandler(nullptr);
    TIdHTTP proxied;
    proxied.ProxyParams().SetProxyServer("127.0.0.1");
    proxied.ProxyParams().SetProxyPort(9);
    try {
        proxied.Get("http://:8080/x");
        FAIL();
    } catch (const EIdURIException& e) {
        EXPECT_EQ(e.Message(), "Host field is empty");
    }
}

TEST(GetRefusals, ProxyWithoutPortFailsBeforeAnythingIsSent) {
    TIdHTTP http;
    http.ProxyParams().SetProxyServer("127.0.0.1");
    EXPECT_THROW(http.Get("http://feeds.example/x"), EIdInvalidPort);
}

TEST(GetRefusals, RefusedConnection) {
    RefusedPort refused;
    TIdHTTP http;
    try {
        http.Get("http://127.0.0.1:" + std::to_string(refused.Port()) + "/x");
        FAIL();
    } catch (const EIdSocketError& e) {
        EXPECT_EQ(e.LastError(), 10061);
    }
}
