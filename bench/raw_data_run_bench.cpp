// Whole runs of the processing driver from generated raw data (raw_networks.hpp),
// as tarnrun makes them: the project read from its file, `adjustNetwork`
// from reading the raw file to the last coordinate file.
//
// BM_RawRun2D/N/G/P: the 2D grid of N points; G 0 from raw data alone, G 1
// with the free points' true positions given as starting coordinates; P 0
// the grid of circle readings, P 1 the grid of single angles with measuring
// errors.
// BM_RawRun3D/N: the 3D network of N stations (GNSS vectors and sights).
// BM_RawRunLevels/N: the levelling grid of N benchmarks from its level file
// (level_networks.hpp), elevations adjusted alone, with the seconds of each
// step; `adjusted` 1 when the vertical adjustment did not fail stands for
// `converged`, since no horizontal adjustment runs.
// BM_RunSteps2D/N/G/P/S/K and BM_RunSteps3D/N/S/K: the same runs, with S
// sideshots from the last setup of the circle-reading grid or the 3D network
// (K 1 kept in the adjustment, 0 taken out by the sideshot filter and placed
// after it), with the seconds of each step, a step being the stretch between
// two progress messages of the run (its counter named after the message,
// "reading" before the first), taken in processor time of the process (user
// and system), which a machine shared with other work disturbs far less
// than wall time. Run at two sizes four times apart (in N, or in S for one
// setup's sightings), a step that grows as n takes four times as long at the
// larger size.
//
// Counters: `total_s` wall seconds of the run, `cpu_s` its processor
// seconds, `sys_share` the system's part of them, `peak_MB` the peak
// resident memory, `converged` 1 when the adjustment converged,
// `iterations` the adjustment's iterations in a run; for the 2D
// runs `worst_prelim_m`, the largest distance of a preliminary position from
// the true one (taken when the run outputs its observations, the time it
// takes left out of the other counters). BLAS runs on one thread.

#include "adjustment_bench_runs.hpp"
#include "level_networks.hpp"
#include "model/program_lists.hpp"
#include "model/run_context.hpp"
#include "model/settings/global_vars.hpp"
#include "one_thread_main.hpp"
#include "platform/shell_services.hpp"
#include "raw_networks.hpp"
#include "run/processing_driver.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

double processorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

double systemSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_stime.tv_sec) +
           1e-6 * static_cast<double>(usage.ru_stime.tv_usec);
}

