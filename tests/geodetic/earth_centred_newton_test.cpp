// Newton's method for latitude and height from earth-centred coordinates
// against the closed form geodetic -> earth-centred evaluated in long double,
// and against the step-by-step iteration of XYZ_EC2latLongElev, over the
// whole globe and heights from the sea floor to a thousand kilometres up.

#include "../../geodetic/core/earth_centred_newton.hpp"

#include "geodetic/earth_centred.hpp"
#include "geodetic/projection_engine.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace {

constexpr double degree = std::numbers::pi / 180.0;

// X, Y and Z rounded to double carry 5e-10 m; Newton's result keeps within
// a few times that of the true latitude and height.
constexpr double latitudeTolerance_rad = 1e-15;
constexpr double heightTolerance_m = 1e-8;

struct Position {
    double lat, lon, h;
};

struct Ecef {
    double x, y, z;
};

Ecef earthCentredInLongDouble(const ellipsoid& ell, const Position& p) {
    const long double a = ell.semiMajor;
    const long double eSq = static_cast<long double>(ell.eccentricity) * ell.eccentricity;
    const long double s = std::sin(static_cast<long double>(p.lat));
    const long double c = std::cos(static_cast<long double>(p.lat));
    const long double n = a / std::sqrt(1.0L - eSq * s * s);
    const long double lon = p.lon;
    return {static_cast<double>((n + p.h) * c * std::cos(lon)),
            static_cast<double>((n + p.h) * c * std::sin(lon)),
            static_cast<double>((n * (1.0L - eSq) + p.h) * s)};
}

ellipsoid ellipsoidOf(double a, double invFlattening) {
    ellipsoid ell{};
    initEllipsoid(&ell, a, 1.0 / invFlattening);
    return ell;
}

TEST(EarthCentredNewton, RecoversLatitudeLongitudeAndHeight) {
    const ellipsoid ellipsoids[] = {ellipsoidOf(6378137.0, 298.257223563),
                                    ellipsoidOf(6378388.0, 297.0)};
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> lat(-90.0, 90.0), lon(-180.0, 180.0);
    std::uniform_real_distribution<double> height(-11000.0, 1000000.0);
    for (const ellipsoid& ell : ellipsoids)
        for (int i = 0; i < 200000; ++i) {
            const Position p{lat(rng) * degree, lon(rng) * degree, height(rng)};
            const Ecef e = earthCentredInLongDouble(ell, p);
            const geodetic_detail::GeodeticPosition g =
                geodetic_detail::geodeticByNewton(ell, e.x, e.y, e.z);
            ASSERT_NEAR(g.lat, p.lat, latitudeTolerance_rad) << p.lat / degree << " " << p.h;
            ASSERT_NEAR(g.lon, p.lon, latitudeTolerance_rad / std::cos(p.lat)) << p.lat / degree;
            ASSERT_NEAR(g.h, p.h, heightTolerance_m) << p.lat / degree << " " << p.h;
        }
}

TEST(EarthCentredNewton, AgreesWithTheStepByStepIteration) {
    const ellipsoid ell = ellipsoidOf(6378388.0, 297.0);
    std::mt19937 rng(8);
    std::uniform_real_distribution<double> lat(-89.9, 89.9), lon(-180.0, 180.0);
    std::uniform_real_distribution<double> height(-500.0, 9000.0);
    for (int i = 0; i < 200000; ++i) {
        geodCoord p{};
        p.lat = lat(rng) * degree;
        p.lon = lon(rng) * degree;
        p.elev = height(rng);
        latLongElev2XYZ_EC(ell, &p);
        const geodetic_detail::GeodeticPosition g =
            geodetic_detail::geodeticByNewton(ell, p.easting, p.northing, p.elev);
        XYZ_EC2latLongElev(ell, &p);
        ASSERT_NEAR(g.lat, p.lat, latitudeTolerance_rad);
        ASSERT_EQ(g.lon, p.lon);
        ASSERT_NEAR(g.h, p.elev, heightTolerance_m);
    }
}

// The terms before the arctangents: the latitude's sine and cosine within
// an ulp or two of the true angle's, p the distance from the axis, the
// height as geodeticByNewton's.
TEST(EarthCentredNewton, TermsGiveTheLatitudesSineAndCosine) {
    const ellipsoid ell = ellipsoidOf(6378388.0, 297.0);
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> lat(-90.0, 90.0), lon(-180.0, 180.0);
    std::uniform_real_distribution<double> height(-11000.0, 1000000.0);
    for (int i = 0; i < 200000; ++i) {
        const Position p{lat(rng) * degree, lon(rng) * degree, height(rng)};
        const Ecef e = earthCentredInLongDouble(ell, p);
        const geodetic_detail::GeodeticTerms t =
            geodetic_detail::geodeticTermsByNewton(ell, e.x, e.y, e.z);
        const long double phi = p.lat;
        ASSERT_NEAR(t.sinLat, static_cast<double>(std::sin(phi)), latitudeTolerance_rad);
        ASSERT_NEAR(t.cosLat, static_cast<double>(std::cos(phi)), latitudeTolerance_rad);
        ASSERT_NEAR(t.tanLat * t.cosLat, t.sinLat, 4e-16 * std::abs(t.sinLat));
        ASSERT_EQ(t.p, std::sqrt(e.x * e.x + e.y * e.y));
        ASSERT_EQ(t.h, geodetic_detail::geodeticByNewton(ell, e.x, e.y, e.z).h);
    }
    for (const double z : {6356852.3142, -6356752.3142}) {
        const geodetic_detail::GeodeticTerms t =
            geodetic_detail::geodeticTermsByNewton(ell, 0.0, 0.0, z);
        EXPECT_EQ(t.sinLat, std::copysign(1.0, z));
        EXPECT_EQ(t.cosLat, 0.0);
        EXPECT_EQ(t.p, 0.0);
        EXPECT_EQ(t.h, std::abs(z) - ell.semiMinor);
    }
}

TEST(EarthCentredNewton, PointsNearAndOnThePolarAxis) {
    const ellipsoid ell = ellipsoidOf(6378137.0, 298.257223563);
    for (const double metresFromAxis : {1e-3, 1.0, 1000.0}) {
        const double lat = 90.0 * degree - metresFromAxis / ell.semiMinor;
        const Ecef e = earthCentredInLongDouble(ell, {lat, 0.5, 100.0});
        const geodetic_detail::GeodeticPosition g =
            geodetic_detail::geodeticByNewton(ell, e.x, e.y, e.z);
        EXPECT_NEAR(g.lat, lat, latitudeTolerance_rad) << metresFromAxis;
        EXPECT_NEAR(g.h, 100.0, heightTolerance_m) << metresFromAxis;
    }
    for (const double z : {6356852.3142, -6356752.3142}) {
        const geodetic_detail::GeodeticPosition g =
            geodetic_detail::geodeticByNewton(ell, 0.0, 0.0, z);
        EXPECT_EQ(g.lat, std::copysign(90.0 * degree, z));
        EXPECT_EQ(g.lon, 0.0);
        EXPECT_NEAR(g.h, std::abs(z) - ell.semiMinor, 1e-9);
    }
}

} // namespace
