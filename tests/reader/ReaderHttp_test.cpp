// The reader's client settings, shared by the window and zelmora-cli: its time-outs, and the
// proxy credentials of the settings file answering a proxy's challenge within the same fetch.
#include "http/EIdException.h"
#include "http/TIdHTTP.h"
#include "reader/ReaderHttp.h"
#include "tests/http/HttpFixture.h"
#include "tests/support/ScriptedServer.h"

#include <gtest/gtest.h>

using namespace zeltest;

TEST(ReaderHttp, ASilentServerCannotHoldTheReaderForGood) {
    TIdHTTP http;
    ConfigureReaderHttp(http);
    EXPECT_EQ(http.ConnectTimeout(), 10000);
    EXPECT_EQ(http.ReadTimeout(), 30000);
}

TEST(ReaderHttp, TheSettingsProxyCredentialsAnswerTheProxyOnce) {
    const std::string challenge =
        HttpResponse("HTTP/1.1 407 Proxy Authentication Required",
                     {"Proxy-Authenticate: Basic realm=\"p\"", "Content-Length: 0"}, "");
    ScriptedServer proxy({{Action::ReadHead(), Action::Send(challenge), Action::ReadHead(),
                           Action::Send(HttpResponse("HTTP/1.1 200 OK", {"Content-Length: 4"}, "feed")),
                           Action::WaitForPeerClose()}});
    TIdHTTP http;
    ConfigureReaderHttp(http);
    // As the window hands them over from config.ini.
    http.ProxyParams().SetProxyServer("127.0.0.1");
    http.ProxyParams().SetProxyPort(proxy.Port());
    http.ProxyParams().SetProxyUsername("reader");
    http.ProxyParams().SetProxyPassword("pw");
    EXPECT_EQ(http.Get("http://feeds.example/rss/world.xml"), "feed");
    ASSERT_EQ(proxy.Requests().size(), 2u);
    EXPECT_NE(proxy.Requests()[1].find("\r\nProxy-Authorization: Basic cmVhZGVyOnB3\r\n"), std::string::npos);
    EXPECT_EQ(http.ProxyParams().ProxyPassword(), "pw");
}

// The HTTP client's tests set their client up as the reader does; the requests they check are the
// reader's only while both agree.
TEST(ReaderHttp, SetsUpItsClientAsTheClientTestsDo) {
    TIdHTTP reader;
    TIdHTTP tests;
    ConfigureReaderHttp(reader);
    ConfigureLikeTheReader(tests);
    EXPECT_EQ(reader.AllowCookies(), tests.AllowCookies());
    EXPECT_EQ(reader.HTTPOptions(), tests.HTTPOptions());
    EXPECT_EQ(reader.ConnectTimeout(), tests.ConnectTimeout());
    EXPECT_EQ(reader.ReadTimeout(), tests.ReadTimeout());
    EXPECT_EQ(reader.AuthRetries(), tests.AuthRetries());
    EXPECT_EQ(reader.AuthProxyRetries(), tests.AuthProxyRetries());
    EXPECT_EQ(reader.ProxyParams().BasicAuthentication(), tests.ProxyParams().BasicAuthentication());

    const Script once = {Action::ReadHead(), Action::Send(Ok("feed", {"Connection: close"}))};
    ScriptedServer server({once, once});
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/rss/world.xml";
    EXPECT_EQ(reader.Get(url), "feed");
    EXPECT_EQ(tests.Get(url), "feed");
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[0], server.Requests()[1]);
}
