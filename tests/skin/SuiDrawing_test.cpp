// The shared geometry and drawing helpers.
#include "framework/TBitmap.h"
#include "framework/TForm.h"
#include "framework/TMenu.h"
#include "skin/SuiDrawing.h"
#include "skin/SuiStyleTable.h"
#include "tests/support/GuiTest.h"

namespace {

// A bitmap whose pixel (x, y) has a colour made of its coordinates, to follow pixels around.
void coordinates(TBitmap& b, int w, int h) {
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.Canvas().SetPixels(x, y, RGB(x, y, 7));
}

TEST(SuiDrawing, PointInRectClosedIncludesTheRightAndBottomEdges) {
    const TRect r = Rect(2, 3, 10, 8);
    EXPECT_TRUE(PointInRectClosed(Point(10, 8), r));
    EXPECT_TRUE(PointInRectClosed(Point(2, 3), r));
    EXPECT_TRUE(PointInRectClosed(Point(10, 5), r));
    EXPECT_FALSE(PointInRectClosed(Point(11, 5), r));
    EXPECT_FALSE(PointInRectClosed(Point(5, 9), r));
    EXPECT_FALSE(PointInRectClosed(Point(1, 5), r));
}

TEST(SuiDrawing, CutBitmapFrameTakesEqualSlicesAndDropsTheRemainder) {
    TBitmap src, dst;
    coordinates(src, 52, 12);
    CutBitmapFrame(src, dst, 4, 3);
    EXPECT_EQ(dst.Width(), 13);
    EXPECT_EQ(dst.Height(), 12);
    EXPECT_EQ(dst.Canvas().Pixels(0, 0), RGB(26, 0, 7));
    EXPECT_EQ(dst.Canvas().Pixels(12, 11), RGB(38, 11, 7));

    // 10 pixels into 4 frames: 2-pixel frames, the last two columns are never shown.
    TBitmap ten;
    coordinates(ten, 10, 3);
    CutBitmapFrame(ten, dst, 4, 4);
    EXPECT_EQ(dst.Width(), 2);
    EXPECT_EQ(dst.Canvas().Pixels(0, 1), RGB(6, 1, 7));
    EXPECT_EQ(dst.Canvas().Pixels(1, 1), RGB(7, 1, 7));
}

TEST(SuiDrawing, CutBitmapFrameWorksInPlace) {
    TBitmap b;
    coordinates(b, 52, 12);
    CutBitmapFrame(b, b, 4, 2);
    EXPECT_EQ(b.Width(), 13);
    EXPECT_EQ(b.Height(), 12);
    for (int x = 0; x < 13; ++x)
        EXPECT_EQ(b.Canvas().Pixels(x, 5), RGB(13 + x, 5, 7));
}

TEST(SuiDrawing, TurnBitmapClockwiseMovesTheBottomLeftPixelToTheTopLeft) {
    TBitmap b;
    coordinates(b, 3, 2);
    b.SetTransparent(true);
    TurnBitmapClockwise(b);
    ASSERT_EQ(b.Width(), 2);
    ASSERT_EQ(b.Height(), 3);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), RGB(0, 1, 7)); // the source's bottom-left
    // New pixel (i, j) is source pixel (j, H - 1 - i).
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(b.Canvas().Pixels(i, j), RGB(j, 1 - i, 7));
    EXPECT_TRUE(b.Transparent());
    // The pin glyph turned is 9 x 7 with its point to the left.
    TBitmap pin;
    LoadSkinBitmap(pin, "SIDECHANNEL_BTN");
    TurnBitmapClockwise(pin);
    EXPECT_EQ(pin.Width(), 9);
    EXPECT_EQ(pin.Height(), 7);
    EXPECT_EQ(pin.Canvas().Pixels(0, 3), clBlack);
    EXPECT_EQ(pin.Canvas().Pixels(0, 0), clWhite);
}

