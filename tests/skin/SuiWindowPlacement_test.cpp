// A window off every screen comes back onto the primary work area; one within reach stays.
#include "skin/SuiWindowPlacement.h"

#include <gtest/gtest.h>

namespace {

const TRect kLeft = Rect(0, 0, 1280, 1000);
const TRect kRight = Rect(1280, 0, 2560, 1000);

TEST(SuiWindowPlacement, WindowWithinReachStays) {
    const TRect w = Bounds(100, 100, 700, 500);
    EXPECT_EQ(BringOntoWorkArea(w, {kLeft}, kLeft), w);
    // Mostly off the right edge, but its top-left strip is still there to grab.
    const TRect edge = Bounds(1280 - kReachableWidth, 300, 700, 500);
    EXPECT_EQ(BringOntoWorkArea(edge, {kLeft}, kLeft), edge);
    // On a second screen.
    const TRect second = Bounds(1500, 50, 700, 500);
    EXPECT_EQ(BringOntoWorkArea(second, {kLeft, kRight}, kLeft), second);
}

TEST(SuiWindowPlacement, WindowOffEveryScreenComesBack) {
    // A screen since removed.
    EXPECT_EQ(BringOntoWorkArea(Bounds(1500, 50, 700, 500), {kLeft}, kLeft), Bounds(580, 50, 700, 500));
    // Above the screen: only the title strip matters, and it is out of reach.
    EXPECT_EQ(BringOntoWorkArea(Bounds(100, -480, 700, 500), {kLeft}, kLeft), Bounds(100, 0, 700, 500));
    EXPECT_EQ(BringOntoWorkArea(Bounds(-5000, 9000, 700, 500), {kLeft}, kLeft), Bounds(0, 500, 700, 500));
    // Larger than the work area: it shrinks to fit.
    EXPECT_EQ(BringOntoWorkArea(Bounds(3000, 0, 2000, 1500), {kLeft}, kLeft), Rect(0, 0, 1280, 1000));
}

} // namespace
