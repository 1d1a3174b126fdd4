#include "skin/TsuiFormBorder.h"

#include "framework/TBitmap.h"
#include "framework/TCanvas.h"

#include <algorithm>
#include <cmath>

namespace {

void fill(TCanvas& canvas, int left, int top, int right, int bottom, TColor color) {
    if (right <= left || bottom <= top)
        return;
    canvas.Brush().SetColor(color);
    canvas.FillRect(Rect(left, top, right, bottom));
}

// The band beside and above the title bar, from the title bar's own pictures.
void paintTitleBand(TCanvas& canvas, const TsuiBorderLook& look) {
    const TBitmap& left = *look.LeftPicture;
    const TBitmap& right = *look.RightPicture;
    const TBitmap& middle = *look.ClientPicture;
    const int w = look.Width, bw = look.BorderWidth;

    TBitmap scratch(std::max(0, 3 - bw), left.Height());
    if (!scratch.Empty()) {
        scratch.Canvas().Draw(0, 0, left);
        canvas.Draw(bw, 0, scratch);
        if (right.Width() > 2)
            scratch.Canvas().Draw(2 - right.Width(), 0, right);
        else
            scratch.Canvas().StretchDraw(Rect(0, 0, scratch.Width(), scratch.Height()), right);
        canvas.Draw(w - 3, 0, scratch);
    }

    // The top rows: each piece at the window x where the title bar shows it.
    scratch.SetSize(std::max(0, w - 5), 3);
    if (!scratch.Empty()) {
        const int sw = scratch.Width();
        scratch.Canvas().Draw(-2, 0, left);
        scratch.Canvas().Draw(sw - right.Width() + 3, 0, right);
        scratch.Canvas().StretchDraw(Rect(left.Width() - 2, 0, sw - right.Width() + 3, middle.Height()),
                                     middle);
        canvas.Draw(2, 0, scratch);
    }

    // Rounded top corners get their outline in the border colour.
    if (bw == 1 && look.RoundCorner == 11) {
        const int r = look.RoundCorner;
        canvas.Pen().SetColor(look.BorderColor);
        canvas.Arc(w - 2 * r + 1, -1, w + 1, 2 * r - 1, w + 1, r - 1, w - r + 1, -1);
        canvas.Arc(-1, -1, 2 * r - 1, 2 * r - 1, r - 1, -1, -1, r - 1);
    }
}

} // namespace

void PaintWindowBorderOn(TCanvas& canvas, const TsuiBorderLook& look) {
    const int w = look.Width, h = look.Height, bw = look.BorderWidth;
    if (w <= 0 || h <= 0)
        return;
    const int th = look.TitleBarVisible ? look.TitleBarHeight : 0;

    fill(canvas, 0, 0, bw, h, look.BorderColor);
    fill(canvas, 0, h - bw, w, h, look.BorderColor);
    fill(canvas, w - bw, 0, w, h, look.BorderColor);

    if (bw < 4) {
        fill(canvas, bw, th, 3, h - bw, look.Color);
        fill(canvas, bw, h - 3, w - bw, h - bw, look.Color);
        fill(canvas, w - 3, th, w - bw, h - bw, look.Color);
        if (look.MenuBarVisible) {
            const int top = th + 3, bottom = th + 3 + look.MenuBarHeight;
            fill(canvas, bw, top, 3, bottom, look.MenuBarColor);
            fill(canvas, w - 3, top, w - bw, bottom, look.MenuBarColor);
        }
    }

    const bool pictures = look.HasAllPictures && look.LeftPicture && look.RightPicture && look.ClientPicture;
    if (look.TitleBarVisible && pictures && bw < 4) {
        paintTitleBand(canvas, look);
    } else if (!look.TitleBarVisible) {
        fill(canvas, 0, 0, w, 1, look.BorderColor);
        fill(canvas, bw, 1, w - bw, 3, look.Color);
    }
}

QRegion WindowRegionFor(int width, int height, int roundCorner) {
    if (width <= 0 || height <= 0)
        return QRegion();
    QRegion region(0, 0, width, height);
    const int c = std::min({roundCorner, width, height});
    if (c <= 1)
        return region;
    // Row by row, the part of each top row that lies outside the corner ellipse (c wide, c high,
    // touching the window's top and side edges) is cut away.
    const double r = c / 2.0;
    for (int y = 0; y < c / 2; ++y) {
        const double dy = r - (y + 0.5);
        const double half = std::sqrt(std::max(0.0, r * r - dy * dy));
        const int cut = static_cast<int>(std::lround(r - half));
        if (cut <= 0)
            continue;
        region -= QRegion(0, y, cut, 1);
        region -= QRegion(width - cut, y, cut, 1);
    }
    return region;
}
