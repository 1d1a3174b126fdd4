// The title bar's repaint per pointer move and the drawing of one skinned drop-down.
//
// Pointer move: the skinned window's title bar, 800 pixels wide, with a 60-character caption
// and with a 5,000-character one (a pasted text); each move composes the whole bar (pieces,
// buttons with their hover looks, the caption cut to fit) and copies it to the screen. Target:
// at most 1 ms median. For scale, the caption rule of measuring the whole text again for every
// character dropped runs once on the 5,000-character caption.
//
// Drop-down: the twelve news categories in one drop-down, painted whole. Target: at most 2 ms.
//
// Menu bar: the window's six top-level items on an 800-pixel bar, repainted with nothing changed
// (an exposed bar), in DeepBlue and in MacOS (the striped bar bitmap), with one button hot.
// Runs off-screen unless a platform is given.
//
//   bench_skin_MenuTitleBarBench [--benchmark_repetitions=9 --benchmark_report_aggregates_only=true]
#include "bench/support/QtBenchMain.h"
#include "framework/TBitmap.h"
#include "framework/TForm.h"
#include "framework/TScriptedPlatform.h"
#include "reader/NewsCategories.h"
#include "skin/SuiCaptionFit.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiMainMenu.h"
#include "skin/TsuiMenuBar.h"
#include "skin/TsuiTitleBar.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

QString captionOf(int length) {
    const QString words = QString::fromUtf8("Zelmora新闻浏览器 国际时事 headline of the day, ");
    QString s;
    while (s.size() < length)
        s += words;
    return s.left(length);
}

struct Window {
    explicit Window(int barWidth) {
        host->SetBounds(0, 0, barWidth + 20, 300);
        frame = new TsuiForm(host.get());
        host->SetWidth(host->Width() + barWidth - frame->TitleBar()->Width());
        host->Show();
        QCoreApplication::processEvents();
    }
    TScriptedPlatform platform;
    std::unique_ptr<TForm> host = std::make_unique<TForm>(nullptr);
    TsuiForm* frame = nullptr;
};

void BM_TitleBarPointerMove(benchmark::State& state) {
    Window w(800);
    TsuiTitleBar* bar = w.frame->TitleBar();
    bar->SetCaption(captionOf(int(state.range(0))));
    // Back and forth between a free spot and the close button: the hover look changes too.
    const int xs[] = {300, 790, 500, 770};
    int i = 0;
    for (auto _ : state) {
        const int x = xs[i++ % 4];
        w.platform.Cursor = bar->ClientToScreen(Point(x, 10));
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 10), bar->mapToGlobal(QPointF(x, 10)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &move);
        bar->repaint();
    }
    if (!bar->ShownCaption().endsWith("...") && state.range(0) > 100)
        state.SkipWithError("the long caption was not cut");
}
BENCHMARK(BM_TitleBarPointerMove)->Arg(60)->Arg(5000)->Unit(benchmark::kMicrosecond);

// The rule the cut replaces: the whole text measured, then one character dropped at a time.
void BM_CaptionCutOneCharacterAtATime(benchmark::State& state) {
    const QString caption = captionOf(int(state.range(0)));
    TBitmap b(1, 1);
    TCanvas& c = b.Canvas();
    c.Font().SetName("Tahoma");
    c.Font().SetStyle(fsBold);
    for (auto _ : state) {
        QString s = caption;
        if (c.TextWidth(s) > 700)
            while (!s.isEmpty() && c.TextWidth(s + "...") > 700)
                s.chop(1);
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_CaptionCutOneCharacterAtATime)->Arg(5000)->Iterations(2)->Unit(benchmark::kMillisecond);

void BM_CaptionCutBySearch(benchmark::State& state) {
    const QString caption = captionOf(int(state.range(0)));
    TBitmap b(1, 1);
    TCanvas& c = b.Canvas();
    c.Font().SetName("Tahoma");
    c.Font().SetStyle(fsBold);
    for (auto _ : state)
        benchmark::DoNotOptimize(FitCaption(caption, 700, [&](const QString& s) { return c.TextWidth(s); }));
}
BENCHMARK(BM_CaptionCutBySearch)->Arg(60)->Arg(5000)->Unit(benchmark::kMicrosecond);

void BM_DropDownPaint(benchmark::State& state) {
    TForm form(nullptr);
    auto* menu = new TsuiMainMenu(&form);
    auto* news = new TMenuItem(&form);
    news->SetCaption(QString::fromUtf8("获取新闻"));
    menu->Items()->Add(news);
    for (const TNewsCategory& c : NewsCategories()) {
        auto* item = new TMenuItem(&form);
        item->SetCaption(QString::fromUtf8(c.menuCaption));
        news->Add(item);
    }
    menu->Loaded();
    std::unique_ptr<QMenu> drop(news->DropDown());
    drop->popup(QPoint(20, 20));
    QCoreApplication::processEvents();
    drop->setActiveAction(drop->actions().value(2));
    if (drop->actions().size() != 12)
        state.SkipWithError("the drop-down should hold the 12 categories");
    for (auto _ : state)
        drop->repaint();
    state.counters["items"] = double(drop->actions().size());
}
BENCHMARK(BM_DropDownPaint)->Unit(benchmark::kMicrosecond);

void BM_MenuBarRepaint(benchmark::State& state) {
    Window w(800);
    auto* menu = new TsuiMainMenu(w.host.get());
    for (const char* caption : {"文件", "获取新闻", "选项", "特别服务", "检查新版本", "帮助"}) {
        auto* item = new TMenuItem(w.host.get());
        item->SetCaption(QString::fromUtf8(caption));
        item->Add(new TMenuItem(w.host.get()));
        menu->Items()->Add(item);
    }
    menu->Loaded();
    w.frame->SetMenu(menu);
    w.frame->SetUIStyle(TsuiUIStyle(state.range(0)));
    TsuiMenuBar* bar = w.frame->MenuBar();
    QCoreApplication::processEvents();
    const TRect second = bar->Button(1).Bounds;
    QMouseEvent move(QEvent::MouseMove, QPointF(second.Left + 4, second.Top + 4), QPointF(), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &move);
    if (bar->HotIndex() != 1)
        state.SkipWithError("the second button should be hot");
    for (auto _ : state)
        bar->repaint();
    state.counters["buttons"] = bar->ButtonCount();
}
BENCHMARK(BM_MenuBarRepaint)->Arg(DeepBlue)->Arg(MacOS)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
