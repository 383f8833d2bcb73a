// The horizontal adjustment on networks large enough for its sparse factor to
// reorder the unknowns and fill in (grids of 10 to 300 points with every kind
// of row), against the independent dense long-double solution of
// horizontal_adjustment_networks.hpp: coordinates, residuals, standard
// deviations, reference variance, ellipses and elements of Q both on and off
// the pattern of the factor, to 1e-9 of their unit.

#include "horizontal_adjustment_engine.hpp"
#include "horizontal_adjustment_networks.hpp"
#include "support/project_vars_guard.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

using namespace testnet;

namespace {

constexpr double tolerance = 1e-9;

// `count` points on a jittered grid 120 m apart, filled row by row: the
// first two held fixed, one weighted control point half-way, the rest
// unknown and started up to 5 cm off. Distances to the east and north
// neighbours, the angle between each two consecutive neighbours seen from
// every point, an azimuth along the first row and a GPS vector up each
// seventh column.
Network gridNetwork(int count) {
    Network net;
    net.seed = static_cast<unsigned>(count);
    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    std::mt19937 random(net.seed);
    std::uniform_real_distribution<double> jitter(-15.0, 15.0), start(-0.05, 0.05);
    const auto name = [](int i) { return "G" + std::to_string(i); };
    for (int i = 0; i < count; ++i) {
        Point p;
        p.name = name(i);
        p.e = 5000.0 + 120.0 * (i % side) + jitter(random);
        p.n = 8000.0 + 120.0 * (i / side) + jitter(random);
        p.type = i < 2 ? 4 : (i == count / 2 ? 1 : 0);
        if (p.type != 4) {
            p.startE = start(random);
            p.startN = start(random);
        }
        if (p.type == 1) {
            p.sigmaE = p.sigmaN = 0.02;
            p.givenE = 0.01;
            p.givenN = -0.008;
        }
        net.points.push_back(p);
    }
    const auto exists = [&](int row, int col) {
        return row >= 0 && col >= 0 && col < side && row * side + col < count;
    };
    for (int i = 0; i < count; ++i) {
        const int row = i / side, col = i % side;
        if (exists(row, col + 1))
            net.obs.push_back({Kind::distance, {name(i), name(i + 1)}, 0.004});
        if (exists(row + 1, col))
            net.obs.push_back({Kind::distance, {name(i), name(i + side)}, 0.004});
        std::vector<int> around; // west, north, east, south
        for (const auto& [dr, dc] : {std::pair{0, -1}, {1, 0}, {0, 1}, {-1, 0}})
            if (exists(row + dr, col + dc))
                around.push_back((row + dr) * side + col + dc);
        for (std::size_t k = 0; around.size() > 1 && k < around.size(); ++k)
            net.obs.push_back({Kind::angle,
                               {name(around[k]), name(i), name(around[(k + 1) % around.size()])},
                               2.5});
        if (col % 7 == 3 && exists(row + 1, col))
            net.obs.push_back({Kind::gps, {name(i), name(i + side)}, 0.006, 0.009, 0.3});
    }
    net.obs.push_back({Kind::azimuth, {name(0), name(std::min(side, count) - 1)}, 4.0});
    return net;
}

class SparseAgainstDense : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { projectVars.confidenceInterval = 95.0; }
    testsupport::ProjectVarsGuard guard;
};

void expectNear(const std::vector<double>& got, const std::vector<double>& want, const char* what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], tolerance) << what << " " << i;
}

// The ellipses scale by the engine's confidence factor, whose F quantile has
// its own tests and agrees with the reference's closed form to about 2e-7 of
// itself; the axes are compared with the reference's rescaled to it, so what
// is checked here is the part that comes from Q and s0.
void expectSameEllipses(const std::vector<errEllipseRec>& got, const Reference& want, int dof) {
    const double rescale = ellipseConfidenceFactor(dof) / double(confidenceScale95(dof));
    ASSERT_EQ(got.size(), want.ellipses.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(got[i].name);
        EXPECT_NEAR(got[i].semiMajor, want.ellipses[i].major * rescale, tolerance);
        EXPECT_NEAR(got[i].semiMinor, want.ellipses[i].minor * rescale, tolerance);
        if (want.ellipses[i].major - want.ellipses[i].minor > 1e-4) {
            EXPECT_NEAR(got[i].orientation, want.ellipses[i].orientation, tolerance);
        }
    }
}

