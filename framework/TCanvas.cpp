#include "framework/TCanvas.h"
#include "framework/TBitmap.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

QRect toQRect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

// The bitmap as it is drawn: transparent bitmaps lose their transparent colour (alpha 0).
QImage drawable(const TBitmap& bitmap) {
    if (!bitmap.Transparent())
        return bitmap.Image();
    QImage image = bitmap.Image().convertToFormat(QImage::Format_ARGB32);
    const TColor key = bitmap.TransparentColor();
    if (key == clNone)
        return image;
    const QRgb keyRgb = ToQColor(key).rgb() & 0xFFFFFF;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == keyRgb)
                line[x] = 0;
    }
    return image;
}

// Nearest-pixel scaling as the classic stretch does it: destination pixel d takes source pixel
// d * source size / destination size, so pixels are repeated or dropped, never blended. w and h
// are in the window's pixels; the result keeps the source's device pixel ratio.
QImage stretched(const QImage& src, int logicalW, int logicalH) {
    const qreal ratio = src.devicePixelRatio();
    const int w = int(std::ceil(logicalW * ratio)), h = int(std::ceil(logicalH * ratio));
    if (src.width() == w && src.height() == h)
        return src;
    const QImage in = src.convertToFormat(QImage::Format_ARGB32);
    QImage out(w, h, QImage::Format_ARGB32);
    out.setDevicePixelRatio(ratio);
    for (int y = 0; y < h; ++y) {
        const auto* sline = reinterpret_cast<const QRgb*>(in.constScanLine(int(qint64(y) * in.height() / h)));
        auto* dline = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x)
            dline[x] = sline[qint64(x) * in.width() / w];
    }
    return out;
}

// The device pixels of the window's pixel (x, y) in an image of any pixel ratio (one for ratio 1).
QRect devicePixels(const QImage& image, int x, int y) {
    const qreal r = image.devicePixelRatio();
    const int left = int(std::floor(x * r)), top = int(std::floor(y * r));
    return QRect(left, top, std::max(1, int(std::floor((x + 1) * r)) - left),
                 std::max(1, int(std::floor((y + 1) * r)) - top));
}

QRect deviceRect(const QImage& image, const TRect& r) {
    const qreal k = image.devicePixelRatio();
    const int left = int(std::floor(r.Left * k)), top = int(std::floor(r.Top * k));
    return QRect(left, top, int(std::ceil(r.Right * k)) - left, int(std::ceil(r.Bottom * k)) - top);
}

// Pixels of a line from a to b without b, in Bresenham order.
std::vector<QPoint> linePixels(QPoint a, QPoint b) {
    std::vector<QPoint> pts;
    int x = a.x(), y = a.y();
    const int dx = std::abs(b.x() - x), dy = -std::abs(b.y() - y);
    const int sx = x < b.x() ? 1 : -1, sy = y < b.y() ? 1 : -1;
    int err = dx + dy;
    while (!(x == b.x() && y == b.y())) {
        pts.emplace_back(x, y);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    return pts;
}

// Splits off "&" mnemonics: returns the text to show and sets underlineAt to the index of the
// character to underline (-1 for none). "&&" shows one "&"; a trailing "&" is dropped.
QString stripPrefix(const QString& text, int& underlineAt) {
    QString shown;
    underlineAt = -1;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 >= text.size())
                break;
            ++i;
            if (text[i] != u'&' && underlineAt < 0)
                underlineAt = int(shown.size());
        }
        shown += text[i];
    }
    return shown;
}

QStringList wrapLine(const QString& line, const QFontMetrics& fm, int width) {
    QStringList out;
    QString current;
    for (const QString& word : line.split(u' ')) {
        const QString candidate = current.isEmpty() ? word : current + u' ' + word;
        if (!current.isEmpty() && fm.horizontalAdvance(candidate) > width) {
            out << current;
            current = word;
        } else {
            current = candidate;
        }
    }
    out << current;
    return out;
}

} // namespace

