#include "http/TIdBasicAuthentication.h"
#include "http/TIdProxyConnectionInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(TIdProxyConnectionInfo, DefaultsAreDirectWithoutCredentials) {
    TIdProxyConnectionInfo p;
    EXPECT_EQ(p.ProxyServer(), "");
    EXPECT_EQ(p.ProxyPort(), 0);
    EXPECT_FALSE(p.BasicAuthentication());
    EXPECT_EQ(p.Authentication(), nullptr);
    TIdHeaderList h(TIdHeaderList::kMessageFoldLength);
    p.SetProxyServer("proxy");
    p.SetProxyUsername("u");
    p.SetProxyPassword("p");
    p.SetHeaders(h);
    EXPECT_EQ(h.Count(), 0); // BasicAuthentication false: the first request carries nothing
}

TEST(TIdProxyConnectionInfo, BasicFlagSendsCredentialsFromTheFirstRequest) {
    TIdProxyConnectionInfo p;
    p.SetProxyServer("proxy");
    p.SetProxyPort(3128);
    p.SetProxyUsername("u");
    p.SetProxyPassword("p");
    p.SetBasicAuthentication(true);
    TIdHeaderList h(TIdHeaderList::kMessageFoldLength);
    p.SetHeaders(h);
    EXPECT_EQ(h.Values("Proxy-Authorization"), "Basic dTpw");
    ASSERT_NE(p.Authentication(), nullptr);
    EXPECT_STREQ(p.Authentication()->ClassName(), "TIdBasicAuthentication");
}

TEST(TIdProxyConnectionInfo, AnotherServerOrPortDropsTheCredentialObject) {
    TIdProxyConnectionInfo p;
    p.SetProxyServer("Proxy.Example");
    p.SetProxyPort(3128);
    p.SetAuthentication(std::make_unique<TIdBasicAuthentication>());
    p.SetProxyServer("proxy.example"); // same server, other case
    p.SetProxyPort(3128);              // same port
    EXPECT_NE(p.Authentication(), nullptr);
    p.SetProxyPort(8080);
    EXPECT_EQ(p.Authentication(), nullptr);
    p.SetAuthentication(std::make_unique<TIdBasicAuthentication>());
    p.SetProxyServer("other");
    EXPECT_EQ(p.Authentication(), nullptr);
    TIdHeaderList h;
    p.SetHeaders(h);
    EXPECT_EQ(h.Count(), 0);
}

TEST(TIdProxyConnectionInfo, ClearKeepsObjectAndFlagAssignCopiesFields) {
    TIdProxyConnectionInfo p;
    p.SetProxyServer("s");
    p.SetProxyPort(1);
    p.SetProxyUsername("u");
    p.SetProxyPassword("p");
    p.SetBasicAuthentication(true);
    p.SetAuthentication(std::make_unique<TIdBasicAuthentication>());
    TIdProxyConnectionInfo q;
    q.Assign(p);
    EXPECT_EQ(q.ProxyServer(), "s");
    EXPECT_EQ(q.ProxyPort(), 1);
    EXPECT_EQ(q.ProxyUsername(), "u");
    EXPECT_EQ(q.ProxyPassword(), "p");
    EXPECT_TRUE(q.BasicAuthentication());
    EXPECT_EQ(q.Authentication(), nullptr);
    p.Clear();
    EXPECT_EQ(p.ProxyServer(), "");
    EXPECT_EQ(p.ProxyPort(), 0);
    EXPECT_EQ(p.ProxyUsername(), "");
    EXPECT_EQ(p.ProxyPassword(), "");
    EXPECT_TRUE(p.BasicAuthentication());
    EXPECT_NE(p.Authentication(), nullptr);
}

TEST(TIdProxyConnectionInfo, A407WithOnlyUnknownSchemesLeavesThePasswordAlone) {
    TIdProxyConnectionInfo p;
    p.SetProxyServer("proxy");
    p.SetProxyPassword("secret");
    EXPECT_FALSE(p.AuthorizeProxy(nullptr, {"Negotiate", "NTLM"}, {}, {}));
    EXPECT_EQ(p.ProxyPassword(), "secret");
    EXPECT_EQ(p.Authentication(), nullptr);
}

TEST(TIdProxyConnectionInfo, A407WithBasicIsAnsweredOnceWithTheSettingsCredentials) {
    TIdProxyConnectionInfo p;
    p.SetProxyServer("proxy");
    p.SetProxyUsername("u");
    p.SetProxyPassword("secret");
    EXPECT_TRUE(p.AuthorizeProxy(nullptr, {"Negotiate", "Basic realm=\"proxy\""}, {}, {}));
    EXPECT_EQ(p.ProxyPassword(), "secret");
    ASSERT_NE(p.Authentication(), nullptr);
    TIdHeaderList h(TIdHeaderList::kMessageFoldLength);
    p.SetHeaders(h);
    EXPECT_EQ(h.Values("Proxy-Authorization"), "Basic dTpzZWNyZXQ="); // "u:secret"
    // Refused once, they are not offered again, and stay as they were.
    EXPECT_FALSE(p.AuthorizeProxy(nullptr, {"Basic realm=\"proxy\""}, {}, {}, true));
    EXPECT_EQ(p.ProxyPassword(), "secret");
}

TEST(TIdProxyConnectionInfo, EmptyCredentialsNeverGoOut) {
    TIdProxyConnectionInfo p;
    p.SetProxyServer("proxy");
    p.SetBasicAuthentication(true);
    TIdHeaderList h(TIdHeaderList::kMessageFoldLength);
    p.SetHeaders(h);
    EXPECT_EQ(h.Values("Proxy-Authorization"), ""); // never "Basic Og=="
    EXPECT_FALSE(p.AuthorizeProxy(nullptr, {"Basic realm=\"proxy\""}, {}, {}));
}

TEST(TIdProxyConnectionInfo, A407HandlerSuppliesProxyCredentials) {
    TIdProxyConnectionInfo p;
    p.SetProxyServer("proxy");
    p.SetProxyUsername("u");
    p.SetProxyPassword("old");
    int asked = 0;
    auto handler = [&](TIdCustomHTTP*, TIdAuthentication* a, bool& handled) {
        ++asked;
        EXPECT_EQ(a->Password(), "old"); // the 407 erases nothing
        a->SetPassword("new");
        handled = true;
    };
    EXPECT_TRUE(p.AuthorizeProxy(nullptr, {"Basic realm=\"proxy\""}, {}, handler));
    EXPECT_EQ(asked, 0); // a user name was known: no need to ask
    EXPECT_EQ(p.ProxyPassword(), "old");
    // Once the proxy refused them, the program is asked for others.
    EXPECT_TRUE(p.AuthorizeProxy(nullptr, {"Basic realm=\"proxy\""}, {}, handler, true));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(p.ProxyPassword(), "new");
    TIdHeaderList h;
    p.SetHeaders(h);
    EXPECT_EQ(h.Values("Proxy-Authorization"), "Basic dTpuZXc="); // "u:new"

    TIdProxyConnectionInfo q;
    q.SetProxyServer("proxy");
    int calls = 0;
    auto ask = [&](TIdCustomHTTP*, TIdAuthentication* a, bool& handled) {
        ++calls;
        a->SetUsername("bob");
        a->SetPassword("pw");
        handled = true;
    };
    EXPECT_TRUE(q.AuthorizeProxy(nullptr, {"Basic realm=\"proxy\""}, {}, ask));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(q.ProxyUsername(), "bob");
    EXPECT_EQ(q.ProxyPassword(), "pw");
}

} // namespace
