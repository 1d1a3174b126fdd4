// The window stays alive while a feed loads: the category command returns at once with the
// list cleared and the wait cursor up, the window paints while the server takes its time, a
// second command supersedes the first (its connection closed, its result never shown), and
// closing the window does not wait for the network.
#include "tests/app/ReaderWindowFixture.h"

#include "framework/TMenu.h"
#include "framework/TPanel.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QMenu>

using namespace zeltest;

namespace {

std::string serverHost(const ScriptedServer& s) {
    return "127.0.0.1:" + std::to_string(s.Port());
}

// Reads the request, answers after 2 s.
Script answerLate(const std::string& body) {
    return {Action::ReadHead(), Action::Sleep(2000),
            Action::Send(HttpResponse("HTTP/1.1 200 OK",
                                      {"Content-Length: " + std::to_string(body.size()), "Connection: close"},
                                      body)),
            Action::Close()};
}

// Counts the paint events that reach the window or any widget in it.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* window) : window_(window) { qApp->installEventFilter(this); }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* w = qobject_cast<QWidget*>(o);
        if (e->type() == QEvent::Paint && w && w->window() == window_)
            ++paints;
        return false;
    }

private:
    QWidget* window_;
};

bool waitCursorShown() {
    return QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
}

using LiveFetch = ReaderWindowTest;

} // namespace

TEST_F(LiveFetch, TheWindowPaintsWhileASlowFeedLoadsAndFillsInTheDocumentedOrder) {
    ScriptedServer server(
        {answerLate(RssFeed({{"Late one", "http://a.test/1"}, {"Late two", "http://a.test/2"}}))});
    writeHosts(serverHost(server));
    create();
    Headlines().Append({"old", "old"});
    form->lb->Items().Add("old");
    form->Show();
    PaintCounter counter(form.get());

    QElapsedTimer clock;
    clock.start();
    form->N27->Click();
    EXPECT_LT(clock.elapsed(), 500); // returned without waiting for the server
    EXPECT_TRUE(form->FetchRunning());
    EXPECT_EQ(form->lb->Items().Count(), 0);
    EXPECT_EQ(Headlines().Count(), 0);
    EXPECT_TRUE(waitCursorShown());
    EXPECT_EQ(form->groupbox1->Caption(), "新闻标题"); // the caption comes when the fetch ends

    // While the server waits, a menu opens and paints.
    std::unique_ptr<QMenu> menu(form->N5->DropDown(form.get()));
    {
        PaintCounter menuPaints(menu.get());
        menu->popup(form->mapToGlobal(QPoint(10, 30)));
        EXPECT_TRUE(WaitFor([&] { return menuPaints.paints > 0; }, 1000));
        EXPECT_TRUE(menu->isVisible());
        ASSERT_TRUE(form->FetchRunning()) << "the machine is too slow for this test's 2 s";
        menu->close();
    }

    // And the window is moved, resized and asked to repaint (for up to a second): it paints,
    // and the caption waits for the end of the fetch.
    int paintsWhileWaiting = 0;
    QElapsedTimer busy;
    busy.start();
    while (busy.elapsed() < 1000 && paintsWhileWaiting < 5 && form->FetchRunning()) {
        form->SetBounds(form->Left() + 1, form->Top(), form->Width() + 2, form->Height() + 1);
        form->lb->update();
        const int before = counter.paints;
        WaitFor([&] { return counter.paints > before; }, 150);
        if (form->FetchRunning()) {
            paintsWhileWaiting = counter.paints;
            EXPECT_EQ(form->groupbox1->Caption(), "新闻标题");
        }
    }
    EXPECT_GE(paintsWhileWaiting, 5);

    ASSERT_TRUE(waitForFetch());
    EXPECT_GE(clock.elapsed(), 1900);
    EXPECT_EQ(lines(), (std::vector<std::string>{"Late one", " ", "Late two", " "}));
    EXPECT_EQ(form->lb->HorizontalExtent(), 8 * widthOfA() + 5);
    EXPECT_EQ(form->groupbox1->Caption(), "新闻标题(国际时事)");
    EXPECT_FALSE(waitCursorShown());
    EXPECT_TRUE(platform.Boxes.empty());
}

