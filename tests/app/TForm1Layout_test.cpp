// The window's body: the side channel pinned and unpinned beside the browser pane, the splitter
// and its limits, the content panel collapsing to its bar, and stored widths held to what the
// window can show.
#include "app/TForm1.h"
#include "framework/TListBox.h"
#include "framework/TScriptedPlatform.h"
#include "framework/TSplitter.h"
#include "skin/TsuiPanel.h"
#include "skin/TsuiSideChannel.h"
#include "tests/support/FileBytes.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TempDir.h"
#include "webview/TWebBrowser.h"

#include <QMouseEvent>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class LayoutTest : public ::testing::Test {
protected:
    TempDir temp;
    fs::path dir = temp.Path();
    TScriptedPlatform platform;
    std::unique_ptr<TForm1> form;

    void SetUp() override { TForm1::SetSettingsDirectory(dir.string()); }
    void TearDown() override {
        form.reset();
        TForm1::SetSettingsDirectory("");
    }
    void writeIni(const std::string& text) { zeltest::WriteFile(dir / "config.ini", text); }
    std::string readIni() const { return zeltest::ReadFile(dir / "config.ini"); }
    void create() { form = std::make_unique<TForm1>(nullptr); }
    // The window as created: its created geometry, and skin 7, which applies no style, so the
    // components keep the DeepBlue they are created with (a first run would show MacOS).
    void createAsCreated() {
        writeIni("[form]\r\nskin=7\r\ntop=158\r\nleft=237\r\nwidth=703\r\nheigth=543\r\n");
        create();
    }

    // Drags the splitter by dx with the left button, as the user does.
    void dragSplitter(int dx) {
        TSplitter* s = form->spilt;
        auto send = [&](QEvent::Type type, QPointF p, Qt::MouseButton button, Qt::MouseButtons buttons) {
            QMouseEvent e(type, p, s->mapToGlobal(p), button, buttons, Qt::NoModifier);
            QApplication::sendEvent(s, &e);
        };
        send(QEvent::MouseButtonPress, QPointF(1, 50), Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, QPointF(1 + dx, 50), Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, QPointF(1 + dx, 50), Qt::LeftButton, Qt::NoButton);
    }
};

TEST_F(LayoutTest, PinnedTheChannelIsOpenAndThePaneSitsBesideIt) {
    createAsCreated();
    TsuiSideChannel* channel = form->groupbox1;
    EXPECT_TRUE(channel->StayOn());
    EXPECT_TRUE(channel->Popped());
    EXPECT_TRUE(channel->QuickMove());
    // The first layout makes the panel 703 x 479; the channel fills its height inside the bar.
    EXPECT_EQ(channel->BoundsRect(), Bounds(4, 24, 277, 479 - 28));
    EXPECT_EQ(form->web->Left(), 282);
    EXPECT_EQ(form->web->Width(), 703 - 282);
    EXPECT_TRUE(form->spilt->Visible());
    EXPECT_EQ(form->spilt->Left(), 281);
    // DeepBlue as created, with the window's stored colours.
    EXPECT_EQ(channel->UIStyle(), DeepBlue);
    EXPECT_EQ(channel->SideBarColor(), 15263976);
    EXPECT_EQ(channel->CaptionFontColor(), clWhite);
    EXPECT_EQ(form->suiPanel1->UIStyle(), DeepBlue);
    EXPECT_EQ(form->suiPanel1->Caption(), "新闻内容");
}

TEST_F(LayoutTest, UnpinnedAtStartTheBarStaysVisibleAndTheSplitterHides) {
    writeIni("[form]\r\nshowtitle=0\r\n");
    create();
    TsuiSideChannel* channel = form->groupbox1;
    EXPECT_FALSE(channel->StayOn());
    EXPECT_FALSE(channel->Popped());
    EXPECT_EQ(channel->TControl::Width(), 10);
    EXPECT_EQ(channel->Width(), 277);
    EXPECT_EQ(form->web->Left(), 15);
    EXPECT_EQ(form->web->Width(), form->suiPanel1->Width() - 15);
    EXPECT_FALSE(form->spilt->Visible());

    // Pinned by the user from the popped-out channel: the pane moves back beside it.
    channel->SetStayOn(true);
    EXPECT_EQ(form->web->Left(), 282);
    EXPECT_TRUE(form->spilt->Visible());
    form->Close();
    EXPECT_NE(readIni().find("showtitle=1"), std::string::npos);
}

