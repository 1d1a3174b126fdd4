// The skinned title bar: its geometry per style, its pictures and caption, the pointer's looks
// and every mouse rule, the window actions, the title-bar menu and the refused settings.
#include "framework/TApplication.h"
#include "framework/TMenu.h"
#include "skin/SuiStyleTable.h"
#include "skin/TsuiFileTheme.h"
#include "tests/skin/TitleBarFixture.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QTimer>

using zeltest::FramedBar;
using zeltest::ShowsPicture;

namespace {

QImage frameOf(TsuiUIStyle style, int frame) {
    TBitmap b;
    LoadStyleImage(style, 5, &b, 18, frame);
    return b.Image();
}

bool samePicture(const TBitmap& a, const QImage& b) {
    return !b.isNull() && a.Image() == b;
}

struct StyleRow {
    TsuiUIStyle style;
    int height, buttonSize, bandTop, leftOffset, rightOffset, minWidth, roundCorner;
    TColor captionColor;
};

const StyleRow kRows[] = {
    {MacOS, 20, 17, 1, 3, -2, 130, 0, clBlack},      {WinXP, 26, 21, 2, 2, -2, 150, 13, clWhite},
    {DeepBlue, 29, 19, -1, 0, 0, 130, 0, clWhite},   {Protein, 20, 19, -1, 0, 0, 130, 0, clWhite},
    {BlueGlass, 30, 19, 3, 4, -3, 270, 11, clWhite},
};

} // namespace

TEST(TitleBar, FramedGeometryOfEveryStyle) {
    for (const StyleRow& row : kRows) {
        SCOPED_TRACE(StyleName(row.style));
        FramedBar f(row.style);
        TsuiTitleBar* bar = f.bar;
        EXPECT_TRUE(bar->IsFramed());
        EXPECT_EQ(bar->Height(), row.height);
        EXPECT_EQ(bar->ButtonBandTop(), row.bandTop);
        EXPECT_EQ(bar->LeftBtnXOffset(), row.leftOffset);
        EXPECT_EQ(bar->RightBtnXOffset(), row.rightOffset);
        EXPECT_EQ(f.form.Constraints().MinWidth, row.minWidth);
        EXPECT_EQ(bar->RoundCorner(), row.roundCorner);
        EXPECT_EQ(bar->Font().Color(), row.captionColor);
        ASSERT_TRUE(bar->HasAllPictures());

        // Buttons: control box, close, maximise, minimise; the first non-control-box button is
        // rightmost, each one frame of the strip apart plus a pixel.
        const QImage image = f.paint();
        const int w = bar->Width();
        int x = w + 1 + row.rightOffset;
        for (int i = 1; i <= 3; ++i) {
            const TsuiTitleBarButton* b = bar->Buttons().Items(i);
            EXPECT_EQ(b->PicNormal().Width(), row.buttonSize);
            EXPECT_EQ(b->PicNormal().Height(), row.buttonSize);
            x -= row.buttonSize + 1;
            EXPECT_TRUE(ShowsPicture(image, x, row.bandTop, b->PicNormal(), b->Transparent()))
                << "button " << i;
        }
        const TsuiTitleBarButton* box = bar->Buttons().Items(0);
        EXPECT_TRUE(ShowsPicture(image, row.leftOffset, row.bandTop, box->PicNormal(), box->Transparent()));

        // The pieces start 3 pixels up and left; the right piece runs 3 pixels past the edge.
        const TBitmap* left = bar->LeftPicture();
        const TBitmap* right = bar->RightPicture();
        EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, left->Image().pixel(3, 3) & 0xFFFFFF);
        if (right->Width() > 3) {
            EXPECT_EQ(image.pixel(w - 1, 0) & 0xFFFFFF,
                      right->Image().pixel(right->Width() - 4, 3) & 0xFFFFFF);
        }
    }
}

