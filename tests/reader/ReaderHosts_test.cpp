#include "reader/TReaderHosts.h"

#include "framework/core/TIniFile.h"
#include "reader/NewsCategories.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <set>

TEST(ReaderHosts, BuiltInHostsAreReservedExampleNames) {
    TReaderHosts hosts;
    for (const std::string* h : {&hosts.Feed(), &hosts.Site(), &hosts.IpLookup(), &hosts.Redirect()})
        EXPECT_TRUE(h->ends_with(".example")) << *h;
    EXPECT_EQ(hosts.FeedUrl(*FindCategory("N27")), "http://rss.zelmora-news.example/rss/world.xml");
    EXPECT_EQ(hosts.RedirectPrefix(), "http://go.zelmora-news.example/go/?url=");
}

TEST(ReaderHosts, TheHostsSectionOverridesEachHostAndBadValuesAreIgnored) {
    TempDir dir;
    TempDir::Put(dir.File("config.ini"), "[proxy]\r\nip=\r\n[Hosts]\r\nFEED=127.0.0.1:8480\r\n"
                                         "site= http://localhost:9000/ \r\niplookup=evil.test/path?q=\r\n"
                                         "redirect=go.test:99999\r\n");
    TReaderHosts hosts{TIniFile(dir.File("config.ini"))};
    EXPECT_EQ(hosts.Feed(), "127.0.0.1:8480");
    EXPECT_EQ(hosts.Site(), "localhost:9000");
    EXPECT_EQ(hosts.IpLookup(), kDefaultIpLookupHost);
    EXPECT_EQ(hosts.Redirect(), kDefaultRedirectHost);

    EXPECT_EQ(hosts.FeedUrl(*FindCategory("EnglishNews1")), "http://127.0.0.1:8480/rss/english.xml");
    EXPECT_EQ(hosts.PageUrl(*FindFixedPage("N25")), "http://localhost:9000/weather/");
    EXPECT_EQ(hosts.PageUrl(*FindFixedPage("N24")), "http://localhost:9000/zelnews");
    EXPECT_EQ(hosts.PageUrl(*FindFixedPage("N19")), "http://localhost:9000");
    EXPECT_EQ(hosts.PageUrl(*FindFixedPage("IP1")), "http://ip.zelmora-news.example/");
}

TEST(ReaderHosts, HostValuesAreHostOrHostColonPortOnly) {
    std::string h;
    for (const char* good :
         {"a.b", "127.0.0.1", "127.0.0.1:1", "x-y_z:65535", "[::1]:8080", "[::1]", "HTTP://h/", "Http://h:8"})
        EXPECT_TRUE(TReaderHosts::NormalizeHost(good, h)) << good;
    for (const char* bad : {"", " ", "a b", "h:0", "h:", ":80", "user@h", "h/x", "h?x", "h#x", "h:80:81",
                            "[::1", "[]", "h:8o", "\xE4\xB8\xAD.cn"})
        EXPECT_FALSE(TReaderHosts::NormalizeHost(bad, h)) << bad;
}

TEST(NewsCategories, TwelveCategoriesWithDistinctFeedsAndEveryMenuLeafHasACommand) {
    auto cats = NewsCategories();
    ASSERT_EQ(cats.size(), 12u);
    std::set<std::string> paths;
    for (const auto& c : cats) {
        EXPECT_TRUE(std::string(c.feedPath).starts_with("/rss/"));
        EXPECT_TRUE(std::string(c.listCaption).starts_with("新闻标题("));
        paths.insert(c.feedPath);
    }
    EXPECT_EQ(paths.size(), 12u);
    EXPECT_STREQ(FindCategory("N10")->listCaption, "新闻标题(财经要文)");
    EXPECT_STREQ(FindCategory("EnglishNews1")->listCaption, "新闻标题(English News|英语新闻)");
    EXPECT_EQ(FindCategory("N21"), nullptr);

    // Every category and fixed page is a menu item, under an item that exists.
    std::set<std::string> items;
    for (const auto& m : MainMenuTree()) {
        EXPECT_TRUE(std::string(m.parent).empty() || items.count(m.parent)) << m.itemName;
        items.insert(m.itemName);
    }
    for (const auto& c : cats)
        EXPECT_TRUE(items.count(c.itemName)) << c.itemName;
    for (const auto& p : FixedPages())
        EXPECT_TRUE(items.count(p.itemName)) << p.itemName;
}

TEST(ReaderHosts, TheFeedsSectionPointsCategoriesAtAnyFeedWhoseLinksOpenDirectly) {
    TempDir dir;
    TempDir::Put(
        dir.File("config.ini"),
        "[hosts]\r\nfeed=127.0.0.1:8480\r\n[feeds]\r\nworld=http://127.0.0.1:8480/feeds/atom.xml\r\n"
        "NATIVE= HTTPS://news.test:8443/rss?x=1 \r\nmil=ftp://x.test/feed\r\nfortune=http:///nohost\r\n"
        "it=http://a b.test/\r\nlegal=http://u@evil.test/\r\nsports=/rss/local.xml\r\n"
        "english=http://h.test:99999/\r\n");
    TReaderHosts hosts{TIniFile(dir.File("config.ini"))};
    EXPECT_EQ(hosts.FeedUrl(*FindCategory("N27")), "http://127.0.0.1:8480/feeds/atom.xml");
    EXPECT_EQ(hosts.FeedUrl(*FindCategory("N28")), "HTTPS://news.test:8443/rss?x=1");
    // Not an absolute http(s) URL with a good host: the built-in feed stays.
    for (const char* item : {"N31", "N10", "IT1", "N8", "N6", "EnglishNews1", "N7"}) {
        const TNewsCategory& c = *FindCategory(item);
        EXPECT_EQ(hosts.FeedUrl(c), std::string("http://127.0.0.1:8480") + c.feedPath) << item;
    }
    EXPECT_EQ(TReaderHosts::FeedKey(*FindCategory("EnglishNews1")), "english");
    EXPECT_EQ(TReaderHosts::FeedKey(*FindCategory("N10")), "fortune");

    // The portal's own feeds go through the redirector, any other straight to its links.
    EXPECT_EQ(hosts.RedirectPrefixFor("http://127.0.0.1:8480/rss/mil.xml"), hosts.RedirectPrefix());
    EXPECT_EQ(hosts.RedirectPrefixFor(hosts.FeedUrl(*FindCategory("N27"))), "");
    EXPECT_EQ(hosts.RedirectPrefixFor("http://127.0.0.1:8480/rss/other.xml"), "");
    EXPECT_EQ(hosts.RedirectPrefixFor(""), "");
}
