// The 3D transformation with one scale and three shifts, P2 = s P1 + T.

#include "geodetic/xform_3d.hpp"

#include "geodetic/matrix.hpp"
#include "xform_estimate.hpp"

#include <cmath>

namespace geodetic_detail {
namespace {

constexpr int fourParameters = 4;
constexpr int minPointsFor4 = 2;

// Parameters in the order s, Tx, Ty, Tz.
class ScaleShiftModel : public XformModel {
public:
    int parameterCount() const override { return fourParameters; }

    XformLinearisation linearise(const double* q, const CommonPoint& point) const override {
        XformLinearisation lin{};
        for (int c = 0; c < 3; ++c) {
            lin.dP1[c][c] = q[0];
            lin.design[c][0] = point.p1[c];
            lin.design[c][1 + c] = 1.0;
            lin.misclosure[c] = point.p2[c] - (q[0] * point.p1[c] + q[1 + c]);
        }
        return lin;
    }

    bool updateIsSmall(const double* d) const override {
        return std::abs(d[0]) < 1e-6 && std::abs(d[1]) < 1e-4 && std::abs(d[2]) < 1e-4 &&
               std::abs(d[3]) < 1e-4;
    }
};

// The exact solution of the first point's three equations and the second
// point's X equation.
bool startValues(const std::vector<CommonPoint>& points, double* start) {
    const CommonPoint& a = points[0];
    const CommonPoint& b = points[1];
    const double m[16] = {a.p1[0], 1, 0, 0, a.p1[1], 0, 1, 0, a.p1[2], 0, 0, 1, b.p1[0], 1, 0, 0};
    const double rhs[4] = {a.p2[0], a.p2[1], a.p2[2], b.p2[0]};
    return solveSmallSystem(fourParameters, m, rhs, start);
}

XformSolution estimate4Param(int n, const double* pts) {
    if (n < minPointsFor4)
        return XformSolution{};
    const std::vector<CommonPoint> points = commonPointsOf(n, pts);
    double start[fourParameters];
    if (!startValues(points, start))
        return XformSolution{};
    return estimateXform(ScaleShiftModel{}, points, start);
}

} // namespace
} // namespace geodetic_detail

using geodetic_detail::XformSolution;

CXform3D4Param::CXform3D4Param(int n, double* pts)
    : v{n, 4, 6 * n, xformRefused, 0, 0, 0, 1.0, 0, 0, 0, 0, 0, 0, 0, 0}, residuals(nullptr) {
    v.status = computeXform(pts);
}

CXform3D4Param::~CXform3D4Param() {
    delete residuals;
}

CXform3D4Param::CXform3D4Param(const CXform3D4Param& other)
    : v(other.v), residuals(geodetic_detail::copyOfResiduals(other.residuals)) {}

CXform3D4Param& CXform3D4Param::operator=(const CXform3D4Param& other) {
    Matrix* copy = geodetic_detail::copyOfResiduals(other.residuals);
    delete residuals;
    v = other.v;
    residuals = copy;
    return *this;
}

int CXform3D4Param::computeXform(double* pts) {
    const XformSolution s = geodetic_detail::estimate4Param(v.pointCount, pts);
    if (!s.solved)
        return xformRefused;
    v.scale = s.params[0];
    v.tx = s.params[1];
    v.ty = s.params[2];
    v.tz = s.params[3];
    v.scaleSE = s.standardErrors[0];
    v.txSE = s.standardErrors[1];
    v.tySE = s.standardErrors[2];
    v.tzSE = s.standardErrors[3];
    v.referenceVariance = s.variance;
    v.sigma0 = s.sigma0;
    v.residualStatistic = s.statistic;
    residuals = geodetic_detail::residualMatrixOf(s.residuals);
    return xformSolved;
}

int CXform3D4Param::solutionFound() {
    return v.status;
}

int CXform3D4Param::getXformParams(double* scale, double* tx, double* ty, double* tz) {
    *scale = v.scale;
    *tx = v.tx;
    *ty = v.ty;
    *tz = v.tz;
    return 0;
}

int CXform3D4Param::getXformParamsSE(double* scale, double* tx, double* ty, double* tz) {
    *scale = v.scaleSE;
    *tx = v.txSE;
    *ty = v.tySE;
    *tz = v.tzSE;
    return 0;
}

int CXform3D4Param::getXformStats(double* statistic, double* variance, double* sigma0) {
    *statistic = v.residualStatistic;
    *variance = v.referenceVariance;
    *sigma0 = v.sigma0;
    return 0;
}

int CXform3D4Param::getXformObservationResidual(int i, double* r) {
    return geodetic_detail::residualAt(residuals, i, r);
}

int CXform3D4Param::xform3D4_Pt(double s, double dx, double dy, double dz, double x, double y,
                                double z, double* X, double* Y, double* Z) {
    return xform3D4Parm_Pt(s, dx, dy, dz, x, y, z, X, Y, Z);
}

int xform_3D_4Param(int n, double* pts, double* scale, double* tx, double* ty, double* tz,
                    double* variance, double* statistic) {
    *scale = *tx = *ty = *tz = *variance = *statistic = 0.0;
    const XformSolution s = geodetic_detail::estimate4Param(n, pts);
    if (!s.solved)
        return xformRefused;
    *scale = s.params[0];
    *tx = s.params[1];
    *ty = s.params[2];
    *tz = s.params[3];
    *variance = s.variance;
    *statistic = s.statistic;
    return xformSolved;
}

int xform3D4Parm_Pt(double scale, double tx, double ty, double tz, double x, double y, double z,
                    double* X, double* Y, double* Z) {
    *X = scale * x + tx;
    *Y = scale * y + ty;
    *Z = scale * z + tz;
    return 0;
}
