#include "framework/TSpeedButton.h"

#include "framework/TPanel.h"

#include <QMouseEvent>

TSpeedButton::TSpeedButton(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 23, 22);
    glyph_.SetTransparent(true);
    glyph_.OnChange = [this] { Invalidate(); };
}

void TSpeedButton::SetDown(bool value) {
    if (groupIndex_ == 0)
        value = false;
    if (value == down_)
        return;
    // The last down button of a group stays down unless all may be up.
    if (down_ && !value && !allowAllUp_)
        return;
    down_ = value;
    if (down_ && Parent()) {
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
            if (other && other != this && other->groupIndex_ == groupIndex_ && other->down_) {
                other->down_ = false;
                other->Invalidate();
            }
        }
    }
    Invalidate();
}

void TSpeedButton::SetFlat(bool value) {
    flat_ = value;
    Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TControl::MouseDown(button, shift, x, y);
    if (button == mbLeft && Enabled()) {
        pressed_ = true;
        Repaint();
    }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TControl::MouseUp(button, shift, x, y);
    if (button != mbLeft || !pressed_)
        return;
    pressed_ = false;
    const bool doClick = x >= 0 && x < width() && y >= 0 && y < height();
    if (groupIndex_ != 0 && doClick)
        SetDown(!down_);
    Repaint();
    if (doClick)
        Click();
}

void TSpeedButton::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    GuardEvent([&] {
        MouseUp(event->button() == Qt::LeftButton    ? mbLeft
                : event->button() == Qt::RightButton ? mbRight
                                                     : mbMiddle,
                ShiftFromQt(event->modifiers(), event->buttons()), p.x(), p.y());
    });
}

void TSpeedButton::MouseEnter() {
    TControl::MouseEnter();
    mouseIn_ = true;
    if (flat_)
        Invalidate();
}

void TSpeedButton::MouseLeave() {
    TControl::MouseLeave();
    mouseIn_ = false;
    if (flat_)
        Invalidate();
}

void TSpeedButton::Paint() {
    TCanvas& c = *Canvas();
    TRect r = ClientRect();
    const bool sunken = down_ || pressed_;
    // clNone: no face of its own, the parent shows around the glyph.
    if (Color() != clNone) {
        c.Brush().SetColor(Color());
        c.FillRect(r);
    }
    if (!flat_ || sunken || (mouseIn_ && Enabled())) {
        TRect frame = r;
        if (sunken)
            Frame3D(c, frame, clBtnShadow, clBtnHighlight, 1);
        else
            Frame3D(c, frame, clBtnHighlight, clBtnShadow, 1);
    }
    const int offset = sunken ? 1 : 0;
    int textWidth = Caption().isEmpty() ? 0 : c.TextWidth(Caption());
    int contentWidth = glyph_.Empty() ? textWidth : glyph_.Width() + (textWidth ? 4 + textWidth : 0);
    int x = (width() - contentWidth) / 2 + offset;
    if (!glyph_.Empty()) {
        c.Draw(x, (height() - glyph_.Height()) / 2 + offset, glyph_);
        x += glyph_.Width() + 4;
    }
    if (textWidth) {
        c.Font() = Font();
        c.Brush().SetStyle(TBrushStyle::bsClear);
        TRect tr = Rect(x, offset, x + textWidth, height() + offset);
        c.DrawText(Caption(), tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }
}
