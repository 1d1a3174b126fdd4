#pragma once
// The browser pane: a control that shows web pages through Qt WebEngine.
//
//   web->Navigate("http://example.org/news/1.html");   // returns at once; loads in the background
//   web->Navigate("/home/me/info.htm");                // a local file path works as well
//   web->ExecWB(OLECMDID_SAVEAS, OLECMDEXECOPT_DODEFAULT);   // save dialog, then writes the page
//
// The engine starts on the first navigation (or at PrepareEngine, when a page is likely soon), so
// a window with an empty pane appears without waiting for it: its module (TWebPaneModule) is
// loaded then, not before. Until then, and before
// a page has arrived, the pane shows its colour (white). Navigation errors are the engine's to
// show in the pane; an engine that cannot be loaded raises Exception from Navigate.
//
//   web->PrepareEngine();   // a page is likely soon: start the engine now, hidden and empty
#include "framework/TControl.h"

#include <QUrl>

class TWebPane;

constexpr int OLECMDID_SAVEAS = 4;
constexpr int OLECMDEXECOPT_DODEFAULT = 0;
constexpr int OLECMDEXECOPT_DONTPROMPTUSER = 2;

class TWebBrowser : public TControl {
    Q_OBJECT
public:
    explicit TWebBrowser(TComponent* owner);
    ~TWebBrowser() override;

    // Call before the QApplication is made: decides how pages are drawn (TWebRenderer).
    static void PrepareApplication();
    // An http(s)/file URL as it stands; anything else is taken as a local file path.
    static QUrl UrlFromText(const QString& text);

    void Navigate(const QString& url);
    // Starts the engine without a page, its view hidden: the pane still shows its colour, and
    // the first Navigate then only loads. Starting takes the GUI thread for a moment (about a
    // tenth of a second); call it when a page is likely to follow. An engine that cannot be
    // loaded is left for Navigate to report.
    void PrepareEngine();
    // The page's own commands. Only OLECMDID_SAVEAS is known: with DODEFAULT it asks for a file
    // name first (the save dialog through Platform()), with DONTPROMPTUSER it saves to
    // SaveAsTarget(). Other commands do nothing.
    void ExecWB(int command, int option);
    void SetSaveAsTarget(const QString& path) { saveAsTarget_ = path; }
    QString SaveAsTarget() const { return saveAsTarget_; }

    // The URL last navigated to (empty before the first navigation).
    QUrl LocationURL() const { return location_; }
    bool EngineStarted() const { return pane_ != nullptr; }
    // The engine's view, once started.
    QWidget* View() const;
    // The page's title (empty before the first page).
    QString Title() const;

    // After a page (or its error page) has finished loading.
    std::function<void(TWebBrowser* sender, bool ok)> OnDocumentComplete;
    // After ExecWB's save has written its file (ok) or failed.
    std::function<void(TWebBrowser* sender, const QString& path, bool ok)> OnSaveComplete;

protected:
    void Resize() override;

private:
    void startEngine();
    void save(const QString& path);

    TWebPane* pane_ = nullptr;
    QUrl location_;
    QString saveAsTarget_;
};
