#include "skin/TsuiPanel.h"

#include "framework/TBitmap.h"
#include "framework/TPlatform.h"
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

// PANEL_BUTTON: four 13 x 12 frames side by side.
constexpr int kButtonFrames = 4;
constexpr int kButtonWidth = 13;
constexpr int kButtonHeight = 12;
enum ButtonFrame { kExpandedFrame = 1, kExpandedHotFrame, kCollapsedFrame, kCollapsedHotFrame };

bool pushForbidden(TAlign align) {
    return align == alClient || align == alLeft || align == alRight;
}

} // namespace

TsuiPanel::TsuiPanel(TComponent* owner)
    : TPanel(owner), barImage_(std::make_unique<TBitmap>()), offscreen_(std::make_unique<TBitmap>()),
      slide_(
          *this, [this] { return TControl::Height(); }, [this](int h) { TControl::SetHeight(h); }) {
    TControl::SetWidth(100);
    SetHeight(100);
    SetUIStyle(OwnerFormStyle(owner));
}

TsuiPanel::~TsuiPanel() = default;

int TsuiPanel::BarHeight() const {
    return barImage_->Height();
}

void TsuiPanel::SetFileTheme(TsuiFileTheme* value) {
    themeLink_.Set(value, [this] { SetUIStyle(style_); });
}

void TsuiPanel::SetUIStyle(TsuiUIStyle value) {
    style_ = value;
    if (themeLink_.Assigning() && value != FromThemeFile)
        return;
    SetColor(clWhite);
    LoadCaptionBarSkin(TsuiStyleSource(FileTheme(), value), *barImage_, borderColor_, captionFontColor_);
    dropPicture();
    // One pixel lower and back: the children are aligned again below the new bar.
    SetHeight(Height() - 1);
    SetHeight(Height() + 1);
    // Collapsed, the height does not move; the children still take their places below the new bar.
    if (!expanded_)
        Realign();
    Invalidate();
}

void TsuiPanel::dropPicture() {
    pictureValid_ = false;
    Invalidate();
}

void TsuiPanel::SetBorderColor(TColor value) {
    if (SetChanged(borderColor_, value))
        dropPicture();
}

void TsuiPanel::SetCaptionFontColor(TColor value) {
    if (SetChanged(captionFontColor_, value))
        dropPicture();
}

void TsuiPanel::SetShowButton(bool value) {
    if (SetChanged(showButton_, value))
        dropPicture();
}

void TsuiPanel::CaptionChanged() {
    TPanel::CaptionChanged();
    dropPicture();
}

void TsuiPanel::FontChanged() {
    TPanel::FontChanged();
    dropPicture();
}

void TsuiPanel::SetHeight(int value) {
    expandedHeight_ = value;
    // Collapsed or sliding, the height is only remembered; the next Pop goes there.
    if (expanded_ && !slide_.Moving())
        TControl::SetHeight(value);
}

void TsuiPanel::Push() {
    if (pushForbidden(TControl::Align()))
        throw Exception("Can't push when Align is alClient, alLeft or alRight.");
    request(false);
}

void TsuiPanel::Pop() {
    request(true);
}

bool TsuiPanel::headingOpen() const {
    if (slide_.Kept())
        return slide_.Kept()->Open;
    return slide_.Moving() ? slide_.Opening() : expanded_;
}

void TsuiPanel::request(bool expand) {
    if (slide_.Keep({expand}))
        return;
    QPointer<TsuiPanel> alive(this);
    bool ok = expand ? pop() : push();
    while (ok && alive && slide_.Kept()) {
        const bool next = slide_.TakeKept()->Open;
        if (next == expanded_ || (!next && pushForbidden(TControl::Align())))
            continue;
        ok = next ? pop() : push();
    }
}

bool TsuiPanel::push() {
    // Asked at every step: a style change during the slide brings another bar.
    if (!slide_.Run(false, true, [this] { return barImage_->Empty() ? kDefaultBarHeight : BarHeight(); }))
        return false;
    expanded_ = false;
    Invalidate();
    return slide_.Fire(OnPush);
}

bool TsuiPanel::pop() {
    if (!slide_.Run(true, true, [this] { return expandedHeight_; }))
        return false;
    expanded_ = true;
    Invalidate();
    return slide_.Fire(OnPop);
}

void TsuiPanel::Resize() {
    TPanel::Resize();
    // Sizes from layout code are remembered; those of a slide or of the collapsed panel are not.
    if (!slide_.Moving() && expanded_)
        expandedHeight_ = TControl::Height();
}

