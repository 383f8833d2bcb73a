#pragma once
// A plain dense reference for the Matrix tests: row-major products,
// Gaussian elimination with partial pivoting and Gauss-Jordan inverse in long
// double, written without anything from the library under test.

#include <cmath>
#include <cstddef>
#include <random>
#include <utility>
#include <vector>

namespace geodetic_test {

struct Dense {
    int rows = 0, cols = 0;
    std::vector<long double> v;

    Dense(int r, int c) : rows(r), cols(c), v(static_cast<std::size_t>(r) * c, 0.0L) {}
    long double& operator()(int i, int j) { return v[static_cast<std::size_t>(i) * cols + j]; }
    long double operator()(int i, int j) const { return v[static_cast<std::size_t>(i) * cols + j]; }
};

inline Dense multiply(const Dense& a, const Dense& b) {
    Dense c(a.rows, b.cols);
    for (int i = 0; i < a.rows; ++i)
        for (int j = 0; j < b.cols; ++j) {
            long double sum = 0.0L;
            for (int t = 0; t < a.cols; ++t)
                sum += a(i, t) * b(t, j);
            c(i, j) = sum;
        }
    return c;
}

inline Dense transpose(const Dense& a) {
    Dense t(a.cols, a.rows);
    for (int i = 0; i < a.rows; ++i)
        for (int j = 0; j < a.cols; ++j)
            t(j, i) = a(i, j);
    return t;
}

// x with a x = b, by Gaussian elimination with partial pivoting.
inline std::vector<long double> solveDense(Dense a, std::vector<long double> b) {
    const int n = a.rows;
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r)
            if (std::fabs(a(r, col)) > std::fabs(a(pivot, col)))
                pivot = r;
        for (int j = 0; j < n; ++j)
            std::swap(a(col, j), a(pivot, j));
        std::swap(b[col], b[pivot]);
        for (int r = col + 1; r < n; ++r) {
            const long double f = a(r, col) / a(col, col);
            for (int j = col; j < n; ++j)
                a(r, j) -= f * a(col, j);
            b[r] -= f * b[col];
        }
    }
    std::vector<long double> x(n);
    for (int i = n - 1; i >= 0; --i) {
        long double s = b[i];
        for (int j = i + 1; j < n; ++j)
            s -= a(i, j) * x[j];
        x[i] = s / a(i, i);
    }
    return x;
}

// The inverse, by Gauss-Jordan elimination of [a | I] with partial pivoting.
inline Dense inverseDense(Dense a) {
    const int n = a.rows;
    Dense inv(n, n);
    for (int i = 0; i < n; ++i)
        inv(i, i) = 1.0L;
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r)
            if (std::fabs(a(r, col)) > std::fabs(a(pivot, col)))
                pivot = r;
        for (int j = 0; j < n; ++j) {
            std::swap(a(col, j), a(pivot, j));
            std::swap(inv(col, j), inv(pivot, j));
        }
        const long double p = a(col, col);
        for (int j = 0; j < n; ++j) {
            a(col, j) /= p;
            inv(col, j) /= p;
        }
        for (int r = 0; r < n; ++r) {
            const long double f = a(r, col);
            if (r == col || f == 0.0L)
                continue;
            for (int j = 0; j < n; ++j) {
                a(r, j) -= f * a(col, j);
                inv(r, j) -= f * inv(col, j);
            }
        }
    }
    return inv;
}

inline Dense randomDense(int rows, int cols, std::mt19937& rng) {
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    Dense d(rows, cols);
    for (long double& x : d.v)
        x = value(rng);
    return d;
}

// The largest |a - b| over the largest |b|.
inline double relativeDifference(const std::vector<long double>& a,
                                 const std::vector<long double>& b) {
    long double worst = 0.0L, scale = 0.0L;
    for (std::size_t i = 0; i < a.size(); ++i) {
        worst = std::max(worst, std::fabs(a[i] - b[i]));
        scale = std::max(scale, std::fabs(b[i]));
    }
    return static_cast<double>(worst / scale);
}

} // namespace geodetic_test
