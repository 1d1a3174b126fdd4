#pragma once
// Caption buttons of the skinned title bar, in an owned collection of the bar. A collection made
// without a bar (nullptr) is a free-standing copy that the bar's SetButtons copies in.
//
// Buttons are laid out from the right in collection order; the control box sits on the left.
// Any change of a button repaints the bar. A second suiControlBox button is refused with a
// "Sorry, ..." dialog.
#include "framework/TBitmap.h"
#include "skin/TsuiTitleBarItems.h"
#include "skin/TsuiTitleBarTypes.h"
#include "skin/TsuiUIStyle.h"

#include <QPointer>

class TPopupMenu;
class TsuiTitleBar;
class TsuiTitleBarButtons;

class TsuiTitleBarButton {
public:
    explicit TsuiTitleBarButton(TsuiTitleBarButtons* collection);

    TsuiUIStyle UIStyle() const { return style_; }
    // Stores the style and reloads the pictures.
    void SetUIStyle(TsuiUIStyle style);
    TsuiTitleBarBtnType ButtonType() const { return type_; }
    void SetButtonType(TsuiTitleBarBtnType type);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    // Stored only: every button is drawn at the bar's button band top.
    int Top() const { return top_; }
    void SetTop(int value);
    // The menu a control box opens (referenced; forgotten when it is destroyed).
    TPopupMenu* ControlBoxMenu() const { return controlBoxMenu_; }
    void SetControlBoxMenu(TPopupMenu* menu) { controlBoxMenu_ = menu; }
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    const TBitmap& PicNormal() const { return picNormal_; }
    void SetPicNormal(const TBitmap& picture);
    const TBitmap& PicMouseOn() const { return picMouseOn_; }
    void SetPicMouseOn(const TBitmap& picture);
    const TBitmap& PicMouseDown() const { return picMouseDown_; }
    void SetPicMouseDown(const TBitmap& picture);

    // Visible, ButtonType, Transparent, Top, UIStyle through the setters, then the three
    // pictures, then the ControlBoxMenu reference.
    void Assign(const TsuiTitleBarButton& other);
    int Index() const;
    TsuiTitleBarButtons* Collection() const { return collection_; }

    // Transparent and the three looks from the button's style (with the bar's file theme):
    // frames of the 18-frame title-button strip by ButtonType; a suiCustom button keeps its own.
    void ReloadPictures();
    // suiMax: the restore glyph (frames 10-12) while the bar's form is maximised, else the
    // maximise glyph (7-9). Nothing while the bar is Custom.
    void UpdateMaximizeGlyph();
    // The button's window action on the bar's form (maximise/restore, minimise, close, the
    // control-box menu); nothing without a form.
    void PerformAction();

private:
    void changed();
    void loadFrames(int normal, int mouseOn, int mouseDown);

    TsuiTitleBarButtons* collection_;
    TsuiUIStyle style_ = DeepBlue;
    TsuiTitleBarBtnType type_ = suiCustom;
    bool transparent_ = false;
    int top_ = 2;
    QPointer<TPopupMenu> controlBoxMenu_;
    bool visible_ = true;
    TBitmap picNormal_;
    TBitmap picMouseOn_;
    TBitmap picMouseDown_;
};

class TsuiTitleBarButtons : public TsuiTitleBarItems<TsuiTitleBarButton, TsuiTitleBarButtons> {
public:
    explicit TsuiTitleBarButtons(TsuiTitleBar* bar = nullptr) : TsuiTitleBarItems(bar) {}
};
