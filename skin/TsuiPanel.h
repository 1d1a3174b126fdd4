#pragma once
// TsuiPanel: a container with a skinned caption bar and, at the bar's right end, a button that
// collapses the panel to its bar (Push) and expands it again (Pop) in 15-pixel steps. Height() is
// the expanded height: while collapsed a new Height is remembered and taken at the next Pop.
//
//   auto* panel = new TsuiPanel(form);          // 100 x 100, expanded, DeepBlue unless the form
//   panel->SetParent(frame);                    //   has a skinned frame
//   panel->SetCaption("新闻内容");
//   panel->OnPush = [](TComponent*) { ... };    // after it collapsed
//
// Children are aligned inside (4, bar height + 4, Width - 4, Height - 4); while collapsed they
// keep that layout and lie below the visible bar. Sliding: each step is painted before the next
// and the waiting events run in between (SuiSlideStep.h); a Push or Pop asked for during a slide
// does not start a slide inside it: the running slide jumps to its end and the last request then
// runs.
//
// The painted panel is kept and copied while nothing it shows changes: setters that change
// nothing repaint nothing, and the others drop the kept picture.
#include "framework/TPanel.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiSlideDriver.h"
#include "skin/TsuiThemeLink.h"
#include "skin/TsuiUIStyle.h"

#include <memory>

class TBitmap;

class TsuiPanel : public TPanel {
    Q_OBJECT
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(TsuiStyles::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(int BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(bool ShowButton READ ShowButton WRITE SetShowButton)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(int CaptionFontColor READ CaptionFontColor WRITE SetCaptionFontColor)

public:
    // What Push collapses to when there is no bar image.
    static constexpr int kDefaultBarHeight = 20;

    explicit TsuiPanel(TComponent* owner);
    ~TsuiPanel() override;

    TsuiFileTheme* FileTheme() const { return themeLink_.Theme(); }
    void SetFileTheme(TsuiFileTheme* value);
    TsuiUIStyle UIStyle() const { return style_; }
    void SetUIStyle(TsuiUIStyle value);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor value);
    TColor CaptionFontColor() const { return captionFontColor_; }
    void SetCaptionFontColor(TColor value);
    bool ShowButton() const { return showButton_; }
    void SetShowButton(bool value);
    // The expanded height.
    int Height() const { return expandedHeight_; }
    void SetHeight(int value);

    // Collapse to the bar; raises Exception "Can't push when Align is alClient, alLeft or
    // alRight." for those alignments. Expand again.
    void Push();
    void Pop();

    bool Expanded() const { return expanded_; }
    bool Moving() const { return slide_.Moving(); }
    bool ButtonHot() const { return buttonHot_; }
    int BarHeight() const;
    // The collapse button's rectangle (its hit area) in client coordinates.
    TRect ButtonRect() const;

    TNotifyEvent OnPush;
    TNotifyEvent OnPop;

protected:
    void AlignControls(TControl* aControl, TRect& rect) override;
    void Resize() override;
    void Paint() override;
    void CaptionChanged() override;
    void FontChanged() override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool buttonShown() const;
    bool pointerOnButton() const;
    // 0 without a button, else the PANEL_BUTTON frame it shows now.
    int buttonFrame() const;
    void drawButton(TCanvas& canvas, int frame);
    void dropPicture();
    // Push (false) or Pop (true), kept for later while a slide runs.
    void request(bool expand);
    bool push();
    bool pop();
    // Where the panel is heading: the kept request, the running slide, or where it is.
    bool headingOpen() const;

    std::unique_ptr<TBitmap> barImage_;
    // The panel as last painted, and what it was painted for.
    std::unique_ptr<TBitmap> offscreen_;
    bool pictureValid_ = false;
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
    int pictureButtonFrame_ = 0;
    TColor pictureColor_ = clBlack;
    TsuiThemeLink themeLink_{*this};
    TsuiSlideDriver slide_;
    TsuiUIStyle style_ = DeepBlue;
    TColor borderColor_ = clBlack;
    TColor captionFontColor_ = clWhite;
    bool showButton_ = true;
    int expandedHeight_ = 100;
    bool expanded_ = true;
    bool buttonHot_ = false;
};
