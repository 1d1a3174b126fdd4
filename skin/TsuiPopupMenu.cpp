#include "skin/TsuiPopupMenu.h"

#include "framework/TImageList.h"
#include "skin/SuiDrawing.h"
#include "skin/SuiStyleDecisions.h"
#include "skin/TsuiFileTheme.h"

#include <QPointer>

#include <memory>

TsuiPopupMenu::TsuiPopupMenu(TComponent* owner) : TPopupMenu(owner) {
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

void TsuiPopupMenu::SetFileTheme(TsuiFileTheme* theme) {
    if (skin_.FileTheme)
        RemoveFreeNotification(skin_.FileTheme);
    skin_.FileTheme = theme;
    if (theme)
        FreeNotification(theme);
    skin_.ApplyStyle(skin_.UIStyle);
}

void TsuiPopupMenu::SetUIStyle(TsuiUIStyle style) {
    skin_.ApplyStyle(style);
}

void TsuiPopupMenu::Popup(int x, int y) {
    Loaded();
    TPopupMenu::Popup(x, y);
}

void TsuiPopupMenu::Loaded() {
    for (int i = 0; i < Items()->Count(); ++i)
        hook(Items()->Items(i));
}

void TsuiPopupMenu::MeasureItem(TMenuItem* item, TCanvas& canvas, int& width, int& height) {
    skin_.MeasureItem(item, canvas, width, height);
}

void TsuiPopupMenu::DrawItem(TMenuItem* item, TCanvas& canvas, TRect rect, bool selected) {
    skin_.DrawItem(item, canvas, rect, selected, SharedCheckMarks(), images_);
}

void TsuiPopupMenu::MenuChanged(TMenuItem* source, bool rebuild) {
    TPopupMenu::MenuChanged(source, rebuild);
    if (rebuild && source)
        hook(source);
}

void TsuiPopupMenu::Notification(TComponent* component, TOperation operation) {
    TPopupMenu::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == skin_.FileTheme) {
        skin_.FileTheme = nullptr;
        skin_.ApplyStyle(DeepBlue);
    }
    if (component == images_)
        images_ = nullptr;
}

void TsuiPopupMenu::hook(TMenuItem* item) {
    QPointer<TsuiPopupMenu> self(this);
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

void TsuiPopupMenu::SetImages(TImageList* images) {
    if (images_)
        RemoveFreeNotification(images_);
    images_ = images;
    if (images_)
        FreeNotification(images_);
}
