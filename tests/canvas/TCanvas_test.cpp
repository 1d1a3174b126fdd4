#include "framework/TBitmap.h"
#include "tests/canvas/CanvasTestSupport.h"

#include <QPainter>
#include <set>

namespace {

constexpr TColor W = clWhite, K = clBlack, R = clRed, B = clBlue;
const std::map<char, TColor> kLegend = {{'.', W}, {'K', K}, {'R', R}, {'B', B}};

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureGuiApp(); }
};

TEST_F(CanvasTest, RectangleOutlinesWithPenInsideAndFillsWithBrush) {
    TBitmap bmp(6, 5);
    TCanvas& c = bmp.Canvas();
    c.Pen().SetColor(K);
    c.Brush().SetColor(R);
    c.Rectangle(1, 1, 5, 5); // right and bottom edges excluded
    EXPECT_TRUE(MatchesRows(bmp, 0, 0,
                            {"......", //
                             ".KKKK.", ".KRRK.", ".KRRK.", ".KKKK."},
                            kLegend));
}

TEST_F(CanvasTest, RectangleWithClearBrushOrPenDrawsOnlyTheOtherPart) {
    TBitmap bmp(5, 4);
    TCanvas& c = bmp.Canvas();
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.Rectangle(0, 0, 4, 4);
    c.Pen().SetStyle(TPenStyle::psClear);
    c.Brush().SetColor(R);   // makes the brush solid again
    c.Rectangle(1, 1, 4, 4); // without a pen one pixel smaller: fills (1,1)-(3,3)
    EXPECT_TRUE(MatchesRows(bmp, 0, 0,
                            {"KKKK.", //
                             "KRRK.", "KRRK.", "KKKK."},
                            kLegend));
}

TEST_F(CanvasTest, FillRectAndFrameRectExcludeRightAndBottomEdges) {
    TBitmap bmp(6, 6);
    TCanvas& c = bmp.Canvas();
    c.Brush().SetColor(B);
    c.FillRect(Rect(0, 0, 2, 1));
    c.Brush().SetColor(R);
    c.FrameRect(Rect(1, 2, 5, 6));
    c.Brush().SetColor(K);
    c.FillRect(Rect(5, 5, 5, 9)); // empty: nothing
    c.FillRect(Rect(4, 0, 3, 1)); // inverted: nothing
    EXPECT_TRUE(MatchesRows(bmp, 0, 0,
                            {"BB....", //
                             "......", ".RRRR.", ".R..R.", ".R..R.", ".RRRR."},
                            kLegend));
}

TEST_F(CanvasTest, LineToLeavesOutItsEndPointAndMovesThePen) {
    TBitmap bmp(6, 4);
    TCanvas& c = bmp.Canvas();
    c.MoveTo(0, 0);
    c.LineTo(5, 0);
    EXPECT_EQ(c.PenPos(), Point(5, 0));
    c.LineTo(5, 3); // starts at the previous end point, which this line draws
    c.Pen().SetColor(R);
    c.MoveTo(0, 3);
    c.LineTo(3, 0); // diagonal
    EXPECT_TRUE(MatchesRows(bmp, 0, 0,
                            {"KKKKKK", //
                             "..R..K", ".R...K", "R....."},
                            kLegend));
}

