#pragma once
// Where a frameless skinned window stands while maximised and after. Without a window manager
// nobody keeps a maximised window on the work area, so the frame places it there itself, less the
// work area's bottom row (a task bar that hides itself still finds the pointer there), and puts it
// back where it stood on restore. A window created maximised is maximised again on the first size
// messages of the process (the count is shared by every frame), and placed at its created bounds
// once it is restored.
//
//   TsuiMaximizePlacement placement(host);   // when the frame takes its host
//   placement.SizeChanged();                 // after each resize or window-state change
#include "framework/core/TRect.h"

class TForm;

class TsuiMaximizePlacement {
public:
    explicit TsuiMaximizePlacement(TForm& host);

    void SizeChanged();

private:
    void startupMaximize(bool maximized);
    void placeMaximized();

    TForm& host_;
    TRect createdBounds_;
    bool startedMaximized_ = false;
    int placements_ = 0;
    TRect restoreBounds_;
    TRect maximizedBounds_;
};
