#pragma once
// Quantities that several projections share (NOS NGS 5 notation).

#include <cmath>
#include <numbers>

namespace geodetic_detail {

// Isometric latitude q(phi) for the first eccentricity e, from s = sin phi.
inline double isometricLatitudeOfSine(double e, double s) {
    return 0.5 * (std::log((1.0 + s) / (1.0 - s)) - e * std::log((1.0 + e * s) / (1.0 - e * s)));
}

inline double isometricLatitude(double e, double phi) {
    return isometricLatitudeOfSine(e, std::sin(phi));
}

// atanh(x) = ln((1 + x) / (1 - x)) / 2 for |x| <= maxAtanhSeriesArgument by
// its odd series, in place of a logarithm and a division: the terms past
// x^17 stay below 1e-19 of the sum there. The eccentricity terms of the
// earth's ellipsoids, e atanh(e sin phi) with e below 0.1, take it.
inline constexpr double maxAtanhSeriesArgument = 0.1;

inline double atanhSeries(double x) {
    const double x2 = x * x;
    return x * (1.0 + x2 * (1.0 / 3.0 +
                            x2 * (1.0 / 5.0 +
                                  x2 * (1.0 / 7.0 +
                                        x2 * (1.0 / 9.0 +
                                              x2 * (1.0 / 11.0 +
                                                    x2 * (1.0 / 13.0 +
                                                          x2 * (1.0 / 15.0 + x2 / 17.0))))))));
}

// sinh(y) for |y| <= e atanh(e) with e <= maxAtanhSeriesArgument (about
// 0.01) by its series: the terms past y^9 stay below 1e-24 of the sum there.
inline double sinhOfSmall(double y) {
    const double y2 = y * y;
    return y + y * y2 * (1.0 / 6.0 + y2 * (1.0 / 120.0 + y2 * (1.0 / 5040.0 + y2 / 362880.0)));
}

// Angles of at most maxSmallAngle take their sine, cosine and arctangent by
// short series in place of a library call: the terms left out stay below
// 1e-19 of the sum there.
inline constexpr double maxSmallAngle = 0.05;

struct SineCosine {
    double sin, cos;
};

inline SineCosine sinCosOfSmall(double x) {
    const double x2 = x * x;
    return {x * (1.0 - x2 * (1.0 / 6.0 -
                             x2 * (1.0 / 120.0 - x2 * (1.0 / 5040.0 - x2 * (1.0 / 362880.0))))),
            1.0 - x2 * (0.5 -
                        x2 * (1.0 / 24.0 -
                              x2 * (1.0 / 720.0 - x2 * (1.0 / 40320.0 - x2 * (1.0 / 3628800.0)))))};
}

inline double atanOfSmall(double x) {
    const double x2 = x * x;
    return x * (1.0 -
                x2 * (1.0 / 3.0 -
                      x2 * (1.0 / 5.0 -
                            x2 * (1.0 / 7.0 - x2 * (1.0 / 9.0 - x2 * (1.0 / 11.0 - x2 / 13.0))))));
}

// w(phi) = sqrt(1 - e^2 sin^2 phi), from s = sin phi.
inline double wFactorOfSine(double eSq, double s) {
    return std::sqrt(1.0 - eSq * s * s);
}

inline double wFactor(double eSq, double phi) {
    return wFactorOfSine(eSq, std::sin(phi));
}

// e'^2 = (a^2 - b^2) / b^2.
inline double secondEccentricitySq(double a, double b) {
    return (a * a - b * b) / (b * b);
}

// A longitude difference brought into [-pi, pi], so that a zone that straddles
// the 180th meridian sees its points on the near side of the central meridian.
// Within half a turn the remainder is the difference itself, exactly, and is
// not computed.
inline double longitudeDifference(double lon, double reference) {
    const double difference = lon - reference;
    if (std::abs(difference) <= std::numbers::pi)
        return difference;
    return std::remainder(difference, 2.0 * std::numbers::pi);
}

// The cosine-power form of a series x + X2 sin 2x + X4 sin 4x + X6 sin 6x + X8 sin 8x:
// sigma(x) = x + sin x cos x (C0 + C2 cos^2 x + C4 cos^4 x + C6 cos^6 x).
struct CosinePowerSeries {
    double c0, c2, c4, c6;

    static CosinePowerSeries fromSineCoefficients(double x2, double x4, double x6, double x8) {
        return {2.0 * (x2 - 2.0 * x4 + 3.0 * x6 - 4.0 * x8), 8.0 * (x4 - 4.0 * x6 + 10.0 * x8),
                32.0 * (x6 - 6.0 * x8), 128.0 * x8};
    }

    double operator()(double x) const { return at(x, std::sin(x), std::cos(x)); }

    // sigma(x) from sin x and cos x already at hand.
    double at(double x, double sinX, double cosX) const {
        const double cSq = cosX * cosX;
        return x + sinX * cosX * (c0 + cSq * (c2 + cSq * (c4 + cSq * c6)));
    }
};

} // namespace geodetic_detail
