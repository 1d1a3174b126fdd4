#include "reader/FeedCutter.h"

#include "framework/core/CodePage.h"
#include "reader/FetchHeadlines.h"
#include "reader/HeadlineLines.h"
#include "reader/THeadlineStore.h"
#include "tests/reader/StepByStepFeed.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <random>
#include <stdexcept>

namespace {

const std::string kPrefix = "http://go.test/go/?url=";

std::vector<THeadlineItem> cut(const std::string& body, const TFeedOrigin& origin = {"", "", kPrefix}) {
    THeadlineStore store;
    CutHeadlines(body, origin, store);
    std::vector<THeadlineItem> items;
    for (int i = 0; i < store.Count(); ++i)
        items.push_back(store.Item(i));
    return items;
}

// The text in another character set, by iconv.
std::string TranscodeForTest(const std::string& utf8, const char* charset) {
    iconv_t cd = ::iconv_open(charset, "UTF-8");
    std::string out(utf8.size() * 4, '\0');
    char* src = const_cast<char*>(utf8.data());
    char* dst = out.data();
    std::size_t srcLeft = utf8.size(), dstLeft = out.size();
    ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    ::iconv_close(cd);
    out.resize(out.size() - dstLeft);
    return out;
}

std::string item(const std::string& title, const std::string& link) {
    return "<item><title>" + title + "</title><link>" + link + "</link><description>d</description></item>\n";
}

std::string feed(const std::string& items) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<rss version=\"2.0\"><channel><title>频道</title>"
           "<link>http://news.test/</link>\n" +
           items + "</channel></rss>\n";
}

} // namespace

TEST(FeedCutter, TakesTitlesAndLinksOfItemsButNotTheChannel) {
    auto items =
        cut(feed(item("国际新闻一", "http://a.test/1.html") + item("Second", "http://a.test/2.html")));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].title, Utf8ToAnsi("国际新闻一"));
    EXPECT_EQ(items[0].link, kPrefix + "http://a.test/1.html");
    EXPECT_EQ(items[1].title, "Second");
    EXPECT_EQ(items[1].link, kPrefix + "http://a.test/2.html");
}

TEST(FeedCutter, EmptyBodyGivesNoItems) {
    EXPECT_TRUE(cut("").empty());
    EXPECT_TRUE(cut("<rss><channel></channel></rss>").empty());
}

TEST(FeedCutter, WithoutItemTheChannelTitleIsTakenOnceThoughPassesFindItAgain) {
    // "<title>" starts at byte 18; each pass drops 6 bytes, so passes at 0, 6, 12 and 18 all see
    // it; only the first gives a headline.
    const std::string body = "<rss><channel>    <title>Chan</title><link>http://c.test/</link></channel>";
    auto items = cut(body);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, "Chan");
    EXPECT_EQ(items[0].link, kPrefix + "http://c.test/");
}

TEST(FeedCutter, AnItemsTitleAndLinkAreItsOwnNeverTheNextItems) {
    auto items = cut(feed("<item><title>A</title></item>" + item("B", "http://b.test/") +
                          "<item><description>no title</description><link>http://c.test/</link></item>" +
                          "<item><title>D</title><description>x</description></item>"));
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].title, "A");
    EXPECT_EQ(items[0].link, kPrefix);
    EXPECT_EQ(items[1].link, kPrefix + "http://b.test/");
    EXPECT_EQ(items[2].title, ""); // still a headline, its line paired with its own link
    EXPECT_EQ(items[2].link, kPrefix + "http://c.test/");
    EXPECT_EQ(items[3].title, "D");
    EXPECT_EQ(items[3].link, kPrefix);
}

