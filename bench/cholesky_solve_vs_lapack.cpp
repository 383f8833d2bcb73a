// The Matrix class's Cholesky chain against LAPACK from OpenBLAS on the same
// symmetric positive-definite matrix, one thread:
//   BM_CholeskyFactorVsDpotrf  NRCholesky against dpotrf (column-major, so
//                              LAPACKE transposes nothing), n = 16 to 3000
//                              (below 48 NRCholesky runs its own loops, from
//                              48 on it copies its layout around dpotrf),
//                              with the GFLOP/s of each (n^3 / 3 flops) and
//                              their ratio;
//   BM_CholeskySolveVsLapack   NRCholesky then solve against dpotrf + dpotrs.

#include "geodetic/matrix.hpp"
#include "one_thread_main.hpp"

#include <benchmark/benchmark.h>
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

// Ours and LAPACK's seconds over the iterations, into the counters.
void reportAgainstLapack(benchmark::State& state, double ours, double lapack, double flops) {
    const double iterations = static_cast<double>(state.iterations());
    state.counters["lapack_ms"] = 1e3 * lapack / iterations;
    state.counters["lapack_time_over_ours"] = lapack / ours;
    if (flops > 0) {
        state.counters["gflops"] = flops * iterations / ours * 1e-9;
        state.counters["lapack_gflops"] = flops * iterations / lapack * 1e-9;
    }
}

void BM_CholeskyFactorVsDpotrf(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> spd = spdMatrix(n);
    Matrix normal(n, n), diag(n, 1);
    std::vector<double> lapackMatrix(spd.size());
    double ourSeconds = 0.0, lapackSeconds = 0.0;
    for (auto _ : state) {
        std::copy(spd.begin(), spd.end(), normal.data);
        auto start = std::chrono::steady_clock::now();
        normal.NRCholesky(&diag);
        const double ours = secondsSince(start);
        ourSeconds += ours;
        state.SetIterationTime(ours);
        benchmark::DoNotOptimize(diag.data);

        lapackMatrix = spd;
        start = std::chrono::steady_clock::now();
        LAPACKE_dpotrf_work(LAPACK_COL_MAJOR, 'L', n, lapackMatrix.data(), n);
        lapackSeconds += secondsSince(start);
        benchmark::DoNotOptimize(lapackMatrix.data());
    }
    reportAgainstLapack(state, ourSeconds, lapackSeconds, double(n) * n * n / 3.0);
}

void BM_CholeskySolveVsLapack(benchmark::State& state) {
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
        LAPACKE_dpotrf_work(LAPACK_COL_MAJOR, 'L', n, lapackMatrix.data(), n);
        LAPACKE_dpotrs_work(LAPACK_COL_MAJOR, 'L', n, 1, lapackMatrix.data(), n, lapackRhs.data(),
                            n);
        lapackSeconds += secondsSince(start);
        benchmark::DoNotOptimize(lapackRhs.data());
    }
    reportAgainstLapack(state, ourSeconds, lapackSeconds, 0.0);
}

} // namespace

BENCHMARK(BM_CholeskyFactorVsDpotrf)
    ->Arg(16)
    ->Arg(32)
    ->Arg(100)
    ->Arg(400)
    ->Arg(1500)
    ->Arg(3000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CholeskySolveVsLapack)
    ->Arg(16)
    ->Arg(32)
    ->Arg(100)
    ->Arg(200)
    ->Arg(400)
    ->Arg(800)
    ->Arg(1600)
    ->Arg(3000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return runOnOneThread(argc, argv);
}
