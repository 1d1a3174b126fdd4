#include "app/TForm1.h"

#include "app/PlacesLog.h"
#include "framework/TApplication.h"
#include "framework/TFileDialog.h"
#include "framework/TListBox.h"
#include "framework/TMenu.h"
#include "framework/TPanel.h"
#include "framework/TPlatform.h"
#include "framework/TSplitter.h"
#include "framework/core/EIniFileException.h"
#include "framework/core/TIniFile.h"
#include "http/TIdHTTP.h"
#include "reader/FeedFetchSettings.h"
#include "reader/NewsCategories.h"
#include "reader/ReaderHttp.h"
#include "reader/TFeedFetch.h"
#include "reader/TReaderHosts.h"
#include "skin/TsuiPanel.h"
#include "skin/TsuiSideChannel.h"
#include "webview/TWebBrowser.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <utility>

TForm1* Form1 = nullptr;

Q_LOGGING_CATEGORY(lcPlaces, "zelmora.places", QtWarningMsg)

namespace {

std::string& settingsDirectory() {
    static std::string dir;
    return dir;
}

constexpr TColor kFrameColor = 15263976; // 0xE8E8E8
constexpr TColor kListColor = 14609912;  // RGB 248, 237, 222
constexpr int kGb2312Charset = 134;
constexpr int kSplitterMinSize = 30;
// The narrowest open side channel (its size veto), and the list inside it at that width.
constexpr int kMinChannelWidth = TsuiSideChannel::kMinOpenWidth;

} // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner), http(std::make_unique<TIdHTTP>()) {
    const std::string settingsDir = SettingsDirectory();
    settingsFile_ = SettingsFilePath(settingsDir);
    makeSettingsDirectory_ =
        settingsDirectory().empty() && settingsDir != QCoreApplication::applicationDirPath().toStdString();
    SetName(QStringLiteral("Form1"));
    SetCaption(QStringLiteral("Zelmora新闻浏览器"));
    SetScaled(false);
    SetAutoScroll(false);
    SetConstraints(TSizeConstraints{130, 50, 0, 0});
    ConfigureReaderHttp(*http);

    // The skinned frame first: it makes the window frameless with its 3-pixel border band, so
    // the client size below is the area inside that band.
    suiform = new TsuiForm(this);
    suiform->SetName(QStringLiteral("suiform"));
    // (Its stored style, DeepBlue, is the one it was created with.)
    suiform->SetBorderColor(clBlack);
    suiform->SetFrameBorderWidth(1);
    suiform->SetColor(kFrameColor);
    suiform->SetMenuBarColor(kFrameColor);
    suiform->SetMenuBarHeight(22);
    suiform->SetRoundCorner(0);
    SetBounds(237, 158, 703, 543);
    SetClientWidth(703);
    SetClientHeight(543);
    // One cookie store for the window's client and every fetch's own.
    cookies_ = std::make_shared<TIdCookieManager>();
    http->SetCookieManager(cookies_.get());

    createContent();

    createMenu();
    wireCommands();

    opendg = new TOpenDialog(this);
    opendg->SetName(QStringLiteral("opendg"));
    savedg = new TSaveDialog(this);
    savedg->SetName(QStringLiteral("savedg"));
    createSkinManager();

    OnCreate = [this](TComponent* s) { FormCreate(s); };
    OnClose = [this](TComponent* s, TCloseAction& a) { FormClose(s, a); };
    OnResize = [this](TComponent* s) { FormResize(s); };
    spilt->OnMoved = [this](TComponent* s) { spiltMoved(s); };
    groupbox1->OnPin = [this](TComponent* s) { groupbox1Pin(s); };
    groupbox1->OnUnPin = [this](TComponent* s) { groupbox1UnPin(s); };
    DoCreate();
    // The first layout, as the window's first size message would give it.
    FormResize(this);
}

TForm1::~TForm1() {
    // A fetch still running is abandoned, never waited for.
    dropFetch();
    http->SetCookieManager(nullptr);
    if (Form1 == this)
        Form1 = nullptr;
    DestroyComponents();
}

