// An ellipsoid from two of its parameters, against the published WGS 84
// values: NIMA TR8350.2 (3rd ed., 2000), Tables 3.1 and 3.3:
//   a = 6378137 m, 1/f = 298.257223563, b = 6356752.3142 m,
//   e = 0.0818191908426, e^2 = 0.00669437999014.

#include "model/ellipsoid_parameters.hpp"

#include <gtest/gtest.h>

namespace {

using Kind = EllipsoidParameter;

constexpr double wgs84A = 6378137.0;
constexpr double wgs84InvF = 298.257223563;
constexpr double wgs84F = 1.0 / wgs84InvF;
constexpr double wgs84B = 6356752.3142;
constexpr double wgs84E = 0.0818191908426;
constexpr double wgs84E2 = 0.00669437999014;

struct Pair {
    Kind firstKind;
    double first;
    Kind secondKind;
    double second;
};

} // namespace

TEST(EllipsoidFromParameters, EveryPairWithAnAxisGivesWgs84Back) {
    const Pair pairs[] = {
        {Kind::semiMajorAxis, wgs84A, Kind::semiMinorAxis, wgs84B},
        {Kind::semiMinorAxis, wgs84B, Kind::semiMajorAxis, wgs84A},
        {Kind::semiMajorAxis, wgs84A, Kind::flattening, wgs84F},
        {Kind::flattening, wgs84F, Kind::semiMajorAxis, wgs84A},
        {Kind::semiMajorAxis, wgs84A, Kind::inverseFlattening, wgs84InvF},
        {Kind::inverseFlattening, wgs84InvF, Kind::semiMajorAxis, wgs84A},
        {Kind::semiMajorAxis, wgs84A, Kind::eccentricity, wgs84E},
        {Kind::eccentricity, wgs84E, Kind::semiMajorAxis, wgs84A},
        {Kind::semiMajorAxis, wgs84A, Kind::eccentricitySquared, wgs84E2},
        {Kind::eccentricitySquared, wgs84E2, Kind::semiMajorAxis, wgs84A},
        {Kind::semiMinorAxis, wgs84B, Kind::flattening, wgs84F},
        {Kind::flattening, wgs84F, Kind::semiMinorAxis, wgs84B},
        {Kind::semiMinorAxis, wgs84B, Kind::inverseFlattening, wgs84InvF},
        {Kind::inverseFlattening, wgs84InvF, Kind::semiMinorAxis, wgs84B},
        {Kind::semiMinorAxis, wgs84B, Kind::eccentricity, wgs84E},
        {Kind::eccentricity, wgs84E, Kind::semiMinorAxis, wgs84B},
        {Kind::semiMinorAxis, wgs84B, Kind::eccentricitySquared, wgs84E2},
        {Kind::eccentricitySquared, wgs84E2, Kind::semiMinorAxis, wgs84B},
    };
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(pair.firstKind) << " "
                                        << static_cast<int>(pair.secondKind));
        const auto result =
            ellipsoidFromParameters(pair.firstKind, pair.first, pair.secondKind, pair.second);
        ASSERT_TRUE(result.has_value());
        // b is published to 0.1 mm and e to 13 decimals: a within 1 mm.
        EXPECT_NEAR(result->semiMajor_m, wgs84A, 1e-3);
        // 1/f within 1e-6 from those roundings (d(1/f) = -df / f^2).
        EXPECT_NEAR(1.0 / result->flattening, wgs84InvF, 1e-6);
    }
}

