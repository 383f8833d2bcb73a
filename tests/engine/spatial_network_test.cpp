// The rows of the three-dimensional adjustment: every design row against
// central differences of its misclosure, the weights of GPS vectors against
// their covariance turned into the local frame, the turn across north of
// angular misclosures, the corrections on one ellipsoid, a GPS-only network
// against weighted linear least squares in earth-centred coordinates, and
// the networks the adjustment refuses or cannot solve.

#include "spatial_adjustment_engine.hpp"
#include "spatial_adjustment_networks.hpp"
#include "support/project_vars_guard.hpp"

#include "engine/linearised_network.hpp"
#include "model/list_snapshot.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

using namespace net3d;

class SpatialNetworkTest : public ::testing::Test {
protected:
    testsupport::ProjectVarsGuard vars;
    void SetUp() override { useStatePlane83Colorado(); }
};

double designAt(const DesignRow& row, int column) {
    double sum = 0.0;
    for (int p = 0; p < row.count; ++p)
        if (row.column[p] == column)
            sum += row.value[p];
    return sum;
}

bool angularRow(SpatialRowKind kind) {
    return kind == SpatialRowKind::angle || kind == SpatialRowKind::azimuth ||
           kind == SpatialRowKind::zenith;
}

// -dL/dx_j by a central difference of step h.
std::vector<double> centralDifference(const SpatialNetwork& network, int j, double h) {
    std::vector<double> x(static_cast<std::size_t>(network.unknowns()), 0.0);
    SpatialNetwork plus = network, minus = network;
    x[static_cast<std::size_t>(j)] = h;
    applyCorrections3D(plus, x);
    x[static_cast<std::size_t>(j)] = -h;
    applyCorrections3D(minus, x);
    const std::vector<double> lp = buildMisclosures3D(plus);
    const std::vector<double> lm = buildMisclosures3D(minus);
    std::vector<double> d(lp.size());
    for (std::size_t r = 0; r < d.size(); ++r)
        d[r] = -(lp[r] - lm[r]) / (2.0 * h);
    return d;
}

// dL/dx = -A: each column against Richardson's extrapolation of central
// differences of steps 0.5 and 0.25 m (error of order h^4; steps this long
// keep the rounding of latitudes, 1e-16 rad, far below the difference).
void expectDesignMatchesDifferences(const Network& net) {
    fillLists(net);
    SpatialNetwork network;
    std::string problem;
    ASSERT_TRUE(readSpatialNetwork(network, problem)) << problem;
    const std::vector<DesignRow> design = buildDesign3D(network);
    for (int j = 0; j < network.unknowns(); ++j) {
        const std::vector<double> coarse = centralDifference(network, j, 0.5);
        const std::vector<double> fine = centralDifference(network, j, 0.25);
        for (std::size_t r = 0; r < design.size(); ++r) {
            const double numeric = (4.0 * fine[r] - coarse[r]) / 3.0;
            const double analytic = designAt(design[r], j);
            // Angular rows are seconds per metre, some hundreds; the rounding
            // of positions (1e-10 m) leaves them some 1e-6 seconds per metre.
            const double tol = angularRow(network.rows[r].kind) ? 5e-6 : 1e-8;
            EXPECT_NEAR(analytic, numeric, tol) << "row " << r << " column " << j;
        }
    }
}

TEST_F(SpatialNetworkTest, DesignRowsAreTheDerivativesOfTheMisclosures) {
    expectDesignMatchesDifferences(terrestrial());
    expectDesignMatchesDifferences(gpsOnly());
    expectDesignMatchesDifferences(mixed());
}

