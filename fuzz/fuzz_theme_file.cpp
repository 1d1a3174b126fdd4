// Reading theme files: any bytes either read or end in EThemeFileError (never a crash, a hang or
// a read outside the file), and what was read writes back into a file that reads the same.
#include "FuzzCheck.h"
#include "skin/TsuiThemeFileReader.h"
#include "skin/TsuiThemeFileWriter.h"

#include <cstdint>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<TsuiThemeFileReader> reader;
    try {
        reader = TsuiThemeFileReader::FromBytes(bytes);
    } catch (const EThemeFileError&) {
        return 0;
    }
    const auto& entries = reader->Entries();
    // Records do not overlap, so there are no more entries than records fit in the file.
    FUZZ_CHECK(entries.size() <= size / TsuiThemeFileReader::kRecordSize);
    TsuiThemeFileWriter writer;
    for (const TThemeFileEntry& e : entries) {
        FUZZ_CHECK(e.Name.size() <= TsuiThemeFileReader::kNameSize);
        FUZZ_CHECK(e.Name.find('\0') == std::string_view::npos);
        FUZZ_CHECK(e.Kind <= tekText);
        FUZZ_CHECK(e.Kind != tekInteger || e.Data.size() == 4);
        FUZZ_CHECK(e.Kind != tekByte || (e.Data.size() == 1 && e.Value >= 0 && e.Value <= 255));
        FUZZ_CHECK(e.Data.size() <= size);
        writer.Add(e.Name, e.Kind, e.Data);
    }
    const auto back = TsuiThemeFileReader::FromBytes(writer.Bytes());
    FUZZ_CHECK(back->Entries().size() == entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        FUZZ_CHECK(back->Entries()[i].Name == entries[i].Name);
        FUZZ_CHECK(back->Entries()[i].Kind == entries[i].Kind);
        FUZZ_CHECK(back->Entries()[i].Data == entries[i].Data);
        FUZZ_CHECK(back->Entries()[i].Value == entries[i].Value);
    }
    return 0;
}
