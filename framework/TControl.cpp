#include "framework/TControl.h"

#include "framework/TApplication.h"
#include "framework/TBitmap.h"
#include "framework/TCanvas.h"
#include "framework/TForm.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>

#include <algorithm>

namespace {

TMouseButton buttonFromQt(Qt::MouseButton b) {
    switch (b) {
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return mbLeft;
    }
}

Qt::CursorShape cursorShape(TCursor c) {
    switch (c) {
    case crHSplit:
        return Qt::SplitHCursor;
    case crVSplit:
        return Qt::SplitVCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crSizeNS:
        return Qt::SizeVerCursor;
    case crHourGlass:
        return Qt::WaitCursor;
    default:
        return Qt::ArrowCursor;
    }
}

// Classic stacking order of peers with the same alignment: does c1 go before c2?
bool insertBefore(TControl* c1, TControl* c2, TAlign align) {
    switch (align) {
    case alTop:
        return c1->Top() < c2->Top();
    case alBottom:
        return c1->Top() + c1->TControl::Height() >= c2->Top() + c2->TControl::Height();
    case alLeft:
        return c1->Left() < c2->Left();
    case alRight:
        return c1->Left() + c1->TControl::Width() >= c2->Left() + c2->TControl::Width();
    default:
        return false;
    }
}

} // namespace

void GuardEvent(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        if (Application)
            Application->HandleException(e);
    }
}

TControl::TControl(TComponent* owner) : QWidget(nullptr), TComponent(this, owner), color_(clBtnFace) {
    setMouseTracking(true);
    font_.OnChange = [this] {
        setFont(font_.ToQFont());
        FontChanged();
    };
}

TControl::~TControl() {
    DestroyComponents();
    // The children go with the QWidget; they must not call back into this half-gone parent.
    for (TControl* child : controls_)
        child->parent_ = nullptr;
    controls_.clear();
    if (parent_) {
        auto& list = parent_->controls_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        if (align_ != alNone && !parent_->Destroying())
            parent_->Realign();
    }
}

TForm* TControl::ParentForm() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (auto* form = dynamic_cast<const TForm*>(c))
            return const_cast<TForm*>(form);
    return nullptr;
}

void TControl::SetParent(TControl* parent) {
    if (parent == parent_)
        return;
    TControl* old = parent_;
    if (old) {
        auto& list = old->controls_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    parent_ = parent;
    if (parent) {
        parent->controls_.push_back(this);
        QWidget::setParent(parent);
        if (visible_)
            QWidget::setVisible(true);
    } else {
        QWidget::setParent(nullptr);
    }
    if (old && align_ != alNone)
        old->Realign();
    if (parent && align_ != alNone)
        RequestAlign();
}

int TControl::Left() const {
    return isWindow() ? frameGeometry().x() : x();
}
int TControl::Top() const {
    return isWindow() ? frameGeometry().y() : y();
}
int TControl::Width() const {
    return isWindow() ? frameGeometry().width() : width();
}
int TControl::Height() const {
    return isWindow() ? frameGeometry().height() : height();
}

void TControl::SetLeft(int value) {
    SetBounds(value, Top(), TControl::Width(), TControl::Height());
}
void TControl::SetTop(int value) {
    SetBounds(Left(), value, TControl::Width(), TControl::Height());
}
void TControl::SetWidth(int value) {
    SetBounds(Left(), Top(), value, TControl::Height());
}
void TControl::SetHeight(int value) {
    SetBounds(Left(), Top(), TControl::Width(), value);
}

void TControl::SetClientWidth(int value) {
    SetBounds(Left(), Top(), TControl::Width() - ClientWidth() + value, TControl::Height());
}

void TControl::SetClientHeight(int value) {
    SetBounds(Left(), Top(), TControl::Width(), TControl::Height() - ClientHeight() + value);
}

bool TControl::CanResize(int&, int&) {
    return true;
}

bool TControl::CheckNewSize(int& newWidth, int& newHeight) {
    int w = newWidth, h = newHeight;
    if (!CanResize(w, h))
        return false;
    const TSizeConstraints& c = constraints_;
    if (c.MaxWidth > 0 && w > c.MaxWidth)
        w = c.MaxWidth;
    if (c.MinWidth > 0 && w < c.MinWidth)
        w = c.MinWidth;
    if (c.MaxHeight > 0 && h > c.MaxHeight)
        h = c.MaxHeight;
    if (c.MinHeight > 0 && h < c.MinHeight)
        h = c.MinHeight;
    newWidth = w;
    newHeight = h;
    return true;
}

void TControl::SetConstraints(const TSizeConstraints& c) {
    constraints_ = c;
    if (isWindow())
        setMinimumSize(std::max(0, c.MinWidth), std::max(0, c.MinHeight));
    int w = TControl::Width(), h = TControl::Height();
    if (CheckNewSize(w, h))
        SetBounds(Left(), Top(), w, h);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    const int oldWidth = TControl::Width(), oldHeight = TControl::Height();
    bool sized = width != oldWidth || height != oldHeight;
    if (sized && !CheckNewSize(width, height)) {
        // Vetoed: the position may still change, the size stays.
        width = oldWidth;
        height = oldHeight;
    }
    sized = width != oldWidth || height != oldHeight;
    const bool moved = left != Left() || top != Top();
    if (!sized && !moved)
        return;
    applyGeometry(left, top, std::max(0, width), std::max(0, height));
    if (size() != reportedSize_) {
        reportedSize_ = size();
        Resize();
    }
    if (align_ != alNone)
        RequestAlign();
}

void TControl::applyGeometry(int left, int top, int width, int height) {
    if (isWindow()) {
        const QRect frame = frameGeometry();
        const int dw = frame.width() - this->width(), dh = frame.height() - this->height();
        move(left, top);
        resize(std::max(0, width - dw), std::max(0, height - dh));
    } else {
        setGeometry(left, top, width, height);
    }
}

TPoint TControl::ClientToScreen(TPoint p) const {
    QPoint q = mapToGlobal(QPoint(p.X, p.Y));
    return Point(q.x(), q.y());
}

TPoint TControl::ScreenToClient(TPoint p) const {
    QPoint q = mapFromGlobal(QPoint(p.X, p.Y));
    return Point(q.x(), q.y());
}

void TControl::SetAlign(TAlign value) {
    if (value == align_)
        return;
    const TAlign old = align_;
    align_ = value;
    if (parent_) {
        if (value != alNone)
            RequestAlign();
        else if (old != alNone)
            parent_->Realign();
    }
}

void TControl::Realign() {
    if (alignDisabled_ > 0) {
        alignPending_ = true;
        return;
    }
    ++alignDisabled_;
    TRect rect = ClientRect();
    rect = Bounds(clientInset_, clientInset_, rect.Width(), rect.Height());
    AlignControls(nullptr, rect);
    // Requests made by the children while they were being placed are settled by this pass.
    alignPending_ = false;
    --alignDisabled_;
}

void TControl::EnableAlign() {
    if (alignDisabled_ > 0 && --alignDisabled_ == 0 && alignPending_) {
        alignPending_ = false;
        Realign();
    }
}

void TControl::RequestAlign() {
    if (!parent_ || parent_->Destroying())
        return;
    TControl* p = parent_;
    if (p->alignDisabled_ > 0) {
        p->alignPending_ = true;
        return;
    }
    ++p->alignDisabled_;
    TRect rect = p->ClientRect();
    rect = Bounds(p->clientInset_, p->clientInset_, rect.Width(), rect.Height());
    p->AlignControls(this, rect);
    p->alignPending_ = false;
    --p->alignDisabled_;
}

void TControl::AdjustClientRect(TRect&) {}

void TControl::SetClientInset(int inset) {
    if (inset == clientInset_)
        return;
    clientInset_ = inset;
    Realign();
}

void TControl::AlignControls(TControl* aControl, TRect& rect) {
    AdjustClientRect(rect);
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient})
        doAlign(a, aControl, rect);
}

