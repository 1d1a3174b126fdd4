#include "skin/TsuiForm.h"

#include "framework/TApplication.h"
#include "framework/TBitmap.h"
#include "framework/TCanvas.h"
#include "framework/TForm.h"
#include "framework/TMenu.h"
#include "framework/TPlatform.h"
#include "skin/SuiDrawing.h"
#include "skin/SuiStyleDecisions.h"
#include "skin/SuiStyleTable.h"
#include "skin/SuiWindowPlacement.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiFormKeyboard.h"
#include "skin/TsuiMainMenu.h"
#include "skin/TsuiMaximizePlacement.h"
#include "skin/TsuiMenuBar.h"
#include "skin/TsuiStyleSource.h"
#include "skin/TsuiTitleBar.h"
#include "skin/TsuiWindowSizer.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

namespace {

bool hasFrameChild(TForm* form) {
    for (int i = 0; i < form->ControlCount(); ++i)
        if (qobject_cast<TsuiForm*>(form->Controls(i)))
            return true;
    return false;
}

} // namespace

TsuiForm::TsuiForm(TComponent* owner) : TPanel(owner) {
    TForm* host = owner ? qobject_cast<TForm*>(owner->Object()) : nullptr;
    // A host carries one frame; a second one stays an ordinary, unattached panel.
    if (!host || hasFrameChild(host))
        return;
    attachTo(host);
}

void TsuiForm::attachTo(TForm* host) {
    host_ = host;
    tearDown_ = false;
    SetParent(host);
    host->SetConstraints(TSizeConstraints{125, 50, 0, 0});
    SetConstraints(TSizeConstraints{125, 50, 0, 0});
    placement_ = std::make_unique<TsuiMaximizePlacement>(*host);

    titleBar_ = new TsuiTitleBar(this, this);
    menuBarColor_ = Color();
    menuBarHeight_ = 22;

    SetUIStyle(DeepBlue);
    autoUpdateSub_ = false;

    SetBevelOuter(bvNone);
    SetBevelInner(bvNone);
    SetBorderWidth(0);
    SetAlign(alClient);

    SetCaption(host->Caption());
    SetTitleBarVisible(true);

    // The platform's caption goes; the frame's band takes the border's place.
    host->SetScaled(false);
    host->SetAutoScroll(false);
    if (host->BorderStyle() == bsNone || host->BorderStyle() == bsSingle ||
        host->BorderStyle() == bsToolWindow)
        host->SetBorderStyle(bsDialog);
    host->setWindowFlag(Qt::FramelessWindowHint, true);
    host->SetBorderBand(kFrameBandWidth);
    host->installEventFilter(this);

    sizer_ = new TsuiWindowSizer(host);
    keyboard_ = std::make_unique<TsuiFormKeyboard>(*this);
    PaintWindowBorder();
}

TsuiForm::~TsuiForm() {
    tearDown();
    // The bar goes before the title bar.
    delete menuBar_;
    menuBar_ = nullptr;
    delete titleBar_;
    titleBar_ = nullptr;
}

void TsuiForm::tearDown() {
    if (tearDown_)
        return;
    if (auto* skinned = qobject_cast<TsuiMainMenu*>(menu_))
        skinned->SetMenuHost(nullptr);
    tearDown_ = true;
    if (host_ && !host_->Destroying()) {
        host_->removeEventFilter(this);
        host_->SetBorderBand(0);
        host_->clearMask();
        host_->setWindowFlag(Qt::FramelessWindowHint, false);
    }
    delete sizer_;
    sizer_ = nullptr;
    keyboard_.reset();
}

// --- properties

bool TsuiForm::TitleBarCustom() const {
    return titleBar_ && titleBar_->Custom();
}

void TsuiForm::SetTitleBarCustom(bool value) {
    if (titleBar_)
        titleBar_->SetCustom(value);
}

void TsuiForm::SetFileTheme(TsuiFileTheme* theme) {
    if (theme == fileTheme_)
        return;
    if (fileTheme_)
        fileTheme_->RemoveFreeNotification(this);
    fileTheme_ = theme;
    if (fileTheme_)
        fileTheme_->FreeNotification(this);
    SetUIStyle(style_);
}

