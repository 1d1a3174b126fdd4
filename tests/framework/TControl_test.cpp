// Controls: classic alignment order, the aligned-children rectangle hook, the size veto and
// constraints, resize notices, mouse and key events, exceptions from handlers.
#include "framework/TCanvas.h"
#include "framework/TControl.h"
#include "framework/TPanel.h"
#include "framework/TScriptedPlatform.h"
#include "tests/support/GuiTest.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace {

TControl* makeChild(TControl* parent, TAlign align, int l, int t, int w, int h) {
    auto* c = new TControl(parent);
    c->SetParent(parent);
    c->SetBounds(l, t, w, h);
    c->SetAlign(align);
    return c;
}

// A parent that aligns its children in a rectangle of its own, as a captioned panel does.
class BarParent : public TControl {
public:
    using TControl::TControl;
    int alignCalls = 0;

protected:
    void AlignControls(TControl* a, TRect& r) override {
        ++alignCalls;
        r.Left += 3;
        r.Right -= 3;
        r.Bottom -= 3;
        r.Top = 23;
        TControl::AlignControls(a, r);
    }
};

// Refuses widths under 50 while open, as the side channel does.
class Vetoing : public TControl {
public:
    using TControl::TControl;
    bool open = true;

protected:
    bool CanResize(int& w, int&) override { return !(open && w < 50); }
};

TEST(Align, ClassicOrderTopBottomLeftRightClient) {
    TControl parent(nullptr);
    parent.SetBounds(0, 0, 400, 300);
    TControl* client = makeChild(&parent, alClient, 0, 0, 10, 10);
    TControl* right = makeChild(&parent, alRight, 0, 0, 30, 10);
    TControl* left = makeChild(&parent, alLeft, 0, 0, 40, 10);
    TControl* bottom = makeChild(&parent, alBottom, 0, 0, 10, 20);
    TControl* top = makeChild(&parent, alTop, 0, 0, 10, 25);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 400, 25));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 280, 400, 300));
    EXPECT_EQ(left->BoundsRect(), Rect(0, 25, 40, 280));
    EXPECT_EQ(right->BoundsRect(), Rect(370, 25, 400, 280));
    EXPECT_EQ(client->BoundsRect(), Rect(40, 25, 370, 280));
    // Resizing the parent lays them out again at once.
    parent.SetBounds(0, 0, 500, 200);
    EXPECT_EQ(client->BoundsRect(), Rect(40, 25, 470, 180));
    EXPECT_EQ(right->BoundsRect(), Rect(470, 25, 500, 180));
}

TEST(Align, PeersStackByPositionAndHiddenOnesDropOut) {
    TControl parent(nullptr);
    parent.SetBounds(0, 0, 300, 100);
    TControl* second = makeChild(&parent, alNone, 200, 0, 20, 10);
    TControl* first = makeChild(&parent, alNone, 5, 0, 50, 10);
    // Aligned together, they keep the order of their positions.
    parent.DisableAlign();
    second->SetAlign(alLeft);
    first->SetAlign(alLeft);
    parent.EnableAlign();
    EXPECT_EQ(first->Left(), 0);
    EXPECT_EQ(second->Left(), 50);
    first->Hide();
    EXPECT_EQ(second->Left(), 0);
    first->Show();
    EXPECT_EQ(first->Left(), 0);
    EXPECT_EQ(second->Left(), 50);

    // On the right the one whose right edge lies further right goes outermost.
    TControl rightParent(nullptr);
    rightParent.SetBounds(0, 0, 300, 100);
    TControl* inner = makeChild(&rightParent, alNone, 100, 0, 20, 10);
    TControl* outer = makeChild(&rightParent, alNone, 250, 0, 40, 10);
    rightParent.DisableAlign();
    outer->SetAlign(alRight);
    inner->SetAlign(alRight);
    rightParent.EnableAlign();
    EXPECT_EQ(outer->Left(), 260);
    EXPECT_EQ(inner->Left(), 240);
    outer->Hide();
    EXPECT_EQ(inner->Left(), 280);

    // Top and bottom in the same way: the higher one on top, the lower one at the bottom.
    TControl column(nullptr);
    column.SetBounds(0, 0, 100, 300);
    TControl* upper = makeChild(&column, alNone, 0, 90, 10, 20);
    TControl* topmost = makeChild(&column, alNone, 0, 10, 10, 30);
    TControl* above = makeChild(&column, alNone, 0, 150, 10, 15);
    TControl* lowest = makeChild(&column, alNone, 0, 260, 10, 25);
    column.DisableAlign();
    upper->SetAlign(alTop);
    topmost->SetAlign(alTop);
    lowest->SetAlign(alBottom);
    above->SetAlign(alBottom);
    column.EnableAlign();
    EXPECT_EQ(topmost->Top(), 0);
    EXPECT_EQ(upper->Top(), 30);
    EXPECT_EQ(lowest->Top(), 275);
    EXPECT_EQ(above->Top(), 260);
}

