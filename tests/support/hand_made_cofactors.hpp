#pragma once
// A cofactor matrix made by hand for the relative-ellipse tests: Q = N^-1 of
// nine unknowns (three 3D stations, north, east and up each) with every
// element non-zero, handed to `Cofactors` through its factor and computed
// independently here for the test to compare with.

#include "engine/cofactors.hpp"

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace testsupport {

inline constexpr int handUnknowns = 9;

// A lower-triangular factor L with a full pattern; N = L L^T.
inline double lower(int i, int j) {
    if (j > i)
        return 0.0;
    return i == j ? 2.0 + 0.1 * i : 0.05 * (i + 1) - 0.03 * (j + 2);
}

// Q = N^-1 = L^-T L^-1, by inverting L column by column here.
inline std::vector<std::vector<double>> cofactorsByHand() {
    std::vector<std::vector<double>> inv(handUnknowns,
                                         std::vector<double>(handUnknowns, 0.0)); // L^-1
    for (int c = 0; c < handUnknowns; ++c)
        for (int r = c; r < handUnknowns; ++r) {
            double sum = r == c ? 1.0 : 0.0;
            for (int k = c; k < r; ++k)
                sum -= lower(r, k) * inv[k][c];
            inv[r][c] = sum / lower(r, r);
        }
    std::vector<std::vector<double>> q(handUnknowns, std::vector<double>(handUnknowns, 0.0));
    for (int i = 0; i < handUnknowns; ++i)
        for (int j = 0; j < handUnknowns; ++j)
            for (int k = 0; k < handUnknowns; ++k)
                q[i][j] += inv[k][i] * inv[k][j];
    return q;
}

inline std::unique_ptr<Cofactors> handMadeCofactors() {
    LowerFactor l;
    l.n = handUnknowns;
    for (int j = 0; j < handUnknowns; ++j) {
        l.columnStart.push_back(static_cast<int>(l.rowIndex.size()));
        for (int i = j; i < handUnknowns; ++i) {
            l.rowIndex.push_back(i);
            l.value.push_back(lower(i, j));
        }
        l.permutation.push_back(j);
    }
    l.columnStart.push_back(static_cast<int>(l.rowIndex.size()));
    return std::make_unique<Cofactors>(std::move(l), StopAsked{});
}

struct HandEllipse {
    double semiMajor, semiMinor, azimuth;
};

// The ellipse of a 2 x 2 (north, east) cofactor block, by its eigenvalues,
// its axes multiplied by `scale`.
inline HandEllipse ellipseOf(double qNN, double qEE, double qNE, double scale) {
    const double mean = (qNN + qEE) / 2, radius = std::hypot((qNN - qEE) / 2, qNE);
    const double big = mean + radius;
    // Eigenvector of the larger eigenvalue: (north, east) = (qNE, big - qNN).
    double azimuth = std::atan2(big - qNN, qNE);
    if (azimuth < 0)
        azimuth += std::numbers::pi;
    if (azimuth >= std::numbers::pi)
        azimuth -= std::numbers::pi;
    return {scale * std::sqrt(big), scale * std::sqrt(mean - radius), azimuth};
}

// The relative ellipse of two stations whose unknowns start at `i` and `j`
// (-1 for a fixed station), from their 6 x 6 block of `q` differenced into
// the horizontal 2 x 2 block.
inline HandEllipse relativeByHand(const std::vector<std::vector<double>>& q, int i, int j,
                                  double scale) {
    const auto at = [&](int r, int c) {
        return r < 0 || c < 0 ? 0.0 : q[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
    };
    const auto d = [&](int u, int v) {
        const int iu = i < 0 ? -1 : i + u, iv = i < 0 ? -1 : i + v;
        const int ju = j < 0 ? -1 : j + u, jv = j < 0 ? -1 : j + v;
        return at(iu, iv) - at(iu, jv) - at(ju, iv) + at(ju, jv);
    };
    return ellipseOf(d(0, 0), d(1, 1), d(0, 1), scale);
}

} // namespace testsupport
