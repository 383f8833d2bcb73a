// Products, differences, copies and scaling of matrices in any storage form.
// The storage pairs of the adjustment (views of J, diagonal weights, packed
// and full normal matrices) read their operands by direct indexing; other
// pairs go through element access and skip terms with a zero factor.

#include "geodetic/matrix.hpp"

#include <algorithm>

namespace {

struct FullReader {
    const double* data;
    int stride;
    double operator()(int i, int j) const { return data[i * stride + j]; }
};

struct ViewReader {
    const double* data;
    int stride;
    double operator()(int i, int j) const { return data[i + j * stride]; }
};

struct PackedReader {
    const double* data;
    const std::int32_t* rowStart;
    double operator()(int i, int j) const {
        return i >= j ? data[rowStart[i] + j] : data[rowStart[j] + i];
    }
};

struct ElementReader {
    Matrix* matrix;
    double operator()(int i, int j) const { return matrix->element(i, j); }
};

struct Shape {
    int rows, cols;
};

Shape shapeOf(const Matrix* m) {
    Shape s{};
    m->size(&s.rows, &s.cols);
    return s;
}

// The elements of an m x p product that C's storage keeps.
template <class Visit> void forEachKeptElement(const Matrix* c, int m, int p, Visit visit) {
    for (int i = 0; i < m; ++i) {
        if (c->storage == matrixDiagonal) {
            visit(i, i);
            continue;
        }
        const int end = c->storage == matrixPackedSymmetric ? std::min(i + 1, p) : p;
        for (int j = 0; j < end; ++j)
            visit(i, j);
    }
}

template <bool SkipZeroTerms, class ReadA, class ReadB>
void multiplyInto(Matrix* c, int m, int k, int p, ReadA a, ReadB b) {
    forEachKeptElement(c, m, p, [&](int i, int j) {
        double sum = 0.0;
        for (int t = 0; t < k; ++t) {
            const double x = a(i, t), y = b(t, j);
            if (SkipZeroTerms && (x == 0.0 || y == 0.0))
                continue;
            sum += x * y;
        }
        c->element(i, j) = sum;
    });
}

// C(i, j) = A(i, j) d(j): a product with a diagonal right factor.
template <class ReadA> void scaleColumnsInto(Matrix* c, int m, int p, ReadA a, const double* d) {
    forEachKeptElement(c, m, p, [&](int i, int j) { c->element(i, j) = a(i, j) * d[j]; });
}

// C(i, j) = d(i) B(i, j): a product with a diagonal left factor.
template <class ReadB> void scaleRowsInto(Matrix* c, int m, int p, const double* d, ReadB b) {
    forEachKeptElement(c, m, p, [&](int i, int j) { c->element(i, j) = d[i] * b(i, j); });
}

FullReader fullOf(const Matrix* m) {
    return {m->data, m->cols};
}
ViewReader viewOf(const Matrix* m) {
    return {m->data, m->cols};
}
PackedReader packedOf(const Matrix* m) {
    return {m->data, m->rowStart};
}

// The product by direct indexing for the storage pairs that have it; false
// for the others.
bool multiplyDirect(Matrix* A, Matrix* B, Matrix* C, int m, int k, int p) {
    const int sa = A->storage, sb = B->storage, sc = C->storage;
    const bool cFull = sc == matrixFull;
    if (cFull && sb == matrixDiagonal && (sa == matrixFull || sa == matrixTransposedView)) {
        if (sa == matrixFull)
            scaleColumnsInto(C, m, p, fullOf(A), B->data);
        else
            scaleColumnsInto(C, m, p, viewOf(A), B->data);
        return true;
    }
    if (cFull && sa == matrixDiagonal && (sb == matrixFull || sb == matrixTransposedView)) {
        if (sb == matrixFull)
            scaleRowsInto(C, m, p, A->data, fullOf(B));
        else
            scaleRowsInto(C, m, p, A->data, viewOf(B));
        return true;
    }
    const bool cKept = cFull || sc == matrixDiagonal || sc == matrixPackedSymmetric;
    if (sa == matrixFull && sb == matrixFull && cKept) {
        multiplyInto<false>(C, m, k, p, fullOf(A), fullOf(B));
        return true;
    }
    if (sa == matrixFull && sb == matrixTransposedView && cKept) {
        multiplyInto<false>(C, m, k, p, fullOf(A), viewOf(B));
        return true;
    }
    if (!cFull)
        return false;
    if (sa == matrixTransposedView && sb == matrixFull)
        multiplyInto<false>(C, m, k, p, viewOf(A), fullOf(B));
    else if (sa == matrixFull && sb == matrixPackedSymmetric)
        multiplyInto<false>(C, m, k, p, fullOf(A), packedOf(B));
    else if (sa == matrixTransposedView && sb == matrixPackedSymmetric)
        multiplyInto<false>(C, m, k, p, viewOf(A), packedOf(B));
    else if (sa == matrixPackedSymmetric && sb == matrixTransposedView)
        multiplyInto<false>(C, m, k, p, packedOf(A), viewOf(B));
    else
        return false;
    return true;
}

bool allFull(const Matrix* a, const Matrix* b, const Matrix* c) {
    return a->storage == matrixFull && b->storage == matrixFull && c->storage == matrixFull;
}

} // namespace

