#include "skin/TsuiMainMenu.h"

#include "framework/TForm.h"
#include "framework/TImageList.h"
#include "skin/SuiDrawing.h"
#include "skin/SuiStyleDecisions.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiMenuHost.h"

#include <QPointer>

TsuiMainMenu::TsuiMainMenu(TComponent* owner) : TMainMenu(owner) {
    checkMarks_ = new TImageList(nullptr);
    AddMenuCheckMark(*checkMarks_);
    skin_.ApplyStyle(OwnerFormStyle(owner));

    // The form shows no menu bar of its own: its skinned frame shows this menu.
    auto* form = owner ? qobject_cast<TForm*>(owner->Object()) : nullptr;
    if (!form)
        return;
    form->SetMenu(nullptr);
    for (int i = 0; i < form->ControlCount(); ++i)
        if (auto* host = dynamic_cast<TsuiMenuHost*>(form->Controls(i))) {
            host->SetMenu(this);
            break;
        }
}

TsuiMainMenu::~TsuiMainMenu() {
    delete checkMarks_;
}

void TsuiMainMenu::SetImages(TImageList* images) {
    if (images_)
        RemoveFreeNotification(images_);
    images_ = images;
    if (images_)
        FreeNotification(images_);
}

void TsuiMainMenu::SetFileTheme(TsuiFileTheme* theme) {
    if (skin_.FileTheme)
        RemoveFreeNotification(skin_.FileTheme);
    skin_.FileTheme = theme;
    if (theme)
        FreeNotification(theme);
    skin_.ApplyStyle(skin_.UIStyle);
}

void TsuiMainMenu::SetUIStyle(TsuiUIStyle style) {
    skin_.ApplyStyle(style);
}

void TsuiMainMenu::SetUseSystemFont(bool value) {
    skin_.UseSystemFont = value;
    if (host_)
        host_->UpdateMenuBarFont();
}

void TsuiMainMenu::Loaded() {
    for (int i = 0; i < Items()->Count(); ++i)
        hook(Items()->Items(i));
    if (host_)
        host_->RebuildMenuBar();
}

void TsuiMainMenu::MeasureItem(TMenuItem* item, TCanvas& canvas, int& width, int& height) {
    skin_.MeasureItem(item, canvas, width, height);
}

void TsuiMainMenu::DrawItem(TMenuItem* item, TCanvas& canvas, TRect rect, bool selected) {
    skin_.DrawItem(item, canvas, rect, selected, checkMarks_, images_);
}

void TsuiMainMenu::MenuChanged(TMenuItem* source, bool rebuild) {
    TMainMenu::MenuChanged(source, rebuild);
    // Items leaving while the form or the menu is torn down: the frame may be half gone.
    if (Destroying() || (Owner() && Owner()->Destroying()))
        return;
    // An item that joins the tree at run time is drawn like the stored ones.
    if (rebuild && source)
        hook(source);
    if (host_ && Owner() && qobject_cast<TForm*>(Owner()->Object()))
        host_->UpdateMenuBarButtons();
}

void TsuiMainMenu::Notification(TComponent* component, TOperation operation) {
    TMainMenu::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == skin_.FileTheme) {
        skin_.FileTheme = nullptr;
        skin_.ApplyStyle(DeepBlue);
    }
    if (component == images_)
        images_ = nullptr;
}

void TsuiMainMenu::hook(TMenuItem* item) {
    // The items may outlive the menu (they belong to the form): a dead menu draws nothing.
    QPointer<TsuiMainMenu> self(this);
    HookMenuItemDrawing(
        item,
        [self](TMenuItem* sender, TCanvas& canvas, TRect rect, bool selected) {
            if (self)
                self->DrawItem(sender, canvas, rect, selected);
        },
        [self](TMenuItem* sender, TCanvas& canvas, int& width, int& height) {
            if (self)
                self->MeasureItem(sender, canvas, width, height);
        });
}
