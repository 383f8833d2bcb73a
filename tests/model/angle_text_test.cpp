#include "model/angle_text.hpp"
#include "model/number_format.hpp"
#include "support/angles.hpp"
#include "support/comma_locale.hpp"
#include "support/project_vars_guard.hpp"

#include <gtest/gtest.h>

using testsupport::gradsToRadians;
using testsupport::pi;
using testsupport::radiansOf;

namespace {

class AngleText : public ::testing::Test {
protected:
    testsupport::ProjectVarsGuard guard;
};

} // namespace

TEST_F(AngleText, DegreesMinutesSeconds) {
    struct Row {
        double angle_rad;
        int decimals;
        const char* text;
    };
    const Row rows[] = {
        {radiansOf(12, 5, 7.3), 1, " 012-05'07.3\""},
        {-radiansOf(12, 5, 7.3), 1, "-012-05'07.3\""},
        {radiansOf(12, 5, 7.3), 0, " 012-05'07\""},
        {radiansOf(12, 5, 7.3), 3, " 012-05'07.300\""},
        // seconds rounding to 60 carry into the minutes, and 60 minutes into the degrees
        {radiansOf(10, 30, 59.96), 1, " 010-31'00.0\""},
        {radiansOf(12, 59, 59.96), 1, " 013-00'00.0\""},
        {radiansOf(359, 59, 59.99), 1, " 360-00'00.0\""},
        {radiansOf(359, 59, 59.94), 1, " 359-59'59.9\""},
        {0.0, 0, " 000-00'00\""},
        {radiansOf(180), 2, " 180-00'00.00\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(angleToDmsText(row.angle_rad, row.decimals), row.text);
    }
}

TEST_F(AngleText, Grads) {
    struct Row {
        double angle_rad;
        int decimals;
        const char* text;
    };
    const Row rows[] = {
        {gradsToRadians(100), 1, "     100.00000"},
        {gradsToRadians(5.5), 1, "     005.50000"},
        {-gradsToRadians(5.5), 1, "     005.50000"},
        {gradsToRadians(399.99999), 0, "      400.0000"},
        {gradsToRadians(0.00004), 0, "      000.0000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(angleToGonText(row.angle_rad, row.decimals), row.text);
    }
    EXPECT_EQ(angleToGonPlainCString(-gradsToRadians(12.5)), "-12.500000");
}

// A precision out of its range (a damaged setting) is held to 0-12 decimals,
// plus the four of grads: no overflow, no gigabytes of digits.
TEST_F(AngleText, GradsHoldAnOutOfRangePrecisionToItsRange) {
    EXPECT_EQ(angleToGonText(gradsToRadians(100), 2147483647), "100.0000000000000000");
    EXPECT_EQ(angleToGonText(gradsToRadians(100), -2147483647 - 1), "      100.0000");
    projectVars.angleType = 1;
    projectVars.directionPrec = 2147483647;
    // 2.5 seconds of arc = 2.5 / 3240 grads = 0.000771604938... (16 decimals)
    EXPECT_EQ(formatAngleSeconds(2.5), "0.0007716049382716");
}

TEST_F(AngleText, AngleTextFollowsTheProjectUnitAndPadsTo14) {
    projectVars.directionPrec = 0;
    EXPECT_EQ(angleToText(0.0), " 000-00'00\"   ");
    projectVars.directionPrec = 1;
    EXPECT_EQ(angleToText(radiansOf(12, 5, 7.3)), " 012-05'07.3\" ");
    projectVars.angleType = 1;
    EXPECT_EQ(angleToText(gradsToRadians(5.5)), "     005.50000");
}

TEST_F(AngleText, Bearings) {
    struct Row {
        int angleType;
        double azimuth_rad;
        const char* text;
    };
    const Row rows[] = {
        {0, radiansOf(45), "N 45-00'00.0\"E"},
        {0, pi / 2, "N 90-00'00.0\"E"},
        {0, 3 * pi / 4, "S 45-00'00.0\"E"},
        {0, pi, "S 00-00'00.0\"E"},
        {0, radiansOf(200, 10, 20.5), "S 20-10'20.5\"W"},
        {0, 1.5 * pi, "S 90-00'00.0\"W"},
        {0, radiansOf(300), "N 60-00'00.0\"W"},
        {1, 3 * pi / 4, "S 050.00000 E"},
        {1, gradsToRadians(350), "N 050.00000 W"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        projectVars.angleType = row.angleType;
        EXPECT_EQ(bearingToText(row.azimuth_rad), row.text);
    }
}

TEST_F(AngleText, DirectionsAsBearingsOrAzimuths) {
    EXPECT_EQ(directionToText(3 * pi / 4), "S 45-00'00.0\"E ");
    EXPECT_EQ(directionToCString(3 * pi / 4), " S 45-00'00.0\"E");
    projectVars.directionType = 1;
    EXPECT_EQ(directionToText(3 * pi / 4), " 135-00'00.0\"  ");
    EXPECT_EQ(directionToCString(3 * pi / 4), "  135-00'00.0\" ");
}

TEST_F(AngleText, LatitudesAndLongitudes) {
    struct Row {
        int angleType;
        bool latitude;
        double value_rad;
        const char* text;
    };
    const Row rows[] = {
        {0, true, radiansOf(45, 30, 12.345678), "45-30'12.34568\"N"},
        {0, true, -radiansOf(33, 0, 0), "33-00'00.00000\"S"},
        {0, true, 0.0, "0-00'00.00000\"N"},
        // below one degree the degrees still show, so the text cannot read as negative
        {0, true, -radiansOf(0, 30, 0), "0-30'00.00000\"S"},
        {0, false, 0.0, "0-00'00.00000\"W"},
        {0, false, radiansOf(120, 5, 0), "120-05'00.00000\"E"},
        {0, false, -radiansOf(81, 30, 0), "81-30'00.00000\"W"},
        {1, true, gradsToRadians(50.5), "50.500000000N"},
        {1, false, -gradsToRadians(0.25), "0.250000000W"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        projectVars.angleType = row.angleType;
        EXPECT_EQ(row.latitude ? latToText(row.value_rad) : lonToText(row.value_rad), row.text);
    }
}

TEST_F(AngleText, SmallNumberFormats) {
    EXPECT_EQ(fmtArcSeconds(3.14159), " 3.1");
    EXPECT_EQ(formatAngleValue9(2.5), "    2.5  ");
    EXPECT_EQ(formatAngleValue9(-2.5), "   -2.5  ");
    projectVars.distPrec = 3;
    EXPECT_EQ(formatDistanceSigned(12.3456), " 12.346");
    EXPECT_EQ(formatDistanceSigned(-12.3456), "-12.346");
    EXPECT_EQ(fmtSeconds2(7.3, 1), "07.3");
    EXPECT_EQ(fmtSeconds2(7, 0), "07");
    EXPECT_EQ(fmtSeconds2(12.25, 2), "12.25");
}

TEST_F(AngleText, TypedAnglesAndCodedBearings) {
    struct Row {
        int angleType;
        double coded;
        double expected_rad;
    };
    const Row rows[] = {
        {0, 245.3, radiansOf(134.5)}, // 180 - 45°30'
        {0, 145.3, radiansOf(45.5)},        {0, 345.3, radiansOf(225.5)},
        {0, 445.3, radiansOf(314.5)},       {1, 2050.5, gradsToRadians(149.5)}, // 200 - 50.5
        {1, 3050.5, gradsToRadians(250.5)}, {1, 4050.5, gradsToRadians(349.5)},
        {1, 1050.5, gradsToRadians(50.5)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.coded);
        projectVars.angleType = row.angleType;
        EXPECT_NEAR(quadBearingToRadians(row.coded), row.expected_rad, 1e-12);
    }
    projectVars.angleType = 0;
    EXPECT_NEAR(angleToRadians(12.3045), radiansOf(12.5125), 1e-12);
    projectVars.angleType = 1;
    EXPECT_NEAR(angleToRadians(150.0), gradsToRadians(150.0), 1e-12);
}

TEST_F(AngleText, TextDoesNotFollowTheUserLocale) {
    projectVars.angleType = 1;
    const std::string before =
        angleToText(gradsToRadians(5.5)) + latToText(radiansOf(45, 30, 12.345678));
    testsupport::CommaLocale comma;
    TARNWELL_REQUIRE_COMMA(comma);
    EXPECT_EQ(angleToText(gradsToRadians(5.5)) + latToText(radiansOf(45, 30, 12.345678)), before);
    EXPECT_NEAR(quadBearingToRadians(2050.5), gradsToRadians(149.5), 1e-12);
}
