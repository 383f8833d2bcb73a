#pragma once
// The main of a benchmark that measures on one thread. OpenBLAS and OpenMP
// read their thread counts when they load, before any code of the
// benchmark runs, so the counts are set here and the program starts itself
// again when they were not already set.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <unistd.h>

inline int runOnOneThread(int argc, char** argv) {
    if (std::getenv("OMP_THREAD_LIMIT") == nullptr) {
        setenv("OPENBLAS_NUM_THREADS", "1", 1);
        setenv("OMP_NUM_THREADS", "1", 1);
        setenv("OMP_THREAD_LIMIT", "1", 1);
        execv("/proc/self/exe", argv);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
