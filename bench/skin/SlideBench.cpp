// The slides of the side channel and the panel: one painted step at the sizes the reader's
// window shows (side channel 277 x 445, panel 697 x 473), and whole slides end to end (the
// channel's 17 steps open plus the quick collapse; the panel's 30 steps down and 30 up). Each
// step paints the control through its off-screen bitmap and lets waiting events run, so a step
// should stay well under 2 ms for a slide to keep pace with the eye. Runs off-screen unless a
// platform is given.
//
//   bench_skin_SlideBench [--benchmark_repetitions=9]
#include "bench/support/QtBenchMain.h"
#include "framework/TForm.h"
#include "skin/TsuiPanel.h"
#include "skin/TsuiSideChannel.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

// A shown window holding the control, as the reader's window holds them.
struct Window {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TControl* holder = new TControl(form.get());
    Window() {
        form->SetBounds(0, 0, 720, 560);
        holder->SetParent(form.get());
        holder->SetBounds(0, 64, 697, 473);
        form->Show();
        QCoreApplication::processEvents();
    }
};

TsuiSideChannel* channelIn(Window& w) {
    auto* channel = new TsuiSideChannel(w.form.get());
    channel->SetParent(w.holder);
    channel->SetCaption(QStringLiteral("新闻标题(国际时事)"));
    channel->SetWidth(277);
    channel->TControl::SetHeight(445);
    return channel;
}

TsuiPanel* panelIn(Window& w) {
    auto* panel = new TsuiPanel(w.form.get());
    panel->SetParent(w.form.get());
    panel->SetBounds(0, 64, 697, 473);
    panel->SetCaption(QStringLiteral("新闻内容"));
    return panel;
}

void BM_SideChannelStepPaint(benchmark::State& state) {
    Window w;
    TsuiSideChannel* channel = channelIn(w);
    channel->SetQuickMove(true);
    channel->SetStayOn(true);
    for (auto _ : state)
        channel->repaint();
}
BENCHMARK(BM_SideChannelStepPaint)->Unit(benchmark::kMicrosecond);

void BM_PanelStepPaint(benchmark::State& state) {
    Window w;
    TsuiPanel* panel = panelIn(w);
    for (auto _ : state)
        panel->repaint();
}
BENCHMARK(BM_PanelStepPaint)->Unit(benchmark::kMicrosecond);

void BM_SideChannelWholeSlide(benchmark::State& state) {
    Window w;
    TsuiSideChannel* channel = channelIn(w);
    for (auto _ : state) {
        channel->SetStayOn(true);  // 17 steps of 15 pixels, then 277
        channel->SetStayOn(false); // back to 10 at once
    }
    state.counters["steps"] = 17;
}
BENCHMARK(BM_SideChannelWholeSlide)->Unit(benchmark::kMillisecond);

void BM_PanelWholeSlide(benchmark::State& state) {
    Window w;
    TsuiPanel* panel = panelIn(w);
    for (auto _ : state) {
        panel->Push(); // 30 steps down to the bar
        panel->Pop();  // 30 steps up again
    }
    state.counters["steps"] = 60;
}
BENCHMARK(BM_PanelWholeSlide)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
