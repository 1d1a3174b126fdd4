// The owner-drawn list box: line drawing, selection, keys, clicks and the scroll extent.
#include "framework/AnsiText.h"
#include "framework/TBitmap.h"
#include "framework/TCanvas.h"
#include "framework/TListBox.h"
#include "framework/core/CodePage.h"
#include "tests/support/GuiTest.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

namespace {

using zeltest::Grab;
using zeltest::PixelBGR;

constexpr TColor kListColor = 14609912;

TColor resolved(TColor c) {
    return FromQColor(ToQColor(c));
}

struct ListFixture : ::testing::Test {
    TListBox lb{nullptr};
    std::vector<std::string> log;
    void SetUp() override {
        lb.SetBounds(0, 0, 200, 100);
        lb.SetCtl3D(false);
        lb.SetColor(kListColor);
        lb.Font().SetName("宋体");
        lb.Font().SetHeight(14);
        lb.SetItemHeight(14);
        lb.OnClick = [this](TComponent*) { log.push_back("click " + std::to_string(lb.ItemIndex())); };
        lb.OnDblClick = [this](TComponent*) { log.push_back("dblclick"); };
        lb.OnKeyPress = [this](TComponent*, char16_t& k) { log.push_back("key " + std::to_string(int(k))); };
        for (const char* s : {"WWWW", " ", "Second", " "})
            lb.Items().Add(s);
    }
    void mouse(QEvent::Type type, int x, int y, Qt::MouseButtons buttons = Qt::LeftButton) {
        const QPointF p(x, y);
        QMouseEvent e(type, p, lb.mapToGlobal(p), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(&lb, &e);
    }
    void key(int k, const QString& text = QString()) {
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier, text);
        QApplication::sendEvent(&lb, &e);
    }
};

TEST_F(ListFixture, LinesAreDrawnFourteenHighWithTextTwoPixelsIn) {
    QImage img = Grab(&lb);
    const int frame = resolved(clWindowFrame);
    EXPECT_EQ(PixelBGR(img, 0, 0), frame);
    EXPECT_EQ(PixelBGR(img, 199, 99), frame);
    // Line 0 spans y 1..14; its first two columns are background, the text starts at x 3.
    bool textInLine0 = false, textOutsideLine0 = false;
    for (int y = 1; y < 15; ++y) {
        EXPECT_EQ(PixelBGR(img, 1, y), kListColor) << y;
        EXPECT_EQ(PixelBGR(img, 2, y), kListColor) << y;
        for (int x = 3; x < 60; ++x)
            textInLine0 |= PixelBGR(img, x, y) != kListColor;
    }
    for (int x = 1; x < 199; ++x)
        textOutsideLine0 |= PixelBGR(img, x, 15) != kListColor || PixelBGR(img, x, 16) != kListColor;
    EXPECT_TRUE(textInLine0);
    // Line 1 is the blank separator: nothing but background at its top rows.
    EXPECT_FALSE(textOutsideLine0);
    // Below the last line the list shows its colour.
    EXPECT_EQ(PixelBGR(img, 100, 80), kListColor);
    zeltest::SaveOnFailure(img, "listbox_lines");
}

TEST_F(ListFixture, SelectedLineIsHighlightedWithHighlightText) {
    lb.SetItemIndex(2);
    QImage img = Grab(&lb);
    const int hi = resolved(clHighlight), hiText = resolved(clHighlightText);
    // Line 2 spans y 29..42.
    EXPECT_EQ(PixelBGR(img, 1, 29), hi);
    EXPECT_EQ(PixelBGR(img, 198, 42), hi);
    EXPECT_EQ(PixelBGR(img, 1, 43), kListColor);
    bool textPixel = false;
    for (int y = 29; y < 43; ++y)
        for (int x = 3; x < 80; ++x)
            textPixel |= PixelBGR(img, x, y) == hiText;
    EXPECT_TRUE(textPixel);
    zeltest::SaveOnFailure(img, "listbox_selected");
}

TEST_F(ListFixture, AmpersandIsShownAsItStands) {
    TListBox plain(nullptr);
    plain.SetBounds(0, 0, 200, 20);
    plain.SetCtl3D(false);
    plain.SetItemHeight(14);
    plain.Items().Add("&&&&");
    TListBox other(nullptr);
    other.SetBounds(0, 0, 200, 20);
    other.SetCtl3D(false);
    other.SetItemHeight(14);
    other.Items().Add("&&");
    // Four ampersands drawn as four are wider than two; with prefix handling both would show
    // fewer signs and no underline-free equality would hold.
    auto inked = [](const QImage& img) {
        int right = 0;
        for (int y = 1; y < 15; ++y)
            for (int x = 1; x < 199; ++x)
                if (PixelBGR(img, x, y) != PixelBGR(img, 1, 1))
                    right = std::max(right, x);
        return right;
    };
    EXPECT_GT(inked(Grab(&plain)), inked(Grab(&other)) + 4);
}

TEST_F(ListFixture, ClickSelectsTheLineAndFiresOnRelease) {
    mouse(QEvent::MouseButtonPress, 20, 30);
    EXPECT_EQ(lb.ItemIndex(), 2);
    EXPECT_TRUE(log.empty());
    mouse(QEvent::MouseButtonRelease, 20, 30, Qt::NoButton);
    EXPECT_EQ(log, (std::vector<std::string>{"click 2"}));
    // Below the last line: nothing happens.
    log.clear();
    mouse(QEvent::MouseButtonPress, 20, 90);
    mouse(QEvent::MouseButtonRelease, 20, 90, Qt::NoButton);
    EXPECT_EQ(lb.ItemIndex(), 2);
    EXPECT_TRUE(log.empty());
    mouse(QEvent::MouseButtonDblClick, 20, 3);
    mouse(QEvent::MouseButtonRelease, 20, 3, Qt::NoButton);
    EXPECT_EQ(lb.ItemIndex(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"dblclick"}));
}

