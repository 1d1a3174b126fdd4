#pragma once
// The platform services the program asks for: message boxes, file dialogs, opening a URL in the
// system's browser, the pointer position, the screen and its work area. Everything goes through
// Platform(), which is the Qt implementation (TQtPlatform) unless a test has put a scripted one
// (TScriptedPlatform) in its place with SetPlatform.
//
//   int r = Platform().MessageBox(form, "text", "caption", MB_OK | MB_ICONINFORMATION);
//   QString name;
//   if (Platform().FileDialog(form, request, name)) ...   // false: the user cancelled
//   Platform().OpenUrl("http://example.org/");            // does not wait, reports nothing
#include "framework/core/TRect.h"

#include <QString>

#include <vector>

class QWidget;

// Message box flags and answers, with their classic values.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONERROR = MB_ICONSTOP;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

struct TFileDialogRequest {
    bool Save = false;
    QString Title;
    // Classic filter: "Description|pattern;pattern|Description|pattern".
    QString Filter;
    QString FileName;
    QString DefaultExt;
    QString InitialDir;
};

class TPlatform {
public:
    virtual ~TPlatform() = default;

    virtual int MessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned flags) = 0;
    // Shows an open or save dialog; true with the chosen path, false when cancelled.
    virtual bool FileDialog(QWidget* owner, const TFileDialogRequest& request, QString& fileName) = 0;
    virtual void OpenUrl(const QString& url) = 0;
    virtual TPoint CursorPos() = 0;
    // The primary screen, and its work area (the screen less the panels and task bars).
    virtual TRect ScreenRect() = 0;
    virtual TRect WorkArea() = 0;
    // The work area of every screen, the primary's first.
    virtual std::vector<TRect> WorkAreas() { return {WorkArea()}; }
    // Hands the window to the window system's interactive move (the pointer drags it until the
    // button is released). False when the platform refuses (no window manager, some X servers,
    // the off-screen platform): the caller then moves the window itself (TPointerWindowMove).
    virtual bool StartSystemMove(QWidget* window);
};

TPlatform& Platform();
// Puts a platform in place (not owned); nullptr goes back to the Qt one.
void SetPlatform(TPlatform* platform);

// "News List TXT|*.txt|All|*.*" -> "News List TXT (*.txt);;All (*.*)" for Qt's dialogs.
QString QtFilterFromClassic(const QString& filter);