TEST(Align, OverriddenRectangleAndPanelBevel) {
    BarParent parent(nullptr);
    parent.SetBounds(0, 0, 697, 473);
    TControl* side = makeChild(&parent, alLeft, 0, 0, 277, 10);
    EXPECT_EQ(side->BoundsRect(), Bounds(3, 23, 277, 447));

    TPanel panel(nullptr);
    panel.SetBounds(0, 0, 200, 100);
    TControl* inPanel = makeChild(&panel, alClient, 0, 0, 1, 1);
    // Raised outer bevel of width 1 comes off every side.
    EXPECT_EQ(inPanel->BoundsRect(), Rect(1, 1, 199, 99));
    panel.SetBorderWidth(2);
    EXPECT_EQ(inPanel->BoundsRect(), Rect(3, 3, 197, 97));
    panel.SetBevelOuter(bvNone);
    panel.SetBorderWidth(0);
    EXPECT_EQ(inPanel->BoundsRect(), Rect(0, 0, 200, 100));
}

TEST(SizeVeto, RefusedWidthKeepsTheOldSizeButMoves) {
    TControl parent(nullptr);
    parent.SetBounds(0, 0, 400, 300);
    auto* v = new Vetoing(&parent);
    v->SetParent(&parent);
    v->SetBounds(4, 24, 277, 100);
    v->SetWidth(0);
    EXPECT_EQ(v->Width(), 277);
    v->SetBounds(10, 24, 20, 100);
    EXPECT_EQ(v->Left(), 10);
    EXPECT_EQ(v->Width(), 277);
    v->open = false;
    v->SetWidth(10);
    EXPECT_EQ(v->Width(), 10);
    // An aligned control that keeps its size leaves the rest of the rectangle to the others.
    v->open = true;
    v->SetWidth(100);
    v->SetAlign(alLeft);
    TControl* client = makeChild(&parent, alClient, 0, 0, 1, 1);
    EXPECT_EQ(client->Left(), 100);
}

TEST(SizeVeto, ConstraintsClampTheSize) {
    TControl c(nullptr);
    c.SetConstraints(TSizeConstraints{130, 50, 0, 0});
    c.SetBounds(0, 0, 20, 20);
    EXPECT_EQ(c.Width(), 130);
    EXPECT_EQ(c.Height(), 50);
}

TEST(Resize, ReportedAtOnceEvenWhileHidden) {
    TControl c(nullptr);
    int resizes = 0;
    c.OnResize = [&](TComponent* s) {
        EXPECT_EQ(s, &c);
        ++resizes;
    };
    c.SetBounds(0, 0, 100, 50);
    EXPECT_EQ(resizes, 1);
    c.SetBounds(10, 10, 100, 50); // a move is no resize
    EXPECT_EQ(resizes, 1);
    c.SetHeight(60);
    EXPECT_EQ(resizes, 2);
    EXPECT_EQ(c.ClientRect(), Rect(0, 0, 100, 60));
}

