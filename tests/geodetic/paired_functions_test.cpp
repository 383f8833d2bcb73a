// Sine, cosine and arctangent of two arguments at once against the library's
// functions in long double: sine and cosine within two ulps (measured 1.6)
// over the whole range they take, in both lanes, at the doubles nearest the
// multiples of pi/2 (where the reduction must keep the small remainder's own
// digits) and at the edges; the arctangent within 2.5 ulps (measured 2.4).

#include "../../geodetic/core/paired_functions.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace {

using geodetic_detail::Pair;

// The distance between the double nearest `exact` and the next one out.
double ulpOf(long double exact) {
    const double nearest = std::abs(static_cast<double>(exact));
    return std::nextafter(nearest, std::numeric_limits<double>::infinity()) - nearest;
}

// Angles over four turns either way, the doubles at and beside the
// multiples of pi/2 up to 16 of them, and a few far out.
std::vector<double> testAngles() {
    std::vector<double> angles;
    const int steps = 200000;
    for (int i = -steps; i <= steps; ++i)
        angles.push_back(8.0 * std::numbers::pi * i / steps);
    for (int k = -16; k <= 16; ++k) {
        const double nearest = k * (std::numbers::pi_v<long double> / 2);
        angles.push_back(nearest);
        angles.push_back(std::nextafter(nearest, 0.0));
        angles.push_back(std::nextafter(nearest, 100.0));
    }
    for (double far : {1000.0, 12345.678, 0x1p18, geodetic_detail::maxPairedAngle})
        angles.insert(angles.end(), {far, -far});
    return angles;
}

TEST(PairedFunctions, SineAndCosineAreWithinTwoUlps) {
    const std::vector<double> angles = testAngles();
    for (std::size_t i = 0; i < angles.size(); ++i) {
        // Each angle once in each lane, beside a different partner.
        const double first = angles[i], second = angles[angles.size() - 1 - i];
        const geodetic_detail::SinCosPair both =
            geodetic_detail::sinCosOf(geodetic_detail::quarterTurnsOf(Pair{first, second}));
        for (int lane = 0; lane < 2; ++lane) {
            const long double x = lane == 0 ? first : second;
            const long double sine = std::sin(x), cosine = std::cos(x);
            ASSERT_LE(std::abs(both.sin[lane] - sine), 2.0 * ulpOf(sine)) << static_cast<double>(x);
            ASSERT_LE(std::abs(both.cos[lane] - cosine), 2.0 * ulpOf(cosine))
                << static_cast<double>(x);
        }
    }
}

TEST(PairedFunctions, ANanGivesNans) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const geodetic_detail::SinCosPair both =
        geodetic_detail::sinCosOf(geodetic_detail::quarterTurnsOf(Pair{nan, 0.5}));
    EXPECT_TRUE(std::isnan(both.sin[0]));
    EXPECT_TRUE(std::isnan(both.cos[0]));
    EXPECT_EQ(both.sin[1], std::sin(0.5));
}

// y / x from 1e-300 to 1e300 either sign, the signed zeros, and the ratios
// at the bounds of the reduction's three ranges (tan pi/8, tan 3pi/8).
TEST(PairedFunctions, ArctangentOfTheRightHalfPlaneIsWithinTwoAndAHalfUlps) {
    std::vector<double> ratios{0.0, -0.0, 0.41421356237309503, 2.414213562373095, 1.0};
    for (int i = -3000; i <= 3000; ++i)
        ratios.push_back(std::pow(10.0, i / 10.0));
    for (int i = 0; i <= 100000; ++i)
        ratios.push_back(5.0 * i / 100000);
    const std::size_t count = ratios.size();
    for (std::size_t i = 0; i < count; ++i)
        ratios.push_back(-ratios[i]);
    for (std::size_t i = 0; i < ratios.size(); ++i) {
        const double x0 = 1.0 + 0.001 * (i % 1000), x1 = 1e-5 * x0;
        const double y0 = ratios[i] * x0, y1 = ratios[ratios.size() - 1 - i] * x1;
        const geodetic_detail::AnglePair angles =
            geodetic_detail::rightHalfAtan2Pair(Pair{y0, y1}, Pair{x0, x1});
        for (int lane = 0; lane < 2; ++lane) {
            const long double y = lane == 0 ? y0 : y1, x = lane == 0 ? x0 : x1;
            const long double exact = std::atan2(y, x);
            const double angle = angles.hi[lane] + angles.lo[lane];
            ASSERT_LE(std::abs(angle - exact), 2.5 * ulpOf(exact))
                << static_cast<double>(y) << " " << static_cast<double>(x);
            ASSERT_EQ(std::signbit(angle), std::signbit(static_cast<double>(y)));
        }
    }
}

} // namespace
