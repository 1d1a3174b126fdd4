#include "skin/TsuiTitleBar.h"

#include "framework/TApplication.h"
#include "framework/TCanvas.h"
#include "framework/TForm.h"
#include "framework/TPlatform.h"
#include "skin/SuiCaptionFit.h"
#include "skin/SuiDrawing.h"
#include "skin/SuiStyleDecisions.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiStyleSource.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <cstdlib>

namespace {

// A framed bar continues the 3-pixel picture strip the frame paints around it.
constexpr int kFrameShift = 3;

// Draws one look of a button through a scratch bitmap of its normal look's size, leaving out
// the scratch's bottom-left colour when the button is transparent.
void drawButtonLook(TCanvas& canvas, int x, int y, const TBitmap& normal, const TBitmap& look,
                    bool transparent) {
    if (normal.Empty())
        return;
    TBitmap scratch(normal.Width(), normal.Height());
    scratch.Canvas().Draw(0, 0, look);
    scratch.SetTransparent(transparent);
    canvas.Draw(x, y, scratch);
}

// The application's 16 x 16 icon at (x, y), composed over the bar's own pixels, so the icon's
// transparency shows the bar.
void drawAppIcon(TBitmap& bitmap, int x, int y) {
    const QImage icon = ApplicationSmallIcon();
    if (icon.isNull())
        return;
    TBitmap iconBitmap;
    iconBitmap.SetPixelRatio(bitmap.PixelRatio());
    iconBitmap.SetSize(16, 16);
    iconBitmap.Canvas().CopyRect(Rect(0, 0, 16, 16), bitmap.Canvas(), Rect(x, y, x + 16, y + 16));
    if (iconBitmap.Empty())
        return;
    QImage composed = iconBitmap.Image().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&composed);
    painter.drawImage(0, 0, icon);
    painter.end();
    iconBitmap.SetImage(composed.convertToFormat(QImage::Format_RGB32));
    bitmap.Canvas().Draw(x, y, iconBitmap);
}

} // namespace

TsuiTitleBar::TsuiTitleBar(TComponent* owner, TControl* parent) : TControl(owner) {
    menu_ = new TsuiTitleBarPopupMenu(this, this);
    sections_ = new TsuiTitleBarSections(this);
    buttons_ = new TsuiTitleBarButtons(this);
    for (TsuiTitleBarBtnType type : {suiControlBox, suiClose, suiMax, suiMin})
        buttons_->Add()->SetButtonType(type);
    if (parent)
        TControl::SetParent(parent);
    SetAlign(alTop);
    TFont font;
    font.SetName(QStringLiteral("Tahoma"));
    font.SetStyle(fsBold);
    font.SetColor(clWhite);
    Font().Assign(font);
    SetUIStyle(OwnerFormStyle(owner));
    controlBoxWait_.setSingleShot(true);
    connect(&controlBoxWait_, &QTimer::timeout, this, [this] {
        const TPoint at = ClientToScreen(Point(0, Height()));
        GuardEvent([&] { menu_->Popup(at.X, at.Y); });
    });
}

TsuiTitleBar::~TsuiTitleBar() {
    delete buttons_;
    buttons_ = nullptr;
    delete sections_;
    sections_ = nullptr;
    delete menu_;
    menu_ = nullptr;
}

void TsuiTitleBar::SetFileTheme(TsuiFileTheme* theme) {
    if (fileTheme_)
        RemoveFreeNotification(fileTheme_);
    fileTheme_ = theme;
    if (theme)
        FreeNotification(theme);
    keepFont_ = true;
    SetUIStyle(style_);
    keepFont_ = false;
}

