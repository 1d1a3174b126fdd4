#include "skin/TsuiTitleBarItems.h"

#include "skin/TsuiTitleBar.h"

void InvalidateTitleBar(TsuiTitleBar* bar) {
    if (bar)
        bar->Invalidate();
}
