// The relative error ellipse of the 3D chain against one computed here from
// the 6 x 6 block of a hand-made cofactor matrix, and the ALTA report that
// the 3D adjustment writes from it.

#include "engine/relative_error_ellipse.hpp"

#include "engine/adjustment_results.hpp"
#include "engine/point_error_ellipses.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/length_units.hpp"
#include "support/hand_made_cofactors.hpp"
#include "support/project_vars_guard.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using testsupport::cofactorsByHand;
using testsupport::handMadeCofactors;

stationRec station(const char* name, int type, double north, double east) {
    stationRec s;
    initStationRec(s);
    setPointName(s.name, name);
    s.pointType = type;
    s.northing = north;
    s.easting = east;
    return s;
}

using Ellipse = testsupport::HandEllipse;

class RelativeEllipse3D : public ::testing::Test {
protected:
    void SetUp() override {
        resetProgramLists();
        projectVars.confidenceInterval = 95.0;
        // P1, then a sideshot that has no unknowns, then P2 and P3; F fixed.
        stationList.append(station("P1", ptUnknown, 100.0, 200.0));
        stationList.append(station("S", ptSideshot, 0.0, 0.0));
        stationList.append(station("P2", ptWeightedControl, 300.0, 250.0));
        stationList.append(station("P3", ptUnknown, 150.0, 400.0));
        fixedStationList.append(station("F", ptFixed, 0.0, 0.0));
        varCovMatrix = handMadeCofactors();
        referenceStdDev = 1.3;
        unknownCount = 9;
        obsCount = 21;
        q = cofactorsByHand();
    }
    void TearDown() override {
        releaseAdjustmentResults();
        resetProgramLists();
    }
    Ellipse computed(const char* a, const char* b) {
        stationRec one, two;
        setPointName(one.name, a);
        setPointName(two.name, b);
        Ellipse e{};
        EXPECT_EQ(relErrEllipse3D(&one, &two, &e.semiMajor, &e.semiMinor, &e.azimuth, 1, 0),
                  relativeEllipseComputed);
        return e;
    }
    Ellipse byHand(int i, int j) {
        return testsupport::relativeByHand(
            q, i, j, referenceStdDev * ellipseConfidenceFactor(obsCount - unknownCount));
    }
    testsupport::ProjectVarsGuard guard;
    std::vector<std::vector<double>> q;
};

void expectSame(const Ellipse& got, const Ellipse& want, double toUnit = 1.0) {
    EXPECT_NEAR(got.semiMajor, want.semiMajor * toUnit, 1e-12);
    EXPECT_NEAR(got.semiMinor, want.semiMinor * toUnit, 1e-12);
    EXPECT_NEAR(got.azimuth, want.azimuth, 1e-10);
}

TEST_F(RelativeEllipse3D, EqualsTheEllipseOfTheDifferencedBlock) {
    expectSame(computed("P1", "P2"), byHand(0, 3));
    expectSame(computed("p3", "P1"), byHand(6, 0));
    // A fixed end contributes no block.
    expectSame(computed("P2", "F"), byHand(3, -1));
}

TEST_F(RelativeEllipse3D, AxesAreInTheProjectsUnit) {
    projectVars.HorizUnits = units::usSurveyFeet;
    expectSame(computed("P1", "P3"), byHand(0, 6), units::metreInUsSurveyFeet);
}

TEST_F(RelativeEllipse3D, UnknownPointsSideshotsAndNoMatrixFail) {
    double major = 0, minor = 0, azimuth = 0;
    stationRec one, two;
    setPointName(one.name, "P1");
    setPointName(two.name, "S");
    EXPECT_EQ(relErrEllipse3D(&one, &two, &major, &minor, &azimuth, 0, 0), relativeEllipseFailed);
    setPointName(two.name, "NONE");
    EXPECT_EQ(relErrEllipse3D(&one, &two, &major, &minor, &azimuth, 0, 0), relativeEllipseFailed);
    setPointName(two.name, "P2");
    varCovMatrix.reset();
    EXPECT_EQ(relErrEllipse3D(&one, &two, &major, &minor, &azimuth, 0, 0), relativeEllipseFailed);
}

TEST_F(RelativeEllipse3D, FillsTheStationRecords) {
    stationRec one, two;
    setPointName(one.name, "p2");
    setPointName(two.name, "F");
    double major = 0, minor = 0, azimuth = 0;
    ASSERT_EQ(relErrEllipse3D(&one, &two, &major, &minor, &azimuth, 1, 0), relativeEllipseComputed);
    EXPECT_EQ(one.northing, 300.0);
    EXPECT_EQ(one.pointType, ptWeightedControl);
    EXPECT_EQ(two.pointType, ptFixed);
}

} // namespace
