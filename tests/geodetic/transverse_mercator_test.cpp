// Transverse Mercator of the zone-constant engine against PROJ's exact
// transverse Mercator (tm_engine.txt, see make_fixtures.sh).

#include "fixture_table.hpp"

#include "../../geodetic/core/transverse_mercator.hpp"

#include "geodetic/projection_engine.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <random>

namespace {

using namespace geodetic_test;

struct TmCase {
    ellipsoid ell;
    zoneCnstnt zone;
    ProjectedReference ref;
};

// Columns: a rf k0 lat0 lon0(east) FE FN | reference.
TmCase tmCaseOf(const FixtureRow& row) {
    TmCase c{};
    initEllipsoid(&c.ell, row[0], 1.0 / row[1]);
    c.zone.projType = projTransverseMercator;
    c.zone.scaleFactor = row[2];
    c.zone.originLat = row[3] * degree;
    c.zone.centralMeridian = -row[4] * degree;
    c.zone.falseEasting = row[5];
    c.zone.falseNorthing = row[6];
    c.ref = projectedReference(row);
    return c;
}

double forwardScaleTolerance(const TmCase& c) {
    return tmForwardScaleTolerance(c.ref.lat_deg * degree,
                                   c.ref.lon_deg * degree + c.zone.centralMeridian);
}

TEST(TransverseMercator, ForwardMatchesProjOverTheZone) {
    for (const FixtureRow& row : readFixtureTable("tm_engine.txt")) {
        TmCase c = tmCaseOf(row);
        geodCoord p = westPositivePoint(c.ref);
        ASSERT_EQ(geod2Grid(&c.ell, &c.zone, &p), projectionOk);
        expectGridMatches(c.ref, p, forwardScaleTolerance(c));
    }
}

TEST(TransverseMercator, InverseMatchesProjOverTheZone) {
    for (const FixtureRow& row : readFixtureTable("tm_engine.txt")) {
        TmCase c = tmCaseOf(row);
        geodCoord p = gridPointOf(c.ref);
        ASSERT_EQ(grid2Geod(&c.ell, &c.zone, &p), projectionOk);
        expectGeodeticMatches(c.ref, p.lat, -p.lon, p.scale, p.conv);
    }
}

// The forward and inverse series are truncated apart, so a round trip is
// exact only near the central meridian: 1e-6 m within 1.5 degrees of
// longitude, and the 1e-10 rad (0.6 mm) the two series promise across the
// zone (measured: 2.7e-5 m at 3.5 degrees on the equator, 8e-6 m at 80 degrees).
TEST(TransverseMercator, ForwardThenInverseReturnsThePoint) {
    for (const FixtureRow& row : readFixtureTable("tm_engine.txt")) {
        TmCase c = tmCaseOf(row);
        geodCoord p = westPositivePoint(c.ref);
        ASSERT_EQ(geod2TM(&c.ell, &c.zone, &p), projectionOk);
        ASSERT_EQ(TM2Geod(&c.ell, &c.zone, &p), projectionOk);
        const bool nearCentralMeridian =
            std::abs(c.ref.lon_deg * degree + c.zone.centralMeridian) <= 1.5 * degree;
        expectRoundTrip(c.ref, p.lat, -p.lon, c.ell.semiMajor,
                        nearCentralMeridian ? roundTrip_m : 1e-10 * c.ell.semiMajor);
    }
}

zoneCnstnt tmZone(double k0, double centralMeridian, double falseEasting) {
    zoneCnstnt zone{};
    zone.projType = projTransverseMercator;
    zone.scaleFactor = k0;
    zone.centralMeridian = centralMeridian;
    zone.falseEasting = falseEasting;
    return zone;
}

TEST(TransverseMercator, EquatorOnTheCentralMeridianIsTheFalseOrigin) {
    const ellipsoid ell = grs80();
    const zoneCnstnt zone = tmZone(0.9996, 1.5, 500000.0);
    geodCoord p{};
    p.lon = 1.5;
    ASSERT_EQ(geod2TM(&ell, &zone, &p), projectionOk);
    EXPECT_DOUBLE_EQ(p.northing, 0.0);
    EXPECT_DOUBLE_EQ(p.easting, 500000.0);
    EXPECT_DOUBLE_EQ(p.scale, 0.9996);
    EXPECT_DOUBLE_EQ(p.conv, 0.0);
}

TEST(TransverseMercator, LongitudesCountPositiveWest) {
    // lon 1.51 > central meridian 1.5: the point lies west, so its easting is
    // below FE and, in the north, grid north lies east of true north.
    const ellipsoid ell = grs80();
    const zoneCnstnt zone = tmZone(0.9999, 1.5, 200000.0);
    geodCoord p{};
    p.lat = 0.6;
    p.lon = 1.51;
    ASSERT_EQ(geod2TM(&ell, &zone, &p), projectionOk);
    EXPECT_LT(p.easting, 200000.0);
    EXPECT_LT(p.conv, 0.0);
}

// Krueger's series to n^6 written plainly in long double with the library's
// functions (Karney 2011, eqs. 7-11, 35-36): the conformal latitude by tanh
// and atanh, zeta' from atan2 and asinh, the series by complex sines and
// cosines, the inverse's latitude by Newton's method to convergence.
struct LongDoubleKruger {
    using Real = long double;
    using Complex = std::complex<Real>;
    Real a, e, n, radius;
    std::array<Real, 7> alpha{}, beta{};

