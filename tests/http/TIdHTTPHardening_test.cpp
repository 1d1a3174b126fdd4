// Faults found by probing the client with hostile servers, each with the sound behaviour it has
// now: time-outs, a request resent when a kept connection turns out closed, credentials and
// cookies that stay with their site, one-line request headers, proxy credentials that are used,
// framing that fails instead of passing for success, interim and bodiless answers, redirects only
// for 3xx, and ports that are ports.
#include "http/EIdException.h"
#include "tests/http/HttpFixture.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

using namespace zeltest;

namespace {

struct Result {
    std::string body;
    std::string error; // class name; empty on success
    std::string message;
    int code = 0;
};

Result run(const std::function<std::string()>& get) {
    Result r;
    try {
        r.body = get();
    } catch (const EIdHTTPProtocolException& e) {
        r.error = e.ClassName();
        r.message = e.Message();
        r.code = e.ErrorCode();
    } catch (const EIdException& e) {
        r.error = e.ClassName();
        r.message = e.Message();
    }
    return r;
}

// A listener whose accept queue is full: a connect to it gets no answer at all, so only a connect
// time-out ends the wait. The queue is filled by connections of our own that are never accepted.
class SilentListener {
public:
    SilentListener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd_, 0);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        for (int& f : fillers_) {
            f = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
            ::connect(f, reinterpret_cast<sockaddr*>(&a), sizeof a);
        }
    }
    ~SilentListener() {
        for (int f : fillers_)
            ::close(f);
        ::close(fd_);
    }
    int Port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
    int fillers_[3] = {-1, -1, -1};
};

const std::string kOkKeepAlive =
    "HTTP/1.1 200 OK\r\nConnection: keep-alive\r\nContent-Length: 5\r\n\r\nhello";

class Hardening : public HttpTest {
protected:
    void SetUp() override {
        HttpTest::SetUp();
        http.SetReadTimeout(20000); // a safety net: no case here waits for it
    }
    std::string HostPortOf(const ScriptedServer& s) const { return "127.0.0.1:" + std::to_string(s.Port()); }
    void UseServerAsProxy() {
        http.ProxyParams().SetProxyServer("127.0.0.1");
        http.ProxyParams().SetProxyPort(server->Port());
    }
};

} // namespace

// --- time-outs ----------------------------------------------------------------------------------

TEST_P(Hardening, ASilentServerEndsInAReadTimeout) {
    Serve({{Action::ReadHead(), Action::WaitForPeerClose()}});
    http.SetReadTimeout(200);
    Result r = run([&] { return http.Get(Url("/silent")); });
    EXPECT_EQ(r.error, "EIdReadTimeout");
    EXPECT_EQ(r.message, "Read Timeout");
    EXPECT_FALSE(http.Connected());
}

TEST(HardeningConnect, AConnectNobodyAnswersEndsInAConnectTimeout) {
    SilentListener silent;
    TIdHTTP http;
    http.SetConnectTimeout(200);
    Result r = run([&] { return http.Get("http://127.0.0.1:" + std::to_string(silent.Port()) + "/x"); });
    EXPECT_EQ(r.error, "EIdConnectTimeout");
    EXPECT_EQ(r.message, "Connect timed out.");
}

// --- a kept connection the server closed --------------------------------------------------------

TEST_P(Hardening, KeptConnectionClosedAfterEachAnswerLosesNoRequestIn200Runs) {
    // The server advertises keep-alive and closes right after every answer: whether its close
    // arrives before the next request or after it, no request may be lost.
    std::vector<Script> scripts(220, Join({Reply(kOkKeepAlive), {Action::Close()}}));
    Serve(std::move(scripts));
    for (int i = 0; i < 200; ++i) {
        Result r = run([&] { return http.Get(Url("/feed")); });
        ASSERT_EQ(r.error, "") << "run " << i << ": " << r.message;
        ASSERT_EQ(r.body, "hello") << "run " << i;
    }
}

