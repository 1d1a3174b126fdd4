#pragma once
// TsuiMenuHost: what the skinned main menu asks of the frame that shows its top-level items in a
// menu bar (the skinned form frame implements it).
//
// The menu and its host refer to each other; each reference is cleared when the other goes:
//   - the host sets the menu's reference when the menu is attached to it
//     (menu->SetMenuHost(this)) and clears it (SetMenuHost(nullptr)) when the menu is detached
//     and when the host itself is torn down or destroyed;
//   - a menu destroyed first is forgotten by the host through the ordinary removal notice of
//     components (the host asks for TComponent::FreeNotification when the menu is attached).
//
// Calls the menu makes:
//   SetMenu(menu)          right after a main menu is constructed on a form: the first skinned
//                          frame among the form's direct child controls attaches it (its Menu
//                          setter: it records itself in the menu and builds the menu bar)
//   RebuildMenuBar()       the menu's tree has been loaded (TsuiMainMenu::Loaded): recreate the
//                          menu-bar buttons from the top-level items
//   UpdateMenuBarButtons() any change of the item tree or of an item (caption, enabled, visible):
//                          copy each top-level item's caption and enabled state to its button
//   UpdateMenuBarFont()    the menu's UseSystemFont changed: the bar takes the system menu font
//                          or the menu's FontName, FontSize, FontCharset, and repaints
class TMainMenu;

class TsuiMenuHost {
public:
    virtual ~TsuiMenuHost() = default;

    virtual void SetMenu(TMainMenu* menu) = 0;
    virtual void RebuildMenuBar() = 0;
    virtual void UpdateMenuBarButtons() = 0;
    virtual void UpdateMenuBarFont() = 0;
};
