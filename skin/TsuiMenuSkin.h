#pragma once
// TsuiMenuSkin: the skin values of a menu and the measuring and drawing of its drop-down items,
// shared by the skinned main menu and the skinned popup menu so both draw alike.
//
// Items are measured and drawn from these values at the moment a drop-down opens; nothing is
// cached between items, so a value changed later shows at the next opening.
//
//   measure  height: SeparatorHeight for a "-" item, MenuItemHeight otherwise;
//            width:  caption + shortcut text + BarWidth + 40, in the measuring canvas's font
//   draw     the bar strip and background (MacOS: the platinum strips), the highlight and its
//            frame, the caption at (BarWidth + 4, 4), the shortcut 16 pixels from the right, the
//            check box and the item's image
#include "framework/TColor.h"
#include "framework/core/TRect.h"
#include "skin/TsuiUIStyle.h"

#include <QString>

class TCanvas;
class TImageList;
class TMenuItem;
class TsuiFileTheme;

struct TsuiMenuSkin {
    TsuiUIStyle UIStyle = DeepBlue;
    int MenuItemHeight = 21;
    int SeparatorHeight = 21;
    TColor BarColor = clBtnFace;
    int BarWidth = 0;
    TColor Color = clWhite;
    TColor SeparatorColor = 0x808080;
    TColor SelectedBorderColor = clHighlight;
    TColor SelectedColor = clHighlight;
    TColor SelectedFontColor = clWhite;
    TColor FontColor = clWhite;
    TColor BorderColor = clBlack;
    bool FlatMenu = false;
    QString FontName = QStringLiteral("MS Sans Serif");
    int FontSize = 8;
    int FontCharset = 1;
    bool UseSystemFont = true;
    TsuiFileTheme* FileTheme = nullptr;

    // The style application: stores the style, BarWidth 26, heights and separator colour for
    // MacOS or the others, and the six menu colours from the file theme or the built-in style.
    void ApplyStyle(TsuiUIStyle style);
    // Heights are fixed while the style is MacOS.
    void SetMenuItemHeight(int value);
    void SetSeparatorHeight(int value);

    void MeasureItem(TMenuItem* item, TCanvas& canvas, int& width, int& height) const;
    // checkMarks: the menu's check-mark list; userImages: the image list the user assigned, or
    // nullptr. With FlatMenu the drop-down the canvas paints gets its flat outer frame.
    void DrawItem(TMenuItem* item, TCanvas& canvas, const TRect& rect, bool selected,
                  const TImageList* checkMarks, const TImageList* userImages) const;

private:
    void drawFlatFrame(TCanvas& canvas) const;
};

// The 16 x 16 check mark (MENU_CHECKED), white made transparent, added to list.
void AddMenuCheckMark(TImageList& list);
