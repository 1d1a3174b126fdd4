#pragma once
// TsuiMainMenu: the window's main menu with every drop-down item measured and drawn in the
// colours of the current style. Its top-level items are shown by the skinned frame's menu bar
// (the frame is its TsuiMenuHost); the drop-downs are the framework's, drawn through the item
// handlers this menu installs on every item, so keyboard navigation, submenus and their arrows
// and the drop-down's own frame stay the platform's.
//
//   auto* menu = new TsuiMainMenu(form);   // styled with the form's frame; attached to the frame
//   ... build the item tree (items owned by the form) ...
//   menu->Loaded();                        // hooks every item, has the frame build its menu bar
//   menu->SetUIStyle(MacOS);               // the new colours show at the next opening
//
// OwnerDraw always reads true. Images reads the user's image list, or nullptr while only the
// check-mark list is installed; setting nullptr installs the check-mark list again.
#include "framework/TMenu.h"
#include "skin/TsuiMenuSkin.h"

class TImageList;
class TsuiFileTheme;
class TsuiMenuHost;

class TsuiMainMenu : public TMainMenu {
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
    explicit TsuiMainMenu(TComponent* owner);
    ~TsuiMainMenu() override;

    bool OwnerDraw() const { return true; }
    void SetOwnerDraw(bool) {}
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    // The image list the drop-downs use: the user's, else the check-mark list.
    TImageList* CheckMarks() const { return checkMarks_; }

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
    // Tells the hosting frame, which gives its menu bar the matching font.
    void SetUseSystemFont(bool value);

    // The frame that shows the top-level items; set and cleared by that frame.
    TsuiMenuHost* MenuHost() const { return host_; }
    void SetMenuHost(TsuiMenuHost* host) { host_ = host; }

    // The stored tree is complete: every item gets the skinned drawing, and the hosting frame
    // rebuilds its menu bar.
    void Loaded();

    // The shared measuring and drawing, as the item handlers run them.
    void MeasureItem(TMenuItem* item, TCanvas& canvas, int& width, int& height);
    void DrawItem(TMenuItem* item, TCanvas& canvas, TRect rect, bool selected);
    const TsuiMenuSkin& Skin() const { return skin_; }

protected:
    void MenuChanged(TMenuItem* source, bool rebuild) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void hook(TMenuItem* item);

    TImageList* checkMarks_ = nullptr;
    TImageList* images_ = nullptr;
    TsuiMenuSkin skin_;
    TsuiMenuHost* host_ = nullptr;
};
