// Fitting a caption into the title bar: the same text as dropping one character at a time,
// whole characters only, and a cost that does not grow with the caption's length.
#include "framework/AnsiText.h"
#include "framework/TBitmap.h"
#include "skin/SuiCaptionFit.h"
#include "tests/support/GuiTest.h"

#include <QTextBoundaryFinder>

#include <string>
#include <string_view>

namespace {

// The rule as the bar first had it: measure the whole caption; if too wide, drop the last
// character and measure text + "..." again, until it fits or nothing is left.
QString fitOneAtATime(const QString& caption, int width, const TTextMeasure& measure) {
    if (measure(caption) <= width)
        return caption;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, caption);
    finder.toEnd();
    qsizetype end = caption.size();
    while (end > 0) {
        end = finder.toPreviousBoundary();
        if (end <= 0 || measure(caption.left(end) + "...") <= width)
            break;
    }
    return caption.left(std::max<qsizetype>(end, 0)) + "...";
}

// Widths that differ from character to character, so a cut in the wrong place shows.
int unevenWidth(const QString& s) {
    int w = 0;
    for (QChar c : s)
        w += 3 + c.unicode() % 7;
    return w;
}

QString captionOf(int length, int seed) {
    QString s;
    constexpr std::u16string_view kLetters = u"Zelmora 新闻浏览器 headline: é";
    for (int i = 0; i < length; ++i)
        s += QChar(kLetters[std::size_t(i * 7 + seed) % kLetters.size()]);
    return s;
}

} // namespace

TEST(CaptionFit, SameTextAsDroppingOneCharacterAtATime) {
    TBitmap bmp(1, 1);
    TCanvas& canvas = bmp.Canvas();
    canvas.Font().SetName("Tahoma");
    canvas.Font().SetStyle(fsBold);
    canvas.Font().SetHeight(13);
    const TTextMeasure font = [&](const QString& s) { return canvas.TextWidth(s); };

    int shortened = 0;
    for (int length : {0, 1, 2, 3, 5, 17, 60, 200}) {
        const QString caption = captionOf(length, length);
        for (int width = -5; width <= 420; width += 7) {
            for (const TTextMeasure* m : {&font, static_cast<const TTextMeasure*>(nullptr)}) {
                const TTextMeasure measure = m ? *m : TTextMeasure(unevenWidth);
                const QString expected = fitOneAtATime(caption, width, measure);
                ASSERT_EQ(FitCaption(caption, width, measure), expected)
                    << "length " << length << " width " << width;
                shortened += expected != caption;
            }
        }
    }
    EXPECT_GT(shortened, 100); // the search was really exercised
}

TEST(CaptionFit, WholeCaptionWhenItFitsEllipsisAloneWhenNothingDoes) {
    const TTextMeasure measure = [](const QString& s) { return int(s.size()) * 10; };
    EXPECT_EQ(FitCaption("abcd", 40, measure), "abcd");
    EXPECT_EQ(FitCaption("abcde", 40, measure), "a...");
    EXPECT_EQ(FitCaption("abcde", 29, measure), "...");
    // Not even "..." fits: it is drawn alone all the same.
    EXPECT_EQ(FitCaption("abcde", 5, measure), "...");
    EXPECT_EQ(FitCaption("", 5, measure), "");
    EXPECT_EQ(FitCaption("", -1, measure), "...");
}

TEST(CaptionFit, NeverSplitsASurrogatePair) {
    // U+1F4F0 NEWSPAPER is two UTF-16 units; with one unit per 10 pixels every odd cut would
    // land between the halves.
    QString caption;
    for (int i = 0; i < 12; ++i)
        caption += QString::fromUtf8("\xF0\x9F\x93\xB0");
    const TTextMeasure measure = [](const QString& s) { return int(s.size()) * 10; };
    for (int width = 0; width < 240; ++width) {
        const QString shown = FitCaption(caption, width, measure);
        for (qsizetype i = 0; i < shown.size(); ++i) {
            ASSERT_FALSE(shown[i].isLowSurrogate()) << "width " << width;
            if (shown[i].isHighSurrogate()) {
                ASSERT_TRUE(i + 1 < shown.size() && shown[i + 1].isLowSurrogate()) << "width " << width;
                ++i;
            }
        }
    }
}

TEST(CaptionFit, GbkCaptionKeepsWholeDoubleByteCharacters) {
    // A caption read from the reader's GBK text: every cut, turned back into GBK, is a prefix
    // of the original bytes that ends on a character boundary.
    const std::string gbk = QStringToAnsi(QString::fromUtf8("新闻浏览器 国际时事 Zelmora 头条新闻标题"));
    const QString caption = AnsiToQString(gbk);
    TBitmap bmp(1, 1);
    TCanvas& canvas = bmp.Canvas();
    canvas.Font().SetName("宋体");
    canvas.Font().SetHeight(12);
    const TTextMeasure measure = [&](const QString& s) { return canvas.TextWidth(s); };
    for (int width = 0; width < canvas.TextWidth(caption) + 10; width += 3) {
        QString shown = FitCaption(caption, width, measure);
        if (shown.endsWith("...") && shown != caption)
            shown.chop(3);
        const std::string bytes = QStringToAnsi(shown);
        ASSERT_EQ(gbk.compare(0, bytes.size(), bytes), 0) << "width " << width;
        ASSERT_EQ(AnsiToQString(bytes), shown) << "width " << width;
    }
}

TEST(CaptionFit, ALongCaptionIsMeasuredOnlyAsFarAsTheSpaceReaches) {
    // A pasted text of 5,000 characters in a 700-pixel space: the classic rule measured the whole
    // text thousands of times; the search measures a few short prefixes.
    const QString caption = captionOf(5000, 3);
    long long measuredChars = 0;
    int calls = 0;
    const TTextMeasure measure = [&](const QString& s) {
        measuredChars += s.size();
        ++calls;
        return unevenWidth(s);
    };
    const QString shown = FitCaption(caption, 700, measure);
    EXPECT_EQ(shown, fitOneAtATime(caption, 700, unevenWidth));
    // About 100 characters fit; nothing near the whole text is ever measured.
    EXPECT_LT(measuredChars, 2000);
    EXPECT_LT(calls, 30);
}
