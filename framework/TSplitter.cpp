#include "framework/TSplitter.h"

#include "framework/TCanvas.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

namespace {

// The hatched line shown while dragging.
class HatchLine : public QWidget {
public:
    explicit HatchLine(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QBrush(Qt::black, Qt::Dense4Pattern));
    }
};

} // namespace

TSplitter::TSplitter(TComponent* owner) : TControl(owner) {
    SetAlign(alLeft);
    SetBounds(0, 0, 3, 100);
    SetCursor(crHSplit);
}

TSplitter::~TSplitter() {
    if (control_)
        qApp->removeEventFilter(this);
}

TControl* TSplitter::findControl() const {
    TControl* parent = Parent();
    if (!parent)
        return nullptr;
    TPoint p = Point(Left(), Top());
    switch (Align()) {
    case alLeft:
        p.X -= 1;
        break;
    case alRight:
        p.X += TControl::Width();
        break;
    case alTop:
        p.Y -= 1;
        break;
    case alBottom:
        p.Y += TControl::Height();
        break;
    default:
        return nullptr;
    }
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->Visible() || !c->Enabled())
            continue;
        const TRect r = c->BoundsRect();
        if (r.Width() == 0 && (Align() == alLeft || Align() == alRight))
            continue;
        if (p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom)
            return c;
    }
    return nullptr;
}

void TSplitter::calcSplitSize(int x, int y, int& newSize, int& split) const {
    const bool horizontal = Align() == alLeft || Align() == alRight;
    split = horizontal ? x - downPos_.X : y - downPos_.Y;
    int s = 0;
    switch (Align()) {
    case alLeft:
        s = control_->TControl::Width() + split;
        break;
    case alRight:
        s = control_->TControl::Width() - split;
        break;
    case alTop:
        s = control_->TControl::Height() + split;
        break;
    case alBottom:
        s = control_->TControl::Height() - split;
        break;
    default:
        break;
    }
    newSize = s;
    if (s < minSize_)
        newSize = minSize_;
    else if (s > maxSize_)
        newSize = maxSize_;
    if (s != newSize) {
        // The line stops where the size stops.
        if (Align() == alRight || Align() == alBottom)
            s = s - newSize;
        else
            s = newSize - s;
        split += s;
    }
}

bool TSplitter::doCanResize(int& newSize) {
    bool accept = true;
    CallEvent(OnCanResize, this, newSize, accept);
    if (accept && newSize <= minSize_ && autoSnap_)
        newSize = 0;
    return accept;
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || control_)
        return;
    control_ = findControl();
    if (!control_)
        return;
    downPos_ = Point(x, y);
    TControl* parent = Parent();
    const bool horizontal = Align() == alLeft || Align() == alRight;
    maxSize_ = (horizontal ? parent->ClientWidth() : parent->ClientHeight()) - minSize_;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!c->Visible())
            continue;
        if (horizontal && (c->Align() == alLeft || c->Align() == alRight))
            maxSize_ -= c->TControl::Width();
        if (!horizontal && (c->Align() == alTop || c->Align() == alBottom))
            maxSize_ -= c->TControl::Height();
    }
    maxSize_ += horizontal ? control_->TControl::Width() : control_->TControl::Height();
    calcSplitSize(x, y, newSize_, split_);
    line_ = new HatchLine(parent);
    placeLine();
    line_->show();
    line_->raise();
    qApp->installEventFilter(this);
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    TControl::MouseMove(shift, x, y);
    if (!control_ || !(shift & ssLeft))
        return;
    int newSize = 0, split = 0;
    calcSplitSize(x, y, newSize, split);
    if (doCanResize(newSize)) {
        newSize_ = newSize;
        split_ = split;
        placeLine();
    }
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TControl::MouseUp(button, shift, x, y);
    if (!control_ || button != mbLeft)
        return;
    updateControlSize();
    stopSizing();
}

void TSplitter::placeLine() {
    if (!line_)
        return;
    if (Align() == alLeft || Align() == alRight)
        line_->setGeometry(Left() + split_, Top(), TControl::Width(), TControl::Height());
    else
        line_->setGeometry(Left(), Top() + split_, TControl::Width(), TControl::Height());
}

void TSplitter::stopSizing() {
    delete line_;
    line_ = nullptr;
    control_ = nullptr;
    qApp->removeEventFilter(this);
}

void TSplitter::updateControlSize() {
    if (newSize_ == oldSize_)
        return;
    TControl* c = control_;
    switch (Align()) {
    case alLeft:
        c->TControl::SetWidth(newSize_);
        break;
    case alTop:
        c->TControl::SetHeight(newSize_);
        break;
    case alRight:
        Parent()->DisableAlign();
        c->SetBounds(c->Left() + (c->TControl::Width() - newSize_), c->Top(), newSize_,
                     c->TControl::Height());
        Parent()->EnableAlign();
        break;
    case alBottom:
        Parent()->DisableAlign();
        c->SetBounds(c->Left(), c->Top() + (c->TControl::Height() - newSize_), c->TControl::Width(),
                     newSize_);
        Parent()->EnableAlign();
        break;
    default:
        break;
    }
    CallEvent(OnMoved, this);
    oldSize_ = newSize_;
}

void TSplitter::Paint() {
    Canvas()->Brush().SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

bool TSplitter::eventFilter(QObject* watched, QEvent* event) {
    if (control_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        stopSizing();
        return true;
    }
    return TControl::eventFilter(watched, event);
}
