// The browser pane: it loads its engine's module and starts the engine on first use, loads local
// files and http pages without blocking, and saves the page through the save dialog.
#include "framework/TScriptedPlatform.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TempDir.h"
#include "webview/TWebBrowser.h"
#include "webview/TWebPaneModule.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// Answers every request on 127.0.0.1 with one page; runs on the GUI thread's event loop.
class PageServer {
public:
    explicit PageServer(QByteArray body) : body_(std::move(body)) {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    request_ += s->readAll();
                    if (!request_.contains("\r\n\r\n"))
                        return;
                    ++requests;
                    s->write(
                        "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\n"
                        "Content-Length: " +
                        QByteArray::number(body_.size()) + "\r\n\r\n" + body_);
                    s->disconnectFromHost();
                    request_.clear();
                });
                QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    int Port() const { return server_.serverPort(); }
    int requests = 0;

private:
    QTcpServer server_;
    QByteArray body_;
    QByteArray request_;
};

struct BrowserFixture : ::testing::Test {
    TScriptedPlatform platform;
    TWebBrowser web{nullptr};
    int completed = 0;
    bool lastOk = false;
    TempDir temp;
    fs::path dir = temp.Path();

    void SetUp() override {
        web.SetBounds(0, 0, 409, 445);
        web.OnDocumentComplete = [this](TWebBrowser*, bool ok) {
            ++completed;
            lastOk = ok;
        };
    }
    fs::path page(const std::string& name, const std::string& html) {
        fs::path p = dir / name;
        zeltest::WriteFile(p, html);
        return p;
    }
};

// Whether a library whose file name holds `name` is mapped into this process.
bool mapped(const std::string& name) {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.find(name) != std::string::npos)
            return true;
    return false;
}

TEST_F(BrowserFixture, LocalFileLoadsInTheBackground) {
    // Nothing of the engine is in the process before the first page.
    EXPECT_FALSE(web.EngineStarted());
    EXPECT_FALSE(TWebPaneModule::Loaded());
    EXPECT_FALSE(mapped("libQt6WebEngineCore"));
    const fs::path p =
        page("info.htm", "<html><head><title>About</title></head><body>Zelmora V2.01</body></html>");
    web.Navigate(QString::fromStdString(p.string()));
    // Navigate has returned; the page cannot have finished yet.
    EXPECT_TRUE(web.EngineStarted());
    EXPECT_TRUE(mapped("libQt6WebEngineCore"));
    EXPECT_EQ(completed, 0);
    EXPECT_EQ(web.LocationURL(), QUrl::fromLocalFile(QString::fromStdString(p.string())));
    ASSERT_TRUE(zeltest::WaitFor([&] { return completed > 0; }, 60000));
    EXPECT_TRUE(lastOk);
    EXPECT_TRUE(zeltest::WaitFor([&] { return web.Title() == "About"; }, 10000));
}

TEST_F(BrowserFixture, APreparedEngineWaitsHiddenAndEmptyForTheFirstPage) {
    web.PrepareEngine();
    EXPECT_TRUE(web.EngineStarted());
    EXPECT_TRUE(mapped("libQt6WebEngineCore"));
    ASSERT_NE(web.View(), nullptr);
    QWidget* view = web.View();
    EXPECT_TRUE(view->isHidden());
    EXPECT_TRUE(web.LocationURL().isEmpty());
    EXPECT_TRUE(web.Title().isEmpty());
    // No page: nothing to save, and no page completes on its own.
    web.ExecWB(OLECMDID_SAVEAS, OLECMDEXECOPT_DODEFAULT);
    EXPECT_TRUE(platform.Dialogs.empty());
    zeltest::WaitFor([] { return false; }, 500);
    EXPECT_EQ(completed, 0);
    web.PrepareEngine(); // once started, it stays the one engine
    EXPECT_EQ(web.View(), view);

    const fs::path p = page("first.htm", "<html><head><title>First</title></head><body>news</body></html>");
    web.Navigate(QString::fromStdString(p.string()));
    EXPECT_EQ(web.View(), view);
    EXPECT_FALSE(view->isHidden());
    EXPECT_EQ(view->geometry(), web.rect());
    ASSERT_TRUE(zeltest::WaitFor([&] { return completed > 0; }, 60000));
    EXPECT_TRUE(lastOk);
    EXPECT_TRUE(zeltest::WaitFor([&] { return web.Title() == "First"; }, 10000));
    zeltest::WaitFor([] { return false; }, 300);
    EXPECT_EQ(completed, 1);
}

