#include "run/blunder_check.hpp"

#include "engine/geodetic_reductions.hpp"
#include "engine/prelim_coords_2d.hpp"
#include "engine/sideshot_filter.hpp"
#include "geodetic/state_plane_27.hpp"
#include "geodetic/state_plane_83.hpp"
#include "input/rw5_reader.hpp"
#include "model/mark_to_mark.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "model/station_lists.hpp"
#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"
#include "platform/system_reason.hpp"
#include "reports/blunder_listing.hpp"
#include "reports/report_files.hpp"
#include "reports/report_header.hpp"
#include "reports/report_windows.hpp"
#include "run/closure_step.hpp"
#include "run/driver_steps.hpp"

#include <cerrno>

namespace {

constexpr int threeDModel = 1;

RunResult stopped() {
    return {};
}

bool degreesOfFreedom() {
    return unknownCount > 0 && unknownCount < obsCount;
}

// The comparison of the observations with the preliminary coordinates, or
// the reason there is none.
void writeKMatrixAnalysis(const RunContext& context, bool road3D) {
    if (!degreesOfFreedom()) {
        showMessage(context, "Zero Degrees of freedom. No horizontal\nadjustment performed.\nOnly "
                             "sideshots reduced.");
        return;
    }
    setStage(context, "Horizontal Adjustment");
    writeLine(errFile, "");
    writeLine(errFile, "K-Matrix Analysis.");
    writeLine(errFile, "");
    if (road3D)
        writeMeasuredVsComputed3D(errFile);
    else
        writeMeasuredVsComputed2D(errFile);
}

// Closes the error report, shows it and brings it to the front.
void showErrorReport(const RunContext& context) {
    closeErrFile();
    showErrReport();
    context.shell.activateReport(ReportKind::error);
}

bool check3D(const RunContext& context, double proximity, int notRw5) {
    countUnknownsObs3D(unknownCount, obsCount);
    int reason = 0;
    if (prelimWithRetry(true, notRw5, reason) != 0) {
        reportPrelimFailureShort(context, true, reason);
        return false;
    }
    reduceRawSlopeToMarks();
    rawDataList.clear();
    if (projectVars.includeClosure != 0 && !computeClosures(context)) {
        closeErrFile();
        return false;
    }
    writeKMatrixAnalysis(context, true);
    writePointProximity3D(errFile, proximity);
    return true;
}

bool check2D(const RunContext& context, double proximity, int notRw5) {
    const globalVars& s = projectVars;
    if (s.horizAdjust == 0)
        return true;
    rawDataList.clear();
    setStage(context, "Filtering Horizontal Sideshots");
    if (s.includeSS == 0)
        filterHorizSideshots();
    setStage(context, "Computing Initial XY's");
    int reason = 0;
    if (prelimWithRetry(false, notRw5, reason) != 0) {
        // The check names every point it could not place, whatever stalled.
        constexpr int everyUncomputedPoint = 0;
        reportPrelimFailureShort(context, false, everyUncomputedPoint);
        return false;
    }
    countUnknownsObs2D(unknownCount, obsCount);
    setStage(context, "Reducing observations to grid.");
    reduceObsToGrid();
    setStage(context, "Reducing observations to sea level.");
    if (reduceDistancesToSeaLevel() != 0) {
        writeLine(errFile, "Error computing elevation factors.");
        writeLine(errFile, "Try using the project elevation option.");
        closeErrFile();
        return false;
    }
    if (s.includeClosure != 0 && !computeClosures(context)) {
        closeErrFile();
        return false;
    }
    writeKMatrixAnalysis(context, false);
    writePointProximity2D(errFile, proximity);
    if (s.vertAdjust != 0) {
        setStage(context, "Filtering Vertical Sideshots");
        setStage(context, "Vertical Adjustment");
        setStage(context, "Computing Sideshot Elevations");
    }
    return true;
}

} // namespace

RunResult runBlunderCheck(const RunContext& context, double proximity) {
    const globalVars& s = projectVars;
    clearRunLists();
    if (s.gridSystem == gridStatePlane83)
        init83ZoneConstants();
    else if (s.gridSystem == gridStatePlane27)
        init27ZoneConstants();
    if (s.pInputFileName.empty() && s.controlNEFileName.empty() && s.pGPSFileName.empty()) {
        showMessage(context, "No raw data file has been defined");
        return stopped();
    }
    if (openErrFile(startNewFile) == -1) {
        showMessage(context, platform::withSystemReason(
                                 "error opening " + projectOutputPath(".ERR"), errno));
        return stopped();
    }
    if (writeErrHeader(errFile) != 0 || writeRptHeader(preprocessingReportHeader) != 0) {
        closeErrFile();
        return stopped();
    }
    if (!spatialModelServed(context)) {
        showErrorReport(context);
        return stopped();
    }
    const int notRw5 = rawListIsNotRw5();
    if (s.includeRawData != 0) {
        setStage(context, "Checking Raw data");
        writeLine(errFile, "Checking raw data syntax and angle & distance spreads.");
        writeLine(errFile, "");
    }
    if (loadProjectInputs(context, SupplementalRoute::controlLists, RawReadWording::blunderCheck) !=
        0) {
        closeErrFile();
        return stopped();
    }
    const bool ran = s.geodeticModel == threeDModel ? check3D(context, proximity, notRw5)
                                                    : check2D(context, proximity, notRw5);
    if (!ran)
        return stopped();
    showErrorReport(context);
    RunResult result;
    result.reachedEnd = true;
    return result;
}
