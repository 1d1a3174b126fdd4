#include "http/TIdCookie.h"
#include "http/TIdCookieDate.h"

#include <gtest/gtest.h>

namespace {

constexpr int64_t kNow = 1700000000; // 2023-11-14 22:13:20 UTC

TEST(IdParseCookieDate, ReadsTheFormsServersUse) {
    const int64_t t = 784111777; // Sun, 06 Nov 1994 08:49:37 GMT
    EXPECT_EQ(IdParseCookieDate("Sun, 06 Nov 1994 08:49:37 GMT"), t);
    EXPECT_EQ(IdParseCookieDate("Sunday, 06-Nov-94 08:49:37 GMT"), t);
    EXPECT_EQ(IdParseCookieDate("Sun, 06-Nov-1994 08:49:37 GMT"), t);
    EXPECT_EQ(IdParseCookieDate("Sun Nov  6 08:49:37 1994"), t);
    EXPECT_EQ(IdParseCookieDate("sun, 06 NOV 1994 8:49:37"), t);
    EXPECT_EQ(IdParseCookieDate("Thu, 01 Jan 1970 00:00:00 GMT"), 0);
    EXPECT_EQ(IdParseCookieDate("Mon, 01 Jan 2069 00:00:00 GMT"), IdParseCookieDate("01 Jan 69 00:00:00"));
    EXPECT_EQ(IdParseCookieDate("Tue, 29 Feb 2000 12:00:00 GMT"), 951825600);
}

TEST(IdParseCookieDate, RefusesMissingOrImpossiblePartsAndClampsTheYear) {
    for (const char* bad :
         {"", "garbage", "Sun, 06 Nov 1994", "06 Nov 1994 24:00:00", "00 Nov 1994 10:00:00",
          "31 Feb 2001 10:00:00", "29 Feb 1900 10:00:00", "06 Foo 1994 10:00:00", "06 Nov 1994 10:60:00"})
        EXPECT_FALSE(IdParseCookieDate(bad).has_value()) << bad;
    EXPECT_EQ(IdParseCookieDate("Fri, 31 Dec 99999 23:59:59 GMT"), kIdCookieTimeMax);
    EXPECT_EQ(IdParseCookieDate("31 Dec 99999999999999999999999999 23:59:59"), kIdCookieTimeMax);
    EXPECT_EQ(IdParseCookieDate("01 Jan 0001 00:00:00"), kIdCookieTimeMin);
}

TEST(IdInternetDate, WritesRfc1123AndReadsBack) {
    EXPECT_EQ(IdInternetDate(784111777), "Sun, 06 Nov 1994 08:49:37 GMT");
    EXPECT_EQ(IdInternetDate(0), "Thu, 01 Jan 1970 00:00:00 GMT");
    EXPECT_EQ(IdInternetDate(kIdCookieTimeMax), "Fri, 31 Dec 9999 23:59:59 GMT");
    EXPECT_EQ(IdInternetDate(INT64_MAX), "Fri, 31 Dec 9999 23:59:59 GMT");
    EXPECT_EQ(IdInternetDate(kIdCookieTimeMin), "Mon, 01 Jan 1601 00:00:00 GMT");
    for (int64_t t : {int64_t(-1), int64_t(951825600), kNow, int64_t(4102444799)})
        EXPECT_EQ(IdParseCookieDate(IdInternetDate(t)), t) << t;
}

TEST(IdCookieAddSeconds, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(IdCookieAddSeconds(kNow, INT64_MAX), kIdCookieTimeMax);
    EXPECT_EQ(IdCookieAddSeconds(kNow, INT64_MIN), kIdCookieTimeMin);
    EXPECT_EQ(IdCookieAddSeconds(kNow, 60), kNow + 60);
}

TEST(TIdCookie, NameValueAndAttributesWithoutRegardToCase) {
    TIdCookieRFC2109 c;
    c.SetCookieText(" sid = abc ; Path=\"/rss\" ; DOMAIN=.example.com; expires=Sun, 06 Nov 2044 08:49:37 GMT;"
                    " Comment=hi; Version=1; secure",
                    kNow);
    EXPECT_EQ(c.CookieName(), "sid");
    EXPECT_EQ(c.Value(), "abc");
    EXPECT_EQ(c.Path(), "/rss");
    EXPECT_EQ(c.Domain(), ".example.com");
    EXPECT_EQ(c.Expires(), "Sun, 06 Nov 2044 08:49:37 GMT");
    EXPECT_TRUE(c.Secure());
    EXPECT_EQ(c.Comment(), "hi");
    EXPECT_EQ(c.Version(), "1");
    EXPECT_EQ(c.InternalVersion(), 1);
    EXPECT_EQ(c.MaxAge(), *IdParseCookieDate("Sun, 06 Nov 2044 08:49:37 GMT") - kNow);
    EXPECT_EQ(c.MaxAge(), 662034977); // 2044-11-06 08:49:37 UTC is 2362034977
    EXPECT_TRUE(c.Acceptable());
    EXPECT_EQ(c.ClientCookie(), "sid=abc");
}

TEST(TIdCookie, DefaultsAndTheLastPieceAfterASemicolon) {
    TIdCookieRFC2109 c;
    c.SetCookieText("a=1;", kNow);
    EXPECT_EQ(c.Path(), "/");
    EXPECT_EQ(c.Domain(), "");
    EXPECT_EQ(c.Expires(), "");
    EXPECT_EQ(c.MaxAge(), -1);
    EXPECT_FALSE(c.ExpiresAt().has_value());
    EXPECT_EQ(c.InternalVersion(), 0); // no expiry: counts as a Netscape cookie
    c.SetCookieText("b; path=", kNow);
    EXPECT_EQ(c.CookieName(), "b");
    EXPECT_EQ(c.Value(), "");
    EXPECT_EQ(c.Path(), "/");
    c.SetCookieText("c=x=y", kNow);
    EXPECT_EQ(c.CookieName(), "c");
    EXPECT_EQ(c.Value(), "x=y");
}

TEST(TIdCookie, MaxAgeSetsTheExpiryAndWinsOverExpires) {
    TIdCookieRFC2109 c;
    c.SetCookieText("a=1; max-age=60", kNow);
    EXPECT_EQ(c.MaxAge(), 60);
    EXPECT_EQ(c.ExpiresAt(), kNow + 60);
    EXPECT_EQ(c.Expires(), IdInternetDate(kNow + 60));
    EXPECT_EQ(c.Expires(), "Tue, 14 Nov 2023 22:14:20 GMT");
    EXPECT_EQ(c.InternalVersion(), 0);
    EXPECT_FALSE(c.IsExpired(kNow + 59));
    EXPECT_TRUE(c.IsExpired(kNow + 60));

    c.SetCookieText("a=1; expires=Thu, 01 Jan 1970 00:00:00 GMT; Max-Age=3600", kNow);
    EXPECT_EQ(c.ExpiresAt(), kNow + 3600);
    EXPECT_EQ(c.InternalVersion(), 1);

    c.SetCookieText("a=1; max-age=-5", kNow);
    EXPECT_TRUE(c.IsExpired(kNow));
    c.SetCookieText("a=1; max-age=999999999999999999999999", kNow);
    EXPECT_EQ(c.ExpiresAt(), kIdCookieTimeMax);
    c.SetCookieText("a=1; max-age=soon", kNow);
    EXPECT_EQ(c.MaxAge(), -1);
    EXPECT_FALSE(c.ExpiresAt().has_value());
}

TEST(TIdCookie, UnreadableExpiresLeavesASessionCookie) {
    TIdCookieRFC2109 c;
    c.SetCookieText("a=1; expires=someday", kNow);
    EXPECT_EQ(c.Expires(), "someday");
    EXPECT_FALSE(c.ExpiresAt().has_value());
    EXPECT_FALSE(c.IsExpired(kIdCookieTimeMax));
}

TEST(TIdCookie, TheSameTextIsNotParsedAgain) {
    TIdCookieRFC2109 c;
    c.SetCookieText("a=1", kNow);
    c.SetValue("changed");
    c.SetCookieText("a=1", kNow);
    EXPECT_EQ(c.Value(), "changed");
    c.SetCookieText("a=2", kNow);
    EXPECT_EQ(c.Value(), "2");
    EXPECT_EQ(c.CookieText(), "a=2");
}

TEST(TIdCookie, ControlCharactersAndOversizeAreRefused) {
    TIdCookieRFC2109 c;
    c.SetCookieText(std::string("a=x\0y", 5), kNow);
    EXPECT_FALSE(c.Acceptable());
    c.SetCookieText("a\r=1", kNow);
    EXPECT_FALSE(c.Acceptable());
    c.SetCookieText("a=x\ty", kNow); // a tab inside a value is tolerated
    EXPECT_TRUE(c.Acceptable());
    c.SetCookieText("a=" + std::string(TIdNetscapeCookie::kMaxNameValueSize, 'v'), kNow);
    EXPECT_FALSE(c.Acceptable());
    c.SetCookieText("a=" + std::string(TIdNetscapeCookie::kMaxNameValueSize - 1, 'v'), kNow);
    EXPECT_TRUE(c.Acceptable());
}

TEST(TIdCookie, ServerCookieCarriesTheAttributes) {
    TIdCookieRFC2109 c;
    c.SetCookieText("a=1; path=/x; domain=example.com; secure; max-age=10; comment=c; version=1", kNow);
    EXPECT_EQ(c.ServerCookie(), "a=1; path=/x; expires=" + IdInternetDate(kNow + 10) +
                                    "; domain=example.com; secure; max-age=10; comment=c; version=1");
    EXPECT_EQ(c.ServerCookie(),
              "a=1; path=/x; expires=Tue, 14 Nov 2023 22:13:30 GMT; domain=example.com; secure;"
              " max-age=10; comment=c; version=1");
    // Read back, the text gives the same cookie (the expiry now comes as an Expires attribute).
    TIdCookieRFC2109 copy;
    copy.SetCookieText(c.ServerCookie(), kNow);
    EXPECT_EQ(copy.ExpiresAt(), c.ExpiresAt());
    EXPECT_EQ(copy.MaxAge(), 10);
    EXPECT_EQ(copy.ClientCookie(), "a=1");
    EXPECT_EQ(copy.Path(), "/x");
    EXPECT_EQ(copy.Domain(), "example.com");
    EXPECT_TRUE(copy.Secure());
}

TEST(TIdCookieRFC2965, PortListDiscardAndCommentUrl) {
    TIdCookieRFC2965 c;
    c.SetCookieText("a=1; CommentURL=http://x/; Discard", kNow);
    EXPECT_EQ(c.CommentURL(), "http://x/");
    EXPECT_TRUE(c.Discard());
    EXPECT_EQ(c.PortList(), std::vector<int>{80});
    c.SetCookieText("a=1; Port=\"80, 8080\"", kNow);
    EXPECT_EQ(c.PortList(), (std::vector<int>{80, 8080}));
    c.SetCookieText("a=1; Port=8080", kNow);
    EXPECT_TRUE(c.PortList().empty());
    EXPECT_TRUE(c.Acceptable());
}

TEST(TIdCookieRFC2965, APortListThatIsNotNumbersRefusesTheCookieOnly) {
    TIdCookieRFC2965 c;
    for (const char* bad : {"a=1; Port=\"80,abc\"", "a=1; Port=\"99999\"", "a=1; Port=\"80,,81\""}) {
        c.SetCookieText(bad, kNow);
        EXPECT_FALSE(c.Acceptable()) << bad;
    }
}

} // namespace
