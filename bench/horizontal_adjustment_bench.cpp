// BM_Adjustment2D: the horizontal adjustment with every report section it
// writes (adjusted coordinates, error ellipses and the .EEL file, adjusted
// observations, statistics), from starting coordinates, on generated
// networks of 1,000 to 100,000 points.
// BM_Whole2DRoad: the whole 2D road of a run from filled lists: the sideshot filter, preliminary
// coordinates, the unadjusted observations listing, the adjustment with every report section
// (adjusted coordinates, error ellipses and the .EEL file, adjusted
// observations, statistics), the sideshots and the final point lists.
//
// The network is a grid of traverses 150 m apart, in full rows: distances between
// neighbours, the angles between neighbours at every point, two fixed points
// at one corner, one sideshot (a distance and an angle) off every tenth
// point, seeded noise. Each step reports its seconds; `peak_MB` is the peak
// resident memory of the run, `seconds_per_n1.5` the total over
// (n / 1000)^1.5: flat from size to size when the time grows as n^1.5, so
// the sizes are each other's reference. BLAS runs on one thread.

#include "adjustment_bench_runs.hpp"
#include "engine/prelim_coords_2d.hpp"
#include "engine/sideshot_filter.hpp"
#include "engine/sideshots_2d.hpp"
#include "model/program_lists.hpp"
#include "model/run_context.hpp"
#include "model/settings/global_vars.hpp"
#include "model/station_lists.hpp"
#include "one_thread_main.hpp"
#include "output/report_lines.hpp"
#include "reports/report_files.hpp"
#include "reports/unadjusted_observations.hpp"
#include "run/horizontal_adjustment.hpp"
#include "run/processing_driver.hpp"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace adjustment_bench;

struct Truth {
    double e, n;
};

double azimuth(const Truth& a, const Truth& b) {
    const double t = std::atan2(b.e - a.e, b.n - a.n);
    return t < 0 ? t + 2 * pi : t;
}

std::string nameOf(int i) {
    return std::string("P").append(std::to_string(i));
}

coordRec pointRecord(const std::string& name, int type) {
    coordRec p;
    initCoordRec(p);
    setPointName(p.name, name);
    p.pointType = type;
    return p;
}

using gridshape::rowLength;

class GridNetwork {
public:
    GridNetwork(int count, unsigned seed) : count_(count), side_(rowLength(count)), random_(seed) {
        std::uniform_real_distribution<double> jitter(-20.0, 20.0);
        for (int i = 0; i < count; ++i)
            truth_.push_back({1000.0 + 150.0 * (i % side_) + jitter(random_),
                              1000.0 + 150.0 * (i / side_) + jitter(random_)});
    }

    // The unknown points without coordinates, or with `startingCoordinates`
    // up to 5 cm from the truth.
    void fillLists(bool startingCoordinates) {
        resetProgramLists();
        std::uniform_real_distribution<double> offset(-0.05, 0.05);
        for (int i = 0; i < count_; ++i) {
            coordRec p = pointRecord(nameOf(i), i < 2 ? ptFixed : ptUnknown);
            if (i < 2) {
                p.easting = truth_[i].e;
                p.northing = truth_[i].n;
                fixedPointList2D.append(p);
                continue;
            }
            if (startingCoordinates) {
                p.easting = truth_[i].e + offset(random_);
                p.northing = truth_[i].n + offset(random_);
            }
            pointList2D.append(p);
        }
        for (int i = 0; i < count_; ++i) {
            for (const int j : {i + 1, i + side_})
                if (j < count_ && !(j == i + 1 && j % side_ == 0))
                    addDistance(nameOf(i), nameOf(j), truth_[i], truth_[j]);
            const std::vector<int> around = neighbours(i);
            for (std::size_t k = 0; around.size() > 1 && k < around.size(); ++k) {
                const int b = around[k], f = around[(k + 1) % around.size()];
                addAngle(nameOf(b), nameOf(i), nameOf(f), truth_[b], truth_[i], truth_[f]);
            }
            if (i % 10 == 5 && !startingCoordinates)
                addSideshot(i, around.front());
        }
    }

private:
    std::vector<int> neighbours(int i) const { return gridNeighbours(i, side_, count_); }

