#include "engine/prelim_coords_3d.hpp"

#include "engine/prelim_support_3d.hpp"
#include "model/plane_geometry.hpp"
#include "model/program_lists.hpp"

#include <cmath>
#include <optional>

using namespace prelim3d;

namespace {

constexpr double assumedAzimuthStdErr = 5.0; // seconds of arc

// The lists the pass changes, as they were before it.
class savedLists {
public:
    savedLists() {
        stations.copyFrom(stationList);
        fixed.copyFrom(fixedStationList);
        azimuths.copyFrom(azimuthList);
    }
    void putBack() {
        stationList.copyFrom(stations);
        fixedStationList.copyFrom(fixed);
        azimuthList.copyFrom(azimuths);
    }

    obsList<stationRec> stations;
    obsList<stationRec> fixed;
    obsList<azimuthObs> azimuths;
};

bool isOrigin(const stationRec& station, const stationRec& origin) {
    return samePoint(station.name, origin.name);
}

// The first station of `list` with a position that an angle names, the
// origin excepted (none is excepted when `origin` is null).
std::optional<stationRec> firstAngleStation(obsList<stationRec>& list, const stationRec* origin) {
    std::optional<stationRec> found;
    walk(list, [&](const stationRec& station, int) {
        if (isSet(station.easting) && (origin == nullptr || !isOrigin(station, *origin)) &&
            isAngleStation3D(fixedText(station.name)) == 1)
            found = station;
        return !found;
    });
    return found;
}

// Azimuth 0 from the origin along the first angle that names it: to its
// backsight when the origin is the instrument, else to its instrument.
azimuthObs assumedAzimuthFrom(const stationRec& origin) {
    azimuthObs assumed;
    setPointName(assumed.from, fixedText(origin.name));
    angleList.visitNaming(fixedText(origin.name), [&](const angleObs& a) {
        const bool atInstrument = samePoint(a.instrument, origin.name);
        setPointName(assumed.to, fixedText(atInstrument ? a.backsight : a.instrument));
        return false;
    });
    assumed.azimuth = 0.0;
    assumed.convergence = 0.0;
    assumed.stdErr = assumedAzimuthStdErr;
    return assumed;
}

// Leaves the origin as the only known station and the assumed azimuth as the
// only orientation: every other fixed station with a position joins the
// stations of the run, and every station named by an angle loses its
// position, to be computed afresh.
void enterAssumedFrame(const stationRec& origin, const azimuthObs& assumed,
                       obsList<stationRec>& savedFixed) {
    azimuthList.clear();
    azimuthList.append(assumed);
    walk(savedFixed, [&](const stationRec& station, int) {
        if (isSet(station.easting) && !isOrigin(station, origin))
            stationList.append(station);
        return true;
    });
    fixedStationList.clear();
    fixedStationList.append(origin);
    rewrite(stationList, [&](stationRec& station) {
        if (!isSet(station.easting) || isOrigin(station, origin) ||
            isAngleStation3D(fixedText(station.name)) == 0)
            return false;
        station.easting = notComputed;
        station.northing = notComputed;
        return true;
    });
}

std::optional<stationRec> computedPosition(const pointNameField& name) {
    return knownStation(name);
}

double directionBetween(const stationRec& from, const stationRec& to) {
    double distance = 0.0;
    return inverseDirDist(from.northing, from.easting, to.northing, to.easting, distance);
}

// The turn from the assumed frame onto the control: the known direction from
// the origin to a second known station, or the first observed azimuth, less
// the same direction as computed.
std::optional<double> rotationOntoControl(savedLists& saved, const stationRec& origin) {
    azimuthObs observed;
    if (saved.azimuths.getAt(0, observed) == 0) {
        const auto from = computedPosition(observed.from);
        const auto to = computedPosition(observed.to);
        if (!from || !to)
            return std::nullopt;
        return normalizedAngle(observed.azimuth - directionBetween(*from, *to));
    }
    auto reference = firstAngleStation(saved.stations, &origin);
    if (!reference)
        reference = firstAngleStation(saved.fixed, &origin);
    if (!reference)
        return std::nullopt;
    const auto computed = computedPosition(reference->name);
    if (!computed)
        return std::nullopt;
    return normalizedAngle(directionBetween(origin, *reference) -
                           directionBetween(origin, *computed));
}

// Every station that had no position and got one in the assumed frame takes
// it turned about the origin, in the saved list. A station placed there that
// no angle names (by distances from angle stations, say) is turned too: left
// without a position it would go to the adjustment unplaced.
void rotateNewStations(savedLists& saved, const stationRec& origin, double rotation) {
    rewrite(saved.stations, [&](stationRec& station) {
        if (isSet(station.easting))
            return false;
        const auto computed = computedPosition(station.name);
        if (!computed)
            return false;
        double distance = 0.0;
        const double direction = inverseDirDist(origin.northing, origin.easting, computed->northing,
                                                computed->easting, distance) +
                                 rotation;
        station.easting = origin.easting + distance * std::sin(direction);
        station.northing = origin.northing + distance * std::cos(direction);
        return true;
    });
}

} // namespace

int assumedAzimuthPass3D() {
    auto origin = firstAngleStation(fixedStationList, nullptr);
    if (!origin)
        origin = firstAngleStation(stationList, nullptr);
    if (!origin)
        return assumedAzimuth3DImpossible;

    savedLists saved;
    enterAssumedFrame(*origin, assumedAzimuthFrom(*origin), saved.fixed);
    if (prelimPass3D() != 0) {
        saved.putBack();
        return countStationsToCompute();
    }
    const auto rotation = rotationOntoControl(saved, *origin);
    if (!rotation) {
        saved.putBack();
        return assumedAzimuth3DImpossible;
    }
    rotateNewStations(saved, *origin, *rotation);
    saved.putBack();
    return countStationsToCompute();
}
