// The theme manager: restyling the listed components of its form by name, in list order, the
// event after them, the removal notices, and the errors that end the list.
#include "framework/TForm.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiThemeManager.h"
#include "tests/support/GuiTest.h"

#include <string>
#include <vector>

namespace {
std::vector<std::string> gLog;
}

// A skinned component as the manager sees it: it publishes UIStyle and FileTheme and notes each
// assignment in the shared log.
class TsuiRecorder : public TNonVisualComponent {
    Q_OBJECT
    Q_PROPERTY(TsuiStyles::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
public:
    TsuiRecorder(TComponent* owner, const char* name) : TNonVisualComponent(owner) {
        SetName(QString::fromLatin1(name));
    }
    TsuiUIStyle UIStyle() const { return style_; }
    void SetUIStyle(TsuiUIStyle s) {
        style_ = s;
        gLog.push_back(Name().toStdString() + ".UIStyle=" + StyleName(s));
    }
    TsuiFileTheme* FileTheme() const { return theme_; }
    void SetFileTheme(TsuiFileTheme* t) {
        theme_ = t;
        gLog.push_back(Name().toStdString() + (t ? ".FileTheme=theme" : ".FileTheme=none"));
    }

private:
    TsuiUIStyle style_ = DeepBlue;
    TsuiFileTheme* theme_ = nullptr;
};

// Publishes UIStyle only.
class TsuiHalf : public TNonVisualComponent {
    Q_OBJECT
    Q_PROPERTY(int UIStyle READ UIStyle WRITE SetUIStyle)
public:
    TsuiHalf(TComponent* owner, const char* name) : TNonVisualComponent(owner) {
        SetName(QString::fromLatin1(name));
    }
    int UIStyle() const { return style_; }
    void SetUIStyle(int s) {
        style_ = s;
        gLog.push_back(Name().toStdString() + ".UIStyle");
    }

private:
    int style_ = DeepBlue;
};

namespace {

using Log = std::vector<std::string>;

class ThemeManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        gLog.clear();
        for (const char* n : {"suiform", "suiPanel1", "groupbox1", "suiMainMenu1"})
            new TsuiRecorder(&form, n);
        skinman = new TsuiThemeManager(&form);
        skinman->SetName(QStringLiteral("skinman"));
        skinman->SetCompList({"suiform", "suiPanel1", "groupbox1", "suiMainMenu1"});
        skinman->OnUIStyleChanged = [](TComponent* sender) {
            gLog.push_back(sender->Name().toStdString() + ".OnUIStyleChanged");
        };
    }
    TsuiRecorder* component(const char* name) { return static_cast<TsuiRecorder*>(form.FindComponent(name)); }

    TForm form{nullptr};
    TsuiThemeManager* skinman = nullptr;
};

} // namespace

TEST_F(ThemeManagerTest, RestylesInListOrderAndOnlyThenFiresTheEvent) {
    EXPECT_EQ(skinman->UIStyle(), DeepBlue);
    skinman->SetUIStyle(WinXP);
    EXPECT_EQ(gLog,
              (Log{"suiform.UIStyle=WinXP", "suiform.FileTheme=none", "suiPanel1.UIStyle=WinXP",
                   "suiPanel1.FileTheme=none", "groupbox1.UIStyle=WinXP", "groupbox1.FileTheme=none",
                   "suiMainMenu1.UIStyle=WinXP", "suiMainMenu1.FileTheme=none", "skinman.OnUIStyleChanged"}));
    EXPECT_EQ(component("groupbox1")->UIStyle(), WinXP);
}

TEST_F(ThemeManagerTest, TheSameValueRestylesAgainWithoutTheEvent) {
    skinman->SetUIStyle(WinXP);
    gLog.clear();
    skinman->SetUIStyle(WinXP);
    EXPECT_EQ(gLog.size(), 8u);
    EXPECT_EQ(gLog.back(), "suiMainMenu1.FileTheme=none");
}

TEST_F(ThemeManagerTest, NamesIgnoreCaseAndMissingNamesAreSkipped) {
    skinman->SetCompList({"SUIPANEL1", "nosuchthing", "GroupBox1"});
    skinman->SetUIStyle(Protein);
    EXPECT_EQ(gLog, (Log{"suiPanel1.UIStyle=Protein", "suiPanel1.FileTheme=none", "groupbox1.UIStyle=Protein",
                         "groupbox1.FileTheme=none", "skinman.OnUIStyleChanged"}));
    EXPECT_EQ(skinman->CompList().Count(), 3);
}

TEST_F(ThemeManagerTest, OnlyComponentsTheFormOwnsAreFound) {
    // A component owned by a listed component is not the form's own.
    new TsuiRecorder(component("suiform"), "nested");
    skinman->SetCompList({"nested"});
    skinman->SetUIStyle(MacOS);
    EXPECT_EQ(gLog, (Log{"skinman.OnUIStyleChanged"}));
}