// The first and the last unknown point share no observation, so on the
// larger grids their cross block lies off the factor's pattern and comes from
// solves; each element against s0^2 Q of the reference.
void expectSameCofactors(const Cofactors& q, double s02, const Reference& want) {
    const int u = q.size();
    ASSERT_EQ(static_cast<std::size_t>(u), want.covariance.size());
    const int last = u - 2;
    for (const auto& [row, column] :
         {std::pair{0, 0}, {0, last}, {last, 0}, {last, last}, {u / 2, u / 2 + 2}, {2, last - 4}}) {
        const auto block = q.block(row, column, 2);
        for (int a = 0; a < 2; ++a)
            for (int b = 0; b < 2; ++b)
                EXPECT_NEAR(block[a][b] * s02, want.covariance[row + a][column + b], 1e-12)
                    << "element " << row + a << ", " << column + b;
    }
}

} // namespace

TEST_P(SparseAgainstDense, SameSolutionStatisticsEllipsesAndCofactors) {
    const Network net = gridNetwork(GetParam());
    fillLists(net);
    const EngineResult got = runEngine(30, 1e-11);
    ASSERT_EQ(got.status, SolveStatus::converged) << got.problem;
    const Reference want = ReferenceSolver(net).solve();

    expectNear(got.coordinates, want.coordinates, "coordinate");
    expectNear(got.statistics.residuals, want.residuals, "residual");
    expectNear(got.statistics.unknownSigmas, want.unknownSigmas, "sigma of unknown");
    expectNear(got.statistics.observationSigmas, want.observationSigmas, "sigma of observation");
    EXPECT_NEAR(got.statistics.referenceVariance, want.referenceVariance, tolerance);
    const int dof = static_cast<int>(want.residuals.size() - want.coordinates.size());
    expectSameEllipses(got.ellipses, want, dof);
    expectSameCofactors(*got.statistics.cofactors, got.statistics.referenceVariance, want);
}

INSTANTIATE_TEST_SUITE_P(Grids, SparseAgainstDense, ::testing::Values(10, 30, 100, 300));

// With no control the grid may move as a whole. Eliminating the unknowns in
// list order, the first that depends on those before it closes the first
// such motion: with the grid's azimuth and GPS vectors holding its
// orientation, all eastings moving together, so the easting of the last
// point; with distances and angles only, the turn about the last point, a
// motion of every other point, so the northing of the last point but one. The factor orders the
// unknowns its own way and must still name that one.
TEST(SparseSingular, ADatumDefectNamesTheFirstDependentUnknownInListOrder) {
    testsupport::ProjectVarsGuard guard;
    struct Row {
        int count;
        bool oriented;
        std::string expected;
    };
    const Row rows[] = {{12, true, "the easting of point G11"},
                        {150, true, "the easting of point G149"},
                        {12, false, "the northing of point G10"},
                        {150, false, "the northing of point G148"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        Network net = gridNetwork(row.count);
        for (Point& p : net.points)
            p.type = 0;
        if (!row.oriented)
            std::erase_if(net.obs, [](const Obs& o) {
                return o.kind == Kind::azimuth || o.kind == Kind::gps;
            });
        fillLists(net);
        HorizontalNetwork network;
        std::string problem;
        ASSERT_TRUE(readHorizontalNetwork(network, problem)) << problem;
        const RowWeights weights = buildWeights2D(network);
        NetworkSolver solver(network, weights);
        EXPECT_EQ(solver.iterate(10, 1e-9, nullptr), SolveStatus::singular);
        EXPECT_EQ(solver.dependentUnknown(), row.expected);
    }
}
