// Transverse Mercator by Krueger's series to order n^6.

#include "kruger_series.hpp"

#include "projection_terms.hpp"

#include <cmath>
#include <complex>

namespace geodetic_detail {
namespace {

constexpr int order = 6;
constexpr int maxNewtonSteps = 10;

// Coefficient j of a series is n^j (c[0] + c[1] n + ...), the polynomial
// cut at n^6 overall.
using Polynomials = std::array<std::array<double, order>, order + 1>;

constexpr Polynomials forwardPolynomials{{
    {},
    {1.0 / 2, -2.0 / 3, 5.0 / 16, 41.0 / 180, -127.0 / 288, 7891.0 / 37800},
    {13.0 / 48, -3.0 / 5, 557.0 / 1440, 281.0 / 630, -1983433.0 / 1935360},
    {61.0 / 240, -103.0 / 140, 15061.0 / 26880, 167603.0 / 181440},
    {49561.0 / 161280, -179.0 / 168, 6601661.0 / 7257600},
    {34729.0 / 80640, -3418889.0 / 1995840},
    {212378941.0 / 319334400},
}};

constexpr Polynomials inversePolynomials{{
    {},
    {1.0 / 2, -2.0 / 3, 37.0 / 96, -1.0 / 360, -81.0 / 512, 96199.0 / 604800},
    {1.0 / 48, 1.0 / 15, -437.0 / 1440, 46.0 / 105, -1118711.0 / 3870720},
    {17.0 / 480, -37.0 / 840, -209.0 / 4480, 5569.0 / 90720},
    {4397.0 / 161280, -11.0 / 504, -830251.0 / 7257600},
    {4583.0 / 161280, -108847.0 / 3991680},
    {20648693.0 / 638668800},
}};

std::array<double, order + 1> coefficientsOf(const Polynomials& polynomials, double n) {
    std::array<double, order + 1> c{};
    double power = 1.0;
    for (int j = 1; j <= order; ++j) {
        power *= n;
        double sum = 0.0;
        for (int k = order - j; k >= 0; --k)
            sum = sum * n + polynomials[j][k];
        c[j] = power * sum;
    }
    return c;
}

} // namespace

KrugerSeries::KrugerSeries(const ellipsoid& ell)
    : semiMajor_(ell.semiMajor), e_(ell.eccentricity), eSq_(ell.eccentricitySq),
      n_((ell.semiMajor - ell.semiMinor) / (ell.semiMajor + ell.semiMinor)), radius_(0.0),
      alpha_(coefficientsOf(forwardPolynomials, n_)) {
    const double n2 = n_ * n_;
    radius_ = ell.semiMajor / (1.0 + n_) * (1.0 + n2 * (1.0 / 4 + n2 * (1.0 / 64 + n2 / 256)));
}

// tan of the conformal latitude from tan of the latitude.
double KrugerSeries::conformalTan(double tanLat) const {
    const double root = std::sqrt(1.0 + tanLat * tanLat);
    const double eSinLat = e_ * tanLat / root;
    const double sigma = e_ <= maxAtanhSeriesArgument ? sinhOfSmall(e_ * atanhSeries(eSinLat))
                                                      : std::sinh(e_ * std::atanh(eSinLat));
    return tanLat * std::sqrt(1.0 + sigma * sigma) - sigma * root;
}

// The inverse of conformalTan by Newton's method.
double KrugerSeries::latitudeTanOf(double conformal) const {
    double tanLat = conformal;
    for (int step = 0; step < maxNewtonSteps; ++step) {
        const double c = conformalTan(tanLat);
        const double slope = (1.0 - eSq_) * std::sqrt((1.0 + c * c) * (1.0 + tanLat * tanLat)) /
                             (1.0 + (1.0 - eSq_) * tanLat * tanLat);
        const double change = (conformal - c) / slope;
        tanLat += change;
        if (!(std::abs(change) > 1e-15 * std::max(1.0, std::abs(tanLat))))
            break;
    }
    return tanLat;
}

namespace {

using Complex = std::complex<double>;

// Over a complex angle z: the sums of c_j sin(2 j z) and of 2 j c_j cos(2 j z),
// j = 1..6, from the powers of exp(2 i z) and exp(-2 i z).
struct SeriesSums {
    Complex sine, cosine;
};

// u = exp(2 i z) = exp(-2 Im z) (cos 2 Re z + i sin 2 Re z), given by its parts.
struct DoubleAngle {
    double cos2Re, sin2Re, expMinus2Im;