void TControl::doAlign(TAlign align, TControl* aControl, TRect& rect) {
    std::vector<TControl*> list;
    if (aControl && aControl->align_ == align && aControl->visible_ && aControl->parent_ == this)
        list.push_back(aControl);
    for (TControl* c : controls_) {
        if (c == aControl || c->align_ != align || !c->visible_)
            continue;
        std::size_t j = 0;
        while (j < list.size() && !insertBefore(c, list[j], align))
            ++j;
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(j), c);
    }
    for (TControl* c : list) {
        int left = rect.Left, top = rect.Top;
        int width = rect.Right - rect.Left, height = rect.Bottom - rect.Top;
        switch (align) {
        case alTop:
            height = c->TControl::Height();
            rect.Top += height;
            break;
        case alBottom:
            height = c->TControl::Height();
            rect.Bottom -= height;
            top = rect.Bottom;
            break;
        case alLeft:
            width = c->TControl::Width();
            rect.Left += width;
            break;
        case alRight:
            width = c->TControl::Width();
            rect.Right -= width;
            left = rect.Right;
            break;
        default:
            break;
        }
        c->SetBounds(left, top, width, height);
        // A child that kept another size (veto, constraints) takes what it really has.
        const int dw = width - c->TControl::Width(), dh = height - c->TControl::Height();
        switch (align) {
        case alTop:
            rect.Top -= dh;
            break;
        case alBottom:
            rect.Bottom += dh;
            break;
        case alLeft:
            rect.Left -= dw;
            break;
        case alRight:
            rect.Right += dw;
            break;
        default:
            break;
        }
    }
}

void TControl::Resize() {
    Realign();
    CallEvent(OnResize, this);
}

void TControl::SetVisible(bool value) {
    if (value == visible_ && isHidden() != value)
        return;
    visible_ = value;
    // A control without a parent is not shown: it would become a window of its own.
    if (parentWidget() || dynamic_cast<TForm*>(this))
        QWidget::setVisible(value);
    if (parent_ && align_ != alNone) {
        if (value)
            RequestAlign();
        else
            parent_->Realign();
    }
}

void TControl::SetCaption(const QString& value) {
    if (value == caption_)
        return;
    caption_ = value;
    CaptionChanged();
}

