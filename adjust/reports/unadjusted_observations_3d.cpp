#include "reports/unadjusted_observations.hpp"

#include "model/angle_text.hpp"
#include "model/number_format.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"
#include "reports/report_header.hpp"
#include "reports/report_sections.hpp"
#include "reports/report_words.hpp"
#include "reports/unadjusted_listing_parts.hpp"

using platform::formatC;

namespace {

constexpr double floatingStdErr = 99999.9;
constexpr double fixedStdErr = 1e-6;

std::string name(const pointNameField& field) {
    return std::string(fixedText(field));
}

std::string blanks(std::size_t width) {
    return std::string(width, ' ');
}

// The project's unit per metre of the 3D chain.
double unitFactor() {
    return units::unitsPerMetre(projectVars.HorizUnits);
}

// A station's position columns stay blank until it has a position, and in
// a control record that got the preliminary coordinates copied into it.
bool positionShown(const stationRec& s) {
    return isSet(s.northing) && s.prelimCopied == 0;
}

std::string stdErrText(double value_m, double factor) {
    if (value_m >= floatingStdErr)
        return "   FLOAT";
    if (value_m <= fixedStdErr)
        return "   FIXED";
    return formatStdError(value_m * factor);
}

std::string elevationText(double value_m) {
    return isSet(value_m) ? formatElevation(value_m * unitFactor()) : blanks(12);
}

// The three standard errors in the heading's order: the two plane
// coordinates by `NEDisplayType`, then the elevation.
struct StdErrTexts {
    std::string first;
    std::string second;
    std::string z;
};

StdErrTexts stdErrTexts(const stationRec& s, double factor) {
    const std::string e = stdErrText(s.stdErrE, factor);
    const std::string n = stdErrText(s.stdErrN, factor);
    const bool eastingFirst = coordinateLetters().eastingFirst;
    return {eastingFirst ? e : n, eastingFirst ? n : e, stdErrText(s.stdErrZ, factor)};
}

bool isWeightedOrFree(const stationRec& s) {
    return s.pointType == ptUnknown || s.pointType == ptWeightedControl;
}

// Weighted type-1 stations of `stationList` with a position that the
// control list does not hold, then the given stations with a position.
template <class Weighted, class Given> void writeRunStations(Weighted weighted, Given given) {
    eachRecord(stationList, [&](const stationRec& s) {
        if (isSet(s.northing) && s.pointType == ptWeightedControl &&
            controlStationList.indexOf(fixedText(s.name)) < 0)
            weighted(s);
    });
    eachRecord(givenStationList, [&](const stationRec& s) {
        if (isSet(s.northing))
            given(s);
    });
}

// The three control groups of one coordinate form: `row` writes a
// station's line with the mark ("" for its standard errors, "FIXED",
// "FLOAT") or, for a run station, the weighted or given form.
template <class Row> void writeControlGroups(Row row) {
    eachRecord(controlStationList, [&](const stationRec& s) {
        if (isWeightedOrFree(s))
            row(s, "", true);
        else if (s.pointType == ptFixed)
            row(s, "FIXED", true);
        else if (s.pointType == ptGiven)
            row(s, "FLOAT", true);
    });
    writeRunStations([&](const stationRec& s) { row(s, "", false); },
                     [&](const stationRec& s) { row(s, "given", false); });
}

void writeGeographic(ReportWriter& out) {
    out.line(geographicStdErrHeadingText());
    writeControlGroups([&](const stationRec& s, const std::string& mark, bool control) {
        const bool shown = control ? positionShown(s) : isSet(s.northing);
        const std::string lat = shown ? latToText(s.latitude) : blanks(16);
        const std::string lon = shown ? lonToText(s.longitude) : blanks(16);
        const std::string h = shown ? elevationText(s.elevation) : blanks(12);
        const std::string n = name(s.name);
        if (mark == "given") {
            out.line(formatC(" %-10.10s  %s  %s %s  FLOAT     FLOAT   FLOAT", n.c_str(),
                             lat.c_str(), lon.c_str(), h.c_str()));
        } else if (!mark.empty()) {
            const char* format = mark == "FIXED"
                                     ? " %-10.10s  %s  %s %s     FIXED      FIXED      FIXED"
                                     : " %-10.10s  %s  %s %s     FLOAT      FLOAT      FLOAT";
            out.line(formatC(format, n.c_str(), lat.c_str(), lon.c_str(), h.c_str()));
        } else {
            const StdErrTexts e = stdErrTexts(s, unitFactor());
            out.line(formatC(" %-10.10s  %s  %s %s      %s     %s   %s", n.c_str(), lat.c_str(),
                             lon.c_str(), h.c_str(), e.first.c_str(), e.second.c_str(),
                             e.z.c_str()));
        }
    });
}

std::string gridCoordinate(double value_m, bool shown) {
    return shown && isSet(value_m) ? formatCoordinate(value_m * unitFactor()) : blanks(12);
}

std::string geoidZText(const stationRec& s, bool shown) {
    if (!shown || !isSet(s.elevation) || !isSet(s.geoidSep))
        return blanks(12);
    return elevationText(s.elevation - s.geoidSep);
}

void writeGrid(ReportWriter& out) {
    out.blank().line("Grid XYZ").line(coordZHeadingText());
    const bool eastingFirst = coordinateLetters().eastingFirst;
    const int display = projectVars.NEDisplayType;
    const char* weightedFormat = display == 1 || display == 2
                                     ? " %-10.10s  %s  %s      %s     %s     %s   %s"
                                     : " %-10.10s  %s  %s  %s     %s     %s   %s";
    writeControlGroups([&](const stationRec& s, const std::string& mark, bool control) {
        const bool shown = control ? positionShown(s) : isSet(s.northing);
        const std::string e = gridCoordinate(s.easting, shown);
        const std::string nv = gridCoordinate(s.northing, shown);
        const std::string& first = eastingFirst ? e : nv;
        const std::string& second = eastingFirst ? nv : e;
        const std::string z = geoidZText(s, shown);
        const std::string n = name(s.name);
        if (mark.empty()) {
            const StdErrTexts t = stdErrTexts(s, unitFactor());
            out.line(formatC(weightedFormat, n.c_str(), first.c_str(), second.c_str(), z.c_str(),
                             t.first.c_str(), t.second.c_str(), t.z.c_str()));
            return;
        }
        const char* format = mark == "FIXED"
                                 ? " %-10.10s  %s  %s  %s      FIXED       FIXED     FIXED"
                                 : " %-10.10s  %s  %s  %s      FLOAT      FLOAT      FLOAT";
        out.line(formatC(format, n.c_str(), first.c_str(), second.c_str(), z.c_str()));
    });
}

void writeGeocentric(ReportWriter& out) {
    out.blank().line("Geocentric XYZ").line(geocentricHeadingText());
    writeControlGroups([&](const stationRec& s, const std::string& mark, bool control) {
        const bool shown = (control ? positionShown(s) : true) && isSet(s.ecefX);
        const std::string x = shown ? formatCoordinate(s.ecefX) : blanks(12);
        const std::string y = shown ? formatCoordinate(s.ecefY) : blanks(12);
        const std::string z = shown ? formatCoordinate(s.ecefZ) : blanks(12);
        StdErrTexts t{blanks(7), blanks(7), blanks(7)};
        if (mark == "given" || mark == "FLOAT")
            t = {"  FLOAT", "  FLOAT", "  FLOAT"};
        else if (mark == "FIXED")
            t = {"  FIXED", "  FIXED", "  FIXED"};
        else if (shown)
            t = {stdErrText(s.stdErrE, 1.0), stdErrText(s.stdErrN, 1.0),
                 stdErrText(s.stdErrZ, 1.0)};
        out.line(formatC(" %-10.10s  %s  %s  %s     %s     %s     %s", name(s.name).c_str(),
                         x.c_str(), y.c_str(), z.c_str(), t.first.c_str(), t.second.c_str(),
                         t.z.c_str()));
    });
}

void writeControl3D(ReportWriter& out) {
    if (controlStationList.count() == 0)
        return;
    out.line(
        formatC("Control Coordinates:  %4d Observed Points, %4d Fixed Points, %4d Approx. Points",
                controlStationList.countControl(), countFixedPoints3D(), givenStationList.count()));
    writeGeographic(out);
    writeGrid(out);
    writeGeocentric(out);
}

void writeDistances3D(ReportWriter& out, int distanceKind) {
    if (distanceList.count() == 0)
        return;
    out.blank()
        .line(formatC(distanceKind != 0 ? "Horizontal Ground Distances: %4d Observations"
                                        : "Mark to Mark Slope Distances: %4d Observations",
                      distanceList.count()))
        .line(distanceHeading);
    const double u = unitFactor();
    eachRecord(distanceList, [&](const distanceObs& d) {
        // Before the reduction to the marks only the measured mean exists.
        const double distance = distanceKind != 0 ? d.meanDist : d.reducedDist;
        out.line(distanceRow(d.from, d.to, distance * u, d.stdErr * u));
    });
}

void writeZenithAngles(ReportWriter& out) {
    if (verticalList.count() == 0)
        return;
    out.line(formatC("Mark to Mark Vertical Angles: %4d Observations", verticalList.count()))
        .line(projectVars.angleType == 0
                  ? " From Sta.   To Sta.         Vertical Ang.             StErr (Sec.)"
                  : " From Sta.   To Sta.         Vertical Ang.             StErr (Grad)");
    eachRecord(verticalList, [&](const verticalObs& v) {
        out.line(formatC(" %-10.10s    %-10.10s      %s     %s", name(v.from).c_str(),
                         name(v.to).c_str(), angleToText(v.zenith).c_str(),
                         formatAngleSeconds(v.stdErr).c_str()));
    });
}

void writeGpsVectors3D(ReportWriter& out) {
    if (gpsVectorList.count() == 0)
        return;
    const double u = unitFactor();
    const double u2 = u * u;
    out.line(formatC("GPS Vectors: %4d Observations", gpsVectorList.count()))
        .line(" From Sta.        Delta X   Variance Delta X   Covariance XY ")
        .line(" To   Sta.        Delta Y   Variance Delta Y   Covariance XZ ")
        .line("                  Delta Z   Variance Delta Z   Covariance YZ ")
        .blank();
    eachRecord(gpsVectorList, [&](const gpsVectorRec& v) {
        out.line(formatC(" %-10.10s   %12.3f    % 11.4G      % 11.4G", name(v.from).c_str(),
                         v.dX * u, v.varX * u2, v.covXY * u2))
            .line(formatC(" %-10.10s   %12.3f    % 11.4G      % 11.4G", name(v.to).c_str(),
                          v.dY * u, v.varY * u2, v.covXZ * u2))
            .line(formatC("              %12.3f    % 11.4G      % 11.4G", v.dZ * u, v.varZ * u2,
                          v.covYZ * u2))
            .blank();
    });
}

void writeLevelDifferences(ReportWriter& out) {
    if (levelList.count() == 0)
        return;
    const double u = unitFactor();
    out.line(formatC("Elevation Differences: %4d Observations", levelList.count()))
        .line(" From Sta.     To Sta.    Delta Orthometric   Delta Ellipsoid");
    eachRecord(levelList, [&](const levelObs& l) {
        out.line(formatC(" %-10.10s   %-10.10s    %8.3f      %8.3f", name(l.from).c_str(),
                         name(l.to).c_str(), l.orthometricDiff * u, l.ellipsoidalDiff * u));
    });
}

} // namespace

void writeRptUnadjustedObs3D(int handle, int distanceKind) {
    ReportWriter out(handle, ReportWriter::Lines::inBlocks);
    out.blank()
        .line("     3-DIMENSIONAL ADJUSTMENT REPORT")
        .line(ruleLine(5, 31))
        .blank()
        .blank()
        .line("Unadjusted Observations")
        .line(ruleLine(0, 23))
        .blank();
    writeControl3D(out);
    writeDistances3D(out, distanceKind);
    writeZenithAngles(out);
    out.blank();
    if (angleList.count() > 0) {
        out.line(formatC("Horizontal Angles: %4d Observations", angleList.count()));
        writeAngleRows(out, angleList);
    }
    if (azimuthList.count() > 0) {
        out.line(formatC("Grid Azimuths: %4d Observations", azimuthList.count()));
        writeAzimuthRows(out, azimuthList);
    }
    writeGpsVectors3D(out);
    writeLevelDifferences(out);
}
