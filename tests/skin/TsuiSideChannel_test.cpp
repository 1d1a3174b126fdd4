// The side channel: its states and slides, the leave check, the size veto, the pin button, the
// pixels of the five styles, theme files, and requests that arrive in the middle of a slide.
#include "framework/TBitmap.h"
#include "framework/TSpeedButton.h"
#include "framework/TTimer.h"
#include "skin/SuiDrawing.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiPanel.h"
#include "skin/TsuiSideChannel.h"
#include "tests/skin/SkinTestSupport.h"

#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <string>

namespace {

using namespace zeltest;

// The pin glyph, upright, as drawn on the button face ('X' black).
const std::vector<std::string> kPin = {".XXXXX.", ".X..XX.", ".X..XX.", ".X..XX.", ".X..XX.",
                                       "XXXXXXX", "...X...", "...X...", "...X..."};

std::vector<std::string> turnedClockwise(const std::vector<std::string>& rows) {
    const int h = int(rows.size()), w = int(rows[0].size());
    std::vector<std::string> out(size_t(w), std::string(size_t(h), '.'));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out[size_t(x)][size_t(h - 1 - y)] = rows[size_t(y)][size_t(x)];
    return out;
}

class SideChannelTest : public SkinFormTest {
protected:
    TControl* holder = nullptr;
    TsuiSideChannel* channel = nullptr;
    std::vector<std::string> events;

    void SetUp() override {
        SkinFormTest::SetUp();
        // Docked at the left of a 445-pixel-high holder, as in the reader's window.
        holder = new TControl(form.get());
        holder->SetParent(form.get());
        holder->SetBounds(0, 0, 700, 445);
        channel = new TsuiSideChannel(form.get());
        channel->SetParent(holder);
        channel->SetCaption(QStringLiteral("News"));
        channel->OnPop = [this](TComponent*) { events.push_back("pop"); };
        channel->OnPush = [this](TComponent*) { events.push_back("push"); };
        channel->OnPin = [this](TComponent*) { events.push_back("pin"); };
        channel->OnUnPin = [this](TComponent*) { events.push_back("unpin"); };
        Settle();
    }

    int current() const { return channel->TControl::Width(); }

