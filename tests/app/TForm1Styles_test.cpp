// The window's styles: the stored skin index applied at start, the five style commands with the
// index written at close, the re-skinning hidden without leaving the window minimised or moved,
// and a theme file named in config.ini, whose gaps keep the window's pictures and colours and
// whose sizes stay within the work area and the bars.
#include "app/TForm1.h"
#include "framework/TListBox.h"
#include "framework/TPanel.h"
#include "framework/TScriptedPlatform.h"
#include "framework/TSplitter.h"
#include "skin/SuiStyleDecisions.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiMainMenu.h"
#include "skin/TsuiMenuBar.h"
#include "skin/TsuiPanel.h"
#include "skin/TsuiSideChannel.h"
#include "skin/TsuiThemeFileWriter.h"
#include "skin/TsuiThemeManager.h"
#include "skin/TsuiTitleBar.h"
#include "skin/TsuiTitleBarButton.h"
#include "tests/support/FileBytes.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TempDir.h"
#include "tests/support/UnansweredFifo.h"
#include "webview/TWebBrowser.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

using zeltest::ReadFile;
using zeltest::WriteFile;

namespace {

// Notes every window-state change of the form: whether it was minimised at that moment.
struct StateLog : QObject {
    std::vector<bool> minimised;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::WindowStateChange)
            minimised.push_back(static_cast<QWidget*>(o)->isMinimized());
        return false;
    }
};

struct StyleFixture : ::testing::Test {
    TempDir temp;
    fs::path dir = temp.Path();
    TScriptedPlatform platform;
    std::unique_ptr<TForm1> form;

    void SetUp() override {
        TForm1::SetSettingsDirectory(dir.string());
        platform.Screen = Rect(0, 0, 1280, 1024);
    }
    void TearDown() override {
        form.reset();
        TForm1::SetSettingsDirectory("");
        TForm1::SetPlatformRestoresMinimised(std::nullopt);
    }
    void create(const std::string& ini = "") {
        if (!ini.empty())
            WriteFile(dir / "config.ini", ini);
        form = std::make_unique<TForm1>(nullptr);
    }
    // Every listed part of the window that carries a style carries the manager's.
    void expectComponentsAt(TsuiUIStyle style) {
        for (const QString& name : form->skinman->CompListLines()) {
            QObject* c = form->FindComponent(name)->Object();
            EXPECT_EQ(c->property("UIStyle").toInt(), int(style)) << name.toStdString();
        }
    }
    std::string closeAndReadSkin() {
        form->Close();
        const std::string ini = ReadFile(dir / "config.ini");
        const auto at = ini.find("skin=");
        return at == std::string::npos ? "" : ini.substr(at, ini.find('\r', at) - at);
    }
};

} // namespace

TEST_F(StyleFixture, TheSkinIndexPicksTheStartStyle) {
    const std::pair<const char*, TsuiUIStyle> table[] = {
        {"0", MacOS}, {"1", DeepBlue}, {"2", WinXP}, {"3", BlueGlass}, {"4", Protein}};
    for (const auto& [skin, style] : table) {
        create(std::string("[form]\r\nskin=") + skin + "\r\n");
        EXPECT_EQ(form->skinman->UIStyle(), style) << skin;
        expectComponentsAt(style);
        form.reset();
    }
    // A first run has no settings: skin 0, MacOS.
    fs::remove(dir / "config.ini");
    create();
    EXPECT_EQ(form->skinman->UIStyle(), MacOS);
}

TEST_F(StyleFixture, SkinSevenKeepsTheCreatedStylesAndIsWrittenBack) {
    create("[form]\r\nskin=7\r\n");
    EXPECT_EQ(form->skinman->UIStyle(), DeepBlue);
    expectComponentsAt(DeepBlue);
    EXPECT_EQ(form->SkinIndex, 7);
    EXPECT_EQ(closeAndReadSkin(), "skin=7");
}

TEST_F(StyleFixture, ShowtitleZeroStartsUnpinned) {
    create("[form]\r\nshowtitle=0\r\n");
    EXPECT_FALSE(form->groupbox1->StayOn());
    EXPECT_EQ(form->web->Left(), 15);
    EXPECT_FALSE(form->spilt->Visible());
}

