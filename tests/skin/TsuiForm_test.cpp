// The skinned frame on its host window: creation, styles, the border band and shape, the menu
// bar, maximising, activation, keys, the off-screen start and tear-down.
#include "framework/TBitmap.h"
#include "framework/TForm.h"
#include "framework/TScriptedPlatform.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiMainMenu.h"
#include "skin/TsuiMenuBar.h"
#include "skin/TsuiTitleBar.h"
#include "tests/support/GuiTest.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

namespace {

struct FrameTest : ::testing::Test {
    TScriptedPlatform platform;
    TForm* host = new TForm(nullptr);
    TsuiForm* frame = nullptr;

    void SetUp() override {
        host->SetCaption(QStringLiteral("Frame test"));
        host->SetBounds(100, 80, 400, 300);
        frame = new TsuiForm(host);
    }
    void TearDown() override { delete host; }

    void show() {
        host->Show();
        QApplication::setActiveWindow(host);
        QCoreApplication::processEvents();
    }
    QImage window() { return zeltest::Grab(host); }

    TsuiMainMenu* attachMenu(int topLevel) {
        auto* menu = new TsuiMainMenu(host);
        for (int i = 0; i < topLevel; ++i) {
            auto* item = new TMenuItem(host);
            item->SetCaption(i == 0 ? QStringLiteral("&File") : QStringLiteral("Item%1").arg(i));
            menu->Items()->Add(item);
            auto* sub = new TMenuItem(host);
            sub->SetCaption(QStringLiteral("Sub"));
            item->Add(sub);
        }
        menu->Loaded();
        return menu;
    }