void TsuiForm::SetUIStyle(TsuiUIStyle style) {
    style_ = style;
    const TsuiStyleSource source(fileTheme_, style);
    // A colour the theme file lacks keeps the frame's own.
    borderColor_ = source.Color(TStyleEntry::FormBorderColor, borderColor_);
    frameBorderWidth_ = source.Int(TStyleEntry::FormBorderWidthInt);
    TPanel::SetColor(source.Color(TStyleEntry::FormBackgroundColor, Color()));
    // Two theme kinds keep a dark bar of their own; the rest take the frame's colour.
    const TColor kind = source.ThemeKind();
    if (menuBar_ && kind == kThemeKind2)
        menuBar_->SetColor(0xAC5B3B);
    else if (menuBar_ && kind == kThemeKind3)
        menuBar_->SetColor(0x996733);
    else
        SetMenuBarColor(Color());
    SetRoundCorner(source.Int(TStyleEntry::FormRoundCornerInt));
    if (titleBar_) {
        // A theme the bar already has would only apply its style once more before the next line
        // does it again.
        if (titleBar_->FileTheme() != fileTheme_)
            titleBar_->SetFileTheme(fileTheme_);
        titleBar_->SetUIStyle(style_);
    }
    if (auto* skinned = qobject_cast<TsuiMainMenu*>(menu_)) {
        skinned->SetUIStyle(style_);
        skinned->SetFileTheme(fileTheme_);
    }
    if (menuBar_)
        menuBar_->SetFrameStyle(style_, fileTheme_);
    if (autoUpdateSub_)
        RestyleChildControls(this, style_, fileTheme_);
    Invalidate();
    PaintWindowBorder();
}

void TsuiForm::SetBorderColor(TColor value) {
    borderColor_ = value;
    PaintWindowBorder();
}

void TsuiForm::SetFrameBorderWidth(int value) {
    frameBorderWidth_ = value;
    PaintWindowBorder();
}

void TsuiForm::SetColor(TColor value) {
    TPanel::SetColor(value);
    PaintWindowBorder();
}

bool TsuiForm::TitleBarVisible() const {
    return titleBar_ && titleBar_->Visible();
}

void TsuiForm::SetTitleBarVisible(bool value) {
    if (!titleBar_ || value == titleBar_->Visible())
        return;
    titleBar_->SetVisible(value);
    titleBar_->SetTop(0);
    PaintWindowBorder();
}

bool TsuiForm::TitleBarDrawAppIcon() const {
    return titleBar_ && titleBar_->DrawAppIcon();
}

void TsuiForm::SetTitleBarDrawAppIcon(bool value) {
    if (titleBar_)
        titleBar_->SetDrawAppIcon(value);
}

TsuiTitleBarButtons& TsuiForm::TitleBarButtons() const {
    return titleBar_->Buttons();
}

void TsuiForm::SetTitleBarButtons(const TsuiTitleBarButtons& buttons) {
    titleBar_->SetButtons(buttons);
}

TsuiTitleBarSections& TsuiForm::TitleBarSections() const {
    return titleBar_->Sections();
}

void TsuiForm::SetTitleBarSections(const TsuiTitleBarSections& sections) {
    titleBar_->SetSections(sections);
}

TsuiTitleBarButtonClickEvent& TsuiForm::OnTitleBarCustomBtnsClick() const {
    return titleBar_->OnCustomBtnsClick;
}

TsuiTitleBarButtonClickEvent& TsuiForm::OnTitleBarHelpBtnClick() const {
    return titleBar_->OnHelpBtnClick;
}

void TsuiForm::SetMenuBarColor(TColor value) {
    menuBarColor_ = value;
    if (menuBar_)
        menuBar_->SetColor(value);
}

void TsuiForm::SetMenuBarHeight(int value) {
    menuBarHeight_ = value;
    if (menuBar_)
        menuBar_->SetButtonsHeight(value);
    PaintWindowBorder();
}

int TsuiForm::RoundCorner() const {
    return TitleBarVisible() ? titleBar_->RoundCorner() : 0;
}

void TsuiForm::SetRoundCorner(int value) {
    if (titleBar_)
        titleBar_->SetRoundCorner(value);
    ApplyWindowRegion();
}

