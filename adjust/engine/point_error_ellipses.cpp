#include "engine/point_error_ellipses.hpp"

#include "engine/statistical_distributions.hpp"
#include "model/angle_math.hpp"
#include "model/point_name.hpp"

#include <algorithm>
#include <cmath>

errEllipseRec pointErrorEllipse(double qEE, double qNN, double qEN, double s0,
                                double confidenceFactor) {
    errEllipseRec e;
    double theta = 0.5 * std::atan2(2.0 * qEN, qNN - qEE);
    if (theta < 0.0)
        theta += angle::pi;
    const double s = std::sin(theta);
    const double c = std::cos(theta);
    const double major = s * s * qEE + 2.0 * qEN * s * c + c * c * qNN;
    const double minor = c * c * qEE - 2.0 * qEN * s * c + s * s * qNN;
    e.orientation = theta;
    e.semiMajor = s0 * std::sqrt(std::max(0.0, major)) * confidenceFactor;
    e.semiMinor = s0 * std::sqrt(std::max(0.0, minor)) * confidenceFactor;
    e.sigmaE = s0 * std::sqrt(std::max(0.0, qEE)) * confidenceFactor;
    e.sigmaN = s0 * std::sqrt(std::max(0.0, qNN)) * confidenceFactor;
    return e;
}

double ellipseConfidenceFactor(int dof) {
    return std::sqrt(2.0 * ellipseCriticalF(dof));
}

namespace {

// The ellipses of the adjustable points of a table whose entries have a name
// and the column of their first unknown; `eastFirst` when the easting
// unknown comes before the northing (2D), else north before east (3D).
template <class Points>
std::vector<errEllipseRec> ellipsesOf(const Points& points, const std::vector<int>& adjustable,
                                      int dof, const Cofactors& cofactors, double s0,
                                      bool eastFirst) {
    const double factor = ellipseConfidenceFactor(dof);
    std::vector<errEllipseRec> ellipses;
    ellipses.reserve(adjustable.size());
    for (const int index : adjustable) {
        const auto& p = points[static_cast<std::size_t>(index)];
        const auto q = cofactors.block(p.column, p.column, 2);
        const double qEE = eastFirst ? q[0][0] : q[1][1];
        const double qNN = eastFirst ? q[1][1] : q[0][0];
        errEllipseRec e = pointErrorEllipse(qEE, qNN, q[0][1], s0, factor);
        setFixedText(e.name, p.name);
        ellipses.push_back(e);
    }
    return ellipses;
}

} // namespace

std::vector<errEllipseRec> pointErrorEllipses(const HorizontalNetwork& network,
                                              const Cofactors& cofactors, double s0) {
    return ellipsesOf(network.points, network.adjustable,
                      network.observations() - network.unknowns(), cofactors, s0, true);
}

std::vector<errEllipseRec> pointErrorEllipses(const SpatialNetwork& network,
                                              const Cofactors& cofactors, double s0) {
    return ellipsesOf(network.stations, network.adjustable,
                      network.observations() - network.unknowns(), cofactors, s0, false);
}
