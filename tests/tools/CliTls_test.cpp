// zelmora-cli over https: get --ca-file and headlines --url with the messages a user sees for
// each refusal, a tunnel through --proxy, and redirects: get never follows them, headlines
// follows five, never from https down to http, and none with [feeds] redirects=0.
#include "tests/http/HttpFixture.h"
#include "tests/support/CliRunner.h"
#include "tests/support/TempDir.h"
#include "tests/support/TlsSite.h"
#include "tests/support/TunnelProxy.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace zeltest;

namespace {

const std::string kFeed = "<rss><channel><item><title>Over TLS</title><link>http://a.test/1</link></item>"
                          "</channel></rss>";

Script serve(const std::string& response) {
    return Join({Reply(response), {Action::WaitForPeerClose()}});
}

std::string moved(int code, const std::string& to) {
    return HttpResponse("HTTP/1.1 " + std::to_string(code) + (code == 301 ? " Moved Permanently" : " Found"),
                        {"Location: " + to, "Content-Length: 0"}, "");
}

class CliTls : public testing::Test {
protected:
    CliRun get(std::vector<std::string> args) {
        args.insert(args.begin(), "get");
        return RunCli(args);
    }
    CliRun headlines(std::vector<std::string> args) {
        args.insert(args.begin(), "headlines");
        return RunCli(args);
    }
    std::string writeConfig(const std::string& text) {
        const std::string path = (dir.Path() / "config.ini").string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    TestPki pki;
    TempDir dir;
};

} // namespace

TEST_F(CliTls, GetWithTheCAFileAndTheReasonsItRefuses) {
    CertSpec expired, other;
    expired.notBefore = -10L * 24 * 3600;
    expired.notAfter = -3600;
    other.altNames = {"DNS:other.example"};
    TlsSite good(pki, {serve(Ok("secure body")), serve(Ok("by name"))});
    TlsSite stale(pki, {serve(Ok("x"))}, Delivery::Whole, expired);
    TlsSite wrong(pki, {serve(Ok("x"))}, Delivery::Whole, other);

    CliRun r = get({"--ca-file", pki.CAFile(), good.Url("/a"), good.Url("/b", "localhost"), stale.Url("/c"),
                    wrong.Url("/d")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "secure bodyby name");
    EXPECT_EQ(r.err, "OK HTTP/1.1 200 OK\nOK HTTP/1.1 200 OK\n"
                     "ERR EIdTLSCertificateError: certificate has expired\n"
                     "ERR EIdTLSCertificateError: certificate is for other.example, not 127.0.0.1\n");
    // The system's CAs alone do not know the test's CA; a CA file that is not there is named.
    r = get({good.Url("/e")});
    EXPECT_EQ(r.err, "ERR EIdTLSCertificateError: unable to get local issuer certificate\n");
    r = get({"--ca-file", pki.Dir() + "/none.pem", good.Url("/f")});
    EXPECT_EQ(r.err, "ERR EIdTLSError: cannot read the CA file " + pki.Dir() +
                         "/none.pem: No such file or directory\n");
    EXPECT_EQ(get({"--ca-file"}).status, 2);
}

TEST_F(CliTls, GetTimesOutAHandshakeAndTunnelsThroughTheProxy) {
    ScriptedServer silent({{Action::WaitForPeerClose()}});
    CliRun r = get({"--timeout", "300", "https://127.0.0.1:" + std::to_string(silent.Port()) + "/"});
    EXPECT_EQ(r.err, "ERR EIdTLSHandshakeTimeout: handshake timed out\n");

    TlsSite site(pki, {serve(Ok("tunnelled"))});
    TunnelProxy proxy;
    r = get(
        {"--ca-file", pki.CAFile(), "--proxy", "127.0.0.1:" + std::to_string(proxy.Port()), site.Url("/t")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "tunnelled");
    ASSERT_EQ(proxy.Heads().size(), 1u);
    EXPECT_EQ(proxy.Heads()[0].rfind("CONNECT " + site.HostPort() + " HTTP/1.1\r\n", 0), 0u);
}

TEST_F(CliTls, GetNeverFollowsARedirect) {
    TlsSite site(pki, {serve(Ok("not reached"))});
    ScriptedServer old({serve(moved(301, site.Url("/new")))});
    CliRun r = get({"--ca-file", pki.CAFile(), "http://127.0.0.1:" + std::to_string(old.Port()) + "/old"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERR EIdHTTPProtocolException: HTTP/1.1 301 Moved Permanently\n");
    EXPECT_EQ(site.Backend().Accepted(), 0);
}

TEST_F(CliTls, HeadlinesFollowAFeedThatMovedToHttps) {
    TlsSite site(pki, {serve(Ok(kFeed)), serve(Ok(kFeed))});
    ScriptedServer old(
        {serve(moved(301, site.Url("/rss/world.xml"))), serve(moved(301, site.Url("/rss/world.xml")))});
    const std::string oldUrl = "http://127.0.0.1:" + std::to_string(old.Port()) + "/rss/world.xml";
    CliRun r = headlines({"--ca-file", pki.CAFile(), "--url", oldUrl});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Over TLS\r\nhttp://a.test/1\r\n");
    r = headlines({"--ca-file", "", "--url", oldUrl});
    EXPECT_EQ(r.err, "zelmora-cli headlines: --ca-file needs a PEM file\n");
    // The CA may come from config.ini instead, relative to its folder.
    std::filesystem::copy_file(pki.CAFile(), dir.Path() / "ca.pem");
    r = headlines({"--config", writeConfig("[tls]\r\nca-file=ca.pem\r\n"), "--url", oldUrl});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Over TLS\r\nhttp://a.test/1\r\n");
}

TEST_F(CliTls, HeadlinesRefuseHttpsToHttpALoopAndAnyRedirectWhenTurnedOff) {
    ScriptedServer plain({serve(Ok(kFeed))});
    TlsSite down(pki, {serve(moved(302, "http://127.0.0.1:" + std::to_string(plain.Port()) + "/rss/x.xml"))});
    CliRun r = headlines({"--ca-file", pki.CAFile(), "--url", down.Url("/rss/x.xml")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zelmora-cli headlines: EIdHTTPRedirectRefused: redirect from https to http refused: "
                     "http://127.0.0.1:" +
                         std::to_string(plain.Port()) + "/rss/x.xml\n");
    EXPECT_EQ(plain.Accepted(), 0);

    // Five redirects are followed; the sixth is the failure.
    std::vector<Action> loop;
    for (int i = 0; i < 6; ++i) {
        std::vector<Action> hop = Reply(moved(302, "/rss/hop" + std::to_string(i + 1) + ".xml"));
        loop.insert(loop.end(), hop.begin(), hop.end());
    }
    loop.push_back(Action::WaitForPeerClose());
    ScriptedServer looping({loop});
    r = headlines({"--url", "http://127.0.0.1:" + std::to_string(looping.Port()) + "/rss/hop0.xml"});
    EXPECT_EQ(r.err, "zelmora-cli headlines: EIdHTTPProtocolException: HTTP/1.1 302 Found\n");
    EXPECT_EQ(looping.Requests().size(), 6u);

    ScriptedServer once({serve(moved(301, "/rss/elsewhere.xml"))});
    r = headlines({"--config", writeConfig("[feeds]\r\nredirects=0\r\n"), "--url",
                   "http://127.0.0.1:" + std::to_string(once.Port()) + "/rss/world.xml"});
    EXPECT_EQ(r.err, "zelmora-cli headlines: EIdHTTPProtocolException: HTTP/1.1 301 Moved Permanently\n");
    EXPECT_EQ(once.Requests().size(), 1u);
}

TEST_F(CliTls, GetByAnIPv6AddressAndByANameWrittenInFull) {
    TlsSite good(pki, {serve(Ok("by name"))});
    CliRun r = get({"--ca-file", pki.CAFile(), good.Url("/a", "localhost.")});
    EXPECT_EQ(r.err, "OK HTTP/1.1 200 OK\n");
    ASSERT_TRUE(good.Backend().WaitScriptsDone(1));
    EXPECT_EQ(good.Front().ServerNames(), (std::vector<std::string>{"localhost"}));

    CertSpec v6cert;
    v6cert.altNames = {"IP:::1"};
    TlsFrontOptions v6;
    v6.ipv6 = true;
    std::unique_ptr<TlsSite> site;
    try {
        site = std::make_unique<TlsSite>(pki, std::vector<Script>{serve(Ok("over IPv6"))}, Delivery::Whole,
                                         v6cert, v6);
    } catch (const std::runtime_error&) {
        GTEST_SKIP() << "no IPv6 loopback here";
    }
    r = get({"--ca-file", pki.CAFile(), site->Url("/b", "[::1]")});
    EXPECT_EQ(r.err, "OK HTTP/1.1 200 OK\n");
    EXPECT_EQ(r.out, "over IPv6");
}

TEST_F(CliTls, HeadlinesThroughAProxyThatClosesAfterAskingForCredentials) {
    TlsSite site(pki, {serve(Ok(kFeed))});
    TunnelProxy proxy({HttpResponse(
        "HTTP/1.1 407 Proxy Authentication Required",
        {"Proxy-Authenticate: Basic realm=\"p\"", "Connection: close", "Content-Length: 5"}, "login")});
    const std::string config = writeConfig("[proxy]\r\nip=127.0.0.1\r\nport=" + std::to_string(proxy.Port()) +
                                           "\r\nname=u\r\npassword=p\r\n");
    CliRun r = headlines({"--config", config, "--ca-file", pki.CAFile(), "--url", site.Url("/rss/x.xml")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Over TLS\r\nhttp://a.test/1\r\n");
    const auto heads = proxy.Heads();
    ASSERT_EQ(heads.size(), 2u);
    EXPECT_EQ(heads[0].find("Proxy-Authorization"), std::string::npos);
    EXPECT_NE(heads[1].find("\r\nProxy-Authorization: Basic dTpw\r\n"), std::string::npos);
    EXPECT_EQ(proxy.Accepted(), 2);
}

TEST_F(CliTls, HeadlinesFollowOnlyTheCodesThatSayMoved) {
    ScriptedServer server(
        {serve(HttpResponse("HTTP/1.1 305 Use Proxy", {"Location: http://127.0.0.1:9/", "Content-Length: 0"},
                            "")),
         Join({Reply(moved(302, "../rss/x.xml?page=2")), Reply(Ok(kFeed)), {Action::WaitForPeerClose()}})});
    const std::string base = "http://127.0.0.1:" + std::to_string(server.Port());
    CliRun r = headlines({"--url", base + "/a/feed.xml"});
    EXPECT_EQ(r.err, "zelmora-cli headlines: EIdHTTPProtocolException: HTTP/1.1 305 Use Proxy\n");
    r = headlines({"--url", base + "/a/b/feed.xml"});
    EXPECT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(server.Requests().size(), 3u);
    EXPECT_EQ(server.Requests()[2].substr(0, server.Requests()[2].find("\r\n")),
              "GET /a/rss/x.xml?page=2 HTTP/1.1");
}