TEST(FeedCutter, AnItemWithoutLinkTakesAnAtomPageLinkOrAPermalinkGuid) {
    auto items =
        cut(feed("<item><title>1</title><guid>http://g.test/1</guid></item>"
                 "<item><title>2</title><guid isPermaLink=\"true\">https://g.test/2</guid></item>"
                 "<item><title>3</title><guid isPermaLink=\"false\">http://g.test/3</guid></item>"
                 "<item><title>4</title><guid>12345</guid></item>"
                 "<item><guid>http://g.test/5</guid><title>5</title><link>http://l.test/5</link></item>"
                 "<item><title>6</title><atom:link rel=\"self\" href=\"http://s.test/\"/>"
                 "<atom:link href=\"http://a.test/6\"/><guid>http://g.test/6</guid></item>"
                 "<item><title>7</title><link></link><guid>http://g.test/7</guid></item>"),
            {"http://f.test/feed", "", ""});
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0].link, "http://g.test/1");
    EXPECT_EQ(items[1].link, "https://g.test/2");
    EXPECT_EQ(items[2].link, ""); // not a permalink
    EXPECT_EQ(items[3].link, ""); // no web address
    EXPECT_EQ(items[4].link, "http://l.test/5");
    EXPECT_EQ(items[5].link, "http://a.test/6");
    EXPECT_EQ(items[6].link, ""); // an empty link element is the item's link
}

TEST(FeedCutter, OtherVocabulariesAndTheChannelsElementsLeaveTitlesAndLinksAlone) {
    const std::string body =
        "<rss xmlns:media=\"http://search.yahoo.com/mrss/\"><channel><title>Chan</title>"
        "<atom:link href=\"http://f.test/feed\" rel=\"self\"/><itunes:image href=\"http://f.test/i.png\"/>"
        "<item><media:content url=\"http://m.test/v.mp4\"><media:title>Media</media:title></media:content>"
        "<title>One</title><dc:title>Dc</dc:title><itunes:title>Itunes</itunes:title>"
        "<source url=\"http://src.test/\">Source</source><link>http://x.test/1</link></item>"
        "<item><dc:title>Only dc</dc:title><link>http://x.test/2</link></item>"
        "<item><title type=\"html\">&lt;b&gt;Bold&lt;/b&gt;</title><link>http://x.test/3</link></item>"
        "<image><title>Logo</title><url>http://f.test/logo.png</url><link>http://f.test/</link></image>"
        "<textInput><title>Search</title><link>http://f.test/search</link></textInput></channel></rss>";
    auto items = cut(body);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].title, "One");
    EXPECT_EQ(items[0].link, kPrefix + "http://x.test/1");
    EXPECT_EQ(items[1].title, "Only dc");
    EXPECT_EQ(items[2].title, "Bold");
}

TEST(FeedCutter, TheFirstTitleThatIsNotBlankWinsAndAMediaTitleOnlyStandsIn) {
    auto items =
        cut("<rss><channel>"
            "<item><dc:title>Dc first</dc:title><title>Plain second</title></item>"
            "<item><title> </title><dc:title>Dc after a blank title</dc:title></item>"
            "<item><media:title>Media first</media:title><title>Plain after media</title></item>"
            "<item><title><![CDATA[ ]]></title><media:title>Media after blank</media:title></item>"
            "<item><title>Plain</title><media:group><media:title>M</media:title></media:group></item>"
            "</channel></rss>");
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].title, "Dc first");
    EXPECT_EQ(items[1].title, "Dc after a blank title");
    EXPECT_EQ(items[2].title, "Plain after media");
    EXPECT_EQ(items[3].title, "Media after blank");
    EXPECT_EQ(items[4].title, "Plain");
    // Video feeds carry an entry's title only in its media group.
    auto entries =
        cut("<feed xmlns=\"http://www.w3.org/2005/Atom\"><entry><id>yt:video:a</id>"
            "<media:group><media:title>Only &amp; media</media:title></media:group>"
            "<link rel=\"alternate\" href=\"http://v.test/a\"/></entry>"
            "<entry><media:group><media:title>M</media:title></media:group><title>T</title></entry></feed>");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].title, "Only & media");
    EXPECT_EQ(entries[1].title, "T");
}

TEST(FeedCutter, AnRssLinkWithAttributesOrAnHrefIsTheItemsLink) {
    auto items =
        cut("<rss><channel>"
            "<item><title>1</title><link href=\"http://lh.test/1\"/></item>"
            "<item><title>2</title><link rel=\"alternate\"> http://lh.test/2?a=1&amp;amp;b=2 </link></item>"
            "<item><title>3</title><link rel=\"enclosure\" href=\"http://lh.test/3.mp3\"/>"
            "<guid>http://lh.test/3</guid></item>"
            "<item><title>4</title><link href=\"/x/4\"/><link>http://lh.test/4</link></item>"
            "</channel></rss>",
            {"http://feeds.test/f.xml", "", ""});
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].link, "http://lh.test/1");
    EXPECT_EQ(items[1].link, "http://lh.test/2?a=1&b=2");
    EXPECT_EQ(items[2].link, "http://lh.test/3"); // an enclosure is no page: the permalink is
    EXPECT_EQ(items[3].link, "http://lh.test/4"); // a plain link element first
}

