#include "input/supplemental_stations.hpp"

#include "input/supplemental_files.hpp"
#include "model/error_file_warnings.hpp"
#include "model/list_snapshot.hpp"
#include "model/observation_builders.hpp"
#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/length_units.hpp"

namespace {

bool observed3D(const std::string& name) {
    return isPointInDistances3D(name) || isPointInAngles3D(name) || isPointInAzimuths3D(name) ||
           isPointInGpsVectors(name);
}

bool observed2D(const std::string& name) {
    return isPointInDistances2D(name) || isPointInAngles2D(name) || isPointInAzimuths2D(name) ||
           isPointInGpsVectors(name);
}

// A length standard error in metres; the markers (0 and below) stay as they are.
double stdErrInMetres(double value, double factor) {
    return value > 0.0 ? value * factor : value;
}

struct StdErrs {
    double easting;
    double northing;
    double elevation;
};

StdErrs stdErrsOf(const SupplementalLine& line) {
    if (line.hasStdErrs)
        return {line.stdErrE, line.stdErrN, line.stdErrZ};
    return {projectVars.stErrX, projectVars.stErrY, projectVars.stErrZ};
}

// Fills what the stored point lacks; texts that the line gives replace.
template <class Point> void fillUnset(Point& stored, const Point& line) {
    if (!isSet(stored.northing))
        stored.northing = line.northing;
    if (!isSet(stored.easting))
        stored.easting = line.easting;
    if (!isSet(stored.elevation))
        stored.elevation = line.elevation;
    if (!line.description.empty())
        stored.description = line.description;
    if (!line.description2.empty())
        stored.description2 = line.description2;
}

template <class Point> bool positioned(const Point& p) {
    return isSet(p.northing) && isSet(p.easting);
}

// Latitude, longitude, separation and X, Y, Z of a station from its grid
// position in metres; its elevation given orthometric becomes ellipsoidal.
void placeStation(stationRec& station, double orthometric) {
    if (!positioned(station)) {
        station.elevation = orthometric;
        return;
    }
    const double toUnit = units::unitsPerMetre(projectVars.HorizUnits);
    geodCoord at{};
    at.northing = station.northing * toUnit;
    at.easting = station.easting * toUnit;
    at.lat = at.lon = notComputed;
    at.scale = 1.0;
    projGridToGeod(at);
    double separation = 0.0;
    const std::string name(fixedText(station.name));
    if (getGeoidHeight(at, separation) != 0)
        warnGeoidSeparation(name);
    station.latitude = at.lat;
    station.longitude = projectVars.gridSystem == gridStatePlane83 ? -at.lon : at.lon;
    station.geoidSep = separation;
    station.elevation = isSet(orthometric) ? orthometric + separation : notComputed;
    if (isSet(station.elevation))
        projGeodToEcef(station);
}

stationRec stationOf(const SupplementalLine& line) {
    const double f = units::metresPerUnit(projectVars.HorizUnits);
    const auto metres = [f](double v) { return isSet(v) ? v * f : v; };
    stationRec station;
    initStationRec(station);
    setPointName(station.name, line.name);
    station.northing = metres(line.northing);
    station.easting = metres(line.easting);
    placeStation(station, metres(line.elevation));
    station.description = line.description;
    station.description2 = line.code;
    const StdErrs e = stdErrsOf(line);
    station.stdErrE = stdErrInMetres(e.easting, f);
    station.stdErrN = stdErrInMetres(e.northing, f);
    station.stdErrZ = stdErrInMetres(e.elevation, f);
    station.resetFlag = 0;
    station.pointType = positioned(station) ? ptWeightedControl : ptUnknown;
    return station;
}

// The orthometric height of a station whose elevation is held ellipsoidal.
double orthometricOf(const stationRec& station) {
    if (!isSet(station.elevation))
        return notComputed;
    return isSet(station.geoidSep) ? station.elevation - station.geoidSep : station.elevation;
}

void takeStation(const SupplementalLine& line) {
    if (line.name.empty())
        return;
    const stationRec read = stationOf(line);
    stationRec stored;
    if (controlStationList.find(line.name, stored) < 0) {
        if (observed3D(line.name))
            controlStationList.append(read);
        return;
    }
    const double orthometric =
        isSet(stored.elevation) ? orthometricOf(stored) : orthometricOf(read);
    fillUnset(stored, read);
    placeStation(stored, orthometric);
    stored.stdErrE = read.stdErrE;
    stored.stdErrN = read.stdErrN;
    stored.stdErrZ = read.stdErrZ;
    stored.resetFlag = 0;
    if (positioned(stored))
        stored.pointType = ptWeightedControl;
    controlStationList.replace(stored);
}

coordRec pointOf(const SupplementalLine& line, int format) {
    coordRec point;
    initCoordRec(point);
    setPointName(point.name, line.name);
    point.northing = line.northing;
    point.easting = line.easting;
    point.elevation = line.elevation;
    point.description = line.description;
    point.description2 = line.code;
    if (format == supplementalLatLong && positioned(point)) {
        const geodCoord at = geodOfGridPoint(point.northing, point.easting);
        double separation = 0.0;
        if (getGeoidHeight(at, separation) != 0)
            warnGeoidSeparation(line.name);
        point.geoidSep = separation;
    }
    const StdErrs e = stdErrsOf(line);
    point.stdErrE = e.easting;
    point.stdErrN = e.northing;
    point.stdErrZ = e.elevation;
    return point;
}

void settleTypes(coordRec& point) {
    point.resetFlag = 0;
    point.gridFactor = point.elevFactor = 1.0;
    if (positioned(point))
        point.pointType = ptWeightedControl;
    if (!isSet(point.elevation))
        point.vertType = vtFreeElevation;
    else
        point.vertType = point.stdErrZ > 0.0 ? vtWeightedElevation : vtFixedElevation;
}

void takePoint(const SupplementalLine& line, int format) {
    if (line.name.empty())
        return;
    coordRec read = pointOf(line, format);
    coordRec stored;
    if (controlPointList2D.find(line.name, stored) < 0) {
        if (!observed2D(line.name))
            return;
        settleTypes(read);
        controlPointList2D.append(read);
        return;
    }
    const bool wasPositioned = positioned(stored);
    fillUnset(stored, read);
    if (format == supplementalLatLong && !wasPositioned && positioned(stored))
        stored.geoidSep = read.geoidSep;
    stored.stdErrE = read.stdErrE;
    stored.stdErrN = read.stdErrN;
    stored.stdErrZ = read.stdErrZ;
    settleTypes(stored);
    controlPointList2D.replace(stored);
}

} // namespace

int loadSupplementalStations(std::string& error) {
    if (readSupplementalControl(takeStation, error) != 0)
        return 1;
    mergeControlIntoStations();
    return 0;
}

int loadSupplementalCoords(std::string& error) {
    const int format = projectVars.nezFileFmtType;
    // Latitudes and longitudes have no place in a local system.
    if (format == supplementalLatLong && projectVars.gridSystem == gridLocal)
        return 0;
    return readSupplementalControl(
        [format](const SupplementalLine& line) { takePoint(line, format); }, error);
}

void mergeControlIntoStations() {
    for (const stationRec& station : recordsOf(controlStationList)) {
        if (stationList.replace(station) >= 0)
            continue;
        if (fixedStationList.indexOf(fixedText(station.name)) < 0)
            stationList.append(station);
    }
}
