// The headline list through the window: list files with scripted dialogs, and the list's click,
// double click and Enter on headline and separator lines.
#include "tests/app/ReaderWindowFixture.h"

#include "framework/TMenu.h"
#include "framework/core/EInOutError.h"
#include "webview/TWebBrowser.h"

#include <QAction>
#include <QMenu>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

using namespace zeltest;

namespace {

using ListFiles = ReaderWindowTest;

class ListEvents : public ReaderWindowTest {
protected:
    // A window whose list holds 头条新闻 and Second (lines 0 and 2), opened from a list file.
    void openTwoHeadlines() {
        create();
        WriteFile(dir / "l.txt",
                  Gbk("头条新闻\r\nhttp://127.0.0.1:1/a.html\r\nSecond\r\nhttp://127.0.0.1:1/b.html\r\n"));
        platform.DialogAnswers.push_back(QString::fromStdString((dir / "l.txt").string()));
        form->N12->Click();
    }
};

QString qpath(const fs::path& p) {
    return QString::fromStdString(p.string());
}

} // namespace

TEST_F(ListFiles, FiveLinesLoadAsThreeItemsTheThirdWithoutALink) {
    create();
    const fs::path file = dir / "five.txt";
    // Mixed line ends are all accepted; a Chinese title counts two bytes a character.
    WriteFile(file, Gbk("第一条新闻\r\nhttp://a.test/1\nSecond title\rhttp://a.test/2\r\nThird"));
    platform.DialogAnswers.push_back(qpath(file));

    form->N12->Click();

    ASSERT_EQ(platform.Dialogs.size(), 1u);
    EXPECT_FALSE(platform.Dialogs[0].Save);
    EXPECT_EQ(platform.Dialogs[0].Filter, "News List TXT|*.txt");
    EXPECT_EQ(lines(), (std::vector<std::string>{Gbk("第一条新闻"), " ", "Second title", " ", "Third", " "}));
    ASSERT_EQ(Headlines().Count(), 3);
    EXPECT_EQ(Headlines().Item(0).link, "http://a.test/1");
    EXPECT_EQ(Headlines().Item(2).link, "");
    EXPECT_EQ(form->lb->HorizontalExtent(), 12 * widthOfA() + 5);
}

TEST_F(ListFiles, EmptyFileGivesAnEmptyListAndThenSaveShowsNoDialog) {
    create();
    platform.DialogAnswers.push_back(qpath(dir / "big.txt"));
    WriteFile(dir / "big.txt", "a\r\nb\r\nc\r\nd\r\n");
    form->N12->Click();
    ASSERT_EQ(form->lb->Items().Count(), 4);

    WriteFile(dir / "empty.txt", "");
    platform.DialogAnswers.push_back(qpath(dir / "empty.txt"));
    form->N12->Click();
    EXPECT_EQ(form->lb->Items().Count(), 0);
    EXPECT_EQ(Headlines().Count(), 0);

    form->N13->Click();
    EXPECT_EQ(platform.Dialogs.size(), 2u); // the two opens, no save
}

TEST_F(ListFiles, CancelledOrUnreadableImportKeepsTheList) {
    create();
    WriteFile(dir / "one.txt", "kept\r\nhttp://a.test/kept\r\n");
    platform.DialogAnswers.push_back(qpath(dir / "one.txt"));
    form->N12->Click();
    ASSERT_EQ(lines(), (std::vector<std::string>{"kept", " "}));

    form->N12->Click(); // no answer queued: cancelled
    platform.DialogAnswers.push_back(qpath(dir / "missing.txt"));
    EXPECT_THROW(form->N12->Click(), EInOutError);
    EXPECT_EQ(lines(), (std::vector<std::string>{"kept", " "}));
    EXPECT_EQ(Headlines().Count(), 1);
}

