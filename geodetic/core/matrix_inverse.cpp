// In-place inverse of a full matrix by Gauss-Jordan elimination with full
// pivoting (Numerical Recipes in C, 2nd ed., 2.1, gaussj), or above a small
// order by LAPACK's LU with partial pivoting (dgetrf, dgetri); of a diagonal
// matrix by reciprocals.

#include "geodetic/matrix.hpp"

#include <lapacke.h>

#include <cmath>
#include <new>
#include <utility>
#include <vector>

namespace {

class GaussJordan {
public:
    explicit GaussJordan(Matrix* a) : a_(a), n_(a->rows), stride_(a->cols) {}

    int invert() {
        std::vector<int> useCount, pivotRow, pivotCol;
        try {
            useCount.assign(n_, 0);
            pivotRow.assign(n_, 0);
            pivotCol.assign(n_, 0);
        } catch (const std::bad_alloc&) {
            return matrixFailed;
        }
        for (int pass = 0; pass < n_; ++pass) {
            int row = -1, col = -1;
            if (!choosePivot(useCount, &row, &col))
                return matrixFailed;
            ++useCount[col];
            if (row != col)
                swapRows(row, col);
            pivotRow[pass] = row;
            pivotCol[pass] = col;
            if (at(col, col) == 0.0)
                return matrixFailed;
            eliminate(col);
        }
        for (int pass = n_ - 1; pass >= 0; --pass)
            if (pivotRow[pass] != pivotCol[pass])
                swapColumns(pivotRow[pass], pivotCol[pass]);
        return matrixOk;
    }

private:
    Matrix* a_;
    int n_;
    int stride_;

    double& at(int i, int j) { return a_->data[i * stride_ + j]; }

    // The largest unused element in the rows not yet pivoted; the last of
    // equal maxima in row-major order wins. False for a singular matrix.
    bool choosePivot(const std::vector<int>& useCount, int* row, int* col) {
        double largest = 0.0;
        for (int j = 0; j < n_; ++j) {
            if (useCount[j] == 1)
                continue;
            for (int k = 0; k < n_; ++k) {
                if (useCount[k] == 0) {
                    if (std::abs(at(j, k)) >= largest) {
                        largest = std::abs(at(j, k));
                        *row = j;
                        *col = k;
                    }
                } else if (useCount[k] > 1) {
                    return false;
                }
            }
        }
        return *row >= 0;
    }

    void swapRows(int r1, int r2) {
        for (int j = 0; j < n_; ++j)
            std::swap(at(r1, j), at(r2, j));
    }

    void swapColumns(int c1, int c2) {
        for (int i = 0; i < n_; ++i)
            std::swap(at(i, c1), at(i, c2));
    }

    void eliminate(int c) {
        const double inversePivot = 1.0 / at(c, c);
        at(c, c) = 1.0;
        for (int j = 0; j < n_; ++j)
            at(c, j) *= inversePivot;
        for (int r = 0; r < n_; ++r) {
            if (r == c)
                continue;
            const double factor = at(r, c);
            at(r, c) = 0.0;
            for (int j = 0; j < n_; ++j)
                at(r, j) -= at(c, j) * factor;
        }
    }
};

// The smallest order handed to LAPACK.
constexpr int lapackFromOrder = 48;

// The inverse of the transpose is the transpose of the inverse, so LAPACK's
// column-major inverse of our row-major storage is our inverse.
int lapackInverse(Matrix* a) {
    const int n = a->rows;
    std::vector<lapack_int> pivots;
    std::vector<double> work;
    try {
        pivots.resize(static_cast<std::size_t>(n));
        if (LAPACKE_dgetrf_work(LAPACK_COL_MAJOR, n, n, a->data, a->cols, pivots.data()) != 0)
            return matrixFailed;
        double size = 0.0;
        LAPACKE_dgetri_work(LAPACK_COL_MAJOR, n, a->data, a->cols, pivots.data(), &size, -1);
        work.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return matrixFailed;
    }
    const lapack_int info =
        LAPACKE_dgetri_work(LAPACK_COL_MAJOR, n, a->data, a->cols, pivots.data(), work.data(),
                            static_cast<lapack_int>(work.size()));
    return info == 0 ? matrixOk : matrixFailed;
}

} // namespace

int matrixInverse(Matrix* A) {
    switch (A->storage) {
    case matrixFull:
        if (A->rows >= lapackFromOrder)
            return lapackInverse(A);
        return GaussJordan(A).invert();
    case matrixDiagonal:
        for (int i = 0; i < A->count; ++i)
            A->data[i] = 1.0 / A->data[i];
        return matrixOk;
    default:
        return matrixFailed;
    }
}
