// Transverse Mercator by Krueger's series to order n^6.

#include "kruger_series.hpp"

#include "projection_terms.hpp"

#include <cmath>

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

// The odd series s P(s^2) of sinh(e atanh(e s)) and the even series Q(s^2)
// of its cosh, cut after s^15 and s^14 (for e <= maxAtanhSeriesArgument the
// first term left out stays below 1e-19 sin lat): the compositions of the
// series of sinh and cosh with e atanh(x) = e (x + x^3/3 + ...), at x = e s.
struct EccentricitySeries {
    std::array<double, 8> sinhTerms{};
    std::array<double, 8> coshTerms{};

    explicit EccentricitySeries(double e) {
        constexpr int degree = 15;
        using Series = std::array<double, degree + 1>;
        Series y{};
        for (int m = 1; m <= degree; m += 2)
            y[m] = e / m;
        Series power = y, sinhX{}, coshX{};
        coshX[0] = 1.0;
        double factorial = 1.0;
        for (int j = 1; j <= degree; ++j) {
            factorial *= j;
            Series& target = j % 2 == 1 ? sinhX : coshX;
            for (int m = 0; m <= degree; ++m)
                target[m] += power[m] / factorial;
            Series next{};
            for (int m = 0; m <= degree; ++m)
                for (int k = 0; m + k <= degree; ++k)
                    next[m + k] += power[m] * y[k];
            power = next;
        }
        double ePower = 1.0;
        for (int m = 0; m <= degree; ++m) {
            if (m % 2 == 0)
                coshTerms[m / 2] = coshX[m] * ePower;
            else
                sinhTerms[m / 2] = sinhX[m] * ePower;
            ePower *= e;
        }
    }
};

// c[0] + c[1] z + ... by Estrin's scheme: pairs first, so that the products
// of one level do not wait for each other.
template <std::size_t N> [[gnu::always_inline]] inline double polynomial(const std::array<double, N>& c, double z) {
    std::array<double, N> level = c;
    std::size_t count = N;
    double power = z;
    while (count > 1) {
        for (std::size_t i = 0; i < count / 2; ++i)
            level[i] = level[2 * i] + power * level[2 * i + 1];
        if (count % 2 == 1)
            level[count / 2] = level[count - 1];
        count = (count + 1) / 2;
        power *= power;
    }
    return level[0];
}

} // namespace

KrugerSeries::KrugerSeries(const ellipsoid& ell)
    : semiMajor_(ell.semiMajor), e_(ell.eccentricity), eSq_(ell.eccentricitySq),
      n_((ell.semiMajor - ell.semiMinor) / (ell.semiMajor + ell.semiMinor)), radius_(0.0),
      alpha_(coefficientsOf(forwardPolynomials, n_)),
      beta_(coefficientsOf(inversePolynomials, n_)) {
    const double n2 = n_ * n_;
    radius_ = ell.semiMajor / (1.0 + n_) * (1.0 + n2 * (1.0 / 4 + n2 * (1.0 / 64 + n2 / 256)));
    radiusOverSemiMajor_ = radius_ / semiMajor_;
    for (int j = 1; j <= order; ++j)
        twoJAlpha_[j] = 2.0 * j * alpha_[j];
    if (e_ <= maxAtanhSeriesArgument) {
        const EccentricitySeries terms(e_);
        sinhTerms_ = terms.sinhTerms;
        coshTerms_ = terms.coshTerms;
    }
}

[[gnu::always_inline]] inline KrugerSeries::EccentricityTerms
KrugerSeries::eccentricityTerms(double sinLat) const {
    if (e_ <= maxAtanhSeriesArgument) {
        const double z = sinLat * sinLat;
        return {sinLat * polynomial(sinhTerms_, z), polynomial(coshTerms_, z)};
    }
    const double sigma = std::sinh(e_ * std::atanh(e_ * sinLat));
    return {sigma, std::sqrt(1.0 + sigma * sigma)};
}

// tan of the conformal latitude from tan of the latitude.
double KrugerSeries::conformalTan(double tanLat) const {
    const double root = std::sqrt(1.0 + tanLat * tanLat);
    const EccentricityTerms terms = eccentricityTerms(tanLat / root);
    return tanLat * terms.cosh - terms.sinh * root;
}

