#pragma once
// A container with a caption and classic 3-D bevels. The bevels and the border take their width
// off the area in which children are aligned (AdjustClientRect), also for subclasses that paint
// something else instead.
//
//   BevelOuter() bvRaised, BevelInner() bvNone, BevelWidth() 1, BorderWidth() 0, caption centred.
#include "framework/TControl.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TPanel : public TControl {
    Q_OBJECT
    Q_PROPERTY(int BevelOuter READ BevelOuterValue WRITE SetBevelOuterValue)
    Q_PROPERTY(int BevelInner READ BevelInnerValue WRITE SetBevelInnerValue)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)

public:
    explicit TPanel(TComponent* owner);

    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut value);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

    int BevelOuterValue() const { return bevelOuter_; }
    void SetBevelOuterValue(int v) { SetBevelOuter(static_cast<TBevelCut>(v)); }
    int BevelInnerValue() const { return bevelInner_; }
    void SetBevelInnerValue(int v) { SetBevelInner(static_cast<TBevelCut>(v)); }

protected:
    void AdjustClientRect(TRect& rect) override;
    void Paint() override;

private:
    void bordersChanged();

    TBevelCut bevelOuter_ = bvRaised;
    TBevelCut bevelInner_ = bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TAlignment alignment_ = taCenter;
};

// Draws a classic 3-D frame of the given width inside rect (top-left lines in topColor, bottom-
// right in bottomColor) and shrinks rect by it.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);