TEST_P(Hardening, KeptConnectionClosedAsTheNextRequestArrivesIsRetriedOnceIn200Runs) {
    // Every connection answers one request and closes (or resets) when the next one arrives:
    // without the retry every second request would be lost.
    std::vector<Script> scripts;
    for (int i = 0; i < 201; ++i)
        scripts.push_back(
            Join({Reply(kOkKeepAlive), {Action::ReadHead(), i % 2 ? Action::Reset() : Action::Close()}}));
    Serve(std::move(scripts));
    for (int i = 0; i < 200; ++i) {
        Result r = run([&] { return http.Get(Url("/feed")); });
        ASSERT_EQ(r.error, "") << "run " << i << ": " << r.message;
        ASSERT_EQ(r.body, "hello") << "run " << i;
    }
    // Each retried request went out twice: once on the closed connection, once on a fresh one.
    EXPECT_EQ(server->Requests().size(), 399u);
}

TEST_P(Hardening, NoRetryOnceAnyByteOfTheAnswerArrived) {
    Serve({Join({Reply(kOkKeepAlive), Reply("HTTP/1.1 200 OK\r\n"), {Action::Reset()}}),
           Join({Reply(kOkKeepAlive), {Action::WaitForPeerClose()}})});
    EXPECT_EQ(run([&] { return http.Get(Url("/a")); }).body, "hello");
    Result r = run([&] { return http.Get(Url("/b")); });
    EXPECT_NE(r.error, "");
    EXPECT_EQ(server->Requests().size(), 2u);
}

TEST_P(Hardening, NoRetryOnAFreshConnection) {
    Serve({{Action::ReadHead(), Action::Close()}, Join({Reply(kOkKeepAlive), {Action::WaitForPeerClose()}})});
    EXPECT_EQ(run([&] { return http.Get(Url("/a")); }).error, "EIdConnClosedGracefully");
    EXPECT_EQ(server->Requests().size(), 1u);
}

TEST_P(Hardening, NeverMoreThanOneRetry) {
    Serve({Join({Reply(kOkKeepAlive), {Action::ReadHead(), Action::Close()}}),
           {Action::ReadHead(), Action::Close()},
           Join({Reply(kOkKeepAlive), {Action::WaitForPeerClose()}})});
    EXPECT_EQ(run([&] { return http.Get(Url("/a")); }).body, "hello");
    EXPECT_EQ(run([&] { return http.Get(Url("/b")); }).error, "EIdConnClosedGracefully");
    EXPECT_EQ(server->Requests().size(), 3u);
}

// --- credentials stay with their site -----------------------------------------------------------

TEST_P(Hardening, UrlCredentialsGoToNoOtherHostOrPort) {
    http.SetHTTPOptions(hoForceEncodeParams); // challenges fail the Get: the next Get answers them
    const std::string challenge =
        "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"r\"\r\nContent-Length: 0\r\n\r\n";
    Serve({Join({Reply(challenge), {Action::WaitForPeerClose()}}),
           Join({Reply(Ok("a again")), {Action::WaitForPeerClose()}})});
    ScriptedServer other({Join({Reply(challenge), Reply(Ok("b")), {Action::WaitForPeerClose()}})},
                         GetParam());
    const std::string b = "http://" + HostPortOf(other);

    EXPECT_EQ(run([&] { return http.Get("http://alice:secret@" + HostPort() + "/a"); }).code, 401);
    // Another port of the same host is another site: neither the credential object nor the user
    // name and password of the first URL reach it, not even when it asks.
    EXPECT_EQ(run([&] { return http.Get(b + "/b"); }).code, 401);
    EXPECT_EQ(run([&] { return http.Get(b + "/b"); }).body, "b");
    for (const std::string& head : other.Requests())
        EXPECT_EQ(head.find("Authorization"), std::string::npos) << head;
    // Back at the first site they are still there.
    EXPECT_EQ(run([&] { return http.Get(Url("/a")); }).body, "a again");
    EXPECT_NE(server->Requests().at(1).find("\r\nAuthorization: Basic YWxpY2U6c2VjcmV0\r\n"),
              std::string::npos);
}

