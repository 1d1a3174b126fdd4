#pragma once
// TPointerWindowMove: moves a window by the pointer's travel, for platforms that refuse the
// window system's own move (no window manager, some X servers, the off-screen platform).
//
//   move.Begin(form, pointerOnScreen);     // at the first drag
//   move.Follow(pointerOnScreen);          // on every pointer move while the button is held
//   move.End();                            // at the release
//
// The window keeps its top-left corner on the work area of the primary screen, so that the
// caption can always be reached again.
#include "framework/core/TRect.h"

#include <QPointer>

class TForm;

class TPointerWindowMove {
public:
    void Begin(TForm* form, TPoint screenPoint);
    void Follow(TPoint screenPoint);
    void End();
    bool Active() const;

private:
    QPointer<TForm> form_;
    TPoint start_;
    TPoint origin_;
};
