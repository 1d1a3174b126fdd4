// The theme-file component: finding, checking and reading a file, its lookups, and handing the
// theme again to the form's skinned components once read.
#include "framework/TBitmap.h"
#include "framework/TForm.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiThemeFileReader.h"
#include "skin/TsuiThemeFileWriter.h"
#include "tests/skin/ThemeFileBytes.h"
#include "tests/support/GuiTest.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <fstream>

// Stand-ins for skinned components. Class names matter: the theme re-assigns itself only to
// components whose class name begins with "Tsui".
class TsuiThemeUser : public TNonVisualComponent {
    Q_OBJECT
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
public:
    using TNonVisualComponent::TNonVisualComponent;
    TsuiFileTheme* FileTheme() const { return theme_; }
    void SetFileTheme(TsuiFileTheme* t) {
        theme_ = t;
        ++assignments;
        if (t)
            seenColor = t->ColorEntry(16);
    }
    int assignments = 0;
    int seenColor = 0;

private:
    TsuiFileTheme* theme_ = nullptr;
};

class OtherThemeUser : public TsuiThemeUser {
    Q_OBJECT
public:
    using TsuiThemeUser::TsuiThemeUser;
};

namespace {

std::string bmp(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes.toStdString();
}

void writeFile(const QString& path, const std::string& bytes) {
    std::ofstream(path.toStdString(), std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

std::string greenTheme(int border = 0x336633) {
    TsuiThemeFileWriter w;
    w.AddInteger("FormBorderColor", border);
    w.AddByte("TitleBarButtonTransparentBool", 1);
    w.AddByte("FormBackgroundColor", 7); // a colour stored as a byte entry
    w.AddImage("TitleBarLeftImage", bmp(6, 3, qRgb(0x10, 0x80, 0x20)));
    w.AddImage("SideChannelBarImage", "BM this is no bitmap");
    // A tiny entry that claims a huge picture.
    std::string huge = bmp(2, 2, qRgb(1, 2, 3));
    themebytes::putLe32(huge, 18, 30000);
    themebytes::putLe32(huge, 22, 30000);
    w.AddImage("SideChannelHandleImage", huge);
    return w.Bytes();
}

class FileThemeTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

} // namespace

TEST_F(FileThemeTest, LookupsAnswerFromTheFileWithTheirDefaults) {
    writeFile(path("green.sui"), greenTheme());
    TsuiFileTheme theme(nullptr);
    theme.SetThemeFile(path("green.sui"));
    ASSERT_TRUE(theme.Loaded());
    EXPECT_EQ(theme.ThemeFile(), path("green.sui"));
    EXPECT_EQ(theme.ColorEntry(16), 0x336633);
    EXPECT_EQ(theme.IntEntry(13), -1);   // no such entry
    EXPECT_EQ(theme.ColorEntry(15), -1); // stored as a byte entry: no colour
    EXPECT_TRUE(theme.BoolEntry(6));
    EXPECT_FALSE(theme.BoolEntry(2)); // missing flag

    TBitmap b(2, 2);
    theme.ImageEntry(10, b);
    ASSERT_EQ(b.Width(), 6);
    ASSERT_EQ(b.Height(), 3);
    EXPECT_EQ(b.Canvas().Pixels(5, 2), TColor(0x208010));
    theme.ImageFrameEntry(10, b, 3, 2);
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Height(), 3);

    // A missing, a corrupt and an oversized image all leave the bitmap as it was.
    for (int entry : {11, 42, 41}) {
        TBitmap kept(4, 5);
        theme.ImageEntry(entry, kept);
        EXPECT_EQ(kept.Width(), 4) << entry;
        EXPECT_EQ(kept.Height(), 5) << entry;
    }
}

TEST_F(FileThemeTest, AnUnreadThemeEmptiesAFrameButLeavesAWholeImage) {
    TsuiFileTheme theme(nullptr);
    TBitmap b(4, 4);
    theme.ImageEntry(10, b);
    EXPECT_EQ(b.Width(), 4);
    theme.ImageFrameEntry(5, b, 18, 1);
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_EQ(theme.ColorEntry(16), 0);
}

TEST_F(FileThemeTest, TheSameNameAgainDoesNothingEvenWhenTheFileChanged) {
    writeFile(path("t.sui"), greenTheme(1));
    TsuiFileTheme theme(nullptr);
    theme.SetThemeFile(path("t.sui"));
    writeFile(path("t.sui"), greenTheme(2));
    theme.SetThemeFile(path("t.sui"));
    EXPECT_EQ(theme.ColorEntry(16), 1);
}

TEST_F(FileThemeTest, MissingAndInvalidFilesLeaveTheThemeAsItWas) {
    writeFile(path("good.sui"), greenTheme(5));
    std::string bad = greenTheme();
    bad[3] = 'X';
    writeFile(path("bad.sui"), bad);
    TsuiFileTheme theme(nullptr);
    theme.SetThemeFile(path("good.sui"));

    theme.SetThemeFile(path("nowhere/missing.sui"));
    EXPECT_EQ(theme.ThemeFile(), path("good.sui"));
    EXPECT_TRUE(theme.Loaded());

    try {
        theme.SetThemeFile(path("bad.sui"));
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Invalid skin file for Quorvex!");
    }
    EXPECT_EQ(theme.ThemeFile(), path("good.sui"));
    EXPECT_EQ(theme.ColorEntry(16), 5);
}

TEST_F(FileThemeTest, AFileThatFailsToReadKeepsTheEntriesReadBefore) {
    writeFile(path("good.sui"), greenTheme(5));
    std::string s = themebytes::header();
    themebytes::record(s, 24, "FormBorderColor", 1, 0, 4, 24); // chained to itself
    writeFile(path("ring.sui"), s);
    TsuiFileTheme theme(nullptr);
    theme.SetThemeFile(path("good.sui"));
    EXPECT_THROW(theme.SetThemeFile(path("ring.sui")), EThemeFileError);
    EXPECT_EQ(theme.ThemeFile(), path("ring.sui"));
    EXPECT_TRUE(theme.Loaded());
    EXPECT_EQ(theme.ColorEntry(16), 5);
}

TEST_F(FileThemeTest, ABareNameIsFoundBesideTheProgramThenInTheDataDirectory) {
    const QString bare = QStringLiteral("zelmora-theme-test-%1.sui").arg(QCoreApplication::applicationPid());
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(bare);
    writeFile(beside, greenTheme(11));
    // Run from elsewhere, so the bare name is no file as given.
    const QString savedCwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    TsuiFileTheme theme(nullptr);
    theme.SetThemeFile(bare);
    EXPECT_EQ(theme.ThemeFile(), beside);
    EXPECT_EQ(theme.ColorEntry(16), 11);
    // The bare name differs from the full one, so it is read again.
    writeFile(beside, greenTheme(12));
    theme.SetThemeFile(bare);
    EXPECT_EQ(theme.ColorEntry(16), 12);
    QFile::remove(beside);

    // Not beside the program: the program's data directory under XDG_DATA_HOME.
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.path().toUtf8());
    QDir().mkpath(dir.filePath("zelmora"));
    writeFile(dir.filePath("zelmora/" + bare), greenTheme(13));
    TsuiFileTheme other(nullptr);
    other.SetThemeFile(QStringLiteral("/no/such/dir/") + bare);
    EXPECT_EQ(other.ThemeFile(), dir.filePath("zelmora/" + bare));
    EXPECT_EQ(other.ColorEntry(16), 13);

