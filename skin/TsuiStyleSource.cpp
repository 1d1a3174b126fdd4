#include "skin/TsuiStyleSource.h"

#include "framework/TPlatform.h"
#include "skin/SuiStyleDecisions.h"
#include "skin/TsuiFileTheme.h"

#include <algorithm>

namespace {

int number(TStyleEntry entry) {
    return static_cast<int>(entry);
}

// A colour entry a theme file lacks reads -1: no 0x00BBGGRR colour and no system colour.
constexpr TColor kMissingColor = TColor(-1);

// The frame paints a 3-pixel band; corners and the title bar's offsets stay within a bar's reach.
constexpr int kMaxBorderWidth = 3;
constexpr int kMaxRoundCorner = 32;
constexpr int kMaxButtonOffset = 64;
constexpr int kMinButtonTop = -32;
constexpr int kMaxButtonTop = 64;

int clampFromFile(TStyleEntry entry, int value) {
    switch (entry) {
    case TStyleEntry::FormMinWidthInt:
        return std::clamp(value, 0, std::max(0, Platform().WorkArea().Width()));
    case TStyleEntry::FormBorderWidthInt:
        return std::clamp(value, 0, kMaxBorderWidth);
    case TStyleEntry::FormRoundCornerInt:
        return std::clamp(value, 0, kMaxRoundCorner);
    case TStyleEntry::TitleBarButtonLeftOffsetInt:
    case TStyleEntry::TitleBarButtonRightOffsetInt:
        return std::clamp(value, -kMaxButtonOffset, kMaxButtonOffset);
    case TStyleEntry::TitleBarButtonTopInt:
        return std::clamp(value, kMinButtonTop, kMaxButtonTop);
    default:
        return value;
    }
}

} // namespace

TsuiStyleSource::TsuiStyleSource(const TsuiFileTheme* fileTheme, TsuiUIStyle style) {
    if (ResolveFileTheme(fileTheme, style, builtIn_))
        theme_ = fileTheme;
}

TColor TsuiStyleSource::Color(TStyleEntry entry) const {
    return theme_ ? theme_->ColorEntry(number(entry)) : StyleColor(builtIn_, entry);
}

TColor TsuiStyleSource::Color(TStyleEntry entry, TColor current) const {
    const TColor value = Color(entry);
    return theme_ && value == kMissingColor ? current : value;
}

TColor TsuiStyleSource::DefaultedColor(TStyleEntry entry) const {
    return Color(entry, StyleColor(DeepBlue, entry));
}

int TsuiStyleSource::Int(TStyleEntry entry) const {
    return theme_ ? clampFromFile(entry, theme_->IntEntry(number(entry))) : StyleInt(builtIn_, entry);
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
