#include "model/point_errors.hpp"
#include "support/angles.hpp"

#include <gtest/gtest.h>

#include <cmath>

using testsupport::pi;

namespace {

template <class Point> Point at(double n, double e, double sE = 0, double sN = 0) {
    Point p;
    p.northing = n;
    p.easting = e;
    p.stdErrE = sE;
    p.stdErrN = sN;
    return p;
}

constexpr double rho = 648000 / pi;

} // namespace

TEST(InverseStdErrs, DirectionAndDistanceErrorsOfALine) {
    // A due east of B by 100: the direction feels only the northing errors,
    // the distance only the easting errors. sE = 0.03, sN = hypot(0.04, 0.03) = 0.05;
    // direction error = 100 x 0.05 / 100^2 = 5e-4 rad; distance error 0.03.
    double dirErr = 0, distErr = 0;
    EXPECT_EQ(inverseStdErrs2D(at<coordRec>(0, 0, 0.03, 0.04), at<coordRec>(0, 100, 0, 0.03),
                               dirErr, distErr),
              0);
    EXPECT_NEAR(dirErr, 5e-4, 1e-15);
    EXPECT_NEAR(distErr, 0.03, 1e-15);
    EXPECT_EQ(inverseStdErrs3D(at<stationRec>(0, 0, 0.03, 0.04), at<stationRec>(-100, 0, 0, 0.03),
                               dirErr, distErr),
              0);
    EXPECT_NEAR(dirErr, 3e-4, 1e-15); // north-south: the easting errors turn it
    EXPECT_NEAR(distErr, 0.05, 1e-15);
}

TEST(InverseStdErrs, FixedAndFreeMarkersAreNoSpread) {
    // -2 (fixed) and -1 (none) are markers; squared they would add 2.8 units
    // of error to a line between two fixed points.
    double dirErr = 1, distErr = 1;
    inverseStdErrs2D(at<coordRec>(0, 0, -2, -2), at<coordRec>(100, 100, -2, -1), dirErr, distErr);
    EXPECT_EQ(dirErr, 0.0);
    EXPECT_EQ(distErr, 0.0);
}

TEST(InverseStdErrs, CoincidentPointsHaveNoDirectionError) {
    double dirErr = 0, distErr = 0;
    EXPECT_EQ(
        inverseStdErrs2D(at<coordRec>(5, 5, 0.01, 0.02), at<coordRec>(5, 5, 0, 0), dirErr, distErr),
        1);
    EXPECT_EQ(dirErr, -999999999.0);
    EXPECT_TRUE(std::isfinite(distErr));
}

TEST(StationDistXYZ, StraightLineBetweenEarthCentredPositions) {
    stationRec a, b;
    a.ecefX = 1;
    a.ecefY = 2;
    a.ecefZ = 3;
    b.ecefX = 4;
    b.ecefY = 6;
    b.ecefZ = 15;
    EXPECT_DOUBLE_EQ(stationDistXYZ(a, b), 13.0); // sqrt(9 + 16 + 144)
}

TEST(IntersectDirections, NewPointAndItsErrors) {
    // A at the origin, B 100 east; P 100 north of A. From A due north, from B
    // at 315 degrees: angle at A 90, at B 45, at P 45 degrees; A-P = 100.
    // B's direction error s (10") moves P along A's line, i.e. in northing:
    // sL^2 = (sin45/sin45 sD)^2 + (cos45 100/sin45 s)^2 + (sin45 100/(tan45 sin45) s)^2
    //      = sD^2 + 2 (100 s)^2, with sD = 0.01 from A's easting error.
    const double s = 10 / rho;
    const double sL = std::sqrt(0.01 * 0.01 + 2 * (100 * s) * (100 * s));
    coordRec p = at<coordRec>(-1, -1);
    setPointName(p.name, "NEW");
    ASSERT_EQ(intersectDirections2D(at<coordRec>(0, 0, 0.01, 0.02), 0.0, 0.0, at<coordRec>(0, 100),
                                    1.75 * pi, 10.0, p),
              0);
    EXPECT_NEAR(p.northing, 100, 1e-9);
    EXPECT_NEAR(p.easting, 0, 1e-9);
    EXPECT_NEAR(p.stdErrE, 0.01, 1e-12) << "A's easting error, nothing across the line";
    EXPECT_NEAR(p.stdErrN, std::hypot(0.02, sL), 1e-12)
        << "A's northing error and the length error";
    EXPECT_STREQ(p.name, "NEW");

    // The 3D form on station records: A's direction error 10" swings P across
    // the line, 100 x s in easting; the length feels the angle at P.
    stationRec q;
    ASSERT_EQ(intersectDirections3D(at<stationRec>(0, 0), 0.0, 10.0, at<stationRec>(0, 100),
                                    1.75 * pi, 0.0, q),
              0);
    EXPECT_NEAR(q.stdErrE, 100 * s, 1e-12);
    EXPECT_NEAR(q.stdErrN, 100 * s, 1e-12); // sL = 100 s through the angle at P
}

TEST(IntersectDirections, DegenerateGeometryLeavesThePoint) {
    struct Row {
        const char* label;
        coordRec b;
        double dirB;
    };
    const Row rows[] = {
        {"parallel", at<coordRec>(0, 100), 0.0},
        {"opposite", at<coordRec>(0, 100), pi},
        {"A and B coincide", at<coordRec>(0, 0), pi / 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        coordRec p = at<coordRec>(7, 8, 0.5, 0.5);
        const coordRec before = p;
        EXPECT_EQ(intersectDirections2D(at<coordRec>(0, 0), 0.0, 5, row.b, row.dirB, 5, p), 1);
        EXPECT_EQ(p, before);
    }
}
