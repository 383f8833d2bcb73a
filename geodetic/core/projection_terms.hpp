#pragma once
// Quantities that several projections share (NOS NGS 5 notation).

#include <cmath>
#include <numbers>

namespace geodetic_detail {

// Isometric latitude q(phi) for the first eccentricity e.
inline double isometricLatitude(double e, double phi) {
    const double s = std::sin(phi);
    return 0.5 * (std::log((1.0 + s) / (1.0 - s)) - e * std::log((1.0 + e * s) / (1.0 - e * s)));
}

// w(phi) = sqrt(1 - e^2 sin^2 phi).
inline double wFactor(double eSq, double phi) {
    const double s = std::sin(phi);
    return std::sqrt(1.0 - eSq * s * s);
}

// e'^2 = (a^2 - b^2) / b^2.
inline double secondEccentricitySq(double a, double b) {
    return (a * a - b * b) / (b * b);
}

// A longitude difference brought into [-pi, pi], so that a zone that straddles
// the 180th meridian sees its points on the near side of the central meridian.
inline double longitudeDifference(double lon, double reference) {
    return std::remainder(lon - reference, 2.0 * std::numbers::pi);
}

// The cosine-power form of a series x + X2 sin 2x + X4 sin 4x + X6 sin 6x + X8 sin 8x:
// sigma(x) = x + sin x cos x (C0 + C2 cos^2 x + C4 cos^4 x + C6 cos^6 x).
struct CosinePowerSeries {
    double c0, c2, c4, c6;

    static CosinePowerSeries fromSineCoefficients(double x2, double x4, double x6, double x8) {
        return {2.0 * (x2 - 2.0 * x4 + 3.0 * x6 - 4.0 * x8), 8.0 * (x4 - 4.0 * x6 + 10.0 * x8),
                32.0 * (x6 - 6.0 * x8), 128.0 * x8};
    }

    double operator()(double x) const {
        const double c = std::cos(x);
        const double cSq = c * c;
        return x + std::sin(x) * c * (c0 + cSq * (c2 + cSq * (c4 + cSq * c6)));
    }
};

} // namespace geodetic_detail
