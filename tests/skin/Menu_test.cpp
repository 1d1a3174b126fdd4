// The skinned main and popup menus as components: their values per style, the fixed heights of
// MacOS, the owner drawing that reaches every item, and the calls to the hosting frame.
#include "framework/TBitmap.h"
#include "framework/TForm.h"
#include "framework/TImageList.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiMainMenu.h"
#include "skin/TsuiMenuHost.h"
#include "skin/TsuiPopupMenu.h"
#include "tests/support/GuiTest.h"

#include <string>
#include <vector>

namespace fakes {

// Stands in for the skinned frame: a control named TsuiForm that hosts a menu and records the
// calls the menu makes.
class TsuiForm : public TControl, public TsuiMenuHost {
    Q_OBJECT
public:
    explicit TsuiForm(TComponent* owner) : TControl(owner) {}
    void SetMenu(TMainMenu* menu) override {
        log.push_back("SetMenu");
        if (auto* skinned = dynamic_cast<TsuiMainMenu*>(menu))
            skinned->SetMenuHost(this);
        menu_ = menu;
    }
    void RebuildMenuBar() override { log.push_back("RebuildMenuBar"); }
    void UpdateMenuBarButtons() override {
        log.push_back("UpdateMenuBarButtons");
        if (Owner() && Owner()->Destroying())
            ++callsDuringTearDown;
    }
    static inline int callsDuringTearDown = 0;
    void UpdateMenuBarFont() override { log.push_back("UpdateMenuBarFont"); }
    std::vector<std::string> log;
    TMainMenu* menu_ = nullptr;
};

} // namespace fakes

namespace {

struct MenuRow {
    TsuiUIStyle style;
    int itemHeight, separatorHeight;
    TColor separator, bar, background, font, selectedBorder, selected, selectedFont;
};

const MenuRow kRows[] = {
    {MacOS, 20, 12, 0x000000, 0x000000, 0x000000, 0x000000, 0xC47339, 0xC47339, 0xFFFFFF},
    {WinXP, 21, 5, 0x848284, 0xCED3D6, 0xFFFFFF, 0x000000, 0xC66931, 0xEFD3C6, 0x000000},
    {DeepBlue, 21, 5, 0x848284, 0xCED3D6, 0xFFFFFF, 0x000000, 0xA04A44, 0xA04A44, 0xFFFFFF},
    {Protein, 21, 5, 0x848284, 0xCED3D6, 0xFFFFFF, 0x000000, 0xC4302D, 0xC4302D, 0xFFFFFF},
    {BlueGlass, 21, 5, 0x848284, 0xCED3D6, 0xE7E7E7, 0x000000, 0xEC5E5E, 0xEC5E5E, 0xFFFFFF},
};

template <typename Menu> void expectStyleValues(Menu& menu, const MenuRow& row) {
    EXPECT_EQ(menu.UIStyle(), row.style);
    EXPECT_EQ(menu.BarWidth(), 26);
    EXPECT_EQ(menu.MenuItemHeight(), row.itemHeight);
    EXPECT_EQ(menu.SeparatorHeight(), row.separatorHeight);
    EXPECT_EQ(menu.SeparatorColor(), row.separator);
    EXPECT_EQ(menu.BarColor(), row.bar);
    EXPECT_EQ(menu.Color(), row.background);
    EXPECT_EQ(menu.FontColor(), row.font);
    EXPECT_EQ(menu.SelectedBorderColor(), row.selectedBorder);
    EXPECT_EQ(menu.SelectedColor(), row.selected);
    EXPECT_EQ(menu.SelectedFontColor(), row.selectedFont);
}

} // namespace

TEST(SkinnedMenu, ConstructorValuesThenTheStyleOfTheOwnersFrame) {
    TForm form(nullptr);
    auto* frame = new fakes::TsuiForm(&form);
    frame->SetParent(&form);
    TsuiMainMenu menu(&form);
    // A frame without a UIStyle property: the fallback style.
    expectStyleValues(menu, kRows[2]);
    EXPECT_TRUE(menu.OwnerDraw());
    menu.SetOwnerDraw(false);
    EXPECT_TRUE(menu.OwnerDraw());
    EXPECT_EQ(menu.BorderColor(), clBlack);
    EXPECT_FALSE(menu.FlatMenu());
    EXPECT_EQ(menu.FontName(), "MS Sans Serif");
    EXPECT_EQ(menu.FontSize(), 8);
    EXPECT_EQ(menu.FontCharset(), 1);
    EXPECT_TRUE(menu.UseSystemFont());
    EXPECT_EQ(menu.Images(), nullptr);
    ASSERT_NE(menu.CheckMarks(), nullptr);
    EXPECT_EQ(menu.CheckMarks()->Count(), 1);

    for (const MenuRow& row : kRows) {
        SCOPED_TRACE(StyleName(row.style));
        menu.SetUIStyle(row.style);
        expectStyleValues(menu, row);
        TsuiPopupMenu popup(&form);
        popup.SetUIStyle(row.style);
        expectStyleValues(popup, row);
    }
}

