// The style-entry table. Colours are 0x00BBGGRR; image entries name a resource by suffix, which
// follows the style prefix ("DEEPBLUE" + "_TITLEBTN"). Entry 38 is the exception: DeepBlue,
// Protein and BlueGlass share MORE_SCROLLBUTTON.
#include "skin/SuiStyleTable.h"

#include "framework/TBitmap.h"
#include "skin/SuiDrawing.h"

#include <QFile>
#include <array>
#include <set>
#include <unordered_map>

static void initSkinResources() {
    Q_INIT_RESOURCE(skin);
}

void EnsureSkinResources() {
    static const bool done = (initSkinResources(), true);
    (void)done;
}

namespace {

struct Entry {
    const char* key;
    TStyleEntryKind kind;
    std::array<int, 5> values; // MacOS, WinXP, DeepBlue, Protein, BlueGlass
    const char* suffix;        // image entries
};

constexpr std::array<int, 5> kNone{0, 0, 0, 0, 0};

// clang-format off
const Entry kTable[kStyleEntryCount] = {
    /*  1 */ {"ButtonImage", sekImage, kNone, "_BUTTON"},
    /*  2 */ {"ButtonTransparentBool", sekBool, {1, 0, 0, 0, 1}, nullptr},
    /*  3 */ {"CheckBoxImage", sekImage, kNone, "_CHECKBOX"},
    /*  4 */ {"RadioButtonImage", sekImage, kNone, "_RADIOBUTTON"},
    /*  5 */ {"TitleBarButtonImage", sekImage, kNone, "_TITLEBTN"},
    /*  6 */ {"TitleBarButtonTransparentBool", sekBool, {0, 0, 0, 1, 1}, nullptr},
    /*  7 */ {"TitleBarButtonLeftOffsetInt", sekInt, {3, 2, 0, 0, 4}, nullptr},
    /*  8 */ {"TitleBarButtonRightOffsetInt", sekInt, {-2, -2, 0, 0, -3}, nullptr},
    /*  9 */ {"TitleBarButtonTopInt", sekInt, {4, 5, 2, 2, 6}, nullptr},
    /* 10 */ {"TitleBarLeftImage", sekImage, kNone, "_TITLE_LEFT"},
    /* 11 */ {"TitleBarClientImage", sekImage, kNone, "_TITLE_CLIENT"},
    /* 12 */ {"TitleBarRightImage", sekImage, kNone, "_TITLE_RIGHT"},
    /* 13 */ {"FormMinWidthInt", sekInt, {130, 150, 130, 130, 270}, nullptr},
    /* 14 */ {"FormRoundCornerInt", sekInt, {0, 13, 0, 0, 11}, nullptr},
    /* 15 */ {"FormBackgroundColor", sekColor, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}, nullptr},
    /* 16 */ {"FormBorderColor", sekColor, {0x7F7F7F, 0xC82C00, 0x000000, 0x000000, 0x000000}, nullptr},
    /* 17 */ {"FormBorderWidthInt", sekInt, {1, 3, 1, 1, 1}, nullptr},
    /* 18 */ {"MenuSelectedBorderColor", sekColor, {0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E}, nullptr},
    /* 19 */ {"MenuSelectedBackgroundColor", sekColor, {0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E}, nullptr},
    /* 20 */ {"MenuSelectedFontColor", sekColor, {0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}, nullptr},
    /* 21 */ {"MenuBackgroundColor", sekColor, {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7}, nullptr},
    /* 22 */ {"MenuFontColor", sekColor, {0x000000, 0x000000, 0x000000, 0x000000, 0x000000}, nullptr},
    /* 23 */ {"MenuBarColor", sekColor, {0x000000, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6}, nullptr},
    /* 24 */ {"ProgressBarImage", sekImage, kNone, "_PROGRESSBAR"},
    /* 25 */ {"ControlBorderColor", sekColor, {0x7F7F7F, 0x686868, 0x000000, 0x000000, 0x000000}, nullptr},
    /* 26 */ {"ControlBackgroundColor", sekColor, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}, nullptr},
    /* 27 */ {"ControlFontColor", sekColor, {0x000000, 0xCF4602, 0x000000, 0x000000, 0x000000}, nullptr},
    /* 28 */ {"TrackBarBarImage", sekImage, kNone, "_TRACKBAR_BAR"},
    /* 29 */ {"TrackBarSliderImage", sekImage, kNone, "_TRACKBAR_SLIDER"},
    /* 30 */ {"TrackBarSliderVImage", sekImage, kNone, "_TRACKBAR_SLIDER_V"},
    /* 31 */ {"ScrollBarBackgroundColor", sekColor, {0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4}, nullptr},
    /* 32 */ {"ScrollBarButtonImage", sekImage, kNone, "_SCROLLBAR_BUTTON"},
    /* 33 */ {"ScrollBarSliderImage", sekImage, kNone, "_SCROLLBAR_TRACK"},
    /* 34 */ {"CheckListBoxImage", sekImage, kNone, "_CHECKLIST"},
    /* 35 */ {"ToolBarButtonBorderColor", sekColor, {0x474747, 0xC66931, 0x474747, 0x474747, 0x474747}, nullptr},
    /* 36 */ {"ToolBarButtonBackgroundColor", sekColor, {0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF}, nullptr},
    /* 37 */ {"ToolBarButtonDownBackgroundColor", sekColor, {0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8}, nullptr},
    /* 38 */ {"ScrollButtonImage", sekImage, kNone, "_SCROLLBUTTON"},
    /* 39 */ {"TabControlTabImage", sekImage, kNone, "_TAB"},
    /* 40 */ {"TabControlBarImage", sekImage, kNone, "_TAB_LINE"},
    /* 41 */ {"SideChannelHandleImage", sekImage, kNone, "_SIDECHENNEL_HANDLE"},
    /* 42 */ {"SideChannelBarImage", sekImage, kNone, "_SIDECHENNEL_BAR"},
};
// clang-format on