    static DoubleAngle of(Complex z) {
        return {std::cos(2.0 * z.real()), std::sin(2.0 * z.real()), std::exp(-2.0 * z.imag())};
    }
};

// With d = 1/u; plain real arithmetic, since the library's complex products
// guard against infinities at a cost this loop does not need.
SeriesSums seriesSums(const std::array<double, 7>& c, const DoubleAngle& a) {
    const double g = a.expMinus2Im;
    const double uRe = g * a.cos2Re, uIm = g * a.sin2Re;
    const double dRe = a.cos2Re / g, dIm = -a.sin2Re / g;
    double upRe = 1.0, upIm = 0.0, downRe = 1.0, downIm = 0.0;
    double sineRe = 0.0, sineIm = 0.0, cosineRe = 0.0, cosineIm = 0.0;
    for (int j = 1; j <= order; ++j) {
        const double nextUpRe = upRe * uRe - upIm * uIm, nextUpIm = upRe * uIm + upIm * uRe;
        const double nextDownRe = downRe * dRe - downIm * dIm;
        const double nextDownIm = downRe * dIm + downIm * dRe;
        upRe = nextUpRe;
        upIm = nextUpIm;
        downRe = nextDownRe;
        downIm = nextDownIm;
        sineRe += c[j] * (upRe - downRe);
        sineIm += c[j] * (upIm - downIm);
        cosineRe += j * c[j] * (upRe + downRe);
        cosineIm += j * c[j] * (upIm + downIm);
    }
    // sin(2 j z) = (u^j - d^j) / 2i and 2 j cos(2 j z) = j (u^j + d^j).
    return {Complex(sineIm / 2.0, -sineRe / 2.0), Complex(cosineRe, cosineIm)};
}

// The convergence: the argument of (x + i y)(p + i q), that is atan2(y, x) +
// atan2(q, p) in one arctangent.
double convergenceOf(double y, double x, double p, double q) {
    return std::atan2(y * p + x * q, x * p - y * q);
}

} // namespace

KrugerSeries::Grid KrugerSeries::forward(double lat, double lonFromCm) const {
    const double tanLat = std::tan(lat);
    const double tanConf = conformalTan(tanLat);
    const double cosLon = std::cos(lonFromCm), sinLon = std::sin(lonFromCm);
    const double radialSq = tanConf * tanConf + cosLon * cosLon, radial = std::sqrt(radialSq);
    const double sinhEta = sinLon / radial;
    // cos and sin of 2 xi' from tan xi' = tanConf / cos lon; exp(eta') from
    // sinh eta'.
    const double expEta = sinhEta + std::sqrt(1.0 + sinhEta * sinhEta);
    const Complex zetaPrime(std::atan2(tanConf, cosLon), std::log(expEta));
    const SeriesSums sums =
        seriesSums(alpha_, {(cosLon * cosLon - tanConf * tanConf) / radialSq,
                            2.0 * tanConf * cosLon / radialSq, 1.0 / (expEta * expEta)});
    // d zeta / d zeta' = p - i q.
    const double p = 1.0 + sums.cosine.real(), q = -sums.cosine.imag();
    // k = (A/a) w sqrt(p^2 + q^2) / (cos(lat) sqrt(tanConf^2 + cos^2 lon)), with
    // w = sqrt(1 - e^2 sin^2 lat).
    // With cos^2 = 1 / (1 + tan^2): w / cos = sqrt(1 + (1 - e^2) tan^2).
    const double wOverCos = std::sqrt(1.0 + (1.0 - eSq_) * tanLat * tanLat);
    return {zetaPrime.real() + sums.sine.real(), zetaPrime.imag() + sums.sine.imag(),
            radius_ / semiMajor_ * wOverCos * std::sqrt(p * p + q * q) / radial,
            convergenceOf(tanConf * sinLon, std::sqrt(1.0 + tanConf * tanConf) * cosLon, p, q)};
}

double KrugerSeries::meridianXi(double lat) const {
    if (lat == 0.0)
        return 0.0;
    const double conformal = std::atan(conformalTan(std::tan(lat)));
    return conformal + seriesSums(alpha_, DoubleAngle::of(Complex(conformal, 0.0))).sine.real();
}

void KrugerSeries::inverse(double xi, double eta, double* lat, double* lonFromCm) const {
    const std::array<double, order + 1> beta = coefficientsOf(inversePolynomials, n_);
    const Complex zeta(xi, eta);
    const Complex zetaPrime = zeta - seriesSums(beta, DoubleAngle::of(zeta)).sine;
    const double xiPrime = zetaPrime.real(), sinhEta = std::sinh(zetaPrime.imag());
    const double cosXi = std::cos(xiPrime);
    const double tanConf = std::sin(xiPrime) / std::sqrt(sinhEta * sinhEta + cosXi * cosXi);
    *lat = std::atan(latitudeTanOf(tanConf));
    *lonFromCm = std::atan2(sinhEta, cosXi);
}

} // namespace geodetic_detail
