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

// The monomial coefficients of the Chebyshev polynomials T_k (first kind)
// and U_k (second kind), k = 0..order: cos k theta = T_k(cos theta) and
// sin (k + 1) theta = sin theta U_k(cos theta).
using Monomials = std::array<std::array<double, order + 1>, order + 1>;

constexpr Monomials chebyshev(double firstSlope) {
    Monomials t{};
    t[0][0] = 1.0;
    t[1][1] = firstSlope;
    for (int k = 1; k < order; ++k)
        for (int m = 0; m <= order; ++m)
            t[k + 1][m] = (m > 0 ? 2.0 * t[k][m - 1] : 0.0) - t[k - 1][m];
    return t;
}

constexpr Monomials firstKind = chebyshev(1.0), secondKind = chebyshev(2.0);

// A with sum c_j sin 2j z = sin 2z A(cos 2z): A = sum c_j U_(j-1).
std::array<double, order + 1> sineSumPolynomial(const std::array<double, order + 1>& c) {
    std::array<double, order + 1> a{};
    for (int j = order; j >= 1; --j)
        for (int m = 0; m <= order; ++m)
            a[m] += c[j] * secondKind[j - 1][m];
    return a;
}

// B with sum d_j cos 2j z = B(cos 2z): B = sum d_j T_j.
std::array<double, order + 1> cosineSumPolynomial(const std::array<double, order + 1>& d) {
    std::array<double, order + 1> b{};
    for (int j = order; j >= 1; --j)
        for (int m = 0; m <= order; ++m)
            b[m] += d[j] * firstKind[j][m];
    return b;
}

// Power series in r, cut after r^powerDegree.
constexpr int powerDegree = 26;
using PowerSeries = std::array<double, powerDegree + 1>;

PowerSeries product(const PowerSeries& a, const PowerSeries& b) {
    PowerSeries c{};
    for (int i = 0; i <= powerDegree; ++i)
        for (int j = 0; i + j <= powerDegree; ++j)
            c[i + j] += a[i] * b[j];
    return c;
}

// sin r, or cos r.
PowerSeries sineOrCosineSeries(bool sine) {
    PowerSeries series{};
    double term = 1.0; // r^m / m!
    for (int m = 0; m <= powerDegree; ++m) {
        if (m > 0)
            term /= m;
        if ((m % 2 == 1) == sine)
            series[m] = (m / 2) % 2 == 0 ? term : -term;
    }
    return series;
}

// u N(u^2) for the series u.
PowerSeries conformalNumeratorSeries(const std::array<double, 8>& n, const PowerSeries& u) {
    const PowerSeries uSq = product(u, u);
    PowerSeries sum{};
    for (int k = static_cast<int>(n.size()) - 1; k >= 0; --k) {
        sum = product(sum, uSq);
        sum[0] += n[static_cast<std::size_t>(k)];
    }
    return product(u, sum);
}

} // namespace

KrugerSeries::KrugerSeries(const ellipsoid& ell)
    : semiMajor_(ell.semiMajor), e_(ell.eccentricity), eSq_(ell.eccentricitySq),
      n_((ell.semiMajor - ell.semiMinor) / (ell.semiMajor + ell.semiMinor)) {
    const double n2 = n_ * n_;
    radius_ = ell.semiMajor / (1.0 + n_) * (1.0 + n2 * (1.0 / 4 + n2 * (1.0 / 64 + n2 / 256)));
    radiusOverSemiMajor_ = radius_ / semiMajor_;
    const std::array<double, order + 1> alpha = coefficientsOf(forwardPolynomials, n_);
    std::array<double, order + 1> twoJAlpha{};
    for (int j = 1; j <= order; ++j)
        twoJAlpha[j] = 2.0 * j * alpha[j];
    const std::array<double, order + 1> sine = sineSumPolynomial(alpha),
                                        cosine = cosineSumPolynomial(twoJAlpha);
    for (int m = 0; m <= order; ++m)
        forwardSums_[m] = Pair{sine[m], cosine[m]};
    inverseSine_ = sineSumPolynomial(coefficientsOf(inversePolynomials, n_));
    conformalBySeries_ = e_ <= maxAtanhSeriesArgument;
    if (conformalBySeries_) {
        const EccentricitySeries terms(e_);
        for (std::size_t m = 0; m < conformalSeries_.size(); ++m)
            conformalSeries_[m] = terms.coshTerms[m] - terms.sinhTerms[m];
        const PowerSeries even =
            conformalNumeratorSeries(conformalSeries_, sineOrCosineSeries(true));
        const PowerSeries odd =
            conformalNumeratorSeries(conformalSeries_, sineOrCosineSeries(false));
        for (std::size_t j = 0; j < conformalByQuarter_.size(); ++j)
            conformalByQuarter_[j] = Pair{even[2 * j + 1], odd[2 * j]};
    }
}

