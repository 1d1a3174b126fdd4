#pragma once
// TsuiMainMenu: the window's main menu with every drop-down item measured and drawn in the
// colours of the current style. Its top-level items are shown by the skinned frame's menu bar
// (the frame is its TsuiMenuHost); the drop-downs are the framework's, drawn through the item
// handlers this menu installs on every item, so keyboard navigation, submenus and their arrows
// and the drop-down's own frame stay the platform's.
//
//   auto* menu = new TsuiMainMenu(form);   // styled with the form's frame; attached to the frame
//   ... build the item tree (items owned by the form) ...
//   menu->Loaded();                        // hooks every item, has the frame build its menu bar
//   menu->SetUIStyle(MacOS);               // the new colours show at the next opening
//
// OwnerDraw always reads true. Images reads the user's image list, or nullptr while only the
// check-mark list is installed; setting nullptr installs the check-mark list again.
#include "framework/TMenu.h"
#include "skin/TsuiSkinnedMenu.h"

class TImageList;
class TsuiFileTheme;
class TsuiMenuHost;

class TsuiMainMenu : public TMainMenu, public TsuiSkinnedMenu {
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
    explicit TsuiMainMenu(TComponent* owner);
    ~TsuiMainMenu() override;

    // The image list the drop-downs use: the user's, else the check-mark list.
    TImageList* CheckMarks() const { return checkMarks_; }

    // Tells the hosting frame, which gives its menu bar the matching font.
    void SetUseSystemFont(bool value);

    // The frame that shows the top-level items; set and cleared by that frame.
    TsuiMenuHost* MenuHost() const { return host_; }
    void SetMenuHost(TsuiMenuHost* host) { host_ = host; }

    // The stored tree is complete: every item gets the skinned drawing, and the hosting frame
    // rebuilds its menu bar.
    void Loaded();

protected:
    void MenuChanged(TMenuItem* source, bool rebuild) override;
    void Notification(TComponent* component, TOperation operation) override;
    TImageList* checkMarks() const override { return checkMarks_; }

private:
    TImageList* checkMarks_ = nullptr;
    TsuiMenuHost* host_ = nullptr;
};
