#pragma once
// Shared by the side channel and panel tests: the fixed values of the five styles, a form to
// hold the component on the off-screen screen, and recorders of the sizes a slide goes through.
#include "framework/TForm.h"
#include "framework/TScriptedPlatform.h"
#include "skin/TsuiUIStyle.h"
#include "tests/support/GuiTest.h"

#include <QCoreApplication>
#include <QEvent>
#include <QImage>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zeltest {

struct StyleValues {
    TsuiUIStyle style;
    const char* name;
    int barHeight;
    TColor sideBar;
    TColor border;
    TColor caption;
    TColor stripFirst, stripSecond, stripLast; // rows 0, 1 and the last of the bar strip
    int handleWidth, handleHeight;
};

inline const std::vector<StyleValues>& FiveStyles() {
    static const std::vector<StyleValues> styles = {
        {MacOS, "MacOS", 21, 0xE7E7E7, 0x7F7F7F, 0x000000, 0x7F7F7F, 0xECEDEC, 0x7F7F7F, 7, 84},
        {WinXP, "WinXP", 21, 0xDEEBEF, 0x686868, 0x000000, 0x743C00, 0xFBFCFC, 0x743C00, 8, 86},
        {DeepBlue, "DeepBlue", 20, 0xE8E8E8, 0x000000, 0xFFFFFF, 0x040404, 0xAF6863, 0x88332D, 8, 83},
        {Protein, "Protein", 21, 0xFBFBFB, 0x000000, 0xFFFFFF, 0x000000, 0x962926, 0xA22F2C, 8, 83},
        {BlueGlass, "BlueGlass", 21, 0xE7E7E7, 0x000000, 0xFFFFFF, 0x7F7F7F, 0xF3B5B5, 0x7F7F7F, 8, 86},
    };
    return styles;
}

// A shown, active form on the off-screen platform, with the scripted pointer.
class SkinFormTest : public ::testing::Test {
protected:
    TScriptedPlatform platform;
    std::unique_ptr<TForm> form;

    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(100, 100, 800, 600);
        form->Show();
        form->activateWindow();
        QApplication::setActiveWindow(form.get());
        Settle();
    }
    void TearDown() override { form.reset(); }

    // Lets the paints and events that are waiting run, so a test starts from a quiet window.
    static void Settle() {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
};

// Records the widths (or heights) a widget is painted at, one entry per change.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* w, bool heights) : widget_(w), heights_(heights) {
        w->installEventFilter(this);
    }
    std::vector<int> sizes;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget_ && event->type() == QEvent::Paint) {
            const int v = heights_ ? widget_->height() : widget_->width();
            if (sizes.empty() || sizes.back() != v)
                sizes.push_back(v);
        }
        return false;
    }

private:
    QWidget* widget_;
    bool heights_;
};

// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) : widget_(w) { w->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget_ && event->type() == QEvent::Paint)
            ++paints;
        return false;
    }

private:
    QWidget* widget_;
};

// A control that keeps its painted picture must show each change as a control built with the same
// changes paints from nothing: the changes go one by one to a painted control and, all so far, to
// a fresh one, and the two pictures are compared after each.
template <typename C>
void ExpectKeptPictureFollowsChanges(
    const std::function<C*()>& make,
    const std::vector<std::pair<const char*, std::function<void(C*)>>>& changes) {
    std::unique_ptr<C> kept(make());
    Grab(kept.get());
    for (std::size_t i = 0; i < changes.size(); ++i) {
        changes[i].second(kept.get());
        std::unique_ptr<C> fresh(make());
        for (std::size_t j = 0; j <= i; ++j)
            changes[j].second(fresh.get());
        const QImage keptPicture = Grab(kept.get());
        EXPECT_EQ(keptPicture, Grab(fresh.get())) << "after " << changes[i].first;
        SaveOnFailure(keptPicture, std::string("kept_after_") + std::to_string(i));
    }
}

inline std::vector<int> Steps(int from, int step, int count) {
    std::vector<int> v;
    for (int i = 0; i < count; ++i)
        v.push_back(from + i * step);
    return v;
}

} // namespace zeltest
