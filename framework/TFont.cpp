#include "framework/TFont.h"

#include <QFontMetrics>
#include <QGuiApplication>

#include <cmath>
#include <cstdlib>
#include <map>
#include <tuple>

TFont& TFont::operator=(const TFont& other) {
    name_ = other.name_;
    height_ = other.height_;
    color_ = other.color_;
    style_ = other.style_;
    charset_ = other.charset_;
    cacheValid_ = false;
    return *this;
}

void TFont::changed() {
    cacheValid_ = false;
    if (OnChange)
        OnChange();
}

void TFont::SetName(const QString& name) {
    if (name == name_ || name.isEmpty())
        return;
    name_ = name;
    changed();
}

int TFont::Size() const {
    return int(std::lround(height_ * 72.0 / 96.0));
}

void TFont::SetSize(int points) {
    SetHeight(int(std::lround(std::abs(points) * 96.0 / 72.0)));
}

void TFont::SetHeight(int pixels) {
    pixels = std::abs(pixels);
    if (pixels == 0)
        pixels = 1;
    if (pixels == height_)
        return;
    height_ = pixels;
    changed();
}

void TFont::SetColor(TColor color) {
    if (color == color_)
        return;
    color_ = color;
    changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style == style_)
        return;
    style_ = style;
    changed();
}

void TFont::SetCharset(int charset) {
    if (charset == charset_)
        return;
    charset_ = charset;
    changed();
}

void TFont::Assign(const TFont& other) {
    *this = other;
    changed();
}

namespace {

const QString& chineseStandIn() {
    static const QString face = QStringLiteral("WenQuanYi Zen Hei Sharp");
    return face;
}

// The Chinese stand-in draws taller than its size: at 14 pixels its Chinese glyphs and the Latin
// descenders span 16 rows, where the faces it stands for keep within their height. So it is set at
// the largest size whose glyphs fit the height asked for (14 gives its crisp 12-pixel bitmaps).
int fittedPixelSize(const QFont& font, int height) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return height;
    static std::map<std::tuple<int, bool, bool>, int> fitted; // GUI thread only
    const auto key = std::make_tuple(height, font.bold(), font.italic());
    auto it = fitted.find(key);
    if (it != fitted.end())
        return it->second;
    static const QString probe = QString::fromUtf8("中国龘靐gjpqy|ÁÉ");
    int size = height;
    for (QFont f = font; size > height / 2; --size) {
        f.setPixelSize(size);
        if (QFontMetrics(f).tightBoundingRect(probe).height() <= height)
            break;
    }
    fitted.emplace(key, size);
    return size;
}

} // namespace

QString TFont::SubstituteFamily(const QString& name) {
    static const char* const kLatin[] = {"Tahoma",  "MS Sans Serif", "Microsoft Sans Serif", "Arial",
                                         "Verdana", "MS Shell Dlg",  "MS Shell Dlg 2"};
    static const char* const kChinese[] = {"宋体", "SimSun", "新宋体",   "NSimSun",
                                           "黑体", "SimHei", "微软雅黑", "Microsoft YaHei"};
    for (const char* n : kLatin)
        if (name.compare(QString::fromUtf8(n), Qt::CaseInsensitive) == 0)
            return QStringLiteral("DejaVu Sans");
    for (const char* n : kChinese)
        if (name.compare(QString::fromUtf8(n), Qt::CaseInsensitive) == 0)
            return chineseStandIn();
    return name;
}

QFont TFont::ToQFont() const {
    if (cacheValid_)
        return cached_;
    QFont font(SubstituteFamily(name_));
    // Chinese text in a Latin font still finds its glyphs in the CJK face.
    font.setFamilies({SubstituteFamily(name_), QStringLiteral("WenQuanYi Zen Hei Sharp")});
    font.setPixelSize(height_);
    font.setBold(style_ & fsBold);
    font.setItalic(style_ & fsItalic);
    font.setUnderline(style_ & fsUnderline);
    font.setStrikeOut(style_ & fsStrikeOut);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setKerning(false);
    if (font.families().first() == chineseStandIn())
        font.setPixelSize(fittedPixelSize(font, height_));
    cached_ = font;
    cacheValid_ = true;
    return font;
}
