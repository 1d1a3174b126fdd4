#pragma once
// Where a skinned component reads its style entries: the file theme when ResolveFileTheme says so
// (the style is FromThemeFile and the theme is loaded), else the built-in table of the style
// (DeepBlue for FromThemeFile without a loaded theme).
//
//   const TsuiStyleSource source(fileTheme_, style);
//   borderColor_ = source.Color(TStyleEntry::FormBorderColor);
//   source.Image(TStyleEntry::TitleBarLeftImage, picture);
//   if (source.FromFile() && source.ThemeKind() == kThemeKind3) ...
//
// What a theme file lacks reads as the theme says (TsuiFileTheme), never as the built-in value,
// except where a component keeps what it has: Color(entry, current) gives `current` for a colour
// the file lacks (it reads -1, which is no colour), and DefaultedColor gives DeepBlue's, for a
// colour read as it is drawn. A theme file's sizes come clamped to what a window can live with
// (Int): a minimum width no wider than the work area, a border within the frame's 3-pixel band,
// corners, button offsets and the button row's top within a title bar's reach.
#include "framework/TColor.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiUIStyle.h"

class TBitmap;
class TsuiFileTheme;

class TsuiStyleSource {
public:
    TsuiStyleSource(const TsuiFileTheme* fileTheme, TsuiUIStyle style);

    bool FromFile() const { return theme_ != nullptr; }
    // The theme read from, or null when the built-in table is.
    const TsuiFileTheme* Theme() const { return theme_; }
    // The built-in style read from when not FromFile (the requested one, or DeepBlue).
    TsuiUIStyle BuiltIn() const { return builtIn_; }
    // FromThemeFile when the theme is read, else the built-in style: what parts take on.
    TsuiUIStyle Resolved() const { return theme_ ? FromThemeFile : builtIn_; }

    TColor Color(TStyleEntry entry) const;
    TColor Color(TStyleEntry entry, TColor current) const;
    TColor DefaultedColor(TStyleEntry entry) const;
    int Int(TStyleEntry entry) const;
    bool Bool(TStyleEntry entry) const;
    // The whole image into target (unchanged when there is none).
    void Image(TStyleEntry entry, TBitmap& target) const;
    // Frame frameNumber (1-based) of frameCount side by side (emptied when there is none).
    void ImageFrame(TStyleEntry entry, TBitmap& target, int frameCount, int frameNumber) const;
    // The theme's kind marker (its ControlFontColor); 0 when the built-in table is read.
    TColor ThemeKind() const;

private:
    const TsuiFileTheme* theme_ = nullptr;
    TsuiUIStyle builtIn_ = DeepBlue;
};