void TsuiTitleBar::SetUIStyle(TsuiUIStyle style) {
    style_ = style;
    if (custom_)
        return;
    // A picture the theme file lacks (or cannot give) leaves the bar's current one.
    TBitmap picture, right, client;
    if (HasAllPictures()) {
        picture.Assign(*LeftPicture());
        right.Assign(*RightPicture());
        client.Assign(*ClientPicture());
    }
    sections_->Clear();

    const TsuiStyleSource source(fileTheme_, style);

    source.Image(TStyleEntry::TitleBarLeftImage, picture);
    TsuiTitleBarSection* left = sections_->Add();
    left->SetPicture(picture);
    left->SetAutoSize(true);

    source.Image(TStyleEntry::TitleBarRightImage, right);
    TsuiTitleBarSection* rightSection = sections_->Add();
    rightSection->SetPicture(right);
    rightSection->SetAutoSize(true);
    rightSection->SetAlign(suiRight);

    source.Image(TStyleEntry::TitleBarClientImage, client);
    TsuiTitleBarSection* middle = sections_->Add();
    middle->SetPicture(client);
    middle->SetAlign(suiClient);

    leftBtnXOffset_ = source.Int(TStyleEntry::TitleBarButtonLeftOffsetInt);
    rightBtnXOffset_ = source.Int(TStyleEntry::TitleBarButtonRightOffsetInt);
    TBitmap strip;
    source.Image(TStyleEntry::TitleBarButtonImage, strip);
    if (!strip.Empty()) // the buttons keep their pictures too
        stripHeight_ = strip.Height();
    styleButtonTop_ = source.Int(TStyleEntry::TitleBarButtonTopInt);
    bandTop_ = styleButtonTop_ - (IsFramed() ? kFrameShift : 0);
    if (TForm* form = TitleBarForm()) {
        TSizeConstraints c = form->Constraints();
        c.MinWidth = source.Int(TStyleEntry::FormMinWidthInt);
        form->SetConstraints(c);
    }
    roundCorner_ = source.Int(TStyleEntry::FormRoundCornerInt);

    const TsuiUIStyle resolved = source.Resolved();
    for (int i = 0; i < buttons_->Count(); ++i)
        buttons_->Items(i)->SetUIStyle(resolved);
    menu_->SetFileTheme(fileTheme_);
    menu_->SetUIStyle(resolved);

    if (!keepFont_) {
        TColor color = clWhite;
        if (style == MacOS) {
            color = clBlack;
        } else if (source.FromFile() && ThemeKindDarkTitleCaption(source.ThemeKind())) {
            color = clBlack;
        }
        Font().SetColor(color);
    }
    SetAutoSize(true);
    Invalidate();
}

void TsuiTitleBar::SetAutoSize(bool value) {
    if (sections_->Count() == 0) {
        autoSize_ = false;
        return;
    }
    autoSize_ = value;
    SetHeight(sections_->Items(0)->Picture().Height() - (IsFramed() ? kFrameShift : 0));
}

void TsuiTitleBar::SetSections(const TsuiTitleBarSections& sections) {
    sections_->Assign(sections);
}

void TsuiTitleBar::SetButtons(const TsuiTitleBarButtons& buttons) {
    buttons_->Assign(buttons);
}

void TsuiTitleBar::SetButtonInterval(int value) {
    buttonInterval_ = value;
    Invalidate();
}

void TsuiTitleBar::SetFormActive(bool value) {
    formActive_ = value;
    Invalidate();
}

void TsuiTitleBar::SetLeftBtnXOffset(int value) {
    leftBtnXOffset_ = value;
    Invalidate();
}

void TsuiTitleBar::SetRightBtnXOffset(int value) {
    rightBtnXOffset_ = value;
    Invalidate();
}

void TsuiTitleBar::SetDrawAppIcon(bool value) {
    drawAppIcon_ = value;
    Invalidate();
}

void TsuiTitleBar::UpdateMaximizeButtons() {
    for (int i = 0; i < buttons_->Count(); ++i)
        if (buttons_->Items(i)->ButtonType() == suiMax)
            buttons_->Items(i)->UpdateMaximizeGlyph();
}

const TBitmap* TsuiTitleBar::LeftPicture() const {
    return sections_->Count() > 0 ? &sections_->Items(0)->Picture() : nullptr;
}

const TBitmap* TsuiTitleBar::RightPicture() const {
    return sections_->Count() > 1 ? &sections_->Items(1)->Picture() : nullptr;
}

const TBitmap* TsuiTitleBar::ClientPicture() const {
    return sections_->Count() > 2 ? &sections_->Items(2)->Picture() : nullptr;
}

bool TsuiTitleBar::HasAllPictures() const {
    return sections_->Count() == 3;
}

bool TsuiTitleBar::IsFramed() const {
    return IsSkinnedFrame(Parent());
}

TForm* TsuiTitleBar::TitleBarForm() const {
    return ParentForm();
}

void TsuiTitleBar::MinimizeForm() {
    TForm* form = TitleBarForm();
    if (!form)
        return;
    // The main form's minimise takes the whole application down.
    if (Application && Application->MainForm() == form)
        Application->Minimize();
    else
        form->SetWindowState(wsMinimized);
}

void TsuiTitleBar::SetParent(TControl* parent) {
    TControl::SetParent(parent);
    framedChanged();
}

// Being framed or not shifts the band and the height; the rest of the style stays.
void TsuiTitleBar::framedChanged() {
    if (!sections_ || custom_)
        return;
    bandTop_ = styleButtonTop_ - (IsFramed() ? kFrameShift : 0);
    if (autoSize_)
        SetAutoSize(true);
    Invalidate();
}

// --- painting

