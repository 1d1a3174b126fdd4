#pragma once
// The reader's main window: composition, layout on resize, and the settings file.
//
// Components (public, named as the reader's commands know them): suiform (the frame panel that
// fills the window), suiPanel1 (the content panel), spilt (splitter), web (browser pane),
// groupbox1 (the side channel holding the headline list), lb (headline list), suiMainMenu1 and
// its items N1 ... N33, IT1, EnglishNews1, Google1, IP1, MacOs1, WinXP1 (each with an OnClick
// for the commands to take), http (the HTTP client), opendg/savedg (file dialogs).
// suiform is the skinned frame (title bar, menu bar, border band of the frameless window),
// suiPanel1 the skinned panel, groupbox1 the side channel, suiMainMenu1 the skinned main menu
// shown on the frame's menu bar.
//
// FormCreate reads config.ini from SettingsDirectory() (beside the executable when a config.ini
// there can be written, else the user's configuration directory, unless a test set another one),
// FormClose writes it (not while the window is as wide as the screen), FormResize keeps the
// panes in place.
#include "app/FormSettings.h"
#include "framework/TForm.h"
#include "reader/FeedFetchSettings.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiMainMenu.h"
#include "skin/TsuiPanel.h"
#include "skin/TsuiSideChannel.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class TFeedFetch;
class TIdCookieManager;
struct TFeedFetchResult;
class TIdHTTP;
class TListBox;
class TMainMenu;
class TMenuItem;
class TOpenDialog;
class TPanel;
class TPlatform;
class TSaveDialog;
class TSplitter;
class TWebBrowser;
class TsuiFileTheme;
class TsuiThemeManager;
class KeepShownAfterRestore;

class TForm1 : public TForm {
    Q_OBJECT
public:
    explicit TForm1(TComponent* owner);
    ~TForm1() override;

    // Where config.ini lives; empty (the default) means the place ChooseSettingsDirectory picks
    // for the executable's directory and the user's configuration home ($XDG_CONFIG_HOME).
    static void SetSettingsDirectory(const std::string& directory);
    static std::string SettingsDirectory();
    // The file this window reads and writes: chosen once, when the window is made.
    const std::string& SettingsFileName() const { return settingsFile_; }

    // The platform services (message boxes, file dialogs, system browser, pointer, work area).
    TPlatform& Services() const;

    void FormCreate(TComponent* sender);
    void FormClose(TComponent* sender, TCloseAction& action);
    void FormResize(TComponent* sender);
    void spiltMoved(TComponent* sender);
    void groupbox1Pin(TComponent* sender);
    void groupbox1UnPin(TComponent* sender);