TEST(TitleBar, DeepBlueButtonsAndCaptionSitWhereTheFrameExpects) {
    FramedBar f(DeepBlue, 400);
    // A font whose text is 13 pixels high.
    TBitmap probe(1, 1);
    probe.Canvas().Font().Assign(f.bar->Font());
    for (int h = 13; h > 6 && probe.Canvas().TextHeight("Zelmora") > 13; --h)
        probe.Canvas().Font().SetHeight(h);
    ASSERT_EQ(probe.Canvas().TextHeight("Zelmora"), 13);
    f.bar->Font().Assign(probe.Canvas().Font());
    f.bar->SetCaption("Zelmora");
    const QImage image = f.paint();
    TsuiTitleBarButtons& b = f.bar->Buttons();
    EXPECT_TRUE(ShowsPicture(image, 400 - 19, -1, b.Items(1)->PicNormal()));
    EXPECT_TRUE(ShowsPicture(image, 400 - 39, -1, b.Items(2)->PicNormal()));
    EXPECT_TRUE(ShowsPicture(image, 400 - 59, -1, b.Items(3)->PicNormal()));
    EXPECT_TRUE(ShowsPicture(image, 0, -1, b.Items(0)->PicNormal()));
    EXPECT_TRUE(samePicture(b.Items(1)->PicNormal(), frameOf(DeepBlue, 16)));
    EXPECT_TRUE(samePicture(b.Items(2)->PicNormal(), frameOf(DeepBlue, 7)));
    EXPECT_TRUE(samePicture(b.Items(3)->PicNormal(), frameOf(DeepBlue, 13)));
    EXPECT_TRUE(samePicture(b.Items(0)->PicNormal(), frameOf(DeepBlue, 1)));
    EXPECT_EQ(f.bar->CaptionOrigin().X, 24);
    EXPECT_EQ(f.bar->CaptionOrigin().Y, 2);
    EXPECT_EQ(f.bar->ShownCaption(), "Zelmora");
    // White caption ink begins at x 24 or just after (the first glyph's side bearing).
    int firstInk = -1;
    for (int x = 20; x < 60 && firstInk < 0; ++x)
        for (int y = 2; y < 15; ++y)
            if ((image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF) {
                firstInk = x;
                break;
            }
    EXPECT_GE(firstInk, 24);
    EXPECT_LE(firstInk, 26);

    // The bar shown on the screen is the same picture.
    f.form.Show();
    const QImage shown = zeltest::Grab(f.bar);
    EXPECT_EQ(shown.size(), image.size());
    EXPECT_EQ(shown, image);
    if (shown != image) {
        shown.save("titlebar_shown.png");
        image.save("titlebar_painted.png");
    }
}

TEST(TitleBar, CaptionStartsAfterTheIconOrAtSixWithoutAControlBox) {
    FramedBar f(DeepBlue);
    f.bar->SetCaption("A");
    f.bar->Buttons().Items(0)->SetVisible(false);
    f.paint();
    EXPECT_EQ(f.bar->CaptionOrigin().X, 6);

    f.bar->Buttons().Items(0)->SetVisible(true);
    f.bar->SetLeftBtnXOffset(5);
    QImage red(16, 16, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    QGuiApplication::setWindowIcon(QIcon(QPixmap::fromImage(red)));
    f.bar->SetDrawAppIcon(true);
    const QImage image = f.paint();
    QGuiApplication::setWindowIcon(QIcon());
    EXPECT_EQ(f.bar->CaptionOrigin().X, 5 + 21);
    // The icon's top row lies above the bar (band top -1); its second row is the bar's first.
    EXPECT_EQ(zeltest::PixelBGR(image, 5 + 3, 0), 0x0000FF);
    EXPECT_EQ(zeltest::PixelBGR(image, 5 + 3 + 15, 14), 0x0000FF);
    EXPECT_NE(zeltest::PixelBGR(image, 5 + 2, 5), 0x0000FF);
    EXPECT_NE(zeltest::PixelBGR(image, 5 + 3 + 16, 5), 0x0000FF);
}

TEST(TitleBar, ALongCaptionEndsInDotsAndNeverReachesTheButtons) {
    FramedBar f(DeepBlue, 400);
    QString caption;
    for (int i = 0; i < 300; ++i)
        caption += QString::fromUtf8("新闻标题 headline ");
    f.bar->SetCaption(caption);
    f.paint();
    const QString shown = f.bar->ShownCaption();
    ASSERT_TRUE(shown.endsWith("..."));
    EXPECT_TRUE(caption.startsWith(shown.left(shown.size() - 3)));
    TBitmap measure(1, 1);
    measure.Canvas().Font().Assign(f.bar->Font());
    // The leftmost right-hand button starts at 400 - 59.
    EXPECT_LE(f.bar->CaptionOrigin().X + measure.Canvas().TextWidth(shown), 400 - 59);

    // The cut follows a wider bar, a bigger font and a new caption.
    f.form.SetWidth(600);
    ASSERT_EQ(f.bar->Width(), 600);
    f.paint();
    EXPECT_GT(f.bar->ShownCaption().size(), shown.size());
    EXPECT_TRUE(f.bar->ShownCaption().endsWith("..."));
    const QString wide = f.bar->ShownCaption();
    f.bar->Font().SetHeight(f.bar->Font().Height() + 6);
    f.paint();
    EXPECT_LT(f.bar->ShownCaption().size(), wide.size());
    f.bar->SetCaption("Zelmora");
    f.paint();
    EXPECT_EQ(f.bar->ShownCaption(), "Zelmora");
}

TEST(TitleBar, InactiveCaptionTakesTheSystemColourAndActiveGivesTheFontBack) {
    FramedBar f(DeepBlue);
    f.bar->Font().SetHeight(13);
    f.bar->SetCaption("WWWWWWWW");
    const auto inkOf = [&](TColor color) {
        const QImage image = f.paint();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 24; x < 150; ++x)
                n += zeltest::PixelBGR(image, x, y) == ColorToRGB(color);
        return n;
    };
    const int white = inkOf(clWhite);
    EXPECT_GT(white, 20);
    f.bar->SetFormActive(false);
    const TColor inactive = ColorToRGB(clInactiveCaption);
    ASSERT_NE(inactive, ColorToRGB(clWhite));
    EXPECT_GT(inkOf(inactive), 20);
    EXPECT_EQ(f.bar->Font().Color(), clWhite); // the font itself is untouched
    f.bar->SetFormActive(true);
    EXPECT_EQ(inkOf(clWhite), white);
}

TEST(TitleBar, HoverAndPressedLooksFollowTheScriptedPointer) {
    FramedBar f(DeepBlue, 400);
    TsuiTitleBarButton* close = f.bar->Buttons().Items(1);
    f.moveTo(400 - 10, 8);
    EXPECT_EQ(f.bar->HotIndex(), 1);
    QImage image = f.paint();
    EXPECT_TRUE(ShowsPicture(image, 400 - 19, -1, close->PicMouseOn()));
    EXPECT_TRUE(samePicture(close->PicMouseOn(), frameOf(DeepBlue, 17)));

    f.press(400 - 10, 8);
    EXPECT_TRUE(f.bar->Pressed());
    image = f.paint();
    EXPECT_TRUE(ShowsPicture(image, 400 - 19, -1, close->PicMouseDown()));
    EXPECT_TRUE(samePicture(close->PicMouseDown(), frameOf(DeepBlue, 18)));

    // The right and bottom edges of a button still count as on it.
    f.moveTo(400 - 19 + 19, 18, Qt::LeftButton);
    EXPECT_EQ(f.bar->HotIndex(), 1);

    // Off the button, the pressed button shows its normal look again; a release there does
    // nothing.
    bool closed = false;
    f.form.OnCloseQuery = [&](TComponent*, bool& canClose) {
        closed = true;
        canClose = false;
    };
    f.moveTo(200, 10, Qt::LeftButton);
    EXPECT_EQ(f.bar->HotIndex(), -1);
    image = f.paint();
    EXPECT_TRUE(ShowsPicture(image, 400 - 19, -1, close->PicNormal()));
    f.release(200, 10);
    EXPECT_FALSE(closed);
    EXPECT_FALSE(f.bar->Pressed());

    // A real click on it closes the window through its close procedure.
    f.moveTo(400 - 10, 8);
    f.press(400 - 10, 8);
    f.release(400 - 10, 8);
    EXPECT_TRUE(closed);

    f.moveTo(400 - 30, 8);
    EXPECT_EQ(f.bar->HotIndex(), 2);
    f.leave();
    EXPECT_EQ(f.bar->HotIndex(), -1);
}

TEST(TitleBar, DoubleClickTogglesMaximiseAndTheGlyph) {
    FramedBar f(DeepBlue, 400);
    TsuiTitleBarButton* max = f.bar->Buttons().Items(2);
    EXPECT_TRUE(samePicture(max->PicNormal(), frameOf(DeepBlue, 7)));
    f.moveTo(150, 10);
    f.doubleClick(150, 10);
    EXPECT_EQ(f.form.WindowState(), wsMaximized);
    EXPECT_TRUE(samePicture(max->PicNormal(), frameOf(DeepBlue, 10)));
    EXPECT_TRUE(samePicture(max->PicMouseOn(), frameOf(DeepBlue, 11)));
    EXPECT_TRUE(samePicture(max->PicMouseDown(), frameOf(DeepBlue, 12)));
    f.doubleClick(150, 10);
    EXPECT_EQ(f.form.WindowState(), wsNormal);
    EXPECT_TRUE(samePicture(max->PicNormal(), frameOf(DeepBlue, 7)));
    EXPECT_TRUE(samePicture(max->PicMouseOn(), frameOf(DeepBlue, 8)));
    EXPECT_TRUE(samePicture(max->PicMouseDown(), frameOf(DeepBlue, 9)));

    // Only the first visible maximise button acts.
    TsuiTitleBarButton* second = f.bar->Buttons().Add();
    second->SetButtonType(suiMax);
    f.doubleClick(150, 10);
    EXPECT_EQ(f.form.WindowState(), wsMaximized);

    // A double-click on the control box closes the window.
    bool closing = false;
    f.form.OnCloseQuery = [&](TComponent*, bool& canClose) {
        closing = true;
        canClose = false;
    };
    f.bar->Buttons().Items(0)->SetControlBoxMenu(nullptr);
    f.moveTo(5, 5);
    f.send(QEvent::MouseButtonDblClick, 5, 5, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(closing);
}

TEST(TitleBar, PressAndDragMovesTheWindowThroughTheSystemOrByThePointer) {
    {
        // The platform refuses its own move: the window follows the pointer's travel.
        FramedBar f(DeepBlue);
        f.form.SetBounds(100, 100, 400, 300);
        f.press(150, 10);
        EXPECT_TRUE(f.bar->Pressed());
        f.moveTo(150 + 30, 10 + 20, Qt::LeftButton);
        EXPECT_EQ(f.platform.SystemMoves.size(), 1u);
        EXPECT_EQ(f.form.Left(), 130);
        EXPECT_EQ(f.form.Top(), 120);
        // The pointer moves on from where it is now on the screen.
        f.platform.Cursor = Point(f.platform.Cursor.X + 10, f.platform.Cursor.Y + 5);
        f.send(QEvent::MouseMove, 0, 0, Qt::NoButton, Qt::LeftButton);
        EXPECT_EQ(f.form.Left(), 140);
        EXPECT_EQ(f.form.Top(), 125);
        f.release(10, 10);
        EXPECT_FALSE(f.bar->Pressed());
        f.moveTo(100, 10);
        EXPECT_EQ(f.form.Left(), 140);
    }
    {
        // The window system takes the move: the bar lets go of the press.
        FramedBar f(DeepBlue);
        f.platform.SystemMoveAnswer = true;
        f.press(150, 10);
        f.moveTo(150 + 30, 10, Qt::LeftButton);
        ASSERT_EQ(f.platform.SystemMoves.size(), 1u);
        EXPECT_EQ(f.platform.SystemMoves[0], &f.form);
        EXPECT_FALSE(f.bar->Pressed());
    }
    {
        // A press on a button, or on the bar of a maximised window, moves nothing.
        FramedBar f(DeepBlue);
        f.moveTo(400 - 30, 8);
        f.press(400 - 30, 8);
        f.moveTo(300, 8, Qt::LeftButton);
        EXPECT_TRUE(f.platform.SystemMoves.empty());
        f.release(300, 8);
        f.form.SetWindowState(wsMaximized);
        f.press(150, 10);
        f.moveTo(250, 30, Qt::LeftButton);
        EXPECT_TRUE(f.platform.SystemMoves.empty());
    }
}

// Notes (and closes) every drop-down that opens while it lives.
struct PopupWatch {
    PopupWatch() {
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [this] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                shownAt.push_back(popup->pos());
                popup->close();
            }
        });
        poll.start();
    }
    QTimer poll;
    std::vector<QPoint> shownAt;
};

