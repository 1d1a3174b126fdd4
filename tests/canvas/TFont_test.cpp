#include "framework/TFont.h"
#include "tests/canvas/CanvasTestSupport.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPalette>

namespace {

TEST(FontTest, SizeAndPixelHeightConvertAt96Dpi) {
    TFont f;
    EXPECT_EQ(f.Height(), 11);
    EXPECT_EQ(f.Size(), 8);
    f.SetSize(9);
    EXPECT_EQ(f.Height(), 12);
    f.SetHeight(-13); // the classic negative "character height"
    EXPECT_EQ(f.Height(), 13);
    EXPECT_EQ(f.Size(), 10);
    EXPECT_EQ(f.ToQFont().pixelSize(), 13);
}

TEST(FontTest, WindowsNamesAreDrawnWithInstalledFaces) {
    EnsureGuiApp();
    EXPECT_EQ(TFont::SubstituteFamily("Tahoma"), "DejaVu Sans");
    EXPECT_EQ(TFont::SubstituteFamily("ms sans serif"), "DejaVu Sans");
    EXPECT_EQ(TFont::SubstituteFamily(QString::fromUtf8("宋体")), "WenQuanYi Zen Hei Sharp");
    EXPECT_EQ(TFont::SubstituteFamily("Courier"), "Courier");
    TFont f;
    f.SetName(QString::fromUtf8("宋体"));
    EXPECT_EQ(f.Name(), QString::fromUtf8("宋体"));
    EXPECT_EQ(QFontInfo(f.ToQFont()).family(), "WenQuanYi Zen Hei Sharp");
    f.SetName("Tahoma");
    f.SetStyle(fsBold);
    const QFont q = f.ToQFont();
    EXPECT_EQ(QFontInfo(q).family(), "DejaVu Sans");
    EXPECT_TRUE(q.bold());
}

TEST(FontTest, ChineseStandInKeepsItsGlyphsWithinTheHeight) {
    EnsureGuiApp();
    TFont f;
    f.SetName(QString::fromUtf8("宋体"));
    for (int height : {12, 14, 16, 20}) {
        f.SetHeight(height);
        const QFontMetrics fm(f.ToQFont());
        EXPECT_LE(fm.tightBoundingRect(QString::fromUtf8("中国龘gjpqy|")).height(), height) << height;
        EXPECT_GE(f.ToQFont().pixelSize(), height * 3 / 4) << height;
    }
    f.SetHeight(14);
    EXPECT_EQ(f.ToQFont().pixelSize(), 12); // the face's crisp bitmaps
    // Other faces keep the pixel size they are given.
    f.SetName("Tahoma");
    EXPECT_EQ(f.ToQFont().pixelSize(), 14);
}

TEST(FontTest, OnChangeFiresOnlyForRealChanges) {
    TFont f;
    int changes = 0;
    f.OnChange = [&] { ++changes; };
    f.SetColor(clRed);
    f.SetColor(clRed);
    f.SetSize(8); // already 11 pixels
    f.SetStyle(fsItalic);
    EXPECT_EQ(changes, 2);
    TFont g;
    g = f; // copying does not carry the handler
    EXPECT_FALSE(g.OnChange);
    EXPECT_EQ(g.Color(), clRed);
    f.Assign(g);
    EXPECT_EQ(changes, 3);
}

TEST(ColorTest, SystemColoursComeFromThePaletteAndPlainOnesPassThrough) {
    EnsureGuiApp();
    const QPalette pal = QGuiApplication::palette();
    EXPECT_EQ(ToQColor(clBtnFace), pal.color(QPalette::Active, QPalette::Button));
    EXPECT_EQ(ToQColor(clHighlight), pal.color(QPalette::Active, QPalette::Highlight));
    EXPECT_EQ(ToQColor(clMenuText), pal.color(QPalette::Active, QPalette::WindowText));
    EXPECT_EQ(ColorToRGB(SystemColor(25)), clBlack);
    EXPECT_EQ(ColorToRGB(SystemColor(200)), clBlack);
    EXPECT_EQ(ToQColor(0xA04A44), QColor(0x44, 0x4A, 0xA0)); // red in the low byte
    EXPECT_EQ(FromQColor(QColor(0x44, 0x4A, 0xA0)), 0xA04A44);
    EXPECT_EQ(ColorToRGB(clNone), clBlack);
}

} // namespace
