#include "app/FormSettings.h"

#include "framework/core/AtomicFileWriter.h"
#include "framework/core/EIniFileException.h"
#include "framework/core/TIniFile.h"
#include "skin/SuiWindowPlacement.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string fullPath(const std::string& fileName) {
    std::error_code ec;
    fs::path full = fs::absolute(fileName, ec);
    return ec ? fileName : full.lexically_normal().string();
}

// A file the user marked read-only stays as it is, whoever runs the program (root included,
// whom permission bits would not stop).
bool markedReadOnly(const std::string& fileName) {
    std::error_code ec;
    fs::file_status st = fs::status(fileName, ec);
    if (ec || !fs::exists(st))
        return false;
    const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (st.permissions() & write) == fs::perms::none;
}

} // namespace

std::string SettingsFilePath(const std::string& directory) {
    return (fs::path(directory) / "config.ini").string();
}

std::string ChooseSettingsDirectory(const std::string& programDirectory, const std::string& configHome) {
    if (AtomicFileWriter::CanReplace(SettingsFilePath(programDirectory)))
        return programDirectory;
    return (fs::path(configHome) / "zelmora").string();
}

void MakePrivateDirectories(const std::string& directory) {
    std::error_code ec;
    fs::path path(directory);
    if (path.empty() || fs::exists(path, ec))
        return;
    MakePrivateDirectories(path.parent_path().string());
    if (fs::create_directory(path, ec))
        fs::permissions(path, fs::perms::owner_all, ec);
}

void PlaceStoredWindow(TFormSettings& form, const std::vector<TRect>& workAreas, TPoint border) {
    const TFormSettings defaults;
    if (form.Width <= 0 || form.Height <= 0) {
        form.Width = defaults.Width;
        form.Height = defaults.Height;
    }
    if (workAreas.empty())
        return;
    const TRect* area = &workAreas.front();
    for (const TRect& a : workAreas)
        if (form.Left >= a.Left && form.Left < a.Right && form.Top >= a.Top && form.Top < a.Bottom) {
            area = &a;
            break;
        }
    // A side fitted to the area starts where the area does, so the whole window shows.
    if (form.Width + border.X > area->Width()) {
        form.Width = std::max(1, area->Width() - border.X);
        form.Left = area->Left;
    }
    if (form.Height + border.Y > area->Height()) {
        form.Height = std::max(1, area->Height() - border.Y);
        form.Top = area->Top;
    }
    const TRect placed =
        BringOntoWorkArea(Bounds(form.Left, form.Top, form.Width + border.X, form.Height + border.Y),
                          workAreas, workAreas.front());
    form.Left = placed.Left;
    form.Top = placed.Top;
}

bool ReadSettings(const std::string& fileName, TProxySettings& proxy, TFormSettings& form) {
    std::error_code ec;
    if (!fs::is_regular_file(fileName, ec))
        return false;
    TIniFile ini(fileName);
    const TFormSettings defaults;
    proxy.Host = ini.ReadString("proxy", "ip", "");
    proxy.Port = ini.ReadInteger("proxy", "port", 0);
    proxy.User = ini.ReadString("proxy", "name", "");
    proxy.Password = ini.ReadString("proxy", "password", "");
    form.Top = ini.ReadInteger("form", "top", defaults.Top);
    form.Left = ini.ReadInteger("form", "left", defaults.Left);
    form.Width = ini.ReadInteger("form", "width", defaults.Width);
    form.Height = ini.ReadInteger("form", "heigth", defaults.Height);
    form.Skin = ini.ReadInteger("form", "skin", defaults.Skin);
    form.GroupWidth = ini.ReadInteger("form", "groupwid", defaults.GroupWidth);
    form.ListWidth = ini.ReadInteger("form", "lbwid", defaults.ListWidth);
    form.ShowTitle = ini.ReadInteger("form", "showtitle", defaults.ShowTitle);
    return true;
}

void WriteSettings(const std::string& fileName, const TFormSettings& form) {
    if (markedReadOnly(fileName))
        throw EIniFileException("Unable to write to " + fullPath(fileName));
    TIniFile ini(fileName);
    ini.WriteInteger("form", "width", form.Width);
    ini.WriteInteger("form", "heigth", form.Height);
    ini.WriteInteger("form", "top", form.Top);
    ini.WriteInteger("form", "left", form.Left);
    ini.WriteInteger("form", "skin", form.Skin);
    ini.WriteInteger("form", "groupwid", form.GroupWidth);
    ini.WriteInteger("form", "lbwid", form.ListWidth);
    ini.WriteInteger("form", "showtitle", form.ShowTitle);
    ini.UpdateFile();
}
