// The commands of the skinned menu that open a modal dialog, with Qt's own file dialog and
// message box (not the scripted platform): the items are picked by mouse and by keyboard, the
// dialogs answered or cancelled by keys, again and again, and the window lives on with every
// command's work done.
#include "skin/TsuiMenuBar.h"
#include "tests/app/ReaderWindowFixture.h"
#include "webview/TWebBrowser.h"

#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace zeltest {
namespace {

constexpr int kFileMenu = 0;
constexpr int kOptionsMenu = 2;
const char* const kImport = "导入标题列表";
const char* const kSave = "保存标题列表";
const char* const kProxyNote = "使用代理服务器";

class RealDialogs : public ReaderWindowTest {
protected:
    void SetUp() override {
        ReaderWindowTest::SetUp();
        SetPlatform(nullptr); // Qt's dialogs, not the scripted answers
        create();
        form->Show();
        QApplication::setActiveWindow(form.get());
        QCoreApplication::processEvents();
        bar = form->suiform->MenuBar();
        ASSERT_TRUE(bar);
    }

    // Runs `answer` on the next modal dialog once it shows; `seen` counts the dialogs met.
    void whenDialogShows(std::function<void(QDialog*)> answer) {
        auto* poll = new QTimer;
        poll->setInterval(10);
        QObject::connect(poll, &QTimer::timeout, poll, [this, poll, answer] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            poll->stop();
            poll->deleteLater();
            ++seen;
            answer(dialog);
        });
        poll->start();
    }

    static void cancel(QDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); }
    // Puts the name in the dialog's name field, as pasted (no completion pops up), then Enter.
    // The dialog selects the last chosen file once its folder has loaded, which may replace what
    // was put there before: the name goes in again until the dialog holds it alone.
    static void typeFileName(QDialog* dialog, const fs::path& path) {
        auto* files = static_cast<QFileDialog*>(dialog);
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_TRUE(edit);
        const QString name = QString::fromStdString(path.string());
        // Typing happens in the focused field (the dialog lets a focused field's name replace
        // the file it selected).
        QApplication::setActiveWindow(dialog);
        edit->setFocus();
        ASSERT_TRUE(WaitFor(
            [&] {
                edit->setText(name);
                QCoreApplication::processEvents(QEventLoop::AllEvents, 30);
                return files->selectedFiles() == QStringList{name};
            },
            5000))
            << files->selectedFiles().join(QLatin1Char(',')).toStdString();
        QTest::keyClick(edit, Qt::Key_Return);
    }

    // Opens the button's drop-down with a click, as a mouse user does.
    void openByMouse(int button, QMenu*& menu) {
        const TRect r = bar->Button(button).Bounds;
        const QPoint at((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        QTest::mouseMove(bar, at);
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, at);
        menu = bar->OpenMenu();
        ASSERT_TRUE(menu);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    }

    // F10, Right to the button, Down to open it: its first item is highlighted.
    void openByKeyboard(int button, QMenu*& menu) {
        QTest::keyClick(form.get(), Qt::Key_F10);
        ASSERT_TRUE(bar->KeyboardActive());
        for (int i = 0; i < button; ++i)
            QTest::keyClick(bar, Qt::Key_Right);
        QTest::keyClick(bar, Qt::Key_Down);
        menu = bar->OpenMenu();
        ASSERT_TRUE(menu);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    }

    // Opens the button's drop-down with a click and clicks the item, as a mouse user does.
    void pickByMouse(int button, const char* caption) {
        QMenu* menu = nullptr;
        openByMouse(button, menu);
        if (HasFatalFailure())
            return;
        QAction* item = nullptr;
        for (QAction* a : menu->actions())
            if (a->text() == QString::fromUtf8(caption))
                item = a;
        ASSERT_TRUE(item);
        const QPoint c = menu->actionGeometry(item).center();
        QTest::mouseMove(menu, c);
        whileItHandles(menu, [&] { QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, c); });
    }

    // F10, Right to the button, Down to open it, Down to the item, Enter.
    void pickByKeyboard(int button, int downs) {
        QMenu* menu = nullptr;
        openByKeyboard(button, menu);
        if (HasFatalFailure())
            return;
        for (int i = 0; i < downs; ++i)
            QTest::keyClick(menu, Qt::Key_Down);
        whileItHandles(menu, [&] { QTest::keyClick(menu, Qt::Key_Return); });
    }

    // The drop-down outlives its own handling of the pick. Freed inside it (by a dialog's event
    // loop run from there), the handler goes on in freed memory; that may crash at once, later,
    // or, with a sanitizer's quarantine, not at all, so it is checked here as well.
    static void whileItHandles(QMenu* menu, const std::function<void()>& pick) {
        bool handling = true, freedMeanwhile = false;
        auto watch = QObject::connect(menu, &QObject::destroyed, [&] { freedMeanwhile = handling; });
        pick();
        handling = false;
        QObject::disconnect(watch);
        EXPECT_FALSE(freedMeanwhile) << "the drop-down was freed while it handled the pick";
    }

    // The command and its dialog have run once nothing is open any more.
    void settle(int dialogs) {
        ASSERT_TRUE(WaitFor([&] { return seen == dialogs && !QApplication::activeModalWidget(); }, 10000));
        QCoreApplication::processEvents();
        EXPECT_FALSE(bar->OpenMenu());
    }

    void writeList(const fs::path& p, const std::string& title) {
        WriteFile(p, Gbk(title.c_str()) + "\r\nhttp://a.test/" + std::to_string(title.size()) + "\r\n");
    }

    TsuiMenuBar* bar = nullptr;
    int seen = 0;
};

