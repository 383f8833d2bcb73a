// The scale factors of the 3D chain against the transverse Mercator point
// scale factor worked from its series (Snyder, Map Projections: A Working
// Manual, 1987, eq. 8-25 inverted): at grid offset x from the central
// meridian, on the footpoint latitude phi1,
//   k = k0 (1 + x^2 / (2 rho1 N1 k0^2) + x^4 / (24 rho1^2 N1^2 k0^4) (1 + 6 t1^2)),
// whose next term is below 1e-12 for x up to 20 km. On the equator phi1 = 0:
// rho1 = a (1 - e^2), N1 = a, t1 = 0.

#include "engine/line_combined_factor.hpp"
#include "model/settings/global_vars.hpp"
#include "support/project_vars_guard.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double k0 = 0.9996;
constexpr double a = 6378137.0;
constexpr double flattening = 1.0 / 298.257223563;
constexpr double R = 6372000.0; // the elevation factor's mean earth radius

double equatorScale(double x) {
    const double e2 = flattening * (2.0 - flattening);
    const double rhoN = a * (1.0 - e2) * a;
    const double q = x * x / (rhoN * k0 * k0);
    return k0 * (1.0 + q / 2.0 + q * q / 24.0);
}

stationRec station(double northing, double easting, double height) {
    stationRec s;
    s.northing = northing;
    s.easting = easting;
    s.elevation = height;
    return s;
}

class LineFactor : public ::testing::Test {
protected:
    void SetUp() override {
        projectVars.gridSystem = gridUtm;
        projectVars.gridZone = 17;
        projectVars.ellipsoid = 15; // WGS 1984
        projectVars.geodeticModel = 1;
    }

    testsupport::ProjectVarsGuard guard;
};

} // namespace

TEST_F(LineFactor, GridFactorIsSimpsonsRuleOverTheLine) {
    // Along the equator from the central meridian 20 km east, no heights:
    // (k(0) + 4 k(10 km) + k(20 km)) / 6.
    const stationRec from = station(0.0, 500000.0, notComputed);
    const stationRec to = station(0.0, 520000.0, notComputed);
    const double want = (equatorScale(0.0) + 4.0 * equatorScale(10000.0) +
                         equatorScale(20000.0)) / 6.0;
    EXPECT_NEAR(lineCombinedFactor(from, to), want, 1e-11);
    EXPECT_NEAR(lineCombinedFactor(to, from), want, 1e-11);
    EXPECT_NEAR(stationGridFactor(0.0, 520000.0), equatorScale(20000.0), 1e-11);
}

TEST_F(LineFactor, ElevationFactorIsTheMeanOfTheEnds) {
    // On the central meridian k = k0 everywhere.
    const stationRec from = station(4400000.0, 500000.0, 200.0);
    const stationRec to = station(4400100.0, 500000.0, 800.0);
    const double want = k0 * (R / (R + 200.0) + R / (R + 800.0)) / 2.0;
    EXPECT_NEAR(lineCombinedFactor(from, to), want, 1e-13);
    ASSERT_TRUE(stationElevFactor(to).has_value());
    EXPECT_NEAR(*stationElevFactor(to), R / (R + 800.0), 1e-15);
}

TEST_F(LineFactor, AnEndWithoutHeightLeavesTheGridFactorAlone) {
    const stationRec from = station(4400000.0, 500000.0, 200.0);
    const stationRec to = station(4400100.0, 500000.0, notComputed);
    EXPECT_FALSE(stationElevFactor(to).has_value());
    EXPECT_NEAR(lineCombinedFactor(from, to), k0, 1e-13);
}

TEST_F(LineFactor, ALocalSystemHasNoFactors) {
    projectVars.gridSystem = gridLocal;
    EXPECT_EQ(lineCombinedFactor(station(0.0, 0.0, 500.0), station(100.0, 100.0, 900.0)), 1.0);
}
