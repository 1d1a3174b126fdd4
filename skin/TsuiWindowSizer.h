#pragma once
// The sizing border of a frameless skinned window: its outer 3-pixel band does what a platform
// border would. Over the band the pointer shows the resize cursor of the edge or corner under it;
// a left press there hands the window to the window system's interactive resize
// (QWindow::startSystemResize), and where the platform refuses (no window manager, the off-screen
// platform) the window follows the pointer's travel itself until the button comes up, never
// smaller than its minimum size. An Alt+left press anywhere moves the window the same way, so a
// window whose title bar is hidden can still be moved. Nothing of this while the window is
// maximised or minimised.
//
//   auto* sizer = new TsuiWindowSizer(host);   // a child object of the host
//   sizer->Attach();                           // once the host has its window
#include "framework/core/TRect.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

class QMouseEvent;
class QWindow;
class QWidget;
class TForm;

// The edges of the band under point p of a window of the given size; corners take grip pixels
// along each side. No edges inside the band.
Qt::Edges BandEdgesAt(QPoint p, int width, int height, int band, int grip);

// The window rectangle after the pointer moved (dx, dy) while dragging the given edges of start,
// never smaller than minWidth x minHeight (the dragged edge stops, the opposite one stays).
TRect ResizeByTravel(const TRect& start, Qt::Edges edges, int dx, int dy, int minWidth, int minHeight);

class TsuiWindowSizer : public QObject {
    Q_OBJECT
public:
    explicit TsuiWindowSizer(TForm* host);
    ~TsuiWindowSizer() override;

    // Starts watching the host's window (creates it when it has none yet).
    void Attach();
    void Detach();

    static constexpr int kGrip = 12;

    // What a press did: true while the window follows the pointer by itself.
    bool Following() const { return mode_ != Mode::None; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Mode { None, Resize, Move };

    bool sizable() const;
    void updateCursor(Qt::Edges edges);
    bool press(QMouseEvent* event);
    void follow(QPoint global);

    QPointer<TForm> host_;
    QPointer<QWidget> cursorHost_; // the same window, for what runs while it is destroyed
    QPointer<QWindow> window_;
    Mode mode_ = Mode::None;
    Qt::Edges edges_;
    QPoint pressGlobal_;
    TRect startRect_;
    bool cursorSet_ = false;
};
