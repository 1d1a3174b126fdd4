#include "skin/TsuiFormKeyboard.h"

#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "framework/TMenu.h"
#include "skin/SuiDrawing.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiMenuBar.h"
#include "skin/TsuiTitleBar.h"

#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

namespace {

bool isModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
           key == Qt::Key_AltGr || key == Qt::Key_Super_L || key == Qt::Key_Super_R || key == Qt::Key_unknown;
}

} // namespace

TsuiFormKeyboard::TsuiFormKeyboard(TsuiForm& frame) : frame_(frame) {
    if (Application && !Application->OnMessage) {
        Application->OnMessage = [this](QObject* receiver, QEvent* event, bool& handled) {
            applicationKey(receiver, event, handled);
        };
        ownsApplicationHook_ = true;
    }
}

TsuiFormKeyboard::~TsuiFormKeyboard() {
    if (ownsApplicationHook_ && Application)
        Application->OnMessage = nullptr;
}

bool TsuiFormKeyboard::TakeMenuShortcut(const QKeyEvent& event) const {
    TForm* host = frame_.Host();
    TMainMenu* menu = frame_.Menu();
    if (!host || !menu || isModifierKey(event.key()))
        return false;
    if (!IsFormActiveWindow(host) || !host->Active())
        return false;
    return menu->IsShortCut(QKeySequence(event.keyCombination()));
}

void TsuiFormKeyboard::popupWindowMenu() {
    TsuiTitleBar* titleBar = frame_.TitleBar();
    if (!titleBar)
        return;
    TForm* main = Application && Application->MainForm() ? Application->MainForm() : frame_.Host();
    const int x = main->Left(), y = main->Top() + titleBar->Height();
    // Opened from the event loop, not from inside the key's delivery.
    QPointer<TsuiTitleBar> bar(titleBar);
    QTimer::singleShot(0, &frame_, [bar, x, y] {
        if (bar)
            GuardEvent([&] { bar->TitleBarPopupMenu()->Popup(x, y); });
    });
}

// A lone Alt, pressed and released with nothing between, goes to the menu bar.
bool TsuiFormKeyboard::keyRelease(const QKeyEvent& key) {
    TsuiMenuBar* menuBar = frame_.MenuBar();
    if (key.key() != Qt::Key_Alt || !altAlone_ || key.isAutoRepeat() || !menuBar || !menuBar->Visible())
        return false;
    altAlone_ = false;
    if (menuBar->KeyboardActive())
        menuBar->LeaveBar();
    else
        menuBar->FocusBar();
    return true;
}

void TsuiFormKeyboard::applicationKey(QObject* receiver, QEvent* event, bool& handled) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !frame_.Host())
        return;
    // Keys typed into this window, whichever control (the browser pane's included) has them.
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget || widget->window() != frame_.Host())
        return;
    auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::KeyRelease) {
        if (keyRelease(*key))
            handled = true;
        return;
    }
    const Qt::KeyboardModifiers mods =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    // (An Alt key's own event may or may not carry the Alt modifier itself.)
    altAlone_ = key->key() == Qt::Key_Alt && (mods & ~Qt::AltModifier) == Qt::NoModifier;
    if (key->key() == Qt::Key_Space && mods == Qt::AltModifier) {
        popupWindowMenu();
        handled = true;
        return;
    }
    if (TakeMenuShortcut(*key)) {
        handled = true;
        return;
    }
    TsuiMenuBar* menuBar = frame_.MenuBar();
    if (!menuBar || !menuBar->Visible() || widget == menuBar)
        return;
    if (key->key() == Qt::Key_F10 && mods == Qt::NoModifier) {
        menuBar->FocusBar();
        handled = true;
    } else if (mods == Qt::AltModifier && menuBar->OpenByMnemonic(key->key())) {
        handled = true;
    }
}