// A counter name for a progress message: its words in lower case joined by
// '_', without numbers ("Iteration:  2" -> "iteration").
std::string stepName(const std::string& message) {
    std::string name;
    for (const char c : message) {
        if (std::isalpha(static_cast<unsigned char>(c)))
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    return name.empty() ? "unnamed" : name;
}

// A shell that shows nothing and keeps the processor time between its
// progress messages; it may look at the run when a given message comes, the
// seconds that takes kept apart.
class StepTimingShell : public SilentShell {
public:
    void start() {
        current_ = "reading";
        lastMark_ = processorSeconds();
    }
    void setMessage(const std::string& text) override {
        stop();
        current_ = stepName(text);
        if (text.starts_with("Iteration:"))
            ++iterations_;
        if (look_ && text == lookAt_)
            lookAtRun();
    }
    void lookWhen(const std::string& message, std::function<void()> look) {
        lookAt_ = message;
        look_ = std::move(look);
    }
    // Wall and processor seconds spent looking.
    double lookingWall() const { return lookingWall_; }
    double lookingProcessor() const { return lookingProcessor_; }
    void forgetLooking() { lookingWall_ = lookingProcessor_ = 0.0; }
    void stop() {
        const double now = processorSeconds();
        seconds_[current_] += now - lastMark_;
        lastMark_ = now;
    }
    const std::map<std::string, double>& seconds() const { return seconds_; }
    // Iterations of the adjustment over all runs.
    int iterations() const { return iterations_; }

private:
    void lookAtRun() {
        const double processorBefore = processorSeconds();
        const auto wallBefore = std::chrono::steady_clock::now();
        look_();
        lookingWall_ +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
        lookingProcessor_ += processorSeconds() - processorBefore;
        lastMark_ = processorSeconds();
    }

    std::string current_ = "reading";
    double lastMark_ = 0.0;
    std::map<std::string, double> seconds_;
    int iterations_ = 0;
    std::string lookAt_;
    std::function<void()> look_;
    double lookingWall_ = 0.0, lookingProcessor_ = 0.0;
};

using adjustment_bench::ProjectFolder;

// The project read as tarnrun reads it, its scratch files in its own folder.
bool loadProject(const std::filesystem::path& project) {
    projectVars.setDefaults();
    std::vector<std::string> refusals;
    if (projectVars.readProjectFile(project.string(), refusals) == 0)
        return false;
    projectVars.projectFileName = project.string();
    projectVars.tmpDir = project.parent_path().string() + "/";
    return true;
}

struct RunFigures {
    double wall = 0.0, processor = 0.0, system = 0.0, peak = 0.0;
    bool converged = true;
    bool failed = false;
    int iterations = 0;
};

// Runs the project once per iteration; `shell` sees every run.
RunFigures timeRuns(benchmark::State& state, const std::filesystem::path& project,
                    StepTimingShell& shell) {
    RunFigures figures;
    for (auto _ : state) {
        state.PauseTiming();
        if (!loadProject(project)) {
            state.SkipWithError("the generated project could not be read");
            break;
        }
        resetPeakMemory();
        const ActiveShellScope active(shell);
        const RunContext context(shell, projectVars.tmpDir, projectVars.getGeoidFolder(),
                                 AnswerPolicy{true});
        const double processorBefore = processorSeconds(), systemBefore = systemSeconds();
        const auto wallBefore = std::chrono::steady_clock::now();
        state.ResumeTiming();

        shell.start();
        const RunResult result = adjustNetwork(context, adjustmentRun, 0);
        shell.stop();

        state.PauseTiming();
        figures.wall +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
        figures.processor += processorSeconds() - processorBefore;
        figures.system += systemSeconds() - systemBefore;
        figures.peak = std::max(figures.peak, peakMegabytes());
        figures.wall -= shell.lookingWall();
        figures.processor -= shell.lookingProcessor();
        shell.forgetLooking();
        figures.converged = figures.converged && result.adjustment == AdjustmentOutcome::converged;
        figures.failed = figures.failed || result.adjustment == AdjustmentOutcome::failed;
        figures.iterations = shell.iterations();
        state.ResumeTiming();
        if (!result.reachedEnd) {
            state.SkipWithError("the run stopped before its end");
            break;
        }
    }
    return figures;
}

void report(benchmark::State& state, const RunFigures& figures) {
    const double runs =
        static_cast<double>(std::max<benchmark::IterationCount>(1, state.iterations()));
    state.counters["total_s"] = figures.wall / runs;
    state.counters["cpu_s"] = figures.processor / runs;
    state.counters["sys_share"] =
        figures.processor > 0.0 ? figures.system / figures.processor : 0.0;
    state.counters["peak_MB"] = figures.peak;
    state.counters["converged"] = figures.converged ? 1.0 : 0.0;
    state.counters["iterations"] = figures.iterations / runs;
}

void reportSteps(benchmark::State& state, const StepTimingShell& shell) {
    const double runs =
        static_cast<double>(std::max<benchmark::IterationCount>(1, state.iterations()));
    for (const auto& [step, seconds] : shell.seconds())
        state.counters[step] = seconds / runs;
}

bool singleAngles(const benchmark::State& state) {
    return state.range(2) != 0;
}

std::filesystem::path project2D(const ProjectFolder& folder, const benchmark::State& state,
                                rawnetworks::Sideshots sideshots) {
    const int points = static_cast<int>(state.range(0));
    return singleAngles(state) ? rawnetworks::writeAngleGridProject2D(folder.folder(), points, true)
                               : rawnetworks::writeGridProject2D(folder.folder(), points,
                                                                 state.range(1) != 0, sideshots);
}

// The largest distance of a point of the run's point list from its true
// position (points without a position count as infinitely far).
double worstOffTruth(const std::vector<rawnetworks::GridPosition>& truth) {
    double worst = 0.0;
    for (std::size_t i = 0; i < truth.size(); ++i) {
        coordRec point;
        if (pointList2D.find("P" + std::to_string(i), point) < 0)
            continue;
        const double off = isSet(point.easting) ? std::hypot(point.northing - truth[i].northing,
                                                             point.easting - truth[i].easting)
                                                : INFINITY;
        worst = std::max(worst, off);
    }
    return worst;
}

std::filesystem::path project3D(const ProjectFolder& folder, const benchmark::State& state) {
    return rawnetworks::writeNetworkProject3D(folder.folder(), static_cast<int>(state.range(0)));
}

// The sideshots the ranges from `first` on ask for: their count, then 1 to
// keep them in the adjustment.
rawnetworks::Sideshots sideshotsOf(const benchmark::State& state, int first) {
    return {static_cast<int>(state.range(first)), state.range(first + 1) != 0};
}

// The runs of the project, with the seconds of each step when `steps`.
void runProject(benchmark::State& state, const std::filesystem::path& project, bool steps) {
    StepTimingShell shell;
    report(state, timeRuns(state, project, shell));
    if (steps)
        reportSteps(state, shell);
}

// The 2D runs, with the worst preliminary position taken as the run
// outputs its observations (the first step after the preliminary
// coordinates).
void runProject2D(benchmark::State& state, bool steps, rawnetworks::Sideshots sideshots = {}) {
    const ProjectFolder folder;
    const std::filesystem::path project = project2D(folder, state, sideshots);
    const int points = static_cast<int>(state.range(0));
    const std::vector<rawnetworks::GridPosition> truth = singleAngles(state)
                                                             ? rawnetworks::angleGridTruth(points)
                                                             : rawnetworks::gridTruth2D(points);
    double worst = 0.0;
    StepTimingShell shell;
    shell.lookWhen("Outputting observations.",
                   [&] { worst = std::max(worst, worstOffTruth(truth)); });
    report(state, timeRuns(state, project, shell));
    state.counters["worst_prelim_m"] = worst;
    if (steps)
        reportSteps(state, shell);
}

void BM_RawRun2D(benchmark::State& state) {
    runProject2D(state, false);
}

void BM_RawRun3D(benchmark::State& state) {
    const ProjectFolder folder;
    runProject(state, project3D(folder, state), false);
}

void BM_RawRunLevels(benchmark::State& state) {
    const ProjectFolder folder;
    StepTimingShell shell;
    const RunFigures figures = timeRuns(
        state, rawnetworks::writeLevelProject(folder.folder(), static_cast<int>(state.range(0))),
        shell);
    report(state, figures);
    reportSteps(state, shell);
    state.counters.erase("converged");
    state.counters["adjusted"] = figures.failed ? 0.0 : 1.0;
}

void BM_RunSteps2D(benchmark::State& state) {
    runProject2D(state, true, sideshotsOf(state, 3));
}

void BM_RunSteps3D(benchmark::State& state) {
    const ProjectFolder folder;
    runProject(state,
               rawnetworks::writeNetworkProject3D(folder.folder(), static_cast<int>(state.range(0)),
                                                  sideshotsOf(state, 1)),
               true);
}

} // namespace

BENCHMARK(BM_RawRun2D)
    ->Args({4900, 0, 0})
    ->Args({20000, 0, 0})
    ->Args({20000, 1, 0})
    ->Args({100000, 0, 0})
    ->Args({100000, 1, 0})
    ->Args({4900, 0, 1})
    ->Args({19881, 0, 1})
    ->Args({99856, 0, 1})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_RawRun3D)->Arg(10000)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_RawRunLevels)
    ->Arg(2025)
    ->Arg(4900)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_RunSteps2D)
    ->Args({10000, 1, 0, 0, 1})
    ->Args({40000, 1, 0, 0, 1})
    ->Args({24964, 0, 1, 0, 1})
    ->Args({99856, 0, 1, 0, 1})
    ->Args({100, 1, 0, 25000, 1})
    ->Args({100, 1, 0, 100000, 1})
    ->Args({100, 1, 0, 250000, 0})
    ->Args({100, 1, 0, 1000000, 0})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_RunSteps3D)
    ->Args({2500, 0, 1})
    ->Args({10000, 0, 1})
    ->Args({100, 25000, 1})
    ->Args({100, 100000, 1})
    ->Args({100, 25000, 0})
    ->Args({100, 100000, 0})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
    return runOnOneThread(argc, argv);
}
