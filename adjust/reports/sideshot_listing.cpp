#include "reports/sideshot_listing.hpp"

#include "model/angle_text.hpp"
#include "model/geoid_elevation.hpp"
#include "model/number_format.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_writer.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"
#include "reports/report_words.hpp"

#include <string>

int sideshotKind = noSideshotKind;

namespace {

using platform::formatC;

std::string directionWord() {
    return projectVars.directionType != 0 ? "Azimuth" : "Bearing";
}

std::string columnHeading(int kind) {
    const CoordinateLetters c = coordinateLetters();
    const std::string word = directionWord();
    switch (kind) {
    case radialSideshot:
        return formatC(" From      To              %s       Dist.      %c             %c     "
                       "StDev. %c  StDev. %c",
                       word.c_str(), c.first, c.second, c.first, c.second);
    case twoDirectionSideshot:
        return formatC(" From       %s       From       %s       To            %c              "
                       "%c        StDev. %c  StDev. %c",
                       word.c_str(), word.c_str(), c.first, c.second, c.first, c.second);
    default:
        return formatC(" Pt. 1      Pt. 2      Pt. 3          Ang. 1      Ang. 2    SS Pt.#        "
                       "%c            %c",
                       c.first, c.second);
    }
}

// A line of the given kind, after its column heading when the kind changes.
int writeSideshotLine(int kind, const std::string& line) {
    ReportWriter out(rptFile);
    if (sideshotKind != kind) {
        out.blank().line(columnHeading(kind)).blank();
        sideshotKind = kind;
    }
    return out.line(line).result();
}

// Two texts in the order of the coordinate columns.
struct ColumnPair {
    std::string first;
    std::string second;
};

ColumnPair inColumnOrder(std::string northing, std::string easting) {
    if (coordinateLetters().eastingFirst)
        return {std::move(easting), std::move(northing)};
    return {std::move(northing), std::move(easting)};
}

double unitFactor() {
    return units::unitsPerMetre(projectVars.HorizUnits);
}

} // namespace

int writeRptSideshotsHeading() {
    sideshotKind = noSideshotKind;
    return ReportWriter(rptFile)
        .blank()
        .blank()
        .line("Sideshots")
        .line(std::string(9, '='))
        .blank()
        .result();
}

int writeRptSideshotLine(std::string_view from, double distance, double direction_rad,
                         double northing, double easting, double stdErrN, double stdErrE,
                         std::string_view to) {
    const ColumnPair xy = inColumnOrder(formatCoordinate(northing), formatCoordinate(easting));
    const ColumnPair errors = inColumnOrder(formatStdError(stdErrN), formatStdError(stdErrE));
    return writeSideshotLine(
        radialSideshot, formatC(" %-10.10s %-10.10s %s %s %s %s %s %s", std::string(from).c_str(),
                                std::string(to).c_str(), directionToText(direction_rad).c_str(),
                                formatDistance(distance).c_str(), xy.first.c_str(),
                                xy.second.c_str(), errors.first.c_str(), errors.second.c_str()));
}

int writeRptSideshotLine3D(std::string_view from, double distance_m, double direction_rad,
                           double northing_m, double easting_m, double stdErrN, double stdErrE,
                           std::string_view to) {
    const double f = unitFactor();
    return writeRptSideshotLine(from, distance_m * f, direction_rad, northing_m * f, easting_m * f,
                                stdErrN, stdErrE, to);
}

int writeRptAzimuthIntersectLine(std::string_view first, double firstDirection_rad,
                                 std::string_view second, double secondDirection_rad,
                                 double northing, double easting, double stdErrN, double stdErrE,
                                 std::string_view sideshot) {
    const ColumnPair xy = inColumnOrder(formatCoordinate(northing), formatCoordinate(easting));
    const ColumnPair errors = inColumnOrder(formatStdError(stdErrN), formatStdError(stdErrE));
    return writeSideshotLine(
        twoDirectionSideshot,
        formatC(" %-10.10s %s  %-10.10s %s  %-10.10s %s %s %s %s", std::string(first).c_str(),
                directionToText(firstDirection_rad).c_str(), std::string(second).c_str(),
                directionToText(secondDirection_rad).c_str(), std::string(sideshot).c_str(),
                xy.first.c_str(), xy.second.c_str(), errors.first.c_str(), errors.second.c_str()));
}

