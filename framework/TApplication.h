#pragma once
// The application object: title, main form, message loop, minimise/restore, the
// application-wide message hook and the standard error box.
//
//   TQtApplication qt(argc, argv);          // the QApplication; catches escaping exceptions
//   TApplication app;                       // sets the global Application
//   Application->SetTitle("...");
//   Application->CreateForm(Form1);         // the first form created becomes the main form
//   return Application->Run();              // until the main form closes
//
// OnMessage sees every event Qt delivers in the process before its receiver does; setting
// handled to true swallows it. HandleException shows the standard error box (the exception's
// message, a full stop added when it ends in a letter or digit, error icon, the title as caption)
// unless OnException is set.
#include "framework/TComponent.h"

#include <QApplication>
#include <QImage>
#include <QString>

#include <exception>
#include <functional>

class TForm;
class QEvent;

// The QApplication of the program: an exception that escapes an event handler reaches
// Application->HandleException instead of ending the program.
class TQtApplication : public QApplication {
public:
    TQtApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

class TApplication : public TNonVisualComponent {
    Q_OBJECT
public:
    TApplication();
    ~TApplication() override;

    QString Title() const { return title_; }
    void SetTitle(const QString& title);

    TForm* MainForm() const { return mainForm_; }
    void SetMainForm(TForm* form) { mainForm_ = form; }

    // Creates a form owned by the application; the first becomes the main form.
    template <typename T> void CreateForm(T*& reference) {
        reference = new T(this);
        if (!mainForm_)
            mainForm_ = reference;
    }

    // Shows the main form and runs the message loop until Terminate; returns the exit code.
    int Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    void ProcessMessages();
    void Minimize();
    void Restore();
    // True while one of the application's windows has the focus.
    bool Active() const;

    void HandleException(const std::exception& e);
    void ShowException(const std::exception& e);

    std::function<void(QObject* receiver, QEvent* event, bool& handled)> OnMessage;
    std::function<void(const std::exception& e)> OnException;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString title_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool wasMaximized_ = false;
};

extern TApplication* Application;

// The application's icon at 16 x 16 (the window icon of the application), or the bitmap resource
// MAINICON when the application has none; a null image when there is neither.
QImage ApplicationSmallIcon();
