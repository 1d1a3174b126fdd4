#include "framework/TBitmap.h"

#include <QFile>
#include <QPainter>

#include <algorithm>
#include <cmath>

TBitmap::TBitmap() : canvas_(new TCanvas(this)) {}

TBitmap::TBitmap(int width, int height) : TBitmap() {
    SetSize(width, height);
}

TBitmap::~TBitmap() = default;

void TBitmap::changed() {
    if (OnChange)
        OnChange();
}

void TBitmap::SetSize(int w, int h) {
    w = std::max(w, 0);
    h = std::max(h, 0);
    if (w == width_ && h == height_)
        return;
    image_ = resized(w, h, ratio_);
    width_ = w;
    height_ = h;
    changed();
}

void TBitmap::SetPixelRatio(qreal ratio) {
    ratio = std::max<qreal>(ratio, 1);
    if (ratio == ratio_)
        return;
    image_ = resized(width_, height_, ratio);
    ratio_ = ratio;
    changed();
}

QImage TBitmap::resized(int w, int h, qreal ratio) const {
    if (w <= 0 || h <= 0)
        return QImage();
    QImage next(int(std::ceil(w * ratio)), int(std::ceil(h * ratio)), QImage::Format_RGB32);
    next.setDevicePixelRatio(ratio);
    next.fill(Qt::white);
    if (!image_.isNull()) {
        QPainter p(&next);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, image_);
    }
    return next;
}

void TBitmap::SetTransparent(bool t) {
    if (t == transparent_)
        return;
    transparent_ = t;
    changed();
}

void TBitmap::SetTransparentMode(TTransparentMode m) {
    if (m == transparentMode_)
        return;
    transparentMode_ = m;
    changed();
}

TColor TBitmap::TransparentColor() const {
    if (transparentMode_ == TTransparentMode::tmFixed)
        return transparentColor_;
    if (image_.isNull())
        return clNone;
    return FromQColor(QColor(image_.pixel(0, image_.height() - 1)));
}

void TBitmap::SetTransparentColor(TColor c) {
    transparentColor_ = c;
    transparentMode_ = TTransparentMode::tmFixed;
    changed();
}

void TBitmap::Assign(const TBitmap& other) {
    if (&other == this)
        return;
    image_ = other.image_;
    width_ = other.width_;
    height_ = other.height_;
    ratio_ = other.ratio_;
    transparent_ = other.transparent_;
    transparentMode_ = other.transparentMode_;
    transparentColor_ = other.transparentColor_;
    changed();
}

void TBitmap::SetImage(const QImage& image) {
    if (image.isNull()) {
        image_ = QImage();
        width_ = height_ = 0;
    } else {
        image_ = image.convertToFormat(QImage::Format_RGB32);
        ratio_ = std::max<qreal>(image_.devicePixelRatio(), 1);
        image_.setDevicePixelRatio(ratio_);
        width_ = int(std::lround(image_.width() / ratio_));
        height_ = int(std::lround(image_.height() / ratio_));
    }
    changed();
}

void TBitmap::LoadFromResourceName(const std::string& name) {
    const QString path = QStringLiteral(":/bitmaps/") + QString::fromStdString(name);
    QImage image;
    if (name.empty() || !QFile::exists(path) || !image.load(path))
        throw EResNotFound("Resource " + name + " not found");
    SetImage(image);
}

void TBitmap::LoadFromFile(const std::string& fileName) {
    QImage image;
    if (!image.load(QString::fromStdString(fileName)))
        throw EInvalidGraphic("Cannot load picture from " + fileName);
    SetImage(image);
}

void TBitmap::LoadFromData(const std::string& bytes) {
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size())))
        throw EInvalidGraphic("Bitmap image is not valid");
    SetImage(image);
}

void TBitmap::SaveToFile(const std::string& fileName) const {
    if (image_.isNull() || !image_.save(QString::fromStdString(fileName)))
        throw Exception("Cannot write picture to " + fileName);
}