    // A real click on the pin button.
    void clickPin() {
        TSpeedButton* b = channel->PinButton();
        const QPointF p(5, 5);
        QMouseEvent press(QEvent::MouseButtonPress, p, b->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(b, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, p, b->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(b, &release);
    }
    void moveOverBar() {
        const QPointF p(4, 100);
        QMouseEvent move(QEvent::MouseMove, p, channel->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(channel, &move);
    }
    void releaseOverBar() {
        const QPointF p(4, 100);
        QMouseEvent release(QEvent::MouseButtonRelease, p, channel->mapToGlobal(p), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(channel, &release);
    }
    // Runs f from the event loop, i.e. between two steps of a slide that starts next.
    void duringNextSlide(std::function<void()> f) { QTimer::singleShot(0, form.get(), std::move(f)); }
};

TEST_F(SideChannelTest, ANewChannelStartsCollapsedAndWidthOnlyStoresTheExpandedWidth) {
    EXPECT_EQ(current(), 10);
    EXPECT_EQ(channel->Width(), 0);
    EXPECT_FALSE(channel->Popped());
    EXPECT_FALSE(channel->PinButton()->Visible());
    EXPECT_FALSE(channel->LeaveTimer()->Enabled());
    EXPECT_EQ(channel->UIStyle(), DeepBlue);
    EXPECT_EQ(channel->SideBarWidth(), 10);
    channel->SetSideBarWidth(40);
    EXPECT_EQ(channel->SideBarWidth(), 10);

    channel->SetWidth(277);
    EXPECT_EQ(current(), 10);
    EXPECT_EQ(channel->Width(), 277);
    // Published: the expanded width, by name, as the settings code and a theme manager see it.
    EXPECT_EQ(GetPublishedProp(channel, "Width").toInt(), 277);
    EXPECT_EQ(GetPublishedProp(channel, "UIStyle").toInt(), int(DeepBlue));
}

TEST_F(SideChannelTest, StayOnSlidesOpenInFifteenPixelStepsEachPaintedBeforeTheNext) {
    channel->SetWidth(277);
    PaintRecorder painted(channel, false);
    std::vector<int> sized;
    channel->OnResize = [&](TComponent*) { sized.push_back(current()); };
    channel->SetStayOn(true);

    std::vector<int> want = Steps(25, 15, 17); // 25, 40, ..., 265
    want.push_back(277);
    EXPECT_EQ(painted.sizes, want);
    EXPECT_EQ(std::vector<int>(sized.begin(), sized.end() - 1), want); // the last: the resize step
    EXPECT_EQ(current(), 277);
    EXPECT_TRUE(channel->Popped());
    EXPECT_TRUE(channel->StayOn());
    EXPECT_TRUE(channel->PinButton()->Down());
    EXPECT_FALSE(channel->LeaveTimer()->Enabled());
    EXPECT_EQ(events, (std::vector<std::string>{"pop", "pin"}));
    EXPECT_EQ(channel->PinButton()->Left(), 256);
    EXPECT_EQ(channel->PinButton()->Top(), 2);
}

TEST_F(SideChannelTest, QuickMoveJumpsToTheFullWidth) {
    channel->SetWidth(277);
    channel->SetQuickMove(true);
    std::vector<int> sized;
    channel->OnResize = [&](TComponent*) { sized.push_back(current()); };
    channel->SetStayOn(true);
    EXPECT_EQ(sized, (std::vector<int>{277, 277}));
}

TEST_F(SideChannelTest, StayOnFalseCollapsesAtOnceAndFiresUnPinEvenWhenAlreadyUnpinned) {
    channel->SetWidth(277);
    channel->SetStayOn(true);
    events.clear();
    std::vector<int> sized;
    channel->OnResize = [&](TComponent*) { sized.push_back(current()); };
    channel->SetStayOn(false);
    EXPECT_EQ(sized, (std::vector<int>{10, 10})); // no slide, whatever QuickMove says
    EXPECT_EQ(events, (std::vector<std::string>{"push", "unpin"}));
    EXPECT_FALSE(channel->PinButton()->Down());
    // The timer stays on until a tick finds the pointer outside.
    EXPECT_TRUE(channel->LeaveTimer()->Enabled());

    events.clear();
    channel->SetStayOn(false);
    EXPECT_EQ(events, (std::vector<std::string>{"push", "unpin"}));
    platform.Cursor = Point(-5, -5);
    channel->LeaveCheck();
    EXPECT_EQ(events.back(), "push");
    EXPECT_FALSE(channel->LeaveTimer()->Enabled());
    EXPECT_EQ(channel->Width(), 277); // kept while collapsed
}

TEST_F(SideChannelTest, TheLeaveCheckCountsTheEdgePixelsAsOutside) {
    channel->SetWidth(277);
    channel->SetQuickMove(true);
    channel->SetStayOn(true);
    clickPin(); // unpinned, still open
    ASSERT_EQ(events, (std::vector<std::string>{"pop", "pin", "unpin"}));
    ASSERT_FALSE(channel->StayOn());
    ASSERT_TRUE(channel->LeaveTimer()->Enabled());

    platform.Cursor = channel->ClientToScreen(Point(100, 200)); // over the list area
    channel->LeaveCheck();
    EXPECT_TRUE(channel->Popped());
    platform.Cursor = channel->ClientToScreen(Point(276, 444)); // right and bottom pixels: inside
    channel->LeaveCheck();
    EXPECT_TRUE(channel->Popped());

    platform.Cursor = channel->ClientToScreen(Point(0, 200)); // the outermost column
    channel->LeaveCheck();
    EXPECT_FALSE(channel->Popped());
    EXPECT_EQ(current(), 10);
    EXPECT_FALSE(channel->LeaveTimer()->Enabled());

    // Out again over the bar, and the pointer well away.
    moveOverBar();
    ASSERT_TRUE(channel->Popped());
    platform.Cursor = channel->ClientToScreen(Point(100, 0)); // the top row
    channel->LeaveCheck();
    EXPECT_FALSE(channel->Popped());
    moveOverBar();
    platform.Cursor = channel->ClientToScreen(Point(400, 200));
    channel->LeaveCheck();
    EXPECT_FALSE(channel->Popped());
}

TEST_F(SideChannelTest, APoppedOutChannelCollapsesAtTheNextTickNotAtOnce) {
    channel->SetWidth(277);
    channel->SetQuickMove(true);
    moveOverBar();
    ASSERT_TRUE(channel->Popped());
    platform.Cursor = channel->ClientToScreen(Point(400, 200));
    Settle();
    EXPECT_TRUE(channel->Popped());
    EXPECT_EQ(channel->LeaveTimer()->Interval(), 1000);
    EXPECT_TRUE(WaitFor([&] { return !channel->Popped(); }, 5000));
    EXPECT_EQ(events, (std::vector<std::string>{"pop", "push"}));
}

TEST_F(SideChannelTest, MouseOverPopsOutOnlyForTheActiveWindowAndClickModeOnlyOnRelease) {
    channel->SetWidth(277);
    channel->SetQuickMove(true);
    QApplication::setActiveWindow(nullptr);
    moveOverBar();
    EXPECT_FALSE(channel->Popped());
    QApplication::setActiveWindow(form.get());
    moveOverBar();
    EXPECT_TRUE(channel->Popped());
    EXPECT_EQ(current(), 277);

    channel->SetStayOn(false);
    channel->SetPopupMode(TsuiSideChannel::suiMouseClick);
    moveOverBar();
    EXPECT_FALSE(channel->Popped());
    QApplication::setActiveWindow(nullptr); // no active-window test in this mode
    releaseOverBar();
    EXPECT_TRUE(channel->Popped());
}

TEST_F(SideChannelTest, AnOpenChannelRefusesWidthsBelowFifty) {
    channel->SetWidth(277);
    channel->SetStayOn(true);
    channel->TControl::SetWidth(49);
    EXPECT_EQ(current(), 277);
    EXPECT_EQ(channel->Width(), 277);
    channel->TControl::SetWidth(50);
    EXPECT_EQ(current(), 50);
    EXPECT_EQ(channel->Width(), 50); // resizing the open channel sets its expanded width
    EXPECT_EQ(channel->PinButton()->Left(), 29);
}

TEST_F(SideChannelTest, WithoutItsButtonTheChannelIsPinnedForGood) {
    channel->SetWidth(277);
    channel->SetShowButton(false);
    EXPECT_TRUE(channel->StayOn());
    EXPECT_TRUE(channel->Popped());
    EXPECT_EQ(channel->PinButton()->Top(), -50);
    EXPECT_EQ(events, (std::vector<std::string>{"pop", "pin"}));
    // A style change keeps it out of sight and pinned.
    channel->SetUIStyle(WinXP);
    EXPECT_EQ(channel->PinButton()->Top(), -50);
    EXPECT_TRUE(channel->StayOn());
    channel->SetShowButton(true);
    EXPECT_EQ(channel->PinButton()->Top(), 1);
}

// The grip, whole, at x 1 and vertically centred in a channel h high.
void expectGrip(const QImage& img, const StyleValues& s, int h) {
    TBitmap handle;
    LoadStyleImage(s.style, TStyleEntry::SideChannelHandleImage, &handle, 0, 0);
    ASSERT_EQ(handle.Width(), s.handleWidth);
    ASSERT_EQ(handle.Height(), s.handleHeight);
    const int top = (h - handle.Height()) / 2;
    for (int y = 0; y < handle.Height(); ++y)
        for (int x = 0; x < handle.Width(); ++x)
            ASSERT_EQ(PixelBGR(img, 1 + x, top + y), handle.Canvas().Pixels(x, y)) << x << "," << y;
    EXPECT_EQ(PixelBGR(img, 1, top - 1), s.sideBar);
    EXPECT_EQ(PixelBGR(img, 1, top + handle.Height()), s.sideBar);
}

// The pin glyph at x 262 and row top of the bar: black where the glyph has 'X', elsewhere the
// bar strip's row shows through.
void expectPin(const QImage& img, TBitmap& strip, const std::vector<std::string>& glyph, int top) {
    for (int y = 0; y < int(glyph.size()); ++y)
        for (int x = 0; x < int(glyph[0].size()); ++x) {
            const TColor want =
                glyph[size_t(y)][size_t(x)] == 'X' ? clBlack : strip.Canvas().Pixels(0, top + y);
            ASSERT_EQ(PixelBGR(img, 262 + x, top + y), want) << x << "," << y;
        }
}

TEST_F(SideChannelTest, EachStylePaintsBorderBarSideBarGreyLineHandleAndPinExactly) {
    channel->SetWidth(277);
    channel->SetQuickMove(true);
    for (const StyleValues& s : FiveStyles()) {
        SCOPED_TRACE(s.name);
        channel->SetUIStyle(s.style);
        channel->SetStayOn(true);
        EXPECT_EQ(channel->BarHeight(), s.barHeight);
        EXPECT_EQ(channel->SideBarColor(), s.sideBar);
        EXPECT_EQ(channel->BorderColor(), s.border);
        EXPECT_EQ(channel->CaptionFontColor(), s.caption);
        EXPECT_EQ(channel->Color(), clWhite);
        QImage img = Grab(channel);
        const int w = 277, h = 445, bar = s.barHeight;
        ASSERT_EQ(img.width(), w);
        // Border on the left, right and bottom; the bar covers the top line.
        EXPECT_EQ(PixelBGR(img, 0, 200), s.border);
        EXPECT_EQ(PixelBGR(img, w - 1, 200), s.border);
        EXPECT_EQ(PixelBGR(img, 150, h - 1), s.border);
        EXPECT_EQ(PixelBGR(img, 150, 200), clWhite);
        // The bar strip from x 1 to width - 2; the frame keeps the corners below the bar.
        EXPECT_EQ(PixelBGR(img, 1, 0), s.stripFirst);
        EXPECT_EQ(PixelBGR(img, 15, 1), s.stripSecond);
        EXPECT_EQ(PixelBGR(img, w - 2, bar - 1), s.stripLast);
        EXPECT_EQ(PixelBGR(img, 0, 0), s.border);
        EXPECT_EQ(PixelBGR(img, 1, bar), s.sideBar);
        // Side bar x 1..8, grey line at 9 from the bar down to height - 2.
        EXPECT_EQ(PixelBGR(img, 8, bar + 2), s.sideBar);
        EXPECT_EQ(PixelBGR(img, 9, bar), 0x808080);
        EXPECT_EQ(PixelBGR(img, 9, h - 2), 0x808080);
        EXPECT_EQ(PixelBGR(img, 9, h - 1), s.border);
        EXPECT_EQ(PixelBGR(img, 10, bar + 2), clWhite);
        expectGrip(img, s, h);
        // The pin, turned (pinned, button down): 9 x 7 at (262, 7); its white shows the bar.
        TBitmap strip;
        LoadStyleImage(s.style, TStyleEntry::SideChannelBarImage, &strip, 0, 0);
        expectPin(img, strip, turnedClockwise(kPin), 7);
        // The caption in its colour, between the two 20-pixel margins.
        int captionPixels = 0;
        for (int y = 1; y < bar - 1; ++y)
            for (int x = 21; x < w - 21; ++x)
                captionPixels += PixelBGR(img, x, y) == s.caption;
        EXPECT_GT(captionPixels, 10);
        SaveOnFailure(img, std::string("sidechannel_") + s.name);

        // Unpinned and open: the pin stands upright on the flat button.
        clickPin();
        img = Grab(channel);
        expectPin(img, strip, kPin, 5);
        SaveOnFailure(img, std::string("sidechannel_up_") + s.name);

        // Collapsed: frame, side bar, grey line, nothing else.
        channel->SetStayOn(false);
        img = Grab(channel);
        ASSERT_EQ(img.width(), 10);
        EXPECT_EQ(PixelBGR(img, 0, 200), s.border);
        EXPECT_EQ(PixelBGR(img, 4, bar + 1), s.sideBar);
        EXPECT_EQ(PixelBGR(img, 9, 200), 0x808080);
        EXPECT_EQ(PixelBGR(img, 5, 0), s.stripFirst);
        SaveOnFailure(img, std::string("sidechannel_collapsed_") + s.name);
    }
}

TEST_F(SideChannelTest, TheStyleGoesOnToSkinnedChildrenAndAlignedChildrenSitInsideTheFrame) {
    auto* inner = new TsuiPanel(form.get());
    inner->SetParent(channel);
    inner->SetAlign(alClient);
    channel->SetWidth(277);
    channel->SetStayOn(true);
    EXPECT_EQ(inner->BoundsRect(), Rect(13, 23, 274, 442));
    channel->SetUIStyle(Protein);
    EXPECT_EQ(inner->UIStyle(), Protein);
    EXPECT_EQ(inner->BoundsRect(), Rect(13, 24, 274, 442));
}

class PlainTheme : public TsuiFileTheme {
public:
    explicit PlainTheme(TComponent* owner, TColor fontColor) : TsuiFileTheme(owner), font_(fontColor) {
        SetLoaded(true);
    }
    TColor ColorEntry(int entry) const override {
        switch (entry) {
        case 15:
            return 0x112233;
        case 25:
            return 0x445566;
        case 27:
            return font_;
        default:
            return 0;
        }
    }
    void ImageEntry(int entry, TBitmap& target) const override {
        target.SetSize(entry == 42 ? 1 : 6, entry == 42 ? 24 : 30);
        target.Canvas().Brush().SetColor(entry == 42 ? 0x0000AA : 0x00AA00);
        target.Canvas().FillRect(Rect(0, 0, target.Width(), target.Height()));
    }

private:
    TColor font_;
};

TEST_F(SideChannelTest, AThemeFileReplacesTheStyleUntilItIsDestroyed) {
    auto* theme = new PlainTheme(form.get(), 0x30000);
    channel->SetUIStyle(FromThemeFile);
    EXPECT_EQ(channel->BarHeight(), 20); // no theme yet: DeepBlue
    channel->SetFileTheme(theme);
    EXPECT_EQ(channel->SideBarColor(), 0x112233);
    EXPECT_EQ(channel->BorderColor(), 0x445566);
    EXPECT_EQ(channel->CaptionFontColor(), clBlack);
    EXPECT_EQ(channel->BarHeight(), 24);
    EXPECT_EQ(channel->PinButton()->Top(), 4);
    auto* light = new PlainTheme(form.get(), 0x10000);
    channel->SetFileTheme(light);
    EXPECT_EQ(channel->CaptionFontColor(), clWhite);
    // A built-in style ignores the theme.
    channel->SetUIStyle(WinXP);
    EXPECT_EQ(channel->BorderColor(), 0x686868);
    channel->SetUIStyle(FromThemeFile);
    delete light;
    EXPECT_EQ(channel->FileTheme(), nullptr);
    EXPECT_EQ(channel->UIStyle(), DeepBlue);
    EXPECT_EQ(channel->BarHeight(), 20);
    delete theme;
}

// --- requests in the middle of a slide

TEST_F(SideChannelTest, UnpinningInTheMiddleOfTheOpeningSlideEndsCollapsedWithoutANestedSlide) {
    channel->SetWidth(277);
    std::vector<int> sized;
    channel->OnResize = [&](TComponent*) { sized.push_back(current()); };
    channel->OnPop = [&](TComponent*) { events.push_back("pop"); };
    duringNextSlide([&] { channel->SetStayOn(false); }); // kept: the opening slide still runs
    channel->SetStayOn(true);
    EXPECT_FALSE(channel->Moving());
    EXPECT_EQ(current(), 10);
    EXPECT_FALSE(channel->StayOn());
    EXPECT_FALSE(channel->Popped());
    EXPECT_FALSE(channel->PinButton()->Down());
    EXPECT_EQ(events, (std::vector<std::string>{"pop", "pin", "push", "unpin"}));
    // Up by 15 once, then the newer request took over: to the end at once, then collapsed.
    ASSERT_GE(sized.size(), 3u);
    EXPECT_EQ(sized.front(), 25);
    EXPECT_EQ(sized[1], 277);
    EXPECT_EQ(sized.back(), 10);
}

TEST_F(SideChannelTest, AClickDuringTheSlideDoesNotStartASecondOne) {
    channel->SetWidth(277);
    channel->SetPopupMode(TsuiSideChannel::suiMouseClick);
    int clicks = 0;
    channel->OnResize = [&](TComponent*) {
        // Each step: a release over the bar, as an impatient user gives it.
        if (channel->Moving() && clicks < 5) {
            ++clicks;
            releaseOverBar();
        }
    };
    releaseOverBar();
    EXPECT_EQ(clicks, 5);
    EXPECT_EQ(current(), 277);
    EXPECT_TRUE(channel->Popped());
    EXPECT_EQ(events, (std::vector<std::string>{"pop"}));
}

TEST_F(SideChannelTest, AStyleChangeDuringTheSlideEndsAtTheFullWidthInTheNewStyle) {
    channel->SetWidth(277);
    duringNextSlide([&] { channel->SetUIStyle(WinXP); });
    channel->SetStayOn(true);
    EXPECT_EQ(current(), 277);
    EXPECT_EQ(channel->BarHeight(), 21);
    EXPECT_EQ(channel->BorderColor(), 0x686868);
    EXPECT_TRUE(channel->StayOn());
}

TEST_F(SideChannelTest, ClosingTheWindowDuringTheSlideTouchesNothingThatIsGone) {
    channel->SetWidth(277);
    QPointer<TsuiSideChannel> watch(channel);
    int popsAfter = 0;
    channel->OnPop = [&](TComponent*) { ++popsAfter; };
    QTimer::singleShot(0, qApp, [&] { form.reset(); });
    channel->SetStayOn(true);
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(popsAfter, 0);
}

} // namespace

TEST_F(SideChannelTest, ThePaintedChannelFollowsEveryChangeAndAnUnchangedSetterPaintsNothing) {
    const auto make = [this] {
        auto* c = new TsuiSideChannel(form.get());
        c->SetParent(holder);
        c->SetCaption(QStringLiteral("News"));
        c->SetWidth(200);
        c->SetQuickMove(true);
        c->SetStayOn(true);
        return c;
    };
    ExpectKeptPictureFollowsChanges<TsuiSideChannel>(
        make, {{"caption", [](TsuiSideChannel* c) { c->SetCaption(QString::fromUtf8("新闻标题")); }},
               {"alignment", [](TsuiSideChannel* c) { c->SetAlignmentValue(taLeftJustify); }},
               {"border colour", [](TsuiSideChannel* c) { c->SetBorderColor(0x0000FF); }},
               {"caption colour", [](TsuiSideChannel* c) { c->SetCaptionFontColor(0x00FF00); }},
               {"side bar colour", [](TsuiSideChannel* c) { c->SetSideBarColor(0xFF0000); }},
               {"font", [](TsuiSideChannel* c) { c->Font().SetHeight(16); }},
               {"colour", [](TsuiSideChannel* c) { c->SetColor(0xC0C0C0); }},
               {"collapsed", [](TsuiSideChannel* c) { c->SetStayOn(false); }},
               {"style", [](TsuiSideChannel* c) { c->SetUIStyle(Protein); }}});

    Settle();
    PaintCounter counter(channel);
    channel->SetBorderColor(channel->BorderColor());
    channel->SetCaptionFontColor(channel->CaptionFontColor());
    channel->SetSideBarColor(channel->SideBarColor());
    Settle();
    EXPECT_EQ(counter.paints, 0);
}
