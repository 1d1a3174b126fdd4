// The main window's menu commands: categories against a loopback feed server (list lines, the
// caption, the extent, the failure box), the fixed pages, the about page, the proxy note, save
// page and exit.
#include "tests/app/ReaderWindowFixture.h"

#include "framework/TMenu.h"
#include "framework/TPanel.h"
#include "framework/core/EInOutError.h"
#include "reader/AboutPage.h"
#include "reader/NewsCategories.h"
#include "tests/support/RefusedPort.h"
#include "webview/TWebBrowser.h"

#include <QFile>
#include <QStandardPaths>

using namespace zeltest;

namespace {

const char* const kFailCaption = "无法连接到新闻服务器";
const char* const kFailText =
    "无法连接网络,请重试或检查网络连接.如果不是网络连接的问题,可能是由于新闻服务器的IP"
    "地址改变,请下载最新版的Zelmora新闻浏览器.";

// Longest line: 29 Chinese characters, 58 bytes in GBK.
const char* const kLongTitle = "联合国大会今日在纽约开幕各国代表就气候变化问题展开激烈讨论";

std::string serverHost(const ScriptedServer& s) {
    return "127.0.0.1:" + std::to_string(s.Port());
}

// Points the per-user cache directory at a test's own folder for the test's duration.
class CacheHome {
public:
    explicit CacheHome(const fs::path& path)
        : old_(qgetenv("XDG_CACHE_HOME")), had_(qEnvironmentVariableIsSet("XDG_CACHE_HOME")) {
        qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(path.string()));
    }
    ~CacheHome() {
        if (had_)
            qputenv("XDG_CACHE_HOME", old_);
        else
            qunsetenv("XDG_CACHE_HOME");
    }

private:
    QByteArray old_;
    bool had_;
};

using CategoryCommands = ReaderWindowTest;
using PageCommands = ReaderWindowTest;

} // namespace

TEST_F(CategoryCommands, WorldNewsFillsTheListFromTheFeedAndNamesTheCategory) {
    const std::string feed = RssFeed({{"\n   国际时事一号新闻  \r\n", "http://news.test/world/1.html"},
                                      {"<![CDATA[CDATA & more]]>", "http://news.test/world/2.html"},
                                      {kLongTitle, "http://news.test/world/3.html"}});
    ScriptedServer server({ServeOnce("HTTP/1.1 200 OK", feed)});
    writeHosts(serverHost(server), "", "", "go.test:8080");
    create();
    EXPECT_EQ(form->groupbox1->Caption(), "新闻标题");

    form->N27->Click();
    ASSERT_TRUE(waitForFetch());

    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].rfind("GET /rss/world.xml HTTP/1.1\r\n", 0), 0u);
    EXPECT_NE(server.Requests()[0].find("\r\nHost: " + serverHost(server) + "\r\n"), std::string::npos);
    EXPECT_EQ(lines(), (std::vector<std::string>{Gbk("国际时事一号新闻"), " ", "CDATA & more", " ",
                                                 Gbk(kLongTitle), " "}));
    EXPECT_EQ(form->groupbox1->Caption(), "新闻标题(国际时事)");
    ASSERT_EQ(Headlines().Count(), 3);
    EXPECT_EQ(Headlines().Item(2).link, "http://go.test:8080/go/?url=http://news.test/world/3.html");
    // The longest line counts its bytes: two widths of "A" per Chinese character.
    ASSERT_GT(widthOfA(), 0);
    EXPECT_EQ(form->lb->HorizontalExtent(), 58 * widthOfA() + 5);
    EXPECT_TRUE(platform.Boxes.empty());
}

TEST_F(CategoryCommands, TheWindowsClientSendsTheReadersRequestHead) {
    ScriptedServer server({ServeOnce("HTTP/1.1 200 OK", RssFeed({{"one", "http://news.test/1"}}))});
    writeHosts(serverHost(server));
    create();

    form->N27->Click();
    ASSERT_TRUE(waitForFetch());

    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0], "GET /rss/world.xml HTTP/1.1\r\n"
                                    "Content-Type: text/html\r\n"
                                    "Host: " +
                                        serverHost(server) +
                                        "\r\n"
                                        "Accept: text/html, */*\r\n"
                                        "Accept-Encoding: identity\r\n"
                                        "User-Agent: Mozilla/3.0 (compatible; Zelmora Library)\r\n"
                                        "\r\n");
}

