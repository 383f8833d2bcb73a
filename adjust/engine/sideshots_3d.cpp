#include "engine/sideshots_3d.hpp"

#include "engine/line_combined_factor.hpp"
#include "engine/prelim_support_3d.hpp"
#include "engine/sideshot_figures.hpp"
#include "model/direction_between_points.hpp"
#include "model/point_errors.hpp"
#include "model/point_name.hpp"
#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "model/record_walks.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/shell_services.hpp"

#include <cmath>
#include <initializer_list>
#include <vector>

namespace {

double spread(double stdErr) {
    return stdErr > 0 ? stdErr : 0.0;
}

bool knownStation(std::string_view name, stationRec& station) {
    if (stationList.find(name, station) < 0 && fixedStationList.find(name, station) < 0)
        return false;
    return isSet(station.easting);
}

// Latitude, longitude (east-positive, as the stations hold it) and X, Y, Z
// of a station placed on the grid.
void completeFromGrid(stationRec& p) {
    geodeticFromGridMeters(p);
    prelim3d::ecefFromGeodetic(p);
}

// P from a distance to a known station and the direction from it.
bool placeRadially(stationRec& p, const distanceObs& d, int angleCursor,
                   SideshotPlacement3D& placement) {
    const std::string_view name = fixedText(p.name);
    std::string_view otherName;
    double heightDiff = d.meanHeightDiff; // from the known station to P
    if (sameName(fixedText(d.from), name)) {
        otherName = fixedText(d.to);
        heightDiff = -heightDiff;
    } else if (sameName(fixedText(d.to), name)) {
        otherName = fixedText(d.from);
    } else {
        return false;
    }
    stationRec k;
    double t = 0.0, st = 0.0;
    if (!isSet(d.meanDist) || !knownStation(otherName, k) ||
        azimuthBetween3D(t, st, otherName, name, angleCursor) != directionFound)
        return false;
    const double sinT = std::sin(t), cosT = std::cos(t);
    stationRec provisional = p;
    provisional.easting = k.easting + d.meanDist * sinT;
    provisional.northing = k.northing + d.meanDist * cosT;
    provisional.elevation = k.elevation;
    const double dist = lineCombinedFactor(k, provisional) * d.meanDist;
    const double sd = spread(d.stdErr);
    p.easting = k.easting + dist * sinT;
    p.northing = k.northing + dist * cosT;
    if (isSet(k.elevation) && isSet(d.meanHeightDiff))
        p.elevation = k.elevation + heightDiff;
    p.stdErrE = std::sqrt(std::pow(spread(k.stdErrE), 2) + sinT * sinT * sd * sd +
                          std::pow(dist * cosT * st, 2));
    p.stdErrN = std::sqrt(std::pow(spread(k.stdErrN), 2) + cosT * cosT * sd * sd +
                          std::pow(dist * sinT * st, 2));
    completeFromGrid(p);
    placement.rule = SideshotPlacement3D::Rule::radial;
    placement.station = p;
    placement.known[0] = fixedText(k.name);
    placement.distance = dist;
    placement.angles_rad[0] = t;
    return true;
}

// One round of `distanceList` from the cursor, wrapping to the start; only
// the distances that name P can place it, so only those are tried, in the
// round's order.
bool locateRadially(stationRec& p, int angleCursor, int distanceCursor,
                    SideshotPlacement3D& placement) {
    distanceObs d;
    const bool atEnd = distanceList.getAtCursor(distanceCursor, d) != 0;
    const int start = atEnd ? 0 : distanceList.cursorIndex(distanceCursor);
    const std::vector<sideshotfigures::Numbered<distanceObs>> round =
        sideshotfigures::roundNaming<distanceObs>(distanceList, fixedText(p.name), start);
    for (const auto& [position, distance] : round) {
        if (placeRadially(p, distance, angleCursor, placement)) {
            distanceList.seekCursorAfter(distanceCursor, position);
            return true;
        }
    }
    if (!atEnd && start == 0)
        distanceList.seekCursorAfter(distanceCursor, distanceList.count() - 1);
    return false;
}

// The placement of a station by two figures: the known stations and the
// two angles or directions.
SideshotPlacement3D placedBy(SideshotPlacement3D::Rule rule, const stationRec& station,
                             std::initializer_list<std::string_view> known, double first_rad,
                             double second_rad) {
    SideshotPlacement3D placement;
    placement.rule = rule;
    placement.station = station;
    std::size_t i = 0;
    for (const std::string_view name : known)
        placement.known[i++] = name;
    placement.angles_rad[0] = first_rad;
    placement.angles_rad[1] = second_rad;
    return placement;
}

bool resetSideshotPosition(stationRec& s) {
    if (s.pointType != ptSideshot)
        return false;
    s.easting = notComputed;
    s.northing = notComputed;
    s.latitude = notComputed;
    s.longitude = notComputed;
    s.ecefX = notComputed;
    s.ecefY = notComputed;
    s.ecefZ = notComputed;
    return true;
}

} // namespace

