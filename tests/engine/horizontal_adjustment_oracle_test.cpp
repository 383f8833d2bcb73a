// The horizontal adjustment against an independent dense Gauss-Newton
// solution of the same networks (horizontal_adjustment_networks.hpp), and
// against a network solved by hand.

#include "engine/horizontal_network.hpp"
#include "engine/network_solver.hpp"
#include "horizontal_adjustment_engine.hpp"
#include "horizontal_adjustment_networks.hpp"
#include "support/project_vars_guard.hpp"

#include <gtest/gtest.h>

using namespace testnet;

namespace {

struct Case {
    const char* name;
    Network (*network)();
};

const Case cases[] = {
    {"braced quadrilateral", bracedQuadrilateral},
    {"traverse between two control points", traverseBetweenControl},
    {"weighted control", weightedControl},
    {"azimuths", azimuths},
    {"GPS vectors", gpsVectors},
};

class AgainstReference : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override { projectVars.confidenceInterval = 95.0; }
    testsupport::ProjectVarsGuard guard;
};

void expectNear(const std::vector<double>& got, const std::vector<double>& want, double tolerance,
                const char* what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], tolerance) << what << " " << i;
}

} // namespace

TEST_P(AgainstReference, SameCoordinatesResidualsSigmasEllipsesAndVariance) {
    const Network net = GetParam().network();
    fillLists(net);
    const EngineResult got = runEngine();
    ASSERT_EQ(got.status, SolveStatus::converged) << got.problem;
    const Reference want = ReferenceSolver(net).solve();

    // 1e-6 of the unit: metres for lengths, seconds of arc for angular residuals.
    expectNear(got.coordinates, want.coordinates, 1e-6, "coordinate");
    expectNear(got.statistics.residuals, want.residuals, 1e-6, "residual");
    expectNear(got.statistics.unknownSigmas, want.unknownSigmas, 1e-6, "sigma of unknown");
    expectNear(got.statistics.observationSigmas, want.observationSigmas, 1e-6,
               "sigma of observation");
    EXPECT_NEAR(got.statistics.referenceVariance, want.referenceVariance, 1e-6);
    ASSERT_EQ(got.ellipses.size(), want.ellipses.size());
    for (std::size_t i = 0; i < got.ellipses.size(); ++i) {
        SCOPED_TRACE(got.ellipses[i].name);
        EXPECT_NEAR(got.ellipses[i].semiMajor, want.ellipses[i].major, 1e-6);
        EXPECT_NEAR(got.ellipses[i].semiMinor, want.ellipses[i].minor, 1e-6);
        // The orientation is defined when the axes differ.
        if (want.ellipses[i].major - want.ellipses[i].minor > 1e-4) {
            EXPECT_NEAR(got.ellipses[i].orientation, want.ellipses[i].orientation, 1e-6);
        }
    }
}

TEST_P(AgainstReference, ReferencePartialsMatchFiniteDifferences) {
    const Network net = GetParam().network();
    const ReferenceSolver reference(net);
    const std::vector<Real> x = reference.start();
    for (std::size_t r = 0; r < reference.rows(); ++r) {
        const std::vector<Real> analytic = reference.partials(r, x);
        for (std::size_t j = 0; j < reference.unknowns(); ++j) {
            const Real h = 1e-4L;
            std::vector<Real> up = x, down = x;
            up[j] += h;
            down[j] -= h;
            const Real numeric = (reference.value(r, up) - reference.value(r, down)) / (2 * h);
            EXPECT_NEAR(double(analytic[j]), double(numeric), 1e-9) << "row " << r << " col " << j;
        }
    }
}

