#pragma once
// Where a frameless skinned window stands while maximised and after. Without a window manager
// nobody keeps a maximised window on the work area, so the frame places it there itself, less the
// work area's bottom row (a task bar that hides itself still finds the pointer there), and puts it
// back where it stood on restore. On a platform where a window manager may do it (X11, Wayland)
// the frame waits a moment first: a maximise that leaves the window where it was by then was not
// honoured (no window manager runs), and the frame places the window itself. A window created maximised is
// maximised again on the first size messages of the process (the count is shared by every frame), and placed
// at its created bounds once it is restored.
//
//   TsuiMaximizePlacement placement(host);   // when the frame takes its host
//   placement.SizeChanged();                 // after each resize or window-state change
#include "framework/core/TRect.h"

#include <QTimer>

class TForm;

class TsuiMaximizePlacement {
public:
    explicit TsuiMaximizePlacement(TForm& host);

    void SizeChanged();

private:
    void startupMaximize(bool maximized);
    void placeMaximized();
    void awaitWindowManager();

    TForm& host_;
    TRect createdBounds_;
    bool startedMaximized_ = false;
    int placements_ = 0;
    TRect restoreBounds_;
    TRect maximizedBounds_;
    // The bounds the window had when the maximise was asked, while the frame waits to see
    // whether a window manager places it.
    QTimer managerWait_;
    TRect askedAt_;
    bool placing_ = false;
};