int writeRptAngleIntersectLine(std::string_view point1, std::string_view point2,
                               std::string_view point3, double firstAngle_rad,
                               double secondAngle_rad, double northing, double easting,
                               std::string_view sideshot) {
    const ColumnPair xy = inColumnOrder(formatCoordinate(northing), formatCoordinate(easting));
    return writeSideshotLine(
        twoAngleSideshot,
        formatC(" %-10.10s  %-10.10s  %-10.10s %s %s  %-10.10s %s %s", std::string(point1).c_str(),
                std::string(point2).c_str(), std::string(point3).c_str(),
                angleToText(firstAngle_rad).c_str(), directionToText(secondAngle_rad).c_str(),
                std::string(sideshot).c_str(), xy.first.c_str(), xy.second.c_str()));
}

int writeRptGpsSideshotLine(const stationRec& point, const gpsVectorRec& vector) {
    const double f = unitFactor();
    const std::string from = std::string(fixedText(vector.from));
    const std::string to = std::string(fixedText(vector.to));
    const double elevation = geoidElevation(point);
    return ReportWriter(rptFile)
        .line(formatC(" From:%-10.10s  Delta X: %12.4f  Delta Y:%12.4f   Delta Z:%12.4f",
                      from.c_str(), vector.dX, vector.dY, vector.dZ))
        .line(formatC(" To  :%-10.10s        N:%s   E:%s   Z:%s", to.c_str(),
                      formatCoordinate(point.northing * f).c_str(),
                      formatCoordinate(point.easting * f).c_str(),
                      formatElevation(isSet(elevation) ? elevation * f : elevation).c_str()))
        .blank()
        .result();
}

int writeRptBlankLines() {
    return ReportWriter(rptFile).blank().blank().result();
}

int writeRptVertSideshotsHeading() {
    return ReportWriter(rptFile)
        .blank()
        .line("Vertical Sideshots")
        .line(" Station                Elevation")
        .blank()
        .result();
}

int writeRptVertSideshotLine(coordRec point) {
    const std::string name(fixedText(point.name));
    return writeLine(
        rptFile, formatC(" %-20.20s   %s", name.c_str(), formatDistance(point.elevation).c_str()));
}

namespace {

int writeRptSideshotPlacement(const SideshotPlacement& p) {
    switch (p.rule) {
    case SideshotPlacement::Rule::radial:
        return writeRptSideshotLine(p.known[0], p.distance, p.angles_rad[0], p.northing, p.easting,
                                    p.stdErrN, p.stdErrE, p.sideshot);
    case SideshotPlacement::Rule::twoDirections:
        return writeRptAzimuthIntersectLine(p.known[0], p.angles_rad[0], p.known[1],
                                            p.angles_rad[1], p.northing, p.easting, p.stdErrN,
                                            p.stdErrE, p.sideshot);
    case SideshotPlacement::Rule::twoAngles:
        return writeRptAngleIntersectLine(p.known[0], p.known[1], p.known[2], p.angles_rad[0],
                                          p.angles_rad[1], p.northing, p.easting, p.sideshot);
    }
    return 0;
}

int writeRptSideshotPlacement3D(const SideshotPlacement3D& p) {
    const double f = unitFactor();
    const stationRec& s = p.station;
    const std::string_view name = fixedText(s.name);
    switch (p.rule) {
    case SideshotPlacement3D::Rule::radial:
        return writeRptSideshotLine3D(p.known[0], p.distance, p.angles_rad[0], s.northing,
                                      s.easting, s.stdErrN, s.stdErrE, name);
    case SideshotPlacement3D::Rule::gpsVector:
        return writeRptGpsSideshotLine(s, p.vector);
    case SideshotPlacement3D::Rule::twoAngles:
        return writeRptAngleIntersectLine(p.known[0], p.known[1], p.known[2], p.angles_rad[0],
                                          p.angles_rad[1], s.northing * f, s.easting * f, name);
    case SideshotPlacement3D::Rule::twoDirections:
        return writeRptAzimuthIntersectLine(p.known[0], p.angles_rad[0], p.known[1],
                                            p.angles_rad[1], s.northing * f, s.easting * f,
                                            s.stdErrN, s.stdErrE, name);
    }
    return 0;
}

} // namespace

int writeRptSideshots(const std::vector<SideshotPlacement>& placements) {
    int failed = writeRptSideshotsHeading();
    for (const SideshotPlacement& placement : placements)
        failed |= writeRptSideshotPlacement(placement);
    return failed | writeRptBlankLines();
}

int writeRptSideshots3D(const std::vector<SideshotPlacement3D>& placements) {
    int failed = writeRptSideshotsHeading();
    for (const SideshotPlacement3D& placement : placements)
        failed |= writeRptSideshotPlacement3D(placement);
    return failed | writeRptBlankLines();
}

int writeRptVertSideshots(const std::vector<coordRec>& points) {
    int failed = writeRptVertSideshotsHeading();
    for (const coordRec& point : points)
        failed |= writeRptVertSideshotLine(point);
    return failed | writeRptBlankLines();
}