// The content panel under the menu bar: the side channel with the headline list, the splitter
// and the browser pane.
void TForm1::createContent() {
    suiPanel1 = new TsuiPanel(this);
    suiPanel1->SetName(QStringLiteral("suiPanel1"));
    suiPanel1->SetParent(suiform);
    suiPanel1->SetBounds(0, 64, 697, 473);
    suiPanel1->SetCaption(QStringLiteral("新闻内容"));
    suiPanel1->SetShowButton(true);
    suiPanel1->SetCaptionFontColor(clWhite);
    suiPanel1->SetColor(clWhite);

    spilt = new TSplitter(this);
    spilt->SetName(QStringLiteral("spilt"));
    spilt->SetParent(suiPanel1);
    spilt->SetBounds(281, 24, 3, 445);
    spilt->SetMinSize(kSplitterMinSize);
    spilt->SetColor(clActiveCaption);

    web = new TWebBrowser(this);
    web->SetName(QStringLiteral("web"));
    web->SetParent(suiPanel1);
    web->SetBounds(284, 24, 409, 445);
    // The pinned pane starts at the channel's width + 5, over two of the splitter's three
    // columns; the splitter stays on top so all three can be grabbed.
    spilt->raise();

    // Created last of the panel's children, so the popped-out channel lies over the pane. The
    // stored values apply in the channel's published order: the expanded width first, then
    // the pinned state (sliding open while still hidden), then QuickMove and the events.
    groupbox1 = new TsuiSideChannel(this);
    groupbox1->SetName(QStringLiteral("groupbox1"));
    groupbox1->SetParent(suiPanel1);
    groupbox1->SetLeft(4);
    groupbox1->SetTop(24);
    groupbox1->SetWidth(277);
    groupbox1->TControl::SetHeight(445);
    groupbox1->SetCaptionFontColor(clWhite);
    groupbox1->SetSideBarColor(kFrameColor);
    groupbox1->SetCaption(QStringLiteral("新闻标题"));
    groupbox1->SetAlign(TsuiSideChannel::suiLeft);
    groupbox1->SetStayOn(true);
    groupbox1->SetColor(clWhite);
    groupbox1->SetPopupMode(TsuiSideChannel::suiMouseOn);
    groupbox1->SetQuickMove(true);

    lb = new TListBox(this);
    lb->SetName(QStringLiteral("lb"));
    lb->SetParent(groupbox1);
    lb->SetBounds(16, 24, 257, 417);
    lb->SetStyle(lbOwnerDrawVariable);
    lb->SetColor(kListColor);
    lb->SetCtl3D(false);
    lb->Font().SetName(QStringLiteral("宋体"));
    lb->Font().SetHeight(14);
    lb->Font().SetCharset(kGb2312Charset);
    lb->SetItemHeight(14);
    lb->SetShowHint(true);
}

TMenuItem* TForm1::menuItem(TMenuItem* parent, const char* name, const QString& caption) {
    auto* item = new TMenuItem(this);
    item->SetName(QString::fromLatin1(name));
    item->SetCaption(caption);
    parent->Add(item);
    return item;
}

void TForm1::createMenu() {
    // The skinned main menu hands itself to the frame, whose menu bar shows its top-level items.
    suiMainMenu1 = new TsuiMainMenu(this);
    suiMainMenu1->SetName(QStringLiteral("suiMainMenu1"));
    // Built from the reader's one menu table, which zelmora-cli's sheets show as well.
    std::map<std::string, TMenuItem*> items;
    for (const TMenuEntry& e : MainMenuTree())
        items[e.itemName] = menuItem(*e.parent ? items.at(e.parent) : suiMainMenu1->Items(), e.itemName,
                                     QString::fromUtf8(e.caption));
    // The items the commands know by name.
    // clang-format off
    const std::pair<TMenuItem**, const char*> named[] = {
        {&N1, "N1"}, {&N12, "N12"}, {&N13, "N13"}, {&N14, "N14"}, {&N15, "N15"},
        {&N5, "N5"}, {&N26, "N26"}, {&N27, "N27"}, {&N28, "N28"}, {&N31, "N31"}, {&N10, "N10"},
        {&IT1, "IT1"}, {&N8, "N8"}, {&N6, "N6"}, {&N7, "N7"}, {&N9, "N9"}, {&N29, "N29"},
        {&N20, "N20"}, {&EnglishNews1, "EnglishNews1"},
        {&N2, "N2"}, {&N16, "N16"}, {&N17, "N17"}, {&N18, "N18"}, {&MacOs1, "MacOs1"},
        {&WinXP1, "WinXP1"}, {&N11, "N11"}, {&N22, "N22"},
        {&Google1, "Google1"}, {&N25, "N25"}, {&IP1, "IP1"}, {&N33, "N33"}, {&N32, "N32"},
        {&N3, "N3"}, {&N24, "N24"},
        {&N4, "N4"}, {&N19, "N19"}, {&N21, "N21"}};
    // clang-format on
    for (const auto& [member, name] : named)
        *member = items.at(name);
    suiMainMenu1->Loaded();
}

void TForm1::SetSettingsDirectory(const std::string& directory) {
    settingsDirectory() = directory;
}

std::string TForm1::SettingsDirectory() {
    if (!settingsDirectory().empty())
        return settingsDirectory();
    return ChooseSettingsDirectory(
        QCoreApplication::applicationDirPath().toStdString(),
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString());
}

TPlatform& TForm1::Services() const {
    return Platform();
}

