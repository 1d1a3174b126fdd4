#include "skin/TsuiFileTheme.h"

#include "framework/TBitmap.h"
#include "skin/SuiDrawing.h"

TColor TsuiFileTheme::ColorEntry(int entry) const {
    return IntEntry(entry);
}

int TsuiFileTheme::IntEntry(int) const {
    return 0;
}

bool TsuiFileTheme::BoolEntry(int) const {
    return false;
}

void TsuiFileTheme::ImageEntry(int, TBitmap&) const {}

void TsuiFileTheme::ImageFrameEntry(int entry, TBitmap& target, int frameCount, int frameNumber) const {
    TBitmap whole;
    ImageEntry(entry, whole);
    CutBitmapFrame(whole, target, frameCount, frameNumber);
}
