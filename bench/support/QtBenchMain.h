#pragma once
// The main() of a benchmark program that needs the Qt application and the framework's
// TApplication: offscreen unless QT_QPA_PLATFORM says otherwise, an unknown flag is an error.
//
//   int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
#include "framework/TApplication.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

inline int RunQtBenchmarks(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TQtApplication qt(argc, argv);
    TApplication application;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
