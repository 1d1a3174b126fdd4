#include "skin/TsuiMenuBar.h"

#include "framework/TBitmap.h"
#include "framework/TCanvas.h"
#include "framework/TMenu.h"
#include "skin/SuiDrawing.h"
#include "skin/SuiStyleDecisions.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiStyleSource.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include <algorithm>

namespace {

constexpr TColor kDisabledText = 0x808080;
// Room beside a caption inside its button.
constexpr int kCaptionPadding = 8;

bool publishes(const QObject* o, const char* name) {
    return o && o->metaObject()->indexOfProperty(name) >= 0;
}

} // namespace

TsuiMenuBar::TsuiMenuBar(TComponent* owner) : TControl(owner) {
    SetHeight(kDefaultButtonHeight);
    setFocusPolicy(Qt::NoFocus);
}

TsuiMenuBar::~TsuiMenuBar() {
    closeMenu();
    if (menu_)
        menu_->RemoveFreeNotification(this);
}

void TsuiMenuBar::SetMenu(TMenu* menu) {
    if (menu == menu_)
        return;
    closeMenu();
    if (menu_)
        menu_->RemoveFreeNotification(this);
    menu_ = menu;
    if (menu_)
        menu_->FreeNotification(this);
    UpdateFont();
}

void TsuiMenuBar::Notification(TComponent* component, TOperation operation) {
    TControl::Notification(component, operation);
    if (operation == opRemove && component == menu_) {
        closeMenu();
        menu_ = nullptr;
        buttons_.clear();
        hot_ = pressed_ = -1;
        pictureKey_.reset();
        Invalidate();
    }
}

void TsuiMenuBar::SetFrameStyle(TsuiUIStyle style, TsuiFileTheme* fileTheme) {
    frameStyle_ = style;
    frameFileTheme_ = fileTheme;
    look_.Valid = false;
    Invalidate();
}

const TsuiMenuBar::Look& TsuiMenuBar::look() {
    const TsuiUIStyle style = EffectiveStyle();
    const TsuiFileTheme* theme = EffectiveFileTheme();
    if (look_.Valid && look_.Style == style && look_.Theme == theme)
        return look_;
    const TsuiStyleSource source(theme, style);
    look_.Valid = true;
    ++look_.Generation;
    look_.Style = style;
    look_.Theme = theme;
    look_.SelectedFont = source.DefaultedColor(TStyleEntry::MenuSelectedFontColor);
    look_.SelectedBackground = source.DefaultedColor(TStyleEntry::MenuSelectedBackgroundColor);
    look_.SelectedBorder = source.DefaultedColor(TStyleEntry::MenuSelectedBorderColor);
    look_.Text = source.FromFile() && source.ThemeKind() == kThemeKind3
                     ? clWhite
                     : source.DefaultedColor(TStyleEntry::MenuFontColor);
    if (style == MacOS)
        LoadSkinBitmap(look_.MacStrip, "MACOS_MENU_BAR");
    return look_;
}

TsuiUIStyle TsuiMenuBar::EffectiveStyle() const {
    if (publishes(menu_, "UIStyle")) {
        bool ok = false;
        const int v = menu_->property("UIStyle").toInt(&ok);
        if (ok && v >= FromThemeFile && v <= BlueGlass)
            return TsuiUIStyle(v);
    }
    return frameStyle_;
}

TsuiFileTheme* TsuiMenuBar::EffectiveFileTheme() const {
    if (publishes(menu_, "UIStyle") && publishes(menu_, "FileTheme"))
        return qobject_cast<TsuiFileTheme*>(qvariant_cast<QObject*>(menu_->property("FileTheme")));
    return frameFileTheme_;
}

void TsuiMenuBar::Rebuild() {
    closeMenu();
    buttons_.clear();
    hot_ = pressed_ = -1;
    if (menu_) {
        TMenuItem* root = menu_->Items();
        for (int i = 0; i < root->Count(); ++i) {
            TMenuItem* item = root->Items(i);
            if (!item->Visible())
                continue;
            buttons_.push_back(TsuiMenuBarButton{item, item->Caption(), item->Enabled(), TRect{}});
        }
    }
    layoutButtons();
}

