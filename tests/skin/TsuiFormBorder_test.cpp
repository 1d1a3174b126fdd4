// The border band of the skinned window, painted on a bitmap of the whole window, and its shape.
#include "framework/TBitmap.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiFormBorder.h"
#include "tests/support/GuiTest.h"

namespace {

constexpr int W = 240, H = 160;

struct Pictures {
    TBitmap left, right, client;
    explicit Pictures(TsuiUIStyle style) {
        LoadStyleImage(style, 10, &left, 0, 0);
        LoadStyleImage(style, 12, &right, 0, 0);
        LoadStyleImage(style, 11, &client, 0, 0);
    }
};

TsuiBorderLook lookFor(TsuiUIStyle style, const Pictures& p) {
    TsuiBorderLook look;
    look.Width = W;
    look.Height = H;
    look.BorderColor = StyleColor(style, 16);
    look.BorderWidth = StyleInt(style, 17);
    look.Color = StyleColor(style, 15);
    look.MenuBarColor = look.Color;
    look.TitleBarVisible = true;
    look.TitleBarHeight = p.left.Height() - 3;
    look.HasAllPictures = true;
    look.LeftPicture = &p.left;
    look.RightPicture = &p.right;
    look.ClientPicture = &p.client;
    look.RoundCorner = StyleInt(style, 14);
    return look;
}

void paint(TBitmap& window, const TsuiBorderLook& look) {
    window.SetSize(look.Width, look.Height);
    window.Canvas().Brush().SetColor(0x123456); // what the band does not cover stays this
    window.Canvas().FillRect(Rect(0, 0, look.Width, look.Height));
    PaintWindowBorderOn(window.Canvas(), look);
}

TEST(TsuiFormBorder, DeepBlueHasABlackLineOutsideTwoRowsOfFrameColour) {
    Pictures p(DeepBlue);
    TBitmap window;
    paint(window, lookFor(DeepBlue, p));
    TCanvas& c = window.Canvas();
    for (int y : {40, 100, H - 4}) {
        EXPECT_EQ(c.Pixels(0, y), 0x000000) << y;
        EXPECT_EQ(c.Pixels(1, y), 0xE8E8E8) << y;
        EXPECT_EQ(c.Pixels(2, y), 0xE8E8E8) << y;
        EXPECT_EQ(c.Pixels(3, y), 0x123456) << y; // the client is not the band's
        EXPECT_EQ(c.Pixels(W - 1, y), 0x000000) << y;
        EXPECT_EQ(c.Pixels(W - 2, y), 0xE8E8E8) << y;
        EXPECT_EQ(c.Pixels(W - 3, y), 0xE8E8E8) << y;
    }
    for (int x : {0, 50, W - 1})
        EXPECT_EQ(c.Pixels(x, H - 1), 0x000000) << x;
    for (int x : {3, 50, W - 4}) {
        EXPECT_EQ(c.Pixels(x, H - 2), 0xE8E8E8) << x;
        EXPECT_EQ(c.Pixels(x, H - 3), 0xE8E8E8) << x;
    }
}

TEST(TsuiFormBorder, TopBandContinuesTheTitlePicturesAtTheSameWindowX) {
    Pictures p(DeepBlue);
    TBitmap window;
    paint(window, lookFor(DeepBlue, p));
    TCanvas& c = window.Canvas();
    // The framed title bar shows the left picture from window x 0 and the right one ending at
    // the window's right edge; the band's three rows show the same pixels.
    for (int y = 0; y < 3; ++y) {
        for (int x = 2; x < p.left.Width(); ++x)
            ASSERT_EQ(c.Pixels(x, y), p.left.Canvas().Pixels(x, y)) << x << "," << y;
        const int rightX = W - p.right.Width();
        for (int x = rightX; x < W - 3; ++x)
            ASSERT_EQ(c.Pixels(x, y), p.right.Canvas().Pixels(x - rightX, y)) << x << "," << y;
        // The middle piece is stretched only sideways: any column shows one of its columns' row y.
        const TColor mid = c.Pixels(W / 2, y);
        bool found = false;
        for (int x = 0; x < p.client.Width() && !found; ++x)
            found = p.client.Canvas().Pixels(x, y) == mid;
        EXPECT_TRUE(found) << y;
    }
    // Beside the title bar the band shows the picture's outer columns.
    for (int y = 3; y < p.left.Height(); ++y)
        ASSERT_EQ(c.Pixels(1, y), p.left.Canvas().Pixels(0, y)) << y;
}

TEST(TsuiFormBorder, WinXPBorderIsThreePixelsOfItsColour) {
    Pictures p(WinXP);
    TBitmap window;
    const TsuiBorderLook look = lookFor(WinXP, p);
    ASSERT_EQ(look.BorderWidth, 3);
    paint(window, look);
    TCanvas& c = window.Canvas();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(c.Pixels(i, 80), 0xC82C00) << i;
        EXPECT_EQ(c.Pixels(W - 1 - i, 80), 0xC82C00) << i;
        EXPECT_EQ(c.Pixels(W / 2, H - 1 - i), 0xC82C00) << i;
    }
    EXPECT_EQ(c.Pixels(3, 80), 0x123456);
}