TEST_F(StyleFixture, AStyleCommandMinimisesRestoresAndNotesTheIndex) {
    TForm1::SetPlatformRestoresMinimised(true);
    create("[form]\r\nskin=0\r\ntop=40\r\nleft=50\r\nwidth=700\r\nheigth=500\r\n");
    form->show();
    const QRect before = form->geometry();
    StateLog log;
    form->installEventFilter(&log);
    form->N22Click(nullptr);
    EXPECT_EQ(log.minimised, (std::vector<bool>{true, false}));
    EXPECT_FALSE(form->isMinimized());
    EXPECT_EQ(form->geometry(), before);
    EXPECT_EQ(form->skinman->UIStyle(), Protein);
    expectComponentsAt(Protein);
    EXPECT_EQ(form->SkinIndex, 4);

    // The style already shown: minimised and restored all the same.
    log.minimised.clear();
    form->N22Click(nullptr);
    EXPECT_EQ(log.minimised, (std::vector<bool>{true, false}));

    // Each command its style and index.
    const std::pair<void (TForm1::*)(TComponent*), TsuiUIStyle> commands[] = {
        {&TForm1::N18Click, MacOS},
        {&TForm1::MacOs1Click, DeepBlue},
        {&TForm1::WinXP1Click, WinXP},
        {&TForm1::N11Click, BlueGlass}};
    int index = 0;
    for (const auto& [command, style] : commands) {
        (form.get()->*command)(nullptr);
        EXPECT_EQ(form->skinman->UIStyle(), style);
        EXPECT_EQ(form->SkinIndex, index++);
    }
    form->removeEventFilter(&log);
    EXPECT_EQ(closeAndReadSkin(), "skin=3");
}

TEST_F(StyleFixture, AWindowManagerIconifyingLateIsUndone) {
    // On X11 the window manager may carry out the minimising only after the restore that
    // followed it; the window must not stay on the task bar.
    TForm1::SetPlatformRestoresMinimised(true);
    create("[form]\r\ntop=40\r\nleft=50\r\nwidth=700\r\nheigth=500\r\n");
    form->show();
    const QRect before = form->geometry();
    form->WinXP1Click(nullptr);
    form->setWindowState(Qt::WindowMinimized); // the late iconify
    EXPECT_TRUE(zeltest::WaitFor([&] { return !form->isMinimized(); }, 5000));
    EXPECT_EQ(form->geometry(), before);
}

TEST_F(StyleFixture, AMaximisedWindowComesBackMaximised) {
    TForm1::SetPlatformRestoresMinimised(true);
    create();
    form->show();
    form->SetWindowState(wsMaximized);
    form->WinXP1Click(nullptr);
    EXPECT_EQ(form->WindowState(), wsMaximized);
}

TEST_F(StyleFixture, WhereMinimisedWindowsCannotBeRestoredPaintingPausesInstead) {
    TForm1::SetPlatformRestoresMinimised(false);
    create("[form]\r\ntop=40\r\nleft=50\r\nwidth=700\r\nheigth=500\r\n");
    form->show();
    const QRect before = form->geometry();
    StateLog log;
    form->installEventFilter(&log);
    form->N11Click(nullptr);
    form->removeEventFilter(&log);
    EXPECT_TRUE(log.minimised.empty()); // never minimised
    EXPECT_FALSE(form->isMinimized());
    EXPECT_TRUE(form->updatesEnabled());
    EXPECT_EQ(form->geometry(), before);
    EXPECT_EQ(form->skinman->UIStyle(), BlueGlass);
    EXPECT_EQ(form->SkinIndex, 3);
}

TEST_F(StyleFixture, ManagerListsTheWindowsSkinnedPartsInOrder) {
    create();
    EXPECT_EQ(form->skinman->Name(), QStringLiteral("skinman"));
    EXPECT_EQ(form->skinman->CompListLines(),
              (QStringList{"suiform", "suiPanel1", "groupbox1", "suiMainMenu1"}));
    for (const QString& name : form->skinman->CompListLines()) {
        QObject* c = form->FindComponent(name)->Object();
        EXPECT_TRUE(HasPublishedProp(c, "UIStyle") && HasPublishedProp(c, "FileTheme")) << name.toStdString();
    }
}

