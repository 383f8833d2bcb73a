#include "reports/report_sections.hpp"

#include "engine/statistical_distributions.hpp"
#include "geodetic/state_plane_27.hpp"
#include "geodetic/state_plane_83.hpp"
#include "model/angle_math.hpp"
#include "model/angle_text.hpp"
#include "model/number_format.hpp"
#include "model/packed_degrees.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_writer.hpp"
#include "platform/c_locale_text.hpp"

#include <cmath>

using platform::formatC;

void writeRptStatistics(int handle, double referenceVariance, int iterations) {
    const int dof = obsCount - unknownCount;
    double upper = 0.0;
    double lower = 0.0;
    const double confidence = projectVars.confidenceInterval;
    chiSquareBounds(dof, &upper, &lower, confidence);
    const double test = dof * referenceVariance;
    const bool passed = lower <= test && test <= upper;
    ReportWriter(handle)
        .blank()
        .line("Statistics")
        .line(std::string(10, '='))
        .blank()
        .line(formatC(" Solution converged in %d iterations", iterations))
        .line(formatC(" Degrees of freedom:%d", dof))
        .line(formatC(" Reference variance:%.2f", referenceVariance))
        .line(formatC(" Standard error unit Weight: +/-%.2f", std::sqrt(referenceVariance)))
        .line(formatC("%s the Chi-Square test at the %.2f significance level",
                      passed ? " Passed" : " Failed", confidence))
        .line(formatC(" %.3f <= %.3f <= %.3f", lower, test, upper));
}

int writeRptZeroDofNote() {
    return ReportWriter(rptFile)
        .blank()
        .line(" Zero degrees of freedom. No Horizontal Adjustment performed.")
        .line(" Only sideshots reduced.")
        .result();
}

void writeRptElevFactorAbort() {
    writeRptMessage("Unable to compute elevation factor. Least squares adjustment aborted.");
}

void writeRptMessage(const std::string& text) {
    ReportWriter(rptFile).blank().line(text).blank();
}

void writeRptGridDistances(int handle) {
    ReportWriter out(handle);
    out.blank();
    if (distanceList2D.count() == 0) {
        out.blank();
        return;
    }
    out.blank()
        .line(formatC("Grid Distances: %4d Observations", distanceList2D.count()))
        .line(" From Sta.   To Sta.       Grid Dist.  Grid Factor  Z Factor   Combined Factor");
    distanceObs2D d;
    for (int end = distanceList2D.seekCursor(0); end == 0 && !out.failed();
         end = distanceList2D.advanceCursor()) {
        if (distanceList2D.getAtCursor(d) != 0)
            break;
        const std::string from(fixedText(d.from));
        const std::string to(fixedText(d.to));
        out.line(formatC(" %-10.10s    %-10.10s  %s     %s  %s  %s", from.c_str(), to.c_str(),
                         formatDistance(d.distance).c_str(), fmtDouble8(d.gridFactor).c_str(),
                         fmtDouble8(d.elevFactor).c_str(),
                         fmtDouble8(d.gridFactor * d.elevFactor).c_str()));
    }
    out.blank();
}

void writeRptGridAngles(int handle) {
    ReportWriter out(handle);
    out.blank();
    if (angleList2D.count() == 0) {
        out.blank();
        return;
    }
    out.blank()
        .line(formatC("Grid Horizontal Angles: %4d Observations", angleList2D.count()))
        .line(projectVars.angleType == 0
                  ? " BS Sta.   Occ. Sta.   FS Sta.          Angle       StErr (Sec.)  t-T"
                  : " BS Sta.   Occ. Sta.   FS Sta.          Angle       StErr (Grad)  t-T");
    const int cursor = angleList2D.openCursor(0);
    angleObs2D a;
    while (!out.failed() && angleList2D.getAtCursor(cursor, a) == 0) {
        const std::string bs(fixedText(a.backsight));
        const std::string ip(fixedText(a.instrument));
        const std::string fs(fixedText(a.foresight));
        out.line(formatC(" %-10.10s   %-10.10s  %-10.10s %s   %5.1f         %s", bs.c_str(),
                         ip.c_str(), fs.c_str(), angleToText(a.angle).c_str(), a.stdErr,
                         fmtArcSeconds(a.arcToChord * angle::secondsPerRadian).c_str()));
        angleList2D.advanceCursor(cursor);
    }
    angleList2D.closeCursor(cursor);
    out.blank();
}

void writeRptBlunderFloatNote() {
    ReportWriter(errFile)
        .blank()
        .line("The blunder is most likely in the measurement containing the ")
        .line("largest residual and standard residual. The observation marked ")
        .line("with ** is the observation that floated.")
        .line("It is also most likely the measurement containing the blunder.")
        .blank();
}

int writeRptBlunderNote() {
    return ReportWriter(errFile)
        .blank()
        .line("The blunder is most likely in the measurement containing the ")
        .line("largest residual and standard residual.")
        .blank()
        .result();
}

void writeErrReweightCount(int passes) {
    writeLine(errFile, formatC("Number of reweighting iterations: %d.", passes));
    writeLine(errFile, "");
}

namespace {

template <class List, class Record> int countNotDummy(List& list, Record record) {
    int fixed = 0;
    const int cursor = list.openCursor(0);
    while (list.getAtCursor(cursor, record) == 0) {
        if (record.pointType != ptAzimuthDummy)
            ++fixed;
        list.advanceCursor(cursor);
    }
    list.closeCursor(cursor);
    return fixed;
}

} // namespace

int countFixedPoints() {
    return countNotDummy(fixedPointList2D, coordRec{});
}

int countFixedPoints3D() {
    return countNotDummy(fixedStationList, stationRec{});
}

int zoneNameIndexIn(const std::vector<std::string>& names, int zoneCode) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto dash = names[i].find('-');
        if (dash != std::string::npos && platform::atoiC(names[i].substr(dash + 1)) == zoneCode)
            return static_cast<int>(i);
    }
    return static_cast<int>(names.size());
}

int zoneNameIndex(int system, int zoneCode) {
    if (system != gridStatePlane83 && system != gridStatePlane27)
        return 0;
    return zoneNameIndexIn(system == gridStatePlane83 ? spc83ZoneNameList() : spc27ZoneNameList(),
                           zoneCode);
}
