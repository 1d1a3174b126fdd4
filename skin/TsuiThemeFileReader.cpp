#include "skin/TsuiThemeFileReader.h"

#include "framework/core/AsciiText.h"
#include "framework/core/EInOutError.h"
#include "framework/core/TextFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kMagic[] = "Quorvex_TB";
constexpr std::size_t kMagicField = 12;

std::uint32_t le32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return std::uint32_t(u[0]) | std::uint32_t(u[1]) << 8 | std::uint32_t(u[2]) << 16 |
           std::uint32_t(u[3]) << 24;
}

// Whether [offset, offset + size) lies inside a buffer of `total` bytes, without overflow.
bool fits(std::uint64_t offset, std::uint64_t size, std::uint64_t total) {
    return offset <= total && size <= total - offset;
}

std::string quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

} // namespace

TsuiThemeFileReader::TsuiThemeFileReader(const std::string& fileName) {
    try {
        bytes_ = ReadFileBytes(fileName, kMaxFileSize);
    } catch (const EInOutError& e) {
        throw EThemeFileError(e.Message());
    }
    parse();
}

std::unique_ptr<TsuiThemeFileReader> TsuiThemeFileReader::FromBytes(std::string_view bytes) {
    if (bytes.size() > kMaxFileSize)
        throw EThemeFileError("Theme file is larger than 64 MiB");
    std::unique_ptr<TsuiThemeFileReader> reader(new TsuiThemeFileReader);
    reader->bytes_.assign(bytes.begin(), bytes.end());
    reader->parse();
    return reader;
}

bool TsuiThemeFileReader::HasMagic(std::string_view firstBytes) {
    if (firstBytes.size() < 16)
        return false;
    const std::string_view field = firstBytes.substr(0, kMagicField);
    return field.substr(0, field.find('\0')) == kMagic;
}

void TsuiThemeFileReader::CheckThemeFile(const std::string& fileName) {
    std::string head;
    try {
        head = ReadFileHead(fileName, 16);
    } catch (const EInOutError& e) {
        throw EThemeFileError(e.Message());
    }
    if (!HasMagic(head))
        throw EThemeFileError("Invalid skin file for Quorvex!");
}

bool TsuiThemeFileReader::IsThemeFile(const std::string& fileName) {
    try {
        CheckThemeFile(fileName);
        return true;
    } catch (const EThemeFileError&) {
        return false;
    }
}

void TsuiThemeFileReader::parse() {
    const std::uint64_t total = bytes_.size();
    const char* base = bytes_.data();
    if (total < kHeaderSize)
        throw EThemeFileError("Theme file is shorter than its 24-byte header");
    if (!HasMagic(std::string_view(base, kHeaderSize)))
        throw EThemeFileError("Invalid skin file for Quorvex!");
    // The header is 24 bytes; a file that claims another length is not one of ours, and a
    // longer header must never be copied into the 24 bytes that hold it.
    const std::uint32_t headerLength = le32(base + 12);
    if (headerLength != kHeaderSize)
        throw EThemeFileError("Theme file header length " + std::to_string(headerLength) + " is not 24");

    // Bytes already taken by a record of this chain: a chain that comes back onto one of them
    // would run forever (or read the same entries again), and overlapping records are no file
    // any writer makes. One bit per byte of the file.
    std::vector<bool> taken(std::size_t(total), false);
    std::uint64_t at = le32(base + 20);
    for (;;) {
        if (!fits(at, kRecordSize, total))
            throw EThemeFileError("Theme file entry record at offset " + std::to_string(at) +
                                  " lies outside the file");
        const auto first = taken.begin() + std::ptrdiff_t(at);
        if (std::find(first, first + kRecordSize, true) != first + kRecordSize)
            throw EThemeFileError("Theme file record chain returns to an earlier record at offset " +
                                  std::to_string(at));
        std::fill(first, first + kRecordSize, true);

        const char* rec = base + at;
        const std::uint32_t next = le32(rec + 73);
        if (next == 0)
            break; // the chain's last record carries no entry
        const std::string_view name(rec, strnlen(rec, kNameSize));
        const unsigned kind = static_cast<unsigned char>(rec[64]);
        const std::uint32_t dataOffset = le32(rec + 65), dataSize = le32(rec + 69);
        if (kind <= tekText) {
            if (!fits(dataOffset, dataSize, total))
                throw EThemeFileError("Theme file entry " + quoted(name) + " has data outside the file");
            if (kind == tekInteger && dataSize != 4)
                throw EThemeFileError("Theme file integer entry " + quoted(name) + " holds " +
                                      std::to_string(dataSize) + " bytes, not 4");
            if (kind == tekByte && dataSize != 1)
                throw EThemeFileError("Theme file byte entry " + quoted(name) + " holds " +
                                      std::to_string(dataSize) + " bytes, not 1");
            TThemeFileEntry e{name, TThemeEntryKind(kind), std::string_view(base + dataOffset, dataSize)};
            if (kind == tekInteger)
                e.Value = std::int32_t(le32(base + dataOffset));
            else if (kind == tekByte)
                e.Value = static_cast<unsigned char>(base[dataOffset]);
            entries_.push_back(e);
        }
        at = next;
    }
}

int TsuiThemeFileReader::Count(TThemeEntryKind kind) const {
    return int(std::count_if(entries_.begin(), entries_.end(),
                             [kind](const TThemeFileEntry& e) { return e.Kind == kind; }));
}

const TThemeFileEntry* TsuiThemeFileReader::Find(TThemeEntryKind kind, std::string_view name) const {
    for (const TThemeFileEntry& e : entries_)
        if (e.Kind == kind && SameText(e.Name, name))
            return &e;
    return nullptr;
}
