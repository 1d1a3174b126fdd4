#include "http/TIdHeaderList.h"

#include <gtest/gtest.h>

namespace {

TEST(TIdHeaderList, NamesMatchWithoutRegardToCase) {
    TIdHeaderList h;
    h.Add("Content-Length: 5");
    h.Add("X-Other: y");
    EXPECT_EQ(h.Values("content-length"), "5");
    EXPECT_EQ(h.Values("CONTENT-LENGTH"), "5");
    EXPECT_EQ(h.IndexOfName("x-other"), 1);
    EXPECT_EQ(h.Values("Missing"), "");
    EXPECT_EQ(h.IndexOfName("Missing"), -1);
}

TEST(TIdHeaderList, NameIsTextBeforeFirstColonTakenAsIs) {
    TIdHeaderList h;
    h.Add("Content-Length : 5");
    h.Add("Location: http://a:8080/x");
    h.Add("no colon here");
    EXPECT_EQ(h.Values("Content-Length"), "");
    EXPECT_EQ(h.Values("Content-Length "), "5");
    EXPECT_EQ(h.Values("Location"), "http://a:8080/x");
    EXPECT_EQ(h.Names(2), "");
}

TEST(TIdHeaderList, ValueWithoutSpaceAfterColonAndStrayBlanksIsTrimmed) {
    TIdHeaderList h;
    h.Add("A:1");
    h.Add("B:   two  \r");
    EXPECT_EQ(h.Values("A"), "1");
    EXPECT_EQ(h.Values("B"), "two");
}

TEST(TIdHeaderList, ContinuationLinesJoinWithOneSpace) {
    TIdHeaderList h;
    h.Add("X-Long: first,  ");
    h.Add("   second");
    h.Add("\tthird");
    h.Add("Next: n");
    EXPECT_EQ(h.Values("x-long"), "first, second third");
    EXPECT_EQ(h.Values("Next"), "n");
    // A continuation line is never a header of its own, even when it holds a colon.
    h.Add(" Fake: yes");
    EXPECT_EQ(h.Values(" Fake"), "");
    EXPECT_EQ(h.Values("Next"), "n Fake: yes");
}

TEST(TIdHeaderList, ExtractCollectsEveryLineOfTheNameInOrder) {
    TIdHeaderList h;
    h.Add("Set-Cookie: a=1");
    h.Add("Other: x");
    h.Add("set-cookie: b=2;");
    h.Add("  path=/");
    auto all = h.Extract("SET-COOKIE");
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0], "a=1");
    EXPECT_EQ(all[1], "b=2; path=/");
    EXPECT_TRUE(h.Extract("Nothing").empty());
}

TEST(TIdHeaderList, SetValuesReplacesInPlaceAppendsAndRemoves) {
    TIdHeaderList h(TIdHeaderList::kMessageFoldLength);
    h.SetValues("A", "1");
    h.SetValues("B", "2");
    h.Add(" continued");
    h.SetValues("C", "3");
    h.SetValues("b", "two");
    ASSERT_EQ(h.Count(), 3);
    EXPECT_EQ(h[0], "A: 1");
    EXPECT_EQ(h[1], "b: two"); // replaced in place, continuation dropped
    EXPECT_EQ(h[2], "C: 3");
    h.SetValues("A", "");
    ASSERT_EQ(h.Count(), 2);
    EXPECT_EQ(h[0], "b: two");
    h.SetValues("Absent", "");
    EXPECT_EQ(h.Count(), 2);
    EXPECT_EQ(h.Text(), "b: two\r\nC: 3\r\n");
}

TEST(TIdHeaderList, AddValueKeepsRepeatedHeaders) {
    TIdHeaderList h;
    h.AddValue("Via", "a");
    h.AddValue("Via", "b");
    EXPECT_EQ(h.Extract("via"), (std::vector<std::string>{"a", "b"}));
}

TEST(TIdHeaderList, ShortLinesAreNotFolded) {
    TIdHeaderList h;
    std::string v(78 - 3, 'x'); // "N: " + 75 = 78 exactly
    h.SetValues("N", v);
    ASSERT_EQ(h.Count(), 1);
    EXPECT_EQ(h[0].size(), 78u);
}

TEST(TIdHeaderList, LongLineFoldsAfterLastBlankOrCommaBeforeTheWidth) {
    // Width 20: "Name: aaaa, bbbb cccc dddd" breaks after the last break character before column 20.
    auto pieces = TIdHeaderList::FoldLine("Name: aaaa, bbbb cccc dddd eeee", 20);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], "Name: aaaa, bbbb");
    EXPECT_EQ(pieces[1], " cccc dddd eeee");
    // Separators right after the break are dropped, each later piece starts with one space.
    pieces = TIdHeaderList::FoldLine("Name: aaaaaaaaaaa,,  , bbbbbbbbbbbbbbbbbbbb", 20);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], "Name: aaaaaaaaaaa,,");
    EXPECT_EQ(pieces[1], " bbbbbbbbbbbbbbbbbbbb");
}