TEST_F(CanvasTest, TransparentBitmapDropsTheColourOfItsBottomLeftPixel) {
    TBitmap glyph(3, 2);
    glyph.Canvas().Brush().SetColor(B);
    glyph.Canvas().FillRect(Rect(0, 0, 3, 2)); // blue everywhere ...
    glyph.Canvas().SetPixels(1, 0, K);         // ... but one black pixel
    glyph.SetTransparent(true);
    EXPECT_EQ(glyph.TransparentColor(), B);

    TBitmap bmp(5, 3);
    bmp.Canvas().Brush().SetColor(R);
    bmp.Canvas().FillRect(Rect(0, 0, 5, 3));
    bmp.Canvas().Draw(1, 1, glyph);
    EXPECT_TRUE(MatchesRows(bmp, 0, 0, {"RRRRR", "RRKRR", "RRRRR"}, kLegend));

    // A fixed transparent colour wins over the bottom-left pixel; opaque draws copy everything.
    glyph.SetTransparentColor(K);
    bmp.Canvas().Draw(1, 0, glyph);
    glyph.SetTransparent(false);
    bmp.Canvas().Draw(3, 1, glyph);
    EXPECT_TRUE(MatchesRows(bmp, 0, 0, {"RBRBR", "RBBBK", "RRRBB"}, kLegend));
}

TEST_F(CanvasTest, StretchDrawRepeatsAOnePixelColumnOverTheWholeRectangle) {
    TBitmap strip(1, 3);
    strip.Canvas().SetPixels(0, 0, K);
    strip.Canvas().SetPixels(0, 1, R);
    strip.Canvas().SetPixels(0, 2, B);
    TBitmap bmp(6, 4);
    bmp.Canvas().StretchDraw(Rect(1, 0, 5, 3), strip);
    EXPECT_TRUE(MatchesRows(bmp, 0, 0, {".KKKK.", ".RRRR.", ".BBBB.", "......"}, kLegend));

    // Down and up scaling pick whole source pixels, never blends.
    TBitmap tall(1, 4);
    for (int y = 0; y < 4; ++y)
        tall.Canvas().SetPixels(0, y, y < 2 ? K : R);
    bmp.Canvas().StretchDraw(Rect(0, 0, 1, 2), tall);
    bmp.Canvas().StretchDraw(Rect(5, 0, 6, 4), strip);
    EXPECT_TRUE(MatchesRows(bmp, 0, 0, {"KKKKKK", "RRRRRK", ".BBBBR", ".....B"}, kLegend));
}

TEST_F(CanvasTest, CopyRectWithinOneBitmapUsesTheOriginalPixels) {
    TBitmap bmp(4, 1);
    bmp.Canvas().SetPixels(0, 0, K);
    bmp.Canvas().SetPixels(1, 0, R);
    bmp.Canvas().SetPixels(2, 0, B);
    bmp.Canvas().CopyRect(Rect(1, 0, 4, 1), bmp.Canvas(), Rect(0, 0, 3, 1)); // overlapping shift
    EXPECT_TRUE(MatchesRows(bmp, 0, 0, {"KKRB"}, kLegend));
}

TEST_F(CanvasTest, PixelsOutsideTheBitmapReadAsMinusOneAndIgnoreWrites) {
    TBitmap bmp(2, 2);
    EXPECT_EQ(bmp.Canvas().Pixels(2, 0), -1);
    EXPECT_EQ(bmp.Canvas().Pixels(0, -1), -1);
    bmp.Canvas().SetPixels(5, 5, K);
    EXPECT_EQ(bmp.Canvas().Pixels(1, 1), W);
    TBitmap empty;
    EXPECT_EQ(empty.Canvas().Pixels(0, 0), -1);
    empty.Canvas().FillRect(Rect(0, 0, 5, 5)); // nothing to draw on, no crash
}

TEST_F(CanvasTest, FocusRectIsDottedAndDrawingItTwiceRestoresThePicture) {
    TBitmap bmp(5, 4);
    bmp.Canvas().DrawFocusRect(Rect(0, 0, 5, 4));
    EXPECT_TRUE(MatchesRows(bmp, 0, 0,
                            {"K.K.K", //
                             ".....", "K...K", ".K.K."},
                            kLegend));
    bmp.Canvas().DrawFocusRect(Rect(0, 0, 5, 4));
    EXPECT_TRUE(MatchesRows(bmp, 0, 0, {".....", ".....", ".....", "....."}, kLegend));
}

