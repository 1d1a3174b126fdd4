#include "skin/TsuiTitleBarSection.h"

#include "framework/TPlatform.h"
#include "skin/TsuiTitleBar.h"

#include <algorithm>

TsuiTitleBarSection::TsuiTitleBarSection(TsuiTitleBarSections* collection) : collection_(collection) {}

void TsuiTitleBarSection::changed() {
    if (collection_)
        collection_->Changed();
}

void TsuiTitleBarSection::SetAutoSize(bool value) {
    autoSize_ = value;
    if (!picture_.Empty())
        width_ = picture_.Width();
    changed();
}

void TsuiTitleBarSection::SetWidth(int value) {
    width_ = value;
    changed();
}

void TsuiTitleBarSection::SetAlign(TsuiTitleBarAlign value) {
    if (value == suiClient && collection_) {
        for (int i = 0; i < collection_->Count(); ++i)
            if (collection_->Items(i)->align_ == suiClient) {
                Platform().MessageBox(
                    nullptr, QStringLiteral("Sorry, only one section's Align property can be \"suiClient\""),
                    QStringLiteral("Error"), MB_OK | MB_ICONERROR);
                return;
            }
    }
    // The middle piece always stretches.
    if (value == suiClient)
        stretch_ = true;
    align_ = value;
    changed();
}

void TsuiTitleBarSection::SetPicture(const TBitmap& picture) {
    picture_.Assign(picture);
    if (!picture.Empty() && autoSize_)
        width_ = picture.Width();
    changed();
}

void TsuiTitleBarSection::SetStretch(bool value) {
    stretch_ = align_ == suiClient ? true : value;
    changed();
}

void TsuiTitleBarSection::Assign(const TsuiTitleBarSection& other) {
    SetWidth(other.width_);
    SetAlign(other.align_);
    SetPicture(other.picture_);
    SetStretch(other.stretch_);
    SetAutoSize(other.autoSize_);
}

int TsuiTitleBarSection::Index() const {
    return collection_ ? collection_->IndexOf(this) : -1;
}
