// zelmora-cli headlines cuts a saved feed by the reader's own rules: one line per title and
// per link whatever line breaks they hold, one headline for a title found again, and a feed
// whose headlines pass their bound refused with status 1. Only the portal's feeds get the
// redirect prefix; what is no regular file is refused at once.
#include "tests/support/CliRunner.h"
#include "tests/support/ScriptedServer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

using namespace zeltest;

namespace {

namespace fs = std::filesystem;

CliRun headlines(const TempDir& dir, const std::string& feed, std::vector<std::string> more = {}) {
    WriteFile(dir.File("feed.xml"), feed);
    more.insert(more.begin(), {"headlines", dir.File("feed.xml")});
    return RunCli(more);
}

} // namespace

TEST(CliHeadlines, FollowsTheReadersRulesForHostileFeeds) {
    ASSERT_TRUE(fs::exists(CliPath())) << CliPath() << " is missing";
    TempDir dir;
    const std::string prefix = "http://go.zelmora-news.example/go/?url=";

    // A saved portal feed, named by its URL: its links go through the redirector.
    const std::vector<std::string> portal = {"--base", "http://rss.zelmora-news.example/rss/world.xml"};
    CliRun r =
        headlines(dir, "<item><title>two\r\nlines</title><link>http://a.test/\n1</link></item>", portal);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "two  lines\r\n" + prefix + "http://a.test/1\r\n");

    r = headlines(dir, "            <title>Chan</title><link>http://c.test/</link>", portal);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Chan\r\n" + prefix + "http://c.test/\r\n");

    // Without items, every title takes the one huge link after them.
    std::string many;
    for (int i = 0; i < 100; ++i)
        many += "<title>t</title>";
    r = headlines(dir, many + "<link>" + std::string(100000, 'L') + "</link>");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("EFeedTooLarge"), std::string::npos) << r.err;
}

TEST(CliHeadlines, AnyOtherFeedPrintsItsOwnLinksAndTitlesInTheCodePage) {
    TempDir dir;
    // GB2312 by the server's word over a wrong declaration, a relative link, an Atom entry.
    const std::string gb = "\xB9\xFA\xBC\xCA"; // 国际
    CliRun r = headlines(
        dir,
        "<?xml version='1.0' encoding='utf-8'?><rss><item><title>" + gb +
            " &amp; &#x1F600;</title><link>../b/1.html</link></item></rss>",
        {"--base", "http://n.test/a/feed.xml", "--content-type", "application/rss+xml; charset=gb2312"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, gb + " & \x94\x39\xFC\x36\r\nhttp://n.test/b/1.html\r\n");

    r = headlines(dir, "<feed><title>F</title><entry><title type='html'>&lt;b&gt;A&lt;/b&gt;</title>"
                       "<link href='http://n.test/e'/></entry></feed>");
    EXPECT_EQ(r.out, "A\r\nhttp://n.test/e\r\n");
}

TEST(CliHeadlines, RefusesAFifoAndADeviceAtOnce) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    CliRun r = RunCli({"headlines", dir.File("fifo")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Not a regular file"), std::string::npos) << r.err;
    r = RunCli({"headlines", "/dev/zero"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Not a regular file"), std::string::npos) << r.err;
}

TEST(CliHeadlines, WithAUrlTheResponsesCharsetCountsAndLinksResolveAgainstIt) {
    const std::string gbk = "\xB9\xFA\xBC\xCA\xCA\xB1\xCA\xC2"; // 国际时事, read as UTF-8 only U+FFFD
    const std::string feed =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><rss><channel><title>C</title><item><title>" + gbk +
        "</title><link>item/1.html</link></item></channel></rss>";
    ScriptedServer server({{Action::ReadHead(),
                            Action::Send(HttpResponse("HTTP/1.1 200 OK",
                                                      {"Content-Type: text/xml; charset=GBK",
                                                       "Content-Length: " + std::to_string(feed.size())},
                                                      feed)),
                            Action::Close()}});
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/feeds/news.xml";
    CliRun r = RunCli({"headlines", "--url", url});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              gbk + "\r\nhttp://127.0.0.1:" + std::to_string(server.Port()) + "/feeds/item/1.html\r\n");
}