TEST(TitleBar, ControlBoxClickOpensTheTitleBarMenuBelowTheBarsLeftEnd) {
    FramedBar f(DeepBlue);
    f.form.Show();
    PopupWatch watch;
    f.bar->Buttons().Items(3)->SetVisible(false); // no minimise button
    f.moveTo(5, 5);
    f.press(5, 5);
    f.release(5, 5);
    // Not at once: a second click may still make it a double-click.
    EXPECT_TRUE(watch.shownAt.empty());
    ASSERT_TRUE(zeltest::WaitFor([&] { return !watch.shownAt.empty(); }, 3000));
    const bool minimizeEnabled = f.bar->TitleBarPopupMenu()->Items()->Items(0)->Enabled();
    const TPoint expected = f.bar->ClientToScreen(Point(0, f.bar->Height()));
    EXPECT_EQ(watch.shownAt.at(0), QPoint(expected.X, expected.Y));
    EXPECT_FALSE(minimizeEnabled);
}

TEST(TitleBar, ControlBoxDoubleClickClosesTheWindowWithoutItsMenu) {
    FramedBar f(DeepBlue);
    f.form.Show();
    int closes = 0;
    f.form.OnCloseQuery = [&](TComponent*, bool& canClose) {
        ++closes;
        canClose = false;
    };
    PopupWatch watch;
    const auto click = [&] {
        f.press(5, 5);
        f.release(5, 5);
    };
    const auto dbl = [&] { f.send(QEvent::MouseButtonDblClick, 5, 5, Qt::LeftButton, Qt::LeftButton); };
    f.moveTo(5, 5);
    // As the platform delivers a double-click: its event after the second press, or (elsewhere)
    // after the second release.
    click();
    f.press(5, 5);
    dbl();
    f.release(5, 5);
    EXPECT_EQ(closes, 1);
    click();
    click();
    dbl();
    EXPECT_EQ(closes, 2);
    zeltest::WaitFor([] { return false; }, 2 * QApplication::doubleClickInterval()); // events run
    EXPECT_TRUE(watch.shownAt.empty());
    // Two single clicks: the menu twice, no close.
    for (std::size_t i = 1; i <= 2; ++i) {
        click();
        ASSERT_TRUE(zeltest::WaitFor([&] { return watch.shownAt.size() == i; }, 3000));
    }
    EXPECT_EQ(closes, 2);
}

