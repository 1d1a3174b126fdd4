#pragma once
// A profile (INI) file: "[section]" lines, then "key=value" lines. Sections and keys compare
// without regard to ASCII case; values are byte strings in the ANSI code page. Writes change
// the copy in memory, keeping every other line and section exactly as read; UpdateFile() puts
// it on disk through a temporary file, so the file is never left half-written.
#include <string>
#include <vector>

class TIniFile {
public:
    // Reads the file when it exists; a missing or unreadable file is an empty profile.
    explicit TIniFile(std::string fileName);

    // The file exists but could not be read (no read permission, a read error, not a regular
    // file). Such a profile is never written back: it would replace what the file holds.
    bool ReadFailed() const { return readFailed_; }

    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& def) const;
    // Decimal, or hexadecimal after "0x" / "0X"; anything else, or a missing key, gives def.
    int ReadInteger(const std::string& section, const std::string& ident, int def) const;
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& ident) const;

    void WriteString(const std::string& section, const std::string& ident, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& ident, int value);

    // Throws EIniFileException "Unable to write to <full path>" and leaves the old file intact,
    // also when the file could not be read.
    void UpdateFile();

    const std::string& FileName() const { return fileName_; }
    // The lines as they will be written (without line ends).
    const std::vector<std::string>& Lines() const { return lines_; }

    // The integer rule of ReadInteger on a bare text; false when the text is not a number.
    static bool ParseInteger(const std::string& text, int& value);

private:
    struct Found {
        std::size_t sectionLine = npos; // the "[section]" line, npos when the section is absent
        std::size_t keyLine = npos;     // the "key=" line, npos when the key is absent
        std::size_t insertAt = npos;    // where a new key of this section goes
    };
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    Found find(const std::string& section, const std::string& ident) const;

    std::string fileName_;
    std::vector<std::string> lines_;
    bool readFailed_ = false;
};