TEST(FeedCutter, ItemsInCommentsAreNoItems) {
    auto items = cut("<rss><channel><title>Chan</title>"
                     "<!-- <item><title>Commented out</title><link>http://c.test/0</link></item> -->"
                     "<item><title>Real</title><!-- </item><item> -->"
                     "<link>http://c.test/1</link></item><!-- <item> unclosed");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, "Real");
    EXPECT_EQ(items[0].link, kPrefix + "http://c.test/1");
    // Only a commented-out item: the feed has none, and its channel's title stands for it.
    items = cut("<rss><channel><title>Chan</title><!-- <item><title>Old</title></item> --></channel></rss>");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, "Chan");
}

TEST(FeedCutter, WhatCdataAndCommentsHoldNeitherEndsAnItemNorGivesItsTitleOrLink) {
    auto items =
        cut("<rss><channel><description><![CDATA[<item><title>Channel text</title></item>]]></description>"
            "<item><title>A</title><description><![CDATA[<p>x</p></item><item><title>No</title>"
            "<link>http://no.test/</link>]]></description><link>http://a.test/</link></item>"
            "<item><!-- </item><title>Old</title><link>http://old.test/</link> -->"
            "<title><![CDATA[a </title> b]]></title><link>http://b.test/</link></item>"
            "<item><description><![CDATA[<title>Not</title><link href=\"http://no.test/h\"/>"
            "<atom:link href=\"http://no.test/a\"/>]]></description><title>C</title>"
            "<guid>http://c.test/</guid></item>"
            "<item><title>D</title><link><![CDATA[http://d.test/?a=</link>]]></link></item>"
            "<item><title>E</title><description><![CDATA[never closed </item><item><title>F</title>",
            {"", "", ""});
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].title, "A");
    EXPECT_EQ(items[0].link, "http://a.test/");
    EXPECT_EQ(items[1].title, "a </title> b");
    EXPECT_EQ(items[1].link, "http://b.test/");
    EXPECT_EQ(items[2].title, "C");
    EXPECT_EQ(items[2].link, "http://c.test/");
    EXPECT_EQ(items[3].link, "http://d.test/?a=</link>");
    EXPECT_EQ(items[4].title, "E"); // the rest of the body is the section's text
    // Atom: an entry's content and comments end no entry, and lend it no title, link or id.
    auto entries = cut("<feed xmlns=\"http://www.w3.org/2005/Atom\"><entry><content type=\"html\"><![CDATA["
                       "</entry><entry><title>No</title><link href=\"http://no.test/1\"/>]]></content>"
                       "<title>One</title><link href=\"http://e.test/1\"/></entry>"
                       "<!-- <entry><title>Old</title></entry> -->"
                       "<entry><!-- <link href=\"http://no.test/2\"/> </entry> --><title>Two</title>"
                       "<summary><![CDATA[<id>http://no.test/id</id>]]></summary><id>urn:2</id></entry>"
                       "<entry><source><title><![CDATA[</source>]]></title><link href=\"http://src.test/\"/>"
                       "</source><title>Three</title></entry></feed>",
                       {"", "", ""});
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].title, "One");
    EXPECT_EQ(entries[0].link, "http://e.test/1");
    EXPECT_EQ(entries[1].title, "Two");
    EXPECT_EQ(entries[1].link, "");
    EXPECT_EQ(entries[2].title, "Three");
    EXPECT_EQ(entries[2].link, "");
}

