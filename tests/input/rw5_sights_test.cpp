#include "input/rw5_sights.hpp"

#include "support/angles.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using testsupport::pi;
using testsupport::radiansOf;

constexpr double unset = -999999999.0;
constexpr double angleTol = 1e-12; // radians
constexpr double lengthTol = 1e-9; // file units

struct ReadingCase {
    const char* token;
    double expected_rad;
};

TEST(Rw5HorizontalReading, PrefixesAndBearingQuadrants) {
    const ReadingCase cases[] = {
        {"AR90.3000", radiansOf(90, 30)},
        {"AZ12.0030", radiansOf(12, 0, 30)},
        {"DR5.0000", radiansOf(5)},
        {"GN5.0000", radiansOf(5)},
        {"DL5.0000", radiansOf(5)},
        {"AL90.0000", 2 * pi - radiansOf(90)}, // angle left: the clockwise reading is 270
        {"BRNE10.0000", radiansOf(10)},
        {"BRSE10.0000", pi - radiansOf(10)},
        {"BRSW10.0000", pi + radiansOf(10)}, // S 10 W is azimuth 190
        {"BRNW10.0000", 2 * pi - radiansOf(10)},
        {"brsw10.0000", pi + radiansOf(10)},
        {"AR", unset},
        {"", unset},
    };
    for (const ReadingCase& c : cases) {
        SCOPED_TRACE(c.token);
        EXPECT_NEAR(rw5HorizontalReading(c.token), c.expected_rad, angleTol);
    }
}

struct SightCase {
    const char* vertical;
    const char* distance;
    double zenith_rad;
    double slope;
    double levelHorizontal;
    bool invalid;
};

TEST(Rw5Sight, VerticalAndDistanceTokensGiveSlopeAndZenith) {
    const SightCase cases[] = {
        {"ZE90.0000", "SD100.000", pi / 2, 100.0, unset, false},
        {"ZE450.0000", "SD100.000", pi / 2, 100.0, unset, false}, // put into [0, 2 pi)
        // Horizontal 100 at zenith 60: slope = 100 / sin 60 = 115.470053838
        {"ZE60.0000", "HD100.000", radiansOf(60), 100.0 / std::sin(radiansOf(60)), unset, false},
        // A reverse-face zenith of 270 with a horizontal 100 is a level sight of
        // slope +100 (sin 270 = -1 must not make the distance negative).
        {"ZE270.0000", "HD100.000", radiansOf(270), 100.0, unset, false},
        // Vertical angle +30: zenith 60.
        {"VA30.0000", "SD100.000", radiansOf(60), 100.0, unset, false},
        // "CE" 0 over horizontal 100: slope 100, zenith pi/2.
        {"CE0.000", "HD100.000", pi / 2, 100.0, unset, false},
        // "CE" 10 over horizontal 100: slope sqrt(10100) = 100.498756211,
        // zenith = 90 - atan(0.1) = 84.2894069 degrees.
        {"CE10.000", "hd100.000", pi / 2 - std::atan(0.1), std::sqrt(10100.0), unset, false},
        // "CE" 60 along slope 100: horizontal 80, zenith = 90 - atan(60 / 80).
        {"CE60.000", "SD100.000", pi / 2 - std::atan(0.75), 100.0, unset, false},
        // A difference longer than the slope has no horizontal distance.
        {"CE60.000", "SD50.000", unset, unset, unset, true},
        // A zenith of exactly 0 counts as none.
        {"ZE0.0000", "", unset, unset, unset, false},
        {"ZE0.0000", "SD10.000", unset, 10.0, unset, true},
        {"ZE0.0000", "HD10.000", unset, unset, unset, true},
        {"ZE180.0000", "HD10.000", pi, unset, unset, true},
        // No vertical token: a horizontal distance stays known, a slope one cannot be reduced.
        {"", "HD25.000", unset, unset, 25.0, false},
        {"", "SD25.000", unset, 25.0, unset, true},
        {"ZE95.0000", "", radiansOf(95), unset, unset, false},
    };
    for (const SightCase& c : cases) {
        SCOPED_TRACE(std::string(c.vertical) + " " + c.distance);
        const Rw5Sight sight = rw5Sight("AR0.0000", c.vertical, c.distance);
        EXPECT_NEAR(sight.zenith, c.zenith_rad, angleTol);
        EXPECT_NEAR(sight.slope, c.slope, lengthTol);
        EXPECT_NEAR(sight.levelHorizontal, c.levelHorizontal, lengthTol);
        EXPECT_EQ(sight.invalidVertical, c.invalid);
    }
}

TEST(Rw5Observation, TokensInOrderAndTheDescriptionWithItsCommas) {
    const Rw5Observation o = parseRw5Observation(
        splitRw5Record("SS,OP1,FP 22 ,AR10.0000,ZE90.0000,SD12.500,--fence, east side"));
    EXPECT_EQ(o.occupied, "1");
    EXPECT_EQ(o.foresight, "22");
    EXPECT_NEAR(o.sight.reading, radiansOf(10), angleTol);
    EXPECT_NEAR(o.sight.slope, 12.5, lengthTol);
    EXPECT_EQ(o.description, "fence, east side");

    const Rw5Observation shortRecord = parseRw5Observation(splitRw5Record("BD,OP1,,AR5.0000"));
    EXPECT_EQ(shortRecord.foresight, "");
    EXPECT_EQ(shortRecord.sight.zenith, unset);
    EXPECT_EQ(shortRecord.sight.slope, unset);
}

} // namespace
