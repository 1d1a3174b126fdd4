// Reading our shipped theme file (themes/green.sui, 52 KB, 31 entries): the reader alone (the
// whole file read, the record chain walked), and the theme component as a window would use it:
// find, check and read the file, then every colour, flag and picture a skinned window asks
// for. Target: the file read in well under 2 ms.
//
//   bench_skin_ThemeFileBench [--benchmark_repetitions=9] [--theme FILE]
#include "framework/TApplication.h"
#include "framework/TBitmap.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiThemeFileReader.h"

#include <QCoreApplication>
#include <QDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string themeFile;

// The copy the build puts beside the reader's executable, else the one in the source tree.
std::string findShippedTheme() {
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath("../app/green.sui");
    if (QFileInfo(beside).isFile())
        return beside.toStdString();
    return "themes/green.sui";
}

void BM_ReadThemeFile(benchmark::State& state) {
    std::size_t entries = 0;
    for (auto _ : state) {
        TsuiThemeFileReader reader(themeFile);
        entries = reader.Entries().size();
        benchmark::DoNotOptimize(entries);
    }
    state.counters["entries"] = double(entries);
}
BENCHMARK(BM_ReadThemeFile)->Unit(benchmark::kMicrosecond);

void BM_LoadThemeAndEveryEntry(benchmark::State& state) {
    for (auto _ : state) {
        TsuiFileTheme theme(nullptr);
        theme.SetThemeFile(QString::fromStdString(themeFile));
        int sum = 0;
        for (int entry = 1; entry <= 42; ++entry)
            sum += theme.IntEntry(entry) + theme.BoolEntry(entry);
        for (int entry : {5, 10, 11, 12, 41, 42}) {
            TBitmap b;
            theme.ImageEntry(entry, b);
            sum += b.Width();
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_LoadThemeAndEveryEntry)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--theme") == 0) {
            themeFile = argv[i + 1];
            for (int j = i; j + 2 <= argc; ++j)
                argv[j] = argv[j + 2];
            argc -= 2;
            break;
        }
    TQtApplication qt(argc, argv);
    TApplication application;
    if (themeFile.empty())
        themeFile = findShippedTheme();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