TEST_P(Hardening, InProcessAuthenticationAnswersOnlyTheSiteOfTheCredentials) {
    const std::string challenge =
        "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"r\"\r\nContent-Length: 0\r\n\r\n";
    Serve({Join({Reply(challenge), Reply(Ok("in")), {Action::WaitForPeerClose()}})});
    ScriptedServer other({Join({Reply(challenge), {Action::WaitForPeerClose()}})}, GetParam());
    http.SetHTTPOptions(hoInProcessAuth);
    EXPECT_EQ(run([&] { return http.Get("http://alice:secret@" + HostPort() + "/a"); }).body, "in");
    EXPECT_EQ(run([&] { return http.Get("http://" + HostPortOf(other) + "/b"); }).code, 401);
    ASSERT_EQ(other.Requests().size(), 1u);
    EXPECT_EQ(other.Requests()[0].find("Authorization"), std::string::npos);
}

// --- cookies stay with their site ----------------------------------------------------------------

TEST_P(Hardening, CookiesForPublicSuffixesOtherHostsAndOtherPathsStayHome) {
    // The server stands in as the proxy, so any host name reaches it.
    Serve({Join(
        {Reply(Ok("1", {"Set-Cookie: suffix=1; Domain=com.cn", "Set-Cookie: site=2; Domain=example.com.cn",
                        "Set-Cookie: hostonly=3; Path=/a"})),
         Reply(Ok("2")),
         Reply(Ok("3")),
         Reply(Ok("4")),
         Reply(Ok("5")),
         {Action::WaitForPeerClose()}})});
    UseServerAsProxy();
    http.Get("http://news.example.com.cn/a/feed.xml");
    http.Get("http://bank.com.cn/a/x");
    http.Get("http://evil.news.example.com.cn/a/x");
    http.Get("http://news.example.com.cn/ab/x");
    http.Get("http://news.example.com.cn/a/b/x");
    auto heads = server->Requests();
    ASSERT_EQ(heads.size(), 5u);
    EXPECT_EQ(heads[1].find("Cookie:"), std::string::npos) << heads[1];
    EXPECT_NE(heads[2].find("\r\nCookie: site=2\r\n"), std::string::npos) << heads[2];
    EXPECT_NE(heads[3].find("\r\nCookie: site=2\r\n"), std::string::npos) << heads[3];
    EXPECT_NE(heads[4].find("\r\nCookie: hostonly=3; site=2\r\n"), std::string::npos) << heads[4];
}

// --- request headers are never folded -----------------------------------------------------------

TEST_P(Hardening, AllRequestHeadersStayOnOneLine) {
    std::vector<std::string> set;
    for (int i = 0; i < 12; ++i)
        set.push_back("Set-Cookie: c" + std::to_string(i) + "=" + std::string(100, 'v'));
    Serve({Join({Reply(Ok("1", set)), Reply(Ok("2")), {Action::WaitForPeerClose()}})});
    http.Get(Url("/x"));
    http.Get(Url("/y"));
    std::string head = server->Requests().at(1);
    std::size_t at = head.find("\r\nCookie: c0=");
    ASSERT_NE(at, std::string::npos);
    EXPECT_GT(head.find("\r\n", at + 2) - at, 1024u);
    EXPECT_EQ(head.find("\r\n "), std::string::npos);
    EXPECT_EQ(head.find("\r\n\t"), std::string::npos);
}

// --- proxy credentials ---------------------------------------------------------------------------

