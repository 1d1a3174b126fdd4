// The bitmaps whose pixels are fixed, pixel for pixel, and the qualities the drawn artwork must
// keep: title pieces that continue into one another, buttons that sit on the title, distinct
// button looks, transparent buttons keyed by their bottom-left pixel, and the panel chevrons.
#include "framework/TBitmap.h"
#include "skin/SuiStyleTable.h"
#include "tests/support/GuiTest.h"

namespace {

std::vector<TColor> column(const std::string& name) {
    TBitmap b;
    LoadSkinBitmap(b, name);
    std::vector<TColor> out;
    for (int y = 0; y < b.Height(); ++y)
        out.push_back(b.Canvas().Pixels(0, y));
    return out;
}

std::vector<TColor> runs(std::initializer_list<std::pair<TColor, int>> rs) {
    std::vector<TColor> out;
    for (auto [c, n] : rs)
        out.insert(out.end(), size_t(n), c);
    return out;
}

void saveIfFailed(const std::string& name) {
    if (::testing::Test::HasFailure()) {
        TBitmap b;
        LoadSkinBitmap(b, name);
        b.SaveToFile(name + "_actual.png");
    }
}

TEST(StyleArtwork, BarStripsHaveTheirExactRows) {
    EXPECT_EQ(column("MACOS_SIDECHENNEL_BAR"), runs({{0x7F7F7F, 1},
                                                     {0xECEDEC, 2},
                                                     {0xF3F3F3, 5},
                                                     {0xECEDEC, 5},
                                                     {0xE8E8E7, 1},
                                                     {0xE3E3E3, 3},
                                                     {0xDDDDDD, 3},
                                                     {0x7F7F7F, 1}}));
    EXPECT_EQ(column("WINXP_SIDECHENNEL_BAR"), runs({{0x743C00, 1},
                                                     {0xFBFCFC, 4},
                                                     {0xF0FBFF, 1},
                                                     {0xF3F6F6, 3},
                                                     {0xEEF3F3, 8},
                                                     {0xE6EBEC, 1},
                                                     {0xD6DFE2, 1},
                                                     {0xC5D0D6, 1},
                                                     {0x743C00, 1}}));
    EXPECT_EQ(column("DEEPBLUE_SIDECHENNEL_BAR"),
              runs({{0x040404, 1}, {0xAF6863, 1}, {0xA04A44, 17}, {0x88332D, 1}}));
    EXPECT_EQ(column("PROTEIN_SIDECHENNEL_BAR"),
              (std::vector<TColor>{0x000000, 0x962926, 0x9B312C, 0xA33532, 0x922E2C, 0x962926, 0x9B2B27,
                                   0xB63634, 0xBE3D3A, 0xB63634, 0xAD2D2A, 0xA22F2C, 0xAD3632, 0xBE3D3A,
                                   0xB4332E, 0xA22F2C, 0xAD2D2A, 0xB63634, 0xBE3D3A, 0xAC312E, 0xA22F2C}));
    EXPECT_EQ(column("BLUEGLASS_SIDECHENNEL_BAR"), runs({{0x7F7F7F, 1},
                                                         {0xF3B5B5, 2},
                                                         {0xF5A6A5, 1},
                                                         {0xEE9592, 1},
                                                         {0xEC7F7F, 1},
                                                         {0xF46968, 1},
                                                         {0xEE5D5C, 1},
                                                         {0xEB5554, 9},
                                                         {0xE45251, 3},
                                                         {0x7F7F7F, 1}}));
}

TEST(StyleArtwork, MacMenuStripsHaveTheirExactRows) {
    EXPECT_EQ(
        column("MACOS_MENU_BAR"),
        (std::vector<TColor>{0xE9E9E9, 0xFFFFFF, 0xFFFFFF, 0xFBFBFB, 0xE9E9E9, 0xFAFAFA, 0xFEFEFE, 0xFAFAFA,
                             0xE9E9E9, 0xFAFAFA, 0xFFFFFF, 0xFAFAFA, 0xE9E9E9, 0xFAFAFA, 0xFFFFFF, 0xF9F9F9,
                             0xEBE9E8, 0xFAFAFA, 0xFFFFFF, 0xFAF9FB, 0xD4D4D4, 0x5D5B5B}));
    EXPECT_EQ(column("MACOS_MENU_SELECT"),
              (std::vector<TColor>{0xB35923, 0xBC6A33, 0xC47339, 0xBC6A33, 0xB35923, 0xBC6A33, 0xC47339,
                                   0xBC6A33, 0xB85C27, 0xBC6A33, 0xBF723A, 0xBC6A33, 0xB35923, 0xBC6A33,
                                   0xC47339, 0xBC6A33, 0xB35923, 0xBC6A33, 0xC47339, 0xBC6A33, 0xB35923}));
}

// Compares a bitmap with rows of characters mapped through legend.
void expectRows(const std::string& name, const std::vector<std::string>& rows,
                const std::map<char, TColor>& legend) {
    TBitmap b;
    LoadSkinBitmap(b, name);
    ASSERT_EQ(b.Height(), int(rows.size())) << name;
    for (size_t y = 0; y < rows.size(); ++y) {
        ASSERT_EQ(b.Width(), int(rows[y].size())) << name;
        for (size_t x = 0; x < rows[y].size(); ++x)
            EXPECT_EQ(b.Canvas().Pixels(int(x), int(y)), legend.at(rows[y][x]))
                << name << " at " << x << "," << y;
    }
    saveIfFailed(name);
}

TEST(StyleArtwork, CheckMarkAndPinGlyphAreExact) {
    expectRows("MENU_CHECKED",
               {"................", "................", "................", "................",
                "............GGG.", "...........GGGG.", ".GGG......GGGGD.", ".GGGG....GGGGD..",
                ".DGGGG..GGGGD...", "..DGGGGGGGGD....", "...DGGGGGGD.....", "....DGGGGD......",
                ".....DDDD.......", "................", "................", "................"},
               {{'.', 0xFFFFFF}, {'G', 0x1DCB00}, {'D', 0x575757}});
    expectRows(
        "SIDECHANNEL_BTN",
        {".XXXXX.", ".X..XX.", ".X..XX.", ".X..XX.", ".X..XX.", "XXXXXXX", "...X...", "...X...", "...X..."},
        {{'.', 0xFFFFFF}, {'X', 0x000000}});
}

// Pixels of a frame of the title strip, for comparing looks.
std::vector<TColor> framePixels(int style, int frame) {
    TBitmap b;
    LoadStyleImage(style, 5, &b, 18, frame);
    std::vector<TColor> out;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            out.push_back(b.Canvas().Pixels(x, y));
    return out;
}

TEST(StyleArtwork, TitleButtonFramesShowSixGlyphsInThreeLooks) {
    for (int style = MacOS; style <= BlueGlass; ++style) {
        std::vector<std::vector<TColor>> frames;
        for (int f = 1; f <= 18; ++f)
            frames.push_back(framePixels(style, f));
        for (int a = 0; a < 18; ++a)
            for (int b = a + 1; b < 18; ++b)
                EXPECT_NE(frames[size_t(a)], frames[size_t(b)])
                    << StyleName(style) << ": frames " << a + 1 << " and " << b + 1 << " look the same";
    }
}

TEST(StyleArtwork, TransparentButtonsAreKeyedByTheirBottomLeftPixel) {
    for (int style = MacOS; style <= BlueGlass; ++style) {
        TBitmap strip;
        LoadStyleImage(style, 5, &strip, 0, 0);
        const int fw = strip.Width() / 18, h = strip.Height();
        if (StyleBool(style, 6)) {
            // Every frame shares one transparent colour, which the glyph area never uses.
            const TColor key = strip.Canvas().Pixels(0, h - 1);
            for (int f = 0; f < 18; ++f) {
                EXPECT_EQ(strip.Canvas().Pixels(f * fw, h - 1), key)
                    << StyleName(style) << " frame " << f + 1;
                EXPECT_NE(strip.Canvas().Pixels(f * fw + fw / 2, h / 2), key)
                    << StyleName(style) << " frame " << f + 1;
            }
        } else {
            // Opaque buttons sit on the title: their margins are the title's rows at the button top.
            TBitmap client;
            LoadStyleImage(style, 11, &client, 0, 0);
            const int top = StyleInt(style, 9);
            for (int f = 0; f < 18; ++f)
                for (int y : {0, h - 1})
                    EXPECT_EQ(strip.Canvas().Pixels(f * fw, y), client.Canvas().Pixels(0, top + y))
                        << StyleName(style) << " frame " << f + 1 << " row " << y;
        }
    }
}

TEST(StyleArtwork, TitlePiecesContinueIntoOneAnother) {
    for (int style = MacOS; style <= BlueGlass; ++style) {
        TBitmap left, client, right;
        LoadStyleImage(style, 10, &left, 0, 0);
        LoadStyleImage(style, 11, &client, 0, 0);
        LoadStyleImage(style, 12, &right, 0, 0);
        ASSERT_EQ(left.Height(), client.Height());
        ASSERT_EQ(client.Height(), right.Height());
        const TColor border = StyleColor(style, 16);
        for (int y = 0; y < client.Height(); ++y) {
            // The middle is stretched sideways, so each of its rows is one colour ...
            const TColor c = client.Canvas().Pixels(0, y);
            for (int x = 1; x < client.Width(); ++x)
                ASSERT_EQ(client.Canvas().Pixels(x, y), c) << StyleName(style) << " row " << y;
            // ... which the left piece ends with and the right piece starts with.
            EXPECT_EQ(left.Canvas().Pixels(left.Width() - 1, y), c) << StyleName(style) << " row " << y;
            if (right.Width() > 2) {
                EXPECT_EQ(right.Canvas().Pixels(0, y), c) << StyleName(style) << " row " << y;
            }
        }
        // The top row is the window's top border.
        EXPECT_EQ(client.Canvas().Pixels(0, 0), border) << StyleName(style);
        EXPECT_EQ(left.Canvas().Pixels(0, 5), border) << StyleName(style);
    }
}

// The chevrons: their ink lies higher on the left half of the frame for "up" (widest row at the
// bottom of each chevron) and lower for "down"; frames 2 and 4 are the lighter blue.
TEST(StyleArtwork, PanelButtonShowsDoubleChevronsUpThenDownDarkThenLight) {
    TBitmap b;
    LoadSkinBitmap(b, "PANEL_BUTTON");
    auto inkOf = [&](int frame) {
        // The colour used most in the frame's middle columns other than the background: the chevrons.
        std::map<TColor, int> count;
        for (int y = 1; y < 11; ++y)
            count[b.Canvas().Pixels(frame * 13 + 6, y)]++;
        TColor ink = -1;
        int best = 0;
        for (auto [c, n] : count) {
            const int lum = GetRValue(c) + GetGValue(c) + GetBValue(c);
            if (GetBValue(c) > GetRValue(c) + 40 && n > best && lum < 600) {
                ink = c;
                best = n;
            }
        }
        return ink;
    };
    auto brightness = [](TColor c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    const TColor dark = inkOf(0), light = inkOf(1);
    ASSERT_NE(dark, -1);
    ASSERT_NE(light, -1);
    EXPECT_LT(brightness(dark), brightness(light));
    EXPECT_EQ(inkOf(2), dark);
    EXPECT_EQ(inkOf(3), light);
    // Up: the tip (one pixel at the centre column) comes before the wide row; down: after.
    auto tipFirst = [&](int frame, TColor ink) {
        int firstCentre = -1, firstWide = -1;
        for (int y = 0; y < 12; ++y) {
            if (firstCentre < 0 && b.Canvas().Pixels(frame * 13 + 6, y) == ink)
                firstCentre = y;
            if (firstWide < 0 && b.Canvas().Pixels(frame * 13 + 3, y) == ink)
                firstWide = y;
        }
        return firstCentre < firstWide;
    };
    EXPECT_TRUE(tipFirst(0, dark));
    EXPECT_TRUE(tipFirst(1, light));
    EXPECT_FALSE(tipFirst(2, dark));
    EXPECT_FALSE(tipFirst(3, light));
    saveIfFailed("PANEL_BUTTON");
}

} // namespace
