#include "skin/TsuiStyleSource.h"

#include "skin/SuiStyleDecisions.h"
#include "skin/TsuiFileTheme.h"

namespace {

int number(TStyleEntry entry) {
    return static_cast<int>(entry);
}

} // namespace

TsuiStyleSource::TsuiStyleSource(const TsuiFileTheme* fileTheme, TsuiUIStyle style) {
    if (ResolveFileTheme(fileTheme, style, builtIn_))
        theme_ = fileTheme;
}

TColor TsuiStyleSource::Color(TStyleEntry entry) const {
    return theme_ ? theme_->ColorEntry(number(entry)) : StyleColor(builtIn_, entry);
}

int TsuiStyleSource::Int(TStyleEntry entry) const {
    return theme_ ? theme_->IntEntry(number(entry)) : StyleInt(builtIn_, entry);
}

bool TsuiStyleSource::Bool(TStyleEntry entry) const {
    return theme_ ? theme_->BoolEntry(number(entry)) : StyleBool(builtIn_, entry);
}

void TsuiStyleSource::Image(TStyleEntry entry, TBitmap& target) const {
    if (theme_)
        theme_->ImageEntry(number(entry), target);
    else
        LoadStyleImage(builtIn_, entry, &target, 0, 0);
}

void TsuiStyleSource::ImageFrame(TStyleEntry entry, TBitmap& target, int frameCount, int frameNumber) const {
    if (theme_)
        theme_->ImageFrameEntry(number(entry), target, frameCount, frameNumber);
    else
        LoadStyleImage(builtIn_, entry, &target, frameCount, frameNumber);
}

TColor TsuiStyleSource::ThemeKind() const {
    return theme_ ? theme_->ColorEntry(number(TStyleEntry::ControlFontColor)) : 0;
}
