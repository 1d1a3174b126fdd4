#include "reader/FeedText.h"

#include "framework/core/CodePage.h"
#include "reader/TFeedTextDecoder.h"

#include <gtest/gtest.h>

namespace {

const TFeedTextDecoder kUtf8("UTF-8");

std::string title(std::string_view raw, TTitleMarkup markup = TTitleMarkup::Guess) {
    return AnsiToUtf8(FeedTitleText(raw, kUtf8, markup));
}

} // namespace

TEST(FeedText, EntitiesAndReferencesDecodeAndUnknownOnesStand) {
    EXPECT_EQ(title("&amp;&lt;&gt;&quot;&apos; &#65;&#x42;&#X43; &eacute;&nbsp;&mdash;&hellip;"),
              "&<>\"' ABC é\u00A0—…");
    // HTML's forgiving forms: a numeric reference without ";", the windows-1252 reading of
    // 128..159, and a replacement for what is no character.
    EXPECT_EQ(title("&#20013 &#150; &#0; &#xD800; &#x110000;"), "中 – \uFFFD \uFFFD \uFFFD");
    EXPECT_EQ(title("AT&T &unknown; & &; &#; &#x;"), "AT&T &unknown; & &; &#; &#x;");
    EXPECT_EQ(title("two-character &NotEqualTilde; entity"), "two-character \u2242\u0338 entity");
}

TEST(FeedText, CdataStandsAsItIsWhereverItIs) {
    EXPECT_EQ(title("<![CDATA[a &lt; b]]> and &lt; <![CDATA[c]]>", TTitleMarkup::Text), "a &lt; b and < c");
    EXPECT_EQ(title("<![CDATA[never closed &amp;", TTitleMarkup::Text), "never closed &amp;");
}

TEST(FeedText, RssTitlesReadAsHtmlOnlyWhenTheyLookLikeIt) {
    EXPECT_EQ(title("&lt;b&gt;Bold&lt;/b&gt; news"), "Bold news");
    EXPECT_EQ(title("Tom &amp;amp; Jerry"), "Tom & Jerry");
    EXPECT_EQ(title("a &lt; b and c &gt; d"), "a < b and c > d");             // no closing tag, no entity
    EXPECT_EQ(title("&lt;script&gt;x&lt;/script&gt;"), "<script>x</script>"); // not a text element
    EXPECT_EQ(title("&lt;b&gt;x&lt;/b&gt; &amp;apos;"), "<b>x</b> &apos;");   // not HTML 4's
    EXPECT_TRUE(LooksLikeHtml("x <i>y</i>"));
    EXPECT_TRUE(LooksLikeHtml("&eacute;"));
    EXPECT_FALSE(LooksLikeHtml("<i>never closed"));
    EXPECT_FALSE(LooksLikeHtml("x <3 </i>"));
}

TEST(FeedText, HtmlTitlesLoseTheirMarkupAndDecodeOnceMore) {
    EXPECT_EQ(title("Example &lt;b&gt;Atom&lt;/b&gt; &amp;amp; &lt;!-- note --&gt;x", TTitleMarkup::Html),
              "Example Atom & x");
    EXPECT_EQ(title("a &lt; b", TTitleMarkup::Html), "a < b");
    EXPECT_EQ(title("<div xmlns='x'>X <b>y</b> &amp;lt; &lt;</div>", TTitleMarkup::Xhtml), "X y &lt; <");
    EXPECT_EQ(title("&lt;b&gt;kept&lt;/b&gt;", TTitleMarkup::Text), "<b>kept</b>");
    EXPECT_EQ(StripMarkup("1 < 2 <a href='>'>x</a><!-- c"), "1 < 2 '>x");
    // A "<" never closed is text; a script or style sheet leaves nothing, closed or not.
    EXPECT_EQ(StripMarkup("a <b>z</b> x<y"), "a z x<y");
    EXPECT_EQ(StripMarkup("a<SCRIPT>alert(1)</script >b<style>p{}"), "ab");
}

