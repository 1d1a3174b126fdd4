#pragma once
// TsuiTitleBar: the skinned caption strip of a window, aligned to the top of its parent. It
// paints three picture pieces, a row of picture buttons (control box, close, maximise/restore,
// minimise, help, custom) and the caption, in one off-screen bitmap copied in one block. A press
// on a free spot moves the window, a double-click toggles maximise/restore, and the control box
// opens the title-bar menu. Every window action goes to the form that contains the bar.
//
// Framed: the bar's parent control is the skinned form frame (a TsuiForm). A framed bar draws
// its pictures 3 pixels up and left, continuing the 3-pixel strip the frame paints around it,
// and its height and button band are 3 pixels less than the pictures'.
//
//   auto* bar = new TsuiTitleBar(frame);   // owner; then bar->SetParent(frame)
//   bar->SetUIStyle(WinXP);                // pieces, buttons, height, offsets, caption colour
//   bar->SetCaption("Zelmora");
//   bar->UpdateMaximizeButtons();          // after the form's window state changed
//   bar->TitleBarPopupMenu()->Popup(x, y); // the window menu (Alt+Space)
//
// With Custom set, style changes only store UIStyle: user-supplied pieces and buttons stay.
#include "framework/TBitmap.h"
#include "framework/TControl.h"
#include "framework/TPointerWindowMove.h"
#include "skin/TsuiTitleBarButton.h"
#include "skin/TsuiTitleBarPopupMenu.h"
#include "skin/TsuiTitleBarSection.h"
#include "skin/TsuiTitleBarTypes.h"
#include "skin/TsuiUIStyle.h"

#include <QFont>
#include <QTimer>

class TBitmap;
class TForm;
class TsuiFileTheme;

