#include "framework/TApplication.h"

#include "framework/TForm.h"
#include "framework/TPlatform.h"

#include <QEvent>
#include <QIcon>

TApplication* Application = nullptr;

TQtApplication::TQtApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The main form's close ends the program, not the last window going away.
    setQuitOnLastWindowClosed(false);
}

bool TQtApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (Application)
            Application->HandleException(e);
        return true;
    }
}

TApplication::TApplication() : TNonVisualComponent(nullptr) {
    Application = this;
    if (qApp)
        qApp->installEventFilter(this);
}

TApplication::~TApplication() {
    // Forms go first, while the global still answers their questions.
    DestroyComponents();
    if (qApp)
        qApp->removeEventFilter(this);
    if (Application == this)
        Application = nullptr;
}

void TApplication::SetTitle(const QString& title) {
    title_ = title;
    QGuiApplication::setApplicationDisplayName(title);
}

int TApplication::Run() {
    if (mainForm_)
        mainForm_->Show();
    if (terminated_)
        return 0;
    return QApplication::exec();
}

void TApplication::Terminate() {
    terminated_ = true;
    QCoreApplication::quit();
}

void TApplication::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::Minimize() {
    if (!mainForm_)
        return;
    wasMaximized_ = mainForm_->WindowState() == wsMaximized;
    mainForm_->SetWindowState(wsMinimized);
}

void TApplication::Restore() {
    if (!mainForm_)
        return;
    mainForm_->SetWindowState(wasMaximized_ ? wsMaximized : wsNormal);
}

bool TApplication::Active() const {
    return QApplication::activeWindow() != nullptr;
}

void TApplication::HandleException(const std::exception& e) {
    if (OnException)
        OnException(e);
    else
        ShowException(e);
}

void TApplication::ShowException(const std::exception& e) {
    QString message = QString::fromUtf8(e.what());
    // The classic box ends a sentence that does not end in punctuation with a full stop.
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        message += QLatin1Char('.');
    QWidget* owner = mainForm_ && mainForm_->isVisible() ? mainForm_ : nullptr;
    Platform().MessageBox(owner, message, title_, MB_OK | MB_ICONSTOP);
}

bool TApplication::eventFilter(QObject* watched, QEvent* event) {
    if (!OnMessage)
        return false;
    bool handled = false;
    try {
        OnMessage(watched, event, handled);
    } catch (const std::exception& e) {
        HandleException(e);
    }
    return handled;
}

QImage ApplicationSmallIcon() {
    if (qGuiApp) {
        const QIcon icon = QGuiApplication::windowIcon();
        if (!icon.isNull()) {
            // At ratio 1 whatever the screen: the title bar draws into a ratio-1 bitmap.
            QImage image = icon.pixmap(QSize(16, 16), 1.0).toImage();
            if (!image.isNull())
                return image.size() == QSize(16, 16) ? image : image.scaled(16, 16);
        }
    }
    QImage fallback(QStringLiteral(":/bitmaps/MAINICON"));
    return fallback.isNull() ? fallback : fallback.scaled(16, 16);
}