TEST(FeedCutter, CdataGivesItsContentAndEntitiesAreDecodedInTitlesAndLinks) {
    auto items = cut(feed(item("<![CDATA[股市 & 汇市 &amp;c]]>", "http://x.test/?a=1&amp;amp;b=2") +
                          item("A &amp; B &mdash; &#x4E2D;&#25991;", "<![CDATA[http://x.test/c]]>")));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].title, Utf8ToAnsi("股市 & 汇市 &c"));
    EXPECT_EQ(items[0].link, kPrefix + "http://x.test/?a=1&b=2");
    EXPECT_EQ(items[1].title, Utf8ToAnsi("A & B — 中文"));
    EXPECT_EQ(items[1].link, kPrefix + "http://x.test/c");
}

TEST(FeedCutter, SurroundingBlanksAreTrimmedAndNulBytesDropped) {
    using namespace std::string_literals;
    auto items = cut(
        feed(item("\r\n\t\u3000 新华社\0 报道 \t\r\n"s, " http://x.test/\0a \r\n"s) + item("\0"s, "\0"s)));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].title, Utf8ToAnsi("新华社 报道"));
    EXPECT_EQ(items[0].link, kPrefix + "http://x.test/a");
    EXPECT_EQ(items[1].title, "");
    EXPECT_EQ(items[1].link, kPrefix);
}

TEST(FeedCutter, FourByteCharactersDecodeAndABadByteCostsOnlyItself) {
    auto items = cut(feed(item("笑脸😀 𠀀", "http://x.test/1") + item("好\xE4消息\xFF", "http://x.test/2")));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].title, Utf8ToAnsi("笑脸😀 𠀀"));
    EXPECT_EQ(items[1].title, Utf8ToAnsi("好\uFFFD消息\uFFFD"));
    EXPECT_EQ(items[1].link, kPrefix + "http://x.test/2");
}

TEST(FeedCutter, RssOneItemsWithAttributesAreItemsAndTheChannelIsNot) {
    const std::string rdf =
        "<rdf:RDF><channel rdf:about=\"http://c.test/\"><title>Channel</title><link>http://c.test/</link>"
        "<items><rdf:Seq><rdf:li resource=\"http://c.test/1\"/></rdf:Seq></items></channel>"
        "<item rdf:about=\"http://c.test/1\"><title>One</title><link>http://c.test/1</link></item>"
        "<item\n "
        "rdf:about=\"http://c.test/2\"><title>Two</title><link>http://c.test/2</link></item></rdf:RDF>";
    auto items = cut(rdf);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].title, "One");
    EXPECT_EQ(items[1].title, "Two");
    EXPECT_EQ(items[1].link, kPrefix + "http://c.test/2");
}

TEST(FeedCutter, AtomEntriesTakeTheirTitleOfAnyTypeAndTheirPageLink) {
    const std::string atom =
        "<feed xmlns=\"http://www.w3.org/2005/Atom\"><title>Feed</title><link href=\"http://f.test/\"/>"
        "<entry><title type=\"html\">Example &lt;b&gt;Atom&lt;/b&gt; &amp;amp; co</title>"
        "<link rel=\"self\" href=\"http://f.test/self\"/><link rel=\"enclosure\" "
        "href=\"http://f.test/a.mp3\"/>"
        "<link rel=\"alternate\" type=\"text/html\" href=\"/entries/1?a=1&amp;b=2\"/></entry>"
        "<entry><title type='xhtml'><div xmlns=\"http://www.w3.org/1999/xhtml\">X <i>y</i> "
        "&amp;lt;</div></title>"
        "<link type=\"application/pdf\" href=\"http://f.test/2.pdf\"/><link href=\"2.html\"/></entry>"
        "<entry><title>a &lt;b&gt; c</title><id>http://f.test/3</id></entry>"
        "<entry><title/><link href='http://f.test/4'/></entry>"
        "<entry><title>5</title><link rel='alternate' href='http://f.test/5a'/><link "
        "href='http://f.test/5b'/>"
        "<link rel='alternate' href='http://f.test/5c?a=1&amp;amp;b'/></entry></feed>";
    auto items = cut(atom, {"http://f.test/feeds/atom.xml", "", ""});
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].title, "Example Atom & co");
    EXPECT_EQ(items[0].link, "http://f.test/entries/1?a=1&b=2");
    EXPECT_EQ(items[1].title, "X y &lt;");
    EXPECT_EQ(items[1].link, "http://f.test/feeds/2.html");
    EXPECT_EQ(items[2].title, "a <b> c"); // plain text keeps what looks like markup
    EXPECT_EQ(items[2].link, "http://f.test/3");
    EXPECT_EQ(items[3].title, "");
    EXPECT_EQ(items[3].link, "http://f.test/4");
    EXPECT_EQ(items[4].link, "http://f.test/5c?a=1&amp;b"); // the last page link, escaped once
}