const char* const kSharedBitmaps[] = {"PANEL_BUTTON",           "SIDECHANNEL_BTN",   "MENU_CHECKED",
                                      "MACOS_MENU_BAR",         "MACOS_MENU_SELECT", "MACOS_FORM_BACKGROUND",
                                      "PROTEIN_FORM_BACKGROUND"};

bool validEntry(int entry) {
    return entry >= 1 && entry <= kStyleEntryCount;
}

std::string resourceName(int style, int entry) {
    if (entry == static_cast<int>(TStyleEntry::ScrollButtonImage) && style >= DeepBlue)
        return "MORE_SCROLLBUTTON";
    return StylePrefix(style) + kTable[entry - 1].suffix;
}

} // namespace

std::string StylePrefix(int style) {
    static const char* const kPrefixes[] = {"", "MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"};
    return style >= 0 && style <= 5 ? kPrefixes[style] : "";
}

std::string StyleName(int style) {
    static const char* const kNames[] = {"FromThemeFile", "MacOS",   "WinXP",
                                         "DeepBlue",      "Protein", "BlueGlass"};
    return style >= 0 && style <= 5 ? kNames[style] : "";
}

TStyleEntryValue LookupStyleEntry(int style, int entry) {
    style &= 0x7F;
    TStyleEntryValue result;
    // Compatibility: an entry number outside the table answers like an unknown style instead of
    // reading past it.
    if (style < MacOS || style > BlueGlass || !validEntry(entry))
        return result;
    const Entry& e = kTable[entry - 1];
    result.Kind = e.kind;
    result.Value = e.values[style - 1];
    if (e.kind == sekImage)
        result.ResourceName = resourceName(style, entry);
    return result;
}

TColor StyleColor(int style, int entry) {
    const TStyleEntryValue v = LookupStyleEntry(style, entry);
    return v.Kind == sekColor ? v.Value : 0;
}

int StyleInt(int style, int entry) {
    const TStyleEntryValue v = LookupStyleEntry(style, entry);
    return v.Kind == sekInt ? v.Value : -1;
}

bool StyleBool(int style, int entry) {
    const TStyleEntryValue v = LookupStyleEntry(style, entry);
    return v.Kind == sekBool && v.Value != 0;
}

void LoadSkinBitmap(TBitmap& target, const std::string& name) {
    EnsureSkinResources();
    // Every style change loads the same few bitmaps again (a title bar alone cuts its button
    // strip a dozen times); each is decoded once and then shared (the images are read-only).
    static std::unordered_map<std::string, QImage> decoded;
    if (auto it = decoded.find(name); it != decoded.end()) {
        target.SetImage(it->second);
        return;
    }
    target.LoadFromResourceName(name);
    decoded.emplace(name, target.Image());
}

void LoadStyleImage(int style, int entry, TBitmap* target, int frameCount, int frameNumber) {
    if (!target)
        return;
    const TStyleEntryValue v = LookupStyleEntry(style, entry);
    if (frameCount <= 0) {
        if (v.Kind == sekImage)
            LoadSkinBitmap(*target, v.ResourceName);
        return;
    }
    TBitmap whole;
    if (v.Kind == sekImage)
        LoadSkinBitmap(whole, v.ResourceName);
    CutBitmapFrame(whole, *target, frameCount, frameNumber);
}

std::string StyleEntryKey(int entry) {
    return validEntry(entry) ? kTable[entry - 1].key : "";
}

TStyleEntryKind StyleEntryKind(int entry) {
    return validEntry(entry) ? kTable[entry - 1].kind : sekInt;
}

std::vector<std::string> StyleResourceNames() {
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (int style = MacOS; style <= BlueGlass; ++style)
        for (int entry = 1; entry <= kStyleEntryCount; ++entry) {
            const TStyleEntryValue v = LookupStyleEntry(style, entry);
            if (v.Kind == sekImage && seen.insert(v.ResourceName).second)
                names.push_back(v.ResourceName);
        }
    for (const char* n : kSharedBitmaps)
        if (seen.insert(n).second)
            names.push_back(n);
    return names;
}

bool ThemeKindDarkTitleCaption(TColor kind) {
    return kind == kThemeKind1 || kind == kThemeKind3 || kind == kThemeKind4 || kind == kThemeKind5;
}

bool ThemeKindDarkBarCaption(TColor kind) {
    return kind == kThemeKind2 || kind == kThemeKind3 || kind == kThemeKind4 || kind == kThemeKind5;
}
