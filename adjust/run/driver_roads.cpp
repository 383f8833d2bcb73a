#include "run/driver_steps.hpp"

#include "engine/geodetic_reductions.hpp"
#include "engine/prelim_coords_2d.hpp"
#include "engine/prelim_coords_3d.hpp"
#include "engine/sideshot_elevations.hpp"
#include "engine/sideshot_filter.hpp"
#include "engine/sideshots_2d.hpp"
#include "engine/sideshots_3d.hpp"
#include "engine/vertical_adjustment.hpp"
#include "input/level_file_reader.hpp"
#include "input/level_observations.hpp"
#include "input/rw5_reader.hpp"
#include "model/mark_to_mark.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "model/station_lists.hpp"
#include "output/report_lines.hpp"
#include "reports/report_header.hpp"
#include "reports/report_sections.hpp"
#include "reports/sideshot_listing.hpp"
#include "reports/unadjusted_observations.hpp"
#include "reports/vertical_report.hpp"
#include "run/adjustment_3d.hpp"
#include "run/closure_step.hpp"
#include "run/horizontal_adjustment.hpp"
#include "run/processing_driver.hpp"

namespace {

// One control point, an .RW5 file and no azimuth: the first backsight of the
// raw file may give the orientation. Returns the status of the last try.
int retryWithFirstBacksight(bool road3D, int notRw5, int status, int& reason) {
    const int controlPoints = road3D ? countControlPoints3D() : countControlPoints2D();
    const int azimuths = road3D ? getAzimuthCount3D() : getAzimuthCount2D();
    azimuthObs first;
    if (status == 0 || controlPoints != 1 || notRw5 != 0 || azimuths != 0 ||
        readRw5FirstBkAzimuth(projectVars.pInputFileName, first) != 0)
        return status;
    if (road3D) {
        azimuthList.append(first);
        countUnknownsObs3D(unknownCount, obsCount);
        status = prelimCoords3D(reason);
    } else {
        azimuthList2D.append(first);
        status = prelimCoords2D(reason);
    }
    writeLine(errFile, "Initial azimuth from first BK record in .RW5 file.");
    return status;
}

constexpr int verticalReport = 1;

bool degreesOfFreedom() {
    return unknownCount < obsCount && unknownCount != 0;
}

void reportZeroDegreesOfFreedom(const RunContext& context) {
    showMessage(
        context,
        "Zero Degrees of freedom. No horizontal\nadjustment performed.\nOnly sideshots reduced.");
    writeLine(errFile, "Zero Degrees of freedom. No horizontal adjustment performed.");
    writeLine(errFile, "Only sideshots reduced.");
    writeRptZeroDofNote();
}

// False when no elevation factor could be computed (the run then ends).
bool reduceToGridAndSeaLevel(const RunContext& context) {
    setStage(context, "Reducing observations to grid.");
    reduceObsToGrid();
    setStage(context, "Reducing observations to sea level.");
    if (reduceDistancesToSeaLevel() == 0)
        return true;
    showMessage(context, "Unable to compute elevation factor.\nTry the project elevation option.");
    writeLine(errFile, "Unable to compute elevation factor. Try the project elevation option.");
    writeRptElevFactorAbort();
    endRunAtErrorReport(context);
    return false;
}

void writeGridListings() {
    if (projectVars.gridSystem != gridLocal) {
        writeRptGridDistances(rptFile);
        writeRptGridAngles(rptFile);
    }
}

int runHorizontalAdjustment(const RunContext& context, int mode, int count) {
    switch (mode) {
    case floatBlunderRun:
        return adjust2DBlunderPasses(context, count);
    case reweightBlunderRun:
        return adjust2DRepeated(context, count);
    default:
        return adjust2D(context);
    }
}

// True when the 3D adjustment of the mode converged (mode 0) or ran its
// passes (the blunder modes).
bool run3DAdjustment(const RunContext& context, int mode, int count) {
    switch (mode) {
    case floatBlunderRun:
        return adjust3DBlunderPasses(context, count) == blunderPasses3DDone;
    case reweightBlunderRun:
        return adjust3DRepeated(context, count) == blunderPasses3DDone;
    default:
        return adjust3D(context) == adjustment3DConverged;
    }
}

// The project's closures, when it asks for them; false, with the run ended
// at its error report, when the closure file cannot be read.
bool closuresComputed(const RunContext& context) {
    if (projectVars.includeClosure == 0 || computeClosures(context))
        return true;
    endRunAtErrorReport(context);
    return false;
}

// A level file the project names but that cannot be read stops the run:
// adjusting without its data would report a network that was not measured.
RoadResult stopAtLevelFile(const RunContext& context) {
    const std::string text = "error loading level file";
    writeLine(errFile, text + ": " + projectVars.pLevRawFileName);
    showMessage(context, text);
    endRunAtErrorReport(context);
    return {true};
}

// What the vertical part of a run came to.
enum class VerticalRun { done, levelFileUnread, failed };

VerticalRun runVerticalAdjustment(const RunContext& context) {
    writeRptHeader(verticalReport);
    if (projectVars.includeLevData != 0 && readLevelFile() != levelReadOk)
        return VerticalRun::levelFileUnread;
    setStage(context, "Filtering Vertical Sideshots");
    filterVertSideshots();
    setStage(context, "Vertical Adjustment");
    bool failed = false;
    if (const std::optional<verticalAdjustment> adjusted = adjustVertical(context, &failed))
        writeVerticalReport(adjusted->network, adjusted->solution);
    setStage(context, "Computing Sideshot Elevations");
    writeRptVertSideshots(computeSideshotElevations(context));
    return failed ? VerticalRun::failed : VerticalRun::done;
}

constexpr int converged2D = 1;

} // namespace

