#pragma once
// TsuiFileTheme: the component that stands for a theme file, whose entries replace the built-in
// style table for components whose UIStyle is FromThemeFile (see ResolveFileTheme).
//
//   auto* theme = new TsuiFileTheme(form);
//   theme->SetThemeFile("green.sui");     // found as given, beside the executable, or in
//                                         // $XDG_DATA_HOME/zelmora; then checked and read
//   skinman->SetFileTheme(theme);
//   skinman->SetUIStyle(FromThemeFile);
//
// ThemeFile setter, only when the text differs from the current one:
//   - no file under any of the three names: nothing changes, silently;
//   - a file without the magic: Exception "Invalid skin file for Quorvex!", nothing changes;
//   - otherwise ThemeFile takes the name as found and the file is read; a file that fails to
//     read raises EThemeFileError (ThemeFile holds the new name, the entries read before stay);
//   - once read, every skinned component of the owner form ("Tsui..." class publishing
//     FileTheme) that refers to this theme is given it again, so it re-reads its entries.
//
// Lookups by entry number (1 to 42, keyed as in the built-in table). Before any file is read:
// colour and integer 0, flag false, the whole image leaves the bitmap unchanged and a frame of
// it empties the bitmap. With a file: colour and integer -1 for a missing integer entry, flag
// false for a missing byte entry, a missing or unreadable image leaves the bitmap unchanged (a
// frame of it comes out empty), and so does a picture larger than its place allows
// (MaxPictureSize).
#include "framework/TColor.h"
#include "framework/TComponent.h"
#include "skin/TsuiFileThemeMgr.h"

#include <QSize>

class TBitmap;

class TsuiFileTheme : public TNonVisualComponent {
    Q_OBJECT
    Q_PROPERTY(QString ThemeFile READ ThemeFile WRITE SetThemeFile)
public:
    explicit TsuiFileTheme(TComponent* owner);
    ~TsuiFileTheme() override;

    QString ThemeFile() const { return themeFile_; }
    void SetThemeFile(const QString& name);

    bool Loaded() const { return loaded_; }

    virtual TColor ColorEntry(int entry) const;
    virtual int IntEntry(int entry) const;
    virtual bool BoolEntry(int entry) const;
    virtual void ImageEntry(int entry, TBitmap& target) const;
    virtual void ImageFrameEntry(int entry, TBitmap& target, int frameCount, int frameNumber) const;

    const TsuiFileThemeMgr& Holder() const { return holder_; }

    // The largest picture a theme file may give for an entry. The title bar's pieces and button
    // strip and the caption bars' picture set a bar's height: at most 64 rows (and 18 button
    // frames of 64 columns); any other picture at most 1024 x 1024.
    static QSize MaxPictureSize(int entry);

    // Where a theme file of that name is: the name itself when a file exists there, else the
    // same file name in the executable's directory, else in the first of DataDirectories() that
    // holds it, directly or in its "themes" folder. Empty when none exists.
    static QString FindThemeFile(const QString& name);
    // The program's data directories, in the order they are searched: the installed one beside
    // the executable's (<prefix>/share/zelmora for <prefix>/bin), then "zelmora" under the XDG
    // data home ($XDG_DATA_HOME, ~/.local/share) and under each of $XDG_DATA_DIRS
    // (/usr/local/share, /usr/share).
    static QStringList DataDirectories();

protected:
    void SetLoaded(bool loaded) { loaded_ = loaded; }

private:
    void reassignToComponents();

    QString themeFile_;
    bool loaded_ = false;
    TsuiFileThemeMgr holder_;
};
