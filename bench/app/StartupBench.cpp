// Start-up of the reader: time from launching the program to its first painted main window, and
// the memory it holds by then; the same again up to a local page shown in the browser pane
// (which starts the web engine); and the first article opened a second after the window shows,
// from the command to the page loaded, with the engine cold; and the same article opened by a
// double click on its headline, as the user does it (press, release 60 ms later, the second press
// 100 or 250 ms after that, which opens), from the second press to the page loaded; and the about
// page picked from the help menu 150 or 300 ms after its item was highlighted, from the pick. Each iteration
// starts a fresh process (this program with --child), so every run pays the whole start-up; the
// figures reported are medians.
//
//   bench_app_StartupBench [--benchmark_repetitions=...]
//   bench_app_StartupBench --child window|page|article|dblclick100|dblclick250|menu150|menu300 [--screenshot file.png]
//   (one run, prints its figures)
#include "app/TForm1.h"
#include "bench/support/ChildRun.h"
#include "framework/TApplication.h"
#include "framework/TListBox.h"
#include "framework/TMenu.h"
#include "framework/core/CodePage.h"
#include "reader/HeadlineLines.h"
#include "reader/THeadlineStore.h"
#include "webview/TWebBrowser.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Peak resident memory (VmHWM) of this process and all its descendants (the web engine runs
// its renderer in processes of its own), in KiB.
long treePeakKiB() {
    std::map<int, int> parent;
    std::map<int, long> hwm;
    if (DIR* d = opendir("/proc")) {
        while (dirent* e = readdir(d)) {
            const int pid = std::atoi(e->d_name);
            if (pid <= 0)
                continue;
            std::ifstream status("/proc/" + std::string(e->d_name) + "/status");
            std::string line;
            while (std::getline(status, line)) {
                if (line.rfind("PPid:", 0) == 0)
                    parent[pid] = std::atoi(line.c_str() + 5);
                else if (line.rfind("VmHWM:", 0) == 0)
                    hwm[pid] = std::atol(line.c_str() + 6);
            }
        }
        closedir(d);
    }
    const int self = getpid();
    long total = 0;
    for (const auto& [pid, kib] : hwm) {
        for (int p = pid; p > 1; p = parent.count(p) ? parent[p] : 0)
            if (p == self) {
                total += kib;
                break;
            }
    }
    return total;
}

// Reports once the first paint of the window (of any widget in it) has been delivered.
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
            // After the rest of this paint cycle has run.
            QTimer::singleShot(0, d);
        }
        return false;
    }
};