TEST(TitleBar, TitleBarMenuEnablesWhatTheVisibleButtonsOffer) {
    FramedBar f(DeepBlue);
    TsuiTitleBarPopupMenu* menu = f.bar->TitleBarPopupMenu();
    ASSERT_EQ(menu->Items()->Count(), 4);
    EXPECT_EQ(menu->Items()->Items(0)->Caption(), "Mi&nimize");
    EXPECT_EQ(menu->Items()->Items(1)->Caption(), "Ma&ximize/Restore");
    EXPECT_EQ(menu->Items()->Items(2)->Caption(), "-");
    EXPECT_EQ(menu->Items()->Items(3)->Caption(), "&Close");
    menu->UpdateItemStates();
    for (int i : {0, 1, 3})
        EXPECT_TRUE(menu->Items()->Items(i)->Enabled()) << i;
    f.bar->Buttons().Items(3)->SetVisible(false);
    f.bar->Buttons().Items(1)->SetVisible(false);
    menu->UpdateItemStates();
    EXPECT_FALSE(menu->Items()->Items(0)->Enabled());
    EXPECT_TRUE(menu->Items()->Items(1)->Enabled());
    EXPECT_FALSE(menu->Items()->Items(3)->Enabled());

    // The commands act on the form.
    menu->Items()->Items(1)->Click();
    EXPECT_EQ(f.form.WindowState(), wsMaximized);
    menu->Items()->Items(1)->Click();
    EXPECT_EQ(f.form.WindowState(), wsNormal);
    bool closing = false;
    f.form.OnCloseQuery = [&](TComponent*, bool& canClose) {
        closing = true;
        canClose = false;
    };
    menu->Items()->Items(3)->Click();
    EXPECT_TRUE(closing);
    // The menu follows the bar's style.
    f.bar->SetUIStyle(Protein);
    EXPECT_EQ(menu->UIStyle(), Protein);
}