void TForm1::FormCreate(TComponent*) {
    // The hosts the reader talks to: built-in, or the "hosts" section of the same file.
    SetReaderHosts(TReaderHosts(TIniFile(SettingsFileName())));
    qCInfo(lcPlaces).noquote() << "settings file:" << QString::fromStdString(SettingsFileName());
    FeedFetch = ReadFeedFetchSettings(TIniFile(SettingsFileName()));
    Pinned = 1;
    TFormSettings form;
    if (ReadSettings(SettingsFileName(), Proxy, form)) {
        http->ProxyParams().SetProxyServer(Proxy.Host);
        http->ProxyParams().SetProxyPort(Proxy.Port);
        http->ProxyParams().SetProxyUsername(Proxy.User);
        http->ProxyParams().SetProxyPassword(Proxy.Password);
        // The stored window is placed on the screens before it is first shown: a window manager
        // then keeps it where the reader asked, and the file gets that place back at close.
        PlaceStoredWindow(form, Services().WorkAreas(),
                          Point(Width() - ClientWidth(), Height() - ClientHeight()));
        SetTop(form.Top);
        SetLeft(form.Left);
        SetClientWidth(form.Width);
        SetClientHeight(form.Height);
        SkinIndex = form.Skin;
        // Widths the user wrote by hand are held to what the window can show; the file keeps
        // them until the window closes.
        groupbox1->SetWidth(ClampedChannelWidth(form.GroupWidth));
        lb->SetWidth(ClampedListWidth(form.ListWidth));
        Pinned = form.ShowTitle;
    }
    // The stored style, then the pinned state (which fires groupbox1Pin or groupbox1UnPin).
    ApplyStartStyle();
    groupbox1->SetStayOn(Pinned != 0);
}

int TForm1::ClampedChannelWidth(int width) const {
    // Between the channel's own minimum and the widest the splitter allows in the panel as
    // the window's layout makes it.
    const int panelWidth = ClientWidth() - 2 * suiPanel1->Left();
    const int widest = panelWidth - spilt->MinSize() - spilt->TControl::Width();
    return std::clamp(width, kMinChannelWidth, std::max(kMinChannelWidth, widest));
}

int TForm1::ClampedListWidth(int width) const {
    // Inside the channel's frame, and at least as wide as in the narrowest channel.
    const int least = kMinChannelWidth - lb->Left() - 5;
    const int widest = groupbox1->Width() - lb->Left() - 3;
    return std::clamp(width, least, std::max(least, widest));
}

void TForm1::FormClose(TComponent*, TCloseAction&) {
    // Closing does not wait for the network: a running fetch is dropped with its connection.
    dropFetch();
    const bool stayOn = groupbox1->StayOn();
    // A window as wide as the screen (maximised) keeps the last normal geometry in the file.
    if (WindowState() == wsMaximized || Width() >= Services().ScreenRect().Width())
        return;
    TFormSettings form;
    form.Width = ClientWidth();
    form.Height = ClientHeight();
    form.Top = Top();
    form.Left = Left();
    form.Skin = SkinIndex;
    form.GroupWidth = groupbox1->Width();
    form.ListWidth = lb->Width();
    form.ShowTitle = stayOn ? 1 : 0;
    try {
        if (makeSettingsDirectory_)
            MakePrivateDirectories(std::filesystem::path(SettingsFileName()).parent_path().string());
        WriteSettings(SettingsFileName(), form);
    } catch (const EIniFileException& e) {
        // Reported, and the window still closes: a settings file that cannot be written must
        // not keep the user from leaving.
        if (Application)
            Application->HandleException(e);
    }
}

void TForm1::FormResize(TComponent*) {
    suiPanel1->SetWidth(ClientWidth() - 2 * suiPanel1->Left());
    suiPanel1->SetHeight(ClientHeight() - suiPanel1->Top());
    web->SetWidth(suiPanel1->Width() - web->Left());
    web->SetHeight(suiPanel1->Height() - web->Top());
    groupbox1->SetHeight(suiPanel1->Height() - groupbox1->Top());
    lb->SetHeight(groupbox1->Height() - lb->Top() - 2);
}

void TForm1::spiltMoved(TComponent*) {
    lb->SetWidth(groupbox1->Width() - lb->Left() - 5);
    // The pane follows the splitter, as it does when the channel is pinned.
    if (groupbox1->StayOn())
        groupbox1Pin(groupbox1);
}

void TForm1::groupbox1Pin(TComponent*) {
    web->SetLeft(groupbox1->Width() + 5);
    web->SetWidth(suiPanel1->Width() - web->Left());
    spilt->Show();
}

void TForm1::groupbox1UnPin(TComponent*) {
    web->SetLeft(15);
    web->SetWidth(suiPanel1->Width() - web->Left());
    spilt->Hide();
}