TEST(SuiDrawing, FrameAndFillLeaveTheirColourOnTheBrush) {
    TBitmap b(6, 5);
    FillRectInColor(b.Canvas(), Rect(1, 1, 5, 4), clRed);
    EXPECT_EQ(b.Canvas().Brush().Color(), clRed);
    FrameRectInColor(b.Canvas(), Rect(0, 0, 6, 5), clBlue);
    EXPECT_EQ(b.Canvas().Brush().Color(), clBlue);
    EXPECT_EQ(b.Canvas().Pixels(5, 4), clBlue);
    EXPECT_EQ(b.Canvas().Pixels(1, 1), clRed);
    EXPECT_EQ(b.Canvas().Pixels(4, 3), clRed);
    EXPECT_EQ(b.Canvas().Pixels(5, 5), -1);
}

TEST(SuiDrawing, MenuSeparatorLineRunsFromTheIndentToTwoPixelsBeforeTheRight) {
    TBitmap b(60, 6);
    DrawMenuSeparatorLine(b.Canvas(), Rect(0, 1, 60, 6), 0x848284, 26);
    EXPECT_EQ(b.Canvas().Pen().Color(), 0x848284);
    for (int x = 0; x < 60; ++x)
        EXPECT_EQ(b.Canvas().Pixels(x, 3), x >= 30 && x <= 57 ? 0x848284 : clWhite) << x;
    EXPECT_EQ(b.Canvas().Pixels(40, 2), clWhite);
}

TEST(SuiDrawing, MacMenuStripsStretchTheirTopRows) {
    TBitmap bar;
    LoadSkinBitmap(bar, "MACOS_MENU_BAR");
    TBitmap sel;
    LoadSkinBitmap(sel, "MACOS_MENU_SELECT");

    TBitmap b(5, 24);
    StretchMacMenuStripShort(b.Canvas(), Rect(0, 0, 5, 24)); // 12 rows, each twice
    for (int y = 0; y < 24; ++y)
        EXPECT_EQ(b.Canvas().Pixels(4, y), bar.Canvas().Pixels(0, y / 2)) << y;
    StretchMacMenuStripFull(b.Canvas(), Rect(0, 0, 5, 20)); // 20 rows, unscaled: never the dark bottom
    for (int y = 0; y < 20; ++y)
        EXPECT_EQ(b.Canvas().Pixels(0, y), bar.Canvas().Pixels(0, y)) << y;
    StretchMacMenuStripSelected(b.Canvas(), Rect(1, 0, 4, 20));
    for (int y = 0; y < 20; ++y)
        EXPECT_EQ(b.Canvas().Pixels(2, y), sel.Canvas().Pixels(0, y)) << y;
    EXPECT_EQ(b.Canvas().Pixels(0, 5), bar.Canvas().Pixels(0, 5));
}

TEST(SuiDrawing, ScreenFrameAroundAWindowFollowsItsEdges) {
    TBitmap b(8, 6);
    b.Canvas().Brush().SetColor(clGray);
    b.Canvas().FillRect(Rect(0, 0, 8, 6));
    DrawScreenFrameAroundWindow(b.Canvas(), 8, 6, clBlack, clRed);
    // The last line ends at the top-left pixel without drawing it.
    const std::vector<std::string> want = {"gRRRRRRR", //
                                           "KKKKKKKR", "KWWWWWKR", "KWWWWWKR", "KKKKKKKR", "RRRRRRRR"};
    const std::map<char, TColor> legend = {{'R', clRed}, {'K', clBlack}, {'W', clWhite}, {'g', clGray}};
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(b.Canvas().Pixels(x, y), legend.at(want[size_t(y)][size_t(x)])) << x << "," << y;
    if (::testing::Test::HasFailure())
        b.SaveToFile("ScreenFrame_actual.png");
}

