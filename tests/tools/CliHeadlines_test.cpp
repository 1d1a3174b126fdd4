// zelmora-cli headlines cuts a saved feed by the reader's own rules: one line per title and
// per link whatever line breaks they hold, one headline for a title found again, and a feed
// whose headlines pass their bound refused with status 1.
#include "tests/support/CliRunner.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zeltest;

namespace {

namespace fs = std::filesystem;

CliRun headlines(const TempDir& dir, const std::string& feed) {
    WriteFile(dir.File("feed.xml"), feed);
    return RunCli({"headlines", dir.File("feed.xml")});
}

} // namespace

TEST(CliHeadlines, FollowsTheReadersRulesForHostileFeeds) {
    ASSERT_TRUE(fs::exists(CliPath())) << CliPath() << " is missing";
    TempDir dir;
    const std::string prefix = "http://go.zelmora-news.example/go/?url=";

    CliRun r = headlines(dir, "<item><title>two\r\nlines</title><link>http://a.test/\n1</link></item>");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "two  lines\r\n" + prefix + "http://a.test/1\r\n");

    r = headlines(dir, "            <title>Chan</title><link>http://c.test/</link>");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Chan\r\n" + prefix + "http://c.test/\r\n");

    std::string many;
    for (int i = 0; i < 100; ++i)
        many += "<item><title>t</title></item>";
    r = headlines(dir, many + "<link>" + std::string(100000, 'L') + "</link>");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("EFeedTooLarge"), std::string::npos) << r.err;
}
