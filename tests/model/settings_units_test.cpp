// The units the project settings show: angular standard errors in grads,
// and the tolerance texts in packed dd.mmss or grads.

#include "model/settings/settings_units.hpp"
#include "support/angles.hpp"

#include <gtest/gtest.h>

using testsupport::pi;

// A grad is 0.9 degree, 3240 seconds: 6.48" = 6.48 / 3240 = 0.002 grads.
TEST(SettingsUnits, AngularErrorsShowInGradsAndComeBackInSeconds) {
    EXPECT_NEAR(shownAngularError(6.48, 1), 0.002, 1e-15);
    EXPECT_EQ(shownAngularError(6.48, 0), 6.48);
    EXPECT_NEAR(angularErrorSeconds(0.002, 1), 6.48, 1e-12);
    EXPECT_EQ(angularErrorSeconds(6.48, 0), 6.48);
}

TEST(SettingsUnits, AngleToleranceTexts) {
    struct Row {
        const char* text;
        int angleType;
        double radians; // by hand
    };
    const double arcSecond = pi / (180.0 * 3600.0);
    const Row rows[] = {
        {"0.0030", 0, 30.0 * arcSecond},    {"0.0100", 0, 60.0 * arcSecond},
        {"1.3000", 0, 1.5 * pi / 180.0},    {"0.01", 1, 0.01 * pi / 200.0},
        {"0.010000", 2, 0.01 * pi / 200.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const auto parsed = angleToleranceFromText(row.text, row.angleType);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_NEAR(*parsed, row.radians, 1e-15);
    }
    for (const char* refused : {"0.0060", "0.6000", "361.0000", "1.2x"}) {
        SCOPED_TRACE(refused);
        EXPECT_FALSE(angleToleranceFromText(refused, 0));
    }
    EXPECT_FALSE(angleToleranceFromText("abc", 1));
    // Read as far as it went, a tolerance typed "1-2" was 1.
    EXPECT_FALSE(angleToleranceFromText("1-2", 1));
    EXPECT_FALSE(angleToleranceFromText("0.0030-1", 0));
    EXPECT_EQ(angleToleranceText(30.0 * arcSecond, 0), "0.0030  ");
    EXPECT_EQ(angleToleranceText(0.01 * pi / 200.0, 1), "0.010000");
}

TEST(SettingsUnits, DistanceToleranceTexts) {
    EXPECT_EQ(distanceToleranceText(0.05), "0.0500  ");
    EXPECT_EQ(distanceToleranceFromText(" 0.05"), 0.05);
    EXPECT_EQ(distanceToleranceFromText("1e-2"), 0.01);
    EXPECT_FALSE(distanceToleranceFromText("0,05"));
    EXPECT_FALSE(distanceToleranceFromText("5 cm"));
    EXPECT_FALSE(distanceToleranceFromText("0.05-0.01"));
    EXPECT_FALSE(distanceToleranceFromText("1e"));
}
