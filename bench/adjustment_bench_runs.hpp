#pragma once
// What the 2D and 3D adjustment benchmarks share: the project folder and
// settings of a run, the grid's neighbours, opening and closing the run's
// report files, the timed runs of one adjustment and the counters reported.

#include "engine/adjustment_results.hpp"
#include "grid_shape.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "peak_memory.hpp"
#include "reports/report_files.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace adjustment_bench {

constexpr double pi = 3.14159265358979323846;
constexpr double secondsPerRadian = 648000.0 / pi;

// A fresh project folder for the report files of one benchmark, removed at
// its end; the temporary folder of the run is the same folder.
class ProjectFolder {
public:
    ProjectFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarnwell-bench-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
        projectVars.projectFileName = (path_ / "bench.prj").string();
        projectVars.tmpDir = folder();
    }
    ~ProjectFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ProjectFolder(const ProjectFolder&) = delete;
    ProjectFolder& operator=(const ProjectFolder&) = delete;

    std::string folder() const { return path_.string() + "/"; }

    // The last line of the run's error report: why a run stopped.
    std::string lastError() const {
        closeErrFile();
        std::ifstream err(path_ / "bench.ERR");
        std::string line, last;
        while (std::getline(err, line))
            if (!line.empty() && line != "\r")
                last = line;
        return last;
    }

private:
    std::filesystem::path path_;
};

// The settings both benchmarks run with, on the given grid system and zone.
inline void setProject(int gridSystem, int gridZone) {
    projectVars.gridSystem = gridSystem;
    projectVars.gridZone = gridZone;
    projectVars.confidenceInterval = 95.0;
    projectVars.maxIterations = 10;
    projectVars.convergeLimit = 1e-4;
    projectVars.coordPrec = 3;
    projectVars.distPrec = 3;
    projectVars.directionPrec = 1;
    projectVars.relativeErrFileOn = 0;
}

using gridshape::gridNeighbours;

// Opens the run's report files; the memory peak counts from here, without
// the results the last run left.
inline void openRunFiles() {
    releaseAdjustmentResults();
    openRptFile(startNewFile);
    openErrFile(startNewFile);
    resetPeakMemory();
}

// Closes the run's report files, keeping the highest memory peak in `peak`.
inline void closeRunFiles(double& peak) {
    peak = std::max(peak, peakMegabytes());
    closeRptFile();
    closeErrFile();
}

// The size of the network, its total seconds per run and the memory peak.
inline void reportRun(benchmark::State& state, int count, double seconds, double peak) {
    const double perRun = seconds / static_cast<double>(state.iterations());
    state.counters["unknowns"] = unknownCount;
    state.counters["observations"] = obsCount;
    state.counters["total_s"] = perRun;
    state.counters["seconds_per_n1.5"] = perRun / std::pow(count / 1000.0, 1.5);
    state.counters["peak_MB"] = peak;
}

class StepClock {
public:
    double lap() {
        const auto now = std::chrono::steady_clock::now();
        const double seconds = std::chrono::duration<double>(now - last_).count();
        last_ = now;
        return seconds;
    }

private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

// Each iteration: `fill` makes the lists anew (untimed), `adjust` runs the
// adjustment with its report sections (timed) and returns why it failed, or
// nothing. Reports the run of a network of `count` points.
template <class Fill, class Adjust>
void timeAdjustment(benchmark::State& state, int count, Fill fill, Adjust adjust) {
    double seconds = 0, peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fill();
        openRunFiles();
        state.ResumeTiming();

        StepClock clock;
        const std::string failure = adjust();
        seconds += clock.lap();

        state.PauseTiming();
        closeRunFiles(peak);
        state.ResumeTiming();
        if (!failure.empty()) {
            state.SkipWithError(failure.c_str());
            break;
        }
    }
    reportRun(state, count, seconds, peak);
}

} // namespace adjustment_bench
