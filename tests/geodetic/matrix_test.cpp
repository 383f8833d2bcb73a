// The Matrix class: storage forms, products over every storage mix, the
// Gauss-Jordan inverse and the text dump, against the plain dense reference.

#include "matrix_operands.hpp"

#include "platform/c_locale_text.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

namespace {

using namespace geodetic_test;

constexpr int storages[] = {matrixFull, matrixTransposedView, matrixDiagonal,
                            matrixPackedSymmetric};

TEST(Matrix, NewStorageStartsAtZero) {
    for (int storage : {matrixFull, matrixDiagonal, matrixPackedSymmetric}) {
        Matrix m(40, 40, storage);
        for (int k = 0; k < m.count; ++k)
            ASSERT_EQ(m.data[k], 0.0) << "storage " << storage << " value " << k;
    }
    Matrix full(7, 9);
    for (int k = 0; k < 63; ++k)
        ASSERT_EQ(full.data[k], 0.0);
}

TEST(Matrix, StorageFormsAddressTheirElements) {
    Matrix diagonal(3, 3, matrixDiagonal);
    diagonal.element(1, 1) = 5.0;
    EXPECT_EQ(diagonal.element(0, 1), 0.0);
    diagonal.element(0, 1) = 9.0; // a stray write through the shared zero
    EXPECT_EQ(diagonal.element(2, 0), 0.0);
    EXPECT_EQ(diagonal.count, 3);

    Matrix packed(3, 3, matrixPackedSymmetric);
    EXPECT_EQ(packed.count, 6);
    packed.element(0, 2) = 4.0;
    EXPECT_EQ(packed.element(2, 0), 4.0);
    EXPECT_EQ(&packed.element(0, 2), &packed.element(2, 0));
    EXPECT_EQ(packed.rowStart[3], 6);

    double array[15] = {};
    array[1 * 3 + 2] = 8.0; // row 1, column 2 of the caller's 5 x 3 array
    Matrix view(5, 3, matrixTransposedView, array);
    int rows = 0, cols = 0;
    view.size(&rows, &cols);
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(cols, 5);
    EXPECT_EQ(view.element(2, 1), 8.0);
    EXPECT_EQ(view.getMAry(), array);
}

TEST(Matrix, AViewNeverReleasesTheCallersArray) {
    // Under AddressSanitizer, releasing a stack array fails the test.
    double array[4] = {1, 2, 3, 4};
    {
        Matrix view(2, 2, matrixTransposedView, array);
        Matrix misdeclared(2, 2, matrixFull, array);
        EXPECT_EQ(misdeclared.element(1, 0), 3.0);
    }
    EXPECT_EQ(array[3], 4.0);
}

TEST(Matrix, WithoutStorageOnlyDestroys) {
    Matrix none(3, 4, matrixDiagonal);
    EXPECT_EQ(none.data, nullptr);
    EXPECT_EQ(none.init(), matrixDone);
    EXPECT_EQ(none.multiplyScalar(2.0), matrixDone);
}

struct ProductCase {
    int a, b, c;
};

// Every mix of operand storages into a full, diagonal or packed product; the
// shapes are square where a form requires it.
TEST(MatrixProduct, EveryStorageMixMatchesTheDenseProduct) {
    std::mt19937 rng(7);
    for (int sa : storages)
        for (int sb : storages)
            for (int sc : {matrixFull, matrixDiagonal, matrixPackedSymmetric}) {
                SCOPED_TRACE(platform::formatC("A %d B %d C %d", sa, sb, sc));
                const bool square =
                    sa >= matrixDiagonal || sb >= matrixDiagonal || sc != matrixFull;
                const int m = 5, k = square ? 5 : 3, p = square ? 5 : 6;
                const Dense a = randomFor(sa, m, k, rng), b = randomFor(sb, k, p, rng);
                Operand oa = operandOf(a, sa), ob = operandOf(b, sb);
                Matrix c(m, p, sc);
                ASSERT_EQ(matrixMultiply(oa.matrix.get(), ob.matrix.get(), &c), matrixOk);
                const Dense expected = multiply(a, b);
                for (int i = 0; i < m; ++i)
                    for (int j = 0; j < p; ++j) {
                        const bool kept = sc == matrixFull || (sc == matrixDiagonal && i == j) ||
                                          (sc == matrixPackedSymmetric && j <= i);
                        if (!kept)
                            continue;
                        EXPECT_NEAR(c.element(i, j), static_cast<double>(expected(i, j)), 1e-14)
                            << i << "," << j;
                    }
            }
}

TEST(MatrixProduct, IntoPackedWritesOnlyTheLowerTriangle) {
    double values[6] = {1, 2, 3, 4, 5, 6};
    Matrix a(2, 3);
    std::copy(values, values + 6, a.data);
    Matrix at(2, 3, matrixTransposedView, a.data);
    Matrix c(2, 2, matrixPackedSymmetric);
    matrixMultiply(&a, &at, &c);
    // [1 2 3; 4 5 6] times its transpose: 14, 32, 77.
    EXPECT_EQ(c.data[0], 14.0);
    EXPECT_EQ(c.data[1], 32.0);
    EXPECT_EQ(c.data[2], 77.0);
}

TEST(MatrixProduct, JtWJWritesTheUpperTriangleOnly) {
    std::mt19937 rng(11);
    const Dense a = randomDense(4, 6, rng), b = randomDense(6, 4, rng);
    Operand oa = operandOf(a, matrixFull), ob = operandOf(b, matrixFull);
    Matrix c(4, 4);
    for (int k = 0; k < 16; ++k)
        c.data[k] = -7.0;
    matrixMultiplyJtWJ(oa.matrix.get(), ob.matrix.get(), &c);
    const Dense expected = multiply(a, b);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            if (j >= i)
                EXPECT_NEAR(c.element(i, j), static_cast<double>(expected(i, j)), 1e-14);
            else
                EXPECT_EQ(c.element(i, j), -7.0);
        }
}

