#include "skin/SuiDrawing.h"

#include "framework/TApplication.h"
#include "framework/TBitmap.h"
#include "framework/TForm.h"
#include "framework/TPlatform.h"
#include "skin/SuiStyleTable.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

bool PointInRectClosed(const TPoint& p, const TRect& r) {
    return r.Left <= p.X && p.X <= r.Right && r.Top <= p.Y && p.Y <= r.Bottom;
}

void CutBitmapFrame(const TBitmap& source, TBitmap& target, int frameCount, int frameNumber) {
    if (frameCount <= 0)
        return;
    const int w = source.Width() / frameCount;
    const int h = source.Height();
    // Through a temporary, so that source and target may be the same bitmap.
    TBitmap frame(w, h);
    frame.Canvas().CopyRect(Rect(0, 0, w, h), const_cast<TBitmap&>(source).Canvas(),
                            Rect(w * (frameNumber - 1), 0, w * frameNumber, h));
    target.SetHeight(h);
    target.SetWidth(w);
    target.Canvas().Draw(0, 0, frame);
}

void TurnBitmapClockwise(TBitmap& bitmap) {
    const int w = bitmap.Width(), h = bitmap.Height();
    if (bitmap.Empty()) {
        bitmap.SetSize(h, w);
        return;
    }
    const QImage& src = bitmap.Image();
    QImage turned(h, w, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            turned.setPixel(h - 1 - y, x, src.pixel(x, y));
    bitmap.SetImage(turned); // keeps the transparency settings
}

TRect DesktopWorkArea() {
    TForm* main = Application ? Application->MainForm() : nullptr;
    QScreen* primary = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    QScreen* screen = main ? main->screen() : nullptr;
    if (screen && primary && screen != primary) {
        const QRect a = screen->availableGeometry();
        return Bounds(a.x(), a.y(), a.width(), a.height());
    }
    return Platform().WorkArea();
}

void PlaceFormInRect(TForm* form, const TRect& r) {
    if (!form)
        return;
    form->SetLeft(r.Left);
    form->SetTop(r.Top);
    form->SetWidth(r.Right - r.Left);
    form->SetHeight(r.Bottom - r.Top);
}

bool IsFormActiveWindow(TForm* form) {
    TForm* main = Application ? Application->MainForm() : nullptr;
    if (!main)
        return form && form->Active();
    // There are no MDI windows here, so the MDI rules never apply.
    if (!Application->Active())
        return false;
    if (!form || form == main)
        return true;
    return form->Active();
}

void FrameRectInColor(TCanvas& canvas, const TRect& r, TColor color) {
    canvas.Brush().SetColor(color);
    canvas.FrameRect(r);
}

void FillRectInColor(TCanvas& canvas, const TRect& r, TColor color) {
    canvas.Brush().SetColor(color);
    canvas.FillRect(r);
}

void DrawMenuSeparatorLine(TCanvas& canvas, const TRect& r, TColor color, int indent) {
    canvas.Pen().SetColor(color);
    canvas.MoveTo(r.Left + indent + 4, r.Top + 2);
    canvas.LineTo(r.Right - 2, r.Top + 2);
}

static void stretchMacStrip(TCanvas& canvas, const TRect& r, const char* resource, int rows) {
    TBitmap strip;
    LoadSkinBitmap(strip, resource);
    strip.SetHeight(rows); // cutting the height keeps the top rows
    canvas.StretchDraw(r, strip);
}

void StretchMacMenuStripShort(TCanvas& canvas, const TRect& r) {
    stretchMacStrip(canvas, r, "MACOS_MENU_BAR", 12);
}

void StretchMacMenuStripSelected(TCanvas& canvas, const TRect& r) {
    stretchMacStrip(canvas, r, "MACOS_MENU_SELECT", 20);
}

void StretchMacMenuStripFull(TCanvas& canvas, const TRect& r) {
    stretchMacStrip(canvas, r, "MACOS_MENU_BAR", 20);
}

void DrawScreenFrameAroundWindow(TCanvas& canvas, int width, int height, TColor frameColor,
                                 TColor lineColor) {
    const TRect w = Rect(0, 0, width, height);
    FrameRectInColor(canvas, Rect(w.Left, w.Top + 1, w.Right - 1, w.Bottom - 1), frameColor);
    FrameRectInColor(canvas, Rect(w.Left + 1, w.Top + 2, w.Right - 2, w.Bottom - 2), clWhite);
    canvas.Pen().SetColor(lineColor);
    canvas.MoveTo(w.Left, w.Bottom - 1);
    canvas.LineTo(w.Right - 1, w.Bottom - 1);
    canvas.LineTo(w.Right - 1, w.Top);
    canvas.LineTo(w.Right, w.Top);
    canvas.LineTo(w.Left, w.Top);
}

void AssignSystemMenuFont(TFont& font) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    const QFont menuFont = QApplication::font("QMenu");
    int pixels = menuFont.pixelSize();
    if (pixels <= 0)
        pixels = int(menuFont.pointSizeF() * 96.0 / 72.0 + 0.5);
    font.SetName(menuFont.family());
    font.SetHeight(pixels);
    font.SetColor(clMenuText);
}

void HookMenuItemDrawing(TMenuItem* item, const TMenuDrawItemEvent& draw,
                         const TMenuMeasureItemEvent& measure) {
    if (!item)
        return;
    item->OnDrawItem = draw;
    item->OnMeasureItem = measure;
    for (int i = 0; i < item->Count(); ++i)
        HookMenuItemDrawing(item->Items(i), draw, measure);
}
