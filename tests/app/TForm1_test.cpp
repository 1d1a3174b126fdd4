// The main window: settings read at creation and written at close, the layout rules, the
// composition and the menu tree.
#include "app/TForm1.h"
#include "framework/TListBox.h"
#include "framework/TMenu.h"
#include "framework/TPanel.h"
#include "framework/TScriptedPlatform.h"
#include "framework/TSplitter.h"
#include "framework/core/TIniFile.h"
#include "http/TIdHTTP.h"
#include "skin/TsuiPanel.h"
#include "skin/TsuiSideChannel.h"
#include "tests/support/FileBytes.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TempDir.h"
#include "tests/support/WithoutFileOverride.h"
#include "webview/TWebBrowser.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

using zeltest::ReadFile;
using zeltest::WriteFile;

namespace {

struct FormFixture : ::testing::Test {
    TempDir temp;
    fs::path dir = temp.Path();
    fs::path ini = dir / "config.ini";
    TScriptedPlatform platform;
    std::unique_ptr<TForm1> form;

    void SetUp() override {
        TForm1::SetSettingsDirectory(dir.string());
        platform.Screen = Rect(0, 0, 1280, 1024);
    }
    void TearDown() override {
        form.reset();
        TForm1::SetSettingsDirectory("");
        if (fs::exists(ini))
            fs::permissions(ini, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
    }
    void create() { form = std::make_unique<TForm1>(nullptr); }
    int stored(const char* key) const { return TIniFile(ini.string()).ReadInteger("form", key, -1); }
};

TEST_F(FormFixture, WithoutSettingsTheCreatedGeometryStays) {
    create();
    EXPECT_EQ(form->Left(), 237);
    EXPECT_EQ(form->Top(), 158);
    EXPECT_EQ(form->ClientWidth(), 703);
    EXPECT_EQ(form->ClientHeight(), 543);
    EXPECT_EQ(form->SkinIndex, 0);
    EXPECT_EQ(form->Pinned, 1);
    EXPECT_EQ(form->Caption(), "Zelmora新闻浏览器");
    EXPECT_TRUE(form->http->ProxyParams().ProxyServer().empty());
    EXPECT_FALSE(fs::exists(ini)); // reading creates nothing
}

TEST_F(FormFixture, SettingsAreReadIntoWindowListAndProxy) {
    WriteFile(ini, "[proxy]\r\nip=10.1.2.3\r\nport=8080\r\nname=user\r\npassword=secret\r\n"
                   "[form]\r\ntop=40\r\nleft=50\r\nwidth=800\r\nheigth=600\r\nskin=3\r\n"
                   "groupwid=300\r\nlbwid=280\r\nshowtitle=1\r\n");
    create();
    EXPECT_EQ(form->Top(), 40);
    EXPECT_EQ(form->Left(), 50);
    EXPECT_EQ(form->ClientWidth(), 800);
    EXPECT_EQ(form->ClientHeight(), 600);
    EXPECT_EQ(form->SkinIndex, 3);
    EXPECT_EQ(form->groupbox1->Width(), 300);
    EXPECT_EQ(form->lb->Width(), 280);
    EXPECT_EQ(form->Pinned, 1);
    EXPECT_EQ(form->http->ProxyParams().ProxyServer(), "10.1.2.3");
    EXPECT_EQ(form->http->ProxyParams().ProxyPort(), 8080);
    EXPECT_EQ(form->http->ProxyParams().ProxyUsername(), "user");
    EXPECT_EQ(form->http->ProxyParams().ProxyPassword(), "secret");
    // Pinned: the pane sits right of the side channel and the splitter shows.
    EXPECT_EQ(form->web->Left(), 305);
    EXPECT_TRUE(form->spilt->Visible());
}

TEST_F(FormFixture, HexadecimalNumbersAndDefaultsForAnythingElse) {
    WriteFile(ini,
              "[FORM]\nWidth=0x28C\nheigth=0X200\nskin=abc\ngroupwid=\nlbwid=12abc\ntop= 7\nshowtitle=0\n");
    create();
    EXPECT_EQ(form->ClientWidth(), 652);
    EXPECT_EQ(form->ClientHeight(), 512);
    EXPECT_EQ(form->SkinIndex, 0);
    EXPECT_EQ(form->groupbox1->Width(), 277);
    EXPECT_EQ(form->lb->Width(), 257);
    EXPECT_EQ(form->Left(), 183); // missing: the table's default, not the created value
    EXPECT_EQ(form->Pinned, 0);
    // Unpinned: the pane moves to 15 and the splitter hides.
    EXPECT_EQ(form->web->Left(), 15);
    EXPECT_EQ(form->web->Width(), form->suiPanel1->Width() - 15);
    EXPECT_FALSE(form->spilt->Visible());
}

TEST_F(FormFixture, AFileWithoutTheKeysGivesEveryDefault) {
    // Text that is not a number counts as missing.
    WriteFile(ini, "[form]\r\nwidth=wide\r\n");
    create();
    EXPECT_EQ(form->Top(), 48);
    EXPECT_EQ(form->Left(), 183);
    EXPECT_EQ(form->ClientWidth(), 652);
    EXPECT_EQ(form->ClientHeight(), 565);
    EXPECT_EQ(form->SkinIndex, 0);
    EXPECT_EQ(form->groupbox1->Width(), 277);
    EXPECT_EQ(form->lb->Width(), 257);
    EXPECT_EQ(form->Pinned, 1);
    EXPECT_EQ(form->http->ProxyParams().ProxyServer(), "");
    EXPECT_EQ(form->http->ProxyParams().ProxyPort(), 0);
    EXPECT_EQ(form->http->ProxyParams().ProxyUsername(), "");
    EXPECT_EQ(form->http->ProxyParams().ProxyPassword(), "");
}

TEST_F(FormFixture, CloseWritesTheFormKeysAndKeepsTheRest) {
    WriteFile(ini,
              "; hand-made\r\n[proxy]\r\nip=proxy.lan\r\nport=3128\r\n[form]\r\nskin=7\r\n[mine]\r\nx=1\r\n");
    create();
    form->SetBounds(20, 30, form->Width(), form->Height());
    form->SetClientWidth(640);
    form->SetClientHeight(480);
    form->Close();
    EXPECT_TRUE(platform.Boxes.empty());
    const std::string text = ReadFile(ini);
    EXPECT_EQ(text,
              "; hand-made\r\n[proxy]\r\nip=proxy.lan\r\nport=3128\r\n[form]\r\nskin=7\r\n"
              "width=640\r\nheigth=480\r\ntop=30\r\nleft=20\r\ngroupwid=277\r\nlbwid=257\r\nshowtitle=1\r\n"
              "[mine]\r\nx=1\r\n");
}

TEST_F(FormFixture, AFreshFileGetsTheKeysInTheirOrder) {
    create();
    form->SkinIndex = 4;
    form->groupbox1->SetStayOn(false);
    form->Close();
    EXPECT_EQ(ReadFile(ini), "[form]\r\nwidth=703\r\nheigth=543\r\ntop=158\r\nleft=237\r\nskin=4\r\n"
                             "groupwid=277\r\nlbwid=257\r\nshowtitle=0\r\n");
}

TEST_F(FormFixture, ClosingAsWideAsTheScreenLeavesTheFileUntouched) {
    const std::string before = "[form]\r\nwidth=700\r\nskin=2\r\nshowtitle=1\r\n";
    WriteFile(ini, before);
    create();
    platform.Screen = Rect(0, 0, 700, 600);
    form->SkinIndex = 4;
    form->groupbox1->SetStayOn(false);
    form->Close();
    EXPECT_EQ(ReadFile(ini), before);
}

TEST_F(FormFixture, UnwritableFileShowsTheErrorAndStillCloses) {
    const std::string before = "[form]\r\nwidth=700\r\n";
    WriteFile(ini, before);
    fs::permissions(ini, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    create();
    form->Show();
    ASSERT_TRUE(form->Visible());
    form->Close();
    ASSERT_EQ(platform.Boxes.size(), 1u);
    EXPECT_EQ(platform.Boxes[0].Text.toStdString(), "Unable to write to " + ini.string() + ".");
    EXPECT_EQ(platform.Boxes[0].Flags, MB_OK | MB_ICONSTOP);
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(ReadFile(ini), before);
}

TEST_F(FormFixture, MissingDirectoryShowsTheErrorAndStillCloses) {
    TForm1::SetSettingsDirectory((dir / "gone").string());
    create();
    form->Show();
    form->Close();
    ASSERT_EQ(platform.Boxes.size(), 1u);
    EXPECT_TRUE(platform.Boxes[0].Text.startsWith("Unable to write to "));
    EXPECT_TRUE(platform.Boxes[0].Text.endsWith("gone/config.ini."));
    EXPECT_FALSE(form->Visible());
}

TEST_F(FormFixture, ResizeLaysThePanesOutByTheSixRules) {
    create();
    form->SetClientWidth(800);
    form->SetClientHeight(600);
    TPanel* panel = form->suiPanel1;
    EXPECT_EQ(panel->Left(), 0);
    EXPECT_EQ(panel->Width(), 800);
    EXPECT_EQ(panel->Height(), 600 - 64);
    EXPECT_EQ(form->web->Width(), 800 - form->web->Left());
    EXPECT_EQ(form->web->Height(), panel->Height() - form->web->Top());
    // The docked side channel takes the panel's aligned height (its rule asks for the panel
    // height less its top; the docking keeps it inside the panel's border).
    EXPECT_LE(form->groupbox1->Height(), panel->Height() - form->groupbox1->Top());
    EXPECT_EQ(form->lb->Height(), form->groupbox1->Height() - form->lb->Top() - 2);
    // Smaller again: everything follows.
    form->SetClientWidth(500);
    form->SetClientHeight(300);
    EXPECT_EQ(panel->Width(), 500);
    EXPECT_EQ(form->web->Width(), 500 - form->web->Left());
    EXPECT_EQ(form->lb->Height(), form->groupbox1->Height() - form->lb->Top() - 2);
}

TEST_F(FormFixture, CompositionPlacesTheComponents) {
    create();
    EXPECT_EQ(form->suiPanel1->Top(), 64);
    // A first run shows MacOS, whose caption bar is a pixel taller than DeepBlue's.
    EXPECT_EQ(form->groupbox1->BoundsRect(), Bounds(4, 25, 277, form->groupbox1->Height()));
    EXPECT_EQ(form->spilt->Left(), 281);
    EXPECT_EQ(form->spilt->Width(), 3);
    EXPECT_EQ(form->web->Left(), 282); // pinned: side channel width + 5
    EXPECT_EQ(form->lb->Left(), 16);
    EXPECT_EQ(form->lb->Top(), 24);
    EXPECT_EQ(form->lb->ItemHeight(), 14);
    EXPECT_EQ(form->lb->Color(), 14609912);
    EXPECT_TRUE(form->lb->ShowHint());
    EXPECT_FALSE(form->lb->Ctl3D());
    EXPECT_EQ(form->lb->Font().Name(), "宋体");
    EXPECT_EQ(form->lb->Font().Height(), 14);
    EXPECT_EQ(form->groupbox1->Caption(), "新闻标题");
    EXPECT_EQ(form->suiPanel1->Caption(), "新闻内容");
    EXPECT_EQ(form->Constraints().MinWidth, 130);
    EXPECT_EQ(form->Constraints().MinHeight, 50);
    for (const char* name :
         {"suiform", "suiPanel1", "spilt", "web", "groupbox1", "lb", "suiMainMenu1", "opendg", "savedg"})
        EXPECT_NE(form->FindComponent(name), nullptr) << name;
}

TEST_F(FormFixture, SplitterMoveKeepsTheListInsideTheSideChannel) {
    create();
    form->groupbox1->SetWidth(300);
    form->spiltMoved(form->spilt);
    EXPECT_EQ(form->lb->Width(), 300 - 16 - 5);
}

TEST_F(FormFixture, MenuTreeCarriesEveryItemByName) {
    create();
    TMenuItem* root = form->suiMainMenu1->Items();
    std::vector<std::string> top;
    for (int i = 0; i < root->Count(); ++i)
        top.push_back(root->Items(i)->Name().toStdString() + ":" + root->Items(i)->Caption().toStdString());
    EXPECT_EQ(top, (std::vector<std::string>{"N1:文件", "N5:获取新闻", "N2:选项", "Google1:特别服务",
                                             "N3:检查新版本", "N4:帮助"}));
    auto children = [](TMenuItem* item) {
        std::string names;
        for (int i = 0; i < item->Count(); ++i)
            names += item->Items(i)->Name().toStdString() + " ";
        return names;
    };
    EXPECT_EQ(children(form->N1), "N12 N13 N14 N15 ");
    EXPECT_EQ(children(form->N5), "N26 N31 N10 IT1 N8 N6 N7 N9 N29 N20 EnglishNews1 ");
    EXPECT_EQ(children(form->N26), "N27 N28 ");
    EXPECT_EQ(children(form->N2), "N16 N17 ");
    EXPECT_EQ(children(form->N17), "N18 MacOs1 WinXP1 N11 N22 ");
    EXPECT_EQ(children(form->Google1), "N25 IP1 N33 N32 ");
    EXPECT_EQ(children(form->N3), "N24 ");
    EXPECT_EQ(children(form->N4), "N19 N21 ");
    EXPECT_EQ(form->FindComponent("n27"), form->N27);
    EXPECT_EQ(form->N27->Caption(), "国际时事");
    EXPECT_EQ(form->N21->Caption(), "关于...");
    EXPECT_EQ(form->MacOs1->Caption(), "DeepBlue");
    // Commands hang on the items' OnClick; exit closes the window (and writes the settings).
    form->Show();
    form->N15->Click();
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(fs::exists(ini));
}

} // namespace

TEST_F(FormFixture, AStoredWindowIsPlacedOnTheScreensBeforeItShowsAndSavedWhereItStands) {
    platform.Work = Rect(0, 0, 1200, 950); // a panel at the right and one at the bottom
    // Larger than the work area: fitted to it, starting at its corner.
    WriteFile(ini, "[form]\r\ntop=10\r\nleft=20\r\nwidth=100000\r\nheigth=100000\r\n");
    create();
    EXPECT_EQ(form->BoundsRect(), Rect(0, 0, 1200, 950));
    const int fittedHeight = form->ClientHeight();
    form->Close();
    EXPECT_EQ(stored("width"), 1194);
    EXPECT_EQ(stored("heigth"), fittedHeight);
    EXPECT_EQ(stored("left"), 0);
    EXPECT_EQ(stored("top"), 0);

    // Far off every screen: brought onto the work area before it is shown, and saved there.
    WriteFile(ini, "[form]\r\ntop=5000\r\nleft=5000\r\nwidth=600\r\nheigth=400\r\n");
    create();
    const TRect placed = form->BoundsRect();
    EXPECT_EQ(placed.Right, 1200);
    EXPECT_EQ(placed.Bottom, 950);
    EXPECT_EQ(form->ClientWidth(), 600);
    form->Close();
    EXPECT_EQ(stored("top"), placed.Top);
    EXPECT_EQ(stored("left"), placed.Left);

    // No size at all: the default size, which is what the file then keeps.
    WriteFile(ini, "[form]\r\ntop=10\r\nleft=20\r\nwidth=0\r\nheigth=-5\r\n");
    create();
    EXPECT_EQ(form->ClientWidth(), 652);
    EXPECT_EQ(form->ClientHeight(), 565);
    form->Close();
    EXPECT_EQ(stored("width"), 652);
    EXPECT_EQ(stored("heigth"), 565);
    EXPECT_EQ(stored("left"), 20);

    // On a larger second screen a large window keeps its size.
    platform.OtherWork = {Rect(1280, 0, 3200, 1200)};
    WriteFile(ini, "[form]\r\ntop=10\r\nleft=1400\r\nwidth=1800\r\nheigth=1100\r\n");
    create();
    EXPECT_EQ(form->Left(), 1400);
    EXPECT_EQ(form->ClientWidth(), 1800);
    EXPECT_EQ(form->ClientHeight(), 1100);
}

TEST_F(FormFixture, AFileThatCouldNotBeReadIsNotRewrittenAndClosingSaysSo) {
    const std::string held = "[hosts]\r\nfeed=news.lan\r\n[proxy]\r\nip=proxy.lan\r\npassword=secret\r\n";
    WriteFile(ini, held);
    fs::permissions(ini, fs::perms::owner_write);
    {
        WithoutFileOverride bitsHold; // root too
        create();
        form->Show();
        form->Close();
    }
    ASSERT_EQ(platform.Boxes.size(), 1u);
    EXPECT_EQ(platform.Boxes[0].Text.toStdString(), "Unable to write to " + ini.string() + ".");
    EXPECT_FALSE(form->Visible());
    fs::permissions(ini, fs::perms::owner_read, fs::perm_options::add);
    EXPECT_EQ(ReadFile(ini), held);
}

TEST_F(FormFixture, WithoutAWritableFileBesideTheProgramTheUsersConfigurationFolderIsUsed) {
    // The portable place: a config.ini there that can be written.
    const fs::path program = dir / "bin";
    const fs::path home = dir / "config";
    fs::create_directories(program);
    EXPECT_EQ(ChooseSettingsDirectory(program.string(), home.string()), (home / "zelmora").string());
    WriteFile(program / "config.ini", "");
    EXPECT_EQ(ChooseSettingsDirectory(program.string(), home.string()), program.string());
    fs::permissions(program / "config.ini", fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(ChooseSettingsDirectory(program.string(), home.string()), (home / "zelmora").string());

    // The window itself: the test program has no config.ini beside it, so it uses
    // $XDG_CONFIG_HOME/zelmora, made (for the user alone) when the window first closes.
    ASSERT_FALSE(fs::exists(fs::path(QCoreApplication::applicationDirPath().toStdString()) / "config.ini"));
    const QByteArray oldHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home.string()));
    TForm1::SetSettingsDirectory("");
    create();
    EXPECT_EQ(form->SettingsFileName(), (home / "zelmora" / "config.ini").string());
    EXPECT_FALSE(fs::exists(home));
    form->Close();
    qputenv("XDG_CONFIG_HOME", oldHome);
    EXPECT_TRUE(platform.Boxes.empty());
    EXPECT_NE(ReadFile(home / "zelmora" / "config.ini").find("[form]\r\nwidth=703"), std::string::npos);
    EXPECT_EQ(fs::status(home / "zelmora").permissions() & fs::perms::all, fs::perms::owner_all);
}
