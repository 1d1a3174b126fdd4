#pragma once
// The keys of the whole application that reach a skinned window's menu wherever the focus is in
// that window, the browser pane included: Alt+Space opens the title-bar menu below the title bar
// at the main window's left; the menu's shortcut keys, F10, a lone Alt and Alt with an access
// letter reach the menu and its bar. The first frame of the application routes them through the
// application's message hook; a later frame leaves the hook alone and only takes the shortcuts of
// keys its own window receives.
//
//   TsuiFormKeyboard keys(frame);           // while the frame hosts its window
//   if (keys.TakeMenuShortcut(keyEvent)) ...
class QEvent;
class QKeyEvent;
class QObject;
class TsuiForm;

class TsuiFormKeyboard {
public:
    explicit TsuiFormKeyboard(TsuiForm& frame);
    ~TsuiFormKeyboard();
    TsuiFormKeyboard(const TsuiFormKeyboard&) = delete;
    TsuiFormKeyboard& operator=(const TsuiFormKeyboard&) = delete;

    // Runs the menu shortcut of a key pressed in the window: true when an item took it.
    bool TakeMenuShortcut(const QKeyEvent& event) const;

private:
    void applicationKey(QObject* receiver, QEvent* event, bool& handled);
    bool keyRelease(const QKeyEvent& key);
    void popupWindowMenu();

    TsuiForm& frame_;
    bool ownsApplicationHook_ = false;
    bool altAlone_ = false;
};