int prelimWithRetry(bool road3D, int notRw5, int& reason) {
    const int status = road3D ? prelimCoords3D(reason) : prelimCoords2D(reason);
    return retryWithFirstBacksight(road3D, notRw5, status, reason);
}

RoadResult adjust2DRoad(const RunContext& context, int mode, int count, int notRw5) {
    const globalVars& s = projectVars;
    rawDataList.clear();
    if (s.horizAdjust != 0) {
        setStage(context, "Filtering Horizontal Sideshots");
        if (s.includeSS == 0 || mode != adjustmentRun)
            filterHorizSideshots();
        setStage(context, "Computing Initial XY's");
        int reason = 0;
        if (prelimWithRetry(false, notRw5, reason) != 0) {
            writeRptUnadjustedObs(rptFile);
            reportPrelimFailure(context, false, notRw5, reason);
            return {true};
        }
    } else {
        writeRptUnadjustedObs(rptFile);
    }
    countUnknownsObs2D(unknownCount, obsCount);

    bool horizontalRan = false;
    bool converged = false;
    AdjustmentOutcome adjustment = AdjustmentOutcome::notRun;
    if (s.horizAdjust != 0) {
        setStage(context, "Outputting observations.");
        writeRptUnadjustedObs(rptFile);
        if (!reduceToGridAndSeaLevel(context))
            return {true};
        if (mode == adjustmentRun && !closuresComputed(context))
            return {true};
        writeGridListings();
        if (degreesOfFreedom()) {
            setStage(context, "Horizontal Adjustment");
            horizontalRan = true;
            converged = runHorizontalAdjustment(context, mode, count) == converged2D;
            adjustment = converged ? AdjustmentOutcome::converged : AdjustmentOutcome::failed;
            if (converged) {
                setStage(context, "Computing Sideshots");
                if (mode == adjustmentRun && s.includeSS == 0)
                    writeRptSideshots(computeSideshots2D(context));
                buildAllPointLists();
            }
        } else if (mode != adjustmentRun) {
            showMessage(context, "Zero Degrees of freedom. Blunder detection cannot be performed.");
        } else {
            reportZeroDegreesOfFreedom(context);
            setStage(context, "Computing Sideshots");
            writeRptSideshots(computeSideshots2D(context));
        }
    }

    const bool verticalRuns = s.vertAdjust != 0 && mode == adjustmentRun;
    const VerticalRun vertical = verticalRuns ? runVerticalAdjustment(context) : VerticalRun::done;
    if (vertical == VerticalRun::levelFileUnread)
        return stopAtLevelFile(context);
    if (vertical == VerticalRun::failed)
        adjustment = AdjustmentOutcome::failed;

    // Adjusted values go out when an adjustment produced them; a run that
    // adjusted nothing writes its coordinates as unadjusted. A failed
    // vertical adjustment leaves the level points without elevations, so
    // the previous coordinate files stay, as after any failed adjustment.
    RoadResult result;
    result.adjustment = adjustment;
    if (vertical == VerticalRun::failed)
        result.finalCoordinates = noFinalCoordinates;
    else if (horizontalRan)
        result.finalCoordinates = converged ? adjustedCoordinates : noFinalCoordinates;
    else
        result.finalCoordinates = verticalRuns ? adjustedCoordinates : unadjustedCoordinates;
    return result;
}