    void addDistance(const std::string& from, const std::string& to, const Truth& a,
                     const Truth& b) {
        distanceObs2D d;
        setPointName(d.from, from);
        setPointName(d.to, to);
        d.distance = std::hypot(b.e - a.e, b.n - a.n) + 0.005 * noise_(random_);
        d.stdErrDist = 0.005;
        distanceList2D.append(d);
    }

    void addAngle(const std::string& backsight, const std::string& at, const std::string& foresight,
                  const Truth& b, const Truth& i, const Truth& f) {
        angleObs2D a;
        setPointName(a.backsight, backsight);
        setPointName(a.instrument, at);
        setPointName(a.foresight, foresight);
        const double angle =
            azimuth(i, f) - azimuth(i, b) + 3.0 / secondsPerRadian * noise_(random_);
        a.angle = angle < 0 ? angle + 2 * pi : angle;
        a.stdErr = 3.0;
        angleList2D.append(a);
    }

    // A point 40 m off point i, seen from i with i's first neighbour as backsight.
    void addSideshot(int i, int backsight) {
        const std::string name = std::string("S").append(std::to_string(i));
        pointList2D.append(pointRecord(name, ptUnknown));
        const Truth s{truth_[i].e + 30.0, truth_[i].n + 26.0};
        addDistance(nameOf(i), name, truth_[i], s);
        addAngle(nameOf(backsight), nameOf(i), name, truth_[backsight], truth_[i], s);
    }

    int count_;
    int side_;
    std::mt19937 random_;
    std::normal_distribution<double> noise_{0.0, 1.0};
    std::vector<Truth> truth_;
};

// What each benchmark runs on: the project and its folder, the network of
// `count` points, the run's context.
struct Bench2D {
    explicit Bench2D(int count) : network(count, 2026) { setProject(gridLocal, 0); }

    ProjectFolder folder;
    GridNetwork network;
    RecordingShell shell;
    const RunContext context{shell};

    std::string failure() const { return "the adjustment failed: " + folder.lastError(); }
};

void BM_Whole2DRoad(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Bench2D bench(count);
    double filter = 0, prelim = 0, listing = 0, adjustment = 0, sideshots = 0, lists = 0;
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench.network.fillLists(false);
        openRunFiles();
        state.ResumeTiming();

        StepClock clock;
        filterHorizSideshots();
        filter += clock.lap();
        int reason = 0;
        if (prelimCoords2D(reason) != 0) {
            state.SkipWithError("preliminary coordinates left points unplaced");
            break;
        }
        countUnknownsObs2D(unknownCount, obsCount);
        prelim += clock.lap();
        writeRptUnadjustedObs(rptFile);
        listing += clock.lap();
        if (adjust2D(bench.context) != adjustment2DConverged) {
            state.SkipWithError(bench.failure().c_str());
            break;
        }
        adjustment += clock.lap();
        computeSideshots2D(bench.context);
        sideshots += clock.lap();
        buildAllPointLists();
        lists += clock.lap();

        state.PauseTiming();
        closeRunFiles(peak);
        state.ResumeTiming();
    }
    const double runs = static_cast<double>(state.iterations());
    reportRun(state, count, filter + prelim + listing + adjustment + sideshots + lists, peak);
    state.counters["filter_s"] = filter / runs;
    state.counters["prelim_s"] = prelim / runs;
    state.counters["unadjusted_listing_s"] = listing / runs;
    state.counters["adjustment_s"] = adjustment / runs;
    state.counters["sideshots_s"] = sideshots / runs;
    state.counters["point_lists_s"] = lists / runs;
}

// The adjustment alone, with every report section it writes, from starting
// coordinates near the truth.
void BM_Adjustment2D(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Bench2D bench(count);
    timeAdjustment(
        state, count,
        [&] {
            bench.network.fillLists(true);
            countUnknownsObs2D(unknownCount, obsCount);
        },
        [&] {
            return adjust2D(bench.context) == adjustment2DConverged ? std::string()
                                                                    : bench.failure();
        });
}

} // namespace

BENCHMARK(BM_Adjustment2D)
    ->Arg(1000)
    ->Arg(4900)
    ->Arg(20000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
// On the grids of 20,000 and more points the preliminary coordinates place
// points of the last row kilometres off, and the adjustment then cannot
// converge, so the larger networks are left to the adjustment alone.
BENCHMARK(BM_Whole2DRoad)->Arg(1000)->Arg(4900)->Iterations(1)->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
    return runOnOneThread(argc, argv);
}