TEST_F(LayoutTest, TheSplitterSetsTheChannelAndListWidthsWithinItsLimits) {
    create();
    form->Show();
    dragSplitter(100);
    EXPECT_EQ(form->groupbox1->Width(), 377);
    EXPECT_EQ(form->lb->Width(), 377 - 16 - 5);
    EXPECT_EQ(form->web->Left(), 382);

    // Down to the 30-pixel minimum: the splitter asks for 0, the open channel refuses.
    dragSplitter(-360);
    EXPECT_EQ(form->groupbox1->Width(), 377);
    EXPECT_EQ(form->groupbox1->TControl::Width(), 377);

    // Far to the right: the panel's client width less 30, less the splitter.
    dragSplitter(1000);
    EXPECT_EQ(form->groupbox1->Width(), 703 - 30 - 3);
    EXPECT_EQ(form->lb->Width(), 703 - 30 - 3 - 21);
}

TEST_F(LayoutTest, StoredWidthsOutsideTheLimitsAreHeldToThemAndTheFileKeepsThemUntilClose) {
    const std::string ini = "[form]\r\nwidth=703\r\nheigth=543\r\ngroupwid=-40\r\nlbwid=0\r\n";
    writeIni(ini);
    create();
    EXPECT_EQ(form->groupbox1->Width(), 50);
    EXPECT_EQ(form->groupbox1->TControl::Width(), 50);
    EXPECT_EQ(form->lb->Width(), 50 - 16 - 5);
    EXPECT_EQ(form->web->Left(), 55);
    EXPECT_EQ(readIni(), ini);
    form.reset();

    writeIni("[form]\r\nwidth=703\r\nheigth=543\r\ngroupwid=100000\r\nlbwid=99999\r\nshowtitle=0\r\n");
    create();
    EXPECT_EQ(form->groupbox1->Width(), 703 - 30 - 3);
    EXPECT_EQ(form->lb->Width(), 703 - 30 - 3 - 16 - 3);
    EXPECT_EQ(form->web->Left(), 15);
    EXPECT_GT(form->web->Width(), 0);
    // Pinned again later: the pane is placed from the held width, inside the panel.
    form->groupbox1->SetStayOn(true);
    EXPECT_EQ(form->web->Left(), 703 - 30 - 3 + 5);
    EXPECT_GT(form->web->Width(), 0);

    // A width that fits is taken as written.
    form.reset();
    writeIni("[form]\r\ngroupwid=320\r\nlbwid=200\r\n");
    create();
    EXPECT_EQ(form->groupbox1->Width(), 320);
    EXPECT_EQ(form->lb->Width(), 200);
}

TEST_F(LayoutTest, TheContentPanelCollapsesToItsBarAndKeepsItsHeightForTheWindow) {
    createAsCreated();
    TsuiPanel* panel = form->suiPanel1;
    ASSERT_EQ(panel->Height(), 543 - 64); // the first layout fills the window below the menu
    panel->Push();
    EXPECT_EQ(panel->TControl::Height(), 20);
    EXPECT_EQ(panel->Height(), 543 - 64);
    // The window grows while the panel is collapsed: the panes take the remembered height.
    form->SetClientHeight(643);
    EXPECT_EQ(panel->TControl::Height(), 20);
    EXPECT_EQ(panel->Height(), 643 - 64);
    EXPECT_EQ(form->web->Height(), 643 - 64 - 24);
    panel->Pop();
    EXPECT_EQ(panel->TControl::Height(), 643 - 64);
    EXPECT_EQ(form->groupbox1->TControl::Height(), 643 - 64 - 28);
}

} // namespace
