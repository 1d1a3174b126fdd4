// The window's feeds over https: a category pointed at an https feed with the CA of config.ini,
// an http feed that moved to https, and the one failure box for a certificate it refuses.
#include "tests/app/ReaderWindowFixture.h"
#include "tests/support/TlsSite.h"

using namespace zeltest;

namespace {

using HttpsFeeds = ReaderWindowTest;

Script serveFeed(const std::string& feed) {
    return {Action::ReadHead(),
            Action::Send(
                HttpResponse("HTTP/1.1 200 OK", {"Content-Length: " + std::to_string(feed.size())}, feed)),
            Action::WaitForPeerClose()};
}

} // namespace

TEST_F(HttpsFeeds, ACategoryReadsOverHttpsAndFollowsAFeedThatMovedThere) {
    TestPki pki;
    TlsSite site(pki, {serveFeed(RssFeed({{"Secure one", "http://a.test/1"}})),
                       serveFeed(RssFeed({{"Moved one", "http://a.test/2"}}))});
    ScriptedServer old(
        {{Action::ReadHead(),
          Action::Send(HttpResponse("HTTP/1.1 301 Moved Permanently",
                                    {"Location: " + site.Url("/rss/moved.xml"), "Content-Length: 0"}, "")),
          Action::WaitForPeerClose()}});
    WriteFile(dir / "config.ini",
              "[hosts]\r\nredirect=127.0.0.1:1\r\n[feeds]\r\nworld=" + site.Url("/rss/world.xml") +
                  "\r\nsports=http://127.0.0.1:" + std::to_string(old.Port()) +
                  "/rss/sports.xml\r\n[tls]\r\nca-file=" + pki.CAFile() + "\r\n");
    create();
    form->N27->Click();
    ASSERT_TRUE(waitForFetch());
    EXPECT_EQ(lines(), (std::vector<std::string>{"Secure one", " "}));
    form->N6->Click();
    ASSERT_TRUE(waitForFetch());
    EXPECT_EQ(lines(), (std::vector<std::string>{"Moved one", " "}));
    EXPECT_TRUE(platform.Boxes.empty());
}

TEST_F(HttpsFeeds, ACertificateRefusedAndAMoveDownToHttpShowTheFailureBox) {
    TestPki pki;
    CertSpec expired;
    expired.notBefore = -10L * 24 * 3600;
    expired.notAfter = -3600;
    TlsSite stale(pki, {serveFeed(RssFeed({{"never shown", "http://a.test/1"}}))}, Delivery::Whole, expired);
    ScriptedServer plain({serveFeed(RssFeed({{"never shown either", "http://a.test/2"}}))});
    TlsSite down(
        pki,
        {{Action::ReadHead(),
          Action::Send(HttpResponse(
              "HTTP/1.1 302 Found",
              {"Location: http://127.0.0.1:" + std::to_string(plain.Port()) + "/", "Content-Length: 0"}, "")),
          Action::WaitForPeerClose()}});
    WriteFile(dir / "config.ini",
              "[hosts]\r\nredirect=127.0.0.1:1\r\n[feeds]\r\nworld=" + stale.Url("/rss/world.xml") +
                  "\r\nsports=" + down.Url("/rss/sports.xml") + "\r\n[tls]\r\nca-file=" + pki.CAFile() +
                  "\r\n");
    create();
    form->N27->Click();
    ASSERT_TRUE(waitForFetch());
    form->N6->Click();
    ASSERT_TRUE(waitForFetch());
    EXPECT_EQ(platform.Boxes.size(), 2u);
    EXPECT_EQ(form->lb->Items().Count(), 0);
    EXPECT_EQ(stale.Backend().Accepted(), 0);
    EXPECT_EQ(plain.Accepted(), 0);
}
