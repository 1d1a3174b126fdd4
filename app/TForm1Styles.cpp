// The window's styles: the theme manager skinman, the skin index applied at start, the five
// style commands, and the optional theme file named in config.ini's [theme] section.
#include "app/PlacesLog.h"
#include "app/TForm1.h"

#include "framework/AnsiText.h"
#include "framework/TMenu.h"
#include "framework/core/TIniFile.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiThemeManager.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>

namespace {

// The skin index and its style: 0 MacOS (the menu's "默认"), 1 DeepBlue, 2 WinXP, 3 BlueGlass,
// 4 Protein.
constexpr TsuiUIStyle kSkinStyles[] = {MacOS, DeepBlue, WinXP, BlueGlass, Protein};

std::optional<bool>& restoresOverride() {
    static std::optional<bool> value;
    return value;
}

} // namespace

// Keeps the window on the screen for a moment after a style command has restored it. A window
// manager on X11 iconifies a window some time after the program asks, so it may do so after the
// restore that followed at once; the window would then stay on the task bar. The first
// minimising seen in that moment is undone, once, from the event loop.
class KeepShownAfterRestore : public QObject {
public:
    explicit KeepShownAfterRestore(TForm* form) : QObject(form), form_(form) {
        form->installEventFilter(this);
    }

    void Arm(TWindowState state) {
        state_ = state;
        armed_.start();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == form_ && event->type() == QEvent::WindowStateChange && armed_.isValid() &&
            armed_.elapsed() < kWindowMs && form_->isMinimized()) {
            armed_.invalidate();
            QTimer::singleShot(0, form_, [form = form_, state = state_] { form->SetWindowState(state); });
        }
        return false;
    }

private:
    static constexpr qint64 kWindowMs = 1000;
    TForm* form_;
    TWindowState state_ = wsNormal;
    QElapsedTimer armed_;
};

bool TForm1::PlatformRestoresMinimised() {
    if (restoresOverride())
        return *restoresOverride();
    // A Wayland client cannot un-minimise its own window: the compositor owns that state.
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void TForm1::SetPlatformRestoresMinimised(std::optional<bool> value) {
    restoresOverride() = value;
}

void TForm1::createSkinManager() {
    skinman = new TsuiThemeManager(this);
    skinman->SetName(QStringLiteral("skinman"));
    // Restyled in this order: the frame, the content panel, the side channel, the main menu.
    skinman->SetCompList({"suiform", "suiPanel1", "groupbox1", "suiMainMenu1"});
    keepShown_ = new KeepShownAfterRestore(this);

    N18->OnClick = [this](TComponent* s) { N18Click(s); };
    MacOs1->OnClick = [this](TComponent* s) { MacOs1Click(s); };
    WinXP1->OnClick = [this](TComponent* s) { WinXP1Click(s); };
    N11->OnClick = [this](TComponent* s) { N11Click(s); };
    N22->OnClick = [this](TComponent* s) { N22Click(s); };
}

void TForm1::ApplyStartStyle() {
    if (applyThemeFile())
        return;
    if (SkinIndex >= 0 && SkinIndex < int(std::size(kSkinStyles)))
        skinman->SetUIStyle(kSkinStyles[SkinIndex]);
    // Any other index leaves the styles the components were created with.
}

bool TForm1::applyThemeFile() {
    const std::string name = TIniFile(SettingsFileName()).ReadString("theme", "file", "");
    if (name.empty())
        return false;
    auto* theme = new TsuiFileTheme(this);
    theme->SetName(QStringLiteral("suiFileTheme1"));
    try {
        theme->SetThemeFile(AnsiToQString(name));
    } catch (const Exception&) {
        // Not a theme file, or a broken one: the window keeps its built-in styles.
    }
    if (!theme->Loaded()) {
        qCInfo(lcPlaces).noquote() << "theme file not found or not read:" << AnsiToQString(name);
        delete theme;
        return false;
    }
    qCInfo(lcPlaces).noquote() << "theme file:" << theme->ThemeFile();
    FileTheme1 = theme;
    skinman->SetFileTheme(theme);
    skinman->SetUIStyle(FromThemeFile);
    return true;
}

void TForm1::styleCommand(int skinIndex) {
    // The re-skinning is hidden from the user: the window goes to the task bar meanwhile, or,
    // where the program could not bring it back from there (Wayland), it stops painting
    // instead. Either way it ends where, as large and as maximised as it was.
    struct Resume {
        TForm1* form;
        bool minimised;
        TWindowState state = form->WindowState();
        QRect geometry = form->geometry();
        ~Resume() {
            if (minimised) {
                form->SetWindowState(state);
                form->keepShown_->Arm(state);
            } else {
                form->setUpdatesEnabled(true);
            }
            if (state == wsNormal && form->geometry() != geometry)
                form->setGeometry(geometry);
            form->update();
        }
    };
    Resume resume{this, PlatformRestoresMinimised()};
    if (resume.minimised) {
        SetWindowState(wsMinimized);
    } else {
        setUpdatesEnabled(false);
    }
    skinman->SetUIStyle(kSkinStyles[skinIndex]);
    SkinIndex = skinIndex;
}

void TForm1::N18Click(TComponent*) {
    styleCommand(0);
}

void TForm1::MacOs1Click(TComponent*) {
    styleCommand(1);
}

void TForm1::WinXP1Click(TComponent*) {
    styleCommand(2);
}

void TForm1::N11Click(TComponent*) {
    styleCommand(3);
}

void TForm1::N22Click(TComponent*) {
    styleCommand(4);
}
