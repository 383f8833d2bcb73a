// A levelling grid of a few thousand benchmarks, adjusted as a run adjusts
// it, against a solution written here: the normal equations of the grid in
// its own row-by-row order, whose elements all lie within a band of one grid
// row of the diagonal, factored by a plain Cholesky over every element of
// that band, and Q = N^-1 column by column from the factor.

#include "engine/vertical_adjustment.hpp"
#include "input/level_test_project.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

using leveltest::heightDiff2D;
using leveltest::point2D;
using leveltest::pointNamed;

namespace {

// side x side points 1 km apart, numbered row by row; truth 50 to 150 m.
// Fixed benchmarks at the four corners, a weighted one (+-5 to 20 mm, the
// given elevation off the truth by about that) at every 97th point, every
// other point to adjust. A difference from each point to its east and its
// north neighbour, run either way, +-2 to 10 mm with noise of that size.
struct LevelGrid {
    struct Difference {
        int from, to;
        double dh, sigma;
    };
    int side = 0;
    std::vector<int> type;
    std::vector<double> elevation, sigma; // given elevation and its error
    std::vector<Difference> diffs;

    explicit LevelGrid(int side_) : side(side_) {
        const int count = side * side;
        std::mt19937 random(20261211);
        std::uniform_real_distribution<double> heights(50.0, 150.0);
        std::uniform_real_distribution<double> errors(0.002, 0.010);
        std::normal_distribution<double> unit;
        std::vector<double> truth(static_cast<std::size_t>(count));
        for (double& h : truth)
            h = heights(random);
        type.assign(static_cast<std::size_t>(count), vtFreeElevation);
        elevation.assign(static_cast<std::size_t>(count), notComputed);
        sigma.assign(static_cast<std::size_t>(count), 0.0);
        for (int p = 0; p < count; p += 97) {
            type[p] = vtWeightedElevation;
            sigma[p] = 2.0 * errors(random);
            elevation[p] = truth[p] + sigma[p] * unit(random);
        }
        for (const int corner : {0, side - 1, count - side, count - 1}) {
            type[corner] = vtFixedElevation;
            elevation[corner] = truth[corner];
            sigma[corner] = 0.0;
        }
        for (int p = 0; p < count; ++p)
            for (const int q : {p % side + 1 < side ? p + 1 : -1, p + side < count ? p + side : -1})
                if (q >= 0) {
                    const bool forward = random() % 2 == 0;
                    const int from = forward ? p : q, to = forward ? q : p;
                    const double s = errors(random);
                    diffs.push_back({from, to, truth[to] - truth[from] + s * unit(random), s});
                }
    }
    static std::string name(int p) { return "G" + std::to_string(p); }
    int count() const { return side * side; }
};

// The least-squares solution of the grid, unknowns in grid order.
struct BandSolution {
    std::vector<int> unknownOf;                    // by point, -1 for a fixed benchmark
    std::vector<double> x, q;                      // by unknown: elevation, Q_jj
    std::map<std::pair<int, int>, double> qPair;   // Q of the two ends of a difference
    std::vector<double> adjusted, residual, diffQ; // by difference: a Q a^T
    double vtpv = 0.0;
    int dof = 0;

    explicit BandSolution(const LevelGrid& grid) {
        int u = 0;
        for (int p = 0; p < grid.count(); ++p)
            unknownOf.push_back(grid.type[p] == vtFixedElevation ? -1 : u++);
        band_ = grid.side;
        n_ = u;
        N_.assign(static_cast<std::size_t>(n_) * (band_ + 1), 0.0);
        std::vector<double> b(static_cast<std::size_t>(n_), 0.0);
        const auto fixedOr0 = [&](int p) { return unknownOf[p] < 0 ? grid.elevation[p] : 0.0; };
        for (const LevelGrid::Difference& d : grid.diffs) {
            const double w = 1.0 / (d.sigma * d.sigma);
            const double l = d.dh + fixedOr0(d.from) - fixedOr0(d.to);
            const int i = unknownOf[d.from], j = unknownOf[d.to];
            if (i >= 0) {
                at(i, i) += w;
                b[i] -= w * l;
            }
            if (j >= 0) {
                at(j, j) += w;
                b[j] += w * l;
            }
            if (i >= 0 && j >= 0)
                at(std::max(i, j), std::min(i, j)) -= w;
        }
        for (int p = 0; p < grid.count(); ++p)
            if (grid.type[p] == vtWeightedElevation) {
                const double w = 1.0 / (grid.sigma[p] * grid.sigma[p]);
                at(unknownOf[p], unknownOf[p]) += w;
                b[unknownOf[p]] += w * grid.elevation[p];
            }
        factor();
        x = solve(b);
        q.resize(static_cast<std::size_t>(n_));
        for (int j = 0; j < n_; ++j) {
            std::vector<double> e(static_cast<std::size_t>(n_), 0.0);
            e[j] = 1.0;
            const std::vector<double> column = solve(e, j);
            q[j] = column[j];
            for (const int k : {j + 1, j + band_ - 1, j + band_})
                if (k < n_)
                    qPair[{j, k}] = column[k];
        }
        const auto elevationOf = [&](int p) {
            return unknownOf[p] < 0 ? grid.elevation[p] : x[unknownOf[p]];
        };
        for (const LevelGrid::Difference& d : grid.diffs) {
            const double dh = elevationOf(d.to) - elevationOf(d.from);
            adjusted.push_back(dh);
            residual.push_back(dh - d.dh);
            vtpv += (dh - d.dh) * (dh - d.dh) / (d.sigma * d.sigma);
            diffQ.push_back(differenceQ(unknownOf[d.from], unknownOf[d.to]));
        }
        int weighted = 0;
        for (int p = 0; p < grid.count(); ++p)
            if (grid.type[p] == vtWeightedElevation) {
                ++weighted;
                const double v = x[unknownOf[p]] - grid.elevation[p];
                vtpv += v * v / (grid.sigma[p] * grid.sigma[p]);
            }
        dof = static_cast<int>(grid.diffs.size()) - (n_ - weighted);
    }

private:
    // Row i, column j <= i, i - j <= band_, of the lower triangle.
    double& at(int i, int j) { return N_[static_cast<std::size_t>(i) * (band_ + 1) + (i - j)]; }

