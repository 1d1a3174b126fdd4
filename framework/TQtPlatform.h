#pragma once
// The platform services through Qt: QMessageBox, QFileDialog, QDesktopServices, QCursor, QScreen.
#include "framework/TPlatform.h"

class TQtPlatform : public TPlatform {
public:
    int MessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned flags) override;
    bool FileDialog(QWidget* owner, const TFileDialogRequest& request, QString& fileName) override;
    void OpenUrl(const QString& url) override;
    TPoint CursorPos() override;
    TRect ScreenRect() override;
    TRect WorkArea() override;
    std::vector<TRect> WorkAreas() override;
    bool StartSystemMove(QWidget* window) override;
};
