// The skin on a screen of twice the density (QT_SCALE_FACTOR=2): a skinned panel comes out whole
// at twice its size in device pixels, its caption drawn at the device's size, its pixel-art
// pictures enlarged pixel by pixel, never blurred. This program makes its own application at
// that scale instead of the tests' usual one at scale 1.
#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "skin/TsuiPanel.h"
#include "tests/support/FixedLook.h"

#include <QApplication>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

class DenseScreen : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "zelmora-test";
        static char* argv[] = {name, nullptr};
        qputenv("QT_SCALE_FACTOR", "2");
        qunsetenv("QT_SCREEN_SCALE_FACTORS");
        new TQtApplication(argc, argv);
        zeltest::FixLookOfTheApplication();
        application_ = new TApplication;
    }
    void TearDown() override { delete application_; }

private:
    TApplication* application_ = nullptr;
};

::testing::Environment* const kDenseScreen = ::testing::AddGlobalTestEnvironment(new DenseScreen);

// Whether every 2 x 2 block of device pixels of the window's pixels in [x0, x1) x [y0, y1) has
// one colour, as a picture drawn at the window's size and enlarged has.
bool enlarged(const QImage& img, int x0, int x1, int y0, int y1) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const QRgb c = img.pixel(2 * x, 2 * y);
            if (img.pixel(2 * x + 1, 2 * y) != c || img.pixel(2 * x, 2 * y + 1) != c ||
                img.pixel(2 * x + 1, 2 * y + 1) != c)
                return false;
        }
    return true;
}

TEST(HighDensity, APanelIsWholeWithItsCaptionAtTheDevicesSizeAndItsButtonEnlargedPixelByPixel) {
    ASSERT_EQ(qApp->devicePixelRatio(), 2.0);
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 120);
    auto* panel = new TsuiPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 300, 120);
    panel->SetCaption(QStringLiteral("新闻内容"));
    panel->SetShowButton(true);
    form.Show();
    QApplication::processEvents();

    const QPixmap shot = panel->grab();
    EXPECT_EQ(shot.devicePixelRatio(), 2.0);
    ASSERT_EQ(shot.size(), QSize(600, 240)); // the whole panel, every device pixel
    const QImage img = shot.toImage().convertToFormat(QImage::Format_RGB32);
    const int bar = panel->BarHeight();
    const TRect button = panel->ButtonRect();
    // The caption's glyphs have edges inside the window's pixels.
    EXPECT_FALSE(enlarged(img, 10, 70, 0, bar));
    // The bar's picture and the collapse button are the skin's pixel art, only enlarged.
    EXPECT_TRUE(enlarged(img, 100, button.Left, 0, bar));
    EXPECT_TRUE(enlarged(img, button.Left, button.Right, button.Top, button.Bottom));
}

} // namespace
