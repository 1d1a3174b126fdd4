#include "skin/TsuiPanel.h"

#include "framework/TBitmap.h"
#include "framework/TPlatform.h"
#include "skin/SuiCaptionBar.h"
#include "skin/SuiDrawing.h"
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
    : TPanel(owner), barImage_(std::make_unique<TBitmap>()), offscreen_(std::make_unique<TBitmap>()) {
    TControl::SetWidth(100);
    SetHeight(100);
    SetUIStyle(OwnerFormStyle(owner));
}

TsuiPanel::~TsuiPanel() {
    if (fileTheme_)
        fileTheme_->RemoveFreeNotification(this);
}

int TsuiPanel::BarHeight() const {
    return barImage_->Height();
}

void TsuiPanel::SetFileTheme(TsuiFileTheme* value) {
    if (fileTheme_ && fileTheme_ != value)
        fileTheme_->RemoveFreeNotification(this);
    fileTheme_ = value;
    if (value)
        value->FreeNotification(this);
    assigningTheme_ = true;
    SetUIStyle(style_);
    assigningTheme_ = false;
}

void TsuiPanel::SetUIStyle(TsuiUIStyle value) {
    style_ = value;
    if (assigningTheme_ && value != FromThemeFile)
        return;
    SetColor(clWhite);
    LoadCaptionBarSkin(TsuiStyleSource(fileTheme_, value), *barImage_, borderColor_, captionFontColor_);
    // One pixel lower and back: the children are aligned again below the new bar.
    SetHeight(Height() - 1);
    SetHeight(Height() + 1);
    // Collapsed, the height does not move; the children still take their places below the new bar.
    if (!expanded_)
        Realign();
    Invalidate();
}

void TsuiPanel::SetBorderColor(TColor value) {
    borderColor_ = value;
    Invalidate();
}

void TsuiPanel::SetCaptionFontColor(TColor value) {
    captionFontColor_ = value;
    Invalidate();
}

void TsuiPanel::SetShowButton(bool value) {
    showButton_ = value;
    Invalidate();
}

void TsuiPanel::SetHeight(int value) {
    expandedHeight_ = value;
    // Collapsed or sliding, the height is only remembered; the next Pop goes there.
    if (expanded_ && !moving_)
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
    if (pending_)
        return *pending_;
    return moving_ ? slidingOpen_ : expanded_;
}

void TsuiPanel::request(bool expand) {
    if (moving_) {
        if (expand == slidingOpen_)
            pending_.reset(); // the running slide already goes there
        else
            pending_ = expand;
        return;
    }
    QPointer<TsuiPanel> alive(this);
    bool ok = expand ? pop() : push();
    while (ok && alive && pending_) {
        const bool next = *pending_;
        pending_.reset();
        if (next == expanded_ || (!next && pushForbidden(TControl::Align())))
            continue;
        ok = next ? pop() : push();
    }
}

bool TsuiPanel::push() {
    // Asked at every step: a style change during the slide brings another bar.
    const auto target = [this] { return barImage_->Empty() ? kDefaultBarHeight : BarHeight(); };
    moving_ = true;
    slidingOpen_ = false;
    while (target() < TControl::Height() - kSlideStep) {
        TControl::SetHeight(TControl::Height() - kSlideStep);
        if (!PaintSlideStep(this))
            return false;
        if (pending_)
            break; // a newer request takes over: finish at once
    }
    TControl::SetHeight(target());
    Repaint();
    moving_ = false;
    expanded_ = false;
    Invalidate();
    QPointer<TsuiPanel> alive(this);
    CallEvent(OnPush, this);
    return !alive.isNull();
}

bool TsuiPanel::pop() {
    moving_ = true;
    slidingOpen_ = true;
    while (TControl::Height() + kSlideStep < expandedHeight_) {
        TControl::SetHeight(TControl::Height() + kSlideStep);
        if (!PaintSlideStep(this))
            return false;
        if (pending_)
            break;
    }
    TControl::SetHeight(expandedHeight_);
    Repaint();
    moving_ = false;
    expanded_ = true;
    Invalidate();
    QPointer<TsuiPanel> alive(this);
    CallEvent(OnPop, this);
    return !alive.isNull();
}

void TsuiPanel::Resize() {
    TPanel::Resize();
    // Sizes from layout code are remembered; those of a slide or of the collapsed panel are not.
    if (!moving_ && expanded_)
        expandedHeight_ = TControl::Height();
}

void TsuiPanel::AlignControls(TControl* aControl, TRect& rect) {
    rect.Left += 3;
    rect.Right -= 3;
    // Collapsed or sliding, the children keep the layout of the expanded panel.
    const int bottom = moving_ || !expanded_ ? std::max(expandedHeight_, rect.Bottom) : rect.Bottom;
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

void TsuiPanel::drawButton(TCanvas& canvas) {
    TBitmap button;
    LoadSkinBitmap(button, "PANEL_BUTTON");
    const TRect r = ButtonRect();
    buttonHot_ = pointerOnButton();
    const int frame = expanded_ ? (buttonHot_ ? kExpandedHotFrame : kExpandedFrame)
                                : (buttonHot_ ? kCollapsedHotFrame : kCollapsedFrame);
    CutBitmapFrame(button, button, kButtonFrames, frame);
    canvas.Draw(TControl::Width() - kButtonWidth - 4, (r.Bottom - kButtonHeight) / 2 + 2, button);
}

void TsuiPanel::Paint() {
    const int w = TControl::Width(), h = TControl::Height();
    TBitmap& bmp = *offscreen_;
    bmp.SetSize(w, std::max(expandedHeight_, h));
    TCanvas& c = bmp.Canvas();
    c.Brush().SetColor(Color());
    c.Pen().SetColor(borderColor_);
    c.Rectangle(0, 0, w, h);
    DrawCaptionBar(c, w, *barImage_, Caption(), Font(), captionFontColor_, 10, w - 1, DT_LEFT);
    if (buttonShown())
        drawButton(c);
    Canvas()->Draw(0, 0, bmp);
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
    if (buttonHot_) {
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
    if (operation == opRemove && component && component == fileTheme_) {
        fileTheme_ = nullptr;
        RestyleChildControls(this, DeepBlue, nullptr);
        SetUIStyle(DeepBlue);
    }
}
