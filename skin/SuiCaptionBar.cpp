#include "skin/SuiCaptionBar.h"

#include "framework/TBitmap.h"
#include "framework/TCanvas.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiFileTheme.h"

namespace {

constexpr int kMenuSelectedFontColor = 20;
constexpr int kControlBorderColor = 25;
constexpr int kControlFontColor = 27;
constexpr int kSideChannelBarImage = 42;

// A theme file asks for a dark caption with one of these ControlFontColor values.
bool darkCaptionInTheme(TColor controlFontColor) {
    return controlFontColor == 0x20000 || controlFontColor == 0x30000 || controlFontColor == 0x40000 ||
           controlFontColor == 0x50000;
}

} // namespace

void LoadCaptionBarSkin(const TsuiFileTheme* theme, TsuiUIStyle builtIn, TBitmap& barImage,
                        TColor& borderColor, TColor& captionFontColor) {
    if (theme) {
        theme->ImageEntry(kSideChannelBarImage, barImage);
        borderColor = theme->ColorEntry(kControlBorderColor);
        captionFontColor = darkCaptionInTheme(theme->ColorEntry(kControlFontColor)) ? clBlack : clWhite;
    } else {
        LoadStyleImage(builtIn, kSideChannelBarImage, &barImage, 0, 0);
        borderColor = StyleColor(builtIn, kControlBorderColor);
        // The MacOS caption is black although its selected-menu font is white.
        captionFontColor = builtIn == MacOS ? clBlack : StyleColor(builtIn, kMenuSelectedFontColor);
    }
}

void DrawCaptionBar(TCanvas& canvas, int width, const TBitmap& barImage, const QString& caption,
                    const TFont& font, TColor fontColor, int textLeft, int textRight, unsigned horizontal) {
    const int bar = barImage.Height();
    canvas.StretchDraw(Rect(1, 0, width - 1, bar), barImage);
    if (caption.isEmpty())
        return;
    canvas.Font() = font;
    canvas.Font().SetColor(fontColor);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    TRect text = Rect(textLeft, 0, textRight, bar);
    canvas.DrawText(caption, text, DT_SINGLELINE | DT_VCENTER | horizontal);
}
