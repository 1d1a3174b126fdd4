#pragma once
// The built-in style catalogue: the 42-entry style table (one value per built-in style) and the
// style bitmaps, which are Qt resources of the program loaded by name.
//
//   TColor border = StyleColor(DeepBlue, 16);             // FormBorderColor: 0x000000
//   int top = StyleInt(WinXP, 9);                          // TitleBarButtonTopInt: 5
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

struct TStyleEntryValue {
    int Value = -1;
    TStyleEntryKind Kind = sekInt;
    std::string ResourceName; // image entries only
};

TStyleEntryValue LookupStyleEntry(int style, int entry);
TColor StyleColor(int style, int entry);
int StyleInt(int style, int entry);
bool StyleBool(int style, int entry);
// Loads the entry's bitmap into target: whole when frameCount is 0 (target unchanged when the
// entry is no image), else frame frameNumber (1-based) of frameCount equal frames side by side
// (target emptied to 0 x 0 when the entry is no image). No target: nothing happens.
void LoadStyleImage(int style, int entry, TBitmap* target, int frameCount, int frameNumber);

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