TEST(FeedCutter, AnAtomEntryEndsAtItsCloseOrWhereTheNextStarts) {
    auto items = cut("<feed xmlns=\"http://www.w3.org/2005/Atom\"><entry/><entry><title>B</title></entry>"
                     "<entry><title>C</title><link href=\"http://c.test/\"/>"
                     "<entry><title>D</title></entry></feed>",
                     {"", "", ""});
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].title, "");
    EXPECT_EQ(items[1].title, "B");
    EXPECT_EQ(items[2].title, "C");
    EXPECT_EQ(items[2].link, "http://c.test/");
    EXPECT_EQ(items[3].title, "D");
    EXPECT_EQ(items[3].link, "");
}

TEST(FeedCutter, AnAtomEntrysSourceAndContentLendItNoTitleOrLink) {
    const std::string atom =
        "<feed xmlns=\"http://www.w3.org/2005/Atom\"><title>Feed</title>"
        "<entry><source><title>Copied from</title><link "
        "href=\"http://src.test/\"/><id>http://src.test/id</id>"
        "</source><title>Own</title><link type=\"text/html\" href=\"http://e.test/1\"/>"
        "<content type=\"html\">&lt;title&gt;Not this&lt;/title&gt;&lt;link href=\"http://no.test/\"/&gt;"
        "</content></entry>"
        "<entry><source><title>S</title><link href=\"http://src.test/2\"/></source><id>urn:2</id></entry>"
        "<entry><title type=\"xhtml\">\n  <div xmlns=\"http://www.w3.org/1999/xhtml\"><div>Nested "
        "<em>x</em></div></div>\n</title><link rel=\"alternate\" href=\"http://e.test/3a\"/>"
        "<link rel=\"alternate\" type=\"text/html\" href=\"http://e.test/3b\"/></entry></feed>";
    auto items = cut(atom, {"", "", ""});
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].title, "Own");
    EXPECT_EQ(items[0].link, "http://e.test/1");
    EXPECT_EQ(items[1].title, "");
    EXPECT_EQ(items[1].link, "");
    EXPECT_EQ(items[2].title, "Nested x");
    EXPECT_EQ(items[2].link, "http://e.test/3b");
}

TEST(FeedCutter, AtomLinksResolveAgainstTheXmlBaseOfTheFeedTheEntryAndTheLink) {
    const std::string atom =
        "<feed xmlns=\"http://www.w3.org/2005/Atom\" xml:base=\"http://base.test/blog/\">"
        "<entry><title>a</title><link href=\"post/1\"/></entry>"
        "<entry xml:base=\"/other/\"><title>b</title><link href=\"2\"/></entry>"
        "<entry><title>c</title><link xml:base=\"http://l.test/x/\" href=\"3\"/></entry></feed>";
    auto items = cut(atom, {"http://feed.test/f.xml", "", ""});
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].link, "http://base.test/blog/post/1");
    EXPECT_EQ(items[1].link, "http://base.test/other/2");
    EXPECT_EQ(items[2].link, "http://l.test/x/3");
}

