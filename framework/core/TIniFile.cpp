#include "framework/core/TIniFile.h"

#include "framework/core/AsciiText.h"

#include "framework/core/EInOutError.h"
#include "framework/core/EIniFileException.h"
#include "framework/core/TextFile.h"

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Compatibility: an editor may have put a UTF-8 byte order mark before the first section.
std::string_view lineText(const std::string& line, std::size_t index) {
    std::string_view s(line);
    if (index == 0 && s.starts_with("\xEF\xBB\xBF"))
        s.remove_prefix(3);
    return trim(s);
}

bool sectionName(std::string_view text, std::string_view& name) {
    if (text.empty() || text.front() != '[')
        return false;
    text.remove_prefix(1);
    std::size_t close = text.find(']');
    name = trim(text.substr(0, close));
    return true;
}

bool keyValue(std::string_view text, std::string_view& key, std::string_view& value) {
    if (text.empty() || text.front() == ';')
        return false;
    std::size_t eq = text.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = trim(text.substr(0, eq));
    value = trim(text.substr(eq + 1));
    // Compatibility: a value in matching quotes loses them, as profile readers do.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return true;
}

// A value must stay on its line: a line break in it would start a new key or section.
std::string oneLine(const std::string& value) {
    std::string s = value;
    for (char& c : s)
        if (c == '\r' || c == '\n')
            c = ' ';
    return s;
}

} // namespace

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {
    std::error_code ec;
    const auto status = std::filesystem::status(fileName_, ec);
    if (!std::filesystem::exists(status))
        return;
    if (!std::filesystem::is_regular_file(status)) {
        readFailed_ = true;
        return;
    }
    try {
        lines_ = ReadTextLines(fileName_);
    } catch (const EInOutError&) {
        lines_.clear(); // unreadable reads as empty, like a missing file
        readFailed_ = true;
    }
}

TIniFile::Found TIniFile::find(const std::string& section, const std::string& ident) const {
    Found f;
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string_view text = lineText(lines_[i], i);
        std::string_view name;
        if (sectionName(text, name)) {
            if (inSection)
                break; // only the first section of that name counts
            inSection = SameText(name, section);
            if (inSection) {
                f.sectionLine = i;
                f.insertAt = i + 1;
            }
            continue;
        }
        if (!inSection)
            continue;
        std::string_view key, value;
        if (keyValue(text, key, value)) {
            f.insertAt = i + 1;
            if (f.keyLine == npos && SameText(key, ident))
                f.keyLine = i;
        } else if (!text.empty()) {
            f.insertAt = i + 1;
        }
    }
    return f;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& ident,
                                 const std::string& def) const {
    Found f = find(section, ident);
    if (f.keyLine == npos)
        return def;
    std::string_view key, value;
    keyValue(lineText(lines_[f.keyLine], f.keyLine), key, value);
    return std::string(value);
}

bool TIniFile::ParseInteger(const std::string& raw, int& out) {
    std::string_view s = trim(raw);
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        std::uint64_t v = 0;
        for (char c : s.substr(2)) {
            int d = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
            if (d < 0)
                return false;
            v = v * 16 + static_cast<std::uint64_t>(d);
            if (v > 0xFFFFFFFFull)
                return false;
        }
        // Compatibility: eight hex digits fill the 32 bits, so 0xFFFFFFFF reads as -1.
        out = static_cast<int>(static_cast<std::uint32_t>(v));
        return true;
    }
    bool negative = false;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    if (s.empty())
        return false;
    std::int64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
        if (v > 2147483648LL)
            return false;
    }
    if (negative)
        v = -v;
    if (v > 2147483647LL)
        return false;
    out = static_cast<int>(v);
    return true;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& ident, int def) const {
    int v = 0;
    return ParseInteger(ReadString(section, ident, ""), v) ? v : def;
}

bool TIniFile::SectionExists(const std::string& section) const {
    return find(section, "").sectionLine != npos;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& ident) const {
    return find(section, ident).keyLine != npos;
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    Found f = find(section, ident);
    if (f.keyLine != npos) {
        // Keep the key as spelt in the file; only the value changes.
        std::string_view text = lineText(lines_[f.keyLine], f.keyLine);
        std::string_view key = trim(text.substr(0, text.find('=')));
        lines_[f.keyLine] = std::string(key) + "=" + oneLine(value);
        return;
    }
    std::string line = ident + "=" + oneLine(value);
    if (f.sectionLine == npos) {
        lines_.push_back("[" + section + "]");
        lines_.push_back(line);
        return;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(f.insertAt), line);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
    WriteString(section, ident, std::to_string(value));
}

void TIniFile::UpdateFile() {
    // A file that could not be read is left alone: writing our copy would replace what it holds.
    bool written = !readFailed_;
    if (written) {
        try {
            WriteTextLines(fileName_, lines_);
        } catch (const EInOutError&) {
            written = false;
        }
    }
    if (!written) {
        std::error_code ec;
        auto full = std::filesystem::absolute(fileName_, ec);
        throw EIniFileException("Unable to write to " + (ec ? fileName_ : full.lexically_normal().string()));
    }
}
