#include "reports/inverse_line.hpp"

#include "model/angle_text.hpp"
#include "model/number_format.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/c_locale_text.hpp"
#include "support/project_vars_guard.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A from (N 1000, E 2000, sN 0.010, sE 0.020) to B (N 1300, E 2400, sN 0.015,
// sE 0.005), propagated by hand through the partial derivatives of
// az = atan2(dE, dN) and d = hypot(dN, dE):
//   dN = 300, dE = 400, d = 500, az = 53.13010235415598 degrees;
//   var az = (dN/d^2)^2 (sE_A^2 + sE_B^2) + (dE/d^2)^2 (sN_A^2 + sN_B^2)
//          -> s_az = 3.8e-5 rad = 7.8380624";
//   var d  = (dN/d)^2 (sN_A^2 + sN_B^2) + (dE/d)^2 (sE_A^2 + sE_B^2)
//          -> s_d = 0.01972308292331602.
constexpr double handAzimuthDeg = 53.13010235415598;
constexpr double handAzimuthErrSec = 7.8380624;
constexpr double handDistanceErr = 0.01972308292331602;

template <class Point> Point point(const char* name, double n, double e, double sn, double se) {
    Point p;
    setPointName(p.name, name);
    p.northing = n;
    p.easting = e;
    p.stdErrN = sn;
    p.stdErrE = se;
    return p;
}

class InverseLine : public ::testing::Test {
protected:
    InverseLine() {
        allPointList2D.clear();
        allStationList.clear();
        allPointList2D.append(point<coordRec>("A", 1000, 2000, 0.010, 0.020));
        allPointList2D.append(point<coordRec>("B", 1300, 2400, 0.015, 0.005));
        allPointList2D.append(point<coordRec>("FIX", 1300, 2400, -2.0, 0.5));
        allStationList.append(point<stationRec>("A", 1000, 2000, 0.010, 0.020));
        allStationList.append(point<stationRec>("B", 1300, 2400, 0.015, 0.005));
    }
    ~InverseLine() override {
        allPointList2D.clear();
        allStationList.clear();
    }
    testsupport::ProjectVarsGuard settings_;
};

} // namespace

TEST_F(InverseLine, AgreesWithTheHandPropagation) {
    InverseResult r;
    std::string message;
    ASSERT_EQ(computeInverse("a", "b", r, message), inverseComputed);
    EXPECT_NEAR(r.direction_rad * 180.0 / M_PI, handAzimuthDeg, 1e-12);
    EXPECT_NEAR(r.distance, 500.0, 1e-9);
    EXPECT_NEAR(r.directionErr_sec, handAzimuthErrSec, 1e-6);
    EXPECT_NEAR(r.distanceErr, handDistanceErr, 1e-12);
    const std::string direction = directionToText(handAzimuthDeg * M_PI / 180.0);
    EXPECT_EQ(r.reportLine, " Inverse: a -> b  " + direction + " " + formatDistance(500.0) +
                                ",  st.Err.: Az.   7.8\", Dist. " +
                                formatDistanceShort(handDistanceErr));
    EXPECT_EQ(r.resultLine, " Inverse: a -> b  " + direction + " " + formatDistance(500.0) + ",");
    EXPECT_EQ(r.stdErrLine,
              "   St.Err.: Az.   7.8\", Dist. " + formatDistanceShort(handDistanceErr));
}

// A point without standard errors, or fixed, adds none: only A's count.
TEST_F(InverseLine, MarkedStandardErrorsCountAsZero) {
    InverseResult r;
    std::string message;
    ASSERT_EQ(computeInverse("A", "FIX", r, message), inverseComputed);
    // s_az^2 = (300 * 0.020)^2 + (400 * 0.010)^2 over d^4; s_d^2 = (0.6 * 0.010)^2 + (0.8 *
    // 0.020)^2
    EXPECT_NEAR(r.directionErr_sec, std::sqrt(36.0 + 16.0) / 250000.0 * 206264.8, 1e-9);
    EXPECT_NEAR(r.distanceErr, std::sqrt(0.006 * 0.006 + 0.016 * 0.016), 1e-12);
}

TEST_F(InverseLine, MissingPointsAreNamedInOrder) {
    InverseResult r;
    r.distance = 42.0;
    std::string message;
    EXPECT_EQ(computeInverse("NONE", "B", r, message), inversePointMissing);
    EXPECT_EQ(message, "Pt. NONE does not exist.");
    EXPECT_EQ(computeInverse("A", "ZZ", r, message), inversePointMissing);
    EXPECT_EQ(message, "Pt. ZZ does not exist.");
    EXPECT_EQ(r.distance, 42.0);
    // The 3D model looks in the stations, where FIX is not.
    projectVars.geodeticModel = 1;
    EXPECT_EQ(computeInverse("A", "FIX", r, message), inversePointMissing);
}

// The 3D model's stations are in metres: the distance and its standard
// error are shown in the project's unit alike.
TEST_F(InverseLine, ThreeDimensionalDistancesInTheProjectUnit) {
    projectVars.geodeticModel = 1;
    struct Case {
        int unit;
        double factor;
    };
    for (const Case c : {Case{0, 1.0}, Case{1, 3.2808333333333333}, Case{2, 3.280839895013123}}) {
        SCOPED_TRACE(c.unit);
        projectVars.HorizUnits = c.unit;
        InverseResult r;
        std::string message;
        ASSERT_EQ(computeInverse("A", "B", r, message), inverseComputed);
        EXPECT_NEAR(r.distance, 500.0 * c.factor, 1e-9);
        EXPECT_NEAR(r.distanceErr, handDistanceErr * c.factor, 1e-12);
        EXPECT_NEAR(r.directionErr_sec, handAzimuthErrSec, 1e-6);
    }
}