TEST(FeedCutter, TheBodysCharacterSetDecidesHowTitlesRead) {
    const std::string gbk = Utf8ToAnsi("国际时事");
    // The declaration alone; then an HTTP charset over a wrong declaration.
    auto items =
        cut("<?xml version='1.0' encoding='gb2312'?><rss><item><title>" + gbk + "</title></item></rss>");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, gbk);
    items = cut("<?xml version='1.0' encoding='utf-8'?><rss><item><title>" + gbk + "</title></item></rss>",
                {"", "application/rss+xml; charset=\"gbk\"", ""});
    EXPECT_EQ(items.at(0).title, gbk);
    // Latin-1 labels read as windows-1252, whose 0x93 and 0x94 are quotes.
    items = cut("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><rss><item><title>Caf\xE9 "
                "\x93q\x94</title></item></rss>");
    EXPECT_EQ(items.at(0).title, Utf8ToAnsi("Café “q”"));
    // UTF-16 with its byte-order mark wins over any charset the server names.
    std::u16string wide = u"<?xml version=\"1.0\" encoding=\"utf-16\"?><rss><item><title>国际😀</title>"
                          u"<link>http://x.test/</link></item></rss>";
    std::string utf16 = "\xFF\xFE" + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
    items = cut(utf16, {"", "text/xml; charset=iso-8859-1", ""});
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, Utf8ToAnsi("国际😀"));
    EXPECT_EQ(items[0].link, "http://x.test/");
    // Shift_JIS, Big5 and EUC-KR, each by its declaration.
    for (const char* cs : {"Shift_JIS", "Big5", "EUC-KR"}) {
        SCOPED_TRACE(cs);
        const std::string text = std::string(cs) == "Shift_JIS" ? "日本語\\"
                                 : std::string(cs) == "Big5"    ? "國際"
                                                                : "서울";
        const std::string bytes = TranscodeForTest(text, cs);
        items = cut("<?xml version='1.0' encoding='" + std::string(cs) + "'?><rss><item><title>" + bytes +
                    "</title></item></rss>");
        EXPECT_EQ(items.at(0).title, Utf8ToAnsi(text));
    }
}

TEST(FeedCutter, TheBytesOverruleALabelThatCannotBeRight) {
    const std::string item1252 = "<rss><item><title>Caf\xE9 \x93q\x94</title></item></rss>";
    // The server says UTF-8, the document windows-1252, and the bytes are no UTF-8.
    auto items = cut("<?xml version='1.0' encoding='windows-1252'?>" + item1252,
                     {"", "application/rss+xml; charset=utf-8", ""});
    EXPECT_EQ(items.at(0).title, Utf8ToAnsi("Café “q”"));
    // Nobody says anything, and not one byte sequence is UTF-8: legacy 8-bit text.
    items = cut(item1252);
    EXPECT_EQ(items.at(0).title, Utf8ToAnsi("Café “q”"));
    // Labelled Latin-1, written in UTF-8 throughout.
    items =
        cut("<rss><item><title>Café “q” 😀</title></item></rss>", {"", "text/xml; charset=ISO-8859-1", ""});
    EXPECT_EQ(items.at(0).title, Utf8ToAnsi("Café “q” 😀"));
    // Served as GBK, declared and written as UTF-8.
    items = cut("<?xml version='1.0' encoding='utf-8'?><rss><item><title>国际</title></item></rss>",
                {"", "application/rss+xml; charset=gbk", ""});
    EXPECT_EQ(items.at(0).title, Utf8ToAnsi("国际"));
    // UTF-8 with a stray byte stays UTF-8: the stray costs only itself.
    items = cut("<rss><item><title>é \xE9</title></item></rss>", {"", "", ""});
    EXPECT_EQ(items.at(0).title, Utf8ToAnsi("é \uFFFD"));
}

TEST(FeedCutter, EntitiesADocumentDeclaresAreNotExpanded) {
    const std::string body =
        "<?xml version=\"1.0\"?><!DOCTYPE rss [<!ENTITY a \"aaaaaaaaaa\">"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
        "<rss><item><title>&b; &a; &amp;</title><link>http://x.test/&b;</link></item></rss>";
    auto items = cut(body);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, "&b; &a; &");
    EXPECT_EQ(items[0].link, kPrefix + "http://x.test/&b;");
}

TEST(FeedCutter, ATitleIsCutToFourKibibytesAtAWholeCharacter) {
    // 2049 two-byte characters: the last would take the title to 4098 bytes.
    std::string title;
    for (int i = 0; i < 2047; ++i)
        title += "中";
    title += "国国";
    auto items = cut(feed(item(title, "http://x.test/")));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title.size(), 4096u);
    EXPECT_EQ(AnsiToUtf8(items[0].title).substr(AnsiToUtf8(items[0].title).size() - 3), "国");
    // After one ASCII byte the cap falls inside a two-byte character: it is left out whole.
    std::string odd = "a";
    for (int i = 0; i < 2100; ++i)
        odd += "中";
    items = cut(feed(item(odd, "http://x.test/")));
    EXPECT_EQ(items.at(0).title.size(), 4095u);
    EXPECT_EQ(AnsiToUtf8(items[0].title).substr(AnsiToUtf8(items[0].title).size() - 3), "中");
    // A four-byte character that would straddle the cap is left out whole.
    items = cut(feed(item("ab" + std::string(4092, 'x') + "😀", "l")));
    EXPECT_EQ(items.at(0).title, "ab" + std::string(4092, 'x'));
}

