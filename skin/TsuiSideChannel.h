#pragma once
// TsuiSideChannel: a skinned container docked at the left or right edge of its parent, with a
// caption bar (caption and pin button) across its top and a 10-pixel side bar with a grip down its
// left edge. Pinned (StayOn) it stays at its full width; unpinned it collapses to the side bar and
// pops out when the pointer moves over the bar (or the bar is clicked, PopupMode suiMouseClick),
// and collapses again at the first tick of its 1-second leave check that finds the pointer
// outside. Width() is the full ("expanded") width, also while collapsed.
//
//   auto* channel = new TsuiSideChannel(form);   // starts collapsed at width 10
//   channel->SetParent(panel);
//   channel->SetWidth(277);                      // the full width; nothing moves yet
//   channel->OnPin = [](TComponent*) { ... };
//   channel->SetStayOn(true);                    // slides open in 15-pixel steps, fires OnPin
//
// Sliding: each step is painted before the next and the waiting events run in between (see
// SuiSlideStep.h). A request that arrives while a slide runs (StayOn, a click, a pop-out) does not
// start a second slide inside the first: it is kept, the running slide jumps to its end, and the
// kept request runs after it; of several kept requests the last one decides the end state.
//
// The painted channel is kept and copied while nothing it shows changes: setters that change
// nothing repaint nothing, and the others drop the kept picture.
#include "framework/TPanel.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiSlideDriver.h"
#include "skin/TsuiThemeLink.h"
#include "skin/TsuiUIStyle.h"

#include <memory>
#include <optional>

class TBitmap;
class TSpeedButton;
class TTimer;

class TsuiSideChannel : public TPanel {
    Q_OBJECT
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(TsuiStyles::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(int BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(int CaptionFontColor READ CaptionFontColor WRITE SetCaptionFontColor)
    Q_PROPERTY(bool ShowButton READ ShowButton WRITE SetShowButton)
    Q_PROPERTY(bool Popped READ Popped)
    Q_PROPERTY(int SideBarColor READ SideBarColor WRITE SetSideBarColor)
    Q_PROPERTY(int Alignment READ AlignmentValue WRITE SetAlignmentValue)
    Q_PROPERTY(TsuiSideChannelAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(bool StayOn READ StayOn WRITE SetStayOn)
    Q_PROPERTY(TsuiSideChannelPopupMode PopupMode READ PopupMode WRITE SetPopupMode)
    Q_PROPERTY(bool QuickMove READ QuickMove WRITE SetQuickMove)
    Q_PROPERTY(int SideBarWidth READ SideBarWidth WRITE SetSideBarWidth)

public:
    enum TsuiSideChannelAlign { suiLeft, suiRight };
    Q_ENUM(TsuiSideChannelAlign)
    enum TsuiSideChannelPopupMode { suiMouseOn, suiMouseClick };
    Q_ENUM(TsuiSideChannelPopupMode)

    static constexpr int kCollapsedWidth = 10;
    static constexpr int kMinOpenWidth = 50;

    explicit TsuiSideChannel(TComponent* owner);
    ~TsuiSideChannel() override;

    // The expanded width: written at any time, it sizes the control only while popped.
    int Width() const { return expandedWidth_; }
    void SetWidth(int value);

    TsuiFileTheme* FileTheme() const { return themeLink_.Theme(); }
    void SetFileTheme(TsuiFileTheme* value);
    TsuiUIStyle UIStyle() const { return style_; }
    void SetUIStyle(TsuiUIStyle value);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor value);
    TColor CaptionFontColor() const { return captionFontColor_; }
    void SetCaptionFontColor(TColor value);
    TColor SideBarColor() const { return sideBarColor_; }
    void SetSideBarColor(TColor value);
    bool ShowButton() const { return showButton_; }
    void SetShowButton(bool value);
    bool Popped() const { return popped_; }
    TsuiSideChannelAlign Align() const { return align_; }
    void SetAlign(TsuiSideChannelAlign value);
    bool StayOn() const { return stayOn_; }
    void SetStayOn(bool value);
    TsuiSideChannelPopupMode PopupMode() const { return popupMode_; }
    void SetPopupMode(TsuiSideChannelPopupMode value) { popupMode_ = value; }
    bool QuickMove() const { return quickMove_; }
    void SetQuickMove(bool value) { quickMove_ = value; }
    int SideBarWidth() const { return kCollapsedWidth; }
    void SetSideBarWidth(int) {}
    int AlignmentValue() const { return TPanel::Alignment(); }
    void SetAlignmentValue(int v) { SetAlignment(static_cast<TAlignment>(v)); }

    // The leave check that the timer runs every second while the channel is popped out.
    void LeaveCheck();
    bool Moving() const { return slide_.Moving(); }
    TSpeedButton* PinButton() const { return pinButton_; }
    TTimer* LeaveTimer() const { return timer_; }
    // The caption bar's height: the bar image's.
    int BarHeight() const;

    TNotifyEvent OnPop;
    TNotifyEvent OnPush;
    TNotifyEvent OnPin;
    TNotifyEvent OnUnPin;

protected:
    void AlignControls(TControl* aControl, TRect& rect) override;
    bool CanResize(int& newWidth, int& newHeight) override;
    void Resize() override;
    void Paint() override;
    void CaptionChanged() override;
    void FontChanged() override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    // The procedures return false when the channel was destroyed on the way.
    bool popOut(bool quick);
    bool pushIn(bool quick);
    bool applyStayOn(bool value);
    void pinClicked();
    void requestSlide(bool out, bool quick);
    void runPending();
    bool slideRequested() const { return pendingStayOn_.has_value() || slide_.Kept().has_value(); }
    void dropPicture();

    TSpeedButton* pinButton_ = nullptr;
    TsuiUIStyle style_ = DeepBlue;
    TsuiThemeLink themeLink_{*this};
    TColor borderColor_ = clBlack;
    std::unique_ptr<TBitmap> barImage_;
    std::unique_ptr<TBitmap> handleImage_;
    TColor sideBarColor_ = clBtnFace;
    TColor captionFontColor_ = clWhite;
    bool popped_ = false;
    bool showButton_ = false;
    TTimer* timer_ = nullptr;
    int expandedWidth_ = 0;
    TsuiSlideDriver slide_;
    TsuiSideChannelAlign align_ = suiLeft;
    bool stayOn_ = false;
    TsuiSideChannelPopupMode popupMode_ = suiMouseOn;
    bool quickMove_ = false;
    // The channel as last painted, and what it was painted for.
    std::unique_ptr<TBitmap> offscreen_;
    bool pictureValid_ = false;
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
    bool picturePopped_ = false;
    TColor pictureColor_ = clBlack;
    TAlignment pictureAlignment_ = taCenter;
    std::optional<bool> pendingStayOn_;
};
