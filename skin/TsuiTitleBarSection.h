#pragma once
// Background sections of the skinned title bar, in an owned collection of the bar. A collection
// made without a bar (nullptr) is a free-standing copy that the bar's SetSections copies in.
//
// Sections are painted by position alone: 0 the left piece, 1 the right piece, 2 the stretched
// middle. Align, Width, Stretch and AutoSize are stored and policed by the setters only; any
// change repaints the bar. A second suiClient section is refused with a "Sorry, ..." dialog.
#include "framework/TBitmap.h"
#include "skin/TsuiTitleBarItems.h"
#include "skin/TsuiTitleBarTypes.h"

class TsuiTitleBar;
class TsuiTitleBarSections;

class TsuiTitleBarSection {
public:
    explicit TsuiTitleBarSection(TsuiTitleBarSections* collection);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    int Width() const { return width_; }
    void SetWidth(int value);
    TsuiTitleBarAlign Align() const { return align_; }
    void SetAlign(TsuiTitleBarAlign value);
    // Owned by the section; SetPicture copies.
    const TBitmap& Picture() const { return picture_; }
    void SetPicture(const TBitmap& picture);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);

    // Width, Align, Picture, Stretch, AutoSize through the setters, in that order.
    void Assign(const TsuiTitleBarSection& other);
    int Index() const;
    TsuiTitleBarSections* Collection() const { return collection_; }

private:
    void changed();

    TsuiTitleBarSections* collection_;
    bool autoSize_ = false;
    int width_ = 10;
    TsuiTitleBarAlign align_ = suiLeft;
    TBitmap picture_;
    bool stretch_ = false;
};

class TsuiTitleBarSections : public TsuiTitleBarItems<TsuiTitleBarSection, TsuiTitleBarSections> {
public:
    explicit TsuiTitleBarSections(TsuiTitleBar* bar = nullptr) : TsuiTitleBarItems(bar) {}
};
