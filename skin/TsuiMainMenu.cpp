#include "skin/TsuiMainMenu.h"

#include "framework/TForm.h"
#include "framework/TImageList.h"
#include "skin/SuiDrawing.h"
#include "skin/SuiStyleDecisions.h"
#include "skin/TsuiMenuHost.h"

TsuiMainMenu::TsuiMainMenu(TComponent* owner) : TMainMenu(owner), TsuiSkinnedMenu(this) {
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
    if (operation == opRemove)
        forgetRemoved(component);
}
