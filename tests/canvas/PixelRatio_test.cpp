// A bitmap of pixel ratio 2, as a skinned control paints for a screen of twice the density: sizes
// and coordinates stay in the window's pixels, drawing fills every device pixel of a pixel, a
// picture of ratio 1 is enlarged pixel by pixel, text is drawn at the device's size.
#include "framework/TBitmap.h"
#include "tests/canvas/CanvasTestSupport.h"

namespace {

class PixelRatio : public ::testing::Test {
protected:
    void SetUp() override { EnsureGuiApp(); }
};

QRgb device(const TBitmap& bmp, int x, int y) {
    return bmp.Image().pixel(x, y) & 0xFFFFFF;
}

// Whether every 2 x 2 block of device pixels of the window's pixels in r has one colour.
bool doubledPixelByPixel(const TBitmap& bmp, const TRect& r) {
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const QRgb c = device(bmp, 2 * x, 2 * y);
            if (device(bmp, 2 * x + 1, 2 * y) != c || device(bmp, 2 * x, 2 * y + 1) != c ||
                device(bmp, 2 * x + 1, 2 * y + 1) != c)
                return false;
        }
    return true;
}

TEST_F(PixelRatio, SizesStayInWindowPixelsAndEveryDrawingCoversItsDevicePixels) {
    TBitmap bmp(3, 2);
    bmp.Canvas().SetPixels(1, 1, clRed);
    bmp.SetPixelRatio(2); // the picture so far is kept, enlarged
    EXPECT_EQ(bmp.Width(), 3);
    EXPECT_EQ(bmp.Image().width(), 6);
    EXPECT_EQ(bmp.Image().devicePixelRatio(), 2.0);
    EXPECT_EQ(bmp.Canvas().Pixels(1, 1), clRed);
    EXPECT_EQ(device(bmp, 3, 3), 0xFF0000u);
    bmp.SetSize(10, 6);
    EXPECT_EQ(bmp.Image().size(), QSize(20, 12));

    TCanvas& c = bmp.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect(Rect(0, 0, 10, 6));
    c.Brush().SetColor(clBlue);
    c.FillRect(Rect(1, 1, 3, 2)); // right and bottom edges excluded, in window pixels
    EXPECT_EQ(device(bmp, 2, 2), 0x0000FFu);
    EXPECT_EQ(device(bmp, 5, 3), 0x0000FFu);
    EXPECT_EQ(device(bmp, 6, 2), 0xFFFFFFu);
    EXPECT_EQ(device(bmp, 1, 2), 0xFFFFFFu);
    c.Pen().SetColor(clRed);
    c.MoveTo(0, 5);
    c.LineTo(4, 5); // x 0..3: two device rows, eight device columns
    EXPECT_EQ(device(bmp, 7, 11), 0xFF0000u);
    EXPECT_EQ(device(bmp, 8, 10), 0xFFFFFFu);
    c.SetPixels(9, 5, clLime);
    EXPECT_EQ(c.Pixels(9, 5), clLime);
    EXPECT_EQ(device(bmp, 19, 11), 0x00FF00u);
    EXPECT_EQ(c.Pixels(10, 5), -1);
    // The focus rectangle inverts whole pixels, and twice undoes it.
    const QImage before = bmp.Image();
    c.DrawFocusRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(device(bmp, 1, 1), 0x000000u);
    EXPECT_EQ(device(bmp, 2, 0), 0xFFFFFFu);
    c.DrawFocusRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(bmp.Image(), before);
    EXPECT_TRUE(doubledPixelByPixel(bmp, Rect(0, 0, 10, 6))) << SaveActual(bmp);
}

TEST_F(PixelRatio, PixelArtIsEnlargedWithoutBlendingAndTextIsDrawnAtTheDevicesSize) {
    TBitmap art(2, 1); // a picture of ratio 1, as the skin's resources are
    art.Canvas().SetPixels(0, 0, clRed);
    art.Canvas().SetPixels(1, 0, clBlue);
    TBitmap bmp;
    bmp.SetPixelRatio(2);
    bmp.SetSize(40, 20);
    TCanvas& c = bmp.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect(Rect(0, 0, 40, 20));
    c.Draw(0, 0, art);
    c.StretchDraw(Rect(0, 2, 4, 3), art);
    EXPECT_EQ(device(bmp, 1, 1), 0xFF0000u);
    EXPECT_EQ(device(bmp, 2, 1), 0x0000FFu);
    EXPECT_EQ(device(bmp, 3, 4), 0xFF0000u);
    EXPECT_EQ(device(bmp, 4, 5), 0x0000FFu);
    EXPECT_TRUE(doubledPixelByPixel(bmp, Rect(0, 0, 40, 3))) << SaveActual(bmp);

    c.Font().SetName(QStringLiteral("宋体"));
    c.Font().SetHeight(12);
    c.Font().SetColor(clBlack);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    TRect r = Rect(0, 4, 40, 20);
    c.DrawText(QStringLiteral("新闻"), r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    // A picture drawn at the window's size and enlarged would be all 2 x 2 blocks.
    EXPECT_FALSE(doubledPixelByPixel(bmp, Rect(0, 4, 40, 20))) << SaveActual(bmp);

    // Copied whole: another bitmap of ratio 2 gets every device pixel.
    TBitmap copy;
    copy.SetPixelRatio(2);
    copy.SetSize(40, 20);
    copy.Canvas().CopyRect(Rect(0, 0, 40, 20), c, Rect(0, 0, 40, 20));
    EXPECT_EQ(copy.Image(), bmp.Image());
}

} // namespace