TEST(SkinnedMenu, MacOSKeepsItsHeightsAndTheNextStyleSetsItsOwn) {
    TsuiPopupMenu menu(nullptr);
    menu.SetUIStyle(MacOS);
    menu.SetMenuItemHeight(25);
    menu.SetSeparatorHeight(3);
    EXPECT_EQ(menu.MenuItemHeight(), 20);
    EXPECT_EQ(menu.SeparatorHeight(), 12);
    menu.SetUIStyle(WinXP);
    EXPECT_EQ(menu.MenuItemHeight(), 21);
    menu.SetMenuItemHeight(25);
    EXPECT_EQ(menu.MenuItemHeight(), 25);
    // Other values set after a style stay until the next style.
    menu.SetSelectedColor(clRed);
    EXPECT_EQ(menu.SelectedColor(), clRed);
    menu.SetUIStyle(WinXP);
    EXPECT_EQ(menu.SelectedColor(), 0xEFD3C6);
}

TEST(SkinnedMenu, PublishesItsSkinByName) {
    TsuiMainMenu menu(nullptr);
    EXPECT_TRUE(IsPublishedProp(&menu, "UIStyle"));
    EXPECT_TRUE(IsPublishedProp(&menu, "FileTheme"));
    EXPECT_TRUE(menu.setProperty("UIStyle", QVariant::fromValue(TsuiStyles::Protein)));
    EXPECT_EQ(menu.UIStyle(), Protein);
    EXPECT_TRUE(menu.setProperty("MenuItemHeight", 30));
    EXPECT_EQ(menu.MenuItemHeight(), 30);
    TsuiPopupMenu popup(nullptr);
    EXPECT_TRUE(IsPublishedProp(&popup, "UIStyle"));
    EXPECT_TRUE(IsPublishedProp(&popup, "FileTheme"));
    EXPECT_TRUE(IsPublishedProp(&popup, "SeparatorColor"));
}

TEST(SkinnedMenu, HandsItselfToTheFrameAndKeepsItInformed) {
    TForm form(nullptr);
    auto* frame = new fakes::TsuiForm(&form);
    frame->SetParent(&form);
    auto* menu = new TsuiMainMenu(&form);
    EXPECT_EQ(form.Menu(), nullptr);
    EXPECT_EQ(frame->menu_, menu);
    EXPECT_EQ(menu->MenuHost(), frame);
    EXPECT_EQ(frame->log, std::vector<std::string>{"SetMenu"});

    auto* file = new TMenuItem(&form);
    file->SetCaption("文件");
    menu->Items()->Add(file);
    auto* open = new TMenuItem(&form);
    open->SetCaption("打开");
    file->Add(open);
    frame->log.clear();
    menu->Loaded();
    EXPECT_EQ(frame->log, std::vector<std::string>{"RebuildMenuBar"});
    EXPECT_TRUE(open->OnDrawItem && open->OnMeasureItem);

    // Run-time changes: the buttons follow, the bar is not rebuilt; new items are skinned.
    frame->log.clear();
    auto* later = new TMenuItem(&form);
    later->SetCaption("保存");
    file->Add(later);
    file->SetEnabled(false);
    EXPECT_EQ(frame->log, (std::vector<std::string>{"UpdateMenuBarButtons", "UpdateMenuBarButtons"}));
    EXPECT_TRUE(later->OnDrawItem && later->OnMeasureItem);

    frame->log.clear();
    menu->SetUseSystemFont(false);
    EXPECT_EQ(frame->log, std::vector<std::string>{"UpdateMenuBarFont"});
    menu->SetMenuHost(nullptr);
}

TEST(SkinnedMenu, LeavesTheFrameAloneWhileTheFormIsTornDown) {
    auto* form = new TForm(nullptr);
    auto* frame = new fakes::TsuiForm(form);
    frame->SetParent(form);
    auto* menu = new TsuiMainMenu(form);
    for (const char* caption : {"文件", "帮助"}) {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        menu->Items()->Add(item);
    }
    menu->Loaded();
    fakes::TsuiForm::callsDuringTearDown = 0;
    delete form; // the items go with the form, one by one
    EXPECT_EQ(fakes::TsuiForm::callsDuringTearDown, 0);
}

