#pragma once
// TsuiThemeFileWriter: makes a theme file that TsuiThemeFileReader reads (zelmora-cli theme pack,
// tests). Plain C++, no Qt.
//
//   TsuiThemeFileWriter w;
//   w.AddInteger("FormBorderColor", 0x336633);
//   w.AddByte("TitleBarButtonTransparentBool", 1);
//   w.AddImage("TitleBarLeftImage", bmpFileBytes);
//   std::string file = w.Bytes();
//
// The header comes first, then the entry records in the order added, one after another, then
// the record that ends the chain, then the data blocks in the same order.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TsuiThemeFileWriter {
public:
    // Names longer than 64 bytes are cut to 64.
    void Add(std::string_view name, std::uint8_t kind, std::string_view data);
    void AddImage(std::string_view name, std::string_view bmpFile) { Add(name, 0, bmpFile); }
    void AddInteger(std::string_view name, std::int32_t value);
    void AddByte(std::string_view name, std::uint8_t value);
    void AddText(std::string_view name, std::string_view text) { Add(name, 3, text); }

    std::string Bytes() const;
    // Throws Exception "Cannot write theme file NAME" when the file cannot be written.
    void SaveToFile(const std::string& fileName) const;

private:
    struct Item {
        std::string name;
        std::uint8_t kind;
        std::string data;
    };
    std::vector<Item> items_;
};
