// Program entry: the application, its title, the main window, the message loop.
#include "app/CloseOnSignal.h"
#include "app/TForm1.h"
#include "framework/TApplication.h"
#include "webview/TWebBrowser.h"

#include <QGuiApplication>

int main(int argc, char** argv) {
    TWebBrowser::PrepareApplication();
    TQtApplication qt(argc, argv);
    TApplication application;
    // The desktop's menu entry and task bar know the window by its desktop file.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.zelmora_news.Zelmora"));
    // Before the window: a signal that comes while it is made closes it once the loop runs.
    CloseOnSignal closer;
    Application->SetTitle(QStringLiteral("Zelmora新闻浏览器"));
    Application->CreateForm(Form1);
    return Application->Run();
}
