#include "framework/core/CodePage.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iconv.h>
#include <optional>

namespace {

// "新闻" in GBK is D0 C2 CE C5.
const std::string kNewsGbk = "\xD0\xC2\xCE\xC5";

// iconv of one whole string, or nullopt when iconv refuses any of it: the oracle.
std::optional<std::string> iconvAll(const char* to, const char* from, std::string_view in) {
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string out(in.size() * 4 + 8, '\0');
    char* src = const_cast<char*>(in.data());
    char* dst = out.data();
    std::size_t srcLeft = in.size(), dstLeft = out.size();
    const std::size_t rc = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    ::iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1) || srcLeft != 0)
        return std::nullopt;
    out.resize(out.size() - dstLeft);
    return out;
}

} // namespace

TEST(CodePage, ChineseRoundTripsBetweenGbkUtf8AndUtf16) {
    EXPECT_EQ(Utf8ToAnsi("新闻 abc"), kNewsGbk + " abc");
    EXPECT_EQ(AnsiToUtf8(kNewsGbk + " abc"), "新闻 abc");
    EXPECT_EQ(AnsiToUtf16(kNewsGbk), u"新闻");
    EXPECT_EQ(Utf16ToAnsi(u"新闻"), kNewsGbk);
    EXPECT_EQ(Utf8ToAnsi("Zelmora新闻浏览器 V2.01"), Utf16ToAnsi(u"Zelmora新闻浏览器 V2.01"));
    EXPECT_EQ(AnsiToUtf8(""), "");
    EXPECT_EQ(Utf16ToAnsi(u""), "");
}

TEST(CodePage, EveryGbkCodeKeepsItsBytesAndItsCharacter) {
    int codes = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            const std::string gbk{static_cast<char>(lead), static_cast<char>(trail)};
            std::optional<std::string> utf8 = iconvAll("UTF-8", "CP936", gbk);
            if (!utf8)
                continue;
            ++codes;
            ASSERT_EQ(Utf8ToAnsi(AnsiToUtf8(gbk)), gbk) << std::hex << lead << " " << trail;
            ASSERT_EQ(Utf16ToAnsi(AnsiToUtf16(gbk)), gbk) << std::hex << lead << " " << trail;
            ASSERT_EQ(AnsiToUtf8(gbk), *utf8) << std::hex << lead << " " << trail;
        }
    EXPECT_GT(codes, 21000);
}

TEST(CodePage, EveryCharacterHasACodeAndComesBack) {
    // Every BMP character but the surrogates, each as iconv's GB18030 has it. iconv has no code
    // for a few private-use characters whose codes went to standard characters in 2005; those
    // alone may become U+FFFD.
    const std::string fffd = Utf8ToAnsi("\uFFFD");
    int privateWithoutCode = 0;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const std::u16string one(1, static_cast<char16_t>(c));
        const std::string ansi = Utf16ToAnsi(one);
        const std::optional<std::string> expected =
            iconvAll("GB18030", "UTF-16LE", std::string_view(reinterpret_cast<const char*>(one.data()), 2));
        if (!expected) {
            ASSERT_TRUE(c >= 0xE000 && c <= 0xF8FF) << std::hex << static_cast<unsigned>(c);
            ASSERT_EQ(ansi, fffd);
            ++privateWithoutCode;
            continue;
        }
        ASSERT_EQ(ansi, *expected) << std::hex << static_cast<unsigned>(c);
        ASSERT_EQ(AnsiToUtf16(ansi), one) << std::hex << static_cast<unsigned>(c);
    }
    EXPECT_LE(privateWithoutCode, 24);

    for (const char* utf8 : {"ä", "é", "ő", "한", "𠀀", "😀", "\xF4\x8F\xBF\xBF", "\xF0\x90\x80\x80"}) {
        const std::string a = Utf8ToAnsi(utf8);
        EXPECT_EQ(AnsiToUtf8(a), utf8);
        EXPECT_EQ(iconvAll("UTF-8", "GB18030", a).value_or("(refused)"), utf8);
    }
    EXPECT_EQ(Utf8ToAnsi("😀"), "\x94\x39\xFC\x36");
    EXPECT_EQ(Utf16ToAnsi(u"x\U0001F600y"), "x\x94\x39\xFC\x36y");
    EXPECT_EQ(Utf8ToAnsi("€"), "\xA2\xE3");
}

TEST(CodePage, AnOldLoneEuroByteReadsAsTheEuroSign) {
    EXPECT_EQ(AnsiToUtf8("5\x80"), "5€");
    EXPECT_EQ(AnsiToUtf16("\x80"), u"€");
}

TEST(CodePage, MalformedInputBecomesOneReplacementEachAndTheRestStays) {
    // ANSI: a byte that is no lead, a lead at the end, a lead before an ASCII byte, a four-byte
    // code cut short.
    EXPECT_EQ(AnsiToUtf8("a\xFF"
                         "b"),
              "a\uFFFDb");
    EXPECT_EQ(AnsiToUtf8("ok\xD0"), "ok\uFFFD");
    EXPECT_EQ(AnsiToUtf8("\x81 A"), "\uFFFD A");
    EXPECT_EQ(AnsiToUtf8("\x81\x30\x81 z"), "\uFFFD0\uFFFD z");
    EXPECT_EQ(AnsiToUtf16("\x81"), u"\uFFFD");

    const std::string fffd = Utf8ToAnsi("\uFFFD");
    EXPECT_EQ(fffd, "\x84\x31\xA4\x37");
    // UTF-8: a stray byte, a sequence cut short (one replacement for its valid beginning), an
    // over-long form and a surrogate (one per byte, since no beginning of them is valid).
    EXPECT_EQ(Utf8ToAnsi("a\xFF"
                         "b"),
              "a" + fffd + "b");
    EXPECT_EQ(Utf8ToAnsi("\xE6\x96"), fffd);
    EXPECT_EQ(Utf8ToAnsi("\xE6\x96x"), fffd + "x");
    EXPECT_EQ(Utf8ToAnsi("\xC0\x80"), fffd + fffd);
    EXPECT_EQ(Utf8ToAnsi("\xED\xA0\x80!"), fffd + fffd + fffd + "!");
    EXPECT_EQ(Utf8ToAnsi("\xF4\x90\x80\x80"), fffd + fffd + fffd + fffd);

    std::u16string lone = u"a";
    lone += char16_t(0xD800);
    lone += u"b";
    lone += char16_t(0xDC00);
    EXPECT_EQ(Utf16ToAnsi(lone), "a" + fffd + "b" + fffd);
}
