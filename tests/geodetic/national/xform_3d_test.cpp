// The 3D four- and seven-parameter transformations: exact data recovered,
// noisy data against closed-form least-squares solutions written here
// (xform_3d_reference.hpp), refusals of degenerate input, the point
// functions against the EPSG example and elementary rotation matrices.

#include "geodetic/fixture_table.hpp"
#include "xform_3d_reference.hpp"

#include "geodetic/xform_3d.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

namespace {

using namespace geodetic_test;

constexpr double arcSecond = std::numbers::pi / 648000.0;

// Points of a survey network of about 20 km in earth-centred coordinates.
std::vector<Vec3> networkPoints() {
    return {{3512345.123, 778901.456, 5248012.789}, {3518002.004, 771203.200, 5245890.010},
            {3505120.750, 785030.120, 5251230.330}, {3521890.310, 789902.870, 5240120.540},
            {3509870.660, 769820.440, 5255600.120}, {3515500.000, 781111.110, 5247777.770}};
}

// The common-point array: every coordinate with its standard error.
std::vector<double> commonPointArray(const std::vector<Vec3>& p1, const std::vector<Vec3>& p2,
                                     double sigma1, const std::vector<Vec3>& sigma2) {
    std::vector<double> pts;
    for (std::size_t i = 0; i < p1.size(); ++i) {
        for (int c = 0; c < 3; ++c) {
            pts.push_back(p1[i][c]);
            pts.push_back(sigma1);
        }
        for (int c = 0; c < 3; ++c) {
            pts.push_back(p2[i][c]);
            pts.push_back(sigma2[i][c]);
        }
    }
    return pts;
}

std::vector<Vec3> uniformSigmas(std::size_t n, double sigma) {
    return std::vector<Vec3>(n, Vec3{sigma, sigma, sigma});
}

std::vector<Vec3> mapped(const std::vector<Vec3>& p1, const Similarity& map) {
    std::vector<Vec3> out;
    for (const Vec3& p : p1)
        out.push_back(map(p));
    return out;
}

// Adds normally distributed noise of the given standard errors.
std::vector<Vec3> withNoise(std::vector<Vec3> points, const std::vector<Vec3>& sigma,
                            unsigned seed) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> unit(0.0, 1.0);
    for (std::size_t i = 0; i < points.size(); ++i)
        for (int c = 0; c < 3; ++c)
            points[i][c] += sigma[i][c] * unit(rng);
    return points;
}

Similarity scaleShift(double s, Vec3 t) {
    return {s, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, t};
}

// ---------------------------------------------------------------- four parameters

TEST(Xform3D4Param, RecoversExactParametersWithZeroResiduals) {
    const auto p1 = networkPoints();
    const Similarity truth = scaleShift(1.0000123, {10.5, -20.25, 3.75});
    auto pts = commonPointArray(p1, mapped(p1, truth), 0.01, uniformSigmas(p1.size(), 0.02));
    const int n = static_cast<int>(p1.size());

    CXform3D4Param fit(n, pts.data());
    ASSERT_EQ(fit.solutionFound(), xformSolved);
    double s, tx, ty, tz;
    fit.getXformParams(&s, &tx, &ty, &tz);
    EXPECT_NEAR(s, truth.scale, 1e-12);
    EXPECT_NEAR(tx, 10.5, 1e-6);
    EXPECT_NEAR(ty, -20.25, 1e-6);
    EXPECT_NEAR(tz, 3.75, 1e-6);
    double statistic, variance, sigma0;
    fit.getXformStats(&statistic, &variance, &sigma0);
    EXPECT_NEAR(statistic, 0.0, 1e-6);
    EXPECT_NEAR(variance, 0.0, 1e-9);
    for (int i = 0; i < 3 * n; ++i) {
        double r = 1.0;
        ASSERT_EQ(fit.getXformObservationResidual(i, &r), 0);
        EXPECT_NEAR(r, 0.0, 1e-6) << i;
    }

    double fs, ftx, fty, ftz, fvar, fstat;
    ASSERT_EQ(xform_3D_4Param(n, pts.data(), &fs, &ftx, &fty, &ftz, &fvar, &fstat), xformSolved);
    EXPECT_EQ(fs, s) << "the class and the function run one estimate";
    EXPECT_EQ(ftx, tx);
    EXPECT_EQ(fvar, variance);
    EXPECT_EQ(fstat, statistic);
}

