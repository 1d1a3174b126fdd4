#include "framework/TForm.h"

#include "framework/TApplication.h"
#include "framework/TMenu.h"
#include "framework/TPlatform.h"

#include <QCloseEvent>
#include <QTimer>
#include <QWindow>

TForm::TForm(TComponent* owner) : TControl(owner) {
    setWindowFlag(Qt::Window, true);
    TControl::SetVisible(false);
}

TForm::~TForm() {
    DestroyComponents();
}

TWindowState TForm::WindowState() const {
    const Qt::WindowStates s = windowState();
    if (s & Qt::WindowMinimized)
        return wsMinimized;
    if (s & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return wsMaximized;
    return wsNormal;
}

void TForm::SetWindowState(TWindowState state) {
    Qt::WindowStates s = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == wsMinimized)
        s |= Qt::WindowMinimized;
    else if (state == wsMaximized)
        s |= Qt::WindowMaximized;
    setWindowState(s);
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
    borderStyle_ = style;
    const bool shown = isVisible();
    setWindowFlag(Qt::FramelessWindowHint, style == bsNone);
    if (shown)
        show();
}

void TForm::SetMenu(TMainMenu* menu) {
    if (menu_ == menu)
        return;
    if (menu_)
        RemoveFreeNotification(menu_);
    menu_ = menu;
    if (menu_)
        FreeNotification(menu_);
}

void TForm::Notification(TComponent* component, TOperation operation) {
    TControl::Notification(component, operation);
    if (operation == opRemove && component == menu_)
        menu_ = nullptr;
}

void TForm::CaptionChanged() {
    setWindowTitle(Caption());
}

void TForm::DoCreate() {
    CallEvent(OnCreate, this);
}

bool TForm::CloseQuery() {
    bool canClose = true;
    CallEvent(OnCloseQuery, this, canClose);
    return canClose;
}

void TForm::DoClose(TCloseAction& action) {
    CallEvent(OnClose, this, action);
}

void TForm::Close() {
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        hide();
        return;
    }
    switch (action) {
    case caMinimize:
        SetWindowState(wsMinimized);
        break;
    case caFree:
        hide();
        QTimer::singleShot(0, this, [this] { delete this; });
        break;
    default:
        Hide();
        break;
    }
}

bool TForm::StartSystemMove() {
    return Platform().StartSystemMove(this);
}

void TForm::BringToFront() {
    raise();
    activateWindow();
}

void TForm::closeEvent(QCloseEvent* event) {
    // The window system asks; the answer is the same procedure as Close().
    event->ignore();
    GuardEvent([this] { Close(); });
}

void TForm::showEvent(QShowEvent* event) {
    TControl::showEvent(event);
    GuardEvent([this] { CallEvent(OnShow, this); });
}

void TForm::hideEvent(QHideEvent* event) {
    TControl::hideEvent(event);
    GuardEvent([this] { CallEvent(OnHide, this); });
}

void TForm::changeEvent(QEvent* event) {
    TControl::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        GuardEvent([this] { CallEvent(isActiveWindow() ? OnActivate : OnDeactivate, this); });
}