class TsuiTitleBar : public TControl {
    Q_OBJECT
    Q_PROPERTY(bool Custom READ Custom WRITE SetCustom)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(TsuiStyles::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(int ButtonInterval READ ButtonInterval WRITE SetButtonInterval)
    Q_PROPERTY(bool FormActive READ FormActive WRITE SetFormActive)
    Q_PROPERTY(int LeftBtnXOffset READ LeftBtnXOffset WRITE SetLeftBtnXOffset)
    Q_PROPERTY(int RightBtnXOffset READ RightBtnXOffset WRITE SetRightBtnXOffset)
    Q_PROPERTY(bool DrawAppIcon READ DrawAppIcon WRITE SetDrawAppIcon)
    Q_PROPERTY(int RoundCorner READ RoundCorner WRITE SetRoundCorner)

public:
    // With a parent given, the bar is placed there before its style is applied, so a framed bar
    // gets its framed height and band at once.
    explicit TsuiTitleBar(TComponent* owner, TControl* parent = nullptr);
    ~TsuiTitleBar() override;

    bool Custom() const { return custom_; }
    void SetCustom(bool value) { custom_ = value; }
    TsuiFileTheme* FileTheme() const { return fileTheme_; }
    // Stores the theme and applies the current style again, keeping the caption colour.
    void SetFileTheme(TsuiFileTheme* theme);
    TsuiUIStyle UIStyle() const { return style_; }
    void SetUIStyle(TsuiUIStyle style);
    bool AutoSize() const { return autoSize_; }
    // Either value: the height becomes section 0's picture height (3 less when framed); without
    // sections AutoSize stays false and the height stays.
    void SetAutoSize(bool value);
    TsuiTitleBarSections& Sections() { return *sections_; }
    void SetSections(const TsuiTitleBarSections& sections);
    TsuiTitleBarButtons& Buttons() { return *buttons_; }
    void SetButtons(const TsuiTitleBarButtons& buttons);
    int ButtonInterval() const { return buttonInterval_; }
    void SetButtonInterval(int value);
    // Caption, Font, Height, Visible: the control's own (a change repaints).
    bool FormActive() const { return formActive_; }
    void SetFormActive(bool value);
    int LeftBtnXOffset() const { return leftBtnXOffset_; }
    void SetLeftBtnXOffset(int value);
    int RightBtnXOffset() const { return rightBtnXOffset_; }
    void SetRightBtnXOffset(int value);
    bool DrawAppIcon() const { return drawAppIcon_; }
    void SetDrawAppIcon(bool value);
    // Stored for the frame, which cuts its window region with it; no repaint.
    int RoundCorner() const { return roundCorner_; }
    void SetRoundCorner(int value) { roundCorner_ = value; }

    TsuiTitleBarButtonClickEvent OnCustomBtnsClick;
    TsuiTitleBarButtonClickEvent OnHelpBtnClick;

    // --- what the frame uses
    // Every suiMax button shows the glyph for the form's window state.
    void UpdateMaximizeButtons();
    // The pictures of sections 0, 1, 2; nullptr when the collection is shorter.
    const TBitmap* LeftPicture() const;
    const TBitmap* RightPicture() const;
    const TBitmap* ClientPicture() const;
    // Exactly three sections.
    bool HasAllPictures() const;
    bool IsFramed() const;
    TsuiTitleBarPopupMenu* TitleBarPopupMenu() const { return menu_; }
    // What a minimise button does: the main form minimises the whole application, any other
    // form only itself.
    void MinimizeForm();

    // --- state the paint finds, for the frame and for tests
    // The form whose window the bar acts on (the form it sits on), or nullptr.
    TForm* TitleBarForm() const;
    // Index in Buttons of the button under the pointer at the last paint, -1 for none.
    int HotIndex() const { return hotIndex_; }
    bool Pressed() const { return pressed_; }
    // The style's button top, 3 less when framed.
    int ButtonBandTop() const { return bandTop_; }
    // The caption as the last paint showed it (shortened with "..." when it did not fit), and
    // where it started.
    QString ShownCaption() const { return shownCaption_; }
    TPoint CaptionOrigin() const { return captionOrigin_; }
    // Composes the whole bar into bitmap (sized to the bar), exactly as Paint shows it.
    void PaintTo(TBitmap& bitmap);

protected:
    virtual void PaintSections(TBitmap& bitmap);
    virtual void PaintButtonsAndCaption(TBitmap& bitmap);

    void SetParent(TControl* parent) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void DblClick() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TsuiTitleBarButton;
    void framedChanged();
    // Composes the bar into buffer_ now (finding the hot button) and has it copied.
    void refresh();
    void endMove();
    void controlBoxReleased();
    void closeFromControlBox();

    bool custom_ = false;
    TsuiFileTheme* fileTheme_ = nullptr;
    TsuiUIStyle style_ = DeepBlue;
    bool autoSize_ = false;
    TsuiTitleBarSections* sections_ = nullptr;
    TsuiTitleBarButtons* buttons_ = nullptr;
    int buttonInterval_ = 0;
    bool formActive_ = true;
    int leftBtnXOffset_ = 0;
    int rightBtnXOffset_ = 0;
    bool drawAppIcon_ = false;
    int roundCorner_ = 0;
    TsuiTitleBarPopupMenu* menu_ = nullptr;

    int hotIndex_ = -1;
    bool pressed_ = false;
    int styleButtonTop_ = 0; // the style's button top, before the framed shift
    int bandTop_ = 0;
    int stripHeight_ = 0;
    bool keepFont_ = false;
    QString shownCaption_;
    QString fitCaption_; // what shownCaption_ was cut from, in what space and font
    int fitWidth_ = -1;
    QFont fitFont_;
    TPoint captionOrigin_;
    // The window move: armed by a press on a free spot, started on the first drag.
    bool moveArmed_ = false;
    TPoint pressScreen_;
    TPointerWindowMove fallbackMove_;
    TBitmap buffer_;
    bool bufferFresh_ = false;
    // A single click on the control box opens the window menu once a double-click can no
    // longer follow; a double-click closes the window instead. The other event of the closing
    // double-click (its last release, or a double-click event after it) is then left alone.
    QTimer controlBoxWait_;
    bool controlBoxClosed_ = false;
};
