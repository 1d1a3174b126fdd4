#pragma once
// TsuiPopupMenu: a context menu whose drop-down items are measured and drawn like those of the
// skinned main menu (the same skin values, the same drawing). It has no hosting frame:
// UseSystemFont is a plain stored value. The check mark comes from one list shared by every
// popup menu of the program.
//
//   auto* menu = new TsuiPopupMenu(form);
//   ... add items ...
//   menu->Popup(x, y);                     // screen coordinates; returns when the menu closes
//
// Items added later (at run time) are drawn the same: the menu hooks each item that its owner
// receives, and hooks the whole tree again before it opens.
#include "framework/TMenu.h"
#include "skin/TsuiSkinnedMenu.h"

class TImageList;
class TsuiFileTheme;

class TsuiPopupMenu : public TPopupMenu, public TsuiSkinnedMenu {
    Q_OBJECT
    Q_PROPERTY(bool OwnerDraw READ OwnerDraw WRITE SetOwnerDraw)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(TsuiStyles::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(int MenuItemHeight READ MenuItemHeight WRITE SetMenuItemHeight)
    Q_PROPERTY(int SeparatorHeight READ SeparatorHeight WRITE SetSeparatorHeight)
    Q_PROPERTY(int BarWidth READ BarWidth WRITE SetBarWidth)
    Q_PROPERTY(int BarColor READ BarColor WRITE SetBarColor)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(int SeparatorColor READ SeparatorColor WRITE SetSeparatorColor)
    Q_PROPERTY(int SelectedBorderColor READ SelectedBorderColor WRITE SetSelectedBorderColor)
    Q_PROPERTY(int SelectedColor READ SelectedColor WRITE SetSelectedColor)
    Q_PROPERTY(int SelectedFontColor READ SelectedFontColor WRITE SetSelectedFontColor)
    Q_PROPERTY(int FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(int BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(bool FlatMenu READ FlatMenu WRITE SetFlatMenu)
    Q_PROPERTY(QString FontName READ FontName WRITE SetFontName)
    Q_PROPERTY(int FontSize READ FontSize WRITE SetFontSize)
    Q_PROPERTY(int FontCharset READ FontCharset WRITE SetFontCharset)
    Q_PROPERTY(bool UseSystemFont READ UseSystemFont WRITE SetUseSystemFont)

public:
    explicit TsuiPopupMenu(TComponent* owner);
    ~TsuiPopupMenu() override;

    void SetUseSystemFont(bool value) { skin_.UseSystemFont = value; }

    // Hooks every item, then shows the drop-down at the screen point until it closes.
    void Popup(int x, int y) override;
    // Every item gets the skinned drawing (also done by Popup).
    void Loaded();

    // The check-mark list shared by every popup menu (made on first use).
    static TImageList* SharedCheckMarks();

protected:
    void MenuChanged(TMenuItem* source, bool rebuild) override;
    void Notification(TComponent* component, TOperation operation) override;
    TImageList* checkMarks() const override { return SharedCheckMarks(); }
};