RoadResult adjust3DRoad(const RunContext& context, int mode, int count, int notRw5) {
    const globalVars& s = projectVars;
    if (s.includeSS == 0 || mode != adjustmentRun)
        filterSideshots3D();
    if (s.includeLevData != 0 && readLevFile3D(s.pLevRawFileName) != levelReadOk)
        return stopAtLevelFile(context);
    countUnknownsObs3D(unknownCount, obsCount);
    setStage(context, "Computing preliminary coordinates.");
    int reason = 0;
    if (prelimWithRetry(true, notRw5, reason) != 0) {
        writeRptUnadjustedObs3D(rptFile, 1);
        rawDataList.clear();
        reportPrelimFailure(context, true, notRw5, reason);
        return {true};
    }
    copyPrelimToControl3D();
    reduceRawSlopeToMarks();
    if (levelList.count() > 0)
        updateLevelObsElevations();
    rawDataList.clear();
    setStage(context, "Outputting observations.");
    writeRptUnadjustedObs3D(rptFile, 0);
    if (!closuresComputed(context))
        return {true};

    RoadResult result;
    if (degreesOfFreedom()) {
        setStage(context, "3d  Adjustment");
        const bool converged = run3DAdjustment(context, mode, count);
        result.adjustment = converged ? AdjustmentOutcome::converged : AdjustmentOutcome::failed;
        if (converged) {
            writeRptSideshots3D(computeSideshots3D(context).placements);
            buildAllPointLists();
        }
        result.finalCoordinates = converged ? adjustedCoordinates : noFinalCoordinates;
    } else {
        reportZeroDegreesOfFreedom(context);
        // Nothing was adjusted: the coordinates go out as what they are.
        result.finalCoordinates = unadjustedCoordinates;
    }
    return result;
}

bool preprocess3DRoad(const RunContext& context, int notRw5) {
    countUnknownsObs3D(unknownCount, obsCount);
    setStage(context, "Outputting observations.");
    int reason = 0;
    if (prelimWithRetry(true, notRw5, reason) != 0) {
        rawDataList.clear();
        writeRptUnadjustedObs3D(rptFile, 1);
        reportPrelimFailureShort(context, true, reason);
        return false;
    }
    reduceRawSlopeToMarks();
    rawDataList.clear();
    writeRptUnadjustedObs3D(rptFile, 0);
    return closuresComputed(context);
}

bool preprocess2DRoad(const RunContext& context, int notRw5) {
    int reason = 0;
    if (prelimWithRetry(false, notRw5, reason) != 0) {
        reportPrelimFailureShort(context, false, reason);
        return false;
    }
    countUnknownsObs2D(unknownCount, obsCount);
    setStage(context, "Outputting observations.");
    writeRptUnadjustedObs(rptFile);
    if (!reduceToGridAndSeaLevel(context))
        return false;
    if (!closuresComputed(context))
        return false;
    writeGridListings();
    return true;
}
