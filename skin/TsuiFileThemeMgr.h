#pragma once
// TsuiFileThemeMgr: the holder inside a TsuiFileTheme. It maps entry numbers 1 to 42 to their keys
// (the keys of the built-in style table, "FormBorderColor") and asks the theme-file reader it
// holds, if any.
//
//   Load(file)       false when the file does not exist (the previous reader stays); otherwise
//                    reads it and replaces the previous reader. A read error propagates and
//                    also leaves the previous reader in place.
//   Integer(n)       the integer entry of key n; 0 without a reader, -1 when there is none
//   Flag(n)          the byte entry of key n; 0 without a reader or entry
//   Image(n, bmp)    the image entry of key n into bmp; bmp unchanged without a reader, an
//                    entry, or when the entry holds no readable BMP
#include <memory>
#include <string>
#include <string_view>

class TBitmap;
class TsuiThemeFileReader;

class TsuiFileThemeMgr {
public:
    TsuiFileThemeMgr();
    ~TsuiFileThemeMgr();
    TsuiFileThemeMgr(const TsuiFileThemeMgr&) = delete;
    TsuiFileThemeMgr& operator=(const TsuiFileThemeMgr&) = delete;

    bool Load(const std::string& fileName);
    bool HasReader() const { return reader_ != nullptr; }
    const TsuiThemeFileReader* Reader() const { return reader_.get(); }

    int Integer(int entry) const;
    int Flag(int entry) const;
    void Image(int entry, TBitmap& target) const;

private:
    std::unique_ptr<TsuiThemeFileReader> reader_;
};

// Decodes a BMP file held in memory into target; false (target unchanged) when the bytes hold no
// readable bitmap or one too large to be a skin bitmap.
bool LoadThemeBitmap(std::string_view bmpFile, TBitmap& target);
