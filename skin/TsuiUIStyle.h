#pragma once
// TsuiUIStyle: the style of every skinned component, held in one byte. DeepBlue is the default
// and the fallback everywhere. The enumeration is registered with Qt (Q_ENUM_NS), so a published
// `UIStyle` property is written Q_PROPERTY(TsuiStyles::TsuiUIStyle UIStyle ...) and converts to
// and from its names ("DeepBlue").
#include <QObject>
#include <cstdint>
#include <string>

namespace TsuiStyles {
Q_NAMESPACE
enum TsuiUIStyle : std::uint8_t {
    FromThemeFile = 0,
    MacOS = 1,
    WinXP = 2,
    DeepBlue = 3,
    Protein = 4,
    BlueGlass = 5
};
Q_ENUM_NS(TsuiUIStyle)
} // namespace TsuiStyles

using TsuiUIStyle = TsuiStyles::TsuiUIStyle;
using enum TsuiStyles::TsuiUIStyle;

// "MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"; empty for FromThemeFile and unknown values.
std::string StylePrefix(int style);
// "MacOS" ... "BlueGlass", "FromThemeFile"; empty for unknown values.
std::string StyleName(int style);
