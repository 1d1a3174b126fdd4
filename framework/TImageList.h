#pragma once
// TImageList: a row of equal-sized images that menus and buttons draw by index.
//
//   TImageList list(owner);                       // 16 x 16 images
//   list.AddMasked(tick, clWhite);                // white pixels become transparent
//   list.Draw(canvas, 4, 3, 0);                   // image 0 at (4, 3)
//   list.Draw(canvas, 4, 3, 0, false);            // the greyed rendering of a disabled command
#include "framework/TColor.h"
#include "framework/TComponent.h"

#include <QImage>

#include <vector>

class TBitmap;
class TCanvas;

class TImageList : public TNonVisualComponent {
    Q_OBJECT
public:
    explicit TImageList(TComponent* owner, int width = 16, int height = 16);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return static_cast<int>(images_.size()); }

    // Adds the picture as it is (opaque); returns its index.
    int Add(const TBitmap& image);
    // Adds the picture with every pixel of maskColor left out; returns its index.
    int AddMasked(const TBitmap& image, TColor maskColor);
    void Clear();

    // Draws image index at (x, y); nothing for an index outside the list. Disabled: the classic
    // greyed look (the image's shape embossed in highlight and shadow grey).
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
    // The stored image (ARGB, transparent where masked); a null image outside the list.
    QImage Image(int index) const;

private:
    int width_;
    int height_;
    std::vector<QImage> images_;
};
