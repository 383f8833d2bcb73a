#include "model/packed_degrees.hpp"
#include "support/angles.hpp"

#include <gtest/gtest.h>

#include <cmath>

using testsupport::gradsToRadians;
using testsupport::pi;
using testsupport::radiansOf;

TEST(PackedDegrees, UnpacksToDecimalDegrees) {
    struct Row {
        double packed;
        double degrees; // by hand: d + m/60 + s/3600
    };
    const Row rows[] = {
        {12.3045, 12.5125},
        {-0.3, -0.5},
        {10.59599, 10 + 59.0 / 60 + 59.9 / 3600},
        {0.0, 0.0},
        {359.5959, 359 + 59.0 / 60 + 59.0 / 3600},
        {45.0000123456, 45 + 0.123456 / 3600},
        {-12.30451, -(12 + 30.0 / 60 + 45.1 / 3600)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.packed);
        EXPECT_NEAR(dmsToDegrees(row.packed), row.degrees, 1e-12);
        EXPECT_NEAR(dmsToRadians(row.packed), row.degrees * pi / 180.0, 1e-12);
    }
    EXPECT_NEAR(dmsTextToRadians("12.3045"), 12.5125 * pi / 180.0, 1e-12);
    EXPECT_NEAR(dmsToDegreesPrec(12.30451, 4), 12.5125, 1e-12)
        << "splits the value printed with 4 decimals";
    EXPECT_NEAR(dmsToDegreesPrec(12.3, 1), 12.5, 1e-12) << "missing digits read as zeros";
    EXPECT_NEAR(dmsCStringToRadiansPrec("12.30451", 5), radiansOf(12, 30, 45.1), 1e-12);
}

TEST(PackedDegrees, ChecksTypedValues) {
    struct Row {
        const char* text;
        int invalid;
    };
    const Row rows[] = {
        {"10.60", 1}, {"10.0060", 1}, {"361", 1},      {"-361", 1},     {"10.5959", 0},
        {"360", 0},   {"-45.3", 0},   {"0.005999", 0}, {"12.30599", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(checkDmsText(row.text), row.invalid);
    }
}

TEST(PackedDegrees, PacksAnglesWithSecondsCarried) {
    struct Row {
        double angle_rad;
        const char* text;
    };
    const Row rows[] = {
        {radiansOf(12, 30, 45), "12.3045 "},
        {-radiansOf(12, 30, 45), "12.3045 "},
        // 59.99996" would print as 60 seconds, which cannot be typed back in.
        {radiansOf(12, 30, 59.99996), "12.3100 "},
        {radiansOf(359, 59, 59.9999), "360.0000"},
        {0.0, "0.0000  "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(angleToDmsPackedText(row.angle_rad), row.text);
        EXPECT_EQ(checkDmsText(row.text), 0);
    }
}

TEST(PackedDegrees, PacksWithPrecisionAndSign) {
    struct Row {
        double angle_rad;
        int decimals;
        const char* text;
    };
    const Row rows[] = {
        {radiansOf(12, 30, 45.1), 1, "12.30451"},
        {-radiansOf(12, 30, 45.1), 1, "-12.30451"},
        {radiansOf(10, 59, 59.96), 1, "11.00000"},
        {radiansOf(1, 2, 3), 0, "1.0203  "},
        {radiansOf(28, 20, 15.123456), 6, "28.2015123456"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(angleToDmsPackedPrec(row.angle_rad, row.decimals), row.text);
    }
}

TEST(PackedDegrees, RoundTripsOverAFineGrid) {
    for (double degrees = -359.0; degrees <= 359.0; degrees += 7.123456789) {
        const double angle = degrees * pi / 180.0;
        const std::string packed = angleToDmsPackedPrec(angle, 4);
        // Rounding to 1e-4 seconds loses at most 5e-5 seconds.
        EXPECT_NEAR(dmsTextToRadians(packed), angle, 5.1e-5 / 3600.0 * pi / 180.0) << packed;
    }
}

TEST(PackedDegrees, FormatsPlainNumbers) {
    EXPECT_EQ(fmtDouble8(1.0 / 3.0), "0.33333333");
    EXPECT_EQ(fmtDouble4CString(2.5), "2.5000  ");
}

TEST(PackedDegrees, ClassifiesNumericText) {
    struct Row {
        const char* text;
        int nonNumeric;
        int numeric;
    };
    const Row rows[] = {
        {"12.5", 0, 1}, {" -3", 0, 1}, {"1e5", 0, 0}, {"+4", 1, 1}, {"12a", 1, 0}, {"", 0, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(hasNonNumericChar(row.text), row.nonNumeric);
        EXPECT_EQ(isNumericText(row.text), row.numeric);
    }
}
