// The shared Gauss-Helmert estimate of the 3D transformations.

#include "xform_estimate.hpp"

#include "geodetic/matrix.hpp"

#include <cmath>

namespace geodetic_detail {
namespace {

// The equivalent weight block W_i = (M Q1 M^T + Q2)^-1 of one point, with M
// = dF/dP1; false when it is singular.
bool weightBlock(const XformLinearisation& lin, const CommonPoint& point, double w[3][3]) {
    Matrix block(3, 3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            double sum = r == c ? point.var2[r] : 0.0;
            for (int k = 0; k < 3; ++k)
                sum += lin.dP1[r][k] * point.var1[k] * lin.dP1[c][k];
            block.element(r, c) = sum;
        }
    if (matrixInverse(&block) != matrixOk)
        return false;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            w[r][c] = block.element(r, c);
    return true;
}

// One pass's normal equations, kept for the residuals and statistics.
struct Pass {
    std::vector<XformLinearisation> lins;
    std::vector<std::array<std::array<double, 3>, 3>> weights;
    std::array<double, maxXformParameters * maxXformParameters> inverseNormal{};
    std::array<double, maxXformParameters> delta{};
};

bool runPass(const XformModel& model, const std::vector<CommonPoint>& points, const double* params,
             Pass* pass) {
    const int u = model.parameterCount();
    Matrix normal(u, u);
    normal.init();
    std::array<double, maxXformParameters> rhs{};
    pass->lins.clear();
    pass->weights.clear();
    for (const CommonPoint& point : points) {
        const XformLinearisation lin = model.linearise(params, point);
        double w[3][3];
        if (!weightBlock(lin, point, w))
            return false;
        // W A and W w for this point's three rows.
        for (int r = 0; r < 3; ++r) {
            for (int j = 0; j < u; ++j) {
                double wa = 0.0;
                for (int k = 0; k < 3; ++k)
                    wa += w[r][k] * lin.design[k][j];
                for (int i = 0; i < u; ++i)
                    normal.element(i, j) += lin.design[r][i] * wa;
            }
            double ww = 0.0;
            for (int k = 0; k < 3; ++k)
                ww += w[r][k] * lin.misclosure[k];
            for (int i = 0; i < u; ++i)
                rhs[i] += lin.design[r][i] * ww;
        }
        pass->lins.push_back(lin);
        pass->weights.push_back({{{w[0][0], w[0][1], w[0][2]},
                                  {w[1][0], w[1][1], w[1][2]},
                                  {w[2][0], w[2][1], w[2][2]}}});
    }
    if (matrixInverse(&normal) != matrixOk)
        return false;
    for (int i = 0; i < u; ++i) {
        double d = 0.0;
        for (int j = 0; j < u; ++j) {
            pass->inverseNormal[i * u + j] = normal.element(i, j);
            d += normal.element(i, j) * rhs[j];
        }
        if (!std::isfinite(d))
            return false;
        pass->delta[i] = d;
    }
    return true;
}

// r = A delta - w of the last pass, with the statistics it gives.
void finish(const XformModel& model, const Pass& pass, std::size_t pointCount,
            XformSolution* solution) {
    const int u = model.parameterCount();
    double vtpv = 0.0, sumSq = 0.0;
    solution->residuals.assign(3 * pointCount, 0.0);
    for (std::size_t p = 0; p < pointCount; ++p) {
        const XformLinearisation& lin = pass.lins[p];
        double r[3];
        for (int c = 0; c < 3; ++c) {
            double ad = 0.0;
            for (int j = 0; j < u; ++j)
                ad += lin.design[c][j] * pass.delta[j];
            r[c] = ad - lin.misclosure[c];
            solution->residuals[3 * p + c] = r[c];
            sumSq += r[c] * r[c];
        }
        for (int a = 0; a < 3; ++a)
            for (int b = 0; b < 3; ++b)
                vtpv += r[a] * pass.weights[p][a][b] * r[b];
    }
    const double dof = 3.0 * static_cast<double>(pointCount) - u;
    solution->variance = vtpv / dof;
    solution->sigma0 = std::sqrt(solution->variance);
    solution->statistic = 3.0 * std::sqrt(sumSq) / static_cast<double>(pointCount);
    for (int k = 0; k < u; ++k)
        solution->standardErrors[k] = solution->sigma0 * std::sqrt(pass.inverseNormal[k * u + k]);
}

bool allFinite(const XformSolution& s) {
    for (double v : s.params)
        if (!std::isfinite(v))
            return false;
    for (double v : s.standardErrors)
        if (!std::isfinite(v))
            return false;
    return std::isfinite(s.variance) && std::isfinite(s.statistic);
}

} // namespace

std::vector<CommonPoint> commonPointsOf(int n, const double* pts) {
    std::vector<CommonPoint> points(n > 0 ? n : 0);
    for (int i = 0; i < n; ++i) {
        const double* v = pts + 12 * i;
        for (int c = 0; c < 3; ++c) {
            points[i].p1[c] = v[2 * c];
            points[i].var1[c] = v[2 * c + 1] * v[2 * c + 1];
            points[i].p2[c] = v[6 + 2 * c];
            points[i].var2[c] = v[6 + 2 * c + 1] * v[6 + 2 * c + 1];
        }
    }
    return points;
}

XformSolution estimateXform(const XformModel& model, const std::vector<CommonPoint>& points,
                            const double* start) {
    const int u = model.parameterCount();
    XformSolution solution;
    for (int k = 0; k < u; ++k)
        solution.params[k] = start[k];
    Pass pass;
    for (int passNumber = 0; passNumber < maxXformPasses; ++passNumber) {
        if (!runPass(model, points, solution.params.data(), &pass))
            return XformSolution{};
        for (int k = 0; k < u; ++k)
            solution.params[k] += pass.delta[k];
        if (model.updateIsSmall(pass.delta.data()))
            break;
    }
    finish(model, pass, points.size(), &solution);
    if (!allFinite(solution))
        return XformSolution{};
    solution.solved = true;
    return solution;
}

bool solveSmallSystem(int k, const double* m, const double* rhs, double* x) {
    Matrix a(k, k);
    for (int r = 0; r < k; ++r)
        for (int c = 0; c < k; ++c)
            a.element(r, c) = m[r * k + c];
    if (matrixInverse(&a) != matrixOk)
        return false;
    for (int r = 0; r < k; ++r) {
        double sum = 0.0;
        for (int c = 0; c < k; ++c)
            sum += a.element(r, c) * rhs[c];
        if (!std::isfinite(sum))
            return false;
        x[r] = sum;
    }
    return true;
}

Matrix* residualMatrixOf(const std::vector<double>& residuals) {
    if (residuals.empty())
        return nullptr;
    const int count = static_cast<int>(residuals.size());
    Matrix* m = new Matrix(count, 1);
    for (int i = 0; i < count; ++i)
        m->element(i, 0) = residuals[i];
    return m;
}

Matrix* copyOfResiduals(Matrix* residuals) {
    if (residuals == nullptr)
        return nullptr;
    Matrix* m = new Matrix(residuals->rows, 1);
    matrixCopy(residuals, m);
    return m;
}

int residualAt(Matrix* residuals, int i, double* r) {
    if (residuals == nullptr || i < 0 || i >= residuals->rows)
        return 1;
    *r = residuals->element(i, 0);
    return 0;
}

} // namespace geodetic_detail
