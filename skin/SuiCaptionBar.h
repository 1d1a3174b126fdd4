#pragma once
// The caption bar that the skinned panel and the side channel both show across their top: a bar
// image stretched one pixel in from each side, with the caption drawn on it, inside a frame in
// the control border colour.
//
//   LoadCaptionBarSkin(source, bar, border, captionFont);   // at every style change
//   DrawCaptionBar(canvas, width, bar, caption, font, captionFont, 10, width - 1, DT_LEFT);
#include "framework/TColor.h"
#include "skin/TsuiUIStyle.h"

#include <QString>

class TBitmap;
class TCanvas;
class TFont;
class TsuiStyleSource;

// Loads the bar image and the border and caption colours from the source.
void LoadCaptionBarSkin(const TsuiStyleSource& source, TBitmap& barImage, TColor& borderColor,
                        TColor& captionFontColor);

// Stretches barImage (at its own height) across the top of a control width pixels wide, then
// writes caption (when not empty) in font and fontColor between textLeft and textRight,
// vertically centred on the bar, placed by the horizontal DT_ flag.
void DrawCaptionBar(TCanvas& canvas, int width, const TBitmap& barImage, const QString& caption,
                    const TFont& font, TColor fontColor, int textLeft, int textRight, unsigned horizontal);