void TsuiTitleBar::PaintTo(TBitmap& bitmap) {
    bitmap.SetSize(Width(), Height());
    TCanvas& canvas = bitmap.Canvas();
    // Pixels no piece covers (missing or undersized pictures) take the style's border colour.
    const TColor uncovered = TsuiStyleSource(fileTheme_, style_).DefaultedColor(TStyleEntry::FormBorderColor);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(uncovered);
    canvas.FillRect(Rect(0, 0, bitmap.Width(), bitmap.Height()));
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Font().Assign(Font());
    PaintSections(bitmap);
    PaintButtonsAndCaption(bitmap);
}

void TsuiTitleBar::PaintSections(TBitmap& bitmap) {
    TCanvas& canvas = bitmap.Canvas();
    const int x0 = IsFramed() ? -kFrameShift : 0;
    const int y0 = x0;
    int middleStart = 0;
    int middleEnd = 0;
    if (sections_->Count() > 0) {
        const TBitmap& left = sections_->Items(0)->Picture();
        canvas.Draw(x0, y0, left);
        middleStart = x0 + left.Width();
    }
    if (sections_->Count() > 1) {
        const TBitmap& right = sections_->Items(1)->Picture();
        middleEnd = bitmap.Width() - right.Width() - x0;
        canvas.Draw(middleEnd, y0, right);
    }
    if (sections_->Count() > 2) {
        const TBitmap& middle = sections_->Items(2)->Picture();
        if (!middle.Empty())
            canvas.StretchDraw(Rect(middleStart, y0, middleEnd, y0 + middle.Height()), middle);
    }
}

void TsuiTitleBar::PaintButtonsAndCaption(TBitmap& bitmap) {
    TCanvas& canvas = bitmap.Canvas();
    int right = bitmap.Width() + 1 + rightBtnXOffset_;
    const TPoint p = ScreenToClient(Platform().CursorPos());
    hotIndex_ = -1;
    int controlBox = -1;

    const auto drawButton = [&](int index, int x) {
        TsuiTitleBarButton* button = buttons_->Items(index);
        const TBitmap& normal = button->PicNormal();
        const TRect r = Rect(x, bandTop_, x + normal.Width(), bandTop_ + normal.Height());
        const bool over = PointInRectClosed(p, r);
        const TBitmap& look = over ? (pressed_ ? button->PicMouseDown() : button->PicMouseOn()) : normal;
        drawButtonLook(canvas, x, bandTop_, normal, look, button->Transparent());
        if (over)
            hotIndex_ = index;
    };

    for (int i = 0; i < buttons_->Count(); ++i) {
        TsuiTitleBarButton* button = buttons_->Items(i);
        if (!button->Visible())
            continue;
        if (button->ButtonType() == suiControlBox) {
            controlBox = i;
            continue;
        }
        right -= button->PicNormal().Width() + buttonInterval_ + 1;
        drawButton(i, right);
    }

    int left = leftBtnXOffset_;
    if (controlBox != -1) {
        const TBitmap& normal = buttons_->Items(controlBox)->PicNormal();
        if (drawAppIcon_) {
            const TRect r = Rect(left, bandTop_, left + normal.Width(), bandTop_ + normal.Height());
            if (PointInRectClosed(p, r))
                hotIndex_ = controlBox;
            drawAppIcon(bitmap, left + 3, bandTop_);
            left += 21;
        } else {
            drawButton(controlBox, left);
            left += normal.Width() + 5;
        }
    }
    if (left == 0)
        left = 6;

    if (!formActive_)
        canvas.Font().SetColor(ColorToRGB(clInactiveCaption));
    const int available = right - left;
    // Pointer moves repaint the bar often with the same caption, space and font: the cut is
    // found again only when one of them changed.
    const QFont font = canvas.Font().ToQFont();
    if (Caption() != fitCaption_ || available != fitWidth_ || font != fitFont_) {
        fitCaption_ = Caption();
        fitWidth_ = available;
        fitFont_ = font;
        shownCaption_ =
            FitCaption(fitCaption_, available, [&canvas](const QString& s) { return canvas.TextWidth(s); });
    }
    const int y = bandTop_ + (stripHeight_ - canvas.TextHeight(shownCaption_)) / 2;
    captionOrigin_ = Point(left, y);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.TextOut(left, y, shownCaption_);
}

void TsuiTitleBar::Paint() {
    // Drawn at the screen's density, so the caption is as sharp as the screen.
    if (buffer_.PixelRatio() != devicePixelRatioF()) {
        buffer_.SetPixelRatio(devicePixelRatioF());
        bufferFresh_ = false;
    }
    if (!bufferFresh_)
        PaintTo(buffer_);
    bufferFresh_ = false;
    Canvas()->Draw(0, 0, buffer_);
}