TEST_F(SpatialNetworkTest, GpsBlockIsTheInverseOfTheLocalCovariance) {
    const Network net = gpsOnly();
    fillLists(net);
    SpatialNetwork network;
    std::string problem;
    ASSERT_TRUE(readSpatialNetwork(network, problem)) << problem;
    const RowWeights w = buildWeights3D(network);
    for (std::size_t r = 0; r < network.rows.size(); r += 3) {
        const SpatialRow& row = network.rows[r];
        const SpatialStation& from = network.stations[static_cast<std::size_t>(row.stations[0])];
        const auto R = axes(from.latitude, from.longitude);
        const auto S = covOf(row.covariance);
        // C = R S R^T, computed here; W C must be the identity.
        Real C[3][3] = {};
        for (int a = 0; a < 3; ++a)
            for (int b = 0; b < 3; ++b)
                for (int p = 0; p < 3; ++p)
                    for (int q = 0; q < 3; ++q)
                        C[a][b] += R[a][p] * S[p][q] * R[b][q];
        for (int a = 0; a < 3; ++a)
            for (int b = 0; b < 3; ++b) {
                Real sum = 0;
                for (int c = 0; c < 3; ++c)
                    sum += w.at(r + a, r + c) * C[c][b];
                EXPECT_NEAR(static_cast<double>(sum), a == b ? 1.0 : 0.0, 1e-9);
            }
    }
}

TEST_F(SpatialNetworkTest, WithoutGpsVectorsTheWeightsAreDiagonal) {
    fillLists(terrestrial());
    SpatialNetwork network;
    std::string problem;
    ASSERT_TRUE(readSpatialNetwork(network, problem)) << problem;
    const RowWeights w = buildWeights3D(network);
    EXPECT_TRUE(
        std::all_of(w.pairWeight.begin(), w.pairWeight.end(), [](double v) { return v == 0.0; }));
    EXPECT_TRUE(
        std::all_of(w.skipWeight.begin(), w.skipWeight.end(), [](double v) { return v == 0.0; }));
    // A distance of sigma 3 mm weighs 1 / 0.003^2; an angle of 2" 1/4.
    EXPECT_NEAR(w.diagonal[0], 1.0 / (0.003 * 0.003), 1e-6);
    EXPECT_NEAR(w.diagonal[8], 0.25, 1e-12);
}

TEST_F(SpatialNetworkTest, RowsComeInTheirFixedOrder) {
    fillLists(mixed());
    SpatialNetwork network;
    std::string problem;
    ASSERT_TRUE(readSpatialNetwork(network, problem)) << problem;
    std::vector<SpatialRowKind> kinds;
    for (const SpatialRow& row : network.rows)
        if (kinds.empty() || kinds.back() != row.kind)
            kinds.push_back(row.kind);
    using K = SpatialRowKind;
    const std::vector<K> expected = {K::distance,    K::angle,     K::zenith,       K::controlNorth,
                                     K::controlEast, K::controlUp, K::controlNorth, K::controlEast,
                                     K::controlUp,   K::gpsNorth,  K::gpsEast,      K::gpsUp,
                                     K::gpsNorth,    K::gpsEast,   K::gpsUp,        K::gpsNorth,
                                     K::gpsEast,     K::gpsUp,     K::level};
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(network.controlRowsStart, 13);
    EXPECT_EQ(network.controlRowCount, 6);
    EXPECT_EQ(network.unknowns(), 15);
}

TEST(AngularMisclosure, TurnsAcrossNorth) {
    const double deg1 = pi / 180.0;
    // Observed 359 degrees, computed 1 degree: -2 degrees, not +358.
    EXPECT_NEAR(angularMisclosure(359 * deg1, 1 * deg1), -7200.0, 1e-6);
    EXPECT_NEAR(angularMisclosure(1 * deg1, 359 * deg1), 7200.0, 1e-6);
    EXPECT_NEAR(angularMisclosure(90 * deg1, 89 * deg1), 3600.0, 1e-6);
}

