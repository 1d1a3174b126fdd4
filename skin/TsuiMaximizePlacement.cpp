#include "skin/TsuiMaximizePlacement.h"

#include "framework/TForm.h"
#include "skin/SuiDrawing.h"

#include <QGuiApplication>

namespace {

// Shared by every frame of the process: size messages seen while re-maximising at start-up.
int startupCounter = 0;

// Long enough for a window manager, even a busy one, to answer a maximise; short enough to
// pass for the maximise itself where none runs.
constexpr int kWindowManagerWaitMs = 300;

// A window manager keeps a maximised window on the work area itself, and takes any other size
// asked of it as the end of maximising; only without one does the frame place the window.
bool windowManagerPlacesMaximized() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}

} // namespace

TsuiMaximizePlacement::TsuiMaximizePlacement(TForm& host)
    : host_(host), createdBounds_(host.BoundsRect()), startedMaximized_(host.WindowState() == wsMaximized) {
    managerWait_.setSingleShot(true);
    managerWait_.setInterval(kWindowManagerWaitMs);
    // Still where it stood when asked, and not already covering the work area: nobody placed it.
    QObject::connect(&managerWait_, &QTimer::timeout, &host_, [this] {
        const TRect now = host_.BoundsRect();
        if (host_.WindowState() == wsMaximized && now == askedAt_ && now != DesktopWorkArea())
            placeMaximized();
    });
}

void TsuiMaximizePlacement::SizeChanged() {
    // The frame's own placing passes through a moment in which Qt has forgotten the maximised
    // state: that is no restore.
    if (placing_)
        return;
    const bool maximized = host_.WindowState() == wsMaximized;
    if (startedMaximized_)
        startupMaximize(maximized);
    if (maximized && !windowManagerPlacesMaximized()) {
        placeMaximized();
    } else if (maximized) {
        awaitWindowManager();
    } else if (!maximized && host_.WindowState() == wsNormal) {
        managerWait_.stop();
        placements_ = 0;
        // A window manager that took our size for the maximised window as an ordinary one, or
        // none at all, leaves it there on restore: put it back where it stood.
        const TRect restore = restoreBounds_;
        restoreBounds_ = TRect{};
        if (restore.Width() > 0 && host_.BoundsRect() == maximizedBounds_) {
            placing_ = true;
            PlaceFormInRect(&host_, restore);
            placing_ = false;
        }
    }
}

// Once per maximise: the resizes a window manager sends meanwhile do not start the wait again.
void TsuiMaximizePlacement::awaitWindowManager() {
    if (managerWait_.isActive() || placements_ > 0)
        return;
    askedAt_ = host_.BoundsRect();
    managerWait_.start();
}

void TsuiMaximizePlacement::startupMaximize(bool maximized) {
    if (maximized) {
        if (startupCounter >= 2)
            host_.SetWindowState(wsMaximized);
        else
            ++startupCounter;
    } else {
        PlaceFormInRect(&host_, createdBounds_);
        startedMaximized_ = false;
    }
}

// A few tries per maximising: the platform's own maximised size may arrive after ours, but a
// window manager that insists on its size must not start an endless tug of war.
void TsuiMaximizePlacement::placeMaximized() {
    TRect work = DesktopWorkArea();
    work.Bottom -= 1;
    if (host_.BoundsRect() == work || placements_ >= 3)
        return;
    // Placing the window makes Qt forget where it stood before; the restore needs it.
    const QRect normal = host_.normalGeometry();
    if (placements_ == 0 && normal.isValid())
        restoreBounds_ = Bounds(normal.x(), normal.y(), normal.width(), normal.height());
    ++placements_;
    maximizedBounds_ = work;
    placing_ = true;
    PlaceFormInRect(&host_, work);
    // Setting the geometry makes Qt forget the state on the widget's side only; the window itself
    // is still maximised.
    if (host_.WindowState() != wsMaximized)
        host_.overrideWindowState(host_.windowState() | Qt::WindowMaximized);
    placing_ = false;
}
