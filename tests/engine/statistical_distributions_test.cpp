#include "engine/statistical_distributions.hpp"
#include "support/project_vars_guard.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Upper-tail probability of chi-square by the closed forms, in long double:
// even dof 2k: Q = e^{-y} sum_{i<k} y^i / i!, y = x/2;
// odd dof 2k+1: Q = erfc(sqrt y) + e^{-y} sum_{i=1..k} y^{i-1/2} / Gamma(i + 1/2).
long double chiSquareUpperTail(int dof, long double x) {
    const long double y = x / 2;
    if (y == 0)
        return 1;
    long double sum = 0;
    if (dof % 2 == 0) {
        for (int i = 0; i < dof / 2; ++i)
            sum += std::exp(i * std::log(y) - y - std::lgamma(static_cast<long double>(i) + 1));
        return sum;
    }
    sum = std::erfc(std::sqrt(y));
    for (int i = 1; i <= dof / 2; ++i)
        sum += std::exp((i - 0.5L) * std::log(y) - y - std::lgamma(i + 0.5L));
    return sum;
}

long double referenceChiSquareQuantile(int dof, long double p) {
    long double lo = 0, hi = 20000;
    for (int i = 0; i < 200; ++i) {
        const long double mid = (lo + hi) / 2;
        (chiSquareUpperTail(dof, mid) > p ? lo : hi) = mid;
    }
    return (lo + hi) / 2;
}

// F(2, d) upper-tail quantile in closed form: (d/2)(p^(-2/d) - 1).
double referenceF2(int d, double p) {
    return d / 2.0 * (std::pow(p, -2.0 / d) - 1.0);
}

} // namespace

TEST(StatisticalDistributions, GammaAndBetaEdges) {
    double r = -1, lnG = 0;
    EXPECT_EQ(gammaSeries(&r, 2.0, 0.0, &lnG), 0);
    EXPECT_EQ(r, 0.0);
    EXPECT_EQ(gammaSeries(&r, 2.0, -1.0, &lnG), 1);
    EXPECT_EQ(gammaQ(0.0, 1.0, &r), 1);
    EXPECT_EQ(gammaQ(1.0, -1.0, &r), 1);
    EXPECT_EQ(incompleteBeta(2.0, 3.0, 0.0, &r), 0);
    EXPECT_EQ(r, 0.0);
    EXPECT_EQ(incompleteBeta(2.0, 3.0, 1.0, &r), 0);
    EXPECT_EQ(r, 1.0);
    EXPECT_EQ(incompleteBeta(2.0, 3.0, 1.5, &r), 1);
    // I_x(1, 1) = x; I_x(a, 1) = x^a
    ASSERT_EQ(incompleteBeta(1.0, 1.0, 0.3, &r), 0);
    EXPECT_NEAR(r, 0.3, 1e-12);
    ASSERT_EQ(incompleteBeta(3.0, 1.0, 0.5, &r), 0);
    EXPECT_NEAR(r, 0.125, 1e-12);
    // ln Gamma at integers is ln((n-1)!), and Gamma(1/2) = sqrt(pi)
    EXPECT_NEAR(lnGamma(5.0), std::log(24.0), 1e-9);
    EXPECT_NEAR(lnGamma(0.5), 0.5 * std::log(3.14159265358979323846), 1e-9);
}

// NIST/SEMATECH e-Handbook of Statistical Methods, table 1.3.6.7.4 (critical
// values of chi-square): upper-tail 0.025 and 0.975 values, three decimals.
TEST(StatisticalDistributions, ChiSquareBoundsMatchThePublishedTable) {
    struct Row {
        int dof;
        double upper;
        double lower;
    };
    const Row rows[] = {
        {1, 5.024, 0.001},   {2, 7.378, 0.051},    {5, 12.833, 0.831},   {10, 20.483, 3.247},
        {20, 34.170, 9.591}, {30, 46.979, 16.791}, {50, 71.420, 32.357}, {100, 129.561, 74.222},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dof);
        double upper = 0, lower = 0;
        EXPECT_EQ(chiSquareBounds(row.dof, &upper, &lower, 95.0), 0);
        EXPECT_NEAR(upper, row.upper, 0.0005);
        EXPECT_NEAR(lower, row.lower, 0.0005);
    }
}

TEST(StatisticalDistributions, ChiSquareAgreesWithTheClosedFormsUpToAThousandDof) {
    for (int dof = 1; dof <= 1000; dof += (dof < 40 ? 1 : 37)) {
        SCOPED_TRACE(dof);
        for (const double confidence : {95.0, 99.0, 90.0}) {
            const double p = (1.0 - confidence / 100.0) / 2.0;
            double upper = 0, lower = 0;
            chiSquareBounds(dof, &upper, &lower, confidence);
            // The report prints the bounds with three decimals.
            EXPECT_NEAR(upper, static_cast<double>(referenceChiSquareQuantile(dof, p)), 0.0005);
            EXPECT_NEAR(lower, static_cast<double>(referenceChiSquareQuantile(dof, 1 - p)), 0.0005);
        }
    }
}

TEST(StatisticalDistributions, ChiSquareBeyondTheClassicSearchRange) {
    // The upper 2.5 % point for 6,000 dof lies near 6,216: past the old 5,000 limit.
    double upper = 0, lower = 0;
    chiSquareBounds(6000, &upper, &lower, 95.0);
    EXPECT_NEAR(upper, static_cast<double>(referenceChiSquareQuantile(6000, 0.025)), 0.01);
    EXPECT_NEAR(lower, static_cast<double>(referenceChiSquareQuantile(6000, 0.975)), 0.01);
    double single = 0;
    EXPECT_EQ(chiSquareInverse(6000, 0.025, &single), 0);
    EXPECT_NEAR(single, upper, 0.01);
}

TEST(StatisticalDistributions, FQuantilesAgreeWithTheClosedFormAndTable) {
    for (int d = 1; d <= 1000; d += (d < 30 ? 1 : 41)) {
        SCOPED_TRACE(d);
        for (const double p : {0.05, 0.01, 0.10}) {
            double f = 0;
            ASSERT_EQ(fInverse(2, d, p, &f), 0);
            EXPECT_NEAR(f, referenceF2(d, p), 1e-4 * std::max(1.0, referenceF2(d, p)));
        }
    }
    // NIST e-Handbook table 1.3.6.7.3, upper 5 % points of F.
    struct Row {
        int dof1, dof2;
        double f;
    };
    const Row rows[] = {{1, 10, 4.965}, {5, 10, 3.326}, {10, 20, 2.348}, {3, 30, 2.922}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dof1 * 1000 + row.dof2);
        double f = 0;
        ASSERT_EQ(fInverse(row.dof1, row.dof2, 0.05, &f), 0);
        EXPECT_NEAR(f, row.f, 0.0005);
    }
}

TEST(StatisticalDistributions, EllipseFactorApproachesItsLimit) {
    testsupport::ProjectVarsGuard guard;
    projectVars.confidenceInterval = 95.0;
    // F(2, infinity) at 5 % is -ln(0.05) = 2.9957; the ellipse factor sqrt(2F) = 2.4477.
    const double f = ellipseCriticalF(100000);
    EXPECT_NEAR(f, 2.9957, 0.001);
    EXPECT_NEAR(std::sqrt(2 * f), 2.4477, 0.001);
    EXPECT_NEAR(ellipseCriticalF(10), referenceF2(10, 0.05), 1e-5);
}
