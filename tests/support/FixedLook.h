#pragma once
// What a pixel test needs to see the same pixels on every machine: one device pixel per logical
// pixel, the fonts the reader is installed with (loaded by file, so fontconfig cannot prefer some
// other face it happens to find), and one light palette whatever the desktop's theme.
#include <QApplication>
#include <QFontDatabase>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

#include <gtest/gtest.h>

namespace zeltest {

// The faces of fonts-dejavu-core and fonts-wqy-zenhei that the reader's fonts map onto.
inline constexpr const char* kBundledFonts[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc",
};

// Before the application object exists: scaling settings are read when it is made.
inline void FixScaleBeforeTheApplication() {
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qputenv("QT_SCALE_FACTOR", "1");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    qunsetenv("QT_DEVICE_PIXEL_RATIO");
}

inline void FixLookOfTheApplication() {
    for (const char* file : kBundledFonts)
        if (QFontDatabase::addApplicationFont(QString::fromUtf8(file)) < 0)
            ADD_FAILURE() << file << " does not load (scripts/setup.sh installs it)";
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(QApplication::style()->standardPalette());
}

} // namespace zeltest
