#pragma once
// The peak resident memory of a benchmark's run, from /proc (Linux).

#include <fstream>
#include <malloc.h>
#include <string>

// Peak resident memory since the last reset, in MB.
inline double peakMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0.0;
}

// Memory freed by an earlier run goes back to the system first, so the
// peak is this run's.
inline void resetPeakMemory() {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}
