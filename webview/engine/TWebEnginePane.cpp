#include "webview/engine/TWebEnginePane.h"

#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

TWebEnginePane::TWebEnginePane(QWidget* parent) : view_(new QWebEngineView(parent)) {
    view_->page()->setBackgroundColor(Qt::white);
    QObject::connect(view_, &QWebEngineView::loadFinished, this, [this](bool ok) {
        if (OnLoadFinished)
            OnLoadFinished(ok);
    });
}

// The view belongs to its parent widget, which may already have deleted it.
TWebEnginePane::~TWebEnginePane() = default;

QWidget* TWebEnginePane::Widget() {
    return view_;
}

void TWebEnginePane::Load(const QUrl& url) {
    view_->load(url);
}

QString TWebEnginePane::Title() const {
    return view_->title();
}

void TWebEnginePane::Save(const QString& path, bool singleFile,
                          std::function<void(const QString& file, bool ok)> done) {
    QWebEngineProfile* profile = view_->page()->profile();
    // The page's save comes back as a download of the profile; report when it is done.
    auto* connection = new QMetaObject::Connection;
    *connection = QObject::connect(
        profile, &QWebEngineProfile::downloadRequested, this,
        [this, connection, done = std::move(done)](QWebEngineDownloadRequest* download) {
            QObject::disconnect(*connection);
            delete connection;
            const QString file =
                download->downloadDirectory() + QLatin1Char('/') + download->downloadFileName();
            QObject::connect(
                download, &QWebEngineDownloadRequest::isFinishedChanged, this, [download, file, done] {
                    done(file, download->state() == QWebEngineDownloadRequest::DownloadCompleted);
                });
        });
    view_->page()->save(path, singleFile ? QWebEngineDownloadRequest::MimeHtmlSaveFormat
                                         : QWebEngineDownloadRequest::CompleteHtmlSaveFormat);
}

void TWebEnginePaneFactory::Prepare(bool softwareRendering) {
    // Qt Quick, under the engine's view, draws with its software renderer: no OpenGL is needed.
    if (softwareRendering)
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

TWebPane* TWebEnginePaneFactory::CreatePane(QWidget* parent) {
    return new TWebEnginePane(parent);
}
