#pragma once
// Where a window may stand: a window that shows too little of its top strip on every work area
// (a stored position from another screen layout, a screen since removed) comes back onto the
// primary work area, as close as possible to where it was and no larger than that area.
//
//   TRect r = BringOntoWorkArea(window, screensWorkAreas, primaryWorkArea);
#include "framework/core/TRect.h"

#include <vector>

// How much of the window's top strip must lie on one work area for the user to reach it.
constexpr int kReachableWidth = 40;
constexpr int kReachableHeight = 20;

TRect BringOntoWorkArea(const TRect& window, const std::vector<TRect>& workAreas, const TRect& primary);
