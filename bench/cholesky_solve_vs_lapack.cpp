// The normal-equation solve of the adjustment (NRCholesky then solve on the
// in-place factor) against LAPACK's dpotrf + dpotrs from OpenBLAS on the same
// symmetric positive-definite matrix, for n = 100 to 3000. Each run reports
// our time and LAPACK's time divided by ours (above 1: ours is faster),
// summed over the same iterations. LAPACK is called column-major: the matrix
// is symmetric, so its row-major storage is read as it stands, and no
// transposition is timed. OpenBLAS runs on one thread, like our solve.

#include "geodetic/matrix.hpp"

#include <benchmark/benchmark.h>
#include <cblas.h>
#include <lapacke.h>

#include <chrono>
#include <random>
#include <vector>

namespace {

// A well-conditioned SPD matrix, row-major: R^T R / n + I.
std::vector<double> spdMatrix(int n) {
    std::mt19937 rng(n);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    std::vector<double> r(static_cast<std::size_t>(n) * n);
    for (double& x : r)
        x = value(rng);
    std::vector<double> a(r.size(), 0.0);
    for (int k = 0; k < n; ++k)
        for (int i = 0; i < n; ++i) {
            const double rki = r[static_cast<std::size_t>(k) * n + i];
            for (int j = i; j < n; ++j)
                a[static_cast<std::size_t>(i) * n + j] +=
                    rki * r[static_cast<std::size_t>(k) * n + j];
        }
    for (int i = 0; i < n; ++i)
        for (int j = i; j < n; ++j) {
            double& v = a[static_cast<std::size_t>(i) * n + j];
            v = v / n + (i == j ? 1.0 : 0.0);
            a[static_cast<std::size_t>(j) * n + i] = v;
        }
    return a;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_CholeskySolveVsLapack(benchmark::State& state) {
    openblas_set_num_threads(1);
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> spd = spdMatrix(n);
    std::vector<double> rhs(n, 1.0);
    Matrix normal(n, n), diag(n, 1), solution(n, 1);
    std::vector<double> lapackMatrix(spd.size()), lapackRhs(n);
    double ourSeconds = 0.0, lapackSeconds = 0.0;
    for (auto _ : state) {
        std::copy(spd.begin(), spd.end(), normal.data);
        std::copy(rhs.begin(), rhs.end(), solution.data);
        auto start = std::chrono::steady_clock::now();
        normal.NRCholesky(&diag);
        solution.solve(&normal, &diag);
        const double ours = secondsSince(start);
        ourSeconds += ours;
        state.SetIterationTime(ours);
        benchmark::DoNotOptimize(solution.data);

        lapackMatrix = spd;
        lapackRhs = rhs;
        start = std::chrono::steady_clock::now();
        // The lower triangle of the row-major matrix is the upper one column-major.
        LAPACKE_dpotrf(LAPACK_COL_MAJOR, 'U', n, lapackMatrix.data(), n);
        LAPACKE_dpotrs(LAPACK_COL_MAJOR, 'U', n, 1, lapackMatrix.data(), n, lapackRhs.data(), n);
        lapackSeconds += secondsSince(start);
        benchmark::DoNotOptimize(lapackRhs.data());
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["lapack_ms"] = 1e3 * lapackSeconds / iterations;
    state.counters["lapack_time_over_ours"] = lapackSeconds / ourSeconds;
}

} // namespace

BENCHMARK(BM_CholeskySolveVsLapack)
    ->Arg(100)
    ->Arg(200)
    ->Arg(400)
    ->Arg(800)
    ->Arg(1600)
    ->Arg(3000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
