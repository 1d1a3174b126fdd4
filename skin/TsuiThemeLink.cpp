#include "skin/TsuiThemeLink.h"

#include "skin/TsuiFileTheme.h"

TsuiThemeLink::~TsuiThemeLink() {
    if (theme_)
        theme_->RemoveFreeNotification(&owner_);
}

void TsuiThemeLink::Set(TsuiFileTheme* theme, const std::function<void()>& restyle) {
    if (theme_ && theme_ != theme)
        theme_->RemoveFreeNotification(&owner_);
    theme_ = theme;
    if (theme)
        theme->FreeNotification(&owner_);
    assigning_ = true;
    restyle();
    assigning_ = false;
}

bool TsuiThemeLink::Removed(TComponent* component, TOperation operation) {
    if (operation != opRemove || !component || component != theme_)
        return false;
    theme_ = nullptr;
    return true;
}
