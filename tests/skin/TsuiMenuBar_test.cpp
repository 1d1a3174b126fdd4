// The frame's menu bar: one button per top-level item, its looks per style, and its use by
// pointer and keyboard.
#include "framework/TBitmap.h"
#include "framework/TForm.h"
#include "framework/TMenu.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiMainMenu.h"
#include "skin/TsuiMenuBar.h"
#include "tests/support/GuiTest.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

namespace {

struct MenuBarTest : ::testing::Test {
    TForm* form = new TForm(nullptr);
    TMainMenu* menu = new TMainMenu(form);
    TsuiMenuBar* bar = new TsuiMenuBar(form);
    TMenuItem* items[4] = {};

    void SetUp() override {
        const char* captions[] = {"&File", "&Edit", "&View", "&Help"};
        for (int i = 0; i < 4; ++i) {
            items[i] = new TMenuItem(form);
            items[i]->SetCaption(QString::fromLatin1(captions[i]));
            menu->Items()->Add(items[i]);
            for (int j = 0; j < 2; ++j) {
                auto* sub = new TMenuItem(form);
                sub->SetCaption(QStringLiteral("Item %1").arg(j));
                items[i]->Add(sub);
            }
        }
        form->SetBounds(0, 0, 400, 200);
        bar->SetParent(form);
        bar->SetAlign(alTop);
        bar->SetColor(0xE8E8E8);
        bar->SetFrameStyle(DeepBlue, nullptr);
        bar->SetMenu(menu);
        bar->Rebuild();
        form->Show();
    }
    void TearDown() override { delete form; }

