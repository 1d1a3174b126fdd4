#pragma once
// The process's resident memory from /proc/self/status, for benchmarks that report a peak.
#include <fstream>
#include <string>

// A value of /proc/self/status in KiB ("VmRSS:", "VmHWM:"), 0 when absent.
inline long StatusKiB(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string k;
    long v = 0;
    while (in >> k) {
        if (k == key) {
            in >> v;
            return v;
        }
        std::getline(in, k);
    }
    return 0;
}

// Starts the resident high-water mark (VmHWM) afresh from what is resident now.
inline void ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}
