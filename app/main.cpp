// Program entry: the application, its title, the main window, the message loop.
#include "app/TForm1.h"
#include "framework/TApplication.h"
#include "webview/TWebBrowser.h"

int main(int argc, char** argv) {
    TWebBrowser::PrepareApplication();
    TQtApplication qt(argc, argv);
    TApplication application;
    Application->SetTitle(QStringLiteral("Zelmora新闻浏览器"));
    Application->CreateForm(Form1);
    return Application->Run();
}