TEST(TitleBar, MinimiseTakesTheApplicationFromTheMainFormAndOnlyItselfElsewhere) {
    FramedBar main;
    FramedBar other;
    TForm* previous = Application->MainForm();
    Application->SetMainForm(&main.form);
    other.bar->Buttons().Items(3)->PerformAction();
    EXPECT_EQ(other.form.WindowState(), wsMinimized);
    EXPECT_EQ(main.form.WindowState(), wsNormal);
    main.form.SetWindowState(wsMaximized);
    main.bar->TitleBarPopupMenu()->Items()->Items(0)->Click();
    EXPECT_EQ(main.form.WindowState(), wsMinimized);
    // The application comes back as it was: maximised.
    Application->Restore();
    EXPECT_EQ(main.form.WindowState(), wsMaximized);
    Application->SetMainForm(previous);
}

TEST(TitleBar, HelpAndCustomButtonsCallTheirEventsWithTheirIndex) {
    FramedBar f(DeepBlue, 400);
    TsuiTitleBarButton* help = f.bar->Buttons().Add();
    help->SetButtonType(suiHelp);
    EXPECT_TRUE(samePicture(help->PicNormal(), frameOf(DeepBlue, 4)));
    TsuiTitleBarButton* custom = f.bar->Buttons().Add();
    TBitmap look(12, 12);
    look.Canvas().Brush().SetColor(clRed);
    look.Canvas().FillRect(Rect(0, 0, 12, 12));
    custom->SetPicNormal(look);
    custom->SetPicMouseOn(look);
    custom->SetPicMouseDown(look);
    std::vector<std::pair<std::string, int>> calls;
    f.bar->OnHelpBtnClick = [&](TComponent* sender, int index) {
        EXPECT_EQ(sender, f.bar);
        calls.emplace_back("help", index);
    };
    f.bar->OnCustomBtnsClick = [&](TComponent*, int index) { calls.emplace_back("custom", index); };
    // Help sits left of minimise (400 - 79), the 12-wide custom button left of it.
    f.moveTo(400 - 79 + 5, 5);
    f.press(400 - 79 + 5, 5);
    f.release(400 - 79 + 5, 5);
    const int customX = 400 - 79 - 13;
    f.moveTo(customX + 3, 3);
    f.press(customX + 3, 3);
    f.release(customX + 3, 3);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], std::make_pair(std::string("help"), 4));
    EXPECT_EQ(calls[1], std::make_pair(std::string("custom"), 5));
}

