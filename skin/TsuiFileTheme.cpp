#include "skin/TsuiFileTheme.h"

#include "framework/TBitmap.h"
#include "framework/TForm.h"
#include "skin/SuiDrawing.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiThemeFileReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMetaProperty>
#include <QStandardPaths>

namespace {

bool isFile(const QString& name) {
    return !name.isEmpty() && QFileInfo(name).isFile();
}

// A component's FileTheme, read through its published property whatever pointer type it uses.
QObject* fileThemeOf(const QObject* object) {
    const QVariant v = GetPublishedProp(object, QStringLiteral("FileTheme"));
    return v.metaType().flags() & QMetaType::PointerToQObject ? *static_cast<QObject* const*>(v.constData())
                                                              : nullptr;
}

void writeFileTheme(QObject* object, TsuiFileTheme* theme) {
    const QMetaObject* meta = object->metaObject();
    const QMetaProperty prop = meta->property(meta->indexOfProperty("FileTheme"));
    QObject* asObject = theme;
    prop.write(object, QVariant(prop.metaType(), &asObject));
}

} // namespace

TsuiFileTheme::TsuiFileTheme(TComponent* owner) : TNonVisualComponent(owner) {}

TsuiFileTheme::~TsuiFileTheme() {
    DestroyComponents();
}

QStringList TsuiFileTheme::DataDirectories() {
    QStringList dirs{
        QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../share/zelmora"))};
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        dirs.push_back(data + QStringLiteral("/zelmora"));
    return dirs;
}

QString TsuiFileTheme::FindThemeFile(const QString& name) {
    if (isFile(name))
        return name;
    const QString fileName = QFileInfo(name).fileName();
    if (fileName.isEmpty())
        return {};
    const QString besideProgram = QDir(QCoreApplication::applicationDirPath()).filePath(fileName);
    if (isFile(besideProgram))
        return besideProgram;
    // An installation keeps its theme files in the data directory's themes folder.
    for (const QString& dir : DataDirectories())
        for (const QString& inData : {QDir(dir).filePath(fileName), QDir(dir).filePath("themes/" + fileName)})
            if (isFile(inData))
                return QDir::cleanPath(inData);
    return {};
}

void TsuiFileTheme::SetThemeFile(const QString& name) {
    if (name == themeFile_)
        return;
    const QString candidate = FindThemeFile(name);
    if (candidate.isEmpty())
        return;
    TsuiThemeFileReader::CheckThemeFile(candidate.toStdString());
    themeFile_ = candidate;
    loaded_ = holder_.Load(candidate.toStdString());
    if (loaded_)
        reassignToComponents();
}

void TsuiFileTheme::reassignToComponents() {
    TComponent* owner = Owner();
    if (!owner || !qobject_cast<TForm*>(owner->Object()))
        return;
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        QObject* object = owner->Components(i)->Object();
        if (!QByteArray(object->metaObject()->className()).startsWith("Tsui") ||
            !IsPublishedProp(object, QStringLiteral("FileTheme")))
            continue;
        if (fileThemeOf(object) == this)
            writeFileTheme(object, this);
    }
}

TColor TsuiFileTheme::ColorEntry(int entry) const {
    return IntEntry(entry);
}

int TsuiFileTheme::IntEntry(int entry) const {
    return holder_.Integer(entry);
}

bool TsuiFileTheme::BoolEntry(int entry) const {
    return holder_.Flag(entry) != 0;
}

QSize TsuiFileTheme::MaxPictureSize(int entry) {
    constexpr int kBarRows = 64, kButtonFrames = 18, kOtherSide = 1024;
    switch (TStyleEntry(entry)) {
    case TStyleEntry::TitleBarLeftImage:
    case TStyleEntry::TitleBarClientImage:
    case TStyleEntry::TitleBarRightImage:
    case TStyleEntry::SideChannelBarImage:
        return QSize(kOtherSide, kBarRows);
    case TStyleEntry::TitleBarButtonImage:
        return QSize(kButtonFrames * kBarRows, kBarRows);
    default:
        return QSize(kOtherSide, kOtherSide);
    }
}

void TsuiFileTheme::ImageEntry(int entry, TBitmap& target) const {
    TBitmap picture;
    holder_.Image(entry, picture);
    const QSize max = MaxPictureSize(entry);
    if (!picture.Empty() && picture.Width() <= max.width() && picture.Height() <= max.height())
        target.Assign(picture);
}

void TsuiFileTheme::ImageFrameEntry(int entry, TBitmap& target, int frameCount, int frameNumber) const {
    TBitmap whole;
    ImageEntry(entry, whole);
    CutBitmapFrame(whole, target, frameCount, frameNumber);
}
