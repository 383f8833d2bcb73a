#include "engine/statistical_distributions.hpp"

#include "model/settings/global_vars.hpp"

#include <algorithm>
#include <cmath>

namespace {

constexpr double relativeTolerance = 3e-7;
constexpr double smallestDenominator = 1e-30;
// The series and fractions stop as soon as they converge; the generous limit
// only matters for the many degrees of freedom of large networks, whose series
// need more than a hundred terms near the median.
constexpr int maxTerms = 100000;
constexpr int maxBisections = 99;

double guarded(double d) {
    return std::fabs(d) < smallestDenominator ? smallestDenominator : d;
}

// Bisection for the value whose upper-tail probability is p, where the tail
// probability falls as the value grows. `mid` ends on the last value tried,
// the closest found when the tolerance is never met.
template <class UpperTail>
bool bisectUpperTail(double hi, double p, double tolerance, UpperTail upperTail, double& mid) {
    double lo = 0.0;
    mid = hi / 2.0;
    for (int i = 0; i < maxBisections; ++i) {
        const double q = upperTail(mid);
        if (std::fabs(q - p) < tolerance)
            return true;
        if (q > p)
            lo = mid;
        else
            hi = mid;
        mid = (lo + hi) / 2.0;
    }
    return false;
}

constexpr double chiSquareTolerance = 1e-9;
// The F search compares 2q with 2p to 1e-7.
constexpr double fTolerance = 5e-8;

struct ChiSquareTail {
    double halfDof;
    double operator()(double value) const {
        double q = 0.0;
        gammaQ(halfDof, value / 2.0, &q);
        return q;
    }
};

struct FTail {
    double dof1;
    double dof2;
    double operator()(double value) const {
        double q = 0.0;
        incompleteBeta(dof2 / 2.0, dof1 / 2.0, dof2 / (dof2 + dof1 * value), &q);
        return q;
    }
};

// The classic upper end of the chi-square search, widened for degrees of
// freedom whose quantiles lie beyond it (from about 4,800 on).
double chiSquareSearchLimit(int dof) {
    const double n = static_cast<unsigned>(dof);
    return std::max(5000.0, n + 50.0 * std::sqrt(2.0 * n) + 100.0);
}

constexpr double fSearchLimit = 1620000.0;

} // namespace

double lnGamma(double x) {
    static const double coefficients[] = {76.18009172947146,    -86.50532032941678,
                                          24.01409824083091,    -1.231739572450155,
                                          0.001208650973866179, -5.395239384953e-06};
    double y = x;
    double tmp = x + 5.5;
    tmp -= (x + 0.5) * std::log(tmp);
    double ser = 1.000000000190015;
    for (const double c : coefficients) {
        y += 1.0;
        ser += c / y;
    }
    return -tmp + std::log(2.5066282746310007 * ser / x);
}

int gammaSeries(double* result, double a, double x, double* lnGammaA) {
    *lnGammaA = lnGamma(a);
    if (x < 0.0)
        return distributionFailed;
    if (x == 0.0) {
        *result = 0.0;
        return distributionOk;
    }
    double ap = a;
    double del = 1.0 / a;
    double sum = del;
    for (int n = 0; n < maxTerms; ++n) {
        ap += 1.0;
        del *= x / ap;
        sum += del;
        if (std::fabs(del) < std::fabs(sum) * relativeTolerance) {
            *result = sum * std::exp(-x + a * std::log(x) - *lnGammaA);
            return distributionOk;
        }
    }
    return distributionFailed;
}

int gammaContinuedFraction(double* result, double a, double x, double* lnGammaA) {
    *lnGammaA = lnGamma(a);
    double b = x + 1.0 - a;
    double c = 1.0 / smallestDenominator;
    double d = 1.0 / b;
    double h = d;
    for (int i = 1; i <= maxTerms; ++i) {
        const double an = -i * (i - a);
        b += 2.0;
        d = guarded(an * d + b);
        c = guarded(b + an / c);
        d = 1.0 / d;
        const double del = d * c;
        h *= del;
        if (std::fabs(del - 1.0) < relativeTolerance) {
            *result = std::exp(-x + a * std::log(x) - *lnGammaA) * h;
            return distributionOk;
        }
    }
    return distributionFailed;
}

