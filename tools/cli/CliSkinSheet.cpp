// zelmora-cli skin-sheet OUT.png: every style's bitmaps on one sheet for review. For each style
// the window as the reader's own components draw it off-screen (frame with the reader's title and
// menu, title bar, menu bar, content panel, side channel collapsed to its bar), then each bitmap
// enlarged and labelled; the shared bitmaps close the sheet.
//
// zelmora-cli skin-sheet --menus OUT.png: the menus and title bars of every style (CliMenuSheet).
//
// zelmora-cli skin-sheet --theme FILE OUT.png: the same for a theme file: the window with every
// part on the theme (what it lacks falls back as the components do: integers and colours -1,
// flags false, images empty), its images, and its values with a swatch for each colour.
#include "tools/cli/CliCommand.h"
#include "tools/cli/CliMenuSheet.h"
#include "tools/cli/CliSkinWindow.h"

#include "framework/TApplication.h"
#include "framework/TBitmap.h"
#include "framework/TScriptedPlatform.h"
#include "skin/SuiDrawing.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiThemeFileReader.h"

#include <QApplication>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kSheetWidth = 1180;
constexpr TColor kPaper = 0xF4F4F4;

struct Sheet {
    TBitmap bmp;
    int x = 10, y = 10, rowHeight = 0;

    void newRow(int gap = 10) {
        y += rowHeight + gap;
        x = 10;
        rowHeight = 0;
    }
    void heading(const QString& text) {
        if (x != 10)
            newRow();
        TCanvas& c = bmp.Canvas();
        c.Font().SetName("Tahoma");
        c.Font().SetHeight(16);
        c.Font().SetStyle(fsBold);
        c.Font().SetColor(clBlack);
        c.Brush().SetStyle(TBrushStyle::bsClear);
        c.TextOut(10, y + 4, text);
        c.Pen().SetColor(0x999999);
        c.MoveTo(10, y + 24);
        c.LineTo(kSheetWidth - 10, y + 24);
        y += 30;
    }
    // Places an image with a label above it, enlarged by zoom, flowing left to right.
    void item(const QString& label, const TBitmap& img, int zoom) {
        TCanvas& c = bmp.Canvas();
        c.Font().SetName("DejaVu Sans Mono");
        c.Font().SetHeight(10);
        c.Font().SetStyle(0);
        const int w = std::max(img.Width() * zoom, c.TextWidth(label)), h = img.Height() * zoom + 16;
        if (x + w > kSheetWidth - 10)
            newRow();
        c.Font().SetColor(0x505050);
        c.Brush().SetStyle(TBrushStyle::bsClear);
        c.TextOut(x, y, label);
        c.StretchDraw(Bounds(x, y + 14, img.Width() * zoom, img.Height() * zoom), img);
        x += w + 14;
        rowHeight = std::max(rowHeight, h);
    }
    void place(const TBitmap& img) {
        if (x != 10)
            newRow();
        bmp.Canvas().Draw(x, y, img);
        rowHeight = img.Height();
        newRow();
    }
};

// The window drawn by the reader's own components (frame, title bar, menu bar, panel, side
// channel) W wide, beside it the right end of its title twice as large.
void windowPreview(Sheet& sheet, TsuiUIStyle style, TsuiFileTheme* theme) {
    const CliSkinWindow window(560, 240, style, theme, true);
    TBitmap preview;
    preview.SetImage(window.Picture(kPaper));
    sheet.bmp.Canvas().Draw(10, sheet.y, preview);
    const int rows = std::min(preview.Height(), 66);
    sheet.bmp.Canvas().CopyRect(Bounds(10 + preview.Width() + 20, sheet.y, 560, rows * 2), preview.Canvas(),
                                Bounds(preview.Width() - 280, 0, 280, rows));
    sheet.rowHeight = preview.Height();
    sheet.newRow();
}

void builtInStyles(Sheet& sheet) {
    for (int style = MacOS; style <= BlueGlass; ++style) {
        sheet.heading(QString::fromStdString(StyleName(style)));
        windowPreview(sheet, TsuiUIStyle(style), nullptr);
        for (int entry = 1; entry <= kStyleEntryCount; ++entry) {
            const TStyleEntryValue v = LookupStyleEntry(style, entry);
            if (v.Kind != sekImage)
                continue;
            TBitmap b;
            LoadSkinBitmap(b, v.ResourceName);
            int zoom = b.Width() > 400 ? 1 : b.Width() > 200 ? 2 : b.Width() > 110 ? 3 : 4;
            zoom = std::max(1, std::min(zoom, 180 / std::max(1, b.Height())));
            sheet.item(QString("%1 %2x%3")
                           .arg(QString::fromStdString(v.ResourceName))
                           .arg(b.Width())
                           .arg(b.Height()),
                       b, zoom);
        }
        sheet.newRow(16);
    }
    sheet.heading("Shared");
    for (const char* n : {"PANEL_BUTTON", "SIDECHANNEL_BTN", "MENU_CHECKED", "MACOS_MENU_BAR",
                          "MACOS_MENU_SELECT", "MACOS_FORM_BACKGROUND", "PROTEIN_FORM_BACKGROUND"}) {
        TBitmap b;
        LoadSkinBitmap(b, n);
        sheet.item(QString("%1 %2x%3").arg(n).arg(b.Width()).arg(b.Height()), b, 6);
    }
}

