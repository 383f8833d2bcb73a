// The short series that stand in for the library's atanh and sinh in the
// eccentricity terms of the conformal projections (Lambert's isometric
// latitude, the conformal latitude of transverse Mercator): over the whole
// range of latitudes and the eccentricities of the earth's ellipsoids they
// agree with std::atanh and std::sinh within two ulps, so a projected
// coordinate moves by far less than a nanometre.

#include "../../geodetic/core/projection_terms.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double twoUlps = 2.0 * std::numeric_limits<double>::epsilon();

TEST(ProjectionTerms, AtanhSeriesAgreesWithTheLibraryFunction) {
    const int steps = 200000;
    for (int i = -steps; i <= steps; ++i) {
        const double x = geodetic_detail::maxAtanhSeriesArgument * i / steps;
        const double expected = std::atanh(x);
        ASSERT_NEAR(geodetic_detail::atanhSeries(x), expected, twoUlps * std::abs(expected)) << x;
    }
}

TEST(ProjectionTerms, SinhOfSmallAgreesWithTheLibraryFunction) {
    const double largest = geodetic_detail::maxAtanhSeriesArgument *
                           std::atanh(geodetic_detail::maxAtanhSeriesArgument);
    const int steps = 200000;
    for (int i = -steps; i <= steps; ++i) {
        const double y = largest * i / steps;
        const double expected = std::sinh(y);
        ASSERT_NEAR(geodetic_detail::sinhOfSmall(y), expected, twoUlps * std::abs(expected)) << y;
    }
}

// The series of small angles (EOV's latitudes near its origins) agree with
// the library's sine, cosine and arctangent within two ulps.
TEST(ProjectionTerms, SmallAngleSeriesAgreeWithTheLibraryFunctions) {
    const int steps = 200000;
    for (int i = -steps; i <= steps; ++i) {
        const double x = geodetic_detail::maxSmallAngle * i / steps;
        const geodetic_detail::SineCosine sc = geodetic_detail::sinCosOfSmall(x);
        ASSERT_NEAR(sc.sin, std::sin(x), twoUlps * std::abs(std::sin(x))) << x;
        ASSERT_NEAR(sc.cos, std::cos(x), twoUlps * std::cos(x)) << x;
        ASSERT_NEAR(geodetic_detail::atanOfSmall(x), std::atan(x), twoUlps * std::abs(std::atan(x)))
            << x;
    }
}

// The conformal term sinh(e atanh(e sin phi)) of GRS 80, Clarke 1866 and an
// eccentricity of 0.1 at every latitude, within four ulps (two functions'
// roundings on either side): 4e-18 of a term below 0.01, which moves a
// conformal latitude by 1e-17 rad, 1e-10 m on the earth.
TEST(ProjectionTerms, ConformalTermAgreesAtEveryLatitude) {
    for (double e : {0.0818191910428158, 0.0822718542230039, 0.1}) {
        for (int i = -90000; i <= 90000; ++i) {
            const double s = std::sin(i / 1000.0 * M_PI / 180.0);
            const double expected = std::sinh(e * std::atanh(e * s));
            ASSERT_NEAR(geodetic_detail::sinhOfSmall(e * geodetic_detail::atanhSeries(e * s)),
                        expected, 2.0 * twoUlps * std::abs(expected))
                << e << " " << s;
        }
    }
}

} // namespace
