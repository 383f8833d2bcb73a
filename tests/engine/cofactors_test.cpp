// The selected inverse on a factor worked by hand, with elements on and off
// its pattern and with the unknowns reordered.

#include "engine/cofactors.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// N = tridiag(-1, 2, -1) of order 4, whose inverse is known in closed form:
// Q_ij = min(i, j) (5 - max(i, j)) / 5 (from 1), i.e.
//   Q = [4 3 2 1; 3 6 4 2; 2 4 6 3; 1 2 3 4] / 5.
// Its Cholesky factor is bidiagonal: L_kk = sqrt((k + 1) / k),
// L_k+1,k = -sqrt(k / (k + 1)) (k from 1), so Q_14 and Q_13 lie off the
// pattern of L and Q_12 on it.
LowerFactor tridiagonalFactor(std::vector<int> permutation) {
    LowerFactor l;
    l.n = 4;
    l.columnStart = {0, 2, 4, 6, 7};
    l.rowIndex = {0, 1, 1, 2, 2, 3, 3};
    for (int k = 1; k <= 4; ++k) {
        l.value.push_back(std::sqrt((k + 1.0) / k));
        if (k < 4)
            l.value.push_back(-std::sqrt(k / (k + 1.0)));
    }
    l.permutation = std::move(permutation);
    return l;
}

const double q[4][4] = {
    {0.8, 0.6, 0.4, 0.2}, {0.6, 1.2, 0.8, 0.4}, {0.4, 0.8, 1.2, 0.6}, {0.2, 0.4, 0.6, 0.8}};

} // namespace

TEST(Cofactors, EveryElementOfTheTridiagonalInverse) {
    const Cofactors cofactors(tridiagonalFactor({0, 1, 2, 3}), {});
    ASSERT_FALSE(cofactors.stopped());
    ASSERT_EQ(cofactors.size(), 4);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(cofactors.at(i, j), q[i][j], 1e-15) << i << ", " << j;
}

// With row k of the factored matrix being unknown permutation[k], unknown
// permutation[i] and permutation[j] have the factored matrix's Q_ij.
TEST(Cofactors, ReorderedUnknownsKeepTheirOwnOrder) {
    const std::vector<int> order = {2, 0, 3, 1};
    const Cofactors cofactors(tridiagonalFactor(order), {});
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(cofactors.at(order[i], order[j]), q[i][j], 1e-15) << i << ", " << j;
    const auto block = cofactors.block(2, 0, 2); // unknowns 2, 3 against 0, 1
    EXPECT_NEAR(block[0][0], q[0][1], 1e-15);
    EXPECT_NEAR(block[0][1], q[0][3], 1e-15);
    EXPECT_NEAR(block[1][0], q[2][1], 1e-15);
    EXPECT_NEAR(block[1][1], q[2][3], 1e-15);
}

TEST(Cofactors, AStopAskedEndsTheInversionAndSaysSo) {
    int questions = 0;
    const Cofactors cofactors(tridiagonalFactor({0, 1, 2, 3}), [&](long long, long long total) {
        EXPECT_EQ(total, 4);
        ++questions;
        return true;
    });
    EXPECT_TRUE(cofactors.stopped());
    EXPECT_EQ(questions, 1);
    EXPECT_TRUE(Cofactors().size() == 0);
}