// A theme file's sheet: the window top from its entries, its images, then its values.
void themeFile(Sheet& sheet, TsuiFileTheme& theme) {
    sheet.heading(QString("Theme file ") + QFileInfo(theme.ThemeFile()).fileName());
    windowPreview(sheet, FromThemeFile, &theme);
    const TsuiThemeFileReader& reader = *theme.Holder().Reader();
    for (const TThemeFileEntry& e : reader.Entries()) {
        if (e.Kind != tekImage)
            continue;
        TBitmap b;
        const QString name = QString::fromLatin1(e.Name.data(), qsizetype(e.Name.size()));
        if (!LoadThemeBitmap(e.Data, b)) {
            sheet.item(name + " (no readable BMP)", b, 1);
            continue;
        }
        int zoom = b.Width() > 400 ? 1 : b.Width() > 200 ? 2 : b.Width() > 110 ? 3 : 4;
        zoom = std::max(1, std::min(zoom, 180 / std::max(1, b.Height())));
        sheet.item(QString("%1 %2x%3").arg(name).arg(b.Width()).arg(b.Height()), b, zoom);
    }
    sheet.newRow(16);
    sheet.heading("Values");
    for (const TThemeFileEntry& e : reader.Entries()) {
        if (e.Kind == tekImage)
            continue;
        const QString name = QString::fromLatin1(e.Name.data(), qsizetype(e.Name.size()));
        QString value = e.Kind == tekText ? QString::fromUtf8(e.Data.data(), qsizetype(e.Data.size()))
                                          : QString::number(e.Value);
        TBitmap swatch(e.Kind == tekInteger && name.endsWith("Color") ? 24 : 1, 12);
        if (e.Kind == tekInteger && name.endsWith("Color")) {
            value = QString("0x%1").arg(unsigned(e.Value), 6, 16, QChar('0')).toUpper().replace("0X", "0x");
            swatch.Canvas().Brush().SetColor(TColor(e.Value));
            swatch.Canvas().FillRect(Rect(0, 0, 24, 12));
        } else {
            swatch.Canvas().Brush().SetColor(kPaper);
            swatch.Canvas().FillRect(Rect(0, 0, 1, 12));
        }
        sheet.item(name + " = " + value, swatch, 1);
    }
}

int run(const std::vector<std::string>& args) {
    if (args.size() == 2 && args[0] == "--menus")
        return RunMenuSheet(args[1]);
    const bool fromTheme = args.size() == 3 && args[0] == "--theme";
    if (args.size() != 1 && !fromTheme) {
        std::fprintf(stderr, "usage: zelmora-cli skin-sheet OUT.png\n"
                             "       zelmora-cli skin-sheet --theme FILE OUT.png\n"
                             "       zelmora-cli skin-sheet --menus OUT.png\n");
        return 2;
    }
    const std::string out = args.back();
    // The sheet is drawn off-screen; no display is needed.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "zelmora-cli";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    TApplication application;
    // The pointer far away: nothing shows its look under the pointer.
    TScriptedPlatform platform;
    platform.Cursor = Point(-5000, -5000);

    Sheet sheet;
    sheet.bmp.SetSize(kSheetWidth, 9000);
    sheet.bmp.Canvas().Brush().SetColor(kPaper);
    sheet.bmp.Canvas().FillRect(Rect(0, 0, kSheetWidth, 9000));
    try {
        if (fromTheme) {
            TsuiFileTheme theme(nullptr);
            theme.SetThemeFile(QString::fromStdString(args[1]));
            if (!theme.Loaded()) {
                std::fprintf(stderr, "skin-sheet: no theme file %s\n", args[1].c_str());
                return 1;
            }
            themeFile(sheet, theme);
        } else {
            builtInStyles(sheet);
        }
        sheet.newRow();
        sheet.bmp.SetHeight(sheet.y + 10);
        sheet.bmp.SaveToFile(out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skin-sheet: %s\n", e.what());
        return 1;
    }
    std::printf("%s: %d x %d\n", out.c_str(), sheet.bmp.Width(), sheet.bmp.Height());
    return 0;
}

CliCommand reg{"skin-sheet", "skin-sheet [--theme FILE | --menus] OUT.png", &run};

} // namespace
