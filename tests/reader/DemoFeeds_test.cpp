// The bundled demo site must give every category a list a newcomer can use: headlines that
// decode, links that lead to article pages, and the awkward shapes real feeds have.
#include "framework/core/CodePage.h"
#include "framework/core/TextFile.h"
#include "reader/FeedCutter.h"
#include "reader/NewsCategories.h"
#include "reader/THeadlineStore.h"
#include "tests/reader/SourceTree.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

const std::filesystem::path kSite = zeltest::SourceTree() / "demo" / "site";
const std::string kArticleHost = "http://article.zelmora-news.example";

} // namespace

TEST(DemoFeeds, EveryCategoryHasTwentyToFortyHeadlinesLeadingToArticles) {
    int cdata = 0, padded = 0, linkless = 0;
    for (const TNewsCategory& c : NewsCategories()) {
        SCOPED_TRACE(c.feedPath);
        const std::string body = ReadFileBytes((kSite / std::string(c.feedPath).substr(1)).string());
        THeadlineStore store;
        CutHeadlines(body, TFeedOrigin{}, store);
        EXPECT_GE(store.Count(), 20);
        EXPECT_LE(store.Count(), 40);
        for (int i = 0; i < store.Count(); ++i) {
            const THeadlineItem& item = store.Item(i);
            EXPECT_FALSE(item.title.empty()) << i;
            if (std::string(c.itemName) == "EnglishNews1") {
                EXPECT_EQ(AnsiToUtf8(item.title), item.title) << "not English: " << item.title;
            }
            EXPECT_FALSE(item.title.starts_with("<![CDATA[")) << "CDATA gives its content";
            ASSERT_TRUE(item.link.starts_with(kArticleHost)) << item.link;
            const std::string page =
                ReadFileBytes((kSite / item.link.substr(kArticleHost.size() + 1)).string());
            EXPECT_NE(page.find("<h1>" + AnsiToUtf8(item.title) + "</h1>"), std::string::npos)
                << "the headline leads to its own article: " << item.link;
        }
        for (std::size_t p = body.find("<title><![CDATA["); p != std::string::npos;
             p = body.find("<title><![CDATA[", p + 1))
            ++cdata;
        for (std::size_t p = body.find("<title>\n"); p != std::string::npos;
             p = body.find("<title>\n", p + 1))
            ++padded;
        for (std::size_t p = body.find("<item>"); p != std::string::npos; p = body.find("<item>", p + 1)) {
            std::size_t end = body.find("</item>", p);
            if (body.substr(p, end - p).find("<link>") == std::string::npos)
                ++linkless;
        }
    }
    EXPECT_GE(cdata, 3);
    EXPECT_GE(padded, 3);
    EXPECT_GE(linkless, 2);
}

TEST(DemoFeeds, AwkwardItemsOnlyInEnglishNewsAndOneOtherCategory) {
    std::vector<std::string> awkward;
    for (const TNewsCategory& c : NewsCategories()) {
        SCOPED_TRACE(c.feedPath);
        const std::string body = ReadFileBytes((kSite / std::string(c.feedPath).substr(1)).string());
        THeadlineStore store;
        CutHeadlines(body, TFeedOrigin{}, store);
        bool odd = body.find("<title>\n") != std::string::npos;
        odd = odd || body.find("<title><![CDATA[") != std::string::npos;
        for (std::size_t p = body.find("<item>"); p != std::string::npos; p = body.find("<item>", p + 1))
            odd = odd || body.substr(p, body.find("</item>", p) - p).find("<link>") == std::string::npos;
        if (odd)
            awkward.push_back(c.itemName);
    }
    // 国际时事 (N27) and 国内社会 (N28), under 时事新闻, are the lists a newcomer opens first.
    ASSERT_EQ(awkward.size(), 2u);
    EXPECT_EQ(awkward[1], "EnglishNews1");
    EXPECT_NE(awkward[0], "N27");
    EXPECT_NE(awkward[0], "N28");
}

TEST(DemoFeeds, TheAtomAndGb2312FeedsGiveTheirEntriesWithLinksToArticles) {
    for (const char* name : {"atom.xml", "gb2312.xml"}) {
        SCOPED_TRACE(name);
        const std::string body = ReadFileBytes((kSite / "feeds" / name).string());
        const std::string url = std::string("http://127.0.0.1:8480/feeds/") + name;
        THeadlineStore store;
        // As the demo serves them: the Atom feed says UTF-8, the other names its set only inside.
        const char* type =
            std::string(name) == "atom.xml" ? "application/atom+xml; charset=utf-8" : "application/rss+xml";
        CutHeadlines(body, TFeedOrigin{url, type, ""}, store);
        ASSERT_EQ(store.Count(), 15);
        for (int i = 0; i < store.Count(); ++i) {
            const std::string title = AnsiToUtf8(store.Item(i).title);
            EXPECT_EQ(title.find_first_of("<>"), std::string::npos) << title; // no markup left
            EXPECT_EQ(title.find("\uFFFD"), std::string::npos) << title;
            const std::string& link = store.Item(i).link;
            ASSERT_TRUE(link.starts_with("http://127.0.0.1:8480/news/")) << link;
            EXPECT_TRUE(std::filesystem::is_regular_file(kSite / link.substr(22))) << link;
        }
    }
}
