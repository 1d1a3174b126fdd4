#include "framework/TImageList.h"

#include "framework/TBitmap.h"
#include "framework/TCanvas.h"
#include "framework/TGraphics.h"

#include <QPainter>

TImageList::TImageList(TComponent* owner, int width, int height)
    : TNonVisualComponent(owner), width_(width), height_(height) {}

namespace {

// The picture at the list's size: cut or padded with transparency, never scaled.
QImage fitted(const QImage& source, int width, int height) {
    QImage out(width, height, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    if (!source.isNull()) {
        QPainter p(&out);
        p.drawImage(0, 0, source.convertToFormat(QImage::Format_ARGB32));
    }
    return out;
}

} // namespace

int TImageList::Add(const TBitmap& image) {
    images_.push_back(fitted(image.Image(), width_, height_));
    return Count() - 1;
}

int TImageList::AddMasked(const TBitmap& image, TColor maskColor) {
    QImage out = fitted(image.Image(), width_, height_);
    const QRgb mask = ToQColor(ColorToRGB(maskColor)).rgb() & 0xFFFFFF;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] & 0xFFFFFF) == mask)
                line[x] = 0;
    }
    images_.push_back(out);
    return Count() - 1;
}

void TImageList::Clear() {
    images_.clear();
}

QImage TImageList::Image(int index) const {
    if (index < 0 || index >= Count())
        return QImage();
    return images_[static_cast<std::size_t>(index)];
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
    QImage image = Image(index);
    if (image.isNull())
        return;
    if (!enabled) {
        // The classic greyed command: the shape once in the highlight colour, one pixel down and
        // right, and once in the shadow grey on top of it.
        QImage greyed(image.size(), QImage::Format_ARGB32);
        greyed.fill(Qt::transparent);
        const QRgb light = ToQColor(ColorToRGB(clBtnHighlight)).rgb();
        const QRgb shadow = ToQColor(ColorToRGB(clBtnShadow)).rgb();
        for (int row = 0; row < image.height(); ++row)
            for (int col = 0; col < image.width(); ++col) {
                if (qAlpha(image.pixel(col, row)) == 0)
                    continue;
                if (col + 1 < image.width() && row + 1 < image.height())
                    greyed.setPixel(col + 1, row + 1, light);
            }
        for (int row = 0; row < image.height(); ++row)
            for (int col = 0; col < image.width(); ++col)
                if (qAlpha(image.pixel(col, row)) != 0)
                    greyed.setPixel(col, row, shadow);
        image = greyed;
    }
    TBitmap bitmap;
    // Through a transparent bitmap so the canvas's own rules leave the masked pixels out.
    QImage opaque(image.size(), QImage::Format_RGB32);
    const QRgb key = qRgb(255, 0, 255);
    opaque.fill(key);
    {
        QPainter p(&opaque);
        p.drawImage(0, 0, image);
    }
    bitmap.SetImage(opaque);
    bitmap.SetTransparentColor(RGB(255, 0, 255));
    bitmap.SetTransparent(true);
    canvas.Draw(x, y, bitmap);
}
