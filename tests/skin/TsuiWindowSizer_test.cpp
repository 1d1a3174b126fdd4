// The sizing band of the frameless window: edges, cursors, and the resize that follows the
// pointer where the platform refuses its own (the off-screen platform always refuses).
#include "framework/TForm.h"
#include "skin/TsuiWindowSizer.h"
#include "tests/support/GuiTest.h"

#include <QMouseEvent>
#include <QWindow>

namespace {

TEST(TsuiWindowSizer, BandEdgesAndCorners) {
    const int w = 300, h = 200;
    EXPECT_EQ(BandEdgesAt({0, 100}, w, h, 3, 12), Qt::Edges(Qt::LeftEdge));
    EXPECT_EQ(BandEdgesAt({2, 100}, w, h, 3, 12), Qt::Edges(Qt::LeftEdge));
    EXPECT_EQ(BandEdgesAt({3, 100}, w, h, 3, 12), Qt::Edges());
    EXPECT_EQ(BandEdgesAt({299, 100}, w, h, 3, 12), Qt::Edges(Qt::RightEdge));
    EXPECT_EQ(BandEdgesAt({150, 0}, w, h, 3, 12), Qt::Edges(Qt::TopEdge));
    EXPECT_EQ(BandEdgesAt({150, 198}, w, h, 3, 12), Qt::Edges(Qt::BottomEdge));
    EXPECT_EQ(BandEdgesAt({1, 1}, w, h, 3, 12), Qt::LeftEdge | Qt::TopEdge);
    // Either side of a corner grips both edges.
    EXPECT_EQ(BandEdgesAt({1, 190}, w, h, 3, 12), Qt::LeftEdge | Qt::BottomEdge);
    EXPECT_EQ(BandEdgesAt({292, 199}, w, h, 3, 12), Qt::RightEdge | Qt::BottomEdge);
    EXPECT_EQ(BandEdgesAt({299, 5}, w, h, 3, 12), Qt::RightEdge | Qt::TopEdge);
    EXPECT_EQ(BandEdgesAt({-1, 5}, w, h, 3, 12), Qt::Edges());
}

TEST(TsuiWindowSizer, ResizeByTravelStopsAtTheMinimumSize) {
    const TRect start = Bounds(100, 100, 300, 200);
    EXPECT_EQ(ResizeByTravel(start, Qt::LeftEdge, -20, 0, 130, 50), Bounds(80, 100, 320, 200));
    EXPECT_EQ(ResizeByTravel(start, Qt::RightEdge | Qt::BottomEdge, 15, 25, 130, 50),
              Bounds(100, 100, 315, 225));
    // Dragged past the minimum: the dragged edge stops, the other stays.
    EXPECT_EQ(ResizeByTravel(start, Qt::LeftEdge, 250, 0, 130, 50), Bounds(270, 100, 130, 200));
    EXPECT_EQ(ResizeByTravel(start, Qt::TopEdge, 0, 500, 130, 50), Bounds(100, 250, 300, 50));
    EXPECT_EQ(ResizeByTravel(start, Qt::BottomEdge, 0, -500, 130, 50), Bounds(100, 100, 300, 50));
}

struct SizedWindow : ::testing::Test {
    TForm* form = new TForm(nullptr);
    TsuiWindowSizer* sizer = nullptr;
    void SetUp() override {
        form->setWindowFlag(Qt::FramelessWindowHint, true);
        form->SetConstraints(TSizeConstraints{130, 50, 0, 0});
        form->SetBounds(100, 100, 300, 200);
        form->Show();
        sizer = new TsuiWindowSizer(form);
        sizer->Attach();
    }
    void TearDown() override { delete form; }

    void send(QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWindow* w = form->windowHandle();
        const QPoint global = w->mapToGlobal(local);
        QMouseEvent e(type, QPointF(local), QPointF(global), button, buttons, mods);
        QCoreApplication::sendEvent(w, &e);
    }
};

TEST_F(SizedWindow, PointerShowsTheResizeCursorOverTheBandOnly) {
    send(QEvent::MouseMove, {1, 100}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(form->cursor().shape(), Qt::SizeHorCursor);
    send(QEvent::MouseMove, {150, 199}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(form->cursor().shape(), Qt::SizeVerCursor);
    send(QEvent::MouseMove, {299, 199}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(form->cursor().shape(), Qt::SizeFDiagCursor);
    send(QEvent::MouseMove, {0, 199}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(form->cursor().shape(), Qt::SizeBDiagCursor);
    send(QEvent::MouseMove, {150, 100}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(SizedWindow, EdgeAndCornerDragsResizeWhenThePlatformRefuses) {
    send(QEvent::MouseButtonPress, {1, 100}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(sizer->Following());
    send(QEvent::MouseMove, {-19, 100}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(form->BoundsRect(), Bounds(80, 100, 320, 200));
    send(QEvent::MouseButtonRelease, {-19, 100}, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(sizer->Following());

    // Bottom-right corner; and never below the minimum size.
    const QPoint corner(form->width() - 1, form->height() - 1);
    send(QEvent::MouseButtonPress, corner, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, corner + QPoint(30, 40), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(form->BoundsRect(), Bounds(80, 100, 350, 240));
    send(QEvent::MouseMove, corner + QPoint(-1000, -1000), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(form->Width(), 130);
    EXPECT_EQ(form->Height(), 50);
    send(QEvent::MouseButtonRelease, corner, Qt::LeftButton, Qt::NoButton);
}

TEST_F(SizedWindow, AltDragMovesTheWindowAnywhere) {
    send(QEvent::MouseButtonPress, {150, 100}, Qt::LeftButton, Qt::LeftButton, Qt::AltModifier);
    send(QEvent::MouseMove, {170, 130}, Qt::NoButton, Qt::LeftButton, Qt::AltModifier);
    EXPECT_EQ(form->BoundsRect(), Bounds(120, 130, 300, 200));
    send(QEvent::MouseButtonRelease, {170, 130}, Qt::LeftButton, Qt::NoButton);
    // A plain press inside is not the sizer's.
    send(QEvent::MouseButtonPress, {150, 100}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(sizer->Following());
}

TEST_F(SizedWindow, NoBandWhileMaximised) {
    form->SetWindowState(wsMaximized);
    send(QEvent::MouseMove, {1, 100}, Qt::NoButton, Qt::NoButton);
    EXPECT_NE(form->cursor().shape(), Qt::SizeHorCursor);
    send(QEvent::MouseButtonPress, {1, 100}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(sizer->Following());
}

} // namespace
