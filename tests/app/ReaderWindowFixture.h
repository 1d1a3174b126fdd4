#pragma once
// Shared by the window's command tests: a main window in a temporary directory whose config.ini
// the test writes first, the scripted platform (message boxes, file dialogs, system browser),
// a loopback feed server and small file helpers. The program-wide hosts and headline store are
// put back after each test.
#include "app/TForm1.h"
#include "framework/TCanvas.h"
#include "framework/TListBox.h"
#include "framework/TScriptedPlatform.h"
#include "framework/core/CodePage.h"
#include "reader/THeadlineStore.h"
#include "reader/TReaderHosts.h"
#include "tests/support/FileBytes.h"
#include "tests/support/GuiTest.h"
#include "tests/support/ScriptedServer.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace zeltest {

namespace fs = std::filesystem;

// One feed item as the feed carries it (UTF-8 title, link as given).
struct FeedItem {
    std::string title;
    std::string link;
};

inline std::string RssFeed(const std::vector<FeedItem>& items) {
    std::string s = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<rss version=\"2.0\"><channel>"
                    "<title>Zelmora 频道</title><link>http://channel.test/</link>\n";
    for (const FeedItem& i : items)
        s += "<item><title>" + i.title + "</title><link>" + i.link + "</link></item>\n";
    return s + "</channel></rss>\n";
}

// One connection: read the request, answer with the body, close.
inline Script ServeOnce(const std::string& statusLine, const std::string& body) {
    return {Action::ReadHead(),
            Action::Send(HttpResponse(statusLine,
                                      {"Content-Type: application/rss+xml; charset=utf-8",
                                       "Content-Length: " + std::to_string(body.size()), "Connection: close"},
                                      body)),
            Action::Close()};
}

inline std::string Gbk(const char* utf8) {
    return Utf8ToAnsi(utf8);
}

class ReaderWindowTest : public ::testing::Test {
protected:
    TempDir temp;
    fs::path dir = temp.Path();
    fs::path oldCwd;
    TScriptedPlatform platform;
    std::unique_ptr<TForm1> form;

    void SetUp() override {
        oldCwd = fs::current_path();
        TForm1::SetSettingsDirectory(dir.string());
        Headlines().Clear();
    }
    void TearDown() override {
        form.reset();
        fs::current_path(oldCwd);
        TForm1::SetSettingsDirectory("");
        SetReaderHosts(TReaderHosts());
        Headlines().Clear();
    }

    // Writes config.ini with a "hosts" section (each value may be empty: then left out).
    void writeHosts(const std::string& feed, const std::string& site = "", const std::string& ip = "",
                    const std::string& redirect = "") {
        std::string ini = "[hosts]\r\n";
        if (!feed.empty())
            ini += "feed=" + feed + "\r\n";
        if (!site.empty())
            ini += "site=" + site + "\r\n";
        if (!ip.empty())
            ini += "iplookup=" + ip + "\r\n";
        if (!redirect.empty())
            ini += "redirect=" + redirect + "\r\n";
        WriteFile(dir / "config.ini", ini);
    }
    void create() { form = std::make_unique<TForm1>(nullptr); }

    // A category command returns at once and its fetch ends later on the GUI thread: runs events
    // until it has (the list, the box and the caption are then in place).
    bool waitForFetch(int timeoutMs = 10000) {
        return WaitFor([this] { return !form->FetchRunning(); }, timeoutMs);
    }

    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        for (int i = 0; i < form->lb->Items().Count(); ++i)
            out.push_back(form->lb->Items()[i]);
        return out;
    }
    int widthOfA() const { return form->lb->Canvas()->TextWidth(QStringLiteral("A")); }

    // Real input on the list: a click on a line, a double click, a typed key.
    void clickLine(int index) {
        const QPointF p = linePoint(index);
        send(QEvent::MouseButtonPress, p, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, p, Qt::NoButton);
    }
    void doubleClickLine(int index) {
        clickLine(index);
        const QPointF p = linePoint(index);
        send(QEvent::MouseButtonDblClick, p, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, p, Qt::NoButton);
    }
    void typeKey(int key, const QString& text) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(form->lb, &e);
    }

private:
    QPointF linePoint(int index) const {
        const TRect r = form->lb->ItemRect(index);
        return QPointF(r.Left + 10, (r.Top + r.Bottom) / 2);
    }
    void send(QEvent::Type type, QPointF p, Qt::MouseButtons buttons) {
        QMouseEvent e(type, p, form->lb->mapToGlobal(p), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(form->lb, &e);
    }
};

} // namespace zeltest