namespace {

// sinh and cosh of sigma = e atanh(e sin lat), by the library's functions.
struct EccentricityTerms {
    double sinh, cosh;

    EccentricityTerms(double e, double sinLat)
        : sinh(std::sinh(e * std::atanh(e * sinLat))), cosh(std::sqrt(1.0 + sinh * sinh)) {}
};

} // namespace

[[gnu::always_inline]] inline double KrugerSeries::conformalNumerator(double sinLat) const {
    if (conformalBySeries_)
        return sinLat * polynomial(conformalSeries_, sinLat * sinLat);
    const EccentricityTerms terms(e_, sinLat);
    return sinLat * terms.cosh - terms.sinh;
}

// tan of the conformal latitude from tan of the latitude.
double KrugerSeries::conformalTan(double tanLat) const {
    const double tanSq = tanLat * tanLat;
    if (conformalBySeries_)
        return tanLat * polynomial(conformalSeries_, tanSq / (1.0 + tanSq));
    const double root = std::sqrt(1.0 + tanSq);
    const EccentricityTerms terms(e_, tanLat / root);
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

// A complex number of doubles, or of Pairs: two complex numbers at once.
template <typename Part> struct Complex { Part re, im; };

// The double of a complex angle z = xi + i eta by its cosine and sine:
// cos 2z = cos 2xi cosh 2eta - i sin 2xi sinh 2eta,
// sin 2z = sin 2xi cosh 2eta + i cos 2xi sinh 2eta.
struct DoubleAngle {
    Complex<double> cos, sin;

    static DoubleAngle of(double cos2Xi, double sin2Xi, double cosh2Eta, double sinh2Eta) {
        return {{cos2Xi * cosh2Eta, -sin2Xi * sinh2Eta}, {sin2Xi * cosh2Eta, cos2Xi * sinh2Eta}};
    }

    // From sin and cos of 2 xi and exp(2 eta): one sincos, one exp.
    static DoubleAngle of(double xi, double eta) {
        const double grow = std::exp(2.0 * eta), shrink = 1.0 / grow;
        return of(std::cos(2.0 * xi), std::sin(2.0 * xi), (grow + shrink) / 2.0,
                  (grow - shrink) / 2.0);
    }
};

// p0 + p1 c + ... + p6 c^6 at the complex c by Estrin's scheme, the
// coefficients real (a double each, or a Pair for two polynomials at once).
template <typename Part>
[[gnu::always_inline]] inline Complex<Part> complexPolynomial(const std::array<Part, order + 1>& p,
                                                              Complex<double> c) {
    const double c2Re = c.re * c.re - c.im * c.im, c2Im = 2.0 * c.re * c.im;
    const double c4Re = c2Re * c2Re - c2Im * c2Im, c4Im = 2.0 * c2Re * c2Im;
    const Complex<Part> low{p[0] + p[1] * c.re, p[1] * c.im},
        middle{p[2] + p[3] * c.re, p[3] * c.im}, high{p[4] + p[5] * c.re, p[5] * c.im};
    const Complex<Part> lower{low.re + (c2Re * middle.re - c2Im * middle.im),
                              low.im + (c2Re * middle.im + c2Im * middle.re)};
    const Complex<Part> upper{high.re + c2Re * p[6], high.im + c2Im * p[6]};
    return {lower.re + (c4Re * upper.re - c4Im * upper.im),
            lower.im + (c4Re * upper.im + c4Im * upper.re)};
}

// sum c_j sin 2j z = sin 2z A(cos 2z), A's coefficients given.
Complex<double> sineSum(const std::array<double, order + 1>& a, const DoubleAngle& z) {
    const Complex<double> sum = complexPolynomial(a, z.cos);
    return {z.sin.re * sum.re - z.sin.im * sum.im, z.sin.re * sum.im + z.sin.im * sum.re};
}

// atan2(y, x), by the one-argument arctangent where x > 0: the library's
// atan2 costs nearly twice as much, and the quotient's rounding moves the
// angle by less than an ulp.
double angleOf(double y, double x) {
    return x > 0.0 ? std::atan(y / x) : std::atan2(y, x);
}

// The arctangent of |t| <= smallRatio by its series to t^9 (the next term
// stays below 1e-19 of the sum), for the small turn of the series' slope.
constexpr double smallRatio = 1.0 / 64;

double smallArctangent(double t) {
    const double z = t * t;
    return t + t * z * ((-1.0 / 3 + z / 5) + z * z * (-1.0 / 7 + z / 9));
}

} // namespace