TEST_P(Hardening, TheProxyChallengeIsAnsweredOnceWithTheSettingsCredentials) {
    const std::string challenge = "HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic "
                                  "realm=\"p\"\r\nContent-Length: 4\r\n\r\ndeny";
    Serve({Join({Reply(challenge), Reply(Ok("through")), {Action::WaitForPeerClose()}})});
    UseServerAsProxy();
    http.SetHTTPOptions(hoInProcessAuth);
    http.ProxyParams().SetProxyUsername("u");
    http.ProxyParams().SetProxyPassword("p");
    EXPECT_EQ(run([&] { return http.Get("http://feeds.example/a"); }).body, "through");
    auto heads = server->Requests();
    ASSERT_EQ(heads.size(), 2u);
    EXPECT_EQ(heads[0].find("Proxy-Authorization"), std::string::npos);
    EXPECT_NE(heads[1].find("\r\nProxy-Authorization: Basic dTpw\r\n"), std::string::npos);
    EXPECT_EQ(http.ProxyParams().ProxyPassword(), "p");
}

TEST_P(Hardening, RefusedProxyCredentialsAreNotRepeatedNorErased) {
    const std::string challenge = "HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic "
                                  "realm=\"p\"\r\nContent-Length: 0\r\n\r\n";
    Serve({Join({Reply(challenge), Reply(challenge), Reply(challenge), {Action::WaitForPeerClose()}})});
    UseServerAsProxy();
    http.SetHTTPOptions(hoInProcessAuth);
    http.ProxyParams().SetProxyUsername("u");
    http.ProxyParams().SetProxyPassword("wrong");
    EXPECT_EQ(run([&] { return http.Get("http://feeds.example/a"); }).code, 407);
    EXPECT_EQ(server->Requests().size(), 2u);
    EXPECT_EQ(http.ProxyParams().ProxyPassword(), "wrong");
    for (const std::string& head : server->Requests())
        EXPECT_EQ(head.find("Og=="), std::string::npos);
}

TEST_P(Hardening, WithoutProxyCredentialsTheChallengeFailsAtOnce) {
    Serve({Join({Reply("HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic "
                       "realm=\"p\"\r\nContent-Length: 0\r\n\r\n"),
                 {Action::WaitForPeerClose()}})});
    UseServerAsProxy();
    http.SetHTTPOptions(hoInProcessAuth);
    EXPECT_EQ(run([&] { return http.Get("http://feeds.example/a"); }).code, 407);
    EXPECT_EQ(server->Requests().size(), 1u);
}

// --- the overall limit -----------------------------------------------------------------------

// An answer that comes one byte every 50 ms: each wait is short, so only a limit on the whole
// request ends it.
Script trickle(const std::string& response) {
    Script s{Action::ReadHead()};
    for (char c : response) {
        s.push_back(Action::Send(std::string(1, c), Delivery::Whole));
        s.push_back(Action::Sleep(50));
    }
    s.push_back(Action::WaitForPeerClose());
    return s;
}

TEST_P(Hardening, AGetThatTakesTooLongInAllFailsHoweverSteadilyItsBytesCome) {
    http.SetMaxTime(400);
    Serve({trickle(Ok(std::string(100, 'x'))), {Action::ReadHead(), Action::WaitForPeerClose()}});
    Result r = run([&] { return http.Get(Url("/slow")); });
    EXPECT_EQ(r.error, "EIdDeadlineExceeded");
    EXPECT_EQ(r.message, "The request did not finish within 400 ms.");
    EXPECT_FALSE(http.Connected());
    // A silent server meets the limit before the read time-out.
    EXPECT_EQ(run([&] { return http.Get(Url("/silent")); }).error, "EIdDeadlineExceeded");
}

TEST_P(Hardening, TheOverallLimitCountsEachGetAndBoundsTheConnect) {
    http.SetMaxTime(300);
    Serve({Join({Reply(kOkKeepAlive), Reply(kOkKeepAlive), {Action::WaitForPeerClose()}})});
    EXPECT_EQ(run([&] { return http.Get(Url("/a")); }).body, "hello");
    std::this_thread::sleep_for(std::chrono::milliseconds(450));
    EXPECT_EQ(run([&] { return http.Get(Url("/b")); }).body, "hello");
    EXPECT_EQ(server->Accepted(), 1);

    SilentListener silent;
    http.SetConnectTimeout(0);
    EXPECT_EQ(run([&] { return http.Get("http://127.0.0.1:" + std::to_string(silent.Port()) + "/x"); }).error,
              "EIdDeadlineExceeded");
}

