#include "skin/TsuiSideChannel.h"

#include "framework/TBitmap.h"
#include "framework/TForm.h"
#include "framework/TPlatform.h"
#include "framework/TSpeedButton.h"
#include "framework/TTimer.h"
#include "skin/SuiCaptionBar.h"
#include "skin/SuiDrawing.h"
#include "skin/SuiSlideStep.h"
#include "skin/SuiStyleDecisions.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiStyleSource.h"

#include <QPointer>

#include <algorithm>

namespace {

constexpr int kPinButtonWidth = 20;
constexpr int kPinButtonHeight = 16;
constexpr int kOutOfSight = -50;
constexpr TColor kGreyLine = 0x808080;

} // namespace

TsuiSideChannel::TsuiSideChannel(TComponent* owner)
    : TPanel(owner), barImage_(std::make_unique<TBitmap>()), handleImage_(std::make_unique<TBitmap>()),
      offscreen_(std::make_unique<TBitmap>()) {
    pinButton_ = new TSpeedButton(this);
    pinButton_->SetParent(this);
    pinButton_->SetFlat(true);
    // The bar shows through around the glyph.
    pinButton_->SetColor(clNone);
    pinButton_->SetGroupIndex(1);
    pinButton_->SetAllowAllUp(true);
    LoadSkinBitmap(pinButton_->Glyph(), "SIDECHANNEL_BTN");
    pinButton_->SetBounds(expandedWidth_ - kPinButtonWidth - 1, 1, kPinButtonWidth, kPinButtonHeight);
    pinButton_->OnClick = [this](TComponent*) { pinClicked(); };
    SetShowButton(true);

    timer_ = new TTimer(this);
    timer_->SetEnabled(false);
    timer_->SetInterval(1000);
    timer_->SetOnTimer([this](TComponent*) { LeaveCheck(); });

    SetBevelOuter(bvNone);
    SetAlign(suiLeft);
    sideBarColor_ = clBtnFace;
    Font().SetName(QStringLiteral("Tahoma"));
    SetUIStyle(OwnerFormStyle(owner));
    // A new channel starts collapsed to its side bar.
    pushIn(true);
}

TsuiSideChannel::~TsuiSideChannel() {
    if (fileTheme_)
        fileTheme_->RemoveFreeNotification(this);
    delete timer_;
    timer_ = nullptr;
    delete pinButton_;
    pinButton_ = nullptr;
}

int TsuiSideChannel::BarHeight() const {
    return barImage_->Height();
}

void TsuiSideChannel::SetWidth(int value) {
    expandedWidth_ = value;
    if (popped_)
        TControl::SetWidth(value);
}

void TsuiSideChannel::SetFileTheme(TsuiFileTheme* value) {
    if (fileTheme_ && fileTheme_ != value)
        fileTheme_->RemoveFreeNotification(this);
    fileTheme_ = value;
    if (value)
        value->FreeNotification(this);
    assigningTheme_ = true;
    SetUIStyle(style_);
    assigningTheme_ = false;
}

void TsuiSideChannel::SetUIStyle(TsuiUIStyle value) {
    style_ = value;
    if (assigningTheme_ && value != FromThemeFile)
        return;
    SetColor(clWhite);
    const TsuiStyleSource source(fileTheme_, value);
    sideBarColor_ = source.Color(TStyleEntry::FormBackgroundColor);
    source.Image(TStyleEntry::SideChannelHandleImage, *handleImage_);
    LoadCaptionBarSkin(source, *barImage_, borderColor_, captionFontColor_);
    if (showButton_) {
        pinButton_->SetTop(std::min((BarHeight() - kPinButtonHeight) / 2, 5));
    } else {
        pinButton_->SetTop(kOutOfSight);
        SetStayOn(true);
    }
    RestyleChildControls(this, source.Resolved(), fileTheme_);
    Invalidate();
}

void TsuiSideChannel::SetBorderColor(TColor value) {
    borderColor_ = value;
    Invalidate();
}

void TsuiSideChannel::SetCaptionFontColor(TColor value) {
    captionFontColor_ = value;
    Invalidate();
}

void TsuiSideChannel::SetSideBarColor(TColor value) {
    sideBarColor_ = value;
    Invalidate();
}