TEST(FeedCutter, RelativeLinksResolveAgainstTheFeedAndUnsafeSchemesAreDropped) {
    const TFeedOrigin origin{"http://n.test/a/b/feed.xml?x=1", "", ""};
    auto items = cut(feed(item("1", "c.html") + item("2", "../d/e.html#f") + item("3", "/g?h") +
                          item("4", "//cdn.test/i") + item("5", "?q") + item("6", "JavaScript:alert(1)") +
                          item("7", "mailto:a@n.test") + item("8", "https://o.test/") + item("9", "")),
                     origin);
    ASSERT_EQ(items.size(), 9u);
    EXPECT_EQ(items[0].link, "http://n.test/a/b/c.html");
    EXPECT_EQ(items[1].link, "http://n.test/a/d/e.html#f");
    EXPECT_EQ(items[2].link, "http://n.test/g?h");
    EXPECT_EQ(items[3].link, "http://cdn.test/i");
    EXPECT_EQ(items[4].link, "http://n.test/a/b/feed.xml?q");
    EXPECT_EQ(items[5].link, "");
    EXPECT_EQ(items[6].link, "mailto:a@n.test");
    EXPECT_EQ(items[7].link, "https://o.test/");
    EXPECT_EQ(items[8].link, ""); // no link is not the feed itself
}

TEST(FeedCutter, TagsMatchCaseSensitivelyAndMissingEndsGiveEmptyTexts) {
    EXPECT_TRUE(cut("<ITEM><TITLE>x</TITLE></ITEM>").empty());
    auto items = cut("<item><title>never closed<link>http://x.test/</link>");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].title, "");
    EXPECT_EQ(items[0].link, kPrefix + "http://x.test/");
    // No "<link>" in the item: a stray "</link>" makes no link of the text before it.
    items = cut("<item><title>T</title>abc</link></item>");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].link, kPrefix);
}

TEST(FeedCutter, TenItemsGiveTwentyLinesAlternatingWithSeparators) {
    std::string items;
    for (int i = 0; i < 10; ++i)
        items += item("标题" + std::to_string(i), "http://x.test/" + std::to_string(i));
    THeadlineStore store;
    CutHeadlines(feed(items), TFeedOrigin{"", "", kPrefix}, store);
    auto lines = HeadlineListLines(store);
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[19], " ");
    EXPECT_EQ(lines[18], Utf8ToAnsi("标题9"));
    EXPECT_TRUE(IsHeadlineLine(18));
    EXPECT_FALSE(IsHeadlineLine(19));
    EXPECT_FALSE(IsHeadlineLine(-1));
    EXPECT_EQ(*LinkOfLine(store, 18), kPrefix + "http://x.test/9");
    EXPECT_EQ(LinkOfLine(store, 19), nullptr);
    EXPECT_EQ(TitleOfLine(store, 20), nullptr); // past the store
    // "标题9" is five bytes in the code page; longest is 5, so with "A" 7 wide the extent is 40.
    EXPECT_EQ(LongestLineBytes(lines), 5u);
    EXPECT_EQ(HorizontalExtent(LongestLineBytes(lines), 7), 40);
}

TEST(FeedCutter, ExtentIsLongestLineTimesWidthOfAPlusFive) {
    EXPECT_EQ(HorizontalExtent(40, 7), 285);
    EXPECT_EQ(HorizontalExtent(0, 7), 5);
    EXPECT_EQ(HorizontalExtent(std::size_t(1) << 40, 8), 2147483647); // never wraps negative
}

