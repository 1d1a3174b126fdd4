#pragma once
// Small painting companions of TCanvas: pen, brush, font styles, the text-drawing flags, and the
// bridge between TColor (0x00BBGGRR, system colours 0xFF0000nn) and QColor.
#include "framework/TColor.h"

#include <QColor>

// Classic text-drawing flags for TCanvas::DrawText. Flags not listed are accepted and ignored.
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_VCENTER = 0x4; // with DT_SINGLELINE only, as classic DrawText does
constexpr unsigned DT_BOTTOM = 0x8;  // with DT_SINGLELINE only
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_EXPANDTABS = 0x40;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned; // an OR of TFontStyle bits

enum class TBrushStyle { bsSolid, bsClear };
enum class TPenStyle { psSolid, psDot, psClear };

// The colour a QPainter should use for a TColor (system colours looked up in the palette).
QColor ToQColor(TColor color);
// The TColor of a QColor (alpha dropped).
TColor FromQColor(const QColor& color);

class TPen {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor c) { color_ = c; }
    int Width() const { return width_; }
    void SetWidth(int w) { width_ = w < 1 ? 1 : w; }
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle s) { style_ = s; }

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = TPenStyle::psSolid;
};

class TBrush {
public:
    TColor Color() const { return color_; }
    // Setting a colour makes a clear brush solid again, as the classic brush does.
    void SetColor(TColor c) {
        color_ = c;
        if (style_ == TBrushStyle::bsClear)
            style_ = TBrushStyle::bsSolid;
    }
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle s) { style_ = s; }

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::bsSolid;
};