// With system 1 error-free the model is linear, so the estimate must equal
// the weighted least-squares solution of its normal equations.
TEST(Xform3D4Param, NoisyDataMatchesWeightedLinearLeastSquares) {
    const auto p1 = networkPoints();
    std::vector<Vec3> sigma2;
    for (std::size_t i = 0; i < p1.size(); ++i)
        sigma2.push_back({0.01 + 0.002 * i, 0.015, 0.03 - 0.003 * i});
    const auto p2 = withNoise(mapped(p1, scaleShift(0.99998, {-120.0, 45.0, 80.0})), sigma2, 7);
    auto pts = commonPointArray(p1, p2, 0.0, sigma2);
    const int n = static_cast<int>(p1.size());

    CXform3D4Param fit(n, pts.data());
    ASSERT_EQ(fit.solutionFound(), xformSolved);
    double s, tx, ty, tz;
    fit.getXformParams(&s, &tx, &ty, &tz);
    const auto expected = scaleShiftFit(p1, p2, sigma2);
    // Scale and shifts are strongly correlated at earth-centred distances
    // (a 1e-12 change of scale moves a shift by 5 micrometres), so the shifts
    // are compared through the points they produce.
    EXPECT_NEAR(s, expected[0], 1e-10);
    for (const Vec3& p : p1)
        for (int c = 0; c < 3; ++c) {
            const double t[3] = {tx, ty, tz};
            EXPECT_NEAR(s * p[c] + t[c], expected[0] * p[c] + expected[1 + c], 1e-6);
        }

    // Residuals are transformed system 1 minus system 2, and sigma0^2 is
    // their weighted square sum over 3n - 4.
    double vtpv = 0.0, sumSq = 0.0;
    for (int i = 0; i < n; ++i)
        for (int c = 0; c < 3; ++c) {
            const double expectedR = expected[0] * p1[i][c] + expected[1 + c] - p2[i][c];
            double r = 0.0;
            ASSERT_EQ(fit.getXformObservationResidual(3 * i + c, &r), 0);
            EXPECT_NEAR(r, expectedR, 1e-6);
            vtpv += expectedR * expectedR / (sigma2[i][c] * sigma2[i][c]);
            sumSq += expectedR * expectedR;
        }
    double statistic, variance, sigma0;
    fit.getXformStats(&statistic, &variance, &sigma0);
    EXPECT_NEAR(variance, vtpv / (3 * n - 4), 1e-6 * variance);
    EXPECT_NEAR(sigma0, std::sqrt(variance), 1e-12);
    EXPECT_NEAR(statistic, 3.0 * std::sqrt(sumSq) / n, 1e-7 * statistic);
}

TEST(Xform3D4Param, ResidualIndicesAndSign) {
    const auto p1 = networkPoints();
    auto p2 = mapped(p1, scaleShift(1.0, {1.0, 2.0, 3.0}));
    p2.back()[2] -= 0.05; // the last point's transformed Z now exceeds its system-2 Z
    auto pts = commonPointArray(p1, p2, 0.0, uniformSigmas(p1.size(), 0.01));
    const int n = static_cast<int>(p1.size());
    CXform3D4Param fit(n, pts.data());
    ASSERT_EQ(fit.solutionFound(), xformSolved);
    double r = 99.0;
    EXPECT_EQ(fit.getXformObservationResidual(3 * n, &r), 1);
    EXPECT_EQ(fit.getXformObservationResidual(-1, &r), 1);
    EXPECT_EQ(r, 99.0) << "nothing written";
    ASSERT_EQ(fit.getXformObservationResidual(3 * n - 1, &r), 0);
    EXPECT_GT(r, 0.03);
}

