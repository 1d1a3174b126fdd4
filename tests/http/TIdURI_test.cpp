// Splitting, composing and path resolution of the URL record.
#include "http/EIdException.h"
#include "http/TIdURI.h"

#include <gtest/gtest.h>

namespace {

struct Parts {
    std::string protocol, user, password, host, port, path, document, params, bookmark;
};

Parts split(const std::string& text) {
    TIdURI u(text);
    return {u.Protocol(), u.Username(), u.Password(), u.Host(),    u.Port(),
            u.Path(),     u.Document(), u.Params(),   u.Bookmark()};
}

void expectParts(const std::string& text, const Parts& want) {
    Parts got = split(text);
    SCOPED_TRACE(text);
    EXPECT_EQ(got.protocol, want.protocol);
    EXPECT_EQ(got.user, want.user);
    EXPECT_EQ(got.password, want.password);
    EXPECT_EQ(got.host, want.host);
    EXPECT_EQ(got.port, want.port);
    EXPECT_EQ(got.path, want.path);
    EXPECT_EQ(got.document, want.document);
    EXPECT_EQ(got.params, want.params);
    EXPECT_EQ(got.bookmark, want.bookmark);
}

} // namespace

TEST(TIdURI, SplitsAbsoluteForms) {
    expectParts("http://news.example/rss/world.xml",
                {"http", "", "", "news.example", "", "/rss/", "world.xml", "", ""});
    expectParts("http://news.example", {"http", "", "", "news.example", "", "/", "", "", ""});
    expectParts("http://news.example/", {"http", "", "", "news.example", "", "/", "", "", ""});
    expectParts("http://h:8080/a/b.xml", {"http", "", "", "h", "8080", "/a/", "b.xml", "", ""});
    expectParts("http://u:p@h/x", {"http", "u", "p", "h", "", "/", "x", "", ""});
    expectParts("http://u@h/x", {"http", "u", "", "h", "", "/", "x", "", ""});
    expectParts("http://:p@h/x", {"http", "", "", "h", "", "/", "x", "", ""}); // no user, no password
    expectParts("ftp://h:port/",
                {"ftp", "", "", "h", "port", "/", "", "", ""}); // the port is kept as written
}

TEST(TIdURI, QueryAndBookmark) {
    expectParts("http://h/x/page.asp?a=1&b=2#top",
                {"http", "", "", "h", "", "/x/", "page.asp", "?a=1&b=2", "top"});
    // A "/" inside the query does not move the path cut.
    expectParts("http://h/x/doc?next=/a/b", {"http", "", "", "h", "", "/x/", "doc", "?next=/a/b", ""});
    // Without "?" the params start at the first "=".
    expectParts("http://h/x/doc=1/2", {"http", "", "", "h", "", "/x/", "doc", "=1/2", ""});
    expectParts("http://h/x/doc#frag", {"http", "", "", "h", "", "/x/", "doc", "", "frag"});
    // "?" and "#" end the authority as "/" does.
    expectParts("http://h?q=1", {"http", "", "", "h", "", "/", "", "?q=1", ""});
    expectParts("http://h:81?q=1", {"http", "", "", "h", "81", "/", "", "?q=1", ""});
    expectParts("http://h:81#top", {"http", "", "", "h", "81", "/", "", "", "top"});
    // Without a "/" the rest splits as it would after one.
    expectParts("http://h#a=b/c", {"http", "", "", "h", "", "/", "", "=b/c", "a"});
    expectParts("http://h/#a=b/c", {"http", "", "", "h", "", "/", "", "=b/c", "a"});
    expectParts("http://u:p@h?q=1#f", {"http", "u", "p", "h", "", "/", "", "?q=1", "f"});
}

TEST(TIdURI, PortsAreNumbersFrom1To65535) {
    int port = 0;
    EXPECT_TRUE(TIdURI::ParsePort("1", port));
    EXPECT_EQ(port, 1);
    EXPECT_TRUE(TIdURI::ParsePort("65535", port));
    EXPECT_EQ(port, 65535);
    for (const char* bad : {"", "0", "65536", "70000", "-1", "+80", "8o", " 80", "80 ", "999999"})
        EXPECT_FALSE(TIdURI::ParsePort(bad, port)) << bad;
}

