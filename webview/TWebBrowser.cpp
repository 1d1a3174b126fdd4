#include "webview/TWebBrowser.h"

#include "framework/TPlatform.h"
#include "framework/core/Exception.h"
#include "webview/TWebPane.h"
#include "webview/TWebPaneModule.h"
#include "webview/TWebRenderer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QWidget>

TWebBrowser::TWebBrowser(TComponent* owner) : TControl(owner) {
    SetColor(clWhite);
    // Made after the application object: what the renderer choice put into the environment for
    // the application's start has served.
    TWebRenderer::ApplicationStarted();
}

TWebBrowser::~TWebBrowser() {
    delete pane_;
    DestroyComponents();
}

void TWebBrowser::PrepareApplication() {
    TWebRenderer::Prepare();
}

QWidget* TWebBrowser::View() const {
    return pane_ ? pane_->Widget() : nullptr;
}

QString TWebBrowser::Title() const {
    return pane_ && !location_.isEmpty() ? pane_->Title() : QString();
}

QUrl TWebBrowser::UrlFromText(const QString& text) {
    const QString t = text.trimmed();
    const QString lower = t.toLower();
    if (lower.startsWith(QLatin1String("http://")) || lower.startsWith(QLatin1String("https://")) ||
        lower.startsWith(QLatin1String("file:")) || lower.startsWith(QLatin1String("about:")))
        return QUrl(t);
    return QUrl::fromLocalFile(QFileInfo(t).absoluteFilePath());
}

// The view is made hidden; the first Navigate shows it.
void TWebBrowser::startEngine() {
    pane_ = TWebPaneModule::Factory().CreatePane(this);
    pane_->OnLoadFinished = [this](bool ok) { GuardEvent([&] { CallEvent(OnDocumentComplete, this, ok); }); };
    pane_->Widget()->hide();
    pane_->Widget()->setGeometry(rect());
}

void TWebBrowser::PrepareEngine() {
    if (pane_)
        return;
    try {
        startEngine();
    } catch (const Exception&) {
        // Navigate looks for the module again and reports what it finds.
    }
}

void TWebBrowser::Navigate(const QString& url) {
    if (!pane_)
        startEngine();
    location_ = UrlFromText(url);
    pane_->Widget()->show();
    pane_->Load(location_);
}

void TWebBrowser::Resize() {
    if (pane_)
        pane_->Widget()->setGeometry(rect());
    TControl::Resize();
}

void TWebBrowser::ExecWB(int command, int option) {
    if (command != OLECMDID_SAVEAS || !pane_ || location_.isEmpty())
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
    QString title = pane_->Title().trimmed();
    if (title.isEmpty() || title.contains(QLatin1Char('/')))
        title = QFileInfo(location_.path()).completeBaseName();
    request.FileName = (title.isEmpty() ? QStringLiteral("page") : title) + QStringLiteral(".htm");
    QString path;
    if (Platform().FileDialog(this, request, path))
        save(path);
}

void TWebBrowser::save(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool singleFile = suffix == QLatin1String("mht") || suffix == QLatin1String("mhtml");
    pane_->Save(path, singleFile, [this](const QString& file, bool ok) {
        GuardEvent([&] { CallEvent(OnSaveComplete, this, file, ok); });
    });
}