void TsuiPanel::AlignControls(TControl* aControl, TRect& rect) {
    rect.Left += 3;
    rect.Right -= 3;
    // Collapsed or sliding, the children keep the layout of the expanded panel.
    const int bottom = slide_.Moving() || !expanded_ ? std::max(expandedHeight_, rect.Bottom) : rect.Bottom;
    rect.Bottom = bottom - 3;
    rect.Top = BarHeight() + 3;
    TPanel::AlignControls(aControl, rect);
}

bool TsuiPanel::buttonShown() const {
    return showButton_ && !pushForbidden(TControl::Align());
}

TRect TsuiPanel::ButtonRect() const {
    const int left = TControl::Width() - 1 - kButtonWidth - 4;
    const int top = (BarHeight() - kButtonHeight) / 2;
    return Rect(left, top, left + kButtonWidth, top + kButtonHeight);
}

bool TsuiPanel::pointerOnButton() const {
    return PointInRectClosed(ScreenToClient(Platform().CursorPos()), ButtonRect());
}

int TsuiPanel::buttonFrame() const {
    if (!buttonShown())
        return 0;
    if (expanded_)
        return buttonHot_ ? kExpandedHotFrame : kExpandedFrame;
    return buttonHot_ ? kCollapsedHotFrame : kCollapsedFrame;
}

void TsuiPanel::drawButton(TCanvas& canvas, int frame) {
    TBitmap button;
    LoadSkinBitmap(button, "PANEL_BUTTON");
    CutBitmapFrame(button, button, kButtonFrames, frame);
    canvas.Draw(TControl::Width() - kButtonWidth - 4, (ButtonRect().Bottom - kButtonHeight) / 2 + 2, button);
}

void TsuiPanel::Paint() {
    const int w = TControl::Width(), h = TControl::Height();
    const qreal ratio = std::max<qreal>(devicePixelRatioF(), 1); // text and lines as sharp as the screen
    if (offscreen_->PixelRatio() != ratio) {
        offscreen_->SetPixelRatio(ratio);
        pictureValid_ = false;
    }
    if (buttonShown())
        buttonHot_ = pointerOnButton();
    const int frame = buttonFrame();
    if (!pictureValid_ || w != pictureWidth_ || h != pictureHeight_ || frame != pictureButtonFrame_ ||
        Color() != pictureColor_) {
        TBitmap& bmp = *offscreen_;
        bmp.SetSize(w, std::max(expandedHeight_, h));
        TCanvas& c = bmp.Canvas();
        c.Brush().SetColor(Color());
        c.Pen().SetColor(borderColor_);
        c.Rectangle(0, 0, w, h);
        DrawCaptionBar(c, w, *barImage_, Caption(), Font(), captionFontColor_, 10, w - 1, DT_LEFT);
        if (frame)
            drawButton(c, frame);
        pictureValid_ = true;
        pictureWidth_ = w;
        pictureHeight_ = h;
        pictureButtonFrame_ = frame;
        pictureColor_ = Color();
    }
    Canvas()->Draw(0, 0, *offscreen_);
}

void TsuiPanel::MouseMove(TShiftState shift, int x, int y) {
    QPointer<TsuiPanel> alive(this);
    TPanel::MouseMove(shift, x, y);
    if (!alive || !buttonShown() || y > BarHeight())
        return;
    // Only the button changes with the pointer, and only when it turns hot or cold.
    if (pointerOnButton() != buttonHot_) {
        const TRect r = ButtonRect();
        repaint(r.Left, 0, r.Width() + 2, std::max(BarHeight(), r.Bottom + 2));
    }
}

void TsuiPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    QPointer<TsuiPanel> alive(this);
    TPanel::MouseUp(button, shift, x, y);
    if (!alive || button != mbLeft)
        return;
    // The hot flag can outlive the pointer's stay on the button (moves below the bar leave it
    // as drawn), so the release must be on the button too: a click on the panel's own body
    // toggles nothing.
    if (buttonHot_ && PointInRectClosed(Point(x, y), ButtonRect())) {
        // During a slide a click turns it back.
        if (headingOpen())
            Push();
        else
            Pop();
    }
    if (alive)
        Repaint();
}

void TsuiPanel::Notification(TComponent* component, TOperation operation) {
    TPanel::Notification(component, operation);
    if (themeLink_.Removed(component, operation)) {
        RestyleChildControls(this, DeepBlue, nullptr);
        SetUIStyle(DeepBlue);
    }
}