void TsuiMenuBar::UpdateButtons() {
    // An item that has left the menu (or is being freed, which tells the menu first) loses its
    // button instead of being read.
    TMenuItem* root = menu_ ? menu_->Items() : nullptr;
    auto gone = [root](const TsuiMenuBarButton& b) {
        if (!root || !b.Item)
            return true;
        for (int i = 0; i < root->Count(); ++i)
            if (root->Items(i) == b.Item)
                return false;
        return true;
    };
    const auto before = buttons_.size();
    buttons_.erase(std::remove_if(buttons_.begin(), buttons_.end(), gone), buttons_.end());
    if (buttons_.size() != before) {
        closeMenu();
        hot_ = pressed_ = -1;
    }
    for (TsuiMenuBarButton& b : buttons_) {
        b.Caption = b.Item->Caption();
        b.Enabled = b.Item->Enabled();
    }
    layoutButtons();
}

TFont TsuiMenuBar::buttonFont() const {
    TFont font = Font();
    if (!publishes(menu_, "UseSystemFont"))
        return font;
    if (menu_->property("UseSystemFont").toBool()) {
        AssignSystemMenuFont(font);
    } else {
        font.SetName(menu_->property("FontName").toString());
        font.SetSize(menu_->property("FontSize").toInt());
        font.SetCharset(menu_->property("FontCharset").toInt());
        font.SetColor(menu_->property("FontColor").toInt());
    }
    return font;
}

void TsuiMenuBar::UpdateFont() {
    if (!menu_)
        return;
    if (publishes(menu_, "UseSystemFont")) {
        const TFont font = buttonFont();
        Font().Assign(font);
    }
    layoutButtons();
}

void TsuiMenuBar::SetButtonsHeight(int height) {
    if (!buttons_.empty())
        buttonHeight_ = height;
    SetHeight(height);
    layoutButtons();
}

int TsuiMenuBar::ButtonAt(int x, int y) const {
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        const TRect& r = buttons_[i].Bounds;
        if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom)
            return static_cast<int>(i);
    }
    return -1;
}

void TsuiMenuBar::layoutButtons() {
    // Every change of the menu, its font or the bar's width comes through here.
    look_.Valid = false;
    pictureKey_.reset();
    TBitmap measure(1, 1);
    measure.Canvas().Font() = buttonFont();
    int x = 0, y = 0;
    const int limit = std::max(1, ClientWidth());
    for (TsuiMenuBarButton& b : buttons_) {
        const int w =
            measure.Canvas().TextWidth(QString(b.Caption).remove(QLatin1Char('&'))) + 2 * kCaptionPadding;
        // A button that does not fit starts the next row (never the first of a row).
        if (x > 0 && x + w > limit) {
            x = 0;
            y += buttonHeight_;
        }
        b.Bounds = Bounds(x, y, w, buttonHeight_);
        x += w;
    }
    // The bar fits its rows of buttons.
    if (!buttons_.empty()) {
        const int h = y + buttonHeight_;
        if (h != TControl::Height())
            SetHeight(h);
    }
    Invalidate();
}

void TsuiMenuBar::Resize() {
    TControl::Resize();
    if (!buttons_.empty()) {
        // Rows follow the width; re-laying out may change the height once more.
        const int before = TControl::Height();
        layoutButtons();
        (void)before;
    }
}

void TsuiMenuBar::paintBackground(TCanvas& canvas, const TRect& r) {
    if (look().Style == MacOS) {
        canvas.StretchDraw(r, look().MacStrip);
    } else {
        FillRectInColor(canvas, r, Color());
    }
}

void TsuiMenuBar::paintButton(TCanvas& canvas, int index, const TFont& font) {
    const TsuiMenuBarButton& b = buttons_[static_cast<std::size_t>(index)];
    const Look& skin = look();
    const TsuiUIStyle style = skin.Style;

    const bool pressed = index == pressed_;
    const bool hot = index == hot_ && b.Enabled;
    TRect r = b.Bounds;
    const unsigned flags = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
    canvas.Font() = font;

    if ((hot || pressed) && style == MacOS) {
        TBitmap look;
        look.SetPixelRatio(canvas.PixelRatio());
        look.SetSize(r.Width(), r.Height());
        StretchMacMenuStripSelected(look.Canvas(), Rect(0, 0, r.Width(), r.Height()));
        TFont& f = look.Canvas().Font();
        f = canvas.Font();
        f.SetColor(skin.SelectedFont);
        look.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
        TRect text = Rect(0, 0, r.Width(), r.Height() + 2);
        look.Canvas().DrawText(b.Caption, text, flags);
        canvas.Draw(r.Left, r.Top, look);
        return;
    }
    if (hot || pressed) {
        if (pressed)
            r.Right -= 2;
        FillRectInColor(canvas, r, skin.SelectedBackground);
        FrameRectInColor(canvas, r, skin.SelectedBorder);
        if (pressed)
            r.Left += 2;
        r.Top += 2;
        // The text stands on the solid brush still in force: the frame's colour.
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
        canvas.Font().SetColor(skin.SelectedFont);
        canvas.DrawText(b.Caption, r, flags);
        return;
    }
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    r.Top += 2;
    TColor text = skin.Text;
    if (!b.Enabled)
        text = kDisabledText;
    canvas.Font().SetColor(text);
    canvas.DrawText(b.Caption, r, flags);
}

