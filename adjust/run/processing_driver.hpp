#pragma once
// The processing driver: runs the open project (`projectVars`) from its input
// files to its reports. The run talks to the shell of its context for
// progress, cancel, messages and report windows. When the project takes its
// geoid separations from a grid (`geoidModel` set on a grid system), the
// driver opens the grid in the context's geoid folder for the length of the
// run; without it the run does not start.

#include "input/raw_files.hpp"
#include "model/run_context.hpp"
#include "reports/coordinate_file_output.hpp"

#include <string>
#include <vector>

// Modes of adjustNetwork.
inline constexpr int adjustmentRun = 0;
inline constexpr int floatBlunderRun = 10;
inline constexpr int reweightBlunderRun = 11;

// What the adjustment of a run came to.
enum class AdjustmentOutcome { notRun, converged, failed };

// What a run came to.
struct RunResult {
    // The run reached its end, whatever the adjustment itself reported.
    bool reachedEnd = false;
    AdjustmentOutcome adjustment = AdjustmentOutcome::notRun;
    // The run ended because the user cancelled it.
    bool cancelled = false;
    // What the project's coordinate file did not take of the final points.
    CrdShortfall coordinateFile;
    // The run put a new .NEZ and .OUT in place.
    bool coordinatesWritten = false;
    // When it did not: which coordinate outputs of an earlier run still
    // stand at their names, said in the error report too (empty when none).
    std::string previousCoordinatesKept;
    // The outputs the run could not write, each "Error writing output to
    // <file>: <reason>"; a run with any has failed whatever else it reached.
    std::vector<std::string> writeFailures;
};

// The full run.
RunResult adjustNetwork(const RunContext& context, int mode, int count);
// Loading, preliminary coordinates and reductions without adjustment; writes
// the unadjusted coordinates.
RunResult preprocessNetwork(const RunContext& context);
// The preprocessing run of blunder detection (run/blunder_check.hpp): the raw
// data checked, each observation against its preliminary coordinates and the
// points closer than `proximity` (project unit) to each other, all in the
// error report.
RunResult checkNetworkForBlunders(const RunContext& context, double proximity);

// Where the supplemental control file (`supplamentalNE`) goes: into the raw
// data as coordinate records (every run), or straight into the control lists
// (the preprocessing run of blunder detection).
enum class SupplementalRoute { rawData, controlLists };

// Loads every input of the project into the lists. 0 loaded; 1 failed, the
// failure shown (the caller closes the files and shows the reports).
int loadProjectInputs(const RunContext& context,
                      SupplementalRoute route = SupplementalRoute::rawData,
                      RawReadWording wording = RawReadWording::run);

// The control advice and the list of control found in the lists of the
// model (`road3D`), appended to the lines of the message dialog.
void listProjectControl(bool road3D, int notRw5, std::vector<std::string>& dialog);

// The points of the last run: adjustable, then given, then fixed.
void buildAllPointLists();
