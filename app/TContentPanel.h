#pragma once
// Stands in for the skinned content panel and side channel until the skin engine's own take
// their places: a plain panel whose children are aligned below a 20-pixel caption bar and 3
// pixels in from the other edges, as the skinned panel lays them out in its default style. The
// bar shows the caption, so the user can see which category the list holds.
#include "framework/TPanel.h"

class TContentPanel : public TPanel {
    Q_OBJECT
public:
    explicit TContentPanel(TComponent* owner) : TPanel(owner) {}

    static constexpr int kBarHeight = 20;
    // The default style's caption-bar blue (0x00BBGGRR).
    static constexpr TColor kBarColor = 0xA04A44;

protected:
    void AlignControls(TControl* aControl, TRect& rect) override {
        rect.Left += 3;
        rect.Right -= 3;
        rect.Bottom -= 3;
        rect.Top = kBarHeight + 3;
        TPanel::AlignControls(aControl, rect);
    }
    void Paint() override;
};
