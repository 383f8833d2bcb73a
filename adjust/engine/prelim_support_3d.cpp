#include "engine/prelim_support_3d.hpp"

#include "engine/line_combined_factor.hpp"
#include "model/error_file_warnings.hpp"
#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "model/settings/global_vars.hpp"

#include <cmath>

namespace prelim3d {

namespace {

// The forward projections of State Plane 1983 and of the user-defined
// transverse Mercator, Lambert and azimuth oblique Mercator take longitudes
// positive west.
double projectionLongitude(double eastLongitude) {
    const globalVars& s = projectVars;
    bool westPositive = s.gridSystem == gridStatePlane83;
    if (s.gridSystem == gridUserDefined)
        westPositive =
            s.udp.ProjInt == udpTransverseMercator || s.udp.ProjInt == udpLambertOneParallel ||
            s.udp.ProjInt == udpLambertTwoParallels || s.udp.ProjInt == udpObliqueMercatorAzimuth;
    return westPositive ? -eastLongitude : eastLongitude;
}

} // namespace

bool needsComputing(const stationRec& station) {
    return !isSet(station.easting) && station.pointType != ptCarried;
}

int countStationsToCompute() {
    return countWhere(stationList, needsComputing);
}

std::optional<stationRec> knownStation(const pointNameField& name) {
    stationRec station;
    setPointName(station.name, fixedText(name));
    if (findKnownStation3D(station) != stationFound)
        return std::nullopt;
    return station;
}

void fillGeoidSeparation(stationRec& station) {
    double separation = 0.0;
    if (getGeoidHeight(gridMetersPosition(station), separation) != 0)
        warnGeoidSeparation(nameOf(station.name));
    station.geoidSep = separation;
}

void ecefFromGeodetic(stationRec& station) {
    if (isSet(station.latitude) && isSet(station.elevation))
        projGeodToEcef(station);
}

void storeStationGeodetic3D(stationRec& station) {
    geodeticFromGridMeters(station);
    ecefFromGeodetic(station);
    stationList.replace(station);
}

void completeStation(stationRec& station) {
    fillGeoidSeparation(station);
    storeStationGeodetic3D(station);
}

bool placeByVector(stationRec& station, const stationRec& known, const gpsVectorRec& vector,
                   bool stationIsTo) {
    if (!isSet(known.ecefX))
        return false;
    const double sign = stationIsTo ? 1.0 : -1.0;
    stationRec placed = station;
    placed.ecefX = known.ecefX + sign * vector.dX;
    placed.ecefY = known.ecefY + sign * vector.dY;
    placed.ecefZ = known.ecefZ + sign * vector.dZ;
    placed.latitude = notComputed;
    projEcefToGeod(placed);
    if (!isSet(placed.latitude))
        return false;
    geodCoord at{};
    at.lat = placed.latitude;
    at.lon = projectionLongitude(placed.longitude);
    at.northing = notComputed;
    at.easting = notComputed;
    at.scale = 1.0;
    projGeodToGridMeters(at);
    if (!isSet(at.easting))
        return false;
    placed.northing = at.northing;
    placed.easting = at.easting;
    fillGeoidSeparation(placed);
    station = placed;
    return true;
}

void placePolar(stationRec& station, const stationRec& from, double distance, double direction) {
    station.northing = from.northing + distance * std::cos(direction);
    station.easting = from.easting + distance * std::sin(direction);
}

void placeByGroundDistance(stationRec& station, const stationRec& known, double groundDistance,
                           double direction, double heightDiff) {
    placePolar(station, known, groundDistance, direction);
    if (isSet(known.elevation) && isSet(heightDiff))
        station.elevation = known.elevation + heightDiff;
    placePolar(station, known, groundDistance * lineCombinedFactor(known, station), direction);
}

bool hasDistance(const distanceObs& line) {
    return isSet(line.meanDist) && line.meanDist > 0.0;
}

} // namespace prelim3d