TEST(TIdURI, BackslashesBecomeSlashesExceptInsideADoubleByteCharacter) {
    expectParts("http:\\\\h\\rss\\world.xml", {"http", "", "", "h", "", "/rss/", "world.xml", "", ""});
    // "\x95\x5c" is one GBK character whose second byte has the value of a backslash.
    std::string gbk = "http://h/\x95\x5c/x.xml";
    expectParts(gbk, {"http", "", "", "h", "", "/\x95\x5c/", "x.xml", "", ""});
}

TEST(TIdURI, BracketedIPv6Host) {
    TIdURI u("http://[::1]:8080/feed.xml");
    EXPECT_EQ(u.Host(), "::1");
    EXPECT_EQ(u.Port(), "8080");
    EXPECT_EQ(u.IPVersion(), Id_IPv6);
    EXPECT_EQ(u.GetFullURI(), "http://[::1]:8080/feed.xml");
    TIdURI v("http://h/feed.xml");
    EXPECT_EQ(v.IPVersion(), Id_IPv4);
}

TEST(TIdURI, RelativeForms) {
    expectParts("b/page.xml", {"", "", "", "", "", "b/", "page.xml", "", ""});
    expectParts("page.xml?x=1#m", {"", "", "", "", "", "", "page.xml", "?x=1", "m"});
    expectParts("/abs/p", {"", "", "", "", "", "/abs/", "p", "", ""});
    expectParts("p#m", {"", "", "", "", "", "", "p#m", "", ""}); // no bookmark split without params
}

TEST(TIdURI, ComposesWithOptions) {
    TIdURI u("http://u:p@h:8080/x/d?q#b");
    EXPECT_EQ(u.GetFullURI(), "http://u:p@h:8080/x/d?q#b");
    EXPECT_EQ(u.GetFullURI(0), "http://h:8080/x/d?q");
    EXPECT_EQ(u.URI(), "http://h:8080/x/d?q");
    EXPECT_EQ(u.URIText(), "http://u:p@h:8080/x/d?q#b");
    TIdURI p80("https://h:80/x");
    EXPECT_EQ(p80.GetFullURI(), "https://h/x"); // port 80 is never written, whatever the protocol
    TIdURI p443("https://h:443/x");
    EXPECT_EQ(p443.GetFullURI(), "https://h:443/x");
    TIdURI userOnly("http://u@h/");
    EXPECT_EQ(userOnly.GetFullURI(), "http://u@h/");
}

TEST(TIdURI, ComposingNeedsProtocolAndHost) {
    TIdURI rel("a/b");
    try {
        rel.GetFullURI();
        FAIL();
    } catch (const EIdURIException& e) {
        EXPECT_EQ(e.Message(), "Protocol field is empty");
    }
    rel.SetProtocol("http");
    try {
        rel.GetFullURI();
        FAIL();
    } catch (const EIdURIException& e) {
        EXPECT_EQ(e.Message(), "Host field is empty");
    }
}

TEST(TIdURI, ResolvesPaths) {
    EXPECT_EQ(TIdURI::ResolvePath("/rss/", "b/"), "/rss/b/");
    EXPECT_EQ(TIdURI::ResolvePath("/rss/", "../x/"), "/x/");
    EXPECT_EQ(TIdURI::ResolvePath("/rss/", "/abs/"), "/abs/");
    EXPECT_EQ(TIdURI::ResolvePath("/rss", "b"), "/rss/b");
    EXPECT_EQ(TIdURI::ResolvePath("/rss/", "b"), "/rss/b"); // no trailing slash kept
    EXPECT_EQ(TIdURI::ResolvePath("/rss/", ""), "/rss/");   // an empty path keeps it
    EXPECT_EQ(TIdURI::ResolvePath("/a//b/", "c//d/"), "/a/b/c/d/");
    EXPECT_EQ(TIdURI::ResolvePath("/a/", "./b/"), "/a/./b/"); // a single dot stays
    EXPECT_EQ(TIdURI::ResolvePath("/a/b/", "../../c/"), "/c/");
    EXPECT_EQ(TIdURI::ResolvePath("/", "../../c/"), "/c/"); // never above the root
    EXPECT_EQ(TIdURI::ResolvePath("/", ""), "/");
}
