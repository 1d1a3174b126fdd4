#include "HostileCookies.h"
#include "http/TIdCookieManager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

namespace {

constexpr int64_t kStart = 1700000000;

struct Jar : TIdCookieManager {
    int64_t now = kStart;
    Jar() {
        SetClock([this] { return now; });
    }
};

TEST(TIdCookieManager, ACookieSetByAHostGoesBackToIt) {
    Jar jar;
    jar.AddServerCookie("a=1", "news.example.com");
    EXPECT_EQ(jar.GenerateCookieList("news.example.com", "/rss/"), "a=1");
    EXPECT_EQ(jar.GenerateCookieList("news.example.com", "/rss/world.xml"), "a=1");
    EXPECT_EQ(jar.GenerateCookieList("NEWS.example.com", ""), "a=1");
    EXPECT_EQ(jar.CookieCollection().Count(), 1);
    EXPECT_STREQ(jar.CookieCollection().Find("news.example.com", "A")->ClassName(), "TIdCookieRFC2109");
}

TEST(TIdCookieManager, SameNameSameDomainKeepsOneEntryWithTheNewerValue) {
    Jar jar;
    jar.AddServerCookie("a=1; path=/x", "h.example.com");
    jar.AddServerCookie("b=2", "h.example.com");
    jar.AddServerCookie("A=3; path=/", "h.example.com"); // the path takes no part in the match
    EXPECT_EQ(jar.CookieCollection().Count(), 2);
    // Still first in its list: the newer cookie took the older one's place.
    EXPECT_EQ(jar.GenerateCookieList("h.example.com", "/"), "A=3; b=2");
}

TEST(TIdCookieManager, EmptyValueIsStoredButNeverSent) {
    Jar jar;
    jar.AddServerCookie("a=", "h.example.com");
    EXPECT_EQ(jar.CookieCollection().Count(), 1);
    EXPECT_EQ(jar.GenerateCookieList("h.example.com", "/"), "");
}

TEST(TIdCookieManager, PathMustBeAPrefixOfTheRequestDirectory) {
    Jar jar;
    jar.AddServerCookie("root=1", "h.example.com");
    jar.AddServerCookie("rss=1; path=/rss", "h.example.com");
    jar.AddServerCookie("deep=1; path=/rss/deep/", "h.example.com");
    jar.AddServerCookie("other=1; path=/other/", "h.example.com");
    EXPECT_EQ(jar.GenerateCookieList("h.example.com", "/rss/"), "root=1; rss=1");
    EXPECT_EQ(jar.GenerateCookieList("h.example.com", "/rss/deep/x.xml"), "root=1; rss=1; deep=1");
    EXPECT_EQ(jar.GenerateCookieList("h.example.com", "/"), "root=1");
}

TEST(TIdCookieManager, SecureCookiesGoOnlyOverSecureConnections) {
    Jar jar;
    jar.AddServerCookie("s=1; secure", "h.example.com");
    EXPECT_EQ(jar.GenerateCookieList("h.example.com", "/"), "");
    EXPECT_EQ(jar.GenerateCookieList("h.example.com", "/", true), "s=1");
}

TEST(TIdCookieManager, ExpiredCookiesAreRemovedBeforeTheNextRequest) {
    Jar jar;
    jar.AddServerCookie("short=1; max-age=10", "h.example.com");
    jar.AddServerCookie("dated=1; expires=" + IdInternetDate(kStart + 100), "h.example.com");
    jar.AddServerCookie("forever=1", "h.example.com");
    EXPECT_EQ(jar.GenerateCookieList("h.example.com", "/"), "short=1; dated=1; forever=1");
    jar.now = kStart + 10;
    EXPECT_EQ(jar.GenerateCookieList("h.example.com", "/"), "dated=1; forever=1");
    EXPECT_EQ(jar.CookieCollection().Count(), 2);
    jar.now = kStart + 1000;
    EXPECT_EQ(jar.GenerateCookieList("h.example.com", "/"), "forever=1");
    EXPECT_EQ(jar.CookieCollection().Count(), 1);
}

TEST(TIdCookieManager, AnExpiredCookieDeletesTheStoredOne) {
    Jar jar;
    jar.AddServerCookie("sid=abc", "h.example.com");
    jar.AddServerCookie("sid=; max-age=0", "h.example.com");
    EXPECT_EQ(jar.CookieCollection().Count(), 0);
    jar.AddServerCookie("sid=abc", "h.example.com");
    jar.AddServerCookie("sid=x; expires=Thu, 01 Jan 1970 00:00:00 GMT", "h.example.com");
    EXPECT_EQ(jar.GenerateCookieList("h.example.com", "/"), "");
}

TEST(TIdCookieManager, ParentDomainCookiesReachSubdomainsOnADotBoundary) {
    Jar jar;
    jar.AddServerCookie("p=1; domain=.example.com", "a.example.com");
    jar.AddServerCookie("q=1; domain=example.com", "a.b.example.com");
    EXPECT_EQ(jar.CookieCollection().DomainCount(), 1); // both kept under "example.com"
    EXPECT_EQ(jar.CookieCollection().DomainName(0), "example.com");
    EXPECT_EQ(jar.GenerateCookieList("x.y.example.com", "/"), "p=1; q=1");
    EXPECT_EQ(jar.GenerateCookieList("example.com", "/"), "p=1; q=1");
    EXPECT_EQ(jar.GenerateCookieList("badexample.com", "/"), "");
}

TEST(TIdCookieManager, LaterDomainEntriesComeFirstThenOrderOfStoring) {
    Jar jar;
    jar.AddServerCookie("d1=1; domain=example.com", "www.example.com");
    jar.AddServerCookie("h1=1", "www.example.com");
    jar.AddServerCookie("d2=1; domain=example.com", "www.example.com");
    jar.AddServerCookie("h2=1", "www.example.com");
    EXPECT_EQ(jar.GenerateCookieList("www.example.com", "/"), "h1=1; h2=1; d1=1; d2=1");
}

TEST(TIdCookieManager, SetCookie2MakesTheRfc2965KindAndHeaderListFeedsBoth) {
    Jar jar;
    TIdHeaderList head(TIdHeaderList::kMessageFoldLength);
    head.Add("Set-Cookie2: two=2; Version=1; Port=\"80\"");
    head.Add("Content-Type: text/xml");
    head.Add("set-cookie: one=1");
    head.Add("Set-Cookie2: bad=1; Port=\"eighty\"");
    jar.AddServerCookies(head, "h.example.com");
    EXPECT_EQ(jar.GenerateCookieList("h.example.com", "/"), "one=1; two=2");
    EXPECT_STREQ(jar.CookieCollection().Find("h.example.com", "two")->ClassName(), "TIdCookieRFC2965");
    EXPECT_EQ(jar.CookieCollection().Find("h.example.com", "bad"), nullptr);
}

TEST(TIdCookieManager, OnNewCookieCanRefuse) {
    Jar jar;
    std::vector<std::string> offered;
    jar.OnNewCookie = [&](TIdCookieManager* sender, TIdNetscapeCookie* c, bool& accept) {
        EXPECT_EQ(sender, &jar);
        offered.push_back(c->CookieName());
        accept = c->CookieName() != "tracker";
    };
    jar.AddServerCookie("tracker=1", "h.example.com");
    jar.AddServerCookie("keep=1", "h.example.com");
    jar.AddServerCookie("x=1; domain=evil.com", "h.example.com"); // invalid: never offered
    EXPECT_EQ(offered, (std::vector<std::string>{"tracker", "keep"}));
    EXPECT_EQ(jar.GenerateCookieList("h.example.com", "/"), "keep=1");
}

TEST(TIdCookieManager, CreateAndDestroyEvents) {
    int created = 0, destroyed = 0, leftAtDestroy = -1;
    {
        Jar jar;
        jar.OnCreate = [&](TIdCookieManager*, TIdCookies*) { ++created; };
        jar.OnDestroy = [&](TIdCookieManager*, TIdCookies* all) {
            ++destroyed;
            leftAtDestroy = all->Count();
        };
        jar.DoOnCreate();
        jar.AddServerCookie("a=1; max-age=5", "h.example.com");
        jar.AddServerCookie("b=1", "h.example.com");
        jar.now += 10;
    }
    EXPECT_EQ(created, 1);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(leftAtDestroy, 1); // expired ones go first
}

TEST(TIdCookieManager, DomainRules) {
    EXPECT_TRUE(TIdCookieManager::IsValidCookieDomain("example.com", "www.example.com"));
    EXPECT_TRUE(TIdCookieManager::IsValidCookieDomain(".Example.com", "www.EXAMPLE.com"));
    EXPECT_TRUE(TIdCookieManager::IsValidCookieDomain("localhost", "localhost"));
    EXPECT_FALSE(TIdCookieManager::IsValidCookieDomain("localhost", "x.localhost")); // bare name
    EXPECT_FALSE(TIdCookieManager::IsValidCookieDomain("com", "example.com"));
    EXPECT_FALSE(TIdCookieManager::IsValidCookieDomain("www.example.com", "example.com"));
    EXPECT_FALSE(TIdCookieManager::IsValidCookieDomain("", "example.com"));
    EXPECT_TRUE(TIdCookieManager::IsValidCookieDomain("10.0.0.1", " 10.0.0.1 "));
    EXPECT_FALSE(TIdCookieManager::IsValidCookieDomain("0.0.1", "10.0.0.1"));
    EXPECT_TRUE(TIdCookieManager::IsValidCookieDomain("[::1]", "[::1]"));
    EXPECT_FALSE(TIdCookieManager::IsValidCookieDomain("1]", "[::1]"));

    // A host or domain with blanks or control characters inside matches nothing.
    EXPECT_FALSE(TIdCookieManager::IsValidCookieDomain(".\texample.com", ".\texample.com"));
    EXPECT_FALSE(TIdCookieManager::IsValidCookieDomain("example.com", "a\x01.example.com"));
    EXPECT_FALSE(TIdCookieManager::DomainMatches("a b.example.com", "example.com"));
    EXPECT_FALSE(TIdCookieManager::IsValidCookieDomain("..example.com", "a..example.com"));
    EXPECT_FALSE(TIdCookieManager::IsValidCookieDomain(".example.com", ".example.com"));

    EXPECT_TRUE(TIdCookieManager::IsIPv4Address("255.255.255.255"));
    EXPECT_FALSE(TIdCookieManager::IsIPv4Address("256.1.1.1"));
    EXPECT_FALSE(TIdCookieManager::IsIPv4Address("1.2.3"));
    EXPECT_FALSE(TIdCookieManager::IsIPv4Address("1.2.3.4.5"));
    EXPECT_FALSE(TIdCookieManager::IsIPv4Address("1.2.3.x"));
    EXPECT_FALSE(TIdCookieManager::IsIPv4Address("1..3.4"));
}

TEST(TIdCookieManager, HostileCookiesNeverLeakOrCrash) {
    for (const HostileCookie& h : kHostileCookies) {
        Jar jar;
        jar.AddServerCookie(h.setCookie, h.setHost);
        EXPECT_EQ(jar.GenerateCookieList(h.laterHost, h.laterPath), h.expected) << h.why;
    }
}

TEST(TIdCookieManager, TheStoreIsBounded) {
    Jar jar;
    for (int i = 0; i < 400; ++i)
        jar.AddServerCookie("c" + std::to_string(i) + "=v", "h.example.com");
    EXPECT_EQ(jar.CookieCollection().Count(), TIdCookieManager::kMaxCookiesPerDomain);
    // The oldest gave way; the newest are there.
    EXPECT_EQ(jar.CookieCollection().Find("h.example.com", "c0"), nullptr);
    EXPECT_NE(jar.CookieCollection().Find("h.example.com", "c399"), nullptr);

    for (int d = 0; d < 40; ++d)
        for (int i = 0; i < 100; ++i)
            jar.AddServerCookie("c" + std::to_string(i) + "=v", "h" + std::to_string(d) + ".example.org");
    EXPECT_EQ(jar.CookieCollection().Count(), TIdCookieManager::kMaxCookies);
    EXPECT_NE(jar.CookieCollection().Find("h39.example.org", "c99"), nullptr);
}

TEST(TIdCookieManager, ReadersAndWritersOnSeveralThreads) {
    TIdCookieManager jar;
    std::atomic<bool> stop{false};
    std::atomic<int> reads{0};
    std::vector<std::thread> readers;
    for (int r = 0; r < 2; ++r)
        readers.emplace_back([&] {
            while (!stop) {
                std::string v = jar.GenerateCookieList("h.example.com", "/");
                EXPECT_TRUE(v.empty() || v.rfind("c", 0) == 0) << v;
                ++reads;
            }
        });
    // Writes go on until the readers have had their turns too, however busy the machine is.
    for (int i = 0; i < 2000 || reads.load() < 100; ++i)
        jar.AddServerCookie("c" + std::to_string(i % 50) + "=" + std::to_string(i) +
                                "; max-age=" + std::to_string(i % 3),
                            "h.example.com");
    stop = true;
    for (auto& t : readers)
        t.join();
    EXPECT_LE(jar.CookieCollection().Count(), 50);
}

} // namespace
