#pragma once
// TsuiThemeFileReader: reads a whole theme file once, at construction. Plain C++, no Qt, so the
// fuzzer and zelmora-cli can use it on their own.
//
// Layout (little-endian, no gaps):
//   header   0: magic "Quorvex_TB" padded with zero bytes to 12 | 12: header length (24)
//            16: unused | 20: offset of the first entry record
//   record  77 bytes: 0: name, up to the first zero byte of 64 | 64: kind (0 image, 1 integer,
//            2 byte, 3 text, other: carries nothing) | 65: data offset | 69: data size
//            73: offset of the next record; 0 marks the record that ends the chain and is
//            itself no entry
//   data    image: a BMP file; integer: 4 bytes, signed; byte: 1 byte; text: data-size bytes
//
// The file is read into one buffer of its own size; the entries point into it, so no entry
// copies its data and nothing is allocated from a size field of the file. Anything that does
// not fit ends the reading with EThemeFileError: a header length other than 24, a record or
// data block that runs past the end of the file, a chain that comes back onto a record already
// read (itself included), an integer whose size is not 4 or a byte whose size is not 1.
//
// Lookups compare names without regard to ASCII case and take the first entry of the kind.
#include "framework/core/Exception.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class EThemeFileError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EThemeFileError"; }
};

enum TThemeEntryKind : std::uint8_t { tekImage = 0, tekInteger = 1, tekByte = 2, tekText = 3 };

struct TThemeFileEntry {
    std::string_view Name;
    TThemeEntryKind Kind;
    std::string_view Data; // the entry's bytes inside the file
    int Value = 0;         // integers and bytes
};

class TsuiThemeFileReader {
public:
    static constexpr std::size_t kHeaderSize = 24;
    static constexpr std::size_t kRecordSize = 77;
    static constexpr std::size_t kNameSize = 64;
    // Theme files are a few hundred kilobytes; anything far larger is refused unread.
    static constexpr std::uint64_t kMaxFileSize = 64u << 20;

    // Reads the file; EThemeFileError when it cannot be read (it is no regular file, or larger
    // than kMaxFileSize) or is not a well-formed theme file.
    explicit TsuiThemeFileReader(const std::string& fileName);
    // Reads a theme file already in memory (the fuzzer, tests).
    static std::unique_ptr<TsuiThemeFileReader> FromBytes(std::string_view bytes);

    TsuiThemeFileReader(const TsuiThemeFileReader&) = delete;
    TsuiThemeFileReader& operator=(const TsuiThemeFileReader&) = delete;

    // True when the file's first 12 bytes hold "Quorvex_TB" up to their first zero byte; false
    // for a missing, unreadable or shorter file, and for anything but a regular file (a FIFO is
    // not waited for, a device not read).
    static bool IsThemeFile(const std::string& fileName);
    // The same question answered with EThemeFileError: why the file cannot be opened, or
    // "Invalid skin file for Quorvex!".
    static void CheckThemeFile(const std::string& fileName);
    static bool HasMagic(std::string_view firstBytes);

    // Every entry of kinds 0 to 3 in chain order (the four lists together).
    const std::vector<TThemeFileEntry>& Entries() const { return entries_; }
    int Count(TThemeEntryKind kind) const;

    // The first entry of that kind and name, or nullptr.
    const TThemeFileEntry* Find(TThemeEntryKind kind, std::string_view name) const;

private:
    TsuiThemeFileReader() = default;
    void parse();

    std::string bytes_;
    std::vector<TThemeFileEntry> entries_;
};
