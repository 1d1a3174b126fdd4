// zelmora-cli's --connect-timeout and --timeout, for get and headlines --url: a silent server ends
// in the client's time-out instead of holding the command for good.
#include "tests/http/HttpFixture.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace zeltest;
namespace fs = std::filesystem;

namespace {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The build gives the tool's path and builds the tool before this test.
fs::path cliPath() {
    return ZEL_CLI_PATH;
}

CliRun runCli(const std::vector<std::string>& args) {
    fs::path dir = fs::temp_directory_path() / ("clitimeouts-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string cmd = "'" + cliPath().string() + "'";
    for (const std::string& a : args)
        cmd += " '" + a + "'";
    cmd += " >'" + (dir / "out").string() + "' 2>'" + (dir / "err").string() + "' </dev/null";
    CliRun r;
    int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = readAll(dir / "out");
    r.err = readAll(dir / "err");
    fs::remove_all(dir);
    return r;
}

class CliTimeouts : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fs::exists(cliPath())) << cliPath() << " is missing"; }
};

} // namespace

TEST_F(CliTimeouts, GetGivesUpOnASilentServer) {
    ScriptedServer server({{Action::ReadHead(), Action::WaitForPeerClose()}});
    CliRun r = runCli({"get", "--connect-timeout", "5000", "--timeout", "300",
                       "http://127.0.0.1:" + std::to_string(server.Port()) + "/feed"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERR EIdReadTimeout: Read Timeout\n");
}

TEST_F(CliTimeouts, HeadlinesGivesUpOnASilentServer) {
    ScriptedServer server({{Action::ReadHead(), Action::WaitForPeerClose()}});
    CliRun r = runCli({"headlines", "--url", "http://127.0.0.1:" + std::to_string(server.Port()) + "/feed",
                       "--timeout", "300"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zelmora-cli headlines: EIdReadTimeout: Read Timeout\n");
}

TEST_F(CliTimeouts, ZeroMeansNoLimitAndOtherValuesAreRefused) {
    ScriptedServer server({Join({Reply(Ok("fine")), {Action::WaitForPeerClose()}})});
    CliRun ok = runCli({"get", "--timeout", "0", "--connect-timeout", "0",
                        "http://127.0.0.1:" + std::to_string(server.Port()) + "/x"});
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, "fine");
    EXPECT_EQ(runCli({"get", "--timeout", "-5", "http://x/"}).status, 2);
    EXPECT_EQ(runCli({"get", "--connect-timeout", "soon", "http://x/"}).status, 2);
    EXPECT_EQ(runCli({"get", "--timeout"}).status, 2);
    EXPECT_EQ(runCli({"headlines", "--url", "http://x/", "--timeout", "1s"}).status, 1);
}