TEST(TitleBar, SecondClientSectionAndSecondControlBoxAreRefused) {
    FramedBar f(DeepBlue);
    TsuiTitleBarSection* left = f.bar->Sections().Items(0);
    left->SetAlign(suiClient);
    ASSERT_EQ(f.platform.Boxes.size(), 1u);
    EXPECT_EQ(f.platform.Boxes[0].Text, "Sorry, only one section's Align property can be \"suiClient\"");
    EXPECT_EQ(f.platform.Boxes[0].Flags, MB_OK | MB_ICONERROR);
    EXPECT_EQ(left->Align(), suiLeft);
    EXPECT_FALSE(left->Stretch());

    TsuiTitleBarButton* close = f.bar->Buttons().Items(1);
    const QImage before = close->PicNormal().Image();
    close->SetButtonType(suiControlBox);
    ASSERT_EQ(f.platform.Boxes.size(), 2u);
    EXPECT_EQ(f.platform.Boxes[1].Text,
              "Sorry, only one button's ButtonType property can be \"suiControlBox\"");
    EXPECT_EQ(close->ButtonType(), suiClose);
    EXPECT_EQ(close->PicNormal().Image(), before);

    // A client section forces stretching; a section's picture sets its width with AutoSize.
    TsuiTitleBarSection* middle = f.bar->Sections().Items(2);
    middle->SetStretch(false);
    EXPECT_TRUE(middle->Stretch());
    TsuiTitleBarSection* extra = f.bar->Sections().Add();
    EXPECT_EQ(extra->Width(), 10);
    extra->SetAutoSize(true);
    TBitmap box;
    box.SetImage(frameOf(DeepBlue, 1));
    extra->SetPicture(box);
    EXPECT_EQ(extra->Width(), 19);
    EXPECT_FALSE(f.bar->HasAllPictures());
}

