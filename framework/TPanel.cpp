#include "framework/TPanel.h"

#include "framework/TCanvas.h"

TPanel::TPanel(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 185, 41);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPanel::SetBevelOuter(TBevelCut value) {
    bevelOuter_ = value;
    bordersChanged();
}

void TPanel::SetBevelInner(TBevelCut value) {
    bevelInner_ = value;
    bordersChanged();
}

void TPanel::SetBevelWidth(int value) {
    bevelWidth_ = value;
    bordersChanged();
}

void TPanel::SetBorderWidth(int value) {
    borderWidth_ = value;
    bordersChanged();
}

void TPanel::SetAlignment(TAlignment value) {
    alignment_ = value;
    Invalidate();
}

void TPanel::bordersChanged() {
    Realign();
    Invalidate();
}

void TPanel::AdjustClientRect(TRect& rect) {
    TControl::AdjustClientRect(rect);
    int inset = borderWidth_;
    if (bevelOuter_ != bvNone)
        inset += bevelWidth_;
    if (bevelInner_ != bvNone)
        inset += bevelWidth_;
    rect.Left += inset;
    rect.Top += inset;
    rect.Right -= inset;
    rect.Bottom -= inset;
}

void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
    // The corners are inclusive here: the lines run along the last row and column.
    rect.Bottom -= 1;
    rect.Right -= 1;
    for (; width > 0; --width) {
        canvas.Pen().SetColor(topColor);
        canvas.Polyline(
            {Point(rect.Left, rect.Bottom), Point(rect.Left, rect.Top), Point(rect.Right, rect.Top)});
        canvas.Pen().SetColor(bottomColor);
        canvas.Polyline(
            {Point(rect.Right, rect.Top), Point(rect.Right, rect.Bottom), Point(rect.Left - 1, rect.Bottom)});
        rect.Left += 1;
        rect.Top += 1;
        rect.Right -= 1;
        rect.Bottom -= 1;
    }
    rect.Bottom += 1;
    rect.Right += 1;
}

void TPanel::Paint() {
    TCanvas& c = *Canvas();
    TRect r = ClientRect();
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone)
            return;
        TColor top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
        if (cut == bvSpace)
            top = bottom = Color();
        Frame3D(c, r, top, bottom, bevelWidth_);
    };
    bevel(bevelOuter_);
    Frame3D(c, r, Color(), Color(), borderWidth_);
    bevel(bevelInner_);
    c.Brush().SetColor(Color());
    c.FillRect(r);
    if (Caption().isEmpty())
        return;
    c.Font() = Font();
    c.Brush().SetStyle(TBrushStyle::bsClear);
    const unsigned align = alignment_ == taCenter         ? DT_CENTER
                           : alignment_ == taRightJustify ? DT_RIGHT
                                                          : DT_LEFT;
    c.DrawText(Caption(), r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | align);
}
