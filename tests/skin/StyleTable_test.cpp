// The style table as documented: lookups, kinds, resource names and frame loading.
#include "framework/TBitmap.h"
#include "skin/SuiStyleTable.h"
#include "tests/support/GuiTest.h"

#include <QMetaEnum>

#include <algorithm>
#include <array>
#include <map>
#include <set>

namespace {

TEST(StyleTable, IntegerLookupsAnswerOnlyIntegerEntries) {
    EXPECT_EQ(StyleInt(DeepBlue, 7), 0);
    EXPECT_EQ(StyleInt(WinXP, 8), -2);
    EXPECT_EQ(StyleInt(BlueGlass, 13), 270);
    for (int style = MacOS; style <= BlueGlass; ++style) {
        EXPECT_EQ(StyleInt(style, 15), -1) << "a colour entry is no integer";
        EXPECT_EQ(StyleInt(style, 5), -1) << "an image entry is no integer";
    }
    EXPECT_EQ(StyleInt(FromThemeFile, 7), -1);
    EXPECT_EQ(StyleInt(6, 9), -1);
}

TEST(StyleTable, ColourAndFlagLookupsAnswerZeroForOtherKinds) {
    EXPECT_EQ(StyleColor(FromThemeFile, 15), 0);
    EXPECT_EQ(StyleColor(DeepBlue, 15), 0xE8E8E8);
    EXPECT_EQ(StyleColor(WinXP, 16), 0xC82C00);
    EXPECT_EQ(StyleColor(DeepBlue, 17), 0); // an integer entry
    EXPECT_TRUE(StyleBool(Protein, 6));
    EXPECT_FALSE(StyleBool(DeepBlue, 6));
    EXPECT_FALSE(StyleBool(MacOS, 9)); // an integer entry
    EXPECT_FALSE(StyleBool(FromThemeFile, 2));
}

TEST(StyleTable, TheTopBitOfTheStyleIsIgnoredAndUnknownEntriesAreSafe) {
    EXPECT_EQ(StyleInt(0x80 | WinXP, 8), -2);
    EXPECT_EQ(StyleColor(0x80 | DeepBlue, 16), 0x000000);
    const TStyleEntryValue bad = LookupStyleEntry(0x80, 15);
    EXPECT_EQ(bad.Value, -1);
    EXPECT_EQ(bad.Kind, sekInt);
    // Entry numbers outside 1..42 answer like an unknown style rather than read past the table.
    for (int entry : {0, 43, -5, 1000}) {
        const TStyleEntryValue v = LookupStyleEntry(DeepBlue, entry);
        EXPECT_EQ(v.Value, -1);
        EXPECT_EQ(v.Kind, sekInt);
        EXPECT_EQ(StyleEntryKey(entry), "");
    }
}

// Keys and kinds of the value entries: theme files name their entries by these keys.
TEST(StyleTable, ValueEntriesCarryTheirKeysAndKinds) {
    const std::map<int, std::pair<const char*, TStyleEntryKind>> entries = {
        {2, {"ButtonTransparentBool", sekBool}},
        {6, {"TitleBarButtonTransparentBool", sekBool}},
        {7, {"TitleBarButtonLeftOffsetInt", sekInt}},
        {8, {"TitleBarButtonRightOffsetInt", sekInt}},
        {9, {"TitleBarButtonTopInt", sekInt}},
        {13, {"FormMinWidthInt", sekInt}},
        {14, {"FormRoundCornerInt", sekInt}},
        {15, {"FormBackgroundColor", sekColor}},
        {16, {"FormBorderColor", sekColor}},
        {17, {"FormBorderWidthInt", sekInt}},
        {18, {"MenuSelectedBorderColor", sekColor}},
        {19, {"MenuSelectedBackgroundColor", sekColor}},
        {20, {"MenuSelectedFontColor", sekColor}},
        {21, {"MenuBackgroundColor", sekColor}},
        {22, {"MenuFontColor", sekColor}},
        {23, {"MenuBarColor", sekColor}},
        {25, {"ControlBorderColor", sekColor}},
        {26, {"ControlBackgroundColor", sekColor}},
        {27, {"ControlFontColor", sekColor}},
        {31, {"ScrollBarBackgroundColor", sekColor}},
        {35, {"ToolBarButtonBorderColor", sekColor}},
        {36, {"ToolBarButtonBackgroundColor", sekColor}},
        {37, {"ToolBarButtonDownBackgroundColor", sekColor}},
    };
    for (const auto& [entry, keyKind] : entries) {
        EXPECT_EQ(StyleEntryKey(entry), keyKind.first);
        EXPECT_EQ(StyleEntryKind(entry), keyKind.second) << keyKind.first;
        for (int style = MacOS; style <= BlueGlass; ++style)
            EXPECT_EQ(LookupStyleEntry(style, entry).Kind, keyKind.second) << keyKind.first;
    }
}

// Components name entries by the enumeration; a misnumbered name would read another entry.
TEST(StyleTable, EntryNamesAreTheKeysOfTheirNumbers) {
    const QMetaEnum names = QMetaEnum::fromType<TStyleEntry>();
    ASSERT_EQ(names.keyCount(), kStyleEntryCount);
    for (int i = 0; i < names.keyCount(); ++i)
        EXPECT_EQ(StyleEntryKey(names.value(i)), names.key(i)) << names.value(i);
}

// What each skinned component takes from the table, per style (MacOS, WinXP, DeepBlue, Protein,
// BlueGlass), written from the components' own descriptions.
constexpr int kStyles[5] = {MacOS, WinXP, DeepBlue, Protein, BlueGlass};

int imageHeight(int style, int entry) {
    TBitmap b;
    LoadStyleImage(style, entry, &b, 0, 0);
    return b.Height();
}

TEST(StyleTable, PanelBarBorderAndCaption) {
    const int barHeight[5] = {21, 21, 20, 21, 21};
    const TColor border[5] = {0x7F7F7F, 0x686868, 0x000000, 0x000000, 0x000000};
    // The caption is black under MacOS whatever the table says; the others take entry 20.
    const TColor caption[5] = {0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(StyleName(kStyles[i]));
        EXPECT_EQ(imageHeight(kStyles[i], 42), barHeight[i]);
        EXPECT_EQ(StyleColor(kStyles[i], 25), border[i]);
        if (kStyles[i] != MacOS) {
            EXPECT_EQ(StyleColor(kStyles[i], 20), caption[i]);
        }
    }
    EXPECT_EQ(StyleColor(MacOS, 20), 0xFFFFFF); // why MacOS needs its fixed black
}

TEST(StyleTable, TitleBarPicturesOffsetsAndMinimumWidth) {
    const int framedHeight[5] = {20, 26, 29, 20, 30};
    const int buttonSize[5] = {17, 21, 19, 19, 19};
    const int framedBandTop[5] = {1, 2, -1, -1, 3};
    const int leftOffset[5] = {3, 2, 0, 0, 4};
    const int rightOffset[5] = {-2, -2, 0, 0, -3};
    const int minWidth[5] = {130, 150, 130, 130, 270};
    const int roundCorner[5] = {0, 13, 0, 0, 11};
    for (int i = 0; i < 5; ++i) {
        const int s = kStyles[i];
        SCOPED_TRACE(StyleName(s));
        // A framed bar is its left picture's height less 3, its band 3 higher than the entry.
        EXPECT_EQ(imageHeight(s, 10) - 3, framedHeight[i]);
        EXPECT_EQ(StyleInt(s, 9) - 3, framedBandTop[i]);
        TBitmap button;
        LoadStyleImage(s, 5, &button, 18, 1);
        EXPECT_EQ(button.Width(), buttonSize[i]);
        EXPECT_EQ(button.Height(), buttonSize[i]);
        EXPECT_EQ(StyleInt(s, 7), leftOffset[i]);
        EXPECT_EQ(StyleInt(s, 8), rightOffset[i]);
        EXPECT_EQ(StyleInt(s, 13), minWidth[i]);
        EXPECT_EQ(StyleInt(s, 14), roundCorner[i]);
    }
    // Only the Protein and BlueGlass buttons are drawn transparent.
    EXPECT_FALSE(StyleBool(DeepBlue, 6));
    EXPECT_TRUE(StyleBool(Protein, 6));
}

TEST(StyleTable, FrameBorderColourAndCorners) {
    const TColor border[5] = {0x7F7F7F, 0xC82C00, 0x000000, 0x000000, 0x000000};
    const int borderWidth[5] = {1, 3, 1, 1, 1};
    const TColor color[5] = {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7};
    const int roundCorner[5] = {0, 13, 0, 0, 11};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(StyleName(kStyles[i]));
        EXPECT_EQ(StyleColor(kStyles[i], 16), border[i]);
        EXPECT_EQ(StyleInt(kStyles[i], 17), borderWidth[i]);
        EXPECT_EQ(StyleColor(kStyles[i], 15), color[i]); // also the menu bar's colour
        EXPECT_EQ(StyleInt(kStyles[i], 14), roundCorner[i]);
    }
}

