#include "skin/TsuiTitleBarButton.h"

#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "framework/TMenu.h"
#include "framework/TPlatform.h"
#include "skin/SuiDrawing.h"
#include "skin/SuiStyleDecisions.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiStyleSource.h"
#include "skin/TsuiTitleBar.h"

namespace {

// The title-bar button strip: six glyphs, three looks each.
constexpr int kFrames = 18;

} // namespace

TsuiTitleBarButton::TsuiTitleBarButton(TsuiTitleBarButtons* collection) : collection_(collection) {}

void TsuiTitleBarButton::changed() {
    if (collection_)
        collection_->Changed();
}

void TsuiTitleBarButton::SetUIStyle(TsuiUIStyle style) {
    style_ = style;
    ReloadPictures();
}

void TsuiTitleBarButton::SetButtonType(TsuiTitleBarBtnType type) {
    if (type == suiControlBox && collection_) {
        for (int i = 0; i < collection_->Count(); ++i)
            if (collection_->Items(i)->type_ == suiControlBox) {
                Platform().MessageBox(
                    nullptr,
                    QStringLiteral("Sorry, only one button's ButtonType property can be \"suiControlBox\""),
                    QStringLiteral("Error"), MB_OK | MB_ICONERROR);
                return;
            }
    }
    type_ = type;
    ReloadPictures();
    changed();
}

void TsuiTitleBarButton::SetTransparent(bool value) {
    transparent_ = value;
    changed();
}

void TsuiTitleBarButton::SetTop(int value) {
    top_ = value;
    changed();
}

void TsuiTitleBarButton::SetVisible(bool value) {
    visible_ = value;
    changed();
}

void TsuiTitleBarButton::SetPicNormal(const TBitmap& picture) {
    picNormal_.Assign(picture);
    changed();
}

void TsuiTitleBarButton::SetPicMouseOn(const TBitmap& picture) {
    picMouseOn_.Assign(picture);
    changed();
}

void TsuiTitleBarButton::SetPicMouseDown(const TBitmap& picture) {
    picMouseDown_.Assign(picture);
    changed();
}

void TsuiTitleBarButton::Assign(const TsuiTitleBarButton& other) {
    SetVisible(other.visible_);
    SetButtonType(other.type_);
    SetTransparent(other.transparent_);
    SetTop(other.top_);
    SetUIStyle(other.style_);
    SetPicNormal(other.picNormal_);
    SetPicMouseOn(other.picMouseOn_);
    SetPicMouseDown(other.picMouseDown_);
    controlBoxMenu_ = other.controlBoxMenu_;
}

int TsuiTitleBarButton::Index() const {
    return collection_ ? collection_->IndexOf(this) : -1;
}

void TsuiTitleBarButton::loadFrames(int normal, int mouseOn, int mouseDown) {
    TsuiTitleBar* bar = collection_ ? collection_->TitleBar() : nullptr;
    TsuiFileTheme* theme = bar ? bar->FileTheme() : nullptr;
    // The strip is read once and cut three times.
    TBitmap strip;
    TsuiStyleSource(theme, style_).Image(TStyleEntry::TitleBarButtonImage, strip);
    if (strip.Empty()) // a strip the theme file lacks leaves the button's pictures as they were
        return;
    CutBitmapFrame(strip, picNormal_, kFrames, normal);
    CutBitmapFrame(strip, picMouseOn_, kFrames, mouseOn);
    CutBitmapFrame(strip, picMouseDown_, kFrames, mouseDown);
}

void TsuiTitleBarButton::ReloadPictures() {
    TsuiTitleBar* bar = collection_ ? collection_->TitleBar() : nullptr;
    TsuiFileTheme* theme = bar ? bar->FileTheme() : nullptr;
    const TsuiStyleSource source(theme, style_);
    transparent_ = source.Bool(TStyleEntry::TitleBarButtonTransparentBool);
    if (type_ != suiCustom) {
        switch (type_) {
        case suiControlBox:
            loadFrames(1, 2, 3);
            break;
        case suiHelp:
            loadFrames(4, 5, 6);
            break;
        case suiMax:
            loadFrames(7, 8, 9);
            break;
        case suiMin:
            loadFrames(13, 14, 15);
            break;
        case suiClose:
            loadFrames(16, 17, 18);
            break;
        case suiCustom:
            break;
        }
        top_ = source.Int(TStyleEntry::TitleBarButtonTopInt);
    }
    if (type_ == suiMax)
        UpdateMaximizeGlyph();
    changed();
}

void TsuiTitleBarButton::UpdateMaximizeGlyph() {
    TsuiTitleBar* bar = collection_ ? collection_->TitleBar() : nullptr;
    if (bar && bar->Custom())
        return;
    TForm* form = bar ? bar->TitleBarForm() : nullptr;
    if (form && form->WindowState() == wsMaximized)
        loadFrames(10, 11, 12);
    else
        loadFrames(7, 8, 9);
    changed();
}

void TsuiTitleBarButton::PerformAction() {
    TsuiTitleBar* bar = collection_ ? collection_->TitleBar() : nullptr;
    TForm* form = bar ? bar->TitleBarForm() : nullptr;
    if (!form)
        return;
    switch (type_) {
    case suiMax:
        if (form->WindowState() == wsMaximized) {
            form->SetWindowState(wsNormal);
        } else {
            form->SetWindowState(wsMaximized);
            // A bar without the frame places the window itself, leaving the bottom row free so
            // an auto-hiding task bar can still be reached.
            if (!bar->IsFramed()) {
                TRect work = DesktopWorkArea();
                work.Bottom -= 1;
                PlaceFormInRect(form, work);
            }
        }
        UpdateMaximizeGlyph();
        break;
    case suiMin:
        bar->MinimizeForm();
        break;
    case suiClose:
        form->Close();
        break;
    case suiControlBox:
        if (controlBoxMenu_) {
            const TPoint p = bar->ClientToScreen(Point(0, bar->Height()));
            controlBoxMenu_->Popup(p.X, p.Y);
        }
        break;
    case suiHelp:
    case suiCustom:
        break;
    }
}
