// Drop-downs of the skinned menus, pixel for pixel, in every style: plain, highlighted and
// disabled items, separators, check marks with and without an image, the bold default item
// and a shortcut's place.
#include "framework/TBitmap.h"
#include "framework/TForm.h"
#include "framework/TImageList.h"
#include "skin/SuiDrawing.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiMainMenu.h"
#include "tests/support/GuiTest.h"

#include <QAction>
#include <QMenu>

#include <map>
#include <memory>

namespace {

constexpr TColor kGrey = 0x808080;
constexpr TColor kTickGreen = 0x1DCB00;
constexpr TColor kTickGrey = 0x575757;

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, count = 0;
};

// The bounding box of the pixels of one colour inside r (QRect, inclusive).
Box inkOf(const QImage& image, const QRect& r, TColor color) {
    Box b;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (zeltest::PixelBGR(image, x, y) == color) {
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x);
                b.bottom = std::max(b.bottom, y);
                ++b.count;
            }
    return b;
}

std::vector<TColor> stripRows(const char* name) {
    TBitmap b;
    LoadSkinBitmap(b, name);
    std::vector<TColor> rows;
    for (int y = 0; y < b.Height(); ++y)
        rows.push_back(b.Canvas().Pixels(0, y));
    return rows;
}

// The reader's kind of menu with one drop-down holding every kind of item.
struct DropDown {
    explicit DropDown(TsuiUIStyle style) : form(nullptr) {
        menu = new TsuiMainMenu(&form);
        menu->SetUIStyle(style);
        images = new TImageList(&form);
        TBitmap picture(16, 16);
        picture.Canvas().Brush().SetColor(clWhite);
        picture.Canvas().FillRect(Rect(0, 0, 16, 16));
        picture.Canvas().SetPixels(0, 0, clRed);
        picture.Canvas().SetPixels(15, 15, clBlue);
        images->AddMasked(picture, clWhite);
        menu->SetImages(images);
        top = add(menu->Items(), "File");
        plain = add(top, "Open");
        selected = add(top, "Select");
        disabled = add(top, "Gone");
        disabled->SetEnabled(false);
        line = add(top, "-");
        checked = add(top, "Ticked");
        checked->SetChecked(true);
        checkedImage = add(top, "Pictured");
        checkedImage->SetChecked(true);
        checkedImage->SetImageIndex(0);
        plainTwin = add(top, "Save all");
        bold = add(top, "Save all");
        bold->SetDefault(true);
        shortcut = add(top, "Save the whole headline list");
        shortcut->SetShortCut(QKeySequence("Ctrl+S"));
        menu->Loaded();
        drop = top->DropDown();
        drop->popup(QPoint(20, 20));
        zeltest::WaitFor([&] { return drop->isVisible(); }, 5000);
        drop->setActiveAction(actionOf(selected));
        QCoreApplication::processEvents();
        image = zeltest::Grab(drop);
    }
    ~DropDown() {
        if (::testing::Test::HasFailure())
            image.save(QString("menu_%1_actual.png").arg(QString::fromStdString(StyleName(menu->UIStyle()))));
        delete drop;
    }
    TMenuItem* add(TMenuItem* parent, const QString& caption) {
        auto* item = new TMenuItem(&form);
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    }
    QAction* actionOf(TMenuItem* item) const {
        for (QAction* a : drop->actions())
            if (a->data().value<QObject*>() == item)
                return a;
        return nullptr;
    }
    QRect rectOf(TMenuItem* item) const { return drop->actionGeometry(actionOf(item)); }

    TForm form;
    TsuiMainMenu* menu = nullptr;
    TImageList* images = nullptr;
    TMenuItem *top, *plain, *selected, *disabled, *line, *checked, *checkedImage, *plainTwin, *bold,
        *shortcut;
    QMenu* drop = nullptr;
    QImage image;
};

const TsuiUIStyle kStyles[] = {MacOS, WinXP, DeepBlue, Protein, BlueGlass};

