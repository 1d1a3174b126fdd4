#pragma once
// Menus: TMenuItem trees under a TMainMenu or TPopupMenu.
//
// Items are components, owned by the form like every other component (so FindComponent("N27")
// finds them) and held in their parent item's list (Items(i), Count(), Add, Insert, Remove).
// Freeing an item frees its sub-items. A caption of "-" makes a separator. Click() fires
// OnClick; the drop-down windows that show the items are made from the tree when they open
// (DropDown()), so changes show at the next opening. An item picked in a drop-down runs its
// click from the event loop once the drop-down has closed and its handling of the click or key
// has returned (so a command may open a modal dialog or free the menu).
//
// Owner drawing: when an item has OnMeasureItem and OnDrawItem, its line in a drop-down is
// measured and drawn by them (canvas over the drop-down, the line's rectangle, selected = the
// line is highlighted); other items are drawn by Qt's style. A handler that draws the drop-down's
// outer frame itself sets the drop-down's property "ownerDrawnFrame" to true, and Qt's frame is
// then left out.
//
// TMenu::OnChange fires on every change of the tree or of an item's caption, enabled or visible
// state (sender = the menu, source = the item or nullptr).
#include "framework/TComponent.h"
#include "framework/core/TRect.h"

#include <QKeySequence>
#include <QPointer>

#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;
class TCanvas;
class TMenu;

class TMenuItem : public TNonVisualComponent {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)

public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    bool Default() const { return default_; }
    void SetDefault(bool value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value) { imageIndex_ = value; }
    QKeySequence ShortCut() const { return shortCut_; }
    void SetShortCut(const QKeySequence& value);
    // The shortcut as the menu shows it ("Ctrl+S"), empty without one.
    QString ShortCutText() const { return shortCut_.toString(QKeySequence::NativeText); }
    bool IsLine() const { return caption_ == QLatin1String("-"); }

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    // The menu this item belongs to (through its parents), or nullptr.
    TMenu* GetParentMenu() const;

    virtual void Click();

    // The drop-down of this item's sub-items, built afresh from the tree.
    QMenu* DropDown(QWidget* parent = nullptr);

    TNotifyEvent OnClick;
    // Fires when the pointer or the arrow keys highlight the item in an open drop-down: the
    // moment before most picks, for work its command would otherwise wait for.
    TNotifyEvent OnHighlight;
    std::function<void(TMenuItem* sender, TCanvas& canvas, int& width, int& height)> OnMeasureItem;
    std::function<void(TMenuItem* sender, TCanvas& canvas, TRect rect, bool selected)> OnDrawItem;

private:
    friend class TMenu;
    void changed();
    void fill(QMenu* menu);

    QString caption_;
    bool enabled_ = true;
    bool checked_ = false;
    bool visible_ = true;
    bool default_ = false;
    int imageIndex_ = -1;
    QKeySequence shortCut_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr; // set on the root item of a menu
    std::vector<TMenuItem*> items_;
};

class TMenu : public TNonVisualComponent {
    Q_OBJECT
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    // The root item; its sub-items are the menu's top-level items.
    TMenuItem* Items() const { return items_; }

    // Finds a visible, enabled item whose shortcut is the key, runs its click, and says whether
    // one was found.
    bool IsShortCut(const QKeySequence& key);

    std::function<void(TMenu* sender, TMenuItem* source, bool rebuild)> OnChange;

protected:
    friend class TMenuItem;
    virtual void MenuChanged(TMenuItem* source, bool rebuild);

private:
    TMenuItem* items_;
};

class TMainMenu : public TMenu {
    Q_OBJECT
public:
    explicit TMainMenu(TComponent* owner);
    // A plain menu bar showing the top-level items, each opening its drop-down.
    QMenuBar* CreateMenuBar(QWidget* parent);
};

class TPopupMenu : public TMenu {
    Q_OBJECT
public:
    explicit TPopupMenu(TComponent* owner);
    // Shows the items at the screen point and returns once the menu has closed; the picked
    // item's click follows from the event loop.
    virtual void Popup(int x, int y);
    TNotifyEvent OnPopup;
};
