// The reader's commands on the main window: the feed command and the twelve categories, the
// fixed pages, the about page, the proxy note, save page and exit, the headline list files,
// and the list's click, double click and key events. The logic lives in reader/; these methods
// move its results into the widgets (GB18030 bytes become QString only here).
#include "app/TForm1.h"

#include "framework/AnsiText.h"
#include "framework/TCanvas.h"
#include "framework/TFileDialog.h"
#include "framework/TListBox.h"
#include "framework/TMenu.h"
#include "framework/TPanel.h"
#include "framework/TPlatform.h"
#include "http/TIdHTTP.h"
#include "reader/AboutPage.h"
#include "reader/HeadlineLines.h"
#include "reader/HeadlineListFile.h"
#include "reader/NewsCategories.h"
#include "reader/ReaderHttp.h"
#include "reader/ReaderTexts.h"
#include "reader/TFeedFetch.h"
#include "reader/THeadlineStore.h"
#include "reader/TReaderHosts.h"
#include "webview/TWebBrowser.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QMetaObject>
#include <QStandardPaths>

namespace {

// Dialog paths are QStrings; the reader's file functions take the file system's bytes.
std::string fileSystemName(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

} // namespace

void TForm1::wireCommands() {
    N12->OnClick = [this](TComponent* s) { N12Click(s); };
    N13->OnClick = [this](TComponent* s) { N13Click(s); };
    N14->OnClick = [this](TComponent* s) { N14Click(s); };
    N15->OnClick = [this](TComponent* s) { N15Click(s); };

    N27->OnClick = [this](TComponent* s) { N27Click(s); };
    N28->OnClick = [this](TComponent* s) { N28Click(s); };
    N31->OnClick = [this](TComponent* s) { N31Click(s); };
    N10->OnClick = [this](TComponent* s) { N10Click(s); };
    IT1->OnClick = [this](TComponent* s) { IT1Click(s); };
    N8->OnClick = [this](TComponent* s) { N8Click(s); };
    N6->OnClick = [this](TComponent* s) { N6Click(s); };
    N7->OnClick = [this](TComponent* s) { N7Click(s); };
    N9->OnClick = [this](TComponent* s) { N9Click(s); };
    N29->OnClick = [this](TComponent* s) { N29Click(s); };
    N20->OnClick = [this](TComponent* s) { N20Click(s); };
    EnglishNews1->OnClick = [this](TComponent* s) { EnglishNews1Click(s); };

    N16->OnClick = [this](TComponent* s) { N16Click(s); };

    N25->OnClick = [this](TComponent* s) { N25Click(s); };
    IP1->OnClick = [this](TComponent* s) { IP1Click(s); };
    N33->OnClick = [this](TComponent* s) { N33Click(s); };
    N32->OnClick = [this](TComponent* s) { N32Click(s); };
    N24->OnClick = [this](TComponent* s) { N24Click(s); };
    N19->OnClick = [this](TComponent* s) { N19Click(s); };
    N21->OnClick = [this](TComponent* s) { N21Click(s); };
    // A page item highlighted in its drop-down is most often picked a moment later: the engine
    // starts then, as at a press on a headline, so the pick only waits for the page.
    // The about page has no fixed page; it opens in the pane too.
    for (TMenuItem* item : {N25, IP1, N33, N32, N24, N19, N21}) {
        const TFixedPage* page = FindFixedPage(item->Name().toStdString());
        if (!page || page->target == TPageTarget::Pane)
            item->OnHighlight = [this](TComponent*) { prepareEngine(); };
    }

    lb->OnClick = [this](TComponent* s) { lbClick(s); };
    lb->OnDblClick = [this](TComponent* s) { lbDblClick(s); };
    lb->OnMouseDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) {
        lbMouseDown(s, b, sh, x, y);
    };
    lb->OnKeyPress = [this](TComponent* s, char16_t& key) { lbKeyPress(s, key); };
}

// ---- The feed command ----

void TForm1::getnews(const std::string& url) {
    getnews(url, nullptr);
}

