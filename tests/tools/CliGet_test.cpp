// zelmora-cli get against scripted servers: bodies on stdout, one line per URL on stderr, the
// exit status, and one client for the whole run (connection and cookies carry over).
#include "tests/http/HttpFixture.h"
#include "tests/support/CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zeltest;
namespace fs = std::filesystem;

namespace {

CliRun runCli(std::vector<std::string> args) {
    args.insert(args.begin(), "get");
    return RunCli(args);
}

class CliGet : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fs::exists(CliPath())) << CliPath() << " is missing"; }
};

} // namespace

TEST_F(CliGet, BodiesInOrderOneLinePerUrlAndOneConnection) {
    ScriptedServer server({Join({Reply(Ok("first\n", {"Set-Cookie: s=1"})),
                                 Reply(Ok(std::string("\0raw\xff", 5))),
                                 Reply(HttpResponse("HTTP/1.1 404 Not Found", {"Content-Length: 1"}, "x")),
                                 {Action::WaitForPeerClose()}})});
    std::string base = "http://127.0.0.1:" + std::to_string(server.Port());
    CliRun r = runCli({base + "/a", base + "/b", base + "/c"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, std::string("first\n\0raw\xff", 11));
    EXPECT_EQ(
        r.err,
        "OK HTTP/1.1 200 OK\nOK HTTP/1.1 200 OK\nERR EIdHTTPProtocolException: HTTP/1.1 404 Not Found\n");
    EXPECT_EQ(server.Accepted(), 1);
    ASSERT_EQ(server.Requests().size(), 3u);
    EXPECT_NE(server.Requests()[1].find("\r\nCookie: s=1\r\n"), std::string::npos);
}

TEST_F(CliGet, ErrorsKeepToOneLineAndSuccessExitsZero) {
    ScriptedServer server({Join({Reply(Ok("ok")), {Action::WaitForPeerClose()}})});
    CliRun bad = runCli({"http://no-such-host.invalid/x"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "ERR EIdSocketError: Socket Error # 11001\\r\\nHost not found.\n");
    CliRun good = runCli({"http://127.0.0.1:" + std::to_string(server.Port()) + "/x"});
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.out, "ok");
}

TEST_F(CliGet, ThroughAProxyWithBasicCredentials) {
    ScriptedServer proxy({Join({Reply(Ok("via proxy")), {Action::WaitForPeerClose()}})});
    CliRun r = runCli({"--proxy", "127.0.0.1:" + std::to_string(proxy.Port()), "--proxy-user", "u",
                       "--proxy-password", "p", "--proxy-basic", "http://feeds.example/rss/world.xml"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "via proxy");
    std::string head = proxy.Requests().at(0);
    EXPECT_EQ(head.substr(0, head.find("\r\n")), "GET http://feeds.example/rss/world.xml HTTP/1.1");
    EXPECT_NE(head.find("\r\nProxy-Authorization: Basic dTpw\r\n"), std::string::npos);
}

TEST_F(CliGet, WrongUsage) {
    EXPECT_EQ(runCli({}).status, 2);
    EXPECT_EQ(runCli({"--proxy"}).status, 2);
    EXPECT_EQ(runCli({"--proxy", "hostonly", "http://x/"}).status, 2);
    EXPECT_EQ(runCli({"--proxy", "h:99999", "http://x/"}).status, 2);
    EXPECT_EQ(runCli({"--verbose", "http://x/"}).status, 2);
    EXPECT_EQ(runCli({"--proxy-user"}).status, 2);
}
