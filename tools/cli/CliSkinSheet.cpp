// zelmora-cli skin-sheet OUT.png: every style's bitmaps on one sheet for review. For each style a
// window top assembled from its pieces the way the frame and title bar lay them out (caption,
// buttons, menu bar, panel caption, side-channel grip), then each bitmap enlarged and labelled;
// the shared bitmaps close the sheet.
//
// zelmora-cli skin-sheet --menus OUT.png: the menus and title bars of every style (CliMenuSheet).
//
// zelmora-cli skin-sheet --theme FILE OUT.png: the same for a theme file: the window top drawn
// from its entries (what it lacks falls back as a component would: integers and colours -1,
// flags false, images empty), its images, and its values with a swatch for each colour.
#include "tools/cli/CliCommand.h"
#include "tools/cli/CliMenuSheet.h"

#include "framework/TBitmap.h"
#include "skin/SuiDrawing.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiStyleSource.h"
#include "skin/TsuiThemeFileReader.h"

#include <QFileInfo>
#include <QGuiApplication>
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

TBitmap& load(TBitmap& b, const std::string& name) {
    LoadSkinBitmap(b, name);
    return b;
}

// The top of a skinned main window in this style, W wide, laid out like the frame, title bar,
// menu bar and panel do it.
void windowPreview(const TsuiStyleSource& src, int W, TBitmap& out) {
    const int style = src.BuiltIn();
    TBitmap left, client, right, strip, bar, handle, panelBtn;
    src.Image(TStyleEntry::TitleBarLeftImage, left);
    src.Image(TStyleEntry::TitleBarClientImage, client);
    src.Image(TStyleEntry::TitleBarRightImage, right);
    src.Image(TStyleEntry::TitleBarButtonImage, strip);
    src.Image(TStyleEntry::SideChannelBarImage, bar);
    src.Image(TStyleEntry::SideChannelHandleImage, handle);
    load(panelBtn, "PANEL_BUTTON");
    const int bw = std::max(0, src.Int(TStyleEntry::FormBorderWidthInt)),
              corner = src.Int(TStyleEntry::FormRoundCornerInt);
    const TColor border = src.Color(TStyleEntry::FormBorderColor),
                 formColor = src.Color(TStyleEntry::FormBackgroundColor);
    const int titleH = std::max(0, left.Height() - 3),
              bandTop = src.Int(TStyleEntry::TitleBarButtonTopInt) - 3, fw = strip.Width() / 18;
    const int H = 3 + titleH + 22 + 150 + bw;
    out.SetSize(W, H);
    TCanvas& c = out.Canvas();
    c.Brush().SetColor(formColor);
    c.FillRect(Rect(0, 0, W, H));

    // Title pieces at window coordinates: left at x 0, right at W - its width, middle between.
    c.Draw(0, 0, left);
    c.Draw(W - right.Width(), 0, right);
    c.StretchDraw(Rect(left.Width(), 0, W - right.Width(), client.Height()), client);
    // Buttons: close, maximise, minimise from the right, the control box at the left.
    const bool transparent = src.Bool(TStyleEntry::TitleBarButtonTransparentBool);
    const int barW = W - 6;
    int r = barW + 1 + src.Int(TStyleEntry::TitleBarButtonRightOffsetInt);
    auto button = [&](int frame, int x) {
        TBitmap b;
        src.ImageFrame(TStyleEntry::TitleBarButtonImage, b, 18, frame);
        b.SetTransparent(transparent);
        c.Draw(3 + x, 3 + bandTop, b);
    };
    for (int frame : {16, 7, 13}) {
        r -= fw + 1;
        button(frame, r);
    }
    const int l = src.Int(TStyleEntry::TitleBarButtonLeftOffsetInt);
    button(1, l);
    c.Font().SetName("Tahoma");
    c.Font().SetStyle(fsBold);
    c.Font().SetHeight(11);
    c.Font().SetColor(style == MacOS ? clBlack : clWhite);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    const QString caption = QString::fromUtf8("Zelmora新闻浏览器");
    c.TextOut(3 + l + fw + 5, 3 + bandTop + (strip.Height() - c.TextHeight(caption)) / 2, caption);

    // Menu bar under the title bar.
    const int menuTop = 3 + titleH;
    if (style == MacOS) {
        TBitmap mb;
        load(mb, "MACOS_MENU_BAR");
        c.StretchDraw(Rect(3, menuTop, W - 3, menuTop + 22), mb);
    }
    c.Font().SetName(QString::fromUtf8("宋体"));
    c.Font().SetStyle(0);
    c.Font().SetHeight(12);
    c.Font().SetColor(clBlack);
    int mx = 9;
    for (const char* item : {"文件", "新闻", "特别服务", "检查新版本", "帮助"}) {
        const QString t = QString::fromUtf8(item);
        c.TextOut(mx, menuTop + 5, t);
        mx += c.TextWidth(t) + 16;
    }
    // The content panel: its caption bar, the collapse button, the side channel's grip.
    const int panelTop = menuTop + 22, panelBottom = H - bw;
    c.Pen().SetColor(src.Color(TStyleEntry::ControlBorderColor));
    c.Brush().SetColor(clWhite);
    c.Rectangle(3, panelTop, W - 3, panelBottom);
    c.StretchDraw(Rect(4, panelTop, W - 4, panelTop + bar.Height()), bar);
    c.Font().SetName("Tahoma");
    c.Font().SetHeight(11);
    c.Font().SetColor(style == MacOS ? clBlack : src.Color(TStyleEntry::MenuSelectedFontColor));
    c.Brush().SetStyle(TBrushStyle::bsClear);
    TRect capRect = Rect(13, panelTop, W - 4, panelTop + bar.Height());
    c.DrawText(QString::fromUtf8("新闻内容"), capRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    TBitmap one;
    CutBitmapFrame(panelBtn, one, 4, 1);
    c.Draw(3 + (W - 6) - 17, panelTop + (bar.Height() - 12) / 2, one);
    const int sideTop = panelTop + bar.Height() + 4;
    c.Brush().SetColor(src.Color(TStyleEntry::FormBackgroundColor));
    c.FillRect(Rect(8, sideTop, 16, panelBottom - 5));
    c.Pen().SetColor(0x808080);
    c.MoveTo(16, sideTop);
    c.LineTo(16, panelBottom - 5);
    c.Draw(8, sideTop + std::max(0, (panelBottom - 5 - sideTop - handle.Height()) / 2), handle);

    // Border: left, right, bottom in the border colour; the title pieces make the top.
    c.Brush().SetColor(border);
    c.FillRect(Rect(0, 3, bw, H));
    c.FillRect(Rect(W - bw, 3, W, H));
    c.FillRect(Rect(0, H - bw, W, H));
    // Rounded top corners: the window region cuts them, the frame outlines BlueGlass's.
    if (corner > 0) {
        const double rad = corner / 2.0;
        for (int y = 0; y < corner; ++y)
            for (int x = 0; x < corner; ++x) {
                const double dx = rad - x - 0.5, dy = rad - y - 0.5;
                if (x < rad && y < rad && dx * dx + dy * dy > rad * rad) {
                    c.SetPixels(x, y, kPaper);
                    c.SetPixels(W - 1 - x, y, kPaper);
                }
            }
        if (bw == 1 && corner == 11) {
            c.Pen().SetColor(border);
            c.Arc(W - 2 * corner + 1, -1, W + 1, 2 * corner - 1, W + 1, corner - 1, W - corner + 1, -1);
            c.Arc(-1, -1, 2 * corner - 1, 2 * corner - 1, corner - 1, -1, -1, corner - 1);
        }
    }
}

void builtInStyles(Sheet& sheet) {
    for (int style = MacOS; style <= BlueGlass; ++style) {
        sheet.heading(QString::fromStdString(StyleName(style)));
        TBitmap preview;
        windowPreview(TsuiStyleSource(nullptr, TsuiUIStyle(style)), 560, preview);
        // Beside it, the right end of the title twice as large.
        sheet.bmp.Canvas().Draw(10, sheet.y, preview);
        const int rows = std::min(preview.Height(), 66);
        sheet.bmp.Canvas().CopyRect(Bounds(10 + preview.Width() + 20, sheet.y, 560, rows * 2),
                                    preview.Canvas(), Bounds(preview.Width() - 280, 0, 280, rows));
        sheet.rowHeight = preview.Height();
        sheet.newRow();
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
void themeFile(Sheet& sheet, const TsuiFileTheme& theme) {
    sheet.heading(QString("Theme file ") + QFileInfo(theme.ThemeFile()).fileName());
    TBitmap preview;
    windowPreview(TsuiStyleSource(&theme, FromThemeFile), 560, preview);
    sheet.bmp.Canvas().Draw(10, sheet.y, preview);
    const int rows = std::min(preview.Height(), 66);
    sheet.bmp.Canvas().CopyRect(Bounds(10 + preview.Width() + 20, sheet.y, 560, rows * 2), preview.Canvas(),
                                Bounds(preview.Width() - 280, 0, 280, rows));
    sheet.rowHeight = preview.Height();
    sheet.newRow();
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
    QGuiApplication app(argc, argv);

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