TEST(Xform3D4Param, TooFewPointsAndDegenerateInputAreRefusedWithZeroOutputs) {
    const auto p1 = networkPoints();
    struct Case {
        const char* what;
        std::vector<Vec3> p1;
        double sigma1;
        double sigma2;
    };
    auto sameFirstX = p1;
    sameFirstX[1][0] = sameFirstX[0][0];
    const Case cases[] = {
        {"one point", {p1[0]}, 0.01, 0.01},
        {"first two points share their system-1 X (singular start)", sameFirstX, 0.01, 0.01},
        {"zero standard errors in both systems (singular weights)", p1, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int n = static_cast<int>(c.p1.size());
        auto pts = commonPointArray(c.p1, mapped(c.p1, scaleShift(1.00001, {5, 6, 7})), c.sigma1,
                                    uniformSigmas(c.p1.size(), c.sigma2));
        CXform3D4Param fit(n, pts.data());
        EXPECT_EQ(fit.solutionFound(), xformRefused);
        double s = 9, tx = 9, ty = 9, tz = 9, stat = 9, var = 9, sig = 9, r = 9;
        fit.getXformParams(&s, &tx, &ty, &tz);
        fit.getXformStats(&stat, &var, &sig);
        EXPECT_EQ(s + tx + ty + tz + stat + var + sig, 0.0);
        fit.getXformParamsSE(&s, &tx, &ty, &tz);
        EXPECT_EQ(s + tx + ty + tz, 0.0);
        EXPECT_EQ(fit.getXformObservationResidual(0, &r), 1);

        s = tx = ty = tz = var = stat = 9;
        EXPECT_EQ(xform_3D_4Param(n, pts.data(), &s, &tx, &ty, &tz, &var, &stat), xformRefused);
        EXPECT_EQ(s + tx + ty + tz + var + stat, 0.0);
    }
}

TEST(Xform3D4Param, CopiesOwnTheirResiduals) {
    const auto p1 = networkPoints();
    auto pts = commonPointArray(p1, mapped(p1, scaleShift(1.0, {1, 1, 1})), 0.0,
                                uniformSigmas(p1.size(), 0.01));
    auto original = std::make_unique<CXform3D4Param>(static_cast<int>(p1.size()), pts.data());
    CXform3D4Param copy(*original);
    CXform3D4Param assigned(1, pts.data());
    assigned = *original;
    original.reset();
    double r;
    EXPECT_EQ(copy.getXformObservationResidual(0, &r), 0);
    EXPECT_EQ(assigned.getXformObservationResidual(0, &r), 0);
    EXPECT_EQ(assigned.solutionFound(), xformSolved);
}

TEST(Xform3D4Param, PointFunctions) {
    double X, Y, Z;
    xform3D4Parm_Pt(2.0, 1.0, 1.0, 1.0, 1.0, 2.0, 3.0, &X, &Y, &Z);
    EXPECT_EQ(X, 3.0);
    EXPECT_EQ(Y, 5.0);
    EXPECT_EQ(Z, 7.0);
    xform3D4Parm_Pt(1.0, 0.0, 0.0, 0.0, 4.5, -2.5, 8.0, &X, &Y, &Z);
    EXPECT_EQ(X, 4.5);
    EXPECT_EQ(Y, -2.5);
    EXPECT_EQ(Z, 8.0);
}

// ---------------------------------------------------------------- seven parameters

struct SevenParams {
    double scale, rx, ry, rz, tx, ty, tz;

    Similarity map() const { return {scale, coordinateFrameRotation(rx, ry, rz), {tx, ty, tz}}; }
};

// The difference of two angles reduced to (-pi, pi].
double angleDelta(double a, double b) {
    return std::remainder(a - b, 2.0 * std::numbers::pi);
}

// The smallest estimates: two points for four parameters and three for
// seven leave 3n - u = 2 degrees of freedom.
TEST(Xform3D, TheSmallestEstimatesHaveTwoDegreesOfFreedom) {
    const auto all = networkPoints();
    {
        const std::vector<Vec3> p1(all.begin(), all.begin() + 2);
        const auto sigma = uniformSigmas(2, 0.01);
        const auto p2 = withNoise(mapped(p1, scaleShift(1.00002, {3, 4, 5})), sigma, 5);
        auto pts = commonPointArray(p1, p2, 0.0, sigma);
        CXform3D4Param fit(2, pts.data());
        ASSERT_EQ(fit.solutionFound(), xformSolved);
        const auto expected = scaleShiftFit(p1, p2, sigma);
        double vtpv = 0.0;
        for (int i = 0; i < 2; ++i)
            for (int c = 0; c < 3; ++c) {
                const double r = expected[0] * p1[i][c] + expected[1 + c] - p2[i][c];
                vtpv += r * r / (0.01 * 0.01);
            }
        double statistic, variance, sigma0;
        fit.getXformStats(&statistic, &variance, &sigma0);
        EXPECT_NEAR(variance, vtpv / 2.0, 1e-6 * variance);
    }
    {
        const std::vector<Vec3> p1(all.begin(), all.begin() + 3);
        const SevenParams truth{1.000003, 0.0, 0.0, 0.0, 1.0, 2.0, 3.0};
        const auto p2 = withNoise(mapped(p1, truth.map()), uniformSigmas(3, 0.01), 9);
        auto pts = commonPointArray(p1, p2, 0.0, uniformSigmas(3, 1.0));
        CXform3D7Param fit(3, pts.data());
        ASSERT_EQ(fit.solutionFound(), xformSolved);
        const Similarity horn = hornAbsoluteOrientation(p1, p2);
        double sumSq = 0.0;
        for (int i = 0; i < 3; ++i) {
            const Vec3 h = horn(p1[i]);
            for (int c = 0; c < 3; ++c)
                sumSq += (h[c] - p2[i][c]) * (h[c] - p2[i][c]);
        }
        double statistic, variance, sigma0;
        fit.getXformStats(&statistic, &variance, &sigma0);
        EXPECT_NEAR(variance, sumSq / 2.0, 1e-9);
    }
}

TEST(Xform3D7Param, RecoversExactParameters) {
    const SevenParams cases[] = {
        {1.0000032, 2.1 * arcSecond, -1.4 * arcSecond, 3.9 * arcSecond, -87.0, -98.0, -121.0},
        {0.9999871, -0.2, 0.15, 0.35, 1500.0, -2500.0, 700.0},
        {1.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0},
    };
    const auto p1 = networkPoints();
    const int n = static_cast<int>(p1.size());
    for (const SevenParams& truth : cases) {
        SCOPED_TRACE(truth.rz);
        const auto p2 = mapped(p1, truth.map());
        auto pts = commonPointArray(p1, p2, 0.01, uniformSigmas(p1.size(), 0.01));
        CXform3D7Param fit(n, pts.data());
        ASSERT_EQ(fit.solutionFound(), xformSolved);
        SevenParams got{};
        fit.getXformParams(&got.scale, &got.rx, &got.ry, &got.rz, &got.tx, &got.ty, &got.tz);
        EXPECT_NEAR(got.scale, truth.scale, 1e-11);
        EXPECT_NEAR(angleDelta(got.rx, truth.rx), 0.0, 1e-11);
        EXPECT_NEAR(angleDelta(got.ry, truth.ry), 0.0, 1e-11);
        EXPECT_NEAR(angleDelta(got.rz, truth.rz), 0.0, 1e-11);
        double statistic, variance, sigma0;
        fit.getXformStats(&statistic, &variance, &sigma0);
        EXPECT_NEAR(variance, 0.0, 1e-8);
        EXPECT_NEAR(statistic, 0.0, 1e-5);

        // The reported values, fed to the point functions, map every point.
        for (int i = 0; i < n; ++i) {
            double X, Y, Z, oX, oY, oZ;
            xform3D_Pt(got.scale, got.rx, got.ry, got.rz, got.tx, got.ty, got.tz, p1[i][0],
                       p1[i][1], p1[i][2], &X, &Y, &Z);
            fit.xform3D_Pt(p1[i][0], p1[i][1], p1[i][2], &oX, &oY, &oZ);
            EXPECT_NEAR(X, p2[i][0], 1e-5);
            EXPECT_NEAR(Y, p2[i][1], 1e-5);
            EXPECT_NEAR(Z, p2[i][2], 1e-5);
            EXPECT_NEAR(oX, X, 1e-6);
            EXPECT_NEAR(oY, Y, 1e-6);
            EXPECT_NEAR(oZ, Z, 1e-6);
            double r;
            ASSERT_EQ(fit.getXformObservationResidual(3 * i, &r), 0);
            EXPECT_NEAR(r, 0.0, 1e-5);
        }

        SevenParams free{};
        double var, stat;
        ASSERT_EQ(xform_3D_7Param(n, pts.data(), &free.scale, &free.tx, &free.ty, &free.tz,
                                  &free.rx, &free.ry, &free.rz, &var, &stat),
                  xformSolved);
        EXPECT_EQ(free.scale, got.scale) << "shifts come before rotations here";
        EXPECT_EQ(free.tx, got.tx);
        EXPECT_EQ(free.tz, got.tz);
        EXPECT_EQ(free.rx, got.rx);
        EXPECT_EQ(free.rz, got.rz);
        EXPECT_EQ(var, variance);
    }
}

TEST(Xform3D7Param, SmallPositiveRotationsAreReportedNearMinusTwoPi) {
    const SevenParams truth{1.0, 0.0, 0.0, 5.0 * arcSecond, 10.0, 20.0, 30.0};
    const auto p1 = networkPoints();
    const auto p2 = mapped(p1, truth.map());
    auto pts = commonPointArray(p1, p2, 0.0, uniformSigmas(p1.size(), 0.01));
    CXform3D7Param fit(static_cast<int>(p1.size()), pts.data());
    ASSERT_EQ(fit.solutionFound(), xformSolved);
    SevenParams got{};
    fit.getXformParams(&got.scale, &got.rx, &got.ry, &got.rz, &got.tx, &got.ty, &got.tz);
    EXPECT_NEAR(got.rz, truth.rz - 2.0 * std::numbers::pi, 1e-11);
    double X, Y, Z;
    xform3D_Pt(got.scale, got.rx, got.ry, got.rz, got.tx, got.ty, got.tz, p1[2][0], p1[2][1],
               p1[2][2], &X, &Y, &Z);
    EXPECT_NEAR(X, p2[2][0], 1e-5);
    EXPECT_NEAR(Y, p2[2][1], 1e-5);
    EXPECT_NEAR(Z, p2[2][2], 1e-5);
}

// Equal weights and an error-free system 1 make the estimate the
// least-squares similarity that Horn's closed form gives.
TEST(Xform3D7Param, NoisyDataMatchesHornsAbsoluteOrientation) {
    const SevenParams truth{1.0000045, 1.2 * arcSecond, -0.8 * arcSecond, 2.5 * arcSecond, -87.0,
                            -98.0,     -121.0};
    const auto p1 = networkPoints();
    const auto p2 = withNoise(mapped(p1, truth.map()), uniformSigmas(p1.size(), 0.02), 11);
    auto pts = commonPointArray(p1, p2, 0.0, uniformSigmas(p1.size(), 1.0));
    const int n = static_cast<int>(p1.size());
    CXform3D7Param fit(n, pts.data());
    ASSERT_EQ(fit.solutionFound(), xformSolved);
    SevenParams got{};
    fit.getXformParams(&got.scale, &got.rx, &got.ry, &got.rz, &got.tx, &got.ty, &got.tz);

    const Similarity horn = hornAbsoluteOrientation(p1, p2);
    const Mat3 ours = coordinateFrameRotation(got.rx, got.ry, got.rz);
    EXPECT_NEAR(got.scale, horn.scale, 1e-11);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(ours[i][j], horn.rotation[i][j], 1e-11) << i << j;
    double sumSq = 0.0;
    for (int i = 0; i < n; ++i) {
        const Vec3 h = horn(p1[i]);
        double X, Y, Z;
        fit.xform3D_Pt(p1[i][0], p1[i][1], p1[i][2], &X, &Y, &Z);
        EXPECT_NEAR(X, h[0], 1e-5);
        EXPECT_NEAR(Y, h[1], 1e-5);
        EXPECT_NEAR(Z, h[2], 1e-5);
        for (int c = 0; c < 3; ++c) {
            double r;
            ASSERT_EQ(fit.getXformObservationResidual(3 * i + c, &r), 0);
            EXPECT_NEAR(r, h[c] - p2[i][c], 1e-5);
            sumSq += (h[c] - p2[i][c]) * (h[c] - p2[i][c]);
        }
    }
    double statistic, variance, sigma0;
    fit.getXformStats(&statistic, &variance, &sigma0);
    EXPECT_NEAR(variance, sumSq / (3 * n - 7), 1e-9) << "unit weights";
    EXPECT_NEAR(statistic, 3.0 * std::sqrt(sumSq) / n, 1e-6);
    double se[7];
    fit.getXformParamsSE(&se[0], &se[1], &se[2], &se[3], &se[4], &se[5], &se[6]);
    for (double v : se)
        EXPECT_GT(v, 0.0);
}

TEST(Xform3D7Param, TooFewPointsAndDegenerateInputAreRefusedWithZeroOutputs) {
    const auto p1 = networkPoints();
    auto coincident = p1;
    coincident[1] = coincident[0];
    // Three points on one line leave the start systems singular.
    const std::vector<Vec3> collinear = {
        {1000, 2000, 3000}, {1100, 2100, 3100}, {1200, 2200, 3200}, {1300, 2300, 3300}};
    struct Case {
        const char* what;
        std::vector<Vec3> p1;
    };
    const Case cases[] = {
        {"two points", {p1[0], p1[1]}},
        {"coincident first points (infinite start scale)", coincident},
        {"collinear points", collinear},
    };
    const SevenParams truth{1.00001, 0.0, 0.0, 0.1, 5.0, 6.0, 7.0};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int n = static_cast<int>(c.p1.size());
        auto pts = commonPointArray(c.p1, mapped(c.p1, truth.map()), 0.01,
                                    uniformSigmas(c.p1.size(), 0.01));
        CXform3D7Param fit(n, pts.data());
        EXPECT_EQ(fit.solutionFound(), xformRefused);
        double v[7] = {9, 9, 9, 9, 9, 9, 9};
        fit.getXformParams(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]);
        for (double x : v)
            EXPECT_EQ(x, 0.0);
        double r;
        EXPECT_EQ(fit.getXformObservationResidual(0, &r), 1);
        double f[9] = {9, 9, 9, 9, 9, 9, 9, 9, 9};
        EXPECT_EQ(xform_3D_7Param(n, pts.data(), &f[0], &f[1], &f[2], &f[3], &f[4], &f[5], &f[6],
                                  &f[7], &f[8]),
                  xformRefused);
        for (double x : f)
            EXPECT_EQ(x, 0.0);
    }
}

