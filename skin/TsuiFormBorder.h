#pragma once
// The window border band of a skinned frame, drawn on the whole window, and the window's shape.
//
//   TsuiBorderLook look;                 // what the frame and its title bar show now
//   look.Width = 709; look.Height = 549; // the window's outer size
//   PaintWindowBorderOn(canvas, look);   // canvas over the whole window, origin at its corner
//   host->setMask(WindowRegionFor(709, 549, look.RoundCorner));
//
// The band is 3 pixels wide. Its outer BorderWidth pixels on the left, right and bottom are in
// BorderColor, the rest in Color (in MenuBarColor beside the menu bar). The top band, and the
// band beside the title bar, continue the title bar's three pictures at the same window x, so the
// caption strip seems to run to the window's edge; with a hidden title bar the top is a border
// line over two rows of Color.
#include "framework/TColor.h"

#include <QRegion>

class TBitmap;
class TCanvas;

struct TsuiBorderLook {
    int Width = 0;
    int Height = 0;
    TColor BorderColor = 0x000000;
    int BorderWidth = 1;
    TColor Color = 0xE8E8E8;
    bool TitleBarVisible = true;
    int TitleBarHeight = 0;
    // The title bar's left, right and middle pictures; used only when all three are there.
    bool HasAllPictures = false;
    const TBitmap* LeftPicture = nullptr;
    const TBitmap* RightPicture = nullptr;
    const TBitmap* ClientPicture = nullptr;
    bool MenuBarVisible = false;
    int MenuBarHeight = 0;
    TColor MenuBarColor = 0xE8E8E8;
    int RoundCorner = 0;
};

// The width of the band the frame keeps on every side of the window.
constexpr int kFrameBandWidth = 3;

void PaintWindowBorderOn(TCanvas& canvas, const TsuiBorderLook& look);

// The window rectangle with its two top corners cut by an ellipse roundCorner wide and high; the
// bottom corners stay square. 0 (or less) gives the plain rectangle.
QRegion WindowRegionFor(int width, int height, int roundCorner);
