// Feeds that used to corrupt list files or blow up memory: line breaks inside titles and
// links, feeds without "</item>" (a title run of spaces, an Atom feed), and the bound on the
// headlines of one feed.
#include "framework/core/CodePage.h"
#include "reader/EFeedTooLarge.h"
#include "reader/FeedCutter.h"
#include "reader/FetchHeadlines.h"
#include "reader/HeadlineListFile.h"
#include "reader/THeadlineStore.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

const std::string kPrefix = "http://go.test/go/?url=";

std::vector<THeadlineItem> items(const THeadlineStore& store) {
    std::vector<THeadlineItem> out;
    for (int i = 0; i < store.Count(); ++i)
        out.push_back(store.Item(i));
    return out;
}

std::string rss(const std::string& body) {
    return "<?xml version=\"1.0\"?><rss><channel><title>C</title><link>http://c.test/</link>" + body +
           "</channel></rss>";
}

} // namespace

TEST(HostileFeeds, LineBreaksAndTabsInTitlesAndLinksSurviveASaveAndLoad) {
    const std::string body = rss(
        "<item><title>Line one\nline two</title><link>http://a.test/\r\n1</link></item>"
        "<item><title>\r\n\tIndented\ttitle\r\nwith CR LF\r\n</title><link>\thttp://a.test/2\n</link></item>"
        "<item><title>国际\r新闻</title><link>http://a.test/3</link></item>"
        // An over-long two-byte form of LF is no line break but two malformed bytes.
        "<item><title>over\xC0\x8Along</title><link>http://a.test/4</link></item>");
    THeadlineStore cut;
    ASSERT_EQ(CutHeadlines(body, TFeedOrigin{"", "", kPrefix}, cut), 4u);
    EXPECT_EQ(items(cut), (std::vector<THeadlineItem>{
                              {"Line one line two", kPrefix + "http://a.test/1"},
                              {"Indented title  with CR LF", kPrefix + "http://a.test/2"},
                              {Utf8ToAnsi("国际 新闻"), kPrefix + "http://a.test/3"},
                              {"over" + Utf8ToAnsi("\uFFFD\uFFFD") + "long", kPrefix + "http://a.test/4"},
                          }));

    TempDir dir;
    ASSERT_TRUE(SaveHeadlineList(dir.File("list.txt"), cut));
    THeadlineStore loaded;
    EXPECT_EQ(ImportHeadlineList(dir.File("list.txt"), loaded), 4);
    EXPECT_EQ(items(loaded), items(cut));
}

TEST(HostileFeeds, ATitleAfterARunOfSpacesWithoutItemEndGivesOneHeadline) {
    // 610 KB: 600,000 blanks, then one 10,000-byte title. Each pass consumes 6 blanks and finds
    // the same "<title>" again; it is one headline, not 100,001 copies of 10 KB each, and its
    // title is cut to 4 KiB.
    const std::string title(10000, 'x');
    const std::string body =
        std::string(600000, ' ') + "<title>" + title + "</title><link>http://a.test/</link>";
    THeadlineStore store;
    EXPECT_EQ(CutHeadlines(body, TFeedOrigin{"", "", kPrefix}, store), 1u);
    ASSERT_EQ(store.Count(), 1);
    EXPECT_EQ(store.Item(0).title, std::string(kTitleCapBytes, 'x'));
    EXPECT_EQ(store.Item(0).link, kPrefix + "http://a.test/");
    EXPECT_EQ(store.ArrayLength(), 1u);
}

TEST(HostileFeeds, AnAtomFeedGivesOneHeadlinePerEntryAndNotItsOwnTitle) {
    std::string body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                       "<feed xmlns=\"http://www.w3.org/2005/Atom\">\n  <title>Zelmora Atom</title>\n"
                       "  <link href=\"http://a.test/\"/>\n  <updated>2024-05-20T18:30:00Z</updated>\n";
    for (int i = 0; i < 20; ++i)
        body += "  <entry>\n    <title>Entry number " + std::to_string(i) +
                "</title>\n    <link href=\"http://a.test/" + std::to_string(i) +
                "\"/>\n    <id>urn:entry:" + std::to_string(i) +
                "</id>\n    <summary>Some words about the entry.</summary>\n  </entry>\n";
    body += "</feed>\n";
    THeadlineStore store;
    CutHeadlines(body, TFeedOrigin{"", "", kPrefix}, store);
    ASSERT_EQ(store.Count(), 20);
    EXPECT_EQ(store.Item(0).title, "Entry number 0");
    EXPECT_EQ(store.Item(19).title, "Entry number 19");
    EXPECT_EQ(store.Item(19).link, kPrefix + "http://a.test/19");
}

TEST(HostileFeeds, HeadlinesPastTheirBoundFailTheFetchAndLeaveNothing) {
    // A feed without items is cut from the left: every title takes the one huge link after them.
    const std::string hugeLink = "<link>" + std::string(100000, 'L') + "</link>";
    std::string many;
    for (int i = 0; i < 100; ++i)
        many += "<title>t" + std::to_string(i) + "</title>";
    const std::string tooMuch = rss(many + hugeLink);
    THeadlineStore store;
    EXPECT_THROW(CutHeadlines(tooMuch, TFeedOrigin{"", "", kPrefix}, store), EFeedTooLarge);
    EXPECT_LE(store.Count(), 20); // stopped at the bound, 4 x 103 KB + 1 MiB

    store.Append({"old", "old"});
    EXPECT_FALSE(FetchHeadlines(
        store,
        [&](const std::string&) {
            return TFeedBody{tooMuch, ""};
        },
        "http://feed.test/", kPrefix));
    EXPECT_EQ(store.Count(), 0);

    // Five such titles (and the channel's) stay within the bound and are all kept.
    std::string few;
    for (int i = 0; i < 5; ++i)
        few += "<title>t" + std::to_string(i) + "</title>";
    EXPECT_TRUE(FetchHeadlines(
        store,
        [&](const std::string&) {
            return TFeedBody{rss(few + hugeLink), ""};
        },
        "http://feed.test/", kPrefix));
    EXPECT_EQ(store.Count(), 6);
    EXPECT_EQ(HeadlineBytesBound(1000), 4000u + 1048576u);
}

TEST(HostileFeeds, ASavedListBehindALinkUpdatesTheLinksTarget) {
    TempDir dir;
    THeadlineStore store;
    store.Append({"title", "link"});
    TempDir::Put(dir.File("kept.txt"), "old\r\n");
    std::filesystem::create_symlink("kept.txt", dir.File("news.txt"));
    ASSERT_TRUE(SaveHeadlineList(dir.File("news.txt"), store));
    EXPECT_TRUE(std::filesystem::is_symlink(std::filesystem::symlink_status(dir.File("news.txt"))));
    EXPECT_EQ(TempDir::Get(dir.File("kept.txt")), "title\r\nlink\r\n");
}