void TsuiSideChannel::SetShowButton(bool value) {
    showButton_ = value;
    if (value) {
        pinButton_->SetTop(1);
    } else {
        // A channel without its button is pinned for good.
        pinButton_->SetTop(kOutOfSight);
        SetStayOn(true);
    }
}

void TsuiSideChannel::SetAlign(TsuiSideChannelAlign value) {
    align_ = value;
    TControl::SetAlign(value == suiRight ? alRight : alLeft);
}

void TsuiSideChannel::SetStayOn(bool value) {
    if (moving_) {
        // Decides the end state on its own: earlier kept requests are void.
        pendingStayOn_ = value;
        pendingSlide_.reset();
        return;
    }
    QPointer<TsuiSideChannel> alive(this);
    if (applyStayOn(value) && alive)
        runPending();
}

bool TsuiSideChannel::applyStayOn(bool value) {
    QPointer<TsuiSideChannel> alive(this);
    stayOn_ = value;
    if (value) {
        if (!popOut(quickMove_))
            return false;
        pinButton_->SetDown(true);
    } else {
        pinButton_->SetDown(false);
        if (!pushIn(true))
            return false;
    }
    Resize();
    // As if the button had been clicked: timer, glyph and the pin or unpin event.
    pinClicked();
    return !alive.isNull();
}

void TsuiSideChannel::pinClicked() {
    const bool down = pinButton_->Down();
    timer_->SetEnabled(!down);
    LoadSkinBitmap(pinButton_->Glyph(), "SIDECHANNEL_BTN");
    if (down)
        TurnBitmapClockwise(pinButton_->Glyph());
    pinButton_->Invalidate();
    stayOn_ = down;
    if (down)
        CallEvent(OnPin, this);
    else
        CallEvent(OnUnPin, this);
}

void TsuiSideChannel::requestSlide(bool out, bool quick) {
    if (moving_) {
        if (out == slidingOut_ && !pendingStayOn_)
            pendingSlide_.reset(); // the running slide already goes there
        else
            pendingSlide_ = SlideRequest{out, quick};
        return;
    }
    QPointer<TsuiSideChannel> alive(this);
    if ((out ? popOut(quick) : pushIn(quick)) && alive)
        runPending();
}

void TsuiSideChannel::runPending() {
    QPointer<TsuiSideChannel> alive(this);
    while (alive && !moving_ && slideRequested()) {
        if (pendingStayOn_) {
            const bool value = *pendingStayOn_;
            pendingStayOn_.reset();
            if (!applyStayOn(value))
                return;
            continue;
        }
        const SlideRequest slide = *pendingSlide_;
        pendingSlide_.reset();
        if (slide.out == popped_)
            continue; // already where it was asked to go
        if (!(slide.out ? popOut(slide.quick) : pushIn(slide.quick)))
            return;
    }
}

void TsuiSideChannel::setCurrentWidth(int width) {
    TControl::SetWidth(width);
}

void TsuiSideChannel::repaintNow() {
    Repaint();
}

bool TsuiSideChannel::popOut(bool quick) {
    moving_ = true;
    slidingOut_ = true;
    pinButton_->Show();
    // Over whatever the parent shows beside it (the browser pane of an unpinned channel).
    raise();
    if (!quick) {
        while (TControl::Width() + kSlideStep < expandedWidth_) {
            setCurrentWidth(TControl::Width() + kSlideStep);
            if (!PaintSlideStep(this))
                return false;
            if (slideRequested())
                break; // a newer request takes over: finish at once
        }
    }
    setCurrentWidth(expandedWidth_);
    repaintNow();
    timer_->SetEnabled(true);
    moving_ = false;
    popped_ = true;
    Invalidate();
    QPointer<TsuiSideChannel> alive(this);
    CallEvent(OnPop, this);
    return !alive.isNull();
}

bool TsuiSideChannel::pushIn(bool quick) {
    moving_ = true;
    slidingOut_ = false;
    popped_ = false;
    timer_->SetEnabled(false);
    if (!quick) {
        while (TControl::Width() - kSlideStep > kCollapsedWidth) {
            setCurrentWidth(TControl::Width() - kSlideStep);
            if (!PaintSlideStep(this))
                return false;
            if (slideRequested())
                break;
        }
    }
    setCurrentWidth(kCollapsedWidth);
    repaintNow();
    pinButton_->Hide();
    moving_ = false;
    Invalidate();
    QPointer<TsuiSideChannel> alive(this);
    CallEvent(OnPush, this);
    return !alive.isNull();
}

