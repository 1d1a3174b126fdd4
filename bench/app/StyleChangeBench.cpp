// One style change of the reader's window through its theme manager: from the assignment of the
// new style until the whole window (800 x 600 client) has painted again, every skinned part
// re-reading its colours and pictures on the way. The styles go round all five, so each change
// is a real one. Target: one frame, 16 ms, at the median. Runs off-screen unless a platform is
// given.
//
//   bench_app_StyleChangeBench [--benchmark_repetitions=...]
#include "app/TForm1.h"
#include "bench/support/QtBenchMain.h"
#include "framework/TApplication.h"
#include "framework/TScriptedPlatform.h"
#include "skin/TsuiThemeManager.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

void BM_StyleChangeToRepaintedWindow(benchmark::State& state) {
    const fs::path dir = fs::temp_directory_path() / ("zelmora-stylebench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "config.ini") << "[form]\r\ntop=0\r\nleft=0\r\nwidth=800\r\nheigth=600\r\nskin=1\r\n";
    TForm1::SetSettingsDirectory(dir.string());
    TScriptedPlatform platform;
    {
        TForm1 form(nullptr);
        form.Show();
        QCoreApplication::processEvents();
        const TsuiUIStyle styles[] = {MacOS, WinXP, DeepBlue, Protein, BlueGlass};
        std::size_t next = 0;
        std::vector<double> ms;
        for (auto _ : state) {
            QElapsedTimer clock;
            clock.start();
            form.skinman->SetUIStyle(styles[next++ % std::size(styles)]);
            form.repaint(); // the whole window and every child, painted now
            const double t = double(clock.nsecsElapsed()) / 1e6;
            ms.push_back(t);
            state.SetIterationTime(t / 1e3);
        }
        std::sort(ms.begin(), ms.end());
        const std::size_t n = ms.size();
        state.counters["median_ms"] = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
        state.counters["max_ms"] = ms.back();
        state.counters["components"] = form.skinman->CompList().Count();
        state.counters["client_w"] = form.ClientWidth();
        state.counters["client_h"] = form.ClientHeight();
    }
    TForm1::SetSettingsDirectory("");
    std::error_code ec;
    fs::remove_all(dir, ec);
}
BENCHMARK(BM_StyleChangeToRepaintedWindow)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
