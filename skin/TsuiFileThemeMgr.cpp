#include "skin/TsuiFileThemeMgr.h"

#include "framework/TBitmap.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiThemeFileReader.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

namespace {

// Skin bitmaps are a few hundred pixels at most; the limits keep a hostile header (a tiny entry
// claiming a huge picture) from making the decoder allocate what the entry cannot fill.
constexpr int kMaxSide = 4096;
// A compressed BMP packs at most about 128 pixels into one byte.
constexpr qint64 kMaxPixelsPerByte = 128;

// The reader's entry of that kind for entry number n; none for numbers without a key.
const TThemeFileEntry* find(const TsuiThemeFileReader& reader, TThemeEntryKind kind, int entry) {
    const std::string key = StyleEntryKey(entry);
    return key.empty() ? nullptr : reader.Find(kind, key);
}

} // namespace

bool LoadThemeBitmap(std::string_view bmpFile, TBitmap& target) {
    QByteArray data = QByteArray::fromRawData(bmpFile.data(), qsizetype(bmpFile.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxSide || size.height() > kMaxSide ||
        qint64(size.width()) * size.height() > qint64(bmpFile.size()) * kMaxPixelsPerByte)
        return false;
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return false;
    target.SetImage(image);
    return true;
}

TsuiFileThemeMgr::TsuiFileThemeMgr() = default;
TsuiFileThemeMgr::~TsuiFileThemeMgr() = default;

bool TsuiFileThemeMgr::Load(const std::string& fileName) {
    if (!QFileInfo(QString::fromStdString(fileName)).isFile())
        return false;
    // Read first, replace after: a file that fails to read leaves the theme as it was.
    auto fresh = std::make_unique<TsuiThemeFileReader>(fileName);
    reader_ = std::move(fresh);
    return true;
}

int TsuiFileThemeMgr::Integer(int entry) const {
    if (!reader_)
        return 0;
    const TThemeFileEntry* e = find(*reader_, tekInteger, entry);
    return e ? e->Value : -1;
}

int TsuiFileThemeMgr::Flag(int entry) const {
    if (!reader_)
        return 0;
    const TThemeFileEntry* e = find(*reader_, tekByte, entry);
    return e ? e->Value : 0;
}

void TsuiFileThemeMgr::Image(int entry, TBitmap& target) const {
    if (!reader_)
        return;
    if (const TThemeFileEntry* e = find(*reader_, tekImage, entry))
        LoadThemeBitmap(e->Data, target);
}
