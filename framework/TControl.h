#pragma once
// The control base: a QWidget that is a component, with classic geometry and alignment.
//
// Geometry: Left(), Top(), Width(), Height() and SetBounds(l, t, w, h) are relative to the parent
// control (for a form: its frame on the screen). ClientRect() is (0, 0, ClientWidth, ClientHeight).
// Every size change goes through SetBounds, which first asks CheckNewSize: the size veto
// CanResize(w, h) (return false to keep the old size, or change w/h) and then the size
// Constraints. A size change runs Resize() at once, also for a hidden control: it realigns the
// children and fires OnResize. Subclasses may hide Width()/Height() with their own meaning (the
// framework itself always uses TControl's).
//
// Alignment: children with Align() top, bottom, left, right or client are laid out by the parent
// in that order inside the rectangle AlignControls receives, the client rectangle. Override
// AlignControls(aControl, rect) to change that rectangle before calling TControl::AlignControls,
// which first hands it to AdjustClientRect(rect) (a panel takes its borders off there). Children
// of one alignment are stacked by position; aControl (the child whose change caused the
// realignment) goes first among its peers. DisableAlign()/EnableAlign() batch changes.
//
// Painting: override Paint() and draw on Canvas() (valid only inside Paint). The default Paint
// fills the client rectangle with Color() unless Color() is clNone. Background erasing is off:
// Paint covers every pixel it wants shown.
//
// Events are public std::function members, called only when set: OnResize, OnClick, OnDblClick,
// OnMouseDown/Move/Up, OnMouseEnter/Leave, OnKeyDown, OnKeyPress. The virtual methods of the
// same names (Click, MouseDown, ...) fire them; override those to act before or after.
// An exception thrown by a handler reaches Application's HandleException.
#include "framework/TColor.h"
#include "framework/TComponent.h"
#include "framework/TFont.h"
#include "framework/core/TRect.h"

#include <QWidget>

#include <memory>

#include <vector>

class TCanvas;
class TBitmap;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TShiftState = unsigned;
constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32,
                      ssDouble = 64;

enum TCursor {
    crDefault,
    crArrow,
    crHSplit,
    crVSplit,
    crHandPoint,
    crIBeam,
    crSizeWE,
    crSizeNS,
    crHourGlass
};

struct TSizeConstraints {
    int MinWidth = 0;
    int MinHeight = 0;
    int MaxWidth = 0; // 0: no limit
    int MaxHeight = 0;
};

using TMouseEvent =
    std::function<void(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TComponent* sender, int& key, TShiftState shift)>;
// key is the typed character (UTF-16); setting it to 0 swallows it.
using TKeyPressEvent = std::function<void(TComponent* sender, char16_t& key)>;

class TControl : public QWidget, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(int Align READ AlignValue WRITE SetAlignValue)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int Color READ Color WRITE SetColor)

public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    // --- parent and children
    TControl* Parent() const { return parent_; }
    virtual void SetParent(TControl* parent);
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(static_cast<std::size_t>(index)); }
    // The form this control sits on (itself for a form), or nullptr.
    class TForm* ParentForm() const;

    // --- geometry
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int value);
    void SetTop(int value);
    void SetWidth(int value);
    void SetHeight(int value);
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(Left(), Top(), TControl::Width(), TControl::Height()); }
    // The inside: the whole widget, less the band a frameless window keeps for its border
    // (TForm::SetBorderBand).
    int ClientWidth() const { return width() - 2 * clientInset_; }
    int ClientHeight() const { return height() - 2 * clientInset_; }
    void SetClientWidth(int value);
    void SetClientHeight(int value);
    virtual TRect ClientRect() const { return Rect(0, 0, ClientWidth(), ClientHeight()); }
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;
    TSizeConstraints& Constraints() { return constraints_; }
    void SetConstraints(const TSizeConstraints& c);

    // --- alignment
    TAlign Align() const { return align_; }
    virtual void SetAlign(TAlign value);
    int AlignValue() const { return align_; }
    void SetAlignValue(int value) { SetAlign(static_cast<TAlign>(value)); }
    void Realign();
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();
    bool AlignDisabled() const { return alignDisabled_ > 0; }

    // --- state
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool value) { setEnabled(value); }
    // True while the control is shown on the screen (it and all its parents visible).
    bool Showing() const { return isVisible(); }

    QString Caption() const { return caption_; }
    void SetCaption(const QString& value);
    QString Hint() const { return hint_; }
    void SetHint(const QString& value);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    TColor Color() const { return color_; }
    virtual void SetColor(TColor value);
    // The control's font; changing it repaints the control (FontChanged).
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);

    // --- painting
    void Invalidate() { update(); }
    // Paints now, before returning.
    void Repaint() { repaint(); }
    // Inside Paint: the canvas over the control. Elsewhere: a measuring canvas in the control's
    // font (TextWidth and the like; what is drawn on it is not shown).
    TCanvas* Canvas() const;

    // --- events
    TNotifyEvent OnResize;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;

    virtual void Click();
    virtual void DblClick();

protected:
    virtual void AlignControls(TControl* aControl, TRect& rect);
    virtual void AdjustClientRect(TRect& rect);
    virtual bool CanResize(int& newWidth, int& newHeight);
    bool CheckNewSize(int& newWidth, int& newHeight);
    virtual void Resize();
    virtual void Paint();
    virtual void CaptionChanged() { Invalidate(); }
    virtual void FontChanged() { Invalidate(); }
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void KeyDown(int& key, TShiftState shift);
    virtual void KeyPress(char16_t& key);
    // The realignment a change of this child asks of its parent.
    void RequestAlign();
    // Children are aligned inside the widget less this band on every side.
    void SetClientInset(int inset);
    int ClientInset() const { return clientInset_; }

    // Qt side. Subclasses that override these call the base to keep the classic events.
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    static TShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

private:
    void applyGeometry(int left, int top, int width, int height);
    void doAlign(TAlign align, TControl* aControl, TRect& rect);
    void paintWithCanvas(QPaintEvent* event);

    TControl* parent_ = nullptr;
    std::vector<TControl*> controls_;
    TAlign align_ = alNone;
    int alignDisabled_ = 0;
    bool alignPending_ = false;
    bool visible_ = true;
    bool showHint_ = false;
    bool clickPending_ = false;
    QString caption_;
    QString hint_;
    TColor color_;
    TCursor cursor_ = crDefault;
    TSizeConstraints constraints_;
    QSize reportedSize_;
    TFont font_;
    TCanvas* canvas_ = nullptr;
    mutable std::unique_ptr<TBitmap> measure_;
    int tag_ = 0;
    int clientInset_ = 0;
};

// Runs f, handing any exception to Application->HandleException (used at every point where
// Qt calls into the framework, since exceptions must not cross Qt's event loop).
void GuardEvent(const std::function<void()>& f);