// --- framing ------------------------------------------------------------------------------------

TEST_P(Hardening, BrokenFramingFailsClearly) {
    struct Case {
        const char* response;
        const char* message;
    };
    const Case cases[] = {
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nhello\r\n0\r\n\r\n",
         "Invalid chunk size \"zz\" in a chunked body."},
        {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 6\r\n\r\nhello!",
         "The response has two different Content-Length values."},
        {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n",
         "The server closed the connection before the end of the response head."},
    };
    std::vector<Script> scripts;
    for (const Case& c : cases)
        scripts.push_back(Join({Reply(c.response), {Action::Close()}}));
    Serve(std::move(scripts));
    for (const Case& c : cases) {
        Result r = run([&] { return http.Get(Url("/x")); });
        EXPECT_EQ(r.error, "EIdHTTPMalformedResponse") << c.response;
        EXPECT_EQ(r.message, c.message);
    }
}

TEST_P(Hardening, AContentCodingThatWasNotAskedForFails) {
    // The client decodes no coding: a gzip body would pass for the feed itself.
    const struct {
        std::string acceptEncoding; // as the caller sets it; the client adds "identity"
        std::string contentEncoding;
        bool passes;
    } cases[] = {
        {"", "gzip", false},          {"", "identity", true},        {"", " Identity ", true},
        {"", "identity, br", false},  {"gzip", "GZIP", true},        {"gzip;q=0", "gzip", false},
        {"deflate, *", "zstd", true}, {"gzip; q=0.5", "gzip", true},
    };
    std::vector<Script> scripts;
    for (std::size_t i = 0; i < std::size(cases); ++i)
        scripts.push_back(
            Join({Reply(Ok("body", {"Content-Encoding: " + cases[i].contentEncoding})), {Action::Close()}}));
    Serve(std::move(scripts));
    for (const auto& c : cases) {
        http.Request().SetAcceptEncoding(c.acceptEncoding);
        Result r = run([&] { return http.Get(Url("/feed.xml")); });
        EXPECT_EQ(r.error, c.passes ? "" : "EIdHTTPContentEncodingNotAccepted")
            << c.acceptEncoding << " / " << c.contentEncoding;
        EXPECT_EQ(r.body, c.passes ? "body" : "");
    }
    http.Request().SetAcceptEncoding("");
    Serve({Join({Reply(Ok("\x1f\x8b", {"Content-Encoding: gzip"})), {Action::Close()}})});
    EXPECT_EQ(run([&] { return http.Get(Url("/feed.xml")); }).message,
              "The response body is in the content coding \"gzip\", which was not asked for.");
}

TEST_P(Hardening, ChunkExtensionsAreSkippedAndChunksWinOverALength) {
    Serve({Join({Reply("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5;name=v\r\nhello\r\n"
                       "1 ; a=\"b;c\"\r\n!\r\n0\r\n\r\n"),
                 Reply("HTTP/1.1 200 OK\r\nContent-Length: 3\r\nTransfer-Encoding: chunked\r\n\r\n"
                       "6\r\nchunks\r\n0\r\n\r\n"),
                 {Action::WaitForPeerClose()}}),
           Join({Reply(kOkKeepAlive), {Action::WaitForPeerClose()}})});
    EXPECT_EQ(run([&] { return http.Get(Url("/a")); }).body, "hello!");
    EXPECT_EQ(run([&] { return http.Get(Url("/b")); }).body, "chunks");
    // A response framed both ways is not trusted with the connection afterwards.
    EXPECT_EQ(run([&] { return http.Get(Url("/c")); }).body, "hello");
    EXPECT_EQ(server->Accepted(), 2);
}

