#include "skin/SuiWindowPlacement.h"

#include <algorithm>

namespace {

bool reachable(const TRect& window, const TRect& area) {
    const TRect top = Rect(window.Left, window.Top, window.Right, window.Top + kReachableHeight);
    const int w = std::min(top.Right, area.Right) - std::max(top.Left, area.Left);
    const int h = std::min(top.Bottom, area.Bottom) - std::max(top.Top, area.Top);
    return w >= kReachableWidth && h >= kReachableHeight;
}

} // namespace

TRect BringOntoWorkArea(const TRect& window, const std::vector<TRect>& workAreas, const TRect& primary) {
    for (const TRect& area : workAreas)
        if (reachable(window, area))
            return window;
    const int w = std::min(window.Width(), primary.Width());
    const int h = std::min(window.Height(), primary.Height());
    const int left = std::clamp(window.Left, primary.Left, primary.Right - w);
    const int top = std::clamp(window.Top, primary.Top, primary.Bottom - h);
    return Bounds(left, top, w, h);
}
