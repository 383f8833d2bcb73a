#include "model/ellipsoid_parameters.hpp"

#include <cmath>
#include <utility>

namespace {

using Kind = EllipsoidParameter;

constexpr int kindCount = 6;

bool isAxis(Kind kind) {
    return kind == Kind::semiMajorAxis || kind == Kind::semiMinorAxis;
}

// The flattening from the one shape parameter `kind` of value `value`;
// NaN when the value gives none.
double flatteningFrom(Kind kind, double value) {
    switch (kind) {
    case Kind::flattening:
        return value;
    case Kind::inverseFlattening:
        return 1.0 / value;
    case Kind::eccentricity:
        return 1.0 - std::sqrt(1.0 - value * value);
    case Kind::eccentricitySquared:
        return 1.0 - std::sqrt(1.0 - value);
    default:
        return std::nan("");
    }
}

struct Candidate {
    double a;
    double f;
    bool sphereAllowed;
};

std::optional<Candidate> candidateFrom(Kind axisKind, double axis, Kind otherKind, double other) {
    if (otherKind == axisKind)
        return std::nullopt;
    if (isAxis(otherKind)) {
        const double a = axisKind == Kind::semiMajorAxis ? axis : other;
        const double b = axisKind == Kind::semiMajorAxis ? other : axis;
        return Candidate{a, (a - b) / a, false};
    }
    const double f = flatteningFrom(otherKind, other);
    // A typed flattening of 0 is a sphere on purpose; b or e equal to a
    // sphere's is taken for a slip.
    if (axisKind == Kind::semiMajorAxis)
        return Candidate{axis, f, otherKind == Kind::flattening};
    return Candidate{axis / (1.0 - f), f, false};
}

bool isOblateEllipsoid(const Candidate& c) {
    const bool finite = std::isfinite(c.a) && std::isfinite(c.f);
    return finite && c.a > 0.0 && c.f >= 0.0 && c.f < 1.0 && (c.sphereAllowed || c.f > 0.0);
}

} // namespace

std::optional<AxisAndFlattening> ellipsoidFromParameters(Kind firstKind, double first,
                                                         Kind secondKind, double second) {
    std::optional<Candidate> candidate;
    if (isAxis(firstKind))
        candidate = candidateFrom(firstKind, first, secondKind, second);
    else if (isAxis(secondKind))
        candidate = candidateFrom(secondKind, second, firstKind, first);
    if (!candidate || !isOblateEllipsoid(*candidate))
        return std::nullopt;
    return AxisAndFlattening{candidate->a, candidate->f};
}

EllipsoidParameter otherParameterKind(Kind changed, Kind other) {
    if (other == changed)
        other = static_cast<Kind>((static_cast<int>(other) + 1) % kindCount);
    if (!isAxis(changed) && !isAxis(other))
        other = Kind::semiMajorAxis;
    return other;
}
