#pragma once
// Transverse Mercator by Krueger's series in the third flattening n, to
// order n^6 (L. Krueger, "Konforme Abbildung des Erdellipsoids in der
// Ebene", 1912; the coefficients and the exact conformal latitude as in
// C. F. F. Karney, "Transverse Mercator with an accuracy of a few
// nanometers", J. Geodesy 85, 2011, eqs. 7-11, 35-36). Within 4000 km of
// the central meridian the mapping is exact to a few nanometres, its scale
// and convergence to about 1e-15, and the inverse's latitude to 1e-15 rad.

#include "geodetic/geodesy_records.hpp"
#include "paired_functions.hpp"

#include <array>

namespace geodetic_detail {

// The projection of one ellipsoid onto the unit grid: the grid northing and
// easting over k0 A, with A the rectifying radius.
class KrugerSeries {
public:
    KrugerSeries() = default;
    explicit KrugerSeries(const ellipsoid& ell);

    struct Grid {
        double xi;    // northing from the equator / (k0 A)
        double eta;   // easting from the central meridian / (k0 A)
        double scale; // point scale factor over k0
        double conv;  // convergence, radians, positive east of the meridian in the north
    };

    // lat and the longitude from the central meridian, positive east.
    Grid forward(double lat, double lonFromCm) const;
    // The grid point alone (scale and convergence left at 0), from the sines
    // and cosines of lat and of the longitude from the central meridian, for
    // chains that have them without the angles.
    Grid forwardGrid(double sinLat, double cosLat, double sinLon, double cosLon) const;
    // lat and the longitude from the central meridian, positive east.
    void inverse(double xi, double eta, double* lat, double* lonFromCm) const;
    // xi of a point on the central meridian: its meridian arc over A.
    double meridianXi(double lat) const;
    // The rectifying radius A.
    double rectifyingRadius() const { return radius_; }

private:
    double semiMajor_ = 0.0, e_ = 0.0, eSq_ = 0.0, n_ = 0.0, radius_ = 0.0;
    double radiusOverSemiMajor_ = 0.0;
    // The series as polynomials in c = cos 2 zeta', so that they take no
    // chain of dependent steps: sum alpha_j sin 2j zeta' = sin 2 zeta' A(c)
    // and sum 2j alpha_j cos 2j zeta' = B(c), coefficient k of A in lane 0
    // and of B in lane 1; the inverse's sum beta_j sin 2j zeta likewise.
    std::array<Pair, 7> forwardSums_{};
    std::array<double, 7> inverseSine_{};
    // With e <= maxAtanhSeriesArgument, tan chi = tan(lat) N(sin^2 lat) for
    // the conformal latitude chi: N(s^2) = cosh(sigma) - sinh(sigma) / s,
    // sigma = e atanh(e s), cut after s^14.
    bool conformalBySeries_ = false;
    std::array<double, 8> conformalSeries_{};
    // The same numerator tan chi cos(lat) straight from the latitude's
    // quarter turns lat = k pi/2 + r: r G0(r^2) for even k (sin lat = sin r),
    // G1(r^2) for odd k (cos r), up to the sign that sin lat takes; G0's
    // coefficients in lane 0, G1's in lane 1: the Taylor series in r cut
    // after r^25 and r^24, which leaves less than 3e-18 at |r| <= pi/4 for
    // e <= 0.1 (the series converge no faster, for the singularity of
    // atanh(e sin lat) at sin lat = 1/e).
    std::array<Pair, 13> conformalByQuarter_{};

    // What a point needs of its latitude and longitude.
    struct PointTerms {
        double sinLat, cosLat, sinLon, cosLon;
        double nu; // tan chi cos(lat)
    };
    PointTerms pointTerms(double lat, double lonFromCm) const;
    template <bool withScale> Grid forwardOf(const PointTerms& terms) const;

    // tan chi cos(lat) = sin(lat) cosh(sigma) - sinh(sigma).
    double conformalNumerator(double sinLat) const;
    double conformalTan(double tanLat) const;
    double latitudeTanOf(double conformalTan) const;
};

} // namespace geodetic_detail