    static void key(QWidget* to, int k, Qt::KeyboardModifiers mods, QEvent::Type type = QEvent::KeyPress) {
        QKeyEvent e(type, k, mods);
        QApplication::sendEvent(to, &e);
    }
};

TEST_F(FrameTest, CreationMakesAFramelessWindowWithABand) {
    ASSERT_TRUE(frame->Hosting());
    EXPECT_TRUE(host->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(host->BorderBand(), 3);
    EXPECT_EQ(frame->Parent(), host);
    EXPECT_EQ(frame->Align(), alClient);
    EXPECT_EQ(frame->BoundsRect(), Bounds(3, 3, 394, 294));
    EXPECT_EQ(host->ClientWidth(), 394);
    EXPECT_EQ(frame->UIStyle(), DeepBlue);
    EXPECT_EQ(frame->Caption(), QStringLiteral("Frame test"));
    EXPECT_EQ(frame->TitleBar()->Caption(), QStringLiteral("Frame test"));
    EXPECT_EQ(frame->TitleBar()->Top(), 0);
    EXPECT_EQ(frame->TitleBar()->Height(), 29);
    EXPECT_EQ(host->Constraints().MinHeight, 50);
    EXPECT_EQ(host->Constraints().MinWidth, 130); // the style's minimum width
    EXPECT_EQ(frame->MenuBar(), nullptr);
    // A second frame on the same host takes no part.
    auto* second = new TsuiForm(host);
    EXPECT_FALSE(second->Hosting());
    EXPECT_EQ(frame->TitleBar()->Parent(), frame);
}

TEST_F(FrameTest, PublishesStyleThemeAndAFixedVersion) {
    EXPECT_TRUE(IsPublishedProp(frame, QStringLiteral("UIStyle")));
    EXPECT_TRUE(IsPublishedProp(frame, QStringLiteral("FileTheme")));
    SetPublishedProp(frame, QStringLiteral("UIStyle"), QStringLiteral("WinXP"));
    EXPECT_EQ(frame->UIStyle(), WinXP);
    frame->SetVersion(QStringLiteral("9.9"));
    EXPECT_EQ(frame->Version(), QStringLiteral("5.5"));
}

TEST_F(FrameTest, EachStyleGivesItsFrameValues) {
    attachMenu(2);
    struct Row {
        TsuiUIStyle style;
        TColor border;
        int width;
        TColor color;
        int corner;
    };
    const Row rows[] = {{MacOS, 0x7F7F7F, 1, 0xE7E7E7, 0},
                        {WinXP, 0xC82C00, 3, 0xDEEBEF, 13},
                        {DeepBlue, 0x000000, 1, 0xE8E8E8, 0},
                        {Protein, 0x000000, 1, 0xFBFBFB, 0},
                        {BlueGlass, 0x000000, 1, 0xE7E7E7, 11}};
    for (const Row& r : rows) {
        frame->SetUIStyle(r.style);
        EXPECT_EQ(frame->BorderColor(), r.border) << StyleName(r.style);
        EXPECT_EQ(frame->BorderWidth(), r.width) << StyleName(r.style);
        EXPECT_EQ(frame->Color(), r.color) << StyleName(r.style);
        EXPECT_EQ(frame->MenuBarColor(), r.color) << StyleName(r.style);
        EXPECT_EQ(frame->MenuBar()->Color(), r.color) << StyleName(r.style);
        EXPECT_EQ(frame->RoundCorner(), r.corner) << StyleName(r.style);
        EXPECT_EQ(frame->TitleBar()->UIStyle(), r.style);
        EXPECT_EQ(static_cast<TsuiMainMenu*>(frame->Menu())->UIStyle(), r.style);
    }
}

TEST_F(FrameTest, DeepBlueWindowBandAndTitleBarMeetSeamlessly) {
    show();
    const QImage img = window();
    const int w = img.width(), h = img.height();
    for (int y : {60, 200, h - 4}) {
        EXPECT_EQ(zeltest::PixelBGR(img, 0, y), 0x000000) << y;
        EXPECT_EQ(zeltest::PixelBGR(img, 1, y), 0xE8E8E8) << y;
        EXPECT_EQ(zeltest::PixelBGR(img, 2, y), 0xE8E8E8) << y;
        EXPECT_EQ(zeltest::PixelBGR(img, w - 1, y), 0x000000) << y;
        EXPECT_EQ(zeltest::PixelBGR(img, w - 3, y), 0xE8E8E8) << y;
    }
    EXPECT_EQ(zeltest::PixelBGR(img, w / 2, h - 1), 0x000000);
    EXPECT_EQ(zeltest::PixelBGR(img, w / 2, h - 2), 0xE8E8E8);
    // The left picture runs from the window's corner, across the band into the title bar.
    const TBitmap* left = frame->TitleBar()->LeftPicture();
    ASSERT_TRUE(left);
    // (Rows 3 and below show the control box and the caption in the middle of the bar.)
    for (int y : {0, 1, 2, 22, 26, 31})
        for (int x = 3; x < left->Width(); ++x)
            ASSERT_EQ(zeltest::PixelBGR(img, x, y), zeltest::PixelBGR(left->Image(), x, y)) << x << "," << y;
    // The mask of a square-cornered style is the plain window.
    EXPECT_TRUE(host->mask().isEmpty());
}

TEST_F(FrameTest, WinXPBandIsThreePixelsOfBorderColour) {
    frame->SetUIStyle(WinXP);
    show();
    const QImage img = window();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(zeltest::PixelBGR(img, i, 150), 0xC82C00) << i;
        EXPECT_EQ(zeltest::PixelBGR(img, img.width() - 1 - i, 150), 0xC82C00) << i;
        EXPECT_EQ(zeltest::PixelBGR(img, 200, img.height() - 1 - i), 0xC82C00) << i;
    }
}

TEST_F(FrameTest, WindowMaskFollowsEveryRoundCorner) {
    show();
    frame->SetUIStyle(BlueGlass);
    EXPECT_EQ(host->mask(), WindowRegionFor(400, 300, 11));
    EXPECT_FALSE(host->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(host->mask().contains(QPoint(0, 299)));
    for (int c : {0, 5, 11, 13, 20}) {
        frame->SetRoundCorner(c);
        EXPECT_EQ(frame->RoundCorner(), c);
        if (c <= 1)
            EXPECT_TRUE(host->mask().isEmpty()) << c;
        else
            EXPECT_EQ(host->mask(), WindowRegionFor(400, 300, c)) << c;
    }
}

TEST_F(FrameTest, HiddenTitleBarShowsALineOverTwoRowsAndNoCorner) {
    frame->SetUIStyle(BlueGlass);
    show();
    frame->SetTitleBarVisible(false);
    EXPECT_EQ(frame->RoundCorner(), 0);
    QCoreApplication::processEvents();
    const QImage img = window();
    EXPECT_EQ(zeltest::PixelBGR(img, 100, 0), 0x000000);
    EXPECT_EQ(zeltest::PixelBGR(img, 100, 1), 0xE7E7E7);
    EXPECT_EQ(zeltest::PixelBGR(img, 100, 2), 0xE7E7E7);
    // The shape becomes square at the next size change.
    host->SetWidth(420);
    EXPECT_TRUE(host->mask().isEmpty());
}

TEST_F(FrameTest, MacOSAndProteinFillTheClientWithTheirPattern) {
    for (TsuiUIStyle style : {MacOS, Protein}) {
        frame->SetUIStyle(style);
        show();
        TBitmap tile;
        LoadSkinBitmap(tile, style == MacOS ? "MACOS_FORM_BACKGROUND" : "PROTEIN_FORM_BACKGROUND");
        const QImage img = zeltest::Grab(frame);
        for (int y = 100; y < 116; ++y)
            for (int x = 40; x < 56; ++x)
                ASSERT_EQ(zeltest::PixelBGR(img, x, y), tile.Canvas().Pixels(x % 8, y % 8)) << x << "," << y;
    }
}

TEST_F(FrameTest, MenuAttachedGivesABarUnderTheTitleBar) {
    TsuiMainMenu* menu = attachMenu(4);
    ASSERT_EQ(frame->Menu(), menu);
    EXPECT_EQ(menu->MenuHost(), frame);
    ASSERT_TRUE(frame->MenuBar());
    EXPECT_EQ(frame->MenuBar()->ButtonCount(), 4);
    EXPECT_EQ(frame->MenuBar()->Top(), frame->TitleBar()->Height());
    EXPECT_EQ(frame->MenuBar()->Height(), 22);
    frame->SetMenuBarHeight(30);
    EXPECT_EQ(frame->MenuBar()->Height(), 30);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(frame->MenuBar()->Button(i).Bounds.Height(), 30);
    // A changed item reaches its button at the menu's change notice.
    menu->Items()->Items(1)->SetEnabled(false);
    EXPECT_FALSE(frame->MenuBar()->Button(1).Enabled);
    frame->SetMenu(nullptr);
    EXPECT_EQ(frame->MenuBar(), nullptr);
    EXPECT_EQ(menu->MenuHost(), nullptr);
    // A menu destroyed first takes the bar with it.
    TsuiMainMenu* other = attachMenu(2);
    frame->SetMenu(other);
    ASSERT_TRUE(frame->MenuBar());
    delete other;
    EXPECT_EQ(frame->MenuBar(), nullptr);
    EXPECT_EQ(frame->Menu(), nullptr);
}

TEST_F(FrameTest, MaximisedCoversTheWorkAreaLessItsBottomRowAndShowsTheRestoreGlyph) {
    show();
    host->SetWindowState(wsMaximized);
    QCoreApplication::processEvents();
    EXPECT_EQ(host->Left(), 0);
    EXPECT_EQ(host->Top(), 0);
    EXPECT_EQ(host->Width(), 1280);
    EXPECT_EQ(host->Height(), 999);
    EXPECT_EQ(host->WindowState(), wsMaximized);
    TBitmap restore;
    LoadStyleImage(DeepBlue, 5, &restore, 18, 10);
    TsuiTitleBarButton* max = nullptr;
    for (int i = 0; i < frame->TitleBar()->Buttons().Count(); ++i)
        if (frame->TitleBar()->Buttons().Items(i)->ButtonType() == suiMax)
            max = frame->TitleBar()->Buttons().Items(i);
    ASSERT_TRUE(max);
    TBitmap maximise;
    LoadStyleImage(DeepBlue, 5, &maximise, 18, 7);
    ASSERT_NE(restore.Image(), maximise.Image());
    const QImage shown = max->PicNormal().Image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, restore.Image().convertToFormat(QImage::Format_RGB32));

    // A press and drag on the title bar of the maximised window does not move it.
    QWidget* bar = frame->TitleBar();
    const QPoint p(150, 10);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(p), QPointF(bar->mapToGlobal(p)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &press);
    const QPoint q(250, 60);
    QMouseEvent move(QEvent::MouseMove, QPointF(q), QPointF(bar->mapToGlobal(q)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(q), QPointF(bar->mapToGlobal(q)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &release);
    EXPECT_EQ(host->BoundsRect(), Rect(0, 0, 1280, 999));

    // Restored: the window is back where it was, with the maximise glyph.
    host->SetWindowState(wsNormal);
    QCoreApplication::processEvents();
    EXPECT_EQ(host->WindowState(), wsNormal);
    EXPECT_EQ(host->BoundsRect(), Bounds(100, 80, 400, 300));
    TBitmap maximiseAgain;
    LoadStyleImage(DeepBlue, 5, &maximiseAgain, 18, 7);
    EXPECT_EQ(max->PicNormal().Image().convertToFormat(QImage::Format_RGB32),
              maximiseAgain.Image().convertToFormat(QImage::Format_RGB32));
}

TEST_F(FrameTest, ActivationChangesTheCaptionLookAtOnce) {
    show();
    EXPECT_TRUE(frame->TitleBar()->FormActive());
    TForm other(nullptr);
    other.Show();
    // The white caption of the active window (the band right of the control box).
    auto whiteCaptionPixels = [&] {
        const QImage bar = zeltest::Grab(frame->TitleBar());
        int n = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 24; x < 150; ++x)
                n += zeltest::PixelBGR(bar, x, y) == 0xFFFFFF;
        return n;
    };
    EXPECT_GT(whiteCaptionPixels(), 10);
    QApplication::setActiveWindow(&other);
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame->TitleBar()->FormActive());
    EXPECT_EQ(whiteCaptionPixels(), 0);
    QApplication::setActiveWindow(host);
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame->TitleBar()->FormActive());
    EXPECT_GT(whiteCaptionPixels(), 10);
}

