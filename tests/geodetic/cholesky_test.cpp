// The Cholesky chain as the adjustment runs it, on random symmetric
// positive-definite normal equations of sizes 1 to 300 built from every
// storage form the adjustment uses, against the plain dense reference.

#include "matrix_operands.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

using namespace geodetic_test;

constexpr double relativeTolerance = 1e-10;

// One least-squares system: J (m x n), weights W (m x m), misclosures (m).
struct System {
    Dense j, w, misclosure;
    Dense normal() const { return multiply(multiply(transpose(j), w), j); }
    Dense rightHandSide() const { return multiply(multiply(transpose(j), w), misclosure); }
};

// m = 2n observations keep the normal matrix well conditioned; diagonal
// weights, or a full symmetric positive-definite weight matrix.
System randomSystem(int n, bool correlated, std::mt19937& rng) {
    const int m = 2 * n;
    System s{randomDense(m, n, rng), Dense(m, m), randomDense(m, 1, rng)};
    std::uniform_real_distribution<double> weight(0.5, 2.0);
    if (correlated) {
        const Dense r = randomDense(m, m, rng);
        s.w = multiply(transpose(r), r);
        for (int i = 0; i < m; ++i)
            s.w(i, i) += m;
    } else {
        for (int i = 0; i < m; ++i)
            s.w(i, i) = weight(rng);
    }
    return s;
}

std::vector<long double> columnOf(Matrix& m) {
    std::vector<long double> v;
    for (int i = 0; i < m.rows; ++i)
        v.push_back(m.element(i, 0));
    return v;
}

// The adjustment's sequence: J^T as a view of J, (J^T W), its product with
// the misclosures, N = (J^T W) J into a zeroed N, factor, solve; then the
// inverse of the factor, its strict upper triangle cleared, and N^-1.
struct ChainResult {
    std::vector<long double> solution;
    Dense inverse{0, 0};
    int factorStatus, solveStatus;
};

ChainResult runChain(const System& s, bool correlated) {
    const int m = s.j.rows, n = s.j.cols;
    Operand j = operandOf(s.j, matrixFull);
    Operand w = operandOf(s.w, correlated ? matrixFull : matrixDiagonal);
    Operand misclosure = operandOf(s.misclosure, matrixFull);
    Matrix jt(m, n, matrixTransposedView, j.matrix->data);
    Matrix jtw(n, m), rhs(n, 1), normal(n, n), diag(n, 1);
    matrixMultiply(&jt, w.matrix.get(), &jtw);
    matrixMultiply(&jtw, misclosure.matrix.get(), &rhs);
    normal.init();
    matrixMultiplyJtWJ(&jtw, j.matrix.get(), &normal);

    ChainResult result{};
    result.factorStatus = normal.NRCholesky(&diag);
    result.solveStatus = rhs.solve(&normal, &diag);
    result.solution = columnOf(rhs);
    normal.NRCholeskyInverse(&diag);
    for (int i = 0; i < n; ++i)
        for (int k = i + 1; k < n; ++k)
            normal.data[i * normal.cols + k] = 0.0;
    Matrix varCov(n, n);
    normal.NRCholeskyVarCovFromInv(&varCov);
    result.inverse = denseOf(varCov);
    return result;
}

class CholeskyChain : public ::testing::TestWithParam<int> {};

TEST_P(CholeskyChain, SolutionAndInverseMatchTheDenseReference) {
    const int n = GetParam();
    std::mt19937 rng(1000 + n);
    for (bool correlated : {false, true}) {
        if (correlated && n > 150)
            continue; // a full weight matrix of 600 x 600 adds nothing the smaller ones do not
        SCOPED_TRACE(correlated ? "full weights" : "diagonal weights");
        const System s = randomSystem(n, correlated, rng);
        const ChainResult r = runChain(s, correlated);
        ASSERT_EQ(r.factorStatus, matrixOk);
        ASSERT_EQ(r.solveStatus, matrixOk);
        const Dense normal = s.normal();
        const Dense rhs = s.rightHandSide();
        EXPECT_LT(relativeDifference(r.solution, solveDense(normal, rhs.v)), relativeTolerance);
        EXPECT_LT(relativeDifference(r.inverse.v, inverseDense(normal).v), relativeTolerance);
    }
}

// The packed path: N = (J^T W) J into packed storage, its factor copied into
// a packed triangle, and forward then backward substitution.
TEST_P(CholeskyChain, PackedSubstitutionMatchesTheDenseReference) {
    const int n = GetParam();
    std::mt19937 rng(2000 + n);
    const System s = randomSystem(n, false, rng);
    const Dense jtw = multiply(transpose(s.j), s.w);
    Operand a = operandOf(jtw, matrixFull), j = operandOf(s.j, matrixFull);
    Matrix packedNormal(n, n, matrixPackedSymmetric), full(n, n), diag(n, 1);
    matrixMultiply(a.matrix.get(), j.matrix.get(), &packedNormal);
    matrixCopy(&packedNormal, &full);
    ASSERT_EQ(full.NRCholesky(&diag), matrixOk);
    Matrix factor(n, n, matrixPackedSymmetric);
    for (int i = 0; i < n; ++i) {
        factor.element(i, i) = diag.element(i, 0);
        for (int k = 0; k < i; ++k)
            factor.element(i, k) = full.element(i, k);
    }
    const Dense rhs = s.rightHandSide();
    Operand b = operandOf(rhs, matrixFull);
    b.matrix->forwardSub(&factor);
    b.matrix->backwardSub(&factor);
    EXPECT_LT(relativeDifference(columnOf(*b.matrix), solveDense(s.normal(), rhs.v)),
              relativeTolerance);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CholeskyChain, ::testing::Values(1, 2, 3, 7, 31, 100, 300));

