// GETs over https: the client's framing, keep-alive and bounds over a real TLS connection on
// loopback, with the bytes in whole records and one byte per record.
#include "http/EIdTLS.h"
#include "tests/http/AnsweringMemory.h"
#include "tests/http/HttpFixture.h"
#include "tests/support/TlsSite.h"

#include <gtest/gtest.h>

using namespace zeltest;

namespace {

class TlsGet : public testing::TestWithParam<Delivery> {
protected:
    void SetUp() override {
        ConfigureLikeTheReader(http);
        http.SetCAFile(pki.CAFile());
    }
    void Serve(std::vector<Script> scripts, const CertSpec& cert = CertSpec(),
               TlsFrontOptions options = TlsFrontOptions()) {
        site = std::make_unique<TlsSite>(pki, std::move(scripts), GetParam(), cert, options);
    }

    TestPki pki;
    std::unique_ptr<TlsSite> site;
    TIdHTTP http; // after the site: it disconnects before the site stops
};

std::string chunked(const std::string& body, std::size_t piece) {
    std::string out;
    char size[32];
    for (std::size_t at = 0; at < body.size(); at += piece) {
        const std::string part = body.substr(at, piece);
        std::snprintf(size, sizeof size, "%zx\r\n", part.size());
        out += size + part + "\r\n";
    }
    return out + "0\r\n\r\n";
}

TEST_P(TlsGet, TwoGetsByAddressShareOneConnectionAndAGetByNameSendsTheName) {
    Serve({Join({Reply(Ok("first")), Reply(Ok("second")), {Action::WaitForPeerClose()}}),
           Join({Reply(Ok("by name")), {Action::WaitForPeerClose()}})});
    EXPECT_EQ(http.Get(site->Url("/a")), "first");
    EXPECT_EQ(http.Get(site->Url("/b")), "second");
    EXPECT_EQ(http.Get(site->Url("/c", "localhost")), "by name");
    http.Disconnect();
    ASSERT_TRUE(site->Backend().WaitScriptsDone(2));
    EXPECT_EQ(site->Backend().Accepted(), 2);
    EXPECT_EQ(site->Front().ServerNames(), (std::vector<std::string>{"", "localhost"}));
    // The request inside TLS is the one a plain GET sends; https's own port is not written.
    const auto heads = site->Backend().Requests();
    ASSERT_EQ(heads.size(), 3u);
    EXPECT_EQ(heads[0], DirectHead("/a", site->HostPort()));
    EXPECT_EQ(heads[2], DirectHead("/c", site->HostPort("localhost")));
}

TEST_P(TlsGet, FramingHoldsOverTls) {
    std::string body = "<rss>" + std::string(5000, 'x') + "</rss>";
    Serve({Join({Reply(HttpResponse("HTTP/1.1 200 OK", {"Transfer-Encoding: chunked"}, chunked(body, 777))),
                 Reply(Ok("after")),
                 Reply(HttpResponse("HTTP/1.1 200 OK", {"Connection: close"}, "until close")),
                 {Action::Close()}})});
    EXPECT_EQ(http.Get(site->Url("/chunked")), body);
    EXPECT_EQ(http.Get(site->Url("/length")), "after");
    // A body up to the close ends with the server's close notice.
    EXPECT_EQ(http.Get(site->Url("/close")), "until close");
}

TEST_P(TlsGet, ACutOffBodyIsAnErrorNeverAShortSuccess) {
    const std::string cut = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789";
    const std::string cutChunk =
        HttpResponse("HTTP/1.1 200 OK", {"Transfer-Encoding: chunked"}, "a\r\n0123456789\r\n64\r\n01234");
    const std::string untilClose = HttpResponse("HTTP/1.1 200 OK", {}, "0123456789");
    for (bool notify : {true, false}) {
        SCOPED_TRACE(notify ? "with the close notice" : "without the close notice");
        TlsFrontOptions options;
        options.closeWithoutNotify = !notify;
        Serve({Join({Reply(cut), {Action::Close()}}), Join({Reply(cutChunk), {Action::Close()}}),
               Join({Reply(untilClose), {Action::Close()}})},
              CertSpec(), options);
        EXPECT_THROW(http.Get(site->Url("/length")), EIdException);
        EXPECT_THROW(http.Get(site->Url("/chunked")), EIdException);
        if (notify) {
            EXPECT_EQ(http.Get(site->Url("/close")), "0123456789");
        } else {
            // Without the notice the end could be anyone's: the body is not taken as whole.
            EXPECT_THROW(http.Get(site->Url("/close")), EIdTLSUnexpectedEOF);
        }
        http.Disconnect();
        site.reset();
    }
}

TEST_P(TlsGet, AKeptConnectionTheServerClosedIsNoticedAndReplaced) {
    Serve({Join({Reply(Ok("one")), {Action::Close()}}),
           Join({Reply(Ok("two")), {Action::WaitForPeerClose()}})});
    EXPECT_EQ(http.Get(site->Url("/a")), "one");
    ASSERT_TRUE(site->Backend().WaitScriptsDone(1));
    EXPECT_EQ(http.Get(site->Url("/b")), "two");
    EXPECT_EQ(site->Backend().Accepted(), 2);
}

ZEL_HTTP_CUTS(TlsGet);

TEST(TlsGetLarge, SixMegabytesChunkedArriveByteForByte) {
    TestPki pki;
    std::string body(6 << 20, '\0');
    for (std::size_t i = 0; i < body.size(); ++i)
        body[i] = static_cast<char>((i * 131 + i / 7919) & 0xFF);
    TlsSite site(
        pki,
        {Join({Reply(HttpResponse("HTTP/1.1 200 OK", {"Transfer-Encoding: chunked"}, chunked(body, 100000))),
               {Action::WaitForPeerClose()}})});
    TIdHTTP http;
    ConfigureLikeTheReader(http);
    http.SetCAFile(pki.CAFile());
    const std::string got = http.Get(site.Url("/big"));
    EXPECT_EQ(got.size(), body.size());
    EXPECT_TRUE(got == body);
}

// One connection per scheme, host and port: the same host and port under the other scheme is
// another connection.
TEST(TlsConnectionReuse, ASchemeChangeOpensANewConnection) {
    AnsweringMemory io({Ok("x"), Ok("x"), Ok("x"), Ok("x")});
    TIdHTTP http;
    ConfigureLikeTheReader(http);
    http.SetIOHandler(&io);
    http.Get("http://feeds.example:443/a");
    http.Get("http://feeds.example:443/b");
    EXPECT_EQ(io.Opens(), 1);
    http.Get("https://feeds.example:443/c");
    EXPECT_EQ(io.Opens(), 2);
    http.Get("http://feeds.example:443/d");
    EXPECT_EQ(io.Opens(), 3);
    ASSERT_EQ(io.TLSStarts().size(), 1u);
    EXPECT_EQ(io.TLSStarts()[0].first, "feeds.example");
    // https's own port stays out of Host.
    EXPECT_NE(io.Output().find("GET /c HTTP/1.1\r\nContent-Type: text/html\r\nHost: feeds.example\r\n"),
              std::string::npos);
    http.SetIOHandler(nullptr);
}

} // namespace