TEST_F(ThemeManagerTest, ADestroyedComponentLosesItsLineForGood) {
    delete component("groupbox1");
    EXPECT_EQ(skinman->CompListLines(), (QStringList{"suiform", "suiPanel1", "suiMainMenu1"}));
    // A new component under the old name is not restyled.
    new TsuiRecorder(&form, "groupbox1");
    gLog.clear();
    skinman->SetUIStyle(BlueGlass);
    EXPECT_EQ(gLog.size(), 7u);
    for (const std::string& line : gLog)
        EXPECT_EQ(line.find("groupbox1"), std::string::npos);
}

TEST_F(ThemeManagerTest, TheFileThemeGoesToEveryComponentAndReappliesTheStyle) {
    auto* theme = new TsuiFileTheme(&form);
    skinman->SetUIStyle(MacOS);
    gLog.clear();
    skinman->SetFileTheme(theme);
    EXPECT_EQ(gLog.size(), 8u); // restyled, no event
    EXPECT_EQ(gLog[1], "suiform.FileTheme=theme");
    EXPECT_EQ(component("suiMainMenu1")->FileTheme(), theme);
    EXPECT_EQ(component("suiMainMenu1")->UIStyle(), MacOS);

    // Destroying it: the manager forgets it and is at DeepBlue; no component is touched.
    gLog.clear();
    delete theme;
    EXPECT_EQ(skinman->FileTheme(), nullptr);
    EXPECT_EQ(skinman->UIStyle(), DeepBlue);
    EXPECT_TRUE(gLog.empty());
    // Setting DeepBlue now is no change: no event.
    skinman->SetUIStyle(DeepBlue);
    EXPECT_EQ(gLog.size(), 8u);
}

TEST_F(ThemeManagerTest, AThemeOwnedElsewhereIsStillForgottenWhenItGoes) {
    auto* theme = new TsuiFileTheme(nullptr);
    skinman->SetFileTheme(theme);
    delete theme;
    EXPECT_EQ(skinman->FileTheme(), nullptr);
    EXPECT_EQ(skinman->UIStyle(), DeepBlue);
}

TEST_F(ThemeManagerTest, AComponentWithoutThePropertiesEndsTheListWithTheError) {
    new TsuiHalf(&form, "half");
    skinman->SetCompList({"suiform", "half", "groupbox1"});
    try {
        skinman->SetUIStyle(WinXP);
        ADD_FAILURE() << "no error";
    } catch (const EPropertyError& e) {
        EXPECT_STREQ(e.what(), "Property FileTheme does not exist");
    }
    EXPECT_EQ(gLog, (Log{"suiform.UIStyle=WinXP", "suiform.FileTheme=none", "half.UIStyle"}));
    EXPECT_EQ(skinman->UIStyle(), WinXP); // stored, but no event

    // A plain component publishes no UIStyle at all.
    auto* plain = new TNonVisualComponent(&form);
    plain->SetName(QStringLiteral("plain"));
    skinman->SetCompList({"plain", "suiform"});
    gLog.clear();
    try {
        skinman->SetUIStyle(MacOS);
        ADD_FAILURE() << "no error";
    } catch (const EPropertyError& e) {
        EXPECT_STREQ(e.what(), "Property UIStyle does not exist");
    }
    EXPECT_TRUE(gLog.empty());
}

TEST(ThemeManager, AnOwnerThatIsNotAFormRestylesNothing) {
    gLog.clear();
    TNonVisualComponent owner(nullptr);
    new TsuiRecorder(&owner, "suiform");
    auto* manager = new TsuiThemeManager(&owner);
    manager->CompList().Add("suiform");
    manager->SetUIStyle(WinXP);
    EXPECT_TRUE(gLog.empty());
    EXPECT_EQ(manager->UIStyle(), WinXP);

    TsuiThemeManager ownerless(nullptr);
    ownerless.CompList().Add("suiform");
    ownerless.SetUIStyle(MacOS);
    EXPECT_TRUE(gLog.empty());
}

TEST(ThemeManager, TheListIsCopiedNeverReplaced) {
    TsuiThemeManager manager(nullptr);
    TsuiThemeMgrCompList* list = &manager.CompList();
    manager.SetCompList({"a", "A", "b"});
    EXPECT_EQ(&manager.CompList(), list);
    EXPECT_EQ(manager.CompList().Count(), 3); // duplicates kept
    EXPECT_EQ(manager.CompList().IndexOf("B"), 2);
    // Published: set by name like any other property.
    SetPublishedProp(&manager, "CompList", QStringList{"x"});
    EXPECT_EQ(manager.CompList().Count(), 1);
    SetPublishedProp(&manager, "UIStyle", int(Protein));
    EXPECT_EQ(manager.UIStyle(), Protein);
}

#include "ThemeManager_test.moc"
