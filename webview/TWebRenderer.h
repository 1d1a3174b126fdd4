#pragma once
// How the browser pane's pages reach the screen, decided once before the application object is
// made. With OpenGL the application sets up a shared GL context as it starts, which costs the
// start-up dearly where only a software rasteriser answers (Mesa's swrast loads LLVM); the web
// engine draws as well through Qt Quick's software renderer there. So:
//
//   software  where no hardware GL is usable (no GPU device node, LIBGL_ALWAYS_SOFTWARE, an
//             off-screen platform) or the engine's GPU use is off (--disable-gpu in
//             QTWEBENGINE_CHROMIUM_FLAGS, as the run script sets without a display);
//   OpenGL    where a GPU serves;
//   ZELMORA_RENDERER=software or =opengl forces either; QT_QUICK_BACKEND=software counts as
//   software.
//
//   TWebRenderer::Prepare();        // in main, before the QApplication
//   TWebRenderer::Chosen();         // what was decided
#include <QString>

enum class TRenderer { OpenGL, Software };

// What the decision looks at, gathered from the environment and the machine.
struct TRendererFacts {
    QString forced;         // ZELMORA_RENDERER
    QString chromiumFlags;  // QTWEBENGINE_CHROMIUM_FLAGS
    QString quickBackend;   // QT_QUICK_BACKEND
    QString libglSoftware;  // LIBGL_ALWAYS_SOFTWARE
    QString platform;       // QT_QPA_PLATFORM
    bool gpuDevice = false; // a GPU device node this process may open
};

class TWebRenderer {
public:
    static TRendererFacts FactsOfThisMachine();
    static TRenderer Choose(const TRendererFacts& facts);
    // Decides, and sets up the application for it: the shared GL contexts the engine needs
    // with OpenGL; no GL integration of the window system with software.
    static void Prepare();
    static TRenderer Chosen();
    // Once the application object exists: takes back what Prepare put into the environment
    // for it, so programs started from the reader (the system browser) do not inherit it.
    static void ApplicationStarted();
};
