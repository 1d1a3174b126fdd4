#include "framework/TMenu.h"

#include "framework/TCanvas.h"
#include "framework/TControl.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

#include <algorithm>

namespace {

// A drop-down whose owner-drawn items are measured and drawn by their items' handlers.
class TMenuDropDown : public QMenu {
public:
    // Separators show wherever they stand, as classic menus show them.
    explicit TMenuDropDown(QWidget* parent) : QMenu(parent) { setSeparatorsCollapsible(false); }

    // QMenu asks the style about one action at a time right after this call; the style below
    // reads which one it is from here.
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override {
        QMenu::initStyleOption(option, action);
        current = action;
    }
    mutable const QAction* current = nullptr;
};

TFont menuFont() {
    TFont font;
    const QFont qt = QApplication::font("QMenu");
    int pixels = qt.pixelSize();
    if (pixels <= 0)
        pixels = int(qt.pointSizeF() * 96.0 / 72.0 + 0.5);
    font.SetName(qt.family());
    font.SetHeight(pixels);
    return font;
}

TMenuItem* ownerDrawnItem(const QAction* action) {
    if (!action)
        return nullptr;
    auto* item = static_cast<TMenuItem*>(action->data().value<QObject*>());
    return item && item->OnDrawItem && item->OnMeasureItem ? item : nullptr;
}

class TMenuStyle : public QProxyStyle {
public:
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        if (type == CT_MenuItem)
            if (auto* menu = dynamic_cast<const TMenuDropDown*>(widget))
                if (TMenuItem* item = ownerDrawnItem(menu->current)) {
                    QImage scratch(1, 1, QImage::Format_RGB32);
                    QPainter painter(&scratch);
                    TCanvas canvas(&painter);
                    // The measuring canvas carries the desktop's menu font, as the drawing
                    // canvas does unless the item's handler picks another.
                    canvas.Font().Assign(menuFont());
                    int w = 0, h = 0;
                    GuardEvent([&] { item->OnMeasureItem(item, canvas, w, h); });
                    return QSize(w, h);
                }
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }

    // A drop-down whose items draw its outer frame themselves (a flat frame) has its property
    // "ownerDrawnFrame" set: the platform's frame, drawn after the items, stays off it.
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_FrameMenu && widget && widget->property("ownerDrawnFrame").toBool())
            return;
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    // The arrow of an item that opens a submenu stays the platform's, over the owner's drawing.
    void drawSubMenuArrow(const QStyleOption* option, QPainter* painter, const QWidget* widget) const {
        const auto* menuItem = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (!menuItem || menuItem->menuItemType != QStyleOptionMenuItem::SubMenu)
            return;
        const QRect r = option->rect;
        const int size = std::max(4, std::min(r.height() / 2, 8));
        QStyleOption arrow(*option);
        arrow.rect = QRect(r.right() - size - 4, r.top() + (r.height() - size) / 2, size, size);
        // The highlight may be dark: the arrow takes the text colour that fits it.
        if (option->state & State_Selected)
            arrow.palette.setColor(QPalette::ButtonText, option->palette.color(QPalette::HighlightedText));
        proxy()->drawPrimitive(PE_IndicatorArrowRight, &arrow, painter, widget);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_MenuItem)
            if (auto* menu = dynamic_cast<const TMenuDropDown*>(widget))
                if (TMenuItem* item = ownerDrawnItem(menu->current)) {
                    TCanvas canvas(painter);
                    const QRect r = option->rect;
                    const bool selected = option->state & State_Selected;
                    GuardEvent([&] {
                        item->OnDrawItem(item, canvas, Bounds(r.x(), r.y(), r.width(), r.height()), selected);
                    });
                    drawSubMenuArrow(option, painter, widget);
                    return;
                }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

// A picked item's command runs from the event loop once the menu's own handling of the click or
// key has returned, as a classic menu posts its command after its menu loop has ended. A command
// run inside that handling (a modal dialog's event loop, say) would let the drop-down be freed
// under the handler, which then writes into freed memory. An item freed before then runs nothing.
void clickWhenMenuHasClosed(TMenuItem* item) {
    QMetaObject::invokeMethod(
        item, [item] { GuardEvent([item] { item->Click(); }); }, Qt::QueuedConnection);
}

QStyle* menuStyle() {
    static TMenuStyle* style = new TMenuStyle;
    return style;
}

} // namespace

TMenuItem::TMenuItem(TComponent* owner) : TNonVisualComponent(owner) {}

TMenuItem::~TMenuItem() {
    // Sub-items go with their parent, as the classic menu frees them.
    while (!items_.empty()) {
        TMenuItem* last = items_.back();
        items_.pop_back();
        last->parent_ = nullptr;
        delete last;
    }
    if (parent_) {
        auto& list = parent_->items_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        parent_->changed();
    }
}

void TMenuItem::SetCaption(const QString& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    changed();
}