TEST_F(StyleFixture, AThemeFileInTheSettingsStartsTheWindowOnIt) {
    TsuiThemeFileWriter w;
    w.AddInteger("FormBorderColor", 0x1E4A14);
    w.AddInteger("ControlBorderColor", 0x123456);
    w.AddInteger("MenuSelectedBackgroundColor", 0x4A8A3A);
    w.SaveToFile((dir / "mine.sui").string());
    create("[form]\r\nskin=2\r\n[theme]\r\nfile=" + (dir / "mine.sui").string() + "\r\n");
    ASSERT_NE(form->FileTheme1, nullptr);
    EXPECT_TRUE(form->FileTheme1->Loaded());
    EXPECT_EQ(form->skinman->FileTheme(), form->FileTheme1);
    EXPECT_EQ(form->skinman->UIStyle(), FromThemeFile);
    expectComponentsAt(FromThemeFile);
    // The skinned parts read their entries from it.
    EXPECT_EQ(form->suiPanel1->BorderColor(), TColor(0x123456));
    EXPECT_EQ(form->groupbox1->BorderColor(), TColor(0x123456));
    EXPECT_EQ(form->suiform->BorderColor(), TColor(0x1E4A14));
    EXPECT_EQ(form->suiMainMenu1->SelectedColor(), TColor(0x4A8A3A));
    // A style command still switches to a built-in style; the index is kept as before.
    form->N18Click(nullptr);
    EXPECT_EQ(form->skinman->UIStyle(), MacOS);
    EXPECT_EQ(closeAndReadSkin(), "skin=0");
}

TEST_F(StyleFixture, AMissingOrBrokenThemeFileLeavesTheStoredStyle) {
    WriteFile(dir / "broken.sui", std::string("Quorvex_TB\0\0\x19\0\0\0", 16) + std::string(200, '\0'));
    WriteFile(dir / "text.sui", "not a theme");
    for (const char* name : {"nowhere.sui", "broken.sui", "text.sui"}) {
        const std::string path = name == std::string("nowhere.sui") ? name : (dir / name).string();
        create("[form]\r\nskin=2\r\n[theme]\r\nfile=" + path + "\r\n");
        EXPECT_EQ(form->FileTheme1, nullptr) << name;
        EXPECT_EQ(form->FindComponent("suiFileTheme1"), nullptr) << name;
        EXPECT_EQ(form->skinman->UIStyle(), WinXP) << name;
        form.reset();
    }
}

TEST_F(StyleFixture, AThemeFileThatIsAFifoOrADeviceIsNeitherWaitedForNorRead) {
    zeltest::UnansweredFifo fifo((dir / "fifo.sui").string());
    for (const std::string& path : {fifo.Path(), std::string("/dev/zero")}) {
        create("[form]\r\nskin=2\r\n[theme]\r\nfile=" + path + "\r\n");
        EXPECT_EQ(form->FileTheme1, nullptr) << path;
        EXPECT_EQ(form->skinman->UIStyle(), WinXP) << path;
        form.reset();
    }
    EXPECT_FALSE(fifo.HadToRelease()) << "the window waited for a writer";
    // Nor when it is named to the theme itself.
    TsuiFileTheme theme(nullptr);
    for (const std::string& path : {fifo.Path(), std::string("/dev/zero")}) {
        theme.SetThemeFile(QString::fromStdString(path));
        EXPECT_FALSE(theme.Loaded()) << path;
    }
    EXPECT_FALSE(fifo.HadToRelease()) << "the theme waited for a writer";
}

namespace {

// A BMP file of one colour, as a theme file carries its pictures.
std::string bmpFile(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes.toStdString();
}

} // namespace