TEST_F(FrameTest, ShortcutKeysWorkWhereverTheFocusIsOnlyWhileActive) {
    TsuiMainMenu* menu = attachMenu(2);
    auto* save = new TMenuItem(host);
    save->SetCaption(QStringLiteral("Save"));
    save->SetShortCut(QKeySequence(Qt::CTRL | Qt::Key_S));
    int runs = 0;
    save->OnClick = [&](TComponent*) { ++runs; };
    menu->Items()->Items(0)->Add(save);
    auto* edit = new QLineEdit(frame);
    edit->setGeometry(20, 100, 100, 20);
    show();
    edit->show();
    edit->setFocus();
    key(edit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(edit->text().isEmpty());
    // An ordinary key stays with the focused control.
    key(edit, Qt::Key_A, Qt::NoModifier);
    EXPECT_EQ(runs, 1);
    // Not while another window is active.
    TForm other(nullptr);
    other.Show();
    QApplication::setActiveWindow(&other);
    key(edit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(runs, 1);
}

TEST_F(FrameTest, AltSpaceOpensTheTitleBarMenuBelowTheTitleBarAtTheWindowsLeft) {
    Application->SetMainForm(host);
    show();
    QPoint shownAt(-1, -1);
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(50, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                shownAt = popup->pos();
                popup->close();
            }
        });
    });
    key(frame, Qt::Key_Space, Qt::AltModifier);
    zeltest::WaitFor([&] { return shownAt.x() != -1; }, 3000);
    Application->SetMainForm(nullptr);
    EXPECT_EQ(shownAt, QPoint(host->Left(), host->Top() + frame->TitleBar()->Height()));
}