void TForm1::getnews(const std::string& url, std::function<void()> whenDone) {
    // A newer command wins: the older fetch's result and its whenDone are dropped and its
    // connection shut down.
    dropFetch();
    // The old list goes before the network is touched, so a failed fetch leaves it empty.
    Headlines().Reset();
    lb->Items().Clear();
    lb->SetHorizontalExtent(HorizontalExtent(0, lb->Canvas()->TextWidth(QStringLiteral("A"))));
    if (qApp && !waitCursor_) {
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        waitCursor_ = true;
    }

    // A client of the fetch's own, set up as the window's: the window's client is never used by
    // two threads, and a superseded fetch can go on failing on its own connection.
    auto client = std::make_unique<TIdHTTP>();
    ConfigureReaderHttp(*client);
    ApplyFeedFetchSettings(*client, FeedFetch);
    client->ProxyParams().SetProxyServer(http->ProxyParams().ProxyServer());
    client->ProxyParams().SetProxyPort(http->ProxyParams().ProxyPort());
    client->ProxyParams().SetProxyUsername(http->ProxyParams().ProxyUsername());
    client->ProxyParams().SetProxyPassword(http->ProxyParams().ProxyPassword());
    client->SetCookieManager(cookies_.get());

    const std::uint64_t id = ++fetchId_;
    fetch_ = TFeedFetch::Start(
        std::move(client), url, ReaderHosts().RedirectPrefixFor(url),
        // On the worker, under the fetch's lock: dropFetch() cannot pass while this posts, and
        // nothing is posted once it has, so the window is never touched after it is gone.
        [this, id, whenDone = std::move(whenDone)](TFeedFetchResult&& r) {
            auto result = std::make_shared<TFeedFetchResult>(std::move(r));
            QMetaObject::invokeMethod(
                this, [this, id, result, whenDone] { fetchEnded(id, *result, whenDone); },
                Qt::QueuedConnection);
        },
        cookies_);
}

void TForm1::dropFetch() {
    if (fetch_) {
        fetch_->Cancel();
        fetch_.reset();
    }
    if (waitCursor_) {
        waitCursor_ = false;
        if (qApp)
            QApplication::restoreOverrideCursor();
    }
}

// Back on the GUI thread: the rest of the documented steps, in their order.
void TForm1::fetchEnded(std::uint64_t id, TFeedFetchResult& result, const std::function<void()>& whenDone) {
    if (id != fetchId_ || !fetch_)
        return; // superseded or dropped after it had posted
    dropFetch();
    Headlines().Reset();
    for (THeadlineItem& item : result.items)
        Headlines().Append(std::move(item));
    if (result.ok) {
        showHeadlines();
    } else {
        // The one fixed box for every failure, whatever the fetch or the cutting raised.
        Services().MessageBox(isVisible() ? this : nullptr, QString::fromUtf8(kConnectFailText),
                              QString::fromUtf8(kConnectFailCaption), MB_OK | MB_ICONINFORMATION);
    }
    if (whenDone)
        whenDone();
}

// Fills the list with two lines per headline and sets its horizontal extent from the widest.
void TForm1::showHeadlines() {
    std::vector<std::string> lines = HeadlineListLines(Headlines());
    const std::size_t longest = LongestLineBytes(lines);
    // The scroll bars are set once for the whole list, not once per line.
    lb->Items().BeginUpdate();
    lb->Items().Clear();
    for (std::string& line : lines)
        lb->Items().Add(std::move(line));
    lb->Items().EndUpdate();
    const int widthOfA = lb->Canvas()->TextWidth(QStringLiteral("A"));
    lb->SetHorizontalExtent(HorizontalExtent(longest, widthOfA));
}

void TForm1::categoryCommand(const char* itemName) {
    const TNewsCategory* category = FindCategory(itemName);
    if (!category)
        return;
    // The caption comes when the fetch ends, after the list or the failure box; it names the
    // chosen category also over the empty list of a failed fetch.
    const QString caption = QString::fromUtf8(category->listCaption);
    getnews(ReaderHosts().FeedUrl(*category), [this, caption] { groupbox1->SetCaption(caption); });
}

void TForm1::N27Click(TComponent*) {
    categoryCommand("N27");
}
void TForm1::N28Click(TComponent*) {
    categoryCommand("N28");
}
void TForm1::N31Click(TComponent*) {
    categoryCommand("N31");
}
void TForm1::N10Click(TComponent*) {
    categoryCommand("N10");
}
void TForm1::IT1Click(TComponent*) {
    categoryCommand("IT1");
}
void TForm1::N8Click(TComponent*) {
    categoryCommand("N8");
}
void TForm1::N6Click(TComponent*) {
    categoryCommand("N6");
}
void TForm1::N7Click(TComponent*) {
    categoryCommand("N7");
}
void TForm1::N9Click(TComponent*) {
    categoryCommand("N9");
}
void TForm1::N29Click(TComponent*) {
    categoryCommand("N29");
}
void TForm1::N20Click(TComponent*) {
    categoryCommand("N20");
}
void TForm1::EnglishNews1Click(TComponent*) {
    categoryCommand("EnglishNews1");
}

