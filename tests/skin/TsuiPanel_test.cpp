// The skinned panel: defaults, child area, the Push and Pop slides, the remembered height, the
// collapse button and its hot tracking, the pixels of the five styles, theme files, and requests
// that arrive in the middle of a slide.
#include "framework/TBitmap.h"
#include "skin/SuiDrawing.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiPanel.h"
#include "tests/skin/SkinTestSupport.h"

#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <string>

namespace {

using namespace zeltest;

class PanelTest : public SkinFormTest {
protected:
    TsuiPanel* panel = nullptr;
    std::vector<std::string> events;

    void SetUp() override {
        SkinFormTest::SetUp();
        panel = new TsuiPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(0, 64, 697, 473);
        panel->OnPush = [this](TComponent*) { events.push_back("push"); };
        panel->OnPop = [this](TComponent*) { events.push_back("pop"); };
        Settle();
    }

    int current() const { return panel->TControl::Height(); }
    TPoint buttonCentre() const { return panel->ClientToScreen(Point(697 - 12, 10)); }

    void release(Qt::MouseButton button, QPointF p = QPointF(685, 10)) {
        QMouseEvent e(QEvent::MouseButtonRelease, p, panel->mapToGlobal(p), button, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(panel, &e);
    }
    void move(QPointF p) {
        QMouseEvent e(QEvent::MouseMove, p, panel->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(panel, &e);
    }
    // A click on the button: the pointer goes there, the panel sees the move, then the release.
    void clickButton() {
        platform.Cursor = buttonCentre();
        move(QPointF(685, 10));
        release(Qt::LeftButton);
    }
};

TBitmap* frameOf(int frame) {
    static TBitmap frames[5];
    TBitmap& b = frames[frame];
    LoadSkinBitmap(b, "PANEL_BUTTON");
    CutBitmapFrame(b, b, 4, frame);
    return &b;
}

::testing::AssertionResult frameAt(const QImage& img, int frame, int x0, int y0) {
    TBitmap* b = frameOf(frame);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 13; ++x)
            if (PixelBGR(img, x0 + x, y0 + y) != b->Canvas().Pixels(x, y))
                return ::testing::AssertionFailure() << "frame " << frame << " differs at " << x << "," << y;
    return ::testing::AssertionSuccess();
}

TEST(Panel, ANewPanelIsAHundredSquareExpandedDeepBlue) {
    TScriptedPlatform platform;
    TsuiPanel panel(nullptr);
    EXPECT_EQ(panel.TControl::Width(), 100);
    EXPECT_EQ(panel.TControl::Height(), 100);
    EXPECT_EQ(panel.Height(), 100);
    EXPECT_TRUE(panel.Expanded());
    EXPECT_TRUE(panel.ShowButton());
    EXPECT_EQ(panel.UIStyle(), DeepBlue);
    EXPECT_EQ(panel.BarHeight(), 20);
    EXPECT_EQ(panel.BorderColor(), 0x000000);
    EXPECT_EQ(panel.CaptionFontColor(), 0xFFFFFF);
    EXPECT_EQ(panel.Color(), clWhite);
    // Published by name, as the theme manager sets them.
    SetPublishedProp(&panel, "UIStyle", QVariant(int(WinXP)));
    EXPECT_EQ(panel.CaptionFontColor(), 0x000000);
    EXPECT_EQ(GetPublishedProp(&panel, "Height").toInt(), 100);
}

TEST_F(PanelTest, ALeftAlignedChildStartsBelowTheBarAndKeepsItsLayoutWhileCollapsed) {
    auto* child = new TControl(form.get());
    child->SetParent(panel);
    child->SetAlign(alLeft);
    child->SetWidth(277);
    EXPECT_EQ(child->BoundsRect(), Bounds(4, 24, 277, 445));
    panel->Push();
    EXPECT_EQ(current(), 20);
    EXPECT_EQ(panel->Height(), 473);
    EXPECT_EQ(child->BoundsRect(), Bounds(4, 24, 277, 445));
    panel->SetUIStyle(WinXP);
    EXPECT_EQ(child->BoundsRect(), Bounds(4, 25, 277, 444));
}

TEST_F(PanelTest, PushAndPopSlideInPaintedFifteenPixelSteps) {
    PaintRecorder painted(panel, true);
    panel->Push();
    std::vector<int> down = Steps(458, -15, 30); // 458, 443, ..., 23
    down.push_back(20);
    EXPECT_EQ(painted.sizes, down);
    EXPECT_FALSE(panel->Expanded());
    EXPECT_EQ(events, (std::vector<std::string>{"push"}));

    painted.sizes.clear();
    panel->Pop();
    std::vector<int> up = Steps(35, 15, 30); // 35, 50, ..., 470
    up.push_back(473);
    EXPECT_EQ(painted.sizes, up);
    EXPECT_TRUE(panel->Expanded());
    EXPECT_EQ(events, (std::vector<std::string>{"push", "pop"}));
}

TEST_F(PanelTest, AHeightSetWhileCollapsedWaitsForTheNextPop) {
    panel->Push();
    panel->SetHeight(300);
    EXPECT_EQ(current(), 20);
    EXPECT_EQ(panel->Height(), 300);
    panel->Pop();
    EXPECT_EQ(current(), 300);
    // Expanded, layout sizes are remembered as the expanded height.
    panel->TControl::SetHeight(350);
    EXPECT_EQ(panel->Height(), 350);
}

TEST_F(PanelTest, PushRefusesClientLeftAndRightAlignment) {
    panel->SetAlign(alClient);
    const int before = current();
    try {
        panel->Push();
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Can't push when Align is alClient, alLeft or alRight.");
    }
    EXPECT_TRUE(panel->Expanded());
    EXPECT_EQ(current(), before);
    EXPECT_TRUE(events.empty());
    panel->Pop(); // no test for Pop
    EXPECT_EQ(events, (std::vector<std::string>{"pop"}));
}

TEST_F(PanelTest, TheButtonTracksThePointerAndOnlyALeftReleaseOnItToggles) {
    QImage img = Grab(panel);
    EXPECT_TRUE(frameAt(img, 1, 697 - 17, 4));
    EXPECT_FALSE(panel->ButtonHot());

    // Over the button: frame 2.
    platform.Cursor = buttonCentre();
    move(QPointF(685, 10));
    EXPECT_TRUE(panel->ButtonHot());
    img = Grab(panel);
    EXPECT_TRUE(frameAt(img, 2, 697 - 17, 4));
    // The rectangle's right and bottom edges still count.
    platform.Cursor = panel->ClientToScreen(Point(697 - 5, 16));
    move(QPointF(692, 16));
    EXPECT_TRUE(panel->ButtonHot());
    platform.Cursor = panel->ClientToScreen(Point(697 - 4, 16));
    move(QPointF(693, 16));
    EXPECT_FALSE(panel->ButtonHot());

    // A right release toggles nothing and paints nothing.
    platform.Cursor = buttonCentre();
    move(QPointF(685, 10));
    int paints = 0;
    struct Counter : QObject {
        int* n;
        bool eventFilter(QObject*, QEvent* e) override {
            *n += e->type() == QEvent::Paint;
            return false;
        }
    } counter;
    counter.n = &paints;
    panel->installEventFilter(&counter);
    release(Qt::RightButton);
    EXPECT_EQ(paints, 0);
    EXPECT_TRUE(panel->Expanded());
    release(Qt::LeftButton);
    EXPECT_FALSE(panel->Expanded());
    EXPECT_EQ(current(), 20);
    img = Grab(panel);
    EXPECT_TRUE(frameAt(img, 4, 697 - 17, 4)); // collapsed and hot
    platform.Cursor = Point(0, 0);
    img = Grab(panel);
    EXPECT_TRUE(frameAt(img, 3, 697 - 17, 4));
    panel->removeEventFilter(&counter);

    // Below the bar, moves change nothing: the hot flag stays as last drawn.
    clickButton();
    EXPECT_TRUE(panel->Expanded());
    platform.Cursor = panel->ClientToScreen(Point(100, 200));
    move(QPointF(100, 200));
    EXPECT_TRUE(panel->ButtonHot());
    // A click there is on the panel's body, not on the button.
    const int height = current();
    release(Qt::LeftButton, QPointF(100, 200));
    EXPECT_TRUE(panel->Expanded());
    EXPECT_EQ(current(), height);
}

TEST_F(PanelTest, WithoutTheButtonNothingIsDrawnThereAndClicksDoNotCollapse) {
    panel->SetShowButton(false);
    panel->SetCaption(QStringLiteral("Caption"));
    clickButton();
    EXPECT_TRUE(panel->Expanded());
    const QImage img = Grab(panel);
    EXPECT_FALSE(frameAt(img, 1, 697 - 17, 4));
    EXPECT_FALSE(frameAt(img, 2, 697 - 17, 4));
    EXPECT_EQ(PixelBGR(img, 697 - 12, 10), 0xA04A44); // the bar's blue
}

TEST_F(PanelTest, EachStylePaintsBorderBarButtonAndCaptionExactly) {
    panel->SetCaption(QStringLiteral("News"));
    for (const StyleValues& s : FiveStyles()) {
        SCOPED_TRACE(s.name);
        panel->SetUIStyle(s.style);
        EXPECT_EQ(panel->BarHeight(), s.barHeight);
        EXPECT_EQ(panel->BorderColor(), s.border);
        EXPECT_EQ(panel->CaptionFontColor(), s.caption);
        const QImage img = Grab(panel);
        const int w = 697, h = 473, bar = s.barHeight;
        EXPECT_EQ(PixelBGR(img, 0, 100), s.border);
        EXPECT_EQ(PixelBGR(img, w - 1, 100), s.border);
        EXPECT_EQ(PixelBGR(img, 300, h - 1), s.border);
        EXPECT_EQ(PixelBGR(img, 300, 100), clWhite);
        EXPECT_EQ(PixelBGR(img, 0, 0), s.border);
        EXPECT_EQ(PixelBGR(img, w - 1, 0), s.border);
        EXPECT_EQ(PixelBGR(img, 1, 0), s.stripFirst);
        EXPECT_EQ(PixelBGR(img, 5, 1), s.stripSecond);
        EXPECT_EQ(PixelBGR(img, w - 2, bar - 1), s.stripLast);
        EXPECT_EQ(PixelBGR(img, 5, bar), clWhite);
        EXPECT_TRUE(frameAt(img, 1, w - 17, 4));
        int captionPixels = 0;
        for (int y = 1; y < bar - 1; ++y)
            for (int x = 10; x < 80; ++x)
                captionPixels += PixelBGR(img, x, y) == s.caption;
        EXPECT_GT(captionPixels, 10);
        // Nothing of the caption left of x 10.
        for (int y = 1; y < bar - 1; ++y)
            for (int x = 1; x < 10; ++x)
                ASSERT_NE(PixelBGR(img, x, y), s.caption) << x << "," << y;
        SaveOnFailure(img, std::string("panel_") + s.name);

        panel->Push();
        const QImage collapsed = Grab(panel);
        EXPECT_EQ(collapsed.height(), bar);
        EXPECT_TRUE(frameAt(collapsed, 3, w - 17, 4));
        panel->Pop();
    }
}

TEST_F(PanelTest, AnAmpersandUnderlinesTheNextLetterAndDoublesShowOne) {
    panel->SetCaption(QStringLiteral("AB"));
    const QImage plain = Grab(panel);
    panel->SetCaption(QStringLiteral("A&B"));
    const QImage mnemonic = Grab(panel);
    panel->SetCaption(QStringLiteral("A&&B"));
    const QImage doubled = Grab(panel);
    auto whites = [](const QImage& img, int x0, int x1) {
        int n = 0;
        for (int y = 1; y < 19; ++y)
            for (int x = x0; x < x1; ++x)
                n += PixelBGR(img, x, y) == 0xFFFFFF;
        return n;
    };
    // "A" is drawn alike; under "B" there is more white (the underline); "&&" shows an "&".
    const int widthOfA = panel->Canvas()->TextWidth(QStringLiteral("A"));
    EXPECT_EQ(whites(mnemonic, 10, 10 + widthOfA), whites(plain, 10, 10 + widthOfA));
    EXPECT_GT(whites(mnemonic, 10 + widthOfA, 60), whites(plain, 10 + widthOfA, 60));
    EXPECT_GT(whites(doubled, 10 + widthOfA, 80), whites(plain, 10 + widthOfA, 80));
}

class HalfTheme : public TsuiFileTheme {
public:
    explicit HalfTheme(TComponent* owner) : TsuiFileTheme(owner) { SetLoaded(true); }
    TColor ColorEntry(int entry) const override { return entry == 25 ? 0x0000FF : entry == 27 ? 0x50000 : 0; }
    void ImageEntry(int entry, TBitmap& target) const override {
        if (entry == 42)
            target.SetSize(1, 26);
    }
};

TEST_F(PanelTest, AThemeFileGivesBarAndColoursAndItsRemovalGoesBackToDeepBlue) {
    auto* theme = new HalfTheme(form.get());
    panel->SetFileTheme(theme);
    EXPECT_EQ(panel->BarHeight(), 20); // DeepBlue ignores the theme
    panel->SetUIStyle(FromThemeFile);
    EXPECT_EQ(panel->BarHeight(), 26);
    EXPECT_EQ(panel->BorderColor(), 0x0000FF);
    EXPECT_EQ(panel->CaptionFontColor(), 0x000000);
    delete theme;
    EXPECT_EQ(panel->FileTheme(), nullptr);
    EXPECT_EQ(panel->UIStyle(), DeepBlue);
    EXPECT_EQ(panel->BarHeight(), 20);
}

class NoBarTheme : public TsuiFileTheme {
public:
    explicit NoBarTheme(TComponent* owner) : TsuiFileTheme(owner) { SetLoaded(true); }
    void ImageEntry(int, TBitmap& target) const override { target.SetSize(0, 0); }
};

TEST_F(PanelTest, WithoutABarImagePushStopsAtTwentyAndChildrenStartAtFour) {
    auto* theme = new NoBarTheme(form.get());
    auto* child = new TControl(form.get());
    child->SetParent(panel);
    child->SetAlign(alTop);
    child->SetHeight(30);
    panel->SetFileTheme(theme);
    panel->SetUIStyle(FromThemeFile);
    EXPECT_EQ(panel->BarHeight(), 0);
    EXPECT_EQ(child->Top(), 4);
    panel->Push();
    EXPECT_EQ(current(), 20);
    delete theme;
}

// --- requests in the middle of a slide

TEST_F(PanelTest, AClickDuringTheCollapseTurnsItBackWithoutANestedSlide) {
    std::vector<int> heights;
    bool clicked = false;
    panel->OnResize = [&](TComponent*) {
        heights.push_back(current());
        if (panel->Moving() && current() == 443 && !clicked) {
            clicked = true;
            clickButton(); // kept: the collapse is running
        }
    };
    clickButton();
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(panel->Expanded());
    EXPECT_FALSE(panel->Moving());
    EXPECT_EQ(current(), 473);
    EXPECT_EQ(panel->Height(), 473);
    EXPECT_EQ(events, (std::vector<std::string>{"push", "pop"}));
    // 458, 443, then the newer request took over: down at once, then up in steps.
    ASSERT_GE(heights.size(), 4u);
    EXPECT_EQ(heights[0], 458);
    EXPECT_EQ(heights[1], 443);
    EXPECT_EQ(heights[2], 20);
    EXPECT_EQ(heights[3], 35);
    EXPECT_EQ(heights.back(), 473);
}

TEST_F(PanelTest, ManyRequestsDuringASlideEndAsTheLastOneAsked) {
    QTimer::singleShot(0, form.get(), [&] {
        panel->Pop();
        panel->Push();
        panel->Pop(); // the last word
    });
    panel->Push();
    EXPECT_EQ(current(), 473);
    EXPECT_TRUE(panel->Expanded());
}

TEST_F(PanelTest, AStyleChangeDuringTheCollapseEndsAtTheNewBar) {
    QTimer::singleShot(0, form.get(), [&] { panel->SetUIStyle(Protein); });
    panel->Push();
    EXPECT_EQ(current(), 21);
    EXPECT_EQ(panel->Height(), 473);
    panel->Pop();
    EXPECT_EQ(current(), 473);
}

TEST_F(PanelTest, ClosingTheWindowDuringTheSlideTouchesNothingThatIsGone) {
    QPointer<TsuiPanel> watch(panel);
    int pushes = 0;
    panel->OnPush = [&](TComponent*) { ++pushes; };
    QTimer::singleShot(0, qApp, [&] { form.reset(); });
    clickButton();
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(pushes, 0);
}

} // namespace

TEST_F(PanelTest, ThePaintedPanelFollowsEveryChangeAndAnUnchangedSetterPaintsNothing) {
    const auto make = [this] {
        auto* p = new TsuiPanel(form.get());
        p->SetParent(form.get());
        p->SetBounds(0, 64, 400, 200);
        p->SetCaption(QStringLiteral("News"));
        return p;
    };
    ExpectKeptPictureFollowsChanges<TsuiPanel>(
        make, {{"caption", [](TsuiPanel* p) { p->SetCaption(QString::fromUtf8("新闻内容")); }},
               {"border colour", [](TsuiPanel* p) { p->SetBorderColor(0x0000FF); }},
               {"caption colour", [](TsuiPanel* p) { p->SetCaptionFontColor(0x00FF00); }},
               {"font", [](TsuiPanel* p) { p->Font().SetHeight(16); }},
               {"colour", [](TsuiPanel* p) { p->SetColor(0xC0C0C0); }},
               {"width", [](TsuiPanel* p) { p->TControl::SetWidth(300); }},
               {"button", [](TsuiPanel* p) { p->SetShowButton(false); }},
               {"style", [](TsuiPanel* p) { p->SetUIStyle(WinXP); }}});

    Settle();
    PaintCounter counter(panel);
    panel->SetBorderColor(panel->BorderColor());
    panel->SetCaptionFontColor(panel->CaptionFontColor());
    panel->SetShowButton(panel->ShowButton());
    Settle();
    EXPECT_EQ(counter.paints, 0);
}
