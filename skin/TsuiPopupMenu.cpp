#include "skin/TsuiPopupMenu.h"

#include "framework/TImageList.h"
#include "skin/SuiDrawing.h"
#include "skin/SuiStyleDecisions.h"

#include <memory>

TsuiPopupMenu::TsuiPopupMenu(TComponent* owner) : TPopupMenu(owner), TsuiSkinnedMenu(this) {
    skin_.ApplyStyle(OwnerFormStyle(owner));
}

TsuiPopupMenu::~TsuiPopupMenu() = default;

TImageList* TsuiPopupMenu::SharedCheckMarks() {
    static std::unique_ptr<TImageList> list = [] {
        auto made = std::make_unique<TImageList>(nullptr);
        AddMenuCheckMark(*made);
        return made;
    }();
    return list.get();
}

void TsuiPopupMenu::Popup(int x, int y) {
    Loaded();
    TPopupMenu::Popup(x, y);
}

void TsuiPopupMenu::Loaded() {
    for (int i = 0; i < Items()->Count(); ++i)
        hook(Items()->Items(i));
}

void TsuiPopupMenu::MenuChanged(TMenuItem* source, bool rebuild) {
    TPopupMenu::MenuChanged(source, rebuild);
    if (rebuild && source)
        hook(source);
}

void TsuiPopupMenu::Notification(TComponent* component, TOperation operation) {
    TPopupMenu::Notification(component, operation);
    if (operation == opRemove)
        forgetRemoved(component);
}
