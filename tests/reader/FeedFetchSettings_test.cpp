// The "tls" and "feeds" keys of config.ini that a feed fetch takes, and what they set up.
#include "framework/core/TIniFile.h"
#include "http/TIdHTTP.h"
#include "reader/FeedFetchSettings.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace zeltest;

TEST(FeedFetchSettings, ReadsTheCAFileFromTheFilesFolderAndBoundsTheRedirects) {
    TempDir dir;
    const std::string config = dir.File("config.ini");
    TempDir::Put(config, "[tls]\r\nca-file=certs/ca.pem\r\n[feeds]\r\nredirects=0\r\n");
    TFeedFetchSettings s = ReadFeedFetchSettings(TIniFile(config));
    EXPECT_EQ(s.CAFile, (dir.Path() / "certs/ca.pem").string());
    EXPECT_EQ(s.Redirects, 0);
    for (const char* bad : {"-1", "21", "five", ""}) {
        TempDir::Put(config,
                     std::string("[tls]\r\nca-file=/etc/ca.pem\r\n[feeds]\r\nredirects=") + bad + "\r\n");
        s = ReadFeedFetchSettings(TIniFile(config));
        EXPECT_EQ(s.CAFile, "/etc/ca.pem");
        EXPECT_EQ(s.Redirects, kDefaultFeedRedirects) << bad;
    }
}

TEST(FeedFetchSettings, ZeroRedirectsFollowsNoneAndFiveFollowsFive) {
    TIdHTTP http;
    TFeedFetchSettings s;
    ApplyFeedFetchSettings(http, s);
    EXPECT_TRUE(http.HandleRedirects());
    EXPECT_EQ(http.RedirectMaximum(), 6); // the first request counts: the sixth redirect fails
    s.Redirects = 0;
    s.CAFile = "/etc/ca.pem";
    ApplyFeedFetchSettings(http, s);
    EXPECT_FALSE(http.HandleRedirects());
    EXPECT_EQ(http.CAFile(), "/etc/ca.pem");
}