    explicit LongDoubleKruger(const ellipsoid& ell)
        : a(ell.semiMajor), e(std::sqrt(static_cast<Real>(ell.eccentricitySq))),
          n((static_cast<Real>(ell.semiMajor) - ell.semiMinor) /
            (static_cast<Real>(ell.semiMajor) + ell.semiMinor)) {
        const Real n2 = n * n, n3 = n2 * n, n4 = n3 * n, n5 = n4 * n, n6 = n5 * n;
        radius = a / (1 + n) * (1 + n2 / 4 + n4 / 64 + n6 / 256);
        alpha = {
            0,
            n / 2 - 2 * n2 / 3 + 5 * n3 / 16 + 41 * n4 / 180 - 127 * n5 / 288 + 7891 * n6 / 37800,
            13 * n2 / 48 - 3 * n3 / 5 + 557 * n4 / 1440 + 281 * n5 / 630 - 1983433 * n6 / 1935360,
            61 * n3 / 240 - 103 * n4 / 140 + 15061 * n5 / 26880 + 167603 * n6 / 181440,
            49561 * n4 / 161280 - 179 * n5 / 168 + 6601661 * n6 / 7257600,
            34729 * n5 / 80640 - 3418889 * n6 / 1995840,
            212378941 * n6 / 319334400};
        beta = {0,
                n / 2 - 2 * n2 / 3 + 37 * n3 / 96 - n4 / 360 - 81 * n5 / 512 + 96199 * n6 / 604800,
                n2 / 48 + n3 / 15 - 437 * n4 / 1440 + 46 * n5 / 105 - 1118711 * n6 / 3870720,
                17 * n3 / 480 - 37 * n4 / 840 - 209 * n5 / 4480 + 5569 * n6 / 90720,
                4397 * n4 / 161280 - 11 * n5 / 504 - 830251 * n6 / 7257600,
                4583 * n5 / 161280 - 108847 * n6 / 3991680,
                20648693 * n6 / 638668800};
    }

    Real conformalTan(Real tanLat) const {
        const Real sigma = std::sinh(e * std::atanh(e * tanLat / std::sqrt(1 + tanLat * tanLat)));
        return tanLat * std::sqrt(1 + sigma * sigma) - sigma * std::sqrt(1 + tanLat * tanLat);
    }

    // northing and easting over A, scale over k0, convergence.
    std::array<Real, 4> forward(Real lat, Real lon) const {
        const Real tanLat = std::tan(lat), tanConf = conformalTan(tanLat);
        const Real radial = std::sqrt(tanConf * tanConf + std::cos(lon) * std::cos(lon));
        const Complex zetaPrime(std::atan2(tanConf, std::cos(lon)),
                                std::asinh(std::sin(lon) / radial));
        Complex zeta = zetaPrime, slope = 1;
        for (int j = 1; j <= 6; ++j) {
            zeta += alpha[j] * std::sin(Real(2 * j) * zetaPrime);
            slope += Real(2 * j) * alpha[j] * std::cos(Real(2 * j) * zetaPrime);
        }
        const Real scale =
            radius / a * std::sqrt(1 + (1 - e * e) * tanLat * tanLat) * std::abs(slope) / radial;
        const Real conv =
            std::atan2(tanConf * std::sin(lon), std::sqrt(1 + tanConf * tanConf) * std::cos(lon)) -
            std::arg(slope);
        return {zeta.real(), zeta.imag(), scale, conv};
    }