TEST_F(CategoryCommands, EveryCategoryFetchesItsFeedAndTheNewListReplacesTheOld) {
    const auto categories = NewsCategories();
    std::vector<Script> scripts;
    for (std::size_t i = 0; i < categories.size(); ++i)
        scripts.push_back(
            ServeOnce("HTTP/1.1 200 OK",
                      RssFeed({{std::string("Headline of ") + categories[i].feedPath, "http://a.test/1"},
                               {"Second", "http://a.test/2"}})));
    ScriptedServer server(std::move(scripts));
    writeHosts(serverHost(server));
    create();

    for (const TNewsCategory& c : categories) {
        SCOPED_TRACE(c.itemName);
        auto* item = dynamic_cast<TMenuItem*>(form->FindComponent(QString::fromLatin1(c.itemName)));
        ASSERT_NE(item, nullptr);
        item->Click();
        ASSERT_TRUE(waitForFetch());
        EXPECT_EQ(form->groupbox1->Caption(), QString::fromUtf8(c.listCaption));
        EXPECT_EQ(lines(),
                  (std::vector<std::string>{std::string("Headline of ") + c.feedPath, " ", "Second", " "}));
    }
    const std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), categories.size());
    for (std::size_t i = 0; i < categories.size(); ++i)
        EXPECT_EQ(requests[i].rfind(std::string("GET ") + categories[i].feedPath + " HTTP/1.1\r\n", 0), 0u);
    EXPECT_EQ(form->groupbox1->Caption(), "新闻标题(English News|英语新闻)");
    EXPECT_TRUE(platform.Boxes.empty());
}

TEST_F(CategoryCommands, AFailedFetchShowsTheOneBoxOverAnEmptyListAndStillSetsTheCaption) {
    ScriptedServer server(
        {ServeOnce("HTTP/1.1 200 OK", RssFeed({{"Old", "http://a.test/old"}})),
         ServeOnce("HTTP/1.1 404 Not Found", "<item><title>not a feed</title></item>"),
         ServeOnce("HTTP/1.1 302 Found", ""),
         {Action::ReadHead(),
          Action::Send(HttpResponse("HTTP/1.1 200 OK",
                                    {"Content-Encoding: gzip", "Content-Length: 3", "Connection: close"},
                                    "\x1f\x8b\x08")),
          Action::Close()},
         {Action::ReadHead(),
          Action::Send(HttpResponse("HTTP/1.1 200 OK", {"Content-Length: 1000"},
                                    RssFeed({{"cut short", "http://a.test/cut"}}))),
          Action::Close()}});
    writeHosts(serverHost(server));
    create();
    form->N27->Click();
    ASSERT_TRUE(waitForFetch());
    ASSERT_EQ(form->lb->Items().Count(), 2);

    form->N28->Click(); // 404
    ASSERT_TRUE(waitForFetch());
    EXPECT_EQ(form->lb->Items().Count(), 0);
    EXPECT_EQ(Headlines().Count(), 0);
    EXPECT_EQ(form->groupbox1->Caption(), "新闻标题(国内社会)");
    // The old list's extent does not linger over the empty one.
    EXPECT_EQ(form->lb->HorizontalExtent(), 5);
    ASSERT_EQ(platform.Boxes.size(), 1u);
    EXPECT_EQ(platform.Boxes[0].Caption, QString::fromUtf8(kFailCaption));
    EXPECT_EQ(platform.Boxes[0].Text, QString::fromUtf8(kFailText));
    EXPECT_EQ(platform.Boxes[0].Flags, MB_OK | MB_ICONINFORMATION);

    form->N31->Click(); // 302: redirects are not followed
    ASSERT_TRUE(waitForFetch());
    EXPECT_EQ(server.Accepted(), 3);
    EXPECT_EQ(platform.Boxes.size(), 2u);
    EXPECT_EQ(form->groupbox1->Caption(), "新闻标题(军事新闻)");

    // A body in a coding the reader never asked for, and a body cut short of its length.
    for (std::size_t boxes : {3u, 4u}) {
        form->N27->Click();
        ASSERT_TRUE(waitForFetch());
        EXPECT_EQ(form->lb->Items().Count(), 0);
        EXPECT_EQ(platform.Boxes.size(), boxes);
    }

    // A refused connection, and with nothing loaded the save command shows no dialog.
    RefusedPort refused;
    form->getnews("http://127.0.0.1:" + std::to_string(refused.Port()) + "/rss/world.xml");
    ASSERT_TRUE(waitForFetch());
    ASSERT_EQ(platform.Boxes.size(), 5u);
    EXPECT_EQ(platform.Boxes[4].Text, QString::fromUtf8(kFailText));
    form->N13->Click();
    EXPECT_TRUE(platform.Dialogs.empty());
}

TEST_F(CategoryCommands, EmptyBodyGivesAnEmptyListWithoutABox) {
    ScriptedServer server({ServeOnce("HTTP/1.1 200 OK", "")});
    writeHosts(serverHost(server));
    create();
    form->N9->Click();
    ASSERT_TRUE(waitForFetch());
    EXPECT_EQ(form->lb->Items().Count(), 0);
    EXPECT_TRUE(platform.Boxes.empty());
    EXPECT_EQ(form->groupbox1->Caption(), "新闻标题(科技新闻)");
}

