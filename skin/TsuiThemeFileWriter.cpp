#include "skin/TsuiThemeFileWriter.h"

#include "framework/core/Exception.h"
#include "skin/TsuiThemeFileReader.h"

#include <fstream>

namespace {

void putLe32(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + std::size_t(i)] = char((v >> (8 * i)) & 0xFF);
}

} // namespace

void TsuiThemeFileWriter::Add(std::string_view name, std::uint8_t kind, std::string_view data) {
    items_.push_back(
        Item{std::string(name.substr(0, TsuiThemeFileReader::kNameSize)), kind, std::string(data)});
}

void TsuiThemeFileWriter::AddInteger(std::string_view name, std::int32_t value) {
    std::string data(4, '\0');
    putLe32(data, 0, std::uint32_t(value));
    Add(name, 1, data);
}

void TsuiThemeFileWriter::AddByte(std::string_view name, std::uint8_t value) {
    Add(name, 2, std::string(1, char(value)));
}

std::string TsuiThemeFileWriter::Bytes() const {
    constexpr std::size_t header = TsuiThemeFileReader::kHeaderSize,
                          record = TsuiThemeFileReader::kRecordSize;
    const std::size_t records = items_.size() + 1; // and the chain's end
    std::size_t dataAt = header + records * record, size = dataAt;
    for (const Item& it : items_)
        size += it.data.size();
    std::string out(size, '\0');
    out.replace(0, 10, "Quorvex_TB");
    putLe32(out, 12, header);
    putLe32(out, 20, header);
    for (std::size_t i = 0; i < records; ++i) {
        const std::size_t at = header + i * record;
        if (i == items_.size()) {
            out[at + 64] = char(0xFF); // carries nothing; its next offset 0 ends the chain
            break;
        }
        const Item& it = items_[i];
        out.replace(at, it.name.size(), it.name);
        out[at + 64] = char(it.kind);
        putLe32(out, at + 65, std::uint32_t(dataAt));
        putLe32(out, at + 69, std::uint32_t(it.data.size()));
        putLe32(out, at + 73, std::uint32_t(at + record));
        out.replace(dataAt, it.data.size(), it.data);
        dataAt += it.data.size();
    }
    return out;
}

void TsuiThemeFileWriter::SaveToFile(const std::string& fileName) const {
    const std::string bytes = Bytes();
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    if (!out || !out.write(bytes.data(), std::streamsize(bytes.size())) || !out.flush())
        throw Exception("Cannot write theme file " + fileName);
}