TEST_F(ListFixture, ArrowKeysMoveAndClickCharactersOnlyPress) {
    key(Qt::Key_Down);
    EXPECT_EQ(lb.ItemIndex(), 0);
    key(Qt::Key_Down);
    key(Qt::Key_End);
    key(Qt::Key_Up);
    key(Qt::Key_Return, QStringLiteral("\r"));
    key(Qt::Key_A, QStringLiteral("a"));
    EXPECT_EQ(lb.ItemIndex(), 2);
    EXPECT_EQ(log,
              (std::vector<std::string>{"click 0", "click 1", "click 3", "click 2", "key 13", "key 97"}));
}

TEST_F(ListFixture, ItemsKeepTheSelectionInStep) {
    lb.SetItemIndex(2);
    lb.Items().Delete(0);
    EXPECT_EQ(lb.ItemIndex(), 1);
    lb.Items().Insert(0, "new");
    EXPECT_EQ(lb.ItemIndex(), 2);
    lb.Items().Delete(2);
    EXPECT_EQ(lb.ItemIndex(), -1);
    lb.SetItemIndex(7);
    EXPECT_EQ(lb.ItemIndex(), -1);
    lb.SetItemIndex(1);
    lb.Items().Clear();
    EXPECT_EQ(lb.ItemIndex(), -1);
    EXPECT_EQ(lb.Count(), 0);
}

TEST_F(ListFixture, ScrollBarsFollowTheExtentAndTheLineCount) {
    EXPECT_EQ(lb.ItemsRect(), Rect(1, 1, 199, 99));
    lb.SetHorizontalExtent(150);
    EXPECT_EQ(lb.ItemsRect(), Rect(1, 1, 199, 99));
    lb.SetHorizontalExtent(500);
    EXPECT_EQ(lb.ItemsRect(), Rect(1, 1, 199, 82));
    EXPECT_EQ(lb.ItemRect(0), Rect(1, 1, 501, 15));
    for (int i = 0; i < 20; ++i)
        lb.Items().Add("line");
    EXPECT_EQ(lb.ItemsRect(), Rect(1, 1, 182, 82));
    // Selecting a line out of sight scrolls it into view.
    lb.SetItemIndex(23);
    EXPECT_EQ(lb.TopIndex(), 23 - lb.VisibleLines() + 1);
    EXPECT_EQ(lb.ItemAtPos(Point(5, 1 + 14 * (lb.VisibleLines() - 1))), 23);
    lb.SetHorizontalExtent(0);
    lb.Items().Clear();
    EXPECT_EQ(lb.ItemsRect(), Rect(1, 1, 199, 99));
}

TEST_F(ListFixture, AnsiLinesAreShownAsText) {
    const std::string gbk = Utf8ToAnsi("国际时事");
    ASSERT_EQ(gbk.size(), 8u);
    lb.Items().Add(gbk);
    EXPECT_EQ(lb.Items()[4], gbk);
    EXPECT_EQ(AnsiToQString(gbk), QStringLiteral("国际时事"));
    EXPECT_EQ(QStringToAnsi(QStringLiteral("国际时事")), gbk);
    // The measuring canvas answers in the list's font outside painting.
    EXPECT_GT(lb.Canvas()->TextWidth("A"), 3);
}

} // namespace

// Rows of img between y0 and y1 (exclusive) that hold any pixel other than bg, within x0..x1.
std::vector<int> inkRows(const QImage& img, int x0, int x1, int y0, int y1, int bg) {
    std::vector<int> rows;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (PixelBGR(img, x, y) != bg) {
                rows.push_back(y);
                break;
            }
    return rows;
}

