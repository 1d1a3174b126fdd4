#pragma once
// The browser pane's engine side over Qt WebEngine, built as the module webpane.so.
#include "webview/TWebPane.h"

#include <QObject>

class QWebEngineView;

class TWebEnginePane : public QObject, public TWebPane {
    Q_OBJECT
public:
    explicit TWebEnginePane(QWidget* parent);
    ~TWebEnginePane() override;

    QWidget* Widget() override;
    void Load(const QUrl& url) override;
    QString Title() const override;
    void Save(const QString& path, bool singleFile,
              std::function<void(const QString& file, bool ok)> done) override;

private:
    QWebEngineView* view_;
};

class TWebEnginePaneFactory : public QObject, public TWebPaneFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TWebPaneFactory_iid)
    Q_INTERFACES(TWebPaneFactory)
public:
    void Prepare(bool softwareRendering) override;
    TWebPane* CreatePane(QWidget* parent) override;
};