TEST(StyleTable, MenuAndMenuBarColours) {
    const TColor bar[5] = {0x000000, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6};
    const TColor background[5] = {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7};
    const TColor selectedBorder[5] = {0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E};
    const TColor selected[5] = {0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E};
    const TColor selectedFont[5] = {0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(StyleName(kStyles[i]));
        EXPECT_EQ(StyleColor(kStyles[i], 23), bar[i]);
        EXPECT_EQ(StyleColor(kStyles[i], 21), background[i]);
        EXPECT_EQ(StyleColor(kStyles[i], 22), 0x000000); // text, in the menu and on the menu bar
        EXPECT_EQ(StyleColor(kStyles[i], 18), selectedBorder[i]);
        EXPECT_EQ(StyleColor(kStyles[i], 19), selected[i]);
        EXPECT_EQ(StyleColor(kStyles[i], 20), selectedFont[i]);
    }
}

TEST(StyleTable, SideChannelColoursAndPictures) {
    const TColor sideBar[5] = {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7};
    const TColor border[5] = {0x7F7F7F, 0x686868, 0x000000, 0x000000, 0x000000};
    const char* bar[5] = {"MACOS_SIDECHENNEL_BAR", "WINXP_SIDECHENNEL_BAR", "DEEPBLUE_SIDECHENNEL_BAR",
                          "PROTEIN_SIDECHENNEL_BAR", "BLUEGLASS_SIDECHENNEL_BAR"};
    const int barHeight[5] = {21, 21, 20, 21, 21};
    const char* handle[5] = {"MACOS_SIDECHENNEL_HANDLE", "WINXP_SIDECHENNEL_HANDLE",
                             "DEEPBLUE_SIDECHENNEL_HANDLE", "PROTEIN_SIDECHENNEL_HANDLE",
                             "BLUEGLASS_SIDECHENNEL_HANDLE"};
    const int handleSize[5][2] = {{7, 84}, {8, 86}, {8, 83}, {8, 83}, {8, 86}};
    for (int i = 0; i < 5; ++i) {
        const int s = kStyles[i];
        SCOPED_TRACE(StyleName(s));
        EXPECT_EQ(StyleColor(s, 15), sideBar[i]);
        EXPECT_EQ(StyleColor(s, 25), border[i]);
        EXPECT_EQ(LookupStyleEntry(s, 42).ResourceName, bar[i]);
        TBitmap b;
        LoadStyleImage(s, 42, &b, 0, 0);
        EXPECT_EQ(b.Width(), 1);
        EXPECT_EQ(b.Height(), barHeight[i]);
        // The pin button sits min((bar height - 16) div 2, 5) from the top: 2 for every bar.
        EXPECT_EQ(std::min((b.Height() - 16) / 2, 5), 2);
        EXPECT_EQ(LookupStyleEntry(s, 41).ResourceName, handle[i]);
        LoadStyleImage(s, 41, &b, 0, 0);
        EXPECT_EQ(b.Width(), handleSize[i][0]);
        EXPECT_EQ(b.Height(), handleSize[i][1]);
    }
}

