#pragma once
// A speed button: flat or raised, with a glyph (its bottom-left pixel's colour is transparent)
// and an optional caption. With a GroupIndex() above 0 it keeps a Down() state: a click turns it
// down and the others of its group (same parent, same index) up; with AllowAllUp() a click on a
// down button turns it up again. A flat button shows its frame only under the pointer or down.
// With Color() clNone the button has no face of its own: its parent shows around the glyph.
#include "framework/TBitmap.h"
#include "framework/TControl.h"

class TSpeedButton : public TControl {
    Q_OBJECT
    Q_PROPERTY(bool Down READ Down WRITE SetDown)
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_PROPERTY(bool AllowAllUp READ AllowAllUp WRITE SetAllowAllUp)

public:
    explicit TSpeedButton(TComponent* owner);

    bool Down() const { return down_; }
    void SetDown(bool value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value) { groupIndex_ = value; }
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value) { allowAllUp_ = value; }
    // The glyph; changing it repaints the button.
    TBitmap& Glyph() { return glyph_; }
    bool MouseInControl() const { return mouseIn_; }

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    // The press and release decide the click themselves.
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool down_ = false;
    bool flat_ = false;
    bool allowAllUp_ = false;
    bool pressed_ = false;
    bool mouseIn_ = false;
    int groupIndex_ = 0;
    TBitmap glyph_;
};
