#include "reader/FeedCutter.h"

#include "framework/core/CodePage.h"
#include "reader/FeedTitle.h"
#include "reader/FetchHeadlines.h"
#include "reader/HeadlineLines.h"
#include "reader/THeadlineStore.h"
#include "tests/reader/StepByStepFeed.h"

#include <gtest/gtest.h>
#include <random>
#include <stdexcept>

namespace {

const std::string kPrefix = "http://go.test/go/?url=";

std::vector<THeadlineItem> cut(const std::string& body) {
    THeadlineStore store;
    CutHeadlines(body, kPrefix, store);
    std::vector<THeadlineItem> items;
    for (int i = 0; i < store.Count(); ++i)
        items.push_back(store.Item(i));
    return items;
}

std::string item(const std::string& title, const std::string& link) {
    return "<item><title>" + title + "</title><link>" + link + "</link><description>d</description></item>\n";
}

std::string feed(const std::string& items) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<rss version=\"2.0\"><channel><title>频道</title>"
           "<link>http://news.test/</link>\n" +
           items + "</channel></rss>\n";
}

} // namespace

TEST(FeedCutter, TakesTitlesAndLinksOfItemsButNotTheChannel) {
    auto items =
        cut(feed(item("国际新闻一", "http://a.test/1.html") + item("Second", "http://a.test/2.html")));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].title, Utf8ToAnsi("国际新闻一"));
    EXPECT_EQ(items[0].link, kPrefix + "http://a.test/1.html");
    EXPECT_EQ(items[1].title, "Second");
    EXPECT_EQ(items[1].link, kPrefix + "http://a.test/2.html");
}

TEST(FeedCutter, EmptyBodyGivesNoItems) {
    EXPECT_TRUE(cut("").empty());
    EXPECT_TRUE(cut("<rss><channel></channel></rss>").empty());
}

TEST(FeedCutter, WithoutItemTheChannelTitleIsTakenOnceThoughPassesFindItAgain) {
    // "<title>" starts at byte 18; each pass drops 6 bytes, so passes at 0, 6, 12 and 18 all see
    // it; only the first gives a headline.
    const std::string body = "<rss><channel>    <title>Chan</title><link>http://c.test/</link></channel>";
    auto items = cut(body);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, "Chan");
    EXPECT_EQ(items[0].link, kPrefix + "http://c.test/");
}

TEST(FeedCutter, ItemWithoutLinkTakesTheNextItemsLinkAndTheLastGetsNone) {
    auto items = cut(feed("<item><title>A</title></item>" + item("B", "http://b.test/") +
                          "<item><title>C</title><description>x</description></item>"));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].link, kPrefix + "http://b.test/");
    EXPECT_EQ(items[1].link, kPrefix + "http://b.test/");
    EXPECT_EQ(items[2].title, "C");
    EXPECT_EQ(items[2].link, kPrefix);
}

TEST(FeedCutter, CdataMarkersEntitiesAndMarkupStayInTheTitle) {
    auto items =
        cut(feed(item("<![CDATA[股市 & 汇市]]>", "http://x.test/?a=1&amp;b=2") + item("A &amp; B", "l")));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].title, Utf8ToAnsi("<![CDATA[股市 & 汇市]]>"));
    EXPECT_EQ(items[0].link, kPrefix + "http://x.test/?a=1&amp;b=2");
    EXPECT_EQ(items[1].title, "A &amp; B");
}

TEST(FeedCutter, SurroundingBlanksAndLineBreaksAreTrimmedFromTitlesOnly) {
    auto items = cut(feed(item("\r\n\t  新华社 报道 \t\r\n", " http://x.test/ ")));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, Utf8ToAnsi("新华社 报道"));
    EXPECT_EQ(items[0].link, kPrefix + " http://x.test/ ");
}

TEST(FeedCutter, BadUtf8EmptiesTheTitleButKeepsTheItem) {
    auto items = cut(feed(item("笑脸😀", "http://x.test/1") + item("好", "http://x.test/2")));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].title, "");
    EXPECT_EQ(items[0].link, kPrefix + "http://x.test/1");
    EXPECT_EQ(items[1].title, Utf8ToAnsi("好"));
}

TEST(FeedCutter, TagsMatchCaseSensitivelyAndMissingEndsGiveEmptyTexts) {
    EXPECT_TRUE(cut("<ITEM><TITLE>x</TITLE></ITEM>").empty());
    auto items = cut("<item><title>never closed<link>http://x.test/</link>");
    ASSERT_EQ(items.size(), 1u); // the next pass starts 6 bytes on, past "<title>"
    EXPECT_EQ(items[0].title, "");
    // No "<link>" at all: the link runs from the remaining text's sixth byte to "</link>".
    items = cut("<item><title>T</title>abc</link></item>");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].link, kPrefix + "<title>T</title>abc");
}