    QImage image() {
        TBitmap b(bar->ClientWidth(), bar->ClientHeight());
        bar->PaintTo(b.Canvas());
        return b.Image().convertToFormat(QImage::Format_RGB32);
    }
    void hover(int index) {
        const TRect r = bar->Button(index).Bounds;
        const QPoint p((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(bar->mapToGlobal(p)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &e);
    }
    void key(QWidget* to, int k) {
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
        QCoreApplication::sendEvent(to, &e);
    }
    // How many pixels of the colour the rectangle holds.
    static int count(const QImage& img, const TRect& r, int bgr) {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += zeltest::PixelBGR(img, x, y) == bgr;
        return n;
    }
};

TEST_F(MenuBarTest, OneButtonPerTopLevelItemInTheMenusOrder) {
    ASSERT_EQ(bar->ButtonCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bar->Button(i).Item, items[i]);
        EXPECT_EQ(bar->Button(i).Bounds.Height(), TsuiMenuBar::kDefaultButtonHeight);
        if (i > 0) {
            EXPECT_EQ(bar->Button(i).Bounds.Left, bar->Button(i - 1).Bounds.Right);
        }
    }
    EXPECT_EQ(bar->Button(0).Bounds.Left, 0);
}

TEST_F(MenuBarTest, HeightThirtyReachesTheBarAndEveryButton) {
    bar->SetButtonsHeight(30);
    EXPECT_EQ(bar->Height(), 30);
    for (int i = 0; i < bar->ButtonCount(); ++i)
        EXPECT_EQ(bar->Button(i).Bounds.Height(), 30);
    // A rebuild keeps the height the buttons were given.
    bar->Rebuild();
    EXPECT_EQ(bar->Button(0).Bounds.Height(), 30);
}

TEST_F(MenuBarTest, NarrowBarWrapsButtonsOntoRowsAndGrows) {
    const int w = bar->Button(0).Bounds.Width() + bar->Button(1).Bounds.Width();
    form->SetClientWidth(w + 5);
    EXPECT_EQ(bar->Button(2).Bounds.Left, 0);
    EXPECT_EQ(bar->Button(2).Bounds.Top, TsuiMenuBar::kDefaultButtonHeight);
    // The bar fits its rows.
    EXPECT_EQ(bar->Height(), bar->Button(3).Bounds.Bottom);
    EXPECT_GE(bar->Height(), 2 * TsuiMenuBar::kDefaultButtonHeight);
}

TEST_F(MenuBarTest, DeepBlueIdleHotAndDisabledLooks) {
    items[2]->SetEnabled(false);
    bar->UpdateButtons();
    hover(1);
    ASSERT_EQ(bar->HotIndex(), 1);
    const QImage img = image();
    const TRect idle = bar->Button(0).Bounds, hot = bar->Button(1).Bounds, off = bar->Button(2).Bounds;
    // Idle: black text on the bar colour.
    EXPECT_GT(count(img, idle, 0x000000), 5);
    EXPECT_EQ(count(img, idle, 0xFFFFFF), 0);
    EXPECT_EQ(zeltest::PixelBGR(img, idle.Left, idle.Top), 0xE8E8E8);
    // Hot: a 0xA04A44 box with its frame and a white caption below its top two rows.
    EXPECT_EQ(zeltest::PixelBGR(img, hot.Left, hot.Top), 0xA04A44);
    EXPECT_EQ(zeltest::PixelBGR(img, hot.Right - 1, hot.Bottom - 1), 0xA04A44);
    EXPECT_EQ(count(img, Rect(hot.Left, hot.Top, hot.Right, hot.Top + 2), 0xFFFFFF), 0);
    EXPECT_GT(count(img, hot, 0xFFFFFF), 5);
    EXPECT_EQ(count(img, hot, 0x000000), 0);
    // Disabled: grey text.
    EXPECT_GT(count(img, off, 0x808080), 5);
    EXPECT_EQ(count(img, off, 0x000000), 0);
}

TEST_F(MenuBarTest, PressedButtonLeavesTwoColumnsOnItsRight) {
    bar->OpenButton(0, false);
    ASSERT_EQ(bar->PressedIndex(), 0);
    ASSERT_TRUE(bar->OpenMenu());
    const QImage img = image();
    const TRect r = bar->Button(0).Bounds;
    EXPECT_EQ(zeltest::PixelBGR(img, r.Right - 3, r.Top + 1), 0xA04A44);
    EXPECT_EQ(zeltest::PixelBGR(img, r.Right - 2, r.Top + 1), 0xE8E8E8);
    EXPECT_EQ(zeltest::PixelBGR(img, r.Right - 1, r.Top + 1), 0xE8E8E8);
    // The drop-down opens below the button.
    EXPECT_EQ(bar->OpenMenu()->pos(), bar->mapToGlobal(QPoint(r.Left, r.Bottom)));
    bar->OpenMenu()->hide();
    EXPECT_EQ(bar->PressedIndex(), -1);
}

TEST_F(MenuBarTest, WinXPHotButtonHasItsFillFrameAndTextBackground) {
    bar->SetFrameStyle(WinXP, nullptr);
    hover(0);
    const QImage img = image();
    const TRect r = bar->Button(0).Bounds;
    EXPECT_EQ(zeltest::PixelBGR(img, r.Left, r.Top), 0xC66931);
    EXPECT_EQ(zeltest::PixelBGR(img, r.Left + 1, r.Top + 1), 0xEFD3C6);
    EXPECT_GT(count(img, Rect(r.Left + 1, r.Top + 3, r.Right - 1, r.Bottom - 1), 0xC66931), 20);
    EXPECT_GT(count(img, r, 0x000000), 5);
}

TEST_F(MenuBarTest, MacOSShowsItsStripsAndAWhiteCaption) {
    bar->SetFrameStyle(MacOS, nullptr);
    hover(1);
    const QImage img = image();
    TBitmap strip, select;
    LoadSkinBitmap(strip, "MACOS_MENU_BAR");
    LoadSkinBitmap(select, "MACOS_MENU_SELECT");
    const int x = bar->ClientWidth() - 3; // right of every button
    ASSERT_EQ(bar->ClientHeight(), strip.Height());
    for (int y = 0; y < bar->ClientHeight(); ++y)
        ASSERT_EQ(zeltest::PixelBGR(img, x, y), strip.Canvas().Pixels(0, y)) << y;
    const TRect r = bar->Button(1).Bounds;
    EXPECT_EQ(zeltest::PixelBGR(img, r.Left, r.Top), select.Canvas().Pixels(0, 0));
    EXPECT_GT(count(img, r, 0xFFFFFF), 5);
}

// The bar keeps the colours it resolved; a skinned menu's own style still decides them.
TEST_F(MenuBarTest, TheLookFollowsTheStyleOfASkinnedMenu) {
    auto* skinned = new TsuiMainMenu(form);
    auto* item = new TMenuItem(form);
    item->SetCaption(QStringLiteral("&News"));
    item->Add(new TMenuItem(form));
    skinned->Items()->Add(item);
    bar->SetMenu(skinned);
    bar->Rebuild();
    hover(0);
    const TRect r = bar->Button(0).Bounds;
    EXPECT_EQ(zeltest::PixelBGR(image(), r.Left, r.Top), 0xA04A44);
    skinned->SetUIStyle(WinXP);
    EXPECT_EQ(zeltest::PixelBGR(image(), r.Left, r.Top), 0xC66931);
}

// The bar keeps its painted picture: what the screen shows must still follow every change.
TEST_F(MenuBarTest, ThePaintedBarFollowsHotEnabledCaptionAndStyle) {
    QCoreApplication::processEvents();
    const auto shown = [this] { return zeltest::Grab(bar); };
    EXPECT_EQ(shown(), image());
    hover(1);
    EXPECT_EQ(shown(), image()) << "hot";
    items[2]->SetEnabled(false);
    bar->UpdateButtons();
    EXPECT_EQ(shown(), image()) << "disabled";
    items[0]->SetCaption(QStringLiteral("&Files"));
    bar->UpdateButtons();
    EXPECT_EQ(shown(), image()) << "caption";
    bar->SetFrameStyle(WinXP, nullptr);
    EXPECT_EQ(shown(), image()) << "style";
    bar->SetColor(0xC0C0C0);
    EXPECT_EQ(shown(), image()) << "colour";
    bar->Font().SetHeight(16);
    bar->UpdateFont();
    EXPECT_EQ(shown(), image()) << "font";
}

TEST_F(MenuBarTest, KeyboardMovesBetweenButtonsAndDropDowns) {
    bar->FocusBar();
    EXPECT_TRUE(bar->KeyboardActive());
    EXPECT_EQ(bar->HotIndex(), 0);
    key(bar, Qt::Key_Right);
    EXPECT_EQ(bar->HotIndex(), 1);
    key(bar, Qt::Key_Left);
    key(bar, Qt::Key_Left);
    EXPECT_EQ(bar->HotIndex(), 3); // wraps round
    key(bar, Qt::Key_Down);
    ASSERT_TRUE(bar->OpenMenu());
    EXPECT_EQ(bar->PressedIndex(), 3);
    EXPECT_TRUE(bar->OpenMenu()->activeAction());
    key(bar->OpenMenu(), Qt::Key_Right);
    ASSERT_TRUE(bar->OpenMenu());
    EXPECT_EQ(bar->PressedIndex(), 0);
    key(bar->OpenMenu(), Qt::Key_Escape);
    EXPECT_FALSE(bar->OpenMenu());
    EXPECT_EQ(bar->HotIndex(), 0);
    EXPECT_TRUE(bar->KeyboardActive());
    key(bar, Qt::Key_Escape);
    EXPECT_FALSE(bar->KeyboardActive());
    EXPECT_EQ(bar->HotIndex(), -1);
}

TEST_F(MenuBarTest, AccessLetterOpensItsDropDown) {
    EXPECT_TRUE(bar->OpenByMnemonic(Qt::Key_V));
    ASSERT_TRUE(bar->OpenMenu());
    EXPECT_EQ(bar->PressedIndex(), 2);
    bar->LeaveBar();
    items[2]->SetEnabled(false);
    bar->UpdateButtons();
    EXPECT_FALSE(bar->OpenByMnemonic(Qt::Key_V));
    EXPECT_FALSE(bar->OpenByMnemonic(Qt::Key_Q));
}

TEST_F(MenuBarTest, ItemFreedLosesItsButtonAtTheChangeNotice) {
    menu->OnChange = [this](TMenu*, TMenuItem*, bool) { bar->UpdateButtons(); };
    delete items[1];
    ASSERT_EQ(bar->ButtonCount(), 3);
    EXPECT_EQ(bar->Button(1).Item, items[2]);
    EXPECT_EQ(bar->Button(1).Bounds.Left, bar->Button(0).Bounds.Right);
}

TEST_F(MenuBarTest, MenuGoneTakesTheButtonsWithIt) {
    delete menu;
    menu = nullptr;
    EXPECT_EQ(bar->ButtonCount(), 0);
    EXPECT_EQ(bar->Menu(), nullptr);
}

} // namespace