// Delivers one mouse event to the middle of the list's first line, as the window system would.
void sendToFirstLine(QEvent::Type type, Qt::MouseButtons buttons) {
    const TRect r = Form1->lb->ItemRect(0);
    const QPointF p(r.Left + 10, (r.Top + r.Bottom) / 2);
    QMouseEvent e(type, p, Form1->lb->mapToGlobal(p), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(Form1->lb, &e);
}

// The list holds one headline, the article's.
void showArticleHeadline(const std::string& article) {
    Headlines().Clear();
    Headlines().Append({Utf8ToAnsi("肯尼亚宣布上调最低工资标准 明年一月起实施"), article});
    for (std::string& line : HeadlineListLines(Headlines()))
        Form1->lb->Items().Add(std::move(line));
}

// A double click on the first line: press, release after holdMs, the second press gapMs after
// the release (it opens the headline), release. Times are kept to the plan even when the GUI
// thread was busy, as a user's clicks are: opens(t) gets the planned time of the second press.
void doubleClickFirstLine(int holdMs, int gapMs, const std::function<void(double)>& opens) {
    const double start = MonotonicMs();
    sendToFirstLine(QEvent::MouseButtonPress, Qt::LeftButton);
    QTimer::singleShot(holdMs, [=] {
        sendToFirstLine(QEvent::MouseButtonRelease, Qt::NoButton);
        const double openAt = start + holdMs + gapMs;
        QTimer::singleShot(std::max(0, static_cast<int>(openAt - MonotonicMs())), [=] {
            opens(openAt);
            sendToFirstLine(QEvent::MouseButtonDblClick, Qt::LeftButton);
            sendToFirstLine(QEvent::MouseButtonRelease, Qt::NoButton);
        });
    });
}

int runChild(const std::string& mode, const std::string& screenshot) {
    const auto dir = std::filesystem::temp_directory_path() / ("zelmora-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    TForm1::SetSettingsDirectory(dir.string());
    const std::string page = (dir / "info.htm").string();
    std::ofstream(page) << "<html><head><title>Zelmora</title></head><body bgcolor=#FCF6E8>"
                           "<font size=4><b>Zelmora新闻浏览器 V2.01</b></font><br><br><br>"
                           "A local page shown in the browser pane.</body></html>";
    const std::string article = (dir / "article.htm").string();
    {
        std::ofstream a(article);
        a << "<html><head><meta charset=utf-8><title>国际时事</title><style>body{font-family:sans-serif;"
             "margin:16px;background:#fcf6e8}h1{font-size:22px}p{line-height:1.6}</style></head><body>"
             "<h1>肯尼亚宣布上调最低工资标准 明年一月起实施</h1>";
        for (int i = 0; i < 12; ++i)
            a << "<p>本网讯 分析人士指出,此次会谈能否取得实质成果,关键在于主要经济体能否作出更多承诺。</p>";
        a << "</body></html>";
    }
    int argc = 1;
    char name[] = "zelmora";
    char* argv[] = {name, nullptr};
    TWebBrowser::PrepareApplication();
    TQtApplication qt(argc, argv);
    TApplication application;
    Application->SetTitle(QStringLiteral("Zelmora新闻浏览器"));
    Application->CreateForm(Form1);
    FirstPaint watcher;
    double at = 0, openedAt = 0, stepMs = 0;
    auto finish = [&] {
        at = MonotonicMs();
        if (!screenshot.empty())
            Form1->grab().save(QString::fromStdString(screenshot));
        std::printf("%.3f %ld %.3f\n", at, treePeakKiB(), stepMs);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    };
    if (mode == "page") {
        watcher.done = [&] {
            Form1->web->OnDocumentComplete = [&](TWebBrowser*, bool) {
                // Let the page reach the screen before the picture is taken.
                QTimer::singleShot(300, finish);
            };
            Form1->web->Navigate(QString::fromStdString(page));
        };
    } else if (mode == "article") {
        // The user looks at the list a moment, then opens a headline: the engine starts then.
        watcher.done = [&] {
            QTimer::singleShot(1000, [&] {
                Form1->web->OnDocumentComplete = [&](TWebBrowser*, bool) {
                    stepMs = MonotonicMs() - openedAt;
                    finish();
                };
                openedAt = MonotonicMs();
                Form1->web->Navigate(QString::fromStdString(article));
            });
        };
    } else if (mode.rfind("dblclick", 0) == 0) {
        const int gapMs = std::atoi(mode.c_str() + 8);
        showArticleHeadline(article);
        watcher.done = [&, gapMs] {
            QTimer::singleShot(1000, [&, gapMs] {
                Form1->web->OnDocumentComplete = [&](TWebBrowser*, bool) {
                    stepMs = MonotonicMs() - openedAt;
                    finish();
                };
                doubleClickFirstLine(60, gapMs, [&](double at) { openedAt = at; });
            });
        };
    } else if (mode.rfind("menu", 0) == 0) {
        // The about page from the help menu: its item is highlighted as the pointer reaches it,
        // and picked gapMs later, from which the time runs.
        const int gapMs = std::atoi(mode.c_str() + 4);
        watcher.done = [&, gapMs] {
            QTimer::singleShot(1000, [&, gapMs] {
                Form1->web->OnDocumentComplete = [&](TWebBrowser*, bool) {
                    stepMs = MonotonicMs() - openedAt;
                    finish();
                };
                if (Form1->N21->OnHighlight)
                    Form1->N21->OnHighlight(Form1->N21);
                QTimer::singleShot(gapMs, [&] {
                    openedAt = MonotonicMs();
                    Form1->N21->Click();
                });
            });
        };
    } else {
        watcher.done = finish;
    }
    watcher.window = Form1;
    qApp->installEventFilter(&watcher);
    Form1->Show();
    const int rc = QApplication::exec();
    delete Form1;
    std::filesystem::remove_all(dir);
    return rc;
}

void startup(benchmark::State& state, const std::string& mode) {
    std::vector<double> times, peaks, steps;
    for (auto _ : state) {
        ChildRunResult r = RunChild(mode);
        if (r.ms <= 0) {
            state.SkipWithError("the child run failed");
            break;
        }
        state.SetIterationTime(r.ms / 1000.0);
        times.push_back(r.ms);
        peaks.push_back(r.peakKiB / 1024.0);
        steps.push_back(r.stepMs);
    }
    if (mode == "article" || mode.rfind("dblclick", 0) == 0 || mode.rfind("menu", 0) == 0)
        state.counters["article_ms"] = Median(steps);
    state.counters["median_ms"] = Median(times);
    state.counters["peak_MiB"] = Median(peaks);
}

void BM_StartupToFirstPaintedWindow(benchmark::State& state) {
    startup(state, "window");
}
void BM_StartupToLocalPageInPane(benchmark::State& state) {
    startup(state, "page");
}

void BM_FirstArticleWithTheEngineCold(benchmark::State& state) {
    startup(state, "article");
}

void BM_FirstArticleByDoubleClickWithTheEngineCold(benchmark::State& state) {
    startup(state, "dblclick" + std::to_string(state.range(0)));
}

void BM_FirstPageFromTheMenuWithTheEngineCold(benchmark::State& state) {
    startup(state, "menu" + std::to_string(state.range(0)));
}

BENCHMARK(BM_StartupToFirstPaintedWindow)->UseManualTime()->Iterations(7)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupToLocalPageInPane)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstArticleWithTheEngineCold)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstArticleByDoubleClickWithTheEngineCold)
    ->Arg(100)
    ->Arg(250)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstPageFromTheMenuWithTheEngineCold)
    ->Arg(150)
    ->Arg(300)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) {
        std::string screenshot;
        if (argc >= 5 && std::strcmp(argv[3], "--screenshot") == 0)
            screenshot = argv[4];
        return runChild(argv[2], screenshot);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
