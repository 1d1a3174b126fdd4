// What zelmora-cli prints from a server or a file reaches a terminal: control bytes come out as
// \xNN, so nothing can retitle or clear the terminal or forge a line, and a NUL cuts nothing.
#include "tests/http/HttpFixture.h"
#include "tests/support/CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace zeltest;
namespace fs = std::filesystem;

namespace {

// A lone CR would take the cursor back to forge an "OK" line; a NUL once cut the message.
const std::string kHostile = std::string("\x1b]0;owned\x07\x1b[2J\rOK ") + '\0' + "tail";
const std::string kShown = "\\x1B]0;owned\\x07\\x1B[2J\\rOK \\x00tail";

std::string url(const ScriptedServer& s) {
    return "http://127.0.0.1:" + std::to_string(s.Port()) + "/feed.xml";
}

} // namespace

TEST(CliControlBytes, GetStatusAndErrorLines) {
    ScriptedServer server({Join({Reply("HTTP/1.1 200 " + kHostile + "\r\nContent-Length: 2\r\n\r\nok"),
                                 Reply("HTTP/1.1 404 " + kHostile + "\r\nContent-Length: 0\r\n\r\n"),
                                 {Action::WaitForPeerClose()}})});
    CliRun r = RunCli({"get", url(server), url(server)});
    EXPECT_EQ(r.out, "ok");
    EXPECT_EQ(r.err,
              "OK HTTP/1.1 200 " + kShown + "\nERR EIdHTTPProtocolException: HTTP/1.1 404 " + kShown + "\n");
}

TEST(CliControlBytes, HeadlinesErrors) {
    ScriptedServer server({Join({Reply("HTTP/1.1 500 " + kHostile + "\r\nContent-Length: 0\r\n\r\n"),
                                 {Action::WaitForPeerClose()}})});
    CliRun r = RunCli({"headlines", "--url", url(server)});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zelmora-cli headlines: EIdHTTPProtocolException: HTTP/1.1 500 " + kShown + "\n");
}

TEST(CliControlBytes, ThemeListNamesAndTexts) {
    const fs::path dir = fs::temp_directory_path() / ("cli-control-bytes-" + std::to_string(::getpid()));
    fs::create_directories(dir / "src");
    std::ofstream(dir / "src" / "values.ini") << "[text]\nName=Gr\x1b]0;owned\x07\x1b[2Jeen\n";
    ASSERT_EQ(RunCli({"theme", "pack", (dir / "src").string(), (dir / "t.sui").string()}).status, 0);
    CliRun r = RunCli({"theme", "list", (dir / "t.sui").string()});
    fs::remove_all(dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("  \"Gr\\x1B]0;owned\\x07\\x1B[2Jeen\"\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find('\x1b'), std::string::npos);
}
