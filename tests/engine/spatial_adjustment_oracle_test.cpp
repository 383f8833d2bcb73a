// The three-dimensional adjustment against an independent dense Gauss-Newton
// solution in earth-centred coordinates (spatial_adjustment_networks.hpp):
// adjusted positions, residuals, standard deviations of the unknowns and of
// the adjusted observations, ellipse axes and the reference variance agree
// to 1e-6 m (angular values to the seconds that 1e-6 m subtends at the
// shortest sight).

#include "spatial_adjustment_engine.hpp"
#include "spatial_adjustment_networks.hpp"
#include "support/project_vars_guard.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using namespace net3d;

constexpr double lengthTolerance = 1e-6;
// 1e-6 m across a 300 m sight, in seconds of arc.
constexpr double angleTolerance = 1e-6 / 300.0 * rho;

struct OracleCase {
    std::string label;
    Network (*network)();
};

class SpatialOracle : public ::testing::TestWithParam<OracleCase> {
protected:
    testsupport::ProjectVarsGuard vars;
    void SetUp() override { useStatePlane83Colorado(); }
};

TEST_P(SpatialOracle, AgreesWithTheIndependentSolution) {
    const Network net = GetParam().network();
    fillLists(net);
    const EngineResult engine = runEngine();
    ASSERT_EQ(engine.status, SolveStatus::converged) << engine.problem;
    ReferenceSolver reference(net);
    const Reference ref = reference.solve();

    // Positions: every adjustable station, earth-centred.
    std::size_t station = 0;
    for (std::size_t i = 0; i < net.stations.size(); ++i) {
        if (net.stations[i].type == 4)
            continue;
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(engine.positions[station][c], static_cast<double>(ref.positions[i][c]),
                        lengthTolerance)
                << net.stations[i].name << " component " << c;
        ++station;
    }

    const double s0sq = engine.statistics.referenceVariance;
    EXPECT_NEAR(s0sq, static_cast<double>(ref.referenceVariance),
                1e-6 * static_cast<double>(ref.referenceVariance));

    // Residuals and adjusted-observation sigmas: the one-row observations in
    // order, then the GPS vectors' local components.
    const auto& rows = engine.network.rows;
    std::size_t scalar = 0, vector = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const SpatialRowKind kind = rows[r].kind;
        const bool angular = kind == SpatialRowKind::angle || kind == SpatialRowKind::azimuth ||
                             kind == SpatialRowKind::zenith;
        const double tol = angular ? angleTolerance : lengthTolerance;
        if (kind == SpatialRowKind::gpsNorth) {
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(engine.statistics.residuals[r + c],
                            static_cast<double>(ref.gpsResidualLocal[vector][c]), tol)
                    << "GPS row " << r + c;
                EXPECT_NEAR(engine.statistics.observationSigmas[r + c],
                            static_cast<double>(ref.gpsSigmasLocal[vector][c]), tol)
                    << "GPS row " << r + c;
            }
            ++vector;
            r += 2;
            continue;
        }
        EXPECT_NEAR(engine.statistics.residuals[r], static_cast<double>(ref.residuals[scalar]), tol)
            << "row " << r;
        EXPECT_NEAR(engine.statistics.observationSigmas[r],
                    static_cast<double>(ref.obsSigmas[scalar]), tol)
            << "row " << r;
        ++scalar;
    }

    // Standard deviations north, east, up and the ellipses.
    ASSERT_EQ(engine.ellipses.size(), ref.ellipses.size());
    for (std::size_t s = 0; s < ref.sigmasNEU.size(); ++s) {
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(engine.statistics.unknownSigmas[3 * s + c],
                        static_cast<double>(ref.sigmasNEU[s][c]), lengthTolerance);
        const errEllipseRec& e = engine.ellipses[s];
        const Reference::Ellipse& x = ref.ellipses[s];
        EXPECT_NEAR(e.semiMajor, static_cast<double>(x.major), lengthTolerance);
        EXPECT_NEAR(e.semiMinor, static_cast<double>(x.minor), lengthTolerance);
        EXPECT_NEAR(e.sigmaE, static_cast<double>(x.sigmaE), lengthTolerance);
        EXPECT_NEAR(e.sigmaN, static_cast<double>(x.sigmaN), lengthTolerance);
        EXPECT_NEAR(e.orientation, static_cast<double>(x.orientation), 1e-5);
        EXPECT_GE(e.orientation, 0.0);
        EXPECT_LT(e.orientation, pi);
    }
}

INSTANTIATE_TEST_SUITE_P(Networks, SpatialOracle,
                         ::testing::Values(OracleCase{"terrestrial", terrestrial},
                                           OracleCase{"gpsOnly", gpsOnly},
                                           OracleCase{"mixed", mixed}),
                         [](const auto& info) { return info.param.label; });

} // namespace
