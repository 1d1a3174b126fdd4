#pragma once
// TsuiFileTheme: the component that stands for a theme file, whose entries replace the built-in
// style table for components whose UIStyle is FromThemeFile (see ResolveFileTheme).
//
// This part holds what the style decisions and the components ask of it: the loaded flag and the
// lookups by entry number. Until a theme file has been read (reading them is the theme-file
// reader's job) it is not loaded and answers as an unread theme does: colour and integer 0, flag
// false, the whole image leaves the bitmap unchanged and a frame of it empties the bitmap.
#include "framework/TColor.h"
#include "framework/TComponent.h"

class TBitmap;

class TsuiFileTheme : public TNonVisualComponent {
    Q_OBJECT
public:
    explicit TsuiFileTheme(TComponent* owner) : TNonVisualComponent(owner) {}

    bool Loaded() const { return loaded_; }

    virtual TColor ColorEntry(int entry) const;
    virtual int IntEntry(int entry) const;
    virtual bool BoolEntry(int entry) const;
    virtual void ImageEntry(int entry, TBitmap& target) const;
    virtual void ImageFrameEntry(int entry, TBitmap& target, int frameCount, int frameNumber) const;

protected:
    void SetLoaded(bool loaded) { loaded_ = loaded; }

private:
    bool loaded_ = false;
};
