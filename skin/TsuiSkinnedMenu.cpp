#include "skin/TsuiSkinnedMenu.h"

#include "framework/TComponent.h"
#include "framework/TImageList.h"
#include "framework/TMenu.h"
#include "skin/SuiDrawing.h"
#include "skin/TsuiFileTheme.h"

#include <QPointer>

void TsuiSkinnedMenu::SetImages(TImageList* images) {
    if (images_)
        menu_.RemoveFreeNotification(images_);
    images_ = images;
    if (images_)
        menu_.FreeNotification(images_);
}

void TsuiSkinnedMenu::SetFileTheme(TsuiFileTheme* theme) {
    if (skin_.FileTheme)
        menu_.RemoveFreeNotification(skin_.FileTheme);
    skin_.FileTheme = theme;
    if (theme)
        menu_.FreeNotification(theme);
    skin_.ApplyStyle(skin_.UIStyle);
}

void TsuiSkinnedMenu::MeasureItem(TMenuItem* item, TCanvas& canvas, int& width, int& height) {
    skin_.MeasureItem(item, canvas, width, height);
}

void TsuiSkinnedMenu::DrawItem(TMenuItem* item, TCanvas& canvas, TRect rect, bool selected) {
    skin_.DrawItem(item, canvas, rect, selected, checkMarks(), images_);
}

void TsuiSkinnedMenu::hook(TMenuItem* item) {
    // The items may outlive the menu (they belong to the form): a dead menu draws nothing.
    QPointer<QObject> alive(menu_.Object());
    TsuiSkinnedMenu* self = this;
    HookMenuItemDrawing(
        item,
        [alive, self](TMenuItem* sender, TCanvas& canvas, TRect rect, bool selected) {
            if (alive)
                self->DrawItem(sender, canvas, rect, selected);
        },
        [alive, self](TMenuItem* sender, TCanvas& canvas, int& width, int& height) {
            if (alive)
                self->MeasureItem(sender, canvas, width, height);
        });
}

void TsuiSkinnedMenu::forgetRemoved(TComponent* component) {
    if (component == skin_.FileTheme) {
        skin_.FileTheme = nullptr;
        skin_.ApplyStyle(DeepBlue);
    }
    if (component == images_)
        images_ = nullptr;
}
