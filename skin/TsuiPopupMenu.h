#pragma once
// TsuiPopupMenu: a context menu whose drop-down items are measured and drawn like those of the
// skinned main menu (the same skin values, the same drawing). It has no hosting frame:
// UseSystemFont is a plain stored value. The check mark comes from one list shared by every
// popup menu of the program.
//
//   auto* menu = new TsuiPopupMenu(form);
//   ... add items ...
//   menu->Popup(x, y);                     // screen coordinates; returns when the menu closes
//
// Items added later (at run time) are drawn the same: the menu hooks each item that its owner
// receives, and hooks the whole tree again before it opens.
#include "framework/TMenu.h"
#include "skin/TsuiMenuSkin.h"

class TImageList;
class TsuiFileTheme;

class TsuiPopupMenu : public TPopupMenu {
    Q_OBJECT
    Q_PROPERTY(bool OwnerDraw READ OwnerDraw WRITE SetOwnerDraw)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(TsuiStyles::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(int MenuItemHeight READ MenuItemHeight WRITE SetMenuItemHeight)
    Q_PROPERTY(int SeparatorHeight READ SeparatorHeight WRITE SetSeparatorHeight)
    Q_PROPERTY(int BarWidth READ BarWidth WRITE SetBarWidth)
    Q_PROPERTY(int BarColor READ BarColor WRITE SetBarColor)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(int SeparatorColor READ SeparatorColor WRITE SetSeparatorColor)
    Q_PROPERTY(int SelectedBorderColor READ SelectedBorderColor WRITE SetSelectedBorderColor)
    Q_PROPERTY(int SelectedColor READ SelectedColor WRITE SetSelectedColor)
    Q_PROPERTY(int SelectedFontColor READ SelectedFontColor WRITE SetSelectedFontColor)
    Q_PROPERTY(int FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(int BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(bool FlatMenu READ FlatMenu WRITE SetFlatMenu)
    Q_PROPERTY(QString FontName READ FontName WRITE SetFontName)
    Q_PROPERTY(int FontSize READ FontSize WRITE SetFontSize)
    Q_PROPERTY(int FontCharset READ FontCharset WRITE SetFontCharset)
    Q_PROPERTY(bool UseSystemFont READ UseSystemFont WRITE SetUseSystemFont)

public:
    explicit TsuiPopupMenu(TComponent* owner);
    ~TsuiPopupMenu() override;

    // The owner-draw switch, set by the constructor; kept for stored forms, always true here.
    bool OwnerDraw() const { return true; }
    void SetOwnerDraw(bool) {}
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);

    TsuiFileTheme* FileTheme() const { return skin_.FileTheme; }
    void SetFileTheme(TsuiFileTheme* theme);
    TsuiUIStyle UIStyle() const { return skin_.UIStyle; }
    void SetUIStyle(TsuiUIStyle style);
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
    void SetUseSystemFont(bool value) { skin_.UseSystemFont = value; }

    // Hooks every item, then shows the drop-down at the screen point until it closes.
    void Popup(int x, int y) override;
    // Every item gets the skinned drawing (also done by Popup).
    void Loaded();

    void MeasureItem(TMenuItem* item, TCanvas& canvas, int& width, int& height);
    void DrawItem(TMenuItem* item, TCanvas& canvas, TRect rect, bool selected);
    const TsuiMenuSkin& Skin() const { return skin_; }

    // The check-mark list shared by every popup menu (made on first use).
    static TImageList* SharedCheckMarks();

protected:
    void MenuChanged(TMenuItem* source, bool rebuild) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void hook(TMenuItem* item);

    TImageList* images_ = nullptr;
    TsuiMenuSkin skin_;
};