TEST(MatrixProduct, ElementPathSkipsZeroFactors) {
    // A diagonal times a diagonal goes through element access, where a zero
    // factor skips its term: an infinity off the diagonal gives no NaN.
    Matrix a(2, 2, matrixDiagonal), b(2, 2, matrixPackedSymmetric), c(2, 2);
    a.element(0, 0) = 2.0;
    a.element(1, 1) = 3.0;
    b.element(1, 0) = std::numeric_limits<double>::infinity();
    b.element(0, 0) = 1.0;
    b.element(1, 1) = 1.0;
    matrixMultiply(&a, &b, &c);
    EXPECT_EQ(c.element(0, 0), 2.0);
    EXPECT_EQ(c.element(1, 1), 3.0);
}

TEST(MatrixInverse, RandomFullMatricesMatchTheDenseInverse) {
    std::mt19937 rng(3);
    for (int n : {1, 2, 3, 8, 25}) {
        SCOPED_TRACE(n);
        const Dense a = randomDense(n, n, rng);
        Operand op = operandOf(a, matrixFull);
        ASSERT_EQ(matrixInverse(op.matrix.get()), matrixOk);
        const Dense expected = inverseDense(a);
        EXPECT_LT(relativeDifference(denseOf(*op.matrix).v, expected.v), 1e-10);
    }
}

TEST(MatrixInverse, PivotsAndReportsSingularMatrices) {
    Matrix swap(2, 2);
    swap.element(0, 1) = swap.element(1, 0) = 1.0;
    ASSERT_EQ(matrixInverse(&swap), matrixOk);
    EXPECT_EQ(swap.element(0, 0), 0.0);
    EXPECT_EQ(swap.element(0, 1), 1.0);
    EXPECT_EQ(swap.element(1, 0), 1.0);
    EXPECT_EQ(swap.element(1, 1), 0.0);

    Matrix singular(2, 2);
    singular.element(0, 0) = 1.0;
    singular.element(0, 1) = singular.element(1, 0) = 2.0;
    singular.element(1, 1) = 4.0;
    EXPECT_EQ(matrixInverse(&singular), matrixFailed);

    Matrix zeros(3, 3);
    EXPECT_EQ(matrixInverse(&zeros), matrixFailed);

    Matrix nan(1, 1);
    nan.element(0, 0) = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(matrixInverse(&nan), matrixFailed);
}

TEST(MatrixInverse, DiagonalByReciprocalsOtherFormsRefused) {
    Matrix d(3, 3, matrixDiagonal);
    d.element(0, 0) = 2.0;
    d.element(1, 1) = 4.0;
    ASSERT_EQ(matrixInverse(&d), matrixOk);
    EXPECT_EQ(d.element(0, 0), 0.5);
    EXPECT_EQ(d.element(1, 1), 0.25);
    EXPECT_TRUE(std::isinf(d.element(2, 2)));

    Matrix packed(2, 2, matrixPackedSymmetric);
    packed.element(0, 0) = packed.element(1, 1) = 1.0;
    EXPECT_EQ(matrixInverse(&packed), matrixFailed);
    EXPECT_EQ(packed.element(0, 0), 1.0);
    double array[4] = {1, 0, 0, 1};
    Matrix view(2, 2, matrixTransposedView, array);
    EXPECT_EQ(matrixInverse(&view), matrixFailed);
}