TEST(Cholesky, SmallExampleByHand) {
    // N = [4 2; 2 3]: L = [2 0; 1 sqrt 2]; N^-1 = [3 -2; -2 4] / 8.
    Matrix n(2, 2), diag(2, 1), out(2, 2);
    n.element(0, 0) = 4.0;
    n.element(0, 1) = 2.0;
    n.element(1, 1) = 3.0;
    ASSERT_EQ(n.NRCholesky(&diag), matrixOk);
    EXPECT_EQ(diag.element(0, 0), 2.0);
    EXPECT_DOUBLE_EQ(diag.element(1, 0), std::sqrt(2.0));
    EXPECT_EQ(n.element(1, 0), 1.0);
    EXPECT_EQ(n.element(0, 1), 2.0) << "the upper triangle keeps the input";
    ASSERT_EQ(n.NRCholeskyInverse(&diag), matrixOk);
    n.element(0, 1) = 0.0;
    ASSERT_EQ(n.NRCholeskyVarCovFromInv(&out), matrixOk);
    EXPECT_DOUBLE_EQ(out.element(0, 0), 0.375);
    EXPECT_DOUBLE_EQ(out.element(0, 1), -0.25);
    EXPECT_DOUBLE_EQ(out.element(1, 0), -0.25);
    EXPECT_DOUBLE_EQ(out.element(1, 1), 0.5);
}

// A matrix that is not positive definite used to leave the diagonal vector
// as the previous factorisation had left it, so a solve gave a finite wrong
// answer that the adjustment's NaN test let through.
TEST(Cholesky, NotPositiveDefiniteIsAFailureNeverAFiniteAnswer) {
    Matrix diag(3, 1);
    Matrix good(3, 3);
    for (int i = 0; i < 3; ++i)
        good.element(i, i) = 4.0;
    ASSERT_EQ(good.NRCholesky(&diag), matrixOk);

    Matrix bad(3, 3);
    bad.element(0, 0) = 1.0;
    bad.element(0, 1) = 2.0;
    bad.element(1, 1) = 1.0;
    bad.element(2, 2) = 5.0;
    EXPECT_EQ(bad.NRCholesky(&diag), matrixFailed);
    EXPECT_EQ(diag.element(0, 0), 1.0);
    EXPECT_TRUE(std::isnan(diag.element(1, 0)));
    EXPECT_TRUE(std::isnan(diag.element(2, 0)));

    Matrix rhs(3, 1);
    rhs.element(0, 0) = rhs.element(1, 0) = rhs.element(2, 0) = 1.0;
    EXPECT_EQ(rhs.solve(&bad, &diag), matrixFailed);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(std::isnan(rhs.element(i, 0))) << i;
}

TEST(Cholesky, NaNAndZeroPivotsFail) {
    Matrix nan(1, 1), diag(1, 1);
    nan.element(0, 0) = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(nan.NRCholesky(&diag), matrixFailed);
    Matrix zero(2, 2), zeroPivots(2, 1);
    EXPECT_EQ(zero.NRCholesky(&zeroPivots), matrixFailed);

    Matrix factor(2, 2), zeroDiag(2, 1), rhs(2, 1);
    zeroDiag.element(0, 0) = 1.0;
    rhs.element(0, 0) = rhs.element(1, 0) = 3.0;
    EXPECT_EQ(rhs.solve(&factor, &zeroDiag), matrixFailed);
    EXPECT_TRUE(std::isnan(rhs.element(0, 0)));
    EXPECT_TRUE(std::isnan(rhs.element(1, 0)));
}

} // namespace

// Orders of 48 and more go to LAPACK: a pivot that is not positive, or NaN,
// fails there too, from the column where it occurs, and the diagonal and
// upper triangle still hold the input.
TEST(Cholesky, LargeOrdersFailFromTheBadColumnOnAndKeepTheInput) {
    struct Row {
        const char* name;
        int order, badColumn;
        double badValue;
    };
    const Row rows[] = {
        {"zero pivot", 60, 37, 0.0},
        {"negative pivot", 48, 47, -1.0},
        {"NaN pivot", 120, 5, std::numeric_limits<double>::quiet_NaN()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const int n = row.order;
        Matrix m(n, n), diag(n, 1);
        for (int i = 0; i < n; ++i) {
            m.element(i, i) = 4.0;
            if (i + 1 < n)
                m.element(i, i + 1) = 1.0; // L: 2 on the diagonal while all is well
        }
        m.element(row.badColumn, row.badColumn) = row.badValue;
        EXPECT_EQ(m.NRCholesky(&diag), matrixFailed);
        EXPECT_EQ(diag.element(0, 0), 2.0);
        for (int i = 1; i < row.badColumn; ++i)
            EXPECT_TRUE(std::isfinite(diag.element(i, 0))) << i;
        for (int i = row.badColumn; i < n; ++i)
            EXPECT_TRUE(std::isnan(diag.element(i, 0))) << i;
        EXPECT_EQ(m.element(0, 0), 4.0);
        EXPECT_EQ(m.element(0, 1), 1.0);
    }
}