TEST_F(StyleFixture, AThemeFileWithoutPicturesOrColoursKeepsTheTitleBarAndAVisibleMenuBar) {
    TsuiThemeFileWriter w;
    w.AddText("Name", "nothing but a name");
    w.AddImage("TitleBarRightImage", "BM not a bitmap at all");
    w.SaveToFile((dir / "sparse.sui").string());
    create("[form]\r\nskin=7\r\n");
    TsuiTitleBar* bar = form->suiform->TitleBar();
    const int barHeight = bar->Height();
    const TColor frameColor = form->suiform->Color();
    const int closeWidth = bar->Buttons().Items(1)->PicNormal().Width();
    form.reset();

    create("[form]\r\nskin=7\r\n[theme]\r\nfile=" + (dir / "sparse.sui").string() + "\r\n");
    ASSERT_TRUE(form->FileTheme1 && form->FileTheme1->Loaded());
    bar = form->suiform->TitleBar();
    ASSERT_EQ(form->suiform->UIStyle(), FromThemeFile);
    // The pictures it lacks, or cannot read, stay the window's: the bar, its buttons and its height.
    EXPECT_EQ(bar->Height(), barHeight);
    ASSERT_TRUE(bar->HasAllPictures());
    EXPECT_FALSE(bar->LeftPicture()->Empty());
    EXPECT_FALSE(bar->RightPicture()->Empty());
    EXPECT_EQ(bar->Buttons().Items(1)->PicNormal().Width(), closeWidth);
    // The colours it lacks stay too: the menu bar is not black, and its captions show on it.
    EXPECT_EQ(form->suiform->Color(), frameColor);
    TsuiMenuBar* menuBar = form->suiform->MenuBar();
    ASSERT_TRUE(menuBar);
    EXPECT_EQ(menuBar->Color(), frameColor);
    EXPECT_NE(form->suiMainMenu1->FontColor(), form->suiMainMenu1->Color());
    const QImage look = zeltest::Grab(menuBar);
    const TsuiMenuBarButton& first = menuBar->Button(0);
    const int background = zeltest::PixelBGR(look, first.Bounds.Left, first.Bounds.Top);
    EXPECT_EQ(background, frameColor);
    int captionPixels = 0;
    for (int y = first.Bounds.Top; y < first.Bounds.Bottom; ++y)
        for (int x = first.Bounds.Left; x < first.Bounds.Right; ++x)
            captionPixels += zeltest::PixelBGR(look, x, y) != background;
    EXPECT_GT(captionPixels, 20);
    zeltest::SaveOnFailure(look, "sparse-theme-menu-bar");
}

TEST_F(StyleFixture, AThemeFilesSizesStayWithinTheWorkAreaAndItsBars) {
    TsuiThemeFileWriter w;
    w.AddInteger("FormMinWidthInt", 100000);
    w.AddInteger("FormBorderWidthInt", 500);
    w.AddInteger("FormRoundCornerInt", 100000);
    w.AddInteger("TitleBarButtonRightOffsetInt", -100000);
    w.AddInteger("TitleBarButtonTopInt", 100000);
    // Pictures taller than a bar: they would cover the window and its menus.
    w.AddImage("TitleBarLeftImage", bmpFile(40, 300, qRgb(200, 0, 0)));
    w.AddImage("TitleBarButtonImage", bmpFile(18 * 30, 300, qRgb(0, 200, 0)));
    w.AddImage("SideChannelBarImage", bmpFile(4, 500, qRgb(0, 0, 200)));
    // One that fits is taken.
    w.AddImage("TitleBarClientImage", bmpFile(5, 29, qRgb(1, 2, 3)));
    w.SaveToFile((dir / "huge.sui").string());
    create("[form]\r\nskin=7\r\n");
    const int barHeight = form->suiform->TitleBar()->Height();
    const int channelBar = form->groupbox1->BarHeight();
    form.reset();

    create("[form]\r\nskin=7\r\n[theme]\r\nfile=" + (dir / "huge.sui").string() + "\r\n");
    ASSERT_EQ(form->suiform->UIStyle(), FromThemeFile);
    form->show();
    QCoreApplication::processEvents();
    EXPECT_LE(form->Constraints().MinWidth, platform.Work.Width());
    EXPECT_LE(form->Width(), platform.Work.Width());
    TsuiTitleBar* bar = form->suiform->TitleBar();
    EXPECT_EQ(bar->Height(), barHeight);
    EXPECT_EQ(bar->ClientPicture()->Height(), 29);
    EXPECT_LE(bar->Buttons().Items(1)->PicNormal().Height(), 64);
    EXPECT_EQ(form->groupbox1->BarHeight(), channelBar);
    EXPECT_EQ(form->suiform->BorderWidth(), 3);
    EXPECT_EQ(form->suiform->RoundCorner(), 32);
    EXPECT_EQ(bar->RightBtnXOffset(), -64);
}
