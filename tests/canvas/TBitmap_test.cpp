#include "framework/TBitmap.h"
#include "tests/canvas/CanvasTestSupport.h"

#include <QBuffer>

namespace {

class BitmapTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureGuiApp(); }
};

TEST_F(BitmapTest, ResizingKeepsTheTopLeftAndAddsWhite) {
    TBitmap bmp(2, 3);
    bmp.Canvas().Brush().SetColor(clRed);
    bmp.Canvas().FillRect(Rect(0, 0, 2, 3));
    bmp.Canvas().SetPixels(0, 0, clBlue);
    bmp.SetHeight(1); // cutting the height keeps the top row
    EXPECT_EQ(bmp.Height(), 1);
    EXPECT_EQ(bmp.Canvas().Pixels(0, 0), clBlue);
    bmp.SetSize(3, 2);
    EXPECT_EQ(bmp.Canvas().Pixels(1, 0), clRed);
    EXPECT_EQ(bmp.Canvas().Pixels(2, 0), clWhite);
    EXPECT_EQ(bmp.Canvas().Pixels(0, 1), clWhite);
}

TEST_F(BitmapTest, ZeroWidthKeepsTheHeightAndEmptiesThePicture) {
    TBitmap bmp(4, 5);
    bmp.SetWidth(0);
    EXPECT_TRUE(bmp.Empty());
    EXPECT_EQ(bmp.Height(), 5);
    EXPECT_TRUE(bmp.Image().isNull());
    bmp.SetWidth(2);
    EXPECT_EQ(bmp.Canvas().Pixels(1, 4), clWhite);
    bmp.SetSize(-3, -1);
    EXPECT_EQ(bmp.Width(), 0);
    EXPECT_EQ(bmp.Height(), 0);
}

TEST_F(BitmapTest, MissingResourceRaisesResourceNotFound) {
    TBitmap bmp(3, 3);
    try {
        bmp.LoadFromResourceName("NO_SUCH_BITMAP");
        FAIL() << "no exception";
    } catch (const EResNotFound& e) {
        EXPECT_STREQ(e.what(), "Resource NO_SUCH_BITMAP not found");
        EXPECT_STREQ(e.ClassName(), "EResNotFound");
    }
    EXPECT_EQ(bmp.Width(), 3); // unchanged
}

TEST_F(BitmapTest, DataRoundTripAndBadData) {
    TBitmap src(3, 2);
    src.Canvas().SetPixels(2, 1, RGB(1, 2, 3));
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    src.Image().save(&buf, "BMP");
    TBitmap dst;
    dst.LoadFromData(bytes.toStdString());
    EXPECT_EQ(dst.Width(), 3);
    EXPECT_EQ(dst.Height(), 2);
    EXPECT_EQ(dst.Canvas().Pixels(2, 1), RGB(1, 2, 3));
    EXPECT_THROW(dst.LoadFromData("not a picture"), EInvalidGraphic);
    EXPECT_EQ(dst.Width(), 3);
}

TEST_F(BitmapTest, AssignCopiesPictureAndTransparencyAndNotifies) {
    TBitmap a(2, 2), b;
    a.Canvas().SetPixels(0, 1, clLime);
    a.SetTransparent(true);
    int changes = 0;
    b.OnChange = [&] { ++changes; };
    b.Assign(a);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(b.Transparent());
    EXPECT_EQ(b.TransparentColor(), clLime);
    a.Canvas().SetPixels(0, 1, clRed); // the copy is independent
    EXPECT_EQ(b.Canvas().Pixels(0, 1), clLime);
    TBitmap empty;
    EXPECT_EQ(empty.TransparentColor(), clNone);
}

} // namespace
