#pragma once
// A top-level window. Left/Top/Width/Height are the outer frame on the screen, ClientWidth/
// ClientHeight the inside (TControl). The owner frees the form; a form frees what it owns.
//
// Closing (its close button, the window system, Close()): OnCloseQuery may refuse; then OnClose
// gets the action (caHide by default, caFree for... never by default) and may change it;
// caNone keeps the window open, and closing the application's main form ends the program.
// A derived form builds its components in its constructor and then calls DoCreate(), which
// fires OnCreate, as the stored form would when it has been loaded.
#include "framework/TControl.h"

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

using TCloseEvent = std::function<void(TComponent* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TComponent* sender, bool& canClose)>;

class TMainMenu;

class TForm : public TControl {
    Q_OBJECT
    Q_PROPERTY(bool Scaled READ Scaled WRITE SetScaled)
    Q_PROPERTY(bool AutoScroll READ AutoScroll WRITE SetAutoScroll)

public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    TWindowState WindowState() const;
    void SetWindowState(TWindowState state);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    // True while this is the active window of the application.
    bool Active() const { return isActiveWindow(); }
    bool Scaled() const { return scaled_; }
    void SetScaled(bool v) { scaled_ = v; }
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool v) { autoScroll_ = v; }
    // The window's main menu. The form shows no menu bar of its own: whoever hosts the menu
    // (the skinned frame) shows it.
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);

    // A frameless window keeps a band of this width on every side for the border that its
    // skin paints: the client area (ClientWidth, ClientHeight, aligned children) lies inside it,
    // while Left/Top/Width/Height stay the outer window.
    void SetBorderBand(int width) { SetClientInset(width); }
    int BorderBand() const { return ClientInset(); }

    // Runs the close procedure; returns once it is decided.
    void Close();
    // Hands the window to the window system's interactive move; false when the platform
    // refuses (then move it by the pointer's travel with TPointerWindowMove).
    bool StartSystemMove();
    void BringToFront();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    void DoCreate();
    virtual bool CloseQuery();
    virtual void DoClose(TCloseAction& action);
    void Notification(TComponent* component, TOperation operation) override;
    void CaptionChanged() override;

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    TFormBorderStyle borderStyle_ = bsSizeable;
    TMainMenu* menu_ = nullptr;
    bool scaled_ = true;
    bool autoScroll_ = false;
};
