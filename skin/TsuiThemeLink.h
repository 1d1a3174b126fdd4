#pragma once
// A skinned container's link to its file theme (the panel's, the side channel's): the owner hears
// when the theme is freed, and while a new theme is being handed over the owner's style setter is
// told so, because only a FromThemeFile style has anything to take from the new theme then.
//
//   void TsuiPanel::SetFileTheme(TsuiFileTheme* t) { themeLink_.Set(t, [this] { SetUIStyle(style_); }); }
//   void TsuiPanel::SetUIStyle(TsuiUIStyle s) {
//       style_ = s;
//       if (themeLink_.Assigning() && s != FromThemeFile) return;   // nothing changes
//       ...
//   }
//   // in Notification:
//   if (themeLink_.Removed(component, operation)) { ...back to DeepBlue... }
#include "framework/TComponent.h"

#include <functional>

class TsuiFileTheme;

class TsuiThemeLink {
public:
    explicit TsuiThemeLink(TComponent& owner) : owner_(owner) {}
    ~TsuiThemeLink();
    TsuiThemeLink(const TsuiThemeLink&) = delete;
    TsuiThemeLink& operator=(const TsuiThemeLink&) = delete;

    TsuiFileTheme* Theme() const { return theme_; }
    // Links theme, then runs restyle with Assigning() true.
    void Set(TsuiFileTheme* theme, const std::function<void()>& restyle);
    bool Assigning() const { return assigning_; }
    // For the owner's Notification: true when the linked theme is going away; the link is then
    // empty.
    bool Removed(TComponent* component, TOperation operation);

private:
    TComponent& owner_;
    TsuiFileTheme* theme_ = nullptr;
    bool assigning_ = false;
};