// The entries no component of the reader takes (tool bars, scroll bars, buttons): carried for
// theme files and other skinned controls.
TEST(StyleTable, EntriesNoComponentReadsKeepTheirValues) {
    const std::pair<int, std::array<int, 5>> rows[] = {
        {2, {1, 0, 0, 0, 1}},
        {26, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
        {27, {0x000000, 0xCF4602, 0x000000, 0x000000, 0x000000}},
        {31, {0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4}},
        {35, {0x474747, 0xC66931, 0x474747, 0x474747, 0x474747}},
        {36, {0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF}},
        {37, {0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8}},
    };
    for (const auto& [entry, values] : rows)
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(LookupStyleEntry(kStyles[i], entry).Value, values[i]) << StyleEntryKey(entry);
}

TEST(StyleTable, ImageEntriesNameTheirResourcesByStylePrefix) {
    const std::map<int, std::pair<const char*, const char*>> images = {
        {1, {"ButtonImage", "_BUTTON"}},
        {3, {"CheckBoxImage", "_CHECKBOX"}},
        {4, {"RadioButtonImage", "_RADIOBUTTON"}},
        {5, {"TitleBarButtonImage", "_TITLEBTN"}},
        {10, {"TitleBarLeftImage", "_TITLE_LEFT"}},
        {11, {"TitleBarClientImage", "_TITLE_CLIENT"}},
        {12, {"TitleBarRightImage", "_TITLE_RIGHT"}},
        {24, {"ProgressBarImage", "_PROGRESSBAR"}},
        {28, {"TrackBarBarImage", "_TRACKBAR_BAR"}},
        {29, {"TrackBarSliderImage", "_TRACKBAR_SLIDER"}},
        {30, {"TrackBarSliderVImage", "_TRACKBAR_SLIDER_V"}},
        {32, {"ScrollBarButtonImage", "_SCROLLBAR_BUTTON"}},
        {33, {"ScrollBarSliderImage", "_SCROLLBAR_TRACK"}},
        {34, {"CheckListBoxImage", "_CHECKLIST"}},
        {39, {"TabControlTabImage", "_TAB"}},
        {40, {"TabControlBarImage", "_TAB_LINE"}},
        {41, {"SideChannelHandleImage", "_SIDECHENNEL_HANDLE"}},
        {42, {"SideChannelBarImage", "_SIDECHENNEL_BAR"}},
    };
    const char* prefixes[] = {"MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"};
    for (const auto& [entry, keySuffix] : images) {
        EXPECT_EQ(StyleEntryKey(entry), keySuffix.first);
        for (int s = 0; s < 5; ++s) {
            const TStyleEntryValue v = LookupStyleEntry(MacOS + s, entry);
            EXPECT_EQ(v.Kind, sekImage);
            EXPECT_EQ(v.ResourceName, std::string(prefixes[s]) + keySuffix.second);
        }
    }
    EXPECT_EQ(StyleEntryKey(38), "ScrollButtonImage");
    EXPECT_EQ(LookupStyleEntry(MacOS, 38).ResourceName, "MACOS_SCROLLBUTTON");
    EXPECT_EQ(LookupStyleEntry(WinXP, 38).ResourceName, "WINXP_SCROLLBUTTON");
    for (int s : {DeepBlue, Protein, BlueGlass})
        EXPECT_EQ(LookupStyleEntry(s, 38).ResourceName, "MORE_SCROLLBUTTON");
    EXPECT_EQ(LookupStyleEntry(FromThemeFile, 5).ResourceName, "");
}

TEST(StyleTable, EveryNamedResourceLoadsAtItsDocumentedSize) {
    const std::map<std::string, std::pair<int, int>> documented = {
        {"MACOS_TITLEBTN", {306, 17}},
        {"WINXP_TITLEBTN", {378, 21}},
        {"DEEPBLUE_TITLEBTN", {342, 19}},
        {"PROTEIN_TITLEBTN", {342, 19}},
        {"BLUEGLASS_TITLEBTN", {342, 19}},
        {"MACOS_TITLE_LEFT", {48, 23}},
        {"WINXP_TITLE_LEFT", {35, 29}},
        {"DEEPBLUE_TITLE_LEFT", {97, 32}},
        {"PROTEIN_TITLE_LEFT", {441, 23}},
        {"BLUEGLASS_TITLE_LEFT", {162, 33}},
        {"MACOS_TITLE_CLIENT", {49, 23}},
        {"WINXP_TITLE_CLIENT", {37, 29}},
        {"DEEPBLUE_TITLE_CLIENT", {98, 32}},
        {"PROTEIN_TITLE_CLIENT", {1, 23}},
        {"BLUEGLASS_TITLE_CLIENT", {179, 33}},
        {"MACOS_TITLE_RIGHT", {48, 23}},
        {"WINXP_TITLE_RIGHT", {35, 29}},
        {"DEEPBLUE_TITLE_RIGHT", {97, 32}},
        {"PROTEIN_TITLE_RIGHT", {1, 23}},
        {"BLUEGLASS_TITLE_RIGHT", {101, 33}},
        {"MACOS_SIDECHENNEL_HANDLE", {7, 84}},
        {"WINXP_SIDECHENNEL_HANDLE", {8, 86}},
        {"DEEPBLUE_SIDECHENNEL_HANDLE", {8, 83}},
        {"PROTEIN_SIDECHENNEL_HANDLE", {8, 83}},
        {"BLUEGLASS_SIDECHENNEL_HANDLE", {8, 86}},
        {"MACOS_SIDECHENNEL_BAR", {1, 21}},
        {"WINXP_SIDECHENNEL_BAR", {1, 21}},
        {"DEEPBLUE_SIDECHENNEL_BAR", {1, 20}},
        {"PROTEIN_SIDECHENNEL_BAR", {1, 21}},
        {"BLUEGLASS_SIDECHENNEL_BAR", {1, 21}},
        {"PANEL_BUTTON", {52, 12}},
        {"SIDECHANNEL_BTN", {7, 9}},
        {"MENU_CHECKED", {16, 16}},
        {"MACOS_MENU_BAR", {1, 22}},
        {"MACOS_MENU_SELECT", {1, 21}},
        {"MACOS_FORM_BACKGROUND", {8, 8}},
        {"PROTEIN_FORM_BACKGROUND", {8, 8}},
    };
    const std::vector<std::string> names = StyleResourceNames();
    EXPECT_EQ(names.size(), 18u * 5 + 3 + 7);
    std::set<std::string> all(names.begin(), names.end());
    for (const auto& [name, size] : documented)
        EXPECT_TRUE(all.count(name)) << name << " is not named by the catalogue";
    for (const std::string& name : names) {
        TBitmap b;
        ASSERT_NO_THROW(LoadSkinBitmap(b, name)) << name;
        EXPECT_FALSE(b.Empty()) << name;
        const auto it = documented.find(name);
        if (it != documented.end()) {
            EXPECT_EQ(b.Width(), it->second.first) << name;
            EXPECT_EQ(b.Height(), it->second.second) << name;
        }
    }
    // The title strips hold 18 equal frames.
    for (int s = MacOS; s <= BlueGlass; ++s) {
        TBitmap b;
        LoadStyleImage(s, 5, &b, 0, 0);
        EXPECT_EQ(b.Width() % 18, 0);
    }
}

TEST(StyleTable, LoadStyleImageCutsFramesAndRespectsTheEntryKind) {
    TBitmap frame;
    LoadStyleImage(DeepBlue, 5, &frame, 18, 1);
    EXPECT_EQ(frame.Width(), 19);
    EXPECT_EQ(frame.Height(), 19);
    TBitmap whole;
    LoadStyleImage(DeepBlue, 5, &whole, 0, 0);
    EXPECT_EQ(whole.Width(), 342);
    EXPECT_EQ(whole.Height(), 19);
    // Frame 16 is the 16th slice of the whole strip.
    LoadStyleImage(DeepBlue, 5, &frame, 18, 16);
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 19; ++x)
            ASSERT_EQ(frame.Canvas().Pixels(x, y), whole.Canvas().Pixels(15 * 19 + x, y));

    // Another kind: with a frame count the target is emptied, without one it is left alone.
    TBitmap target(5, 6);
    LoadStyleImage(DeepBlue, 15, &target, 0, 0);
    EXPECT_EQ(target.Width(), 5);
    EXPECT_EQ(target.Height(), 6);
    LoadStyleImage(DeepBlue, 15, &target, 4, 1);
    EXPECT_EQ(target.Width(), 0);
    EXPECT_EQ(target.Height(), 0);
    TBitmap other(3, 3);
    LoadStyleImage(FromThemeFile, 5, &other, 18, 1);
    EXPECT_TRUE(other.Empty());
    LoadStyleImage(DeepBlue, 5, nullptr, 18, 1); // no target: nothing happens
}

TEST(StyleTable, StyleNamesConvertThroughQt) {
    const QMetaEnum e = QMetaEnum::fromType<TsuiUIStyle>();
    EXPECT_STREQ(e.valueToKey(DeepBlue), "DeepBlue");
    EXPECT_EQ(e.keyToValue("BlueGlass"), int(BlueGlass));
    EXPECT_EQ(sizeof(TsuiUIStyle), 1u);
    EXPECT_EQ(StylePrefix(Protein), "PROTEIN");
    EXPECT_EQ(StyleName(MacOS), "MacOS");
    EXPECT_EQ(StylePrefix(FromThemeFile), "");
}

} // namespace