int matrixMultiply(Matrix* A, Matrix* B, Matrix* C) {
    const Shape a = shapeOf(A), b = shapeOf(B);
    if (!multiplyDirect(A, B, C, a.rows, a.cols, b.cols))
        multiplyInto<true>(C, a.rows, a.cols, b.cols, ElementReader{A}, ElementReader{B});
    return matrixOk;
}

int matrixMultiplyJtWJ(Matrix* A, Matrix* B, Matrix* C) {
    if (!allFull(A, B, C))
        return matrixMultiply(A, B, C);
    const int m = A->rows, k = A->cols, p = B->cols;
    const FullReader a = fullOf(A), b = fullOf(B);
    for (int i = 0; i < m; ++i)
        for (int j = i; j < p; ++j) {
            double sum = 0.0;
            for (int t = 0; t < k; ++t)
                sum += a(i, t) * b(t, j);
            C->data[i * C->cols + j] = sum;
        }
    return matrixOk;
}

int matrixCopy(Matrix* src, Matrix* dst) {
    const Shape s = shapeOf(src);
    for (int i = 0; i < s.rows; ++i)
        for (int j = 0; j < s.cols; ++j)
            dst->element(i, j) = src->element(i, j);
    return matrixDone;
}

int matrixSubtract(Matrix* A, Matrix* B, Matrix* C) {
    const Shape s = shapeOf(A);
    if (allFull(A, B, C)) {
        for (int i = 0; i < s.rows; ++i)
            for (int j = 0; j < s.cols; ++j)
                C->data[i * C->cols + j] = A->data[i * A->cols + j] - B->data[i * B->cols + j];
        return matrixDone;
    }
    for (int i = 0; i < s.rows; ++i)
        for (int j = 0; j < s.cols; ++j)
            C->element(i, j) = A->element(i, j) - B->element(i, j);
    return matrixDone;
}

namespace {

// Diagonal and packed matrices are changed value by value: through element
// access each off-diagonal packed value would be met twice.
bool storesValuesApart(const Matrix* m) {
    return m->storage == matrixDiagonal || m->storage == matrixPackedSymmetric;
}

template <class Change> void forEachElement(Matrix* A, Change change) {
    const Shape shape = shapeOf(A);
    for (int i = 0; i < shape.rows; ++i)
        for (int j = 0; j < shape.cols; ++j)
            change(A->element(i, j));
}

} // namespace

int matrixInit(Matrix* A) {
    if (storesValuesApart(A))
        return A->init();
    forEachElement(A, [](double& value) { value = 0.0; });
    return matrixDone;
}

int matrixMultiplyScalar(Matrix* A, double s) {
    if (storesValuesApart(A))
        return A->multiplyScalar(s);
    forEachElement(A, [s](double& value) { value *= s; });
    return matrixDone;
}

void swapMatrixElem(Matrix* A, int r1, int c1, int r2, int c2) {
    std::swap(A->data[r1 * A->cols + c1], A->data[r2 * A->cols + c2]);
}