void TsuiForm::SetFormPanel(TPanel* panel) {
    if (panel == this) {
        Platform().MessageBox(this,
                              QStringLiteral("Sorry, you can't select the Form assign to FormPanel property"),
                              Application ? Application->Title() : QString(), MB_OK);
        return;
    }
    if (formPanel_)
        formPanel_->RemoveFreeNotification(this);
    formPanel_ = panel;
    if (!panel)
        return;
    panel->FreeNotification(this);
    panel->SetAlign(alClient);
    if (panel->metaObject() == &TPanel::staticMetaObject) {
        panel->SetBevelOuter(bvNone);
        panel->SetBevelInner(bvNone);
        panel->SetBorderWidth(0);
        panel->SetCaption(QString());
    }
}

void TsuiForm::FontChanged() {
    TPanel::FontChanged();
    // The frame's font is the caption font of its title bar.
    if (titleBar_ && !syncingFont_) {
        syncingFont_ = true;
        titleBar_->Font().Assign(Font());
        syncingFont_ = false;
    }
}

void TsuiForm::CaptionChanged() {
    // The title bar holds the caption; the host's text follows (the task bar shows it).
    if (titleBar_)
        titleBar_->SetCaption(Caption());
    if (host_)
        host_->SetCaption(Caption());
}

void TsuiForm::Notification(TComponent* component, TOperation operation) {
    TPanel::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == menu_) {
        menu_ = nullptr;
        removeMenuBar();
    }
    if (component == formPanel_)
        formPanel_ = nullptr;
    if (component == fileTheme_) {
        fileTheme_ = nullptr;
        RestyleChildControls(this, DeepBlue, nullptr);
        SetUIStyle(DeepBlue);
    }
}

// --- the menu bar

void TsuiForm::SetMenu(TMainMenu* menu) {
    if (auto* old = qobject_cast<TsuiMainMenu*>(menu_))
        old->SetMenuHost(nullptr);
    if (menu_ && menu_ != menu)
        menu_->RemoveFreeNotification(this);
    menu_ = menu;
    if (menu_)
        menu_->FreeNotification(this);
    if (auto* skinned = qobject_cast<TsuiMainMenu*>(menu_))
        skinned->SetMenuHost(this);
    if (menu_) {
        createMenuBar();
        RebuildMenuBar();
    } else {
        removeMenuBar();
    }
}

void TsuiForm::createMenuBar() {
    if (menuBar_ || !titleBar_)
        return;
    menuBar_ = new TsuiMenuBar(this);
    // Stacked under the title bar: title bar, menu bar, then the content.
    menuBar_->SetBounds(0, titleBar_->Top() + titleBar_->Height(), ClientWidth(), menuBarHeight_);
    menuBar_->SetParent(this);
    menuBar_->SetColor(menuBarColor_);
    menuBar_->SetFrameStyle(style_, fileTheme_);
    menuBar_->SetMenu(menu_);
    menuBar_->SetAlign(alTop);
    titleBar_->SetTop(0);
    Realign();
    PaintWindowBorder();
}

void TsuiForm::removeMenuBar() {
    delete menuBar_;
    menuBar_ = nullptr;
    if (menu_) {
        TMainMenu* menu = menu_;
        menu_ = nullptr;
        if (auto* skinned = qobject_cast<TsuiMainMenu*>(menu))
            skinned->SetMenuHost(nullptr);
        menu->RemoveFreeNotification(this);
    }
    PaintWindowBorder();
}

void TsuiForm::RebuildMenuBar() {
    if (!menuBar_)
        return;
    if (!menu_) {
        removeMenuBar();
        return;
    }
    menuBar_->SetMenu(menu_);
    menuBar_->Rebuild();
    PaintWindowBorder();
}

void TsuiForm::UpdateMenuBarButtons() {
    if (menuBar_ && menu_)
        menuBar_->UpdateButtons();
}

void TsuiForm::UpdateMenuBarFont() {
    if (menuBar_ && menu_)
        menuBar_->UpdateFont();
}

// --- painting and the window

void TsuiForm::Paint() {
    if (tearDown_)
        return;
    const TRect r = ClientRect();
    if (style_ == MacOS || style_ == Protein) {
        // The 8 x 8 pattern repeated over an off-screen bitmap in one fill, kept until the size
        // or the style changes, and copied in one block.
        if (pattern_.Width() != r.Width() || pattern_.Height() != r.Height() || patternStyle_ != style_) {
            TBitmap tile;
            LoadSkinBitmap(tile, style_ == MacOS ? "MACOS_FORM_BACKGROUND" : "PROTEIN_FORM_BACKGROUND");
            QImage image(std::max(1, r.Width()), std::max(1, r.Height()), QImage::Format_RGB32);
            QPainter painter(&image);
            painter.fillRect(image.rect(), QBrush(tile.Image()));
            painter.end();
            pattern_.SetImage(image);
            patternStyle_ = style_;
        }
        Canvas()->Draw(0, 0, pattern_);
    } else {
        Canvas()->Brush().SetColor(Color());
        Canvas()->FillRect(r);
    }
}

