// The splitter, the speed button, the timer and menus.
#include "framework/TMenu.h"
#include "framework/TSpeedButton.h"
#include "framework/TSplitter.h"
#include "framework/TTimer.h"
#include "tests/support/GuiTest.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>

#include <gtest/gtest.h>

namespace {

void mouse(QWidget* w, QEvent::Type type, int x, int y, Qt::MouseButtons buttons) {
    const QPointF p(x, y);
    QMouseEvent e(type, p, w->mapToGlobal(p), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void drag(QWidget* w, int dx) {
    mouse(w, QEvent::MouseButtonPress, 1, 10, Qt::LeftButton);
    mouse(w, QEvent::MouseMove, 1 + dx, 10, Qt::LeftButton);
    mouse(w, QEvent::MouseButtonRelease, 1 + dx, 10, Qt::NoButton);
}

// Refuses widths below 50, as the open side channel does.
class Side : public TControl {
public:
    using TControl::TControl;

protected:
    bool CanResize(int& w, int&) override { return w >= 50; }
};

struct SplitterFixture : ::testing::Test {
    TControl panel{nullptr};
    Side* side = nullptr;
    TSplitter* splitter = nullptr;
    int moved = 0;
    void SetUp() override {
        panel.SetBounds(0, 0, 697, 473);
        side = new Side(&panel);
        side->SetParent(&panel);
        side->SetBounds(0, 0, 277, 400);
        side->SetAlign(alLeft);
        splitter = new TSplitter(&panel);
        splitter->SetParent(&panel);
        splitter->SetBounds(281, 0, 3, 400);
        splitter->OnMoved = [this](TComponent*) { ++moved; };
    }
};

TEST_F(SplitterFixture, DragResizesTheControlOnItsLeft) {
    EXPECT_EQ(splitter->Left(), 277);
    EXPECT_EQ(splitter->Width(), 3);
    drag(splitter, 50);
    EXPECT_EQ(side->Width(), 327);
    EXPECT_EQ(splitter->Left(), 327);
    EXPECT_EQ(moved, 1);
    // The same size again does not count as a move.
    drag(splitter, 0);
    EXPECT_EQ(moved, 1);
}

TEST_F(SplitterFixture, SizeIsHeldBetweenTheLimits) {
    // Right: the client width less 30 and the other docked widths.
    drag(splitter, 1000);
    EXPECT_EQ(side->Width(), 697 - 30 - 3);
    EXPECT_EQ(moved, 1);
    // Left: the 30-pixel minimum asks for 0, which the control refuses; its width stays.
    drag(splitter, -1000);
    EXPECT_EQ(side->Width(), 664);
    EXPECT_EQ(moved, 2);
    EXPECT_FALSE(splitter->Dragging());
}

TEST_F(SplitterFixture, EscapeCancelsTheDrag) {
    mouse(splitter, QEvent::MouseButtonPress, 1, 10, Qt::LeftButton);
    mouse(splitter, QEvent::MouseMove, 60, 10, Qt::LeftButton);
    EXPECT_TRUE(splitter->Dragging());
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&panel, &esc);
    EXPECT_FALSE(splitter->Dragging());
    mouse(splitter, QEvent::MouseButtonRelease, 60, 10, Qt::NoButton);
    EXPECT_EQ(side->Width(), 277);
    EXPECT_EQ(moved, 0);
}

TEST(SpeedButton, GroupedToggleWithAllUp) {
    TControl parent(nullptr);
    auto* pin = new TSpeedButton(&parent);
    pin->SetParent(&parent);
    pin->SetBounds(0, 0, 20, 16);
    pin->SetGroupIndex(1);
    pin->SetAllowAllUp(true);
    pin->SetFlat(true);
    int clicks = 0;
    pin->OnClick = [&](TComponent*) { ++clicks; };
    auto click = [&](TSpeedButton* b) {
        mouse(b, QEvent::MouseButtonPress, 5, 5, Qt::LeftButton);
        mouse(b, QEvent::MouseButtonRelease, 5, 5, Qt::NoButton);
    };
    click(pin);
    EXPECT_TRUE(pin->Down());
    click(pin);
    EXPECT_FALSE(pin->Down());
    EXPECT_EQ(clicks, 2);
    // A release off the button is no click.
    mouse(pin, QEvent::MouseButtonPress, 5, 5, Qt::LeftButton);
    mouse(pin, QEvent::MouseButtonRelease, 40, 5, Qt::NoButton);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(pin->Down());
    // Without all-up, the group keeps one button down.
    auto* other = new TSpeedButton(&parent);
    other->SetParent(&parent);
    other->SetGroupIndex(1);
    pin->SetAllowAllUp(false);
    click(pin);
    click(pin);
    EXPECT_TRUE(pin->Down());
    other->SetDown(true);
    EXPECT_FALSE(pin->Down());
}

TEST(SpeedButton, GlyphIsDrawnWithoutItsTransparentColour) {
    TSpeedButton b(nullptr);
    b.SetBounds(0, 0, 20, 16);
    b.SetFlat(true);
    b.SetColor(RGB(200, 200, 200));
    b.Glyph().SetSize(7, 9);
    b.Glyph().Canvas().Brush().SetColor(clWhite);
    b.Glyph().Canvas().FillRect(Rect(0, 0, 7, 9));
    b.Glyph().Canvas().SetPixels(3, 4, clBlack);
    QImage img = zeltest::Grab(&b);
    // Centred: (20 - 7) / 2 = 6, (16 - 9) / 2 = 3; white is the bottom-left colour, left out.
    EXPECT_EQ(zeltest::PixelBGR(img, 6 + 3, 3 + 4), clBlack);
    EXPECT_EQ(zeltest::PixelBGR(img, 6, 3), RGB(200, 200, 200));
    zeltest::SaveOnFailure(img, "speedbutton_glyph");
}

TEST(Timer, TicksOnlyWhileEnabledWithAHandler) {
    TTimer timer(nullptr);
    timer.SetInterval(5);
    EXPECT_FALSE(timer.Active());
    int ticks = 0;
    timer.SetOnTimer([&](TComponent*) { ++ticks; });
    EXPECT_TRUE(timer.Active());
    EXPECT_TRUE(zeltest::WaitFor([&] { return ticks >= 2; }, 10000));
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Active());
    const int seen = ticks;
    QCoreApplication::processEvents();
    EXPECT_EQ(ticks, seen);
}

TEST(Menu, ItemsAreOwnedByTheFormAndFreedWithTheirParent) {
    TNonVisualComponent form(nullptr);
    TMainMenu menu(&form);
    auto* file = new TMenuItem(&form);
    file->SetName("N1");
    auto* exit = new TMenuItem(&form);
    exit->SetName("N15");
    exit->SetCaption("退出");
    exit->SetShortCut(QKeySequence("Ctrl+Q"));
    menu.Items()->Add(file);
    file->Add(exit);
    EXPECT_EQ(form.FindComponent("n15"), exit);
    EXPECT_EQ(exit->Parent(), file);
    EXPECT_EQ(exit->GetParentMenu(), &menu);
    int changes = 0, clicks = 0;
    menu.OnChange = [&](TMenu*, TMenuItem*, bool) { ++changes; };
    exit->OnClick = [&](TComponent*) { ++clicks; };
    exit->SetCaption("Exit");
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(menu.IsShortCut(QKeySequence("Ctrl+Q")));
    EXPECT_FALSE(menu.IsShortCut(QKeySequence("Ctrl+W")));
    exit->SetEnabled(false);
    EXPECT_FALSE(menu.IsShortCut(QKeySequence("Ctrl+Q")));
    EXPECT_EQ(clicks, 1);
    QPointer<TMenuItem> child(exit);
    delete file;
    EXPECT_TRUE(child.isNull());
    EXPECT_EQ(form.ComponentCount(), 1); // the menu
    EXPECT_EQ(menu.Items()->Count(), 0);
}

TEST(Menu, OwnerDrawnItemsAreMeasuredAndDrawnByTheirHandlers) {
    TNonVisualComponent form(nullptr);
    TMainMenu menu(&form);
    auto* top = new TMenuItem(&form);
    menu.Items()->Add(top);
    std::vector<std::string> drawn;
    for (const char* caption : {"国际时事", "-"}) {
        auto* item = new TMenuItem(&form);
        item->SetCaption(QString::fromUtf8(caption));
        item->OnMeasureItem = [](TMenuItem* s, TCanvas&, int& w, int& h) {
            w = 120;
            h = s->IsLine() ? 5 : 21;
        };
        item->OnDrawItem = [&drawn](TMenuItem* s, TCanvas&, TRect r, bool) {
            drawn.push_back(s->Caption().toStdString() + " " + std::to_string(r.Height()));
        };
        top->Add(item);
    }
    std::unique_ptr<QMenu> drop(top->DropDown());
    ASSERT_EQ(drop->actions().size(), 2);
    drop->grab();
    EXPECT_EQ(drop->actionGeometry(drop->actions()[0]).height(), 21);
    EXPECT_EQ(drop->actionGeometry(drop->actions()[1]).height(), 5);
    EXPECT_EQ(drawn, (std::vector<std::string>{"国际时事 21", "- 5"}));
}

} // namespace
