#include "model/plane_geometry.hpp"

#include "model/angle_math.hpp"

#include <algorithm>
#include <cmath>

namespace {

constexpr double pi = angle::pi;
constexpr double twoPi = 2.0 * angle::pi;

bool nearZero(double value) {
    return std::fabs(value) < geometryZero;
}

// Rounding can land a value just below 2pi on 2pi itself.
double belowFullTurn(double angle) {
    return angle >= twoPi ? 0.0 : angle;
}

// Quarter 1 to 4 of a direction in [0, 2pi).
int quarterOf(double direction) {
    if (direction < pi / 2)
        return 1;
    if (direction < pi)
        return 2;
    return direction < 1.5 * pi ? 3 : 4;
}

// Lines whose directions differ by less than this (modulo pi) are taken as
// parallel: their crossing would lie more than 1e12 base lengths away, and
// directions near 2pi already carry rounding of a few 1e-16.
constexpr double parallelSine = 1e-12;

// Triangle angle and the measured angle opposite the same known point agree
// (modulo pi) only when the new point stands on the circle through the known
// points; the resection has no unique point there.
bool onDangerCircle(double cotTriangle, double cotMeasured) {
    if (!std::isfinite(cotTriangle) || !std::isfinite(cotMeasured))
        return false;
    const double scale = std::max({1.0, std::fabs(cotTriangle), std::fabs(cotMeasured)});
    return std::fabs(cotTriangle - cotMeasured) <= 1e-10 * scale;
}

// Known points in one line, or two of them in one place, span no triangle:
// their side directions differ by a multiple of pi, whose cotangent rounding
// leaves finite but meaningless weights.
bool spanNoTriangle(double n1, double e1, double n2, double e2, double n3, double e3) {
    const double cross = (n2 - n1) * (e3 - e1) - (e2 - e1) * (n3 - n1);
    const double scale = std::hypot(n2 - n1, e2 - e1) * std::hypot(n3 - n1, e3 - e1);
    return std::fabs(cross) <= 1e-12 * scale;
}

} // namespace

double inverseDirDist(double n1, double e1, double n2, double e2, double& distance) {
    const double dN = n2 - n1;
    const double dE = e2 - e1;
    distance = std::sqrt(dN * dN + dE * dE);
    if (nearZero(dN) && nearZero(dE))
        return 0.0;
    if (nearZero(dN))
        return dE > 0 ? pi / 2 : 1.5 * pi;
    const double a = std::atan(dE / dN);
    if (dN < 0)
        return a + pi;
    return dE < 0 ? belowFullTurn(a + twoPi) : a;
}

void angleFromDirections(double a, double b, double& angle) {
    a = normalizedAngle(a);
    b = normalizedAngle(b);
    const int qa = quarterOf(a);
    const int qb = quarterOf(b);
    if (qa == qb)
        angle = a > b ? (b + twoPi) - a : b - a;
    else if (qa < qb)
        angle = b - a;
    else
        angle = twoPi - (a - b);
    angle = belowFullTurn(angle);
}

void normalizeAngle(double& angle) {
    double turns = 0.0;
    double fraction = std::modf(angle / twoPi, &turns) * twoPi;
    if (fraction < 0)
        fraction += twoPi;
    angle = belowFullTurn(fraction);
}

double normalizedAngle(double angle) {
    if (angle < 0 || angle >= twoPi)
        normalizeAngle(angle);
    return angle;
}

double cot(double angle) {
    return 1.0 / std::tan(angle);
}

int intersectDistDist(double n1, double e1, double n2, double e2, double d1, double d2, double& n,
                      double& e) {
    double base = 0.0;
    const double az = inverseDirDist(n1, e1, n2, e2, base);
    if (base <= 0 || d1 <= 0 || base >= d1 + d2 || std::max(d1, d2) >= base + std::min(d1, d2))
        return geometryNoSolution;
    const double angleAt1 = std::acos((d1 * d1 + base * base - d2 * d2) / (2 * d1 * base));
    const double t = normalizedAngle(az - angleAt1);
    n = n1 + d1 * std::cos(t);
    e = e1 + d1 * std::sin(t);
    return geometrySolved;
}

int intersectDirDir(double n1, double e1, double az1, double n2, double e2, double az2, double& n,
                    double& e) {
    if (std::fabs(std::sin(az1 - az2)) < parallelSine)
        return geometryNoSolution;
    // Each line is N - Ni = cot(azi) (E - Ei).
    if (!nearZero(az2) && !nearZero(pi - std::fabs(az2))) {
        if (nearZero(az1))
            az1 = pi; // the same line, with a finite cotangent
        const double c1 = cot(az1);
        const double c2 = cot(az2);
        e = (n2 - n1 - c2 * e2 + c1 * e1) / (c1 - c2);
        n = n2 + c2 * (e - e2);
        return geometrySolved;
    }
    // Line 2 runs north-south.
    e = e2;
    const bool line1EastWest = nearZero(pi / 2 - std::fabs(az1)) || nearZero(1.5 * pi - az1);
    n = !nearZero(e1 - e2) && !line1EastWest ? n1 + (e2 - e1) / std::tan(az1) : n1;
    return geometrySolved;
}

int resection3Pt(double n1, double e1, double n2, double e2, double n3, double e3, double alpha,
                 double beta, double& n, double& e) {
    if (spanNoTriangle(n1, e1, n2, e2, n3, e3))
        return geometryNoSolution;
    // Directions of the sides from their slopes (modulo pi is enough: only
    // tangents of the angles are used).
    const double t23 = std::atan((e2 - e3) / (n2 - n3));
    const double t13 = std::atan((e1 - e3) / (n1 - n3));
    const double t12 = std::atan((e1 - e2) / (n1 - n2));
    const double angleAt2 = t12 - t23 - pi;
    const double angleAt3 = t23 - t13;
    const double angleAt1 = pi - angleAt3 - angleAt2;
    const double gamma = nearZero(pi - std::fabs(alpha - beta)) ? geometryZero : pi - alpha - beta;

    const double cotAt1 = cot(angleAt1), cotAt2 = cot(angleAt2), cotAt3 = cot(angleAt3);
    const double cotAlpha = cot(alpha), cotBeta = cot(beta), cotGamma = cot(gamma);
    if (onDangerCircle(cotAt2, cotGamma) || onDangerCircle(cotAt3, cotAlpha) ||
        onDangerCircle(cotAt1, cotBeta))
        return geometryNoSolution;

    const double k2 = 1.0 / (cotAt2 - cotGamma);
    const double k3 = 1.0 / (cotAt3 - cotAlpha);
    const double k1 = 1.0 / (cotAt1 - cotBeta);
    const double sum = k1 + k2 + k3;
    const double x = (n2 * k2 + n3 * k3 + n1 * k1) / sum;
    const double y = (e2 * k2 + e3 * k3 + e1 * k1) / sum;
    if (!std::isfinite(x) || !std::isfinite(y) ||
        std::fabs(sum) <= 1e-10 * (std::fabs(k1) + std::fabs(k2) + std::fabs(k3)))
        return geometryNoSolution;
    n = x;
    e = y;
    return geometrySolved;
}
