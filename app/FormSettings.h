#pragma once
// The main window's settings file, config.ini beside the executable or in the user's
// configuration directory (ChooseSettingsDirectory):
//
//   [proxy]  ip, port, name, password        read only; edited by hand
//   [form]   top, left, width, heigth, skin, groupwid, lbwid, showtitle
//
// ("heigth" is the key's spelling in every file there is.) Numbers are decimal, or hexadecimal
// after "0x"/"0X"; a missing key or any other text gives the default. Writing changes only the
// eight "form" keys and keeps every other line of the file; the new file replaces the old one
// only once it is completely written, so a failure never leaves half a file behind.
#include "framework/core/TRect.h"

#include <string>
#include <vector>

struct TProxySettings {
    std::string Host;
    int Port = 0;
    std::string User;
    std::string Password;
};

struct TFormSettings {
    int Top = 48;
    int Left = 183;
    int Width = 652;
    int Height = 565;
    int Skin = 0;
    int GroupWidth = 277;
    int ListWidth = 257;
    int ShowTitle = 1;
};

// The settings file in a directory ("<dir>/config.ini").
std::string SettingsFilePath(const std::string& directory);

// Where config.ini lives for a run: beside the executable when a config.ini there exists and can
// be written (the portable place, as documented), otherwise "<configHome>/zelmora" (an installed
// program's folder is not the user's to write), which the first close makes.
std::string ChooseSettingsDirectory(const std::string& programDirectory, const std::string& configHome);

// Makes the folders of a path that do not exist yet, readable by the user alone (as the folders
// of the user's configuration are). Failures are left to the writing that follows.
void MakePrivateDirectories(const std::string& directory);

// A stored window made sound for the screens (the primary's work area first): a width or height
// of 0 or below gives the default size; a window larger than the work area its top-left corner
// lies on (the primary's when none) is fitted to that area; a window out of the user's reach
// comes back onto the primary work area (BringOntoWorkArea). border: what the window adds to its
// client area in width and height.
void PlaceStoredWindow(TFormSettings& form, const std::vector<TRect>& workAreas, TPoint border);

// False when the file does not exist (the values are then left as they are).
bool ReadSettings(const std::string& fileName, TProxySettings& proxy, TFormSettings& form);

// Throws EIniFileException "Unable to write to <full path>" when the file cannot be written,
// also when it is marked read-only (no write permission bit at all), and leaves it untouched.
void WriteSettings(const std::string& fileName, const TFormSettings& form);