TEST_F(LiveFetch, ASecondCommandSupersedesTheFirstAndClosesItsConnection) {
    // The first connection never answers: it ends only when the reader hangs up. The server
    // takes connections one after the other, so the second is served only after that.
    ScriptedServer server({{Action::ReadHead(), Action::WaitForPeerClose()},
                           ServeOnce("HTTP/1.1 200 OK", RssFeed({{"Domestic", "http://a.test/d"}}))});
    writeHosts(serverHost(server));
    create();
    form->Show();

    form->N27->Click();
    ASSERT_TRUE(WaitFor([&] { return server.Requests().size() == 1; }, 5000));
    form->N28->Click();
    EXPECT_TRUE(server.WaitScriptsDone(1, std::chrono::milliseconds(1000))); // hung up on at once
    ASSERT_TRUE(waitForFetch());
    EXPECT_EQ(lines(), (std::vector<std::string>{"Domestic", " "}));
    EXPECT_EQ(form->groupbox1->Caption(), "新闻标题(国内社会)");

    // The first fetch failed when its connection went; that is never shown, nor its caption.
    WaitFor([] { return false; }, 300);
    EXPECT_TRUE(platform.Boxes.empty());
    EXPECT_EQ(form->groupbox1->Caption(), "新闻标题(国内社会)");
    EXPECT_EQ(lines(), (std::vector<std::string>{"Domestic", " "}));
    EXPECT_FALSE(waitCursorShown());
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[0].rfind("GET /rss/world.xml ", 0), 0u);
    EXPECT_EQ(server.Requests()[1].rfind("GET /rss/native.xml ", 0), 0u);
}

TEST_F(LiveFetch, ClosingTheWindowDuringASlowFetchReturnsAtOnce) {
    ScriptedServer server({answerLate(RssFeed({{"Too late", "http://a.test/1"}}))});
    writeHosts(serverHost(server));
    create();
    form->Show();
    // As wide as the screen, so closing writes no settings: the file's flush to disk is disk
    // time, which a loaded machine may stretch, and this measures waiting for the network.
    platform.Screen = Rect(0, 0, form->Width(), 1024);
    form->N27->Click();
    ASSERT_TRUE(WaitFor([&] { return server.Requests().size() == 1; }, 5000));

    QElapsedTimer clock;
    clock.start();
    form->N15->Click(); // exit, as the close button does
    form.reset();
    EXPECT_LT(clock.elapsed(), 100);
    EXPECT_FALSE(waitCursorShown());

    // The abandoned worker ends on its own and touches nothing of the window.
    WaitFor([] { return false; }, 200);
    EXPECT_TRUE(platform.Boxes.empty());
    EXPECT_EQ(Headlines().Count(), 0);
}

TEST_F(LiveFetch, ImportingAListDropsTheRunningFetch) {
    ScriptedServer server({{Action::ReadHead(), Action::WaitForPeerClose()}});
    writeHosts(serverHost(server));
    create();
    WriteFile(dir / "saved.txt", "Saved title\r\nhttp://a.test/saved\r\n");
    form->N27->Click();
    ASSERT_TRUE(WaitFor([&] { return server.Requests().size() == 1; }, 5000));

    platform.DialogAnswers.push_back(QString::fromStdString((dir / "saved.txt").string()));
    form->N12->Click();
    EXPECT_FALSE(form->FetchRunning());
    EXPECT_TRUE(server.WaitScriptsDone(1, std::chrono::milliseconds(1000))); // hung up on
    EXPECT_FALSE(waitCursorShown());

    // The dropped fetch fails when its connection goes; nothing of it reaches the window.
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(lines(), (std::vector<std::string>{"Saved title", " "}));
    EXPECT_EQ(Headlines().Count(), 1);
    EXPECT_TRUE(platform.Boxes.empty());
    EXPECT_EQ(form->groupbox1->Caption(), "新闻标题");
}
