#include "webview/TWebBrowser.h"

#include "framework/TPlatform.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

TWebBrowser::TWebBrowser(TComponent* owner) : TControl(owner) {
    SetColor(clWhite);
}

TWebBrowser::~TWebBrowser() {
    DestroyComponents();
}

void TWebBrowser::PrepareApplication() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

QUrl TWebBrowser::UrlFromText(const QString& text) {
    const QString t = text.trimmed();
    const QString lower = t.toLower();
    if (lower.startsWith(QLatin1String("http://")) || lower.startsWith(QLatin1String("https://")) ||
        lower.startsWith(QLatin1String("file:")) || lower.startsWith(QLatin1String("about:")))
        return QUrl(t);
    return QUrl::fromLocalFile(QFileInfo(t).absoluteFilePath());
}

void TWebBrowser::startEngine() {
    view_ = new QWebEngineView(this);
    view_->setGeometry(rect());
    view_->page()->setBackgroundColor(Qt::white);
    QObject::connect(view_, &QWebEngineView::loadFinished, this,
                     [this](bool ok) { GuardEvent([&] { CallEvent(OnDocumentComplete, this, ok); }); });
    view_->show();
}

void TWebBrowser::Navigate(const QString& url) {
    if (!view_)
        startEngine();
    location_ = UrlFromText(url);
    view_->load(location_);
}

void TWebBrowser::Resize() {
    if (view_)
        view_->setGeometry(rect());
    TControl::Resize();
}

void TWebBrowser::ExecWB(int command, int option) {
    if (command != OLECMDID_SAVEAS || !view_ || location_.isEmpty())
        return;
    if (option == OLECMDEXECOPT_DONTPROMPTUSER) {
        if (!saveAsTarget_.isEmpty())
            save(saveAsTarget_);
        return;
    }
    TFileDialogRequest request;
    request.Save = true;
    request.Filter = QStringLiteral("Web page, complete|*.htm;*.html|Web archive, single file|*.mht;*.mhtml");
    request.DefaultExt = QStringLiteral("htm");
    QString title = view_->title().trimmed();
    if (title.isEmpty() || title.contains(QLatin1Char('/')))
        title = QFileInfo(location_.path()).completeBaseName();
    request.FileName = (title.isEmpty() ? QStringLiteral("page") : title) + QStringLiteral(".htm");
    QString path;
    if (Platform().FileDialog(this, request, path))
        save(path);
}

void TWebBrowser::save(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    const auto format = suffix == QLatin1String("mht") || suffix == QLatin1String("mhtml")
                            ? QWebEngineDownloadRequest::MimeHtmlSaveFormat
                            : QWebEngineDownloadRequest::CompleteHtmlSaveFormat;
    QWebEngineProfile* profile = view_->page()->profile();
    // The page's save comes back as a download of the profile; report when it is done.
    auto* connection = new QMetaObject::Connection;
    *connection = QObject::connect(
        profile, &QWebEngineProfile::downloadRequested, this,
        [this, connection](QWebEngineDownloadRequest* download) {
            QObject::disconnect(*connection);
            delete connection;
            const QString file =
                download->downloadDirectory() + QLatin1Char('/') + download->downloadFileName();
            QObject::connect(
                download, &QWebEngineDownloadRequest::isFinishedChanged, this, [this, download, file] {
                    const bool ok = download->state() == QWebEngineDownloadRequest::DownloadCompleted;
                    GuardEvent([&] { CallEvent(OnSaveComplete, this, file, ok); });
                });
        });
    view_->page()->save(path, format);
}