// Background: the bar strip and the item colour, or the MacOS platinum rows.
void expectBackground(const DropDown& d, bool mac) {
    const TsuiMainMenu& m = *d.menu;
    const QRect plain = d.rectOf(d.plain);
    if (mac) {
        const auto bar = stripRows("MACOS_MENU_BAR");
        for (int y = 0; y < 20; ++y)
            EXPECT_EQ(zeltest::PixelBGR(d.image, plain.x() + 1, plain.y() + y), bar[y]) << "row " << y;
        const QRect sep = d.rectOf(d.line);
        for (int y = 0; y < 12; ++y)
            EXPECT_EQ(zeltest::PixelBGR(d.image, sep.x() + 40, sep.y() + y), bar[y]) << "separator row " << y;
        const auto select = stripRows("MACOS_MENU_SELECT");
        const QRect sel = d.rectOf(d.selected);
        for (int y = 0; y < 20; ++y)
            EXPECT_EQ(zeltest::PixelBGR(d.image, sel.x() + 1, sel.y() + y), select[y])
                << "selected row " << y;
    } else {
        EXPECT_EQ(zeltest::PixelBGR(d.image, plain.x(), plain.y()), m.BarColor());
        EXPECT_EQ(zeltest::PixelBGR(d.image, plain.x() + 25, plain.bottom()), m.BarColor());
        EXPECT_EQ(zeltest::PixelBGR(d.image, plain.x() + 26, plain.y()), m.Color());
        EXPECT_EQ(zeltest::PixelBGR(d.image, plain.right(), plain.bottom()), m.Color());
        // Separator: bar, background and one line on its third row from x 30 to right - 3.
        const QRect sep = d.rectOf(d.line);
        EXPECT_EQ(zeltest::PixelBGR(d.image, sep.x() + 5, sep.y() + 2), m.BarColor());
        EXPECT_EQ(zeltest::PixelBGR(d.image, sep.x() + 29, sep.y() + 2), m.Color());
        EXPECT_EQ(zeltest::PixelBGR(d.image, sep.x() + 30, sep.y() + 2), m.SeparatorColor());
        EXPECT_EQ(zeltest::PixelBGR(d.image, sep.right() - 2, sep.y() + 2), m.SeparatorColor());
        EXPECT_EQ(zeltest::PixelBGR(d.image, sep.right() - 1, sep.y() + 2), m.Color());
        EXPECT_EQ(inkOf(d.image, sep.adjusted(26, 0, 0, 0), m.SeparatorColor()).count,
                  sep.width() - 26 - 4 - 2);
        // Highlight: filled, framed in the border colour, the bar covered too.
        const QRect sel = d.rectOf(d.selected);
        EXPECT_EQ(zeltest::PixelBGR(d.image, sel.x(), sel.y()), m.SelectedBorderColor());
        EXPECT_EQ(zeltest::PixelBGR(d.image, sel.right(), sel.bottom()), m.SelectedBorderColor());
        EXPECT_EQ(zeltest::PixelBGR(d.image, sel.x() + 1, sel.y() + 1), m.SelectedColor());
        EXPECT_EQ(zeltest::PixelBGR(d.image, sel.x() + 27, sel.y() + 2), m.SelectedColor());
    }
}

void expectTextAndMarks(const DropDown& d) {
    const TsuiMainMenu& m = *d.menu;
    const QRect plain = d.rectOf(d.plain);
    // Text: from x 30 and y 4 of the item, in the font colour; highlighted in its own colour,
    // disabled grey.
    const Box text = inkOf(d.image, plain, m.FontColor());
    ASSERT_GT(text.count, 10);
    EXPECT_GE(text.left, plain.x() + 30);
    EXPECT_LE(text.left, plain.x() + 32);
    EXPECT_GE(text.top, plain.y() + 4);
    const QRect sel = d.rectOf(d.selected);
    const Box selectedText = inkOf(d.image, sel.adjusted(2, 2, -2, -2), m.SelectedFontColor());
    EXPECT_GT(selectedText.count, 10);
    EXPECT_GE(selectedText.left, sel.x() + 30);
    const QRect gone = d.rectOf(d.disabled);
    EXPECT_GT(inkOf(d.image, gone, kGrey).count, 10);
    EXPECT_EQ(inkOf(d.image, gone.adjusted(30, 0, 0, 0), m.FontColor()).count, 0);

    // Check mark without an image: the green tick at (4, 3) from the item's corner.
    const QRect tick = d.rectOf(d.checked);
    EXPECT_EQ(zeltest::PixelBGR(d.image, tick.x() + 4 + 12, tick.y() + 3 + 4), kTickGreen);
    EXPECT_EQ(zeltest::PixelBGR(d.image, tick.x() + 4 + 1, tick.y() + 3 + 6), kTickGreen);
    EXPECT_EQ(zeltest::PixelBGR(d.image, tick.x() + 4 + 14, tick.y() + 3 + 6), kTickGrey);
    EXPECT_EQ(zeltest::PixelBGR(d.image, tick.x() + 4 + 5, tick.y() + 3 + 12), kTickGrey);
    // The white around the tick is left out: the strip shows through.
    EXPECT_EQ(zeltest::PixelBGR(d.image, tick.x() + 4, tick.y() + 3),
              zeltest::PixelBGR(d.image, plain.x() + 4, plain.y() + 3));

    // Check mark with an image: a black-framed box in the selected colour, the image on it.
    const QRect pic = d.rectOf(d.checkedImage);
    EXPECT_EQ(zeltest::PixelBGR(d.image, pic.x() + 2, pic.y() + 1), clBlack);
    EXPECT_EQ(zeltest::PixelBGR(d.image, pic.x() + 20, pic.y() + 19), clBlack);
    EXPECT_EQ(zeltest::PixelBGR(d.image, pic.x() + 3, pic.y() + 2), m.SelectedColor());
    EXPECT_EQ(zeltest::PixelBGR(d.image, pic.x() + 19, pic.y() + 18), clBlue);
    EXPECT_EQ(zeltest::PixelBGR(d.image, pic.x() + 4, pic.y() + 3), clRed);
    EXPECT_EQ(zeltest::PixelBGR(d.image, pic.x() + 5, pic.y() + 3), m.SelectedColor());
    EXPECT_EQ(inkOf(d.image, pic.adjusted(0, 0, -(pic.width() - 26), 0), kTickGreen).count, 0);
}