TEST_F(SpatialNetworkTest, CorrectionsKeepPositionsOnTheGridEllipsoid) {
    // UTM on Clarke 1866 (code 4): geodetic and earth-centred positions of a
    // moved station stay on that one ellipsoid.
    projectVars.gridSystem = gridUtm;
    projectVars.gridZone = 13;
    projectVars.ellipsoid = 4;
    fillLists(terrestrial());
    SpatialNetwork network;
    std::string problem;
    ASSERT_TRUE(readSpatialNetwork(network, problem)) << problem;
    EXPECT_NEAR(network.ell.semiMajor, 6378206.4, 1e-6);
    std::vector<double> x(static_cast<std::size_t>(network.unknowns()), 0.25);
    applyCorrections3D(network, x);
    const double a = 6378206.4, f = 1.0 / 294.978698214;
    const double ee = f * (2 - f);
    for (const stationRec& s : recordsOf(stationList)) {
        const double n = a / std::sqrt(1 - ee * std::sin(s.latitude) * std::sin(s.latitude));
        EXPECT_NEAR(s.ecefX, (n + s.elevation) * std::cos(s.latitude) * std::cos(s.longitude),
                    1e-3);
        EXPECT_NEAR(s.ecefZ, (n * (1 - ee) + s.elevation) * std::sin(s.latitude), 1e-3);
        EXPECT_GT(s.easting, 100000.0); // the grid position follows the station
    }
}

TEST_F(SpatialNetworkTest, GpsOnlyNetworkIsLinearLeastSquaresInEarthCentredCoordinates) {
    const Network net = gpsOnly();
    fillLists(net);
    const EngineResult engine = runEngine();
    ASSERT_EQ(engine.status, SolveStatus::converged);

    // X = (A^T W A)^-1 A^T W l, A of +-1 blocks, W the inverse covariances.
    const auto observed = observe(net);
    const std::size_t u = 3 * (net.stations.size() - 1);
    std::vector<std::vector<Real>> N(u, std::vector<Real>(u, 0.0L));
    std::vector<Real> b(u, 0.0L);
    const Vec3 fixed = truthOf(net.stations[0]);
    for (std::size_t i = 0; i < net.obs.size(); ++i) {
        const Obs& o = net.obs[i];
        const int from = indexOf(net, o.a) - 1, to = indexOf(net, o.b) - 1;
        const auto C = covOf(o.cov);
        // W = C^-1 by Gauss-Jordan.
        Real m[3][6] = {};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                m[r][c] = C[r][c];
            m[r][3 + r] = 1;
        }
        for (int p = 0; p < 3; ++p) {
            const Real d = m[p][p];
            for (int c = 0; c < 6; ++c)
                m[p][c] /= d;
            for (int r = 0; r < 3; ++r)
                if (r != p) {
                    const Real k = m[r][p];
                    for (int c = 0; c < 6; ++c)
                        m[r][c] -= k * m[p][c];
                }
        }
        // l = observed vector, moved by the fixed end where there is one.
        Vec3 l = {observed[i][0], observed[i][1], observed[i][2]};
        for (int c = 0; c < 3; ++c) {
            if (from < 0)
                l[c] += fixed[c];
            if (to < 0)
                l[c] -= fixed[c];
        }
        const int ends[2] = {from, to};
        const Real sign[2] = {-1, 1};
        for (int e1 = 0; e1 < 2; ++e1) {
            if (ends[e1] < 0)
                continue;
            for (int r = 0; r < 3; ++r) {
                for (int c = 0; c < 3; ++c)
                    b[3 * ends[e1] + r] += sign[e1] * m[r][3 + c] * l[c];
                for (int e2 = 0; e2 < 2; ++e2) {
                    if (ends[e2] < 0)
                        continue;
                    for (int c = 0; c < 3; ++c)
                        N[3 * ends[e1] + r][3 * ends[e2] + c] += sign[e1] * sign[e2] * m[r][3 + c];
                }
            }
        }
    }
    const std::vector<Real> X = choleskySolve(N, b);
    for (std::size_t s = 0; s < engine.positions.size(); ++s)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(engine.positions[s][c], static_cast<double>(X[3 * s + c]), 1e-6);
}