TEST_F(PageCommands, PagesOpenInThePaneOrTheSystemBrowserOnTheConfiguredHosts) {
    writeHosts("", "127.0.0.1:1", "127.0.0.1:2");
    create();
    form->N25->Click();
    EXPECT_EQ(form->web->LocationURL(), QUrl("http://127.0.0.1:1/weather/"));
    form->N32->Click();
    EXPECT_EQ(form->web->LocationURL(), QUrl("http://127.0.0.1:1/date/"));
    form->N24->Click();
    EXPECT_EQ(form->web->LocationURL(), QUrl("http://127.0.0.1:1/zelnews"));
    EXPECT_TRUE(platform.OpenedUrls.empty());

    form->IP1->Click();
    form->N33->Click();
    form->N19->Click();
    EXPECT_EQ(platform.OpenedUrls,
              (std::vector<QString>{"http://127.0.0.1:2/", "http://127.0.0.1:1/map/", "http://127.0.0.1:1"}));
    EXPECT_EQ(form->web->LocationURL(), QUrl("http://127.0.0.1:1/zelnews"));
}

TEST_F(PageCommands, BuiltInHostsWithoutAHostsSection) {
    create();
    form->N19->Click();
    ASSERT_EQ(platform.OpenedUrls.size(), 1u);
    EXPECT_EQ(platform.OpenedUrls[0], "http://www.zelmora-news.example");
}

TEST_F(PageCommands, AboutPageIsWrittenIntoTheCacheDirectoryAndShown) {
    writeHosts("", "127.0.0.1:1");
    CacheHome cacheHome(dir / "cache");
    create();
    const fs::path cwd = dir / "elsewhere";
    fs::create_directories(cwd);
    fs::current_path(cwd);
    const std::string usersOwn = "the user's own info.htm, which the command must leave alone\r\n";
    WriteFile(cwd / "info.htm", usersOwn);

    form->N21->Click();

    const fs::path page =
        fs::path(QStandardPaths::writableLocation(QStandardPaths::CacheLocation).toStdString()) / "info.htm";
    ASSERT_EQ(page.string().rfind((dir / "cache").string() + "/", 0), 0u) << page;
    const std::string bytes = ReadFile(page);
    EXPECT_EQ(bytes, AboutPageBytes(ReaderHosts()));
    EXPECT_EQ(
        bytes.rfind("<body bgcolor=\"#FCF6E8\" link=\"#0099FF\" vlink=\"#000099\" alink=\"#0066FF\">", 0),
        0u);
    EXPECT_NE(bytes.find(Gbk("<b>Zelmora新闻浏览器 V2.01</b><BR><BR><BR>")), std::string::npos);
    EXPECT_NE(bytes.find(Gbk(
                  "<a href=\"http://127.0.0.1:1\" target=\"_blank\"><b>点击这里访问我的网站</b></a><br>")),
              std::string::npos);
    // The link text as GBK bytes, spelled out.
    EXPECT_NE(
        bytes.find(
            "<b>\xB5\xE3\xBB\xF7\xD5\xE2\xC0\xEF\xB7\xC3\xCE\xCA\xCE\xD2\xB5\xC4\xCD\xF8\xD5\xBE</b></a>"),
        std::string::npos);
    EXPECT_EQ(bytes.find("</font>"), std::string::npos);
    EXPECT_EQ(bytes.find("</body>"), std::string::npos);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_EQ(bytes.find('\n'), bytes.size() - 1); // one line
    EXPECT_EQ(form->web->LocationURL(), QUrl::fromLocalFile(QFile::decodeName(page.c_str())));
    // Nothing written into the current directory, nor beside the settings.
    EXPECT_EQ(ReadFile(cwd / "info.htm"), usersOwn);
    EXPECT_EQ(std::distance(fs::directory_iterator(cwd), fs::directory_iterator()), 1);
    EXPECT_FALSE(fs::exists(dir / "info.htm"));

    // Save page asks for a file name; cancelled, nothing is written.
    form->N14->Click();
    ASSERT_EQ(platform.Dialogs.size(), 1u);
    EXPECT_TRUE(platform.Dialogs[0].Save);
}

TEST_F(PageCommands, AboutPageThatCannotBeWrittenThrowsAndNavigatesNothing) {
    CacheHome cacheHome(dir / "cache");
    create();
    const fs::path cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation).toStdString();
    fs::create_directories(cache / "info.htm" / "in-the-way"); // a directory stands where the file goes
    EXPECT_THROW(form->N21->Click(), EInOutError);
    EXPECT_TRUE(form->web->LocationURL().isEmpty());
    EXPECT_TRUE(fs::is_directory(cache / "info.htm"));
}

TEST_F(PageCommands, ProxyNoteAndExit) {
    create();
    form->N16->Click();
    ASSERT_EQ(platform.Boxes.size(), 1u);
    EXPECT_EQ(platform.Boxes[0].Caption, "使用代理服务器");
    EXPECT_EQ(platform.Boxes[0].Text, "关于如何设定代理服务器请参阅安装目录下的Readme.txt文件,内有详细说明");
    EXPECT_EQ(platform.Boxes[0].Flags, MB_OK | MB_ICONINFORMATION);

    form->Show();
    ASSERT_TRUE(form->isVisible());
    form->N15->Click();
    EXPECT_FALSE(form->isVisible());
    // Closed as the close button does: the settings were written.
    EXPECT_NE(ReadFile(dir / "config.ini").find("[form]"), std::string::npos);
}
