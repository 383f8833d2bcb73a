#include "engine/prelim_coords_3d.hpp"

#include "engine/prelim_support_3d.hpp"
#include "model/observation_builders.hpp"
#include "model/plane_geometry.hpp"
#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "platform/shell_services.hpp"

#include <cmath>
#include <numbers>
#include <optional>
#include <string>

using namespace prelim3d;

namespace {

// Zenith angles this close to the zenith or the nadir give no height: the
// horizontal distance over their tangent has no finite value.
constexpr double verticalSightLimit_rad = 1e-6;

// Writes a station changed by the elevation walks into `stationList`; false
// when the list has no such station (a fixed station is not changed) or the
// elevation has no finite value, so that no walk repeats for ever.
bool storeChangedStation(stationRec& station) {
    if (!std::isfinite(station.elevation) || stationList.indexOf(nameOf(station.name)) < 0)
        return false;
    storeStationGeodetic3D(station);
    return true;
}

// One end of a height difference: its elevation from the other end, and a
// missing geoid separation. True when it changed.
bool fillEnd(stationRec& end, const stationRec& other, double heightDiffToEnd) {
    bool changed = false;
    if (!isSet(end.elevation) && isSet(other.elevation)) {
        end.elevation = other.elevation + heightDiffToEnd;
        changed = true;
    }
    if (!isSet(end.geoidSep)) {
        fillGeoidSeparation(end);
        changed = true;
    }
    return changed && storeChangedStation(end);
}

// Carries an elevation along one height difference; true when it changed a
// station.
bool carryElevation(const distanceObs& line) {
    const auto from = knownStation(line.from);
    const auto to = knownStation(line.to);
    if (!from || !to)
        return false;
    stationRec a = *from;
    stationRec b = *to;
    const bool fromChanged = fillEnd(a, b, -line.meanHeightDiff);
    const bool toChanged = fillEnd(b, a, line.meanHeightDiff);
    return fromChanged || toChanged;
}

// The zenith of a sighting on the instrument's side of the horizon: a
// reading in the second face (beyond pi) is turned back.
std::optional<double> usableZenith(double zenith) {
    const double z = zenith > std::numbers::pi ? 2.0 * std::numbers::pi - zenith : zenith;
    if (z <= verticalSightLimit_rad || z >= std::numbers::pi - verticalSightLimit_rad)
        return std::nullopt;
    return z;
}

// The elevation of a positioned station from the first raw sighting of it
// with a zenith angle, an HI and a target height. True when it got one.
bool elevationFromZenith(stationRec& station) {
    std::string instrumentName;
    double zenith = 0.0, targetHeight = 0.0, HI = notComputed;
    if (!isSet(station.easting) ||
        findSetupBacksight(nameOf(station.name), instrumentName, zenith, targetHeight, HI) != 0 ||
        !isSet(HI))
        return false;
    const auto z = usableZenith(zenith);
    pointNameField name{};
    setPointName(name, instrumentName);
    const auto instrument = knownStation(name);
    if (!z || !instrument || !isSet(instrument->elevation))
        return false;
    double distance = 0.0;
    inverseDirDist(instrument->northing, instrument->easting, station.northing, station.easting,
                   distance);
    station.elevation = instrument->elevation + distance / std::tan(*z) + HI - targetHeight;
    fillGeoidSeparation(station);
    return storeChangedStation(station);
}

} // namespace

// No run context reaches computeInitialZ3D: its interface has none, so the
// shell is the active one (the run installs its own for its length).
int computeInitialZ3D() {
    activeShell().setMessage("Computing Initial Z's");
    const int lines = distanceList.count();
    for (bool changed = true; changed;) {
        changed = false;
        walk(distanceList, [&](const distanceObs& line, int index) {
            postProgress(index, lines);
            if (isSet(line.meanHeightDiff) && carryElevation(line))
                changed = true;
            return true;
        });
    }
    int withoutElevation = 0;
    const int stations = stationList.count();
    walk(stationList, [&](const stationRec& found, int index) {
        postProgress(index, stations);
        stationRec station = found;
        if (!isSet(station.elevation) && !elevationFromZenith(station))
            ++withoutElevation;
        return true;
    });
    return withoutElevation;
}

void setAzimuthConvergence3D() {
    rewrite(azimuthList, [](azimuthObs& az) {
        const auto from = knownStation(az.from);
        if (!from)
            return false;
        geodCoord at{};
        at.northing = from->northing;
        at.easting = from->easting;
        at.scale = 1.0;
        projGridMetersToGeod(at);
        az.convergence = at.conv;
        return true;
    });
}

void completeGeodeticCoords3D() {
    rewrite(stationList, [](stationRec& station) {
        if (!isSet(station.easting))
            return false;
        bool filled = false;
        if (!isSet(station.latitude)) {
            geodeticFromGridMeters(station);
            filled = isSet(station.latitude);
        }
        if (!isSet(station.ecefX)) {
            ecefFromGeodetic(station);
            filled = filled || isSet(station.ecefX);
        }
        return filled;
    });
}

void copyPrelimToControl3D() {
    rewrite(controlStationList, [](stationRec& control) {
        stationRec station;
        if (isSet(control.easting) || stationList.find(nameOf(control.name), station) < 0)
            return false;
        control.easting = station.easting;
        control.northing = station.northing;
        control.elevation = station.elevation;
        control.geoidSep = station.geoidSep;
        control.latitude = station.latitude;
        control.longitude = station.longitude;
        control.ecefX = station.ecefX;
        control.ecefY = station.ecefY;
        control.ecefZ = station.ecefZ;
        control.prelimCopied = 1;
        return true;
    });
}