template <typename F> void TCanvas::paint(F&& f) {
    auto setup = [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::NoBrush);
    };
    if (painter_) {
        painter_->save();
        setup(*painter_);
        f(*painter_);
        painter_->restore();
        return;
    }
    if (!bitmap_ || bitmap_->Image().isNull())
        return;
    QPainter p(&bitmap_->mutableImage());
    setup(p);
    f(p);
}

qreal TCanvas::PixelRatio() const {
    if (painter_ && painter_->device())
        return painter_->device()->devicePixelRatioF();
    return bitmap_ ? bitmap_->PixelRatio() : 1;
}

const QImage* TCanvas::Image() const {
    return bitmap_ && !bitmap_->Empty() ? &bitmap_->Image() : nullptr;
}

void TCanvas::fill(const TRect& r, TColor color) {
    if (r.Width() <= 0 || r.Height() <= 0)
        return;
    paint([&](QPainter& p) { p.fillRect(toQRect(r), ToQColor(color)); });
}

void TCanvas::LineTo(int x, int y) {
    const TPoint from = penPos_;
    penPos_ = Point(x, y);
    if (pen_.Style() == TPenStyle::psClear)
        return;
    const auto pts = linePixels(QPoint(from.X, from.Y), QPoint(x, y));
    const int w = pen_.Width();
    const bool dotted = pen_.Style() == TPenStyle::psDot;
    paint([&](QPainter& p) {
        const QColor c = ToQColor(pen_.Color());
        for (size_t i = 0; i < pts.size(); ++i) {
            if (dotted && (i % 2))
                continue;
            p.fillRect(QRect(pts[i].x() - (w - 1) / 2, pts[i].y() - (w - 1) / 2, w, w), c);
        }
    });
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
    if (points.empty())
        return;
    const TPoint saved = penPos_;
    MoveTo(points[0].X, points[0].Y);
    for (size_t i = 1; i < points.size(); ++i)
        LineTo(points[i].X, points[i].Y);
    penPos_ = saved;
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    const bool brush = brush_.Style() == TBrushStyle::bsSolid;
    if (pen_.Style() == TPenStyle::psClear) {
        // Without a pen the filled area is one pixel smaller, as the classic call does it.
        if (brush)
            fill(Rect(x1, y1, x2 - 1, y2 - 1), brush_.Color());
        return;
    }
    const int w = std::min(pen_.Width(), std::max(1, std::min(x2 - x1, y2 - y1) / 2));
    if (brush)
        fill(Rect(x1 + w, y1 + w, x2 - w, y2 - w), brush_.Color());
    for (int k = 0; k < w; ++k) {
        const TRect r = Rect(x1 + k, y1 + k, x2 - k, y2 - k);
        if (r.Width() <= 0 || r.Height() <= 0)
            break;
        const TColor c = pen_.Color();
        fill(Rect(r.Left, r.Top, r.Right, r.Top + 1), c);
        fill(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), c);
        fill(Rect(r.Left, r.Top, r.Left + 1, r.Bottom), c);
        fill(Rect(r.Right - 1, r.Top, r.Right, r.Bottom), c);
    }
}

void TCanvas::FillRect(const TRect& r) {
    if (brush_.Style() == TBrushStyle::bsSolid)
        fill(r, brush_.Color());
}

void TCanvas::FrameRect(const TRect& r) {
    if (brush_.Style() != TBrushStyle::bsSolid || r.Width() <= 0 || r.Height() <= 0)
        return;
    const TColor c = brush_.Color();
    fill(Rect(r.Left, r.Top, r.Right, r.Top + 1), c);
    fill(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), c);
    fill(Rect(r.Left, r.Top, r.Left + 1, r.Bottom), c);
    fill(Rect(r.Right - 1, r.Top, r.Right, r.Bottom), c);
}