TEST(SuiDrawing, PlaceFormInRectSetsBoundsAndWorkAreaComesFromThePlatform) {
    TForm form(nullptr);
    PlaceFormInRect(&form, Rect(10, 20, 310, 220));
    EXPECT_EQ(form.Left(), 10);
    EXPECT_EQ(form.Top(), 20);
    EXPECT_EQ(form.Width(), 300);
    EXPECT_EQ(form.Height(), 200);
    const TRect work = DesktopWorkArea();
    EXPECT_GT(work.Width(), 0);
    TRect out;
    DesktopWorkArea(out);
    EXPECT_EQ(out, work);
}

TEST(SuiDrawing, HookMenuItemDrawingReachesEveryDescendant) {
    TForm form(nullptr);
    TMenuItem* root = new TMenuItem(&form);
    TMenuItem* child = new TMenuItem(&form);
    TMenuItem* grandchild = new TMenuItem(&form);
    TMenuItem* other = new TMenuItem(&form);
    root->Add(child);
    child->Add(grandchild);
    int drawn = 0, measured = 0;
    HookMenuItemDrawing(
        root, [&](TMenuItem*, TCanvas&, TRect, bool) { ++drawn; },
        [&](TMenuItem*, TCanvas&, int&, int&) { ++measured; });
    TBitmap b(4, 4);
    int w = 0, h = 0;
    for (TMenuItem* item : {root, child, grandchild}) {
        ASSERT_TRUE(item->OnDrawItem);
        ASSERT_TRUE(item->OnMeasureItem);
        item->OnDrawItem(item, b.Canvas(), Rect(0, 0, 1, 1), false);
        item->OnMeasureItem(item, b.Canvas(), w, h);
    }
    EXPECT_EQ(drawn, 3);
    EXPECT_EQ(measured, 3);
    EXPECT_FALSE(other->OnDrawItem);
}

TEST(SuiDrawing, SystemMenuFontTakesTheMenuTextColour) {
    TFont f;
    f.SetColor(clRed);
    AssignSystemMenuFont(f);
    EXPECT_EQ(f.Color(), clMenuText);
    EXPECT_EQ(f.Name(), QApplication::font("QMenu").family());
    EXPECT_GT(f.Height(), 5);
}

TEST(SuiDrawing, ActiveWindowFollowsTheApplicationAndTheMainForm) {
    TForm main(nullptr), other(nullptr);
    TForm* saved = Application->MainForm();
    Application->SetMainForm(&main);
    // No window of the test program has the focus: with a main form nothing counts as active.
    ASSERT_FALSE(Application->Active());
    EXPECT_FALSE(IsFormActiveWindow(&main));
    EXPECT_FALSE(IsFormActiveWindow(&other));
    EXPECT_FALSE(IsFormActiveWindow(nullptr));
    Application->SetMainForm(nullptr);
    EXPECT_FALSE(IsFormActiveWindow(&other)); // its own active flag
    EXPECT_FALSE(IsFormActiveWindow(nullptr));

    // The main window gets the focus: it counts as active, and so does "no form" (the application
    // is active), while another form still goes by its own flag.
    main.show();
    main.activateWindow();
    ASSERT_TRUE(zeltest::WaitFor([&] { return main.Active(); }, 5000));
    Application->SetMainForm(&main);
    EXPECT_TRUE(IsFormActiveWindow(&main));
    EXPECT_TRUE(IsFormActiveWindow(nullptr));
    EXPECT_FALSE(IsFormActiveWindow(&other));
    // Without a main form each form answers for itself.
    Application->SetMainForm(nullptr);
    EXPECT_TRUE(IsFormActiveWindow(&main));
    EXPECT_FALSE(IsFormActiveWindow(&other));
    EXPECT_FALSE(IsFormActiveWindow(nullptr));

    // Another form takes the focus: it answers for itself, and the main form loses its own flag.
    other.show();
    other.activateWindow();
    ASSERT_TRUE(zeltest::WaitFor([&] { return other.Active(); }, 5000));
    Application->SetMainForm(&main);
    EXPECT_TRUE(IsFormActiveWindow(&other));
    EXPECT_TRUE(IsFormActiveWindow(&main)); // the main form stands for the active application
    main.hide();
    other.hide();
    Application->SetMainForm(saved);
}

} // namespace
