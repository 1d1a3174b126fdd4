#include "skin/TsuiTitleBarPopupMenu.h"

#include "framework/TForm.h"
#include "skin/TsuiTitleBar.h"

#include <QPointer>

namespace {

// The menu's captions, as the window menu of every skinned window shows them.
const char* const kMinimizeCaption = "Mi&nimize";
const char* const kMaximizeCaption = "Ma&ximize/Restore";
const char* const kCloseCaption = "&Close";

bool hasVisibleButton(TsuiTitleBar* bar, TsuiTitleBarBtnType type) {
    TsuiTitleBarButtons& buttons = bar->Buttons();
    for (int i = 0; i < buttons.Count(); ++i)
        if (buttons.Items(i)->ButtonType() == type && buttons.Items(i)->Visible())
            return true;
    return false;
}

} // namespace

TsuiTitleBarPopupMenu::TsuiTitleBarPopupMenu(TComponent* owner, TsuiTitleBar* bar)
    : TsuiPopupMenu(owner), bar_(bar) {
    const auto add = [this](const char* caption, void (TsuiTitleBarPopupMenu::*action)()) {
        auto* item = new TMenuItem(this);
        item->SetCaption(QString::fromLatin1(caption));
        if (action) {
            QPointer<TsuiTitleBarPopupMenu> self(this);
            item->OnClick = [self, action](TComponent*) {
                if (self)
                    (self->*action)();
            };
        }
        Items()->Add(item);
    };
    add(kMinimizeCaption, &TsuiTitleBarPopupMenu::minimizeClick);
    add(kMaximizeCaption, &TsuiTitleBarPopupMenu::maximizeClick);
    add("-", nullptr);
    add(kCloseCaption, &TsuiTitleBarPopupMenu::closeClick);
    Loaded();
}

void TsuiTitleBarPopupMenu::UpdateItemStates() {
    if (!bar_ || Items()->Count() < 4)
        return;
    Items()->Items(0)->SetEnabled(hasVisibleButton(bar_, suiMin));
    Items()->Items(1)->SetEnabled(hasVisibleButton(bar_, suiMax));
    Items()->Items(3)->SetEnabled(hasVisibleButton(bar_, suiClose));
}

void TsuiTitleBarPopupMenu::Popup(int x, int y) {
    UpdateItemStates();
    TsuiPopupMenu::Popup(x, y);
}

void TsuiTitleBarPopupMenu::minimizeClick() {
    bar_->MinimizeForm();
}

void TsuiTitleBarPopupMenu::maximizeClick() {
    TsuiTitleBarButtons& buttons = bar_->Buttons();
    for (int i = 0; i < buttons.Count(); ++i)
        if (buttons.Items(i)->ButtonType() == suiMax && buttons.Items(i)->Visible())
            buttons.Items(i)->PerformAction();
}

void TsuiTitleBarPopupMenu::closeClick() {
    if (TForm* form = bar_->TitleBarForm())
        form->Close();
}
