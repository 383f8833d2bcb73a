// The Cholesky chain of the least-squares adjustment on full storage
// (Numerical Recipes in C, 2nd ed., 2.9: choldc, cholsl and the inverse of
// the factor), and substitution with a packed triangular factor. Above a
// small order the factor, its inverse and N^-1 come from LAPACK (dpotrf,
// dtrtri, dlauum), whose blocked code is many times faster; the layouts stay
// those of the hand-written code.
//
// LAPACK reads column-major storage: our row-major lower triangle is its
// upper triangle, so an upper-triangular call works on our lower triangle
// and leaves our upper triangle alone.

#include "geodetic/matrix.hpp"

#include <lapacke.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
// The smallest order handed to LAPACK; below it the call costs more than
// the arithmetic.
constexpr int lapackFromOrder = 48;

// A column vector's i-th value.
double& entry(Matrix* column, int i) {
    return column->data[i * column->cols];
}

void fillColumn(Matrix* column, int from, int to, double value) {
    for (int i = from; i < to; ++i)
        entry(column, i) = value;
}

// N (diagonal and upper triangle) factored by dpotrf into the lower
// triangle; N's diagonal is kept and L's goes to `diag`.
int lapackCholesky(Matrix* m, Matrix* diag) {
    const int n = m->rows, stride = m->cols;
    double* a = m->data;
    std::vector<double> kept(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        kept[static_cast<std::size_t>(i)] = a[i * stride + i];
        for (int j = i + 1; j < n; ++j)
            a[j * stride + i] = a[i * stride + j];
    }
    const lapack_int info = LAPACKE_dpotrf_work(LAPACK_COL_MAJOR, 'U', n, a, stride);
    // A NaN pivot need not stop every LAPACK build, so the pivots are read too.
    int failed = info > 0 ? static_cast<int>(info) - 1 : n;
    for (int i = 0; i < failed; ++i) {
        const double pivot = a[i * stride + i];
        if (!(pivot > 0.0) || !std::isfinite(pivot))
            failed = i;
    }
    for (int i = 0; i < n; ++i) {
        entry(diag, i) = i < failed ? a[i * stride + i] : notANumber;
        a[i * stride + i] = kept[static_cast<std::size_t>(i)];
    }
    return failed < n ? matrixFailed : matrixOk;
}

} // namespace

int Matrix::NRCholesky(Matrix* diag) {
    const int n = rows;
    if (n >= lapackFromOrder)
        return lapackCholesky(this, diag);
    auto a = [this](int i, int j) -> double& { return data[i * cols + j]; };
    for (int i = 0; i < n; ++i) {
        for (int j = i; j < n; ++j) {
            double sum = a(i, j);
            for (int k = i - 1; k >= 0; --k)
                sum -= a(i, k) * a(j, k);
            if (j != i) {
                a(j, i) = sum / entry(diag, i);
                continue;
            }
            if (!(sum > 0.0)) {
                // Values left from an earlier factorisation would let a solve
                // return a finite answer for a matrix that has none.
                fillColumn(diag, i, n, notANumber);
                return matrixFailed;
            }
            entry(diag, i) = std::sqrt(sum);
        }
    }
    return matrixOk;
}

int Matrix::solve(Matrix* factor, Matrix* diag) {
    const int n = rows;
    auto l = [factor](int i, int j) { return factor->data[i * factor->cols + j]; };
    for (int i = 0; i < n; ++i) {
        const double d = entry(diag, i);
        if (d == 0.0 || std::isnan(d)) {
            fillColumn(this, 0, n, notANumber);
            return matrixFailed;
        }
        double sum = entry(this, i);
        for (int k = i - 1; k >= 0; --k)
            sum -= l(i, k) * entry(this, k);
        entry(this, i) = sum / d;
    }
    for (int i = n - 1; i >= 0; --i) {
        double sum = entry(this, i);
        for (int k = i + 1; k < n; ++k)
            sum -= l(k, i) * entry(this, k);
        entry(this, i) = sum / entry(diag, i);
    }
    return matrixOk;
}

int Matrix::NRCholeskyInverse(Matrix* diag) {
    const int n = rows;
    auto a = [this](int i, int j) -> double& { return data[i * cols + j]; };
    if (n >= lapackFromOrder) {
        for (int i = 0; i < n; ++i)
            a(i, i) = entry(diag, i);
        LAPACKE_dtrtri_work(LAPACK_COL_MAJOR, 'U', 'N', n, data, cols);
        return matrixOk;
    }
    for (int i = 0; i < n; ++i) {
        a(i, i) = 1.0 / entry(diag, i);
        for (int j = i + 1; j < n; ++j) {
            double sum = 0.0;
            for (int k = i; k < j; ++k)
                sum -= a(j, k) * a(k, i);
            a(j, i) = sum / entry(diag, j);
        }
    }
    return matrixOk;
}

int Matrix::NRCholeskyVarCovFromInv(Matrix* out) {
    const int n = rows;
    auto m = [this](int i, int j) { return data[i * cols + j]; };
    auto o = [out](int i, int j) -> double& { return out->data[i * out->cols + j]; };
    if (n >= lapackFromOrder) {
        for (int i = 0; i < n; ++i)
            for (int j = 0; j <= i; ++j)
                o(i, j) = m(i, j);
        LAPACKE_dlauum_work(LAPACK_COL_MAJOR, 'U', n, out->data, out->cols);
    } else {
        // M is lower triangular: M(k, i) M(k, j) is zero for k < i.
        for (int i = 0; i < n; ++i)
            for (int j = 0; j <= i; ++j) {
                double sum = 0.0;
                for (int k = i; k < n; ++k)
                    sum += m(k, i) * m(k, j);
                o(i, j) = sum;
            }
    }
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < i; ++j)
            o(j, i) = o(i, j);
    return matrixOk;
}

int Matrix::forwardSub(Matrix* L) {
    const int n = rows;
    for (int i = 0; i < n; ++i) {
        double sum = entry(this, i);
        for (int k = i - 1; k >= 0; --k)
            sum -= L->element(i, k) * entry(this, k);
        entry(this, i) = sum / L->element(i, i);
    }
    return matrixOk;
}

int Matrix::backwardSub(Matrix* L) {
    const int n = rows;
    for (int i = n - 1; i >= 0; --i) {
        double sum = entry(this, i);
        for (int k = i + 1; k < n; ++k)
            sum -= L->element(k, i) * entry(this, k);
        entry(this, i) = sum / L->element(i, i);
    }
    return matrixOk;
}
