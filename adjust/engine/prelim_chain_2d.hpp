#pragma once
// The 2D chain as the shared parts of the preliminary coordinates see it
// (engine/station_solver_shared.hpp, engine/assumed_azimuth_frame.hpp,
// engine/prelim_passes_shared.hpp): its records, its lists and its own
// steps.

#include "engine/placement_links.hpp"
#include "engine/prelim_coords_2d.hpp"
#include "engine/prelim_support_2d.hpp"
#include "model/program_lists.hpp"

#include <optional>
#include <string_view>
#include <vector>

namespace prelim2d {

struct chain {
    using Station = coordRec;
    using Angle = angleObs2D;
    using KeptDistance = keptDistance2D;
    using AzimuthList = seqList<azimuthObs>;

    static obsList<coordRec>& stations() { return pointList2D; }
    static obsList<coordRec>& fixed() { return fixedPointList2D; }
    static seqList<azimuthObs>& azimuths() { return azimuthList2D; }
    static obsList<angleObs2D>& angles() { return angleList2D; }

    static std::optional<coordRec> known(const pointNameField& name) {
        coordRec point;
        setPointName(point.name, fixedText(name));
        if (findKnownStation2D(point) != 0)
            return std::nullopt;
        return point;
    }
    static bool needsComputing(const coordRec& point) { return prelim2d::needsComputing(point); }
    static int countToCompute() { return countPointsToCompute(); }
    static void store(coordRec& point) { storePlacedPoint(point); }
    // The stations the points of this run were placed from.
    static placementLinks& links() {
        static placementLinks placed;
        return placed;
    }
    static int isAngleStation(std::string_view name) { return isAngleStation2D(name); }

    static int polar(const std::vector<keptDistance2D>& distances,
                     const std::vector<keptDirection2D>& directions, coordRec& point) {
        return polarFromDistDir2D(distances, directions, point);
    }

    // The assumed frame: every other fixed point joins it; a point turned
    // into place gets its geodetic context there.
    static int prelimPass() { return prelimPass2D(); }
    static bool joinsFrame(const coordRec&) { return true; }
    static void placedInSaved(coordRec& point) { refreshGeodeticContext(point); }
    static int leftAfterFailure(int leftInFrame) { return leftInFrame; }
};

} // namespace prelim2d