TEST(Xform3D7Param, PointFunctions) {
    double X, Y, Z;
    xform3D_Pt(1.0, 0, 0, 0, 1.0, 2.0, 3.0, 0, 0, 0, &X, &Y, &Z);
    EXPECT_EQ(X, 1.0);
    EXPECT_EQ(Y, 2.0);
    EXPECT_EQ(Z, 3.0);
    xform3D_PtAlt(2.0, 0, 0, 0, 1.0, 2.0, 3.0, 0, 0, 0, &X, &Y, &Z);
    EXPECT_EQ(X, 2.0);
    EXPECT_EQ(Y, 4.0);
    EXPECT_EQ(Z, 6.0);
    const double e = 0.01;
    xform3D_Pt(1.0, 0, 0, e, 0, 0, 0, 1.0, 0, 0, &X, &Y, &Z);
    EXPECT_NEAR(X, std::cos(e), 1e-15);
    EXPECT_NEAR(Y, -std::sin(e), 1e-15);
    EXPECT_NEAR(Z, 0.0, 1e-15);

    // Large angles against the elementary matrices, both forms.
    const SevenParams q{1.5, 0.3, -0.7, 1.1, 10.0, -20.0, 30.0};
    const Vec3 p{123.0, -456.0, 789.0};
    const Vec3 expected = q.map()(p);
    xform3D_Pt(q.scale, q.rx, q.ry, q.rz, q.tx, q.ty, q.tz, p[0], p[1], p[2], &X, &Y, &Z);
    EXPECT_NEAR(X, expected[0], 1e-9);
    EXPECT_NEAR(Y, expected[1], 1e-9);
    EXPECT_NEAR(Z, expected[2], 1e-9);
    const Vec3 shiftedFirst = rotate(q.map().rotation, {p[0] + q.tx, p[1] + q.ty, p[2] + q.tz});
    xform3D_PtAlt(q.scale, q.rx, q.ry, q.rz, q.tx, q.ty, q.tz, p[0], p[1], p[2], &X, &Y, &Z);
    EXPECT_NEAR(X, q.scale * shiftedFirst[0], 1e-9);
    EXPECT_NEAR(Y, q.scale * shiftedFirst[1], 1e-9);
    EXPECT_NEAR(Z, q.scale * shiftedFirst[2], 1e-9);
}