TEST_P(AgainstReference, AdjustmentPartialsMatchFiniteDifferences) {
    fillLists(GetParam().network());
    HorizontalNetwork network;
    std::string problem;
    ASSERT_TRUE(readHorizontalNetwork(network, problem)) << problem;
    const std::vector<DesignRow> design = buildDesign2D(network);
    for (std::size_t r = 0; r < network.rows.size(); ++r) {
        const bool angular =
            network.rows[r].kind == RowKind::angle || network.rows[r].kind == RowKind::azimuth;
        const double unit = angular ? rho : 1.0; // the adjustment's angular rows are in seconds
        std::vector<double> analytic(static_cast<std::size_t>(network.unknowns()), 0.0);
        for (int p = 0; p < design[r].count; ++p)
            analytic[static_cast<std::size_t>(design[r].column[p])] += design[r].value[p];
        for (const int index : network.adjustable) {
            for (int coordinate = 0; coordinate < 2; ++coordinate) {
                NetworkPoint& point = network.points[static_cast<std::size_t>(index)];
                double& value = coordinate == 0 ? point.easting : point.northing;
                const double h = 1e-4;
                value += h;
                const double up = computedValue(network, network.rows[r]);
                value -= 2 * h;
                const double down = computedValue(network, network.rows[r]);
                value += h;
                const double numeric = (up - down) / (2 * h) * unit;
                EXPECT_NEAR(analytic[static_cast<std::size_t>(point.column + coordinate)], numeric,
                            1e-6 * std::max(1.0, std::fabs(numeric)))
                    << "row " << r << " point " << point.name;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Networks, AgainstReference, ::testing::ValuesIn(cases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

// Hand calculation: P at the centre of an equilateral triangle of fixed
// points 100 m away, each distance observed as 100.010 m with sigma 0.010 m.
// By symmetry P stays at the centre; every residual is 100 - 100.010 =
// -0.010; s0^2 = 3 (0.010/0.010)^2 / (3 - 2) = 3. With unit vectors 120
// degrees apart, sum u u^T = 1.5 I, so N = 1.5 / 0.01^2 I = 15000 I and
// Q = I / 15000: sigma E = sigma N = sqrt(3 / 15000) = 0.0141421356 m, and
// each adjusted distance has sigma s0 sqrt(u^T Q u) = 0.0141421356 m. The 95%
// ellipse: F(2, 1) = (1/2)(0.05^-2 - 1) = 199.5, factor sqrt(399), both
// axes 0.0141421356 x 19.97498436 = 0.2824868 m. The critical F comes from a
// bisection on the incomplete beta function (relative accuracy 3e-7 per
// term), good to about 1e-5 of F at one degree of freedom: the axes are
// checked to 1e-5 m.
TEST(HorizontalAdjustmentByHand, PointAtTheCentreOfAnEquilateralTriangle) {
    testsupport::ProjectVarsGuard guard;
    projectVars.confidenceInterval = 95.0;
    const double r = 100.0, h = r * std::sqrt(3.0) / 2.0;
    Network net;
    net.points = {fixedAt("A", 1000, 1000 + r), fixedAt("B", 1000 + h, 1000 - r / 2),
                  fixedAt("C", 1000 - h, 1000 - r / 2), unknownAt("P", 1000, 1000, 0.05, -0.03)};
    fillLists(net);
    distanceList2D.clear();
    for (const char* end : {"A", "B", "C"}) {
        distanceObs2D d;
        setPointName(d.from, "P");
        setPointName(d.to, end);
        d.distance = 100.010;
        d.stdErrDist = 0.010;
        distanceList2D.append(d);
    }
    obsCount = 3;
    const EngineResult got = runEngine();
    ASSERT_EQ(got.status, SolveStatus::converged);
    EXPECT_NEAR(got.coordinates[0], 1000.0, 1e-9);
    EXPECT_NEAR(got.coordinates[1], 1000.0, 1e-9);
    for (const double v : got.statistics.residuals)
        EXPECT_NEAR(v, -0.010, 1e-9);
    EXPECT_NEAR(got.statistics.referenceVariance, 3.0, 1e-9);
    for (const double s : got.statistics.unknownSigmas)
        EXPECT_NEAR(s, 0.0141421356, 1e-9);
    for (const double s : got.statistics.observationSigmas)
        EXPECT_NEAR(s, 0.0141421356, 1e-9);
    ASSERT_EQ(got.ellipses.size(), 1u);
    EXPECT_NEAR(got.ellipses[0].semiMajor, 0.2824868, 1e-5);
    EXPECT_NEAR(got.ellipses[0].semiMinor, 0.2824868, 1e-5);
}
