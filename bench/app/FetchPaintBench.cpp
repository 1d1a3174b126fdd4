// From a category command to its headlines painted in the list: the window picks "国际时事"
// against the bundled demo site (demo/serve.py, started by this program on a free loopback
// port), and the clock stops at the list box's first paint that shows the new lines. One window
// runs 20 commands in a row after one to warm up; the median_ms counter is the figure to quote.
//
//   bench_app_FetchPaintBench [--screenshot file.png]   (the window after the last command)
//
// Off-screen. Works whether the command fetches on the GUI thread or on a worker: the clock
// runs over the command and the events that follow it alike.
#include "app/TForm1.h"
#include "bench/support/QtBenchMain.h"
#include "framework/TListBox.h"
#include "framework/TMenu.h"
#include "framework/TScriptedPlatform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>

#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string screenshotFile;

// __FILE__ is relative when the compiler cache rewrites paths: then look up from here.
fs::path servePath() {
    const fs::path beside = fs::path(__FILE__).parent_path() / "../../demo/serve.py";
    std::error_code ec;
    if (fs::exists(beside, ec))
        return beside;
    for (fs::path p = fs::current_path(ec); !p.empty() && p != p.root_path(); p = p.parent_path())
        if (fs::exists(p / "demo" / "serve.py", ec))
            return p / "demo" / "serve.py";
    return beside;
}

// The demo site in a child process; its port is read back from the line it prints.
class DemoSite {
public:
    DemoSite() {
        const std::string serve = servePath().string(); // not in the child: it may only exec
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(fds[1], 2);
            ::close(fds[0]);
            ::close(fds[1]);
            ::execlp("python3", "python3", serve.c_str(), "--port", "0", "--quiet", nullptr);
            ::_exit(127);
        }
        ::close(fds[1]);
        // "demo: site on http://127.0.0.1:PORT/, ..."
        FILE* in = ::fdopen(fds[0], "r");
        char line[512];
        if (in && std::fgets(line, sizeof line, in)) {
            if (const char* p = std::strstr(line, "127.0.0.1:"))
                port_ = std::atoi(p + 10);
        }
        if (in)
            std::fclose(in);
    }
    ~DemoSite() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    int Port() const { return port_; }

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

// Notes the first paint of the list box once it holds lines.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(TListBox* lb) : lb_(lb) { lb_->installEventFilter(this); }
    bool painted = false;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == lb_ && e->type() == QEvent::Paint && lb_->Items().Count() > 0)
            painted = true;
        return false;
    }

private:
    TListBox* lb_;
};

void BM_CategoryToPaintedHeadlines(benchmark::State& state) {
    DemoSite demo;
    if (demo.Port() <= 0) {
        state.SkipWithError("the demo site did not start");
        return;
    }
    const fs::path dir = fs::temp_directory_path() / ("zelmora-fetchbench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string host = "127.0.0.1:" + std::to_string(demo.Port());
    std::ofstream(dir / "config.ini") << "[hosts]\r\nfeed=" << host << "\r\nredirect=" << host << "\r\n";
    TForm1::SetSettingsDirectory(dir.string());
    TScriptedPlatform platform;
    {
        TForm1 form(nullptr);
        form.Show();
        QCoreApplication::processEvents();
        PaintWatch watch(form.lb);
        // One command and its paint; -1 when no headlines were painted within 10 s.
        auto command = [&]() -> double {
            watch.painted = false;
            QElapsedTimer clock;
            clock.start();
            form.N27->Click();
            while (!watch.painted && clock.elapsed() < 10000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (!watch.painted || !platform.Boxes.empty())
                return -1;
            return static_cast<double>(clock.nsecsElapsed()) / 1e6;
        };
        command();
        std::vector<double> ms;
        for (auto _ : state) {
            const double t = command();
            if (t < 0) {
                state.SkipWithError("no headlines were painted");
                break;
            }
            ms.push_back(t);
            state.SetIterationTime(t / 1e3);
        }
        if (!ms.empty()) {
            std::sort(ms.begin(), ms.end());
            const std::size_t n = ms.size();
            state.counters["median_ms"] = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
            state.counters["min_ms"] = ms.front();
            state.counters["max_ms"] = ms.back();
        }
        if (!screenshotFile.empty()) {
            // With the first headline selected, as a reader would have it.
            form.lb->SetItemIndex(0);
            QCoreApplication::processEvents();
            form.grab().save(QString::fromStdString(screenshotFile));
        }
    }
    TForm1::SetSettingsDirectory("");
    std::error_code ec;
    fs::remove_all(dir, ec);
}

BENCHMARK(BM_CategoryToPaintedHeadlines)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--screenshot") == 0) {
            screenshotFile = argv[i + 1];
            for (int j = i; j + 2 <= argc; ++j)
                argv[j] = argv[j + 2];
            argc -= 2;
            break;
        }
    return RunQtBenchmarks(argc, argv);
}