// A tooltip lays out all its text at once and no screen shows more than a few hundred
// characters of one line, so a longer hint is shown cut, with an ellipsis.
static QString shownHint(const QString& hint) {
    constexpr qsizetype kMostShown = 512;
    if (hint.size() <= kMostShown)
        return hint;
    qsizetype cut = kMostShown;
    if (hint.at(cut - 1).isHighSurrogate())
        --cut;
    return hint.left(cut) + QChar(0x2026);
}

void TControl::SetHint(const QString& value) {
    hint_ = value;
    setToolTip(showHint_ ? shownHint(hint_) : QString());
    // A hint already on the screen follows the new text, as the pointer still rests here.
    if (showHint_ && QToolTip::isVisible() && underMouse())
        QToolTip::showText(QCursor::pos(), shownHint(hint_), this);
}

void TControl::SetShowHint(bool value) {
    showHint_ = value;
    setToolTip(showHint_ ? shownHint(hint_) : QString());
}

void TControl::SetColor(TColor value) {
    if (value == color_)
        return;
    color_ = value;
    Invalidate();
}

void TControl::SetCursor(TCursor value) {
    cursor_ = value;
    if (value == crDefault)
        unsetCursor();
    else
        setCursor(cursorShape(value));
}

TCanvas* TControl::Canvas() const {
    if (canvas_)
        return canvas_;
    if (!measure_)
        measure_ = std::make_unique<TBitmap>(1, 1);
    TCanvas& c = measure_->Canvas();
    c.Font() = font_;
    return &c;
}

void TControl::Click() {
    CallEvent(OnClick, this);
}
void TControl::DblClick() {
    CallEvent(OnDblClick, this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    CallEvent(OnMouseDown, this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    CallEvent(OnMouseMove, this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    CallEvent(OnMouseUp, this, button, shift, x, y);
}

void TControl::MouseEnter() {
    CallEvent(OnMouseEnter, this);
}
void TControl::MouseLeave() {
    CallEvent(OnMouseLeave, this);
}
void TControl::KeyDown(int& key, TShiftState shift) {
    CallEvent(OnKeyDown, this, key, shift);
}
void TControl::KeyPress(char16_t& key) {
    CallEvent(OnKeyPress, this, key);
}

void TControl::Paint() {
    if (color_ == clNone)
        return;
    canvas_->Brush().SetColor(color_);
    canvas_->FillRect(ClientRect());
}

TShiftState TControl::ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    TShiftState s = 0;
    if (modifiers & Qt::ShiftModifier)
        s |= ssShift;
    if (modifiers & Qt::AltModifier)
        s |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        s |= ssCtrl;
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

void TControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    TCanvas canvas(&painter);
    canvas.Font() = font_;
    canvas.Brush().SetColor(color_ == clNone ? clBtnFace : color_);
    canvas_ = &canvas;
    GuardEvent([this] { Paint(); });
    canvas_ = nullptr;
}

void TControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Sizes set through SetBounds were reported there; this is a resize from outside (the user
    // or the window system).
    if (size() != reportedSize_) {
        reportedSize_ = size();
        GuardEvent([this] { Resize(); });
    }
}

void TControl::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        clickPending_ = true;
    GuardEvent([&] {
        MouseDown(buttonFromQt(event->button()), ShiftFromQt(event->modifiers(), event->buttons()), p.x(),
                  p.y());
    });
}

void TControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    GuardEvent([&] { MouseMove(ShiftFromQt(event->modifiers(), event->buttons()), p.x(), p.y()); });
}

void TControl::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    // A handler may free the control (a slide runs the waiting events, and one may close it).
    QPointer<TControl> alive(this);
    GuardEvent([&] {
        MouseUp(buttonFromQt(event->button()), ShiftFromQt(event->modifiers(), event->buttons()), p.x(),
                p.y());
        if (!alive)
            return;
        if (event->button() == Qt::LeftButton && clickPending_) {
            clickPending_ = false;
            if (rect().contains(p))
                Click();
        }
    });
}

void TControl::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    clickPending_ = false;
    GuardEvent([&] {
        if (event->button() == Qt::LeftButton)
            DblClick();
        MouseDown(buttonFromQt(event->button()), ShiftFromQt(event->modifiers(), event->buttons()) | ssDouble,
                  p.x(), p.y());
    });
}

void TControl::enterEvent(QEnterEvent*) {
    GuardEvent([this] { MouseEnter(); });
}

void TControl::leaveEvent(QEvent*) {
    GuardEvent([this] { MouseLeave(); });
}

void TControl::keyPressEvent(QKeyEvent* event) {
    bool handled = false;
    GuardEvent([&] {
        int key = event->key();
        KeyDown(key, ShiftFromQt(event->modifiers(), Qt::NoButton));
        if (key == 0) {
            handled = true;
            return;
        }
        const QString text = event->text();
        if (!text.isEmpty()) {
            char16_t ch = text.at(0).unicode();
            KeyPress(ch);
            handled = true;
        }
    });
    if (!handled)
        QWidget::keyPressEvent(event);
}