    // Nor in the data home: the first of the data directories that holds it, as installed.
    QFile::remove(dir.filePath("zelmora/" + bare));
    const QByteArray savedDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", (dir.filePath("usr/local/share") + ":" + dir.filePath("usr/share")).toUtf8());
    QDir().mkpath(dir.filePath("usr/share/zelmora/themes"));
    writeFile(dir.filePath("usr/share/zelmora/themes/" + bare), greenTheme(14));
    TsuiFileTheme installed(nullptr);
    installed.SetThemeFile(bare);
    EXPECT_EQ(installed.ThemeFile(), dir.filePath("usr/share/zelmora/themes/" + bare));
    EXPECT_EQ(installed.ColorEntry(16), 14);
    for (const auto& [name, value] :
         {std::pair{"XDG_DATA_HOME", saved}, std::pair{"XDG_DATA_DIRS", savedDirs}}) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    QDir::setCurrent(savedCwd);
}

TEST_F(FileThemeTest, OnceReadTheThemeIsGivenAgainToTheFormsSkinnedComponentsThatUseIt) {
    writeFile(path("a.sui"), greenTheme(21));
    TForm form(nullptr);
    auto* theme = new TsuiFileTheme(&form);
    auto* user = new TsuiThemeUser(&form);
    auto* other = new OtherThemeUser(&form); // its class name does not begin with "Tsui"
    auto* idle = new TsuiThemeUser(&form);   // refers to no theme
    user->SetFileTheme(theme);
    other->SetFileTheme(theme);
    user->assignments = other->assignments = 0;
    theme->SetThemeFile(path("a.sui"));
    EXPECT_EQ(user->assignments, 1);
    EXPECT_EQ(user->seenColor, 21); // it read the new entries
    EXPECT_EQ(other->assignments, 0);
    EXPECT_EQ(idle->assignments, 0);

    // An owner that is not a form: nobody is told.
    TNonVisualComponent holder(nullptr);
    auto* loose = new TsuiFileTheme(&holder);
    auto* looseUser = new TsuiThemeUser(&holder);
    looseUser->SetFileTheme(loose);
    looseUser->assignments = 0;
    loose->SetThemeFile(path("a.sui"));
    EXPECT_EQ(looseUser->assignments, 0);
}

#include "FileTheme_test.moc"
