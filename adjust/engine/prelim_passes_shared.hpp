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

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace prelimpasses {

// Solves the point of the chain's point list named `name` when it needs
// computing, by `solve(point)` (1 placed), and stores it. 1 placed, 0 failed,
// -1 nothing to do.
template <class Chain, class Solve> int solveNamed(std::string_view name, Solve solve) {
    typename Chain::Station point;
    if (Chain::stations().find(name, point) < 0 || !Chain::needsComputing(point))
        return -1;
    if (solve(point) != 1)
        return 0;
    Chain::store(point);
    return 1;
}

// True when an angle has the point as its instrument or its backsight: the
// points the angle pass solves.
template <class Chain> bool setsUpOrIsSighted(std::string_view name) {
    bool found = false;
    Chain::angles().visitNaming(name, [&](const typename Chain::Angle& a) {
        found = sameName(fixedText(a.instrument), name) || sameName(fixedText(a.backsight), name);
        return !found;
    });
    return found;
}

// The points a placement of `name` may let the angle pass solve: every point
// of an angle that names it, and every point of the angles measured at the
// instruments of those angles (a placed point may orient such a setup).
template <class Chain> std::vector<std::string> pointsAround(std::string_view name) {
    std::vector<std::string> instruments;
    Chain::angles().visitNaming(name, [&](const typename Chain::Angle& a) {
        instruments.emplace_back(fixedText(a.instrument));
        return true;
    });
    std::vector<std::string> around;
    const auto add = [&around](std::string_view point) {
        if (std::find(around.begin(), around.end(), point) == around.end())
            around.emplace_back(point);
    };
    for (const std::string& instrument : instruments)
        Chain::angles().visitNaming(instrument, [&](const typename Chain::Angle& a) {
            if (sameName(fixedText(a.instrument), instrument))
                for (const pointNameField* point : {&a.instrument, &a.backsight, &a.foresight})
                    add(fixedText(*point));
            return true;
        });
    return around;
}

// Solves, outward from the points just placed, the instruments and
// backsights of the angles around them (pointsAround), and around every
// point it places, until nothing around is left to try. Returns the number
// it placed, each appended to `placed`.
template <class Chain, class Solve>
int solveOutwardFrom(std::vector<std::string>& placed, Solve solve) {
    int count = 0;
    for (std::size_t next = 0; next < placed.size(); ++next) {
        for (const std::string& point : pointsAround<Chain>(placed[next])) {
            if (!setsUpOrIsSighted<Chain>(point) || solveNamed<Chain>(point, solve) != 1)
                continue;
            placed.push_back(point);
            ++count;
        }
    }
    return count;
}

// Walks the chain's angles, solving the instrument and the backsight of each
// by `solve(point)` (1 placed) when they need computing, until a walk fails
// nowhere (0) or places nothing although some failed (1, stalled). `placed`
// counts the points placed. An angle with the backsight and instrument of the
// one before, which placed nothing, would place nothing either: it is passed
// over.
//
// Between two walks the points around those a walk placed are solved
// outward from them, breadth first: each point is then placed from the
// nearest of the points placed before it, and the walks that follow only
// take up what that missed. A walk after walk, each placing the next few
// points of a long chain, would make the pass grow as the number of points
// times the chain's length, and place points along needlessly long paths.
template <class Chain, class Solve> int solveAngleStations(int& placed, Solve solve) {
    placed = 0;
    const int angles = Chain::angles().count();
    for (;;) {
        bool failed = false;
        std::vector<std::string> placedThisWalk;
        std::optional<typename Chain::Angle> last;
        bool lastPlaced = false;
        prelim2d::walk(Chain::angles(), [&](const typename Chain::Angle& a, int index) {
            prelim2d::postProgress(index, angles);
            if (last && !lastPlaced && stationsolver::samePoint(a.backsight, last->backsight) &&
                stationsolver::samePoint(a.instrument, last->instrument))
                return true;
            lastPlaced = false;
            for (const pointNameField* name : {&a.instrument, &a.backsight}) {
                const int result = solveNamed<Chain>(fixedText(*name), solve);
                failed = failed || result == 0;
                lastPlaced = lastPlaced || result == 1;
                if (result == 1)
                    placedThisWalk.emplace_back(fixedText(*name));
            }
            last = a;
            return true;
        });
        placed += static_cast<int>(placedThisWalk.size());
        if (!failed)
            return 0;
        if (placedThisWalk.empty())
            return 1;
        placed += solveOutwardFrom<Chain>(placedThisWalk, solve);
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
