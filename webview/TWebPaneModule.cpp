#include "webview/TWebPaneModule.h"

#include "framework/core/Exception.h"
#include "webview/TWebRenderer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

namespace {

constexpr const char* kModuleFile = "webpane.so";
TWebPaneFactory* factory = nullptr;

bool inside(const QString& path, const QString& dir) {
    const QString d = QDir::cleanPath(dir) + QLatin1Char('/');
    return (QDir::cleanPath(path) + QLatin1Char('/')).startsWith(d);
}

} // namespace

QStringList TWebPaneModule::Candidates(const QString& exeDir, const QString& overridePath) {
    QStringList places;
    if (!overridePath.isEmpty())
        places << overridePath;
    const QDir exe(exeDir);
    for (const char* rel : {ZELMORA_MODULE_RELDIR, "../lib/zelmora", "."})
        places << QDir::cleanPath(
            exe.filePath(QString::fromUtf8(rel) + QLatin1Char('/') + QLatin1String(kModuleFile)));
    if (inside(exeDir, QStringLiteral(ZELMORA_BUILD_ROOT)))
        places << QDir::cleanPath(QStringLiteral(ZELMORA_MODULE_BUILD_DIR "/") + QLatin1String(kModuleFile));
    places.removeDuplicates();
    return places;
}

bool TWebPaneModule::Loaded() {
    return factory != nullptr;
}

TWebPaneFactory& TWebPaneModule::Factory() {
    if (factory)
        return *factory;
    const QStringList places =
        Candidates(QCoreApplication::applicationDirPath(), qEnvironmentVariable("ZELMORA_WEBPANE"));
    QString why;
    for (const QString& path : places) {
        if (!QFileInfo::exists(path))
            continue;
        // Kept loaded for the rest of the run: the engine does not come apart cleanly.
        auto* loader = new QPluginLoader(path);
        auto* found = qobject_cast<TWebPaneFactory*>(loader->instance());
        if (found) {
            found->Prepare(TWebRenderer::Chosen() == TRenderer::Software);
            factory = found;
            return *factory;
        }
        why = loader->errorString();
        delete loader;
    }
    throw Exception(
        ("The browser pane's engine could not be loaded (" + QString::fromUtf8(kModuleFile) + "): " +
         (why.isEmpty() ? QStringLiteral("looked for it at ") + places.join(QStringLiteral(", ")) : why))
            .toStdString());
}