// The inverse of conformalTan by Newton's method, from tan chi / (1 - e^2),
// nearer the root than tan chi by a factor of e^2 (one step fewer).
double KrugerSeries::latitudeTanOf(double conformal) const {
    double tanLat = conformal / (1.0 - eSq_);
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

// The double of a complex angle z = xi + i eta by the sine and cosine of 2 xi
// and the hyperbolic sine and cosine of 2 eta.
struct DoubleAngle {
    double cos2Xi, sin2Xi, cosh2Eta, sinh2Eta;

    // From sin and cos of 2 xi and exp(2 eta): one sincos, one exp.
    static DoubleAngle of(double xi, double eta) {
        const double grow = std::exp(2.0 * eta), shrink = 1.0 / grow;
        return {std::cos(2.0 * xi), std::sin(2.0 * xi), (grow + shrink) / 2.0,
                (grow - shrink) / 2.0};
    }
};

struct ComplexSum {
    double re, im;
};

// Clenshaw's recurrence over theta = 2 z with the complex factor 2 cos(theta):
// b_j = c_j + 2 cos(theta) b_(j+1) - b_(j+2), j = 6..1. Returns b_1 and b_2.
struct ClenshawEnds {
    ComplexSum first, second;
};

[[gnu::always_inline]] inline ClenshawEnds clenshaw(const std::array<double, 7>& c, const DoubleAngle& a) {
    // 2 cos(theta) = 2 (cos 2xi cosh 2eta - i sin 2xi sinh 2eta).
    const double fRe = 2.0 * a.cos2Xi * a.cosh2Eta, fIm = -2.0 * a.sin2Xi * a.sinh2Eta;
    double b1Re = 0.0, b1Im = 0.0, b2Re = 0.0, b2Im = 0.0;
    for (int j = order; j >= 1; --j) {
        const double re = c[j] + fRe * b1Re - fIm * b1Im - b2Re;
        const double im = fRe * b1Im + fIm * b1Re - b2Im;
        b2Re = b1Re;
        b2Im = b1Im;
        b1Re = re;
        b1Im = im;
    }
    return {{b1Re, b1Im}, {b2Re, b2Im}};
}

// Sum of c_j sin(2 j z): b_1 sin(theta).
[[gnu::always_inline]] inline ComplexSum sineSum(const std::array<double, 7>& c, const DoubleAngle& a) {
    const ComplexSum b = clenshaw(c, a).first;
    // sin(theta) = sin 2xi cosh 2eta + i cos 2xi sinh 2eta.
    const double sRe = a.sin2Xi * a.cosh2Eta, sIm = a.cos2Xi * a.sinh2Eta;
    return {b.re * sRe - b.im * sIm, b.re * sIm + b.im * sRe};
}

// Sum of d_j cos(2 j z): b_1 cos(theta) - b_2.
[[gnu::always_inline]] inline ComplexSum cosineSum(const std::array<double, 7>& d, const DoubleAngle& a) {
    const ClenshawEnds b = clenshaw(d, a);
    const double cRe = a.cos2Xi * a.cosh2Eta, cIm = -a.sin2Xi * a.sinh2Eta;
    return {b.first.re * cRe - b.first.im * cIm - b.second.re,
            b.first.re * cIm + b.first.im * cRe - b.second.im};
}

// atan2(y, x), by the one-argument arctangent where x > 0: the library's
// atan2 costs nearly twice as much, and the quotient's rounding moves the
// angle by less than an ulp.
double angleOf(double y, double x) {
    return x > 0.0 ? std::atan(y / x) : std::atan2(y, x);
}

// The convergence: the argument of (x + i y)(p + i q), that is atan2(y, x) +
// atan2(q, p) in one arctangent.
double convergenceOf(double y, double x, double p, double q) {
    return angleOf(y * p + x * q, x * p - y * q);
}

} // namespace

// Written over cos(lat): with tan chi' = nu / cos(lat), the conformal
// latitude's tangent never divides, and cosh eta' comes from the same
// radial term as sinh eta', so exp(-eta') = cosh - sinh needs no division.
KrugerSeries::Grid KrugerSeries::forward(double lat, double lonFromCm) const {
    const double sinLat = std::sin(lat), cosLat = std::cos(lat);
    const EccentricityTerms terms = eccentricityTerms(sinLat);
    const double nu = sinLat * terms.cosh - terms.sinh; // tan chi' cos(lat)
    const double cosLon = std::cos(lonFromCm), sinLon = std::sin(lonFromCm);
    const double mu = cosLat * cosLon;
    const double hyp = std::sqrt(nu * nu + cosLat * cosLat); // sec chi' cos(lat)
    const double invRadial = 1.0 / std::sqrt(nu * nu + mu * mu);
    const double sinhEta = sinLon * cosLat * invRadial, coshEta = hyp * invRadial;
    const double invRadialSq = invRadial * invRadial;
    const DoubleAngle doubled{(mu * mu - nu * nu) * invRadialSq, 2.0 * nu * mu * invRadialSq,
                              1.0 + 2.0 * sinhEta * sinhEta, 2.0 * sinhEta * coshEta};
    const ComplexSum sine = sineSum(alpha_, doubled);
    const ComplexSum cosine = cosineSum(twoJAlpha_, doubled);
    // d zeta / d zeta' = p - i q.
    const double p = 1.0 + cosine.re, q = -cosine.im;
    // k = (A/a) w sqrt(p^2 + q^2) / (cos(lat) sqrt(tan^2 chi' + cos^2 lon)), with
    // w = sqrt(1 - e^2 sin^2 lat); cos(lat) cancels.
    const double wSq = 1.0 - eSq_ * sinLat * sinLat;
    return {angleOf(nu, mu) + sine.re, std::log(sinhEta + coshEta) + sine.im,
            radiusOverSemiMajor_ * std::sqrt(wSq * (p * p + q * q)) * invRadial,
            convergenceOf(nu * sinLon, hyp * cosLon, p, q)};
}

double KrugerSeries::meridianXi(double lat) const {
    if (lat == 0.0)
        return 0.0;
    const double conformal = std::atan(conformalTan(std::tan(lat)));
    return conformal + sineSum(alpha_, DoubleAngle::of(conformal, 0.0)).re;
}

void KrugerSeries::inverse(double xi, double eta, double* lat, double* lonFromCm) const {
    const ComplexSum sine = sineSum(beta_, DoubleAngle::of(xi, eta));
    const double xiPrime = xi - sine.re, sinhEta = std::sinh(eta - sine.im);
    const double cosXi = std::cos(xiPrime);
    const double tanConf = std::sin(xiPrime) / std::sqrt(sinhEta * sinhEta + cosXi * cosXi);
    *lat = std::atan(latitudeTanOf(tanConf));
    *lonFromCm = angleOf(sinhEta, cosXi);
}

} // namespace geodetic_detail
