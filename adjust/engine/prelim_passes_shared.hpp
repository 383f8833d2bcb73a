#pragma once
// Steps of the passes that the 2D and the 3D preliminary coordinates share,
// over a chain description (engine/prelim_chain_2d.hpp, prelim_chain_3d.hpp):
// solving one named point, solving every point left, and the direction from
// an instrument to its backsight.

#include "engine/prelim_support_2d.hpp"
#include "model/observation_records.hpp"
#include "model/plane_geometry.hpp"
#include "model/point_name.hpp"

#include <optional>

namespace prelimpasses {

// Solves the point of the chain's point list named `name` when it needs
// computing, by `solve(point)` (1 placed), and stores it. 1 placed, 0 failed,
// -1 nothing to do.
template <class Chain, class Solve> int solveNamed(const pointNameField& name, Solve solve) {
    typename Chain::Station point;
    if (Chain::stations().find(fixedText(name), point) < 0 || !Chain::needsComputing(point))
        return -1;
    if (solve(point) != 1)
        return 0;
    Chain::store(point);
    return 1;
}

// One walk of the point list solving every point that still needs
// computing; stops when none is left. Returns how many are left.
template <class Chain, class Solve> int solveRemaining(Solve solve) {
    int left = Chain::countToCompute();
    if (left == 0)
        return 0;
    prelim2d::walk(Chain::stations(), [&](const typename Chain::Station& found, int) {
        typename Chain::Station point = found;
        if (Chain::needsComputing(point) && solve(point) == 1) {
            Chain::store(point);
            --left;
        }
        return left > 0;
    });
    return left;
}

// Grid direction from the instrument to its backsight: to the known
// backsight, else an observed azimuth instrument -> backsight.
template <class Chain>
std::optional<double> backsightDirection(const typename Chain::Station& instrument,
                                         const pointNameField& backsightName) {
    if (const auto backsight = Chain::known(backsightName)) {
        double distance = 0.0;
        return inverseDirDist(instrument.northing, instrument.easting, backsight->northing,
                              backsight->easting, distance);
    }
    azimuthObs az;
    if (Chain::azimuths().find(fixedText(instrument.name), fixedText(backsightName), az) >= 0)
        return az.azimuth;
    return std::nullopt;
}

} // namespace prelimpasses