void TsuiMenuBar::PaintTo(TCanvas& canvas) {
    paintBackground(canvas, Rect(0, 0, ClientWidth(), ClientHeight()));
    const TFont font = buttonFont();
    for (int i = 0; i < ButtonCount(); ++i) {
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
        paintButton(canvas, i, font);
    }
}

void TsuiMenuBar::Paint() {
    // Composed off-screen at the screen's density and copied in one block; composed again only when
    // what it shows changed.
    const TFont font = buttonFont();
    const PictureKey key{ClientWidth(),  ClientHeight(), hot_,
                         pressed_,       Color(),        look().Generation,
                         font.ToQFont(), font.Color(),   std::max<qreal>(devicePixelRatioF(), 1)};
    if (key != pictureKey_) {
        offscreen_.SetPixelRatio(key.Ratio);
        if (offscreen_.Width() != key.Width || offscreen_.Height() != key.Height)
            offscreen_.SetSize(key.Width, key.Height);
        PaintTo(offscreen_.Canvas());
        pictureKey_ = key;
    }
    Canvas()->Draw(0, 0, offscreen_);
}

void TsuiMenuBar::setHot(int index) {
    if (index == hot_)
        return;
    hot_ = index;
    Invalidate();
}

void TsuiMenuBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TControl::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    const int index = ButtonAt(x, y);
    if (index < 0 || !buttons_[static_cast<std::size_t>(index)].Enabled)
        return;
    // A press on the button whose drop-down this very press closed only closes it.
    if (index == justClosed_)
        return;
    mouseHeld_ = true;
    OpenButton(index, false);
}

void TsuiMenuBar::MouseMove(TShiftState shift, int x, int y) {
    TControl::MouseMove(shift, x, y);
    if (!keyboard_)
        setHot(ButtonAt(x, y));
}

void TsuiMenuBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TControl::MouseUp(button, shift, x, y);
    if (button != mbLeft || !mouseHeld_)
        return;
    mouseHeld_ = false;
    if (!open_ && pressed_ >= 0) {
        // An item without sub-items runs on release over its button.
        const int index = pressed_;
        pressed_ = -1;
        Invalidate();
        if (ButtonAt(x, y) == index)
            if (TMenuItem* item = buttons_[static_cast<std::size_t>(index)].Item)
                item->Click();
    }
}

void TsuiMenuBar::MouseLeave() {
    TControl::MouseLeave();
    if (!keyboard_ && !open_)
        setHot(-1);
}

void TsuiMenuBar::OpenButton(int index, bool fromKeyboard) {
    if (index < 0 || index >= ButtonCount())
        return;
    const TsuiMenuBarButton& b = buttons_[static_cast<std::size_t>(index)];
    if (!b.Enabled || !b.Item)
        return;
    closeMenu();
    hot_ = index;
    pressed_ = index;
    Invalidate();
    if (b.Item->Count() == 0) {
        if (fromKeyboard) {
            pressed_ = -1;
            LeaveBar();
            b.Item->Click();
        }
        return;
    }
    QMenu* menu = b.Item->DropDown(this);
    menu->setAttribute(Qt::WA_DeleteOnClose, false);
    open_ = menu;
    menu->installEventFilter(this);
    connect(menu, &QMenu::aboutToHide, this, [this, menu] {
        if (open_ == menu)
            menuClosed();
        menu->deleteLater();
    });
    if (fromKeyboard)
        for (QAction* a : menu->actions())
            if (a->isEnabled() && !a->isSeparator()) {
                menu->setActiveAction(a);
                break;
            }
    const TRect& r = b.Bounds;
    menu->popup(mapToGlobal(QPoint(r.Left, r.Bottom)));
}

void TsuiMenuBar::menuClosed() {
    const int was = pressed_;
    open_ = nullptr;
    pressed_ = -1;
    // An item chosen or a click elsewhere ends the keyboard use of the bar too.
    if (keyboard_) {
        LeaveBar();
        return;
    }
    {
        const QPoint p = mapFromGlobal(QCursor::pos());
        hot_ = ButtonAt(p.x(), p.y());
        // The press that closed the drop-down must not open it again.
        justClosed_ = was;
        QTimer::singleShot(0, this, [this] { justClosed_ = -1; });
    }
    Invalidate();
}

