// The 3D similarity transformation with seven parameters, P2 = s R P1 + T,
// R = Rx(omega) Ry(phi) Rz(kappa).

#include "geodetic/xform_3d.hpp"

#include "geodetic/matrix.hpp"
#include "xform_estimate.hpp"
#include "zone_constant_cache.hpp"

#include <cmath>
#include <numbers>

namespace geodetic_detail {
namespace {

constexpr int sevenParameters = 7;
constexpr int minPointsFor7 = 3;

using Rotation = std::array<std::array<double, 3>, 3>;

// R(omega, phi, kappa) written out.
Rotation rotationOf(double omega, double phi, double kappa) {
    const double so = std::sin(omega), co = std::cos(omega);
    const double sp = std::sin(phi), cp = std::cos(phi);
    const double sk = std::sin(kappa), ck = std::cos(kappa);
    return {{{cp * ck, -cp * sk, sp},
             {co * sk + so * sp * ck, co * ck - so * sp * sk, -so * cp},
             {so * sk - co * sp * ck, so * ck + co * sp * sk, co * cp}}};
}

double rowTimes(const std::array<double, 3>& row, const std::array<double, 3>& p) {
    return row[0] * p[0] + row[1] * p[1] + row[2] * p[2];
}

// Parameters in the order s, omega, phi, kappa, Tx, Ty, Tz.
class SimilarityModel : public XformModel {
public:
    int parameterCount() const override { return sevenParameters; }

    XformLinearisation linearise(const double* q, const CommonPoint& point) const override {
        const double s = q[0], omega = q[1], phi = q[2], kappa = q[3];
        const Rotation r = rotationOf(omega, phi, kappa);
        const double so = std::sin(omega), co = std::cos(omega);
        const double sp = std::sin(phi), cp = std::cos(phi);
        const double sk = std::sin(kappa), ck = std::cos(kappa);
        const Rotation dPhi = {{{-sp * ck, sp * sk, cp},
                                {so * cp * ck, -so * cp * sk, so * sp},
                                {-co * cp * ck, co * cp * sk, -co * sp}}};
        const Rotation dOmega = {
            {{0.0, 0.0, 0.0}, {-r[2][0], -r[2][1], -r[2][2]}, {r[1][0], r[1][1], r[1][2]}}};
        const std::array<double, 3>& p1 = point.p1;
        XformLinearisation lin{};
        for (int c = 0; c < 3; ++c) {
            for (int k = 0; k < 3; ++k)
                lin.dP1[c][k] = s * r[c][k];
            const double rotated = rowTimes(r[c], p1);
            lin.design[c][0] = rotated;
            lin.design[c][1] = s * rowTimes(dOmega[c], p1);
            lin.design[c][2] = s * rowTimes(dPhi[c], p1);
            lin.design[c][3] = s * (r[c][1] * p1[0] - r[c][0] * p1[1]);
            lin.design[c][4 + c] = 1.0;
            lin.misclosure[c] = point.p2[c] - (s * rotated + q[4 + c]);
        }
        return lin;
    }

