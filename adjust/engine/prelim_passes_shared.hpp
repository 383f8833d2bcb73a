#pragma once
// Steps of the passes that the 2D and the 3D preliminary coordinates share,
// over a chain description (engine/prelim_chain_2d.hpp, prelim_chain_3d.hpp):
// solving one named point, the walks of the angle pass, solving every point
// left, and the direction from an instrument to its backsight.

#include "engine/prelim_support_2d.hpp"
#include "engine/station_solver_shared.hpp"
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

// Walks the chain's angles, solving the instrument and the backsight of each
// by `solve(point)` (1 placed) when they need computing, until a walk fails
// nowhere (0) or places nothing although some failed (1, stalled). `placed`
// counts the points placed. An angle with the backsight and instrument of the
// one before, which placed nothing, would place nothing either: it is passed
// over.
template <class Chain, class Solve> int solveAngleStations(int& placed, Solve solve) {
    placed = 0;
    const int angles = Chain::angles().count();
    for (;;) {
        bool failed = false;
        int placedThisWalk = 0;
        std::optional<typename Chain::Angle> last;
        bool lastPlaced = false;
        prelim2d::walk(Chain::angles(), [&](const typename Chain::Angle& a, int index) {
            prelim2d::postProgress(index, angles);
            if (last && !lastPlaced && stationsolver::samePoint(a.backsight, last->backsight) &&
                stationsolver::samePoint(a.instrument, last->instrument))
                return true;
            lastPlaced = false;
            for (const pointNameField* name : {&a.instrument, &a.backsight}) {
                const int result = solveNamed<Chain>(*name, solve);
                failed = failed || result == 0;
                lastPlaced = lastPlaced || result == 1;
                placedThisWalk += result == 1 ? 1 : 0;
            }
            last = a;
            return true;
        });
        placed += placedThisWalk;
        if (!failed)
            return 0;
        if (placedThisWalk == 0)
            return 1;
    }
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

// Grid direction from the instrument to its backsight: through a sighted
// point linked to the instrument, else to the known backsight, else an
// observed azimuth instrument -> backsight.
template <class Chain>
std::optional<double> backsightDirection(const typename Chain::Station& instrument,
                                         const pointNameField& backsightName) {
    if (const auto linked =
            stationsolver::linkedBacksightDirection<Chain>(instrument, backsightName))
        return linked;
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