    // latitude and longitude from northing and easting over A.
    std::array<Real, 2> inverse(Real xi, Real eta) const {
        Complex zetaPrime(xi, eta);
        for (int j = 1; j <= 6; ++j)
            zetaPrime -= beta[j] * std::sin(Real(2 * j) * Complex(xi, eta));
        const Real sinhEta = std::sinh(zetaPrime.imag()), cosXi = std::cos(zetaPrime.real());
        const Real tanConf =
            std::sin(zetaPrime.real()) / std::sqrt(sinhEta * sinhEta + cosXi * cosXi);
        Real tanLat = tanConf;
        for (int step = 0; step < 20; ++step) {
            const Real c = conformalTan(tanLat);
            tanLat += (tanConf - c) * (1 + (1 - e * e) * tanLat * tanLat) /
                      ((1 - e * e) * std::sqrt((1 + c * c) * (1 + tanLat * tanLat)));
        }
        return {std::atan(tanLat), std::atan2(sinhEta, cosXi)};
    }
};

struct SeriesAgreement {
    double grid = 0.0, scale = 0.0, conv = 0.0, angle = 0.0;
};

// The worst differences from the long-double series over `count` random
// points of the given latitudes (either hemisphere) and longitudes from the
// central meridian (either side), on a zone with the origin on the equator,
// k0 = 1 and no false values, so that northing and easting are A xi and
// A eta. With `inverse`, also the inverse of the reference's grid against the
// reference's point.
SeriesAgreement agreementWithTheSeries(const ellipsoid& ell, double latFrom, double latTo,
                                       double lonFrom, double lonTo, bool inverse) {
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> lat(latFrom, latTo), lon(lonFrom, lonTo);
    std::bernoulli_distribution south(0.5), west(0.5);
    const LongDoubleKruger reference(ell);
    const zoneCnstnt zone = tmZone(1.0, 0.0, 0.0);
    const double radius = static_cast<double>(reference.radius);
    SeriesAgreement worst;
    for (int i = 0; i < 100000; ++i) {
        geodCoord p{};
        p.lat = (south(rng) ? -1.0 : 1.0) * lat(rng) * degree;
        const double east = (west(rng) ? -1.0 : 1.0) * lon(rng) * degree;
        p.lon = -east;
        const auto expected = reference.forward(p.lat, east);
        EXPECT_EQ(geod2TM(&ell, &zone, &p), projectionOk);
        worst.grid =
            std::max({worst.grid, std::abs(static_cast<double>(p.northing - radius * expected[0])),
                      std::abs(static_cast<double>(p.easting - radius * expected[1]))});
        worst.scale = std::max(worst.scale, std::abs(static_cast<double>(p.scale - expected[2])));
        worst.conv = std::max(worst.conv, std::abs(static_cast<double>(p.conv - expected[3])));
        if (!inverse)
            continue;
        geodCoord g{};
        g.northing = static_cast<double>(reference.radius * expected[0]);
        g.easting = static_cast<double>(reference.radius * expected[1]);
        const auto point =
            reference.inverse(g.northing / reference.radius, g.easting / reference.radius);
        EXPECT_EQ(TM2Geod(&ell, &zone, &g), projectionOk);
        worst.angle = std::max({worst.angle, std::abs(static_cast<double>(g.lat - point[0])),
                                std::abs(static_cast<double>(-g.lon - point[1]))});
    }
    return worst;
}

ellipsoid clarke1866() {
    ellipsoid ell{};
    initEllipsoid(&ell, 6378206.4, (6378206.4 - 6356583.8) / 6378206.4);
    return ell;
}

// 200,000 points on two ellipsoids up to 85 degrees of latitude and 30 of
// longitude from the central meridian (3,300 km at the equator): the grid
// within three ulps of 1e7 m (5.6e-9 m; measured 3.2e-9) of the long-double
// series, scale and convergence within 1e-15 (measured 6.7e-16 and 2.2e-16),
// and the inverse of the reference's grid within 2e-15 rad (measured
// 1.4e-15, where the longitude near the pole is ill-conditioned) of the
// reference's point.
TEST(TransverseMercator, AgreesWithTheSeriesInLongDouble) {
    for (const ellipsoid& ell : {grs80(), clarke1866()}) {
        SCOPED_TRACE(ell.semiMajor);
        const SeriesAgreement worst = agreementWithTheSeries(ell, 0.0, 85.0, 0.0, 30.0, true);
        EXPECT_LE(worst.grid, 3.0 * 0x1p-29);
        EXPECT_LT(worst.scale, 1e-15);
        EXPECT_LT(worst.conv, 1e-15);
        EXPECT_LT(worst.angle, 2e-15);
    }
}

// Beyond 90 degrees from the central meridian the sphere's angles and the
// convergence take the library's atan2: from 45 to 85 degrees of latitude,
// where the series stays well conditioned that far out, the grid within
// 1e-8 m (measured 5.3e-9, on grid values up to 1.8e7 m), scale and
// convergence within 1e-15 (measured 7.5e-16 and 4.8e-16).
TEST(TransverseMercator, FarFromTheCentralMeridianAgreesWithTheSeries) {
    for (const ellipsoid& ell : {grs80(), clarke1866()}) {
        SCOPED_TRACE(ell.semiMajor);
        const SeriesAgreement worst = agreementWithTheSeries(ell, 45.0, 85.0, 30.0, 179.0, false);
        EXPECT_LE(worst.grid, 1e-8);
        EXPECT_LT(worst.scale, 1e-15);
        EXPECT_LT(worst.conv, 1e-15);
    }
}

// An eccentricity above 0.1 takes the conformal latitude from the library's
// sinh and atanh rather than the series made per ellipsoid: the same bounds
// as on the earth's ellipsoids (measured 3.2e-9 m, 7.3e-16, 2.2e-16).
TEST(TransverseMercator, AFlatterEllipsoidAgreesWithTheSeries) {
    ellipsoid flat{};
    initEllipsoid(&flat, 6378137.0, 0.02);
    ASSERT_GT(flat.eccentricity, 0.1);
    const SeriesAgreement worst = agreementWithTheSeries(flat, 0.0, 85.0, 0.0, 30.0, false);
    EXPECT_LE(worst.grid, 3.0 * 0x1p-29);
    EXPECT_LT(worst.scale, 1e-15);
    EXPECT_LT(worst.conv, 1e-15);
}

// The grid point alone, from the sines and cosines of the latitude and the
// longitude (rounded from long double), for chains that have those: within
// the same three ulps of 1e7 m of the long-double series near the central
// meridian and 1e-8 m beyond 90 degrees from it, on the earth's ellipsoids
// and on one whose conformal latitude takes the library's functions.
TEST(TransverseMercator, TheGridFromSinesAndCosinesAgreesWithTheSeries) {
    ellipsoid flat{};
    initEllipsoid(&flat, 6378137.0, 0.02);
    struct Range {
        double latFrom, latTo, lonFrom, lonTo, tolerance;
    };
    const Range ranges[] = {{0.0, 85.0, 0.0, 30.0, 3.0 * 0x1p-29}, {45.0, 85.0, 30.0, 179.0, 1e-8}};
    for (const ellipsoid& ell : {grs80(), clarke1866(), flat})
        for (const Range& range : ranges) {
            SCOPED_TRACE(testing::Message()
                         << ell.semiMajor << " " << ell.eccentricity << " " << range.lonTo);
            std::mt19937 rng(17);
            std::uniform_real_distribution<double> lat(range.latFrom, range.latTo),
                lon(range.lonFrom, range.lonTo);
            std::bernoulli_distribution south(0.5), west(0.5);
            const LongDoubleKruger reference(ell);
            const geodetic_detail::TransverseMercatorZone zone{&ell, 1.0, 0.0, 0.0, 0.0, 0.0};
            double worst = 0.0;
            for (int i = 0; i < 100000; ++i) {
                const long double phi = (south(rng) ? -1.0 : 1.0) * lat(rng) * degree;
                const long double lambda = (west(rng) ? -1.0 : 1.0) * lon(rng) * degree;
                geodCoord p{};
                ASSERT_EQ(geodetic_detail::transverseMercatorGrid(
                              zone, static_cast<double>(std::sin(phi)),
                              static_cast<double>(std::cos(phi)),
                              static_cast<double>(std::sin(lambda)),
                              static_cast<double>(std::cos(lambda)), &p),
                          projectionOk);
                const auto expected = reference.forward(phi, lambda);
                worst = std::max(
                    {worst,
                     std::abs(static_cast<double>(p.northing - reference.radius * expected[0])),
                     std::abs(static_cast<double>(p.easting - reference.radius * expected[1]))});
            }
            EXPECT_LE(worst, range.tolerance);
        }
}

TEST(TransverseMercator, RefusesAnEllipsoidWithoutAxes) {
    zoneCnstnt zone{};
    zone.scaleFactor = 1.0;
    for (const ellipsoid& ell : {ellipsoid{6378137.0, 0.0, 0, 0, 0, 0}, ellipsoid{}}) {
        geodCoord p{};
        p.lat = 0.5;
        p.northing = 123.0;
        EXPECT_EQ(geod2TM(&ell, &zone, &p), projectionRefused);
        EXPECT_EQ(p.northing, 123.0) << "nothing written";
    }
    geodCoord p{};
    p.northing = 1000.0;
    p.lat = 0.25;
    zone.scaleFactor = 0.0;
    const ellipsoid ell = grs80();
    EXPECT_EQ(TM2Geod(&ell, &zone, &p), projectionRefused);
    EXPECT_EQ(p.lat, 0.25) << "nothing written";
}

} // namespace
