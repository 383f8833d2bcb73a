#pragma once
// The 3D chain as the shared parts of the preliminary coordinates see it
// (engine/station_solver_shared.hpp, engine/assumed_azimuth_frame.hpp,
// engine/prelim_passes_shared.hpp): its records, its lists and its own
// steps.

#include "engine/placement_links.hpp"
#include "engine/prelim_coords_3d.hpp"
#include "engine/prelim_support_3d.hpp"
#include "model/program_lists.hpp"

#include <optional>
#include <string_view>
#include <vector>

namespace prelim3d {

struct chain {
    using Station = stationRec;
    using Angle = angleObs;
    using KeptDistance = keptDistance3D;
    using AzimuthList = obsList<azimuthObs>;

    static obsList<stationRec>& stations() { return stationList; }
    static obsList<stationRec>& fixed() { return fixedStationList; }
    static obsList<azimuthObs>& azimuths() { return azimuthList; }
    static obsList<angleObs>& angles() { return angleList; }

    static std::optional<stationRec> known(const pointNameField& name) {
        return knownStation(name);
    }
    static bool needsComputing(const stationRec& station) {
        return prelim3d::needsComputing(station);
    }
    static int countToCompute() { return countStationsToCompute(); }
    static void store(stationRec& station) { completeStation(station); }
    // The stations the points of this run were placed from.
    static placementLinks& links() {
        static placementLinks placed;
        return placed;
    }
    static int isAngleStation(std::string_view name) { return isAngleStation3D(name); }

    static int polar(const std::vector<keptDistance3D>& distances,
                     const std::vector<keptDirection3D>& directions, stationRec& station) {
        return polarFromDistDir3D(distances, directions, station);
    }

    // The assumed frame: the other fixed stations with a position join it; a
    // station turned into place gets its geodetic values when the
    // computation finishes. A failed frame is answered with the stations the
    // run itself still lacks, not those of the frame.
    static int prelimPass() { return prelimPass3D(); }
    static bool joinsFrame(const stationRec& station) { return isSet(station.easting); }
    static void placedInSaved(stationRec&) {}
    static int leftAfterFailure(int) { return countStationsToCompute(); }
};

} // namespace prelim3d
