#include "run/processing_driver.hpp"
#include "reports/report_windows.hpp"

#include "engine/adjustment_results.hpp"
#include "geodetic/geoid_grid.hpp"
#include "geodetic/state_plane_27.hpp"
#include "geodetic/state_plane_83.hpp"
#include "model/program_lists.hpp"
#include "model/run_stops.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"
#include "platform/system_reason.hpp"
#include "reports/final_coordinates.hpp"
#include "reports/report_files.hpp"
#include "reports/report_header.hpp"
#include "reports/report_sections.hpp"
#include "run/blunder_check.hpp"
#include "run/driver_steps.hpp"

#include <cerrno>
#include <filesystem>

namespace {

constexpr int threeDModel = 1;

void prepareZoneTables() {
    init83ZoneConstants();
    init27ZoneConstants();
}
constexpr int userDefinedEllipsoidCode = 16;

// The report and the error report of the run are open from here on.
bool openRunFiles(const RunContext& context) {
    if (openRptFile(startNewFile) == -1) {
        showMessage(context, platform::withSystemReason(
                                 "error opening " + projectVars.reportFileName, errno));
        closeRptFile();
        return false;
    }
    if (openErrFile(startNewFile) == -1) {
        showMessage(context, platform::withSystemReason(
                                 "error opening " + projectOutputPath(".ERR"), errno));
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
bool inputDesignatedForAdjustment(const RunContext& context) {
    const globalVars& s = projectVars;
    if (s.horizAdjust != 0 && s.includeGPSVectors == 0 && s.includeRawData == 0) {
        showMessage(context,
                    "Cannot perform horizontal adjustment.\nNeither a GPS or TS raw file has been "
                    "designated");
        return false;
    }
    if (s.horizAdjust != 0 && s.pInputFileName.empty() && s.pGPSFileName.empty()) {
        showMessage(context,
                    "Cannot perform horizontal adjustment.\nNo raw data file has been defined");
        return false;
    }
    const bool vertical2D = s.vertAdjust != 0 && s.geodeticModel != threeDModel;
    if (vertical2D && s.includeGPSVectors == 0 && s.includeRawData == 0 && s.includeLevData == 0) {
        showMessage(context,
                    "Cannot perform vertical adjustment.\nNeither a GPS or TS raw file has been "
                    "designated");
        return false;
    }
    if (vertical2D && s.pInputFileName.empty() && s.pGPSFileName.empty() &&
        s.pLevRawFileName.empty()) {
        showMessage(context, "No raw data file has been defined");
        return false;
    }
    return true;
}

bool inputDesignatedForReduction(const RunContext& context) {
    const globalVars& s = projectVars;
    if (s.includeGPSVectors == 0 && s.includeRawData == 0) {
        showMessage(context,
                    "Cannot perform horizontal reduction.\nNeither a GPS or TS raw file has been "
                    "designated");
        return false;
    }
    if (s.pInputFileName.empty() && s.pGPSFileName.empty()) {
        showMessage(context,
                    "Cannot perform horizontal reduction.\nNo raw data file has been defined");
        return false;
    }
    return true;
}

// The result of a run that stopped before its end.
RunResult stoppedRun() {
    return {};
}

RunResult runOutcome(bool reachedEnd, AdjustmentOutcome adjustment) {
    RunResult result;
    result.reachedEnd = reachedEnd;
    result.adjustment = adjustment;
    return result;
}

RunResult cancelledRun() {
    RunResult result;
    result.cancelled = true;
    return result;
}

// What the coordinate file did not get goes into the error report as well,
// which the run has closed by now: after Cancel at the overwrite question
// the report says that no point was stored.
void takeFinalCoords(RunResult& result, const FinalCoordsOutcome& outcome) {
    result.coordinatesWritten = outcome.written;
    result.coordinateFile = outcome.coordinateFile;
    if (!outcome.coordinateFile.any() || openErrFile(appendToFile) <= 0)
        return;
    writeLine(errFile, outcome.coordinateFile.text());
    closeErrFile();
    showErrReport();
}

// Ends a run that stopped for a reason that is not in its data.
void stopRun(const RunContext& context, const std::string& why) {
    writeLine(errFile, why);
    showMessage(context, why);
    endRunWithErrorReport(context);
}

// A coordinate file the project asks for needs a name: without one the
// adjusted points would go nowhere.
bool coordinateFileNamed(const RunContext& context) {
    if (projectVars.wrtToCrd == 0 || !projectVars.crdFileName.empty())
        return true;
    stopRun(context, "No output coordinate file name has been specified");
    return false;
}

RunResult runAdjustment(const RunContext& context, int mode, int count) {
    clearRunLists();
    prepareZoneTables();
    deleteOutputFiles();
    context.shell.closeAllReports();
    const bool projectionNeeded =
        projectVars.gridSystem == gridUserDefined ||
        (projectVars.gridSystem == gridUtm && projectVars.ellipsoid == userDefinedEllipsoidCode);
    if (!loadUserProjection(projectionNeeded) || !inputDesignatedForAdjustment(context) ||
        !openRunFiles(context) || !headRunFiles(mode) || !coordinateFileNamed(context))
        return stoppedRun();
    if (!spatialModelServed(context)) {
        endRunWithErrorReport(context);
        return stoppedRun();
    }
    if (mode == reweightBlunderRun)
        writeErrReweightCount(count);
    if (projectVars.includeRawData != 0 && projectVars.pInputFileName.empty()) {
        showMessage(context, "No valid raw data file specified.");
        endRunWithErrorReport(context);
        return stoppedRun();
    }
    const int notRw5 = rawListIsNotRw5();
    if (loadProjectInputs(context) != 0) {
        endRunWithErrorReport(context);
        return stoppedRun();
    }
    const RoadResult road = projectVars.geodeticModel == threeDModel
                                ? adjust3DRoad(context, mode, count, notRw5)
                                : adjust2DRoad(context, mode, count, notRw5);
    if (road.stopped)
        return runOutcome(false, road.adjustment);
    closeRunFiles();
    showRptReport();
    showErrReport();
    context.shell.activateReport(ReportKind::error);
    RunResult result = runOutcome(true, road.adjustment);
    if (mode == adjustmentRun && road.finalCoordinates != noFinalCoordinates) {
        const int adjusted = road.finalCoordinates == adjustedCoordinates ? 1 : 0;
        takeFinalCoords(result, projectVars.geodeticModel == threeDModel
                                    ? writeFinalCoords3D(context, adjusted)
                                    : writeFinalCoords(context, adjusted));
        context.shell.activateReport(ReportKind::report);
    }
    return result;
}

RunResult runPreprocessing(const RunContext& context) {
    clearRunLists();
    releaseAdjustmentResults();
    const int notRw5 = rawListIsNotRw5();
    deleteOutputFiles();
    context.shell.closeAllReports();
    if (!loadUserProjection(projectVars.gridSystem == gridUserDefined))
        return stoppedRun();
    unknownCount = 0;
    obsCount = 0;
    prepareZoneTables();
    if (!inputDesignatedForReduction(context) || !openRunFiles(context) ||
        !headRunFiles(preprocessingReport) || !coordinateFileNamed(context))
        return stoppedRun();
    if (!spatialModelServed(context)) {
        endRunWithErrorReport(context);
        return stoppedRun();
    }
    if (loadProjectInputs(context) != 0) {
        endRunWithErrorReport(context);
        return stoppedRun();
    }
    setStage(context, "Computing Initial XY's");
    const bool reduced = projectVars.geodeticModel == threeDModel
                             ? preprocess3DRoad(context, notRw5)
                             : preprocess2DRoad(context, notRw5);
    if (!reduced)
        return stoppedRun();
    buildAllPointLists();
    closeRunFiles();
    showRptReport();
    showErrReport();
    context.shell.activateReport(ReportKind::error);
    RunResult result = runOutcome(true, AdjustmentOutcome::notRun);
    takeFinalCoords(result, projectVars.geodeticModel == threeDModel
                                ? writeFinalCoords3D(context, 0)
                                : writeFinalCoords(context, 0));
    context.shell.activateReport(ReportKind::report);
    return result;
}

bool usesGeoidGrid() {
    return projectVars.geoidModel != 0 && projectVars.gridSystem != gridLocal;
}

std::string missingGridText(const std::string& folder) {
    return "The appropriate grid files were not found. Do one of the following:\n"
           "  1. Download the grid files from the Velmora/V&K website and install them in the\n"
           "       " +
           folder +
           " directory,\n"
           "  2. Or use the \"Use the Project Geoid Separation\" option in the Project Settings "
           "dialog box.";
}

// The project's geoid grid, open while the run needs it.
class GeoidGridOpen {
public:
    explicit GeoidGridOpen(const RunContext& context)
        : open_(openGeoidGrid(context.geoidFolder.c_str(), projectVars.geoidModelType + 1) ==
                geoidModelFound) {}
    ~GeoidGridOpen() {
        if (open_)
            closeGeoidGrid();
    }
    GeoidGridOpen(const GeoidGridOpen&) = delete;
    GeoidGridOpen& operator=(const GeoidGridOpen&) = delete;
    bool open() const { return open_; }

private:
    bool open_;
};

template <class Run> RunResult stoppingRun(const RunContext& context, Run run) {
    try {
        return run();
    } catch (const UnknownZone& stop) {
        stopRun(context, stop.what());
    } catch (const DamagedGeoidGrid& stop) {
        stopRun(context, stop.what());
    } catch (const RunCancelled& stop) {
        stopRun(context, stop.what());
        return cancelledRun();
    }
    return stoppedRun();
}

// Failures of writes made while the error report was closed (the coordinate
// outputs come after it) are added to its end.
void addWriteFailuresToErrorReport() {
    const std::vector<std::string> missing = outputWriteFailures(true);
    if (missing.empty() || errFile > 0 || openErrFile(appendToFile) <= 0)
        return;
    for (const std::string& text : missing)
        writeLine(errFile, text);
    closeErrFile();
}

// The coordinate outputs of an earlier run that stand at their names.
std::vector<std::string> previousCoordinateOutputs() {
    std::vector<std::string> standing;
    for (const char* extension : {".NEZ", ".OUT"}) {
        std::error_code ignored;
        const std::string path = projectOutputPath(extension);
        if (std::filesystem::exists(path, ignored))
            standing.push_back(path);
    }
    return standing;
}

std::string keptCoordinatesText(const std::vector<std::string>& kept) {
    if (kept.empty())
        return {};
    const bool both = kept.size() == 2;
    return (both ? kept[0] + " and " + kept[1] + " are" : kept[0] + " is") +
           " kept as the previous run left " + (both ? "them" : "it") +
           ": this run wrote no new coordinates.";
}

// A run that wrote no coordinates says that those at the output names are
// older, in its error report (when it has one) and in its result.
void notePreviousCoordinates(RunResult& result) {
    if (result.coordinatesWritten)
        return;
    result.previousCoordinatesKept = keptCoordinatesText(previousCoordinateOutputs());
    if (result.previousCoordinatesKept.empty())
        return;
    if (errFile > 0) {
        writeLine(errFile, result.previousCoordinatesKept);
    } else if (openErrFile(appendToFile) > 0) {
        writeLine(errFile, result.previousCoordinatesKept);
        closeErrFile();
    }
}

template <class Run> RunResult gridRun(const RunContext& context, Run run) {
    if (!usesGeoidGrid())
        return stoppingRun(context, run);
    const GeoidGridOpen grid(context);
    if (!grid.open()) {
        showMessage(context, missingGridText(context.geoidFolder));
        return stoppedRun();
    }
    return stoppingRun(context, run);
}

struct BufferedOutputFlush {
    BufferedOutputFlush() = default;
    BufferedOutputFlush(const BufferedOutputFlush&) = delete;
    BufferedOutputFlush& operator=(const BufferedOutputFlush&) = delete;
    ~BufferedOutputFlush() { flushBufferedOutput(); }
};

// Every output the run writes is checked: the failures travel in the result.
template <class Run> RunResult guardedRun(const RunContext& context, Run run) {
    // The low-level writers that have no context to receive (a failed report
    // line shows a box) reach the run's shell while it runs.
    const ActiveShellScope shellInstalled(context.shell);
    clearOutputWriteFailures();
    RunResult result = [&] {
        // Whatever way the run ends, the files it leaves open hold every line
        // written so far before anyone reads them.
        const BufferedOutputFlush flushed;
        return gridRun(context, run);
    }();
    addWriteFailuresToErrorReport();
    // A cancel taken inside the adjustment ends it as a failed one; the run
    // was cancelled all the same.
    result.cancelled = result.cancelled || context.shell.cancelled();
    result.writeFailures = outputWriteFailures();
    clearOutputWriteFailures();
    return result;
}

} // namespace

RunResult adjustNetwork(const RunContext& context, int mode, int count) {
    RunResult result = guardedRun(context, [&] { return runAdjustment(context, mode, count); });
    notePreviousCoordinates(result);
    return result;
}

RunResult preprocessNetwork(const RunContext& context) {
    RunResult result = guardedRun(context, [&] { return runPreprocessing(context); });
    notePreviousCoordinates(result);
    return result;
}

RunResult checkNetworkForBlunders(const RunContext& context, double proximity) {
    return guardedRun(context, [&] { return runBlunderCheck(context, proximity); });
}