void TsuiTitleBar::refresh() {
    buffer_.SetPixelRatio(devicePixelRatioF());
    PaintTo(buffer_);
    bufferFresh_ = true;
    Invalidate();
}

// --- the mouse

void TsuiTitleBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TControl::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    if (!(shift & ssDouble)) // a new click: nothing of an earlier double-click is left to come
        controlBoxClosed_ = false;
    pressed_ = true;
    refresh();
    TForm* form = TitleBarForm();
    if (form && hotIndex_ == -1 && form->WindowState() != wsMaximized) {
        // The move starts at the first drag, so that a double-click still reaches the bar.
        moveArmed_ = true;
        pressScreen_ = Platform().CursorPos();
    }
}

void TsuiTitleBar::MouseMove(TShiftState shift, int x, int y) {
    TControl::MouseMove(shift, x, y);
    if (moveArmed_ && (shift & ssLeft)) {
        const TPoint now = Platform().CursorPos();
        if (fallbackMove_.Active()) {
            fallbackMove_.Follow(now);
        } else if (std::abs(now.X - pressScreen_.X) + std::abs(now.Y - pressScreen_.Y) >=
                   QApplication::startDragDistance()) {
            TForm* form = TitleBarForm();
            if (form && form->StartSystemMove()) {
                // The window system moves the window and keeps the release to itself.
                moveArmed_ = false;
                pressed_ = false;
                QMouseEvent release(QEvent::MouseButtonRelease, QPointF(x, y),
                                    QPointF(mapToGlobal(QPoint(x, y))), Qt::LeftButton, Qt::NoButton,
                                    Qt::NoModifier);
                QCoreApplication::sendEvent(this, &release);
            } else if (form) {
                // No window system move here: follow the pointer ourselves.
                fallbackMove_.Begin(form, pressScreen_);
                fallbackMove_.Follow(now);
            }
        }
    }
    refresh();
}

void TsuiTitleBar::endMove() {
    moveArmed_ = false;
    fallbackMove_.End();
}

void TsuiTitleBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    QPointer<TsuiTitleBar> self(this);
    TControl::MouseUp(button, shift, x, y);
    if (!self || button != mbLeft)
        return;
    endMove();
    const int hot = hotIndex_;
    if (hot != -1 && hot < buttons_->Count()) {
        TsuiTitleBarButton* hotButton = buttons_->Items(hot);
        const TsuiTitleBarBtnType type = hotButton->ButtonType();
        if (type != suiControlBox || hotButton->ControlBoxMenu()) {
            hotButton->PerformAction();
            if (!self)
                return;
            if (type == suiCustom) {
                if (OnCustomBtnsClick)
                    OnCustomBtnsClick(this, hot);
            } else if (type == suiHelp) {
                if (OnHelpBtnClick)
                    OnHelpBtnClick(this, hot);
            }
        } else {
            controlBoxReleased();
            if (!self)
                return;
        }
    }
    if (!self)
        return;
    pressed_ = false;
    refresh();
}

void TsuiTitleBar::controlBoxReleased() {
    if (controlBoxClosed_) {
        controlBoxClosed_ = false;
    } else if (controlBoxWait_.isActive()) {
        controlBoxWait_.stop(); // the second click of a double-click
        closeFromControlBox();
    } else {
        controlBoxWait_.start(QApplication::doubleClickInterval());
    }
}

void TsuiTitleBar::closeFromControlBox() {
    controlBoxWait_.stop();
    controlBoxClosed_ = true;
    if (TForm* form = TitleBarForm())
        form->Close();
}

void TsuiTitleBar::MouseLeave() {
    TControl::MouseLeave();
    refresh();
}

void TsuiTitleBar::DblClick() {
    TControl::DblClick();
    if (hotIndex_ == -1) {
        for (int i = 0; i < buttons_->Count(); ++i) {
            TsuiTitleBarButton* button = buttons_->Items(i);
            if (button->ButtonType() == suiMax && button->Visible()) {
                button->PerformAction();
                return;
            }
        }
        return;
    }
    if (hotIndex_ < buttons_->Count() && buttons_->Items(hotIndex_)->ButtonType() == suiControlBox) {
        if (controlBoxClosed_)
            controlBoxClosed_ = false; // its second click has closed the window already
        else
            closeFromControlBox();
    }
}

void TsuiTitleBar::Notification(TComponent* component, TOperation operation) {
    TControl::Notification(component, operation);
    if (operation == opRemove && component == fileTheme_) {
        fileTheme_ = nullptr;
        SetUIStyle(DeepBlue);
    }
}
