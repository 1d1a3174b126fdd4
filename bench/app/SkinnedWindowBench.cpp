// The skinned window against a plain one: time from launching to the first painted window and
// the peak memory by then, for the reader's skinned window and for a plain Qt window holding the
// same widgets (menu bar with the same items, splitter, list, pane, panels) with the platform's
// own look, each in a fresh process of this program, alternating, in the same run; and one full
// repaint of the 800 x 600 skinned window (frame, title bar, menu bar, panel, side channel, list).
//
//   bench_app_SkinnedWindowBench [--benchmark_repetitions=...]
//   bench_app_SkinnedWindowBench --child skinned|plain        (one run, prints its figures)
#include "app/TForm1.h"
#include "bench/support/ChildRun.h"
#include "framework/TApplication.h"
#include "framework/TListBox.h"
#include "webview/TWebBrowser.h"

#include <QEvent>
#include <QImage>
#include <QListWidget>
#include <QMenuBar>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// CPU time of this thread: the paint's own cost, apart from what other processes take of the
// machine meanwhile.
double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

long peakKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

// Reports once the first paint of any widget of the window has been delivered.
class FirstPaint : public QObject {
public:
    QWidget* window = nullptr;
    std::function<void()> done;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* w = qobject_cast<QWidget*>(o);
        if (e->type() == QEvent::Paint && done && w && w->window() == window) {
            auto d = std::move(done);
            done = nullptr;
            QTimer::singleShot(0, d);
        }
        return false;
    }
};

// The same widgets as the reader's window, with the platform's look: a menu bar with the
// reader's menu, a caption strip per panel, a splitter with the headline list and the pane.
QWidget* plainWindow() {
    auto* window = new QWidget;
    window->setWindowTitle(QStringLiteral("Zelmora新闻浏览器"));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QMenuBar(window);
    const char* menus[][6] = {{"文件", "导入标题列表", "保存标题列表", "保存新闻内容", "退出", nullptr},
                              {"获取新闻", "时事新闻", "军事新闻", "财经要闻", "IT动态", "法治新闻"},
                              {"选项", "使用代理服务器", "界面风格", nullptr, nullptr, nullptr},
                              {"特别服务", "天气预报", "IP地理位置查询", "在线电子地图", "万年历", nullptr},
                              {"检查新版本", "开始检查", nullptr, nullptr, nullptr, nullptr},
                              {"帮助", "访问作者的网站", "关于...", nullptr, nullptr, nullptr}};
    for (auto& m : menus) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(m[0]));
        for (int i = 1; i < 6 && m[i]; ++i)
            menu->addAction(QString::fromUtf8(m[i]));
    }
    layout->setMenuBar(bar);
    auto* caption = new QWidget(window);
    caption->setFixedHeight(20);
    layout->addWidget(caption);
    auto* split = new QSplitter(window);
    auto* side = new QWidget(split);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->addWidget(new QWidget(side));
    auto* list = new QListWidget(side);
    sideLayout->addWidget(list);
    split->addWidget(side);
    split->addWidget(new QWidget(split)); // the pane; the engine starts on first use there too
    layout->addWidget(split, 1);
    window->resize(709, 549);
    window->move(237, 158);
    return window;
}

int runChild(const std::string& mode) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("zelmora-skinbench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    TForm1::SetSettingsDirectory(dir.string());
    int argc = 1;
    char name[] = "zelmora";
    char* argv[] = {name, nullptr};
    TWebBrowser::PrepareApplication();
    TQtApplication qt(argc, argv);
    TApplication application;
    Application->SetTitle(QStringLiteral("Zelmora新闻浏览器"));
    QWidget* window = nullptr;
    if (mode == "skinned") {
        Application->CreateForm(Form1);
        window = Form1;
    } else {
        window = plainWindow();
    }
    FirstPaint watcher;
    watcher.window = window;
    watcher.done = [&] {
        std::printf("%.3f %ld\n", MonotonicMs(), peakKiB());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    };
    qApp->installEventFilter(&watcher);
    window->show();
    const int rc = QApplication::exec();
    if (mode == "skinned")
        delete Form1;
    else
        delete window;
    std::filesystem::remove_all(dir);
    return rc;
}

// Skinned and plain runs alternate, so both see the same machine load.
void BM_StartupSkinnedBesidePlain(benchmark::State& state) {
    std::vector<double> skinnedMs, plainMs, skinnedMiB, plainMiB, skinnedCpu, plainCpu;
    bool skinnedFirst = true;
    for (auto _ : state) {
        // Which goes first alternates too.
        ChildRunResult s, p;
        if (skinnedFirst) {
            s = RunChild("skinned");
            p = RunChild("plain");
        } else {
            p = RunChild("plain");
            s = RunChild("skinned");
        }
        skinnedFirst = !skinnedFirst;
        skinnedCpu.push_back(s.cpuMs);
        plainCpu.push_back(p.cpuMs);
        if (s.ms <= 0 || p.ms <= 0) {
            state.SkipWithError("a child run failed");
            break;
        }
        state.SetIterationTime(s.ms / 1000.0);
        skinnedMs.push_back(s.ms);
        plainMs.push_back(p.ms);
        skinnedMiB.push_back(s.peakKiB / 1024.0);
        plainMiB.push_back(p.peakKiB / 1024.0);
    }
    state.counters["skinned_ms"] = Median(skinnedMs);
    state.counters["plain_ms"] = Median(plainMs);
    state.counters["time_ratio"] = Median(plainMs) > 0 ? Median(skinnedMs) / Median(plainMs) : 0;
    state.counters["skinned_MiB"] = Median(skinnedMiB);
    state.counters["plain_MiB"] = Median(plainMiB);
    state.counters["extra_MiB"] = Median(skinnedMiB) - Median(plainMiB);
    state.counters["skinned_cpu_ms"] = Median(skinnedCpu);
    state.counters["plain_cpu_ms"] = Median(plainCpu);
    state.counters["cpu_ratio"] = Median(plainCpu) > 0 ? Median(skinnedCpu) / Median(plainCpu) : 0;
}
BENCHMARK(BM_StartupSkinnedBesidePlain)->UseManualTime()->Iterations(9)->Unit(benchmark::kMillisecond);

// One full repaint of the whole 800 x 600 skinned window, children included.
void BM_RepaintSkinnedWindow800x600(benchmark::State& state) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("zelmora-skinpaint-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    // Skin index 7: the window's created DeepBlue look (a first run would show MacOS).
    std::ofstream(dir / "config.ini") << "[form]\r\nskin=7\r\n";
    TForm1::SetSettingsDirectory(dir.string());
    static int argc = 1;
    static char name[] = "zelmora";
    static char* argv[] = {name, nullptr};
    TWebBrowser::PrepareApplication();
    TQtApplication qt(argc, argv);
    TApplication application;
    Application->CreateForm(Form1);
    Form1->Show();
    Form1->SetBounds(50, 50, 800, 600);
    QCoreApplication::processEvents();
    std::vector<double> times, cpu;
    QImage target(Form1->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        const double t0 = MonotonicMs(), c0 = threadCpuMs();
        // Every widget of the window paints itself once: frame, band, bars, panel, list.
        Form1->render(&target);
        const double t = MonotonicMs() - t0;
        cpu.push_back(threadCpuMs() - c0);
        times.push_back(t);
        state.SetIterationTime(t / 1000.0);
    }
    state.counters["median_ms"] = Median(times);
    state.counters["median_cpu_ms"] = Median(cpu);
    delete Form1;
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_RepaintSkinnedWindow800x600)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
