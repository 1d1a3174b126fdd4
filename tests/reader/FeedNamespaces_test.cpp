// Feeds whose Atom or RSS 1.0 elements carry the prefix they bind to the namespace.
#include "reader/FeedNamespaces.h"

#include "reader/FeedCutter.h"
#include "reader/THeadlineStore.h"

#include <gtest/gtest.h>

namespace {

std::vector<THeadlineItem> cut(const std::string& body, std::string_view url = "http://f.test/feed.xml") {
    THeadlineStore store;
    CutHeadlines(body, {url, "", ""}, store);
    std::vector<THeadlineItem> items;
    for (int i = 0; i < store.Count(); ++i)
        items.push_back(store.Item(i));
    return items;
}

const std::string kRdf = "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"";

} // namespace

TEST(FeedNamespaces, ThePrefixesComeFromTheDocumentElementsDeclarations) {
    TFeedPrefixes p =
        ReadFeedPrefixes("<?xml version=\"1.0\"?>\n<!-- <x:feed xmlns:x=\"http://www.w3.org/2005/Atom\"> -->"
                         "<!DOCTYPE feed [<!ENTITY e \"<y:feed>\">] ><?pi x?>"
                         "<a:feed xmlns:dc='http://purl.org/dc/elements/1.1/'\n"
                         " xmlns:a='http://www.w3.org/2005/Atom' xmlns:r=\"http://purl.org/rss/1.0/\">");
    EXPECT_EQ(p.atom, "a");
    EXPECT_EQ(p.rss, "r");
    // Atom 0.3 and RSS 0.90, the names compared without regard to case.
    p = ReadFeedPrefixes("<rdf:RDF xmlns:old=\"HTTP://purl.org/atom/ns#\" "
                         "xmlns:n=\"http://my.netscape.com/rdf/simple/0.9/\"/>");
    EXPECT_EQ(p.atom, "old");
    EXPECT_EQ(p.rss, "n");
    // A default namespace binds no prefix, nor does one of another vocabulary or a later element.
    p = ReadFeedPrefixes(
        "<feed xmlns=\"http://www.w3.org/2005/Atom\" xmlns:b=\"http://www.w3.org/2005/Atomic\">"
        "<entry xmlns:c=\"http://www.w3.org/2005/Atom\">");
    EXPECT_EQ(p.atom, "");
    EXPECT_EQ(p.rss, "");
}

TEST(FeedNamespaces, PrefixedAtomIsCutAsPlainAtomIs) {
    const std::string atom =
        "<?xml version=\"1.0\"?><a:feed xmlns:a=\"http://www.w3.org/2005/Atom\" "
        "xml:base=\"http://b.test/x/\">"
        "<a:title>Feed</a:title><a:link href=\"http://b.test/\"/>"
        "<a:entry xml:base=\"y/\"><a:title type=\"html\">T &lt;b&gt;x&lt;/b&gt;</a:title>"
        "<a:link rel=\"self\" href=\"http://s.test/\"/><a:link href=\"1\"/>"
        "<a:link rel=\"alternate\" type=\"application/pdf\" href=\"1.pdf\"/></a:entry>"
        "<a:entry><a:source><a:title>Copied</a:title><a:link href=\"http://src.test/\"/></a:source>"
        "<a:title>U</a:title><a:id>http://id.test/2</a:id></a:entry>"
        "<a:entry/>"
        "<a:entry><dc:title>Dc</dc:title><a:link xml:base=\"http://l.test/\" href=\"4\"/></a:entry></a:feed>";
    auto items = cut(atom);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].title, "T x");
    EXPECT_EQ(items[0].link, "http://b.test/x/y/1");
    EXPECT_EQ(items[1].title, "U");
    EXPECT_EQ(items[1].link, "http://id.test/2");
    EXPECT_EQ(items[2].title, "");
    EXPECT_EQ(items[3].title, "Dc");
    EXPECT_EQ(items[3].link, "http://l.test/4");
    // Atom 0.3 by another prefix, its escaped mode marking HTML.
    items = cut("<x:feed version=\"0.3\" xmlns:x=\"http://purl.org/atom/ns#\"><x:entry>"
                "<x:title mode=\"escaped\">E &lt;i&gt;i&lt;/i&gt;</x:title>"
                "<x:link rel=\"alternate\" type=\"text/html\" href=\"http://e.test/\"/></x:entry></x:feed>");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, "E i");
    EXPECT_EQ(items[0].link, "http://e.test/");
}

TEST(FeedNamespaces, PrefixedRssOneIsCutAsPlainRssOneIs) {
    const std::string rdf =
        "<rdf:RDF " + kRdf +
        " xmlns:rss=\"http://purl.org/rss/1.0/\">"
        "<rss:channel "
        "rdf:about=\"http://c.test/\"><rss:title>Channel</rss:title><rss:link>http://c.test/</rss:link>"
        "</rss:channel><rss:image><rss:title>Logo</rss:title></rss:image>"
        "<rss:item rdf:about=\"http://c.test/1\"><rss:title>One &amp; more</rss:title>"
        "<rss:link>http://c.test/1?a=1&amp;amp;b=2</rss:link></rss:item>"
        "<rss:item\n "
        "rdf:about=\"http://c.test/2\"><dc:title>Two</dc:title><rss:link>2.html</rss:link></rss:item>"
        "<rss:item rdf:about=\"http://c.test/3\"><rss:title>Three</rss:title><rss:description>"
        "<![CDATA[</rss:item>]]></rss:description></rss:item></rdf:RDF>";
    auto items = cut(rdf);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].title, "One & more");
    EXPECT_EQ(items[0].link, "http://c.test/1?a=1&b=2");
    EXPECT_EQ(items[1].title, "Two");
    EXPECT_EQ(items[1].link, "http://f.test/2.html");
    EXPECT_EQ(items[2].title, "Three");
    EXPECT_EQ(items[2].link, "");
}

TEST(FeedNamespaces, PlainElementsStayWhatTheyWereAndAtomLinksInRssGoByTheFeedsPrefix) {
    // .NET writes Atom's links into RSS by the prefix "a10".
    auto items = cut("<rss version=\"2.0\" xmlns:a10=\"http://www.w3.org/2005/Atom\"><channel>"
                     "<item><title>X</title><a10:link href=\"http://a10.test/x\"/></item></channel></rss>");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].link, "http://a10.test/x");
    // RSS 2.0 that binds Atom for its self link stays RSS.
    items = cut("<rss version=\"2.0\" xmlns:atom=\"http://www.w3.org/2005/Atom\"><channel>"
                "<atom:link rel=\"self\" href=\"http://f.test/feed.xml\"/><title>C</title>"
                "<item><title>R</title><link>http://r.test/</link></item></channel></rss>");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, "R");
    // RSS 1.0 with a default namespace and a prefix for it, written without the prefix.
    items = cut("<rdf:RDF " + kRdf +
                " xmlns=\"http://purl.org/rss/1.0/\" xmlns:rss=\"http://purl.org/rss/1.0/\">"
                "<item rdf:about=\"http://c.test/1\"><title>Plain</title><link>http://c.test/1</link></item>"
                "</rdf:RDF>");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, "Plain");
    // A prefix bound to another vocabulary gives no entries.
    EXPECT_TRUE(
        cut("<a:feed xmlns:a=\"http://example.test/ns\"><a:entry><a:title>T</a:title></a:entry></a:feed>")
            .empty());
}