// Both angles by their quarter turns, and nu from the latitude's, so that nu
// does not wait for sin(lat); the library's functions beyond maxPairedAngle.
[[gnu::always_inline]] inline KrugerSeries::PointTerms KrugerSeries::pointTerms(double lat,
                                                                                double lon) const {
    if (conformalBySeries_ && std::abs(lat) <= maxPairedAngle && std::abs(lon) <= maxPairedAngle)
        [[likely]] {
        const QuarterTurns turns = quarterTurnsOf(Pair{lat, lon});
        const SinCosPair angles = sinCosOf(turns);
        const double z = turns.z[0];
        const Pair g = polynomial(conformalByQuarter_, Pair{z, z});
        const double nu = turns.sineLike(turns.r * g[0], Pair{g[1], g[1]})[0];
        return {angles.sin[0], angles.cos[0], angles.sin[1], angles.cos[1], nu};
    }
    const double sinLat = std::sin(lat);
    return {sinLat, std::cos(lat), std::sin(lon), std::cos(lon), conformalNumerator(sinLat)};
}

// Written over cos(lat): with tan chi' = nu / cos(lat), the conformal
// latitude's tangent never divides, and cosh eta' comes from the same
// radial term as sinh eta'. The double angle takes the radial term's square
// alone, so the series need no square root; the two arctangents (of zeta's
// real part and of the convergence on the sphere) go in one evaluation,
// beside the series, and the series' slope turns the convergence by a
// small angle that a short series gives.
// withScale false leaves the scale and the convergence at 0 and skips their terms.
template <bool withScale>
[[gnu::always_inline]] inline KrugerSeries::Grid
KrugerSeries::forwardOf(const PointTerms& terms) const {
    const double sinLat = terms.sinLat, cosLat = terms.cosLat;
    const double sinLon = terms.sinLon, cosLon = terms.cosLon;
    const double nu = terms.nu; // tan chi' cos(lat)
    const double mu = cosLat * cosLon;
    const double hyp = std::sqrt(nu * nu + cosLat * cosLat); // sec chi' cos(lat)
    const double invRadialSq = 1.0 / (nu * nu + mu * mu);
    const double sinhEtaOverInvRadial = sinLon * cosLat;
    const DoubleAngle doubled =
        DoubleAngle::of((mu * mu - nu * nu) * invRadialSq, 2.0 * nu * mu * invRadialSq,
                        1.0 + 2.0 * sinhEtaOverInvRadial * sinhEtaOverInvRadial * invRadialSq,
                        2.0 * sinhEtaOverInvRadial * hyp * invRadialSq);
    // xi' and the convergence on the conformal sphere, both from the right
    // half plane within 90 degrees of the central meridian.
    const double x = hyp * cosLon, y = nu * sinLon;
    const AnglePair sphere =
        mu > 0.0 && x > 0.0 ? rightHalfAtan2Pair(Pair{nu, y}, Pair{mu, x})
                            : AnglePair{Pair{std::atan2(nu, mu), std::atan2(y, x)}, Pair{0.0, 0.0}};
    const Complex<Pair> sums = complexPolynomial(forwardSums_, doubled.cos);
    const double sineRe = doubled.sin.re * sums.re[0] - doubled.sin.im * sums.im[0];
    const double sineIm = doubled.sin.re * sums.im[0] + doubled.sin.im * sums.re[0];
    // eta' = log(sinh eta' + cosh eta'), by the square, which needs no root.
    const double sum = sinhEtaOverInvRadial + hyp;
    const double xi = sphere.hi[0] + (sphere.lo[0] + sineRe);
    const double eta = 0.5 * std::log(sum * sum * invRadialSq) + sineIm;
    if constexpr (!withScale)
        return {xi, eta, 0.0, 0.0};
    // d zeta / d zeta' = p - i q.
    const double p = 1.0 + sums.re[1], q = -sums.im[1];
    // k = (A/a) w sqrt(p^2 + q^2) / (cos(lat) sqrt(tan^2 chi' + cos^2 lon)), with
    // w = sqrt(1 - e^2 sin^2 lat); cos(lat) cancels.
    const double wSq = 1.0 - eSq_ * sinLat * sinLat;
    const double scale = radiusOverSemiMajor_ * std::sqrt(wSq * (p * p + q * q) * invRadialSq);
    // The convergence is the argument of (x + i y)(p + i q), x + i y its
    // part on the sphere; where x > 0 and q / p is small, the sum of the two
    // arguments.
    if (x > 0.0 && p > 0.0 && std::abs(q) <= smallRatio * p) [[likely]]
        return {xi, eta, scale, sphere.hi[1] + (sphere.lo[1] + smallArctangent(q / p))};
    return {xi, eta, scale, angleOf(y * p + x * q, x * p - y * q)};
}

