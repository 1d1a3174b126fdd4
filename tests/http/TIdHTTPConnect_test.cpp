// https through the HTTP proxy: the CONNECT head, the proxy's credentials on it and never
// inside, the answers that open or refuse the tunnel, and the request in origin form inside.
#include "http/EIdException.h"
#include "tests/http/AnsweringMemory.h"
#include "tests/http/HttpFixture.h"
#include "tests/support/TlsSite.h"
#include "tests/support/TunnelProxy.h"

#include <gtest/gtest.h>

using namespace zeltest;

namespace {

const std::string kConnect = "CONNECT feeds.example:443 HTTP/1.1\r\n"
                             "Host: feeds.example:443\r\n"
                             "User-Agent: Mozilla/3.0 (compatible; Zelmora Library)\r\n";
const std::string kEstablished = "HTTP/1.1 200 Connection established\r\n\r\n";

class ConnectInMemory : public testing::Test {
protected:
    void Use(std::deque<std::string> answers) {
        io = std::make_unique<AnsweringMemory>(std::move(answers));
        http.SetIOHandler(io.get());
    }
    void SetUp() override {
        ConfigureLikeTheReader(http);
        http.ProxyParams().SetProxyServer("proxy.example");
        http.ProxyParams().SetProxyPort(3128);
        http.ProxyParams().SetProxyUsername("u");
        http.ProxyParams().SetProxyPassword("p");
    }
    void TearDown() override { http.SetIOHandler(nullptr); }
    // What went to the proxy before the tunnel opened, and what went inside it.
    std::string ToProxy() const {
        return io->TLSStarts().empty() ? io->Output() : io->Output().substr(0, io->TLSStarts()[0].second);
    }
    std::string Inside() const { return io->Output().substr(io->TLSStarts().at(0).second); }