void TCanvas::DrawFocusRect(const TRect& r) {
    if (r.Width() <= 0 || r.Height() <= 0)
        return;
    std::vector<QPoint> pts;
    auto add = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            pts.emplace_back(x, y);
    };
    for (int x = r.Left; x < r.Right; ++x) {
        add(x, r.Top);
        if (r.Bottom - 1 != r.Top)
            add(x, r.Bottom - 1);
    }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        add(r.Left, y);
        if (r.Right - 1 != r.Left)
            add(r.Right - 1, y);
    }
    if (bitmap_) {
        if (bitmap_->Empty())
            return;
        QImage& img = bitmap_->mutableImage();
        // Every device pixel of the pixel, on a bitmap of a higher pixel ratio.
        for (const QPoint& pt : pts) {
            const QRect block = devicePixels(img, pt.x(), pt.y()).intersected(img.rect());
            for (int y = block.top(); y <= block.bottom(); ++y)
                for (int x = block.left(); x <= block.right(); ++x)
                    img.setPixel(x, y, img.pixel(x, y) ^ 0x00FFFFFF);
        }
        return;
    }
    paint([&](QPainter& p) {
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        for (const QPoint& pt : pts)
            p.fillRect(QRect(pt, QSize(1, 1)), QColor(255, 255, 255));
    });
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (pen_.Style() == TPenStyle::psClear)
        return;
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    const double a3 = std::atan2(-(y3 - cy), x3 - cx) * 180.0 / M_PI;
    const double a4 = std::atan2(-(y4 - cy), x4 - cx) * 180.0 / M_PI;
    double span = a4 - a3;
    while (span <= 0)
        span += 360.0;
    paint([&](QPainter& p) {
        QPen pen(ToQColor(pen_.Color()));
        pen.setWidth(pen_.Width());
        p.setPen(pen);
        p.drawArc(QRectF(x1, y1, x2 - x1 - 1, y2 - y1 - 1), int(std::lround(a3 * 16)),
                  int(std::lround(span * 16)));
    });
}

TColor TCanvas::Pixels(int x, int y) const {
    const QImage* img = Image();
    if (!img || x < 0 || y < 0 || x >= bitmap_->Width() || y >= bitmap_->Height())
        return -1;
    const QPoint at = devicePixels(*img, x, y).topLeft();
    return img->rect().contains(at) ? FromQColor(QColor(img->pixel(at))) : -1;
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    if (!bitmap_ || bitmap_->Empty() || x < 0 || y < 0 || x >= bitmap_->Width() || y >= bitmap_->Height())
        return;
    QImage& img = bitmap_->mutableImage();
    const QRect block = devicePixels(img, x, y).intersected(img.rect());
    const QRgb rgb = ToQColor(color).rgb();
    for (int py = block.top(); py <= block.bottom(); ++py)
        for (int px = block.left(); px <= block.right(); ++px)
            img.setPixel(px, py, rgb);
}

void TCanvas::drawImage(int x, int y, const QImage& image) {
    paint([&](QPainter& p) { p.drawImage(x, y, image); });
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    if (bitmap.Empty())
        return;
    drawImage(x, y, drawable(bitmap));
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& bitmap) {
    if (bitmap.Empty() || dest.Width() <= 0 || dest.Height() <= 0)
        return;
    drawImage(dest.Left, dest.Top, stretched(drawable(bitmap), dest.Width(), dest.Height()));
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& src, const TRect& source) {
    const QImage* img = src.Image();
    if (!img || dest.Width() <= 0 || dest.Height() <= 0 || source.Width() <= 0 || source.Height() <= 0)
        return;
    // Copying first lets source and destination be the same bitmap, overlapping or not.
    QImage part = img->copy(deviceRect(*img, source));
    part.setDevicePixelRatio(img->devicePixelRatio());
    const QImage scaled = stretched(part, dest.Width(), dest.Height());
    paint([&](QPainter& p) {
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(dest.Left, dest.Top, scaled.convertToFormat(QImage::Format_RGB32));
    });
}

int TCanvas::TextWidth(const QString& text) const {
    return QFontMetrics(font_.ToQFont()).horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString&) const {
    return QFontMetrics(font_.ToQFont()).height();
}

// Chinese glyphs come from the CJK face, whose crisp hand-tuned bitmaps exist at 12 and 16 pixels
// only; at other sizes its outlines lose strokes without antialiasing, so those are smoothed. On a
// denser screen every glyph is drawn from its outline at the device's size, smoothed.
static bool needsSmoothing(const QString& text, int pixelSize, qreal pixelRatio) {
    if (pixelRatio > 1)
        return true;
    if (pixelSize == 12 || pixelSize == 16)
        return false;
    for (QChar ch : text)
        if (ch.unicode() >= 0x2E80)
            return true;
    return false;
}