void TsuiSideChannel::LeaveCheck() {
    if (moving_)
        return;
    if (!Parent()) {
        requestSlide(false, quickMove_);
        return;
    }
    const TPoint p = Platform().CursorPos();
    const TPoint topLeft = ClientToScreen(Point(0, 0));
    const TPoint bottomRight = ClientToScreen(Point(TControl::Width(), ClientHeight()));
    // The edge pixels count as outside.
    const bool inside = topLeft.X < p.X && p.X < bottomRight.X && topLeft.Y < p.Y && p.Y < bottomRight.Y;
    if (!inside)
        requestSlide(false, quickMove_);
}

void TsuiSideChannel::MouseMove(TShiftState shift, int x, int y) {
    QPointer<TsuiSideChannel> alive(this);
    TPanel::MouseMove(shift, x, y);
    if (!alive || moving_ || popped_ || popupMode_ != suiMouseOn)
        return;
    TForm* form = ParentForm();
    if (form && form->Active() && IsFormActiveWindow(form))
        requestSlide(true, quickMove_);
}

void TsuiSideChannel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    QPointer<TsuiSideChannel> alive(this);
    TPanel::MouseUp(button, shift, x, y);
    if (alive && !popped_ && popupMode_ == suiMouseClick)
        requestSlide(true, quickMove_);
}

bool TsuiSideChannel::CanResize(int& newWidth, int& newHeight) {
    // An open channel is never narrower than 50 pixels; slides and the collapsed bar are exempt.
    if (!moving_ && pinButton_ && pinButton_->Visible() && newWidth < kMinOpenWidth)
        return false;
    return TPanel::CanResize(newWidth, newHeight);
}

void TsuiSideChannel::Resize() {
    TPanel::Resize();
    if (!moving_ && TControl::Width() > kCollapsedWidth)
        expandedWidth_ = TControl::Width();
    if (pinButton_)
        pinButton_->SetLeft(expandedWidth_ - pinButton_->TControl::Width() - 1);
}

void TsuiSideChannel::AlignControls(TControl* aControl, TRect& rect) {
    rect.Left += 13;
    rect.Top += BarHeight() + 3;
    rect.Right -= 3;
    rect.Bottom -= 3;
    TPanel::AlignControls(aControl, rect);
}

void TsuiSideChannel::Paint() {
    const int w = TControl::Width(), h = TControl::Height();
    const int bar = BarHeight();
    TBitmap& bmp = *offscreen_;
    bmp.SetSize(w, h);
    TCanvas& c = bmp.Canvas();
    const TRect client = Rect(0, 0, w, h);
    FillRectInColor(c, client, Color());
    FrameRectInColor(c, client, borderColor_);
    const TAlignment a = TPanel::Alignment();
    const unsigned horizontal = a == taLeftJustify ? DT_LEFT : a == taRightJustify ? DT_RIGHT : DT_CENTER;
    // Collapsed, the bar shows no caption.
    DrawCaptionBar(c, w, *barImage_, popped_ ? Caption() : QString(), Font(), captionFontColor_,
                   1 + kPinButtonWidth, w - 1 - kPinButtonWidth, horizontal);
    FillRectInColor(c, Rect(1, bar, kCollapsedWidth - 1, h - 1), sideBarColor_);
    c.Pen().SetColor(kGreyLine);
    c.MoveTo(kCollapsedWidth - 1, bar);
    c.LineTo(kCollapsedWidth - 1, h - 1);
    const int handleTop = std::max((h - handleImage_->Height()) / 2, bar + 1);
    c.Draw(1, handleTop, *handleImage_);
    Canvas()->Draw(0, 0, bmp);
}

void TsuiSideChannel::Notification(TComponent* component, TOperation operation) {
    TPanel::Notification(component, operation);
    if (operation == opRemove && component && component == fileTheme_) {
        fileTheme_ = nullptr;
        RestyleChildControls(this, DeepBlue, nullptr);
        SetUIStyle(DeepBlue);
    }
}
