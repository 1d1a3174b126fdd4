// Importing a 100,000-item headline list file (GBK titles, redirect-prefixed links, CR LF) into
// the main window's list box through the import command, with the file dialog scripted:
//
//   ReadFile          the file read and cut into the headline store alone (no widgets)
//   WindowImport      the whole command: read, clear and refill the list box, set the extent
//   ImportAndPaint    the command followed by the list box's first paint of the new lines
//
// Off-screen; the items' count is the benchmark argument (1,000 to 100,000 by factors of ten).
#include "app/TForm1.h"
#include "bench/support/QtBenchMain.h"
#include "framework/TListBox.h"
#include "framework/TMenu.h"
#include "framework/TScriptedPlatform.h"
#include "framework/core/CodePage.h"
#include "reader/HeadlineListFile.h"
#include "reader/THeadlineStore.h"

#include <QImage>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace {

fs::path workDir() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("zelmora-listbench-" + std::to_string(::getpid()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

// A list file as a save from a feed writes it: Chinese titles of varying length, each link
// behind the redirect prefix.
const std::string& listFile(int items) {
    static std::map<int, std::string> made;
    auto it = made.find(items);
    if (it != made.end())
        return it->second;
    static const char* const kWords[] = {"国际", "新闻", "经济", "发展", "会议", "科技", "体育", "教育",
                                         "文化", "市场", "政策", "城市", "报道", "专家", "今日", "记者"};
    std::string text;
    text.reserve(static_cast<std::size_t>(items) * 110);
    for (int i = 0; i < items; ++i) {
        std::string title;
        for (int w = 0; w < 6 + i % 9; ++w)
            title += kWords[(i * 7 + w * 3) % 16];
        text += Utf8ToAnsi(title) + " " + std::to_string(i) + "\r\n";
        text += "http://go.zelmora-news.example/go/?url=http://news.example/world/" + std::to_string(i) +
                ".html\r\n";
    }
    const std::string path = (workDir() / ("list-" + std::to_string(items) + ".txt")).string();
    std::ofstream(path, std::ios::binary) << text;
    return made[items] = path;
}

void setCounters(benchmark::State& state, int items) {
    state.SetItemsProcessed(state.iterations() * items);
    std::error_code ec;
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(fs::file_size(listFile(items), ec)));
}

void BM_ReadFile(benchmark::State& state) {
    const int items = static_cast<int>(state.range(0));
    const std::string& file = listFile(items);
    THeadlineStore store;
    for (auto _ : state) {
        ImportHeadlineList(file, store);
        benchmark::DoNotOptimize(store.Count());
    }
    setCounters(state, items);
}

struct Window {
    TScriptedPlatform platform;
    std::unique_ptr<TForm1> form;
    Window() {
        TForm1::SetSettingsDirectory(workDir().string()); // no config.ini there: built-in values
        form = std::make_unique<TForm1>(nullptr);
    }
    void import(const std::string& file) {
        platform.DialogAnswers.push_back(QString::fromStdString(file));
        form->N12->Click();
    }
};

void BM_WindowImport(benchmark::State& state) {
    const int items = static_cast<int>(state.range(0));
    const std::string& file = listFile(items);
    Window w;
    for (auto _ : state) {
        w.import(file);
        benchmark::DoNotOptimize(w.form->lb->Items().Count());
    }
    if (w.form->lb->Items().Count() != 2 * items)
        state.SkipWithError("the list does not show two lines per item");
    setCounters(state, items);
}

void BM_ImportAndPaint(benchmark::State& state) {
    const int items = static_cast<int>(state.range(0));
    const std::string& file = listFile(items);
    Window w;
    for (auto _ : state) {
        w.import(file);
        QImage shown = w.form->lb->grab().toImage();
        benchmark::DoNotOptimize(shown.bits());
    }
    setCounters(state, items);
}

BENCHMARK(BM_ReadFile)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowImport)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportAndPaint)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const int rc = RunQtBenchmarks(argc, argv);
    std::error_code ec;
    fs::remove_all(workDir(), ec);
    return rc;
}