    bool updateIsSmall(const double* d) const override {
        for (int k = 0; k < 4; ++k)
            if (!(std::abs(d[k]) < 1e-6))
                return false;
        for (int k = 4; k < 7; ++k)
            if (!(std::abs(d[k]) < 1e-5))
                return false;
        return true;
    }
};

// The angle in [0, 2 pi) whose cosine is C, on the side given by the sign of
// S; C and S are not normalised.
double angleOf(double c, double s) {
    if (c >= 1.0)
        return 0.0;
    if (c <= -1.0)
        return std::numbers::pi;
    return s >= 0.0 ? std::acos(c) : 2.0 * std::numbers::pi - std::acos(c);
}

double distance(const std::array<double, 3>& a, const std::array<double, 3>& b) {
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// Scale from the first two points; kappa and Tx from the X equations of the
// first three points with omega = phi = 0; omega and Ty from their Y
// equations with phi = 0; Tz from the first point's Z equation.
bool startValues(const std::vector<CommonPoint>& points, double* q) {
    const CommonPoint &a = points[0], &b = points[1];
    const double s = distance(a.p2, b.p2) / distance(a.p1, b.p1);
    if (!std::isfinite(s) || s == 0.0)
        return false;
    double m[9], rhs[3], csT[3];
    for (int i = 0; i < 3; ++i) {
        const CommonPoint& p = points[i];
        m[3 * i] = s * p.p1[0];
        m[3 * i + 1] = -s * p.p1[1];
        m[3 * i + 2] = 1.0;
        rhs[i] = p.p2[0];
    }
    if (!solveSmallSystem(3, m, rhs, csT))
        return false;
    const double kappa = angleOf(csT[0], csT[1]), tx = csT[2];
    const double sk = std::sin(kappa), ck = std::cos(kappa);
    for (int i = 0; i < 3; ++i) {
        const CommonPoint& p = points[i];
        m[3 * i] = s * (p.p1[0] * sk + p.p1[1] * ck);
        m[3 * i + 1] = -s * p.p1[2];
        m[3 * i + 2] = 1.0;
        rhs[i] = p.p2[1];
    }
    if (!solveSmallSystem(3, m, rhs, csT))
        return false;
    const double omega = angleOf(csT[0], csT[1]), ty = csT[2];
    const double so = std::sin(omega), co = std::cos(omega);
    const double tz = a.p2[2] - s * (so * sk * a.p1[0] + so * ck * a.p1[1] + co * a.p1[2]);
    const double start[sevenParameters] = {s, omega, 0.0, kappa, tx, ty, tz};
    for (int k = 0; k < sevenParameters; ++k)
        q[k] = start[k];
    return true;
}

XformSolution estimate7Param(int n, const double* pts) {
    if (n < minPointsFor7)
        return XformSolution{};
    const std::vector<CommonPoint> points = commonPointsOf(n, pts);
    double start[sevenParameters];
    if (!startValues(points, start))
        return XformSolution{};
    return estimateXform(SimilarityModel{}, points, start);
}

// s R(omega, phi, kappa) p + T.
// The rotation of a run of points transformed with the same angles,
// computed once for the run.
const Rotation& rotationOfRun(double omega, double phi, double kappa) {
    [[gnu::tls_model("initial-exec")]] thread_local LastZoneCache<3, Rotation> cache;
    return cache.get({omega, phi, kappa}, [&] { return rotationOf(omega, phi, kappa); });
}

void applySimilarity(double s, double omega, double phi, double kappa,
                     const std::array<double, 3>& t, const std::array<double, 3>& p, double* X,
                     double* Y, double* Z) {
    const Rotation& r = rotationOfRun(omega, phi, kappa);
    *X = s * rowTimes(r[0], p) + t[0];
    *Y = s * rowTimes(r[1], p) + t[1];
    *Z = s * rowTimes(r[2], p) + t[2];
}

} // namespace
} // namespace geodetic_detail

using geodetic_detail::XformSolution;

CXform3D7Param::CXform3D7Param(int n, double* pts)
    : v{n, 7, 6 * n, xformRefused, 0, 0, 0, 1.0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      residuals(nullptr) {
    v.status = computeXform(n, pts);
}

CXform3D7Param::~CXform3D7Param() {
    delete residuals;
}

CXform3D7Param::CXform3D7Param(const CXform3D7Param& other)
    : v(other.v), residuals(geodetic_detail::copyOfResiduals(other.residuals)) {}

CXform3D7Param& CXform3D7Param::operator=(const CXform3D7Param& other) {
    Matrix* copy = geodetic_detail::copyOfResiduals(other.residuals);
    delete residuals;
    v = other.v;
    residuals = copy;
    return *this;
}

int CXform3D7Param::computeXform(int n, double* pts) {
    v.pointCount = n;
    const XformSolution s = geodetic_detail::estimate7Param(n, pts);
    if (!s.solved)
        return xformRefused;
    v.scale = s.params[0];
    v.omega = s.params[1];
    v.phi = s.params[2];
    v.kappa = s.params[3];
    v.tx = s.params[4];
    v.ty = s.params[5];
    v.tz = s.params[6];
    v.scaleSE = s.standardErrors[0];
    v.omegaSE = s.standardErrors[1];
    v.phiSE = s.standardErrors[2];
    v.kappaSE = s.standardErrors[3];
    v.txSE = s.standardErrors[4];
    v.tySE = s.standardErrors[5];
    v.tzSE = s.standardErrors[6];
    v.referenceVariance = s.variance;
    v.sigma0 = s.sigma0;
    v.residualStatistic = s.statistic;
    residuals = geodetic_detail::residualMatrixOf(s.residuals);
    return xformSolved;
}

int CXform3D7Param::solutionFound() {
    return v.status;
}

int CXform3D7Param::getXformParams(double* scale, double* rx, double* ry, double* rz, double* tx,
                                   double* ty, double* tz) {
    *scale = v.scale;
    *rx = -v.omega;
    *ry = -v.phi;
    *rz = -v.kappa;
    *tx = v.tx;
    *ty = v.ty;
    *tz = v.tz;
    return 0;
}

int CXform3D7Param::getXformParamsSE(double* scale, double* rx, double* ry, double* rz, double* tx,
                                     double* ty, double* tz) {
    *scale = v.scaleSE;
    *rx = v.omegaSE;
    *ry = v.phiSE;
    *rz = v.kappaSE;
    *tx = v.txSE;
    *ty = v.tySE;
    *tz = v.tzSE;
    return 0;
}

int CXform3D7Param::getXformStats(double* statistic, double* variance, double* sigma0) {
    *statistic = v.residualStatistic;
    *variance = v.referenceVariance;
    *sigma0 = v.sigma0;
    return 0;
}

int CXform3D7Param::getXformObservationResidual(int i, double* r) {
    return geodetic_detail::residualAt(residuals, i, r);
}

int CXform3D7Param::xform3D4_Pt(double scale, double rx, double ry, double rz, double tx, double ty,
                                double tz, double x, double y, double z, double* X, double* Y,
                                double* Z) {
    return ::xform3D_Pt(scale, rx, ry, rz, tx, ty, tz, x, y, z, X, Y, Z);
}

int CXform3D7Param::xform3D_Pt(double x, double y, double z, double* X, double* Y, double* Z) {
    geodetic_detail::applySimilarity(v.scale, v.omega, v.phi, v.kappa, {v.tx, v.ty, v.tz},
                                     {x, y, z}, X, Y, Z);
    return 0;
}

int xform_3D_7Param(int n, double* pts, double* scale, double* tx, double* ty, double* tz,
                    double* rx, double* ry, double* rz, double* variance, double* statistic) {
    *scale = *tx = *ty = *tz = *rx = *ry = *rz = *variance = *statistic = 0.0;
    const XformSolution s = geodetic_detail::estimate7Param(n, pts);
    if (!s.solved)
        return xformRefused;
    *scale = s.params[0];
    *rx = -s.params[1];
    *ry = -s.params[2];
    *rz = -s.params[3];
    *tx = s.params[4];
    *ty = s.params[5];
    *tz = s.params[6];
    *variance = s.variance;
    *statistic = s.statistic;
    return xformSolved;
}

int xform3D_Pt(double scale, double rx, double ry, double rz, double tx, double ty, double tz,
               double x, double y, double z, double* X, double* Y, double* Z) {
    geodetic_detail::applySimilarity(scale, -rx, -ry, -rz, {tx, ty, tz}, {x, y, z}, X, Y, Z);
    return 0;
}

int xform3D_PtAlt(double scale, double rx, double ry, double rz, double tx, double ty, double tz,
                  double x, double y, double z, double* X, double* Y, double* Z) {
    geodetic_detail::applySimilarity(scale, -rx, -ry, -rz, {0.0, 0.0, 0.0},
                                     {x + tx, y + ty, z + tz}, X, Y, Z);
    return 0;
}
