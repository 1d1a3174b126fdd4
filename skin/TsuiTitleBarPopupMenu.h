#pragma once
// TsuiTitleBarPopupMenu: the small window menu of the skinned title bar, owned by the bar:
// "Mi&nimize", "Ma&ximize/Restore", a separator, "&Close". Popup enables each command only when
// the bar has a visible button of that kind.
#include "skin/TsuiPopupMenu.h"

class TsuiTitleBar;

class TsuiTitleBarPopupMenu : public TsuiPopupMenu {
    Q_OBJECT
public:
    TsuiTitleBarPopupMenu(TComponent* owner, TsuiTitleBar* bar);

    TsuiTitleBar* TitleBar() const { return bar_; }
    // Items 0, 1, 3 enabled when the bar has a visible suiMin, suiMax, suiClose button.
    void UpdateItemStates();
    // UpdateItemStates, then the menu at the screen point until it closes.
    void Popup(int x, int y) override;

private:
    void minimizeClick();
    void maximizeClick();
    void closeClick();

    TsuiTitleBar* bar_;
};