TEST_F(RealDialogs, ImportPickedOrCancelledAgainAndAgain) {
    const fs::path first = dir / "first.txt", second = dir / "second.txt";
    writeList(first, "第一条");
    writeList(second, "第二条新闻");
    int dialogs = 0;
    for (int round = 0; round < 3; ++round) {
        whenDialogShows([&](QDialog* d) { typeFileName(d, round % 2 ? second : first); });
        pickByMouse(kFileMenu, kImport);
        settle(++dialogs);
        ASSERT_EQ(lines().at(0), Gbk(round % 2 ? "第二条新闻" : "第一条")) << round;

        whenDialogShows(cancel);
        pickByMouse(kFileMenu, kImport);
        settle(++dialogs);

        whenDialogShows([&](QDialog* d) { typeFileName(d, round % 2 ? first : second); });
        pickByKeyboard(kFileMenu, 0);
        settle(++dialogs);
        ASSERT_EQ(lines().at(0), Gbk(round % 2 ? "第一条" : "第二条新闻")) << round;

        whenDialogShows(cancel);
        pickByKeyboard(kFileMenu, 0);
        settle(++dialogs);
    }
    EXPECT_EQ(lines().size(), 2u);
}

TEST_F(RealDialogs, SaveWrittenOrCancelledAgainAndAgain) {
    writeList(dir / "in.txt", "新闻");
    whenDialogShows([&](QDialog* d) { typeFileName(d, dir / "in.txt"); });
    pickByMouse(kFileMenu, kImport);
    int dialogs = 0;
    settle(++dialogs);
    for (int round = 0; round < 3; ++round) {
        const fs::path byMouse = dir / ("mouse" + std::to_string(round) + ".txt");
        const fs::path byKeys = dir / ("keys" + std::to_string(round) + ".txt");
        whenDialogShows([&](QDialog* d) { typeFileName(d, byMouse); });
        pickByMouse(kFileMenu, kSave);
        settle(++dialogs);
        whenDialogShows(cancel);
        pickByMouse(kFileMenu, kSave);
        settle(++dialogs);
        whenDialogShows([&](QDialog* d) { typeFileName(d, byKeys); });
        pickByKeyboard(kFileMenu, 1);
        settle(++dialogs);
        whenDialogShows(cancel);
        pickByKeyboard(kFileMenu, 1);
        settle(++dialogs);
        EXPECT_EQ(ReadFile(byMouse), ReadFile(dir / "in.txt"));
        EXPECT_EQ(ReadFile(byKeys), ReadFile(dir / "in.txt"));
    }
}

TEST_F(RealDialogs, ProxyNoteShownAndDismissedAgainAndAgain) {
    QString text;
    auto dismiss = [&](QDialog* d) {
        if (auto* box = qobject_cast<QMessageBox*>(d))
            text = box->text();
        QTest::keyClick(d, Qt::Key_Return);
    };
    int dialogs = 0;
    for (int round = 0; round < 4; ++round) {
        text.clear();
        whenDialogShows(dismiss);
        pickByMouse(kOptionsMenu, kProxyNote);
        settle(++dialogs);
        EXPECT_FALSE(text.isEmpty());
        whenDialogShows(dismiss);
        pickByKeyboard(kOptionsMenu, 0);
        settle(++dialogs);
    }
    // The window still answers its menu afterwards.
    whenDialogShows(cancel);
    pickByKeyboard(kFileMenu, 0);
    settle(++dialogs);
}

TEST_F(RealDialogs, HighlightingAPaneItemInItsDropDownStartsTheEngine) {
    constexpr int kServicesMenu = 3, kHelpMenu = 5;
    // By keyboard: the drop-down opens on its first item, the arrow keys move on.
    QMenu* menu = nullptr;
    ASSERT_NO_FATAL_FAILURE(openByKeyboard(kHelpMenu, menu));
    ASSERT_EQ(menu->activeAction()->text(), QString::fromUtf8("访问作者的网站"));
    EXPECT_FALSE(form->web->EngineStarted()); // that site opens in the system's browser
    QTest::keyClick(menu, Qt::Key_Down);
    ASSERT_EQ(menu->activeAction()->text(), QString::fromUtf8("关于..."));
    EXPECT_TRUE(form->web->EngineStarted());
    EXPECT_TRUE(form->web->LocationURL().isEmpty()); // started hidden, nothing opened yet
    QTest::keyClick(menu, Qt::Key_Escape);
    QTest::keyClick(bar, Qt::Key_Escape);
    ASSERT_TRUE(WaitFor([&] { return !bar->OpenMenu(); }, 5000));

    // By mouse, in a window whose engine has not started.
    form.reset();
    create();
    form->Show();
    QApplication::setActiveWindow(form.get());
    bar = form->suiform->MenuBar();
    ASSERT_NO_FATAL_FAILURE(openByMouse(kServicesMenu, menu));
    auto over = [&](const char* caption) {
        for (QAction* a : menu->actions())
            if (a->text() == QString::fromUtf8(caption))
                QTest::mouseMove(menu, menu->actionGeometry(a).center());
    };
    over("在线电子地图");
    EXPECT_FALSE(form->web->EngineStarted());
    over("万年历");
    EXPECT_TRUE(form->web->EngineStarted());
    QTest::keyClick(menu, Qt::Key_Escape);
}

} // namespace
} // namespace zeltest