void TsuiMenuBar::closeMenu() {
    if (QMenu* menu = open_) {
        open_ = nullptr;
        menu->removeEventFilter(this);
        menu->hide();
    }
}

void TsuiMenuBar::step(int delta, bool open) {
    const int n = ButtonCount();
    if (n == 0)
        return;
    // From nothing highlighted, the first step lands on the first (or last) button.
    int index = hot_ >= 0 ? hot_ : delta > 0 ? n - 1 : 0;
    for (int i = 0; i < n; ++i) {
        index = (index + delta + n) % n;
        if (buttons_[static_cast<std::size_t>(index)].Enabled)
            break;
    }
    if (open) {
        OpenButton(index, true);
    } else {
        hot_ = index;
        Invalidate();
    }
}

void TsuiMenuBar::FocusBar() {
    if (buttons_.empty())
        return;
    if (!keyboard_)
        focusBefore_ = QApplication::focusWidget();
    keyboard_ = true;
    hot_ = -1;
    step(+1, false);
    setFocus(Qt::ShortcutFocusReason);
}

void TsuiMenuBar::LeaveBar() {
    closeMenu();
    const bool was = keyboard_;
    keyboard_ = false;
    hot_ = pressed_ = -1;
    Invalidate();
    if (was && hasFocus() && focusBefore_)
        focusBefore_->setFocus(Qt::ShortcutFocusReason);
    focusBefore_ = nullptr;
}

bool TsuiMenuBar::OpenByMnemonic(int key) {
    for (int i = 0; i < ButtonCount(); ++i) {
        const TsuiMenuBarButton& b = buttons_[static_cast<std::size_t>(i)];
        const QKeySequence m = QKeySequence::mnemonic(b.Caption);
        if (b.Enabled && !m.isEmpty() && (m[0].key() == Qt::Key(key))) {
            if (!keyboard_)
                focusBefore_ = QApplication::focusWidget();
            keyboard_ = true;
            setFocus(Qt::ShortcutFocusReason);
            OpenButton(i, true);
            return true;
        }
    }
    return false;
}

void TsuiMenuBar::keyPressEvent(QKeyEvent* event) {
    if (!keyboard_) {
        TControl::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
        step(-1, false);
        break;
    case Qt::Key_Right:
        step(+1, false);
        break;
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        OpenButton(hot_, true);
        break;
    case Qt::Key_Escape:
    case Qt::Key_F10:
    case Qt::Key_Alt:
        LeaveBar();
        break;
    default:
        if (!OpenByMnemonic(event->key()))
            TControl::keyPressEvent(event);
        break;
    }
}

void TsuiMenuBar::focusOutEvent(QFocusEvent* event) {
    TControl::focusOutEvent(event);
    // A drop-down of our own takes the keys without ending the keyboard use of the bar.
    if (keyboard_ && !open_ && event->reason() != Qt::PopupFocusReason)
        LeaveBar();
}

bool TsuiMenuBar::eventFilter(QObject* watched, QEvent* event) {
    auto* menu = qobject_cast<QMenu*>(watched);
    if (!menu || menu != open_)
        return false;
    if (event->type() == QEvent::KeyPress) {
        auto* e = static_cast<QKeyEvent*>(event);
        const QAction* active = menu->activeAction();
        const bool opensSubmenu = active && active->menu() && active->isEnabled();
        if (e->key() == Qt::Key_Left) {
            step(-1, true);
            return true;
        }
        if (e->key() == Qt::Key_Right && !opensSubmenu) {
            step(+1, true);
            return true;
        }
        if (e->key() == Qt::Key_Escape) {
            // Back to the bar with the button still highlighted, as menu bars do.
            const int index = pressed_;
            if (!keyboard_) {
                focusBefore_ = QApplication::focusWidget();
                keyboard_ = true;
            }
            closeMenu();
            pressed_ = -1;
            hot_ = index;
            setFocus(Qt::ShortcutFocusReason);
            Invalidate();
            return true;
        }
    } else if (event->type() == QEvent::MouseMove) {
        // Sliding along the bar with a drop-down open opens the drop-down under the pointer.
        const QPoint p = mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        const int index = ButtonAt(p.x(), p.y());
        if (index >= 0 && index != pressed_ && buttons_[static_cast<std::size_t>(index)].Enabled &&
            buttons_[static_cast<std::size_t>(index)].Item->Count() > 0) {
            QTimer::singleShot(0, this, [this, index] { OpenButton(index, false); });
            return false;
        }
    }
    return false;
}
