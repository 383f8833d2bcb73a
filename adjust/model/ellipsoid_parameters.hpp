#pragma once
// An ellipsoid defined by any two of its parameters: the semi-major axis a,
// the semi-minor axis b (metres), the flattening f, its inverse 1/f, the
// first eccentricity e and its square e^2. Used where a user types an
// ellipsoid of their own.

#include <optional>

enum class EllipsoidParameter : int {
    semiMajorAxis = 0,
    semiMinorAxis = 1,
    flattening = 2,
    inverseFlattening = 3,
    eccentricity = 4,
    eccentricitySquared = 5,
};

struct AxisAndFlattening {
    double semiMajor_m;
    double flattening;
};

// The semi-major axis and flattening of the ellipsoid whose parameter
// `firstKind` is `first` and whose `secondKind` is `second`. The relations:
// f = (a - b) / a, f = 1 / (1/f), b = a sqrt(1 - e^2), a = b / (1 - f).
// A pair that holds neither a nor b defines no size, and the two kinds must
// differ. Refused (nullopt): those pairs; a sphere where the pair gives its
// shape through b or e (b = a, e = 0); and every result that is no oblate
// ellipsoid: a not above 0, f below 0 or not below 1, or not finite
// (e >= 1, 1/f = 0 or 1/f = 1 among them).
std::optional<AxisAndFlattening> ellipsoidFromParameters(EllipsoidParameter firstKind, double first,
                                                         EllipsoidParameter secondKind,
                                                         double second);

// The kind lists of an ellipsoid typed by two parameters must differ and one
// of them must be a or b. After the list `changed` took a new kind, the kind
// the other list should show: the next kind (after e^2 comes a) when the two
// are equal, then a when neither is a or b.
EllipsoidParameter otherParameterKind(EllipsoidParameter changed, EllipsoidParameter other);