    // The reader's commands (TForm1Commands.cpp). getnews fetches one feed into the headline
    // list and shows the connection-failure box when anything fails; it never throws. It
    // returns at once with the list cleared and the wait cursor up; the GET runs on a worker
    // thread and the list (or the box), then whenDone, follow on the GUI thread when it ends. A
    // newer getnews, an import or closing the window drops a running fetch and its whenDone.
    void getnews(const std::string& url);
    void getnews(const std::string& url, std::function<void()> whenDone);
    bool FetchRunning() const { return fetch_ != nullptr; }
    // Categories: getnews with the category's feed, then the side channel's caption.
    void N27Click(TComponent* sender);
    void N28Click(TComponent* sender);
    void N31Click(TComponent* sender);
    void N10Click(TComponent* sender);
    void IT1Click(TComponent* sender);
    void N8Click(TComponent* sender);
    void N6Click(TComponent* sender);
    void N7Click(TComponent* sender);
    void N9Click(TComponent* sender);
    void N29Click(TComponent* sender);
    void N20Click(TComponent* sender);
    void EnglishNews1Click(TComponent* sender);
    // Fixed pages, in the pane or the system browser.
    void N25Click(TComponent* sender);
    void IP1Click(TComponent* sender);
    void N33Click(TComponent* sender);
    void N32Click(TComponent* sender);
    void N24Click(TComponent* sender);
    void N19Click(TComponent* sender);
    void N16Click(TComponent* sender); // proxy note
    void N14Click(TComponent* sender); // save the pane's page
    void N15Click(TComponent* sender); // exit
    void N21Click(TComponent* sender); // about page
    void N12Click(TComponent* sender); // import a headline list; file errors throw
    void N13Click(TComponent* sender); // save the headline list; file errors throw
    void lbClick(TComponent* sender);
    void lbDblClick(TComponent* sender);
    void lbMouseDown(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void lbKeyPress(TComponent* sender, char16_t& key);

    // A stored side-channel or list width held to what the window can show: the channel
    // between its 50-pixel minimum and the widest the splitter allows, the list inside it.
    int ClampedChannelWidth(int width) const;
    int ClampedListWidth(int width) const;

    // Styles (TForm1Styles.cpp). Each command hides the re-skinning, sets the theme manager's
    // style and notes the skin index, which config.ini keeps at close.
    void N18Click(TComponent* sender);    // 默认: MacOS, skin 0
    void MacOs1Click(TComponent* sender); // DeepBlue, skin 1
    void WinXP1Click(TComponent* sender); // WinXP, skin 2
    void N11Click(TComponent* sender);    // 蓝色魅力: BlueGlass, skin 3
    void N22Click(TComponent* sender);    // 梦幻水晶: Protein, skin 4
    // At start: a theme file named by config.ini's [theme] file that loads, else the skin
    // index's style (0 to 4; any other index leaves the styles as created).
    void ApplyStartStyle();
    // Whether the window can be brought back from the task bar by the program (not on
    // Wayland); tests may fix the answer.
    static bool PlatformRestoresMinimised();
    static void SetPlatformRestoresMinimised(std::optional<bool> value);

    // Program-wide values of the window.
    int SkinIndex = 0;
    int Pinned = 1;
    TProxySettings Proxy;
    // The CA file and the redirects of the feed fetches, from config.ini.
    TFeedFetchSettings FeedFetch;

    TsuiForm* suiform;
    TsuiPanel* suiPanel1;
    TSplitter* spilt;
    TWebBrowser* web;
    TsuiSideChannel* groupbox1;
    TListBox* lb;
    TsuiMainMenu* suiMainMenu1;
    std::unique_ptr<TIdHTTP> http;
    TOpenDialog* opendg;
    TSaveDialog* savedg;
    TsuiThemeManager* skinman = nullptr;
    TsuiFileTheme* FileTheme1 = nullptr; // only with a theme file in config.ini

    TMenuItem *N1, *N12, *N13, *N14, *N15;
    TMenuItem *N5, *N26, *N27, *N28, *N31, *N10, *IT1, *N8, *N6, *N7, *N9, *N29, *N20, *EnglishNews1;
    TMenuItem *N2, *N16, *N17, *N18, *MacOs1, *WinXP1, *N11, *N22;
    TMenuItem *Google1, *N25, *IP1, *N33, *N32;
    TMenuItem *N3, *N24;
    TMenuItem *N4, *N19, *N21;

private:
    void createContent();
    void createMenu();
    TMenuItem* menuItem(TMenuItem* parent, const char* name, const QString& caption);
    void wireCommands();
    void categoryCommand(const char* itemName);
    void openPage(const char* itemName);
    void showHeadlines();
    // Starts the browser pane's engine ahead of a likely page (see lbMouseDown).
    void prepareEngine();
    void fetchEnded(std::uint64_t id, TFeedFetchResult& result, const std::function<void()>& whenDone);
    void dropFetch();
    void createSkinManager();
    bool applyThemeFile();
    void styleCommand(int skinIndex);
    KeepShownAfterRestore* keepShown_ = nullptr;
    std::string settingsFile_;
    bool makeSettingsDirectory_ = false; // the user's configuration folder, made on first close

    // The running feed fetch, its number (a result of an older one is dropped), the wait
    // cursor it shows, and the cookie store all fetches share with http.
    std::shared_ptr<TFeedFetch> fetch_;
    std::uint64_t fetchId_ = 0;
    bool waitCursor_ = false;
    std::shared_ptr<TIdCookieManager> cookies_;
};

extern TForm1* Form1;
