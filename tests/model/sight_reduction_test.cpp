#include "model/sight_reduction.hpp"
#include "support/angles.hpp"
#include "support/project_vars_guard.hpp"

#include <gtest/gtest.h>

#include <cmath>

using testsupport::pi;
using testsupport::radiansOf;

TEST(CurvRefrAngles, OneKilometreLevelSight) {
    double c = 0, r = 0;
    EXPECT_EQ(curvRefrAngles(1000, pi / 2, 0, c, r), 0);
    EXPECT_DOUBLE_EQ(c, std::asin(1000 / (2 * 6372148.8)));
    EXPECT_DOUBLE_EQ(r, pi * 6.233595800524934e-4 / 180);
    // Feet: R 2.0906e7 ft, k 1.9e-7 per foot.
    EXPECT_EQ(curvRefrAngles(1000, pi / 2, 1, c, r), 0);
    EXPECT_DOUBLE_EQ(c, std::asin(1000 / (2 * 2.0906e7)));
    EXPECT_DOUBLE_EQ(r, pi * 1.9e-4 / 180);
}

TEST(SlopeToHzVert, PlainReductionWithHeights) {
    testsupport::ProjectVarsGuard guard;
    projectVars.curvRefract = 0;
    projectVars.gridSystem = 1;
    struct Row {
        double slope, zenith, hi, ht;
        double horizontal, heightDiff;
    };
    // 100 m at 60 degrees: 100 sin 60 = 86.60254037844386, 100 cos 60 = 50.
    const Row rows[] = {
        {100, radiansOf(60), 1.5, 1.2, 86.60254037844386, 50.3},
        {100, radiansOf(120), 1.5, 1.2, 86.60254037844386, -49.7},
        {100, radiansOf(300), 0, 0, 86.60254037844386,
         50}, // face two: the horizontal stays positive
        {100, radiansOf(90), 1.62, 1.62, 100, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.zenith);
        double h = 0, dh = 0;
        EXPECT_EQ(slopeToHzVert(0, row.slope, row.zenith, row.hi, row.ht, h, dh), 0);
        EXPECT_NEAR(h, row.horizontal, 1e-9);
        EXPECT_NEAR(dh, row.heightDiff, 1e-9);
    }
}

TEST(SlopeToHzVert, ReducedFormAndLocalScale) {
    testsupport::ProjectVarsGuard guard;
    projectVars.curvRefract = 1; // not applied to values already reduced
    projectVars.gridSystem = 0;
    projectVars.SF = 0.9996;
    double h = 0, dh = 0;
    EXPECT_EQ(slopeToHzVert(1, 250.0, -3.25, 1.5, 2.0, h, dh), 0);
    EXPECT_DOUBLE_EQ(h, 250.0 * 0.9996);
    EXPECT_DOUBLE_EQ(dh, -3.75);
    // The reduced form reports a zero vertical difference as it does a zero zenith.
    EXPECT_EQ(slopeToHzVert(1, 250.0, 0.0, 0, 0, h, dh), 1);
}

TEST(SlopeToHzVert, ZenithZeroWithADistanceIsInvalid) {
    testsupport::ProjectVarsGuard guard;
    projectVars.curvRefract = 0;
    double h = 0, dh = 0;
    EXPECT_EQ(slopeToHzVert(0, 12.5, 0.0, 0, 0, h, dh), 1);
    EXPECT_EQ(slopeToHzVert(0, 0.0, 0.0, 0, 0, h, dh), 0) << "no distance, nothing to flag";
    projectVars.curvRefract = 1;
    EXPECT_EQ(slopeToHzVert(0, 12.5, 0.0, 1.5, 1.5, h, dh), 1);
    EXPECT_EQ(h, 0.0);
    EXPECT_EQ(dh, 12.5);
}

TEST(SlopeToHzVert, CurvatureAndRefractionMatchTheTextbookCorrection) {
    // A level sight of D gains (1 - k) D^2 / 2R over the plain reduction, with
    // k = 2R r / D the coefficient of refraction the constants imply
    // (0.1387 in metres). The two agree to far below a millimetre at 1 km.
    struct Row {
        int horizUnits;
        double radius;
        double refractionPerUnit;
    };
    const Row rows[] = {{0, 6372148.8, 6.233595800524934e-7}, {1, 2.0906e7, 1.9e-7}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.horizUnits);
        testsupport::ProjectVarsGuard guard;
        projectVars.curvRefract = 1;
        projectVars.HorizUnits = row.horizUnits;
        projectVars.gridSystem = 1;
        for (double zenithDeg : {90.0, 88.5, 92.0}) {
            SCOPED_TRACE(zenithDeg);
            const double z = radiansOf(zenithDeg);
            const double slope = 1000.0;
            const double d = slope * std::sin(z);
            const double refractionAngle = pi * d * row.refractionPerUnit / 180;
            const double k = 2 * row.radius * refractionAngle / d;
            const double expectedDh = slope * std::cos(z) + (1 - k) * d * d / (2 * row.radius);
            double h = 0, dh = 0;
            EXPECT_EQ(slopeToHzVert(0, slope, z, 0, 0, h, dh), 0);
            EXPECT_NEAR(dh, expectedDh, 2e-5);
            // Conventions for the horizontal of an inclined sight differ by
            // millimetres per kilometre; on a level sight they agree.
            if (zenithDeg == 90.0) {
                EXPECT_NEAR(h, d, 1e-4);
            }
        }
    }
}

TEST(SlopeObsStdErrs, ErrorsOfOneSight) {
    double sD = 0, sDh = 0, sZ = 0;
    // 1000 m level: sD = 0.005 + 2 x 1000 / 1e6 = 0.007; zenith sqrt(3^2 + 4^2) = 5";
    // height difference 1000 x 5 / 206264.80624709636 = 0.024240684055476.
    EXPECT_EQ(slopeObsStdErrs(sD, sDh, sZ, 1000, pi / 2, 3, 4, 0.005, 2), 0);
    EXPECT_DOUBLE_EQ(sD, 0.007);
    EXPECT_DOUBLE_EQ(sZ, 5.0);
    EXPECT_NEAR(sDh, 0.024240684055476, 1e-15);
    // Straight up, the distance error is all of the height-difference error.
    slopeObsStdErrs(sD, sDh, sZ, 1000, 0.0, 3, 4, 0.005, 2);
    EXPECT_DOUBLE_EQ(sDh, 0.007);
}