TsuiBorderLook TsuiForm::BorderLook() const {
    TsuiBorderLook look;
    if (host_) {
        look.Width = host_->width();
        look.Height = host_->height();
    }
    look.BorderColor = borderColor_;
    look.BorderWidth = frameBorderWidth_;
    look.Color = Color();
    look.TitleBarVisible = TitleBarVisible();
    if (titleBar_) {
        look.TitleBarHeight = titleBar_->Height();
        look.HasAllPictures = titleBar_->HasAllPictures();
        look.LeftPicture = titleBar_->LeftPicture();
        look.RightPicture = titleBar_->RightPicture();
        look.ClientPicture = titleBar_->ClientPicture();
        look.RoundCorner = titleBar_->RoundCorner();
    }
    look.MenuBarVisible = menuBar_ && menuBar_->Visible();
    look.MenuBarHeight = menuBar_ ? menuBar_->Height() : 0;
    look.MenuBarColor = menuBar_ ? menuBar_->Color() : menuBarColor_;
    return look;
}

void TsuiForm::PaintWindowBorder() {
    if (tearDown_ || !host_ || host_->WindowState() == wsMinimized)
        return;
    // The band is the host's, outside the frame: asking the host to repaint it repaints only it.
    const QRegion band = QRegion(host_->rect()) - QRegion(geometry());
    host_->update(band);
}

QRegion TsuiForm::WindowRegion() const {
    if (!host_)
        return QRegion();
    return WindowRegionFor(host_->width(), host_->height(), RoundCorner());
}

void TsuiForm::ApplyWindowRegion() {
    if (tearDown_ || !host_)
        return;
    if (RoundCorner() <= 1)
        host_->clearMask();
    else
        host_->setMask(WindowRegion());
}

void TsuiForm::sizeChanged() {
    if (!host_ || tearDown_)
        return;
    placement_->SizeChanged();
    PaintWindowBorder();
    if (titleBar_)
        titleBar_->UpdateMaximizeButtons();
    ApplyWindowRegion();
}

void TsuiForm::firstShow() {
    shown_ = true;
    // The host's own menu never shows: the menu bar is the frame's.
    host_->SetMenu(nullptr);
    if (sizer_)
        sizer_->Attach();
    std::vector<TRect> areas;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect a = screen->availableGeometry();
        areas.push_back(Bounds(a.x(), a.y(), a.width(), a.height()));
    }
    const TRect now = host_->BoundsRect();
    const TRect placed = BringOntoWorkArea(now, areas, Platform().WorkArea());
    if (placed != now)
        host_->SetBounds(placed.Left, placed.Top, placed.Width(), placed.Height());
    if (titleBar_)
        titleBar_->SetFormActive(host_->isActiveWindow());
}

bool TsuiForm::TakeMenuShortcut(const QKeyEvent& event) {
    return !tearDown_ && keyboard_ && keyboard_->TakeMenuShortcut(event);
}

bool TsuiForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != host_ || tearDown_)
        return false;
    switch (event->type()) {
    case QEvent::Paint: {
        if (host_->WindowState() == wsMinimized)
            return false;
        QPainter painter(host_);
        TCanvas canvas(&painter);
        GuardEvent([&] { PaintWindowBorderOn(canvas, BorderLook()); });
        return true;
    }
    case QEvent::ActivationChange:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (titleBar_)
            titleBar_->SetFormActive(host_->isActiveWindow());
        return false;
    case QEvent::KeyPress:
        return TakeMenuShortcut(*static_cast<QKeyEvent*>(event));
    case QEvent::Show:
        if (!shown_)
            GuardEvent([this] { firstShow(); });
        host_->SetMenu(nullptr);
        return false;
    case QEvent::Resize:
    case QEvent::WindowStateChange:
        // After the host's own handling, which the queued call lets run first.
        GuardEvent([this] { sizeChanged(); });
        return false;
    default:
        return false;
    }
}