TEST_F(FrameTest, KeyboardOpensTheMenuBar) {
    attachMenu(3);
    auto* edit = new QLineEdit(frame);
    edit->setGeometry(20, 100, 100, 20);
    show();
    edit->show();
    edit->setFocus();
    TsuiMenuBar* bar = frame->MenuBar();
    ASSERT_TRUE(Application->OnMessage);
    ASSERT_EQ(bar->ButtonCount(), 3);
    key(edit, Qt::Key_F10, Qt::NoModifier);
    EXPECT_TRUE(bar->KeyboardActive());
    EXPECT_EQ(bar->HotIndex(), 0);
    bar->LeaveBar();
    // A lone Alt.
    key(edit, Qt::Key_Alt, Qt::NoModifier);
    key(edit, Qt::Key_Alt, Qt::AltModifier, QEvent::KeyRelease);
    EXPECT_TRUE(bar->KeyboardActive());
    bar->LeaveBar();
    // Alt with the access letter of "&File".
    key(edit, Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(bar->OpenMenu());
    EXPECT_EQ(bar->PressedIndex(), 0);
    bar->LeaveBar();
}

TEST_F(FrameTest, FormPanelRefusesTheFrameItself) {
    frame->SetFormPanel(frame);
    ASSERT_EQ(platform.Boxes.size(), 1u);
    EXPECT_EQ(platform.Boxes[0].Text,
              QStringLiteral("Sorry, you can't select the Form assign to FormPanel property"));
    EXPECT_EQ(frame->FormPanel(), nullptr);
    auto* panel = new TPanel(host);
    panel->SetParent(frame);
    panel->SetCaption(QStringLiteral("x"));
    frame->SetFormPanel(panel);
    EXPECT_EQ(panel->Align(), alClient);
    EXPECT_EQ(panel->BevelOuter(), bvNone);
    EXPECT_TRUE(panel->Caption().isEmpty());
}

TEST_F(FrameTest, AWindowOffEveryScreenComesBackOntoTheWorkArea) {
    host->SetBounds(5000, -3000, 400, 300);
    show();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const TRect work = platform.Work;
    EXPECT_GE(host->Left(), work.Left);
    EXPECT_GE(host->Top(), work.Top);
    EXPECT_LE(host->Left() + host->Width(), work.Right);
    EXPECT_LE(host->Top() + host->Height(), work.Bottom);
    (void)screen;
}

TEST_F(FrameTest, TearDownGivesTheWindowItsCaptionBack) {
    show();
    ASSERT_TRUE(Application->OnMessage);
    delete frame;
    EXPECT_FALSE(host->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(host->BorderBand(), 0);
    EXPECT_FALSE(Application->OnMessage);
}

} // namespace