TEST(FeedCutter, FetchFailureLeavesAnEmptyStoreAndSuccessFillsIt) {
    THeadlineStore store;
    store.Append({"old", "old"});
    std::string asked;
    bool ok = FetchHeadlines(
        store,
        [&](const std::string& url) -> TFeedBody {
            asked = url;
            throw std::runtime_error("connection refused");
        },
        "http://feed.test/rss/world.xml", kPrefix);
    EXPECT_FALSE(ok);
    EXPECT_EQ(asked, "http://feed.test/rss/world.xml");
    EXPECT_EQ(store.Count(), 0);

    ok = FetchHeadlines(
        store,
        [&](const std::string&) {
            return TFeedBody{feed(item("A", "a") + item("B", "b")), ""};
        },
        "u", kPrefix);
    EXPECT_TRUE(ok);
    EXPECT_EQ(store.Count(), 2);
    ok = FetchHeadlines(
        store,
        [&](const std::string&) {
            return TFeedBody{feed(item("C", "c")), ""};
        },
        "u", kPrefix);
    EXPECT_TRUE(ok);
    EXPECT_EQ(store.Count(), 1); // a second fetch replaces the first list entirely
    EXPECT_EQ(store.Item(0).title, "C");
}

// The cutter must agree with the step-by-step algorithm on every input, however broken.
namespace {

void expectSameAsSteps(const std::string& body) {
    auto expected = stepbystep::Cut(body);
    std::vector<THeadlineItem> actual;
    CutFeedItems(body, [&](const TRawFeedItem& raw) {
        actual.push_back({std::string(raw.title), std::string(raw.link)});
        return true;
    });
    ASSERT_EQ(actual.size(), expected.size()) << "body: " << body;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(actual[i].title, expected[i].title) << "item " << i << " of body: " << body;
        ASSERT_EQ(actual[i].link, expected[i].link) << "item " << i << " of body: " << body;
    }
}

} // namespace

TEST(FeedCutter, AgreesWithTheStepsOnEveryPrefixOfARealisticFeed) {
    std::string body =
        feed(item(" 联合国大会开幕 ", "http://a.test/1") + "<item><title>无链接</title></item>" +
             item("<![CDATA[五月 & 六月]]>", "http://a.test/3") + item("😀", "http://a.test/4") +
             item("English headline", "http://a.test/5"));
    for (std::size_t n = 0; n <= body.size(); ++n)
        expectSameAsSteps(body.substr(0, n));
    // And every suffix, which starts the text in the middle of tags.
    for (std::size_t n = 0; n <= body.size(); ++n)
        expectSameAsSteps(body.substr(n));
}

TEST(FeedCutter, AgreesWithTheStepsOnGeneratedTagSoup) {
    const std::vector<std::string> pieces = {
        "<item>",    "</item>", "<title>",   "</title>",     "<link>", "</link>", "<",       ">",    "/",
        "a",         "xyz",     " ",         "\r\n",         "\t",     "中",      "新闻",    "\xE4", "\x80",
        "\xBF",      "😀",       "<![CDATA[", "]]>",          "<titl",  "item>",   "</titl",  "<lin", "k>",
        "<channel>", "&amp;",   "\xC3\xA9",  "\xED\xA0\x80", "\x01",   "<item ",  "<item\n", "<!--", "-->"};
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 60);
    for (int round = 0; round < 20000; ++round) {
        std::string body;
        for (int k = length(rng); k > 0; --k)
            body += pieces[pick(rng)];
        expectSameAsSteps(body);
    }
}

TEST(FeedCutter, AgreesWithTheStepsOnLongFeedsWithMissingTags) {
    std::mt19937 rng(7);
    for (int round = 0; round < 50; ++round) {
        std::string items;
        for (int i = 0; i < 200; ++i) {
            int drop = static_cast<int>(rng() % 8); // 0..3 drop one tag, the rest keep them all
            std::string it = "<item>";
            if (drop != 0)
                it += "<title> 标题" + std::to_string(i) + " </title>";
            if (drop != 1)
                it += "<link>http://a.test/" + std::to_string(i) + "</link>";
            if (drop == 2)
                it += "<link>only open";
            if (drop != 3)
                it += "</item>";
            items += it + "\n";
        }
        expectSameAsSteps(feed(items));
    }
}