    // N = L L^T in place.
    void factor() {
        for (int i = 0; i < n_; ++i)
            for (int j = std::max(0, i - band_); j <= i; ++j) {
                double s = at(i, j);
                for (int k = std::max(0, i - band_); k < j; ++k)
                    s -= at(i, k) * at(j, k);
                at(i, j) = i == j ? std::sqrt(s) : s / at(j, j);
            }
    }

    // y with L L^T y = b; the rows of b before `first` are zero.
    std::vector<double> solve(std::vector<double> y, int first = 0) {
        for (int i = first; i < n_; ++i) {
            for (int k = std::max(0, i - band_); k < i; ++k)
                y[i] -= at(i, k) * y[k];
            y[i] /= at(i, i);
        }
        for (int i = n_ - 1; i >= 0; --i) {
            for (int k = i + 1; k <= std::min(n_ - 1, i + band_); ++k)
                y[i] -= at(k, i) * y[k];
            y[i] /= at(i, i);
        }
        return y;
    }

    double differenceQ(int i, int j) const {
        if (i < 0 && j < 0)
            return 0.0;
        if (i < 0 || j < 0)
            return q[std::max(i, j)];
        return q[i] + q[j] - 2.0 * qPair.at({std::min(i, j), std::max(i, j)});
    }

    int n_ = 0, band_ = 0;
    std::vector<double> N_;
};

class VerticalAdjustmentGrid : public leveltest::LevelProject {};

} // namespace

TEST_F(VerticalAdjustmentGrid, ThousandsOfBenchmarksAgreeWithABandedCholeskySolution) {
    const LevelGrid grid(48);
    const BandSolution lsq(grid);

    // The lists in an order of their own, far from the grid's: the
    // adjustment's columns follow the lists.
    std::vector<int> order(static_cast<std::size_t>(grid.count()));
    for (int p = 0; p < grid.count(); ++p)
        order[p] = p;
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    for (const int p : order) {
        const coordRec point =
            point2D(LevelGrid::name(p), grid.type[p], grid.elevation[p], grid.sigma[p]);
        (p % 2 == 0 ? pointList2D : fixedPointList2D).append(point);
    }
    std::vector<std::size_t> diffOrder(grid.diffs.size());
    for (std::size_t i = 0; i < diffOrder.size(); ++i)
        diffOrder[i] = i;
    std::shuffle(diffOrder.begin(), diffOrder.end(), std::mt19937(11));
    for (const std::size_t i : diffOrder) {
        const LevelGrid::Difference& d = grid.diffs[i];
        distanceList2D.append(
            heightDiff2D(LevelGrid::name(d.from), LevelGrid::name(d.to), d.dh, d.sigma));
    }

    const verticalNetwork net = verticalNetworkFromLists();
    ASSERT_EQ(net.diffs.size(), grid.diffs.size());
    verticalSolution solution;
    ASSERT_EQ(solveVerticalNetwork(net, solution), verticalSolved);
    EXPECT_EQ(solution.degreesOfFreedom, lsq.dof);
    EXPECT_NEAR(solution.weightedSquares, lsq.vtpv, 1e-6 * lsq.vtpv);
    const double s0 = std::sqrt(lsq.vtpv / lsq.dof);
    EXPECT_NEAR(solution.s0, s0, 1e-9);

    std::map<std::pair<std::string, std::string>, std::size_t> diffOf;
    for (std::size_t i = 0; i < grid.diffs.size(); ++i)
        diffOf[{LevelGrid::name(grid.diffs[i].from), LevelGrid::name(grid.diffs[i].to)}] = i;
    for (std::size_t i = 0; i < net.diffs.size(); ++i) {
        const std::size_t k = diffOf.at({net.diffs[i].from, net.diffs[i].to});
        SCOPED_TRACE(net.diffs[i].from + " to " + net.diffs[i].to);
        EXPECT_NEAR(solution.adjustedDiff[i], lsq.adjusted[k], 1e-8);
        EXPECT_NEAR(solution.residual[i], lsq.residual[k], 1e-8);
        EXPECT_NEAR(solution.diffStdDev[i], std::sqrt(lsq.diffQ[k]) * s0, 1e-8);
    }

    ASSERT_TRUE(adjustVertical(RunContext(shell)).has_value());
    EXPECT_TRUE(shell.boxes.empty());
    for (int p = 0; p < grid.count(); ++p) {
        const int j = lsq.unknownOf[p];
        if (j < 0)
            continue;
        SCOPED_TRACE(LevelGrid::name(p));
        const coordRec point =
            pointNamed(p % 2 == 0 ? pointList2D : fixedPointList2D, LevelGrid::name(p));
        EXPECT_NEAR(point.elevation, lsq.x[j], 1e-8);
        EXPECT_NEAR(point.stdErrZ, std::sqrt(lsq.q[j]) * s0, 1e-8);
    }
}