TEST_F(SpatialNetworkTest, OneStationByThreeDistancesAndZenithsConverges) {
    Network net;
    net.stations = {fixedAt("F1", near(0, 0, 1500)), fixedAt("F2", near(400, 50, 1520)),
                    fixedAt("F3", near(100, 450, 1490)),
                    unknownAt("X", near(200, 200, 1505), {0.3, -0.2, 0.4})};
    net.obs = {dist("F1", "X"), dist("F2", "X"), dist("F3", "X"),
               zen("F1", "X"),  zen("F2", "X"),  zen("F3", "X")};
    fillLists(net);
    const EngineResult engine = runEngine();
    ASSERT_EQ(engine.status, SolveStatus::converged);
    ASSERT_EQ(engine.ellipses.size(), 1u);
    EXPECT_GE(engine.ellipses[0].orientation, 0.0);
    EXPECT_LE(engine.ellipses[0].orientation, pi);
    EXPECT_STREQ(engine.ellipses[0].name, "X");
}

TEST_F(SpatialNetworkTest, StationWithoutObservationsMakesNSingular) {
    Network net = terrestrial();
    net.stations.push_back(unknownAt("LONE", near(50, 50, 1600), {0, 0, 0}));
    fillLists(net);
    const EngineResult engine = runEngine();
    ASSERT_EQ(engine.status, SolveStatus::singular);
}

TEST_F(SpatialNetworkTest, BudgetEndsTheIterations) {
    fillLists(terrestrial());
    EXPECT_EQ(runEngine(1).status, SolveStatus::notConverged);
}

class RefusedSystems : public ::testing::TestWithParam<int> {
protected:
    testsupport::ProjectVarsGuard vars;
};

TEST_P(RefusedSystems, LocalAndStatePlane1927HaveNoGeodeticPositions) {
    projectVars.gridSystem = GetParam();
    fillLists(terrestrial());
    SpatialNetwork network;
    std::string problem;
    EXPECT_FALSE(readSpatialNetwork(network, problem));
    EXPECT_NE(problem.find("3D model needs a coordinate system"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Systems, RefusedSystems, ::testing::Values(0, 2));

TEST_F(SpatialNetworkTest, GpsVectorWithoutCovarianceIsRefused) {
    Network net = gpsOnly();
    net.obs[2].cov = {};
    fillLists(net);
    SpatialNetwork network;
    std::string problem;
    EXPECT_FALSE(readSpatialNetwork(network, problem));
    EXPECT_EQ(problem, "GPS vector G3 - G4 has no positive definite covariance; it cannot be "
                       "weighted.");
}

TEST(RowWeightsTest, SetRowWeightKeepsTheBlockPositiveDefinite) {
    RowWeights w;
    w.assign(3);
    w.diagonal = {4.0, 9.0, 16.0};
    w.pairWeight = {3.0, 6.0, 0.0};
    w.skipWeight = {2.0, 0.0, 0.0};
    w.setRowWeight(1, 1e-12);
    // Row 1 scaled by sqrt(1e-12 / 9): its couplings shrink with it.
    EXPECT_DOUBLE_EQ(w.diagonal[1], 1e-12);
    EXPECT_NEAR(w.pairWeight[0], 3.0 * std::sqrt(1e-12 / 9.0), 1e-20);
    EXPECT_NEAR(w.pairWeight[1], 6.0 * std::sqrt(1e-12 / 9.0), 1e-20);
    EXPECT_DOUBLE_EQ(w.skipWeight[0], 2.0);
    // The 2 x 2 minor of rows 0, 1 stays positive.
    EXPECT_GT(w.diagonal[0] * w.diagonal[1] - w.pairWeight[0] * w.pairWeight[0], 0.0);
}

} // namespace
