#pragma once
// Shared by the GUI tests: one QApplication (off-screen, with a fixed look) and one TApplication
// for the whole test program, a grab of a widget as an image, and waiting for a condition while
// events run.
#include "framework/TApplication.h"
#include "tests/support/FixedLook.h"

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace zeltest {

class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "zelmora-test";
        static char* argv[] = {name, nullptr};
        // Wanted by the web engine; harmless for everything else.
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        if (!qApp) {
            FixScaleBeforeTheApplication();
            new TQtApplication(argc, argv);
        }
        FixLookOfTheApplication();
        application_ = new TApplication;
    }
    void TearDown() override {
        delete application_;
        application_ = nullptr;
    }

private:
    TApplication* application_ = nullptr;
};

inline ::testing::Environment* const kGuiEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

// The widget as it paints itself now, at device-pixel ratio 1.
inline QImage Grab(QWidget* w) {
    const QPixmap shot = w->grab();
    EXPECT_EQ(shot.devicePixelRatio(), 1.0);
    return shot.toImage().convertToFormat(QImage::Format_RGB32);
}

// 0x00BBGGRR of a pixel, to compare with TColor values.
inline int PixelBGR(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16);
}

// Runs events until cond() holds or timeoutMs pass; returns cond().
inline bool WaitFor(const std::function<bool()>& cond, int timeoutMs = 30000) {
    QElapsedTimer t;
    t.start();
    while (!cond() && t.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return cond();
}

// Saves an image beside the test output when a pixel assertion failed, for a person to look at.
inline void SaveOnFailure(const QImage& image, const std::string& name) {
    if (::testing::Test::HasFailure())
        image.save(QString::fromStdString(name + ".png"));
}

} // namespace zeltest
