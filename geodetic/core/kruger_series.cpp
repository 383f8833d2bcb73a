// Transverse Mercator by Krueger's series to order n^6.

#include "kruger_series.hpp"

#include <cmath>

namespace geodetic_detail {
namespace {

constexpr int order = 6;
constexpr int maxNewtonSteps = 10;

} // namespace

KrugerSeries::KrugerSeries(const ellipsoid& ell)
    : semiMajor_(ell.semiMajor), e_(ell.eccentricity), eSq_(ell.eccentricitySq),
      n_((ell.semiMajor - ell.semiMinor) / (ell.semiMajor + ell.semiMinor)), radius_(0.0) {
    const double n = n_, n2 = n * n, n3 = n2 * n, n4 = n3 * n, n5 = n4 * n, n6 = n5 * n;
    radius_ = ell.semiMajor / (1.0 + n) * (1.0 + n2 / 4.0 + n4 / 64.0 + n6 / 256.0);
    alpha_ = {0.0,
              n / 2 - 2 * n2 / 3 + 5 * n3 / 16 + 41 * n4 / 180 - 127 * n5 / 288 + 7891 * n6 / 37800,
              13 * n2 / 48 - 3 * n3 / 5 + 557 * n4 / 1440 + 281 * n5 / 630 - 1983433 * n6 / 1935360,
              61 * n3 / 240 - 103 * n4 / 140 + 15061 * n5 / 26880 + 167603 * n6 / 181440,
              49561 * n4 / 161280 - 179 * n5 / 168 + 6601661 * n6 / 7257600,
              34729 * n5 / 80640 - 3418889 * n6 / 1995840,
              212378941 * n6 / 319334400};
    beta_ = {0.0,
             n / 2 - 2 * n2 / 3 + 37 * n3 / 96 - n4 / 360 - 81 * n5 / 512 + 96199 * n6 / 604800,
             n2 / 48 + n3 / 15 - 437 * n4 / 1440 + 46 * n5 / 105 - 1118711 * n6 / 3870720,
             17 * n3 / 480 - 37 * n4 / 840 - 209 * n5 / 4480 + 5569 * n6 / 90720,
             4397 * n4 / 161280 - 11 * n5 / 504 - 830251 * n6 / 7257600,
             4583 * n5 / 161280 - 108847 * n6 / 3991680,
             20648693 * n6 / 638668800};
}

// tan of the conformal latitude from tan of the latitude.
double KrugerSeries::conformalTan(double tanLat) const {
    const double root = std::hypot(1.0, tanLat);
    const double sigma = std::sinh(e_ * std::atanh(e_ * tanLat / root));
    return tanLat * std::hypot(1.0, sigma) - sigma * root;
}

// The inverse of conformalTan by Newton's method.
double KrugerSeries::latitudeTanOf(double conformal) const {
    double tanLat = conformal;
    for (int step = 0; step < maxNewtonSteps; ++step) {
        const double c = conformalTan(tanLat);
        const double slope = (1.0 - eSq_) * std::hypot(1.0, c) * std::hypot(1.0, tanLat) /
                             (1.0 + (1.0 - eSq_) * tanLat * tanLat);
        const double change = (conformal - c) / slope;
        tanLat += change;
        if (!(std::abs(change) > 1e-15 * std::max(1.0, std::abs(tanLat))))
            break;
    }
    return tanLat;
}

KrugerSeries::Grid KrugerSeries::forward(double lat, double lonFromCm) const {
    const double tanConf = conformalTan(std::tan(lat));
    const double cosLon = std::cos(lonFromCm), sinLon = std::sin(lonFromCm);
    const double xiPrime = std::atan2(tanConf, cosLon);
    const double etaPrime = std::asinh(sinLon / std::hypot(tanConf, cosLon));
    Grid g{xiPrime, etaPrime, 0.0, 0.0};
    double p = 1.0, q = 0.0;
    for (int j = 1; j <= order; ++j) {
        const double s = std::sin(2 * j * xiPrime), c = std::cos(2 * j * xiPrime);
        const double sh = std::sinh(2 * j * etaPrime), ch = std::cosh(2 * j * etaPrime);
        g.xi += alpha_[j] * s * ch;
        g.eta += alpha_[j] * c * sh;
        p += 2 * j * alpha_[j] * c * ch;
        q += 2 * j * alpha_[j] * s * sh;
    }
    // k = (A/a) w sqrt(p^2 + q^2) / (cos(lat) sqrt(tanConf^2 + cos^2 lon)), with
    // w = sqrt(1 - e^2 sin^2 lat).
    const double sinLat = std::sin(lat);
    const double w = std::sqrt(1.0 - eSq_ * sinLat * sinLat);
    g.scale =
        radius_ / semiMajor_ * w * std::hypot(p, q) / (std::cos(lat) * std::hypot(tanConf, cosLon));
    g.conv = std::atan2(tanConf * sinLon, std::hypot(1.0, tanConf) * cosLon) + std::atan2(q, p);
    return g;
}

void KrugerSeries::inverse(double xi, double eta, double* lat, double* lonFromCm) const {
    double xiPrime = xi, etaPrime = eta;
    for (int j = 1; j <= order; ++j) {
        xiPrime -= beta_[j] * std::sin(2 * j * xi) * std::cosh(2 * j * eta);
        etaPrime -= beta_[j] * std::cos(2 * j * xi) * std::sinh(2 * j * eta);
    }
    const double sinhEta = std::sinh(etaPrime);
    const double tanConf = std::sin(xiPrime) / std::hypot(sinhEta, std::cos(xiPrime));
    *lat = std::atan(latitudeTanOf(tanConf));
    *lonFromCm = std::atan2(sinhEta, std::cos(xiPrime));
}

} // namespace geodetic_detail