void TMenuItem::SetEnabled(bool value) {
    if (value == enabled_)
        return;
    enabled_ = value;
    changed();
}

void TMenuItem::SetChecked(bool value) {
    checked_ = value;
    changed();
}

void TMenuItem::SetVisible(bool value) {
    if (value == visible_)
        return;
    visible_ = value;
    changed();
}

void TMenuItem::SetDefault(bool value) {
    default_ = value;
    changed();
}

void TMenuItem::SetShortCut(const QKeySequence& value) {
    shortCut_ = value;
    changed();
}

int TMenuItem::MenuIndex() const {
    if (!parent_)
        return -1;
    auto& list = parent_->items_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item || item == this)
        return;
    if (item->parent_)
        item->parent_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    if (TMenu* menu = GetParentMenu())
        menu->MenuChanged(item, true);
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end())
        return;
    items_.erase(it);
    item->parent_ = nullptr;
    if (TMenu* menu = GetParentMenu())
        menu->MenuChanged(nullptr, true);
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* root = this;
    while (root->parent_)
        root = root->parent_;
    return root->menu_;
}

void TMenuItem::Click() {
    CallEvent(OnClick, this);
}

void TMenuItem::changed() {
    if (TMenu* menu = GetParentMenu())
        menu->MenuChanged(this, false);
}

QMenu* TMenuItem::DropDown(QWidget* parent) {
    auto* menu = new TMenuDropDown(parent);
    menu->setStyle(menuStyle());
    fill(menu);
    return menu;
}

void TMenuItem::fill(QMenu* menu) {
    for (TMenuItem* item : items_) {
        if (!item->visible_)
            continue;
        if (item->IsLine()) {
            QAction* separator = menu->addSeparator();
            separator->setData(QVariant::fromValue<QObject*>(item));
            continue;
        }
        QAction* action = nullptr;
        if (item->Count() > 0) {
            auto* sub = new TMenuDropDown(menu);
            sub->setStyle(menuStyle());
            sub->setTitle(item->caption_);
            item->fill(sub);
            action = menu->addMenu(sub);
        } else {
            action = menu->addAction(item->caption_);
            QObject::connect(action, &QAction::triggered, item, [item] { clickWhenMenuHasClosed(item); });
            QObject::connect(action, &QAction::hovered, item, [item] {
                if (item->OnHighlight && item->enabled_)
                    item->OnHighlight(item);
            });
        }
        action->setData(QVariant::fromValue<QObject*>(item));
        action->setEnabled(item->enabled_);
        if (item->checked_) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        // An owner-drawn item draws its own shortcut text inside the width it measured; given
        // to the action, Qt would widen the drop-down by a shortcut column of its own.
        if (!item->shortCut_.isEmpty() && !(item->OnDrawItem && item->OnMeasureItem))
            action->setShortcut(item->shortCut_);
        // Shortcuts are the menu's own business (TMenu::IsShortCut), not Qt's.
        action->setShortcutContext(Qt::WidgetShortcut);
        if (item->default_) {
            QFont f = action->font();
            f.setBold(true);
            action->setFont(f);
        }
    }
}

TMenu::TMenu(TComponent* owner) : TNonVisualComponent(owner), items_(new TMenuItem(this)) {
    items_->menu_ = this;
}

TMenu::~TMenu() {
    DestroyComponents();
}

void TMenu::MenuChanged(TMenuItem* source, bool rebuild) {
    if (OnChange)
        OnChange(this, source, rebuild);
}

bool TMenu::IsShortCut(const QKeySequence& key) {
    std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* parent) -> TMenuItem* {
        for (int i = 0; i < parent->Count(); ++i) {
            TMenuItem* item = parent->Items(i);
            if (!item->Visible() || !item->Enabled())
                continue;
            if (!item->ShortCut().isEmpty() && item->ShortCut() == key)
                return item;
            if (TMenuItem* found = find(item))
                return found;
        }
        return nullptr;
    };
    TMenuItem* item = find(items_);
    if (!item)
        return false;
    item->Click();
    return true;
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

QMenuBar* TMainMenu::CreateMenuBar(QWidget* parent) {
    auto* bar = new QMenuBar(parent);
    for (int i = 0; i < Items()->Count(); ++i) {
        TMenuItem* top = Items()->Items(i);
        if (!top->Visible())
            continue;
        if (top->Count() == 0) {
            QAction* action = bar->addAction(top->Caption());
            QObject::connect(action, &QAction::triggered, top, [top] { clickWhenMenuHasClosed(top); });
            continue;
        }
        QMenu* drop = top->DropDown(bar);
        drop->setTitle(top->Caption());
        QAction* action = bar->addMenu(drop);
        action->setEnabled(top->Enabled());
    }
    return bar;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

void TPopupMenu::Popup(int x, int y) {
    CallEvent(OnPopup, this);
    QMenu* menu = Items()->DropDown();
    menu->exec(QPoint(x, y));
    delete menu;
}
