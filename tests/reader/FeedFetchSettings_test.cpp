// The "tls" and "feeds" keys of config.ini that a feed fetch takes, and what they set up.
#include "framework/core/TIniFile.h"
#include "http/EIdException.h"
#include "http/TIdHTTP.h"
#include "reader/FeedFetchSettings.h"
#include "tests/http/AnsweringMemory.h"
#include "tests/support/ScriptedServer.h"
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

TEST(FeedFetchSettings, OnlyTheCodesThatSayMovedAreFollowed) {
    TIdHTTP http;
    ApplyFeedFetchSettings(http, TFeedFetchSettings{});
    const auto moved = [](int code) {
        return HttpResponse("HTTP/1.1 " + std::to_string(code) + " Moved",
                            {"Location: /elsewhere", "Content-Length: 3"}, "old");
    };
    const std::string there = HttpResponse("HTTP/1.1 200 OK", {"Content-Length: 5"}, "there");
    for (int code : {300, 305, 306}) {
        SCOPED_TRACE(code);
        AnsweringMemory io({moved(code), there});
        http.SetIOHandler(&io);
        try {
            http.Get("http://feeds.example/a");
            ADD_FAILURE() << "followed";
        } catch (const EIdHTTPProtocolException& e) {
            EXPECT_EQ(e.Message(), "HTTP/1.1 " + std::to_string(code) + " Moved");
        }
        EXPECT_EQ(io.Output().find("/elsewhere"), std::string::npos);
        http.Disconnect();
        http.SetIOHandler(nullptr);
    }
    for (int code : {301, 302, 303, 307, 308}) {
        SCOPED_TRACE(code);
        AnsweringMemory io({moved(code), there});
        http.SetIOHandler(&io);
        EXPECT_EQ(http.Get("http://feeds.example/a"), "there");
        http.Disconnect();
        http.SetIOHandler(nullptr);
    }
}
