#pragma once
// Start-up benchmarks time a fresh process each run: this program again with --child MODE, which
// prints "<monotonic ms when done> <peak KiB> [<ms of its own step>]" on its standard output.
// RunChild starts it, reads that line and reports the time from the fork, the peak memory, the
// child's own CPU time and the time of the step it measured itself, if any.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

inline double MonotonicMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

struct ChildRunResult {
    double ms = 0;
    double cpuMs = 0; // user + system time of the child: its own cost, whatever the machine's load
    long peakKiB = 0;
    double stepMs = 0;
};

inline ChildRunResult RunChild(const std::string& mode) {
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const double start = MonotonicMs();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 1);
        close(fds[0]);
        execl("/proc/self/exe", "bench", "--child", mode.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string out;
    char buf[256];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0)
        out.append(buf, static_cast<std::size_t>(n));
    close(fds[0]);
    int status = 0;
    rusage ru{};
    wait4(pid, &status, 0, &ru);
    ChildRunResult r;
    r.cpuMs = (ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1000.0 +
              (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1000.0;
    double at = 0;
    std::istringstream in(out);
    if (in >> at >> r.peakKiB)
        r.ms = at - start;
    in >> r.stepMs;
    return r;
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}
