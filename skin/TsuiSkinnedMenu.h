#pragma once
// TsuiSkinnedMenu: what the skinned main menu and the skinned popup menu have in common, mixed
// into both next to their framework menu class: the skin values and their accessors, the user's
// image list, the file theme with its free notification, and the item hooks that route each
// item's measuring and drawing to the menu.
//
//   class TsuiPopupMenu : public TPopupMenu, public TsuiSkinnedMenu { ... };
//   TsuiPopupMenu::TsuiPopupMenu(TComponent* owner) : TPopupMenu(owner), TsuiSkinnedMenu(this) {}
//
// The menu answers checkMarks() with the list its drop-downs draw the check mark from, and
// passes removals on to forgetRemoved() from its Notification.
#include "skin/TsuiMenuSkin.h"

class TComponent;
class TImageList;
class TMenuItem;
class TsuiFileTheme;

class TsuiSkinnedMenu {
public:
    // menu: the component this is mixed into; its QObject must be whole while items draw.
    explicit TsuiSkinnedMenu(TComponent* menu) : menu_(*menu) {}
    virtual ~TsuiSkinnedMenu() = default;
    TsuiSkinnedMenu(const TsuiSkinnedMenu&) = delete;
    TsuiSkinnedMenu& operator=(const TsuiSkinnedMenu&) = delete;

    // The owner-draw switch; kept for stored forms, always true here.
    bool OwnerDraw() const { return true; }
    void SetOwnerDraw(bool) {}
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);

    TsuiFileTheme* FileTheme() const { return skin_.FileTheme; }
    void SetFileTheme(TsuiFileTheme* theme);
    TsuiUIStyle UIStyle() const { return skin_.UIStyle; }
    void SetUIStyle(TsuiUIStyle style) { skin_.ApplyStyle(style); }
    int MenuItemHeight() const { return skin_.MenuItemHeight; }
    void SetMenuItemHeight(int value) { skin_.SetMenuItemHeight(value); }
    int SeparatorHeight() const { return skin_.SeparatorHeight; }
    void SetSeparatorHeight(int value) { skin_.SetSeparatorHeight(value); }
    int BarWidth() const { return skin_.BarWidth; }
    void SetBarWidth(int value) { skin_.BarWidth = value; }
    TColor BarColor() const { return skin_.BarColor; }
    void SetBarColor(TColor value) { skin_.BarColor = value; }
    TColor Color() const { return skin_.Color; }
    void SetColor(TColor value) { skin_.Color = value; }
    TColor SeparatorColor() const { return skin_.SeparatorColor; }
    void SetSeparatorColor(TColor value) { skin_.SeparatorColor = value; }
    TColor SelectedBorderColor() const { return skin_.SelectedBorderColor; }
    void SetSelectedBorderColor(TColor value) { skin_.SelectedBorderColor = value; }
    TColor SelectedColor() const { return skin_.SelectedColor; }
    void SetSelectedColor(TColor value) { skin_.SelectedColor = value; }
    TColor SelectedFontColor() const { return skin_.SelectedFontColor; }
    void SetSelectedFontColor(TColor value) { skin_.SelectedFontColor = value; }
    TColor FontColor() const { return skin_.FontColor; }
    void SetFontColor(TColor value) { skin_.FontColor = value; }
    TColor BorderColor() const { return skin_.BorderColor; }
    void SetBorderColor(TColor value) { skin_.BorderColor = value; }
    bool FlatMenu() const { return skin_.FlatMenu; }
    void SetFlatMenu(bool value) { skin_.FlatMenu = value; }
    QString FontName() const { return skin_.FontName; }
    void SetFontName(const QString& value) { skin_.FontName = value; }
    int FontSize() const { return skin_.FontSize; }
    void SetFontSize(int value) { skin_.FontSize = value; }
    int FontCharset() const { return skin_.FontCharset; }
    void SetFontCharset(int value) { skin_.FontCharset = value; }
    bool UseSystemFont() const { return skin_.UseSystemFont; }

    // The shared measuring and drawing, as the item handlers run them.
    void MeasureItem(TMenuItem* item, TCanvas& canvas, int& width, int& height);
    void DrawItem(TMenuItem* item, TCanvas& canvas, TRect rect, bool selected);
    const TsuiMenuSkin& Skin() const { return skin_; }

protected:
    // The list the drop-downs take the check mark from.
    virtual TImageList* checkMarks() const = 0;
    // Gives item the skinned measuring and drawing of this menu.
    void hook(TMenuItem* item);
    // component is going away: a file theme leaves the built-in style behind, an image list
    // is dropped.
    void forgetRemoved(TComponent* component);

    TsuiMenuSkin skin_;

private:
    TComponent& menu_;
    TImageList* images_ = nullptr;
};
