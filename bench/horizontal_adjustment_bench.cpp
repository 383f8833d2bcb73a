// The whole horizontal adjustment (Gauss-Newton iterations to convergence and
// the statistics: Q, residuals, standard deviations, ellipses) on synthetic
// networks of N points: a grid of traverses with distances between
// neighbours and the angles between neighbours at every point, two fixed
// points at one corner, known truth, seeded noise, starting coordinates up to
// 5 cm off. Reports the time per Gauss-Newton iteration and, in the same run,
// the time of one LAPACK Cholesky (dpotrf, OpenBLAS on one thread, called
// column-major so that no transposition is timed) of the same normal matrix
// divided by it. The report writers are not part of the timing.

#include "engine/horizontal_network.hpp"
#include "engine/horizontal_solver.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"

#include <benchmark/benchmark.h>
#include <cblas.h>
#include <lapacke.h>

#include <chrono>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double secondsPerRadian = 648000.0 / pi;

struct Truth {
    double e, n;
};

double azimuth(const Truth& a, const Truth& b) {
    const double t = std::atan2(b.e - a.e, b.n - a.n);
    return t < 0 ? t + 2 * pi : t;
}

std::string nameOf(int i) {
    return "P" + std::to_string(i);
}

// Fills the 2D lists with a grid network of `count` points, `side` per row.
void makeGridNetwork(int count, unsigned seed) {
    resetProgramLists();
    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> jitter(-20.0, 20.0), offset(-0.05, 0.05);
    std::normal_distribution<double> noise(0.0, 1.0);
    std::vector<Truth> truth;
    for (int i = 0; i < count; ++i)
        truth.push_back({1000.0 + 150.0 * (i % side) + jitter(random),
                         1000.0 + 150.0 * (i / side) + jitter(random)});
    for (int i = 0; i < count; ++i) {
        coordRec p;
        setPointName(p.name, nameOf(i));
        if (i < 2) {
            p.pointType = ptFixed;
            p.easting = truth[i].e;
            p.northing = truth[i].n;
            fixedPointList2D.append(p);
        } else {
            p.pointType = ptUnknown;
            p.easting = truth[i].e + offset(random);
            p.northing = truth[i].n + offset(random);
            pointList2D.append(p);
        }
    }
    // Neighbours in the order west, north, east, south.
    auto neighbours = [&](int i) {
        std::vector<int> n;
        const int row = i / side, col = i % side;
        if (col > 0)
            n.push_back(i - 1);
        if (i + side < count)
            n.push_back(i + side);
        if (col + 1 < side && i + 1 < count)
            n.push_back(i + 1);
        if (row > 0)
            n.push_back(i - side);
        return n;
    };
    for (int i = 0; i < count; ++i) {
        for (const int j : {i + 1, i + side}) {
            if (j >= count || (j == i + 1 && j % side == 0))
                continue;
            distanceObs2D d;
            setPointName(d.from, nameOf(i));
            setPointName(d.to, nameOf(j));
            d.distance = std::hypot(truth[j].e - truth[i].e, truth[j].n - truth[i].n) +
                         0.005 * noise(random);
            d.stdErrDist = 0.005;
            distanceList2D.append(d);
        }
        const std::vector<int> around = neighbours(i);
        for (std::size_t k = 0; around.size() > 1 && k < around.size(); ++k) {
            const int b = around[k], f = around[(k + 1) % around.size()];
            angleObs2D a;
            setPointName(a.backsight, nameOf(b));
            setPointName(a.instrument, nameOf(i));
            setPointName(a.foresight, nameOf(f));
            double angle = azimuth(truth[i], truth[f]) - azimuth(truth[i], truth[b]) +
                           3.0 / secondsPerRadian * noise(random);
            a.angle = angle < 0 ? angle + 2 * pi : angle;
            a.stdErr = 3.0;
            angleList2D.append(a);
        }
    }
}

// N = A^T W A of the network at its current coordinates, full row-major.
std::vector<double> normalMatrix(const HorizontalNetwork& network) {
    const int u = network.unknowns();
    const RowWeights w = buildWeights2D(network);
    const std::vector<DesignRow> design = buildDesign2D(network);
    std::vector<double> N(static_cast<std::size_t>(u) * u, 0.0);
    for (std::size_t r = 0; r < design.size(); ++r)
        for (int p = 0; p < design[r].count; ++p)
            for (int q = 0; q < design[r].count; ++q)
                N[static_cast<std::size_t>(design[r].column[p]) * u + design[r].column[q]] +=
                    w.diagonal[r] * design[r].value[p] * design[r].value[q];
    return N;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double lapackCholeskySeconds(std::vector<double> N, int u) {
    const auto start = std::chrono::steady_clock::now();
    // N is symmetric: its row-major lower triangle is the column-major upper one.
    LAPACKE_dpotrf(LAPACK_COL_MAJOR, 'U', u, N.data(), u);
    benchmark::DoNotOptimize(N.data());
    return secondsSince(start);
}

void BM_HorizontalAdjustment(benchmark::State& state) {
    openblas_set_num_threads(1);
    const int count = static_cast<int>(state.range(0));
    projectVars.confidenceInterval = 95.0;
    double adjustmentSeconds = 0.0, lapackSeconds = 0.0;
    long gaussNewtonIterations = 0;
    int unknowns = 0, observations = 0;
    for (auto _ : state) {
        makeGridNetwork(count, 2026);
        HorizontalNetwork network;
        std::string problem;
        if (!readHorizontalNetwork(network, problem)) {
            state.SkipWithError(problem.c_str());
            return;
        }
        unknowns = network.unknowns();
        observations = network.observations();
        lapackSeconds += lapackCholeskySeconds(normalMatrix(network), unknowns);

        const auto start = std::chrono::steady_clock::now();
        const RowWeights weights = buildWeights2D(network);
        HorizontalSolver solver(network, weights);
        if (solver.iterate(20, 1e-4, nullptr) != SolveStatus::converged) {
            state.SkipWithError("the synthetic network did not converge");
            return;
        }
        const HorizontalSolver::Statistics results = solver.statistics();
        benchmark::DoNotOptimize(
            pointErrorEllipses(network, *results.cofactors, std::sqrt(results.referenceVariance)));
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        adjustmentSeconds += seconds;
        gaussNewtonIterations += solver.iterations();
    }
    const double runs = static_cast<double>(state.iterations());
    const double perIteration = adjustmentSeconds / static_cast<double>(gaussNewtonIterations);
    state.counters["unknowns"] = unknowns;
    state.counters["observations"] = observations;
    state.counters["gn_iterations"] = static_cast<double>(gaussNewtonIterations) / runs;
    state.counters["ms_per_gn_iteration"] = 1e3 * perIteration;
    state.counters["lapack_cholesky_ms"] = 1e3 * lapackSeconds / runs;
    state.counters["lapack_time_over_gn_iteration"] = (lapackSeconds / runs) / perIteration;
}

} // namespace

BENCHMARK(BM_HorizontalAdjustment)
    ->Arg(100)
    ->Arg(500)
    ->Arg(2000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
