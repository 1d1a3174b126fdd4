#pragma once
// TCanvas: classic drawing on a TBitmap (its Canvas()) or through a QPainter that a widget's
// paintEvent has begun. Antialiasing is off; every operation keeps the classic pixel rules:
//
//   - rectangles exclude their right and bottom edges: FillRect(Rect(0, 0, 4, 3)) fills 4 x 3;
//   - MoveTo(0, 0); LineTo(5, 0) draws x 0..4: the end point is not drawn, the pen moves there;
//   - FrameRect draws a one-pixel frame just inside the rectangle, in the BRUSH colour;
//   - Rectangle draws the pen outline inside the rectangle and fills the inside with the brush
//     (a clear brush fills nothing, a clear pen draws no outline);
//   - Draw/StretchDraw of a Transparent bitmap leave out its transparent colour (by default the
//     colour of its bottom-left pixel); StretchDraw scales by repeating pixels, never blending;
//   - TextOut(x, y) puts the top of the text cell at y; text is drawn in Font().Color() over the
//     brush colour, or over nothing when the brush is clear;
//   - DrawText takes the classic flags of TGraphics.h: DT_SINGLELINE with DT_VCENTER/DT_BOTTOM,
//     DT_LEFT/DT_CENTER/DT_RIGHT, DT_NOCLIP, DT_CALCRECT, DT_WORDBREAK, and "&x" underlines x
//     ("&&" shows one "&") unless DT_NOPREFIX is given;
//   - text is drawn without antialiasing, except Chinese text at sizes other than 12 and 16
//     pixels, where the CJK face has no hand-tuned bitmaps and would lose strokes;
//   - DrawFocusRect inverts every other pixel along the rectangle's inside edge (twice = undone).
//
//   TBitmap bmp(100, 20);
//   TCanvas& c = bmp.Canvas();
//   c.Brush().SetColor(clNavy);
//   c.FillRect(Rect(0, 0, 100, 20));
//   c.Font().SetColor(clWhite);
//   c.Brush().SetStyle(TBrushStyle::bsClear);
//   TRect r = Rect(0, 0, 100, 20);
//   c.DrawText("&File", r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
//
//   void MyWidget::paintEvent(QPaintEvent*) {   // copy the off-screen bitmap in one block
//       QPainter p(this);
//       TCanvas(&p).Draw(0, 0, bitmap_);
//   }
#include "framework/TFont.h"
#include "framework/TGraphics.h"
#include "framework/core/TRect.h"

#include <QString>
#include <vector>

class QImage;
class QPainter;
class TBitmap;

class TCanvas {
public:
    // A canvas with nothing to draw on: every drawing call does nothing.
    TCanvas() = default;
    // Draws through a painter that is already active (not owned; must outlive the canvas).
    explicit TCanvas(QPainter* painter) : painter_(painter) {}
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TFont& Font() { return font_; }
    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    TPoint PenPos() const { return penPos_; }
    void SetPenPos(TPoint p) { penPos_ = p; }

    void MoveTo(int x, int y) { penPos_ = Point(x, y); }
    void LineTo(int x, int y);
    void Polyline(const std::vector<TPoint>& points);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void DrawFocusRect(const TRect& r);
    // Counter-clockwise arc of the ellipse bounded by (x1, y1)-(x2, y2), from the ray towards
    // (x3, y3) to the ray towards (x4, y4), in the pen colour.
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);

    // Pixels exist only on a bitmap canvas; outside the bitmap (or without one) reading gives
    // -1 and writing does nothing.
    TColor Pixels(int x, int y) const;
    void SetPixels(int x, int y, TColor color);

    void Draw(int x, int y, const TBitmap& bitmap);
    void StretchDraw(const TRect& dest, const TBitmap& bitmap);
    // Copies source (on the bitmap canvas src, which may be this one) into dest, stretching when
    // the sizes differ.
    void CopyRect(const TRect& dest, const TCanvas& src, const TRect& source);

    void TextOut(int x, int y, const QString& text);
    // TextOut clipped to r.
    void TextRect(const TRect& r, int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    // Returns the height of the drawn text; with DT_CALCRECT draws nothing and sets r's Right and
    // Bottom to the text's extent instead.
    int DrawText(const QString& text, TRect& r, unsigned flags);

    // The bitmap this canvas draws on, or nullptr.
    const QImage* Image() const;
    // Device pixels per pixel of what the canvas draws on (a scratch bitmap made to the same
    // ratio keeps its text as sharp).
    qreal PixelRatio() const;
    // The painter this canvas draws through (a widget's paint), or nullptr.
    QPainter* Painter() const { return painter_; }

private:
    friend class TBitmap;
    explicit TCanvas(TBitmap* owner) : bitmap_(owner) {}

    template <typename F> void paint(F&& f);
    void drawImage(int x, int y, const QImage& image);
    void fill(const TRect& r, TColor color);
    void drawTextLine(QPainter& p, int x, int y, const QString& shown, int underlineAt);

    TBitmap* bitmap_ = nullptr;
    QPainter* painter_ = nullptr;
    TFont font_;
    TPen pen_;
    TBrush brush_;
    TPoint penPos_;
};
