// The component model: owner registry, lookup by name, removal notices, lifetime, published
// properties by name.
#include "framework/TComponent.h"
#include "framework/TControl.h"
#include "tests/support/GuiTest.h"

#include <QPointer>

#include <gtest/gtest.h>

namespace {

// Records the notices it hears.
class Listener : public TNonVisualComponent {
public:
    using TNonVisualComponent::TNonVisualComponent;
    void Notification(TComponent* c, TOperation op) override {
        TNonVisualComponent::Notification(c, op);
        heard.push_back({c, op});
    }
    struct Notice {
        TComponent* component;
        TOperation op;
    };
    std::vector<Notice> heard;
    int RemovalsOf(TComponent* c) const {
        int n = 0;
        for (const Notice& h : heard)
            n += h.component == c && h.op == opRemove;
        return n;
    }
};

class Styled : public TNonVisualComponent {
    Q_OBJECT
    Q_PROPERTY(int UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(QObject* FileTheme READ FileTheme WRITE SetFileTheme)
public:
    using TNonVisualComponent::TNonVisualComponent;
    int UIStyle() const { return style; }
    void SetUIStyle(int s) { style = s; }
    QObject* FileTheme() const { return theme; }
    void SetFileTheme(QObject* t) { theme = t; }
    int style = 3;
    QObject* theme = nullptr;
};

TEST(Component, OwnerListAndCaseInsensitiveLookup) {
    TNonVisualComponent owner(nullptr);
    auto* a = new TNonVisualComponent(&owner);
    a->SetName("suiPanel1");
    auto* b = new TNonVisualComponent(&owner);
    b->SetName("groupbox1");
    ASSERT_EQ(owner.ComponentCount(), 2);
    EXPECT_EQ(owner.Components(0), a);
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_EQ(owner.FindComponent("SUIPANEL1"), a);
    EXPECT_EQ(owner.FindComponent("GroupBox1"), b);
    EXPECT_EQ(owner.FindComponent("web"), nullptr);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    // Owned components only: a's own components are not the owner's.
    auto* inner = new TNonVisualComponent(a);
    inner->SetName("inner");
    EXPECT_EQ(owner.FindComponent("inner"), nullptr);
}

TEST(Component, DuplicateNameIsRefused) {
    TNonVisualComponent owner(nullptr);
    auto* a = new TNonVisualComponent(&owner);
    a->SetName("lb");
    auto* b = new TNonVisualComponent(&owner);
    try {
        b->SetName("LB");
        FAIL() << "a second component of that name was accepted";
    } catch (const EComponentError& e) {
        EXPECT_STREQ(e.what(), "A component named LB already exists");
    }
    EXPECT_EQ(b->Name(), "");
}

TEST(Component, RemovalNoticesReachOwnerAndSiblings) {
    Listener owner(nullptr);
    auto* listener = new Listener(&owner);
    auto* doomed = new TNonVisualComponent(&owner);
    doomed->SetName("groupbox1");
    QString nameSeen;
    // The name still answers while the notice is given.
    struct NameReader : TNonVisualComponent {
        using TNonVisualComponent::TNonVisualComponent;
        QString* seen = nullptr;
        TComponent* watch = nullptr;
        void Notification(TComponent* c, TOperation op) override {
            if (op == opRemove && c == watch)
                *seen = c->Name();
        }
    };
    auto* reader = new NameReader(&owner);
    reader->seen = &nameSeen;
    reader->watch = doomed;
    delete doomed;
    EXPECT_EQ(owner.RemovalsOf(doomed), 1);
    EXPECT_EQ(listener->RemovalsOf(doomed), 1);
    EXPECT_EQ(nameSeen, "groupbox1");
    reader->watch = nullptr;
    EXPECT_EQ(owner.ComponentCount(), 2);
    // Insertions are told as well.
    auto* late = new TNonVisualComponent(&owner);
    EXPECT_EQ(listener->heard.back().component, late);
    EXPECT_EQ(listener->heard.back().op, opInsert);
}

TEST(Component, FreeNotificationAcrossOwners) {
    TNonVisualComponent formA(nullptr), formB(nullptr);
    auto* watcher = new Listener(&formA);
    auto* theme = new TNonVisualComponent(&formB);
    theme->FreeNotification(watcher);
    delete theme;
    EXPECT_EQ(watcher->RemovalsOf(theme), 1);
    // A watcher that goes first is forgotten: nothing calls into it later.
    auto* theme2 = new TNonVisualComponent(&formB);
    auto* watcher2 = new Listener(&formA);
    theme2->FreeNotification(watcher2);
    delete watcher2;
    delete theme2;
}

TEST(Component, OwnerFreesWhatItOwnsOnce) {
    QPointer<TControl> child, grandChild;
    QPointer<QObject> timerLike;
    {
        TControl form(nullptr);
        // A control owned by the form whose visual parent is another owned control: freed
        // once, whichever of the two mechanisms gets there first.
        auto* panel = new TControl(&form);
        panel->SetParent(&form);
        child = new TControl(&form);
        child->SetParent(panel);
        grandChild = new TControl(&form);
        grandChild->SetParent(child);
        timerLike = new TNonVisualComponent(&form);
    }
    EXPECT_TRUE(child.isNull());
    EXPECT_TRUE(grandChild.isNull());
    EXPECT_TRUE(timerLike.isNull());
}

TEST(Component, ComponentFreedByItsQtParentLeavesTheOwnerList) {
    TControl form(nullptr);
    auto* panel = new TControl(&form);
    panel->SetParent(&form);
    auto* inPanel = new TControl(&form);
    inPanel->SetParent(panel);
    ASSERT_EQ(form.ComponentCount(), 2);
    delete panel; // takes inPanel with it as its Qt child
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_EQ(form.ControlCount(), 0);
}

TEST(Component, InsertComponentMovesOwnership) {
    Listener a(nullptr), b(nullptr);
    auto* c = new TNonVisualComponent(&a);
    b.InsertComponent(c);
    EXPECT_EQ(c->Owner(), &b);
    EXPECT_EQ(a.ComponentCount(), 0);
    EXPECT_EQ(a.RemovalsOf(c), 1);
    EXPECT_EQ(b.ComponentCount(), 1);
}

TEST(PublishedProps, ByNameWithoutRegardToCase) {
    Styled s(nullptr);
    EXPECT_TRUE(IsPublishedProp(&s, "UIStyle"));
    EXPECT_TRUE(IsPublishedProp(&s, "uistyle"));
    EXPECT_TRUE(IsPublishedProp(&s, "Name"));
    EXPECT_FALSE(IsPublishedProp(&s, "StayOn"));
    SetPublishedProp(&s, "UISTYLE", 2);
    EXPECT_EQ(s.style, 2);
    EXPECT_EQ(GetPublishedProp(&s, "UIStyle").toInt(), 2);
    TNonVisualComponent theme(nullptr);
    SetPublishedProp(&s, "FileTheme", QVariant::fromValue<QObject*>(&theme));
    EXPECT_EQ(s.theme, &theme);
    SetPublishedProp(&s, "FileTheme", QVariant::fromValue<QObject*>(nullptr));
    EXPECT_EQ(s.theme, nullptr);
}

TEST(PublishedProps, MissingPropertyRaisesTheFrameworkError) {
    TNonVisualComponent plain(nullptr);
    try {
        SetPublishedProp(&plain, "UIStyle", 3);
        FAIL() << "no error";
    } catch (const EPropertyError& e) {
        EXPECT_STREQ(e.what(), "Property UIStyle does not exist");
        EXPECT_STREQ(e.ClassName(), "EPropertyError");
    }
    EXPECT_THROW(GetPublishedProp(&plain, "FileTheme"), EPropertyError);
    // Controls publish their classic geometry.
    TControl c(nullptr);
    SetPublishedProp(&c, "Width", 77);
    EXPECT_EQ(c.Width(), 77);
    EXPECT_TRUE(IsPublishedProp(&c, "Caption"));
}

} // namespace

#include "TComponent_test.moc"