TEST(MatrixElementwise, CopySubtractInitAndScale) {
    std::mt19937 rng(5);
    const Dense a = randomDense(3, 4, rng), b = randomDense(3, 4, rng);
    Operand oa = operandOf(a, matrixFull), ob = operandOf(b, matrixFull);
    Operand view = operandOf(a, matrixTransposedView);
    Matrix diff(3, 4), copy(3, 4);
    EXPECT_EQ(matrixSubtract(oa.matrix.get(), ob.matrix.get(), &diff), matrixDone);
    EXPECT_EQ(matrixCopy(view.matrix.get(), &copy), matrixDone);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j) {
            EXPECT_DOUBLE_EQ(diff.element(i, j), static_cast<double>(a(i, j) - b(i, j)));
            EXPECT_EQ(copy.element(i, j), static_cast<double>(a(i, j)));
        }
    Matrix viewDiff(3, 4);
    matrixSubtract(view.matrix.get(), ob.matrix.get(), &viewDiff);
    EXPECT_DOUBLE_EQ(viewDiff.element(2, 3), static_cast<double>(a(2, 3) - b(2, 3)));

    EXPECT_EQ(matrixMultiplyScalar(&copy, 2.0), matrixDone);
    EXPECT_EQ(copy.element(1, 2), 2.0 * static_cast<double>(a(1, 2)));
    EXPECT_EQ(matrixInit(&copy), matrixDone);
    EXPECT_EQ(copy.element(1, 2), 0.0);

    swapMatrixElem(&diff, 0, 0, 2, 3);
    EXPECT_DOUBLE_EQ(diff.element(0, 0), static_cast<double>(a(2, 3) - b(2, 3)));
}

TEST(MatrixElementwise, PackedValuesAreScaledOnce) {
    Matrix packed(2, 2, matrixPackedSymmetric);
    packed.element(1, 0) = 3.0;
    matrixMultiplyScalar(&packed, 2.0);
    EXPECT_EQ(packed.element(0, 1), 6.0);
    EXPECT_EQ(packed.multiplyScalar(0.5), matrixDone);
    EXPECT_EQ(packed.element(1, 0), 3.0);
    EXPECT_EQ(packed.init(), matrixDone);
    EXPECT_EQ(packed.element(1, 0), 0.0);
}

TEST(MatrixPrint, AppendsTheDumpToTheTemporaryFolder) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("matdump-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const char* previous = std::getenv("TMPDIR");
    const std::string saved = previous ? previous : "";
    ::setenv("TMPDIR", folder.c_str(), 1);
    Matrix packed(3, 3, matrixPackedSymmetric);
    for (int i = 0; i < 6; ++i)
        packed.data[i] = i + 0.5;
    packed.print("N");
    packed.print("again");
    if (previous)
        ::setenv("TMPDIR", saved.c_str(), 1);
    else
        ::unsetenv("TMPDIR");

    std::ifstream in(folder / "matDump.dat");
    std::stringstream text;
    text << in.rdbuf();
    const std::string one = "\n *** Two-dimensional array (matrix): N \n\n"
                            "       col 0   col 1   col 2\n\n"
                            "row 0  0.5000 \n"
                            "row 1  1.5000  2.5000 \n"
                            "row 2  3.5000  4.5000  5.5000 \n";
    EXPECT_EQ(text.str().substr(0, one.size()), one);
    EXPECT_NE(text.str().find("(matrix): again"), std::string::npos) << "appended";
    std::filesystem::remove_all(folder);
}

} // namespace

// Orders of 48 and more go to LAPACK's LU: the same inverse, and a matrix
// with a column of zeros is still singular.
TEST(MatrixInverse, LargeOrdersMatchTheDenseInverseAndFailWhenSingular) {
    std::mt19937 rng(7);
    for (int n : {48, 60, 150}) {
        SCOPED_TRACE(n);
        const Dense a = randomDense(n, n, rng);
        Operand op = operandOf(a, matrixFull);
        ASSERT_EQ(matrixInverse(op.matrix.get()), matrixOk);
        EXPECT_LT(relativeDifference(denseOf(*op.matrix).v, inverseDense(a).v), 1e-10);
    }
    Matrix singular(60, 60);
    for (int i = 0; i < 60; ++i)
        for (int j = 0; j < 60; ++j)
            singular.element(i, j) = j == 17 ? 0.0 : 1.0 + i * 0.5 + (i == j ? 3.0 : 0.0);
    EXPECT_EQ(matrixInverse(&singular), matrixFailed);
}