TEST(Events, ClickDoubleClickAndCharacterKeys) {
    TControl parent(nullptr);
    parent.SetBounds(0, 0, 100, 100);
    TControl* c = makeChild(&parent, alNone, 10, 10, 50, 50);
    std::vector<std::string> log;
    c->OnMouseDown = [&](TComponent*, TMouseButton b, TShiftState s, int x, int y) {
        log.push_back("down " + std::to_string(b) + (s & ssDouble ? " double " : " ") + std::to_string(x) +
                      "," + std::to_string(y));
    };
    c->OnClick = [&](TComponent*) { log.push_back("click"); };
    c->OnDblClick = [&](TComponent*) { log.push_back("dblclick"); };
    char16_t typed = 0;
    c->OnKeyPress = [&](TComponent*, char16_t& k) { typed = k; };
    const QPointF p(5, 6);
    QMouseEvent press(QEvent::MouseButtonPress, p, c->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, p, c->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, p, c->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(c, &press);
    QApplication::sendEvent(c, &release);
    QApplication::sendEvent(c, &dbl);
    QApplication::sendEvent(c, &release);
    EXPECT_EQ(log, (std::vector<std::string>{"down 0 5,6", "click", "dblclick", "down 0 double 5,6"}));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(c, &enter);
    EXPECT_EQ(typed, 13);
    typed = 0;
    QKeyEvent arrow(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(c, &arrow);
    EXPECT_EQ(typed, 0);
}

TEST(Events, ExceptionFromAHandlerReachesTheStandardErrorBox) {
    TScriptedPlatform platform;
    Application->SetTitle("Zelmora新闻浏览器");
    TControl c(nullptr);
    c.SetBounds(0, 0, 20, 20);
    c.OnClick = [](TComponent*) { throw Exception("Unable to write to /tmp/x/config.ini"); };
    const QPointF p(1, 1);
    QMouseEvent press(QEvent::MouseButtonPress, p, p, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, p, p, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&c, &press);
    QApplication::sendEvent(&c, &release);
    ASSERT_EQ(platform.Boxes.size(), 1u);
    EXPECT_EQ(platform.Boxes[0].Text, "Unable to write to /tmp/x/config.ini.");
    EXPECT_EQ(platform.Boxes[0].Caption, "Zelmora新闻浏览器");
    EXPECT_EQ(platform.Boxes[0].Flags, MB_OK | MB_ICONSTOP);
    // A message that already ends in punctuation gets no second full stop.
    Application->HandleException(Exception("Can't push."));
    EXPECT_EQ(platform.Boxes[1].Text, "Can't push.");
}

TEST(Application, MessageHookSeesAndSwallowsEvents) {
    TControl c(nullptr);
    c.SetBounds(0, 0, 20, 20);
    char16_t typed = 0;
    c.OnKeyPress = [&](TComponent*, char16_t& k) { typed = k; };
    int seen = 0;
    Application->OnMessage = [&](QObject* receiver, QEvent* e, bool& handled) {
        if (receiver == &c && e->type() == QEvent::KeyPress) {
            ++seen;
            handled = static_cast<QKeyEvent*>(e)->key() == Qt::Key_A;
        }
    };
    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QKeyEvent b(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
    QApplication::sendEvent(&c, &a);
    EXPECT_EQ(typed, 0);
    QApplication::sendEvent(&c, &b);
    EXPECT_EQ(typed, u'b');
    EXPECT_EQ(seen, 2);
    Application->OnMessage = nullptr;
}

TEST(Paint, DefaultPaintFillsTheColour) {
    TControl c(nullptr);
    c.SetBounds(0, 0, 10, 10);
    c.SetColor(RGB(10, 20, 30));
    QImage img = zeltest::Grab(&c);
    EXPECT_EQ(zeltest::PixelBGR(img, 0, 0), RGB(10, 20, 30));
    EXPECT_EQ(zeltest::PixelBGR(img, 9, 9), RGB(10, 20, 30));
    // Outside a paint the canvas still measures text in the control's font.
    c.Font().SetHeight(14);
    EXPECT_GT(c.Canvas()->TextWidth("A"), 0);
}

TEST(Hint, ALongHintIsShownCutAndKeptWhole) {
    TControl c(nullptr);
    c.SetShowHint(true);
    const QString longHint = QString(100000, QLatin1Char('x'));
    c.SetHint(longHint);
    EXPECT_EQ(c.Hint(), longHint);
    EXPECT_LE(c.toolTip().size(), 513);
    EXPECT_TRUE(c.toolTip().startsWith(QStringLiteral("xxxx")));
    c.SetHint(QStringLiteral("short"));
    EXPECT_EQ(c.toolTip(), QStringLiteral("short"));
    c.SetShowHint(false);
    EXPECT_TRUE(c.toolTip().isEmpty());
}

} // namespace
