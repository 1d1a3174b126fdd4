#pragma once
// TBitmap: an off-screen picture (QImage, 32-bit opaque) with a classic canvas.
//
//   TBitmap bmp;                          // empty, 0 x 0
//   bmp.LoadFromResourceName("PANEL_BUTTON");   // the Qt resource ":/bitmaps/PANEL_BUTTON"
//   bmp.SetHeight(6);                     // cutting keeps the top rows; growing adds white
//   bmp.SetTransparent(true);             // drawn without its bottom-left pixel's colour
//   other.Canvas().Draw(0, 0, bmp);
//
// A bitmap for a screen of higher density has a pixel ratio above 1 (SetPixelRatio, taken from the
// widget it is copied onto): its sizes and every coordinate stay in the window's pixels, while the
// picture holds ratio x ratio device pixels for each of them, so text and lines drawn on it are as
// sharp as the screen, and a picture of ratio 1 drawn onto it (the skin's pixel art) is enlarged
// pixel by pixel, never blurred.
//
// Width and height are kept even when one of them is 0 (the image is then empty). Resources are
// looked up by name under the Qt resource prefix ":/bitmaps/" (any image format Qt reads); a
// missing one raises EResNotFound "Resource NAME not found".
#include "framework/TCanvas.h"
#include "framework/core/Exception.h"

#include <QImage>
#include <functional>
#include <memory>
#include <string>

class EResNotFound : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EResNotFound"; }
};

// Raised when a file or data block holds no readable picture.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EInvalidGraphic"; }
};

enum class TTransparentMode { tmAuto, tmFixed };

class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height);
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    ~TBitmap();

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetWidth(int w) { SetSize(w, height_); }
    void SetHeight(int h) { SetSize(width_, h); }
    // Keeps the pixels that still fit at the top left; new pixels are white.
    void SetSize(int w, int h);
    bool Empty() const { return width_ == 0 || height_ == 0; }

    // Device pixels per pixel (1 unless set). Changing it keeps the picture, enlarged or reduced.
    qreal PixelRatio() const { return ratio_; }
    void SetPixelRatio(qreal ratio);

    TCanvas& Canvas() { return *canvas_; }

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool t);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode m);
    // tmAuto: the colour of the bottom-left pixel (clNone when empty); tmFixed: the colour set.
    TColor TransparentColor() const;
    // Sets the colour and switches to tmFixed.
    void SetTransparentColor(TColor c);

    // Copies picture and transparency settings (not the canvas's pen, brush or font).
    void Assign(const TBitmap& other);
    void LoadFromResourceName(const std::string& name);
    void LoadFromFile(const std::string& fileName);
    // Reads a picture in any format Qt knows (BMP, PNG, ...) from memory.
    void LoadFromData(const std::string& bytes);
    // Format from the extension (".png", ".bmp"); raises Exception when it cannot be written.
    void SaveToFile(const std::string& fileName) const;

    // The picture itself, in device pixels (its devicePixelRatio() is PixelRatio()); a null image
    // while Empty().
    const QImage& Image() const { return image_; }
    // Takes the picture and its device pixel ratio.
    void SetImage(const QImage& image);

    // Called after the picture is replaced or resized (not after canvas drawing).
    std::function<void()> OnChange;

private:
    friend class TCanvas;
    QImage& mutableImage() { return image_; }
    void changed();
    QImage resized(int w, int h, qreal ratio) const;

    int width_ = 0;
    int height_ = 0;
    qreal ratio_ = 1;
    QImage image_;
    bool transparent_ = false;
    TTransparentMode transparentMode_ = TTransparentMode::tmAuto;
    TColor transparentColor_ = clNone;
    std::unique_ptr<TCanvas> canvas_;
};
