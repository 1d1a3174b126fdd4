#pragma once
// The built-in style catalogue: the 42-entry style table (one value per built-in style) and the
// style bitmaps, which are Qt resources of the program loaded by name.
//
//   TColor border = StyleColor(DeepBlue, TStyleEntry::FormBorderColor);     // 0x000000
//   int top = StyleInt(WinXP, TStyleEntry::TitleBarButtonTopInt);           // 5
//   LoadStyleImage(DeepBlue, 5, &bmp, 18, 16);             // the close button's normal look
//
// Kinds: an entry is an integer, a colour (0x00BBGGRR), an image (a resource name) or a flag.
// A style outside 1..5 (FromThemeFile included) and an entry number outside 1..42 give value -1
// of kind Int: colour 0, integer -1, flag false, no image.
#include "skin/TsuiUIStyle.h"

#include "framework/TColor.h"

#include <string>
#include <vector>

class TBitmap;

enum TStyleEntryKind { sekInt = 0, sekColor = 1, sekImage = 2, sekBool = 3 };

constexpr int kStyleEntryCount = 42;

// The table's entries by their keys, numbered as the table and theme files number them
// (registered with Qt, so the names can be checked against the table's keys).
namespace TsuiStyleEntries {
Q_NAMESPACE
enum class TStyleEntry : int {
    ButtonImage = 1,
    ButtonTransparentBool,
    CheckBoxImage,
    RadioButtonImage,
    TitleBarButtonImage,
    TitleBarButtonTransparentBool,
    TitleBarButtonLeftOffsetInt,
    TitleBarButtonRightOffsetInt,
    TitleBarButtonTopInt,
    TitleBarLeftImage, // 10
    TitleBarClientImage,
    TitleBarRightImage,
    FormMinWidthInt,
    FormRoundCornerInt,
    FormBackgroundColor,
    FormBorderColor,
    FormBorderWidthInt,
    MenuSelectedBorderColor,
    MenuSelectedBackgroundColor,
    MenuSelectedFontColor, // 20
    MenuBackgroundColor,
    MenuFontColor,
    MenuBarColor,
    ProgressBarImage,
    ControlBorderColor,
    ControlBackgroundColor,
    ControlFontColor, // in a theme file: its kind marker (below)
    TrackBarBarImage,
    TrackBarSliderImage,
    TrackBarSliderVImage, // 30
    ScrollBarBackgroundColor,
    ScrollBarButtonImage,
    ScrollBarSliderImage,
    CheckListBoxImage,
    ToolBarButtonBorderColor,
    ToolBarButtonBackgroundColor,
    ToolBarButtonDownBackgroundColor,
    ScrollButtonImage,
    TabControlTabImage,
    TabControlBarImage, // 40
    SideChannelHandleImage,
    SideChannelBarImage,
};
Q_ENUM_NS(TStyleEntry)
} // namespace TsuiStyleEntries
using TStyleEntry = TsuiStyleEntries::TStyleEntry;
static_assert(static_cast<int>(TStyleEntry::SideChannelBarImage) == kStyleEntryCount);

// Theme-kind markers. No component draws with a theme file's ControlFontColor; the value there
// may name the theme's kind instead, which picks the looks the file has no entries for.
constexpr TColor kThemeKind1 = 0x10000; // dark title-bar caption; light panel and side-channel captions
constexpr TColor kThemeKind2 = 0x20000; // light title-bar caption; dark panel captions; menu bar 0xAC5B3B
constexpr TColor kThemeKind3 = 0x30000; // dark captions; menu bar 0x996733 with white menu-bar text
constexpr TColor kThemeKind4 = 0x40000; // dark captions
constexpr TColor kThemeKind5 = 0x50000; // dark captions, as kind 4
// What the kinds decide: a dark (black) caption on the title bar, on panel and side-channel bars.
bool ThemeKindDarkTitleCaption(TColor kind);
bool ThemeKindDarkBarCaption(TColor kind);

struct TStyleEntryValue {
    int Value = -1;
    TStyleEntryKind Kind = sekInt;
    std::string ResourceName; // image entries only
};

TStyleEntryValue LookupStyleEntry(int style, int entry);
TColor StyleColor(int style, int entry);
int StyleInt(int style, int entry);
bool StyleBool(int style, int entry);
inline TColor StyleColor(int style, TStyleEntry entry) {
    return StyleColor(style, static_cast<int>(entry));
}
inline int StyleInt(int style, TStyleEntry entry) {
    return StyleInt(style, static_cast<int>(entry));
}
inline bool StyleBool(int style, TStyleEntry entry) {
    return StyleBool(style, static_cast<int>(entry));
}
// Loads the entry's bitmap into target: whole when frameCount is 0 (target unchanged when the
// entry is no image), else frame frameNumber (1-based) of frameCount equal frames side by side
// (target emptied to 0 x 0 when the entry is no image). No target: nothing happens.
void LoadStyleImage(int style, int entry, TBitmap* target, int frameCount, int frameNumber);
inline void LoadStyleImage(int style, TStyleEntry entry, TBitmap* target, int frameCount, int frameNumber) {
    LoadStyleImage(style, static_cast<int>(entry), target, frameCount, frameNumber);
}

// The entry's key ("FormBorderColor") and kind, the same for all styles; empty / sekInt outside
// 1..42. Theme files name their entries by these keys.
std::string StyleEntryKey(int entry);
TStyleEntryKind StyleEntryKind(int entry);

// Every bitmap resource the catalogue names (the table's images for all five styles and the
// shared bitmaps), each once.
std::vector<std::string> StyleResourceNames();

// Loads a bitmap resource of the skin by name ("PANEL_BUTTON") into target; raises
// EResNotFound "Resource NAME not found" when there is none.
void LoadSkinBitmap(TBitmap& target, const std::string& name);

// Registers the skin's Qt resources (they live in a static library). Every loader above calls
// it; call it yourself before loading ":/bitmaps/..." by other means.
void EnsureSkinResources();
