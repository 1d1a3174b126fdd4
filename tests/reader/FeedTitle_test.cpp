#include "reader/FeedTitle.h"

#include "framework/core/CodePage.h"
#include "tests/reader/StepByStepFeed.h"

#include <gtest/gtest.h>
#include <random>

TEST(FeedTitle, DecodesOneTwoAndThreeByteSequences) {
    std::u16string out;
    ASSERT_TRUE(DecodeFeedUtf8("A\xC3\xA9\xE4\xB8\xAD", out));
    EXPECT_EQ(out, u"Aé中");
    // Over-long forms are not checked: C0 80 is a NUL character.
    ASSERT_TRUE(DecodeFeedUtf8("\xC0\x80", out));
    EXPECT_EQ(out, std::u16string(1, u'\0'));
    // A stray trail byte starts a two-byte sequence of its own.
    ASSERT_TRUE(DecodeFeedUtf8("\x80\x80", out));
    EXPECT_EQ(out, std::u16string(1, char16_t(0)));
}

TEST(FeedTitle, ViolationsEmptyTheWholeTitle) {
    std::u16string out;
    EXPECT_FALSE(DecodeFeedUtf8("abc\xE4\xB8", out)); // cut short by the end
    EXPECT_FALSE(DecodeFeedUtf8("\xC3"
                                "A",
                                out));                     // trail byte out of range
    EXPECT_FALSE(DecodeFeedUtf8("\xF0\x9F\x98\x80", out)); // four bytes: the last one starts anew
    EXPECT_FALSE(DecodeFeedUtf8("x\xF0\x9F\x98\x80y", out));
    EXPECT_EQ(FeedTitleToAnsi("好消息\xE4"), "");
    EXPECT_EQ(FeedTitleToAnsi("emoji 😀 title"), "");
}

TEST(FeedTitle, ConvertsToTheCodePageAndTrims) {
    EXPECT_EQ(FeedTitleToAnsi("  体坛快讯\r\n"), "\xCC\xE5\xCC\xB3\xBF\xEC\xD1\xB6");
    EXPECT_EQ(FeedTitleToAnsi("서울 news"), "\x83\x31\xF3\x39\x83\x33\x87\x35 news"); // four-byte codes
    EXPECT_EQ(FeedTitleToAnsi("\x01\x1F x \x7F"), "x \x7F"); // 127 is above 32 and stays
    EXPECT_EQ(FeedTitleToAnsi(" \t\r\n"), "");
    // A character decoded from an over-long form is trimmed like any other control.
    EXPECT_EQ(FeedTitleToAnsi("\xC0\xA0"
                              "a"),
              "a");
}

TEST(FeedTitle, AgreesWithTheByteByByteRuleOnRandomBytes) {
    std::mt19937 rng(99);
    const unsigned char interesting[] = {0x00, 0x20, 0x41, 0x7F, 0x80, 0xBF, 0xC0, 0xC3, 0xDF,
                                         0xE0, 0xE4, 0xED, 0xEF, 0xF0, 0xF4, 0xF8, 0xFF, 0xB8};
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        for (int k = static_cast<int>(rng() % 12); k > 0; --k)
            bytes += static_cast<char>(interesting[rng() % sizeof interesting]);
        std::u16string a, b;
        bool okA = DecodeFeedUtf8(bytes, a);
        bool okB = stepbystep::Decode(bytes, b);
        ASSERT_EQ(okA, okB);
        if (okA) {
            ASSERT_EQ(a, b);
        }
        ASSERT_EQ(FeedTitleToAnsi(bytes), stepbystep::Title(bytes));
    }
}