TEST_F(BrowserFixture, HttpPageFromALoopbackServer) {
    PageServer server("<html><head><title>Feed page</title></head><body>news</body></html>");
    web.Navigate(QStringLiteral("http://127.0.0.1:%1/article/1.html").arg(server.Port()));
    EXPECT_EQ(completed, 0);
    ASSERT_TRUE(zeltest::WaitFor([&] { return completed > 0; }, 60000));
    EXPECT_TRUE(lastOk);
    EXPECT_GE(server.requests, 1);
    EXPECT_TRUE(zeltest::WaitFor([&] { return web.Title() == "Feed page"; }, 10000));
}

TEST_F(BrowserFixture, SaveAsAsksForAFileAndWritesThePage) {
    // Before any page there is nothing to save and no dialog.
    web.ExecWB(OLECMDID_SAVEAS, OLECMDEXECOPT_DODEFAULT);
    EXPECT_TRUE(platform.Dialogs.empty());

    const fs::path p =
        page("story.htm", "<html><head><title>Story</title></head><body>Saved words</body></html>");
    web.Navigate(QString::fromStdString(p.string()));
    ASSERT_TRUE(zeltest::WaitFor([&] { return completed > 0; }, 60000));

    // Cancelled: nothing written.
    web.ExecWB(OLECMDID_SAVEAS, OLECMDEXECOPT_DODEFAULT);
    ASSERT_EQ(platform.Dialogs.size(), 1u);
    EXPECT_TRUE(platform.Dialogs[0].Save);

    const fs::path target = dir / "copy.htm";
    platform.DialogAnswers.push_back(QString::fromStdString(target.string()));
    QString savedPath;
    bool saved = false, savedOk = false;
    web.OnSaveComplete = [&](TWebBrowser*, const QString& path, bool ok) {
        savedPath = path;
        savedOk = ok;
        saved = true;
    };
    web.ExecWB(OLECMDID_SAVEAS, OLECMDEXECOPT_DODEFAULT);
    ASSERT_EQ(platform.Dialogs.size(), 2u);
    EXPECT_EQ(platform.Dialogs[1].FileName, "Story.htm");
    ASSERT_TRUE(zeltest::WaitFor([&] { return saved; }, 60000));
    EXPECT_TRUE(savedOk);
    QFile f(QString::fromStdString(target.string()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("Saved words"));
}

TEST(WebBrowserUrl, PathsBecomeFileUrlsAndUrlsStay) {
    EXPECT_EQ(TWebBrowser::UrlFromText("http://127.0.0.1:8480/rss/world.xml").toString(),
              "http://127.0.0.1:8480/rss/world.xml");
    EXPECT_EQ(TWebBrowser::UrlFromText("HTTP://Example.org/").scheme(), "http");
    EXPECT_EQ(TWebBrowser::UrlFromText("/tmp/info.htm"), QUrl::fromLocalFile("/tmp/info.htm"));
    EXPECT_TRUE(TWebBrowser::UrlFromText("info.htm").isLocalFile());
}

TEST(WebPaneModule, FoundBesideAnInstalledOrABuiltReader) {
    // Installed: the library directory beside bin/ comes first, then the program's own folder.
    const QStringList installed = TWebPaneModule::Candidates("/opt/zelmora/bin", QString());
    ASSERT_GE(installed.size(), 2);
    EXPECT_TRUE(installed.contains("/opt/zelmora/lib/zelmora/webpane.so"));
    EXPECT_EQ(installed.last(), "/opt/zelmora/bin/webpane.so");
    for (const QString& place : installed)
        EXPECT_TRUE(place.startsWith("/opt/zelmora/")) << place.toStdString(); // never the build tree
    // A path given in the environment goes first.
    EXPECT_EQ(TWebPaneModule::Candidates("/opt/zelmora/bin", "/tmp/w.so").first(), "/tmp/w.so");
    // This test program lies in the build tree, whose module it finds.
    const QStringList here = TWebPaneModule::Candidates(QCoreApplication::applicationDirPath(), QString());
    bool exists = false;
    for (const QString& place : here)
        exists |= QFile::exists(place);
    EXPECT_TRUE(exists) << here.join(", ").toStdString();
}

} // namespace