TEST_F(ListFixture, GlyphsStandWholeAndCentredInTheirLines) {
    // Chinese glyphs that stand tallest, Latin descenders, a bar that spans the cell.
    const QString text = QString::fromUtf8("中国龘gjpqy|");
    lb.Items().Clear();
    for (int i = 0; i < 3; ++i) {
        lb.Items().Add(QStringToAnsi(text));
        lb.Items().Add(" ");
    }
    // The same text in the same font, drawn where nothing cuts it.
    TBitmap free;
    free.SetSize(200, 60);
    free.Canvas().Brush().SetColor(kListColor);
    free.Canvas().FillRect(Rect(0, 0, 200, 60));
    free.Canvas().Font() = lb.Font();
    free.Canvas().TextOut(2, 20, text);
    const QImage whole = free.Image().convertToFormat(QImage::Format_RGB32);
    const size_t glyphRows = inkRows(whole, 0, 200, 0, 60, kListColor).size();
    ASSERT_GT(glyphRows, 8u);

    const QImage img = Grab(&lb);
    for (int line = 0; line < 6; line += 2) {
        const int top = 1 + line * 14;
        const std::vector<int> rows = inkRows(img, 1, 199, top, top + 14, kListColor);
        ASSERT_EQ(rows.size(), glyphRows) << "line " << line;
        // Centred: the free rows above and below differ by one at most.
        const int above = rows.front() - top, below = top + 13 - rows.back();
        EXPECT_LE(std::abs(above - below), 1) << "line " << line;
        // The separator below shows nothing of it.
        EXPECT_TRUE(inkRows(img, 1, 199, top + 14, top + 28, kListColor).empty()) << "line " << line;
    }
    zeltest::SaveOnFailure(img, "listbox_glyphs");
}

TEST_F(ListFixture, ConvertedLinesFollowEveryChange) {
    EXPECT_EQ(lb.DrawnText(0), "WWWW");
    Grab(&lb); // the lines on the screen are converted now
    lb.Items().SetStrings(0, "iiii");
    EXPECT_EQ(lb.DrawnText(0), "iiii");
    lb.Items().Insert(0, Utf8ToAnsi("新闻"));
    EXPECT_EQ(lb.DrawnText(0), QString::fromUtf8("新闻"));
    EXPECT_EQ(lb.DrawnText(1), "iiii");
    Grab(&lb);
    lb.Items().Delete(0);
    EXPECT_EQ(lb.DrawnText(0), "iiii");
    EXPECT_EQ(lb.DrawnText(2), "Second");
    lb.Items().Clear();
    lb.Items().Add("after");
    EXPECT_EQ(lb.DrawnText(0), "after");
}

TEST_F(ListFixture, ScrollBarsWaitForTheEndOfAnUpdate) {
    lb.Items().BeginUpdate();
    lb.Items().BeginUpdate();
    for (int i = 0; i < 40; ++i)
        lb.Items().Add("line");
    lb.Items().EndUpdate();
    EXPECT_EQ(lb.ItemsRect(), Rect(1, 1, 199, 99)); // still inside the outer update
    EXPECT_EQ(lb.Count(), 44);
    lb.Items().EndUpdate();
    EXPECT_EQ(lb.ItemsRect(), Rect(1, 1, 182, 99));
    lb.Items().EndUpdate(); // one too many changes nothing
    EXPECT_EQ(lb.ItemsRect(), Rect(1, 1, 182, 99));
}

TEST_F(ListFixture, AHugeLineDrawsOnlyWhatShows) {
    const std::string start = Utf8ToAnsi("很长的标题 Long title ");
    std::string huge = start;
    while (huge.size() < (5u << 20))
        huge += Utf8ToAnsi("新闻") + "news ";
    huge += "END";
    lb.Items().Clear();
    lb.Items().Add(huge);
    lb.Items().Add(start);
    const int widthOfA = lb.Canvas()->TextWidth("A");
    lb.SetHorizontalExtent(static_cast<int>(std::min<std::size_t>(huge.size() * widthOfA + 5, INT_MAX)));

    // Unscrolled it starts as the short line holding its start does, and no more is converted
    // than a pixel per byte of the list's width.
    const QImage img = Grab(&lb);
    EXPECT_LE(lb.DrawnText(0).size(), lb.ItemsRect().Width() + 8);
    for (int y = 1; y < 15; ++y)
        for (int x = 1; x < 120; ++x)
            ASSERT_EQ(img.pixel(x, y), img.pixel(x, y + 14)) << x << "," << y;

    // Scrolled to the far end, the end shows, still bounded.
    auto* bar = lb.findChildren<QScrollBar*>().at(1);
    ASSERT_EQ(bar->orientation(), Qt::Horizontal);
    bar->setValue(bar->maximum());
    const QString tail = lb.DrawnText(0);
    EXPECT_TRUE(tail.endsWith("END")) << tail.right(20).toStdString();
    EXPECT_LE(tail.size(), lb.ItemsRect().Width() + 8);
    Grab(&lb);
}