// --- interim and bodiless answers, Location ----------------------------------------------------

TEST_P(Hardening, InterimAnswersAreSkippedAndBodilessAnswersReadNoBody) {
    Serve({Join({Reply("HTTP/1.1 102 Processing\r\n\r\nHTTP/1.1 103 Early Hints\r\nLink: </s.css>\r\n\r\n"
                       "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nreal"),
                 // A 304 announcing a length sends no body; the connection serves on.
                 Reply("HTTP/1.1 304 Not Modified\r\nContent-Length: 100\r\n\r\n"),
                 Reply("HTTP/1.1 204 No Content\r\nContent-Length: 100\r\n\r\n"),
                 Reply(kOkKeepAlive),
                 {Action::WaitForPeerClose()}})});
    EXPECT_EQ(run([&] { return http.Get(Url("/a")); }).body, "real");
    Result notModified = run([&] { return http.Get(Url("/b")); });
    EXPECT_EQ(notModified.code, 304);
    Result noContent = run([&] { return http.Get(Url("/c")); });
    EXPECT_EQ(noContent.error, "");
    EXPECT_EQ(noContent.body, "");
    EXPECT_EQ(run([&] { return http.Get(Url("/d")); }).body, "hello");
    EXPECT_EQ(server->Accepted(), 1);
}

TEST_P(Hardening, OnlyA3xxRedirects) {
    Serve({Join(
        {Reply(Ok("here", {"Location: /elsewhere"})),
         Reply(HttpResponse("HTTP/1.1 201 Created", {"Location: /new", "Content-Length: 7"}, "created")),
         {Action::WaitForPeerClose()}})});
    http.SetHandleRedirects(true);
    EXPECT_EQ(run([&] { return http.Get(Url("/a")); }).body, "here");
    EXPECT_EQ(run([&] { return http.Get(Url("/b")); }).body, "created");
    EXPECT_EQ(server->Requests().size(), 2u);
}

// --- ports and the end of the authority ---------------------------------------------------------

TEST_P(Hardening, PortsThatAreNotPortsFailBeforeAnythingIsSent) {
    Serve({Join({Reply(kOkKeepAlive), {Action::WaitForPeerClose()}})});
    // 65536 more than the server's port would reach the server once cut to 16 bits.
    const std::string wrapped = std::to_string(server->Port() + 65536);
    for (const std::string& port : {wrapped, std::string("70000"), std::string("-1"), std::string("8o"),
                                    std::string("0"), std::string("+80")}) {
        Result r = run([&] { return http.Get("http://127.0.0.1:" + port + "/x"); });
        EXPECT_EQ(r.error, "EIdInvalidPort") << port;
        EXPECT_EQ(r.message, "Invalid port \"" + port + "\" in the URL: a port is a number from 1 to 65535.");
    }
    http.ProxyParams().SetProxyServer("127.0.0.1");
    http.ProxyParams().SetProxyPort(server->Port() + 65536);
    Result r = run([&] { return http.Get("http://feeds.example/x"); });
    EXPECT_EQ(r.error, "EIdInvalidPort");
    EXPECT_EQ(r.message, "Invalid proxy port " + wrapped + ": a port is a number from 1 to 65535.");
    EXPECT_TRUE(server->Requests().empty());
    EXPECT_EQ(server->Accepted(), 0);
}

TEST_P(Hardening, QueryAndBookmarkEndTheAuthority) {
    Serve({Join({Reply(Ok("q")), Reply(Ok("b")), {Action::WaitForPeerClose()}})});
    EXPECT_EQ(http.Get("http://" + HostPort() + "?q=1"), "q");
    EXPECT_EQ(http.Get("http://" + HostPort() + "#top"), "b");
    EXPECT_EQ(server->Requests().at(0), DirectHead("/?q=1", HostPort()));
    EXPECT_EQ(server->Requests().at(1), DirectHead("/", HostPort()));
}

ZEL_HTTP_CUTS(Hardening);