// EPSG Guidance Note 7-2, methods 9606/9607 worked example (WGS 72 to
// WGS 84): tZ +4.5 m, rZ +0.554" in the position-vector convention (so
// -0.554" in the coordinate-frame form taken here), dS +0.219 ppm;
// (3657660.66, 255768.55, 5201382.11) -> (3657660.78, 255778.43, 5201387.75),
// published to the centimetre.
TEST(Xform3D7Param, ReproducesTheEpsgWorkedExample) {
    double X, Y, Z;
    xform3D_Pt(1.0 + 0.219e-6, 0, 0, -0.554 * arcSecond, 0, 0, 4.5, 3657660.66, 255768.55,
               5201382.11, &X, &Y, &Z);
    EXPECT_NEAR(X, 3657660.78, 0.006);
    EXPECT_NEAR(Y, 255778.43, 0.006);
    EXPECT_NEAR(Z, 5201387.75, 0.006);
}

// Columns of national/helmert.txt: tx ty tz rx ry rz ds | X Y Z | X' Y' Z',
// PROJ's coordinate-frame Helmert (rotations in arc seconds, scale in ppm).
// PROJ composes the three rotations in another order; at rotations of a few
// arc seconds the two orders differ by less than 0.1 mm.
TEST(Xform3D7Param, PointTransformMatchesProj) {
    for (const FixtureRow& row : readFixtureTable("national/helmert.txt")) {
        SCOPED_TRACE(row.where);
        double X, Y, Z;
        xform3D_Pt(1.0 + row[6] * 1e-6, row[3] * arcSecond, row[4] * arcSecond, row[5] * arcSecond,
                   row[0], row[1], row[2], row[7], row[8], row[9], &X, &Y, &Z);
        EXPECT_NEAR(X, row[10], gridTolerance_m);
        EXPECT_NEAR(Y, row[11], gridTolerance_m);
        EXPECT_NEAR(Z, row[12], gridTolerance_m);
    }
}

} // namespace
