// zelmora-cli theme list FILE: every entry of a theme file in chain order: name, kind, data size
// and the value (integers and bytes in decimal, integers also in hex as colours are written;
// texts quoted; images as their pixel size).
//
// zelmora-cli theme pack DIR OUT: makes a theme file from a folder that holds values.ini and one
// BMP per image entry, named after its key (TitleBarLeftImage.bmp). values.ini:
//   [integer]   key=number    decimal or 0x hex; colours as 0x00BBGGRR
//   [byte]      key=0..255    flags
//   [text]      key=text
// Entries go into the file in that order: integers, bytes and texts as listed, then the images
// sorted by name. Keys the skin does not know are packed too, with a warning.
#include "tools/cli/CliCommand.h"
#include "tools/cli/CliPrintable.h"

#include "framework/core/AsciiText.h"
#include "framework/core/TIniFile.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiThemeFileReader.h"
#include "skin/TsuiThemeFileWriter.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

const char* kindName(TThemeEntryKind kind) {
    switch (kind) {
    case tekImage:
        return "image";
    case tekInteger:
        return "integer";
    case tekByte:
        return "byte";
    case tekText:
        return "text";
    }
    return "?";
}

std::string imageSize(std::string_view data) {
    QByteArray bytes = QByteArray::fromRawData(data.data(), qsizetype(data.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const QSize size = QImageReader(&buffer, "bmp").size();
    if (!size.isValid())
        return "(no readable BMP)";
    return std::to_string(size.width()) + "x" + std::to_string(size.height());
}

bool knownKey(std::string_view name) {
    for (int entry = 1; entry <= kStyleEntryCount; ++entry)
        if (SameText(StyleEntryKey(entry), name))
            return true;
    return false;
}

int list(const std::string& file) {
    try {
        TsuiThemeFileReader::CheckThemeFile(file);
        TsuiThemeFileReader reader(file);
        CliPrintLine(stdout,
                     CliPrintable(file) + ": " + std::to_string(reader.Entries().size()) + " entries");
        for (const TThemeFileEntry& e : reader.Entries()) {
            std::string value;
            char hex[16];
            switch (e.Kind) {
            case tekInteger:
                std::snprintf(hex, sizeof hex, "0x%06X", unsigned(e.Value));
                value = std::to_string(e.Value) + " (" + hex + ")";
                break;
            case tekByte:
                value = std::to_string(e.Value);
                break;
            case tekText:
                value = "\"" + CliPrintable(e.Data) + "\"";
                break;
            case tekImage:
                value = imageSize(e.Data);
                break;
            }
            const std::string name = CliPrintable(e.Name);
            char columns[64];
            std::snprintf(columns, sizeof columns, " %-7s %8zu  ", kindName(e.Kind), e.Data.size());
            std::string line =
                name + std::string(name.size() < 34 ? 34 - name.size() : 0, ' ') + columns + value;
            CliPrintLine(stdout, line);
        }
    } catch (const EThemeFileError& e) {
        CliPrintLine(stderr, "theme list: " + CliPrintable(file) + ": " + CliPrintable(e.what()));
        return 1;
    }
    return 0;
}

std::string readAll(const QString& file) {
    std::ifstream in(file.toStdString(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void warnUnknown(std::string_view key) {
    if (!knownKey(key))
        std::fprintf(stderr, "theme pack: warning: %.*s is no key of the skin\n", int(key.size()),
                     key.data());
}

// One "key=value" line of values.ini in section: false (with the message) when it is refused.
bool packValue(TsuiThemeFileWriter& writer, const std::string& section, std::string_view line, int lineNo,
               const std::string& raw) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
        std::fprintf(stderr, "theme pack: values.ini:%d: no '=' in \"%s\"\n", lineNo, raw.c_str());
        return false;
    }
    const std::string key(TrimControls(line.substr(0, eq)));
    const std::string text(TrimControls(line.substr(eq + 1)));
    int number = 0;
    if (key.empty() || key.size() > TsuiThemeFileReader::kNameSize) {
        std::fprintf(stderr, "theme pack: values.ini:%d: a key is 1 to 64 bytes\n", lineNo);
        return false;
    }
    if (SameText(section, "integer")) {
        if (!TIniFile::ParseInteger(text, number)) {
            std::fprintf(stderr, "theme pack: values.ini:%d: %s is no integer\n", lineNo, text.c_str());
            return false;
        }
        writer.AddInteger(key, number);
    } else if (SameText(section, "byte")) {
        if (!TIniFile::ParseInteger(text, number) || number < 0 || number > 255) {
            std::fprintf(stderr, "theme pack: values.ini:%d: %s is no byte (0 to 255)\n", lineNo,
                         text.c_str());
            return false;
        }
        writer.AddByte(key, std::uint8_t(number));
    } else if (SameText(section, "text")) {
        writer.AddText(key, text);
        return true; // texts are notes for people; no lookup reads them
    } else {
        std::fprintf(stderr, "theme pack: values.ini:%d: section [%s] is none of integer, byte, text\n",
                     lineNo, section.c_str());
        return false;
    }
    warnUnknown(key);
    return true;
}

// The profile's lines in order, so the file keeps the author's order. -1 when one is refused.
int packValues(TsuiThemeFileWriter& writer, const QString& valuesFile) {
    const TIniFile ini(valuesFile.toStdString());
    std::string section;
    int lineNo = 0, entries = 0;
    for (const std::string& raw : ini.Lines()) {
        ++lineNo;
        const std::string_view line = TrimControls(raw);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            section = std::string(line.substr(1, line.size() - 2));
            continue;
        }
        if (!packValue(writer, section, line, lineNo, raw))
            return -1;
        ++entries;
    }
    return entries;
}

// Every BMP of the folder, named after its file. -1 when one is no readable BMP.
int packImages(TsuiThemeFileWriter& writer, const QStringList& images, const QDir& dir) {
    for (const QString& name : images) {
        const std::string bytes = readAll(dir.filePath(name));
        if (imageSize(bytes).front() == '(') {
            std::fprintf(stderr, "theme pack: %s is no readable BMP file\n", qPrintable(name));
            return -1;
        }
        const std::string key = QFileInfo(name).completeBaseName().toStdString();
        writer.AddImage(key, bytes);
        warnUnknown(key);
    }
    return int(images.size());
}

int pack(const std::string& dirName, const std::string& out) {
    const QDir dir(QString::fromStdString(dirName));
    const QString valuesFile = dir.filePath("values.ini");
    if (!QFileInfo(valuesFile).isFile()) {
        std::fprintf(stderr, "theme pack: %s has no values.ini\n", dirName.c_str());
        return 1;
    }
    TsuiThemeFileWriter writer;
    const int values = packValues(writer, valuesFile);
    if (values < 0)
        return 1;
    const QStringList images = dir.entryList({"*.bmp", "*.BMP"}, QDir::Files, QDir::Name);
    if (packImages(writer, images, dir) < 0)
        return 1;
    try {
        writer.SaveToFile(out);
        // Read back what was written, so a file this command makes is always one the reader takes.
        TsuiThemeFileReader check(out);
        std::printf("%s: %d entries (%lld images)\n", out.c_str(), int(check.Entries().size()),
                    static_cast<long long>(images.size()));
    } catch (const Exception& e) {
        std::fprintf(stderr, "theme pack: %s\n", e.what());
        return 1;
    }
    std::printf("packed %d entries from %s\n", values + int(images.size()), dirName.c_str());
    return 0;
}

int run(const std::vector<std::string>& args) {
    if (args.size() == 2 && args[0] == "list")
        return list(args[1]);
    if (args.size() == 3 && args[0] == "pack")
        return pack(args[1], args[2]);
    std::fprintf(stderr, "usage: zelmora-cli theme list FILE\n       zelmora-cli theme pack DIR OUT\n");
    return 2;
}

CliCommand reg{"theme", "theme list FILE | theme pack DIR OUT", &run};

} // namespace