int locateSideshotByGps3D(stationRec& station, SideshotPlacement3D& placement) {
    const std::string_view name = fixedText(station.name);
    bool placed = false;
    gpsVectorList.visitNaming(name, [&](const gpsVectorRec& v) {
        const bool isTo = sameName(fixedText(v.to), name);
        if (!isTo && !sameName(fixedText(v.from), name))
            return true;
        stationRec known;
        setPointName(known.name, isTo ? fixedText(v.from) : fixedText(v.to));
        if (findKnownStation3D(known) != stationFound || !isSet(known.ecefX))
            return true;
        const double sign = isTo ? 1.0 : -1.0;
        station.ecefX = known.ecefX + sign * v.dX;
        station.ecefY = known.ecefY + sign * v.dY;
        station.ecefZ = known.ecefZ + sign * v.dZ;
        projEcefToGeod(station);
        geodCoord at = gridCallPosition(station);
        projGeodToGridMeters(at);
        double separation = 0.0;
        getGeoidHeight(at, separation);
        station.geoidSep = separation;
        station.northing = at.northing;
        station.easting = at.easting;
        placement.rule = SideshotPlacement3D::Rule::gpsVector;
        placement.station = station;
        placement.vector = v;
        placed = true;
        return false;
    });
    return placed ? 1 : 0;
}

int locateSideshotByResection3D(stationRec& station, SideshotPlacement3D& placement) {
    sideshotfigures::ResectionAngles<stationRec> r;
    if (!sideshotfigures::resectSideshot(angleList, station, knownStation, r))
        return 0;
    completeFromGrid(station);
    placement =
        placedBy(SideshotPlacement3D::Rule::twoAngles, station,
                 {fixedText(r.b1.name), fixedText(r.f1.name), fixedText(r.f2.name)}, r.a1, r.a2);
    return 1;
}

int locateSideshotByAzimuths3D(stationRec& station, SideshotPlacement3D& placement,
                               int angleCursor) {
    sideshotfigures::Sightings<stationRec> s;
    if (!sideshotfigures::intersectSightings(stationList, fixedStationList, station,
                                             azimuthBetween3D, angleCursor, intersectDirections3D,
                                             s))
        return 0;
    completeFromGrid(station);
    placement = placedBy(SideshotPlacement3D::Rule::twoDirections, station,
                         {fixedText(s.found[0].point.name), fixedText(s.found[1].point.name)},
                         s.found[0].direction_rad, s.found[1].direction_rad);
    return 1;
}

int locateSideshot3D(stationRec& station, int angleCursor, int distanceCursor,
                     SideshotPlacement3D& placement) {
    if (locateRadially(station, angleCursor, distanceCursor, placement) ||
        locateSideshotByGps3D(station, placement) != 0 ||
        locateSideshotByResection3D(station, placement) != 0)
        return 1;
    return locateSideshotByAzimuths3D(station, placement, angleCursor);
}

Sideshots3D computeSideshots3D(const RunContext& context) {
    ShellServices& shell = context.shell;
    const int angleCursor = angleList.openCursor(0);
    const int distanceCursor = distanceList.openCursor(0);
    shell.setMessage("Initializing Sideshots");
    Sideshots3D result;
    changeRecords(stationList, [&](stationRec& s) {
        const bool reset = resetSideshotPosition(s);
        result.count += reset ? 1 : 0;
        return reset;
    });
    shell.setMessage("Computing Sideshots");
    shell.setPercent(0);
    for (bool placed = true; placed;) {
        placed = false;
        changeRecords(stationList, [&](stationRec& s) {
            if (s.pointType != ptSideshot || isSet(s.easting))
                return false;
            shell.setMessage(platform::formatC("Computing Sideshot: %s",
                                               std::string(fixedText(s.name)).c_str()));
            SideshotPlacement3D placement;
            if (locateSideshot3D(s, angleCursor, distanceCursor, placement) == 0)
                return false;
            result.placements.push_back(std::move(placement));
            placed = true;
            return true;
        });
    }
    shell.setPercent(0);
    distanceList.closeCursor(distanceCursor);
    angleList.closeCursor(angleCursor);
    return result;
}