int gammaQ(double a, double x, double* result) {
    if (x < 0.0 || a <= 0.0)
        return distributionFailed;
    double lnGammaA = 0.0;
    if (x < a + 1.0) {
        double p = 0.0;
        gammaSeries(&p, a, x, &lnGammaA);
        *result = 1.0 - p;
        return distributionOk;
    }
    return gammaContinuedFraction(result, a, x, &lnGammaA);
}

int betaContinuedFraction(double a, double b, double x, double* result) {
    const double qab = a + b;
    const double qap = a + 1.0;
    const double qam = a - 1.0;
    double c = 1.0;
    double d = 1.0 / guarded(1.0 - qab * x / qap);
    double h = d;
    for (int m = 1; m <= maxTerms; ++m) {
        const int m2 = 2 * m;
        double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
        d = 1.0 / guarded(1.0 + aa * d);
        c = guarded(1.0 + aa / c);
        h *= d * c;
        aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
        d = 1.0 / guarded(1.0 + aa * d);
        c = guarded(1.0 + aa / c);
        const double del = d * c;
        h *= del;
        *result = h;
        if (std::fabs(del - 1.0) < relativeTolerance)
            return distributionOk;
    }
    return distributionFailed;
}

int incompleteBeta(double a, double b, double x, double* result) {
    if (x < 0.0 || x > 1.0)
        return distributionFailed;
    const double bt = (x == 0.0 || x == 1.0) ? 0.0
                                             : std::exp(lnGamma(a + b) - lnGamma(a) - lnGamma(b) +
                                                        a * std::log(x) + b * std::log(1.0 - x));
    double fraction = 0.0;
    if (x < (a + 1.0) / (a + b + 2.0)) {
        const int status = betaContinuedFraction(a, b, x, &fraction);
        *result = bt * fraction / a;
        return status;
    }
    const int status = betaContinuedFraction(b, a, 1.0 - x, &fraction);
    *result = 1.0 - bt * fraction / b;
    return status;
}

int chiSquareInverse(int dof, double p, double* result) {
    double mid = 0.0;
    const ChiSquareTail tail{static_cast<unsigned>(dof) / 2.0};
    if (!bisectUpperTail(chiSquareSearchLimit(dof), p, chiSquareTolerance, tail, mid))
        return distributionFailed;
    *result = mid;
    return distributionOk;
}

int fInverse(int dof1, int dof2, double p, double* result) {
    double mid = 0.0;
    const FTail tail{static_cast<double>(static_cast<unsigned>(dof1)),
                     static_cast<double>(static_cast<unsigned>(dof2))};
    if (!bisectUpperTail(fSearchLimit, p, fTolerance, tail, mid))
        return distributionFailed;
    *result = mid;
    return distributionOk;
}

int chiSquareBounds(int dof, double* upper, double* lower, double confidence) {
    const double p = (1.0 - confidence / 100.0) / 2.0;
    const ChiSquareTail tail{static_cast<unsigned>(dof) / 2.0};
    const double limit = chiSquareSearchLimit(dof);
    // A search that misses its tolerance still ends next to the bound.
    bisectUpperTail(limit, p, chiSquareTolerance, tail, *upper);
    bisectUpperTail(limit, 1.0 - p, chiSquareTolerance, tail, *lower);
    return distributionOk;
}

double ellipseCriticalF(int dof) {
    double mid = 0.0;
    const FTail tail{2.0, static_cast<double>(static_cast<unsigned>(dof))};
    bisectUpperTail(fSearchLimit, 1.0 - projectVars.confidenceInterval / 100.0, fTolerance, tail,
                    mid);
    return mid;
}