void TCanvas::drawTextLine(QPainter& p, int x, int y, const QString& shown, int underlineAt) {
    QFont qfont = font_.ToQFont();
    if (needsSmoothing(shown, qfont.pixelSize(), p.device() ? p.device()->devicePixelRatioF() : 1))
        qfont.setStyleStrategy(QFont::PreferAntialias);
    const QFontMetrics fm(qfont);
    if (brush_.Style() == TBrushStyle::bsSolid)
        p.fillRect(QRect(x, y, fm.horizontalAdvance(shown), fm.height()), ToQColor(brush_.Color()));
    p.setFont(qfont);
    p.setRenderHint(QPainter::TextAntialiasing, qfont.styleStrategy() == QFont::PreferAntialias);
    const QColor color = ToQColor(font_.Color());
    p.setPen(color);
    p.drawText(QPoint(x, y + fm.ascent()), shown);
    if (underlineAt >= 0 && underlineAt < shown.size()) {
        const int x0 = x + fm.horizontalAdvance(shown.left(underlineAt));
        const int x1 = x + fm.horizontalAdvance(shown.left(underlineAt + 1));
        p.fillRect(QRect(x0, y + fm.ascent() + fm.underlinePos(), x1 - x0, std::max(1, fm.lineWidth())),
                   color);
    }
}

void TCanvas::TextOut(int x, int y, const QString& text) {
    paint([&](QPainter& p) { drawTextLine(p, x, y, text, -1); });
    penPos_ = Point(x + TextWidth(text), y);
}

void TCanvas::TextRect(const TRect& r, int x, int y, const QString& text) {
    if (r.Width() <= 0 || r.Height() <= 0)
        return;
    paint([&](QPainter& p) {
        p.setClipRect(toQRect(r));
        drawTextLine(p, x, y, text, -1);
    });
}

int TCanvas::DrawText(const QString& text, TRect& r, unsigned flags) {
    const QFontMetrics fm(font_.ToQFont());
    const int lineHeight = fm.height();
    struct Line {
        QString shown;
        int underlineAt;
    };
    std::vector<Line> lines;
    auto addLine = [&](const QString& raw) {
        Line l;
        l.underlineAt = -1;
        l.shown = (flags & DT_NOPREFIX) ? raw : stripPrefix(raw, l.underlineAt);
        if (flags & DT_EXPANDTABS)
            l.shown.replace(u'\t', QStringLiteral("        "));
        lines.push_back(l);
    };
    if (flags & DT_SINGLELINE) {
        addLine(text);
    } else {
        QString normal = text;
        normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        for (const QString& raw : normal.split(u'\n')) {
            if (flags & DT_WORDBREAK) {
                for (const QString& part : wrapLine(raw, fm, r.Width()))
                    addLine(part);
            } else {
                addLine(raw);
            }
        }
    }
    const int total = lineHeight * int(lines.size());
    if (flags & DT_CALCRECT) {
        int widest = 0;
        for (const Line& l : lines)
            widest = std::max(widest, fm.horizontalAdvance(l.shown));
        r.Right = r.Left + widest;
        r.Bottom = r.Top + total;
        return total;
    }
    int y = r.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER)
            y = r.Top + (r.Height() - lineHeight) / 2;
        else if (flags & DT_BOTTOM)
            y = r.Bottom - lineHeight;
    }
    paint([&](QPainter& p) {
        if (!(flags & DT_NOCLIP))
            p.setClipRect(toQRect(r));
        for (const Line& l : lines) {
            const int w = fm.horizontalAdvance(l.shown);
            int x = r.Left;
            if (flags & DT_CENTER)
                x = r.Left + (r.Width() - w) / 2;
            else if (flags & DT_RIGHT)
                x = r.Right - w;
            drawTextLine(p, x, y, l.shown, l.underlineAt);
            y += lineHeight;
        }
    });
    return total;
}
