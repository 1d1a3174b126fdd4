#include "skin/SuiCaptionBar.h"

#include "framework/TBitmap.h"
#include "framework/TCanvas.h"
#include "skin/TsuiStyleSource.h"

void LoadCaptionBarSkin(const TsuiStyleSource& source, TBitmap& barImage, TColor& borderColor,
                        TColor& captionFontColor) {
    source.Image(TStyleEntry::SideChannelBarImage, barImage);
    borderColor = source.Color(TStyleEntry::ControlBorderColor, borderColor);
    if (source.FromFile())
        captionFontColor = ThemeKindDarkBarCaption(source.ThemeKind()) ? clBlack : clWhite;
    else if (source.BuiltIn() == MacOS) // black although its selected-menu font is white
        captionFontColor = clBlack;
    else
        captionFontColor = source.Color(TStyleEntry::MenuSelectedFontColor);
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