TEST(TitleBar, CustomKeepsEverythingAcrossStyleChanges) {
    FramedBar f(WinXP);
    f.bar->SetCustom(true);
    const int height = f.bar->Height();
    const QImage left = f.bar->LeftPicture()->Image();
    const QImage close = f.bar->Buttons().Items(1)->PicNormal().Image();
    f.bar->Font().SetColor(clYellow);
    f.bar->SetUIStyle(MacOS);
    EXPECT_EQ(f.bar->UIStyle(), MacOS);
    EXPECT_EQ(f.bar->Height(), height);
    EXPECT_EQ(f.bar->LeftPicture()->Image(), left);
    EXPECT_EQ(f.bar->Buttons().Items(1)->PicNormal().Image(), close);
    EXPECT_EQ(f.bar->LeftBtnXOffset(), 2);
    EXPECT_EQ(f.bar->Font().Color(), clYellow);
    // Maximising keeps the user's glyph too.
    const QImage max = f.bar->Buttons().Items(2)->PicNormal().Image();
    f.bar->Buttons().Items(2)->PerformAction();
    EXPECT_EQ(f.bar->Buttons().Items(2)->PicNormal().Image(), max);
    // Off again, the next style change reloads all.
    f.bar->SetCustom(false);
    f.bar->SetUIStyle(MacOS);
    EXPECT_EQ(f.bar->Height(), 20);
    EXPECT_EQ(f.bar->Font().Color(), clBlack);
}

TEST(TitleBar, StoredButtonsAndSectionsReplaceTheStylesUntilTheNextStyleChange) {
    FramedBar f(DeepBlue);
    TsuiTitleBarButtons stored(nullptr);
    TsuiTitleBarButton* only = stored.Add();
    only->SetButtonType(suiClose);
    only->SetUIStyle(WinXP);
    f.bar->SetButtons(stored);
    ASSERT_EQ(f.bar->Buttons().Count(), 1);
    EXPECT_EQ(f.bar->Buttons().Items(0)->PicNormal().Width(), 21);
    f.bar->SetUIStyle(DeepBlue);
    EXPECT_EQ(f.bar->Buttons().Items(0)->PicNormal().Width(), 19);

    // Without a frame the bar keeps its pictures at (0, 0) and its full height.
    TForm plain(nullptr);
    TsuiTitleBar bar(&plain, &plain);
    EXPECT_FALSE(bar.IsFramed());
    EXPECT_EQ(bar.Height(), 32);
    EXPECT_EQ(bar.ButtonBandTop(), 2);
}

TEST(TitleBar, AFileThemeThatGoesAwayBringsDeepBlueBack) {
    FramedBar f(WinXP);
    auto* theme = new TsuiFileTheme(&f.form);
    f.bar->SetFileTheme(theme);
    EXPECT_EQ(f.bar->FileTheme(), theme);
    EXPECT_EQ(f.bar->UIStyle(), WinXP);
    delete theme;
    EXPECT_EQ(f.bar->FileTheme(), nullptr);
    EXPECT_EQ(f.bar->UIStyle(), DeepBlue);
    EXPECT_EQ(f.bar->Height(), 29);
}

#include "moc_TitleBarFixture.cpp"