// ---- Fixed pages, notes, about, save page, exit ----

void TForm1::openPage(const char* itemName) {
    const TFixedPage* page = FindFixedPage(itemName);
    if (!page)
        return;
    const QString url = QString::fromStdString(ReaderHosts().PageUrl(*page));
    if (page->target == TPageTarget::Pane)
        web->Navigate(url);
    else
        Services().OpenUrl(url); // does not wait and reports nothing
}

void TForm1::N25Click(TComponent*) {
    openPage("N25");
}
void TForm1::IP1Click(TComponent*) {
    openPage("IP1");
}
void TForm1::N33Click(TComponent*) {
    openPage("N33");
}
void TForm1::N32Click(TComponent*) {
    openPage("N32");
}
void TForm1::N24Click(TComponent*) {
    openPage("N24");
}
void TForm1::N19Click(TComponent*) {
    openPage("N19");
}

void TForm1::N16Click(TComponent*) {
    Services().MessageBox(this, QString::fromUtf8(kProxyNoteText), QString::fromUtf8(kProxyNoteCaption),
                          MB_OK | MB_ICONINFORMATION);
}

void TForm1::N14Click(TComponent*) {
    web->ExecWB(OLECMDID_SAVEAS, OLECMDEXECOPT_DODEFAULT);
}

void TForm1::N15Click(TComponent*) {
    Close(); // as the close button does, settings included
}

void TForm1::N21Click(TComponent*) {
    // Into the program's own cache directory, never the current one, where it would replace
    // whatever "info.htm" the user keeps. A page that cannot be written throws to the error box
    // before anything is navigated.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const std::string path = WriteAboutPage(ReaderHosts(), fileSystemName(cache));
    web->Navigate(QFile::decodeName(QByteArray::fromStdString(path)));
}

// ---- Headline list files ----

void TForm1::N12Click(TComponent*) {
    opendg->SetFilter(QString::fromUtf8(kListFileFilter));
    if (!opendg->Execute())
        return;
    // The chosen file replaces the list: a fetch still running must not fill it afterwards.
    dropFetch();
    // The file is read whole before the list changes: a file that cannot be read keeps the
    // list the user had.
    ImportHeadlineList(fileSystemName(opendg->FileName()), Headlines());
    showHeadlines();
}

void TForm1::N13Click(TComponent*) {
    if (Headlines().Count() == 0)
        return; // nothing loaded: no dialog either
    if (!savedg->Execute())
        return;
    SaveHeadlineList(fileSystemName(savedg->FileName()), Headlines());
}

// ---- The list's events: only even lines are headlines ----

// Also fired when the arrow keys move the selection: a headline reached that way is opened with
// Enter, so the engine starts then as it does at a press.
void TForm1::lbClick(TComponent*) {
    if (const std::string* title = TitleOfLine(Headlines(), lb->ItemIndex()))
        lb->SetHint(AnsiToQString(*title));
    if (LinkOfLine(Headlines(), lb->ItemIndex()))
        prepareEngine();
}

void TForm1::lbDblClick(TComponent*) {
    if (const std::string* link = LinkOfLine(Headlines(), lb->ItemIndex()))
        web->Navigate(AnsiToQString(*link));
}

// A press on a headline is most often the first half of a double click, whose open follows
// 100-250 ms later: the engine starts now, so that the page is all the open waits for.
void TForm1::lbMouseDown(TComponent*, TMouseButton button, TShiftState, int x, int y) {
    if (button == mbLeft && LinkOfLine(Headlines(), lb->ItemAtPos(Point(x, y))))
        prepareEngine();
}

// The selection is painted first, or it would show only once the engine has started.
void TForm1::prepareEngine() {
    if (web->EngineStarted())
        return;
    lb->Repaint();
    web->PrepareEngine();
}

void TForm1::lbKeyPress(TComponent*, char16_t& key) {
    const int line = lb->ItemIndex();
    const std::string* title = TitleOfLine(Headlines(), line);
    if (!title)
        return;
    lb->SetHint(AnsiToQString(*title));
    if (key == 13) {
        if (const std::string* link = LinkOfLine(Headlines(), line))
            web->Navigate(AnsiToQString(*link));
    }
}
