#include "reports/unadjusted_observations.hpp"

#include "model/angle_text.hpp"
#include "model/number_format.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/c_locale_text.hpp"
#include "reports/report_header.hpp"
#include "reports/report_sections.hpp"
#include "reports/report_words.hpp"
#include "reports/unadjusted_listing_parts.hpp"

using platform::formatC;

namespace {

std::string name(const pointNameField& field) {
    return std::string(fixedText(field));
}

// The two plane coordinates (or their standard errors) in the order of `NEDisplayType`.
struct PlanePair {
    std::string first;
    std::string second;
};

PlanePair coordinates(const coordRec& p) {
    const std::string e = formatCoordinate(p.easting);
    const std::string n = formatCoordinate(p.northing);
    return coordinateLetters().eastingFirst ? PlanePair{e, n} : PlanePair{n, e};
}

PlanePair stdErrors(const coordRec& p) {
    const std::string e = formatStdError(p.stdErrE);
    const std::string n = formatStdError(p.stdErrN);
    return coordinateLetters().eastingFirst ? PlanePair{e, n} : PlanePair{n, e};
}

std::string weightedRow(const coordRec& p, const char* format) {
    const PlanePair c = coordinates(p);
    const PlanePair s = stdErrors(p);
    return formatC(format, name(p.name).c_str(), c.first.c_str(), c.second.c_str(), s.first.c_str(),
                   s.second.c_str());
}

std::string markedRow(const coordRec& p, const char* mark) {
    const PlanePair c = coordinates(p);
    return formatC(" %-10.10s  %s  %s      %s     %s", name(p.name).c_str(), c.first.c_str(),
                   c.second.c_str(), mark, mark);
}

void writeControl(ReportWriter& out) {
    if (controlPointList2D.count() == 0 && givenPointList2D.count() == 0)
        return;
    out.line(
        formatC("Control Coordinates:  %4d Observed Points, %4d Fixed Points, %4d Approx. Points",
                controlPointList2D.countControl(), countFixedPoints(), givenPointList2D.count()));
    out.line(coordHeadingText());
    eachRecord(controlPointList2D, [&](const coordRec& p) {
        if (p.pointType == ptWeightedControl)
            out.line(weightedRow(p, " %-10.10s  %s  %s    %s     %s"));
        else if (p.pointType == ptFixed)
            out.line(markedRow(p, "FIXED"));
        else if (p.pointType == ptGiven)
            out.line(markedRow(p, "FLOAT"));
    });
    eachRecord(pointList2D, [&](const coordRec& p) {
        if (isSet(p.northing) && p.pointType == ptWeightedControl &&
            controlPointList2D.indexOf(fixedText(p.name)) < 0)
            out.line(weightedRow(p, " %-10.10s  %s  %s    %s    %s"));
    });
    eachRecord(givenPointList2D, [&](const coordRec& p) {
        if (isSet(p.northing))
            out.line(markedRow(p, "FLOAT"));
    });
}

void writeDistances(ReportWriter& out) {
    if (distanceList2D.count() == 0)
        return;
    out.blank()
        .line(formatC("Distances: %4d Observations", distanceList2D.count()))
        .line(projectVars.gridSystem == gridLocal
                  ? distanceHeading
                  : " From Sta.   To Sta.         Ground Dist.     StErr");
    eachRecord(distanceList2D, [&](const distanceObs2D& d) {
        out.line(distanceRow(d.from, d.to, d.distance, d.stdErrDist));
    });
}

void writeGpsVectors(ReportWriter& out) {
    if (gpsVectorList2D.count() == 0)
        return;
    out.line(formatC("GPS Vectors: %4d Observations", gpsVectorList2D.count()))
        .line(" From Sta.   To Sta.");
    eachRecord(gpsVectorList2D, [&](const gpsVectorRec& v) {
        out.line(formatC(" %s   %s %12.4f %12.4f %12.4f %7.4f %7.4f %7.4f", name(v.from).c_str(),
                         name(v.to).c_str(), v.dX, v.dY, v.dZ, v.varX, v.varY, v.varZ));
    });
}

} // namespace

std::string distanceRow(const pointNameField& from, const pointNameField& to, double distance,
                        double stdErr) {
    return formatC(" %-10.10s    %-10.10s      %s     %s", name(from).c_str(), name(to).c_str(),
                   formatDistance(distance).c_str(), formatDistanceShort(stdErr).c_str());
}

namespace {

const char* angleHeading() {
    return projectVars.angleType == 0
               ? " BS Sta.   Occ. Sta.   FS Sta.          Angle          StErr (Sec.)"
               : " BS Sta.   Occ. Sta.   FS Sta.          Angle          StErr (Grad)";
}

template <class Angle> void writeAngleRowsOf(ReportWriter& out, obsList<Angle>& angles) {
    out.line(angleHeading());
    eachRecord(angles, [&](const Angle& a) {
        out.line(formatC(" %-10.10s   %-10.10s  %-10.10s %s     %s", name(a.backsight).c_str(),
                         name(a.instrument).c_str(), name(a.foresight).c_str(),
                         angleToText(a.angle).c_str(), formatAngleSeconds(a.stdErr).c_str()));
    });
}

template <class List> void writeAzimuthRowsOf(ReportWriter& out, List& azimuths) {
    out.line(formatC(projectVars.angleType == 0
                         ? " Occ. Sta.   FS Sta.       %s        StErr (Sec.)"
                         : " Occ. Sta.   FS Sta.       %s        StErr (Grad)",
                     projectVars.directionType != 0 ? "Azimuth" : "Bearing"));
    eachRecord(azimuths, [&](const azimuthObs& a) {
        out.line(formatC(" %-10.10s   %-10.10s %s   %s", name(a.from).c_str(), name(a.to).c_str(),
                         directionToText(a.azimuth).c_str(), formatAngleSeconds(a.stdErr).c_str()));
    });
}

} // namespace

void writeAngleRows(ReportWriter& out, obsList<angleObs2D>& angles) {
    writeAngleRowsOf(out, angles);
}
void writeAngleRows(ReportWriter& out, obsList<angleObs>& angles) {
    writeAngleRowsOf(out, angles);
}
void writeAzimuthRows(ReportWriter& out, seqList<azimuthObs>& azimuths) {
    writeAzimuthRowsOf(out, azimuths);
}
void writeAzimuthRows(ReportWriter& out, obsList<azimuthObs>& azimuths) {
    writeAzimuthRowsOf(out, azimuths);
}

void writeRptUnadjustedObs(int handle) {
    ReportWriter out(handle, ReportWriter::Lines::inBlocks);
    out.blank()
        .line("     HORIZONTAL ADJUSTMENT REPORT")
        .line(ruleLine(5, 28))
        .blank()
        .blank()
        .line("Unadjusted Observations")
        .line(ruleLine(0, 23))
        .blank();
    writeControl(out);
    writeDistances(out);
    out.blank();
    if (angleList2D.count() > 0) {
        out.line(formatC("Angles: %4d Observations", angleList2D.count()));
        writeAngleRows(out, angleList2D);
    }
    out.blank();
    if (azimuthList2D.count() > 0) {
        out.line(formatC(projectVars.gridSystem != gridLocal ? "Grid Azimuths: %4d Observations"
                                                             : "Azimuths: %4d Observations",
                         azimuthList2D.count()));
        writeAzimuthRows(out, azimuthList2D);
    }
    writeGpsVectors(out);
}
