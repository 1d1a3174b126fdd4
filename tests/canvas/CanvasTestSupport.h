#pragma once
// Shared by the canvas tests: a GUI application with a fixed look for fonts and system colours,
// and an image check that writes the actual picture beside the test output when it fails.
#include "framework/TBitmap.h"
#include "tests/support/FixedLook.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>

inline void EnsureGuiApp() {
    static int argc = 1;
    static char name[] = "canvas_test";
    static char* argv[] = {name, nullptr};
    if (qGuiApp)
        return;
    zeltest::FixScaleBeforeTheApplication();
    new QApplication(argc, argv);
    zeltest::FixLookOfTheApplication();
}

// Writes the bitmap as <suite>_<test>_actual.png in the working directory.
inline std::string SaveActual(const TBitmap& bmp) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string file = std::string(info->test_suite_name()) + "_" + info->name() + "_actual.png";
    if (!bmp.Empty())
        bmp.Image().save(QString::fromStdString(file));
    return file;
}

// Compares rows of characters with the bitmap: each character maps to a colour in legend.
inline ::testing::AssertionResult MatchesRows(const TBitmap& bmp, int x0, int y0,
                                              const std::vector<std::string>& rows,
                                              const std::map<char, TColor>& legend) {
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x) {
            const TColor want = legend.at(rows[y][x]);
            TBitmap& b = const_cast<TBitmap&>(bmp);
            const TColor got = b.Canvas().Pixels(x0 + int(x), y0 + int(y));
            if (got != want) {
                std::ostringstream msg;
                msg << "pixel (" << x0 + x << ", " << y0 + y << ") is 0x" << std::hex << got << ", want 0x"
                    << want << "; actual image written to " << SaveActual(bmp);
                return ::testing::AssertionFailure() << msg.str();
            }
        }
    return ::testing::AssertionSuccess();
}