TEST(FeedText, BlanksControlsAndSpaces) {
    EXPECT_EQ(title(" \t\u3000\u00A0 a\r\nb\tc\x01"
                    "d \u2003\x02 "),
              "a  b c\x01"
              "d");
    EXPECT_EQ(title("\xC2\x93quoted\xC2\x94"), "“quoted”"); // C1 controls read as windows-1252
    EXPECT_EQ(AnsiToUtf8(FeedLinkText(" http://a.test/\r\n x\ty \u00A0", kUtf8)), "http://a.test/ xy");
}

TEST(FeedText, ThreeByteCharactersAndTheirMalformedNeighbours) {
    EXPECT_EQ(title("中\xEE\x80\x80\xEF\xBF\xBD"), "中\uE000\uFFFD");
    // Cut short, broken by an ASCII byte, a surrogate, an over-long form: one U+FFFD per maximal
    // part, the rest kept.
    EXPECT_EQ(title("a\xE4\xB8"), "a\uFFFD");
    EXPECT_EQ(title("\xE4\x41\x42"), "\uFFFDAB");
    EXPECT_EQ(title("\xED\xA0\x80x"), "\uFFFD\uFFFD\uFFFDx");
    EXPECT_EQ(title("\xE0\x80\x80y"), "\uFFFD\uFFFD\uFFFDy");
    EXPECT_EQ(title("\xE0\xA4\x85 \xED\x9F\xBF"), "\u0905 \uD7FF");
}

TEST(FeedText, Utf8ReadAsLatin1OnceTooOftenReadsAsMeant) {
    EXPECT_EQ(title("CafÃ© crÃ¨me"), "Café crème");
    EXPECT_EQ(title("Ã\u0089tÃ© &amp; more"), "Été & more"); // C1 bytes of the first reading
    EXPECT_EQ(title("<![CDATA[  cafÃ©  ]]>"), "café");
    EXPECT_EQ(AnsiToUtf8(FeedTitleText("Caf\xC3\xA9", TFeedTextDecoder("WINDOWS-1252"), TTitleMarkup::Text)),
              "Café");
    EXPECT_EQ(title("&lt;b&gt;CafÃ©&lt;/b&gt;", TTitleMarkup::Html), "Café");
    // Text that is not such a double reading stands.
    EXPECT_EQ(title("naïve Ärger"), "naïve Ärger");
    EXPECT_EQ(title("Ã© 国"), "Ã© 国");
    EXPECT_EQ(title("Ã© €"), "Ã© €");
}

TEST(FeedText, OtherCharacterSetsDecodeByTheirTables) {
    const TFeedTextDecoder latin("WINDOWS-1252"), sjis("CP932"), big5("CP950");
    EXPECT_EQ(AnsiToUtf8(FeedTitleText("caf\xE9 \x80 \x81", latin, TTitleMarkup::Text)), "café € \uFFFD");
    // Shift_JIS: a backslash stays one, half-width katakana are one byte, a trail byte may be
    // an ASCII letter.
    EXPECT_EQ(AnsiToUtf8(FeedTitleText("\\ \xB1 \x83\x41", sjis, TTitleMarkup::Text)), "\\ ｱ ア");
    EXPECT_EQ(AnsiToUtf8(FeedTitleText("\xB0\xEA \xA4", big5, TTitleMarkup::Text)), "國 \uFFFD");
    EXPECT_EQ(TFeedTextDecoder("ISO-2022-JP").GetKind(), TFeedTextDecoder::Kind::Transcode);
    EXPECT_EQ(TFeedTextDecoder("UTF-16LE").GetKind(), TFeedTextDecoder::Kind::Transcode);
    EXPECT_EQ(TranscodeToUtf8("\x1B$B$\"\x1B(B!", "ISO-2022-JP"), "あ!");
}
