#include "skin/TsuiWindowSizer.h"

#include "framework/TForm.h"
#include "framework/TPlatform.h"
#include "skin/TsuiFormBorder.h"

#include <QMouseEvent>
#include <QWindow>

#include <algorithm>

Qt::Edges BandEdgesAt(QPoint p, int width, int height, int band, int grip) {
    if (p.x() < 0 || p.y() < 0 || p.x() >= width || p.y() >= height)
        return {};
    const bool left = p.x() < band, right = p.x() >= width - band;
    const bool top = p.y() < band, bottom = p.y() >= height - band;
    if (!left && !right && !top && !bottom)
        return {};
    Qt::Edges edges;
    // Near a corner, either side of it grips both edges.
    if (left || (p.x() < grip && (top || bottom)))
        edges |= Qt::LeftEdge;
    if (right || (p.x() >= width - grip && (top || bottom)))
        edges |= Qt::RightEdge;
    if (top || (p.y() < grip && (left || right)))
        edges |= Qt::TopEdge;
    if (bottom || (p.y() >= height - grip && (left || right)))
        edges |= Qt::BottomEdge;
    return edges;
}

TRect ResizeByTravel(const TRect& start, Qt::Edges edges, int dx, int dy, int minWidth, int minHeight) {
    TRect r = start;
    if (edges & Qt::LeftEdge)
        r.Left = std::min(start.Left + dx, start.Right - minWidth);
    if (edges & Qt::RightEdge)
        r.Right = std::max(start.Right + dx, start.Left + minWidth);
    if (edges & Qt::TopEdge)
        r.Top = std::min(start.Top + dy, start.Bottom - minHeight);
    if (edges & Qt::BottomEdge)
        r.Bottom = std::max(start.Bottom + dy, start.Top + minHeight);
    return r;
}

namespace {

Qt::CursorShape cursorFor(Qt::Edges e) {
    const bool l = e & Qt::LeftEdge, r = e & Qt::RightEdge, t = e & Qt::TopEdge, b = e & Qt::BottomEdge;
    if ((l && t) || (r && b))
        return Qt::SizeFDiagCursor;
    if ((r && t) || (l && b))
        return Qt::SizeBDiagCursor;
    if (l || r)
        return Qt::SizeHorCursor;
    return Qt::SizeVerCursor;
}

} // namespace

TsuiWindowSizer::TsuiWindowSizer(TForm* host) : QObject(host), host_(host), cursorHost_(host) {}

TsuiWindowSizer::~TsuiWindowSizer() {
    Detach();
}

void TsuiWindowSizer::Attach() {
    if (!host_)
        return;
    QWindow* window = host_->windowHandle();
    if (!window) {
        host_->winId();
        window = host_->windowHandle();
    }
    if (window == window_)
        return;
    Detach();
    window_ = window;
    if (window_)
        window_->installEventFilter(this);
}

void TsuiWindowSizer::Detach() {
    if (window_)
        window_->removeEventFilter(this);
    window_ = nullptr;
    mode_ = Mode::None;
    updateCursor({});
}

bool TsuiWindowSizer::sizable() const {
    return host_ && host_->WindowState() == wsNormal;
}

// Through the host as a QWidget: a sizer deleted with its window gets here from ~QWidget, when
// the object is no TForm any more.
void TsuiWindowSizer::updateCursor(Qt::Edges edges) {
    QWidget* widget = cursorHost_;
    if (!widget)
        return;
    if (edges) {
        widget->setCursor(cursorFor(edges));
        cursorSet_ = true;
    } else if (cursorSet_) {
        widget->unsetCursor();
        cursorSet_ = false;
    }
}

bool TsuiWindowSizer::press(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !sizable())
        return false;
    const QPoint p = event->position().toPoint();
    const Qt::Edges edges = BandEdgesAt(p, host_->width(), host_->height(), kFrameBandWidth, kGrip);
    const bool move = !edges && (event->modifiers() & Qt::AltModifier);
    if (!edges && !move)
        return false;
    const bool system = move ? window_->startSystemMove() : window_->startSystemResize(edges);
    if (!system) {
        // The platform will not do it: follow the pointer ourselves until the release.
        mode_ = move ? Mode::Move : Mode::Resize;
        edges_ = edges;
        pressGlobal_ = event->globalPosition().toPoint();
        startRect_ = host_->BoundsRect();
    }
    return true;
}

void TsuiWindowSizer::follow(QPoint global) {
    const int dx = global.x() - pressGlobal_.x(), dy = global.y() - pressGlobal_.y();
    if (mode_ == Mode::Move) {
        const TRect work = Platform().WorkArea();
        // The top-left corner stays on the work area, so the window stays within reach.
        const int left = std::clamp(startRect_.Left + dx, work.Left, std::max(work.Left, work.Right - 1));
        const int top = std::clamp(startRect_.Top + dy, work.Top, std::max(work.Top, work.Bottom - 1));
        host_->SetBounds(left, top, startRect_.Width(), startRect_.Height());
        return;
    }
    const QSize min = host_->minimumSize();
    const TRect r =
        ResizeByTravel(startRect_, edges_, dx, dy, std::max(min.width(), host_->Constraints().MinWidth),
                       std::max(min.height(), host_->Constraints().MinHeight));
    host_->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

bool TsuiWindowSizer::eventFilter(QObject* watched, QEvent* event) {
    // isNull, not a conversion to TForm*: the window's own close event comes from ~QWidget, when
    // the object is no TForm any more.
    if (watched != window_ || host_.isNull())
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (mode_ != Mode::None) {
            follow(e->globalPosition().toPoint());
            return true;
        }
        // The cursor changes only while no button is held, so a drag elsewhere keeps its own.
        if (e->buttons() == Qt::NoButton)
            updateCursor(sizable() ? BandEdgesAt(e->position().toPoint(), host_->width(), host_->height(),
                                                 kFrameBandWidth, kGrip)
                                   : Qt::Edges());
        return false;
    }
    case QEvent::MouseButtonPress:
        return press(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
        if (mode_ != Mode::None && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            mode_ = Mode::None;
            return true;
        }
        return false;
    case QEvent::Leave:
        if (mode_ == Mode::None)
            updateCursor({});
        return false;
    default:
        return false;
    }
}