TEST(TIdHeaderList, FoldingMakesSeveralPiecesThatUnfoldBack) {
    TIdHeaderList h;
    std::string value;
    for (int i = 0; i < 40; ++i)
        value += "item" + std::to_string(i) + ", ";
    value += "last";
    h.SetValues("List", value);
    ASSERT_GT(h.Count(), 2);
    for (int i = 0; i < h.Count(); ++i) {
        EXPECT_LE(h[i].size(), 78u) << h[i];
        if (i > 0) {
            EXPECT_EQ(h[i][0], ' ');
        }
        EXPECT_NE(h[i].back(), ' ');
    }
    // The fold broke at ", " only, so unfolding gives the value back.
    EXPECT_EQ(h.Values("list"), value);
}

TEST(TIdHeaderList, NeverBreaksInsideQuotesOrWithoutABreakCharacter) {
    std::string quoted =
        "Q: \"" + std::string(30, 'a') + " " + std::string(30, 'b') + " " + std::string(30, 'c') + "\"";
    auto pieces = TIdHeaderList::FoldLine(quoted, 40);
    ASSERT_EQ(pieces.size(), 2u); // only the blank after "Q:" is outside the quotes
    EXPECT_EQ(pieces[0], "Q:");
    EXPECT_EQ(pieces[1][0], ' ');
    std::string solid = "S: " + std::string(200, 'z');
    pieces = TIdHeaderList::FoldLine("S:" + std::string(200, 'z'), 40);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].size(), 202u);
    EXPECT_EQ(TIdHeaderList::FoldLine(solid, 40).size(), 2u);
}

TEST(TIdHeaderList, FoldingNeverCutsTheName) {
    // A name holding a blank or a comma (only a careless caller makes one) still reads back.
    TIdHeaderList h(20);
    std::string name = "Odd, Name With Blanks";
    h.SetValues(name, "one two three four five six");
    EXPECT_EQ(h[0].rfind(name + ":", 0), 0u) << h[0];
    EXPECT_EQ(h.Values(name), "one two three four five six");
}

TEST(TIdHeaderList, RequestListsFoldPastColumn1024Only) {
    TIdHeaderList h(TIdHeaderList::kMessageFoldLength);
    std::string shortCookie, longCookie;
    for (int i = 0; i < 60; ++i)
        shortCookie += (i ? "; c" : "c") + std::to_string(i) + "=v";
    for (int i = 0; i < 300; ++i)
        longCookie += (i ? "; c" : "c") + std::to_string(i) + "=value";
    h.SetValues("Cookie", shortCookie);
    EXPECT_EQ(h.Count(), 1);
    h.SetValues("Cookie", longCookie);
    ASSERT_GT(h.Count(), 1);
    for (int i = 1; i < h.Count(); ++i) {
        EXPECT_EQ(h[i][0], ' ');
        EXPECT_LE(h[i].size(), 1024u);
    }
    EXPECT_EQ(h.Values("cookie").size(), longCookie.size());
}

TEST(TIdHeaderList, FoldingCanBeSwitchedOff) {
    TIdHeaderList h;
    h.SetFoldLines(false);
    h.SetValues("N", std::string(100, 'a') + " " + std::string(100, 'b'));
    EXPECT_EQ(h.Count(), 1);
    h.Add(" more");
    h.SetUnfoldLines(false);
    EXPECT_EQ(h.Values("N"), std::string(100, 'a') + " " + std::string(100, 'b'));
}

TEST(TIdHeaderList, FoldingAHugeLineKeepsEveryWordWithinTheWidth) {
    // A 2 MB header of short words (how long the folding takes is measured in bench/http).
    std::string value;
    value.reserve(2 << 20);
    while (value.size() < (2u << 20))
        value += "word ";
    const auto pieces = TIdHeaderList::FoldLine("X: " + value, 78);
    ASSERT_GT(pieces.size(), 20000u);
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        ASSERT_LE(pieces[i].size(), 78u) << i;
        if (i > 0) { // a continuation line, cut between words
            ASSERT_EQ(pieces[i].rfind(" word", 0), 0u) << i;
        }
        joined += pieces[i];
    }
    EXPECT_EQ(joined, "X: " + value.substr(0, value.size() - 1));
}

} // namespace
