#pragma once
// The main window's settings file, config.ini beside the executable:
//
//   [proxy]  ip, port, name, password        read only; edited by hand
//   [form]   top, left, width, heigth, skin, groupwid, lbwid, showtitle
//
// ("heigth" is the key's spelling in every file there is.) Numbers are decimal, or hexadecimal
// after "0x"/"0X"; a missing key or any other text gives the default. Writing changes only the
// eight "form" keys and keeps every other line of the file; the new file replaces the old one
// only once it is completely written, so a failure never leaves half a file behind.
#include <string>

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

// False when the file does not exist (the values are then left as they are).
bool ReadSettings(const std::string& fileName, TProxySettings& proxy, TFormSettings& form);

// Throws EIniFileException "Unable to write to <full path>" when the file cannot be written,
// also when it is marked read-only (no write permission bit at all), and leaves it untouched.
void WriteSettings(const std::string& fileName, const TFormSettings& form);