TEST(FeedCutter, TenItemsGiveTwentyLinesAlternatingWithSeparators) {
    std::string items;
    for (int i = 0; i < 10; ++i)
        items += item("标题" + std::to_string(i), "http://x.test/" + std::to_string(i));
    THeadlineStore store;
    CutHeadlines(feed(items), kPrefix, store);
    auto lines = HeadlineListLines(store);
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[19], " ");
    EXPECT_EQ(lines[18], Utf8ToAnsi("标题9"));
    EXPECT_TRUE(IsHeadlineLine(18));
    EXPECT_FALSE(IsHeadlineLine(19));
    EXPECT_FALSE(IsHeadlineLine(-1));
    EXPECT_EQ(*LinkOfLine(store, 18), kPrefix + "http://x.test/9");
    EXPECT_EQ(LinkOfLine(store, 19), nullptr);
    EXPECT_EQ(TitleOfLine(store, 20), nullptr); // past the store
    // "标题9" is five GBK bytes; longest is 5, so with "A" 7 wide the extent is 40.
    EXPECT_EQ(LongestLineBytes(lines), 5u);
    EXPECT_EQ(HorizontalExtent(LongestLineBytes(lines), 7), 40);
}

TEST(FeedCutter, ExtentIsLongestLineTimesWidthOfAPlusFive) {
    EXPECT_EQ(HorizontalExtent(40, 7), 285);
    EXPECT_EQ(HorizontalExtent(0, 7), 5);
    EXPECT_EQ(HorizontalExtent(std::size_t(1) << 40, 8), 2147483647); // never wraps negative
}

TEST(FeedCutter, FetchFailureLeavesAnEmptyStoreAndSuccessFillsIt) {
    THeadlineStore store;
    store.Append({"old", "old"});
    std::string asked;
    bool ok = FetchHeadlines(
        store,
        [&](const std::string& url) -> std::string {
            asked = url;
            throw std::runtime_error("connection refused");
        },
        "http://feed.test/rss/world.xml", kPrefix);
    EXPECT_FALSE(ok);
    EXPECT_EQ(asked, "http://feed.test/rss/world.xml");
    EXPECT_EQ(store.Count(), 0);

    ok = FetchHeadlines(
        store, [&](const std::string&) { return feed(item("A", "a") + item("B", "b")); }, "u", kPrefix);
    EXPECT_TRUE(ok);
    EXPECT_EQ(store.Count(), 2);
    ok = FetchHeadlines(
        store, [&](const std::string&) { return feed(item("C", "c")); }, "u", kPrefix);
    EXPECT_TRUE(ok);
    EXPECT_EQ(store.Count(), 1); // a second fetch replaces the first list entirely
    EXPECT_EQ(store.Item(0).title, "C");
}

// The cutter must agree with the step-by-step algorithm on every input, however broken.
namespace {

void expectSameAsSteps(const std::string& body) {
    auto expected = stepbystep::Cut(body, kPrefix);
    auto actual = cut(body);
    ASSERT_EQ(actual.size(), expected.size()) << "body: " << body;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(actual[i].title, expected[i].title) << "item " << i << " of body: " << body;
        ASSERT_EQ(actual[i].link, expected[i].link) << "item " << i << " of body: " << body;
    }
}

} // namespace

TEST(FeedCutter, AgreesWithTheStepsOnEveryPrefixOfARealisticFeed) {
    std::string body =
        feed(item(" 联合国大会开幕 ", "http://a.test/1") + "<item><title>无链接</title></item>" +
             item("<![CDATA[五月 & 六月]]>", "http://a.test/3") + item("😀", "http://a.test/4") +
             item("English headline", "http://a.test/5"));
    for (std::size_t n = 0; n <= body.size(); ++n)
        expectSameAsSteps(body.substr(0, n));
    // And every suffix, which starts the text in the middle of tags.
    for (std::size_t n = 0; n <= body.size(); ++n)
        expectSameAsSteps(body.substr(n));
}

TEST(FeedCutter, AgreesWithTheStepsOnGeneratedTagSoup) {
    const std::vector<std::string> pieces = {
        "<item>",    "</item>", "<title>",   "</title>",     "<link>", "</link>", "<",      ">",    "/",
        "a",         "xyz",     " ",         "\r\n",         "\t",     "中",      "新闻",   "\xE4", "\x80",
        "\xBF",      "😀",       "<![CDATA[", "]]>",          "<titl",  "item>",   "</titl", "<lin", "k>",
        "<channel>", "&amp;",   "\xC3\xA9",  "\xED\xA0\x80", "\x01"};
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 60);
    for (int round = 0; round < 20000; ++round) {
        std::string body;
        for (int k = length(rng); k > 0; --k)
            body += pieces[pick(rng)];
        expectSameAsSteps(body);
    }
}

TEST(FeedCutter, AgreesWithTheStepsOnLongFeedsWithMissingTags) {
    std::mt19937 rng(7);
    for (int round = 0; round < 50; ++round) {
        std::string items;
        for (int i = 0; i < 200; ++i) {
            int drop = static_cast<int>(rng() % 8); // 0..3 drop one tag, the rest keep them all
            std::string it = "<item>";
            if (drop != 0)
                it += "<title> 标题" + std::to_string(i) + " </title>";
            if (drop != 1)
                it += "<link>http://a.test/" + std::to_string(i) + "</link>";
            if (drop == 2)
                it += "<link>only open";
            if (drop != 3)
                it += "</item>";
            items += it + "\n";
        }
        expectSameAsSteps(feed(items));
    }
}
