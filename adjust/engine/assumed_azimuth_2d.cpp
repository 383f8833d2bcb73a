#include "engine/prelim_coords_2d.hpp"

#include "engine/assumed_azimuth_frame.hpp"
#include "engine/prelim_support_2d.hpp"
#include "model/program_lists.hpp"

namespace {

// The 2D chain in the assumed frame: every other fixed point joins it, and a
// point turned into place gets its geodetic context there.
struct chain2D {
    using Station = coordRec;
    using Angle = angleObs2D;
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
    static int isAngleStation(std::string_view name) { return isAngleStation2D(name); }
    static int prelimPass() { return prelimPass2D(); }
    static bool joinsFrame(const coordRec&) { return true; }
    static void placedInSaved(coordRec& point) { prelim2d::refreshGeodeticContext(point); }
    static int leftAfterFailure(int leftInFrame) { return leftInFrame; }
};

} // namespace

int assumedAzimuthPass2D() {
    return assumedframe::solveInAssumedFrame<chain2D>();
}
