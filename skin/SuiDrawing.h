#pragma once
// Geometry and drawing helpers that every skinned component shares.
//
//   PointInRectClosed(p, r)           Left <= X <= Right and Top <= Y <= Bottom (edges included)
//   CutBitmapFrame(src, dst, N, i)    dst := frame i (1-based) of N equal frames side by side in
//                                     src (width src.Width() div N); src and dst may be one bitmap
//   TurnBitmapClockwise(bmp)          a quarter turn clockwise: W x H becomes H x W
//   DesktopWorkArea()                 work area of the screen that holds the main form
//   PlaceFormInRect(form, r)          Left, Top, Width, Height from r, in that order
//   IsFormActiveWindow(form)          whether the form counts as the active window
//   FrameRectInColor / FillRectInColor / DrawMenuSeparatorLine
//                                     set the brush (pen) colour, which stays set, and draw
//   StretchMacMenuStrip*              the top rows of a MacOS strip stretched over a rectangle
//   DrawScreenFrameAroundWindow       the flat frame of a drop-down window, on its own surface
//   AssignSystemMenuFont(font)        the desktop's menu font and the menu-text colour
//   HookMenuItemDrawing(item, d, m)   owner drawing for an item and all its descendants
#include "framework/TColor.h"
#include "framework/TMenu.h"
#include "framework/core/TRect.h"

class TBitmap;
class TCanvas;
class TFont;
class TForm;

bool PointInRectClosed(const TPoint& p, const TRect& r);
void CutBitmapFrame(const TBitmap& source, TBitmap& target, int frameCount, int frameNumber);
void TurnBitmapClockwise(TBitmap& bitmap);

// The work area (screen less panels and task bars) of the screen that holds the application's
// main form; the primary screen's (Platform().WorkArea()) when there is no main form or it is on
// the primary screen.
TRect DesktopWorkArea();
inline void DesktopWorkArea(TRect& out) {
    out = DesktopWorkArea();
}
void PlaceFormInRect(TForm* form, const TRect& r);
bool IsFormActiveWindow(TForm* form);

void FrameRectInColor(TCanvas& canvas, const TRect& r, TColor color);
void FillRectInColor(TCanvas& canvas, const TRect& r, TColor color);
// A line at y = r.Top + 2 from x = r.Left + indent + 4 to r.Right - 2 (end point not drawn).
void DrawMenuSeparatorLine(TCanvas& canvas, const TRect& r, TColor color, int indent);

// The top 12 rows of MACOS_MENU_BAR, the top 20 of MACOS_MENU_SELECT, the top 20 of
// MACOS_MENU_BAR, each stretched over the whole rectangle.
void StretchMacMenuStripShort(TCanvas& canvas, const TRect& r);
void StretchMacMenuStripSelected(TCanvas& canvas, const TRect& r);
void StretchMacMenuStripFull(TCanvas& canvas, const TRect& r);

// A drop-down window has no screen of its own to draw on here, so the frame goes onto the
// window's own surface (the canvas of its paint), with W = (0, 0, width, height): a frame in
// frameColor along (0, 1, W-1, H-1), a white frame inside it along (1, 2, W-2, H-2), and lines in
// lineColor from (0, H-1) to (W-1, H-1), to (W-1, 0), to (W, 0), to (0, 0).
void DrawScreenFrameAroundWindow(TCanvas& canvas, int width, int height, TColor frameColor, TColor lineColor);

// Gives the font the desktop's menu font (family and pixel size) and the colour clMenuText;
// leaves it unchanged when there is no application to ask.
void AssignSystemMenuFont(TFont& font);

using TMenuDrawItemEvent = decltype(TMenuItem::OnDrawItem);
using TMenuMeasureItemEvent = decltype(TMenuItem::OnMeasureItem);
void HookMenuItemDrawing(TMenuItem* item, const TMenuDrawItemEvent& draw,
                         const TMenuMeasureItemEvent& measure);
