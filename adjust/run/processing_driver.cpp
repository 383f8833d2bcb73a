#include "run/processing_driver.hpp"
#include "reports/report_windows.hpp"

#include "engine/adjustment_results.hpp"
#include "geodetic/state_plane_27.hpp"
#include "geodetic/state_plane_83.hpp"
#include "model/pending_stages.hpp"
#include "model/program_lists.hpp"
#include "model/run_stops.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"
#include "reports/final_coordinates.hpp"
#include "reports/report_files.hpp"
#include "reports/report_header.hpp"
#include "reports/report_sections.hpp"
#include "run/driver_steps.hpp"

AdjustmentOutcome lastAdjustmentOutcome = AdjustmentOutcome::notRun;
bool lastRunCancelled = false;

namespace {

constexpr int threeDModel = 1;

void prepareZoneTables() {
    init83ZoneConstants();
    init27ZoneConstants();
}
constexpr int userDefinedEllipsoidCode = 16;

// The report and the error report of the run are open from here on.
bool openRunFiles() {
    if (openRptFile(startNewFile) == -1) {
        showMessage("error opening " + projectVars.reportFileName);
        closeRptFile();
        return false;
    }
    if (openErrFile(startNewFile) == -1) {
        showMessage("error opening " + projectOutputPath(".ERR"));
        closeRunFiles();
        return false;
    }
    return true;
}

bool headRunFiles(int headerMode) {
    if (writeErrHeader(errFile) != 0 || writeRptHeader(headerMode) != 0) {
        closeRunFiles();
        return false;
    }
    return true;
}

// A failed user-defined projection would leave every conversion of the run
// on an empty record; the load has shown why.
bool loadUserProjection(bool needed) {
    return !needed || projectVars.udp.load(projectVars.UDPFilePath) == 0;
}

// The input checks of an adjustment run; each stop shows its message.
bool inputDesignatedForAdjustment() {
    const globalVars& s = projectVars;
    if (s.horizAdjust != 0 && s.includeGPSVectors == 0 && s.includeRawData == 0) {
        showMessage("Cannot perform horizontal adjustment.\nNeither a GPS or TS raw file has been "
                    "designated");
        return false;
    }
    if (s.horizAdjust != 0 && s.pInputFileName.empty() && s.pGPSFileName.empty()) {
        showMessage("Cannot perform horizontal adjustment.\nNo raw data file has been defined");
        return false;
    }
    const bool vertical2D = s.vertAdjust != 0 && s.geodeticModel != threeDModel;
    if (vertical2D && s.includeGPSVectors == 0 && s.includeRawData == 0 && s.includeLevData == 0) {
        showMessage("Cannot perform vertical adjustment.\nNeither a GPS or TS raw file has been "
                    "designated");
        return false;
    }
    if (vertical2D && s.pInputFileName.empty() && s.pGPSFileName.empty() &&
        s.pLevRawFileName.empty()) {
        showMessage("No raw data file has been defined");
        return false;
    }
    return true;
}

bool inputDesignatedForReduction() {
    const globalVars& s = projectVars;
    if (s.includeGPSVectors == 0 && s.includeRawData == 0) {
        showMessage("Cannot perform horizontal reduction.\nNeither a GPS or TS raw file has been "
                    "designated");
        return false;
    }
    if (s.pInputFileName.empty() && s.pGPSFileName.empty()) {
        showMessage("Cannot perform horizontal reduction.\nNo raw data file has been defined");
        return false;
    }
    return true;
}

int runAdjustment(int mode, int count) {
    clearRunLists();
    prepareZoneTables();
    deleteOutputFiles();
    activeShell().closeAllReports();
    const bool projectionNeeded =
        projectVars.gridSystem == gridUserDefined ||
        (projectVars.gridSystem == gridUtm && projectVars.ellipsoid == userDefinedEllipsoidCode);
    if (!loadUserProjection(projectionNeeded) || !inputDesignatedForAdjustment() ||
        !openRunFiles() || !headRunFiles(mode))
        return 0;
    if (mode == reweightBlunderRun)
        writeErrReweightCount(count);
    if (projectVars.includeRawData != 0 && projectVars.pInputFileName.empty()) {
        showMessage("No valid raw data file specified.");
        return endRunWithErrorReport();
    }
    const int notRw5 = rawListIsNotRw5();
    if (loadProjectInputs() != 0)
        return endRunWithErrorReport();
    const RoadResult road = projectVars.geodeticModel == threeDModel
                                ? adjust3DRoad(mode, count, notRw5)
                                : adjust2DRoad(mode, count, notRw5);
    if (road.stopped)
        return 0;
    closeRunFiles();
    showRptReport();
    showErrReport();
    activeShell().activateReport(ReportKind::error);
    if (mode == adjustmentRun && road.finalCoordinates != noFinalCoordinates) {
        const int adjusted = road.finalCoordinates == adjustedCoordinates ? 1 : 0;
        if (projectVars.geodeticModel == threeDModel)
            writeFinalCoords3D(adjusted);
        else
            writeFinalCoords(adjusted);
        activeShell().activateReport(ReportKind::report);
    }
    return 1;
}

int runPreprocessing() {
    clearRunLists();
    releaseAdjustmentResults();
    const int notRw5 = rawListIsNotRw5();
    deleteOutputFiles();
    activeShell().closeAllReports();
    if (!loadUserProjection(projectVars.gridSystem == gridUserDefined))
        return 0;
    unknownCount = 0;
    obsCount = 0;
    prepareZoneTables();
    if (!inputDesignatedForReduction() || !openRunFiles() || !headRunFiles(preprocessingReport))
        return 0;
    if (loadProjectInputs() != 0)
        return endRunWithErrorReport();
    setStage("Computing Initial XY's");
    const bool reduced = projectVars.geodeticModel == threeDModel ? preprocess3DRoad(notRw5)
                                                                  : preprocess2DRoad(notRw5);
    if (!reduced)
        return 0;
    buildAllPointLists();
    closeRunFiles();
    showRptReport();
    showErrReport();
    activeShell().activateReport(ReportKind::error);
    if (projectVars.geodeticModel == threeDModel)
        writeFinalCoords3D(0);
    else
        writeFinalCoords(0);
    activeShell().activateReport(ReportKind::report);
    return 1;
}

// Ends a run that stopped for a reason that is not in its data.
int stopRun(const std::string& why) {
    writeLine(errFile, why);
    showMessage(why);
    return endRunWithErrorReport();
}

template <class Run> int guardedRun(Run run) {
    lastAdjustmentOutcome = AdjustmentOutcome::notRun;
    lastRunCancelled = false;
    try {
        return run();
    } catch (const StageNotBuilt& stop) {
        return stopRun(stop.what());
    } catch (const UnknownZone& stop) {
        return stopRun(stop.what());
    } catch (const RunCancelled& stop) {
        lastRunCancelled = true;
        return stopRun(stop.what());
    }
}

} // namespace

int adjustNetwork(int mode, int count) {
    return guardedRun([&] { return runAdjustment(mode, count); });
}

int preprocessNetwork() {
    return guardedRun([] { return runPreprocessing(); });
}
