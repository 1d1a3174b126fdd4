#include "framework/TQtPlatform.h"

#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QWindow>

namespace {

TQtPlatform qtPlatform;
TPlatform* current = nullptr;

TRect fromQRect(const QRect& r) {
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

} // namespace

TPlatform& Platform() {
    return current ? *current : qtPlatform;
}

void SetPlatform(TPlatform* platform) {
    current = platform;
}

bool TPlatform::StartSystemMove(QWidget*) {
    return false;
}

QString QtFilterFromClassic(const QString& filter) {
    if (filter.isEmpty())
        return QString();
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

int TQtPlatform::MessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned flags) {
    QMessageBox box(owner);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (flags & 0xF0) {
    case MB_ICONSTOP:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    switch (flags & 0xF) {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MB_YESNOCANCEL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    default:
        return IDOK;
    }
}

bool TQtPlatform::FileDialog(QWidget* owner, const TFileDialogRequest& request, QString& fileName) {
    QFileDialog dialog(owner, request.Title, request.InitialDir, QtFilterFromClassic(request.Filter));
    dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.DefaultExt.isEmpty())
        dialog.setDefaultSuffix(request.DefaultExt);
    if (!request.FileName.isEmpty())
        dialog.selectFile(request.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().first();
    return true;
}

void TQtPlatform::OpenUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

TPoint TQtPlatform::CursorPos() {
    const QPoint p = QCursor::pos();
    return Point(p.x(), p.y());
}

TRect TQtPlatform::ScreenRect() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? fromQRect(screen->geometry()) : Rect(0, 0, 1024, 768);
}

bool TQtPlatform::StartSystemMove(QWidget* window) {
    QWindow* handle = window ? window->window()->windowHandle() : nullptr;
    return handle && handle->startSystemMove();
}

TRect TQtPlatform::WorkArea() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? fromQRect(screen->availableGeometry()) : Rect(0, 0, 1024, 768);
}

std::vector<TRect> TQtPlatform::WorkAreas() {
    std::vector<TRect> areas{WorkArea()};
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            areas.push_back(fromQRect(screen->availableGeometry()));
    return areas;
}
