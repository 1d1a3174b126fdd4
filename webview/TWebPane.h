#pragma once
// What the browser pane asks of the web engine. The engine's side lives in a module of its own
// (webpane.so, see TWebPaneModule), loaded at the first page, so nothing of the engine is mapped
// into a reader that has not shown one yet.
#include <QString>
#include <QUrl>
#include <QtPlugin>

#include <functional>

class QWidget;

class TWebPane {
public:
    virtual ~TWebPane() = default;
    // The view, a child of the widget the pane was made for.
    virtual QWidget* Widget() = 0;
    virtual void Load(const QUrl& url) = 0;
    virtual QString Title() const = 0;
    // Saves the page shown, as one MIME archive (singleFile) or as a page with its files;
    // done(file, ok) once the file is written or the save failed.
    virtual void Save(const QString& path, bool singleFile,
                      std::function<void(const QString& file, bool ok)> done) = 0;

    // After a page (or its error page) has finished loading.
    std::function<void(bool ok)> OnLoadFinished;
};

class TWebPaneFactory {
public:
    virtual ~TWebPaneFactory() = default;
    // Called once, before the first pane: softwareRendering draws pages without OpenGL.
    virtual void Prepare(bool softwareRendering) = 0;
    virtual TWebPane* CreatePane(QWidget* parent) = 0;
};

#define TWebPaneFactory_iid "org.zelmora.TWebPaneFactory/1"
Q_DECLARE_INTERFACE(TWebPaneFactory, TWebPaneFactory_iid)
