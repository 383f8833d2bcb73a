// The Cholesky chain of the least-squares adjustment on full storage
// (Numerical Recipes in C, 2nd ed., 2.9: choldc, cholsl and the inverse of
// the factor), and substitution with a packed triangular factor.

#include "geodetic/matrix.hpp"

#include <cmath>
#include <limits>

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

// A column vector's i-th value.
double& entry(Matrix* column, int i) {
    return column->data[i * column->cols];
}

void fillColumn(Matrix* column, int from, int to, double value) {
    for (int i = from; i < to; ++i)
        entry(column, i) = value;
}

} // namespace

int Matrix::NRCholesky(Matrix* diag) {
    const int n = rows;
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

int Matrix::NRCholeskyInverse(Matrix* diag, const MatrixRowCheck& check) {
    const int n = rows;
    auto a = [this](int i, int j) -> double& { return data[i * cols + j]; };
    for (int i = 0; i < n; ++i) {
        if (check && !check(i, n))
            return matrixStopped;
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

int Matrix::NRCholeskyVarCovFromInv(Matrix* out, const MatrixRowCheck& check) {
    const int n = rows;
    auto m = [this](int i, int j) { return data[i * cols + j]; };
    for (int i = 0; i < n; ++i) {
        if (check && !check(i, n))
            return matrixStopped;
        for (int j = 0; j <= i; ++j) {
            double sum = 0.0;
            for (int k = 0; k < n; ++k)
                sum += m(k, i) * m(k, j);
            out->data[i * cols + j] = sum;
            out->data[j * cols + i] = sum;
        }
    }
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