void expectBoldAndShortcut(const DropDown& d) {
    const TsuiMainMenu& m = *d.menu;
    // The default item is bold: more ink than the same caption plain.
    const int thin = inkOf(d.image, d.rectOf(d.plainTwin), m.FontColor()).count;
    const int thick = inkOf(d.image, d.rectOf(d.bold), m.FontColor()).count;
    EXPECT_GT(thick, thin + 10);

    // The shortcut item is the widest: its measured width is the drop-down's item width,
    // and its text ends 16 pixels from the item's right edge.
    TBitmap measure(1, 1);
    AssignSystemMenuFont(measure.Canvas().Font());
    const QRect cut = d.rectOf(d.shortcut);
    EXPECT_EQ(cut.width(), measure.Canvas().TextWidth(d.shortcut->Caption()) +
                               measure.Canvas().TextWidth("Ctrl+S") + 26 + 40);
    const int shortcutStart = cut.x() + cut.width() - measure.Canvas().TextWidth("Ctrl+S") - 16;
    const Box keys =
        inkOf(d.image, QRect(shortcutStart - 2, cut.y(), cut.width(), cut.height()), m.FontColor());
    ASSERT_GT(keys.count, 5);
    EXPECT_GE(keys.left, shortcutStart);
    EXPECT_LE(keys.left, shortcutStart + 2);
    EXPECT_LE(keys.right, cut.x() + cut.width() - 16 - 1);
    EXPECT_GE(keys.right, cut.x() + cut.width() - 16 - 3);
}

} // namespace

TEST(MenuPixels, ItemsOfEveryStyle) {
    for (TsuiUIStyle style : kStyles) {
        SCOPED_TRACE(StyleName(style));
        DropDown d(style);
        const bool mac = style == MacOS;
        const QRect plain = d.rectOf(d.plain);
        ASSERT_TRUE(plain.isValid());
        EXPECT_EQ(plain.height(), mac ? 20 : 21);
        EXPECT_EQ(d.rectOf(d.line).height(), mac ? 12 : 5);
        expectBackground(d, mac);
        expectTextAndMarks(d);
        expectBoldAndShortcut(d);
    }
}

TEST(MenuPixels, AnItemAddedAtRunTimeIsDrawnLikeTheOthers) {
    DropDown d(DeepBlue);
    delete d.drop;
    auto* late = d.add(d.top, "Later");
    d.drop = d.top->DropDown();
    d.drop->popup(QPoint(20, 20));
    zeltest::WaitFor([&] { return d.drop->isVisible(); }, 5000);
    d.image = zeltest::Grab(d.drop);
    const QRect r = d.rectOf(late);
    EXPECT_EQ(r.height(), 21);
    EXPECT_EQ(zeltest::PixelBGR(d.image, r.x() + 1, r.y() + 1), 0xCED3D6);
    EXPECT_EQ(zeltest::PixelBGR(d.image, r.x() + 27, r.y() + 1), 0xFFFFFF);
}

TEST(MenuPixels, AFlatMenuDrawsTheDropDownsOuterFrameItself) {
    TForm form(nullptr);
    auto* menu = new TsuiMainMenu(&form);
    menu->SetUIStyle(DeepBlue);
    menu->SetFlatMenu(true);
    auto* top = new TMenuItem(&form);
    top->SetCaption("File");
    menu->Items()->Add(top);
    for (const char* caption : {"Open", "Save"}) {
        auto* item = new TMenuItem(&form);
        item->SetCaption(caption);
        top->Add(item);
    }
    menu->Loaded();
    std::unique_ptr<QMenu> drop(top->DropDown());
    drop->popup(QPoint(20, 20));
    zeltest::WaitFor([&] { return drop->isVisible(); }, 5000);
    const QImage image = zeltest::Grab(drop.get());
    const int w = image.width(), h = image.height();
    // Black along the left, the form background colour along the top, right and bottom.
    constexpr TColor kLine = 0xE8E8E8;
    EXPECT_EQ(zeltest::PixelBGR(image, 0, 1), clBlack);
    EXPECT_EQ(zeltest::PixelBGR(image, 0, h / 2), clBlack);
    EXPECT_EQ(zeltest::PixelBGR(image, w / 2, 0), kLine);
    EXPECT_EQ(zeltest::PixelBGR(image, w - 1, h / 2), kLine);
    EXPECT_EQ(zeltest::PixelBGR(image, w / 2, h - 1), kLine);
    EXPECT_EQ(zeltest::PixelBGR(image, w - 1, 0), kLine);
    if (::testing::Test::HasFailure())
        image.save("menu_flat_actual.png");
}