namespace {

// A read theme file that answers every entry with a value of its own, so a component that reads
// the wrong entry shows it.
class AnsweringTheme : public TsuiFileTheme {
public:
    explicit AnsweringTheme(TComponent* owner) : TsuiFileTheme(owner) { SetLoaded(true); }
    TColor ColorEntry(int entry) const override { return entry == 27 ? marker : 0x010100 * entry; }
    int IntEntry(int entry) const override {
        switch (entry) {
        case 7:
            return 5;
        case 8:
            return -4;
        case 9:
            return 7;
        case 13:
            return 200;
        case 14:
            return 9;
        default:
            return -1;
        }
    }
    bool BoolEntry(int entry) const override { return entry == 6; }
    void ImageEntry(int entry, TBitmap& target) const override {
        const auto solid = [&](int w, int h, TColor c) {
            target.SetSize(w, h);
            target.Canvas().Brush().SetColor(c);
            target.Canvas().FillRect(Rect(0, 0, w, h));
        };
        switch (entry) {
        case 5: // 18 frames of 15 x 15, frame i in grey level i
            target.SetSize(18 * 15, 15);
            for (int i = 0; i < 18; ++i) {
                target.Canvas().Brush().SetColor(RGB(i * 10, i * 10, i * 10));
                target.Canvas().FillRect(Rect(i * 15, 0, i * 15 + 15, 15));
            }
            break;
        case 10:
            solid(30, 25, clRed);
            break;
        case 11:
            solid(10, 25, clLime);
            break;
        case 12:
            solid(20, 25, clBlue);
            break;
        default:
            break;
        }
    }
    TColor marker = 0x30000;
};

} // namespace

TEST(TitleBar, FromThemeFileReadsEveryPieceFromTheTheme) {
    FramedBar f(DeepBlue);
    AnsweringTheme theme(&f.form);
    f.bar->SetFileTheme(&theme);
    f.bar->SetUIStyle(FromThemeFile);
    EXPECT_EQ(f.bar->Height(), 25 - 3);
    EXPECT_EQ(f.bar->ButtonBandTop(), 7 - 3);
    EXPECT_EQ(f.bar->LeftBtnXOffset(), 5);
    EXPECT_EQ(f.bar->RightBtnXOffset(), -4);
    EXPECT_EQ(f.form.Constraints().MinWidth, 200);
    EXPECT_EQ(f.bar->RoundCorner(), 9);
    EXPECT_EQ(f.bar->LeftPicture()->Width(), 30);
    EXPECT_EQ(f.bar->RightPicture()->Width(), 20);
    EXPECT_EQ(f.bar->ClientPicture()->Width(), 10);
    // A theme whose controls carry dark text gets a black caption.
    EXPECT_EQ(f.bar->Font().Color(), clBlack);
    TsuiTitleBarButton* close = f.bar->Buttons().Items(1);
    EXPECT_EQ(close->UIStyle(), FromThemeFile);
    EXPECT_TRUE(close->Transparent());
    EXPECT_EQ(close->Top(), 7);
    EXPECT_EQ(close->PicNormal().Width(), 15);
    EXPECT_EQ(zeltest::PixelBGR(close->PicNormal().Image(), 0, 0), RGB(150, 150, 150)); // frame 16
    EXPECT_EQ(f.bar->TitleBarPopupMenu()->UIStyle(), FromThemeFile);
    EXPECT_EQ(f.bar->TitleBarPopupMenu()->FileTheme(), &theme);
    // The theme painted: left piece red at the bar's corner, right piece blue at its end.
    const QImage image = f.paint();
    EXPECT_EQ(zeltest::PixelBGR(image, 0, 10), clRed);
    EXPECT_EQ(zeltest::PixelBGR(image, f.bar->Width() - 1, 20), clBlue);

    // Another marker: a white caption; a theme given again keeps the caption's colour.
    theme.marker = 0x20000;
    f.bar->SetUIStyle(FromThemeFile);
    EXPECT_EQ(f.bar->Font().Color(), clWhite);
    f.bar->Font().SetColor(clYellow);
    f.bar->SetFileTheme(&theme);
    EXPECT_EQ(f.bar->Font().Color(), clYellow);
    EXPECT_EQ(f.bar->Height(), 22);
}
