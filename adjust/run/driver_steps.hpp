#pragma once
// The steps the two entry points of the processing driver share, and the
// two roads of a run (2D with its vertical adjustment, and 3D).

#include "model/run_context.hpp"
#include "run/processing_driver.hpp"
#include <string>

// writeRptHeader mode of the preprocessing report.
inline constexpr int preprocessingReport = 12;

// Which coordinates a completed run writes to the coordinate files.
enum FinalCoordinates { noFinalCoordinates, unadjustedCoordinates, adjustedCoordinates };

struct RoadResult {
    bool stopped = false; // the road ended the run early (already reported)
    FinalCoordinates finalCoordinates = noFinalCoordinates;
    AdjustmentOutcome adjustment = AdjustmentOutcome::notRun;
};

void showMessage(const RunContext& context, const std::string& text);
// Sets the progress dialog's message line; a cancel asked for meanwhile ends the run.
void setStage(const RunContext& context, const std::string& text);

void closeRunFiles();
// Closes both files, shows the report and the error report, brings the error
// report to the front; returns 0, the driver's result for a stopped run.
int endRunWithErrorReport(const RunContext& context);
// Closes both files and brings the error report to the front; returns 0.
int endRunAtErrorReport(const RunContext& context);

// False, with the reason in the error report and a message, when the project
// uses the 3D model in a coordinate system that model cannot serve; every
// kind of run then stops before it computes or writes any coordinates. The
// caller ends the run.
bool spatialModelServed(const RunContext& context);

// Empties the lists of a run and zeroes the counters.
void clearRunLists();
// 1 when the raw-file list does not name an .RW5 file.
int rawListIsNotRw5();

// Preliminary coordinates of the chain; when they fail with one control
// point, an .RW5 raw file and no azimuth, once more with the azimuth of the
// file's first backsight (noted in the error report). The status of the
// last try, 0 computed.
int prelimWithRetry(bool road3D, int notRw5, int& reason);

RoadResult adjust2DRoad(const RunContext& context, int mode, int count, int notRw5);
RoadResult adjust3DRoad(const RunContext& context, int mode, int count, int notRw5);
// The preprocessing roads; false when they stopped the run.
bool preprocess2DRoad(const RunContext& context, int notRw5);
bool preprocess3DRoad(const RunContext& context, int notRw5);

// Reports preliminary coordinates that could not be computed, with the
// control advice; ends the run (returns 0). `road3D` picks the lists and
// headings; the short form is the one of preprocessing.
int reportPrelimFailure(const RunContext& context, bool road3D, int notRw5, int status);
int reportPrelimFailureShort(const RunContext& context, bool road3D, int status);
