#pragma once
// TFont: a classic font description (name, size, pixel height, colour, styles, character set)
// that turns into a QFont for painting.
//
//   TFont f;                       // "MS Sans Serif", 8 points (11 pixels), clWindowText
//   f.SetName("Tahoma");           // drawn with DejaVu Sans (see substitutions below)
//   f.SetStyle(fsBold);
//   f.SetHeight(13);               // a pixel height is a pixel height; Size() is then 10
//   f.OnChange = [&] { repaint(); };
//
// Sizes are at 96 DPI: Height (pixels) = Size (points) x 96 / 72, Size = Height x 72 / 96, both
// rounded. A negative height is taken as its absolute value (the classic "character height").
// Windows font names that the platform lacks are drawn with installed ones: "Tahoma",
// "MS Sans Serif", "Arial", "Verdana" and "Microsoft Sans Serif" with DejaVu Sans; "宋体",
// "SimSun", "新宋体", "黑体" and "微软雅黑" with WenQuanYi Zen Hei Sharp, whose hand-tuned
// 12- and 16-pixel bitmaps keep small Chinese text crisp; that face runs taller than its size, so
// it is set at the largest size whose glyphs fit the height (14 pixels draw with its 12-pixel
// bitmaps, which fill 13 rows). Name() keeps the name as set.
// Text is drawn without antialiasing, crisp as the classic look wants it.
#include "framework/TGraphics.h"

#include <QFont>
#include <QString>
#include <functional>

class TFont {
public:
    TFont() = default;
    TFont(const TFont& other) { *this = other; }
    // Copies the description; OnChange stays with each object.
    TFont& operator=(const TFont& other);

    QString Name() const { return name_; }
    void SetName(const QString& name);
    int Size() const;
    void SetSize(int points);
    int Height() const { return height_; }
    void SetHeight(int pixels);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    int Charset() const { return charset_; }
    void SetCharset(int charset);

    // Copies name, height, colour, styles and character set, then fires OnChange once.
    void Assign(const TFont& other);

    // The QFont that paints this font (substituted family, pixel size, styles, no antialiasing).
    QFont ToQFont() const;
    // The family actually used for a classic font name.
    static QString SubstituteFamily(const QString& name);

    std::function<void()> OnChange;

private:
    void changed();

    // ToQFont is asked on every text call; the QFont is built once per change.
    mutable QFont cached_;
    mutable bool cacheValid_ = false;
    QString name_ = QStringLiteral("MS Sans Serif");
    int height_ = 11;
    TColor color_ = clWindowText;
    TFontStyles style_ = 0;
    int charset_ = 1; // DEFAULT_CHARSET
};