// The extent of the pixels in colour c: left, top, right, bottom (exclusive), or all -1.
TRect inkBounds(TBitmap& bmp, TColor c) {
    TRect r{-1, -1, -1, -1};
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            if (bmp.Canvas().Pixels(x, y) == c) {
                if (r.Left < 0 || x < r.Left)
                    r.Left = x;
                if (r.Top < 0)
                    r.Top = y;
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = y + 1;
            }
    return r;
}

TEST_F(CanvasTest, SingleLineTextIsCentredInsideItsRectangle) {
    TBitmap bmp(120, 40);
    TCanvas& c = bmp.Canvas();
    c.Font().SetName("Tahoma");
    c.Font().SetHeight(13);
    c.Font().SetColor(K);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    TRect r = Rect(10, 5, 110, 35);
    const QString text = "Zelmora";
    const int w = c.TextWidth(text), h = c.TextHeight(text);
    ASSERT_GT(w, 20);
    ASSERT_GE(h, 13);
    c.DrawText(text, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);

    const TRect ink = inkBounds(bmp, K);
    ASSERT_GE(ink.Left, 0) << SaveActual(bmp);
    // The text cell is placed at (10 + (100 - w) / 2, 5 + (30 - h) / 2); all ink lies in it.
    const TRect cell = Bounds(10 + (100 - w) / 2, 5 + (30 - h) / 2, w, h);
    EXPECT_GE(ink.Left, cell.Left) << SaveActual(bmp);
    EXPECT_LE(ink.Right, cell.Right) << SaveActual(bmp);
    EXPECT_GE(ink.Top, cell.Top) << SaveActual(bmp);
    EXPECT_LE(ink.Bottom, cell.Bottom) << SaveActual(bmp);
    // ... and it is balanced: the left and right margins differ by a few pixels at most.
    EXPECT_LE(std::abs((ink.Left - 10) - (110 - ink.Right)), 3) << SaveActual(bmp);
    // Text without antialiasing: no pixel is anything but white or black.
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) {
            const TColor p = c.Pixels(x, y);
            ASSERT_TRUE(p == W || p == K) << "blended pixel at " << x << "," << y << " " << SaveActual(bmp);
        }
}

// Counts the colours of a text drawn in black on white.
std::set<TColor> textColours(const QString& text, int pixels) {
    TBitmap bmp(80, 30);
    bmp.Canvas().Font().SetName(QString::fromUtf8("宋体"));
    bmp.Canvas().Font().SetHeight(pixels);
    bmp.Canvas().Font().SetColor(K);
    bmp.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    bmp.Canvas().TextOut(2, 2, text);
    std::set<TColor> colours;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x)
            colours.insert(bmp.Canvas().Pixels(x, y));
    return colours;
}

TEST_F(CanvasTest, ChineseTextIsCrispOnTheFacesBitmapsAndSmoothedWhereItHasNone) {
    const QString news = QString::fromUtf8("新闻");
    // 14 pixels high is drawn with the 12-pixel bitmaps, the largest whose glyphs fit; 22 with
    // outlines at 19 pixels.
    EXPECT_EQ(textColours(news, 14), (std::set<TColor>{W, K}));
    EXPECT_GT(textColours(news, 22).size(), 2u); // grey edges keep thin strokes visible
    EXPECT_EQ(textColours("News", 22), (std::set<TColor>{W, K}));
}

TEST_F(CanvasTest, TextAlignsLeftAndRightAndClipsToItsRectangle) {
    TBitmap bmp(100, 20);
    TCanvas& c = bmp.Canvas();
    c.Font().SetColor(K);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    TRect left = Rect(20, 0, 80, 20);
    c.DrawText("WWWWWWWWWWWWWWWWWWWW", left, DT_SINGLELINE | DT_LEFT);
    const TRect ink = inkBounds(bmp, K);
    EXPECT_GE(ink.Left, 20);
    EXPECT_LE(ink.Right, 80) << "text must be clipped at the rectangle " << SaveActual(bmp);

    TBitmap right(100, 20);
    right.Canvas().Font().SetColor(R);
    right.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    TRect rr = Rect(0, 0, 60, 20);
    right.Canvas().DrawText("Hi", rr, DT_SINGLELINE | DT_RIGHT);
    const TRect rink = inkBounds(right, R);
    EXPECT_LE(rink.Right, 60);
    EXPECT_GE(rink.Right, 60 - 3) << SaveActual(right);
}