TEST_F(ListFiles, SaveThenLoadGivesTheSameItemsAndLines) {
    ScriptedServer server(
        {ServeOnce("HTTP/1.1 200 OK", RssFeed({{"  科技：新芯片发布 ", "http://a.test/chip.html"},
                                               {"<![CDATA[Quantum]]>", "http://a.test/q.html"},
                                               {"No link here", ""}}))});
    writeHosts("127.0.0.1:" + std::to_string(server.Port()), "", "", "go.test");
    create();
    form->N9->Click();
    ASSERT_TRUE(waitForFetch());
    const std::vector<std::string> shown = lines();
    ASSERT_EQ(shown.size(), 6u);

    const fs::path file = dir / "saved list"; // no extension is added
    platform.DialogAnswers.push_back(qpath(file));
    form->N13->Click();
    ASSERT_EQ(platform.Dialogs.size(), 1u);
    EXPECT_TRUE(platform.Dialogs[0].Save);
    EXPECT_TRUE(platform.Dialogs[0].Filter.isEmpty());
    EXPECT_TRUE(platform.Dialogs[0].DefaultExt.isEmpty());
    EXPECT_EQ(ReadFile(file), Gbk("科技：新芯片发布") +
                                  "\r\nhttp://go.test/go/?url=http://a.test/chip.html\r\n" +
                                  "Quantum\r\nhttp://go.test/go/?url=http://a.test/q.html\r\n" +
                                  "No link here\r\nhttp://go.test/go/?url=\r\n");

    const std::vector<THeadlineItem> before = {Headlines().Item(0), Headlines().Item(1), Headlines().Item(2)};
    form->lb->Items().Clear();
    Headlines().Reset();
    platform.DialogAnswers.push_back(qpath(file));
    form->N12->Click();
    EXPECT_EQ(lines(), shown);
    ASSERT_EQ(Headlines().Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Headlines().Item(i), before[static_cast<std::size_t>(i)]);
    EXPECT_EQ(form->lb->HorizontalExtent(), 16 * widthOfA() + 5); // eight two-byte characters
}

TEST_F(ListFiles, AFailingSaveKeepsTheOldFile) {
    create();
    std::string big;
    for (int i = 0; i < 20000; ++i)
        big += "a headline that takes some room " + std::to_string(i) + "\r\nhttp://go.test/go/?url=x\r\n";
    WriteFile(dir / "big.txt", big);
    platform.DialogAnswers.push_back(qpath(dir / "big.txt"));
    form->N12->Click();
    ASSERT_EQ(Headlines().Count(), 20000);

    const fs::path target = dir / "mine.txt";
    WriteFile(target, "old title\r\nold link\r\n");
    platform.DialogAnswers.push_back(qpath(target));
    // The disk fills up in the middle of the list.
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 200000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    bool threw = false;
    try {
        form->N13->Click();
    } catch (const EInOutError&) {
        threw = true;
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(threw);
    EXPECT_EQ(ReadFile(target), "old title\r\nold link\r\n");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir))
        ++files;
    EXPECT_EQ(files, 2u); // big.txt and mine.txt: no temporary left behind
    EXPECT_EQ(Headlines().Count(), 20000);
}

