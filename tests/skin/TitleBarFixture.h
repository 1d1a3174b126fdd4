#pragma once
// A framed title bar on a form, as the skinned frame holds it, with a scripted pointer and
// the mouse events a user would cause.
#include "framework/TForm.h"
#include "framework/TScriptedPlatform.h"
#include "skin/TsuiTitleBar.h"
#include "tests/support/GuiTest.h"

#include <QCoreApplication>
#include <QMouseEvent>

namespace fakes {

// Stands in for the skinned frame: a control whose class is named TsuiForm.
class TsuiForm : public TControl {
    Q_OBJECT
public:
    explicit TsuiForm(TComponent* owner) : TControl(owner) {}
};

} // namespace fakes

namespace zeltest {

struct FramedBar {
    explicit FramedBar(TsuiUIStyle style = DeepBlue, int width = 400) : form(nullptr) {
        form.SetBounds(100, 100, width, 300);
        frame = new fakes::TsuiForm(&form);
        frame->SetParent(&form);
        frame->SetAlign(alClient);
        bar = new TsuiTitleBar(frame, frame);
        bar->SetUIStyle(style);
        bar->SetWidth(width);
        QCoreApplication::processEvents();
    }

    // Puts the scripted pointer at a point of the bar, and tells the bar it moved there.
    void moveTo(int x, int y, Qt::MouseButtons held = Qt::NoButton) {
        platform.Cursor = bar->ClientToScreen(Point(x, y));
        send(QEvent::MouseMove, x, y, Qt::NoButton, held);
    }
    void press(int x, int y) {
        platform.Cursor = bar->ClientToScreen(Point(x, y));
        send(QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton);
    }
    void release(int x, int y) {
        platform.Cursor = bar->ClientToScreen(Point(x, y));
        send(QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton);
    }
    void doubleClick(int x, int y) {
        press(x, y);
        release(x, y);
        send(QEvent::MouseButtonDblClick, x, y, Qt::LeftButton, Qt::LeftButton);
        release(x, y);
    }
    void leave() {
        platform.Cursor = Point(-5000, -5000);
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(bar, &e);
    }
    QImage paint() {
        TBitmap b;
        bar->PaintTo(b);
        return b.Image().convertToFormat(QImage::Format_RGB32);
    }
    void send(QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons) {
        const QPointF local(x, y);
        const QPointF global = bar->mapToGlobal(local);
        QMouseEvent e(type, local, global, button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &e);
    }

    TScriptedPlatform platform;
    TForm form;
    fakes::TsuiForm* frame = nullptr;
    TsuiTitleBar* bar = nullptr;
};

// Whether the picture shows in image at (x, y), pixel for pixel; with transparent, the
// picture's bottom-left colour is skipped. Rows and columns outside image are not compared.
inline bool ShowsPicture(const QImage& image, int x, int y, const TBitmap& picture,
                         bool transparent = false) {
    if (picture.Empty())
        return false;
    const QImage pic = picture.Image().convertToFormat(QImage::Format_RGB32);
    const QRgb key = pic.pixel(0, pic.height() - 1);
    int compared = 0;
    for (int py = 0; py < pic.height(); ++py)
        for (int px = 0; px < pic.width(); ++px) {
            const int ix = x + px, iy = y + py;
            if (ix < 0 || iy < 0 || ix >= image.width() || iy >= image.height())
                continue;
            if (transparent && pic.pixel(px, py) == key)
                continue;
            if ((image.pixel(ix, iy) & 0xFFFFFF) != (pic.pixel(px, py) & 0xFFFFFF))
                return false;
            ++compared;
        }
    return compared > 0;
}

} // namespace zeltest