TEST_F(CanvasTest, AmpersandUnderlinesTheNextLetterUnlessPrefixesAreOff) {
    auto render = [](const QString& text, unsigned flags, TBitmap& bmp) {
        bmp.SetSize(80, 20);
        bmp.Canvas().Brush().SetColor(W);
        bmp.Canvas().FillRect(Rect(0, 0, 80, 20));
        bmp.Canvas().Font().SetColor(K);
        bmp.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
        TRect r = Rect(0, 0, 80, 20);
        bmp.Canvas().DrawText(text, r, flags | DT_SINGLELINE);
    };
    TBitmap plain, marked, literal, doubled;
    render("AB", 0, plain);
    render("A&B", 0, marked);
    render("A&B", DT_NOPREFIX, literal);
    render("A&&B", 0, doubled);
    const TRect p = inkBounds(plain, K), m = inkBounds(marked, K);
    // Same letters; the underline adds ink below the glyphs of B only.
    EXPECT_EQ(m.Left, p.Left);
    EXPECT_GT(m.Bottom, p.Bottom) << SaveActual(marked);
    int underlineLeft = 80;
    for (int x = 0; x < 80; ++x)
        if (marked.Canvas().Pixels(x, m.Bottom - 1) == K)
            underlineLeft = std::min(underlineLeft, x);
    EXPECT_GE(underlineLeft, plain.Canvas().TextWidth("A")) << SaveActual(marked);
    // With prefixes off the ampersand is shown, and "&&" shows one ampersand.
    EXPECT_GT(inkBounds(literal, K).Right, p.Right);
    EXPECT_EQ(inkBounds(literal, K), inkBounds(doubled, K));
}

TEST_F(CanvasTest, DrawTextCalcRectMeasuresLinesWithoutDrawing) {
    TBitmap bmp(50, 50);
    TCanvas& c = bmp.Canvas();
    TRect r = Rect(3, 4, 3, 4);
    const int h = c.DrawText("ab\ncdef", r, DT_CALCRECT);
    EXPECT_EQ(h, 2 * c.TextHeight("x"));
    EXPECT_EQ(r.Right - r.Left, c.TextWidth("cdef"));
    EXPECT_EQ(r.Bottom - r.Top, h);
    EXPECT_EQ(inkBounds(bmp, K).Left, -1);
}

TEST_F(CanvasTest, OpaqueTextPaintsItsCellInTheBrushColour) {
    TBitmap bmp(60, 20);
    TCanvas& c = bmp.Canvas();
    c.Brush().SetColor(B);
    c.Font().SetColor(W);
    c.TextOut(2, 3, "x");
    EXPECT_EQ(c.Pixels(2, 3), B);
    EXPECT_EQ(c.Pixels(1, 3), W);
    EXPECT_EQ(c.Pixels(2 + c.TextWidth("x"), 3), W);
    EXPECT_EQ(c.PenPos(), Point(2 + c.TextWidth("x"), 3));
}

TEST_F(CanvasTest, CanvasOverAPainterDrawsWithTheSameRules) {
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        TCanvas c(&p);
        c.Brush().SetColor(R);
        c.FrameRect(Rect(0, 0, 4, 3));
        c.MoveTo(1, 1);
        c.LineTo(3, 1);
    }
    TBitmap bmp;
    bmp.SetImage(image);
    EXPECT_TRUE(MatchesRows(bmp, 0, 0, {"RRRR", "RKKR", "RRRR"}, kLegend));
}

} // namespace
