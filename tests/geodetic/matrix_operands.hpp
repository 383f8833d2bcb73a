#pragma once
// Builds Matrix operands of each storage form from dense reference values,
// and reads them back through element access.

#include "dense_reference.hpp"

#include "geodetic/matrix.hpp"

#include <memory>
#include <vector>

namespace geodetic_test {

// A Matrix of the given storage that presents `values`; a view keeps its
// caller array in `backing`.
struct Operand {
    std::vector<double> backing;
    std::unique_ptr<Matrix> matrix;
};

inline Operand operandOf(const Dense& values, int storage) {
    Operand op;
    if (storage == matrixTransposedView) {
        // A view over an r x c array presents its c x r transpose.
        const Dense stored = transpose(values);
        op.backing.assign(stored.v.begin(), stored.v.end());
        op.matrix = std::make_unique<Matrix>(stored.rows, stored.cols, matrixTransposedView,
                                             op.backing.data());
        return op;
    }
    op.matrix = std::make_unique<Matrix>(values.rows, values.cols, storage);
    for (int i = 0; i < values.rows; ++i)
        for (int j = 0; j < values.cols; ++j) {
            const bool stored = storage == matrixFull || (storage == matrixDiagonal && i == j) ||
                                (storage == matrixPackedSymmetric && j <= i);
            if (stored)
                op.matrix->element(i, j) = static_cast<double>(values(i, j));
        }
    return op;
}

// What a Matrix presents, element by element.
inline Dense denseOf(Matrix& m) {
    int rows = 0, cols = 0;
    m.size(&rows, &cols);
    Dense d(rows, cols);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            d(i, j) = m.element(i, j);
    return d;
}

// Random values a matrix of this storage can hold: symmetric for packed,
// zero off the diagonal for diagonal.
inline Dense randomFor(int storage, int rows, int cols, std::mt19937& rng) {
    Dense d = randomDense(rows, cols, rng);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) {
            if (storage == matrixDiagonal && i != j)
                d(i, j) = 0.0L;
            if (storage == matrixPackedSymmetric && j > i)
                d(i, j) = d(j, i);
        }
    return d;
}

} // namespace geodetic_test
