// The reader's window wears its skin: the frame, its title bar and menu bar, the menu's keys
// wherever the focus is (the browser pane included), and the settings written at close.
#include "skin/TsuiMenuBar.h"
#include "skin/TsuiTitleBar.h"
#include "tests/app/ReaderWindowFixture.h"
#include "webview/TWebBrowser.h"

#include <QMenuBar>

namespace zeltest {
namespace {

class FrameWindowTest : public ReaderWindowTest {
protected:
    void show() {
        form->Show();
        QApplication::setActiveWindow(form.get());
        QCoreApplication::processEvents();
    }
    void ctrlS(QWidget* to) {
        QKeyEvent e(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier, QStringLiteral("\x13"));
        QApplication::sendEvent(to, &e);
    }
};

TEST_F(FrameWindowTest, TheWindowIsTheSkinnedFrameWithItsMenuBar) {
    // Skin index 7 keeps the created DeepBlue look (a first run shows MacOS).
    WriteFile(dir / "config.ini", "[form]\r\nskin=7\r\ntop=158\r\nleft=237\r\nwidth=703\r\nheigth=543\r\n");
    create();
    ASSERT_TRUE(form->suiform->Hosting());
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form->findChildren<QMenuBar*>().isEmpty());
    EXPECT_EQ(form->suiform->Menu(), form->suiMainMenu1);
    EXPECT_EQ(form->suiform->TitleBar()->Caption(), QStringLiteral("Zelmora新闻浏览器"));
    EXPECT_EQ(form->suiform->UIStyle(), DeepBlue);
    EXPECT_EQ(form->suiform->Color(), 15263976);
    EXPECT_EQ(form->suiform->MenuBarColor(), 15263976);
    EXPECT_EQ(form->suiform->RoundCorner(), 0);
    TsuiMenuBar* bar = form->suiform->MenuBar();
    ASSERT_TRUE(bar);
    const char* captions[] = {"文件", "获取新闻", "选项", "特别服务", "检查新版本", "帮助"};
    ASSERT_EQ(bar->ButtonCount(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(bar->Button(i).Caption, QString::fromUtf8(captions[i])) << i;
    // Client 703 x 543 inside the 3-pixel band; the frame fills it.
    EXPECT_EQ(form->ClientWidth(), 703);
    EXPECT_EQ(form->Width(), 709);
    EXPECT_EQ(form->suiform->BoundsRect(), Bounds(3, 3, 703, 543));
    EXPECT_EQ(form->suiPanel1->Width(), 703);
    // Title bar, menu bar, then the content panel, stacked from the frame's top.
    EXPECT_EQ(bar->Top(), form->suiform->TitleBar()->Height());
    EXPECT_LE(bar->Top() + bar->Height(), form->suiPanel1->Top());
}

TEST_F(FrameWindowTest, StoredGeometryIsTheWindowsAndRoundTrips) {
    WriteFile(dir / "config.ini", "[form]\r\ntop=40\r\nleft=60\r\nwidth=640\r\nheigth=480\r\n");
    create();
    EXPECT_EQ(form->Left(), 60);
    EXPECT_EQ(form->Top(), 40);
    EXPECT_EQ(form->ClientWidth(), 640);
    EXPECT_EQ(form->ClientHeight(), 480);
    form->Close();
    const std::string ini = ReadFile(dir / "config.ini");
    for (const char* line : {"width=640\r\n", "heigth=480\r\n", "top=40\r\n", "left=60\r\n"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << ini;
}

TEST_F(FrameWindowTest, ClosingMaximisedLeavesTheFileUntouched) {
    const std::string before = "[form]\r\nwidth=640\r\nskin=2\r\nshowtitle=1\r\n";
    WriteFile(dir / "config.ini", before);
    create();
    show();
    form->SetWindowState(wsMaximized);
    QCoreApplication::processEvents();
    // The maximised skinned window covers the work area less its bottom row: its client, inside
    // the band, is narrower than the screen, and still nothing is written.
    ASSERT_EQ(form->BoundsRect(), Rect(0, 0, 1280, 999));
    ASSERT_LT(form->ClientWidth(), platform.Screen.Width());
    form->SkinIndex = 4;
    form->Close();
    EXPECT_EQ(ReadFile(dir / "config.ini"), before);
}

TEST_F(FrameWindowTest, ShortcutKeysReachTheMenuFromTheListAndTheBrowserPane) {
    create();
    form->N16->SetShortCut(QKeySequence(Qt::CTRL | Qt::Key_S));
    show();
    form->lb->setFocus();
    ctrlS(form->lb);
    EXPECT_EQ(platform.Boxes.size(), 1u); // N16 shows its note on the proxy

    bool loaded = false;
    form->web->OnDocumentComplete = [&](TWebBrowser*, bool) { loaded = true; };
    WriteFile(dir / "page.htm", "<html><body><input id=q autofocus></body></html>");
    form->web->Navigate(QString::fromStdString((dir / "page.htm").string()));
    ASSERT_TRUE(WaitFor([&] { return loaded; }, 60000));
    QWidget* pane = form->web->View()->focusProxy() ? form->web->View()->focusProxy() : form->web->View();
    pane->setFocus();
    ctrlS(pane);
    EXPECT_EQ(platform.Boxes.size(), 2u);

    // Not while another window is active.
    TForm other(nullptr);
    other.Show();
    QApplication::setActiveWindow(&other);
    ctrlS(form->lb);
    EXPECT_EQ(platform.Boxes.size(), 2u);
}

} // namespace
} // namespace zeltest