TEST(TsuiFormBorder, BlueGlassOutlinesItsRoundedTopCornersAndKeepsTheBottomSquare) {
    Pictures p(BlueGlass);
    TBitmap window;
    TsuiBorderLook look = lookFor(BlueGlass, p);
    ASSERT_EQ(look.RoundCorner, 11);
    // A border colour that the artwork does not hold, so the arcs can be told apart.
    look.BorderColor = 0x0000FF;
    paint(window, look);
    const QRegion mask = WindowRegionFor(W, H, look.RoundCorner);
    TCanvas& c = window.Canvas();
    // The corners are cut, and an arc in the border colour runs through the top rows of each.
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    EXPECT_FALSE(mask.contains(QPoint(W - 1, 0)));
    for (int y = 1; y < 4; ++y) {
        bool left = false, right = false;
        for (int x = 1; x < 8; ++x) {
            left = left || (mask.contains(QPoint(x, y)) && c.Pixels(x, y) == 0x0000FF);
            right = right || (mask.contains(QPoint(W - 1 - x, y)) && c.Pixels(W - 1 - x, y) == 0x0000FF);
        }
        EXPECT_TRUE(left) << y;
        EXPECT_TRUE(right) << y;
    }
    // Without the round corner there is no arc: the same rows show the title pictures.
    TsuiBorderLook square = look;
    square.RoundCorner = 0;
    TBitmap plain;
    paint(plain, square);
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 8; ++x)
            ASSERT_NE(plain.Canvas().Pixels(x, y), 0x0000FF) << x << "," << y;
    EXPECT_TRUE(mask.contains(QPoint(0, H - 1)));
    EXPECT_TRUE(mask.contains(QPoint(W - 1, H - 1)));
}

TEST(TsuiFormBorder, HiddenTitleBarLeavesABorderLineOverTwoRowsOfColour) {
    Pictures p(DeepBlue);
    TsuiBorderLook look = lookFor(DeepBlue, p);
    look.TitleBarVisible = false;
    TBitmap window;
    paint(window, look);
    TCanvas& c = window.Canvas();
    for (int x : {0, 60, W - 1})
        EXPECT_EQ(c.Pixels(x, 0), 0x000000) << x;
    for (int x : {1, 60, W - 2}) {
        EXPECT_EQ(c.Pixels(x, 1), 0xE8E8E8) << x;
        EXPECT_EQ(c.Pixels(x, 2), 0xE8E8E8) << x;
    }
    // The sides run from the top now.
    EXPECT_EQ(c.Pixels(1, 5), 0xE8E8E8);
}

TEST(TsuiFormBorder, BesideTheMenuBarTheBandTakesTheMenuBarColour) {
    Pictures p(DeepBlue);
    TsuiBorderLook look = lookFor(DeepBlue, p);
    look.MenuBarVisible = true;
    look.MenuBarHeight = 22;
    look.MenuBarColor = 0x00AA00;
    TBitmap window;
    paint(window, look);
    TCanvas& c = window.Canvas();
    const int top = look.TitleBarHeight + 3;
    EXPECT_EQ(c.Pixels(1, top + 5), 0x00AA00);
    EXPECT_EQ(c.Pixels(W - 2, top + 21), 0x00AA00);
    EXPECT_EQ(c.Pixels(1, top + 22), 0xE8E8E8);
    EXPECT_EQ(c.Pixels(0, top + 5), 0x000000);
}

TEST(TsuiFormBorder, WindowRegionRoundsOnlyTheTopCorners) {
    const QRegion plain = WindowRegionFor(W, H, 0);
    EXPECT_EQ(plain, QRegion(0, 0, W, H));
    for (int c : {11, 13}) {
        const QRegion r = WindowRegionFor(W, H, c);
        EXPECT_FALSE(r.contains(QPoint(0, 0))) << c;
        EXPECT_FALSE(r.contains(QPoint(W - 1, 0))) << c;
        EXPECT_FALSE(r.contains(QPoint(1, 0))) << c;
        EXPECT_TRUE(r.contains(QPoint(c / 2, 0))) << c;
        EXPECT_TRUE(r.contains(QPoint(0, c / 2))) << c;
        EXPECT_TRUE(r.contains(QPoint(W / 2, 0))) << c;
        EXPECT_TRUE(r.contains(QPoint(0, H - 1))) << c;
        EXPECT_TRUE(r.contains(QPoint(W - 1, H - 1))) << c;
        // Symmetric left and right.
        for (int y = 0; y < c; ++y)
            for (int x = 0; x < c; ++x)
                ASSERT_EQ(r.contains(QPoint(x, y)), r.contains(QPoint(W - 1 - x, y))) << x << "," << y;
    }
}

} // namespace
