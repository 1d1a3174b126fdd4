#include "framework/core/CodePage.h"

#include <gtest/gtest.h>

// "新闻" in GBK is D0 C2 CE C5.
const std::string kNewsGbk = "\xD0\xC2\xCE\xC5";

TEST(CodePage, ChineseRoundTripsBetweenGbkUtf8AndUtf16) {
    EXPECT_EQ(Utf8ToAnsi("新闻 abc"), kNewsGbk + " abc");
    EXPECT_EQ(AnsiToUtf8(kNewsGbk + " abc"), "新闻 abc");
    EXPECT_EQ(AnsiToUtf16(kNewsGbk), u"新闻");
    EXPECT_EQ(Utf16ToAnsi(u"新闻"), kNewsGbk);
    EXPECT_EQ(Utf8ToAnsi("Zelmora新闻浏览器 V2.01"), Utf16ToAnsi(u"Zelmora新闻浏览器 V2.01"));
    EXPECT_EQ(AnsiToUtf8(""), "");
    EXPECT_EQ(Utf16ToAnsi(u""), "");
}

TEST(CodePage, UnrepresentableCharactersBecomeOneDefaultCharacterEach) {
    // Hangul, an emoji (a surrogate pair) and Arabic have no GBK code.
    EXPECT_EQ(Utf8ToAnsi("a한b😀c\xD8\xB9"), "a?b?c?");
    EXPECT_EQ(Utf16ToAnsi(u"x\U0001F600y"), "x?y");
    // A lone surrogate is not a character at all.
    std::u16string lone = u"a";
    lone += char16_t(0xD800);
    lone += u"b";
    EXPECT_EQ(Utf16ToAnsi(lone), "a?b");
}

TEST(CodePage, MalformedInputBecomesDefaultCharactersAndNeverStopsTheRest) {
    EXPECT_EQ(Utf8ToAnsi("a\xFF"
                         "b"),
              "a?b");
    EXPECT_EQ(Utf8ToAnsi("\xE6\x96"), "??"); // cut short at the end
    EXPECT_EQ(AnsiToUtf8("a\xFF"
                         "b"),
              "a?b");                       // 0xFF is no GBK lead byte
    EXPECT_EQ(AnsiToUtf8("ok\xD0"), "ok?"); // lead byte without its trail byte
    EXPECT_EQ(AnsiToUtf16("\x81"), u"?");
}
