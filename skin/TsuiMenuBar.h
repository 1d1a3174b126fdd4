#pragma once
// The menu bar of a skinned frame: a flat strip under the title bar with one caption button per
// top-level item of the attached menu, drawn entirely here in the colours of the menu's style.
//
//   bar->SetMenu(menu);          // the menu whose items the buttons show
//   bar->Rebuild();              // one button per top-level item, in the menu's order
//   bar->UpdateButtons();        // captions and enabled states follow the items
//
// Buttons size themselves to their captions and wrap onto further rows when the bar is too
// narrow; the bar's height fits its rows. A click opens the item's drop-down below its button
// (an item without sub-items runs its click). Keyboard: FocusBar() (F10, a lone Alt) highlights
// the first button; Left/Right move, Down/Enter/Space open, Escape leaves; inside an open
// drop-down Left/Right move to the neighbouring drop-down; OpenByMnemonic(key) opens the button
// whose caption marks that letter with "&".
//
// The effective style and file theme are the menu's UIStyle and FileTheme when the menu publishes
// them (the skinned main menu), else the frame's (SetFrameStyle). The font: the menu's system
// font or its FontName/FontSize/FontCharset/FontColor when it publishes UseSystemFont, else the
// bar's own Font(). The bar keeps its bitmaps, the colours its style resolves to and its painted
// picture until something they show changes (style, size, font, buttons, the hot or pressed one).
#include "framework/TBitmap.h"
#include "framework/TControl.h"
#include "skin/TsuiUIStyle.h"

#include <QFont>
#include <QPointer>

#include <optional>

#include <QMenu>
class TMenu;
class TMenuItem;
class TsuiFileTheme;

struct TsuiMenuBarButton {
    TMenuItem* Item = nullptr;
    QString Caption;
    bool Enabled = true;
    TRect Bounds; // in bar coordinates
};

class TsuiMenuBar : public TControl {
    Q_OBJECT
public:
    explicit TsuiMenuBar(TComponent* owner);
    ~TsuiMenuBar() override;

    // The tool bar's own button height, which new buttons take.
    static constexpr int kDefaultButtonHeight = 22;

    TMenu* Menu() const { return menu_; }
    void SetMenu(TMenu* menu);
    void SetFrameStyle(TsuiUIStyle style, TsuiFileTheme* fileTheme);

    void Rebuild();
    void UpdateButtons();
    void UpdateFont();
    // The height of the bar and of every present button (new buttons keep the default).
    void SetButtonsHeight(int height);

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    const TsuiMenuBarButton& Button(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }
    int ButtonHeight() const { return buttonHeight_; }
    int ButtonAt(int x, int y) const;
    int HotIndex() const { return hot_; }
    int PressedIndex() const { return pressed_; }
    // The open drop-down, if any.
    QMenu* OpenMenu() const { return open_; }

    TsuiUIStyle EffectiveStyle() const;
    TsuiFileTheme* EffectiveFileTheme() const;

    void FocusBar();
    void LeaveBar();
    bool KeyboardActive() const { return keyboard_; }
    // Opens the drop-down of the enabled button whose caption marks this letter; false if none.
    bool OpenByMnemonic(int key);
    // Opens a button's drop-down (or runs the click of an item without sub-items); with
    // fromKeyboard the first item is highlighted.
    void OpenButton(int index, bool fromKeyboard);

    // Paints the bar and its buttons onto a canvas of the bar's size (what Paint shows).
    void PaintTo(TCanvas& canvas);

protected:
    void Paint() override;
    void Resize() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void Notification(TComponent* component, TOperation operation) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The colours and bitmap the effective style and theme resolve to.
    struct Look {
        bool Valid = false;
        TsuiUIStyle Style = DeepBlue;
        const TsuiFileTheme* Theme = nullptr;
        TColor SelectedFont = 0;
        TColor SelectedBackground = 0;
        TColor SelectedBorder = 0;
        TColor Text = 0;
        TBitmap MacStrip;   // MacOS only
        int Generation = 0; // counts the resolutions
    };
    // What the kept picture was painted for.
    struct PictureKey {
        int Width, Height, Hot, Pressed;
        TColor Color;
        int LookGeneration;
        QFont Font;
        TColor FontColor;
        qreal Ratio;
        bool operator==(const PictureKey&) const = default;
    };
    const Look& look();
    void layoutButtons();
    void paintBackground(TCanvas& canvas, const TRect& r);
    void paintButton(TCanvas& canvas, int index, const TFont& font);
    TFont buttonFont() const;
    void closeMenu();
    void menuClosed();
    void step(int delta, bool open);
    void setHot(int index);

    TMenu* menu_ = nullptr;
    std::vector<TsuiMenuBarButton> buttons_;
    TsuiUIStyle frameStyle_ = DeepBlue;
    TsuiFileTheme* frameFileTheme_ = nullptr;
    int buttonHeight_ = kDefaultButtonHeight;
    int hot_ = -1;
    int pressed_ = -1;
    bool mouseHeld_ = false;
    bool keyboard_ = false;
    int justClosed_ = -1;
    QPointer<QMenu> open_;
    QPointer<QWidget> focusBefore_;
    Look look_;
    TBitmap offscreen_;
    std::optional<PictureKey> pictureKey_;
};