    std::unique_ptr<AnsweringMemory> io;
    TIdHTTP http;
};

TEST_F(ConnectInMemory, TheTunnelCarriesTheRequestInOriginFormWithoutProxyWords) {
    Use({kEstablished, Ok("feed", {"Connection: keep-alive"}), Ok("again")});
    http.SetProtocolVersion(pv1_0); // which asks a plain proxy for keep-alive
    EXPECT_EQ(http.Get("https://feeds.example/rss/a.xml"), "feed");
    // No credentials before the proxy asks for them.
    EXPECT_EQ(ToProxy(), kConnect + "\r\n");
    ASSERT_EQ(io->TLSStarts().size(), 1u);
    EXPECT_EQ(io->TLSStarts()[0].first, "feeds.example");
    const std::string inside = Inside();
    EXPECT_EQ(inside.substr(0, inside.find("\r\n")), "GET /rss/a.xml HTTP/1.0");
    EXPECT_EQ(inside.find("Proxy-"), std::string::npos);
    EXPECT_NE(inside.find("\r\nHost: feeds.example\r\n"), std::string::npos);
    // The next GET to the same server goes through the same tunnel.
    EXPECT_EQ(http.Get("https://feeds.example/rss/b.xml"), "again");
    EXPECT_EQ(io->Opens(), 1);
    EXPECT_EQ(io->TLSStarts().size(), 1u);
}

TEST_F(ConnectInMemory, BasicFromTheStartGoesOnTheConnectOnly) {
    Use({kEstablished, Ok("feed")});
    http.ProxyParams().SetBasicAuthentication(true);
    EXPECT_EQ(http.Get("https://feeds.example/rss/a.xml"), "feed");
    EXPECT_EQ(ToProxy(), kConnect + "Proxy-Authorization: Basic dTpw\r\n\r\n");
    EXPECT_EQ(Inside().find("Authorization"), std::string::npos);
}

TEST_F(ConnectInMemory, OneChallengeIsAnsweredWithTheSettingsCredentials) {
    const std::string challenge =
        HttpResponse("HTTP/1.1 407 Proxy Authentication Required",
                     {"Proxy-Authenticate: Basic realm=\"p\"", "Content-Length: 4"}, "deny");
    Use({challenge, kEstablished, Ok("feed")});
    EXPECT_EQ(http.Get("https://feeds.example/rss/a.xml"), "feed");
    EXPECT_EQ(ToProxy(), kConnect + "\r\n" + kConnect + "Proxy-Authorization: Basic dTpw\r\n\r\n");
    EXPECT_EQ(io->Opens(), 1); // the challenge's body was read, the connection kept
    EXPECT_EQ(Inside().find("Authorization"), std::string::npos);
}

TEST_F(ConnectInMemory, RefusalsFailWithTheStatusLineAndNothingReachesTheServer) {
    const std::string challenge =
        HttpResponse("HTTP/1.1 407 Proxy Authentication Required",
                     {"Proxy-Authenticate: Basic realm=\"p\"", "Content-Length: 0"}, "");
    const std::string forbidden = HttpResponse("HTTP/1.1 403 Forbidden", {"Content-Length: 6"}, "go off");
    struct Case {
        std::deque<std::string> answers;
        std::string statusLine;
    };
    const std::vector<Case> cases = {
        {{forbidden}, "HTTP/1.1 403 Forbidden"},
        // Credentials refused: the second challenge is the answer.
        {{challenge, challenge}, "HTTP/1.1 407 Proxy Authentication Required"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.statusLine);
        Use(c.answers);
        try {
            http.Get("https://feeds.example/rss/a.xml");
            ADD_FAILURE() << "the tunnel was taken";
        } catch (const EIdHTTPProtocolException& e) {
            EXPECT_EQ(e.Message(), c.statusLine);
        }
        EXPECT_TRUE(io->TLSStarts().empty());
        EXPECT_EQ(io->Output().find("GET "), std::string::npos);
        EXPECT_FALSE(http.Connected());
        http.SetIOHandler(nullptr);
    }
}

TEST_F(ConnectInMemory, BytesAfterTheProxysYesAreRefused) {
    // They would pass for the server's, yet the proxy wrote them.
    Use({kEstablished + Ok("forged")});
    EXPECT_THROW(http.Get("https://feeds.example/rss/a.xml"), EIdHTTPMalformedResponse);
    EXPECT_TRUE(io->TLSStarts().empty());
}

TEST_F(ConnectInMemory, AnotherServerGetsATunnelOfItsOwn) {
    Use({kEstablished, Ok("a"), kEstablished, Ok("b")});
    http.Get("https://feeds.example/a");
    http.Get("https://other.example:8443/b");
    EXPECT_EQ(io->Opens(), 2);
    ASSERT_EQ(io->TLSStarts().size(), 2u);
    EXPECT_EQ(io->TLSStarts()[1].first, "other.example");
    EXPECT_NE(io->Output().find("CONNECT other.example:8443 HTTP/1.1\r\nHost: other.example:8443\r\n"),
              std::string::npos);
}

// Over loopback: a tunnelling proxy in front of a real TLS site.
TEST(ConnectOverLoopback, ThroughAProxyWithAndWithoutCredentials) {
    TestPki pki;
    TlsSite site(pki, {Join({Reply(Ok("open")), {Action::WaitForPeerClose()}}),
                       Join({Reply(Ok("after the challenge")), {Action::WaitForPeerClose()}})});
    TunnelProxy proxy({kEstablished,
                       HttpResponse("HTTP/1.1 407 Proxy Authentication Required",
                                    {"Proxy-Authenticate: Basic realm=\"p\"", "Content-Length: 0"}, ""),
                       kEstablished});
    TIdHTTP http;
    ConfigureLikeTheReader(http);
    http.SetCAFile(pki.CAFile());
    http.ProxyParams().SetProxyServer("127.0.0.1");
    http.ProxyParams().SetProxyPort(proxy.Port());
    EXPECT_EQ(http.Get(site.Url("/a", "localhost")), "open");
    http.Disconnect();
    http.ProxyParams().SetProxyUsername("u");
    http.ProxyParams().SetProxyPassword("p");
    EXPECT_EQ(http.Get(site.Url("/b")), "after the challenge");
    http.Disconnect();
    const auto heads = proxy.Heads();
    ASSERT_EQ(heads.size(), 3u);
    EXPECT_EQ(heads[0].substr(0, heads[0].find("\r\n")),
              "CONNECT " + site.HostPort("localhost") + " HTTP/1.1");
    EXPECT_EQ(heads[1].find("Proxy-Authorization"), std::string::npos);
    EXPECT_NE(heads[2].find("\r\nProxy-Authorization: Basic dTpw\r\n"), std::string::npos);
    ASSERT_TRUE(site.Backend().WaitScriptsDone(2));
    EXPECT_EQ(site.Front().ServerNames(), (std::vector<std::string>{"localhost", ""}));
    const auto inside = site.Backend().Requests();
    ASSERT_EQ(inside.size(), 2u);
    EXPECT_EQ(inside[0], DirectHead("/a", site.HostPort("localhost")));
    EXPECT_EQ(inside[1], DirectHead("/b", site.HostPort()));
}

} // namespace