TEST(SkinnedMenu, ForgetsAThemeAndAnImageListThatGoAway) {
    TForm form(nullptr);
    TsuiMainMenu menu(&form);
    auto* theme = new TsuiFileTheme(&form);
    menu.SetUIStyle(WinXP);
    menu.SetFileTheme(theme);
    EXPECT_EQ(menu.UIStyle(), WinXP);
    delete theme;
    EXPECT_EQ(menu.FileTheme(), nullptr);
    EXPECT_EQ(menu.UIStyle(), DeepBlue);

    auto* images = new TImageList(&form);
    menu.SetImages(images);
    EXPECT_EQ(menu.Images(), images);
    delete images;
    EXPECT_EQ(menu.Images(), nullptr);
}

TEST(SkinnedMenu, MeasuresCaptionShortcutBarAndFortyPixels) {
    TsuiPopupMenu menu(nullptr);
    auto* save = new TMenuItem(&menu);
    save->SetCaption("&Save");
    save->SetShortCut(QKeySequence("Ctrl+S"));
    menu.Items()->Add(save);
    auto* line = new TMenuItem(&menu);
    line->SetCaption("-");
    line->SetShortCut(QKeySequence("Ctrl+L"));
    menu.Items()->Add(line);
    TBitmap b(1, 1);
    TCanvas& canvas = b.Canvas();
    canvas.Font().SetName("Tahoma");
    canvas.Font().SetHeight(13);
    int w = 0, h = 0;
    menu.MeasureItem(save, canvas, w, h);
    EXPECT_EQ(save->ShortCutText(), "Ctrl+S");
    EXPECT_EQ(w, canvas.TextWidth("&Save") + canvas.TextWidth("Ctrl+S") + 26 + 40);
    EXPECT_EQ(h, 21);
    menu.MeasureItem(line, canvas, w, h);
    EXPECT_EQ(h, 5);
}

TEST(SkinnedMenu, ASelectedButDisabledItemIsDrawnUnhighlightedInGrey) {
    TsuiPopupMenu menu(nullptr);
    menu.SetUIStyle(Protein);
    auto* gone = new TMenuItem(&menu);
    gone->SetCaption("Gone");
    gone->SetEnabled(false);
    menu.Items()->Add(gone);
    TBitmap b(120, 21);
    menu.DrawItem(gone, b.Canvas(), Rect(0, 0, 120, 21), true);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), 0xCED3D6);    // the bar, not the highlight's frame
    EXPECT_EQ(b.Canvas().Pixels(119, 20), 0xFFFFFF); // the background
    int grey = 0, highlight = 0;
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 120; ++x) {
            grey += b.Canvas().Pixels(x, y) == 0x808080;
            highlight += b.Canvas().Pixels(x, y) == 0xC4302D;
        }
    EXPECT_GT(grey, 10);
    EXPECT_EQ(highlight, 0);
}

namespace {

class AnsweringTheme : public TsuiFileTheme {
public:
    explicit AnsweringTheme(TComponent* owner) : TsuiFileTheme(owner) { SetLoaded(true); }
    TColor ColorEntry(int entry) const override { return 0x010100 * entry; }
};

} // namespace

TEST(SkinnedMenu, FromThemeFileTakesTheSixMenuColoursFromTheTheme) {
    TsuiMainMenu menu(nullptr);
    AnsweringTheme theme(nullptr);
    menu.SetFileTheme(&theme);
    menu.SetUIStyle(FromThemeFile);
    EXPECT_EQ(menu.BarColor(), 0x010100 * 23);
    EXPECT_EQ(menu.Color(), 0x010100 * 21);
    EXPECT_EQ(menu.FontColor(), 0x010100 * 22);
    EXPECT_EQ(menu.SelectedBorderColor(), 0x010100 * 18);
    EXPECT_EQ(menu.SelectedColor(), 0x010100 * 19);
    EXPECT_EQ(menu.SelectedFontColor(), 0x010100 * 20);
    EXPECT_EQ(menu.MenuItemHeight(), 21);
    EXPECT_EQ(menu.SeparatorColor(), 0x848284);
    // Without a read theme, FromThemeFile falls back to DeepBlue's colours.
    menu.SetFileTheme(nullptr);
    EXPECT_EQ(menu.UIStyle(), FromThemeFile);
    EXPECT_EQ(menu.SelectedColor(), 0xA04A44);
}

#include "Menu_test.moc"
