// zelmora-cli's --connect-timeout, --timeout and --max-time, for get and headlines --url: a silent
// or trickling server ends in the client's limits instead of holding the command for good.
#include "tests/http/HttpFixture.h"
#include "tests/support/CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zeltest;
namespace fs = std::filesystem;

namespace {

class CliTimeouts : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fs::exists(CliPath())) << CliPath() << " is missing"; }
};

} // namespace

TEST_F(CliTimeouts, GetGivesUpOnASilentServer) {
    ScriptedServer server({{Action::ReadHead(), Action::WaitForPeerClose()}});
    CliRun r = RunCli({"get", "--connect-timeout", "5000", "--timeout", "300",
                       "http://127.0.0.1:" + std::to_string(server.Port()) + "/feed"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERR EIdReadTimeout: Read Timeout\n");
}

TEST_F(CliTimeouts, HeadlinesGivesUpOnASilentServer) {
    ScriptedServer server({{Action::ReadHead(), Action::WaitForPeerClose()}});
    CliRun r = RunCli({"headlines", "--url", "http://127.0.0.1:" + std::to_string(server.Port()) + "/feed",
                       "--timeout", "300"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zelmora-cli headlines: EIdReadTimeout: Read Timeout\n");
}

TEST_F(CliTimeouts, MaxTimeEndsAFetchWhoseBytesTrickleIn) {
    // One byte every 50 ms: never a silence long enough for --timeout.
    auto trickle = [] {
        Script s{Action::ReadHead()};
        for (char c : Ok(std::string(200, 'x'))) {
            s.push_back(Action::Send(std::string(1, c)));
            s.push_back(Action::Sleep(50));
        }
        s.push_back(Action::WaitForPeerClose());
        return s;
    };
    ScriptedServer server({trickle(), trickle()});
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/feed";
    CliRun get = RunCli({"get", "--timeout", "5000", "--max-time", "300", url});
    EXPECT_EQ(get.status, 1);
    EXPECT_EQ(get.err, "ERR EIdDeadlineExceeded: The request did not finish within 300 ms.\n");
    CliRun headlines = RunCli({"headlines", "--url", url, "--max-time", "300"});
    EXPECT_EQ(headlines.status, 1);
    EXPECT_EQ(headlines.err,
              "zelmora-cli headlines: EIdDeadlineExceeded: The request did not finish within 300 ms.\n");
}

TEST_F(CliTimeouts, ZeroMeansNoLimitAndOtherValuesAreRefused) {
    ScriptedServer server({Join({Reply(Ok("fine")), {Action::WaitForPeerClose()}})});
    CliRun ok = RunCli({"get", "--timeout", "0", "--connect-timeout", "0",
                        "http://127.0.0.1:" + std::to_string(server.Port()) + "/x"});
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, "fine");
    EXPECT_EQ(RunCli({"get", "--timeout", "-5", "http://x/"}).status, 2);
    EXPECT_EQ(RunCli({"get", "--connect-timeout", "soon", "http://x/"}).status, 2);
    EXPECT_EQ(RunCli({"get", "--timeout"}).status, 2);
    EXPECT_EQ(RunCli({"get", "--max-time", "-1", "http://x/"}).status, 2);
    EXPECT_EQ(RunCli({"headlines", "--url", "http://x/", "--timeout", "1s"}).status, 1);
}
