#include "skin/TsuiSideChannel.h"

#include "framework/TBitmap.h"
#include "framework/TForm.h"
#include "framework/TPlatform.h"
#include "framework/TSpeedButton.h"
#include "framework/TTimer.h"
#include "skin/SuiCaptionBar.h"
#include "skin/SuiDrawing.h"
#include "skin/SuiSetChanged.h"
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
      slide_(
          *this, [this] { return TControl::Width(); }, [this](int w) { TControl::SetWidth(w); }),
      offscreen_(std::make_unique<TBitmap>()) {
    slide_.OtherKept = [this] { return pendingStayOn_.has_value(); };
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
    themeLink_.Set(value, [this] { SetUIStyle(style_); });
}

void TsuiSideChannel::SetUIStyle(TsuiUIStyle value) {
    style_ = value;
    if (themeLink_.Assigning() && value != FromThemeFile)
        return;
    SetColor(clWhite);
    const TsuiStyleSource source(FileTheme(), value);
    sideBarColor_ = source.Color(TStyleEntry::FormBackgroundColor, sideBarColor_);
    source.Image(TStyleEntry::SideChannelHandleImage, *handleImage_);
    LoadCaptionBarSkin(source, *barImage_, borderColor_, captionFontColor_);
    dropPicture();
    if (showButton_) {
        pinButton_->SetTop(std::min((BarHeight() - kPinButtonHeight) / 2, 5));
    } else {
        pinButton_->SetTop(kOutOfSight);
        SetStayOn(true);
    }
    RestyleChildControls(this, source.Resolved(), FileTheme());
    Invalidate();
}

void TsuiSideChannel::dropPicture() {
    pictureValid_ = false;
    Invalidate();
}

void TsuiSideChannel::SetBorderColor(TColor value) {
    if (SetChanged(borderColor_, value))
        dropPicture();
}

void TsuiSideChannel::SetCaptionFontColor(TColor value) {
    if (SetChanged(captionFontColor_, value))
        dropPicture();
}

void TsuiSideChannel::SetSideBarColor(TColor value) {
    if (SetChanged(sideBarColor_, value))
        dropPicture();
}

void TsuiSideChannel::CaptionChanged() {
    TPanel::CaptionChanged();
    dropPicture();
}

void TsuiSideChannel::FontChanged() {
    TPanel::FontChanged();
    dropPicture();
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
    if (slide_.Moving()) {
        // Decides the end state on its own: earlier kept requests are void.
        pendingStayOn_ = value;
        slide_.ForgetKept();
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
    // After a kept StayOn even a slide the way the running one goes is kept.
    if (slide_.Keep({out, quick}, pendingStayOn_.has_value()))
        return;
    QPointer<TsuiSideChannel> alive(this);
    if ((out ? popOut(quick) : pushIn(quick)) && alive)
        runPending();
}

void TsuiSideChannel::runPending() {
    QPointer<TsuiSideChannel> alive(this);
    while (alive && !slide_.Moving() && slideRequested()) {
        if (pendingStayOn_) {
            const bool value = *pendingStayOn_;
            pendingStayOn_.reset();
            if (!applyStayOn(value))
                return;
            continue;
        }
        const TsuiSlideRequest slide = *slide_.TakeKept();
        if (slide.Open == popped_)
            continue; // already where it was asked to go
        if (!(slide.Open ? popOut(slide.Quick) : pushIn(slide.Quick)))
            return;
    }
}

bool TsuiSideChannel::popOut(bool quick) {
    const auto atStart = [this] {
        pinButton_->Show();
        // Over whatever the parent shows beside it (the browser pane of an unpinned channel).
        raise();
    };
    if (!slide_.Run(
            true, !quick, [this] { return expandedWidth_; }, atStart, [this] { timer_->SetEnabled(true); }))
        return false;
    popped_ = true;
    Invalidate();
    return slide_.Fire(OnPop);
}

bool TsuiSideChannel::pushIn(bool quick) {
    const auto atStart = [this] {
        popped_ = false;
        timer_->SetEnabled(false);
    };
    if (!slide_.Run(
            false, !quick, [] { return kCollapsedWidth; }, atStart, [this] { pinButton_->Hide(); }))
        return false;
    Invalidate();
    return slide_.Fire(OnPush);
}

void TsuiSideChannel::LeaveCheck() {
    if (slide_.Moving())
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
    if (!alive || slide_.Moving() || popped_ || popupMode_ != suiMouseOn)
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
    if (!slide_.Moving() && pinButton_ && pinButton_->Visible() && newWidth < kMinOpenWidth)
        return false;
    return TPanel::CanResize(newWidth, newHeight);
}

void TsuiSideChannel::Resize() {
    TPanel::Resize();
    if (!slide_.Moving() && TControl::Width() > kCollapsedWidth)
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
    const TAlignment a = TPanel::Alignment();
    const qreal ratio = std::max<qreal>(devicePixelRatioF(), 1); // text and lines as sharp as the screen
    if (offscreen_->PixelRatio() != ratio) {
        offscreen_->SetPixelRatio(ratio);
        pictureValid_ = false;
    }
    if (pictureValid_ && w == pictureWidth_ && h == pictureHeight_ && popped_ == picturePopped_ &&
        Color() == pictureColor_ && a == pictureAlignment_) {
        Canvas()->Draw(0, 0, *offscreen_);
        return;
    }
    const int bar = BarHeight();
    TBitmap& bmp = *offscreen_;
    bmp.SetSize(w, h);
    TCanvas& c = bmp.Canvas();
    const TRect client = Rect(0, 0, w, h);
    FillRectInColor(c, client, Color());
    FrameRectInColor(c, client, borderColor_);
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
    pictureValid_ = true;
    pictureWidth_ = w;
    pictureHeight_ = h;
    picturePopped_ = popped_;
    pictureColor_ = Color();
    pictureAlignment_ = a;
    Canvas()->Draw(0, 0, bmp);
}

void TsuiSideChannel::Notification(TComponent* component, TOperation operation) {
    TPanel::Notification(component, operation);
    if (themeLink_.Removed(component, operation)) {
        RestyleChildControls(this, DeepBlue, nullptr);
        SetUIStyle(DeepBlue);
    }
}
