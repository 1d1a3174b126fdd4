// zelmora-cli skin-sheet --menus OUT.png: the menus and title bars of every style on one sheet.
// For each style: the top of a skinned window 400 pixels wide (frame band, title bar, menu bar)
// with its buttons in their normal look, under the pointer and pressed, and the reader's
// "获取新闻" drop-down opened with one item highlighted, each drawn by the real components.
#include "tools/cli/CliMenuSheet.h"
#include "tools/cli/CliSkinWindow.h"

#include "framework/TApplication.h"
#include "framework/TBitmap.h"
#include "framework/TForm.h"
#include "framework/TMenu.h"
#include "framework/TScriptedPlatform.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiTitleBar.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int kBarWidth = 400;
constexpr TColor kPaper = 0xF4F4F4;
const TsuiUIStyle kStyles[] = {MacOS, WinXP, DeepBlue, Protein, BlueGlass};

struct Window {
    explicit Window(TsuiUIStyle style) : window(kBarWidth, 200, style, nullptr, false) {}

    TsuiTitleBar* bar() const { return window.TitleBar(); }
    TForm* hostForm() const { return window.Host(); }

    // The window's top down to the menu bar's bottom, with the pointer at (x, y) of the bar.
    QImage top(TScriptedPlatform& platform, int x, int y, bool pressed) {
        TsuiTitleBar* b = bar();
        platform.Cursor = b->ClientToScreen(Point(x, y));
        const QPointF local(x, y);
        QMouseEvent move(QEvent::MouseMove, local, b->mapToGlobal(local), Qt::NoButton,
                         pressed ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(b, &move);
        if (pressed) {
            QMouseEvent press(QEvent::MouseButtonPress, local, b->mapToGlobal(local), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(b, &press);
        }
        const QPoint barBottom = b->mapTo(hostForm(), QPoint(0, b->height()));
        const int bottom = barBottom.y() + window.Frame()->MenuBarHeight() + 2;
        QImage image = hostForm()->grab(QRect(0, 0, hostForm()->width(), bottom)).toImage();
        if (pressed) {
            // Let go off the buttons, so nothing acts.
            platform.Cursor = Point(-5000, -5000);
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(-50, -50), QPointF(-5000, -5000),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(b, &release);
        }
        return image.convertToFormat(QImage::Format_RGB32);
    }

    QImage dropDown() {
        std::unique_ptr<QMenu> drop(window.Item("N5")->DropDown());
        drop->popup(QPoint(60, 60));
        QCoreApplication::processEvents();
        const QList<QAction*> actions = drop->actions();
        if (actions.size() > 2)
            drop->setActiveAction(actions[2]);
        QCoreApplication::processEvents();
        return drop->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    CliSkinWindow window;
};

void label(TCanvas& c, int x, int y, const QString& text, bool bold = false) {
    c.Font().SetName("Tahoma");
    c.Font().SetHeight(bold ? 15 : 11);
    c.Font().SetStyle(bold ? TFontStyles(fsBold) : TFontStyles(0));
    c.Font().SetColor(bold ? clBlack : 0x505050);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.TextOut(x, y, text);
}

void place(TCanvas& c, int x, int y, const QImage& image) {
    TBitmap b;
    b.SetImage(image);
    c.Draw(x, y, b);
}

} // namespace

int RunMenuSheet(const std::string& out) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "zelmora-cli";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    TApplication application;
    TScriptedPlatform platform;

    struct Row {
        TsuiUIStyle style;
        QImage normal, hover, pressed, drop;
    };
    std::vector<Row> rows;
    try {
        for (TsuiUIStyle style : kStyles) {
            Window w(style);
            Row row{style, {}, {}, {}, {}};
            const int closeX = kBarWidth - 10;
            const int y = std::max(2, w.bar()->ButtonBandTop() + 6);
            row.normal = w.top(platform, kBarWidth / 2, y, false);
            row.hover = w.top(platform, closeX, y, false);
            row.pressed = w.top(platform, closeX, y, true);
            row.drop = w.dropDown();
            rows.push_back(row);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skin-sheet: %s\n", e.what());
        return 1;
    }

    // One row per style: three window tops on the left, the drop-down on the right.
    const auto rowHeight = [](const Row& r) {
        const int bars = 22 + 3 * (r.normal.height() + 18);
        return std::max(bars, 36 + r.drop.height()) + 20;
    };
    int width = 0, height = 10;
    for (const Row& r : rows) {
        width = std::max(width, 10 + r.normal.width() + 30 + std::max(r.drop.width(), 230) + 10);
        height += rowHeight(r);
    }
    TBitmap sheet(width, height);
    TCanvas& c = sheet.Canvas();
    c.Brush().SetColor(kPaper);
    c.FillRect(Rect(0, 0, width, height));
    int y = 10;
    for (const Row& r : rows) {
        label(c, 10, y, QString::fromStdString(StyleName(r.style)), true);
        int by = y + 22;
        const std::pair<const char*, const QImage*> looks[] = {{"normal", &r.normal},
                                                               {"close button under the pointer", &r.hover},
                                                               {"close button pressed", &r.pressed}};
        for (const auto& [text, image] : looks) {
            label(c, 10, by, QString::fromLatin1(text));
            place(c, 10, by + 14, *image);
            by += image->height() + 18;
        }
        const int dx = 10 + r.normal.width() + 30;
        label(c, dx, y + 22, QString::fromUtf8("获取新闻 opened, third item selected"));
        place(c, dx, y + 36, r.drop);
        y += rowHeight(r);
    }
    sheet.SaveToFile(out);
    std::printf("%s: %d x %d\n", out.c_str(), sheet.Width(), sheet.Height());
    return 0;
}