TEST_F(ListEvents, ClickEnterAndDoubleClickActOnHeadlineLinesOnly) {
    openTwoHeadlines();
    ASSERT_EQ(form->lb->Items().Count(), 4);
    form->lb->SetHint("before");

    // Nothing selected: Enter does nothing.
    typeKey(Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(form->lb->Hint(), "before");

    clickLine(1); // separator
    EXPECT_EQ(form->lb->ItemIndex(), 1);
    EXPECT_EQ(form->lb->Hint(), "before");
    typeKey(Qt::Key_Return, QStringLiteral("\r"));
    doubleClickLine(1);
    EXPECT_TRUE(form->web->LocationURL().isEmpty());

    clickLine(2);
    EXPECT_EQ(form->lb->Hint(), "Second");
    EXPECT_TRUE(form->web->LocationURL().isEmpty()); // a click only sets the hint

    clickLine(0);
    EXPECT_EQ(form->lb->Hint(), "头条新闻");
    form->lb->SetHint("other");
    typeKey(Qt::Key_A, QStringLiteral("a")); // a character key sets the hint, opens nothing
    EXPECT_EQ(form->lb->Hint(), "头条新闻");
    EXPECT_TRUE(form->web->LocationURL().isEmpty());
    typeKey(Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(form->web->LocationURL(), QUrl("http://127.0.0.1:1/a.html"));

    doubleClickLine(2);
    EXPECT_EQ(form->web->LocationURL(), QUrl("http://127.0.0.1:1/b.html"));
}

TEST_F(ListEvents, APressOnAHeadlineStartsTheEngineHiddenAndTheDoubleClickOpensIt) {
    openTwoHeadlines();
    ASSERT_EQ(form->lb->Items().Count(), 4);

    clickLine(1); // a separator leads to no page
    EXPECT_FALSE(form->web->EngineStarted());

    clickLine(2);
    EXPECT_TRUE(form->web->EngineStarted());
    EXPECT_EQ(form->lb->ItemIndex(), 2);
    EXPECT_EQ(form->lb->Hint(), "Second");
    // Nothing is opened and nothing shows yet: the pane keeps its colour.
    EXPECT_TRUE(form->web->LocationURL().isEmpty());
    ASSERT_NE(form->web->View(), nullptr);
    EXPECT_TRUE(form->web->View()->isHidden());
    QWidget* view = form->web->View();

    doubleClickLine(0);
    EXPECT_EQ(form->web->LocationURL(), QUrl("http://127.0.0.1:1/a.html"));
    EXPECT_EQ(form->web->View(), view); // the engine started at the press, not a second one
    EXPECT_FALSE(form->web->View()->isHidden());
}

TEST_F(ListEvents, TheArrowKeysOntoAHeadlineStartTheEngineAndEnterOpensIt) {
    openTwoHeadlines();
    form->lb->SetItemIndex(0); // a program's selection is no sign of a page to come
    EXPECT_FALSE(form->web->EngineStarted());

    typeKey(Qt::Key_Down, QString()); // onto the separator
    EXPECT_EQ(form->lb->ItemIndex(), 1);
    EXPECT_FALSE(form->web->EngineStarted());
    typeKey(Qt::Key_Down, QString()); // onto the second headline
    EXPECT_EQ(form->lb->ItemIndex(), 2);
    EXPECT_EQ(form->lb->Hint(), "Second");
    EXPECT_TRUE(form->web->EngineStarted());
    EXPECT_TRUE(form->web->LocationURL().isEmpty());
    ASSERT_NE(form->web->View(), nullptr);
    EXPECT_TRUE(form->web->View()->isHidden());

    typeKey(Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(form->web->LocationURL(), QUrl("http://127.0.0.1:1/b.html"));
    EXPECT_FALSE(form->web->View()->isHidden());
}

TEST_F(ListEvents, AHeadlineWithAnEmptyTitleStillOpensItsLinkAndOneOutsideGbkShowsWhole) {
    ScriptedServer server(
        {ServeOnce("HTTP/1.1 200 OK", RssFeed({{"", "http://a.test/e"},
                                               {"Emoji \xF0\x9F\x98\x80 Ärger 𠀀", "http://a.test/f"}}))});
    writeHosts("127.0.0.1:" + std::to_string(server.Port()), "", "", "127.0.0.1:1");
    create();
    form->N7->Click();
    ASSERT_TRUE(waitForFetch());
    ASSERT_EQ(lines(), (std::vector<std::string>{"", " ", Gbk("Emoji 😀 Ärger 𠀀"), " "}));
    doubleClickLine(0);
    EXPECT_EQ(form->web->LocationURL(), QUrl("http://127.0.0.1:1/go/?url=http://a.test/e"));
    clickLine(2);
    EXPECT_EQ(form->lb->Hint(), QStringLiteral("Emoji 😀 Ärger 𠀀")); // the tooltip, nothing as "?"
}

TEST_F(ListEvents, ACategoryPointedAtAnotherFeedOpensItsOwnLinksDirectly) {
    // An Atom feed in GB2312 under [feeds]; its relative link resolves against the feed's URL.
    const std::string atom =
        "<?xml version=\"1.0\" encoding=\"gb2312\"?><feed><title>F</title><entry><title>" + Gbk("体坛快讯") +
        "</title><link href=\"/story/1.html\"/></entry></feed>";
    ScriptedServer server({{Action::ReadHead(),
                            Action::Send(HttpResponse("HTTP/1.1 200 OK",
                                                      {"Content-Type: application/atom+xml",
                                                       "Content-Length: " + std::to_string(atom.size())},
                                                      atom)),
                            Action::Close()}});
    const std::string host = "127.0.0.1:" + std::to_string(server.Port());
    WriteFile(dir / "config.ini", "[hosts]\r\nredirect=127.0.0.1:1\r\n[feeds]\r\nsports=http://" + host +
                                      "/feeds/sport.atom\r\n");
    create();
    form->N6->Click();
    ASSERT_TRUE(waitForFetch());
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].rfind("GET /feeds/sport.atom HTTP/1.1\r\n", 0), 0u);
    ASSERT_EQ(lines(), (std::vector<std::string>{Gbk("体坛快讯"), " "}));
    EXPECT_EQ(form->groupbox1->Caption(), "新闻标题(体坛快讯)");
    doubleClickLine(0);
    EXPECT_EQ(form->web->LocationURL(), QUrl(QString::fromStdString("http://" + host + "/story/1.html")));
}

// The menu's action of that caption, as the user picks it: an exception must not escape it.
static QAction* actionOf(const QMenu& menu, const char* caption) {
    for (QAction* a : menu.actions())
        if (a->text() == caption)
            return a;
    return nullptr;
}

TEST_F(ListFiles, AFileErrorFromTheMenuReachesTheStandardErrorBox) {
    create();
    std::unique_ptr<QMenu> menu(form->N1->DropDown());
    QAction* import = actionOf(*menu, "导入标题列表");
    ASSERT_NE(import, nullptr);
    platform.DialogAnswers.push_back(qpath(dir / "missing.txt"));
    import->trigger();                 // as the user's pick: the exception must not escape the menu
    QCoreApplication::processEvents(); // the command runs once the menu's handling has returned

    ASSERT_EQ(platform.Boxes.size(), 1u);
    EXPECT_EQ(platform.Boxes[0].Flags, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(platform.Boxes[0].Text.left(12), "Cannot open ");
    EXPECT_NE(platform.Boxes[0].Text.indexOf("missing.txt"), -1);
    EXPECT_EQ(form->lb->Items().Count(), 0);
}

TEST_F(ListFiles, AFifoOrADeviceIsRefusedWithTheErrorBoxInsteadOfHangingTheWindow) {
    ASSERT_EQ(::mkfifo((dir / "pipe.txt").c_str(), 0600), 0);
    create();
    std::unique_ptr<QMenu> menu(form->N1->DropDown());
    QAction* import = actionOf(*menu, "导入标题列表");
    ASSERT_NE(import, nullptr);
    for (const QString& path : {qpath(dir / "pipe.txt"), QStringLiteral("/dev/zero")}) {
        SCOPED_TRACE(path.toStdString());
        platform.Boxes.clear();
        platform.DialogAnswers.push_back(path);
        import->trigger();                 // no writer on the FIFO: an open() that blocked would never return
        QCoreApplication::processEvents(); // the command runs once the menu's handling has returned
        ASSERT_EQ(platform.Boxes.size(), 1u);
        EXPECT_EQ(platform.Boxes[0].Flags, MB_OK | MB_ICONSTOP);
        EXPECT_NE(platform.Boxes[0].Text.indexOf("Not a regular file"), -1)
            << platform.Boxes[0].Text.toStdString();
    }
}
