#include "engine/prelim_coords_3d.hpp"

#include "engine/assumed_azimuth_frame.hpp"
#include "engine/prelim_support_3d.hpp"
#include "model/program_lists.hpp"

namespace {

// The 3D chain in the assumed frame: the other fixed stations with a
// position join it; a station turned into place gets its geodetic values when
// the computation finishes. A failed frame is answered with the stations the
// run itself still lacks, not those of the frame.
struct chain3D {
    using Station = stationRec;
    using Angle = angleObs;
    using AzimuthList = obsList<azimuthObs>;
    static obsList<stationRec>& stations() { return stationList; }
    static obsList<stationRec>& fixed() { return fixedStationList; }
    static obsList<azimuthObs>& azimuths() { return azimuthList; }
    static obsList<angleObs>& angles() { return angleList; }
    static std::optional<stationRec> known(const pointNameField& name) {
        return prelim3d::knownStation(name);
    }
    static int isAngleStation(std::string_view name) { return isAngleStation3D(name); }
    static int prelimPass() { return prelimPass3D(); }
    static bool joinsFrame(const stationRec& station) { return isSet(station.easting); }
    static void placedInSaved(stationRec&) {}
    static int leftAfterFailure(int) { return prelim3d::countStationsToCompute(); }
};

} // namespace

int assumedAzimuthPass3D() {
    return assumedframe::solveInAssumedFrame<chain3D>();
}
