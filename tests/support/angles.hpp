#pragma once
// Angles for expected values, computed by the plain formulas rather than by
// the code under test.

#include <cmath>

namespace testsupport {

inline constexpr double pi = 3.14159265358979323846;

// Degrees, minutes and seconds to radians; a negative degree value makes the
// whole angle negative.
inline double radiansOf(double degrees, double minutes = 0, double seconds = 0) {
    const double sign = degrees < 0 ? -1.0 : 1.0;
    return sign * (std::fabs(degrees) + minutes / 60.0 + seconds / 3600.0) * pi / 180.0;
}

inline double gradsToRadians(double grads) {
    return grads * pi / 200.0;
}

} // namespace testsupport
