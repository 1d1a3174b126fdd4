// How components choose and pass on their style.
#include "framework/TBitmap.h"
#include "framework/TForm.h"
#include "skin/SuiStyleDecisions.h"
#include "skin/TsuiFileTheme.h"
#include "tests/support/GuiTest.h"

#include <string>
#include <vector>

namespace fakes {

// Stands in for the skinned frame: a control whose class is named TsuiForm.
class TsuiForm : public TControl {
    Q_OBJECT
    Q_PROPERTY(TsuiStyles::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
public:
    using TControl::TControl;
    TsuiUIStyle UIStyle() const { return style_; }
    void SetUIStyle(TsuiUIStyle s) { style_ = s; }

private:
    TsuiUIStyle style_ = DeepBlue;
};

// A skinned child that records the order in which its two properties are written.
class Skinned : public TControl {
    Q_OBJECT
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(TsuiStyles::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
public:
    using TControl::TControl;
    TsuiFileTheme* FileTheme() const { return theme_; }
    void SetFileTheme(TsuiFileTheme* t) {
        theme_ = t;
        log.push_back("FileTheme");
    }
    TsuiUIStyle UIStyle() const { return style_; }
    void SetUIStyle(TsuiUIStyle s) {
        style_ = s;
        log.push_back("UIStyle");
    }
    std::vector<std::string> log;

private:
    TsuiFileTheme* theme_ = nullptr;
    TsuiUIStyle style_ = DeepBlue;
};

// Publishes only UIStyle, so restyling skips it.
class HalfSkinned : public TControl {
    Q_OBJECT
    Q_PROPERTY(int UIStyle READ UIStyle WRITE SetUIStyle)
public:
    using TControl::TControl;
    int UIStyle() const { return style_; }
    void SetUIStyle(int s) { style_ = s; }

private:
    int style_ = DeepBlue;
};

class LoadedTheme : public TsuiFileTheme {
public:
    explicit LoadedTheme(TComponent* owner) : TsuiFileTheme(owner) { SetLoaded(true); }
};

} // namespace fakes

namespace {

using fakes::HalfSkinned;
using fakes::Skinned;

TEST(StyleDecisions, OwnerFormStyleComesFromTheFirstSkinnedFrameOfTheForm) {
    TForm form(nullptr);
    EXPECT_EQ(OwnerFormStyle(&form), DeepBlue); // no frame
    EXPECT_EQ(OwnerFormStyle(nullptr), DeepBlue);
    TControl plain(&form);
    plain.SetParent(&form);
    EXPECT_EQ(OwnerFormStyle(&plain), DeepBlue); // the owner is not a form

    auto* frame = new fakes::TsuiForm(&form);
    frame->SetParent(&form);
    frame->SetUIStyle(Protein);
    auto* second = new fakes::TsuiForm(&form);
    second->SetParent(&form);
    second->SetUIStyle(WinXP);
    EXPECT_EQ(OwnerFormStyle(&form), Protein);

    // Only direct children count.
    TForm other(nullptr);
    TControl holder(&other);
    holder.SetParent(&other);
    auto* nested = new fakes::TsuiForm(&other);
    nested->SetParent(&holder);
    nested->SetUIStyle(MacOS);
    EXPECT_EQ(OwnerFormStyle(&other), DeepBlue);
}

TEST(StyleDecisions, ResolveFileThemeFallsBackToDeepBlueWithoutALoadedTheme) {
    TForm form(nullptr);
    TsuiFileTheme unloaded(&form);
    fakes::LoadedTheme loaded(&form);
    TsuiUIStyle s = MacOS;
    EXPECT_FALSE(ResolveFileTheme(nullptr, FromThemeFile, s));
    EXPECT_EQ(s, DeepBlue);
    EXPECT_FALSE(ResolveFileTheme(&unloaded, FromThemeFile, s));
    EXPECT_EQ(s, DeepBlue);
    EXPECT_FALSE(ResolveFileTheme(&loaded, WinXP, s));
    EXPECT_EQ(s, WinXP);
    EXPECT_TRUE(ResolveFileTheme(&loaded, FromThemeFile, s));
    EXPECT_EQ(s, FromThemeFile);
}

TEST(StyleDecisions, AnUnreadThemeAnswersAsEmpty) {
    TsuiFileTheme theme(nullptr);
    EXPECT_FALSE(theme.Loaded());
    EXPECT_EQ(theme.ColorEntry(15), 0);
    EXPECT_EQ(theme.IntEntry(7), 0);
    EXPECT_FALSE(theme.BoolEntry(6));
    TBitmap b(4, 4);
    theme.ImageEntry(5, b);
    EXPECT_EQ(b.Width(), 4);
    theme.ImageFrameEntry(5, b, 18, 1);
    EXPECT_TRUE(b.Empty());
}

TEST(StyleDecisions, RestyleChildControlsSetsThemeThenStyleOnDirectChildrenThatPublishBoth) {
    TForm form(nullptr);
    TControl container(&form);
    container.SetParent(&form);
    auto* a = new Skinned(&form);
    a->SetParent(&container);
    auto* half = new HalfSkinned(&form);
    half->SetParent(&container);
    auto* plain = new TControl(&form);
    plain->SetParent(&container);
    auto* b = new Skinned(&form);
    b->SetParent(&container);
    auto* grandchild = new Skinned(&form);
    grandchild->SetParent(b);
    fakes::LoadedTheme theme(&form);

    RestyleChildControls(&container, FromThemeFile, &theme);
    for (Skinned* s : {a, b}) {
        EXPECT_EQ(s->log, (std::vector<std::string>{"FileTheme", "UIStyle"}));
        EXPECT_EQ(s->FileTheme(), &theme);
        EXPECT_EQ(s->UIStyle(), FromThemeFile);
    }
    EXPECT_EQ(half->UIStyle(), DeepBlue); // lacks FileTheme: skipped
    EXPECT_TRUE(grandchild->log.empty());

    RestyleChildControls(&container, BlueGlass, nullptr);
    EXPECT_EQ(a->FileTheme(), nullptr);
    EXPECT_EQ(a->UIStyle(), BlueGlass);
    RestyleChildControls(nullptr, BlueGlass, nullptr); // nothing to do
}

TEST(StyleDecisions, HasPublishedPropLooksAtTheClassAndItsAncestors) {
    TForm form(nullptr);
    Skinned s(&form);
    EXPECT_TRUE(HasPublishedProp(&s, "UIStyle"));
    EXPECT_TRUE(HasPublishedProp(&s, "FileTheme"));
    EXPECT_TRUE(HasPublishedProp(&s, "Caption")); // from TControl
    EXPECT_FALSE(HasPublishedProp(&s, "StayOn"));
    EXPECT_FALSE(HasPublishedProp(nullptr, "UIStyle"));
}

} // namespace

#include "SuiStyleDecisions_test.moc"
