#pragma once
// TsuiForm: the skinned frame that makes an ordinary top-level form (its owner, the host) a
// skinned window. It is a panel filling the host's client area with a TsuiTitleBar at its top
// and, while a main menu is attached (Menu), a TsuiMenuBar below it; the window's content
// controls are its children.
//
// The host becomes a frameless window whose outer 3-pixel band (TForm::SetBorderBand) is the
// frame's: it paints it (PaintWindowBorder: border colour outside, the frame's colour inside, the
// title pictures continued along the top, arcs along rounded corners), cuts the window's shape
// (ApplyWindowRegion, a window mask) and sizes the window from it (TsuiWindowSizer). It follows
// the host's events: activation (the caption's active look), key presses (menu shortcuts), show
// (no second menu bar; a window off every screen comes back), resize and window-state changes
// (the maximised placement of TsuiMaximizePlacement, the restore glyph, the border, the shape).
// The keys of the whole application reach the menu through TsuiFormKeyboard.
//
//   auto* frame = new TsuiForm(form);     // the host is the owner; a second frame stays inert
//   frame->SetMenu(mainMenu);             // the menu bar appears
//   frame->SetUIStyle(WinXP);             // border, colours, shape, title bar and menu restyled
//
// Every skinned component publishes UIStyle and FileTheme; the theme manager sets them by name.
#include "framework/TBitmap.h"
#include "framework/TPanel.h"
#include "skin/TsuiFormBorder.h"
#include "skin/TsuiMenuHost.h"
#include "skin/TsuiTitleBarTypes.h"
#include "skin/TsuiUIStyle.h"

#include <QPointer>

#include <memory>

class QKeyEvent;
class TForm;
class TMainMenu;
class TsuiFileTheme;
class TsuiFormKeyboard;
class TsuiMaximizePlacement;
class TsuiMenuBar;
class TsuiTitleBar;
class TsuiTitleBarButtons;
class TsuiTitleBarSections;
class TsuiWindowSizer;

class TsuiForm : public TPanel, public TsuiMenuHost {
    Q_OBJECT
    Q_PROPERTY(bool TitleBarCustom READ TitleBarCustom WRITE SetTitleBarCustom)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(TsuiStyles::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(bool UIStyleAutoUpdateSub READ UIStyleAutoUpdateSub WRITE SetUIStyleAutoUpdateSub)
    Q_PROPERTY(int BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetFrameBorderWidth)
    Q_PROPERTY(bool TitleBarVisible READ TitleBarVisible WRITE SetTitleBarVisible)
    Q_PROPERTY(bool TitleBarDrawAppIcon READ TitleBarDrawAppIcon WRITE SetTitleBarDrawAppIcon)
    Q_PROPERTY(int MenuBarColor READ MenuBarColor WRITE SetMenuBarColor)
    Q_PROPERTY(int MenuBarHeight READ MenuBarHeight WRITE SetMenuBarHeight)
    Q_PROPERTY(int RoundCorner READ RoundCorner WRITE SetRoundCorner)
    Q_PROPERTY(QString Version READ Version WRITE SetVersion)

public:
    explicit TsuiForm(TComponent* owner);
    ~TsuiForm() override;

    // False for a frame that found another one on its host: it takes no part in the window.
    bool Hosting() const { return host_ != nullptr; }
    TForm* Host() const { return host_; }
    TsuiTitleBar* TitleBar() const { return titleBar_; }
    TsuiMenuBar* MenuBar() const { return menuBar_; }

    bool TitleBarCustom() const;
    void SetTitleBarCustom(bool value);
    TsuiFileTheme* FileTheme() const { return fileTheme_; }
    void SetFileTheme(TsuiFileTheme* theme);
    TsuiUIStyle UIStyle() const { return style_; }
    void SetUIStyle(TsuiUIStyle style);
    bool UIStyleAutoUpdateSub() const { return autoUpdateSub_; }
    void SetUIStyleAutoUpdateSub(bool value) { autoUpdateSub_ = value; }
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor value);
    // The outer border's width (TPanel's BorderWidth is the panel's own, kept at 0).
    int BorderWidth() const { return frameBorderWidth_; }
    void SetFrameBorderWidth(int value);
    bool TitleBarVisible() const;
    void SetTitleBarVisible(bool value);
    bool TitleBarDrawAppIcon() const;
    void SetTitleBarDrawAppIcon(bool value);
    TsuiTitleBarButtons& TitleBarButtons() const;
    void SetTitleBarButtons(const TsuiTitleBarButtons& buttons);
    TsuiTitleBarSections& TitleBarSections() const;
    void SetTitleBarSections(const TsuiTitleBarSections& sections);
    TColor MenuBarColor() const { return menuBarColor_; }
    void SetMenuBarColor(TColor value);
    int MenuBarHeight() const { return menuBarHeight_; }
    void SetMenuBarHeight(int value);
    // The title bar's corner while it is shown, 0 while it is hidden.
    int RoundCorner() const;
    void SetRoundCorner(int value);
    TPanel* FormPanel() const { return formPanel_; }
    void SetFormPanel(TPanel* panel);
    QString Version() const { return QStringLiteral("5.5"); }
    void SetVersion(const QString&) {}
    void SetColor(TColor value) override;

    TsuiTitleBarButtonClickEvent& OnTitleBarCustomBtnsClick() const;
    TsuiTitleBarButtonClickEvent& OnTitleBarHelpBtnClick() const;

    // --- the menu (TsuiMenuHost)
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu) override;
    void RebuildMenuBar() override;
    void UpdateMenuBarButtons() override;
    void UpdateMenuBarFont() override;

    // --- the window
    void PaintWindowBorder();
    void ApplyWindowRegion();
    // What PaintWindowBorder draws now, for the whole window.
    TsuiBorderLook BorderLook() const;
    // The window's shape as ApplyWindowRegion sets it.
    QRegion WindowRegion() const;

    // Runs the menu shortcut of a key pressed in the window: true when an item took it.
    bool TakeMenuShortcut(const QKeyEvent& event);

protected:
    void Paint() override;
    void FontChanged() override;
    void CaptionChanged() override;
    void Notification(TComponent* component, TOperation operation) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void attachTo(TForm* host);
    void tearDown();
    void createMenuBar();
    void removeMenuBar();
    void sizeChanged();
    void firstShow();

    TForm* host_ = nullptr;
    TsuiTitleBar* titleBar_ = nullptr;
    TsuiMenuBar* menuBar_ = nullptr;
    TsuiWindowSizer* sizer_ = nullptr;
    std::unique_ptr<TsuiFormKeyboard> keyboard_;
    std::unique_ptr<TsuiMaximizePlacement> placement_;
    TMainMenu* menu_ = nullptr;
    TsuiFileTheme* fileTheme_ = nullptr;
    TPanel* formPanel_ = nullptr;
    TsuiUIStyle style_ = DeepBlue;
    bool autoUpdateSub_ = false;
    TColor borderColor_ = 0;
    int frameBorderWidth_ = 1;
    TColor menuBarColor_ = 0;
    int menuBarHeight_ = 22;
    bool tearDown_ = false;
    bool shown_ = false;
    bool syncingFont_ = false;
    TBitmap pattern_;
    TsuiUIStyle patternStyle_ = DeepBlue;
};