// Pairs that give no size, name one kind twice, or no oblate ellipsoid
// (prolate, a sphere typed through b or e, e >= 1, 1/f of 0 or 1, a <= 0).
TEST(EllipsoidFromParameters, ImpossibleEllipsoidsAreRefused) {
    const Pair pairs[] = {
        {Kind::flattening, wgs84F, Kind::inverseFlattening, wgs84InvF},
        {Kind::eccentricity, wgs84E, Kind::eccentricitySquared, wgs84E2},
        {Kind::semiMajorAxis, wgs84A, Kind::semiMajorAxis, wgs84A},
        {Kind::semiMajorAxis, 0.0, Kind::semiMinorAxis, 0.0},
        {Kind::semiMajorAxis, wgs84A, Kind::semiMinorAxis, wgs84A},
        {Kind::semiMajorAxis, wgs84B, Kind::semiMinorAxis, wgs84A},
        {Kind::flattening, wgs84F, Kind::semiMajorAxis, -wgs84A},
        {Kind::flattening, wgs84F, Kind::semiMajorAxis, 0.0},
        {Kind::semiMajorAxis, -wgs84A, Kind::flattening, wgs84F},
        {Kind::semiMajorAxis, wgs84A, Kind::flattening, 1.0},
        {Kind::semiMajorAxis, wgs84A, Kind::flattening, -0.01},
        {Kind::semiMajorAxis, wgs84A, Kind::inverseFlattening, 0.0},
        {Kind::inverseFlattening, 0.0, Kind::semiMajorAxis, wgs84A},
        {Kind::semiMinorAxis, wgs84B, Kind::inverseFlattening, 1.0},
        {Kind::inverseFlattening, 1.0, Kind::semiMinorAxis, wgs84B},
        {Kind::semiMajorAxis, wgs84A, Kind::eccentricity, 1.0},
        {Kind::eccentricity, 1.5, Kind::semiMajorAxis, wgs84A},
        {Kind::semiMajorAxis, wgs84A, Kind::eccentricitySquared, 1.2},
        {Kind::semiMajorAxis, wgs84A, Kind::eccentricity, 0.0},
        {Kind::semiMinorAxis, wgs84B, Kind::eccentricity, 1.0},
        {Kind::semiMinorAxis, wgs84B, Kind::eccentricitySquared, 2.0},
        {Kind::semiMinorAxis, wgs84B, Kind::flattening, 1.0},
        {Kind::semiMinorAxis, 0.0, Kind::flattening, wgs84F},
    };
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(testing::Message()
                     << static_cast<int>(pair.firstKind) << " " << pair.first << " "
                     << static_cast<int>(pair.secondKind) << " " << pair.second);
        EXPECT_FALSE(
            ellipsoidFromParameters(pair.firstKind, pair.first, pair.secondKind, pair.second));
    }
}

// A typed flattening of 0 is a sphere the user asked for.
TEST(EllipsoidFromParameters, ATypedZeroFlatteningIsASphere) {
    const auto sphere =
        ellipsoidFromParameters(Kind::semiMajorAxis, 6371000.0, Kind::flattening, 0.0);
    ASSERT_TRUE(sphere.has_value());
    EXPECT_EQ(sphere->semiMajor_m, 6371000.0);
    EXPECT_EQ(sphere->flattening, 0.0);
}

TEST(EllipsoidFromParameters, TheKindListsStayAPairWithAnAxis) {
    struct Row {
        Kind changed;
        Kind other;
        Kind expected;
    };
    const Row rows[] = {
        // e chosen while the other shows e: the next kind, e^2, is a shape too, so a.
        {Kind::eccentricity, Kind::eccentricity, Kind::semiMajorAxis},
        // e^2 over e^2: after the last kind comes a.
        {Kind::eccentricitySquared, Kind::eccentricitySquared, Kind::semiMajorAxis},
        {Kind::semiMajorAxis, Kind::semiMajorAxis, Kind::semiMinorAxis},
        {Kind::semiMinorAxis, Kind::semiMinorAxis, Kind::flattening},
        {Kind::flattening, Kind::eccentricity, Kind::semiMajorAxis},
        {Kind::flattening, Kind::semiMinorAxis, Kind::semiMinorAxis},
        {Kind::semiMajorAxis, Kind::eccentricity, Kind::eccentricity},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << static_cast<int>(row.changed) << " " << static_cast<int>(row.other));
        EXPECT_EQ(otherParameterKind(row.changed, row.other), row.expected);
    }
}
