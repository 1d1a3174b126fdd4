#include "webview/TWebRenderer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace {

TRenderer chosen = TRenderer::OpenGL;
bool setGlIntegration = false;

bool anyOpenable(const QString& dir, const QStringList& patterns) {
    for (const QFileInfo& f : QDir(dir).entryInfoList(patterns, QDir::System | QDir::Files))
        if (::access(QFile::encodeName(f.absoluteFilePath()).constData(), R_OK | W_OK) == 0)
            return true;
    return false;
}

bool isOn(const QString& value) {
    return !value.isEmpty() && value != QLatin1String("0") &&
           value.compare(QLatin1String("false"), Qt::CaseInsensitive) != 0;
}

} // namespace

TRendererFacts TWebRenderer::FactsOfThisMachine() {
    TRendererFacts facts;
    facts.forced = qEnvironmentVariable("ZELMORA_RENDERER");
    facts.chromiumFlags = qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS");
    facts.quickBackend = qEnvironmentVariable("QT_QUICK_BACKEND");
    facts.libglSoftware = qEnvironmentVariable("LIBGL_ALWAYS_SOFTWARE");
    facts.platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    // DRM render nodes (Mesa's and NVIDIA's drivers alike), or the NVIDIA control device.
    facts.gpuDevice = anyOpenable(QStringLiteral("/dev/dri"), {QStringLiteral("renderD*")}) ||
                      anyOpenable(QStringLiteral("/dev"), {QStringLiteral("nvidiactl")});
    return facts;
}

TRenderer TWebRenderer::Choose(const TRendererFacts& facts) {
    const QString forced = facts.forced.trimmed().toLower();
    if (forced == QLatin1String("software"))
        return TRenderer::Software;
    if (forced == QLatin1String("opengl") || forced == QLatin1String("gl"))
        return TRenderer::OpenGL;
    if (facts.quickBackend.trimmed() == QLatin1String("software"))
        return TRenderer::Software;
    if (facts.chromiumFlags.split(QLatin1Char(' '), Qt::SkipEmptyParts)
            .contains(QLatin1String("--disable-gpu")))
        return TRenderer::Software;
    if (isOn(facts.libglSoftware))
        return TRenderer::Software;
    const QString platform = facts.platform.section(QLatin1Char(':'), 0, 0).trimmed();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal") ||
        platform == QLatin1String("vnc"))
        return TRenderer::Software;
    return facts.gpuDevice ? TRenderer::OpenGL : TRenderer::Software;
}

void TWebRenderer::Prepare() {
    chosen = Choose(FactsOfThisMachine());
    // Wanted by the engine with OpenGL, before the application exists; costs nothing without
    // a GL integration.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (chosen == TRenderer::Software && !qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION")) {
        qputenv("QT_XCB_GL_INTEGRATION", "none");
        setGlIntegration = true;
    }
}

TRenderer TWebRenderer::Chosen() {
    return chosen;
}

void TWebRenderer::ApplicationStarted() {
    if (setGlIntegration) {
        qunsetenv("QT_XCB_GL_INTEGRATION");
        setGlIntegration = false;
    }
}