KrugerSeries::Grid KrugerSeries::forward(double lat, double lonFromCm) const {
    return forwardOf<true>(pointTerms(lat, lonFromCm));
}

KrugerSeries::Grid KrugerSeries::forwardGrid(double sinLat, double cosLat, double sinLon,
                                             double cosLon) const {
    return forwardOf<false>({sinLat, cosLat, sinLon, cosLon, conformalNumerator(sinLat)});
}

double KrugerSeries::meridianXi(double lat) const {
    if (lat == 0.0)
        return 0.0;
    const double conformal = std::atan(conformalTan(std::tan(lat)));
    const DoubleAngle doubled = DoubleAngle::of(conformal, 0.0);
    const Complex<Pair> sums = complexPolynomial(forwardSums_, doubled.cos);
    return conformal + doubled.sin.re * sums.re[0];
}

void KrugerSeries::inverse(double xi, double eta, double* lat, double* lonFromCm) const {
    const Complex<double> sine = sineSum(inverseSine_, DoubleAngle::of(xi, eta));
    const double xiPrime = xi - sine.re, sinhEta = std::sinh(eta - sine.im);
    const double cosXi = std::cos(xiPrime);
    const double tanConf = std::sin(xiPrime) / std::sqrt(sinhEta * sinhEta + cosXi * cosXi);
    *lat = std::atan(latitudeTanOf(tanConf));
    *lonFromCm = angleOf(sinhEta, cosXi);
}

} // namespace geodetic_detail
