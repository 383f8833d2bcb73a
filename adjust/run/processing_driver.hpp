#pragma once
// The processing driver: runs the open project (`projectVars`) from its input
// files to its reports. The caller installs the shell of the run
// (`setActiveShell`) for progress, cancel, messages and report windows.

#include <string>
#include <vector>

// Modes of adjustNetwork.
inline constexpr int adjustmentRun = 0;
inline constexpr int floatBlunderRun = 10;
inline constexpr int reweightBlunderRun = 11;

// The full run. Returns 1 when the run reached its end (whatever the
// adjustment itself reported), 0 when it stopped early.
int adjustNetwork(int mode, int count);
// Loading, preliminary coordinates and reductions without adjustment; writes
// the unadjusted coordinates. 1 done, 0 stopped.
int preprocessNetwork();

// What the last run's adjustment came to, for callers that need more than
// "reached the end" (the console driver's exit status).
enum class AdjustmentOutcome { notRun, converged, failed };
extern AdjustmentOutcome lastAdjustmentOutcome;
// True when the last run ended because the user cancelled it.
extern bool lastRunCancelled;

// Loads every input of the project into the lists. 0 loaded; 1 failed, the
// failure shown (the caller closes the files and shows the reports).
int loadProjectInputs();

// The control advice and the list of control found, appended to the lines of
// the message dialog.
void listProjectControl(int notRw5, std::vector<std::string>& dialog);

// The points of the last run: adjustable, then given, then fixed.
void buildAllPointLists();
